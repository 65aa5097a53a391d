#pragma once

#include <functional>
#include <string>
#include <vector>

#include "facade/api_manager.h"
#include "facade/views/list_chooser_view.h"
#include "facade/views/navigation_view.h"
#include "facade/views/row_list_view.h"
#include "facade/views/tab_view.h"
#include "facade/views/tip_view.h"
#include "facade/views/title_view.h"

namespace examora {

// Course selection: the examination classes, a class's sub-classes, a sub-class's courses, a
// search of course names, and the learner's own courses (those with content on the device). A
// course with districts asks for the district before it is chosen. The choice goes to
// `onSelected` (the main screen's didSelectCourseId, or the launch's first course) and the
// screen closes.
class CourseSelectScreen {
  public:
    static constexpr const char* kRoute = "course_select";
    static constexpr const char* kTitle = "选择科目";
    static constexpr const char* kDistrictTitle = "地区选择";
    // The two tabs: the catalogue and the learner's own courses.
    static constexpr const char* kAllTab = "全部科目";
    static constexpr const char* kMineTab = "我的科目";

    enum class Level { Classes, SubClasses, Courses, MyCourses };

    struct Views {
        TitleView& title;
        TabView& tabs;
        RowListView& rows;
        ListChooserView& chooser;
        TipView& tip;
        NavigationView& navigation;
    };

    using Selected = std::function<void(int courseId, const std::string& district)>;

    CourseSelectScreen(APIManager& api, Views views, Selected onSelected);

    // Shows the classes.
    void open();
    // Tab 0 the catalogue's classes, tab 1 the learner's own courses.
    void selectTab(int tab);
    // A row of the current list: a class opens its sub-classes, a sub-class its courses, a
    // course is chosen.
    void selectRow(int row);
    // The name search over every course; the text is trimmed and an empty one starts nothing.
    void search(const std::string& text);
    // Back one level; from the classes the screen closes without a choice.
    void back();

    Level level() const { return level_; }
    const std::vector<BaseItemEntity>& items() const { return items_; }

  private:
    void showClasses();
    void showSubClasses(int classId);
    void showCourses(int classId, int subClassId, const std::string& filter);
    void showMyCourses();
    void show(Level level, std::optional<std::vector<BaseItemEntity>> items,
              const ExamError* error);
    void chooseCourse(int courseId);
    void finish(int courseId, const std::string& district);

    APIManager& api_;
    Views views_;
    Selected onSelected_;
    Level level_ = Level::Classes;
    int classId_ = 0;
    std::vector<BaseItemEntity> items_;
};

}  // namespace examora
