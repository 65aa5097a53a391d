// AppUpdater: the application update check against a version description.
#include "account/app_updater.h"

#include <nlohmann/json.hpp>

#include "platform/global_queue.h"
#include "platform/main_queue.h"

namespace examora {

AppUpdater::AppUpdater(Options options, ShowDialog showDialog,
                       std::function<void(std::string)> openURL)
    : options_(std::move(options)),
      showDialog_(std::move(showDialog)),
      openURL_(std::move(openURL)) {
    if (!options_.transport) options_.transport = HttpTransport::systemTransport();
}

bool AppUpdater::describesNewVersion(const std::string& description,
                                     const std::string& ownVersion) {
    const nlohmann::json json = nlohmann::json::parse(description, nullptr, false);
    if (!json.is_object()) return false;
    auto results = json.find("results");
    if (results == json.end() || !results->is_array() || results->empty()) return false;
    const nlohmann::json& first = results->front();
    if (!first.is_object()) return false;
    auto version = first.find("version");
    if (version == first.end() || !version->is_string()) return false;
    return version->get<std::string>() != ownVersion;
}

void AppUpdater::checkUpdate(bool silent) {
    hadNew_ = false;
    GlobalQueue::async(QueuePriority::Background, [this, silent] {
        HttpRequest request;
        request.url = options_.lookupURL;
        request.timeoutSeconds = options_.timeoutSeconds;
        const HttpResponse response = options_.transport->perform(request);
        if (response.completed() && response.status == 200) {
            hadNew_ = describesNewVersion(response.text(), options_.ownVersion);
        }
        postToMain([this, silent] { report(silent); });
    });
}

void AppUpdater::report(bool silent) {
    if (hadNew_) {
        showDialog_(kTitle, kNewVersion, {kCancel, kUpdate}, [this](int choice) {
            if (choice == 1 && openURL_) openURL_(options_.storeURL);
        });
    } else if (!silent) {
        showDialog_(kTitle, kLatest, {kConfirm}, [](int) {});
    }
}

}  // namespace examora
