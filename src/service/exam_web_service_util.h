#pragma once

#include <nlohmann/json.hpp>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/dict.h"
#include "platform/http_transport.h"
#include "platform/value.h"
#include "service/exam_web_service_records.h"
#include "service/soap_params.h"

namespace examora {

// The typed client of the exam web service: every service method is one operation that builds
// its parameters, makes a synchronous SOAP 1.1 call and turns the result text into what the
// caller needs. Nothing here throws: every failure ends as the kind's empty value.
// Cheap to create; one instance belongs to one thread.
class ExamWebServiceUtil {
  public:
    virtual ~ExamWebServiceUtil() = default;

    // --- call layer (exam_web_service_util_call.cpp) -----------------------------------------
    // One call of `method` with the parameters (nullopt: no parameter element at all) and a
    // time-out in seconds (below 1 keeps the 120-second default). Returns the single result
    // text, empty when there is none. Virtual so tests can stand in for the network.
    virtual std::string getRespondData(const std::string& method,
                                       const std::optional<SoapParams>& params,
                                       double timeoutSeconds);
    std::string getRespondData(const std::string& method, const std::optional<SoapParams>& params) {
        return getRespondData(method, params, 0);
    }
    // As getRespondData, collecting every part of the method's response element; nullopt when
    // the response has none.
    virtual std::optional<std::vector<std::string>> getRespondData_MutiResult(
        const std::string& method, const std::optional<SoapParams>& params, double timeoutSeconds);
    std::optional<std::vector<std::string>> getRespondData_MutiResult(
        const std::string& method, const std::optional<SoapParams>& params) {
        return getRespondData_MutiResult(method, params, 0);
    }
    // The transport the calls go through (the system's libcurl transport unless replaced).
    void setTransport(std::shared_ptr<HttpTransport> transport) {
        transport_ = std::move(transport);
    }

    // Whether the last call made through this object was delivered (ASIServiceResult::delivered):
    // the service answered the method with status 200. Each typed operation below makes at most
    // one call, so right after it this tells a delivered empty answer ("no rows", NO, 0) from a
    // failed call that the operation also reports as the kind's empty value. False before the
    // first call; an operation that sends nothing leaves it as it was.
    bool lastCallDelivered() const { return lastCallDelivered_; }

  protected:
    // For stand-ins that override the calls above.
    void setLastCallDelivered(bool delivered) { lastCallDelivered_ = delivered; }

  private:
    std::shared_ptr<HttpTransport> transport_;
    bool lastCallDelivered_ = false;

  public:
    // --- result text operations (exam_web_service_util_text.cpp) -----------------------------
    // Quoted TRUE/FALSE become 1/0, control characters are removed, then the text is parsed;
    // the top level must be an array or object. nullopt (and the log line "jsonerror->%@") on
    // malformed JSON.
    static std::optional<nlohmann::json> getJSONObject(const std::string& text);
    // Pretty-printed JSON text, or nullopt (and the log line "dic->%@") when it cannot be written.
    static std::optional<std::string> buildJSONString(const nlohmann::json& object);
    // Text forms joined by "," without spaces, null elements skipped.
    static std::string arrayListToString(const std::vector<Value>& list);
    // Null, length 0, or exactly "anyType{}".
    static bool isEmptyOfJOSN(const std::optional<std::string>& text);
    static bool isEmpty(const Value& v);
    static bool toBOOL(const std::optional<std::string>& text);
    static int toInt(const std::optional<std::string>& text);
    // A JSON object as a Dict for initWithDict: numbers stay numbers (booleans become 0/1),
    // strings stay text, JSON null becomes null, nested containers become their JSON text.
    static Dict jsonToDict(const nlohmann::json& object);

    // --- operation catalogue (exam_web_service_util_<group>.cpp) ------------------------------
    // Parameters go out in the order listed. Integers are written "%d", long integers "%ld",
    // fractions "%f". A text parameter given as nullopt (an id given as a null Value) is not
    // sent at all; an id given as a Value goes out as its text form.

    // System: server time, reachability, application version and settings.
    std::optional<std::string> getServerTime();
    // Whether the service answers within the time-out (below 1 second means 300 seconds).
    bool checkIsOnline(double timeoutSeconds);
    std::string getAppVersion();
    std::string getAppSettingValue(const std::optional<std::string>& itemName);

    // Catalogue and content: base items, pictures, course change lists and content objects.
    bool checkCourseHadNewUpdate(int courseid, int coursetype, int updateobj,
                                 const std::optional<std::string>& lastdate);
    std::optional<nlohmann::json> loadRemoteBaseItemChangeList();
    std::optional<nlohmann::json> loadBaseItemUpdateNewData(
        const std::optional<std::string>& itemName,
        const std::optional<std::string>& lastUpdateDate);
    std::optional<nlohmann::json> loadBaseItemUpdateNewDataByVersion(
        const Value& versionCode, const std::optional<std::string>& itemName,
        const std::optional<std::string>& lastUpdateDate);
    std::optional<nlohmann::json> loadTableImageList(const std::optional<std::string>& tableName,
                                                     const std::optional<std::string>& sourceId);
    // The first picture object of the list; nullopt when there is none.
    std::optional<TableImageEntity> loadTableImage(const std::optional<std::string>& tableName,
                                                   const std::optional<std::string>& sourceId);
    std::optional<nlohmann::json> loadNewCourseChapter(
        int courseId, int courseType, const std::optional<std::string>& lastUpdateDate);
    // Change lists: `lastdate` goes out as the date to compare with and, when the service
    // answers with a readable list, comes back as the service's new date. A list holding
    // "anyType{}" (or one that cannot be read) gives nullopt and leaves the date as it was.
    std::optional<nlohmann::json> loadNewCourseChapter_HadDistrice(int courseId, int courseType,
                                                                   const std::string& district,
                                                                   std::string& lastdate);
    std::optional<nlohmann::json> loadNewCourseOutline(int courseId, int courseType,
                                                       const std::string& district,
                                                       std::string& lastdate);
    // As above; questions come as a JSON list or in the compact form (readSubjectChangeList).
    // The download-type flag is accepted for the caller's sake and not sent.
    std::optional<nlohmann::json> loadNewCourseSubject_HadDistrict(int courseId, int courseType,
                                                                   const std::string& district,
                                                                   std::string& lastdate,
                                                                   bool downloadType);
    // The course package's base name; nullopt when the service has none.
    std::optional<std::string> getCourseUpdateName(int courseId, int courseType,
                                                   const std::optional<std::string>& district);
    std::optional<nlohmann::json> loadCourseChapterListInfo(const Value& courseId,
                                                            const std::vector<Value>& lstChapterId);
    std::optional<CourseChapterEntity> loadCourseChapterInfo(const Value& chapterId);
    std::optional<nlohmann::json> loadCourseSubjectListInfo(const Value& courseId,
                                                            const std::vector<Value>& lstSubjectId);
    std::optional<CourseSubjectEntity> loadCourseSubjectInfo(const Value& subjectid);
    std::optional<nlohmann::json> loadSubjectImageList(const Value& subjectId);
    std::optional<nlohmann::json> loadCourseOutlineListInfo(const Value& courseId,
                                                            const std::vector<Value>& lstOutlineId);
    std::optional<CourseOutlineEntity> loadCourseOutlineInfo(const Value& outlineid);

    // The question list of a change list: a text starting with "[" is JSON; otherwise groups
    // separated by "|" of exactly seven ","-separated fields, each becoming an object with the
    // keys isubjectid, imaxid, ichapterid, isubjecttype, iindex, iscore, ianswercount (values
    // kept as text). Groups with any other field count are skipped.
    static std::optional<nlohmann::json> readSubjectChangeList(const std::string& text);

    // Accounts: sign-up, log-in, account data, passwords, other learners' notes.
    bool checkEmail(const std::optional<std::string>& email);
    bool checkCusName(const std::optional<std::string>& cusName);
    bool checkUserPhone(int cusId, const std::optional<std::string>& mobilePhone);
    // The new account id; below 1 on failure.
    int createNewUser(const std::optional<std::string>& cusName,
                      const std::optional<std::string>& password,
                      const std::optional<std::string>& email,
                      const std::optional<std::string>& mobilePhone,
                      const std::optional<std::string>& qq,
                      const std::optional<std::string>& districtName,
                      const std::optional<std::string>& machineId);
    // True only when the service answered that it accepted the change: a refusal and a call
    // that never arrived both give false.
    bool editUser(int cusId, const std::optional<std::string>& mobilePhone,
                  const std::optional<std::string>& email, const std::optional<std::string>& qq,
                  const std::optional<std::string>& districtName);
    // The account id; below 1 on failure.
    int userLogin(const std::optional<std::string>& cusName,
                  const std::optional<std::string>& password);
    bool verifyUser(int cusId, const std::optional<std::string>& password);
    bool changePassword(int cusId, const std::optional<std::string>& newPassword);
    void bindUser(int cusId, const std::optional<std::string>& machineID);
    bool sendForgetpasswordEmail(const std::optional<std::string>& email);
    std::string sendForgetpasswordByPhone(const std::optional<std::string>& mobilePhone);
    bool resetPasswordByPhone(const std::optional<std::string>& mobilePhone,
                              const std::optional<std::string>& newPassword);
    // The account record, carrying the requested id.
    std::optional<UserEntity> loadUserInfo(int cusId);
    std::optional<nlohmann::json> searchUserNote(int subjectId, const Value& userId, int pageSize,
                                                 int pageIndex);

    // Learner data exchange: notes, corrections, answers and papers up; history down.
    void uploadWriteNote(long noteId, int subjectId, const std::optional<std::string>& noteText,
                         const std::optional<std::string>& changeDate, const Value& userId);
    void uploadWriteError(long errorId, int subjectId, int errorType,
                          const std::optional<std::string>& errorText,
                          const std::optional<std::string>& changeDate, const Value& userId);
    void uploadSimulationLog(int courseId, const Value& cuscode, const Value& userid,
                             const std::optional<std::string>& chapterName, int usetime,
                             double myscore, double totalscore, int testcount, double prescore,
                             const std::optional<std::string>& time);
    void clearSubjectHistory(int cusId);
    // Sends nothing for an empty row list.
    void uploadSubjectHistory(int cusId, const std::optional<std::string>& machineId,
                              const DictList& rows);
    void clearSimulationPaperHistory(int cusId);
    // One paper with its detail rows.
    void uploadSimulationPaper(int cusId, const std::optional<std::string>& machineId, int ipaperid,
                               int icourseid, const std::optional<std::string>& cpapername,
                               int itotaltime, double itotalscore, double iscore, int iexam,
                               int ifromchapter, int isubjectcount, int itype0count,
                               int itype1count, int itype2count, int itype3count, int itype4count,
                               int itype5count, const std::optional<std::string>& dcreatedate,
                               const std::optional<std::string>& dexamtime, int iusetime,
                               long serverPaperId, const DictList& details);
    std::optional<nlohmann::json> downloadSubjectHistory(
        int cusId, const std::optional<std::string>& machineId,
        const std::optional<std::string>& startDate);
    std::optional<nlohmann::json> downloadSimulationPaperHistory(
        int cusId, const std::optional<std::string>& machineId,
        const std::optional<std::string>& startDate);
    std::optional<nlohmann::json> downloadSimulationPaperDetailHistory(const Value& serverPaperId);
    std::optional<nlohmann::json> downloadWriteNoteHistory(
        const std::optional<std::string>& machineId);
    bool checkWriteNoteIsAudited(const std::optional<std::string>& machineId, const Value& id);
    bool checkWriteErrorIsAudited(const std::optional<std::string>& machineId, const Value& id);
    // Table rows as a JSON list of objects (bytes as Base64 text), for the upload parameters.
    static nlohmann::json rowsToJSON(const DictList& rows);

    // Presence and messages.
    // (online login id, second answer value); (0, 0) unless the service answers both.
    std::pair<int, int> customerLoginOn(int cusId, const std::optional<std::string>& machineId);
    void customerLoginOff(int cusId);
    bool checkCustomerOnline(int loginId);
    std::string getCustomerStatuMemo(int cusId);
    std::string getCustomerMemo(int cusId);
    std::optional<MessageEntity> getNextPhoneMessage(int curMsgId, int courseId, int userId);
    std::optional<MessageEntity> loadPhoneMessageInfo(int msgId);
    std::optional<std::vector<MessageEntity>> loadPhoneMessageListByUser(int userId, int courseId,
                                                                         int pageSize,
                                                                         int pageIndex);
    void readPhoneMessage(int userId, int msgId);
    int getPhoneMessageStatus(int userId, int msgId);
    int getPhoneMessageUnReadCount(int userId, int courseId);
    bool SendPhoneValidateCode(const std::optional<std::string>& phone);
    std::optional<std::string> CheckPhoneValidateCode(const std::optional<std::string>& phone,
                                                      const std::optional<std::string>& code);
    std::optional<nlohmann::json> loadAgentInfoByCode(const std::optional<std::string>& agentCode,
                                                      const std::optional<std::string>& time);
};

}  // namespace examora
