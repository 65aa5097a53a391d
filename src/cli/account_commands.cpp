// AccountCommands: examora login, register, logout and whoami.
#include "cli/account_commands.h"

#include "cli/launched_session.h"

#include <termios.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <iostream>
#include <map>

#include "app/common_setting.h"
#include "facade/login_screen.h"
#include "facade/member_centre_screen.h"
#include "facade/register_screen.h"
#include "facade/user_account_actions.h"

namespace examora {

namespace {

// The console as an account screen: fields set by the command, tips to standard error, a closed
// screen as success, a district list answered with the district asked for.
class ConsoleScreen : public FieldView,
                      public TipView,
                      public BusyView,
                      public ButtonView,
                      public ListChooserView,
                      public NavigationView {
  public:
    explicit ConsoleScreen(std::ostream& err) : err_(err) {}

    std::string fieldText(const std::string& name) const override {
        auto found = fields.find(name);
        return found == fields.end() ? std::string() : found->second;
    }
    void setFieldText(const std::string& name, const std::string& text) override {
        fields[name] = text;
    }
    void focusField(const std::string&) override {}
    void showTip(const std::string& text) override {
        err_ << text << "\n";
        refused = true;
    }
    void showBusy(const std::string&) override {}
    void hideBusy() override {}
    void setButtonEnabled(const std::string&, bool) override {}
    void chooseFromList(const std::string&, std::vector<BaseItemEntity> items, bool,
                        Outcome onDone) override {
        for (BaseItemEntity& item : items)
            item.selected = item.name == district;
        onDone(items);
    }
    void pushScreen(const std::string&, const std::string&) override {}
    void popScreen() override { closed = true; }
    void popToRoot() override { closed = true; }

    std::map<std::string, std::string> fields;
    std::string district;
    bool refused = false;
    bool closed = false;

  private:
    std::ostream& err_;
};

// One line of the password, without echo when standard input is a terminal.
std::string readPassword(std::istream& in, std::ostream& err, const char* prompt) {
    const bool terminal = &in == &std::cin && isatty(STDIN_FILENO);
    termios saved{};
    if (terminal) {
        err << prompt << std::flush;
        tcgetattr(STDIN_FILENO, &saved);
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    std::string line;
    std::getline(in, line);
    if (terminal) {
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        err << "\n";
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

}  // namespace

AccountCommands::AccountCommands(CLI::App& app) {
    login_ = app.add_subcommand("login", "Log in to the exam service");
    login_->add_option("name", name_, "Phone number or e-mail address")->required();
    register_ = app.add_subcommand("register", "Create an account and log in with it");
    register_->add_option("--phone", phone_, "Mobile phone number (the account name)")->required();
    register_->add_option("--email", email_, "E-mail address")->required();
    register_->add_option("--district", district_, "District");
    logout_ = app.add_subcommand("logout", "Log out on this device");
    whoami_ = app.add_subcommand("whoami", "Show who is logged in on this device");
    for (CLI::App* command : {login_, register_, logout_, whoami_})
        addCommon(*command);
}

void AccountCommands::addCommon(CLI::App& command) {
    command.add_option("--home", common_.home, "Application home (as for the launch)");
    command.add_option("--service-url", common_.serviceUrl,
                       "Exam web service URL (default: $EXAMORA_SERVICE_URL)");
    command.add_flag("--quiet", common_.quiet, "Do not log to standard error");
}

bool AccountCommands::parsed() const {
    return login_->parsed() || register_->parsed() || logout_->parsed() || whoami_->parsed();
}

int AccountCommands::run(std::istream& in, std::ostream& out, std::ostream& err) {
    UserAccountActions actions;
    ConsoleScreen console(err);
    std::function<int()> work;

    if (login_->parsed()) {
        console.fields[LoginScreen::kNameField] = name_;
        console.fields[LoginScreen::kPasswordField] = readPassword(in, err, "密码: ");
        work = [&] {
            LoginScreen screen(actions, {console, console, console, console, console}, nullptr);
            screen.login();
            if (!console.closed) return 1;
            out << "logged in: " << CommonSetting::LoginUserId() << " "
                << CommonSetting::LoginUserName() << "\n";
            return 0;
        };
    } else if (register_->parsed()) {
        const std::string password = readPassword(in, err, "密码: ");
        const std::string repeat = readPassword(in, err, "确认密码: ");
        console.district = district_;
        work = [&, password, repeat] {
            RegisterScreen screen(
                actions, {console, console, console, console},
                [this] { return std::vector<std::string>{district_}; }, nullptr);
            const std::vector<std::pair<const char*, std::string>> typed = {
                {RegisterScreen::kPhoneField, phone_},
                {RegisterScreen::kEmailField, email_},
                {RegisterScreen::kPasswordField, password},
                {RegisterScreen::kRepeatField, repeat}};
            for (const auto& [field, text] : typed) {
                console.fields[field] = text;
                screen.fieldLeft(field);
                if (console.refused) return 1;
            }
            if (!district_.empty()) screen.chooseDistrict();
            screen.submit();
            if (!console.closed) return 1;
            out << "registered and logged in: " << CommonSetting::LoginUserId() << " "
                << CommonSetting::LoginUserName() << "\n";
            return 0;
        };
    } else if (logout_->parsed()) {
        work = [&] {
            MemberCentreScreen screen(actions, console, nullptr);
            screen.logout();
            if (!console.closed) return 1;
            out << "logged out\n";
            return 0;
        };
    } else {
        work = [&] {
            if (CommonSetting::LoginUserId() < 1) {
                out << "not logged in\n";
            } else {
                out << CommonSetting::LoginUserId() << " " << CommonSetting::LoginUserName() << " "
                    << CommonSetting::District() << "\n";
            }
            return 0;
        };
    }
    return runLaunched(common_.home, common_.serviceUrl, common_.quiet, err, work);
}

}  // namespace examora
