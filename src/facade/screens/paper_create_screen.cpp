// PaperCreateScreen: the form that builds a random paper.

#include "facade/screens/paper_create_screen.h"

#include "app/common_setting.h"
#include "store/cus_setting_util.h"

namespace examora {

PaperCreateScreen::PaperCreateScreen(APIManager& api, Views views,
                                     std::function<void(int)> onCreated)
    : api_(api), views_(views), onCreated_(std::move(onCreated)) {}

void PaperCreateScreen::open() {
    const int courseId = CommonSetting::CourseId();
    CourseUtil& course = api_.dalCourse();
    views_.title.setTitle(kTitle);
    layout_ = paperFormDefaults(course.getSubjectTypesOfPaper(courseId),
                                CusSettingUtil::getSettingValue("iexamtotalscore"),
                                CusSettingUtil::getSettingValue("iexamtotaltime"));
    views_.fields.setFieldText(kNameField, course.buildNewPaperName(courseId));
    views_.fields.setFieldText(kScoreField, layout_.totalScore);
    views_.fields.setFieldText(kTimeField, layout_.totalTime);
    views_.buttons.setButtonEnabled(kSubmitButton, true);
    showRows();
}

void PaperCreateScreen::showRows() {
    views_.rows.showRows(
        {{kTypesRow, types_ ? paperSelectionRowText(*types_, true) : kTypesHint, true},
         {kChaptersRow, chapters_ ? paperSelectionRowText(*chapters_, false) : kChaptersHint,
          true}});
}

void PaperCreateScreen::chooseTypes() {
    std::vector<BaseItemEntity> items;
    if (types_) {
        items = *types_;
    } else {
        api_.loadSubjectTypeListOfCourse(
            CommonSetting::CourseId(),
            [&](std::optional<std::vector<BaseItemEntity>> list, const ExamError* error) {
                if (error) {
                    views_.tip.showTip(error->reason());
                    return;
                }
                if (list) items = std::move(*list);
            });
    }
    views_.chooser.chooseFromList(kTypesTitle, std::move(items), true,
                                  [this](std::optional<std::vector<BaseItemEntity>> chosen) {
                                      if (!chosen) return;
                                      types_ = std::move(*chosen);
                                      showRows();
                                  });
}

void PaperCreateScreen::chooseChapters() {
    views_.navigation.pushScreen(kChapterChooserRoute, std::to_string(chapterType_));
}

void PaperCreateScreen::chaptersChosen(std::vector<BaseItemEntity> items, int chapterType) {
    chapters_ = std::move(items);
    chapterType_ = chapterType;
    showRows();
}

void PaperCreateScreen::submit() {
    const std::string name = views_.fields.fieldText(kNameField);
    const std::string score = views_.fields.fieldText(kScoreField);
    const std::string time = views_.fields.fieldText(kTimeField);
    if (std::optional<std::string> tip = paperFormTip(name, score, time)) {
        views_.tip.showTip(*tip);
        return;
    }
    views_.buttons.setButtonEnabled(kSubmitButton, false);
    views_.busy.showBusy(std::string());
    int paperId = 0;
    std::optional<std::string> failure;
    api_.createPaperWithCourseId(CommonSetting::CourseId(), paperTextInt(score), paperTextInt(time),
                                 name, paperSelectedCodes(types_), paperSelectedCodes(chapters_),
                                 layout_.typesScore, layout_.typesCount,
                                 [&](int id, const ExamError* error) {
                                     if (error) {
                                         failure = error->reason();
                                     } else {
                                         paperId = id;
                                     }
                                 });
    views_.busy.hideBusy();
    if (paperId >= 1) {
        views_.navigation.popScreen();
        if (onCreated_) onCreated_(paperId);
        return;
    }
    views_.buttons.setButtonEnabled(kSubmitButton, true);
    views_.tip.showTip(failure && !failure->empty() ? *failure : std::string(kFailed));
}

}  // namespace examora
