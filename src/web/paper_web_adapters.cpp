// The facade's paper list, paper form, chapter chooser, results, display settings, clearing and
// examination-day screens over the browser's views.

#include "web/paper_web_adapters.h"

#include "app/common_setting.h"
#include "facade/api_manager.h"
#include "facade/screens/chapter_chooser_screen.h"
#include "facade/screens/chapter_result_screen.h"
#include "facade/screens/clear_data_screen.h"
#include "facade/screens/exam_day_screen.h"
#include "facade/screens/page_settings_screen.h"
#include "facade/screens/paper_create_screen.h"
#include "facade/screens/paper_list_screen.h"
#include "facade/screens/paper_result_screen.h"
#include "web/facade_web_screen.h"
#include "web/web_context.h"
#include "web/web_tab.h"

namespace examora::paper_web_adapters {

using nlohmann::json;

namespace {

constexpr const char* kChapterResultButton = "我知道了";
constexpr const char* kChooserDone = "确定";

json buttonsPart(std::initializer_list<const char*> captions) {
    json list = json::array();
    for (const char* caption : captions)
        list.push_back(caption);
    return {{"part", "buttons"}, {"captions", list}};
}

json label(const char* name, const char* style, const char* before = "", const char* after = "") {
    return {{"name", name}, {"style", style}, {"before", before}, {"after", after}};
}

json switchesPart(std::initializer_list<const char*> captions) {
    json list = json::array();
    for (const char* caption : captions)
        list.push_back(caption);
    return {{"part", "switches"}, {"captions", list}};
}

std::string caption(const json& event) {
    return FacadeWebScreen::text(event, "caption");
}

// A screen's answer to the one below, which may have closed meanwhile.
template <class Work>
auto whileAlive(std::weak_ptr<int> life, Work work) {
    return [life = std::move(life), work = std::move(work)](auto&&... args) {
        if (!life.expired()) work(std::forward<decltype(args)>(args)...);
    };
}

std::unique_ptr<WebScreen> chapterChooser(WebTab& tab, std::vector<BaseItemEntity> items,
                                          int chapterType, ChapterChooserScreen::Done onDone) {
    auto s = std::make_unique<FacadeWebScreen>(
        tab, ChapterChooserScreen::kTitle,
        json{{"parts",
              {{{"part", "tabs"}},
               {{"part", "rows"}, {"icon", "chapter"}, {"empty", "没有可选的章节"}},
               buttonsPart({ChapterChooserScreen::kSelectAll, ChapterChooserScreen::kClearAll,
                            kChooserDone})}}});
    RemoteViews& v = s->remote();
    auto& logic = s->own<ChapterChooserScreen>(
        tab.context().api.dalCourse(), ChapterChooserScreen::Views{v, v, v, *s},
        CommonSetting::CourseId(), std::move(items), chapterType, std::move(onDone));
    s->onOpen([&logic] { logic.open(); });
    // Leaving the chooser hands the choice to the form, by the back button as by "确定".
    s->onBack([&logic] { logic.done(); });
    s->on("row", [&logic](const json& e) { logic.toggleRow(FacadeWebScreen::number(e, "index")); });
    s->on("tab", [&logic](const json& e) {
        logic.selectChapterType(FacadeWebScreen::number(e, "index"));
    });
    s->on("action", [&logic](const json& e) {
        const std::string pressed = caption(e);
        if (pressed == ChapterChooserScreen::kSelectAll) logic.selectAll();
        if (pressed == ChapterChooserScreen::kClearAll) logic.clearAll();
        if (pressed == kChooserDone) logic.done();
    });
    return s;
}

std::unique_ptr<WebScreen> paperCreate(WebTab& tab, std::function<void(int paperId)> onCreated) {
    const auto field = [](const char* name, const char* hint) {
        return json{{"name", name}, {"hint", hint}, {"type", "text"}};
    };
    auto s = std::make_unique<FacadeWebScreen>(
        tab, PaperCreateScreen::kTitle,
        json{{"parts",
              {{{"part", "fields"},
                {"fields",
                 {field(PaperCreateScreen::kNameField, PaperCreateScreen::kNameHint),
                  field(PaperCreateScreen::kScoreField, PaperCreateScreen::kScoreHint),
                  field(PaperCreateScreen::kTimeField, PaperCreateScreen::kTimeHint)}}},
               {{"part", "rows"}, {"icon", ""}, {"empty", ""}},
               buttonsPart({PaperCreateScreen::kSubmitButton})}}});
    RemoteViews& v = s->remote();
    auto& logic = s->own<PaperCreateScreen>(
        tab.context().api, PaperCreateScreen::Views{v, v, v, v, v, v, v, *s}, std::move(onCreated));
    s->answers(PaperCreateScreen::kChapterChooserRoute, [&tab, &logic,
                                                         life = s->life()](const std::string&) {
        return chapterChooser(
            tab, logic.chapterItems().value_or(std::vector<BaseItemEntity>{}), logic.chapterType(),
            whileAlive(life, [&logic](std::vector<BaseItemEntity> items, int type) {
                logic.chaptersChosen(std::move(items), type);
            }));
    });
    s->onOpen([&logic] { logic.open(); });
    s->on("row", [&logic](const json& e) {
        const std::string row = caption(e);
        if (row == PaperCreateScreen::kTypesRow) logic.chooseTypes();
        if (row == PaperCreateScreen::kChaptersRow) logic.chooseChapters();
    });
    s->on("action", [&logic](const json& e) {
        if (caption(e) == PaperCreateScreen::kSubmitButton) logic.submit();
    });
    return s;
}

}  // namespace

std::unique_ptr<WebScreen> paperList(WebTab& tab) {
    auto s = std::make_unique<FacadeWebScreen>(
        tab, PaperListScreen::kTitle,
        json{{"parts",
              {{{"part", "rows"},
                {"icon", "home_button_exam"},
                {"empty", "还没有试卷，点击“随机组卷”组一份"},
                {"actions",
                 {PaperListScreen::kStartButton, PaperListScreen::kReviewButton,
                  PaperListScreen::kDeleteButton}}},
               buttonsPart({PaperListScreen::kCreateButton})}}});
    RemoteViews& v = s->remote();
    auto& logic = s->own<PaperListScreen>(tab.context().api,
                                          PaperListScreen::Views{v, v, v, v, *s, s->practice()});
    s->answers(PaperListScreen::kCreateRoute, [&tab, &logic, life = s->life()](const std::string&) {
        return paperCreate(tab, whileAlive(life, [&logic](int id) { logic.paperCreated(id); }));
    });
    s->onOpen([&logic] { logic.open(); });
    s->onShownAgain([&logic] { logic.reload(); });
    s->on("action", [&logic](const json& e) {
        if (caption(e) == PaperListScreen::kCreateButton) logic.createPaper();
    });
    s->on("rowaction", [&logic](const json& e) {
        const int row = FacadeWebScreen::number(e, "index");
        const std::string pressed = caption(e);
        if (pressed == PaperListScreen::kStartButton) logic.startPaper(row);
        if (pressed == PaperListScreen::kReviewButton) logic.reviewPaper(row);
        if (pressed == PaperListScreen::kDeleteButton) logic.deletePaper(row);
    });
    return s;
}

std::unique_ptr<WebScreen> paperResult(WebTab& tab, int paperId,
                                       std::function<void(int choice)> onClose) {
    const json labels = json::array({
        label(PaperResultScreen::kPaperLabel, "heading"),
        label(PaperResultScreen::kSummaryLabel, "text"),
        label(PaperResultScreen::kScoreLabel, "score", "", " 分"),
        label(PaperResultScreen::kCorrectLabel, "text", "答对: ", " 题"),
        label(PaperResultScreen::kWrongLabel, "text", "答错: ", " 题"),
    });
    auto s =
        std::make_unique<FacadeWebScreen>(tab, std::string(),
                                          json{{"parts",
                                                {{{"part", "labels"}, {"labels", labels}},
                                                 buttonsPart({PaperListScreen::kReviewButton})}}});
    RemoteViews& v = s->remote();
    auto& logic =
        s->own<PaperResultScreen>(tab.context().api.dalCourse(), PaperResultScreen::Views{v, v, *s},
                                  paperId, std::move(onClose));
    s->onOpen([&logic] { logic.open(); });
    s->onBack([&logic] { logic.back(); });
    s->on("action", [&logic](const json& e) {
        if (caption(e) == PaperListScreen::kReviewButton) logic.review();
    });
    return s;
}

std::unique_ptr<WebScreen> chapterResult(WebTab& tab, int chapterId) {
    const json labels = json::array({
        label(ChapterResultScreen::kHeadingLabel, "heading"),
        label(ChapterResultScreen::kAnsweredLabel, "text"),
        label(ChapterResultScreen::kRateLabel, "text"),
        label(ChapterResultScreen::kCorrectLabel, "text"),
        label(ChapterResultScreen::kTotalLabel, "text"),
    });
    auto s = std::make_unique<FacadeWebScreen>(
        tab, std::string(),
        json{{"parts",
              {{{"part", "labels"}, {"labels", labels}}, buttonsPart({kChapterResultButton})}}});
    RemoteViews& v = s->remote();
    auto& logic = s->own<ChapterResultScreen>(tab.context().api.dalCourse(),
                                              ChapterResultScreen::Views{v, v, *s}, chapterId);
    s->onOpen([&logic] { logic.open(); });
    s->onBack([&logic] { logic.close(); });
    s->on("action", [&logic](const json& e) {
        if (caption(e) == kChapterResultButton) logic.close();
    });
    return s;
}

std::unique_ptr<WebScreen> pageSettings(WebTab& tab, PracticeScreens::Closed onClose) {
    auto s = std::make_unique<FacadeWebScreen>(
        tab, PageSettingsScreen::kTitle,
        json{{"parts",
              {switchesPart(
                   {PageSettingsScreen::kScreenLightSwitch, PageSettingsScreen::kNightModeSwitch}),
               {{"part", "rows"}, {"icon", ""}, {"empty", ""}}}}});
    RemoteViews& v = s->remote();
    auto& logic = s->own<PageSettingsScreen>(PageSettingsScreen::Views{v, v, v, v, *s});
    s->onOpen([&logic] { logic.open(); });
    // The session that opened the settings hears once, as they close, whether anything changed.
    s->onBack([&logic, &v, onClose = std::move(onClose)]() mutable {
        auto closed = std::exchange(onClose, nullptr);
        v.popScreen();
        if (closed) closed(logic.changed());
    });
    s->on("row", [&logic](const json& e) {
        const std::string row = caption(e);
        if (row == PageSettingsScreen::kFontSizeRow) logic.chooseFontSize();
        if (row == PageSettingsScreen::kRestoreRow) logic.restoreDefaults();
        if (row == PageSettingsScreen::kClearRow) logic.openClearing();
    });
    s->on("switch", [&logic](const json& e) {
        const std::string which = caption(e);
        const bool on = e.value("on", false);
        if (which == PageSettingsScreen::kScreenLightSwitch) logic.setScreenLight(on);
        if (which == PageSettingsScreen::kNightModeSwitch) logic.setNightMode(on);
    });
    return s;
}

std::unique_ptr<WebScreen> clearData(WebTab& tab) {
    auto s = std::make_unique<FacadeWebScreen>(
        tab, ClearDataScreen::kTitle,
        json{{"parts",
              {switchesPart({ClearDataScreen::kTestHistory, ClearDataScreen::kCollect,
                             ClearDataScreen::kPapers}),
               buttonsPart({ClearDataScreen::kClearButton})}}});
    RemoteViews& v = s->remote();
    auto& logic = s->own<ClearDataScreen>(tab.context().api, ClearDataScreen::Views{v, v, v, v});
    s->onOpen([&logic] { logic.open(); });
    s->on("switch", [&logic](const json& e) { logic.setItem(caption(e), e.value("on", false)); });
    s->on("action", [&logic](const json& e) {
        if (caption(e) == ClearDataScreen::kClearButton) logic.clear();
    });
    return s;
}

std::unique_ptr<WebScreen> examDay(WebTab& tab) {
    const auto labelPart = [](const json& one) {
        return json{{"part", "labels"}, {"labels", json::array({one})}};
    };
    auto s = std::make_unique<FacadeWebScreen>(
        tab, ExamDayScreen::kTitle,
        json{{"parts",
              {labelPart(label(ExamDayScreen::kCaptionLabel, "caption")),
               {{"part", "date"}},
               labelPart(label(ExamDayScreen::kDaysLabel, "score"))}}});
    RemoteViews& v = s->remote();
    auto& logic = s->own<ExamDayScreen>(ExamDayScreen::Views{v, v, v});
    s->onOpen([&logic] { logic.open(); });
    s->on("date", [&logic](const json& e) { logic.dateChanged(FacadeWebScreen::text(e, "date")); });
    return s;
}

}  // namespace examora::paper_web_adapters
