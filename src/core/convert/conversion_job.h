// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "core/common/result.h"
#include "core/convert/conversion_recipe.h"
#include "core/media/media_probe.h"
#include "core/media/player_profile.h"

namespace songloader {

// What is done with one user song's file before it is copied.
struct ConversionTask {
    MediaFacts facts;
    bool convert = false;   // it plays only after conversion
    bool loudness = false;  // its loudness is set to the target (when not within the tolerance)
    bool Needed() const { return convert || loudness; }
    // How many passes over the song the converter makes at most (measure, then convert).
    int Passes() const { return (convert ? 1 : 0) + (loudness ? 2 : 0) - (convert && loudness ? 1 : 0); }
};

struct ConverterSetup {
    std::filesystem::path program;  // FindConverter
    PlayerProfile profile;
    std::filesystem::path workFolder;  // on the computer: where converted files are made
};

// One song's conversion, run on its own thread from the moment it is made (so that the next song
// converts while the one before is copied). What it made is removed with it unless taken.
class ConversionJob {
public:
    // `source`: the user's file; `output`: the converted file to make (the extension the song gets).
    ConversionJob(const ConverterSetup& setup, std::filesystem::path source, ConversionTask task,
                  std::filesystem::path output);
    ~ConversionJob();
    ConversionJob(const ConversionJob&) = delete;
    ConversionJob& operator=(const ConversionJob&) = delete;

    // Waits up to `wait` for the end; true when it has ended.
    bool WaitFor(std::chrono::milliseconds wait);
    // The seconds of media passed through so far, over every pass, and all passes together.
    double SecondsDone() const { return secondsBefore_.load() + secondsInPass_.load(); }
    double SecondsTotal() const { return task_.facts.seconds * task_.Passes(); }
    // Ends the converter at once; the result is then kConversionStoppedMessage.
    void Stop() { stop_.store(true); }
    // After the end: the file to copy (the output, or the source when the song is left as it is).
    // The output then belongs to the caller.
    Result<std::filesystem::path> Take();

private:
    void Run();
    Result<std::filesystem::path> Convert();
    Result<std::string> Pass(const std::vector<std::string>& args);

    ConverterSetup setup_;
    std::filesystem::path source_;
    ConversionTask task_;
    std::filesystem::path output_;
    std::atomic<bool> stop_{false};
    std::atomic<double> secondsBefore_{0};
    std::atomic<double> secondsInPass_{0};
    std::mutex mutex_;
    std::condition_variable ended_;
    bool done_ = false;
    bool taken_ = false;
    std::optional<Result<std::filesystem::path>> result_;
    std::thread thread_;
};

}  // namespace songloader
