// PaperFormWebScreen: the form that builds a mock paper.

#include "web/paper_form_web_screen.h"

#include "app/common_setting.h"
#include "facade/api_manager.h"
#include "store/cus_setting_util.h"
#include "web/web_context.h"
#include "web/web_tab.h"

namespace examora {

using nlohmann::json;

PaperFormWebScreen::PaperFormWebScreen(WebTab& tab) : WebScreen(tab, "form", "创建试卷") {
    const int courseId = CommonSetting::CourseId();
    const std::string typscount = tab.context().api.dalCourse().getSubjectTypesOfPaper(courseId);
    layout_ = paperFormDefaults(typscount, CusSettingUtil::getSettingValue("iexamtotalscore"),
                                CusSettingUtil::getSettingValue("iexamtotaltime"));
    views().setFieldText(kScoreField, layout_.totalScore);
    views().setFieldText(kTimeField, layout_.totalTime);
}

json PaperFormWebScreen::spec() const {
    const auto field = [](const char* name, const char* type, const std::string& value) {
        return json{{"name", name}, {"type", type}, {"hint", name}, {"value", value}};
    };
    json fields =
        json::array({field(kNameField, "text", ""), field(kScoreField, "text", layout_.totalScore),
                     field(kTimeField, "text", layout_.totalTime), field(kTypesField, "picker", ""),
                     field(kChaptersField, "picker", "")});
    return {{"fields", fields}, {"buttons", {kSubmit}}, {"labels", true}};
}

void PaperFormWebScreen::handle(const json& event) {
    if (event.value("e", "") != "action") return;
    const std::string caption = event.value("caption", "");
    if (caption == kTypesField) choose(true);
    if (caption == kChaptersField) choose(false);
    if (caption == kSubmit) submit();
}

void PaperFormWebScreen::choose(bool types) {
    APIManager& api = context().api;
    std::optional<std::vector<BaseItemEntity>>& kept = types ? types_ : chapters_;
    std::vector<BaseItemEntity> items;
    if (kept) {
        items = *kept;
    } else {
        auto take = [&](std::optional<std::vector<BaseItemEntity>> list, const ExamError*) {
            items = list.value_or(std::vector<BaseItemEntity>{});
        };
        if (types) {
            api.loadSubjectTypeListOfCourse(CommonSetting::CourseId(), take);
        } else {
            api.loadChapterListForCreatePaper(CommonSetting::CourseId(), 0, take);
        }
    }
    views().chooseFromList(types ? kTypesField : kChaptersField, std::move(items), true,
                           [this, types](std::optional<std::vector<BaseItemEntity>> chosen) {
                               if (!chosen) return;
                               (types ? types_ : chapters_) = chosen;
                               views().setFieldText(types ? kTypesField : kChaptersField,
                                                    paperSelectionRowText(*chosen, types));
                           });
}

void PaperFormWebScreen::submit() {
    const std::string name = views().fieldText(kNameField);
    const std::string score = views().fieldText(kScoreField);
    const std::string time = views().fieldText(kTimeField);
    if (auto tip = paperFormTip(name, score, time)) {
        views().showTip(*tip);
        return;
    }
    views().showBusy(std::string());
    int paperId = 0;
    context().api.createPaperWithCourseId(
        CommonSetting::CourseId(), paperTextInt(score), paperTextInt(time), name,
        paperSelectedCodes(types_), paperSelectedCodes(chapters_), layout_.typesScore,
        layout_.typesCount, [&](int result, const ExamError* error) {
            if (error) views().showTip(error->reason());
            paperId = result;
        });
    views().hideBusy();
    if (paperId < 1) return;
    WebTab& tab = this->tab();
    tab.popScreen(id());
    tab.pushRoute("paper", "1:" + std::to_string(paperId));
}

}  // namespace examora
