#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/course_util.h"
#include "engine/title_search.h"
#include "store/content_cipher.h"
#include "support/course_builder.h"
#include "support/store_test_fixture.h"

namespace examora {
namespace {

class TitleSearchTest : public StoreTest {
  protected:
    TitleSearchTest() {
        b.course(1);
        chapters = b.chapters(1, 0, {"01", "02"});
    }
    static std::vector<int> idsOf(const std::vector<TitleSearch::Match>& matches) {
        std::vector<int> ids;
        for (const auto& m : matches)
            ids.push_back(m.id);
        return ids;
    }
    std::vector<TitleSearch::Match> search(const std::string& text, int pageSize, int start = 0) {
        return TitleSearch(1, text, pageSize).run(first, second, start);
    }

    CourseBuilder b;
    CourseUtil util;
    std::vector<int> chapters;
    SQLiteHelper first, second;
};

// A course large enough to be cut into two halves searched on two threads: pages must still be
// the first matches in id order, whichever half they come from.
TEST_F(TitleSearchTest, LargeCoursesGiveTheFirstMatchesInIdOrderAcrossBothHalves) {
    constexpr int kSubjects = 5000;
    std::vector<int> matching;
    ASSERT_TRUE(sql().BeginTran());
    for (int id = 1; id <= kSubjects; ++id) {
        const bool match = id % 7 == 3;
        std::string stored =
            *ContentCipher::encipher((match ? "固定资产" : "无形资产") + std::to_string(id));
        int chapter = chapters[id % 2];
        if (id == 10) stored = "not base64 at all";  // a match that does not decipher
        if (id == 4000) chapter = 987654;            // a match whose chapter is gone
        if (match && id != 10 && id != 4000) matching.push_back(id);
        sql().ExecuteNonQuery(
            "insert into coursesubject(isubjectid,icourseid,ichapterid,ctitle) values (?,1,?,?)",
            id, chapter, stored);
    }
    ASSERT_TRUE(sql().CommitTran());
    ASSERT_TRUE(first.OpenDataBase());
    ASSERT_TRUE(second.OpenDataBase());

    auto firstOf = [&](std::size_t n, std::size_t from = 0) {
        return std::vector<int>(matching.begin() + from,
                                matching.begin() + std::min(from + n, matching.size()));
    };
    // 400 matches reach past the middle id; 10000 is every match.
    for (int pageSize : {1, 20, 400, 10000}) {
        SCOPED_TRACE(pageSize);
        EXPECT_EQ(idsOf(search("固定", pageSize)), firstOf(pageSize));
    }
    const auto page = search("固定", 2);
    EXPECT_EQ(page[0].title, "固定资产3");
    EXPECT_EQ(page[0].chapter, util.getChapterName(chapters[1]).value_or("?"));

    // From inside the second half, the rest of the matches after that id.
    const std::size_t later =
        std::upper_bound(matching.begin(), matching.end(), 3005) - matching.begin();
    EXPECT_EQ(idsOf(search("固定", 30, 3005)), firstOf(30, later));
    EXPECT_TRUE(search("并不存在", 20).empty());
    EXPECT_TRUE(search("固定", 20, kSubjects).empty());
}

TEST_F(TitleSearchTest, OnlySubjectsInAnExistingChapterAreListedWithItsName) {
    b.course(2);
    const int foreign = b.chapters(2, 0, {"01"})[0];
    const int inOwn = b.subject({.chapterId = chapters[0], .title = "存货计价"});
    b.subject({.chapterId = 987654, .title = "存货盘点"});  // its chapter is gone
    const int inForeign = b.subject({.chapterId = foreign, .title = "存货跌价"});
    sql().ExecuteNonQuery("update coursesubject set icourseid=1 where isubjectid=?", inForeign);
    sql().ExecuteNonQuery("update coursechapter set cchaptername=null where ichapterid=?", foreign);
    ASSERT_TRUE(first.OpenDataBase());
    ASSERT_TRUE(second.OpenDataBase());

    const auto page = search("存货", 20);
    ASSERT_EQ(page.size(), 2u);
    EXPECT_EQ(page[0].id, inOwn);
    EXPECT_EQ(page[0].chapter, util.getChapterName(chapters[0]).value_or("?"));
    EXPECT_EQ(page[1].id, inForeign);
    EXPECT_EQ(page[1].chapter, "");
}

}  // namespace
}  // namespace examora
