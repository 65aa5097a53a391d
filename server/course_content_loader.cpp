// Loading and editing the reference service's course content with the change dates it publishes.
#include "server/course_content_loader.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <map>

#include "platform/file_util.h"
#include "platform/text_util.h"
#include "server/content_loader.h"
#include "server/content_store.h"
#include "server/service_store.h"
#include "service/exam_web_service_util.h"
#include "store/sqlite_connection.h"

namespace examora {

namespace {

const ContentTable& tableNamed(const std::string& name) {
    for (const ContentTable& t : ContentStore::tables())
        if (equalsIgnoringCase(t.name, name)) return t;
    throw ContentLoadError("unknown content table: " + name);
}

[[noreturn]] void badValue(const ContentTable& t, const std::string& column, const Value& v) {
    throw ContentLoadError(t.name + "." + column + ": not a value of its kind: " + v.description());
}

std::optional<std::int64_t> wholeNumber(std::string_view text) {
    std::int64_t n = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return n;
}

// The row as stored values: known columns only, the change date left out.
Dict storedRow(const ContentTable& t, const Dict& row) {
    Dict out;
    for (const auto& [name, value] : row) {
        const CatalogueColumn* c = t.column(name);
        if (!c) throw ContentLoadError(t.name + ": unknown column \"" + name + "\"");
        if (c->kind == ColumnKind::Date) continue;
        if (value.isNull()) {
            out.set(name, Value());
        } else if (c->kind == ColumnKind::Integer) {
            if (value.isInteger()) {
                out.set(name, value);
            } else if (value.isText()) {
                std::optional<std::int64_t> n = wholeNumber(trim(*value.textPtr()));
                if (!n) badValue(t, name, value);
                out.set(name, *n);
            } else {
                badValue(t, name, value);
            }
        } else if (value.isText()) {
            out.set(name, value);
        } else if (value.isNumber()) {
            out.set(name, value.asString());
        } else {
            badValue(t, name, value);
        }
    }
    if (!out.find(t.key()) || out.get(t.key()).isNull()) {
        throw ContentLoadError(t.name + ": a row without its key " + t.key());
    }
    return out;
}

// The writes of one load inside one transaction of the store.
class ContentWriter {
  public:
    ContentWriter(const ContentStore& content, SqliteConnection& db) : content_(content), db_(db) {}

    bool upsert(const ContentTable& t, const Dict& row) {
        const Value key = row.get(t.key());
        DictList existing =
            ServiceStore::rows(db_, "select * from " + t.name + " where " + t.key() + "=?", {key});
        std::vector<std::string> names;
        std::vector<Value> values;
        for (const auto& [name, value] : row) {
            if (name == t.key()) continue;
            if (!existing.empty() && existing[0].get(name) == value) continue;
            names.push_back(name);
            values.push_back(value);
        }
        if (!existing.empty() && names.empty()) return false;
        long long course = 0;
        if (const Value* given = row.find("icourseid"); given && !given->isNull()) {
            course = given->asInt64();
        } else if (!existing.empty() && !existing[0].get("icourseid").isNull()) {
            course = existing[0].get("icourseid").asInt64();
        } else {
            throw ContentLoadError(t.name + ": a row without its course");
        }
        const std::string stamp = stampFor(t.itemSet, course);
        std::string sql;
        if (existing.empty()) {
            std::string marks;
            for (const std::string& name : names) {
                sql += name + ",";
                marks += "?,";
            }
            sql = "insert into " + t.name + " (" + t.key() + "," + sql + "dchangedate) values (?," +
                  marks + "?)";
            values.insert(values.begin(), key);
            values.push_back(stamp);
        } else {
            for (const std::string& name : names)
                sql += name + "=?,";
            sql = "update " + t.name + " set " + sql + "dchangedate=? where " + t.key() + "=?";
            values.push_back(stamp);
            values.push_back(key);
        }
        run(sql, values, t.name);
        return true;
    }

    bool putPicture(const SubjectPicture& p) {
        DictList subject = ServiceStore::rows(
            db_, "select icourseid from coursesubject where isubjectid=?", {p.subjectId});
        if (subject.empty()) {
            throw ContentLoadError("picture " + std::to_string(p.subjectId) + "_" + p.position +
                                   ": no such question");
        }
        DictList existing = ServiceStore::rows(
            db_, "select pimage,cextname from subjectpicture where isubjectid=? and cposition=?",
            {p.subjectId, p.position});
        if (!existing.empty() && existing[0].get("pimage") == Value(p.bytes) &&
            existing[0].get("cextname") == Value(p.extension)) {
            return false;
        }
        const std::string stamp = stampFor(2, subject[0].get("icourseid").asInt64());
        run("insert or replace into subjectpicture (isubjectid,cposition,pimage,cextname,"
            "dchangedate) values (?,?,?,?,?)",
            {p.subjectId, p.position, p.bytes, p.extension, stamp}, "subjectpicture");
        // The question carries its pictures: it changes with them, and says which part has one.
        const bool analysis = !p.position.empty() && p.position[0] != '0';
        run(std::string("update coursesubject set dchangedate=?,") +
                (analysis ? "bpicanswer" : "bpicquestion") + "=1 where isubjectid=?",
            {stamp, p.subjectId}, "coursesubject");
        return true;
    }

  private:
    // One stamp per item set and course and load.
    std::string stampFor(int itemSet, long long courseId) {
        std::string& stamp = stamps_[{itemSet, courseId}];
        if (stamp.empty()) stamp = content_.stampChange(db_, itemSet, courseId);
        return stamp;
    }
    void run(const std::string& sql, const std::vector<Value>& args, const std::string& table) {
        if (!db_.executeUpdate(sql, args)) throw ContentLoadError(table + ": cannot write the row");
    }

    const ContentStore& content_;
    SqliteConnection& db_;
    std::map<std::pair<int, long long>, std::string> stamps_;
};

DictList rowsOfFile(const std::filesystem::path& file) {
    std::optional<std::string> text = readFileContent(file.string());
    if (!text) throw ContentLoadError(file.string() + ": cannot be read");
    nlohmann::json json = nlohmann::json::parse(*text, nullptr, false);
    if (json.is_discarded() || !json.is_array()) {
        throw ContentLoadError(file.string() + ": not a JSON array of objects");
    }
    DictList rows;
    for (const nlohmann::json& object : json) {
        if (!object.is_object()) throw ContentLoadError(file.string() + ": not a JSON object");
        rows.push_back(ExamWebServiceUtil::jsonToDict(object));
    }
    return rows;
}

// "<id>_<position>.<extension>": the question id, the position tail, the extension.
SubjectPicture pictureOfFile(const std::filesystem::path& file) {
    const std::string stem = file.stem().string();
    std::string extension = file.extension().string();
    if (!extension.empty()) extension.erase(0, 1);
    const std::size_t cut = stem.find('_');
    std::optional<std::int64_t> id =
        cut == std::string::npos ? std::nullopt : wholeNumber(stem.substr(0, cut));
    if (!id || cut + 1 >= stem.size()) {
        throw ContentLoadError(file.string() + ": not named <question id>_<position>.<extension>");
    }
    std::optional<std::string> bytes = readFileContent(file.string());
    if (!bytes) throw ContentLoadError(file.string() + ": cannot be read");
    return {static_cast<int>(*id), stem.substr(cut + 1), Bytes(bytes->begin(), bytes->end()),
            extension};
}

}  // namespace

int CourseContentLoader::load(const CourseContent& content) {
    // Every value is checked before anything is written.
    std::vector<std::pair<const ContentTable*, DictList>> tables;
    const std::pair<const char*, const DictList*> given[] = {{"coursechapter", &content.chapters},
                                                             {"courseoutline", &content.outlines},
                                                             {"coursesubject", &content.subjects}};
    for (const auto& [name, rows] : given) {
        const ContentTable& t = tableNamed(name);
        DictList converted;
        for (const Dict& row : *rows)
            converted.push_back(storedRow(t, row));
        tables.emplace_back(&t, std::move(converted));
    }
    // A question says which of its parts has a picture, whatever its object says.
    for (const SubjectPicture& picture : content.pictures) {
        const bool analysis = !picture.position.empty() && picture.position[0] != '0';
        for (Dict& row : tables.back().second) {
            if (row.get("isubjectid").asInt64() == picture.subjectId) {
                row.set(analysis ? "bpicanswer" : "bpicquestion", 1);
            }
        }
    }
    ContentStore store(store_);
    if (!store.isReady()) throw ContentLoadError("the content tables could not be made");
    int changed = 0;
    const bool ok = store_.write([&](SqliteConnection& db) {
        ContentWriter writer(store, db);
        for (const auto& [table, rows] : tables)
            for (const Dict& row : rows)
                changed += writer.upsert(*table, row) ? 1 : 0;
        for (const SubjectPicture& picture : content.pictures)
            changed += writer.putPicture(picture) ? 1 : 0;
        return true;
    });
    if (!ok) throw ContentLoadError("the service store could not be written");
    return changed;
}

int CourseContentLoader::loadFolder(const std::filesystem::path& folder) {
    CourseContent content;
    auto rowsOf = [&](const char* name) {
        const std::filesystem::path file = folder / (std::string(name) + ".json");
        return std::filesystem::exists(file) ? rowsOfFile(file) : DictList{};
    };
    content.chapters = rowsOf("coursechapter");
    content.outlines = rowsOf("courseoutline");
    content.subjects = rowsOf("coursesubject");
    const std::filesystem::path pictures = folder / "pictures";
    if (std::filesystem::is_directory(pictures)) {
        for (const auto& entry : std::filesystem::directory_iterator(pictures)) {
            if (entry.is_regular_file()) content.pictures.push_back(pictureOfFile(entry.path()));
        }
    }
    return load(content);
}

bool CourseContentLoader::upsertRow(const std::string& table, const Dict& row) {
    CourseContent content;
    const ContentTable& t = tableNamed(table);
    (t.itemSet == 0   ? content.chapters
     : t.itemSet == 1 ? content.outlines
                      : content.subjects)
        .push_back(row);
    return load(content) > 0;
}

}  // namespace examora
