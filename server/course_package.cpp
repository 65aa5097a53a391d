// CoursePackage: builds and finds the course archives the reference service serves.
#include "server/course_package.h"

#include <nlohmann/json.hpp>

#include <system_error>
#include <vector>

#include "platform/log.h"
#include "platform/strformat.h"
#include "platform/text_util.h"
#include "server/service_store.h"
#include "server/zip_writer.h"
#include "service/exam_web_service_util.h"
#include "store/sqlite_connection.h"

namespace examora {

namespace {

constexpr const char* kTables[] = {"coursechapter", "courseoutline", "coursesubject"};
constexpr const char* kKeys[] = {"ichapterid", "ioutlineid", "isubjectid"};
constexpr const char* kSubjectColumns =
    "isubjectid,icourseid,ichapterid,isubjecttype,ichaptertype,iindex,iscore,ctitle,cquestion,"
    "canswer,ianswercount,cdescription,csubjecttype,bpicquestion,bpicanswer,bstopflag,dchangedate";

std::uint64_t fnv1a(std::uint64_t hash, std::string_view text) {
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

std::string jsonText(const DictList& rows) {
    return ExamWebServiceUtil::rowsToJSON(rows).dump(-1, ' ', false,
                                                     nlohmann::json::error_handler_t::replace);
}

// The content fingerprint of a course: count, id sum and latest stamp of every table, and the
// same of its pictures. Any load, edit or deletion changes one of them.
std::optional<std::string> fingerprint(SqliteConnection& db, long long courseId) {
    std::uint64_t hash = 14695981039346656037ull;
    bool any = false;
    for (std::size_t i = 0; i < 3; ++i) {
        DictList r = ServiceStore::rows(
            db,
            strformat("select count(*) as n, total(%@) as s, max(dchangedate) as d from %@ where "
                      "icourseid=?",
                      kKeys[i], kTables[i]),
            {courseId});
        if (r.empty()) return std::nullopt;
        any = any || r[0].get("n").asInt64() > 0;
        hash = fnv1a(hash, r[0].get("n").asString() + "/" + r[0].get("s").asString() + "/" +
                               r[0].get("d").asString() + ";");
    }
    DictList p = ServiceStore::rows(
        db,
        "select count(*) as n, max(p.dchangedate) as d from subjectpicture p join coursesubject s "
        "on s.isubjectid=p.isubjectid where s.icourseid=?",
        {courseId});
    if (p.empty()) return std::nullopt;
    hash = fnv1a(hash, p[0].get("n").asString() + "/" + p[0].get("d").asString());
    if (!any) return std::string();
    return strformat("course%lld_%@", courseId, strformat("%016llx", hash));
}

// The picture's file name and the token that refers to it in the question's texts, from its
// position ("a" or "a_b"): the client names files and tokens the same way.
struct PicturePlace {
    long long a = 0;
    long long b = 0;
};

PicturePlace placeOf(const std::string& position) {
    PicturePlace place;
    std::vector<std::string> parts = split(position, "_");
    if (!parts.empty()) place.a = Value(parts[0]).asInt64();
    if (parts.size() >= 2) place.b = Value(parts[1]).asInt64();
    return place;
}

std::string replaceAll(std::string text, const std::string& token, const std::string& with) {
    for (std::size_t at = text.find(token); at != std::string::npos;
         at = text.find(token, at + with.size())) {
        text.replace(at, token.size(), with);
    }
    return text;
}

// Writes the questions in files of kSubjectsPerFile, with their pictures as "image/" entries.
bool writeSubjects(SqliteConnection& db, ZipWriter& zip, long long courseId) {
    long long after = -1;
    for (int file = 1;; ++file) {
        DictList rows = ServiceStore::rows(
            db,
            strformat("select %@ from coursesubject where icourseid=? and isubjectid>? order by "
                      "isubjectid limit %d",
                      kSubjectColumns, static_cast<int>(CoursePackage::kSubjectsPerFile)),
            {courseId, after});
        if (rows.empty()) return true;
        const long long first = rows.front().get("isubjectid").asInt64();
        after = rows.back().get("isubjectid").asInt64();
        DictList pictures = ServiceStore::rows(
            db,
            "select isubjectid,cposition,pimage,cextname from subjectpicture where isubjectid "
            "between ? and ? order by isubjectid,cposition",
            {first, after});
        std::size_t next = 0;
        for (Dict& row : rows) {
            const long long id = row.get("isubjectid").asInt64();
            while (next < pictures.size() && pictures[next].get("isubjectid").asInt64() < id)
                ++next;
            for (; next < pictures.size() && pictures[next].get("isubjectid").asInt64() == id;
                 ++next) {
                const Dict& pic = pictures[next];
                const PicturePlace place = placeOf(pic.get("cposition").asString());
                std::string name = strformat("%lld_%lld", id, place.a);
                if (place.b >= 1) name += strformat("_%lld", place.b);
                const std::string ext = pic.get("cextname").asString();
                // The extension comes from a teacher's file name: keep it to plain characters.
                if (!ext.empty() && ext.find_first_of("/\\.") == std::string::npos)
                    name += "." + ext;
                const Bytes bytes = pic.get("pimage").asBytes();
                if (!zip.addEntry("image/" + name,
                                  std::string_view(reinterpret_cast<const char*>(bytes.data()),
                                                   bytes.size())))
                    return false;
                const std::string token =
                    place.b != 0 ? strformat("{图%lld}", place.b) : std::string("{图}");
                const std::string element = strformat(
                    "<img border='0' alt='' src='file_dbpath/image/%lld/%@'/>", courseId, name);
                if (place.a != 0) {
                    std::string analysis = row.get("cdescription").asString();
                    if (analysis.find(token) == std::string::npos) analysis += token;
                    row.set("cdescription", Value(replaceAll(analysis, token, element)));
                } else {
                    std::string title = row.get("ctitle").asString();
                    std::string question = row.get("cquestion").asString();
                    const bool inTitle = title.find(token) != std::string::npos;
                    const bool inQuestion = question.find(token) != std::string::npos;
                    if (!inTitle && !inQuestion) title += token;
                    row.set("ctitle", Value(replaceAll(title, token, element)));
                    row.set("cquestion", Value(replaceAll(question, token, element)));
                }
            }
        }
        if (!zip.addEntry(strformat("coursesubject%d.txt", file), jsonText(rows))) return false;
    }
}

bool writePackage(SqliteConnection& db, const std::filesystem::path& path, long long courseId) {
    ZipWriter zip(path);
    if (!zip.isOpen()) return false;
    DictList course = ServiceStore::rows(
        db,
        "select ? as icourseid, (select max(dchangedate) from coursechapter where icourseid=?) as "
        "dchapterchange, (select max(dchangedate) from coursesubject where icourseid=?) as "
        "dsubjectchange, (select max(dchangedate) from courseoutline where icourseid=?) as "
        "doutlinechange, null as dchapterdelete, null as dsubjectdelete, null as doutlinedelete",
        {courseId, courseId, courseId, courseId});
    if (!zip.addEntry("course.txt", jsonText(course))) return false;
    const char* files[] = {"coursechapter.txt", "courseoutline.txt"};
    for (std::size_t i = 0; i < 2; ++i) {
        DictList rows = ServiceStore::rows(
            db, strformat("select * from %@ where icourseid=? order by %@", kTables[i], kKeys[i]),
            {courseId});
        if (!zip.addEntry(files[i], jsonText(rows))) return false;
    }
    return writeSubjects(db, zip, courseId) && zip.close();
}

}  // namespace

CoursePackage::CoursePackage(ServiceStore& store) : store_(store) {}

std::string CoursePackage::packageName(long long courseId) {
    std::lock_guard<std::mutex> lock(mutex_);
    const std::filesystem::path folder = store_.dataDir() / kFolder;
    std::string name;
    bool built = false;
    store_.read([&](SqliteConnection& db) {
        // One snapshot for the fingerprint and the archive.
        if (!db.executeUpdate("begin")) return;
        std::optional<std::string> print = fingerprint(db, courseId);
        if (print && !print->empty()) {
            std::error_code ec;
            std::filesystem::create_directories(folder, ec);
            const std::filesystem::path target = folder / (*print + ".zip");
            if (std::filesystem::exists(target, ec)) {
                name = *print;
            } else {
                const std::filesystem::path temp = folder / (*print + ".zip.part");
                if (writePackage(db, temp, courseId)) {
                    std::filesystem::rename(temp, target, ec);
                    if (!ec) {
                        name = *print;
                        built = true;
                    }
                }
                if (name.empty()) {
                    logf("examora-service: cannot build the package of course %lld", courseId);
                    std::filesystem::remove(temp, ec);
                }
            }
        }
        db.executeUpdate("commit");
    });
    if (built) {
        const std::string prefix = strformat("course%lld_", courseId);
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
            const std::string file = entry.path().filename().string();
            if (startsWith(file, prefix) && file != name + ".zip")
                std::filesystem::remove(entry.path(), ec);
        }
    }
    return name;
}

std::optional<std::filesystem::path> CoursePackage::packageFile(const std::string& fileName) const {
    // Only names this class makes: "course<digits>_<16 hex>.zip".
    if (!startsWith(fileName, "course") || fileName.size() < 12 ||
        fileName.substr(fileName.size() - 4) != ".zip")
        return std::nullopt;
    for (char c : fileName.substr(0, fileName.size() - 4))
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return std::nullopt;
    std::filesystem::path path = store_.dataDir() / kFolder / fileName;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
    return path;
}

}  // namespace examora
