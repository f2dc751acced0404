#pragma once

#include <csignal>
#include <string>

#include "cli_common.h"
#include "core/cloud/cloud_client.h"
#include "core/cloud/download_protocol.h"

namespace songloader::cli {

// The options every cloud command takes.
inline const std::vector<std::string> kCloudOptions = {"encoding", "cloud-url"};

// A client of --cloud-url, else SONGLOADER_CLOUD_URL, else songloader.conf, else the built-in server.
CloudClient MakeCloudClient(const Arguments& args);

// Runs each download on a worker thread; on a terminal the main thread redraws a progress line
// ("Now Download:NAME ...") until it ends. Ctrl-C cancels the running download instead of killing
// the program, so no temporary file is left behind. `codePage` decodes the download name.
TransferRunner ConsoleTransferRunner(DownloadProgress& progress, Console& console, std::string codePage);

// While alive, Ctrl-C (and a polite kill or a closed terminal) cancels the running download of
// `progress` instead of ending the program.
class InterruptCancels {
public:
    explicit InterruptCancels(DownloadProgress& progress);
    ~InterruptCancels();
    InterruptCancels(const InterruptCancels&) = delete;
    InterruptCancels& operator=(const InterruptCancels&) = delete;

private:
    struct sigaction previous_[3] {};
};

}  // namespace songloader::cli
