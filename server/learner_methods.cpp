// The learner-data methods of the reference exam service: uploads, clears and history downloads.
#include "server/learner_methods.h"

#include <cmath>
#include <memory>
#include <stdexcept>

#include "server/account_store.h"
#include "server/learner_store.h"
#include "server/soap_dispatcher.h"
#include "service/exam_web_service_util.h"

namespace examora {

namespace {

long long required(const SoapRequest& r, const char* name) {
    std::optional<long long> n = r.integer(name);
    if (!n) throw std::invalid_argument(std::string("parameter ") + name + " is not a number");
    return *n;
}

// An integer parameter as a value: a missing one is null.
Value integer(const SoapRequest& r, const char* name) {
    std::optional<long long> n = r.integer(name);
    if (!n && r.param(name)) {
        throw std::invalid_argument(std::string("parameter ") + name + " is not a number");
    }
    return n ? Value(*n) : Value();
}

// A fractional parameter ("12.500000") as a value: a missing one is null.
Value fraction(const SoapRequest& r, const char* name) {
    std::optional<std::string> text = r.param(name);
    if (!text) return Value();
    try {
        std::size_t used = 0;
        const double v = std::stod(*text, &used);
        if (used == text->size() && std::isfinite(v)) return Value(v);
    } catch (const std::exception&) {
    }
    throw std::invalid_argument(std::string("parameter ") + name + " is not a number");
}

Value text(const SoapRequest& r, const char* name) {
    return Value(r.param(name));
}

// A parameter holding a JSON list of objects, as DictList.
DictList rowList(const SoapRequest& r, const char* name) {
    nlohmann::json json = nlohmann::json::parse(r.text(name), nullptr, false);
    if (json.is_discarded() || !json.is_array()) {
        throw std::invalid_argument(std::string("parameter ") + name + " is not a JSON list");
    }
    DictList rows;
    rows.reserve(json.size());
    for (const nlohmann::json& object : json) {
        if (!object.is_object()) {
            throw std::invalid_argument(std::string("parameter ") + name +
                                        " holds something else than objects");
        }
        rows.push_back(ExamWebServiceUtil::jsonToDict(object));
    }
    return rows;
}

// The user text of notes, reports and logs; without one the row could never be asked for.
std::string user(const SoapRequest& r, const char* name) {
    std::string u = r.text(name);
    if (u.empty()) throw std::invalid_argument(std::string("parameter ") + name + " is empty");
    return u;
}

ServiceReply none(const std::string& method) {
    return ServiceReply::soapAnswer(method, std::nullopt);
}

ServiceReply list(const std::string& method, const DictList& rows) {
    return ServiceReply::soapAnswer(method,
                                    ExamWebServiceUtil::rowsToJSON(rows).dump(
                                        -1, ' ', false, nlohmann::json::error_handler_t::replace));
}

ServiceReply stored(const std::string& method, bool ok) {
    if (!ok) throw std::runtime_error("the learner's data could not be stored");
    return none(method);
}

}  // namespace

void LearnerMethods::registerWith(SoapDispatcher& d, ServiceStore& store) {
    auto learners = std::make_shared<LearnerStore>(store);
    auto accounts = std::make_shared<AccountStore>(store);
    // The account a call acts for; a number the service does not hold is refused.
    auto account = [accounts](const SoapRequest& r) {
        const long long id = required(r, "cusId");
        if (!accounts->account(id)) throw std::invalid_argument("unknown account");
        return id;
    };
    auto known = [accounts](const SoapRequest& r) {
        std::optional<long long> id = r.integer("cusId");
        return id && accounts->account(*id) ? *id : 0;
    };

    d.add("UploadWriteNote", [learners](const SoapRequest& r) {
        return stored(
            "UploadWriteNote",
            learners->saveNote(user(r, "userId"), required(r, "noteId"), required(r, "subjectId"),
                               r.param("noteText"), r.param("changeDate")));
    });
    d.add("UploadWriteError", [learners](const SoapRequest& r) {
        return stored("UploadWriteError",
                      learners->saveReport(user(r, "userId"), required(r, "errorId"),
                                           required(r, "subjectId"), required(r, "errorType"),
                                           r.param("errorText"), r.param("changeDate")));
    });
    d.add("UploadSimulationLog", [learners](const SoapRequest& r) {
        Dict log{
            {"cuserid", Value(user(r, "userid"))},      {"ccuscode", text(r, "cuscode")},
            {"icourseid", integer(r, "courseId")},      {"cchaptername", text(r, "chapterName")},
            {"iusetime", integer(r, "usetime")},        {"imyscore", fraction(r, "myscore")},
            {"itotalscore", fraction(r, "totalscore")}, {"itestcount", integer(r, "testcount")},
            {"dprescore", fraction(r, "prescore")},     {"dtime", text(r, "time")}};
        return stored("UploadSimulationLog", learners->saveLog(log));
    });

    d.add("ClearSubjectHistory", [learners, account](const SoapRequest& r) {
        return stored("ClearSubjectHistory", learners->clearAnswers(account(r)));
    });
    d.add("UploadSubjectHistory", [learners, account](const SoapRequest& r) {
        const long long cusId = account(r);
        return stored(
            "UploadSubjectHistory",
            learners->saveAnswers(cusId, r.text("machineId"), rowList(r, "tblSubjectHistory")));
    });
    d.add("ClearSimulationPaperHistory", [learners, account](const SoapRequest& r) {
        return stored("ClearSimulationPaperHistory", learners->clearPapers(account(r)));
    });
    d.add("UploadSimulationPaper", [learners, account](const SoapRequest& r) {
        const long long cusId = account(r);
        Dict paper{{"ipaperid", integer(r, "ipaperid")},
                   {"icourseid", integer(r, "icourseid")},
                   {"cpapername", text(r, "cpapername")},
                   {"itotaltime", integer(r, "itotaltime")},
                   {"itotalscore", fraction(r, "itotalscore")},
                   {"iscore", fraction(r, "iscore")},
                   {"iexam", integer(r, "iexam")},
                   {"ifromchapter", integer(r, "ifromchapter")},
                   {"isubjectcount", integer(r, "isubjectcount")}};
        for (const char* type : {"itype0count", "itype1count", "itype2count", "itype3count",
                                 "itype4count", "itype5count"})
            paper.set(type, integer(r, type));
        paper.set("dcreatedate", text(r, "dcreatedate"));
        paper.set("dexamtime", text(r, "dexamtime"));
        paper.set("iusetime", integer(r, "iusetime"));
        const DictList details = rowList(r, "tblSimulationDetail");
        const Value serverPaperId = integer(r, "serverPaperId");
        return stored("UploadSimulationPaper",
                      learners->savePaper(cusId, r.text("machineId"),
                                          serverPaperId.isNull() ? 0 : serverPaperId.asInt64(),
                                          paper, details) > 0);
    });

    d.add("DownloadSubjectHistory", [learners, known](const SoapRequest& r) {
        const long long cusId = known(r);
        return list("DownloadSubjectHistory",
                    cusId ? learners->answers(cusId, r.text("startDate")) : DictList{});
    });
    d.add("DownloadSimulationPaperHistory", [learners, known](const SoapRequest& r) {
        const long long cusId = known(r);
        return list("DownloadSimulationPaperHistory",
                    cusId ? learners->papers(cusId, r.text("startDate")) : DictList{});
    });
    d.add("DownloadSimulationPaperDetailHistory", [learners](const SoapRequest& r) {
        return list("DownloadSimulationPaperDetailHistory",
                    learners->paperDetails(required(r, "serverPaperId")));
    });
    d.add("DownloadWriteNoteHistory", [learners](const SoapRequest& r) {
        const std::string u = r.text("machineId");
        return list("DownloadWriteNoteHistory", u.empty() ? DictList{} : learners->notes(u));
    });
    d.add("CheckWriteNoteIsAudited", [learners](const SoapRequest& r) {
        return ServiceReply::soapAnswer(
            "CheckWriteNoteIsAudited",
            learners->hasNote(r.text("machineId"), required(r, "id")) ? "true" : "false");
    });
    d.add("CheckWriteErrorIsAudited", [learners](const SoapRequest& r) {
        return ServiceReply::soapAnswer(
            "CheckWriteErrorIsAudited",
            learners->hasReport(r.text("machineId"), required(r, "id")) ? "true" : "false");
    });
}

}  // namespace examora
