#include <gtest/gtest.h>

#include <atomic>
#include <latch>
#include <semaphore>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/global_queue.h"
#include "platform/log.h"
#include "platform/main_queue.h"
#include "platform/notification_center.h"
#include "platform/operation_queue.h"

namespace examora {
namespace {

TEST(MainQueueTest, RunsTasksInPostOrderIncludingThoseTheyPostAndSyncOnTheCaller) {
    MainQueue queue;
    std::vector<int> order;
    bool currentInside = false;
    queue.post([&] {
        order.push_back(1);
        currentInside = queue.isCurrent();
        queue.post([&] { order.push_back(4); });
    });
    queue.post([&] { order.push_back(2); });
    queue.post([&] { throw std::runtime_error("boom"); });
    queue.post([&] { order.push_back(3); });

    LogCapture log;
    EXPECT_EQ(queue.runUntilIdle(), 5u);
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_TRUE(currentInside);
    EXPECT_FALSE(queue.isCurrent());
    EXPECT_TRUE(log.contains("main queue task failed: boom"));
    EXPECT_EQ(queue.runUntilIdle(), 0u);

    // Without a runner, sync drives the queue on the caller and passes a failure on to it.
    order.clear();
    queue.post([&] { order.push_back(1); });
    queue.sync([&] { order.push_back(2); });
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    EXPECT_THROW(queue.sync([] { throw std::runtime_error("to the caller"); }), std::runtime_error);
}

TEST(MainQueueTest, RunnerThreadOwnsTheQueueAndDrainsItOnStop) {
    MainQueue queue;
    queue.start();
    std::thread::id runner;
    queue.sync([&] { runner = std::this_thread::get_id(); });
    EXPECT_NE(runner, std::this_thread::get_id());

    // While the runner is busy, no other thread may drive the queue.
    std::latch started(1);
    std::binary_semaphore release(0);
    std::atomic<int> ran{0};
    queue.post([&] {
        started.count_down();
        release.acquire();
    });
    queue.post([&] { ++ran; });
    started.wait();
    EXPECT_EQ(queue.runUntilIdle(), 0u);
    EXPECT_EQ(ran.load(), 0);
    release.release();
    queue.stop();
    EXPECT_EQ(ran.load(), 1);
    EXPECT_FALSE(queue.isRunning());
}

// Releases the queued operations one at a time and records the most that ever ran at once.
TEST(OperationQueueTest, NeverRunsMoreThanTheLimitAtOnce) {
    constexpr int kOps = 8;
    constexpr int kLimit = 3;
    OperationQueue queue(kLimit);
    std::atomic<int> running{0};
    std::atomic<int> most{0};
    std::counting_semaphore<kOps> started(0);
    std::counting_semaphore<kOps> permits(0);
    for (int i = 0; i < kOps; ++i) {
        queue.addOperation([&] {
            int now = ++running;
            int seen = most.load();
            while (now > seen && !most.compare_exchange_weak(seen, now)) {
            }
            started.release();
            permits.acquire();
            --running;
        });
    }
    // The first kLimit start at once; each later one starts only when an earlier one ends.
    for (int i = 0; i < kLimit; ++i)
        started.acquire();
    for (int released = 0; released < kOps; ++released) {
        permits.release();
        if (released + kLimit < kOps) started.acquire();
    }
    queue.waitUntilAllOperationsAreFinished();
    EXPECT_EQ(most.load(), kLimit);
    EXPECT_EQ(queue.operationCount(), 0u);
}

TEST(OperationQueueTest, CancelDropsWaitingOperationsAndDestructionFinishesTheRest) {
    std::atomic<int> ran{0};
    {
        OperationQueue queue(1);
        std::latch started(1);
        std::binary_semaphore release(0);
        queue.addOperation([&] {
            started.count_down();
            release.acquire();
            ++ran;
        });
        for (int i = 0; i < 3; ++i)
            queue.addOperation([&] { ++ran; });
        started.wait();
        queue.cancelAllOperations();
        release.release();
        queue.waitUntilAllOperationsAreFinished();
        EXPECT_EQ(ran.load(), 1);

        // Whatever is still queued when the queue goes away runs before its threads are joined.
        LogCapture log;
        queue.addOperation([] { throw std::runtime_error("bad op"); });
        for (int i = 0; i < 20; ++i)
            queue.addOperation([&] { ++ran; });
        queue.waitUntilAllOperationsAreFinished();
        EXPECT_TRUE(log.contains("operation failed: bad op"));
        for (int i = 0; i < 20; ++i)
            queue.addOperation([&] { ++ran; });
    }
    EXPECT_EQ(ran.load(), 41);
}

TEST(GlobalQueueTest, BackgroundWorkReachesTheMainQueueThroughPostToMain) {
    MainQueue::shared().discardPending();
    std::thread::id worker;
    std::thread::id mainRun;
    GlobalQueue::async(QueuePriority::Background, [&] {
        worker = std::this_thread::get_id();
        postToMain([&] { mainRun = std::this_thread::get_id(); });
    });
    GlobalQueue::waitUntilIdle();
    EXPECT_NE(worker, std::this_thread::get_id());
    EXPECT_EQ(MainQueue::shared().runUntilIdle(), 1u);
    EXPECT_EQ(mainRun, std::this_thread::get_id());
}

TEST(NotificationCenterTest, DeliversOnTheMainQueueToCurrentObserversOnly) {
    MainQueue queue;
    NotificationCenter center(queue);
    std::vector<std::string> seen;
    bool onMain = true;
    NotificationCenter::Token first =
        center.addObserver("downloadedbaseitem", [&](const Notification& n) {
            onMain = onMain && queue.isCurrent();
            seen.push_back("first:" + n.userInfo.get("course").asString());
        });
    NotificationCenter::Token second = center.addObserver(
        "downloadedbaseitem", [&](const Notification&) { seen.push_back("second"); });
    center.addObserver("other", [&](const Notification&) { seen.push_back("other"); });

    std::thread poster([&] { center.post("downloadedbaseitem", Dict{{"course", Value(7)}}); });
    poster.join();
    EXPECT_TRUE(seen.empty());  // nothing until the main queue runs
    queue.runUntilIdle();
    EXPECT_EQ(seen, (std::vector<std::string>{"first:7", "second"}));
    EXPECT_TRUE(onMain);

    // Removed after posting but before delivery: not called.
    seen.clear();
    center.post("downloadedbaseitem");
    center.removeObserver(second);
    queue.runUntilIdle();
    EXPECT_EQ(seen, (std::vector<std::string>{"first:"}));

    // An observer that removes a later one during delivery stops that delivery too.
    seen.clear();
    center.removeObserver(first);
    NotificationCenter::Token victim = 0;
    center.addObserver("x", [&](const Notification&) {
        seen.push_back("remover");
        center.removeObserver(victim);
    });
    victim = center.addObserver("x", [&](const Notification&) { seen.push_back("victim"); });
    center.post("x");
    queue.runUntilIdle();
    EXPECT_EQ(seen, std::vector<std::string>{"remover"});
}

TEST(NotificationCenterTest, DeliveryOutlivingItsCenterIsHarmless) {
    MainQueue queue;
    int calls = 0;
    {
        NotificationCenter center(queue);
        center.addObserver("n", [&](const Notification&) { ++calls; });
        center.post("n");
    }
    EXPECT_EQ(queue.runUntilIdle(), 1u);
    EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace examora
