// ExamWebServiceUtil: catalogue and content: base items, pictures, change lists, content.

#include <cctype>

#include "platform/text_util.h"
#include "service/exam_web_service_util.h"
#include "service/exam_web_service_util_results.h"
#include "store/records/course_chapter_entity.h"
#include "store/records/course_outline_entity.h"
#include "store/records/course_subject_entity.h"
#include "store/records/table_image_entity.h"

namespace examora {

using namespace catalogue;

namespace {

// The key of each field of a compact question group, in field order.
constexpr const char* kSubjectGroupKeys[] = {"isubjectid", "imaxid", "ichapterid",  "isubjecttype",
                                             "iindex",     "iscore", "ianswercount"};
constexpr std::size_t kSubjectGroupFields = std::size(kSubjectGroupKeys);

SoapParams changeListParams(int courseId, int courseType, const std::string& district,
                            const std::string& lastdate) {
    SoapParams p;
    setInt(p, "courseId", courseId);
    setInt(p, "courseType", courseType);
    setText(p, "district", district);
    setText(p, "lastUpdateDate", lastdate);
    return p;
}

// The change list of a multi answer (its first part), or nullopt when there is none. The service
// answers "anyType{}" for an empty list, also embedded in a longer text.
std::optional<std::string> changeListText(const std::optional<std::vector<std::string>>& parts) {
    if (!isPair(parts)) return std::nullopt;
    const std::string& list = (*parts)[0];
    if (ExamWebServiceUtil::isEmptyOfJOSN(list) || list.find("anyType{}") != std::string::npos) {
        return std::nullopt;
    }
    return list;
}

// Reads the change list with `read`. The new date (the second part) is taken only when the list
// could be read: a caller that stores the date after a failed read would never ask for the lost
// changes again.
template <class Read>
std::optional<nlohmann::json> takeChangeList(const std::optional<std::vector<std::string>>& parts,
                                             std::string& lastdate, Read read) {
    std::optional<std::string> list = changeListText(parts);
    if (!list) return std::nullopt;
    std::optional<nlohmann::json> result = read(*list);
    if (result) lastdate = (*parts)[1];
    return result;
}

SoapParams idListParams(const Value& courseId, const char* listName,
                        const std::vector<Value>& ids) {
    SoapParams p;
    setValue(p, "courseId", courseId);
    setText(p, listName, ExamWebServiceUtil::arrayListToString(ids));
    return p;
}

}  // namespace

bool ExamWebServiceUtil::checkCourseHadNewUpdate(int courseid, int coursetype, int updateobj,
                                                 const std::optional<std::string>& lastdate) {
    SoapParams p;
    setInt(p, "courseid", courseid);
    setInt(p, "coursetype", coursetype);
    setInt(p, "updateobj", updateobj);
    setText(p, "lastdate", lastdate);
    return boolResult(getRespondData("CheckCourseHadNewUpdate", p));
}

std::optional<nlohmann::json> ExamWebServiceUtil::loadRemoteBaseItemChangeList() {
    return jsonResult(getRespondData("LoadRemoteBaseItemChangeList", std::nullopt));
}

std::optional<nlohmann::json> ExamWebServiceUtil::loadBaseItemUpdateNewData(
    const std::optional<std::string>& itemName, const std::optional<std::string>& lastUpdateDate) {
    SoapParams p;
    setText(p, "itemName", itemName);
    setText(p, "lastUpdateDate", lastUpdateDate);
    return jsonResult(getRespondData("LoadBaseItemUpdateNewData", p));
}

std::optional<nlohmann::json> ExamWebServiceUtil::loadBaseItemUpdateNewDataByVersion(
    const Value& versionCode, const std::optional<std::string>& itemName,
    const std::optional<std::string>& lastUpdateDate) {
    SoapParams p;
    setValue(p, "versionCode", versionCode);
    setText(p, "itemName", itemName);
    setText(p, "lastUpdateDate", lastUpdateDate);
    return jsonResult(getRespondData("LoadBaseItemUpdateNewDataByVersion", p));
}

std::optional<nlohmann::json> ExamWebServiceUtil::loadTableImageList(
    const std::optional<std::string>& tableName, const std::optional<std::string>& sourceId) {
    SoapParams p;
    setText(p, "tableName", tableName);
    setText(p, "sourceId", sourceId);
    return jsonResult(getRespondData("LoadTableImage", p));
}

std::optional<TableImageEntity> ExamWebServiceUtil::loadTableImage(
    const std::optional<std::string>& tableName, const std::optional<std::string>& sourceId) {
    std::optional<nlohmann::json> list = loadTableImageList(tableName, sourceId);
    if (!list || !list->is_array() || list->empty() || !(*list)[0].is_object()) {
        return std::nullopt;
    }
    Dict dict = jsonToDict((*list)[0]);
    return recordFrom<TableImageEntity>(dict);
}

std::optional<nlohmann::json> ExamWebServiceUtil::loadNewCourseChapter(
    int courseId, int courseType, const std::optional<std::string>& lastUpdateDate) {
    SoapParams p;
    setInt(p, "courseId", courseId);
    setInt(p, "courseType", courseType);
    setText(p, "lastUpdateDate", lastUpdateDate);
    return jsonResult(getRespondData("LoadNewCourseChapter", p));
}

std::optional<nlohmann::json> ExamWebServiceUtil::loadNewCourseChapter_HadDistrice(
    int courseId, int courseType, const std::string& district, std::string& lastdate) {
    auto parts =
        getRespondData_MutiResult("LoadNewCourseChapter_HadDistrice",
                                  changeListParams(courseId, courseType, district, lastdate), 0);
    return takeChangeList(parts, lastdate,
                          [](const std::string& list) { return getJSONObject(list); });
}

std::optional<nlohmann::json> ExamWebServiceUtil::loadNewCourseOutline(int courseId, int courseType,
                                                                       const std::string& district,
                                                                       std::string& lastdate) {
    auto parts = getRespondData_MutiResult(
        "LoadNewCourseOutline", changeListParams(courseId, courseType, district, lastdate), 0);
    return takeChangeList(parts, lastdate,
                          [](const std::string& list) { return getJSONObject(list); });
}

std::optional<nlohmann::json> ExamWebServiceUtil::loadNewCourseSubject_HadDistrict(
    int courseId, int courseType, const std::string& district, std::string& lastdate,
    bool /*downloadType*/) {
    auto parts =
        getRespondData_MutiResult("LoadNewCourseSubjectGroup_HadDistrict",
                                  changeListParams(courseId, courseType, district, lastdate), 0);
    return takeChangeList(parts, lastdate, readSubjectChangeList);
}

std::optional<nlohmann::json> ExamWebServiceUtil::readSubjectChangeList(const std::string& text) {
    // A JSON list may arrive with leading white space when the answer is laid out; the compact
    // form starts with a digit.
    std::size_t first = 0;
    while (first < text.size() && std::isspace(static_cast<unsigned char>(text[first])))
        ++first;
    if (first < text.size() && text[first] == '[') return getJSONObject(text);

    nlohmann::json list = nlohmann::json::array();
    for (const std::string& group : split(text, "|")) {
        std::vector<std::string> fields = split(group, ",");
        if (fields.size() != kSubjectGroupFields) continue;
        nlohmann::json object = nlohmann::json::object();
        for (std::size_t i = 0; i < kSubjectGroupFields; ++i) {
            object[kSubjectGroupKeys[i]] = fields[i];
        }
        list.push_back(std::move(object));
    }
    return list;
}

std::optional<std::string> ExamWebServiceUtil::getCourseUpdateName(
    int courseId, int courseType, const std::optional<std::string>& district) {
    SoapParams p;
    setInt(p, "courseId", courseId);
    setInt(p, "courseType", courseType);
    setText(p, "district", district);
    return textResult(getRespondData("GetCourseUpdateName", p));
}

std::optional<nlohmann::json> ExamWebServiceUtil::loadCourseChapterListInfo(
    const Value& courseId, const std::vector<Value>& lstChapterId) {
    return jsonResult(getRespondData("LoadCourseChapterListInfo",
                                     idListParams(courseId, "lstChapterId", lstChapterId)));
}

std::optional<CourseChapterEntity> ExamWebServiceUtil::loadCourseChapterInfo(
    const Value& chapterId) {
    SoapParams p;
    setValue(p, "chapterId", chapterId);
    std::optional<Dict> dict = singleObject(jsonResult(getRespondData("LoadCourseChapterInfo", p)));
    if (!dict) return std::nullopt;
    return recordFrom<CourseChapterEntity>(*dict);
}

std::optional<nlohmann::json> ExamWebServiceUtil::loadCourseSubjectListInfo(
    const Value& courseId, const std::vector<Value>& lstSubjectId) {
    return jsonResult(getRespondData("LoadCourseSubjectListInfo",
                                     idListParams(courseId, "lstSubjectId", lstSubjectId)));
}

std::optional<CourseSubjectEntity> ExamWebServiceUtil::loadCourseSubjectInfo(
    const Value& subjectid) {
    SoapParams p;
    setValue(p, "subjectid", subjectid);
    std::optional<Dict> dict = singleObject(jsonResult(getRespondData("LoadCourseSubjectInfo", p)));
    if (!dict) return std::nullopt;
    // The service sends question texts plain; they are enciphered only when stored.
    return recordFrom<CourseSubjectEntity>(*dict, false);
}

std::optional<nlohmann::json> ExamWebServiceUtil::loadSubjectImageList(const Value& subjectId) {
    SoapParams p;
    setValue(p, "subjectId", subjectId);
    return jsonResult(getRespondData("LoadSubjectImageList", p));
}

std::optional<nlohmann::json> ExamWebServiceUtil::loadCourseOutlineListInfo(
    const Value& courseId, const std::vector<Value>& lstOutlineId) {
    return jsonResult(getRespondData("LoadCourseOutlineListInfo",
                                     idListParams(courseId, "lstOutlineId", lstOutlineId)));
}

std::optional<CourseOutlineEntity> ExamWebServiceUtil::loadCourseOutlineInfo(
    const Value& outlineid) {
    SoapParams p;
    setValue(p, "outlineid", outlineid);
    std::optional<Dict> dict = singleObject(jsonResult(getRespondData("LoadCourseOutlineInfo", p)));
    if (!dict) return std::nullopt;
    return recordFrom<CourseOutlineEntity>(*dict);
}

}  // namespace examora
