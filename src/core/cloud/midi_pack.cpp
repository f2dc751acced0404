// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cloud/midi_pack.h"

#include <system_error>

#include "core/cloud/cloud_messages.h"
#include "core/device/device_layout.h"

namespace songloader {

std::filesystem::path MidiPackFolder(const std::filesystem::path& deviceRoot, const MidiPackFile& file) {
    return file.inMidiFolder ? MidiFolderOf(deviceRoot) : deviceRoot;
}

std::filesystem::path MidiPackLocalPath(const std::filesystem::path& deviceRoot, const MidiPackFile& file) {
    return MidiPackFolder(deviceRoot, file) / file.localName;
}

MidiPackUpdate UpdateMidiPack(const CloudClient& client, const std::filesystem::path& deviceRoot,
                              const TransferRunner& runner, const WaitRunner& waiter) {
    MidiPackUpdate update;
    for (const MidiPackFile& file : MidiPackFiles) {
        const std::filesystem::path folder = MidiPackFolder(deviceRoot, file);
        std::error_code error;
        if (!std::filesystem::is_directory(folder, error)) {
            // One level, failure ignored: the download then reports that it cannot write.
            std::filesystem::create_directory(folder, error);
        }
        const std::filesystem::path local = folder / file.localName;
        std::int64_t remoteSize = -1;
        RunWait(waiter, [&] { remoteSize = client.RemoteFileSize(file.remoteName); });
        if (remoteSize == LocalFileSize(local)) {
            update.notices.push_back({kNoNewSongsMessage, kCaptionNoteUpper, NoticeIcon::Exclamation});
            return update;
        }
        MidiPackFetch fetch{&file, remoteSize, {}};
        fetch.outcome = RunDownloadProtocol(
            client.progress(), ProgressStepsFor(remoteSize), file.localName,
            [&] { return client.DownloadFile(file.remoteName, local, remoteSize); }, runner);
        update.fetched.push_back(fetch);
        if (fetch.outcome.status == DownloadStatus::Cancelled) {
            update.cancelled = true;
            return update;
        }
    }
    return update;
}

}  // namespace songloader
