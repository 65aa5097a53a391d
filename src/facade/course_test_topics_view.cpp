// The practice summary on the main screen: counts read off the main queue, texts shown on it.

#include "facade/course_test_topics_view.h"

#include <mutex>

#include "engine/course_util.h"
#include "platform/exam_error.h"
#include "platform/global_queue.h"
#include "platform/log.h"
#include "platform/main_queue.h"
#include "platform/strformat.h"

namespace examora {

struct CourseTestTopicsView::Shared {
    explicit Shared(SummaryView& v) : labels(v) {}

    SummaryView& labels;
    // Main queue only: cleared when the summary goes, so a late result shows nothing.
    bool alive = true;
    // Held for every read; the reader's own connection is used by one worker at a time.
    std::mutex readLock;
    std::unique_ptr<CourseUtil> reader;
};

CourseTestTopicsView::CourseTestTopicsView(SummaryView& labels, int courseId)
    : shared_(std::make_shared<Shared>(labels)) {
    const Texts initial;
    labels.showSummary(initial.practised, initial.wrong, initial.rate);
    refresh(courseId);
}

CourseTestTopicsView::~CourseTestTopicsView() {
    shared_->alive = false;
}

CourseTestTopicsView::Texts CourseTestTopicsView::summaryTexts(const FinishCountResult& counts) {
    Texts texts;
    texts.practised = std::to_string(counts.finishcount);
    texts.wrong = strformat("错题量:%d", counts.finishcount - counts.correctcount);
    const int rate = counts.finishcount < 1 ? 0 : counts.correctcount * 100 / counts.finishcount;
    texts.rate = strformat("准确率:%d%%", rate);
    return texts;
}

void CourseTestTopicsView::refresh(int courseId) {
    GlobalQueue::async(QueuePriority::Default, [shared = shared_, courseId] {
        Texts texts;
        {
            std::lock_guard lock(shared->readLock);
            try {
                if (!shared->reader) shared->reader = std::make_unique<CourseUtil>();
                texts = summaryTexts(shared->reader->getCourseFinishCount(courseId));
            } catch (const ExamError& e) {
                logf("getCourseFinishCount error:%@:%@", e.name(), e.reason());
                return;
            }
        }
        postToMain([shared, texts] {
            if (shared->alive) shared->labels.showSummary(texts.practised, texts.wrong, texts.rate);
        });
    });
}

}  // namespace examora
