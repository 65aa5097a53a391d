// ClientDataExchange: the base-item run, one item's download, and the system calls.
#include <utility>

#include "app/common_setting.h"
#include "platform/log.h"
#include "store/database_scope.h"
#include "sync/base_item_rule.h"
#include "sync/client_data_exchange.h"

namespace examora {

namespace {

constexpr const char* kStoreItemDate =
    "update sys_serverexchangeitem set dupdatedate=? where citemname=?";

}  // namespace

ClientDataExchange::ClientDataExchange()
    : ClientDataExchange(std::make_unique<ExamWebServiceUtil>()) {}

ClientDataExchange::ClientDataExchange(std::unique_ptr<ExamWebServiceUtil> service)
    : service_(std::move(service)) {}

ClientDataExchange::~ClientDataExchange() = default;

std::vector<ServerExchangeItemEntity> ClientDataExchange::loadRemoteBaseItemChangeList() {
    std::vector<ServerExchangeItemEntity> list;
    std::optional<nlohmann::json> json = service_->loadRemoteBaseItemChangeList();
    if (!json || !json->is_array()) return list;
    for (const nlohmann::json& object : *json) {
        if (!object.is_object()) continue;
        ServerExchangeItemEntity item;
        item.initWithDict(ExamWebServiceUtil::jsonToDict(object));
        list.push_back(std::move(item));
    }
    return list;
}

std::map<std::string, ServerExchangeItemEntity> ClientDataExchange::loadLocalBaseItemChangeList() {
    std::map<std::string, ServerExchangeItemEntity> items;
    DatabaseScope scope(*this);
    std::unique_ptr<SqliteResultSet> rs = ExecuteDataReader(
        "select id,citemname, dupdatedate from sys_serverexchangeitem order by id");
    if (!rs) return items;
    while (rs->next()) {
        ServerExchangeItemEntity item;
        item.initWithDict(rs->resultDictionary());
        items.emplace(std::to_string(item.itemid), std::move(item));
    }
    return items;
}

std::optional<std::vector<std::string>> ClientDataExchange::downloadBaseItem() {
    baseItemResults_.clear();
    std::vector<ServerExchangeItemEntity> remote = loadRemoteBaseItemChangeList();
    if (remote.empty()) return std::nullopt;
    std::map<std::string, ServerExchangeItemEntity> local = loadLocalBaseItemChangeList();

    std::vector<std::string> names;
    for (const ServerExchangeItemEntity& server : remote) {
        auto found = local.find(std::to_string(server.itemid));
        const ServerExchangeItemEntity* mine = found == local.end() ? nullptr : &found->second;
        std::optional<BaseItemPlan> plan = BaseItemRule::plan(server, mine);
        if (!plan) continue;
        downloadBaseItem(mine->itemname, plan->fullReload, plan->localDate, plan->serverDate);
        names.push_back(mine->itemname);
    }
    return names;
}

void ClientDataExchange::downloadBaseItem(const std::string& itemName, bool fullReload,
                                          const std::string& localDate,
                                          const std::string& serverDate) {
    BaseItemResult& result = baseItemResults_.emplace_back();
    result.itemname = itemName;
    result.fullReload = fullReload;

    const std::string from = BaseItemRule::askFrom(fullReload, localDate);
    const std::string version = CommonSetting::CourseVersion();
    std::optional<nlohmann::json> rows =
        version.empty()
            ? service_->loadBaseItemUpdateNewData(itemName, from)
            : service_->loadBaseItemUpdateNewDataByVersion(Value(version), itemName, from);
    // A list that is not a list was not delivered as one: its rows are lost like a failed call's.
    result.delivered = service_->lastCallDelivered() && (!rows || rows->is_array());
    std::optional<std::string> newDate = BaseItemRule::dateAfterCall(result.delivered, serverDate);
    if (!newDate) {
        logf("download %@ error:%@ %@", itemName, "service", "no row list; the date stays");
        return;
    }
    if (!rows || rows->empty()) {
        result.written = ExecuteNonQuery(kStoreItemDate, *newDate, itemName);
        return;
    }
    result.rows = rows->size();

    // Pictures come over the network; fetching them before the transaction keeps the write lock
    // from being held across calls that may each take up to the call time-out.
    TablePictures pictures;
    if (BaseItemRule::tableFor(itemName) == BaseItemTable::CourseClass) {
        pictures = fetchClassPictures(*rows);
    }
    if (!BeginTran()) {
        logf("download %@ error:%@ %@", itemName, "SQLite", "no transaction could be begun");
        return;
    }
    try {
        upsertItem(itemName, *rows, fullReload, &pictures);
        execute(kStoreItemDate, {Value(*newDate), Value(itemName)});
        if (!CommitTran()) throw ExamError("SQLite", "commit failed");
        result.written = true;
    } catch (const ExamError& e) {
        RollbackTran();
        logf("download %@ error:%@ %@", itemName, e.name(), e.reason());
    } catch (const std::exception& e) {
        RollbackTran();
        logf("download %@ error:%@ %@", itemName, "exception", e.what());
    }
}

std::optional<std::string> ClientDataExchange::getServerTime() {
    return service_->getServerTime();
}

bool ClientDataExchange::checkIsOnline(double timeoutSeconds) {
    return service_->checkIsOnline(timeoutSeconds);
}

void ClientDataExchange::checkIsOnline(double timeoutSeconds, const OnlineBlock& block) {
    std::optional<bool> online;
    std::optional<ExamError> error;
    try {
        online = checkIsOnline(timeoutSeconds);
    } catch (const ExamError& e) {
        error = e;
    } catch (const std::exception& e) {
        error = ExamError("checkIsOnline", e.what());
    }
    if (block) block(online, error);
}

}  // namespace examora
