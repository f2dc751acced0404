// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace songloader {

// One thread that runs jobs in the order they are given, with at most `depth` of them waiting: a
// caller that gets further ahead waits at Run. Wait returns once every job given has run (and
// everything a job did is seen by the caller). The destructor waits too.
class WorkThread {
public:
    explicit WorkThread(std::size_t depth);
    ~WorkThread();
    WorkThread(const WorkThread&) = delete;
    WorkThread& operator=(const WorkThread&) = delete;

    void Run(std::function<void()> job);
    void Wait();

private:
    void Serve();

    const std::size_t depth_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> jobs_;
    bool running_ = false;  // a job is being run
    bool ending_ = false;
    std::thread thread_;
};

}  // namespace songloader
