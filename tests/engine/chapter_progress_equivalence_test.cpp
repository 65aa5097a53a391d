#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/course_util.h"
#include "engine/database_scope.h"
#include "lib/course_generator.h"
#include "platform/strformat.h"
#include "support/store_test_fixture.h"

namespace examora {
namespace {

// The progress line of one chapter computed the direct way: one statement per chapter, over the
// chapter's own subjects for a leaf and over its whole subtree for any other chapter.
class DirectProgress {
  public:
    explicit DirectProgress(SQLiteHelper& db) : db_(db) {}

    std::string line(int courseId, const CourseChapterEntity& chapter) {
        DatabaseScope scope(db_);
        auto rs = db_.ExecuteDataReader(
            "select count(*),sum(s.cmyanswer>''),sum(s.cmyanswer>'' and s.bcorrect=1) from "
            "coursesubject s join coursechapter c on c.ichapterid=s.ichapterid where "
            "s.icourseid=? and s.bstopflag=0 and c.itype=? and (c.ichapterid=? or (?=0 and "
            "c.cchaptercode like ?||'%'))",
            courseId, chapter.type, chapter.chapterid, chapter.endgrade ? 1 : 0,
            chapter.chaptercode);
        int total = 0, answered = 0, correct = 0;
        if (rs && rs->next()) {
            total = rs->intForColumnIndex(0);
            answered = rs->intForColumnIndex(1);
            correct = rs->intForColumnIndex(2);
        }
        if (total <= 0) total = chapter.count;
        const int rate = answered >= 1 ? correct * 100 / answered : 0;
        return strformat("已做 %d 题,共 %d 题,正确率 %d%%", answered, total, rate);
    }

  private:
    SQLiteHelper& db_;
};

class ChapterProgressEquivalenceTest : public StoreTest {
  protected:
    // Walks every level of both trees and compares every chapter's line; returns the number of
    // chapters compared.
    int compareLevel(int courseId, int parentId) {
        int compared = 0;
        for (const CourseChapterEntity& chapter :
             util.loadCourseChapterList(courseId, parentId, true, "")) {
            EXPECT_EQ(chapter.memo, direct.line(courseId, chapter))
                << chapter.chaptercode << " type " << chapter.type;
            ++compared;
            if (!chapter.endgrade) compared += compareLevel(courseId, chapter.chapterid);
        }
        return compared;
    }

    std::string dbPath() const { return home_.documents() + "/zxexam.db"; }

    CourseUtil util;
    DirectProgress direct{sql()};
};

TEST_F(ChapterProgressEquivalenceTest, OnePassGivesTheNumbersOfOneStatementPerChapter) {
    const GeneratedCourse course =
        CourseGenerator().generate(dbPath(), 3, CourseSize::M, 1'796'000'000);
    // Withdrawn subjects spread over the course, one leaf withdrawn whole (its stored count then
    // stands in), and a second course whose subjects must not be counted.
    sql().ExecuteNonQuery("update coursesubject set bstopflag=1 where isubjectid % 37 = 0");
    sql().ExecuteNonQuery("update coursesubject set bstopflag=1 where ichapterid=?",
                          course.leafChapters0[5]);
    CourseGenerator(7).generate(dbPath(), 4, CourseSize::S, 1'796'000'000);

    // Held open so that the many short reads below do not each end with a checkpoint.
    DatabaseScope keepOpen(sql());

    EXPECT_EQ(compareLevel(course.courseId, 0), 10 + 60 + 600 + 10 + 100);
}

}  // namespace
}  // namespace examora
