// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/convert/conversion_job.h"

#include "core/convert/converter_run.h"

namespace songloader {

ConversionJob::ConversionJob(const ConverterSetup& setup, std::filesystem::path source, ConversionTask task,
                             std::filesystem::path output)
    : setup_(setup), source_(std::move(source)), task_(std::move(task)), output_(std::move(output)) {
    thread_ = std::thread([this] { Run(); });
}

ConversionJob::~ConversionJob() {
    stop_.store(true);
    if (thread_.joinable()) thread_.join();
    // Nothing half made stays behind on the computer.
    if (!taken_) {
        std::error_code error;
        std::filesystem::remove(output_, error);
    }
}

bool ConversionJob::WaitFor(std::chrono::milliseconds wait) {
    std::unique_lock lock(mutex_);
    return ended_.wait_for(lock, wait, [this] { return done_; });
}

Result<std::filesystem::path> ConversionJob::Take() {
    {
        std::unique_lock lock(mutex_);
        ended_.wait(lock, [this] { return done_; });
    }
    if (thread_.joinable()) thread_.join();
    if (result_->ok() && result_->value() == output_) taken_ = true;
    return *result_;
}

void ConversionJob::Run() {
    Result<std::filesystem::path> result = Convert();
    if (!result || *result != output_) {
        std::error_code error;
        std::filesystem::remove(output_, error);
    }
    std::lock_guard lock(mutex_);
    result_ = std::move(result);
    done_ = true;
    ended_.notify_all();
}

Result<std::string> ConversionJob::Pass(const std::vector<std::string>& args) {
    secondsInPass_.store(0);
    Result<std::string> ran = RunConverter(
        setup_.program, args, [this](double seconds) { secondsInPass_.store(std::min(seconds, task_.facts.seconds)); },
        stop_);
    secondsBefore_.store(secondsBefore_.load() + task_.facts.seconds);
    secondsInPass_.store(0);
    return ran;
}

Result<std::filesystem::path> ConversionJob::Convert() {
    std::optional<Loudness> loudness;
    if (task_.loudness && task_.facts.hasAudio) {
        const Result<std::string> report = Pass(MeasureArguments(source_));
        if (!report) return report.failure();
        // A song that cannot be measured (silence) keeps its audio as it is.
        if (const Result<Loudness> measured = ReadLoudnessReport(*report); measured && !LoudnessOnTarget(*measured)) {
            loudness = *measured;
        }
    }
    if (!task_.convert) {
        if (!loudness) return source_;
        // Audio the converter cannot make again in its own codec stays as it is.
        const auto args = LoudnessArguments(source_, task_.facts, output_, *loudness);
        if (!args) return source_;
        if (const Result<std::string> ran = Pass(*args); !ran) return ran.failure();
        return output_;
    }
    if (const Result<std::string> ran =
            Pass(ConversionArguments(source_, task_.facts, setup_.profile, output_, loudness));
        !ran) {
        return ran.failure();
    }
    return output_;
}

}  // namespace songloader
