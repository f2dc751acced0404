// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

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
// Empty with `error` set when something could not be written.
std::optional<DemoFiles> MakeDemoFiles(const std::filesystem::path& folder, std::string& error,
                                      int deviceSongs = 36, int cloudSongs = 300);

// A static file server on 127.0.0.1 at a free port, serving `folder` until it is destroyed.
class DemoCloudServer {
public:
    explicit DemoCloudServer(const std::filesystem::path& folder);
    ~DemoCloudServer();
    DemoCloudServer(const DemoCloudServer&) = delete;
    DemoCloudServer& operator=(const DemoCloudServer&) = delete;

    bool running() const { return port_ > 0; }
    // "http://127.0.0.1:PORT/"
    std::string baseUrl() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    int port_ = -1;
};

}  // namespace songloader::gui
