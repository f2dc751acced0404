// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/common/pair_replacement.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sstream>
#include <system_error>

#include "core/common/file_bytes.h"
#include "core/common/safe_file.h"

namespace songloader {

namespace {

constexpr std::size_t kMarkerMaxBytes = 4096;

bool Exists(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::symlink_status(path, error).type() != std::filesystem::file_type::not_found && !error;
}

// Marker text: one line per member, "replace NAME" or "remove NAME", in order.
std::string MarkerText(const PairReplacement& pair) {
    std::string text;
    for (const PairMember& member : pair.members) text += (member.replace ? "replace " : "remove ") + member.name + "\n";
    return text;
}

std::string SystemError(const std::string& what, const std::filesystem::path& path) {
    return what + " " + path.string() + ": " + std::strerror(errno);
}

// Step 3 and 4: every member in place, then the marker goes.
std::string PutInPlace(const PairReplacement& pair, const std::function<void()>& betweenRenames) {
    for (std::size_t i = 0; i < pair.members.size(); ++i) {
        const PairMember& member = pair.members[i];
        const std::filesystem::path target = pair.folder / member.name;
        const std::filesystem::path temporary = pair.temporaryOf(member);
        if (member.replace) {
            // Already renamed by the run that was interrupted.
            if (Exists(temporary) && ::rename(temporary.c_str(), target.c_str()) != 0) {
                return SystemError("Cannot replace", target);
            }
        } else if (::unlink(target.c_str()) != 0 && errno != ENOENT) {
            return SystemError("Cannot remove", target);
        }
        if (i == 0 && betweenRenames) betweenRenames();
    }
    if (!SyncFolder(pair.folder)) return SystemError("Cannot flush", pair.folder);
    if (::unlink(pair.marker().c_str()) != 0 && errno != ENOENT) return SystemError("Cannot remove", pair.marker());
    SyncFolder(pair.folder);
    return {};
}

void RemoveTemporary(const std::filesystem::path& temporary) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    std::filesystem::path journal = temporary;
    journal += "-journal";
    std::filesystem::remove(journal, ignored);
}

}  // namespace

std::filesystem::path PairReplacement::marker() const {
    return folder / (pairName + std::string(kTemporaryMark) + "commit");
}

std::filesystem::path PairReplacement::temporaryOf(const PairMember& member) const {
    return PairTemporaryNameFor(folder / member.name);
}

std::string CommitPairReplacement(const PairReplacement& pair, const std::function<void()>& betweenRenames) {
    SafeFileWriter marker(pair.marker());
    if (!marker.Write(MarkerText(pair)) || !marker.Commit()) return "Cannot write " + marker.error();
    return PutInPlace(pair, betweenRenames);
}

bool PairReplacementLeftOver(const std::filesystem::path& folder, const std::string& pairName,
                             const std::vector<std::string>& memberNames) {
    PairReplacement pair{folder, pairName, {}};
    if (Exists(pair.marker())) return true;
    for (const std::string& name : memberNames) {
        if (Exists(pair.temporaryOf({name, true}))) return true;
    }
    return false;
}

PairRecoveryResult FinishPairReplacement(const std::filesystem::path& folder, const std::string& pairName,
                                         const std::vector<std::string>& memberNames) {
    PairReplacement pair{folder, pairName, {}};
    PairRecoveryResult result;
    if (!PairReplacementLeftOver(folder, pairName, memberNames)) return result;
    if (Exists(pair.marker())) {
        // The marker is complete (it was renamed in whole): it names the members and their order.
        const auto bytes = ReadFileBytes(pair.marker(), kMarkerMaxBytes);
        std::istringstream lines(bytes ? std::string(bytes->begin(), bytes->end()) : std::string());
        std::string verb;
        std::string name;
        bool readable = bytes.has_value();
        while (readable && lines >> verb >> name) {
            const bool known = std::find(memberNames.begin(), memberNames.end(), name) != memberNames.end();
            if (!known || (verb != "replace" && verb != "remove")) readable = false;
            pair.members.push_back({name, verb == "replace"});
        }
        if (readable && !pair.members.empty()) {
            result.error = PutInPlace(pair, {});
            result.what = result.error.empty() ? PairRecovery::Finished : PairRecovery::Failed;
            return result;
        }
    }
    // Never committed (or a marker that is not ours): the old pair stands.
    for (const std::string& name : memberNames) RemoveTemporary(pair.temporaryOf({name, true}));
    if (::unlink(pair.marker().c_str()) != 0 && errno != ENOENT) {
        result.what = PairRecovery::Failed;
        result.error = SystemError("Cannot remove", pair.marker());
        return result;
    }
    SyncFolder(folder);
    result.what = PairRecovery::Discarded;
    return result;
}

}  // namespace songloader
