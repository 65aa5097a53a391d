#pragma once

#include <optional>
#include <vector>

#include "engine/paper_form.h"
#include "store/records/base_item_entity.h"
#include "web/web_screen.h"

namespace examora {

// Building a mock paper: its name, total score and time (the course's layout, else the settings,
// as defaults), and optionally the question types and chapters to draw from (all when a list was
// never opened). "确定" checks the form, builds the paper and takes it at once.
class PaperFormWebScreen : public WebScreen {
  public:
    static constexpr const char* kRoute = "paper_form";
    static constexpr const char* kNameField = "试卷名称";
    static constexpr const char* kScoreField = "试卷总分";
    static constexpr const char* kTimeField = "考试时间(分钟)";
    static constexpr const char* kTypesField = "题型";
    static constexpr const char* kChaptersField = "章节";
    static constexpr const char* kSubmit = "确定";

    explicit PaperFormWebScreen(WebTab& tab);

    nlohmann::json spec() const override;

  protected:
    void handle(const nlohmann::json& event) override;

  private:
    void choose(bool types);
    void submit();

    PaperLayout layout_;
    std::optional<std::vector<BaseItemEntity>> types_;
    std::optional<std::vector<BaseItemEntity>> chapters_;
};

}  // namespace examora
