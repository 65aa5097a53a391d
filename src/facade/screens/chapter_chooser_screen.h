#pragma once

#include <functional>
#include <vector>

#include "engine/course_util.h"
#include "facade/views/navigation_view.h"
#include "facade/views/row_list_view.h"
#include "facade/views/tab_view.h"
#include "facade/views/title_view.h"

namespace examora {

// The chapter choice of the paper-creation form ("章节选择"): the leaf chapters of one tree type,
// chosen by the switch "试卷" (type 0) / "章节" (type 1), each row marked or not, with "全选" and
// "全消". Closing hands the items with their marks to the form.
class ChapterChooserScreen {
  public:
    static constexpr const char* kRoute = "paper_chapters";
    static constexpr const char* kTitle = "章节选择";
    static constexpr const char* kSelectAll = "全选";
    static constexpr const char* kClearAll = "全消";
    static constexpr const char* kMarked = "✓";

    struct Views {
        TitleView& title;
        TabView& tabs;
        RowListView& rows;
        NavigationView& navigation;
    };

    using Done = std::function<void(std::vector<BaseItemEntity> items, int chapterType)>;

    // `items`: the choice made before, or empty to load type 0's chapters.
    ChapterChooserScreen(CourseUtil& course, Views views, int courseId,
                         std::vector<BaseItemEntity> items, int chapterType, Done onDone);

    void open();
    // The switch: another tree type loads its chapters, none marked.
    void selectChapterType(int type);
    void toggleRow(int row);
    void selectAll();
    void clearAll();
    // Back: the choice goes to the form and the screen closes.
    void done();

    int chapterType() const { return chapterType_; }
    const std::vector<BaseItemEntity>& items() const { return items_; }

  private:
    void show();

    CourseUtil& course_;
    Views views_;
    int courseId_;
    std::vector<BaseItemEntity> items_;
    int chapterType_;
    Done onDone_;
};

}  // namespace examora
