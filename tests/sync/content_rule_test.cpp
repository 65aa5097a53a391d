// The content sync rules that need no database: id runs, batches, dates and picture placement.
#include <gtest/gtest.h>

#include <climits>

#include "sync/content_item_rule.h"
#include "sync/subject_picture_rule.h"

namespace examora {
namespace {

CourseSubjectDownloadEntity entry(int id, int maxid) {
    CourseSubjectDownloadEntity e;
    e.subjectid = id;
    e.maxid = maxid;
    return e;
}

TEST(ContentItemRuleTest, SubjectEntriesExpandIntoIdRuns) {
    EXPECT_EQ(ContentItemRule::expandSubjectRuns({entry(100, 103), entry(200, 0), entry(7, 7)}),
              (std::vector<int>{100, 101, 102, 103, 200, 7}));
    // A run ending at the largest id ends there; an absurd run is refused, not expanded.
    EXPECT_EQ(ContentItemRule::expandSubjectRuns({entry(INT_MAX - 1, INT_MAX)}),
              (std::vector<int>{INT_MAX - 1, INT_MAX}));
    EXPECT_EQ(ContentItemRule::expandSubjectRuns({entry(1, INT_MAX), entry(5, 0)}),
              (std::vector<int>{5}));
}

TEST(ContentItemRuleTest, BatchesAndDates) {
    std::vector<int> ids(60);
    for (int i = 0; i < 60; ++i)
        ids[static_cast<std::size_t>(i)] = i;
    const auto batches = ContentItemRule::batches(ids);
    ASSERT_EQ(batches.size(), 3u);
    EXPECT_EQ(batches[2].size(), 10u);
    EXPECT_EQ(batches[2].front(), 50);
    EXPECT_EQ(ContentItemRule::batches(std::vector<int>(26, 1)).size(), 2u);

    EXPECT_EQ(ContentItemRule::askFrom(false, "", std::nullopt), "2000-01-01");
    EXPECT_EQ(ContentItemRule::askFrom(false, "", std::string("2026-01-01 00:00:00")),
              "2026-01-01 00:00:00");
    EXPECT_EQ(ContentItemRule::askFrom(true, "", std::string("2026-01-01 00:00:00")), "2000-01-01");
}

TEST(SubjectPictureRuleTest, PositionComesFromTheTableNameTail) {
    struct Case {
        const char* name;
        int a, b;
    };
    const Case cases[] = {{"coursesubject", 0, 0},
                          {"coursesubject2", 2, 0},
                          {"coursesubject0_3", 0, 3},
                          {"coursesubject12", 12, 0},
                          {"coursesubject1_2_9", 1, 2},
                          {"coursesubjectx_y", 0, 0},
                          {"coursesubject99999999999_1", INT_MAX, 1}};
    for (const Case& c : cases) {
        PicturePosition p = SubjectPictureRule::position(c.name);
        EXPECT_EQ(p.a, c.a) << c.name;
        EXPECT_EQ(p.b, c.b) << c.name;
    }
    EXPECT_EQ(SubjectPictureRule::token({2, 0}), "{图}");
    EXPECT_EQ(SubjectPictureRule::token({0, 3}), "{图3}");
    EXPECT_EQ(SubjectPictureRule::fileName(100, {0, 3}, "png"), "100_0_3.png");
    EXPECT_EQ(SubjectPictureRule::fileName(100, {2, 0}, ""), "100_2");
}

TEST(SubjectPictureRuleTest, ExtensionsThatCouldLeaveTheFolderAreRefused) {
    for (const char* ok : {"", "png", "JPEG", "svg+xml", "p.n.g"})
        EXPECT_TRUE(SubjectPictureRule::isSafeExtension(ok)) << ok;
    const std::string bad[] = {
        "../x", "png/x", "a\\b", "..", std::string("p\0g", 3), "p\ng", std::string(17, 'p')};
    for (const std::string& ext : bad)
        EXPECT_FALSE(SubjectPictureRule::isSafeExtension(ext)) << ext;
}

TEST(SubjectPictureRuleTest, QuotedTokensGetTheUrlAndBareOnesTheElement) {
    const std::string el = "<img border='0' alt='' src='file:///p/1_0.png'/>";
    EXPECT_EQ(SubjectPictureRule::replaceToken("a{图}b{图}", "{图}", "/p/1_0.png"),
              "a" + el + "b" + el);
    EXPECT_EQ(SubjectPictureRule::replaceToken("<img src=\"{图1}\"> {图1}", "{图1}", "/p/1_0.png"),
              "<img src=\"file:///p/1_0.png\"> " + el);
    EXPECT_EQ(SubjectPictureRule::replaceToken("<img src='{图1}'>", "{图1}", "/p/1_0.png"),
              "<img src='file:///p/1_0.png'>");
    // Only a matching pair of quotes makes a token quoted.
    EXPECT_EQ(SubjectPictureRule::replaceToken("\"{图}'", "{图}", "/p/1_0.png"), "\"" + el + "'");
    EXPECT_EQ(SubjectPictureRule::replaceToken("", "{图}", "/p"), "");
}

}  // namespace
}  // namespace examora
