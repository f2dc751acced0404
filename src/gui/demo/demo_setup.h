// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/common/result.h"
#include "core/device/drive_system.h"

namespace songloader::gui {

// A drive table that holds one removable volume: the demo device folder.
class DemoDriveSystem final : public DriveSystem {
public:
    explicit DemoDriveSystem(std::filesystem::path root) : root_(std::move(root)) {}
    std::vector<std::filesystem::path> DriveTable() const override { return {root_}; }
    DriveKind KindOf(const std::filesystem::path&) const override { return DriveKind::Removable; }
    bool IsUsbDisk(const std::filesystem::path&) const override { return true; }
    bool IsAccessible(const std::filesystem::path& drive) const override;
    std::optional<std::vector<std::string>> DiskEnumList() const override { return std::vector<std::string>{}; }
    std::optional<std::filesystem::path> VolumeHolding(const std::filesystem::path& folder) const override;

private:
    std::filesystem::path root_;
};

// A ready demo below `folder`: device/ holds a device of a few dozen user songs with tiny media
// files, cloud/ the files of a published cloud (a few hundred songs, their videos, a MIDI pack).
struct DemoFiles {
    std::filesystem::path deviceRoot;
    std::filesystem::path cloudFolder;
};
// A failure says what could not be written.
Result<DemoFiles> MakeDemoFiles(const std::filesystem::path& folder, int deviceSongs = 36, int cloudSongs = 300);

// The demo cloud: the helper program songloader-demo-cloud serving `folder` on 127.0.0.1 at a free
// port, until this is destroyed or this process ends in any way. `removeOnExit`, when given, is a
// demo folder the helper removes once this process is gone (killed included).
class DemoCloudServer {
public:
    // The helper serving, or why it does not.
    static Result<std::unique_ptr<DemoCloudServer>> Start(const std::filesystem::path& folder,
                                                          const std::filesystem::path& removeOnExit = {});
    ~DemoCloudServer();
    DemoCloudServer(const DemoCloudServer&) = delete;
    DemoCloudServer& operator=(const DemoCloudServer&) = delete;

    // "http://127.0.0.1:PORT/"
    std::string baseUrl() const { return url_; }

private:
    DemoCloudServer();

    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::string url_;
};

// Where the helper is: installed under libexec/songloader, or beside the running program in the
// build tree.
std::filesystem::path DemoCloudHelperPath();

// Demo folders are named "songloader-demo-PID-XXXXXX" in the temporary folder, PID the window's.
inline constexpr const char* kDemoFolderPrefix = "songloader-demo-";
// Removes the demo folders below `tempRoot` that belong to this user and to processes that no
// longer exist (a window killed outright); returns how many.
int SweepStaleDemoFolders(const std::filesystem::path& tempRoot);

}  // namespace songloader::gui
