// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cloud/midi_pack.h"

#include <sys/stat.h>
#include <unistd.h>

#include "core/common/device_folder.h"

#include "core/cloud/cloud_messages.h"
#include "core/device/device_layout.h"

namespace songloader {

namespace {

// The size of the regular file `name` in `folder`; 0 when there is none (a link or a FIFO included).
std::int64_t LocalSize(const DeviceFolder& folder, const std::string& name) {
    const Result<int> fd = folder.OpenForReading(name);
    if (!fd) return 0;
    struct stat info {};
    const std::int64_t size = ::fstat(*fd, &info) == 0 ? static_cast<std::int64_t>(info.st_size) : 0;
    ::close(*fd);
    return size;
}

}  // namespace

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
        // The midi folder is reached without following a link out of the device; a folder that
        // cannot be opened or made is reported by the download of that file.
        const Result<DeviceFolder> folder =
            file.inMidiFolder ? OpenFolderBelow(deviceRoot, MidiFolderOf({}), true) : OpenFolder(deviceRoot);
        std::int64_t remoteSize = -1;
        RunWait(waiter, [&] { remoteSize = AnnouncedSizeOrNone(client.RemoteFileSize(file.remoteName)); });
        if (!folder) {
            update.fetched.push_back({&file, remoteSize, FailDownload(DownloadStatus::WriteFailure, folder.message())});
            continue;
        }
        if (remoteSize == LocalSize(*folder, file.localName)) {
            update.notices.push_back({kNoNewSongsMessage, kCaptionNoteUpper, NoticeIcon::Exclamation});
            return update;
        }
        MidiPackFetch fetch{
            &file, remoteSize,
            RunDownloadProtocol(
                client.progress(), ProgressStepsFor(remoteSize), file.localName,
                [&] { return client.DownloadFile(file.remoteName, *folder, file.localName, remoteSize); }, runner)};
        update.fetched.push_back(fetch);
        if (!fetch.outcome && fetch.outcome.failure().status == DownloadStatus::Cancelled) {
            update.cancelled = true;
            return update;
        }
    }
    return update;
}

}  // namespace songloader
