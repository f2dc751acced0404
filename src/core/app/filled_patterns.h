// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

#include "core/app/batch_summary.h"
#include "core/app/dialog_texts.h"
#include "core/catalogue/cloud_catalogue.h"
#include "core/entry/device_revise.h"
#include "core/entry/device_songs.h"
#include "core/media/media_probe.h"

namespace songloader {

// A shown text the core fills with numbers or names ("%s"). `fillsTexts`: what it is filled with
// is itself a shown text of the core (a song count), not a name.
struct FilledPattern {
    const char* text;
    bool fillsTexts = false;
};

// The filled texts, so that a front end can tell which text a message was made from and show it
// in the user's language with the same numbers and names. A text that starts with a blank or a
// comma follows what the caller puts before it (a name, or another of these texts).
inline constexpr std::array kFilledPatterns{
    FilledPattern{kSongCountText},
    FilledPattern{kDeviceSummaryText, true},
    FilledPattern{kSongFolderPickedMessage},
    FilledPattern{kCreateSongFolderQuestion},
    FilledPattern{kDeleteSongQuestion},
    FilledPattern{kLargeDownloadQuestion},
    FilledPattern{kUnknownSizesNote},
    FilledPattern{kSeveralRevisedMessage},
    FilledPattern{kTextNotStorableMessage},
    FilledPattern{kDeviceOfferText},
    FilledPattern{kMediaMissingMessage},
    FilledPattern{kNotRecordableMessage},
    FilledPattern{kMoveFailedMessage},
    FilledPattern{kNotMediaMessage},
    FilledPattern{kNotACatalogueMessage},
    // The longer of the two first: a list of more than five titles ends in "and N more".
    FilledPattern{kAddedSongsAndMoreLine},
    FilledPattern{kAddedSongsLine},
    FilledPattern{kAddedOneSongLine},
    FilledPattern{kBatchFailedLine, true},
    FilledPattern{kConvertQuestion},
    FilledPattern{kConvertingText},
    FilledPattern{kConvertingLeftText},
    FilledPattern{kNotDecodableMessage},
};

}  // namespace songloader
