// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/app/control_id.h"

namespace songloader {

std::string ControlName(ControlId id) {
    switch (id) {
        case ControlId::None: return "None";
        case ControlId::MenuAbout: return "MenuAbout";
        case ControlId::SongFolderText: return "SongFolderText";
        case ControlId::AutoCheckDevice: return "AutoCheckDevice";
        case ControlId::Number: return "Number";
        case ControlId::Title: return "Title";
        case ControlId::Artist: return "Artist";
        case ControlId::Composer: return "Composer";
        case ControlId::Lyricist: return "Lyricist";
        case ControlId::MediaPath: return "MediaPath";
        case ControlId::Browse: return "Browse";
        case ControlId::WorkList: return "WorkList";
        case ControlId::DeviceList: return "DeviceList";
        case ControlId::QueueToAdd: return "QueueToAdd";
        case ControlId::ClearFields: return "ClearFields";
        case ControlId::AddToDevice: return "AddToDevice";
        case ControlId::Revise: return "Revise";
        case ControlId::Progress: return "Progress";
        case ControlId::EntryLanguage: return "EntryLanguage";
        case ControlId::Print: return "Print";
        case ControlId::PrintPreview: return "PrintPreview";
        case ControlId::PrintCommand: return "PrintCommand";
        case ControlId::EjectDevice: return "EjectDevice";
        case ControlId::SearchHits: return "SearchHits";
        case ControlId::DeviceSummary: return "DeviceSummary";
        case ControlId::ExportSongList: return "ExportSongList";
        case ControlId::SelectDevice: return "SelectDevice";
        case ControlId::AutoGenerate: return "AutoGenerate";
        case ControlId::CloudSongs: return "CloudSongs";
        case ControlId::SelectAll: return "SelectAll";
        case ControlId::CloudMidi: return "CloudMidi";
        case ControlId::SearchBox: return "SearchBox";
        case ControlId::SearchLanguage: return "SearchLanguage";
        case ControlId::MenuDelete: return "MenuDelete";
    }
    return "Control" + std::to_string(static_cast<int>(id));
}

}  // namespace songloader
