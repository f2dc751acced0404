#include "cloud_access.h"

#include <cstdlib>

#include "core/cloud/cloud_address.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <future>
#include <iterator>
#include <ostream>

#include "terminal_text.h"

namespace songloader::cli {

namespace {

DownloadProgress* interruptTarget = nullptr;

void CancelOnInterrupt(int) {
    if (interruptTarget) interruptTarget->cancelRequested.store(true);  // lock-free: safe in a handler
}

constexpr int kCancellingSignals[] = {SIGINT, SIGTERM, SIGHUP};


// The progress window's caption arithmetic: position * 100 / range, 0 for an empty range.
int Percent(const DownloadProgress& progress) {
    const std::int64_t range = progress.progressSteps.load();
    return range > 0 ? static_cast<int>(std::int64_t{progress.StepPosition()} * 100 / range) : 0;
}

void DrawLine(const DownloadProgress& progress, const std::string& name, std::ostream& out) {
    out << "\rNow Download:" << name << "  " << progress.receivedBytes.load() << " bytes [" << Percent(progress)
        << "%]" << std::flush;
}

}  // namespace

InterruptCancels::InterruptCancels(DownloadProgress& progress) {
    static_assert(std::size(kCancellingSignals) == std::size(decltype(previous_){}));
    interruptTarget = &progress;
    struct sigaction action {};
    action.sa_handler = CancelOnInterrupt;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < std::size(kCancellingSignals); ++i) {
        ::sigaction(kCancellingSignals[i], &action, &previous_[i]);
    }
}

InterruptCancels::~InterruptCancels() {
    for (std::size_t i = 0; i < std::size(kCancellingSignals); ++i) {
        ::sigaction(kCancellingSignals[i], &previous_[i], nullptr);
    }
    interruptTarget = nullptr;
}

CloudClient MakeCloudClient(const Arguments& args) {
    return CloudClient(ResolveCloudBaseUrl(args.option("cloud-url"), std::getenv("SONGLOADER_CLOUD_URL"),
                                           UserConfigFolder()));
}

TransferRunner ConsoleTransferRunner(DownloadProgress& progress, Console& console, std::string codePage) {
    const bool terminal = ::isatty(STDOUT_FILENO) == 1;
    return [&progress, &console, terminal, codePage](const Transfer& transfer) {
        InterruptCancels interrupt(progress);
        if (!terminal) return transfer();
        const std::string name = TerminalText(progress.DownloadName(), codePage);
        std::future<DownloadOutcome> running = std::async(std::launch::async, transfer);
        while (running.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready) {
            DrawLine(progress, name, console.out);
        }
        DrawLine(progress, name, console.out);
        console.out << "\n";
        return running.get();
    };
}

}  // namespace songloader::cli
