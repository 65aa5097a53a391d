#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/course_util.h"
#include "support/course_builder.h"
#include "support/store_test_fixture.h"

namespace examora {
namespace {

// The chapter-grouped selections (favourites 4, wrong answers 5, noted subjects 6) and the
// subject lists that the practice session and the selection screen take from them.
class ReviewSelectionTest : public StoreTest {
  protected:
    ReviewSelectionTest() {
        b.course(1);
        // Tree 0: 01 (0101, 0102), 02 (0201), 03; tree 1: 01 (0101).
        tree0 = b.chapters(1, 0, {"01", "0101", "0102", "02", "0201", "03"});
        tree1 = b.chapters(1, 1, {"01", "0101"});
    }

    int subject(int chapterId, int wrong, int type = 0, bool collect = false) {
        return b.subject({.courseId = 1,
                          .chapterId = chapterId,
                          .type = type,
                          .chapterType = chapterId == tree1[1] ? 1 : 0,
                          .wrong = wrong,
                          .collect = collect});
    }

    struct Node {
        std::string code;
        int type;
        int count;
        bool operator==(const Node&) const = default;
    };
    std::vector<Node> nodes(int kind, int filterType = 0) {
        std::vector<Node> out;
        for (const auto& c : util.loadChapterListForSelectSubject(1, kind, filterType)) {
            EXPECT_EQ(c.memo, "共" + std::to_string(c.count) + "题");
            out.push_back({c.chaptercode, c.type, c.count});
        }
        return out;
    }

    CourseBuilder b;
    CourseUtil util;
    std::vector<int> tree0;
    std::vector<int> tree1;
};

TEST_F(ReviewSelectionTest, ChapterNodesCountTheirWholeSubtreeAndOmitEmptyOnes) {
    subject(tree0[1], 1);
    subject(tree0[1], 3);
    subject(tree0[2], 2);
    subject(tree0[2], -1);  // cut
    subject(tree0[4], 1);
    subject(tree0[5], 0);  // chapter 03 has nothing wrong
    subject(tree1[1], 2);
    b.course(2);
    const int other = b.chapters(2, 0, {"01"})[0];
    b.subject({.courseId = 2, .chapterId = other, .wrong = 4});

    EXPECT_EQ(nodes(5), (std::vector<Node>{{"01", 0, 3}, {"02", 0, 1}, {"01", 1, 1}}));
    EXPECT_EQ(nodes(5, 2), (std::vector<Node>{{"01", 0, 1}}));

    // A withdrawn chapter's subjects count nowhere.
    ASSERT_TRUE(
        sql().ExecuteNonQuery("update coursechapter set bstopflag=1 where ichapterid=?", tree0[4]));
    EXPECT_EQ(nodes(5), (std::vector<Node>{{"01", 0, 3}, {"01", 1, 1}}));
}

TEST_F(ReviewSelectionTest, FavouritesAndNotedSubjectsEachCountOnce) {
    subject(tree0[1], 0, 0, true);
    subject(tree1[1], 0, 0, true);
    const int noted = subject(tree0[2], 0);
    b.note(noted, "第一条笔记");
    b.note(noted, "第二条笔记");
    const int alsoNoted = subject(tree0[4], 0);
    b.note(alsoNoted, "笔记");

    EXPECT_EQ(nodes(4), (std::vector<Node>{{"01", 0, 1}, {"01", 1, 1}}));
    EXPECT_EQ(nodes(6), (std::vector<Node>{{"01", 0, 1}, {"02", 0, 1}}));
    EXPECT_EQ(util.loadSubjectIdList(1, 0, 6, ""), (std::vector<int>{noted, alsoNoted}));
}

TEST_F(ReviewSelectionTest, TopLevelFollowsTheSmallestGradeOfTreeZero) {
    // A course whose type-0 tree starts at grade 1: its grade-1 chapters are the top.
    b.course(3);
    const std::vector<int> deep = b.chapters(3, 0, {"0101", "010101", "0102"});
    b.subject({.courseId = 3, .chapterId = deep[1], .wrong = 1});
    b.subject({.courseId = 3, .chapterId = deep[2], .wrong = 1});
    std::vector<std::string> codes;
    for (const auto& c : util.loadChapterListForSelectSubject(3, 5))
        codes.push_back(c.chaptercode);
    EXPECT_EQ(codes, (std::vector<std::string>{"0101", "0102"}));
}

TEST_F(ReviewSelectionTest, SubjectListsOfAChapterStayInItsOwnTree) {
    // Tree 1's "01" is a prefix of tree 0's "0101" too; only its own tree may match.
    const int a = subject(tree0[1], 1, 1);
    const int b0 = subject(tree0[1], 1, 0);
    const int c = subject(tree1[1], 1, 0);
    subject(tree1[1], 0, 0);

    EXPECT_EQ(util.loadSubjectIdList(1, tree1[0], 5, ""), (std::vector<int>{c}));
    // Practice order: type, then position.
    EXPECT_EQ(util.loadSubjectIdList(1, tree0[0], 5, ""), (std::vector<int>{b0, a}));
    EXPECT_EQ(util.loadSubjectIdList(1, 0, 5, ""), (std::vector<int>{c, b0, a}));

    const std::vector<CourseSubjectExamEntity> sheet = util.loadSubjectExamEntityList(1, 0, 5, "");
    ASSERT_EQ(sheet.size(), 3u);
    EXPECT_EQ(sheet[2].subjectid, a);
    EXPECT_EQ(sheet[2].index, 3);

    // A chapter that does not exist selects nothing rather than everything.
    const auto unknown = util.loadSubjectIdList(1, 9999, 5, "");
    EXPECT_TRUE(!unknown || unknown->empty());
}

TEST_F(ReviewSelectionTest, ChapterCodesWithQuotesStayOneLiteral) {
    const int odd = b.chapters(1, 0, {"0'4"})[0];
    const int inside = subject(odd, 1);
    EXPECT_EQ(util.loadSubjectIdList(1, odd, 5, ""), (std::vector<int>{inside}));
}

TEST_F(ReviewSelectionTest, SelectionPagesHoldTheirOwnRows) {
    std::vector<int> ids;
    for (int i = 0; i < 45; ++i)
        ids.push_back(subject(tree0[1], 1));
    ASSERT_TRUE(sql().ExecuteNonQuery(
        "update coursesubject set danswerdate='2026-11-30 21:15:00' where isubjectid=?", ids[20]));

    const std::vector<BaseItemEntity> page1 = util.loadSelectSubjectList(1, 0, "", 5, 1, 20);
    ASSERT_EQ(page1.size(), 20u);
    EXPECT_EQ(page1.front().key, std::to_string(ids[20]));
    EXPECT_EQ(page1.back().key, std::to_string(ids[39]));
    EXPECT_EQ(page1.front().memo, "单选题 答题:2026-11-30");
    EXPECT_EQ(page1[1].memo, "单选题 答题:未做题");
    EXPECT_EQ(page1.front().name, "下列各项中，属于会计基本假设的是（ ）。");

    EXPECT_EQ(util.loadSelectSubjectList(1, 0, "", 5, 2, 20).size(), 5u);
    EXPECT_TRUE(util.loadSelectSubjectList(1, 0, "", 5, 3, 20).empty());
    EXPECT_TRUE(util.loadSelectSubjectList(1, 0, "", 5, 0, 0).empty());
    EXPECT_TRUE(util.loadSelectSubjectList(1, 0, "", 5, -1, 20).empty());
}

}  // namespace
}  // namespace examora
