// DataExchangeWebScreen: the upload and history download of the learner's data.

#include "web/data_exchange_web_screen.h"

#include "web/web_context.h"
#include "web/web_tab.h"

namespace examora {

using nlohmann::json;

DataExchangeWebScreen::DataExchangeWebScreen(WebTab& tab)
    : DataExchangeWebScreen(tab, DataExchangeScreen::Actions::of(tab.context().api)) {}

DataExchangeWebScreen::DataExchangeWebScreen(WebTab& tab, DataExchangeScreen::Actions actions)
    : WebScreen(tab, "form", kTitle), exchange_(std::move(actions), {views(), views(), views()}) {}

json DataExchangeWebScreen::spec() const {
    json fields = json::array();
    fields.push_back({{"name", DataExchangeScreen::kClearBox}, {"type", "check"}, {"value", "0"}});
    return {{"fields", fields},
            {"buttons", {DataExchangeScreen::kUploadButton, DataExchangeScreen::kDownloadButton}}};
}

void DataExchangeWebScreen::handle(const json& event) {
    if (event.value("e", "") != "action") return;
    const std::string caption = event.value("caption", "");
    if (caption == DataExchangeScreen::kUploadButton) {
        // The box is ticked only when the browser reported it so; unreported, it is clear.
        exchange_.upload(views().fieldText(DataExchangeScreen::kClearBox) == "1");
    } else if (caption == DataExchangeScreen::kDownloadButton) {
        exchange_.download();
    }
}

}  // namespace examora
