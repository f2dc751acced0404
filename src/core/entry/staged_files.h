// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/common/device_folder.h"
#include "core/common/result.h"
#include "core/entry/write_steps.h"

namespace songloader {

// The files of a batch, written under temporary names in their song sub-folders and put in place
// together: one flush for all of them (the whole file system at once, or each file when it cannot
// be flushed as a whole), then one rename each, then one flush of each folder a file was renamed
// in. No name of a song's file points at bytes that are not on the disk yet, and the caller writes
// the catalogue only once the folders naming the files are flushed. A killed batch leaves
// temporaries (swept by the next writing command) and files in place that the batch's record
// names (catalogued by it). What is never put in place is removed when the batch ends.
class StagedFiles {
public:
    explicit StagedFiles(DeviceFolder songFolder);
    ~StagedFiles();
    StagedFiles(const StagedFiles&) = delete;
    StagedFiles& operator=(const StagedFiles&) = delete;

    const DeviceFolder& songFolder() const { return songFolder_; }
    // The song sub-folder `name` (made when missing), opened once for the batch.
    Result<DeviceFolder> Folder(const std::string& name);
    // Takes over the written, closed temporary file `temporaryName` of the sub-folder `folder`,
    // to become `targetName` there; its index among the staged files.
    std::size_t Add(const std::string& folder, std::string temporaryName, std::string targetName);
    // The same for a temporary file whose writing `finish` completes (and closes) on the batch's
    // writing thread while the caller goes on with the next file: a batch of small files is then
    // written on two cores. A `finish` that fails has removed its temporary; PutInPlace reports
    // the file with that failure. `finish` must not touch the file system by name: only its file.
    std::size_t AddFinishing(const std::string& folder, std::string temporaryName, std::string targetName,
                             std::function<Result<>()> finish);
    std::size_t size() const { return files_.size(); }

    // Puts every staged file in place: the file on the device or why not, in the order added.
    // A file that could not be flushed or renamed is removed again. `step` runs before every
    // file-system step; `fault` fails the flushes a test chooses.
    std::vector<Result<std::filesystem::path>> PutInPlace(const WriteStepHook& step = {}, const FlushFault& fault = {});

private:
    struct Staged {
        std::string folder;
        std::string temporaryName;
        std::string targetName;
        bool inPlace = false;
        std::optional<Failure> failure;
    };
    class Finisher;
    // Waits for every file being finished and takes over their failures.
    void AwaitFinishing();
    // Starts a flush of the file system unless one is under way; waits for the last one started.
    void FlushEarly();
    void AwaitEarlyFlush();
    void Flush(const WriteStepHook& step, const FlushFault& fault);
    // Renames every file still on its way: the folders where one was put in place, in the order
    // of their first file.
    std::vector<std::string> RenameAll(const WriteStepHook& step);
    Result<DeviceFolder> Open(const std::string& name, bool create);
    // Removes the file (from its place or its temporary name) and keeps why; false when a file in
    // place could not be removed.
    bool Drop(Staged& file, Failure why);
    // The folder of a file still on its way; a file whose folder cannot be opened is dropped.
    Result<DeviceFolder> FolderOf(Staged& file);

    DeviceFolder songFolder_;
    std::map<std::string, DeviceFolder> folders_;  // by name, opened once
    std::vector<std::string> made_;                // folders this batch made
    std::vector<Staged> files_;
    std::unique_ptr<Finisher> finisher_;  // started with the first file left to it
    std::future<int> earlyFlush_;         // a flush of what was written so far: 0 or errno
    bool earlyFlushFailed_ = false;
};

}  // namespace songloader
