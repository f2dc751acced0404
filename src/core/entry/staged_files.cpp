// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/entry/staged_files.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <exception>
#include <chrono>
#include <future>
#include <map>
#include <mutex>
#include <system_error>
#include <utility>

#include "core/common/work_thread.h"

namespace songloader {

namespace {

// Open sub-folders kept at most; past it they are opened again when needed (each holds a descriptor).
constexpr std::size_t kFoldersKeptOpen = 64;
// Files waiting for the writing thread at most (each holds its open temporary file).
constexpr std::size_t kFilesFinishingAhead = 64;
// A batch of many small files flushes what it wrote so far every so many files.
constexpr std::size_t kFilesPerEarlyFlush = 1000;

}  // namespace

// The batch's writing thread and what failed on it, by index among the staged files.
class StagedFiles::Finisher {
public:
    void Finish(std::size_t index, std::function<Result<>()> finish) {
        thread_.Run([this, index, finish = std::move(finish)] {
            std::optional<Failure> why;
            try {
                if (Result<> done = finish(); !done) why = done.failure();
            } catch (const std::exception& error) {
                why = Fail(error.what());
            }
            if (!why) return;
            const std::lock_guard lock(mutex_);
            failures_.emplace(index, std::move(*why));
        });
    }
    // Once every file is finished: the failures, taken.
    std::map<std::size_t, Failure> Await() {
        thread_.Wait();
        const std::lock_guard lock(mutex_);
        return std::exchange(failures_, {});
    }

private:
    std::mutex mutex_;
    std::map<std::size_t, Failure> failures_;
    WorkThread thread_{kFilesFinishingAhead};
};

StagedFiles::StagedFiles(DeviceFolder songFolder) : songFolder_(std::move(songFolder)) {}

StagedFiles::~StagedFiles() {
    AwaitFinishing();
    for (Staged& file : files_) {
        if (file.inPlace || file.failure) continue;
        if (Result<DeviceFolder> folder = Open(file.folder, false); folder) (void)folder->Remove(file.temporaryName);
    }
    folders_.clear();
    // Folders the batch made and left empty go again (one still holding a file stays).
    for (const std::string& name : made_) (void)songFolder_.RemoveFolder(name);
}

Result<DeviceFolder> StagedFiles::Folder(const std::string& name) { return Open(name, true); }

Result<DeviceFolder> StagedFiles::Open(const std::string& name, bool create) {
    if (const auto open = folders_.find(name); open != folders_.end()) return open->second;
    Result<DeviceFolder> folder = songFolder_.Below(name, create);
    if (!folder) return folder;
    if (folder->created()) made_.push_back(name);
    if (folders_.size() >= kFoldersKeptOpen) folders_.clear();
    folders_.emplace(name, *folder);
    return folder;
}

std::size_t StagedFiles::Add(const std::string& folder, std::string temporaryName, std::string targetName) {
    Staged file;
    file.folder = folder;
    file.temporaryName = std::move(temporaryName);
    file.targetName = std::move(targetName);
    files_.push_back(std::move(file));
    return files_.size() - 1;
}

std::size_t StagedFiles::AddFinishing(const std::string& folder, std::string temporaryName, std::string targetName,
                                      std::function<Result<>()> finish) {
    const std::size_t index = Add(folder, std::move(temporaryName), std::move(targetName));
    if (!finisher_) {
        try {
            finisher_ = std::make_unique<Finisher>();
        } catch (const std::system_error&) {
            // No thread to be had: the file is finished here (a failed one has no temporary left).
            if (Result<> done = finish(); !done) files_[index].failure = done.failure();
            return index;
        }
    }
    finisher_->Finish(index, std::move(finish));
    if ((index + 1) % kFilesPerEarlyFlush == 0) FlushEarly();
    return index;
}

void StagedFiles::FlushEarly() {
    // Thousands of small files: what is written so far goes to the disk while the rest is copied
    // (the disk is idle meanwhile), so that the batch's own flush finds less left. It puts nothing
    // in place: that waits for the batch's flush, as before.
    if (earlyFlush_.valid() && earlyFlush_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) return;
    AwaitEarlyFlush();
    try {
        earlyFlush_ = std::async(std::launch::async, [fd = songFolder_.fd()] { return ::syncfs(fd) == 0 ? 0 : errno; });
    } catch (const std::system_error&) {
        // No thread to be had: the batch's own flush does it all.
    }
}

void StagedFiles::AwaitEarlyFlush() {
    // One that failed may have taken the error the whole flush would report.
    if (earlyFlush_.valid() && earlyFlush_.get() != 0) earlyFlushFailed_ = true;
}

void StagedFiles::AwaitFinishing() {
    if (!finisher_) return;
    // A file that could not be finished has no temporary left to remove.
    for (auto& [index, why] : finisher_->Await()) files_[index].failure = std::move(why);
}

bool StagedFiles::Drop(Staged& file, Failure why) {
    const Result<DeviceFolder> folder = Open(file.folder, false);
    const Result<> removed =
        folder ? folder->Remove(file.inPlace ? file.targetName : file.temporaryName) : Result<>(folder.failure());
    // A file in place that cannot be taken back stays in place: its bytes are on the disk.
    if (file.inPlace && !removed) return false;
    file.inPlace = false;
    file.failure = std::move(why);
    return true;
}

Result<DeviceFolder> StagedFiles::FolderOf(Staged& file) {
    if (file.failure) return *file.failure;
    Result<DeviceFolder> folder = Open(file.folder, false);
    if (!folder) Drop(file, folder.failure());
    return folder;
}

void StagedFiles::Flush(const WriteStepHook& step, const FlushFault& fault) {
    StepTaken(step);
    AwaitEarlyFlush();
    // The whole file system at once: what is on its way already costs nothing more.
    if (!earlyFlushFailed_ && FaultOf(fault, {}) == 0 && ::syncfs(songFolder_.fd()) == 0) return;
    // A file system that cannot (or a failure somewhere on it): each file on its own, so that a
    // failure is that file's alone.
    for (Staged& file : files_) {
        const Result<DeviceFolder> folder = FolderOf(file);
        if (!folder) continue;
        StepTaken(step);
        const Result<int> fd = folder->OpenForReading(file.temporaryName);
        if (!fd) {
            Drop(file, fd.failure());
            continue;
        }
        const std::filesystem::path path = folder->path() / file.temporaryName;
        int flushed = FaultOf(fault, path);
        if (flushed == 0) flushed = ::fsync(*fd) == 0 ? 0 : errno;
        ::close(*fd);
        if (flushed != 0 && flushed != EINVAL) {
            Drop(file, SystemFailure("cannot flush", path, flushed));
        }
    }
}

std::vector<std::string> StagedFiles::RenameAll(const WriteStepHook& step) {
    // Each folder's files are renamed in the batch's order, two folders at once when there are
    // several: a rename holds its own folder's lock only.
    using Lane = std::vector<std::pair<std::size_t, DeviceFolder>>;
    std::vector<std::string> renamedIn;  // folders in the order of their first rename
    std::map<std::string, Lane> byFolder;
    for (std::size_t i = 0; i < files_.size(); ++i) {
        const Result<DeviceFolder> folder = FolderOf(files_[i]);
        if (!folder) continue;
        auto [lane, added] = byFolder.try_emplace(files_[i].folder);
        if (added) renamedIn.push_back(files_[i].folder);
        lane->second.emplace_back(i, *folder);
    }
    Lane lanes[2];
    for (const std::string& name : renamedIn) {
        Lane& shorter = lanes[0].size() <= lanes[1].size() ? lanes[0] : lanes[1];
        shorter.insert(shorter.end(), byFolder[name].begin(), byFolder[name].end());
    }
    std::vector<std::optional<Failure>> failures(files_.size());
    std::mutex stepping;  // a test's step hook is not for two threads at once
    const auto rename = [&](const Lane& lane) {
        for (const auto& [index, folder] : lane) {
            {
                const std::lock_guard lock(stepping);
                StepTaken(step);
            }
            const Staged& file = files_[index];
            if (Result<> renamed = folder.Rename(file.temporaryName, file.targetName); !renamed) {
                failures[index] = renamed.failure();
            }
        }
    };
    std::future<void> other;
    try {
        if (!lanes[1].empty()) other = std::async(std::launch::async, rename, std::cref(lanes[1]));
    } catch (const std::system_error&) {
        // No thread to be had: one lane after the other.
    }
    rename(lanes[0]);
    if (other.valid()) {
        other.get();
    } else {
        rename(lanes[1]);
    }
    for (const std::string& name : renamedIn) {
        for (const auto& [index, folder] : byFolder[name]) {
            if (failures[index]) {
                Drop(files_[index], *failures[index]);
            } else {
                files_[index].inPlace = true;
            }
        }
    }
    // Folders where nothing was put in place are not flushed.
    std::erase_if(renamedIn, [&](const std::string& name) {
        return std::none_of(byFolder[name].begin(), byFolder[name].end(),
                            [&](const auto& entry) { return files_[entry.first].inPlace; });
    });
    return renamedIn;
}

std::vector<Result<std::filesystem::path>> StagedFiles::PutInPlace(const WriteStepHook& step, const FlushFault& fault) {
    AwaitFinishing();
    Flush(step, fault);
    std::vector<std::string> renamedIn = RenameAll(step);
    // A rename whose folder could not be flushed may not last: its file goes again.
    const auto takeBack = [&](const std::vector<std::string>& names, const Failure& why) {
        for (Staged& file : files_) {
            if (!file.inPlace || std::find(names.begin(), names.end(), file.folder) == names.end()) continue;
            StepTaken(step);
            Drop(file, why);
        }
    };
    for (const std::string& name : renamedIn) {
        const Result<DeviceFolder> folder = Open(name, false);
        StepTaken(step);
        Result<> synced = folder ? folder->Sync() : Result<>(folder.failure());
        if (!synced) takeBack({name}, synced.failure());
    }
    // A folder made for the batch is named by the song folder, flushed once for all of them.
    if (!made_.empty()) {
        StepTaken(step);
        if (Result<> synced = songFolder_.Sync(); !synced) takeBack(made_, synced.failure());
    }
    std::vector<Result<std::filesystem::path>> outcomes;
    for (const Staged& file : files_) {
        if (file.inPlace) {
            outcomes.emplace_back(songFolder_.path() / file.folder / file.targetName);
        } else {
            outcomes.emplace_back(file.failure ? *file.failure : Fail("not put in place"));
        }
    }
    return outcomes;
}

}  // namespace songloader
