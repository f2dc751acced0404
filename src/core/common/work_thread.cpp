// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/common/work_thread.h"

namespace songloader {

WorkThread::WorkThread(std::size_t depth) : depth_(depth == 0 ? 1 : depth), thread_([this] { Serve(); }) {}

WorkThread::~WorkThread() {
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return jobs_.empty() && !running_; });
        ending_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void WorkThread::Run(std::function<void()> job) {
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return jobs_.size() < depth_; });
        jobs_.push_back(std::move(job));
    }
    changed_.notify_all();
}

void WorkThread::Wait() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return jobs_.empty() && !running_; });
}

void WorkThread::Serve() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] { return ending_ || !jobs_.empty(); });
        if (jobs_.empty()) return;
        std::function<void()> job = std::move(jobs_.front());
        jobs_.pop_front();
        running_ = true;
        lock.unlock();
        changed_.notify_all();  // room for one more
        job();
        job = nullptr;  // what the job holds goes before it counts as done
        lock.lock();
        running_ = false;
        changed_.notify_all();
    }
}

}  // namespace songloader
