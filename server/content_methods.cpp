// The course-content methods of the reference exam service.
#include "server/content_methods.h"

#include <nlohmann/json.hpp>

#include <memory>
#include <stdexcept>

#include "platform/text_util.h"
#include "server/content_store.h"
#include "server/course_package.h"
#include "server/service_store.h"
#include "server/soap_dispatcher.h"
#include "service/exam_web_service_util.h"

namespace examora {

namespace {

long long requiredInteger(const SoapRequest& r, const char* name) {
    std::optional<long long> n = r.integer(name);
    if (!n) throw std::invalid_argument(std::string("parameter ") + name + " is not a number");
    return *n;
}

// "1,2,3": whole numbers separated by commas; empty parts are skipped.
std::vector<long long> idList(const SoapRequest& r, const char* name) {
    std::vector<long long> ids;
    for (const std::string& part : split(r.text(name), ",")) {
        const std::string text = trim(part);
        if (text.empty()) continue;
        std::size_t used = 0;
        long long id = 0;
        try {
            id = std::stoll(text, &used);
        } catch (const std::exception&) {
            used = 0;
        }
        if (used != text.size()) {
            throw std::invalid_argument(std::string("parameter ") + name + " holds " + text);
        }
        ids.push_back(id);
    }
    if (ids.size() > ContentStore::kMaxIds) {
        throw std::invalid_argument(std::string("parameter ") + name + " lists too many ids");
    }
    return ids;
}

std::string jsonText(const DictList& rows) {
    return ExamWebServiceUtil::rowsToJSON(rows).dump(-1, ' ', false,
                                                     nlohmann::json::error_handler_t::replace);
}

}  // namespace

void ContentMethods::registerWith(SoapDispatcher& d, ServiceStore& store, CoursePackage& packages) {
    auto content = std::make_shared<const ContentStore>(store);

    const std::pair<const char*, int> changeLists[] = {
        {"LoadNewCourseChapter_HadDistrice", 0},
        {"LoadNewCourseOutline", 1},
        {"LoadNewCourseSubjectGroup_HadDistrict", 2},
    };
    for (const auto& [method, itemSet] : changeLists) {
        const std::string name = method;
        const int set = itemSet;
        d.add(name, [content, name, set](const SoapRequest& r) {
            // The course type is accepted for the client's sake: this service keeps one kind
            // of content per course.
            ContentStore::ChangeList list = content->changeList(
                set, requiredInteger(r, "courseId"), r.text("district"), r.text("lastUpdateDate"));
            return ServiceReply::soapAnswer(name, list.text, {{"lastUpdateDate", list.date}});
        });
    }

    const std::tuple<const char*, const char*, int> listInfos[] = {
        {"LoadCourseChapterListInfo", "lstChapterId", 0},
        {"LoadCourseOutlineListInfo", "lstOutlineId", 1},
        {"LoadCourseSubjectListInfo", "lstSubjectId", 2},
    };
    for (const auto& [method, parameter, itemSet] : listInfos) {
        const std::string name = method;
        const char* listName = parameter;
        const int set = itemSet;
        d.add(name, [content, name, listName, set](const SoapRequest& r) {
            const long long course = requiredInteger(r, "courseId");
            return ServiceReply::soapAnswer(
                name, jsonText(content->rowsById(set, course, idList(r, listName))));
        });
    }

    d.add("LoadSubjectImageList", [content](const SoapRequest& r) {
        return ServiceReply::soapAnswer(
            "LoadSubjectImageList",
            jsonText(content->subjectPictures(requiredInteger(r, "subjectId"))));
    });

    // The package is built here when the course changed since the last one, so that the name
    // handed out always refers to an archive of the content as it is now.
    d.add("GetCourseUpdateName", [&packages](const SoapRequest& r) {
        return ServiceReply::soapAnswer("GetCourseUpdateName",
                                        packages.packageName(requiredInteger(r, "courseId")));
    });

    // The item set named by updateobj is where the client's date came from; since every item
    // set's stamps only grow, any content stamped after that date is new to the client.
    d.add("CheckCourseHadNewUpdate", [content](const SoapRequest& r) {
        const bool changed =
            content->hadNewUpdate(requiredInteger(r, "courseid"), trim(r.text("lastdate")));
        return ServiceReply::soapAnswer("CheckCourseHadNewUpdate", changed ? "true" : "false");
    });
}

}  // namespace examora
