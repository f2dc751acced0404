// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

#include "core/common/translatable.h"
#include "core/entry/device_revise.h"

namespace songloader {

// Texts of the main window that the logic and the desktop window share.
// The title and the About text carry the program's one version where %s stands ("1.4").
inline constexpr const char* kWindowTitle =
    SL_TRANSLATE_NOOP("Core", "Trallix Song Loader for Windows(for MKV,TS,VOB,DAT,AVI,MPG,MP4,FLV) V:%s");
inline constexpr const char* kAboutMenuText =
    SL_TRANSLATE_NOOP("Core", "About  Trallix Song Loader for Windows(&A)...");
inline constexpr const char* kAboutTitle = SL_TRANSLATE_NOOP("Core", "Trallix Song Loader for Windows");
inline constexpr const char* kAboutText = SL_TRANSLATE_NOOP("Core", "Trallix Song Loader V%s for Windows");

inline constexpr const char* kSearchPlaceholder = SL_TRANSLATE_NOOP("Core", "by title or artist.");
// Text colour of the search box while it shows the placeholder (red, green, blue): the drawn
// greyish tone, dark enough for a contrast of 4.5:1 on the white box.
inline constexpr std::array<int, 3> kPlaceholderColour = {112, 109, 96};

// Folder picker titles: simplified Chinese, and traditional Chinese on such systems.
inline constexpr const char* kFolderPickerTitle = SL_TRANSLATE_NOOP("Core", "选择目标文件夹");
inline constexpr const char* kFolderPickerTitleTraditional = SL_TRANSLATE_NOOP("Core", "選擇目標文件夾");

inline constexpr const char* kMediaFileFilter = SL_TRANSLATE_NOOP(
    "Core", "All Files (*.*)|*.*|MP3 Files (*.mp3)|*.mp3|MP4 Files (*.avi;*.dat;*.mp4)|*.avi;*.dat;*mp4||");
inline constexpr const char* kMediaDefaultExtension = ".mp3|.avi";
// Queueing dropped files (or several chosen in "Browse").
inline constexpr const char* kChooseLanguageFirstMessage = SL_TRANSLATE_NOOP("Core", "Please choose a language first.");
inline constexpr const char* kFilesNotQueuedMessage = SL_TRANSLATE_NOOP("Core", "These files were not queued:");
inline constexpr const char* kRepeatsQuestion =
    SL_TRANSLATE_NOOP("Core", "These files repeat songs already on the USB drive or in the list:");
inline constexpr const char* kRepeatsQuestionEnd = SL_TRANSLATE_NOOP("Core", "Queue them anyway?");
// Files the player plays only after conversion: asked once per batch (%s: how many, minutes).
inline constexpr const char* kConvertQuestion =
    SL_TRANSLATE_NOOP("Core", "%s files must be converted first; this takes about %s minutes. Convert them?");
// Under the device list while a batch converts: which file, its percent, the batch's, time left.
inline constexpr const char* kConvertingText = SL_TRANSLATE_NOOP("Core", "Converting %s of %s: %s% (all: %s%)");
inline constexpr const char* kConvertingLeftText = SL_TRANSLATE_NOOP("Core", ", about %s left");
inline constexpr const char* kExportFileFilter = SL_TRANSLATE_NOOP("Core", "xls Files (*.xls)|*.xls||");
inline constexpr const char* kExportDefaultExtension = "xls";

struct ListColumn {
    const char* title;
    int width;
};
// The six columns of both list views; left-aligned in the work list, centred in the device list.
inline constexpr std::array<ListColumn, 6> kListColumns{{{SL_TRANSLATE_NOOP("Core", " Number"), 67},
                                                         {SL_TRANSLATE_NOOP("Core", "Lang"), 35},
                                                         {SL_TRANSLATE_NOOP("Core", "      Title"), 162},
                                                         {SL_TRANSLATE_NOOP("Core", "Artist"), 150},
                                                         {SL_TRANSLATE_NOOP("Core", "Composer"), 30},
                                                         {SL_TRANSLATE_NOOP("Core", "Lyricist"), 30}}};

// Messages of the main window, exactly as the user sees them.
inline constexpr const char* kInsertDeviceMessage = SL_TRANSLATE_NOOP("Core", "Please insert device!!");
inline constexpr const char* kSelectFileMessage = SL_TRANSLATE_NOOP("Core", "Please select file");
inline constexpr const char* kFilePathInvalidMessage = SL_TRANSLATE_NOOP("Core", "File Path is Invaild");
inline constexpr const char* kExitQuestion = SL_TRANSLATE_NOOP("Core", "Exit without adding any song?");
inline constexpr const char* kQueuedSongsExitQuestion =
    SL_TRANSLATE_NOOP("Core", "The queued songs have not been added to the USB drive. Exit anyway?");
inline constexpr const char* kConfirmDeleteQuestion = SL_TRANSLATE_NOOP("Core", "Confirm song deletion?");
inline constexpr const char* kSongDownloadedMessage = SL_TRANSLATE_NOOP("Core", "The song has been downloaded!");
inline constexpr const char* kSelectSongMessage = SL_TRANSLATE_NOOP("Core", "Please select song!");
inline constexpr const char* kDownloadCloudDataMessage = SL_TRANSLATE_NOOP("Core", "Please download cloud data!!");
inline constexpr const char* kDownloadCloudDataLanguageMessage =
    SL_TRANSLATE_NOOP("Core", "Please download cloud data!");
inline constexpr const char* kCloudDatabaseOkMessage = SL_TRANSLATE_NOOP("Core", "check cloud database ok");
inline constexpr const char* kSelectDiskMessage = SL_TRANSLATE_NOOP("Core", "Please Select Disk");

// Finding the device's songs: the hit count of the search, and the line under the device list.
inline constexpr const char* kSongCountText = SL_TRANSLATE_NOOP("Core", "%s songs");
inline constexpr const char* kOneSongText = SL_TRANSLATE_NOOP("Core", "1 song");
inline constexpr const char* kNoSongsFoundText = SL_TRANSLATE_NOOP("Core", "No songs found");
inline constexpr const char* kDeviceSummaryText = SL_TRANSLATE_NOOP("Core", "%s on the USB drive, %s free");

// Choosing a folder as the device.
inline constexpr const char* kSongFolderPickedMessage =
    SL_TRANSLATE_NOOP("Core", "%s is a device's songs folder; give the device itself: %s");
inline constexpr const char* kCreateSongFolderQuestion =
    SL_TRANSLATE_NOOP("Core", "%s has no songs folder. Create one there and use this folder as the USB drive?");

// Questions before work that cannot be taken back or takes long.
inline constexpr const char* kDeleteSongQuestion = SL_TRANSLATE_NOOP("Core", "Delete %s %s?");
inline constexpr const char* kLargeDownloadQuestion =
    SL_TRANSLATE_NOOP("Core", "Download %s cloud songs (%s) to the USB drive? It has %s free.");
inline constexpr const char* kUnknownSizesNote = SL_TRANSLATE_NOOP("Core", "The size of %s of them is not known.");
inline constexpr const char* kCloudRepeatsQuestion =
    SL_TRANSLATE_NOOP("Core", "These cloud songs repeat songs already on the USB drive:");
inline constexpr const char* kCloudRepeatsQuestionEnd = SL_TRANSLATE_NOOP("Core", "Add them anyway?");
// Language or artist set for several queued songs at once.
inline constexpr const char* kSeveralRevisedMessage = SL_TRANSLATE_NOOP("Core", "%s queued songs were changed.");

// The download progress window.
inline constexpr const char* kProgressWindowTitle = SL_TRANSLATE_NOOP("Core", "Download Progress");
inline constexpr const char* kNowDownloadText = SL_TRANSLATE_NOOP("Core", "Now Download:");

// Messages that say which songs a failure touched and what became of them (the revise's own
// are in device_revise.h).
inline constexpr const char* kCopyFailedMessage =
    SL_TRANSLATE_NOOP("Core", "These songs could not be copied to the device and stay in the list:");
inline constexpr const char* kDownloadFailedMessage =
    SL_TRANSLATE_NOOP("Core", "These songs could not be downloaded and were not added:");
inline constexpr const char* kAddedSongsMessage = SL_TRANSLATE_NOOP("Core", "These songs were added:");
inline constexpr const char* kCatalogueFailedMessage =
    SL_TRANSLATE_NOOP("Core", "The cloud catalogue could not be downloaded:");
inline constexpr const char* kMidiFailedMessage =
    SL_TRANSLATE_NOOP("Core", "These files of the MIDI pack could not be downloaded:");
inline constexpr const char* kDeviceListUnreadMessage =
    SL_TRANSLATE_NOOP("Core", "The device's song list could not be read; nothing was written.");
inline constexpr const char* kTextNotStorableMessage =
    SL_TRANSLATE_NOOP("Core", "The song's texts hold characters that the device's character set (%s) cannot store.");

// Removal, insertion and safe removal of the device.
inline constexpr const char* kEjectButtonText = SL_TRANSLATE_NOOP("Core", "Eject USB Drive");
inline constexpr const char* kDeviceOfferText =
    SL_TRANSLATE_NOOP("Core", "USB drive found at %s: choose it with Auto-Check USB Drive.");
inline constexpr const char* kDeviceListChangedMessage =
    SL_TRANSLATE_NOOP("Core",
                      "Another program changed the song list on the USB drive. It has been read again and nothing was "
                      "written: check the list and try again.");
inline constexpr const char* kEjectPendingMessage = SL_TRANSLATE_NOOP(
    "Core", "Songs were copied to the USB drive but its song list was not rebuilt yet; the drive was not ejected.");
inline constexpr const char* kEjectUnavailableMessage =
    SL_TRANSLATE_NOOP("Core", "The USB drive cannot be ejected from this program.");

}  // namespace songloader
