// OutlinePageScreen: one outline entry shown as a page.

#include "facade/screens/outline_page_screen.h"

#include "platform/paths.h"
#include "platform/strformat.h"
#include "platform/text_util.h"

namespace examora {

void OutlinePageScreen::open() {
    std::optional<CourseOutlineEntity> entry;
    api_.loadCourseOutlineInfo_withOutlineId(
        outlineId_, [&](std::optional<CourseOutlineEntity> info, const ExamError*) {
            entry = std::move(info);
        });
    views_.page.setNavigationHandler([this](const std::string& url) { return shouldLoad(url); });
    std::string body = kEmptyText;
    if (entry) {
        views_.title.setTitle(entry->outlinename);
        if (startsWith(entry->url, "http://") || startsWith(entry->url, "https://")) {
            url_ = entry->url;
        }
        if (!entry->text.empty()) {
            body = entry->text;
        } else if (!url_.empty()) {
            const std::string escaped = htmlEscape(url_);
            body = strformat("<a href=\"%@\">%@</a>", escaped, escaped);
        }
    }
    views_.page.loadHTMLString(strformat("<html><head><link rel=\"stylesheet\" href=\"style.css\" "
                                         "type=\"text/css\" /></head><body>%@</body></html>",
                                         body),
                               Paths::resourceDirectory());
}

bool OutlinePageScreen::shouldLoad(const std::string& url) const {
    return !url_.empty() && url == url_;
}

}  // namespace examora
