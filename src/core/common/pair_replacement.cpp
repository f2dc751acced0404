// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/common/pair_replacement.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <sstream>
#include <system_error>

#include "core/common/file_bytes.h"
#include "core/common/safe_file.h"

namespace songloader {

namespace {

constexpr std::size_t kMarkerMaxBytes = 4096;

std::string MarkerName(const std::string& pairName) { return pairName + std::string(kTemporaryMark) + "commit"; }

std::string TemporaryName(const std::string& name) { return PairTemporaryNameFor(name).string(); }

bool SameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// Marker text: one line per member, "replace NAME" or "remove NAME", in order.
std::string MarkerText(const PairReplacement& pair) {
    std::string text;
    for (const PairMember& member : pair.members)
        text += (member.replace ? "replace " : "remove ") + member.name + "\n";
    return text;
}

// The pair's folder, reached from the folder above it without following a link.
Result<DeviceFolder> OpenPairFolder(const std::filesystem::path& folder) {
    return OpenFolderBelow(folder.parent_path(), folder.filename());
}

// Step 3 and 4: every member in place, then the marker goes.
Result<> PutInPlace(const DeviceFolder& folder, const PairReplacement& pair,
                    const std::function<void()>& betweenRenames) {
    for (std::size_t i = 0; i < pair.members.size(); ++i) {
        const PairMember& member = pair.members[i];
        if (member.replace) {
            // Already renamed by the run that was interrupted.
            const std::string temporary = TemporaryName(member.name);
            if (folder.Holds(temporary)) {
                if (Result<> renamed = folder.Rename(temporary, member.name); !renamed) return renamed;
            }
        } else {
            // On a folder that ignores letter case a variant name is the new file itself. Inode
            // numbers cannot tell (FUSE drivers give each name its own), the listing can: the
            // variant is a file of its own only while both names are listed.
            const std::vector<std::string> names = folder.Names();
            const auto listed = [&](const std::string& name) {
                return std::find(names.begin(), names.end(), name) != names.end();
            };
            const bool isNewFile = !listed(member.name) ||
                                   std::any_of(pair.members.begin(), pair.members.end(), [&](const PairMember& other) {
                                       return other.replace && other.name != member.name &&
                                              (!listed(other.name) || folder.SameFile(other.name, member.name));
                                   });
            if (!isNewFile) {
                if (Result<> removed = folder.Remove(member.name); !removed) return removed;
            }
        }
        if (i == 0 && betweenRenames) betweenRenames();
    }
    if (Result<> synced = folder.Sync(); !synced) return synced;
    if (Result<> removed = folder.Remove(MarkerName(pair.pairName)); !removed) return removed;
    (void)folder.Sync();
    return {};
}

void RemoveTemporary(const DeviceFolder& folder, const std::string& name) {
    (void)folder.Remove(TemporaryName(name));
    (void)folder.Remove(TemporaryName(name) + "-journal");
}

bool LeftOver(const DeviceFolder& folder, const std::string& pairName, const std::vector<std::string>& memberNames) {
    if (folder.Holds(MarkerName(pairName))) return true;
    return std::any_of(memberNames.begin(), memberNames.end(),
                       [&](const std::string& name) { return folder.Holds(TemporaryName(name)); });
}

}  // namespace

std::filesystem::path PairReplacement::marker() const { return folder / MarkerName(pairName); }

std::filesystem::path PairReplacement::temporaryOf(const PairMember& member) const {
    return PairTemporaryNameFor(folder / member.name);
}

std::vector<std::string> CaseVariantsIn(const DeviceFolder& folder, const std::string& name) {
    std::vector<std::string> variants;
    // Listed, not looked up: a folder that ignores letter case finds any variant by the exact name.
    const std::vector<std::string> names = folder.Names();
    if (std::find(names.begin(), names.end(), name) != names.end()) return variants;
    for (const std::string& entry : names) {
        if (entry != name && SameIgnoringCase(entry, name)) variants.push_back(entry);
    }
    std::sort(variants.begin(), variants.end());
    return variants;
}

Result<> CommitPairReplacement(const PairReplacement& given, const std::function<void()>& betweenRenames) {
    const Result<DeviceFolder> folder = OpenPairFolder(given.folder);
    if (!folder) return folder.failure();
    // A member stored under another letter case (a list written as SGLIST.DAT) is replaced in
    // the same step: the new file takes the exact name and the variant goes.
    PairReplacement pair = given;
    for (const PairMember& member : given.members) {
        for (const std::string& variant : CaseVariantsIn(*folder, member.name))
            pair.members.push_back({variant, false});
    }
    SafeFileWriter marker(*folder, MarkerName(pair.pairName));
    if (!marker.Write(MarkerText(pair)) || !marker.Commit()) return Fail("Cannot write " + marker.status().message());
    return PutInPlace(*folder, pair, betweenRenames);
}

bool PairReplacementLeftOver(const std::filesystem::path& folder, const std::string& pairName,
                             const std::vector<std::string>& memberNames) {
    const Result<DeviceFolder> opened = OpenPairFolder(folder);
    return opened && LeftOver(*opened, pairName, memberNames);
}

Result<PairRecovery> FinishPairReplacement(const std::filesystem::path& folderPath, const std::string& pairName,
                                           const std::vector<std::string>& memberNames) {
    const Result<DeviceFolder> opened = OpenPairFolder(folderPath);
    if (!opened || !LeftOver(*opened, pairName, memberNames)) return PairRecovery::Nothing;
    const DeviceFolder& folder = *opened;
    PairReplacement pair{folderPath, pairName, {}};
    if (folder.Holds(MarkerName(pairName))) {
        // The marker is complete (it was renamed in whole): it names the members and their order.
        std::optional<std::vector<std::uint8_t>> bytes;
        if (Result<int> fd = folder.OpenForReading(MarkerName(pairName))) {
            if (Result<std::vector<std::uint8_t>> read = ReadOpenFileBytes(*fd, kMarkerMaxBytes)) {
                bytes = std::move(read).value();
            }
            ::close(*fd);
        }
        std::istringstream lines(bytes ? std::string(bytes->begin(), bytes->end()) : std::string());
        std::string verb;
        std::string name;
        bool readable = bytes.has_value();
        while (readable && lines >> verb >> name) {
            const bool replace = verb == "replace";
            // Removed variants differ from a member only in letter case.
            const bool known = std::any_of(memberNames.begin(), memberNames.end(), [&](const std::string& member) {
                return member == name || (!replace && SameIgnoringCase(member, name));
            });
            if (!known || (verb != "replace" && verb != "remove")) readable = false;
            pair.members.push_back({name, replace});
        }
        if (readable && !pair.members.empty()) {
            if (Result<> done = PutInPlace(folder, pair, {}); !done) return done.failure();
            return PairRecovery::Finished;
        }
    }
    // Never committed (or a marker that is not ours): the old pair stands.
    for (const std::string& name : memberNames) RemoveTemporary(folder, name);
    if (Result<> removed = folder.Remove(MarkerName(pairName)); !removed) return removed.failure();
    (void)folder.Sync();
    return PairRecovery::Discarded;
}

}  // namespace songloader
