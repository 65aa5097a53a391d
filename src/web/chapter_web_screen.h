#pragma once

#include <vector>

#include "store/records/course_chapter_entity.h"
#include "web/web_screen.h"

namespace examora {

// One level of the chapter tree of the current course in a practice mode (0 practice, 4
// favourites, 5 wrong answers, 6 noted), each chapter with its progress line. A chapter with
// sections opens the next level; a leaf opens practice in the mode.
class ChapterWebScreen : public WebScreen {
  public:
    static constexpr const char* kRoute = "chapters";

    // Argument "<mode>:<parent chapter>" (parent 0: the top level).
    ChapterWebScreen(WebTab& tab, const std::string& argument);

    nlohmann::json spec() const override;
    void start() override;
    void shownAgain() override { load(); }

  protected:
    void handle(const nlohmann::json& event) override;

  private:
    void load();

    int showTime_ = 0;
    int parentId_ = 0;
    std::vector<CourseChapterEntity> chapters_;
};

}  // namespace examora
