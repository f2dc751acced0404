// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/common/device_folder.h"
#include "core/common/result.h"

namespace songloader {

// Two files of one folder that must change together (a list and its database). The protocol:
//  1. both new files are written and flushed under their fixed temporary names
//     (PairTemporaryNameFor: <name>.sltmp-pair);
//  2. the marker <pair>.sltmp-commit is written beside them (through a temporary name, flushed,
//     renamed in, folder flushed): from now on the replacement counts as done;
//  3. the temporaries are renamed over their targets in the pair's order (a member without a new
//     file has its target removed instead), the folder is flushed;
//  4. the marker is removed and the folder flushed.
// A run killed anywhere leaves either no marker (the old pair stands; the temporaries are
// discarded) or a marker (the renames still missing are finished) - see FinishPairReplacement.
// Only one writer may run it on a folder at a time (the device write lock).
struct PairMember {
    std::string name;     // file name in the folder
    bool replace = true;  // false: the file goes (its temporary is not there)
};

struct PairReplacement {
    std::filesystem::path folder;
    std::string pairName;             // the marker's stem
    std::vector<PairMember> members;  // in the order they are put in place

    std::filesystem::path marker() const;
    std::filesystem::path temporaryOf(const PairMember& member) const;
};

// Steps 2 to 4 once both temporaries are complete and flushed. `betweenRenames` (tests) runs after
// the first member is in place. A failure before the marker leaves the old pair, a failure after
// it is finished by the next FinishPairReplacement. The pair's folder is opened without following
// a link. A member whose exact name is missing but that is stored under another letter case
// (SGLIST.DAT for SgList.dat) has that variant removed in the same step.
Result<> CommitPairReplacement(const PairReplacement& pair, const std::function<void()>& betweenRenames = {});

// The names in `folder` that differ from `name` only in ASCII letter case, sorted; empty when
// `name` itself is listed.
std::vector<std::string> CaseVariantsIn(const DeviceFolder& folder, const std::string& name);

// What finding a killed replacement did.
enum class PairRecovery { Nothing, Finished, Discarded };

// Finds what a killed replacement of a pair named `pairName` left in `folder` and finishes it
// (marker present) or discards its temporaries (no marker). The members are read from the marker.
// A failure says why the leftovers could not be finished or cleared.
Result<PairRecovery> FinishPairReplacement(const std::filesystem::path& folder, const std::string& pairName,
                                           const std::vector<std::string>& memberNames);

// True when `folder` holds a marker or a fixed temporary of the pair.
bool PairReplacementLeftOver(const std::filesystem::path& folder, const std::string& pairName,
                             const std::vector<std::string>& memberNames);

}  // namespace songloader
