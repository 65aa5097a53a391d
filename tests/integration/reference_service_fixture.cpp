// The reference-service fixture of the integration tests.
#include "reference_service_fixture.h"

#include "service/asi_service_args.h"
#include "service/exam_web_service_util.h"

namespace examora {

namespace {

ServiceReply listReply(const std::string& method, const DictList& rows) {
    return ServiceReply::soapAnswer(method, ExamWebServiceUtil::rowsToJSON(rows).dump());
}

}  // namespace

ReferenceServiceTest::ReferenceServiceTest() {
    service = std::make_unique<ReferenceService>(
        ReferenceServiceOptions{home_.makeDirectory("service"), "127.0.0.1", 0});
    loader = std::make_unique<ContentLoader>(service->store());
    ServiceStore* store = &service->store();
    SoapDispatcher& d = service->dispatcher();
    d.add("GetServerTime", [this, store](const SoapRequest&) {
        record("GetServerTime");
        std::unique_lock<std::mutex> lock(mutex_);
        if (holding_) {
            ++held_;
            released_.notify_all();
            released_.wait(lock, [this] { return !holding_; });
            return ServiceReply::soapFault("the service is going down");
        }
        return ServiceReply::soapAnswer("GetServerTime", store->now());
    });
    d.add("LoadRemoteBaseItemChangeList", [this, store](const SoapRequest&) {
        record("LoadRemoteBaseItemChangeList");
        return listReply("LoadRemoteBaseItemChangeList", store->baseItemChangeList());
    });
    d.add("LoadBaseItemUpdateNewData", [this, store](const SoapRequest& r) {
        const std::string item = r.text("itemName");
        record("LoadBaseItemUpdateNewData " + item);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            auto scripted = scripted_.find(item);
            if (scripted != scripted_.end()) return scripted->second;
        }
        auto rows = store->baseItemRowsSince(item, r.text("lastUpdateDate"), std::nullopt);
        return listReply("LoadBaseItemUpdateNewData", rows.value_or(DictList{}));
    });
    if (!service->start()) throw std::runtime_error("the reference service did not start");
    ASIServiceArgs::setWebServiceURL(service->serviceURL());
    ASIServiceArgs::setNameSapce("http://tempuri.org/");
    ASIServiceArgs::setHeaderUser(SoapDispatcher::kHeaderUser);
    ASIServiceArgs::setHeaderPassword(SoapDispatcher::kHeaderPassword);
}

ReferenceServiceTest::~ReferenceServiceTest() {
    releaseServerTime();
    service->stop();
}

void ReferenceServiceTest::put(const std::string& table, const Dict& row) {
    loader->upsertRow(table, row);
}

void ReferenceServiceTest::remove(const std::string& table, const Dict& key) {
    loader->deleteRow(table, key);
}

void ReferenceServiceTest::record(const std::string& method) {
    std::lock_guard<std::mutex> lock(mutex_);
    calls_.push_back(method);
}

std::vector<std::string> ReferenceServiceTest::calls() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return calls_;
}

void ReferenceServiceTest::scriptRows(const std::string& itemName, ServiceReply reply) {
    std::lock_guard<std::mutex> lock(mutex_);
    scripted_[itemName] = std::move(reply);
}

void ReferenceServiceTest::holdServerTime() {
    std::lock_guard<std::mutex> lock(mutex_);
    holding_ = true;
}

void ReferenceServiceTest::awaitHeldServerTime() {
    std::unique_lock<std::mutex> lock(mutex_);
    released_.wait(lock, [this] { return held_ > 0; });
}

void ReferenceServiceTest::releaseServerTime() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        holding_ = false;
    }
    released_.notify_all();
}

std::optional<std::string> ReferenceServiceTest::localDate(const std::string& item) {
    return sql().ExecuteScalarString(
        "select dupdatedate from sys_serverexchangeitem where citemname=?", item);
}

std::string ReferenceServiceTest::serverDate(const std::string& item) {
    for (const Dict& entry : service->store().baseItemChangeList()) {
        if (entry.get("citemname").asString() == item) return entry.get("dupdatedate").asString();
    }
    return {};
}

}  // namespace examora
