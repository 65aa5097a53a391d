// The system and catalogue methods of the reference exam service.
#include "server/catalogue_methods.h"

#include <nlohmann/json.hpp>

#include "server/catalogue_table.h"
#include "server/service_store.h"
#include "server/soap_dispatcher.h"
#include "service/exam_web_service_util.h"
#include "store/sqlite_connection.h"

namespace examora {

namespace {

// Compact JSON; bytes as Base64 text. Text that is not UTF-8 is replaced, never refused, so a
// stored row can always be answered.
std::string jsonText(const DictList& rows) {
    return ExamWebServiceUtil::rowsToJSON(rows).dump(-1, ' ', false,
                                                     nlohmann::json::error_handler_t::replace);
}

ServiceReply listAnswer(const std::string& method, const DictList& rows) {
    return ServiceReply::soapAnswer(method, jsonText(rows));
}

long long requiredInteger(const SoapRequest& r, const char* name) {
    std::optional<long long> n = r.integer(name);
    if (!n) throw std::invalid_argument(std::string("parameter ") + name + " is not a number");
    return *n;
}

// A message as the client's message-info reader takes it: the id as a number under "imsgid",
// the type under "ctype".
Dict messageInfo(const Dict& row) {
    return Dict{{"imsgid", row.get("cmsgid").asInt64()},
                {"cmsgtitle", row.get("cmsgtitle")},
                {"cmsgurl", row.get("cmsgurl")},
                {"ctype", row.get("itype")}};
}

}  // namespace

void CatalogueMethods::registerWith(SoapDispatcher& d, const ServiceStore& store) {
    const ServiceStore* s = &store;

    d.add("GetServerTime",
          [s](const SoapRequest&) { return ServiceReply::soapAnswer("GetServerTime", s->now()); });

    d.add("GetAppVersion", [](const SoapRequest&) {
        return ServiceReply::soapAnswer("GetAppVersion", EXAMORA_VERSION);
    });

    d.add("GetAppSettingValue", [s](const SoapRequest& r) {
        std::optional<Dict> row =
            s->catalogueRow(*CatalogueTable::find("sys_cussetting"), {r.text("itemName")});
        std::optional<std::string> value;
        if (row) value = row->get("cvalue").asOptionalString();
        return ServiceReply::soapAnswer("GetAppSettingValue", value);
    });

    d.add("LoadRemoteBaseItemChangeList", [s](const SoapRequest&) {
        return listAnswer("LoadRemoteBaseItemChangeList", s->baseItemChangeList());
    });

    d.add("LoadBaseItemUpdateNewData", [s](const SoapRequest& r) {
        std::optional<DictList> rows =
            s->baseItemRowsSince(r.text("itemName"), r.text("lastUpdateDate"), std::nullopt);
        return listAnswer("LoadBaseItemUpdateNewData", rows.value_or(DictList{}));
    });

    d.add("LoadBaseItemUpdateNewDataByVersion", [s](const SoapRequest& r) {
        std::optional<DictList> rows = s->baseItemRowsSince(
            r.text("itemName"), r.text("lastUpdateDate"), r.text("versionCode"));
        return listAnswer("LoadBaseItemUpdateNewDataByVersion", rows.value_or(DictList{}));
    });

    // A row without a picture is answered with a record without bytes, so that a client drops
    // a picture the service no longer has.
    d.add("LoadTableImage", [s](const SoapRequest& r) {
        const std::string table = r.text("tableName");
        const std::string source = r.text("sourceId");
        std::optional<Dict> picture =
            s->catalogueRow(CatalogueTable::tableImage(), {Value(table), Value(source)});
        if (!picture)
            picture = Dict{{"ctblname", table}, {"csourceid", source}, {"pimage", Value()}};
        return listAnswer("LoadTableImage", DictList{*picture});
    });

    d.add("LoadPhoneMessageInfo", [s](const SoapRequest& r) {
        const long long id = requiredInteger(r, "msgId");
        std::optional<Dict> row =
            s->catalogueRow(*CatalogueTable::find("sys_message"), {std::to_string(id)});
        DictList rows;
        if (row) rows.push_back(messageInfo(*row));
        return listAnswer("LoadPhoneMessageInfo", rows);
    });

    // The next published message after the current one: for the course or for every course,
    // not stopped, and shown now.
    d.add("GetNextPhoneMessage", [s](const SoapRequest& r) {
        const long long current = requiredInteger(r, "curMsgId");
        const long long course = requiredInteger(r, "courseId");
        const std::string now = s->now();
        DictList rows;
        s->read([&](SqliteConnection& db) {
            rows = ServiceStore::rows(
                db,
                "select * from sys_message where cast(cmsgid as integer)>? and "
                "(icourseid is null or icourseid=0 or icourseid=?) and ifnull(bstopflag,0)=0 and "
                "(dstartdate is null or dstartdate<=?) and (denddate is null or denddate>=?) "
                "order by cast(cmsgid as integer) limit 1",
                {current, course, now, now});
        });
        return listAnswer("GetNextPhoneMessage", rows);
    });
}

}  // namespace examora
