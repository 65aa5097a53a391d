#pragma once

#include <functional>
#include <memory>

#include "facade/error_report_editor.h"
#include "facade/note_editor.h"
#include "web/web_screen.h"

namespace examora {

// The note editor and the correction report of a subject: a form with one text (and, for a
// report, the choice of what is wrong) and "提交". A saved text closes the screen and tells the
// session so; a refusal shows the editor's alert.
class TextEditorWebScreen : public WebScreen {
  public:
    using Closed = std::function<void(bool changed)>;

    static constexpr const char* kTextField = "text";
    static constexpr const char* kTypeField = "type";
    static constexpr const char* kSubmit = "提交";

    static std::unique_ptr<TextEditorWebScreen> noteEditor(WebTab& tab, int subjectId, int noteId,
                                                           Closed onClose);
    static std::unique_ptr<TextEditorWebScreen> errorReport(WebTab& tab, int subjectId,
                                                            Closed onClose);

    TextEditorWebScreen(WebTab& tab, std::string title, std::unique_ptr<NoteEditor> note,
                        std::unique_ptr<ErrorReportEditor> report, Closed onClose);
    ~TextEditorWebScreen() override;

    nlohmann::json spec() const override;
    void back() override;

  protected:
    void handle(const nlohmann::json& event) override;

  private:
    void close(bool changed);

    std::unique_ptr<NoteEditor> note_;
    std::unique_ptr<ErrorReportEditor> report_;
    Closed onClose_;
};

}  // namespace examora
