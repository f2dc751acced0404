// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "core/media/libav_library.h"
#include "core/media/media_probe.h"

namespace songloader {

// Fills in the size of each video stream of `streams` that the container's headers leave out
// (transport and program streams, which describe no picture; MPEG-4 Visual in MP4, whose size the
// library clears; H.264 in FLV), from the codec's own headers: the MPEG-1/2 sequence header, the
// MPEG-4 Visual object layer, the H.264 parameter sets. They sit in the decoder configuration the
// container keeps or at the start of the first picture, so this reads no more than the first packets
// (a few megabytes at most) and decodes nothing. A size it cannot find stays 0.
void ReadPictureSizes(const LibavLibrary& av, AVFormatContext& context, std::vector<MediaStream>& streams);

}  // namespace songloader
