#pragma once

#include <cstdint>
#include <vector>

#include "store/records/base_item_entity.h"
#include "web/web_screen.h"

namespace examora {

// Course selection, one level per screen: the classes, a class's sub-classes, then the courses.
// Choosing a course makes it current (remembered for the next launch) and opens the main screen
// in place of the whole stack.
class CourseSelectWebScreen : public WebScreen {
  public:
    static constexpr const char* kRoute = "course_select";

    // Argument "": the classes; "<class>": its sub-classes; "<class>:<sub-class>": the courses.
    CourseSelectWebScreen(WebTab& tab, const std::string& argument);
    ~CourseSelectWebScreen() override;

    nlohmann::json spec() const override;
    void start() override;
    void shownAgain() override;

  protected:
    void handle(const nlohmann::json& event) override;

  private:
    void load();

    int level_ = 0;
    int classId_ = 0;
    int subClassId_ = 0;
    std::vector<BaseItemEntity> items_;
    // The catalogue may arrive after the screen: it lists again when the download ends.
    std::uint64_t downloaded_ = 0;
};

}  // namespace examora
