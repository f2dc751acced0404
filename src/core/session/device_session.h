// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/catalogue/list_file_reader.h"
#include "core/catalogue/row_element.h"
#include "core/cloud/cloud_client.h"
#include "core/cloud/download_protocol.h"
#include "core/convert/converter_program.h"
#include "core/common/device_folder.h"
#include "core/common/file_stamp.h"
#include "core/common/result.h"
#include "core/device/device_identity.h"
#include "core/device/device_write_session.h"
#include "core/entry/catalogue_rebuild.h"
#include "core/entry/converted_songs.h"
#include "core/entry/device_revise.h"
#include "core/entry/device_songs.h"
#include "core/recovery/interrupted_writes.h"

namespace songloader {

// Why a device was not taken for writing. The window and the CLI say it each their own way: busy
// is worth trying again, unwritable names the system's reason, changed means choose the device
// again, list changed means the song list read earlier is no longer the device's (another program
// wrote it), unmended means what a killed run left could not be finished (the device failed).
enum class WriteRefused { Busy, Unwritable, Changed, ListChanged, Unmended };

struct WriteRefusal : Failure {
    WriteRefused why = WriteRefused::Changed;
};

// The device the window or a CLI command works on, from its choice to the end of the command that
// writes it: which volume it is, its song list and when that was read, and, while a command
// writes, the write lock with the check that the volume is still the one chosen. Both front ends
// go through it, so the rules are written once; they differ only in how they show progress and
// messages.
// How the songs of an add batch are converted on their way onto the device (AddConvertedUserSongs);
// a plan that needs nothing copies them as they are.
struct SongConversion {
    ConversionPlan plan;
    ConverterSetup setup;
    ConversionHooks hooks;

    // Readies the converter: `program` (or why not) with `profile`, and a work folder of the
    // batch's own, removed with what it holds when the folder returned goes.
    Result<WorkFolder> Ready(const Result<std::filesystem::path>& program, const PlayerProfile& profile);
};

class DeviceSession {
public:
    // No device chosen.
    DeviceSession() = default;
    // The device at `root` as it is now: from here on only this volume is written as the device.
    // `files` tell one volume from another (fixtures in tests).
    DeviceSession(std::filesystem::path root, std::string codePage, MountFiles files = {});

    DeviceSession(DeviceSession&&) noexcept = default;
    DeviceSession& operator=(DeviceSession&&) noexcept = default;

    // A folder stood at the root when it was chosen.
    bool chosen() const { return identity_.has_value(); }
    const std::filesystem::path& root() const { return root_; }
    const std::filesystem::path& songFolder() const { return songFolder_; }
    const std::string& codePage() const { return codePage_; }
    const std::optional<DeviceIdentity>& identity() const { return identity_; }
    const MountFiles& mountFiles() const { return files_; }

    // The root is still the volume chosen (no lock taken).
    bool StillChosen() const;

    // Just chosen: finishes what killed runs left (replacements, records, stale temporaries),
    // holding the write lock only for that.
    Result<MendReport> MendOnChoice() const;
    // For a command that only reads: finishes an interrupted replacement of a catalogue pair and
    // touches nothing else.
    Result<> FinishReplacements() const;

    // The song list of the device (none: empty), read with `hooks`; the list's stamp is taken
    // before the read, so a change while reading shows as a change later.
    Result<SongList> ReadSongs(const ListReadHooks& hooks = {});
    // Only which numbers the list holds, read at a fraction of the cost.
    Result<std::vector<std::int32_t>> ReadNumbers() const;
    // The list on the device is no longer the one last read or written here.
    bool ListChanged() const;
    // The list on the device now is the one in memory (it was just written or mended).
    void TakeListAsWritten();
    // No list of the device is held any more (it was emptied, or its read failed).
    void ForgetList() { listStamp_.reset(); }

    // Takes the device for writing: checks it is the volume chosen, makes its song folder, takes
    // the write lock (waiting for another writer) and checks again; refuses when the song list read
    // here has changed since; then finishes or sets aside what killed runs left, before anything
    // else is written. The report says what that changed.
    Result<MendReport, WriteRefusal> BeginWrite();
    bool writing() const { return write_ != nullptr; }
    // Before each write and after a failed one: false once the device is no longer the volume
    // chosen; the lock is then let go and stays so.
    bool StillHolds();
    // The locked song folder, opened anew: the command's writes go in through it.
    Result<DeviceFolder> OpenSongFolder() const;
    int lockedFolder() const;
    // Lets the write lock go (the end of a command).
    void EndWrite() { write_.reset(); }
    // How the front end says the device went: called once, when a check finds that the device
    // held for writing is no longer the volume chosen.
    void OnLoss(std::function<void()> report) { onLoss_ = std::move(report); }

    // Rebuilds the device catalogue from `songs`; nullopt when the device went before, during or
    // after it (what was written may not be on the device chosen).
    std::optional<Result<CatalogueWritten>> Rebuild(const SongList& songs, RebuildMode mode,
                                                    const RebuildHooks& hooks = {});

    // The writes that change the device's songs. Each goes into the locked song folder with the
    // device's code page, checks before its first write and after a failed step that the device is
    // still the one chosen (the hooks' deviceStillThere is set here), and takes the list as the
    // device's once the catalogue is written. `deviceSongs` is the device's list as the caller holds it; the hooks
    // carry what differs between callers: progress, stopping, the test's write steps.

    // User songs (AddUserSongs), through the converter when `conversion` plans any.
    Result<AddReport> AddSongs(const SongList& deviceSongs, const SongList& songs, AddHooks hooks,
                               const SongConversion& conversion = {});
    // Cloud songs with the user songs queued beside them, as one batch (AddCloudSongs).
    Result<AddReport> AddCloudSongs(const CloudClient& client, const SongList& deviceSongs, const SongList& cloudSongs,
                                    const SongList& userSongs, const TransferRunner& runner, const WaitRunner& waiter,
                                    AddHooks hooks);
    // Device song `row` and its files (DeleteDeviceSong).
    Result<CatalogueWritten> DeleteSong(const SongList& deviceSongs, std::size_t row, DeleteHooks hooks = {});
    // `revised` stored as device song `row`, its files moved to a new number (ReviseDeviceSong).
    Result<CatalogueWritten> ReviseSong(const SongList& deviceSongs, std::size_t row, ROWELEMENT revised,
                                        const StoreRow& storeRow, ReviseHooks hooks = {},
                                        const SongList& queuedSongs = {});

private:
    Result<AddReport> Added(Result<AddReport> report);

    std::filesystem::path root_;
    std::filesystem::path songFolder_;
    std::string codePage_;
    MountFiles files_;
    std::optional<DeviceIdentity> identity_;
    std::optional<FileStamp> listStamp_;
    std::unique_ptr<DeviceWriteSession> write_;
    std::function<void()> onLoss_;
};

}  // namespace songloader
