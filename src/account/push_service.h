#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>

#include "platform/operation_queue.h"

namespace examora {

// The presence loop that runs while the main screen exists: every tick it makes sure the exam
// web service is known to be reachable (checking only while it is not), announces the logged-in
// learner as online once it is, and every seventh tick uploads the queued learner records.
//
// The loop runs as one operation of a background-priority queue of its own, so it never holds a
// worker of the global queues. The work it needs from above its layer is handed in by whoever
// creates it. Only the final "push service finished" line goes to the main queue.
//
// startService and stopService are called from the main thread; the destructor stops the loop
// and waits for it to end.
class PushService {
  public:
    struct Actions {
        // Whether the service answers (about five seconds at most); nullopt when the check
        // brought no result. Defaults to the service's own time check.
        std::function<std::optional<bool>()> checkOnline;
        // The facade's online login; nullopt when it ended in an error.
        std::function<std::optional<bool>()> loginOnline;
        // The facade's upload of the queued exchange tasks.
        std::function<void()> uploadTasks;
        // The base-data download, started once an online login exists.
        std::function<void()> downloadBaseData;
    };

    struct Options {
        std::chrono::milliseconds tick{10000};
        // Waits one tick. Empty: a wait that stopService cuts short. Tests hand in one that
        // returns at once.
        std::function<void(std::chrono::milliseconds)> sleep;
    };

    explicit PushService(Actions actions) : PushService(std::move(actions), Options{}) {}
    PushService(Actions actions, Options options);
    ~PushService();
    PushService(const PushService&) = delete;
    PushService& operator=(const PushService&) = delete;

    // Starts the loop (runIndex and msgId from 0); does nothing while it runs.
    void startService();
    // Asks the loop to end; it does so at its next test, at the latest after the current tick.
    void stopService();
    // Blocks until the loop has ended (orderly shutdown, tests).
    void waitUntilFinished();

    bool isRun() const { return isRun_; }
    bool quit() const { return quit_; }
    int msgId() const { return msgId_; }
    int runIndex() const { return runIndex_; }

    // One tick of the loop: advance runIndex (1 to 7), check reachability while offline, upload
    // every seventh tick while online.
    void tick();

  private:
    void run();
    void wait();

    Actions actions_;
    Options options_;
    std::atomic<bool> isRun_{false};
    std::atomic<bool> quit_{true};
    std::atomic<int> msgId_{0};
    std::atomic<int> runIndex_{0};
    std::mutex waitMutex_;
    std::condition_variable stopped_;
    OperationQueue loop_;
};

}  // namespace examora
