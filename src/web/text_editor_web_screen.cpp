// TextEditorWebScreen: the note and correction-report forms of a subject.

#include "web/text_editor_web_screen.h"

#include "facade/api_manager.h"
#include "web/web_context.h"
#include "web/web_tab.h"

namespace examora {

using nlohmann::json;

std::unique_ptr<TextEditorWebScreen> TextEditorWebScreen::noteEditor(WebTab& tab, int subjectId,
                                                                     int noteId, Closed onClose) {
    auto note = std::make_unique<NoteEditor>(tab.context().api.dalCourse(), subjectId, noteId);
    std::string title = note->title();
    return std::make_unique<TextEditorWebScreen>(tab, title.empty() ? "笔记" : title,
                                                 std::move(note), nullptr, std::move(onClose));
}

std::unique_ptr<TextEditorWebScreen> TextEditorWebScreen::errorReport(WebTab& tab, int subjectId,
                                                                      Closed onClose) {
    auto report = std::make_unique<ErrorReportEditor>(tab.context().api.dalCourse(), subjectId);
    return std::make_unique<TextEditorWebScreen>(tab, ErrorReportEditor::kTitle, nullptr,
                                                 std::move(report), std::move(onClose));
}

TextEditorWebScreen::TextEditorWebScreen(WebTab& tab, std::string title,
                                         std::unique_ptr<NoteEditor> note,
                                         std::unique_ptr<ErrorReportEditor> report, Closed onClose)
    : WebScreen(tab, "form", std::move(title)),
      note_(std::move(note)),
      report_(std::move(report)),
      onClose_(std::move(onClose)) {
    if (note_) views().setFieldText(kTextField, note_->text());
}

TextEditorWebScreen::~TextEditorWebScreen() {
    // A screen closed without a choice (the tab went away) still reports once.
    if (onClose_) onClose_(false);
}

json TextEditorWebScreen::spec() const {
    json fields = json::array();
    if (report_) {
        fields.push_back({{"name", kTypeField},
                          {"type", "choice"},
                          {"options", ErrorReportEditor::errorTypeNames()},
                          {"value", std::to_string(report_->errorType())}});
        fields.push_back(
            {{"name", kTextField}, {"type", "textarea"}, {"hint", ErrorReportEditor::kHint}});
    } else {
        fields.push_back({{"name", kTextField},
                          {"type", "textarea"},
                          {"hint", NoteEditor::kHint},
                          {"value", note_->text()}});
    }
    return {{"fields", fields}, {"buttons", {kSubmit}}};
}

void TextEditorWebScreen::back() {
    close(false);
}

void TextEditorWebScreen::handle(const json& event) {
    if (event.value("e", "") != "action" || event.value("caption", "") != kSubmit) return;
    const std::string text = views().fieldText(kTextField);
    EditorOutcome outcome;
    if (report_) {
        report_->selectErrorType(std::atoi(views().fieldText(kTypeField).c_str()));
        outcome = report_->submit(text);
    } else {
        outcome = note_->submit(text);
    }
    if (outcome.alert) {
        views().showDialog(outcome.alert->title, outcome.alert->message,
                           {outcome.alert->button.empty() ? "确定" : outcome.alert->button},
                           nullptr);
    }
    if (outcome.saved) close(true);
}

void TextEditorWebScreen::close(bool changed) {
    Closed onClose = std::move(onClose_);
    onClose_ = nullptr;
    tab().popScreen(id());
    if (onClose) onClose(changed);
}

}  // namespace examora
