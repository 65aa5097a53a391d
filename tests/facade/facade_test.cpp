#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include "app/common_setting.h"
#include "facade/api_manager.h"
#include "facade/course_test_topics_view.h"
#include "facade/guarded_lazy.h"
#include "facade/views/summary_view.h"
#include "fake_views.h"
#include "platform/global_queue.h"
#include "platform/main_queue.h"
#include "support/course_builder.h"
#include "support/store_test_fixture.h"

namespace examora {
namespace {

struct FakeSummary : SummaryView {
    std::vector<std::string> texts;
    void showSummary(const std::string& p, const std::string& w, const std::string& r) override {
        texts = {p, w, r};
    }
};

class FacadeTest : public StoreTest {
  protected:
    FacadeTest() {
        CommonSetting::setCourseId(1);
        b.course(1);
        chapter = b.chapters(1, 0, {"01"})[0];
    }
    CourseBuilder b;
    APIManager api;
    int chapter = 0;
};

TEST_F(FacadeTest, APaperThatCannotBeStoredIsAnErrorNotAZeroId) {
    b.subjects(4, {.chapterId = chapter});
    sql().ExecuteNonQuery(
        "create trigger refuse before insert on simulationpaper begin select "
        "raise(abort, 'refused'); end",
        std::vector<Value>{});
    int paperId = -1;
    std::string reason;
    api.createPaperWithCourseId(1, 4, 60, "试卷", std::nullopt, std::nullopt, "", "",
                                [&](int id, const ExamError* error) {
                                    paperId = id;
                                    if (error) reason = error->name() + "/" + error->reason();
                                });
    EXPECT_EQ(paperId, 0);
    EXPECT_EQ(reason, "创建试卷/创建试卷失败！");
}

TEST_F(FacadeTest, ACompletionThatThrowsIsInvokedOnceAndItsErrorReachesTheCaller) {
    int calls = 0;
    EXPECT_THROW(api.getCourseName(1,
                                   [&](auto, const ExamError*) {
                                       ++calls;
                                       throw ExamError("界面", "completion failed");
                                   }),
                 ExamError);
    EXPECT_EQ(calls, 1);
}

// ---- Practice summary --------------------------------------------------------------------------

TEST(PracticeSummaryTest, TextsUseWholePercentAndZeroBelowOnePractised) {
    const struct {
        int finished, correct;
        std::vector<std::string> texts;
    } cases[] = {{0, 0, {"0", "错题量:0", "准确率:0%"}},
                 {3, 2, {"3", "错题量:1", "准确率:66%"}},
                 {7, 7, {"7", "错题量:0", "准确率:100%"}}};
    for (const auto& c : cases) {
        const auto t = CourseTestTopicsView::summaryTexts(
            {.finishcount = c.finished, .correctcount = c.correct});
        EXPECT_EQ((std::vector<std::string>{t.practised, t.wrong, t.rate}), c.texts);
    }
}

TEST_F(FacadeTest, SummaryReadsOffTheMainQueueAndShowsOnIt) {
    b.subject({.chapterId = chapter, .myanswer = "A", .correct = true});
    b.subject({.chapterId = chapter, .myanswer = "B"});
    FakeSummary labels;
    CourseTestTopicsView summary(labels, 1);
    EXPECT_EQ(labels.texts, (std::vector<std::string>{"0", "错题量:0", "准确率:0%"}));
    GlobalQueue::waitUntilIdle();
    MainQueue::shared().runUntilIdle();
    EXPECT_EQ(labels.texts, (std::vector<std::string>{"2", "错题量:1", "准确率:50%"}));
}

// ---- The shared data-access holder -------------------------------------------------------------

TEST(GuardedLazyTest, CreatesOnceAndLendsToOneThreadAtATime) {
    struct Connection {
        std::atomic<int> users{0};
        int overlaps = 0;
    };
    std::atomic<int> made{0};
    GuardedLazy<Connection> held([&] { return ++made, std::make_unique<Connection>(); });
    auto work = [&] {
        for (int i = 0; i < 2000; ++i)
            held.with([](Connection& c) {
                c.overlaps += c.users.fetch_add(1) != 0;
                std::this_thread::yield();
                c.users.fetch_sub(1);
            });
    };
    std::thread other(work);
    work();
    other.join();
    EXPECT_EQ(made.load(), 1);
    EXPECT_EQ(held.with([](Connection& c) { return c.overlaps; }), 0);
}

}  // namespace
}  // namespace examora
