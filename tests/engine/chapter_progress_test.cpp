#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/chapter_progress.h"
#include "engine/course_util.h"
#include "store/database_scope.h"
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

// SQLite's own answer, for comparison.
bool sqliteLike(sqlite3* db, const std::string& pattern, const std::string& text) {
    sqlite3_stmt* raw = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, "select ? like ?", -1, &raw, nullptr), SQLITE_OK);
    std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> stmt(raw, sqlite3_finalize);
    sqlite3_bind_text(raw, 1, text.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(raw, 2, pattern.c_str(), -1, SQLITE_TRANSIENT);
    EXPECT_EQ(sqlite3_step(raw), SQLITE_ROW);
    return sqlite3_column_int(raw, 0) != 0;
}

TEST(ChapterProgress, LikeMatchAgreesWithSqlite) {
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &raw), SQLITE_OK);
    std::unique_ptr<sqlite3, decltype(&sqlite3_close)> db(raw, sqlite3_close);
    const std::vector<std::string> patterns = {
        "01%", "0101%", "%", "", "a_c%", "AB%", "第一章%", "第_章%", "0%1%", "%章", "x%y%z",
    };
    const std::vector<std::string> texts = {
        "",         "01",   "0101", "010203", "1",     "abc", "aXcd", "ab",  "AbC", "第一章",
        "第二章节", "第章", "0a1",  "xyz",    "xaybz", "xzy", "第一", "01%", "_",
    };
    for (const auto& p : patterns) {
        for (const auto& t : texts) {
            EXPECT_EQ(sqlLikeMatch(p, t), sqliteLike(raw, p, t))
                << "'" << t << "' like '" << p << "'";
        }
    }
}

}  // namespace
}  // namespace examora
