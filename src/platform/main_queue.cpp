// MainQueue: the main thread's serial executor.

#include "platform/main_queue.h"

#include <chrono>
#include <exception>
#include <future>
#include <memory>

#include "platform/log.h"

namespace examora {

MainQueue::~MainQueue() {
    stop();
}

MainQueue& MainQueue::shared() {
    static MainQueue queue;
    return queue;
}

void MainQueue::post(std::function<void()> task) {
    if (!task) return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    changed_.notify_all();
}

// Runs the front task with the lock released; false when there is none.
bool MainQueue::runOne(std::unique_lock<std::mutex>& lock) {
    if (tasks_.empty()) return false;
    std::function<void()> task = std::move(tasks_.front());
    tasks_.pop_front();
    lock.unlock();
    try {
        task();
    } catch (const std::exception& e) {
        logf("main queue task failed: %@", e.what());
    } catch (...) {
        logf("main queue task failed: %@", "unknown exception");
    }
    task = nullptr;
    lock.lock();
    return true;
}

std::size_t MainQueue::runUntilIdle() {
    std::unique_lock<std::mutex> lock(mutex_);
    std::thread::id self = std::this_thread::get_id();
    if (driving_ && driver_ != self) return 0;
    // A task may itself call runUntilIdle on the driving thread; the outer call keeps ownership.
    bool outer = !driving_;
    driving_ = true;
    driver_ = self;
    std::size_t count = 0;
    while (runOne(lock))
        ++count;
    if (outer) {
        driving_ = false;
        driver_ = std::thread::id{};
        changed_.notify_all();
    }
    return count;
}

void MainQueue::start() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (runner_.joinable()) return;
    runnerWanted_ = true;
    runner_ = std::thread([this] { runnerLoop(); });
}

void MainQueue::stop() {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!runner_.joinable()) return;
    runnerWanted_ = false;
    changed_.notify_all();
    // Called from one of the runner's own tasks: the runner ends after draining, and the next
    // stop() (at the latest the destructor's) joins it.
    if (runner_.get_id() == std::this_thread::get_id()) return;
    std::thread runner;
    runner.swap(runner_);
    lock.unlock();
    runner.join();
}

bool MainQueue::isRunning() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return runner_.joinable();
}

void MainQueue::runnerLoop() {
    std::unique_lock<std::mutex> lock(mutex_);
    // Wait until no hand-driven drain is in progress, then own the queue for the runner's life.
    changed_.wait(lock, [this] { return !driving_; });
    driving_ = true;
    driver_ = std::this_thread::get_id();
    for (;;) {
        changed_.wait(lock, [this] { return !tasks_.empty() || !runnerWanted_; });
        if (!runOne(lock) && !runnerWanted_) break;
    }
    driving_ = false;
    driver_ = std::thread::id{};
    changed_.notify_all();
}

void MainQueue::sync(std::function<void()> task) {
    if (!task) return;
    if (isCurrent()) {
        task();
        return;
    }
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> finished = done->get_future();
    post([task = std::move(task), done] {
        // The waiting caller gets the task's exception rather than the queue's log line.
        try {
            task();
            done->set_value();
        } catch (...) {
            done->set_exception(std::current_exception());
        }
    });
    if (!isRunning()) {
        while (finished.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
            if (runUntilIdle() == 0) {
                // Another thread drives the queue: wait for it to run the task.
                break;
            }
        }
    }
    finished.get();
}

bool MainQueue::isCurrent() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return driving_ && driver_ == std::this_thread::get_id();
}

std::size_t MainQueue::pendingCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return tasks_.size();
}

void MainQueue::discardPending() {
    std::deque<std::function<void()>> dropped;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        dropped.swap(tasks_);
    }
}

void postToMain(std::function<void()> task) {
    MainQueue::shared().post(std::move(task));
}

}  // namespace examora
