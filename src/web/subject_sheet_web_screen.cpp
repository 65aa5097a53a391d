// SubjectSheetWebScreen: the answer sheet of a practice run.

#include "web/subject_sheet_web_screen.h"

#include "app/common_setting.h"
#include "engine/course_util.h"
#include "facade/api_manager.h"
#include "web/web_context.h"
#include "web/web_tab.h"

namespace examora {

using nlohmann::json;

SubjectSheetWebScreen::SubjectSheetWebScreen(WebTab& tab, int showTime, int parentId,
                                             SubjectFilter filter,
                                             std::function<void(int subjectId)> onSelect)
    : WebScreen(tab, "sheet", "答题卡"), showTime_(showTime), onSelect_(std::move(onSelect)) {
    tab.context().api.loadSubjectExamEntityList_withShowTime(
        showTime, CommonSetting::CourseId(), parentId, filter,
        [this](std::optional<std::vector<CourseSubjectExamEntity>> list, const ExamError*) {
            entries_ = list.value_or(std::vector<CourseSubjectExamEntity>{});
        });
}

json SubjectSheetWebScreen::spec() const {
    // A paper being taken shows only what is answered, never whether it is right.
    const bool verdicts = !CourseUtil::isExamShowTime(showTime_);
    json cells = json::array();
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const auto& e = entries_[i];
        std::string state;
        if (!e.myanswer.empty()) state = !verdicts ? "answered" : e.correct ? "right" : "wrong";
        cells.push_back({{"label", std::to_string(i + 1)}, {"state", state}});
    }
    json buttons = json::array({kSubmit});
    if (CourseUtil::isTestShowTime(showTime_)) buttons.push_back(kRedo);
    return {{"cells", cells}, {"buttons", buttons}};
}

void SubjectSheetWebScreen::handle(const json& event) {
    const std::string kind = event.value("e", "");
    if (kind == "cell") {
        const int index = event.value("index", -1);
        if (index >= 0 && index < static_cast<int>(entries_.size())) {
            choose(entries_[index].subjectid);
        }
    } else if (kind == "action") {
        const std::string caption = event.value("caption", "");
        if (caption == kSubmit) choose(-99);
        if (caption == kRedo) choose(-98);
    }
}

void SubjectSheetWebScreen::choose(int subjectId) {
    auto onSelect = std::move(onSelect_);
    onSelect_ = nullptr;
    tab().popScreen(id());
    if (onSelect) onSelect(subjectId);
}

}  // namespace examora
