// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/media/libav_library.h"

namespace songloader {

// The length in seconds of a file whose container's headers give none for the whole file: the
// longest of its streams' lengths where the headers give those (AVI), else, for transport and
// program streams, the span between the timestamps of the first packets and of those in the last
// 256 KiB (further back, up to 4 MiB, when those hold none). Nothing is decoded. 0 when neither tells.
double ReadMediaSeconds(const LibavLibrary& av, AVFormatContext& context);

}  // namespace songloader
