// The facade's list screens (course selection, chapter tree, selection lists, wrong-answer drill,
// memory review, search, outline) over the browser's views.

#include "web/list_web_adapters.h"

#include <cstdint>

#include "facade/api_manager.h"
#include "facade/review_texts.h"
#include "facade/screens/chapter_select_screen.h"
#include "facade/screens/ebbinghaus_screen.h"
#include "facade/screens/error_drill_screen.h"
#include "facade/screens/error_filter_screen.h"
#include "facade/screens/outline_page_screen.h"
#include "facade/screens/outline_screen.h"
#include "facade/screens/search_screen.h"
#include "facade/screens/select_subject_screen.h"
#include "platform/notification_center.h"
#include "platform/text_util.h"
#include "platform/value.h"
#include "sync/base_item_downloader.h"
#include "web/facade_web_screen.h"
#include "web/remote_page_view.h"
#include "web/web_context.h"
#include "web/web_tab.h"

namespace examora::list_web_adapters {

using nlohmann::json;

namespace {

constexpr const char* kMoreButton = "更多";
constexpr const char* kSearchButton = "搜索";
constexpr const char* kCourseSearchField = "课程名称";
constexpr const char* kSubjectSearchField = "搜索内容";

json rowsPart(const char* icon, const char* empty, bool tree = false) {
    return {{"part", "rows"}, {"icon", icon}, {"empty", empty}, {"tree", tree}};
}

json buttonsPart(std::initializer_list<const char*> captions) {
    json list = json::array();
    for (const char* caption : captions)
        list.push_back(caption);
    return {{"part", "buttons"}, {"captions", list}};
}

json searchPart(const char* field) {
    return {{"part", "search"}, {"name", field}, {"button", kSearchButton}};
}

// Keeps a notification observer for the screen's life.
class Observation {
  public:
    Observation(const char* name, std::function<void()> work)
        : id_(NotificationCenter::defaultCenter().addObserver(
              name, [work = std::move(work)](const Notification&) { work(); })) {}
    ~Observation() { NotificationCenter::defaultCenter().removeObserver(id_); }
    Observation(const Observation&) = delete;
    Observation& operator=(const Observation&) = delete;

  private:
    std::uint64_t id_;
};

// A row tap of the browser goes to the logic's selectRow.
template <class Logic>
void rowsSelect(FacadeWebScreen& s, Logic& logic) {
    s.on("row", [&logic](const json& e) { logic.selectRow(FacadeWebScreen::number(e, "index")); });
}

}  // namespace

std::unique_ptr<WebScreen> courseSelect(WebTab& tab, CourseSelectScreen::Selected onSelected) {
    auto s = std::make_unique<FacadeWebScreen>(
        tab, CourseSelectScreen::kTitle,
        json{{"parts",
              {{{"part", "tabs"}},
               searchPart(kCourseSearchField),
               rowsPart("course", "暂无数据，正在从服务器更新…")}}});
    RemoteViews& v = s->remote();
    auto& logic = s->own<CourseSelectScreen>(
        tab.context().api, CourseSelectScreen::Views{v, v, v, v, v, *s}, std::move(onSelected));
    // The catalogue may arrive after the screen: the classes list again when it does.
    s->own<Observation>(BaseItemDownloader::kDownloadedNotification, [&logic] {
        if (logic.level() == CourseSelectScreen::Level::Classes) logic.selectTab(0);
    });
    s->onOpen([&logic] { logic.open(); });
    s->onBack([&logic] { logic.back(); });
    rowsSelect(*s, logic);
    s->on("tab", [&logic](const json& e) { logic.selectTab(FacadeWebScreen::number(e, "index")); });
    s->on("action", [&logic, &v](const json& e) {
        if (FacadeWebScreen::text(e, "caption") == kSearchButton) {
            logic.search(v.fieldText(kCourseSearchField));
        }
    });
    return s;
}

std::unique_ptr<WebScreen> chapterSelect(WebTab& tab, const std::string& argument) {
    auto s = std::make_unique<FacadeWebScreen>(
        tab, std::string(), json{{"parts", {rowsPart("chapter", "没有可练习的章节", true)}}});
    RemoteViews& v = s->remote();
    auto& logic = s->own<ChapterSelectScreen>(ChapterSelectScreen::fromArgument(
        tab.context().api, ChapterSelectScreen::Views{v, v, v, *s, s->practice()}, argument));
    s->onOpen([&logic] { logic.open(); });
    s->onShownAgain([&logic] { logic.reload(); });
    s->onBack([&logic] { logic.back(); });
    rowsSelect(*s, logic);
    return s;
}

std::unique_ptr<WebScreen> selectSubject(WebTab& tab, const std::string& argument) {
    const std::vector<std::string> parts = split(argument, "/");
    const int showTime = parts.empty() ? 0 : Value(parts[0]).asInt();
    auto s = std::make_unique<FacadeWebScreen>(
        tab, ChapterSelectScreen::titleOf(showTime),
        json{{"parts", {rowsPart("subject", "没有任何试题"), buttonsPart({kMoreButton})}}});
    RemoteViews& v = s->remote();
    auto& logic = s->own<SelectSubjectScreen>(SelectSubjectScreen::fromArgument(
        tab.context().api, SelectSubjectScreen::Views{v, v, *s, s->practice()}, argument));
    const auto more = [&logic, &v] { v.setButtonEnabled(kMoreButton, logic.hasMore()); };
    s->onOpen([&logic, more] {
        logic.open();
        more();
    });
    s->onShownAgain([&logic, more] {
        logic.reload();
        more();
    });
    rowsSelect(*s, logic);
    s->on("action", [&logic, more](const json& e) {
        if (FacadeWebScreen::text(e, "caption") != kMoreButton) return;
        logic.loadMore();
        more();
    });
    return s;
}

std::unique_ptr<WebScreen> errorFilter(WebTab& tab) {
    auto s = std::make_unique<FacadeWebScreen>(
        tab, ErrorFilterScreen::kTitle, json{{"parts", {rowsPart("home_button_myerror", "")}}});
    RemoteViews& v = s->remote();
    auto& logic = s->own<ErrorFilterScreen>(ErrorFilterScreen::Views{v, v, *s});
    s->onOpen([&logic] { logic.open(); });
    rowsSelect(*s, logic);
    return s;
}

std::unique_ptr<WebScreen> errorDrill(WebTab& tab, const std::string& argument) {
    auto s = std::make_unique<FacadeWebScreen>(
        tab, std::string(),
        json{{"parts", {{{"part", "tabs"}}, rowsPart("home_button_myerror", "没有任何试题")}}});
    RemoteViews& v = s->remote();
    auto& logic = s->own<ErrorDrillScreen>(tab.context().api,
                                           ErrorDrillScreen::Views{v, v, v, v, *s, s->practice()},
                                           Value(argument).asInt());
    s->onOpen([&logic] { logic.open(); });
    s->onShownAgain([&logic] { logic.reload(); });
    rowsSelect(*s, logic);
    s->on("tab", [&logic](const json& e) { logic.selectTab(FacadeWebScreen::number(e, "index")); });
    return s;
}

std::unique_ptr<WebScreen> ebbinghaus(WebTab& tab) {
    const json labels = json::array({
        {{"name", EbbinghausScreen::kIntroHeading}, {"style", "heading"}},
        {{"name", EbbinghausScreen::kIntroText}, {"style", "text"}},
        {{"name", EbbinghausScreen::kPeriodsHeading}, {"style", "heading"}},
    });
    auto s = std::make_unique<FacadeWebScreen>(tab, memoryTabTitles().front(),
                                               json{{"parts",
                                                     {{{"part", "tabs"}},
                                                      {{"part", "labels"}, {"labels", labels}},
                                                      rowsPart("menu_date", "没有任何试题")}}});
    RemoteViews& v = s->remote();
    auto& logic = s->own<EbbinghausScreen>(tab.context().api,
                                           EbbinghausScreen::Views{v, v, v, v, s->practice()});
    s->onOpen([&logic] { logic.open(); });
    s->onShownAgain([&logic] { logic.reload(); });
    rowsSelect(*s, logic);
    s->on("tab", [&logic, &v](const json& e) {
        const int index = FacadeWebScreen::number(e, "index");
        logic.selectTab(index);
        // The explanation's texts show on their own tab only.
        if (index == EbbinghausScreen::kPeriodsTab) {
            for (const char* name : {EbbinghausScreen::kIntroHeading, EbbinghausScreen::kIntroText,
                                     EbbinghausScreen::kPeriodsHeading}) {
                v.setLabelText(name, std::string());
            }
        }
    });
    return s;
}

std::unique_ptr<WebScreen> search(WebTab& tab) {
    auto s = std::make_unique<FacadeWebScreen>(
        tab, SearchScreen::kTitle,
        json{{"parts",
              {searchPart(kSubjectSearchField), rowsPart("subject", "暂无搜索结果"),
               buttonsPart({kMoreButton})}}});
    RemoteViews& v = s->remote();
    auto& logic =
        s->own<SearchScreen>(tab.context().api, SearchScreen::Views{v, v, v, s->practice()});
    const auto more = [&logic, &v] { v.setButtonEnabled(kMoreButton, logic.hasMore()); };
    s->onOpen([&logic, more] {
        logic.open();
        more();
    });
    rowsSelect(*s, logic);
    s->on("action", [&logic, &v, more](const json& e) {
        const std::string caption = FacadeWebScreen::text(e, "caption");
        if (caption == kSearchButton) logic.search(v.fieldText(kSubjectSearchField));
        if (caption == kMoreButton) logic.loadMore();
        more();
    });
    return s;
}

std::unique_ptr<WebScreen> outline(WebTab& tab) {
    auto s = std::make_unique<FacadeWebScreen>(
        tab, OutlineScreen::kTitle,
        json{{"parts", {rowsPart("home_button_guide", "本课程暂无考试大纲", true)}}});
    RemoteViews& v = s->remote();
    auto& logic = s->own<OutlineScreen>(tab.context().api, OutlineScreen::Views{v, v, v, *s});
    s->onOpen([&logic] { logic.open(); });
    s->onBack([&logic] { logic.back(); });
    rowsSelect(*s, logic);
    return s;
}

std::unique_ptr<WebScreen> outlinePage(WebTab& tab, const std::string& argument) {
    auto s = std::make_unique<FacadeWebScreen>(tab, OutlineScreen::kTitle, json::object());
    RemoteViews& v = s->remote();
    auto& page = s->own<RemotePageView>(tab.context().pages, v);
    s->setSpec({{"parts", {{{"part", "page"}, {"page", page.pageId()}}}}});
    auto& logic = s->own<OutlinePageScreen>(tab.context().api, OutlinePageScreen::Views{v, page},
                                            Value(argument).asInt());
    s->onOpen([&logic] { logic.open(); });
    // The one address the page may load is a web page of its own: the browser opens it beside
    // the interface, as a phone opens it over the screen.
    s->on("link", [&page, &v](const json& e) {
        const std::string url = FacadeWebScreen::text(e, "url");
        if (page.navigate(FacadeWebScreen::number(e, "load"), url)) v.send("url", {{"url", url}});
    });
    return s;
}

}  // namespace examora::list_web_adapters
