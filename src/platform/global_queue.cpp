// GlobalQueue: the process-wide concurrent queues, one per priority.

#include "platform/global_queue.h"

#include <algorithm>
#include <thread>

#include "platform/main_queue.h"

namespace examora {

namespace {

int workerCount() {
    unsigned n = std::thread::hardware_concurrency();
    return static_cast<int>(std::max(2u, n));
}

}  // namespace

OperationQueue& GlobalQueue::get(QueuePriority priority) {
    // Global-queue work often posts to the main queue; constructing the main queue first makes it
    // outlive these queues when statics are destroyed at exit.
    static MainQueue& main = MainQueue::shared();
    (void)main;
    static OperationQueue background(OperationQueue::Options{workerCount(), 10});
    static OperationQueue normal(OperationQueue::Options{workerCount(), 0});
    return priority == QueuePriority::Background ? background : normal;
}

void GlobalQueue::async(QueuePriority priority, std::function<void()> task) {
    get(priority).addOperation(std::move(task));
}

void GlobalQueue::waitUntilIdle() {
    get(QueuePriority::Background).waitUntilAllOperationsAreFinished();
    get(QueuePriority::Default).waitUntilAllOperationsAreFinished();
}

}  // namespace examora
