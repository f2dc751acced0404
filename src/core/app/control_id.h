// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace songloader {

// The main dialog's controls and commands, by their numbers in the dialog template.
enum class ControlId : int {
    None = 0,
    MenuAbout = 16,  // context menu and system menu "About"
    SongFolderText = 1001,
    AutoCheckDevice = 1003,
    Number = 1011,
    Title = 1013,
    Artist = 1014,
    Composer = 1015,
    Lyricist = 1016,
    MediaPath = 1018,
    Browse = 1019,
    WorkList = 1020,
    DeviceList = 1021,
    QueueToAdd = 1022,
    ClearFields = 1023,
    AddToDevice = 1024,
    Revise = 1026,
    Progress = 1027,
    EntryLanguage = 1031,
    Print = 1032,
    PrintPreview = 1033,
    ExportSongList = 1037,
    SelectDevice = 1039,
    AutoGenerate = 1040,
    CloudSongs = 1042,
    SelectAll = 1043,
    CloudMidi = 1046,
    SearchBox = 1047,
    SearchLanguage = 1050,
    EjectDevice = 1060,    // "Eject USB Drive": safe removal of the stick
    SearchHits = 1061,     // the search's hit count beside the search box
    DeviceSummary = 1062,  // the device's song count and free space under its list
    MenuDelete = 32773,
    PrintCommand = 57607,  // the standard print command, handled like Print
};

// The name of a control: its widget's objectName in the window, and how the tests name it.
// "AddToDevice", "WorkList", ...
std::string ControlName(ControlId id);

inline constexpr int kDialogTimerId = 103;
inline constexpr int kDialogTimerMilliseconds = 40;

// The system commands the dialog handles itself; everything else gets the default processing.
enum class SysCommand { About, Close, ContextHelp, Other };

}  // namespace songloader
