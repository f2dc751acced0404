// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/cloud/download_failure.h"
#include "core/common/result.h"
#include "core/config/user_settings.h"
#include "core/cloud/download_progress.h"
#include "core/cloud/download_target.h"

namespace songloader {

// Paths below the base URL.
inline constexpr const char* kCloudListRemoteName = "MgList.dat";
inline constexpr const char* kCloudDatabaseRemoteName = "Msong.db";
inline constexpr const char* kSongRemoteSuffix = ".mp4";
inline constexpr const char* kSongDownloadQuery = "?attname=";

// Every request gives up when it cannot connect within `connect`. A probe gives up when it receives
// nothing for `stall`; a download when fewer than `minimumRate` bytes per second arrived during a
// window of `stall` (a byte now and then does not keep a dead transfer alive). Every request gives
// up when the answer's headers are not complete within `headers` of its start (a header line now
// and then does not keep it waiting).
struct CloudTimeouts {
    std::chrono::milliseconds connect{10000};
    std::chrono::milliseconds stall{30000};
    std::int64_t minimumRate = 1024;
    std::chrono::milliseconds headers{30000};
};

// The only code that talks to the network: small blocking operations below one base URL.
// Each operation creates and releases its own libcurl handle, so a client may be used from any one
// thread at a time. curl_global_init must have run (see CurlLibrary).
class CloudClient {
public:
    explicit CloudClient(std::string baseUrl = kDefaultCloudBaseUrl,
                         DownloadProgress& progress = SharedDownloadProgress());

    // The base URL, always ending in "/".
    const std::string& CloudBaseUrl() const { return baseUrl_; }
    DownloadProgress& progress() const { return progress_; }
    const CloudTimeouts& timeouts() const { return timeouts_; }
    void SetTimeouts(const CloudTimeouts& timeouts) { timeouts_ = timeouts; }

    // HEAD of "MgList.dat": fine when the transfer succeeded and a length (0 included) was
    // announced; else a failure naming the URL and why. The status code is not examined.
    Result<> ProbeNetwork() const;

    // Announced length of base URL + name (HEAD): nullopt when no length came; a failure when the
    // transfer failed.
    Result<std::optional<std::int64_t>> RemoteFileSize(std::string_view remoteName) const;
    // Announced length of the song's video: base URL + numberText + ".mp4".
    Result<std::optional<std::int64_t>> RemoteSongSize(std::string_view numberText) const;

    // Downloads are complete only at their announced size: the GET's Content-Length, which must
    // equal `announcedSize` (a HEAD's answer; -1: none was asked) when both are known. A reply
    // without any announced size, with a different size, or with more bytes than announced is
    // Rejected; the file never grows beyond the announced size.

    // GET base URL + name into localPath (safely: see DownloadResult).
    DownloadResult DownloadFile(std::string_view remoteName, const std::filesystem::path& localPath,
                                std::int64_t announcedSize = -1) const;
    // GET base URL + numberText + ".mp4?attname=" into localPathWithoutExtension + ".mp4".
    DownloadResult DownloadSong(std::string_view numberText, const std::filesystem::path& localPathWithoutExtension,
                                std::int64_t announcedSize = -1) const;
    // The same into an open folder of the device (see OpenFolderBelow): nothing goes through a link.
    DownloadResult DownloadFile(std::string_view remoteName, const DeviceFolder& folder, const std::string& localName,
                                std::int64_t announcedSize = -1) const;
    DownloadResult DownloadSong(std::string_view numberText, const DeviceFolder& folder,
                                std::int64_t announcedSize = -1) const;
    // GET base URL + name into `file`'s temporary file and Finish it, without putting it in place:
    // the caller checks it and commits it. An announced size above `maximumSize` is Rejected before
    // a byte is written.
    DownloadResult DownloadUnplaced(std::string_view remoteName, DownloadTarget& file,
                                    std::int64_t maximumSize = -1) const;

private:
    Result<std::optional<std::int64_t>> ProbeLength(const std::string& url) const;
    DownloadResult Download(const std::string& url, DownloadTarget& file, std::int64_t announcedSize,
                            std::int64_t maximumSize = -1) const;
    DownloadResult DownloadAndPlace(const std::string& url, DownloadTarget& file, std::int64_t announcedSize) const;

    std::string baseUrl_;
    DownloadProgress& progress_;
    CloudTimeouts timeouts_;
};

// The size a download is held to after a size probe: -1 (none) when the probe failed or no length
// came; the download itself then says what went wrong.
std::int64_t AnnouncedSizeOrNone(const Result<std::optional<std::int64_t>>& probe);

// Size in bytes of a local file; 0 when it cannot be opened (a missing file included).
std::int64_t LocalFileSize(const std::filesystem::path& path);

}  // namespace songloader
