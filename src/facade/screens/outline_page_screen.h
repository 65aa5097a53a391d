#pragma once

#include <string>

#include "facade/api_manager.h"
#include "facade/views/page_view.h"
#include "facade/views/title_view.h"

namespace examora {

// One outline entry's page: its name as title and its text as a page. The text is the course's
// own content and is shown as HTML, as question content is; an entry without text but with an
// address shows a link to it. The page may load nothing but that address.
class OutlinePageScreen {
  public:
    static constexpr const char* kRoute = "outline_page";
    static constexpr const char* kEmptyText = "没有内容";

    struct Views {
        TitleView& title;
        PageView& page;
    };

    OutlinePageScreen(APIManager& api, Views views, int outlineId)
        : api_(api), views_(views), outlineId_(outlineId) {}

    void open();
    // The page's navigation question: only the entry's own http(s) address may load.
    bool shouldLoad(const std::string& url) const;

  private:
    APIManager& api_;
    Views views_;
    int outlineId_;
    std::string url_;
};

}  // namespace examora
