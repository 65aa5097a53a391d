// CourseSelectScreen: classes, sub-classes, courses, name search, own courses and the district.

#include "facade/screens/course_select_screen.h"

#include "app/common_setting.h"
#include "platform/text_util.h"

namespace examora {

CourseSelectScreen::CourseSelectScreen(APIManager& api, Views views, Selected onSelected)
    : api_(api), views_(views), onSelected_(std::move(onSelected)) {}

void CourseSelectScreen::open() {
    views_.title.setTitle(kTitle);
    views_.tabs.showTabs({kAllTab, kMineTab}, 0);
    showClasses();
}

void CourseSelectScreen::selectTab(int tab) {
    if (tab == 1) {
        showMyCourses();
    } else {
        showClasses();
    }
}

void CourseSelectScreen::show(Level level, std::optional<std::vector<BaseItemEntity>> items,
                              const ExamError* error) {
    if (error) {
        views_.tip.showTip(error->reason());
        return;
    }
    level_ = level;
    items_ = items ? std::move(*items) : std::vector<BaseItemEntity>{};
    std::vector<RowListView::Row> rows;
    const bool opens = level == Level::Classes || level == Level::SubClasses;
    for (const BaseItemEntity& item : items_)
        rows.push_back({item.name, item.memo, opens});
    views_.rows.showRows(rows);
}

void CourseSelectScreen::showClasses() {
    api_.loadCourseClass_withShowMyBook(false, [this](auto items, const ExamError* error) {
        show(Level::Classes, std::move(items), error);
    });
}

void CourseSelectScreen::showSubClasses(int classId) {
    classId_ = classId;
    api_.loadCourseSubClass_withclassId(classId, [this](auto items, const ExamError* error) {
        show(Level::SubClasses, std::move(items), error);
    });
}

void CourseSelectScreen::showCourses(int classId, int subClassId, const std::string& filter) {
    api_.loadCourse_withclassId(classId, subClassId, filter,
                                [this](auto items, const ExamError* error) {
                                    show(Level::Courses, std::move(items), error);
                                });
}

void CourseSelectScreen::showMyCourses() {
    api_.loadCourse_withclassId(-1, -1, std::string(), [this](auto items, const ExamError* error) {
        if (items) {
            std::erase_if(*items, [this](const BaseItemEntity& item) {
                return !api_.dalCourse().checkCourseHadDownload(Value(item.key).asInt());
            });
        }
        show(Level::MyCourses, std::move(items), error);
    });
}

void CourseSelectScreen::selectRow(int row) {
    if (row < 0 || row >= static_cast<int>(items_.size())) return;
    const int id = Value(items_[static_cast<std::size_t>(row)].key).asInt();
    switch (level_) {
        case Level::Classes:
            showSubClasses(id);
            break;
        case Level::SubClasses:
            showCourses(classId_, id, std::string());
            break;
        case Level::Courses:
        case Level::MyCourses:
            chooseCourse(id);
            break;
    }
}

void CourseSelectScreen::search(const std::string& text) {
    const std::string trimmed = trim(text);
    if (trimmed.empty()) return;
    showCourses(-1, -1, trimmed);
}

void CourseSelectScreen::back() {
    switch (level_) {
        case Level::SubClasses:
            showClasses();
            break;
        case Level::Courses:
            if (classId_ >= 1) {
                showSubClasses(classId_);
            } else {
                showClasses();
            }
            break;
        case Level::Classes:
        case Level::MyCourses:
            views_.navigation.popScreen();
            break;
    }
}

void CourseSelectScreen::chooseCourse(int courseId) {
    CourseUtil& course = api_.dalCourse();
    if (!course.checkCourseHadDistrict(courseId)) {
        finish(courseId, std::string());
        return;
    }
    const std::vector<std::string> districts = course.loadDistrict();
    if (districts.empty()) {
        finish(courseId, std::string());
        return;
    }
    std::vector<BaseItemEntity> items;
    for (std::size_t i = 0; i < districts.size(); ++i) {
        BaseItemEntity item;
        item.initWithPara(districts[i], districts[i], std::string(), static_cast<int>(i), Bytes{});
        item.selected = districts[i] == CommonSetting::District();
        items.push_back(std::move(item));
    }
    views_.chooser.chooseFromList(
        kDistrictTitle, std::move(items), false,
        [this, courseId](std::optional<std::vector<BaseItemEntity>> chosen) {
            if (!chosen) return;
            for (const BaseItemEntity& item : *chosen) {
                if (item.selected) {
                    finish(courseId, item.name);
                    return;
                }
            }
        });
}

void CourseSelectScreen::finish(int courseId, const std::string& district) {
    views_.navigation.popScreen();
    if (onSelected_) onSelected_(courseId, district);
}

}  // namespace examora
