#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "web/web_screen.h"

namespace examora {

// A result: the lines of a chapter practice's or a submitted paper's result and one button. A
// paper's result reports 1 when its button ("查看解析") is pressed and 0 when the learner leaves
// it another way.
class ResultWebScreen : public WebScreen {
  public:
    static std::unique_ptr<ResultWebScreen> chapterResult(WebTab& tab, int chapterId);
    static std::unique_ptr<ResultWebScreen> paperResult(WebTab& tab, int paperId,
                                                        std::function<void(int)> onClose);

    ResultWebScreen(WebTab& tab, std::string title, nlohmann::json body, std::string button,
                    std::function<void(int)> onClose);
    ~ResultWebScreen() override;

    nlohmann::json spec() const override { return body_; }
    void back() override { close(0); }

  protected:
    void handle(const nlohmann::json& event) override;

  private:
    void close(int choice);

    nlohmann::json body_;
    std::string button_;
    std::function<void(int)> onClose_;
};

}  // namespace examora
