#pragma once

#include <string>
#include <vector>

#include "engine/course_util.h"
#include "facade/editor_outcome.h"

namespace examora {

// The logic of the correction screen ("错题纠正") of one subject: a choice between "题目有错"
// (error type 0) and "答案有错" (1), a text, and "提交".
class ErrorReportEditor {
  public:
    static constexpr const char* kTitle = "错题纠正";
    static constexpr const char* kHint = "感谢您的反馈,为了能及时修正,请尽量填写详细";

    ErrorReportEditor(CourseUtil& store, int subjectId) : store_(store), subjectId_(subjectId) {}

    // The choice's captions, in error-type order.
    static std::vector<std::string> errorTypeNames();
    int errorType() const { return errorType_; }
    // Types other than 0 and 1 are ignored.
    void selectErrorType(int type);

    // Stores the report (replacing the subject's earlier one). An empty text, or a failure, comes
    // back as an alert and changes nothing.
    EditorOutcome submit(const std::string& text);

  private:
    CourseUtil& store_;
    int subjectId_;
    int errorType_ = 0;
};

}  // namespace examora
