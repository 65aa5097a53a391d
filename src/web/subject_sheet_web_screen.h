#pragma once

#include <functional>
#include <vector>

#include "engine/subject_filter.h"
#include "store/records/course_subject_exam_entity.h"
#include "web/web_screen.h"

namespace examora {

// The answer sheet of a practice run: one numbered cell per subject, marked answered, right or
// wrong as the mode allows, and the buttons to submit or to start over. A choice goes back to
// the session as a subject id, -99 (submit) or -98 (start over), and closes the sheet.
class SubjectSheetWebScreen : public WebScreen {
  public:
    static constexpr const char* kSubmit = "提交试卷";
    static constexpr const char* kRedo = "重新练习";

    SubjectSheetWebScreen(WebTab& tab, int showTime, int parentId, SubjectFilter filter,
                          std::function<void(int subjectId)> onSelect);

    nlohmann::json spec() const override;

  protected:
    void handle(const nlohmann::json& event) override;

  private:
    void choose(int subjectId);

    int showTime_;
    std::vector<CourseSubjectExamEntity> entries_;
    std::function<void(int)> onSelect_;
};

}  // namespace examora
