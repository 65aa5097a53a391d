// CourseSelectWebScreen: classes, sub-classes and courses to choose from.

#include "web/course_select_web_screen.h"

#include "app/common_setting.h"
#include "app/config_helper.h"
#include "facade/api_manager.h"
#include "facade/screens/main_view_controller.h"
#include "platform/notification_center.h"
#include "platform/text_util.h"
#include "sync/base_item_downloader.h"
#include "web/web_context.h"
#include "web/web_tab.h"

namespace examora {

namespace {

const char* titleOf(int level) {
    switch (level) {
        case 0:
            return "选择考试类别";
        case 1:
            return "选择考试科目";
        default:
            return "选择课程";
    }
}

}  // namespace

CourseSelectWebScreen::CourseSelectWebScreen(WebTab& tab, const std::string& argument)
    : WebScreen(tab, "list", "") {
    const auto parts = split(argument, ":");
    if (!argument.empty() && !parts.empty()) {
        level_ = 1;
        classId_ = std::atoi(parts[0].c_str());
    }
    if (parts.size() >= 2) {
        level_ = 2;
        subClassId_ = std::atoi(parts[1].c_str());
    }
    setTitle(titleOf(level_));
    downloaded_ = NotificationCenter::defaultCenter().addObserver(
        BaseItemDownloader::kDownloadedNotification, [this](const Notification&) { load(); });
}

CourseSelectWebScreen::~CourseSelectWebScreen() {
    NotificationCenter::defaultCenter().removeObserver(downloaded_);
}

nlohmann::json CourseSelectWebScreen::spec() const {
    return {{"empty", "暂无数据，正在从服务器更新…"}, {"icon", level_ == 2 ? "course" : "folder"}};
}

void CourseSelectWebScreen::start() {
    load();
}

void CourseSelectWebScreen::shownAgain() {
    load();
}

void CourseSelectWebScreen::load() {
    APIManager& api = context().api;
    auto block = [this](std::optional<std::vector<BaseItemEntity>> list, const ExamError* error) {
        if (error) views().showTip(error->reason());
        items_ = list.value_or(std::vector<BaseItemEntity>{});
    };
    if (level_ == 0) {
        api.loadCourseClass_withShowMyBook(false, block);
    } else if (level_ == 1) {
        api.loadCourseSubClass_withclassId(classId_, block);
        // A class without sub-classes lists its courses at once.
        if (items_.empty()) {
            level_ = 2;
            setTitle(titleOf(level_));
        }
    }
    if (level_ == 2) api.loadCourse_withclassId(classId_, subClassId_, std::string(), block);
    std::vector<RowListView::Row> rows;
    for (const auto& item : items_)
        rows.push_back({item.name, item.memo, true});
    views().showRows(rows);
}

void CourseSelectWebScreen::handle(const nlohmann::json& event) {
    if (event.value("e", "") != "row") return;
    const int index = event.value("index", -1);
    if (index < 0 || index >= static_cast<int>(items_.size())) return;
    const int key = std::atoi(items_[index].key.c_str());
    if (level_ == 0) {
        tab().pushRoute(kRoute, std::to_string(key));
    } else if (level_ == 1) {
        tab().pushRoute(kRoute, std::to_string(classId_) + ":" + std::to_string(key));
    } else if (key >= 1) {
        CommonSetting::setCourseId(key);
        CommonSetting::setCourseName(items_[index].name);
        ConfigHelper::updateIntValue(ConfigHelper::kCourseId, key);
        tab().setRoot(context().router(tab(), MainViewController::kRoute, std::string()));
    }
}

}  // namespace examora
