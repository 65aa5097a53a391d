// OperationQueue: operations on its own worker threads, with a concurrency limit.

#include "platform/operation_queue.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <exception>

#include "platform/log.h"

namespace examora {

OperationQueue::OperationQueue(int maxConcurrentOperationCount)
    : OperationQueue(Options{maxConcurrentOperationCount, 0}) {}

OperationQueue::OperationQueue(Options options)
    : threadNice_(options.threadNice),
      limit_(options.maxConcurrentOperationCount < 1 ? 1 : options.maxConcurrentOperationCount) {}

OperationQueue::~OperationQueue() {
    {
        std::unique_lock<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    workAvailable_.notify_all();
    for (std::thread& t : workers_)
        t.join();
}

void OperationQueue::addOperation(std::function<void()> operation) {
    if (!operation) return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.push_back(std::move(operation));
        // A new worker when the waiting operations outnumber the idle workers (an idle worker may
        // not have taken the previous one yet) and the limit allows another.
        if (queue_.size() > idleWorkers_ && workers_.size() < static_cast<std::size_t>(limit_)) {
            workers_.emplace_back([this] { workerLoop(); });
        }
    }
    workAvailable_.notify_one();
}

void OperationQueue::setMaxConcurrentOperationCount(int count) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        limit_ = count < 1 ? 1 : count;
        std::size_t wanted = std::min(queue_.size() + static_cast<std::size_t>(running_),
                                      static_cast<std::size_t>(limit_));
        while (workers_.size() < wanted)
            workers_.emplace_back([this] { workerLoop(); });
    }
    workAvailable_.notify_all();
}

int OperationQueue::maxConcurrentOperationCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return limit_;
}

std::size_t OperationQueue::operationCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return queue_.size() + static_cast<std::size_t>(running_);
}

void OperationQueue::cancelAllOperations() {
    std::deque<std::function<void()>> dropped;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        dropped.swap(queue_);
        if (running_ == 0) idle_.notify_all();
    }
    // The dropped operations are destroyed outside the lock: their captures may do anything.
}

void OperationQueue::waitUntilAllOperationsAreFinished() {
    std::unique_lock<std::mutex> lock(mutex_);
    idle_.wait(lock, [this] { return queue_.empty() && running_ == 0; });
}

bool OperationQueue::canStartLocked() const {
    return !queue_.empty() && running_ < limit_;
}

void OperationQueue::workerLoop() {
    if (threadNice_ != 0) {
        // Linux applies a thread's own niceness when addressed by its thread id.
        ::setpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)), threadNice_);
    }
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        ++idleWorkers_;
        workAvailable_.wait(lock,
                            [this] { return canStartLocked() || (stopping_ && queue_.empty()); });
        --idleWorkers_;
        if (!canStartLocked()) return;  // stopping with nothing left to run
        std::function<void()> op = std::move(queue_.front());
        queue_.pop_front();
        ++running_;
        lock.unlock();
        try {
            op();
        } catch (const std::exception& e) {
            logf("operation failed: %@", e.what());
        } catch (...) {
            logf("operation failed: %@", "unknown exception");
        }
        op = nullptr;  // captures die before the queue counts the operation as finished
        lock.lock();
        --running_;
        if (queue_.empty() && running_ == 0) idle_.notify_all();
        // A slot is free again: a worker held back by the limit may start now.
        workAvailable_.notify_one();
    }
}

}  // namespace examora
