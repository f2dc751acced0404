#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "core/catalogue/row_element.h"
#include "core/common/notice.h"

namespace songloader {

inline constexpr const char* kDeviceListName = "SgList.dat";
inline constexpr const char* kCloudListName = "MgList.dat";

inline constexpr const char* kListFileErrorMessage = "Sglist File Error";
inline constexpr const char* kListDataErrorMessage = "Data error ";

// The device list keeps titles as stored; the cloud list marks music videos with "(MV)".
enum class ListKind { Device, Cloud };

// Full path of the file in `folder` whose name is exactly `name` (letter case included).
std::optional<std::filesystem::path> FindListFile(const std::filesystem::path& folder,
                                                  const std::string& name);

// The header mask pass over the first 1024 bytes. Its mask is all zero bytes, so it changes nothing;
// it is kept so that the file layout stays documented in one place.
void ApplyHeaderMask(std::span<std::uint8_t> bytes);

struct ListReadResult {
    bool ok = false;
    SongList songs;
    Notice failure;  // set when !ok
};

// Parses a whole list file held in memory. A damaged file gives no songs at all.
ListReadResult ParseListFile(std::span<const std::uint8_t> bytes, ListKind kind);

// Called once per entry after the whole file has been checked, so that a caller can add
// rows, pump messages and step a progress bar: index from 0, count = entries in the file.
struct ListReadHooks {
    std::function<void(std::size_t count)> onStart;
    std::function<void(const ROWELEMENT& song, std::size_t index, std::size_t count)> onEntry;
};

// Reads a list file from disk; never writes to it.
ListReadResult ReadListFile(const std::filesystem::path& path, ListKind kind,
                            const ListReadHooks& hooks = {});

}  // namespace songloader
