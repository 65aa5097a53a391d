#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>

#include "engine/chapter_progress.h"

namespace examora {
namespace {

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

ChapterProgress::Row row(int id, const char* code, int type, long long count, long long answered,
                         long long correct) {
    return {id, true, code, type, {count, answered, correct}};
}

TEST(ChapterProgress, SubtreeSumsTheChapterAndItsDescendantsOfItsType) {
    ChapterProgress p;
    p.addRow(row(1, "01", 0, 0, 0, 0));
    p.addRow(row(2, "0101", 0, 10, 4, 3));
    p.addRow(row(3, "0102", 0, 5, 5, 1));
    p.addRow(row(4, "02", 0, 7, 0, 0));
    p.addRow(row(5, "0101", 1, 100, 100, 100));  // same code, other tree
    p.addRow({6, false, "", 0, {9, 9, 9}});      // subjects whose chapter row is gone

    const ChapterTally top = p.subtree("01", 0);
    EXPECT_EQ(top.count, 15);
    EXPECT_EQ(top.answered, 9);
    EXPECT_EQ(top.correct, 4);
    EXPECT_EQ(p.leaf(2).count, 10);
    EXPECT_EQ(p.leaf(42).count, 0);

    EXPECT_EQ(ChapterProgress::progressLine(top, 99), "已做 9 题,共 15 题,正确率 44%");
    // Nothing downloaded: the stored count stands in for the total, and the rate is 0.
    EXPECT_EQ(ChapterProgress::progressLine(p.leaf(4), 12), "已做 0 题,共 7 题,正确率 0%");
    EXPECT_EQ(ChapterProgress::progressLine({}, 12), "已做 0 题,共 12 题,正确率 0%");
}

}  // namespace
}  // namespace examora
