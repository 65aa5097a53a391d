// ErrorReportEditor: the logic of a subject's correction screen.

#include "facade/error_report_editor.h"

#include "platform/exam_error.h"
#include "platform/text_util.h"

namespace examora {

std::vector<std::string> ErrorReportEditor::errorTypeNames() {
    return {"题目有错", "答案有错"};
}

void ErrorReportEditor::selectErrorType(int type) {
    if (type == 0 || type == 1) errorType_ = type;
}

EditorOutcome ErrorReportEditor::submit(const std::string& text) {
    EditorOutcome outcome;
    if (isEmpty(std::string_view(text))) {
        outcome.alert = EditorOutcome::Alert{"提示", "请输入纠错的文字！", "知道了"};
        return outcome;
    }
    try {
        store_.writeSubjectError(subjectId_, errorType_, text);
    } catch (const ExamError& e) {
        outcome.alert = EditorOutcome::Alert{e.name(), e.reason(), "知道了"};
        return outcome;
    }
    outcome.saved = true;
    return outcome;
}

}  // namespace examora
