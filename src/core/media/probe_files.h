// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <vector>

#include "core/media/media_probe.h"

namespace songloader {

// ProbeMedia of every file, each shown by its path, the results in the files' order. Probing reads
// a few kilobytes of a file but costs CPU in the media library: many files are probed on every
// core, each once.
std::vector<Result<MediaFacts>> ProbeFiles(const std::vector<std::filesystem::path>& files);

}  // namespace songloader
