// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/catalogue/row_element.h"
#include "core/common/notice.h"
#include "core/common/pair_replacement.h"
#include "core/common/result.h"
#include "core/common/translatable.h"
#include "core/entry/write_steps.h"

namespace songloader {

enum class RebuildMode { Add, Revise, Delete };

inline constexpr const char* kAddedMessage = SL_TRANSLATE_NOOP("Core", "Added successfully");
inline constexpr const char* kRevisedMessage = SL_TRANSLATE_NOOP("Core", "Revised successfully!");
inline constexpr const char* kDeletedMessage = SL_TRANSLATE_NOOP("Core", "Song deleted successfully");

struct RebuildHooks {
    // Once per song, after its row is written: songs done so far and the total.
    std::function<void(std::size_t done, std::size_t total)> onSong;
    // Tests: runs when SgList.dat is in place and usbsong.db not yet.
    std::function<void()> betweenRenames;
};

// The same hooks with a write step taken between the two renames too.
RebuildHooks StepsBetweenRenames(RebuildHooks hooks, const WriteStepHook& step);

// SgList.dat and usbsong.db change as a pair (see PairReplacement), the list first.
inline constexpr const char* kDeviceCataloguePairName = "catalogue";
PairReplacement DeviceCataloguePair(const std::filesystem::path& songFolder, bool withList);
// Finishes (or discards) a replacement of the pair that a killed run left in the song folder.
Result<PairRecovery> FinishDeviceCatalogueReplacement(const std::filesystem::path& songFolder);

// What a written catalogue says.
struct CatalogueWritten {
    Notices notices;                 // the closing message
    std::vector<std::string> notes;  // what the database creation noted without failing, for a console
};

// A new catalogue built under the pair's temporary names, not yet in place (it is flushed just
// before it is put in place). One that goes without being put in place is discarded.
class PreparedCatalogue {
public:
    explicit PreparedCatalogue(PairReplacement pair) : pair_(std::move(pair)) {}
    PreparedCatalogue(PreparedCatalogue&& other) noexcept;
    PreparedCatalogue& operator=(PreparedCatalogue&&) = delete;
    ~PreparedCatalogue();

    std::vector<std::string> notes;  // what the database creation noted without failing
    std::size_t songCount = 0;

    // Puts both files in place as one (CommitPairReplacement); the closing message of `mode`.
    Result<CatalogueWritten> Commit(RebuildMode mode, const RebuildHooks& hooks);

private:
    std::optional<PairReplacement> pair_;
};

// The first half of RebuildDeviceCatalogue: both files built, the old ones untouched.
Result<PreparedCatalogue> PrepareDeviceCatalogue(const SongList& songs, const std::filesystem::path& songFolder,
                                                 const RebuildHooks& hooks = {}, const std::string& codePage = {});

// Writes a new usbsong.db and SgList.dat for `songs` into `songFolder`. Both are built under
// their pair's fixed temporary names, flushed, and only then put in place together; on any failure
// the old catalogue stays as it was (a failure shows the builder's messages in order: see
// Failure::AsNotices). 50,000 songs or more are refused before anything is built. A device without
// songs keeps an empty usbsong.db and no SgList.dat.
// `codePage` is the device's: the list's text slots are cut between its characters.
Result<CatalogueWritten> RebuildDeviceCatalogue(const SongList& songs, const std::filesystem::path& songFolder,
                                                RebuildMode mode, const RebuildHooks& hooks = {},
                                                const std::string& codePage = {});

}  // namespace songloader
