#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/course_util.h"
#include "platform/log.h"
#include "support/course_builder.h"
#include "support/store_test_fixture.h"

namespace examora {
namespace {

// Two courses with the same kinds of content and learner records, so that every clearing can be
// checked for removing exactly its own course's share.
class CourseClearingTest : public StoreTest {
  protected:
    CourseClearingTest() {
        for (int id : {1, 2})
            fill(id);
    }

    void fill(int id) {
        b.course(id);
        const std::vector<int> chapters = b.chapters(id, 0, {"01", "0101", "0102"});
        b.chapters(id, 1, {"01"});
        std::vector<int> subjects = b.subjects(3, {.courseId = id,
                                                   .chapterId = chapters[1],
                                                   .myanswer = "B",
                                                   .correct = false,
                                                   .myscore = 0.5,
                                                   .answerdate = "2026-12-01 09:00:00",
                                                   .wrong = 2,
                                                   .remember = true,
                                                   .collect = true});
        b.paper(id, subjects, 1);
        b.note(subjects[0], "我的笔记");
        b.errorReport(subjects[0], "选项有误");
        for (int fresh : b.subjects(2, {.courseId = id, .chapterId = chapters[2]}))
            subjects.push_back(fresh);
        b.paper(id, subjects, 0, {"A", "B"});
        sql().ExecuteNonQuery(
            "insert into courseoutline(ioutlineid,icourseid,coutlinecode) values (?,?,'01')",
            id * 100, id);
        lastChapter = chapters[2];
    }

    int rows(const std::string& table, int courseId) {
        return count(table, "icourseid=" + std::to_string(courseId));
    }
    int detailRows(int courseId) {
        return count("simulationpaperdetail",
                     "ipaperid in (select ipaperid from simulationpaper where icourseid=" +
                         std::to_string(courseId) + ")");
    }
    // Everything of course 2 is as it was built.
    void expectSecondCourseUntouched() {
        SCOPED_TRACE("course 2");
        EXPECT_TRUE(util.checkCourseHadDownload(2));
        EXPECT_EQ(rows("coursechapter", 2), 4);
        EXPECT_EQ(rows("coursesubject", 2), 5);
        EXPECT_EQ(
            count("coursesubject", "icourseid=2 and cmyanswer>'' and bcollect=1 and bremember=1"),
            3);
        EXPECT_EQ(rows("simulationpaper", 2), 2);
        EXPECT_EQ(detailRows(2), 8);
        EXPECT_EQ(count("course", "icourseid=2 and dchapterchange is not null"), 1);
    }

    CourseBuilder b;
    CourseUtil util;
    int lastChapter = 0;
};

TEST_F(CourseClearingTest, ClearingContentRemovesChaptersSubjectsAndPapersOfThatCourseOnly) {
    ASSERT_TRUE(util.checkCourseHadDownload(1));
    util.clearCourse(1);

    EXPECT_FALSE(util.checkCourseHadDownload(1));
    EXPECT_EQ(rows("coursechapter", 1), 0);
    EXPECT_EQ(rows("coursesubject", 1), 0);
    EXPECT_EQ(rows("simulationpaper", 1), 0);
    EXPECT_EQ(count("simulationpaperdetail"), 8);  // only course 2's are left
    EXPECT_EQ(count("course",
                    "icourseid=1 and dchapterchange is null and dsubjectchange is null "
                    "and doutlinechange is null"),
              1);
    // The outline, notes and correction reports stay.
    EXPECT_EQ(rows("courseoutline", 1), 1);
    EXPECT_EQ(count("cs_writenote"), 2);
    EXPECT_EQ(count("cs_writeerror"), 2);
    expectSecondCourseUntouched();
    EXPECT_FALSE(util.isOpen());
}

TEST_F(CourseClearingTest, EachLearnerRecordKindIsClearedAloneAndOnlyForThatCourse) {
    util.clearCourse(1, false, true, false);
    EXPECT_EQ(count("coursesubject", "icourseid=1 and bcollect<>0"), 0);
    // Answers, wrong counts and papers stay.
    EXPECT_EQ(count("coursesubject", "icourseid=1 and cmyanswer='B' and iwrong=2 and bremember=1"),
              3);
    EXPECT_EQ(detailRows(1), 8);

    sql().ExecuteNonQuery("update coursesubject set bcollect=1 where icourseid=1 and iwrong=2", {});
    util.clearCourse(1, true, false, false);
    EXPECT_EQ(
        count("coursesubject", "icourseid=1 and (cmyanswer>'' or bcorrect<>0 or bremember<>0)"), 0);
    // Wrong counts, points, answer dates and favourites stay, and so do the papers.
    EXPECT_EQ(count("coursesubject",
                    "icourseid=1 and iwrong=2 and imyscore=0.5 and "
                    "danswerdate='2026-12-01 09:00:00' and bcollect=1"),
              3);
    EXPECT_EQ(rows("simulationpaper", 1), 2);

    util.clearCourse(1, false, false, true);
    EXPECT_EQ(rows("simulationpaper", 1), 0);
    EXPECT_EQ(detailRows(1), 0);
    EXPECT_EQ(count("simulationpaperdetail"), 8);
    EXPECT_EQ(rows("coursesubject", 1), 5);
    EXPECT_TRUE(util.checkCourseHadDownload(1));
    expectSecondCourseUntouched();  // course 2 only ever loses rows: one check covers each step
}

TEST_F(CourseClearingTest, AFailingStatementIsLoggedAndTheRestIsStillCommitted) {
    // The chapter delete is refused; the subjects and papers must still go.
    ASSERT_TRUE(
        sql().ExecuteNonQuery("create trigger keep_chapters before delete on coursechapter begin "
                              "select raise(abort, 'chapters are kept'); end",
                              {}));
    LogCapture log;
    util.clearCourse(1);
    EXPECT_TRUE(log.contains("chapters are kept"));
    EXPECT_EQ(rows("coursechapter", 1), 4);
    EXPECT_EQ(rows("coursesubject", 1), 0);
    EXPECT_EQ(rows("simulationpaper", 1), 0);
    EXPECT_FALSE(util.HasTransaction());
    expectSecondCourseUntouched();
}

TEST_F(CourseClearingTest, ClearingJoinsTheCallersTransaction) {
    ASSERT_TRUE(util.BeginTran());
    util.clearCourse(1);
    util.clearCourse(1, true, true, true);
    EXPECT_TRUE(util.HasTransaction());
    util.RollbackTran();
    EXPECT_EQ(rows("coursesubject", 1), 5);
    EXPECT_EQ(rows("simulationpaper", 1), 2);
    EXPECT_TRUE(util.checkCourseHadDownload(1));
}

TEST_F(CourseClearingTest, PlaceholderSubjectsNeedADownload) {
    EXPECT_FALSE(util.needDownloadSubject(1, ""));
    b.subject({.courseId = 1, .type = 3, .maker = "downloading"});
    EXPECT_TRUE(util.needDownloadSubject(1, ""));
    EXPECT_TRUE(util.needDownloadSubject(1, "isubjecttype=3"));
    EXPECT_FALSE(util.needDownloadSubject(1, "isubjecttype=0"));
    EXPECT_FALSE(util.needDownloadSubject(2, ""));
}

}  // namespace
}  // namespace examora
