#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/common_setting.h"
#include "engine/course_subject_util.h"
#include "facade/screens/chapter_chooser_screen.h"
#include "facade/screens/chapter_select_screen.h"
#include "facade/screens/clear_data_screen.h"
#include "facade/screens/course_select_screen.h"
#include "facade/screens/error_drill_screen.h"
#include "facade/screens/error_filter_screen.h"
#include "facade/screens/page_settings_screen.h"
#include "facade/screens/paper_create_screen.h"
#include "facade/screens/paper_list_screen.h"
#include "facade/screens/search_screen.h"
#include "facade/screens/select_subject_screen.h"
#include "screen_fakes.h"
#include "store/cus_setting_util.h"
#include "support/course_builder.h"
#include "support/store_test_fixture.h"

namespace examora {
namespace {

using testing::FakeScreenViews;

class ScreensTest : public StoreTest {
  protected:
    ScreensTest() {
        CommonSetting::setCourseId(1);
        b.course(1);
        const std::vector<int> tree = b.chapters(1, 0, {"01", "0101", "0102"});
        top = tree[0], leaf = tree[1], other = tree[2];
        for (int i = 0; i < 4; ++i)
            ids.push_back(b.subject({.chapterId = leaf, .title = "第" + std::to_string(i) + "题"}));
        ids.push_back(b.subject({.chapterId = other, .type = 2, .answer = "对"}));
    }
    std::string column(const std::string& name, int id) {
        return sql()
            .ExecuteScalarString("select " + name + " from coursesubject where isubjectid=?", id)
            .value_or("(null)");
    }

    CourseBuilder b;
    APIManager api;
    FakeScreenViews v;
    int top = 0, leaf = 0, other = 0;
    std::vector<int> ids;
};

// ---- Paper creation ----------------------------------------------------------------------------

TEST_F(ScreensTest, ThePaperFormRefusesWhatCannotBeBuiltAndKeepsTheFormOpen) {
    int created = 0;
    PaperCreateScreen form(api, {v, v, v, v, v, v, v, v}, [&](int id) { created = id; });
    CusSettingUtil::setSettingValue("iexamtotalscore", "5");
    form.open();
    EXPECT_EQ(v.fields["分数:"], "5") << "the setting's default";
    EXPECT_EQ(v.fields["时间:"], "150");
    EXPECT_NE(v.fields["名称:"].find("全真模拟试题1"), std::string::npos);
    EXPECT_EQ(v.captions(), (std::vector<std::string>{"题型:", "章节:"}));
    EXPECT_EQ(v.rows[0].value, "默认为所有题型");

    struct Case {
        std::string field, text, tip;
    };
    for (const Case& c : {Case{"分数:", "", "请填写分数！"}, Case{"时间:", " ", "请填写时间！"},
                          Case{"分数:", "abc", "无法构建试卷达到0分!"}}) {
        form.open();
        v.fields[c.field] = c.text;
        v.tips.clear();
        form.submit();
        EXPECT_EQ(v.tips, std::vector<std::string>{c.tip}) << c.field << "=" << c.text;
        EXPECT_TRUE(v.buttons["开始考试"]) << "the button is usable again";
        EXPECT_EQ(count("simulationpaper"), 0);
    }
    EXPECT_EQ(created, 0);
    EXPECT_TRUE(v.events.empty());

    form.open();
    form.chooseTypes();
    ASSERT_EQ(v.lists.back().title, "类型选择");
    v.choose({"判断题"});
    EXPECT_EQ(v.rows[0].value, "部分题型");
    v.fields["分数:"] = "1";
    form.submit();
    ASSERT_GE(created, 1);
    EXPECT_EQ(v.events, std::vector<std::string>{"pop"});
    EXPECT_EQ(
        sql().ExecuteScalarString(
            "select group_concat(isubjectid) from simulationpaperdetail where ipaperid=?", created),
        std::to_string(ids[4]))
        << "only the chosen type is drawn";
}

TEST_F(ScreensTest, TheChapterChooserSwitchesTreesAndMarksAllOrNone) {
    std::vector<BaseItemEntity> chosen;
    int chosenType = -1;
    ChapterChooserScreen chooser(api.dalCourse(), {v, v, v, v}, 1, {}, 0,
                                 [&](std::vector<BaseItemEntity> items, int type) {
                                     chosen = std::move(items), chosenType = type;
                                 });
    chooser.open();
    EXPECT_EQ(v.rows.size(), 2u) << "the two leaves";
    chooser.selectAll();
    chooser.toggleRow(0);
    chooser.done();
    ASSERT_EQ(chosen.size(), 2u);
    EXPECT_FALSE(chosen[0].selected);
    EXPECT_TRUE(chosen[1].selected);
    EXPECT_EQ(chosenType, 0);
    EXPECT_EQ(paperSelectedCodes(chosen), std::vector<int>{other});

    chooser.selectChapterType(1);
    EXPECT_TRUE(v.rows.empty()) << "no chapter of the other tree";
}

// ---- Data clearing -----------------------------------------------------------------------------

TEST_F(ScreensTest, ClearingAsksBeforeItClearsAndClearsOnlyWhatWasChosen) {
    sql().ExecuteNonQuery("update coursesubject set cmyanswer='A',bcorrect=1,bcollect=1");
    ClearDataScreen screen(api, {v, v, v, v});
    screen.open();
    screen.clear();
    EXPECT_TRUE(v.dialogs.empty()) << "nothing chosen, nothing asked";

    screen.setItem("清除题库练习记录", true);
    screen.clear();
    ASSERT_EQ(v.dialogs.size(), 1u);
    EXPECT_EQ(v.dialogs[0].message, "确定要清空吗?");
    v.answer("取消");
    EXPECT_EQ(column("cmyanswer", ids[0]), "A");
    EXPECT_TRUE(v.tips.empty());

    screen.clear();
    v.answer("确定");
    EXPECT_EQ(column("cmyanswer", ids[0]), "");
    EXPECT_EQ(column("bcollect", ids[0]), "1") << "favourites were not chosen";
    EXPECT_EQ(v.tips, std::vector<std::string>{"清空完成！"});
}

// ---- Chapter selection and the drill -----------------------------------------------------------

TEST_F(ScreensTest, ChapterSelectionOpensLevelsWithProgressAndPractisesALeaf) {
    api.dalCourse().updateSubjectMyAnswerAndDate(ids[0], "A", true);
    api.dalCourse().updateSubjectMyAnswerAndDate(ids[1], "B", false);
    ChapterSelectScreen screen(api, {v, v, v, v, v}, 0);
    screen.open();
    ASSERT_EQ(v.rows.size(), 1u);
    EXPECT_EQ(v.rows[0].value, "已做 2 题,共 5 题,正确率 50%");
    screen.selectRow(0);
    ASSERT_EQ(v.rows.size(), 2u);
    EXPECT_EQ(v.rows[0].value, "已做 2 题,共 4 题,正确率 50%");
    screen.selectRow(0);
    EXPECT_EQ(v.events, std::vector<std::string>{"practice 0 " + std::to_string(leaf) + " 0"});
    screen.back();
    EXPECT_EQ(v.rows.size(), 1u);
    screen.back();
    EXPECT_EQ(v.events.back(), "pop");

    v.events.clear();
    api.dalCourse().doCollectSubject(ids[2]);
    ChapterSelectScreen favourites(api, {v, v, v, v, v}, 4);
    favourites.open();
    ASSERT_EQ(v.rows.size(), 1u);
    EXPECT_EQ(v.rows[0].value, "共1题");
    favourites.selectRow(0);
    EXPECT_EQ(v.events,
              std::vector<std::string>{"push select_subject 4/" + std::to_string(top) + "/1"});
}

TEST_F(ScreensTest, TheDrillSaysWhenAnItemIsEmptyAndOtherwiseOpensItsSubjects) {
    sql().ExecuteNonQuery(
        "update coursesubject set iwrong=2,danswerdate=datetime('now','localtime') "
        "where isubjectid=?",
        ids[3]);
    ErrorDrillScreen drill(api, {v, v, v, v, v, v}, 1);
    drill.open();
    ASSERT_EQ(v.rows.size(), 1u);
    drill.selectTab(ErrorDrillScreen::kCountTab);
    drill.selectRow(0);
    EXPECT_EQ(v.tips, std::vector<std::string>{"没有任何试题"});
    drill.selectRow(1);
    EXPECT_EQ(v.events, std::vector<std::string>{"practice 5 0 0 filtered"});
    auto list = api.dalCourse().loadSubjectIdList(1, 0, 5, v.lastFilter);
    EXPECT_EQ(list, std::vector<int>{ids[3]});
}

TEST_F(ScreensTest, TheWrongAnswerEntryLeadsToBothDrillsAndTheMemoryReview) {
    ErrorFilterScreen entry({v, v, v});
    entry.open();
    for (int row : {1, 2, 3})
        entry.selectRow(row);
    EXPECT_EQ(v.events, (std::vector<std::string>{"push wrong_drill 2", "push ebbinghaus"}));
}

TEST_F(ScreensTest, TheCutDrillPractisesTheCutSubjectsOfAChapter) {
    sql().ExecuteNonQuery("update coursesubject set iwrong=1 where isubjectid=?", ids[0]);
    sql().ExecuteNonQuery("update coursesubject set iwrong=-2 where isubjectid=?", ids[3]);
    ErrorDrillScreen drill(api, {v, v, v, v, v, v}, 2);
    drill.open();
    drill.selectRow(0);
    const std::string route = "5/" + std::to_string(top) + "/2";
    ASSERT_EQ(v.events, std::vector<std::string>{"push select_subject " + route});
    SelectSubjectScreen list = SelectSubjectScreen::fromArgument(api, {v, v, v, v}, route);
    list.open();
    ASSERT_EQ(list.items().size(), 1u);
    list.selectRow(0);
    EXPECT_EQ(api.dalCourse().loadSubjectIdList(1, top, 5, v.lastFilter), std::vector<int>{ids[3]})
        << "practice keeps to the cut subjects the list shows";
}

// ---- Paper list ---------------------------------------------------------------------------------

TEST_F(ScreensTest, APaperIsDeletedOnlyAfterConfirmation) {
    const int paper = b.paper(1, {ids[0], ids[1]});
    PaperListScreen list(api, {v, v, v, v, v, v});
    list.open();
    ASSERT_EQ(v.rows.size(), 1u);
    list.startPaper(0);
    EXPECT_EQ(v.events, std::vector<std::string>{"paper 1 " + std::to_string(paper)});

    list.deletePaper(0);
    EXPECT_EQ(v.dialogs.back().title, "删除确认");
    EXPECT_EQ(v.dialogs.back().message, "确定要删除当前试卷吗？");
    v.answer("取消");
    EXPECT_EQ(count("simulationpaper"), 1);
    list.deletePaper(0);
    v.answer("确认");
    EXPECT_EQ(count("simulationpaper"), 0);
    EXPECT_EQ(count("simulationpaperdetail"), 0);
    EXPECT_TRUE(v.rows.empty());
}

// ---- Search, settings, course selection ---------------------------------------------------------

TEST_F(ScreensTest, SearchPagesUntilAShortPageAndOpensPracticeAtTheSubject) {
    b.subjects(25, {.chapterId = other, .title = "会计要素"});
    SearchScreen search(api, {v, v, v, v});
    search.open();
    search.search("   ");
    EXPECT_FALSE(search.hasMore());
    search.search(" 会计要素 ");
    EXPECT_EQ(v.rows.size(), 20u);
    EXPECT_TRUE(search.hasMore());
    search.loadMore();
    EXPECT_EQ(v.rows.size(), 25u);
    EXPECT_FALSE(search.hasMore());
    search.selectRow(24);
    EXPECT_EQ(v.events.back(),
              "practice 0 " + std::to_string(other) + " " + search.items()[24].key);
}

TEST_F(ScreensTest, SettingsStoreEachChangeAndRestoreTheDefaults) {
    PageSettingsScreen settings({v, v, v, v, v});
    settings.open();
    EXPECT_EQ(v.rows[0].value, "中号(默认)");
    settings.chooseFontSize();
    EXPECT_EQ(v.lists.back().items.size(), 5u);
    v.choose({"超大"});
    settings.setNightMode(true);
    EXPECT_EQ(CusSettingUtil::getSettingValue("ifontsize"), "5");
    EXPECT_EQ(CourseSubjectUtil::pageSettings().fontSize, "32px");
    EXPECT_TRUE(v.switches["夜间模式"]);
    EXPECT_TRUE(settings.changed());

    settings.restoreDefaults();
    EXPECT_EQ(v.rows[0].value, "中号(默认)");
    EXPECT_FALSE(v.switches["夜间模式"]);
    EXPECT_EQ(CourseSubjectUtil::pageSettings().fontSize, "16px");
}

TEST_F(ScreensTest, ACourseWithDistrictsIsChosenWithItsDistrict) {
    b.course(2, "经济法");
    sql().ExecuteNonQuery("update course set bdistrict=1 where icourseid=2");
    sql().ExecuteNonQuery("insert into district(cdccode,cdcname) values ('11','北京')");
    std::vector<std::string> chosen;
    CourseSelectScreen screen(api, {v, v, v, v, v, v}, [&](int id, const std::string& d) {
        chosen.push_back(std::to_string(id) + " " + d);
    });
    screen.open();
    screen.search("  ");
    EXPECT_EQ(screen.level(), CourseSelectScreen::Level::Classes);
    screen.search("经济");
    ASSERT_EQ(v.captions(), std::vector<std::string>{"经济法"});
    screen.selectRow(0);
    EXPECT_TRUE(chosen.empty());
    ASSERT_EQ(v.lists.back().title, "地区选择");
    v.choose({"北京"});
    screen.search("会计");
    screen.selectRow(0);
    EXPECT_EQ(chosen, (std::vector<std::string>{"2 北京", "1 "}));
}

}  // namespace
}  // namespace examora
