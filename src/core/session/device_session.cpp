// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/session/device_session.h"

#include <utility>

#include "core/device/device_layout.h"

namespace songloader {

namespace {

WriteRefusal Refusal(WriteRefused why, std::string message) {
    WriteRefusal refusal;
    refusal.message = std::move(message);
    refusal.why = why;
    return refusal;
}

}  // namespace

DeviceSession::DeviceSession(std::filesystem::path root, std::string codePage, MountFiles files)
    : root_(std::move(root)),
      songFolder_(SongFolderOf(root_)),
      codePage_(std::move(codePage)),
      files_(std::move(files)),
      identity_(ReadDeviceIdentity(root_, files_)) {}

bool DeviceSession::StillChosen() const { return identity_ && DeviceStillHolds(*identity_, root_, files_); }

Result<MendReport> DeviceSession::MendOnChoice() const { return MendChosenDevice(root_, codePage_); }

Result<> DeviceSession::FinishReplacements() const { return FinishInterruptedReplacements(root_); }

Result<SongList> DeviceSession::ReadSongs(const ListReadHooks& hooks) {
    listStamp_ = StampOf(songFolder_ / kDeviceListName);
    const auto file = FindListFile(songFolder_, kDeviceListName);
    if (!file) return SongList{};
    return ReadListFile(*file, ListKind::Device, hooks);
}

Result<std::vector<std::int32_t>> DeviceSession::ReadNumbers() const {
    const auto file = FindListFile(songFolder_, kDeviceListName);
    if (!file) return std::vector<std::int32_t>{};
    return ReadListNumbers(*file);
}

bool DeviceSession::ListChanged() const { return listStamp_ && StampOf(songFolder_ / kDeviceListName) != *listStamp_; }

void DeviceSession::TakeListAsWritten() { listStamp_ = StampOf(songFolder_ / kDeviceListName); }

Result<MendReport, WriteRefusal> DeviceSession::BeginWrite() {
    if (!identity_) return Refusal(WriteRefused::Changed, kDeviceChangedMessage);
    auto session = std::make_unique<DeviceWriteSession>(*identity_, root_, files_);
    switch (session->status()) {
        case DeviceWriteStatus::Ready: break;
        case DeviceWriteStatus::Busy: return Refusal(WriteRefused::Busy, session->refusal());
        case DeviceWriteStatus::Unwritable: return Refusal(WriteRefused::Unwritable, session->refusal());
        case DeviceWriteStatus::Changed: return Refusal(WriteRefused::Changed, session->refusal());
    }
    // A list read before the lock must still be the device's, or a write from it would lose what
    // another program added.
    if (ListChanged())
        return Refusal(WriteRefused::ListChanged, "The song list on the device has changed since it was read.");
    // What killed runs left is finished or cleared away before anything else is written.
    Result<MendReport> mended = MendInterruptedWrites(root_, codePage_);
    if (!mended) return Refusal(WriteRefused::Unmended, mended.message());
    write_ = std::move(session);
    if (mended->catalogueChanged && listStamp_) TakeListAsWritten();
    return std::move(mended).value();
}

bool DeviceSession::StillHolds() {
    if (!write_) return false;
    if (write_->StillHolds()) return true;
    write_.reset();
    if (onLoss_) onLoss_();
    return false;
}

Result<DeviceFolder> DeviceSession::OpenSongFolder() const {
    if (!write_) return Fail(kDeviceChangedMessage);
    return ReopenFolder(write_->lockedFolder(), songFolder_);
}

int DeviceSession::lockedFolder() const { return write_ ? write_->lockedFolder() : -1; }

std::optional<Result<CatalogueWritten>> DeviceSession::Rebuild(const SongList& songs, RebuildMode mode,
                                                               const RebuildHooks& hooks) {
    if (!StillHolds()) return std::nullopt;
    Result<CatalogueWritten> written = RebuildDeviceCatalogue(songs, songFolder_, mode, hooks, codePage_);
    if (!StillHolds()) return std::nullopt;
    if (written) TakeListAsWritten();
    return written;
}

}  // namespace songloader
