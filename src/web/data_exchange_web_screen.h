#pragma once

#include "facade/data_exchange_screen.h"
#include "web/web_screen.h"

namespace examora {

// The data-exchange screen in the browser: the check box "上传前，清空云服务器上记录" and the
// buttons "上传数据" and "下载数据", over DataExchangeScreen's rules (log-in first, busy mark,
// buttons disabled while a run lasts, the outcome as a tip).
class DataExchangeWebScreen : public WebScreen {
  public:
    static constexpr const char* kRoute = DataExchangeScreen::kRoute;
    // The grid's name for the function.
    static constexpr const char* kTitle = "云同步";

    // Over the application facade's upload and history download.
    explicit DataExchangeWebScreen(WebTab& tab);
    DataExchangeWebScreen(WebTab& tab, DataExchangeScreen::Actions actions);

    nlohmann::json spec() const override;

  protected:
    void handle(const nlohmann::json& event) override;

  private:
    DataExchangeScreen exchange_;
};

}  // namespace examora
