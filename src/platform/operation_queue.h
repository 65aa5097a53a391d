#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace examora {

// Runs operations on worker threads of its own, at most maxConcurrentOperationCount at a time, in
// the order they were added. Worker threads are started on demand, up to the limit, and live until
// the queue is destroyed; the destructor lets every added operation finish and joins the workers,
// so no thread outlives its queue.
//
// An operation that throws is logged ("operation failed: %@") and the queue carries on.
class OperationQueue {
  public:
    struct Options {
        int maxConcurrentOperationCount = 1;
        // Scheduling niceness of the worker threads; 0 keeps the process's own.
        int threadNice = 0;
    };

    OperationQueue() : OperationQueue(Options{}) {}
    explicit OperationQueue(int maxConcurrentOperationCount);
    explicit OperationQueue(Options options);
    ~OperationQueue();
    OperationQueue(const OperationQueue&) = delete;
    OperationQueue& operator=(const OperationQueue&) = delete;

    void addOperation(std::function<void()> operation);

    // A limit below 1 counts as 1. Lowering it never interrupts running operations; it only holds
    // back the next ones.
    void setMaxConcurrentOperationCount(int count);
    int maxConcurrentOperationCount() const;

    // Operations queued or running.
    std::size_t operationCount() const;
    // Drops the operations that have not started yet; running ones finish normally.
    void cancelAllOperations();
    // Blocks until no operation is queued or running. Must not be called from an operation of
    // this queue (it would wait for itself).
    void waitUntilAllOperationsAreFinished();

  private:
    void workerLoop();
    bool canStartLocked() const;

    const int threadNice_;
    mutable std::mutex mutex_;
    std::condition_variable workAvailable_;
    std::condition_variable idle_;
    std::deque<std::function<void()>> queue_;
    std::vector<std::thread> workers_;
    std::size_t idleWorkers_ = 0;
    int limit_ = 1;
    int running_ = 0;
    bool stopping_ = false;
};

}  // namespace examora
