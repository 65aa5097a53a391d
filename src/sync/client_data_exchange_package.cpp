// ClientDataExchange: the record imports of a course package, inside the install's transaction.
#include <nlohmann/json.hpp>

#include <fstream>
#include <sstream>

#include "platform/log.h"
#include "platform/strformat.h"
#include "platform/text_util.h"
#include "sync/client_data_exchange.h"

namespace examora {

namespace {

enum class PackageFile { Course, Chapter, Outline, Subject };

std::optional<PackageFile> packageFileKind(const std::string& name) {
    const std::string lower = toLowerAscii(name);
    if (lower == "course.txt") return PackageFile::Course;
    if (lower == "coursechapter.txt") return PackageFile::Chapter;
    if (lower == "courseoutline.txt") return PackageFile::Outline;
    if (startsWith(name, "coursesubject")) return PackageFile::Subject;
    return std::nullopt;
}

// Feeds each object of a top-level JSON list to `each`, one at a time: an object is dropped from
// the parser once handled, so memory stays at one record. Throws ExamError for anything but a
// list of objects.
template <class Input>
std::size_t forEachObject(Input&& input, const std::function<void(const nlohmann::json&)>& each) {
    std::size_t count = 0;
    bool topChecked = false;
    auto callback = [&](int depth, nlohmann::json::parse_event_t event, nlohmann::json& parsed) {
        if (!topChecked) {
            topChecked = true;
            if (event != nlohmann::json::parse_event_t::array_start)
                throw ExamError("Package", "the text is not a list of records");
        }
        if (depth == 1 && event == nlohmann::json::parse_event_t::value)
            throw ExamError("Package", "the list holds something other than records");
        if (depth == 1 && event == nlohmann::json::parse_event_t::object_end) {
            each(parsed);
            ++count;
            return false;
        }
        return true;
    };
    try {
        const nlohmann::json rest = nlohmann::json::parse(std::forward<Input>(input), callback);
        (void)rest;  // what remains is the emptied list
    } catch (const nlohmann::json::exception& e) {
        throw ExamError("Package", std::string("malformed JSON: ") + e.what());
    }
    if (!topChecked) throw ExamError("Package", "empty text");
    return count;
}

void requireCourse(const Dict& record, int courseId) {
    const int course = static_cast<int>(record.get("icourseid").asInt64());
    if (course != courseId)
        throw ExamError("Package", strformat("a record of course %d in the package of course %d",
                                             course, courseId));
}

}  // namespace

std::string ClientDataExchange::getCourseUpdateName(int courseId, int courseType,
                                                    const std::string& district) {
    std::optional<std::string> name = service_->getCourseUpdateName(courseId, courseType, district);
    if (!name || trim(*name).empty()) return std::string();
    return strformat("subject/%@.zip", trim(*name));
}

void ClientDataExchange::startDownloadCourseByFile(int courseId) {
    execute("update coursesubject set bstopflag=1 where icourseid=?", {courseId});
    execute("update courseoutline set bstopflag=1 where icourseid=?", {courseId});
    execute("update coursechapter set bstopflag=1 where icourseid=?", {courseId});
}

void ClientDataExchange::endDownloadCourseByFile(int courseId) {
    execute("delete from coursesubject where icourseid=? and bstopflag=1", {courseId});
    execute("delete from courseoutline where icourseid=? and bstopflag=1", {courseId});
    execute("delete from coursechapter where icourseid=? and bstopflag=1", {courseId});
}

namespace {

template <class Input>
std::size_t importList(ClientDataExchange& exchange, PackageFile kind, Input&& input,
                       int courseId) {
    return forEachObject(std::forward<Input>(input), [&](const nlohmann::json& object) {
        Dict record = ExamWebServiceUtil::jsonToDict(object);
        switch (kind) {
            case PackageFile::Course: {
                // The dates of the course the package is for; objects of other courses are
                // ignored rather than written to a course the learner did not ask for.
                if (record.get("icourseid").isNull() ||
                    record.get("icourseid").asInt64() == courseId) {
                    exchange.updateCourseChangeDate(courseId, record);
                }
                break;
            }
            case PackageFile::Chapter: {
                requireCourse(record, courseId);
                CourseChapterEntity chapter;
                chapter.initWithDict(record);
                exchange.downloadCourseChapterWithEntity(chapter);
                break;
            }
            case PackageFile::Outline: {
                requireCourse(record, courseId);
                CourseOutlineEntity outline;
                outline.initWithDict(record);
                exchange.downloadCourseOutlineWithEntity(outline);
                break;
            }
            case PackageFile::Subject: {
                requireCourse(record, courseId);
                CourseSubjectEntity subject;
                subject.initWithDict(record, false);
                // No pictures from the service: the package brings its own.
                exchange.downloadCourseSubjectWithEntity(subject, false);
                break;
            }
        }
    });
}

std::size_t importText(ClientDataExchange& exchange, PackageFile kind, const std::string& text,
                       int courseId) {
    if (ExamWebServiceUtil::isEmptyOfJOSN(text)) throw ExamError("Package", "empty text");
    return importList(exchange, kind, text, courseId);
}

}  // namespace

void ClientDataExchange::updateCourseChangeDate(int courseId, const Dict& record) {
    auto date = [&](const char* key) -> Value {
        const Value& v = record.get(key);
        if (v.isNull() || v.asString().empty()) return Value();
        return Value(v.asString());
    };
    execute(
        "update course set dchapterchange=?,dsubjectchange=?,doutlinechange=?,dchapterdelete=?,"
        "dsubjectdelete=?,doutlinedelete=? where icourseid=?",
        {date("dchapterchange"), date("dsubjectchange"), date("doutlinechange"),
         date("dchapterdelete"), date("dsubjectdelete"), date("doutlinedelete"), courseId});
}

std::size_t ClientDataExchange::updateCourseChangeDateWithXML(const std::string& text,
                                                              int courseId) {
    return importText(*this, PackageFile::Course, text, courseId);
}

std::size_t ClientDataExchange::downloadCourseChapterWithXML(const std::string& text,
                                                             int courseId) {
    return importText(*this, PackageFile::Chapter, text, courseId);
}

std::size_t ClientDataExchange::downloadCourseOutlineWithXML(const std::string& text,
                                                             int courseId) {
    return importText(*this, PackageFile::Outline, text, courseId);
}

std::size_t ClientDataExchange::downloadCourseSubjectWithXML(const std::string& text,
                                                             int courseId) {
    return importText(*this, PackageFile::Subject, text, courseId);
}

std::optional<std::size_t> ClientDataExchange::importPackageFile(const std::filesystem::path& file,
                                                                 int courseId) {
    std::optional<PackageFile> kind = packageFileKind(file.filename().string());
    if (!kind) return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    if (!in) throw ExamError("Package", "cannot read " + file.filename().string());
    // "anyType{}" and an empty file carry nothing: an error, not an empty list.
    char head[9] = {0};
    in.read(head, sizeof head);
    const std::string start(head, static_cast<std::size_t>(in.gcount()));
    if (trim(start).empty() || start == "anyType{}")
        throw ExamError("Package", "empty file " + file.filename().string());
    in.clear();
    in.seekg(0);
    return importList(*this, *kind, in, courseId);
}

}  // namespace examora
