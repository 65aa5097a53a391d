// RemoteViews: a screen's title, dialogs, tips, busy mark, fields, buttons, rows, lists, labels,
// switches, tabs, date picker, progress dialog, summary and delayed calls, as view commands.

#include "web/remote_views.h"

#include <chrono>

#include "facade/subject_download_manager.h"
#include "web/web_timer.h"

namespace examora {

using nlohmann::json;

RemoteViews::RemoteViews(int screenId, Tab tab, WebTimer& timer)
    : screenId_(screenId), tab_(std::move(tab)), timer_(timer) {}

RemoteViews::~RemoteViews() {
    dismissAll();
}

void RemoteViews::send(const std::string& command, json body) {
    body["c"] = command;
    body["screen"] = screenId_;
    if (tab_.send) tab_.send(std::move(body));
}

bool RemoteViews::handleEvent(const json& event) {
    const std::string kind = event.value("e", "");
    if (kind == "dialog") {
        // Read before the dialog is taken, so a malformed answer leaves it open.
        const int index = event.value("index", -1);
        const auto it = dialogs_.find(event.value("id", 0));
        if (it == dialogs_.end()) return true;
        Choice choice = std::move(it->second);
        dialogs_.erase(it);
        if (choice) choice(index);
        return true;
    }
    if (kind == "choose") {
        const auto it = choosers_.find(event.value("id", 0));
        if (it == choosers_.end()) return true;
        auto [items, outcome] = std::move(it->second);
        choosers_.erase(it);
        const json& chosen = event.contains("selected") ? event["selected"] : json();
        if (!chosen.is_array()) {
            if (outcome) outcome(std::nullopt);
            return true;
        }
        for (auto& item : items)
            item.selected = false;
        for (const json& index : chosen) {
            if (!index.is_number_integer()) continue;
            const int i = index.get<int>();
            if (i >= 0 && i < static_cast<int>(items.size())) items[i].selected = true;
        }
        if (outcome) outcome(std::move(items));
        return true;
    }
    if (kind == "field") {
        const json& name = event.contains("name") ? event["name"] : json();
        const json& text = event.contains("text") ? event["text"] : json();
        if (name.is_string() && text.is_string()) fields_[name] = text.get<std::string>();
        return true;
    }
    if (kind == "cancel") {
        if (auto cancel = std::move(onCancel_)) {
            onCancel_ = nullptr;
            cancel();
        }
        return true;
    }
    return false;
}

void RemoteViews::dismissAll() {
    auto open = std::move(dialogs_);
    dialogs_.clear();
    choosers_.clear();
    onCancel_ = nullptr;
    for (auto& [id, choice] : open) {
        if (choice) choice(-1);
    }
}

void RemoteViews::showDialog(const std::string& title, const std::string& message,
                             const std::vector<std::string>& buttons, Choice onChoice) {
    const int id = nextRequest_++;
    dialogs_[id] = std::move(onChoice);
    send("dialog", {{"id", id}, {"title", title}, {"message", message}, {"buttons", buttons}});
}

void RemoteViews::showTip(const std::string& text) {
    send("tip", {{"text", text}});
}

void RemoteViews::showBusy(const std::string& text) {
    send("busy", {{"on", true}, {"text", text}});
}

void RemoteViews::hideBusy() {
    send("busy", {{"on", false}});
}

void RemoteViews::pushScreen(const std::string& route, const std::string& argument) {
    if (tab_.push) tab_.push(route, argument);
}

void RemoteViews::popScreen() {
    if (tab_.pop) tab_.pop();
}

void RemoteViews::popToRoot() {
    if (tab_.popToRoot) tab_.popToRoot();
}

std::string RemoteViews::fieldText(const std::string& name) const {
    const auto it = fields_.find(name);
    return it == fields_.end() ? std::string() : it->second;
}

void RemoteViews::setFieldText(const std::string& name, const std::string& text) {
    fields_[name] = text;
    send("field", {{"op", "set"}, {"name", name}, {"text", text}});
}

void RemoteViews::focusField(const std::string& name) {
    send("field", {{"op", "focus"}, {"name", name}});
}

void RemoteViews::setButtonEnabled(const std::string& caption, bool enabled) {
    send("button", {{"caption", caption}, {"enabled", enabled}});
}

void RemoteViews::chooseFromList(const std::string& title, std::vector<BaseItemEntity> items,
                                 bool multiple, Outcome onDone) {
    const int id = nextRequest_++;
    json list = json::array();
    for (const auto& item : items) {
        list.push_back({{"name", item.name}, {"memo", item.memo}, {"selected", item.selected}});
    }
    choosers_[id] = {std::move(items), std::move(onDone)};
    send("choose", {{"id", id}, {"title", title}, {"items", list}, {"multiple", multiple}});
}

void RemoteViews::showRows(const std::vector<Row>& rows) {
    json list = json::array();
    for (const auto& row : rows) {
        list.push_back({{"caption", row.caption}, {"value", row.value}, {"opens", row.opens}});
    }
    send("rows", {{"rows", list}});
}

void RemoteViews::showProgress(const std::string& title, std::function<void()> onCancel) {
    onCancel_ = std::move(onCancel);
    // The one progress dialog of the interface is the course download's, cancelled as it names it.
    send("progress",
         {{"op", "show"}, {"title", title}, {"cancel", SubjectDownloadManager::kCancel}});
}

void RemoteViews::setProgressTitle(const std::string& title) {
    send("progress", {{"op", "title"}, {"title", title}});
}

void RemoteViews::setProgress(double percent) {
    send("progress", {{"op", "value"}, {"percent", percent}});
}

void RemoteViews::hideProgress() {
    onCancel_ = nullptr;
    send("progress", {{"op", "hide"}});
}

void RemoteViews::showSummary(const std::string& practised, const std::string& wrong,
                              const std::string& rate) {
    send("summary", {{"practised", practised}, {"wrong", wrong}, {"rate", rate}});
}

void RemoteViews::setKeepAwake(bool on) {
    send("awake", {{"on", on}});
}

void RemoteViews::callAfter(int milliseconds, std::function<void()> work) {
    timer_.schedule(std::chrono::milliseconds(milliseconds),
                    [alive = std::weak_ptr<int>(life_), work = std::move(work)] {
                        if (alive.lock() && work) work();
                    });
}

void RemoteViews::setTitle(const std::string& title) {
    send("screen", {{"op", "title"}, {"title", title}});
}

void RemoteViews::setLabelText(const std::string& name, const std::string& text) {
    send("label", {{"name", name}, {"text", text}});
}

void RemoteViews::setSwitchOn(const std::string& caption, bool on) {
    send("switch", {{"caption", caption}, {"on", on}});
}

void RemoteViews::showTabs(const std::vector<std::string>& titles, int selected) {
    send("tabs", {{"titles", titles}, {"selected", selected}});
}

void RemoteViews::setDateRange(const std::string& minimum, const std::string& maximum) {
    send("date", {{"op", "range"}, {"min", minimum}, {"max", maximum}});
}

void RemoteViews::setPickerDate(const std::string& date) {
    send("date", {{"op", "set"}, {"date", date}});
}

}  // namespace examora
