// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/entry/import_plan.h"

#include <algorithm>
#include <optional>
#include <set>
#include <system_error>
#include <unordered_map>

#include "core/entry/add_queue.h"
#include "core/media/probe_files.h"
#include "core/media/song_names.h"
#include "core/songlist/song_text.h"
#include "core/text/code_page.h"

namespace songloader {

namespace {

namespace fs = std::filesystem;

bool IsHidden(const fs::path& path) {
    const std::string name = path.filename().string();
    return !name.empty() && name[0] == '.';
}

bool SameFolder(const fs::path& a, const std::optional<fs::path>& b) {
    if (!b) return false;
    std::error_code error;
    return fs::equivalent(a, *b, error) && !error;
}

// True when `path` is the song folder `songFolder` or lies below it (links resolved).
bool Inside(const fs::path& path, const std::optional<fs::path>& songFolder) {
    if (!songFolder) return false;
    std::error_code error;
    const fs::path folder = fs::weakly_canonical(*songFolder, error);
    if (error) return false;
    const fs::path full = fs::weakly_canonical(path, error);
    if (error) return false;
    const fs::path below = full.lexically_relative(folder);
    return !below.empty() && *below.begin() != "..";
}

fs::path FullPath(const fs::path& path) {
    std::error_code error;
    const fs::path full = fs::absolute(path, error);
    return (error ? path : full).lexically_normal();
}

// Title and artist as compared for repeats: ASCII letters in one case (a byte-safe fold for
// UTF-8), the two fields kept apart.
std::string SongKey(const std::string& title, const std::string& artist) {
    std::string key = title + '\n' + artist;
    for (char& c : key) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return key;
}

// The lowest free user numbers, handed out one by one.
class NumberSource {
public:
    NumberSource(const SongList& deviceSongs, const SongList& workSongs) {
        for (const SongList* songs : {&deviceSongs, &workSongs}) {
            for (const ROWELEMENT& song : *songs) used_.insert(song.number);
        }
    }
    std::optional<std::int32_t> Peek() {
        while (next_ <= kLastUserNumber && used_.count(next_)) ++next_;
        if (next_ > kLastUserNumber) return std::nullopt;
        return next_;
    }
    void Take(std::int32_t number) { used_.insert(number); }

private:
    std::set<std::int32_t> used_;
    std::int32_t next_ = kFirstUserNumber;
};

}  // namespace

ImportFiles CollectImportFiles(const std::vector<fs::path>& given, const std::optional<fs::path>& songFolder) {
    ImportFiles result;
    std::vector<std::pair<std::string, fs::path>> found;  // full path -> path as shown
    // Every file below `top`; a folder that cannot be read is named, never passed over in silence.
    const auto walk = [&](const fs::path& top) {
        std::vector<fs::path> folders{top};
        while (!folders.empty()) {
            const fs::path folder = std::move(folders.back());
            folders.pop_back();
            std::error_code error;
            // A listed name is one plain step below its folder: the folder's full path is made once.
            const fs::path fullFolder = FullPath(folder);
            fs::directory_iterator entries(folder, error);
            for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
                const fs::path& entry = entries->path();
                if (IsHidden(entry)) continue;
                std::error_code kindError;
                if (!entries->is_directory(kindError)) {
                    found.emplace_back((fullFolder / entry.filename()).string(), entry);
                } else if (!entries->is_symlink(kindError) && !SameFolder(entry, songFolder)) {
                    folders.push_back(entry);  // a linked folder is not walked
                }
            }
            if (error) result.missing.push_back({folder.string(), folder.string() + ": " + error.message(), false});
        }
    };
    for (const fs::path& path : given) {
        std::error_code error;
        const fs::file_status status = fs::status(path, error);
        if (!fs::exists(status)) {
            result.missing.push_back({path.string(), path.string() + ": no such file or folder", false});
            continue;
        }
        if (Inside(path, songFolder)) {
            result.missing.push_back({path.string(), path.string() + kInsideSongFolderMessage, false});
            continue;
        }
        if (fs::is_directory(status)) {
            walk(path);
        } else {
            found.emplace_back(FullPath(path).string(), path);
        }
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    found.erase(
        std::unique(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first == b.first; }),
        found.end());
    for (auto& [full, shown] : found) result.files.push_back(shown);
    return result;
}

ImportPlan PlanImport(const std::vector<fs::path>& files, const SongList& deviceSongs, const SongList& workSongs,
                      const ImportOptions& options) {
    return PlanImport(files, ProbeFiles(files), deviceSongs, workSongs, options);
}

ImportPlan PlanImport(const std::vector<fs::path>& files, const std::vector<Result<MediaFacts>>& probed,
                      const SongList& deviceSongs, const SongList& workSongs, const ImportOptions& options) {
    ImportPlan plan;
    // Who holds each title and artist already: the number on the device, or the file queued.
    // Repeats are told by the texts as the device stores them (cut to their slots).
    const auto storedKey = [&](const ROWELEMENT& song) {
        const ROWELEMENT stored = StoredTexts(song, options.codePage);
        return SongKey(DeviceToUtf8(stored.title, options.codePage), DeviceToUtf8(stored.artist, options.codePage));
    };
    std::unordered_map<std::string, std::string> onDevice, queued;
    if (!options.keepDuplicates) {
        for (const ROWELEMENT& song : deviceSongs) onDevice.emplace(storedKey(song), song.numberText);
        for (const ROWELEMENT& song : workSongs) queued.emplace(storedKey(song), song.mediaPath);
    }
    NumberSource numbers(deviceSongs, workSongs);

    for (std::size_t at = 0; at < files.size(); ++at) {
        const fs::path& file = files[at];
        const std::string shown = file.string();
        auto skip = [&](std::string message, bool duplicate = false) {
            plan.skipped.push_back({shown, std::move(message), duplicate});
        };
        const Result<MediaFacts>& facts = probed[at];
        if (!facts) {
            skip(facts.message());
            continue;
        }
        if (options.leaveOutConversions) {
            if (const MediaJudgement judgement = JudgeMedia(*facts, *options.leaveOutConversions);
                judgement.verdict == MediaVerdict::PlaysAfterConversion) {
                plan.skipped.push_back({shown, NeedsConversionText(shown, judgement), false, true});
                continue;
            }
        }
        SongNames names = FindSongNames(*facts, file);
        if (options.artist) names.artist = *options.artist;

        EntryForm form;
        bool written = true;
        for (auto [text, target, what] :
             {std::tuple{&names.title, &form.title, "title"}, std::tuple{&names.artist, &form.artist, "artist"},
              std::tuple{&names.composer, &form.composer, "composer"},
              std::tuple{&names.lyricist, &form.lyricist, "lyricist"}}) {
            auto bytes = Utf8ToDevice(*text, options.codePage);
            if (!bytes) {
                skip(shown + ": the " + what + " \"" + *text + "\" cannot be written in " + options.codePage);
                written = false;
                break;
            }
            *target = std::move(*bytes);
        }
        if (!written) continue;
        form.languageText = options.languageText;
        if (!options.keepDuplicates) {
            const std::string key = storedKey(SongFromForm(form));
            if (const auto device = onDevice.find(key); device != onDevice.end()) {
                skip(shown + ": already on the USB drive as " + device->second, true);
                continue;
            }
            if (const auto earlier = queued.find(key); earlier != queued.end()) {
                skip(shown + ": the same song as " + earlier->second, true);
                continue;
            }
            queued.emplace(key, shown);
        }
        const auto number = numbers.Peek();
        if (!number) {
            skip(shown + ": no free song number is left (900000 to 999999 are all taken)");
            continue;
        }
        form.numberText = std::to_string(*number);
        form.mediaPath = shown;
        // The form's own checks; the numbers are free by construction.
        const Result<ROWELEMENT> check = CheckQueueToAdd(form, true, {}, {}, false);
        if (!check) {
            skip(shown + ": " + check.message());
            continue;
        }
        const Result<> fits = CheckSongRow(*check, deviceSongs.size() + workSongs.size() + plan.songs.size() + 1);
        if (!fits) {
            skip(shown + ": " + fits.message());
            continue;
        }
        numbers.Take(*number);
        plan.songs.push_back(*check);
        plan.shown.push_back(shown);
        plan.facts.push_back(*facts);
    }
    return plan;
}

std::optional<std::string> FindRepeat(const ROWELEMENT& song, const SongList& deviceSongs, const SongList& workSongs,
                                      const std::string& codePage) {
    const auto keyOf = [&](const ROWELEMENT& other) {
        return SongKey(DeviceToUtf8(other.title, codePage), DeviceToUtf8(other.artist, codePage));
    };
    const std::string key = keyOf(song);
    const std::string title = DeviceToUtf8(song.title, codePage);
    for (const ROWELEMENT& other : deviceSongs) {
        if (keyOf(other) == key) return title + ": already on the USB drive as " + other.numberText;
    }
    for (const ROWELEMENT& other : workSongs) {
        if (keyOf(other) == key) {
            return title + ": the same song as " + (other.mediaPath.empty() ? other.numberText : other.mediaPath);
        }
    }
    return std::nullopt;
}

std::vector<std::uint64_t> PlannedBytes(const SongList& songs) {
    std::vector<std::uint64_t> bytes;
    bytes.reserve(songs.size());
    for (const ROWELEMENT& song : songs) {
        std::error_code error;
        const auto size = fs::file_size(song.mediaPath, error);
        bytes.push_back(error ? 0 : size);
    }
    return bytes;
}

}  // namespace songloader
