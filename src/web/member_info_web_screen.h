#pragma once

#include <memory>

#include "facade/item_edit_screen.h"
#include "facade/member_info_screen.h"
#include "web/web_screen.h"

namespace examora {

// The member information ("member_info") over MemberInfoScreen's rules, and the item screen it
// opens for one value ("member_item_edit", argument the item kind) over ItemEditScreen's, which
// hands the accepted value back to the information screen that opened it.
class MemberInfoWebScreen : public WebScreen {
  public:
    MemberInfoWebScreen(WebTab& tab, const std::string& route, const std::string& argument);
    ~MemberInfoWebScreen() override;

    nlohmann::json spec() const override;
    void start() override;

  protected:
    void handle(const nlohmann::json& event) override;

  private:
    std::unique_ptr<MemberInfoScreen> info_;
    std::unique_ptr<ItemEditScreen> item_;
    int kind_ = 0;
};

}  // namespace examora
