// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "core/cloud/cloud_client.h"
#include "core/cloud/download_protocol.h"
#include "core/common/notice.h"

namespace songloader {

// One file of the MIDI song pack: its name below the base URL, its name on the device, and
// whether it lives in the device's midi folder (else in the device root).
struct MidiPackFile {
    const char* remoteName;
    const char* localName;
    bool inMidiFolder;
};

// Processed in this order; the first file whose size is unchanged ends an update.
inline constexpr std::array<MidiPackFile, 4> MidiPackFiles{{
    {"230midisglist.dat", "sglist.dat", true},
    {"230midisgmusic.dat", "sgmusic.dat", true},
    {"230midisgmsg.dat", "sgmsg.dat", true},
    {"midisongsbook.pdf", "midisongsbook.pdf", false},
}};

std::filesystem::path MidiPackFolder(const std::filesystem::path& deviceRoot, const MidiPackFile& file);
std::filesystem::path MidiPackLocalPath(const std::filesystem::path& deviceRoot, const MidiPackFile& file);

struct MidiPackFetch {
    const MidiPackFile* file = nullptr;
    std::int64_t remoteSize = -1;  // the size probe's answer; -1: it failed or announced none
    DownloadResult outcome = FailDownload(DownloadStatus::NetworkFailure);
};

struct MidiPackUpdate {
    std::vector<MidiPackFetch> fetched;  // the files downloaded (or tried), in table order
    Notices notices;                     // "No new songs available!" when an unchanged file ended it
    bool cancelled = false;              // a download was cancelled; later files were left alone
};

// Brings the device's MIDI pack up to date: per file in table order, its folder created when
// missing, the cloud size compared with the local one; the first equal size ends the update with
// "No new songs available!", any other size is downloaded with the download start protocol.
// The caller has checked the network and that a device is chosen. Size probes run through `waiter`.
MidiPackUpdate UpdateMidiPack(const CloudClient& client, const std::filesystem::path& deviceRoot,
                              const TransferRunner& runner = {}, const WaitRunner& waiter = {});

}  // namespace songloader
