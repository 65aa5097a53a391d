#pragma once

#include <memory>
#include <vector>

#include "store/records/course_outline_entity.h"
#include "web/remote_page_view.h"
#include "web/web_screen.h"

namespace examora {

// The study outline of the current course: one level per screen ("outline", argument the parent
// id), and a leaf's text as a page of the question-page origin ("outline_page", argument the
// outline id), which may load nothing further.
class OutlineWebScreen : public WebScreen {
  public:
    static constexpr const char* kRoute = "outline";
    static constexpr const char* kPageRoute = "outline_page";

    OutlineWebScreen(WebTab& tab, const std::string& route, const std::string& argument);
    ~OutlineWebScreen() override;

    nlohmann::json spec() const override;
    void start() override;

  protected:
    void handle(const nlohmann::json& event) override;

  private:
    int id_ = 0;
    std::vector<CourseOutlineEntity> items_;
    std::unique_ptr<RemotePageView> page_;
};

}  // namespace examora
