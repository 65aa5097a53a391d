#pragma once

#include <vector>

#include "store/records/base_item_entity.h"
#include "web/web_screen.h"

namespace examora {

// The mock papers of the current course: those not yet submitted (a tap takes one under the
// clock) and the submitted ones (a tap reviews one), and the way to build a new paper.
class PaperListWebScreen : public WebScreen {
  public:
    static constexpr const char* kRoute = "papers";
    static constexpr const char* kCreateButton = "创建试卷";

    explicit PaperListWebScreen(WebTab& tab);

    nlohmann::json spec() const override;
    void start() override { load(); }
    void shownAgain() override { load(); }

  protected:
    void handle(const nlohmann::json& event) override;

  private:
    void load();

    // Each row's paper id and whether it was submitted.
    std::vector<std::pair<int, bool>> papers_;
};

}  // namespace examora
