// ClientDataExchange: the download of the learner's history (answers, papers, notes) from the
// service and its merge into the local database.
#include "app/common_setting.h"
#include "platform/log.h"
#include "store/base_entity.h"
#include "store/cus_setting_util.h"
#include "sync/client_data_exchange.h"

namespace examora {

namespace {

constexpr const char* kSQLite = "SQLite";

// A list the service delivered: no answer (an empty history) or a JSON list.
bool deliveredList(const ExamWebServiceUtil& service, const std::optional<nlohmann::json>& json) {
    return service.lastCallDelivered() && (!json || json->is_array());
}

std::vector<Value> paperColumns(const Dict& p) {
    return {p.get("itotaltime"),
            p.get("itotalscore"),
            p.get("iscore"),
            p.get("iexam"),
            p.get("ifromchapter"),
            p.get("isubjectcount"),
            p.get("itype0count"),
            p.get("itype1count"),
            p.get("itype2count"),
            p.get("itype3count"),
            p.get("itype4count"),
            p.get("itype5count"),
            Value(BaseEntity::toDate(p.get("dcreatedate"))),
            Value(BaseEntity::toDate(p.get("dexamtime"))),
            p.get("iusetime")};
}

}  // namespace

void ClientDataExchange::downloadUserDataFromServer(int cusId) {
    historyReport_ = HistoryReport{};
    downloadSubjectHistory(cusId, std::string(), std::string());
    downloadSimulationPaperHistory(cusId, std::string(), std::string());
    downloadWriteNoteHistory();
}

void ClientDataExchange::downloadSubjectHistory(int cusId, const std::string& machineId,
                                                const std::string& startDate) {
    std::optional<nlohmann::json> list =
        service_->downloadSubjectHistory(cusId, machineId, startDate);
    historyReport_.answersDelivered = deliveredList(*service_, list);
    historyReport_.answersWritten = historyReport_.answersDelivered;
    if (!historyReport_.answersDelivered || !list || list->empty()) return;

    historyReport_.answersWritten = false;
    if (!BeginTran()) {
        logf("download subjecthistory error: %@%@", kSQLite, "no transaction could be begun");
        return;
    }
    int stored = 0;
    try {
        for (const nlohmann::json& object : *list) {
            if (!object.is_object()) continue;
            const Dict a = ExamWebServiceUtil::jsonToDict(object);
            if (!ExecuteNonQuery("update coursesubject set bremember=?,bcollect=?,drememberdate=?,"
                                 "iwrong=?,cmyanswer=?,bcorrect=?,imyscore=?,danswerdate=? where "
                                 "isubjectid=?",
                                 {a.get("bremember"), a.get("bcollect"), a.get("drememberdate"),
                                  a.get("iwrong"), a.get("cmyanswer"), a.get("bcorrect"),
                                  a.get("imyscore"), a.get("danswerdate"), a.get("isubjectid")}))
                throw ExamError(kSQLite, "the answer state could not be stored");
            if (db()->changes() > 0) ++stored;
        }
        if (!CommitTran()) throw ExamError(kSQLite, "commit failed");
    } catch (const ExamError& e) {
        RollbackTran();
        logf("download subjecthistory error: %@%@", e.name(), e.reason());
        return;
    }
    historyReport_.answersWritten = true;
    historyReport_.answers = stored;
    if (std::optional<std::string> now = getServerTime())
        CusSettingUtil::setSettingValue("downloadsubjectdate", *now);
}

void ClientDataExchange::downloadSimulationPaperHistory(int cusId, const std::string& machineId,
                                                        const std::string& startDate) {
    std::optional<nlohmann::json> list =
        service_->downloadSimulationPaperHistory(cusId, machineId, startDate);
    historyReport_.papersDelivered = deliveredList(*service_, list);
    if (!historyReport_.papersDelivered || !list) return;
    for (const nlohmann::json& object : *list) {
        if (!object.is_object()) continue;
        const Dict paper = ExamWebServiceUtil::jsonToDict(object);
        // Over the network before the transaction, so that no write lock is held across a call.
        std::optional<nlohmann::json> details =
            service_->downloadSimulationPaperDetailHistory(paper.get("iserverpaperid"));
        if (!deliveredList(*service_, details)) {
            logf("download paper error: %@%@", "service", "no detail rows; the details stay");
            details = std::nullopt;
        } else if (!details) {
            details = nlohmann::json::array();
        }
        if (!BeginTran()) {
            logf("download paper error: %@%@", kSQLite, "no transaction could be begun");
            ++historyReport_.papersFailed;
            continue;
        }
        try {
            storeDownloadedPaper(paper, details);
            if (!CommitTran()) throw ExamError(kSQLite, "commit failed");
        } catch (const ExamError& e) {
            RollbackTran();
            ++historyReport_.papersFailed;
            logf("download paper error: %@%@", e.name(), e.reason());
        }
    }
}

void ClientDataExchange::storeDownloadedPaper(const Dict& paper,
                                              const std::optional<nlohmann::json>& details) {
    const Value& serverId = paper.get("iserverpaperid");
    int localId = 0;
    if (serverId.asInt64() >= 1) {
        localId = ExecuteScalarInt("select ipaperid from simulationpaper where iserverpaperid=?",
                                   serverId);
    }
    // Local numbers start at 1 on every device and default names repeat, so number, course and
    // name identify a paper only on the device that uploaded it.
    const std::optional<std::string> uploader = paper.get("cmachineid").asOptionalString();
    if (localId < 1 && ExchangeRule::mayMatchByNumber(uploader, CommonSetting::DeviceId())) {
        localId = ExecuteScalarInt(
            "select ipaperid from simulationpaper where ipaperid=? and icourseid=? and "
            "cpapername=?",
            paper.get("ipaperid"), paper.get("icourseid"), paper.get("cpapername"));
    }

    std::vector<Value> columns = paperColumns(paper);
    columns.push_back(serverId);
    if (localId >= 1) {
        columns.emplace_back(localId);
        if (!ExecuteNonQuery(
                "update simulationpaper set itotaltime=?,itotalscore=?,iscore=?,iexam=?,"
                "ifromchapter=?,isubjectcount=?,itype0count=?,itype1count=?,itype2count=?,"
                "itype3count=?,itype4count=?,itype5count=?,dcreatedate=?,dexamtime=?,iusetime=?,"
                "iserverpaperid=? where ipaperid=?",
                columns))
            throw ExamError(kSQLite, "the paper could not be stored");
        // The server's details replace the stored ones, so that a second download adds none.
        if (details && !ExecuteNonQuery("delete from simulationpaperdetail where ipaperid=?",
                                        std::vector<Value>{Value(localId)}))
            throw ExamError(kSQLite, "the paper's details could not be replaced");
        ++historyReport_.papersUpdated;
    } else {
        columns.insert(columns.begin(), {paper.get("cpapername"), paper.get("icourseid")});
        if (!ExecuteNonQuery(
                "insert into simulationpaper(cpapername,icourseid,itotaltime,itotalscore,iscore,"
                "iexam,ifromchapter,isubjectcount,itype0count,itype1count,itype2count,itype3count,"
                "itype4count,itype5count,dcreatedate,dexamtime,iusetime,iserverpaperid) values "
                "(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)",
                columns))
            throw ExamError(kSQLite, "the paper could not be stored");
        localId = ExecuteScalarInt("select last_insert_rowid()", std::vector<Value>{});
        if (localId < 1) throw ExamError(kSQLite, "the paper has no number");
        ++historyReport_.papersAdded;
    }
    if (!details) return;
    for (const nlohmann::json& object : *details) {
        if (!object.is_object()) continue;
        const Dict d = ExamWebServiceUtil::jsonToDict(object);
        if (!ExecuteNonQuery(
                "insert into simulationpaperdetail(ipaperid,iindex,isubjectid,"
                "cmyanswer,bcorrect,iscore,imyscore) values (?,?,?,?,?,?,?)",
                {Value(localId), d.get("iindex"), d.get("isubjectid"), d.get("cmyanswer"),
                 d.get("bcorrect"), d.get("iscore"), d.get("imyscore")}))
            throw ExamError(kSQLite, "a paper detail could not be stored");
    }
}

void ClientDataExchange::downloadWriteNoteHistory() {
    std::optional<nlohmann::json> list = service_->downloadWriteNoteHistory(getUserId());
    historyReport_.notesDelivered = deliveredList(*service_, list);
    historyReport_.notesWritten = historyReport_.notesDelivered;
    if (!historyReport_.notesDelivered || !list || list->empty()) return;

    historyReport_.notesWritten = false;
    if (!BeginTran()) {
        logf("download writenote history error: %@%@", kSQLite, "no transaction could be begun");
        return;
    }
    int added = 0;
    try {
        for (const nlohmann::json& object : *list) {
            if (!object.is_object()) continue;
            const Dict n = ExamWebServiceUtil::jsonToDict(object);
            if (ExecuteScalar("select 0 from cs_writenote where isubjectid=? and cnotetext=?",
                              n.get("isubjectid"), n.get("cnotetext")))
                continue;
            if (!ExecuteNonQuery(
                    "insert into cs_writenote(isubjectid,cnotetext,dchangedate,istatus) values "
                    "(?,?,?,?)",
                    n.get("isubjectid"), n.get("cnotetext"), n.get("dchangedate"),
                    n.get("istatus")))
                throw ExamError(kSQLite, "a note could not be stored");
            ++added;
        }
        if (!CommitTran()) throw ExamError(kSQLite, "commit failed");
    } catch (const ExamError& e) {
        RollbackTran();
        logf("download writenote history error: %@%@", e.name(), e.reason());
        return;
    }
    historyReport_.notesWritten = true;
    historyReport_.notesAdded = added;
}

}  // namespace examora
