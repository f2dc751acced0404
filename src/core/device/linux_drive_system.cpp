// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/device/linux_drive_system.h"

#include <libmount/libmount.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <memory>
#include <system_error>

namespace songloader {

namespace {

namespace fs = std::filesystem;

// SCSI peripheral type of optical drives; they are neither removable sticks nor fixed disks.
constexpr const char* kOpticalDeviceType = "5";

// First line of a sysfs attribute without surrounding blanks; empty when unreadable.
std::string ReadAttribute(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    auto blank = [](unsigned char c) { return std::isspace(c) != 0; };
    line.erase(line.begin(), std::find_if_not(line.begin(), line.end(), blank));
    line.erase(std::find_if_not(line.rbegin(), line.rend(), blank).base(), line.end());
    return line;
}

// Enumeration values carry no blanks.
std::string EnumField(const fs::path& file) {
    std::string text = ReadAttribute(file);
    std::replace(text.begin(), text.end(), ' ', '_');
    return text;
}

bool IsPrefixOf(const fs::path& prefix, const fs::path& path) {
    auto p = prefix.begin();
    auto q = path.begin();
    for (; p != prefix.end(); ++p, ++q) {
        if (p->empty()) continue;  // a trailing separator
        if (q == path.end() || *p != *q) return false;
    }
    return true;
}

// A USB host controller's root hub shows in a sysfs device path as a folder named usb<N>.
bool PassesThroughUsbHost(const fs::path& deviceFolder, const fs::path& sysRoot) {
    std::error_code error;
    for (const fs::path& part : deviceFolder.lexically_relative(fs::weakly_canonical(sysRoot, error))) {
        const std::string name = part.string();
        if (name.size() > 3 && name.compare(0, 3, "usb") == 0 &&
            std::all_of(name.begin() + 3, name.end(), [](unsigned char c) { return std::isdigit(c) != 0; })) {
            return true;
        }
    }
    return false;
}

// The kernel's own order of disk names: sda .. sdz, sdaa, ...
bool DiskNameBefore(const std::string& a, const std::string& b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

struct TableDeleter {
    void operator()(libmnt_table* table) const { mnt_unref_table(table); }
};
struct IterDeleter {
    void operator()(libmnt_iter* iter) const { mnt_free_iter(iter); }
};

// udev writes unsafe characters of a label as \xHH.
std::string DecodedLabel(const std::string& name) {
    std::string label;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x' &&
            std::isxdigit(static_cast<unsigned char>(name[i + 2])) &&
            std::isxdigit(static_cast<unsigned char>(name[i + 3]))) {
            label += static_cast<char>(std::stoi(name.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            label += name[i];
        }
    }
    return label;
}

}  // namespace

LinuxDriveSystem::LinuxDriveSystem() : LinuxDriveSystem(Paths{}) {}

LinuxDriveSystem::LinuxDriveSystem(Paths paths) : paths_(std::move(paths)) {}

std::vector<LinuxDriveSystem::Mount> LinuxDriveSystem::ReadMounts() const {
    std::vector<Mount> mounts;
    std::unique_ptr<libmnt_table, TableDeleter> table(mnt_new_table_from_file(paths_.mountInfo.c_str()));
    std::unique_ptr<libmnt_iter, IterDeleter> iter(mnt_new_iter(MNT_ITER_FORWARD));
    if (!table || !iter) return mounts;
    libmnt_fs* entry = nullptr;
    while (mnt_table_next_fs(table.get(), iter.get(), &entry) == 0) {
        const char* target = mnt_fs_get_target(entry);
        if (!target) continue;
        const char* source = mnt_fs_get_source(entry);
        mounts.push_back({fs::path(target).lexically_normal(), source ? source : "", mnt_fs_get_devno(entry)});
    }
    return mounts;
}

std::optional<LinuxDriveSystem::Mount> LinuxDriveSystem::MountAt(const fs::path& target) const {
    const fs::path wanted = target.lexically_normal();
    std::optional<Mount> found;
    // A later mount on the same folder hides the earlier ones.
    for (Mount& mount : ReadMounts()) {
        if (mount.target == wanted) found = std::move(mount);
    }
    return found;
}

std::optional<fs::path> LinuxDriveSystem::DiskFolder(const Mount& mount) const {
    std::error_code error;
    fs::path entry;
    if (major(mount.devno) != 0) {
        entry = paths_.sysRoot / "dev" / "block" /
                (std::to_string(major(mount.devno)) + ":" + std::to_string(minor(mount.devno)));
    } else if (mount.source.rfind("/dev/", 0) == 0) {
        // Some file systems report an anonymous device number; the source still names the device.
        entry = paths_.sysRoot / "class" / "block" / fs::path(mount.source).filename();
    } else {
        return std::nullopt;
    }
    fs::path folder = fs::canonical(entry, error);
    if (error) return std::nullopt;
    if (fs::exists(folder / "partition", error)) folder = folder.parent_path();
    return folder;
}

bool LinuxDriveSystem::UnderMountRoot(const fs::path& target) const {
    return std::any_of(paths_.mountRoots.begin(), paths_.mountRoots.end(),
                       [&](const fs::path& root) { return IsPrefixOf(root.lexically_normal(), target); });
}

std::vector<fs::path> LinuxDriveSystem::DriveTable() const {
    std::map<std::string, Mount> byTarget;  // ordered by mount point; a later mount replaces an earlier one
    for (Mount& mount : ReadMounts()) {
        if (!UnderMountRoot(mount.target)) continue;
        byTarget.erase(mount.target.string());
        if (DiskFolder(mount)) byTarget.emplace(mount.target.string(), std::move(mount));
    }
    std::vector<fs::path> table;
    for (const auto& [target, mount] : byTarget) {
        if (table.size() == kDriveTableSize) break;
        table.push_back(mount.target);
    }
    return table;
}

DriveKind LinuxDriveSystem::KindOf(const fs::path& drive) const {
    const auto mount = MountAt(drive);
    const auto disk = mount ? DiskFolder(*mount) : std::nullopt;
    if (!disk) return DriveKind::Other;
    if (ReadAttribute(*disk / "device" / "type") == kOpticalDeviceType) return DriveKind::Other;
    return ReadAttribute(*disk / "removable") == "1" ? DriveKind::Removable : DriveKind::Fixed;
}

bool LinuxDriveSystem::IsUsbDisk(const fs::path& drive) const {
    const auto mount = MountAt(drive);
    const auto disk = mount ? DiskFolder(*mount) : std::nullopt;
    return disk && PassesThroughUsbHost(*disk, paths_.sysRoot);
}

bool LinuxDriveSystem::IsAccessible(const fs::path& drive) const {
    std::error_code error;
    return fs::is_directory(drive, error);
}

std::optional<std::vector<std::string>> LinuxDriveSystem::DiskEnumList() const {
    std::error_code error;
    fs::directory_iterator it(paths_.sysRoot / "block", error);
    if (error) return std::nullopt;
    std::vector<std::pair<std::string, fs::path>> disks;
    for (fs::directory_iterator end; it != end; it.increment(error)) {
        if (error) return std::nullopt;
        fs::path folder = fs::canonical(it->path(), error);
        // Virtual block devices (loop, ram, device mapper) have no device behind them.
        if (error || !fs::exists(folder / "device", error)) continue;
        disks.emplace_back(it->path().filename().string(), folder);
    }
    std::sort(disks.begin(), disks.end(),
              [](const auto& a, const auto& b) { return DiskNameBefore(a.first, b.first); });

    std::vector<std::string> list;
    for (const auto& [name, folder] : disks) {
        const bool usb = PassesThroughUsbHost(folder, paths_.sysRoot);
        const fs::path device = folder / "device";
        list.push_back(std::string(usb ? "USBSTOR" : "SCSI") + "\\Disk&Ven_" + EnumField(device / "vendor") + "&Prod_" +
                       EnumField(device / "model") + "&Rev_" + EnumField(device / "rev"));
    }
    return list;
}

std::optional<fs::path> LinuxDriveSystem::VolumeHolding(const fs::path& folder) const {
    std::error_code error;
    const fs::path place = fs::weakly_canonical(folder, error);
    if (error) return std::nullopt;
    std::optional<fs::path> best;
    for (const Mount& mount : ReadMounts()) {
        if (!IsPrefixOf(mount.target, place)) continue;
        if (!best ||
            std::distance(mount.target.begin(), mount.target.end()) >= std::distance(best->begin(), best->end())) {
            best = mount.target;
        }
    }
    return best;
}

std::string LinuxDriveSystem::Label(const fs::path& drive) const {
    const auto mount = MountAt(drive);
    std::error_code error;
    if (mount && mount->source.rfind("/dev/", 0) == 0) {
        const fs::path device = fs::canonical(mount->source, error);
        fs::directory_iterator it(paths_.labelLinks, error);
        for (fs::directory_iterator end; !error && it != end; it.increment(error)) {
            std::error_code inner;
            if (!device.empty() && fs::canonical(it->path(), inner) == device) {
                return DecodedLabel(it->path().filename().string());
            }
        }
    }
    return drive.filename().string();
}

}  // namespace songloader
