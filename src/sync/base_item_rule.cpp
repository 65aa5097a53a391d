// The rules of base-item synchronisation that need no database: which items, which dates.
#include "sync/base_item_rule.h"

#include <array>
#include <utility>

#include "platform/text_util.h"

namespace examora {

namespace {

bool isMissing(const std::optional<std::string>& date) {
    return !date || *date == "NULL";
}

}  // namespace

int BaseItemRule::compareTo(const std::optional<std::string>& a,
                            const std::optional<std::string>& b) {
    if (isMissing(a) || isMissing(b)) return int(!isMissing(a)) - int(!isMissing(b));
    int c = a->compare(*b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

bool BaseItemRule::isEmptyDate(const std::optional<std::string>& date) {
    return isMissing(date) || date->empty();
}

std::optional<BaseItemPlan> BaseItemRule::plan(const ServerExchangeItemEntity& server,
                                               const ServerExchangeItemEntity* local) {
    if (isEmptyDate(server.updatedate) || local == nullptr) return std::nullopt;
    std::string localDate = isEmptyDate(local->updatedate) ? std::string() : *local->updatedate;
    if (compareTo(server.updatedate, localDate) <= 0) return std::nullopt;
    BaseItemPlan plan;
    plan.fullReload = !localDate.empty() && compareTo(localDate, server.deletedate) < 0;
    plan.localDate = std::move(localDate);
    plan.serverDate = *server.updatedate;
    return plan;
}

std::string BaseItemRule::askFrom(bool fullReload, const std::string& localDate) {
    return fullReload ? std::string() : localDate;
}

std::optional<std::string> BaseItemRule::dateAfterCall(bool delivered,
                                                       const std::string& serverDate) {
    if (!delivered) return std::nullopt;
    return serverDate;
}

BaseItemTable BaseItemRule::tableFor(std::string_view itemName) {
    static constexpr std::array<std::pair<std::string_view, BaseItemTable>, 7> kTables{{
        {"courseclass", BaseItemTable::CourseClass},
        {"coursesubclass", BaseItemTable::CourseSubClass},
        {"course", BaseItemTable::Course},
        {"district", BaseItemTable::District},
        {"sys_cussetting", BaseItemTable::CusSetting},
        {"sys_message", BaseItemTable::Message},
        {"sys_photoad", BaseItemTable::PhotoAD},
    }};
    const std::string name = toLowerAscii(itemName);
    for (const auto& [table, kind] : kTables) {
        if (name == table) return kind;
    }
    return BaseItemTable::Unknown;
}

}  // namespace examora
