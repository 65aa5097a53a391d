#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/http_transport.h"

namespace examora {

// The application update check: asks a description address (JSON whose "results" list carries
// entries with a "version") whether a version other than this build's exists, and asks the
// learner whether to update. The fetch runs on a background-priority worker; the dialogs are shown
// on the main queue through the functions handed in, so this layer knows no screen.
//
// The object must outlive the check it starts (the web interface and the command line keep one
// for the process).
class AppUpdater {
  public:
    static constexpr const char* kTitle = "软件更新";
    static constexpr const char* kNewVersion = "发现新的版本，是否要更新？";
    static constexpr const char* kLatest = "已经是最新版本了";
    static constexpr const char* kCancel = "取消";
    static constexpr const char* kUpdate = "更新";
    static constexpr const char* kConfirm = "确认";

    // A modal dialog: the chosen button's index arrives once on the main queue (-1 when closed
    // without a choice).
    using ShowDialog = std::function<void(const std::string& title, const std::string& message,
                                          const std::vector<std::string>& buttons,
                                          std::function<void(int)> onChoice)>;

    struct Options {
        // The description of this application (a deployment value).
        std::string lookupURL;
        // The page that offers the new version.
        std::string storeURL;
        // This build's version; the CMake project version unless replaced.
        std::string ownVersion = EXAMORA_VERSION;
        // The system transport when null.
        std::shared_ptr<HttpTransport> transport;
        double timeoutSeconds = 30;
    };

    AppUpdater(Options options, ShowDialog showDialog, std::function<void(std::string)> openURL);

    // hadNew := NO, then the check. With `silent`, finding nothing shows nothing.
    void checkUpdate(bool silent);
    bool hadNew() const { return hadNew_; }

    // Whether the description names a version other than `ownVersion`: the first entry of its
    // "results" list, compared as exact text (any difference counts as newer). False for an
    // unreadable description or an empty list.
    static bool describesNewVersion(const std::string& description, const std::string& ownVersion);

  private:
    void report(bool silent);

    Options options_;
    ShowDialog showDialog_;
    std::function<void(std::string)> openURL_;
    std::atomic<bool> hadNew_{false};
};

}  // namespace examora
