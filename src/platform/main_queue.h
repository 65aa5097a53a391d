#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace examora {

// The main thread's serial executor: tasks run one at a time, in the order they were posted, on
// whichever thread drives the queue. The command line drives it with a runner thread of its own
// (start/stop); tests drive it by hand with runUntilIdle. Never both at once: while one thread
// drives the queue, every other attempt to drive it runs nothing.
//
// A task that throws is logged ("main queue task failed: %@") and the queue carries on.
class MainQueue {
  public:
    MainQueue() = default;
    // Stops the runner thread, if any, after it has run what was posted.
    ~MainQueue();
    MainQueue(const MainQueue&) = delete;
    MainQueue& operator=(const MainQueue&) = delete;

    // The process's main queue.
    static MainQueue& shared();

    void post(std::function<void()> task);

    // Runs posted tasks on the calling thread, including those they post in turn, until none is
    // left; returns how many ran. Runs nothing (returns 0) while another thread drives the queue.
    std::size_t runUntilIdle();

    // Starts a runner thread that runs tasks as they are posted. Does nothing when one runs.
    void start();
    // Lets the runner finish every task posted so far, then joins it.
    void stop();
    bool isRunning() const;

    // Runs the task on the main queue and returns when it has run. On the thread that drives the
    // queue it runs at once; with a runner thread it waits for it; with neither, the calling thread
    // drives the queue until the task has run.
    void sync(std::function<void()> task);

    // Whether the calling thread is running this queue's tasks now.
    bool isCurrent() const;

    std::size_t pendingCount() const;
    // Drops every task not yet run (tests reset the queue between cases).
    void discardPending();

  private:
    bool runOne(std::unique_lock<std::mutex>& lock);
    void runnerLoop();

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> tasks_;
    std::thread runner_;
    std::thread::id driver_{};
    bool driving_ = false;
    bool runnerWanted_ = false;
};

// Posts the task to the process's main queue.
void postToMain(std::function<void()> task);

}  // namespace examora
