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

std::vector<int> idsOf(const std::vector<TitleSearch::Match>& matches) {
    std::vector<int> ids;
    for (const auto& m : matches)
        ids.push_back(m.id);
    return ids;
}

// Rows over many batches, so that the worker and the reading thread both compare and the page
// is assembled from batches finished out of order.
TEST(TitleSearchTest, PagesAreTheFirstMatchesInRowOrderWhateverThreadComparedThem) {
    std::vector<std::string> stored;
    std::vector<int> matching;
    for (int i = 0; i < 5000; ++i) {
        const bool match = i % 7 == 3;
        stored.push_back(
            *ContentCipher::encipher((match ? "固定资产" : "无形资产") + std::to_string(i)));
        if (match) matching.push_back(i);
    }
    // A title that does not decipher matches nothing.
    stored[10] = "not base64 at all";
    matching.erase(std::find(matching.begin(), matching.end(), 10));

    for (int pageSize : {1, 20, 300, 10000}) {
        SCOPED_TRACE(pageSize);
        TitleSearch search("固定", pageSize);
        int handed = 0;
        for (int i = 0; i < 5000 && !search.full(); ++i, ++handed)
            search.add(i, stored[i], "第" + std::to_string(i % 9) + "章");
        const auto page = search.finish();
        const std::size_t expected = std::min<std::size_t>(pageSize, matching.size());
        EXPECT_EQ(idsOf(page), std::vector<int>(matching.begin(), matching.begin() + expected));
        ASSERT_FALSE(page.empty());
        EXPECT_EQ(page[0].title, "固定资产3");
        EXPECT_EQ(page[0].chapter, "第3章");
        // A page that fills early stops the reading well before the end.
        if (pageSize <= 20) {
            EXPECT_LT(handed, 5000);
        }
    }

    TitleSearch none("并不存在", 20);
    for (int i = 0; i < 5000; ++i)
        none.add(i, stored[i], "");
    EXPECT_TRUE(none.finish().empty());
}

TEST(TitleSearchTest, AnAbandonedSearchStopsItsWorker) {
    const std::string stored = *ContentCipher::encipher("应收账款");
    for (int abandonAt : {0, 100, 3000}) {
        TitleSearch search("账款", 100000);
        for (int i = 0; i < abandonAt; ++i)
            search.add(i, stored, "");
        // Destroyed without finish(), as when reading the store throws.
    }
}

class SearchChapterTest : public StoreTest {
  protected:
    CourseBuilder b;
    CourseUtil util;
};

TEST_F(SearchChapterTest, OnlySubjectsInAnExistingChapterAreListedWithItsName) {
    b.course(1);
    b.course(2);
    const int own = b.chapters(1, 0, {"01"})[0];
    const int foreign = b.chapters(2, 0, {"01"})[0];
    const int inOwn = b.subject({.chapterId = own, .title = "存货计价"});
    b.subject({.chapterId = 987654, .title = "存货盘点"});  // its chapter is gone
    const int inForeign = b.subject({.chapterId = foreign, .title = "存货跌价"});
    sql().ExecuteNonQuery("update coursesubject set icourseid=1 where isubjectid=?", inForeign);
    sql().ExecuteNonQuery("update coursechapter set cchaptername=null where ichapterid=?", foreign);

    const auto page = util.loadSearchSubjectList(1, "存货", 0, 20);
    ASSERT_EQ(page.size(), 2u);
    EXPECT_EQ(page[0].key, std::to_string(inOwn));
    EXPECT_EQ(page[0].memo, util.getChapterName(own).value_or("?"));
    EXPECT_EQ(page[1].key, std::to_string(inForeign));
    EXPECT_EQ(page[1].memo, "");
}

}  // namespace
}  // namespace examora
