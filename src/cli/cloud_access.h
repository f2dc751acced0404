// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

#include "command_line.h"
#include "core/cloud/cloud_client.h"
#include "core/cloud/download_protocol.h"

namespace songloader::cli {

// The options every cloud command takes.
struct CloudOptions {
    std::string encoding;
    std::string cloudUrl;
};
void AddCloudOptions(CLI::App& command, CloudOptions& options);

// A client of the cloud address in effect (--cloud-url, SONGLOADER_CLOUD_URL, settings file, built in).
CloudClient MakeCloudClient(const CloudOptions& options);

// Probes the cloud as the window does (twice); prints "Please check network!!" with the URL and
// the cause and returns false when it cannot be reached.
bool CheckNetwork(const CloudClient& client, Console& console);

// Runs `work` on a worker thread while the console shows `label` with the bytes `progress` counts;
// Ctrl-C, SIGTERM and SIGHUP cancel the download of `progress` meanwhile.
void RunShowingDownload(DownloadProgress& progress, Console& console, const std::string& label,
                        const std::function<void()>& work);

// Runs each download through RunShowingDownload ("Now Download:NAME", bytes, percent, rate).
// Ctrl-C cancels the running download instead of killing the program, so no temporary file is
// left behind. `codePage` decodes the download name.

TransferRunner ConsoleTransferRunner(DownloadProgress& progress, Console& console, std::string codePage);

}  // namespace songloader::cli
