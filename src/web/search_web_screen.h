#pragma once

#include <vector>

#include "web/web_screen.h"

namespace examora {

// The question search of the current course: a text, "搜索", the matching subjects a page at a
// time ("更多" fetches the next), and a tap practises the chapter from that subject.
class SearchWebScreen : public WebScreen {
  public:
    static constexpr const char* kRoute = "search";
    static constexpr const char* kTextField = "搜索内容";
    static constexpr const char* kSearch = "搜索";
    static constexpr const char* kMore = "更多";
    static constexpr int kPageSize = 20;

    explicit SearchWebScreen(WebTab& tab);

    nlohmann::json spec() const override;

  protected:
    void handle(const nlohmann::json& event) override;

  private:
    void search(bool more);

    std::string text_;
    int nextStart_ = 0;
    std::vector<RowListView::Row> rows_;
    std::vector<int> subjects_;
};

}  // namespace examora
