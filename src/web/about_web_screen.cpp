// AboutWebScreen: the about page.

#include "web/about_web_screen.h"

#include "app/common_setting.h"
#include "service/asi_service_args.h"

namespace examora {

nlohmann::json AboutWebScreen::spec() const {
    return {{"heading", "Examora"},
            {"lines",
             {std::string("版本 ") + EXAMORA_VERSION,
              "职业资格考试练习：章节练习、模拟考试、错题强化、科学记忆。",
              "当前科目：" + CommonSetting::CourseName(),
              "题库服务：" + ASIServiceArgs::getWebServiceURL()}},
            {"buttons", nlohmann::json::array()}};
}

}  // namespace examora
