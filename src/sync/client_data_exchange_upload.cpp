// ClientDataExchange: the exchange-task queue and the upload of the learner's answers and papers.
#include "app/common_setting.h"
#include "platform/log.h"
#include "platform/strformat.h"
#include "store/base_entity.h"
#include "store/cus_setting_util.h"
#include "store/database_scope.h"
#include "sync/client_data_exchange.h"

namespace examora {

namespace {

constexpr const char* kUploadFailed = "上传数据";
constexpr const char* kStoreUnreadable = "数据库读取失败！";

constexpr const char* kRemoveTask =
    "delete from sys_exchangeclienttask where cprimaryvalue=? and citemname=?";

const char* recordQuery(ExchangeTable table) {
    switch (table) {
        case ExchangeTable::WriteNote:
            return "select * from cs_writenote where id=?";
        case ExchangeTable::WriteError:
            return "select * from cs_writeerror where id=?";
        case ExchangeTable::SimulationLog:
            return "select * from simulationlog where id=?";
        case ExchangeTable::Unknown:
            break;
    }
    return nullptr;
}

std::optional<std::string> text(const Dict& row, const char* name) {
    return row.get(name).asOptionalString();
}

std::optional<std::string> date(const Dict& row, const char* name) {
    return BaseEntity::toDate(row.get(name));
}

}  // namespace

std::string ClientDataExchange::getUserId() {
    return CommonSetting::LoginUserId() >= 1 ? CommonSetting::LoginUserName()
                                             : CommonSetting::DeviceId();
}

int ClientDataExchange::ConvertToInt(const Value& value) {
    return value.isNull() ? 0 : value.asInt();
}

DictList ClientDataExchange::readRows(const char* sql, const std::vector<Value>& args) {
    DatabaseScope scope(*this);
    std::unique_ptr<SqliteResultSet> rs = ExecuteDataReader(sql, args);
    if (!rs) throw ExamError(kUploadFailed, kStoreUnreadable);
    DictList rows;
    while (rs->next())
        rows.push_back(rs->resultDictionary());
    rs->close();
    return rows;
}

TaskSend ClientDataExchange::uploadTaskToServer() {
    DictList head;
    {
        DatabaseScope scope(*this);
        std::unique_ptr<SqliteResultSet> rs = ExecuteDataReader(
            "select citemname,cprimaryvalue from sys_exchangeclienttask order by dchangedate");
        if (!rs) throw ExamError(kUploadFailed, kStoreUnreadable);
        if (rs->next()) head.push_back(rs->resultDictionary());
        rs->close();
    }
    if (head.empty()) return TaskSend::None;
    return uploadTaskToServer(head[0].get("citemname").asString(),
                              head[0].get("cprimaryvalue").asString());
}

bool ClientDataExchange::sendTaskRecord(ExchangeTable table, const Dict& r) {
    switch (table) {
        case ExchangeTable::WriteNote:
            service_->uploadWriteNote(static_cast<long>(r.get("id").asInt64()),
                                      ConvertToInt(r.get("isubjectid")), text(r, "cnotetext"),
                                      text(r, "dchangedate"), Value(getUserId()));
            break;
        case ExchangeTable::WriteError:
            service_->uploadWriteError(static_cast<long>(r.get("id").asInt64()),
                                       ConvertToInt(r.get("isubjectid")),
                                       ConvertToInt(r.get("ierrortype")), text(r, "cerrortext"),
                                       text(r, "dchangedate"), Value(getUserId()));
            break;
        case ExchangeTable::SimulationLog:
            service_->uploadSimulationLog(
                ConvertToInt(r.get("icourseid")), r.get("ccuscode"), r.get("cuserid"),
                text(r, "cchaptername"), ConvertToInt(r.get("iusetime")),
                static_cast<float>(r.get("imyscore").asDouble()),
                static_cast<float>(r.get("itotalscore").asDouble()),
                ConvertToInt(r.get("itestcount")),
                static_cast<float>(r.get("dprescore").asDouble()), text(r, "dchangedate"));
            break;
        case ExchangeTable::Unknown:
            return false;
    }
    return service_->lastCallDelivered();
}

TaskSend ClientDataExchange::uploadTaskToServer(const std::string& itemName,
                                                const std::string& primaryValue) {
    const ExchangeTable table = ExchangeRule::tableFor(itemName);
    const char* query = recordQuery(table);
    DictList record;
    if (query) record = readRows(query, {Value(Value(primaryValue).asInt64())});
    if (record.empty()) {
        if (!ExecuteNonQuery(kRemoveTask, primaryValue, itemName))
            throw ExamError(kUploadFailed, kStoreUnreadable);
        return TaskSend::Dropped;
    }
    // A record that cannot be written as JSON text would fail every time and hold up the queue.
    if (!ExchangeRule::sendable(record[0])) {
        logf("upload task %@ %@ error:%@", itemName, primaryValue, "text is not UTF-8");
        ExecuteNonQuery(kRemoveTask, primaryValue, itemName);
        return TaskSend::Dropped;
    }
    if (!sendTaskRecord(table, record[0])) {
        logf("upload task %@ %@ error:%@", itemName, primaryValue, "not delivered; kept");
        return TaskSend::Kept;
    }

    // The task goes only if the record is still what was sent: a change made while the call ran
    // found its task queued already and added none, so removing it would lose that change.
    if (!BeginTran()) throw ExamError(kUploadFailed, kStoreUnreadable);
    try {
        DictList now = readRows(query, {Value(Value(primaryValue).asInt64())});
        if (!now.empty() && now[0] != record[0]) {
            RollbackTran();
            return TaskSend::Kept;
        }
        if (!ExecuteNonQuery(kRemoveTask, primaryValue, itemName) || !CommitTran())
            throw ExamError(kUploadFailed, kStoreUnreadable);
    } catch (...) {
        RollbackTran();
        throw;
    }
    return TaskSend::Sent;
}

void ClientDataExchange::uploadUserDataToServer(int cusId, int courseId, bool clear,
                                                const std::string& machineId) {
    uploadReport_ = UploadReport{};
    // Every task queued before the pass, oldest first; a failed call ends the round, since the
    // service is then most likely out of reach.
    const int queued =
        ExecuteScalarInt("select count(*) from sys_exchangeclienttask", std::vector<Value>{});
    for (int i = 0; i < queued; ++i) {
        const TaskSend sent = uploadTaskToServer();
        if (sent == TaskSend::None) break;
        if (sent == TaskSend::Sent) ++uploadReport_.tasksSent;
        if (sent == TaskSend::Dropped) ++uploadReport_.tasksDropped;
        if (sent == TaskSend::Kept) {
            ++uploadReport_.tasksKept;
            uploadReport_.tasksDelivered = false;
            break;
        }
    }
    uploadSubjectHistory(cusId, courseId, clear, machineId);
    uploadSimulationPaper(cusId, courseId, clear, machineId);
}

void ClientDataExchange::uploadSubjectHistory(int cusId, int courseId, bool clear,
                                              const std::string& machineId) {
    const std::string markName = strformat("uploadsubjectdate%d", courseId);
    // The device's clock before the rows are read: an answer given during the pass is on or
    // after it, so the next pass sends it again.
    const std::string passStart = GetDateNow();
    const std::string start =
        ExchangeRule::startDate(clear, CusSettingUtil::getSettingValue(markName));
    DictList rows = readRows(
        "select isubjectid,icourseid,bremember,bcollect,drememberdate,iwrong,cmyanswer,bcorrect,"
        "imyscore,danswerdate from coursesubject where icourseid=? and (drememberdate>=? or "
        "danswerdate>=?)",
        {Value(courseId), Value(start), Value(start)});
    std::erase_if(rows, [](const Dict& row) {
        if (ExchangeRule::sendable(row)) return false;
        logf("upload subjecthistory error:%@ %@", row.get("isubjectid"), "text is not UTF-8");
        return true;
    });

    bool delivered = true;
    if (clear) {
        service_->clearSubjectHistory(cusId);
        delivered = service_->lastCallDelivered();
        if (delivered) {
            uploadReport_.cleared = true;
            // The service cleared every course of the learner: each must be sent whole again.
            if (!ExecuteNonQuery("update sys_cussetting set cvalue='' where cname like "
                                 "'uploadsubjectdate%'",
                                 std::vector<Value>{}))
                throw ExamError(kUploadFailed, kStoreUnreadable);
        }
    }
    for (const auto& [begin, end] : ExchangeRule::batches(rows.size())) {
        if (!delivered) break;
        service_->uploadSubjectHistory(cusId, machineId,
                                       DictList(rows.begin() + static_cast<std::ptrdiff_t>(begin),
                                                rows.begin() + static_cast<std::ptrdiff_t>(end)));
        delivered = service_->lastCallDelivered();
        if (delivered) {
            uploadReport_.answers += end - begin;
            ++uploadReport_.answerCalls;
        }
    }
    uploadReport_.answersDelivered = uploadReport_.answersDelivered && delivered;
    if (std::optional<std::string> mark = ExchangeRule::markAfterPass(delivered, passStart)) {
        CusSettingUtil::setSettingValue(markName, *mark);
    } else {
        logf("upload subjecthistory error:%@ %@", courseId, "not delivered; the mark stays");
    }
}

void ClientDataExchange::uploadSimulationPaper(int cusId, int courseId, bool clear,
                                               const std::string& machineId) {
    const std::string markName = strformat("uploadpaperdate%d", courseId);
    const std::string passStart = GetDateNow();
    const std::string start =
        ExchangeRule::startDate(clear, CusSettingUtil::getSettingValue(markName));
    const DictList papers = readRows(
        "select * from simulationpaper where icourseid=? and (dcreatedate>=? or dexamtime>=?)",
        {Value(courseId), Value(start), Value(start)});

    bool delivered = true;
    for (const Dict& p : papers) {
        const Value& paperId = p.get("ipaperid");
        const DictList details =
            readRows("select * from simulationpaperdetail where ipaperid=?", {paperId});
        bool sendable = ExchangeRule::sendable(p);
        for (const Dict& d : details)
            sendable = sendable && ExchangeRule::sendable(d);
        if (!sendable) {
            logf("upload paper error:%@ %@", paperId, "text is not UTF-8");
            continue;
        }
        service_->uploadSimulationPaper(
            cusId, machineId, ConvertToInt(paperId), ConvertToInt(p.get("icourseid")),
            text(p, "cpapername").value_or(std::string()), ConvertToInt(p.get("itotaltime")),
            p.get("itotalscore").asDouble(), p.get("iscore").asDouble(),
            ConvertToInt(p.get("iexam")), ConvertToInt(p.get("ifromchapter")),
            ConvertToInt(p.get("isubjectcount")), ConvertToInt(p.get("itype0count")),
            ConvertToInt(p.get("itype1count")), ConvertToInt(p.get("itype2count")),
            ConvertToInt(p.get("itype3count")), ConvertToInt(p.get("itype4count")),
            ConvertToInt(p.get("itype5count")), date(p, "dcreatedate"), date(p, "dexamtime"),
            ConvertToInt(p.get("iusetime")), static_cast<long>(p.get("iserverpaperid").asInt64()),
            details);
        delivered = service_->lastCallDelivered();
        if (!delivered) break;
        ++uploadReport_.papers;
    }
    uploadReport_.papersDelivered = uploadReport_.papersDelivered && delivered;
    if (std::optional<std::string> mark = ExchangeRule::markAfterPass(delivered, passStart)) {
        CusSettingUtil::setSettingValue(markName, *mark);
    } else {
        logf("upload paper error:%@ %@", courseId, "not delivered; the mark stays");
    }
}

}  // namespace examora
