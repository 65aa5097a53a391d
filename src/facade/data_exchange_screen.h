#pragma once

#include <functional>

#include "facade/views/busy_view.h"
#include "facade/views/button_view.h"
#include "facade/views/tip_view.h"
#include "platform/exam_error.h"

namespace examora {

class APIManager;

// The rules of the data-exchange screen: upload the learner's data (optionally clearing the
// records on the server first) or download the learner's history. Both need a logged-in learner;
// while a run lasts both buttons are disabled and the busy mark shows; the outcome is one tip.
class DataExchangeScreen {
  public:
    static constexpr const char* kRoute = "data_exchange";
    static constexpr const char* kUploadButton = "上传数据";
    static constexpr const char* kDownloadButton = "下载数据";
    static constexpr const char* kClearBox = "上传前，清空云服务器上记录";
    static constexpr const char* kLoginFirst = "请先登录账号!";
    static constexpr const char* kDone = "同步完成！";
    static constexpr const char* kFailed = "同步失败！";

    // (result, error) of one facade row, as APIManager's integer rows give it.
    using Done = std::function<void(int result, const ExamError* error)>;
    // The two facade rows the screen runs; `of` takes them from the application facade.
    struct Actions {
        std::function<void(bool clear, const Done& done)> upload;
        std::function<void(const Done& done)> download;
        static Actions of(APIManager& api);
    };
    struct Views {
        TipView& tip;
        BusyView& busy;
        ButtonView& buttons;
    };

    DataExchangeScreen(Actions actions, Views views);

    // The upload button, with the state of the clear check box.
    void upload(bool clearServerFirst);
    // The download button.
    void download();

  private:
    // Runs one row between the busy mark and the outcome tip, for a logged-in learner only.
    void run(const std::function<void(const Done&)>& row);

    Actions actions_;
    Views views_;
};

}  // namespace examora
