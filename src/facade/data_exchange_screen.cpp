// DataExchangeScreen: the data-exchange screen's rules (log-in required, busy, outcome tip).
#include "facade/data_exchange_screen.h"

#include "app/common_setting.h"
#include "facade/api_manager.h"

namespace examora {

DataExchangeScreen::Actions DataExchangeScreen::Actions::of(APIManager& api) {
    return Actions{
        [&api](bool clear, const Done& done) { api.uploadUserDataToServer_willClear(clear, done); },
        [&api](const Done& done) { api.downloadUserDataFromServer_withBlock(done); }};
}

DataExchangeScreen::DataExchangeScreen(Actions actions, Views views)
    : actions_(std::move(actions)), views_(views) {}

void DataExchangeScreen::upload(bool clearServerFirst) {
    run([this, clearServerFirst](const Done& done) { actions_.upload(clearServerFirst, done); });
}

void DataExchangeScreen::download() {
    run([this](const Done& done) { actions_.download(done); });
}

void DataExchangeScreen::run(const std::function<void(const Done&)>& row) {
    if (CommonSetting::LoginUserId() < 1) {
        views_.tip.showTip(kLoginFirst);
        return;
    }
    views_.buttons.setButtonEnabled(kUploadButton, false);
    views_.buttons.setButtonEnabled(kDownloadButton, false);
    views_.busy.showBusy(std::string());
    bool ok = false;
    // The buttons come back whatever happens, also when the row throws.
    struct Restore {
        Views& v;
        ~Restore() {
            v.busy.hideBusy();
            v.buttons.setButtonEnabled(kUploadButton, true);
            v.buttons.setButtonEnabled(kDownloadButton, true);
        }
    };
    {
        Restore restore{views_};
        row([&ok](int result, const ExamError* error) { ok = !error && result >= 1; });
    }
    views_.tip.showTip(ok ? kDone : kFailed);
}

}  // namespace examora
