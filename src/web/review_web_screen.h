#pragma once

#include <variant>
#include <vector>

#include "store/records/base_item_entity.h"
#include "store/records/course_chapter_entity.h"
#include "web/web_screen.h"

namespace examora {

// The two ways back to wrong subjects. The drill ("drill"): unresolved or cut subjects, by
// chapter, by wrong count or by how long ago they were answered, each item opening the
// wrong-answer session on its subjects. The memory review ("memory"): the eight review periods of
// the forgetting curve, each opening practice on its subjects, and the curve's explanation.
class ReviewWebScreen : public WebScreen {
  public:
    static constexpr const char* kDrillRoute = "drill";
    static constexpr const char* kMemoryRoute = "memory";
    static constexpr const char* kMemoryButton = "科学记忆";

    ReviewWebScreen(WebTab& tab, const std::string& route);

    nlohmann::json spec() const override;
    void start() override { load(); }
    void shownAgain() override { load(); }

  protected:
    void handle(const nlohmann::json& event) override;

  private:
    void load();
    void open(int index);

    bool memory_;
    int tab_ = 0;
    int errFilterType_ = 1;
    std::vector<CourseChapterEntity> chapters_;
    std::vector<BaseItemEntity> items_;
};

}  // namespace examora
