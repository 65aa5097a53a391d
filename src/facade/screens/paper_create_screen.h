#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/paper_form.h"
#include "facade/api_manager.h"
#include "facade/views/busy_view.h"
#include "facade/views/button_view.h"
#include "facade/views/field_view.h"
#include "facade/views/list_chooser_view.h"
#include "facade/views/navigation_view.h"
#include "facade/views/row_list_view.h"
#include "facade/views/tip_view.h"
#include "facade/views/title_view.h"

namespace examora {

// The paper-creation form of the current course: name, total score and time as fields, the
// subject types and chapters as rows that open their choices, and "开始考试". The new paper's id
// goes to `onCreated` (the paper list, which takes it) and the form closes.
class PaperCreateScreen {
  public:
    static constexpr const char* kRoute = "paper_create";
    static constexpr const char* kTitle = "随机组卷";
    static constexpr const char* kNameField = "名称:";
    static constexpr const char* kScoreField = "分数:";
    static constexpr const char* kTimeField = "时间:";
    static constexpr const char* kNameHint = "请输入试卷名称";
    static constexpr const char* kScoreHint = "请输入试卷总分";
    static constexpr const char* kTimeHint = "请输入考试时间";
    static constexpr const char* kTypesRow = "题型:";
    static constexpr const char* kTypesHint = "默认为所有题型";
    static constexpr const char* kChaptersRow = "章节:";
    static constexpr const char* kChaptersHint = "默认为所有章节";
    static constexpr const char* kSubmitButton = "开始考试";
    static constexpr const char* kTypesTitle = "类型选择";
    static constexpr const char* kChapterChooserRoute = "paper_chapters";
    static constexpr const char* kFailed = "创建失败！";

    struct Views {
        TitleView& title;
        FieldView& fields;
        RowListView& rows;
        ListChooserView& chooser;
        ButtonView& buttons;
        BusyView& busy;
        TipView& tip;
        NavigationView& navigation;
    };

    PaperCreateScreen(APIManager& api, Views views, std::function<void(int paperId)> onCreated);

    // Fills the fields with the new paper's name and the course's defaults.
    void open();
    // "题型:" opens the type list (all marked the first time).
    void chooseTypes();
    // "章节:" opens the chapter chooser; its answer comes back through chaptersChosen.
    void chooseChapters();
    void chaptersChosen(std::vector<BaseItemEntity> items, int chapterType);
    // "开始考试".
    void submit();

    const std::optional<std::vector<BaseItemEntity>>& typeItems() const { return types_; }
    const std::optional<std::vector<BaseItemEntity>>& chapterItems() const { return chapters_; }
    int chapterType() const { return chapterType_; }

  private:
    void showRows();

    APIManager& api_;
    Views views_;
    std::function<void(int)> onCreated_;
    PaperLayout layout_;
    // A list the learner never opened is absent: the paper draws from all of them.
    std::optional<std::vector<BaseItemEntity>> types_;
    std::optional<std::vector<BaseItemEntity>> chapters_;
    int chapterType_ = 0;
};

}  // namespace examora
