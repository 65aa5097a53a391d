#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/course_util.h"
#include "list_fields.h"
#include "platform/text_util.h"
#include "support/course_builder.h"
#include "support/store_test_fixture.h"

namespace examora {
namespace {

class SearchTest : public StoreTest {
  protected:
    SearchTest() {
        b.course(1);
        b.course(2);
        chapter = b.chapters(1, 0, {"01"})[0];
        other = b.chapters(2, 0, {"01"})[0];
    }
    std::vector<int> ids(const std::vector<BaseItemEntity>& items) {
        std::vector<int> out;
        for (const auto& item : items)
            out.push_back(std::stoi(item.key));
        return out;
    }

    CourseBuilder b;
    CourseUtil util;
    int chapter = 0;
    int other = 0;
};

TEST_F(SearchTest, PagesThroughMatchesInIdOrderFromTheLastId) {
    std::vector<int> matching;
    for (int i = 0; i < 25; ++i) {
        matching.push_back(
            b.subject({.chapterId = chapter, .title = "关于资产的定义 " + std::to_string(i)}));
        b.subject({.chapterId = chapter, .title = "负债的分类"});
    }
    // Another course's match and a case-only difference are not found.
    b.subject({.courseId = 2, .chapterId = other, .title = "资产"});
    b.subject({.chapterId = chapter, .title = "Asset 资 产"});

    const auto first = util.loadSearchSubjectList(1, "资产", 0, 20);
    ASSERT_EQ(first.size(), 20u);
    EXPECT_EQ(ids(first), std::vector<int>(matching.begin(), matching.begin() + 20));
    EXPECT_EQ(first[0].memo, util.getChapterName(chapter).value_or("?"));
    EXPECT_EQ(first[0].index, 1);
    EXPECT_EQ(first[19].index, 20);

    const auto rest = util.loadSearchSubjectList(1, "资产", std::stoi(first.back().key), 20);
    EXPECT_EQ(ids(rest), std::vector<int>(matching.begin() + 20, matching.end()));
    EXPECT_TRUE(util.loadSearchSubjectList(1, "资产", matching.back(), 20).empty());
    EXPECT_TRUE(util.loadSearchSubjectList(1, "asset", 0, 20).empty());
    EXPECT_TRUE(util.loadSearchSubjectList(1, "", 0, 20).empty());
}

TEST_F(SearchTest, ManyRowsKeepTheirOrderAndLaterWritesAreSeen) {
    // Pages of matches spread among many rows, read one after another.
    std::vector<int> matching;
    for (int i = 0; i < 700; ++i) {
        const bool match = i % 3 == 1;
        const int id = b.subject(
            {.chapterId = chapter, .title = (match ? "折旧方法" : "摊销") + std::to_string(i)});
        if (match) matching.push_back(id);
    }
    std::vector<int> found;
    for (int start = 0;;) {
        const auto page = util.loadSearchSubjectList(1, "折旧", start, 64);
        if (page.empty()) break;
        ASSERT_LE(page.size(), 64u);
        for (const auto& item : page)
            found.push_back(std::stoi(item.key));
        start = found.back();
    }
    EXPECT_EQ(found, matching);

    // The search keeps its connection between calls; a subject stored since is found.
    const int added = b.subject({.chapterId = chapter, .title = "加速折旧"});
    const auto tail = util.loadSearchSubjectList(1, "折旧", matching.back(), 64);
    ASSERT_EQ(tail.size(), 1u);
    EXPECT_EQ(std::stoi(tail[0].key), added);
}

TEST_F(SearchTest, LongTitlesAreCutAtAHundredCharacters) {
    std::string longTitle;
    for (int i = 0; i < 150; ++i)
        longTitle += (i % 2 ? "账" : "簿");
    const std::string exact100 = utf8Substr(longTitle, 0, 100);
    b.subject({.chapterId = chapter, .title = longTitle});
    b.subject({.chapterId = chapter, .title = exact100});

    const auto items = util.loadSearchSubjectList(1, "账簿", 0, 20);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].name, exact100 + "...");
    EXPECT_EQ(items[1].name, exact100);
}

class OutlineTest : public StoreTest {
  protected:
    int node(const std::string& code, int grade, int type = 0, bool leaf = false, int stop = 0) {
        const int id = ++lastId;
        sql().ExecuteNonQuery(
            "insert into courseoutline(ioutlineid,icourseid,coutlinecode,itype,coutlinename,"
            "bendgrade,igrade,curl,ctext,bstopflag) values (?,1,?,?,?,?,?,?,?,?)",
            id, code, type, "节点" + code, leaf, grade, "u" + code, "t" + code, stop);
        return id;
    }
    std::vector<std::string> codes(const std::vector<CourseOutlineEntity>& nodes) {
        return fields(nodes, &CourseOutlineEntity::outlinecode);
    }
    using Codes = std::vector<std::string>;

    CourseUtil util;
    int lastId = 0;
};

TEST_F(OutlineTest, LevelsFollowGradeAndCodeOfTheParent) {
    node("02", 0);
    const int first = node("01", 0);
    const int section = node("0101", 1);
    node("010102", 2, 0, true);
    node("010101", 2, 0, true);
    node("010201", 2);               // another section's child
    node("010103", 2, 10);           // a video item
    node("010104", 2, 0, false, 1);  // withdrawn
    node("0102", 1);

    EXPECT_EQ(codes(util.loadCourseOutlineList(1, 0, "")), (Codes{"01", "02"}));
    EXPECT_EQ(codes(util.loadCourseOutlineList(1, first, "")), (Codes{"0101", "0102"}));
    const auto leaves = util.loadCourseOutlineList(1, section, "");
    EXPECT_EQ(codes(leaves), (Codes{"010101", "010102"}));
    EXPECT_TRUE(leaves[0].endgrade);
    EXPECT_EQ(codes(util.loadCourseOutlineList(1, section, "coutlinecode<>'010101'")),
              (Codes{"010102"}));
    // An unknown parent reads as the top level.
    EXPECT_EQ(codes(util.loadCourseOutlineList(1, 999, "")), (Codes{"01", "02"}));

    const auto info = util.loadCourseOutlineInfo(section);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->outlinename, "节点0101");
    EXPECT_EQ(info->text, "t0101");
    EXPECT_EQ(info->url, "u0101");
    EXPECT_FALSE(util.loadCourseOutlineInfo(999));
}

TEST_F(OutlineTest, ACodeFromTheServiceMatchesOnlyItself) {
    // Codes are service data: a quote must not break the statement, and "%" or "_" must not
    // widen the subtree.
    const int quoted = node("0'1", 0);
    node("0'101", 1);
    const int wild = node("1_", 0);
    node("1_01", 1);
    node("1A01", 1);
    EXPECT_EQ(codes(util.loadCourseOutlineList(1, quoted, "")), (Codes{"0'101"}));
    EXPECT_EQ(codes(util.loadCourseOutlineList(1, wild, "")), (Codes{"1_01"}));
}

}  // namespace
}  // namespace examora
