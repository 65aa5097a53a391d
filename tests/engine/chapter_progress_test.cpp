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

}  // namespace
}  // namespace examora
