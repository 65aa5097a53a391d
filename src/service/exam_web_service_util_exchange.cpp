// ExamWebServiceUtil: learner data exchange: notes, corrections, answers, papers up; history down.

#include "platform/base64.h"
#include "service/exam_web_service_util.h"
#include "service/exam_web_service_util_results.h"

namespace examora {

using namespace catalogue;

namespace {

nlohmann::json valueToJSON(const Value& v) {
    switch (v.type()) {
        case Value::Type::Null:
            return nullptr;
        case Value::Type::Integer:
            return v.asInt64();
        case Value::Type::Double:
            return v.asDouble();
        case Value::Type::Text:
            return *v.textPtr();
        case Value::Type::Blob:
            return base64Encode(*v.bytesPtr());
    }
    return nullptr;
}

SoapParams historyParams(int cusId, const std::optional<std::string>& machineId,
                         const std::optional<std::string>& startDate) {
    SoapParams p;
    setInt(p, "cusId", cusId);
    setText(p, "machineId", machineId);
    setText(p, "startDate", startDate);
    return p;
}

SoapParams auditParams(const std::optional<std::string>& machineId, const Value& id) {
    SoapParams p;
    setText(p, "machineId", machineId);
    setValue(p, "id", id);
    return p;
}

}  // namespace

nlohmann::json ExamWebServiceUtil::rowsToJSON(const DictList& rows) {
    nlohmann::json list = nlohmann::json::array();
    for (const Dict& row : rows) {
        nlohmann::json object = nlohmann::json::object();
        for (const auto& [name, value] : row)
            object[name] = valueToJSON(value);
        list.push_back(std::move(object));
    }
    return list;
}

void ExamWebServiceUtil::uploadWriteNote(long noteId, int subjectId,
                                         const std::optional<std::string>& noteText,
                                         const std::optional<std::string>& changeDate,
                                         const Value& userId) {
    SoapParams p;
    setLong(p, "noteId", noteId);
    setInt(p, "subjectId", subjectId);
    setText(p, "noteText", noteText);
    setText(p, "changeDate", changeDate);
    setValue(p, "userId", userId);
    getRespondData("UploadWriteNote", p);
}

void ExamWebServiceUtil::uploadWriteError(long errorId, int subjectId, int errorType,
                                          const std::optional<std::string>& errorText,
                                          const std::optional<std::string>& changeDate,
                                          const Value& userId) {
    SoapParams p;
    setLong(p, "errorId", errorId);
    setInt(p, "subjectId", subjectId);
    setInt(p, "errorType", errorType);
    setText(p, "errorText", errorText);
    setText(p, "changeDate", changeDate);
    setValue(p, "userId", userId);
    getRespondData("UploadWriteError", p);
}

void ExamWebServiceUtil::uploadSimulationLog(int courseId, const Value& cuscode,
                                             const Value& userid,
                                             const std::optional<std::string>& chapterName,
                                             int usetime, double myscore, double totalscore,
                                             int testcount, double prescore,
                                             const std::optional<std::string>& time) {
    SoapParams p;
    setInt(p, "courseId", courseId);
    setValue(p, "cuscode", cuscode);
    setValue(p, "userid", userid);
    setText(p, "chapterName", chapterName);
    setInt(p, "usetime", usetime);
    setFraction(p, "myscore", myscore);
    setFraction(p, "totalscore", totalscore);
    setInt(p, "testcount", testcount);
    setFraction(p, "prescore", prescore);
    setText(p, "time", time);
    getRespondData("UploadSimulationLog", p);
}

void ExamWebServiceUtil::clearSubjectHistory(int cusId) {
    SoapParams p;
    setInt(p, "cusId", cusId);
    getRespondData("ClearSubjectHistory", p);
}

void ExamWebServiceUtil::uploadSubjectHistory(int cusId,
                                              const std::optional<std::string>& machineId,
                                              const DictList& rows) {
    if (rows.empty()) return;
    std::optional<std::string> json = buildJSONString(rowsToJSON(rows));
    if (!json) return;
    SoapParams p;
    setInt(p, "cusId", cusId);
    setText(p, "machineId", machineId);
    setText(p, "tblSubjectHistory", json);
    getRespondData("UploadSubjectHistory", p);
}

void ExamWebServiceUtil::clearSimulationPaperHistory(int cusId) {
    SoapParams p;
    setInt(p, "cusId", cusId);
    getRespondData("ClearSimulationPaperHistory", p);
}

void ExamWebServiceUtil::uploadSimulationPaper(
    int cusId, const std::optional<std::string>& machineId, int ipaperid, int icourseid,
    const std::optional<std::string>& cpapername, int itotaltime, double itotalscore, double iscore,
    int iexam, int ifromchapter, int isubjectcount, int itype0count, int itype1count,
    int itype2count, int itype3count, int itype4count, int itype5count,
    const std::optional<std::string>& dcreatedate, const std::optional<std::string>& dexamtime,
    int iusetime, long serverPaperId, const DictList& details) {
    // A paper goes up whole or not at all: without its details the server would hold a paper
    // it cannot show.
    std::optional<std::string> json = buildJSONString(rowsToJSON(details));
    if (!json) return;
    SoapParams p;
    setInt(p, "cusId", cusId);
    setText(p, "machineId", machineId);
    setInt(p, "ipaperid", ipaperid);
    setInt(p, "icourseid", icourseid);
    setText(p, "cpapername", cpapername);
    setInt(p, "itotaltime", itotaltime);
    setFraction(p, "itotalscore", itotalscore);
    setFraction(p, "iscore", iscore);
    setInt(p, "iexam", iexam);
    setInt(p, "ifromchapter", ifromchapter);
    setInt(p, "isubjectcount", isubjectcount);
    setInt(p, "itype0count", itype0count);
    setInt(p, "itype1count", itype1count);
    setInt(p, "itype2count", itype2count);
    setInt(p, "itype3count", itype3count);
    setInt(p, "itype4count", itype4count);
    setInt(p, "itype5count", itype5count);
    setText(p, "dcreatedate", dcreatedate);
    setText(p, "dexamtime", dexamtime);
    setInt(p, "iusetime", iusetime);
    setLong(p, "serverPaperId", serverPaperId);
    setText(p, "tblSimulationDetail", json);
    getRespondData("UploadSimulationPaper", p);
}

std::optional<nlohmann::json> ExamWebServiceUtil::downloadSubjectHistory(
    int cusId, const std::optional<std::string>& machineId,
    const std::optional<std::string>& startDate) {
    return jsonResult(
        getRespondData("DownloadSubjectHistory", historyParams(cusId, machineId, startDate)));
}

std::optional<nlohmann::json> ExamWebServiceUtil::downloadSimulationPaperHistory(
    int cusId, const std::optional<std::string>& machineId,
    const std::optional<std::string>& startDate) {
    return jsonResult(getRespondData("DownloadSimulationPaperHistory",
                                     historyParams(cusId, machineId, startDate)));
}

std::optional<nlohmann::json> ExamWebServiceUtil::downloadSimulationPaperDetailHistory(
    const Value& serverPaperId) {
    SoapParams p;
    setValue(p, "serverPaperId", serverPaperId);
    return jsonResult(getRespondData("DownloadSimulationPaperDetailHistory", p));
}

std::optional<nlohmann::json> ExamWebServiceUtil::downloadWriteNoteHistory(
    const std::optional<std::string>& machineId) {
    SoapParams p;
    setText(p, "machineId", machineId);
    return jsonResult(getRespondData("DownloadWriteNoteHistory", p));
}

bool ExamWebServiceUtil::checkWriteNoteIsAudited(const std::optional<std::string>& machineId,
                                                 const Value& id) {
    return boolResult(getRespondData("CheckWriteNoteIsAudited", auditParams(machineId, id)));
}

bool ExamWebServiceUtil::checkWriteErrorIsAudited(const std::optional<std::string>& machineId,
                                                  const Value& id) {
    return boolResult(getRespondData("CheckWriteErrorIsAudited", auditParams(machineId, id)));
}

}  // namespace examora
