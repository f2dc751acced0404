// SPDX-License-Identifier: GPL-3.0-or-later
#include "cloud_access.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <future>
#include <iterator>
#include <ostream>

#include "core/cloud/cloud_messages.h"
#include "terminal_text.h"
#include "device_access.h"
#include "progress.h"

namespace songloader::cli {

namespace {

DownloadProgress* interruptTarget = nullptr;

void CancelOnInterrupt(int) {
    if (interruptTarget) interruptTarget->cancelRequested.store(true);  // lock-free: safe in a handler
}

constexpr int kCancellingSignals[] = {SIGINT, SIGTERM, SIGHUP};

// While alive, Ctrl-C (and a polite kill or a closed terminal) cancels the download instead of
// ending the program.
class InterruptCancels {
public:
    explicit InterruptCancels(DownloadProgress& progress) {
        interruptTarget = &progress;
        struct sigaction action {};
        action.sa_handler = CancelOnInterrupt;
        sigemptyset(&action.sa_mask);
        for (std::size_t i = 0; i < std::size(kCancellingSignals); ++i) {
            ::sigaction(kCancellingSignals[i], &action, &previous_[i]);
        }
    }
    ~InterruptCancels() {
        for (std::size_t i = 0; i < std::size(kCancellingSignals); ++i) {
            ::sigaction(kCancellingSignals[i], &previous_[i], nullptr);
        }
        interruptTarget = nullptr;
    }
    InterruptCancels(const InterruptCancels&) = delete;
    InterruptCancels& operator=(const InterruptCancels&) = delete;

private:
    struct sigaction previous_[std::size(kCancellingSignals)]{};
};

void Draw(ProgressLine& line, const DownloadProgress& progress, bool force) {
    const std::int64_t expected = std::int64_t{progress.progressSteps.load()} * BYTES_PER_STEP;
    line.Bytes(static_cast<std::uint64_t>(progress.receivedBytes.load()), static_cast<std::uint64_t>(expected), force);
}

}  // namespace

void AddCloudOptions(CLI::App& command, CloudOptions& options) {
    AddCloudUrlOption(command, options.cloudUrl);
    AddEncodingOption(command, options.encoding);
}

CloudClient MakeCloudClient(const CloudOptions& options) {
    return CloudClient(SettingsInEffect(options.encoding, options.cloudUrl).cloudUrl.value);
}

bool CheckNetwork(const CloudClient& client, Console& console) {
    Result<> reached = client.ProbeNetwork();
    if (!reached) reached = client.ProbeNetwork();
    if (!reached) console.Fail() << kCheckNetworkMessage << " (" << reached.message() << ")\n";
    return reached.ok();
}

void RunShowingDownload(DownloadProgress& progress, Console& console, const std::string& label,
                        const std::function<void()>& work) {
    // Ctrl-C or SIGTERM ends the running download; the old files stay, nothing is left behind.
    InterruptCancels interrupt(progress);
    if (!console.progress) return work();
    ProgressLine line(console, label);
    std::future<void> running = std::async(std::launch::async, work);
    while (running.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready) Draw(line, progress, false);
    Draw(line, progress, true);
    running.get();
}

TransferRunner ConsoleTransferRunner(DownloadProgress& progress, Console& console, std::string codePage) {
    return [&progress, &console, codePage](const Transfer& transfer) {
        DownloadResult outcome = FailDownload(DownloadStatus::NetworkFailure);
        RunShowingDownload(progress, console, "Now Download:" + TerminalText(progress.DownloadName(), codePage),
                           [&] { outcome = transfer(); });
        return outcome;
    };
}

}  // namespace songloader::cli
