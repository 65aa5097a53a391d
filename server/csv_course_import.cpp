// Importing a question file as a course of the reference service: checks, ids, writes.
#include "server/csv_course_import.h"

#include <algorithm>
#include <map>
#include <set>

#include "lib/course_content_generator.h"
#include "platform/file_util.h"
#include "server/content_loader.h"
#include "server/content_store.h"
#include "server/course_content_loader.h"
#include "server/service_store.h"
#include "store/sqlite_connection.h"

namespace examora {

namespace {

constexpr int kMaxSections = 99;

std::string pathKey(const std::vector<std::string>& levels, std::size_t depth) {
    std::string key;
    for (std::size_t i = 0; i < depth; ++i)
        key += (i ? "/" : "") + levels[i];
    return key;
}

std::string twoDigits(int n) {
    return std::string(1, static_cast<char>('0' + n / 10)) + static_cast<char>('0' + n % 10);
}

int intOf(const Value& v) {
    return v.isNull() ? 0 : static_cast<int>(v.asInt64());
}

// What the store already holds of the course, and the ids in use.
struct Existing {
    int courseId = 0;
    int maxCourseId = 0, maxClassId = 0, maxSubclassId = 0, maxChapterId = 0, maxSubjectId = 0;
    std::optional<int> classId, subclassId;
    std::map<std::string, std::pair<int, std::string>> chapters;  // path → id, code
    std::set<int> chapterIds;
    std::map<std::string, int> lastSection;  // parent code → highest section number in use
    // chapter id and title → question ids, ascending
    std::map<std::pair<int, std::string>, std::vector<int>> subjects;
    std::set<int> subjectIds;
};

Existing readExisting(ServiceStore& store, const CsvImportOptions& o, const std::string& className,
                      const std::string& subclassName) {
    Existing e;
    store.read([&](SqliteConnection& db) {
        auto max = [&](const char* sql) {
            DictList r = ServiceStore::rows(db, sql);
            return r.empty() ? 0 : intOf(r[0].get("m"));
        };
        e.maxCourseId = max("select max(icourseid) as m from course");
        e.maxClassId = max("select max(iclassid) as m from courseclass");
        e.maxSubclassId = max("select max(isubclassid) as m from coursesubclass");
        e.maxChapterId = max("select max(ichapterid) as m from coursechapter");
        e.maxSubjectId = max("select max(isubjectid) as m from coursesubject");
        DictList course = ServiceStore::rows(
            db, "select icourseid from course where ccoursename=? order by icourseid limit 1",
            {o.course});
        if (!course.empty()) e.courseId = intOf(course[0].get("icourseid"));
        if (!className.empty()) {
            DictList c = ServiceStore::rows(
                db, "select iclassid from courseclass where ccoursecname=? order by iclassid",
                {className});
            if (!c.empty()) e.classId = intOf(c[0].get("iclassid"));
        }
        if (e.classId) {
            DictList s = ServiceStore::rows(db,
                                            "select isubclassid from coursesubclass where "
                                            "csubclassname=? and iclassid=? order by isubclassid",
                                            {subclassName, *e.classId});
            if (!s.empty()) e.subclassId = intOf(s[0].get("isubclassid"));
        }
        if (!e.courseId) return;
        std::map<std::string, std::string> names;  // code → name
        DictList chapters = ServiceStore::rows(
            db,
            "select ichapterid,cchaptercode,cchaptername from coursechapter where icourseid=? "
            "and itype=0 order by length(cchaptercode),cchaptercode",
            {e.courseId});
        for (const Dict& c : chapters) {
            const std::string code = c.get("cchaptercode").asString();
            names[code] = c.get("cchaptername").asString();
            e.chapterIds.insert(intOf(c.get("ichapterid")));
            if (code.size() % 2 != 0 || code.empty()) continue;
            std::string path;
            bool whole = true;
            for (std::size_t n = 2; n <= code.size(); n += 2) {
                auto it = names.find(code.substr(0, n));
                if (it == names.end()) {
                    whole = false;
                    break;
                }
                path += (n > 2 ? "/" : "") + it->second;
            }
            if (whole) e.chapters.emplace(path, std::make_pair(intOf(c.get("ichapterid")), code));
            const std::string tail = code.substr(code.size() - 2);
            if (tail[0] >= '0' && tail[0] <= '9' && tail[1] >= '0' && tail[1] <= '9') {
                int& last = e.lastSection[code.substr(0, code.size() - 2)];
                last = std::max(last, (tail[0] - '0') * 10 + (tail[1] - '0'));
            }
        }
        DictList subjects = ServiceStore::rows(
            db,
            "select isubjectid,ichapterid,ctitle from coursesubject where icourseid=? order by "
            "isubjectid",
            {e.courseId});
        for (const Dict& s : subjects) {
            const int id = intOf(s.get("isubjectid"));
            e.subjects[{intOf(s.get("ichapterid")), s.get("ctitle").asString()}].push_back(id);
            e.subjectIds.insert(id);
        }
    });
    return e;
}

// "0" or "0_<n>" for the question's pictures, "1" or "1_<n>" for the analysis'.
void addPictures(CourseContent& content, int subjectId,
                 const std::vector<std::filesystem::path>& files, char part) {
    for (std::size_t i = 0; i < files.size(); ++i) {
        std::optional<std::string> bytes = readFileContent(files[i].string());
        if (!bytes) throw ContentLoadError(files[i].string() + ": cannot be read");
        std::string extension = files[i].extension().string();
        if (!extension.empty()) extension.erase(0, 1);
        std::string position(1, part);
        if (files.size() > 1) position += "_" + std::to_string(i + 1);
        content.pictures.push_back(
            {subjectId, position, Bytes(bytes->begin(), bytes->end()), extension});
    }
}

}  // namespace

std::vector<CsvQuestion> CsvCourseImport::check(const CsvDocument& document,
                                                const std::filesystem::path& folder,
                                                std::vector<CsvRowProblem>& bad,
                                                std::string& error) {
    std::vector<CsvQuestion> good;
    if (document.records.empty()) {
        error = "the file holds no rows";
        return good;
    }
    const CsvRecord& header = document.records.front();
    if (header.fields.size() < 3 || CsvQuestionRow::typeOf(header.fields[1]).has_value()) {
        error = "line " + std::to_string(header.line) + ": the first row must be the header row (" +
                CsvQuestionRow::columnNames()[0] + "," + CsvQuestionRow::columnNames()[1] + ",…)";
        return good;
    }
    for (std::size_t i = 1; i < document.records.size(); ++i) {
        CsvRowProblem problem;
        if (std::optional<CsvQuestion> q =
                CsvQuestionRow::parse(document.records[i], folder, problem)) {
            good.push_back(std::move(*q));
        } else {
            bad.push_back(std::move(problem));
        }
    }
    // Questions stand only in chapters without sections.
    std::set<std::string> inner;
    for (const CsvQuestion& q : good)
        for (std::size_t depth = 1; depth < q.chapterPath.size(); ++depth)
            inner.insert(pathKey(q.chapterPath, depth));
    std::map<std::string, std::vector<std::string>> sections;  // parent path → sections in order
    std::vector<CsvQuestion> kept;
    for (CsvQuestion& q : good) {
        const std::string path = pathKey(q.chapterPath, q.chapterPath.size());
        std::string reason;
        if (inner.count(path)) {
            reason = "chapter \"" + path + "\" has sections, so it cannot hold questions itself";
        }
        for (std::size_t depth = 1; reason.empty() && depth <= q.chapterPath.size(); ++depth) {
            std::vector<std::string>& siblings = sections[pathKey(q.chapterPath, depth - 1)];
            const std::string& name = q.chapterPath[depth - 1];
            if (std::find(siblings.begin(), siblings.end(), name) != siblings.end()) continue;
            if (siblings.size() >= kMaxSections) {
                reason =
                    "more than 99 chapters under \"" + pathKey(q.chapterPath, depth - 1) + "\"";
            } else {
                siblings.push_back(name);
            }
        }
        if (reason.empty()) {
            kept.push_back(std::move(q));
        } else {
            bad.push_back({q.line, reason});
        }
    }
    std::stable_sort(bad.begin(), bad.end(), [](const CsvRowProblem& a, const CsvRowProblem& b) {
        return a.line < b.line;
    });
    return kept;
}

CsvImportReport CsvCourseImport::run(const CsvImportOptions& o) {
    CsvImportReport report;
    if (o.course.empty()) {
        report.error = "the course needs a name";
        return report;
    }
    std::optional<std::string> text = readFileContent(o.file.string());
    if (!text) {
        report.error = o.file.string() + ": cannot be read";
        return report;
    }
    CsvDocument document = CsvReader::parse(*text);
    if (document.error) {
        report.error = *document.error;
        return report;
    }
    report.rows = document.records.empty() ? 0 : document.records.size() - 1;
    std::vector<CsvQuestion> questions =
        check(document, o.file.parent_path(), report.bad, report.error);
    if (!report.error.empty() || (!report.bad.empty() && !o.skipBad) || questions.empty()) {
        return report;
    }

    if (!ContentStore(store_).isReady()) {
        report.error = "the service store's content tables could not be made";
        return report;
    }
    Existing e = readExisting(store_, o, o.className.empty() ? "" : o.className,
                              o.subclassName.empty() ? o.className : o.subclassName);
    const bool newCourse = e.courseId == 0;
    const int courseId = newCourse ? e.maxCourseId + 1 : e.courseId;
    report.courseId = courseId;

    // Chapters: existing paths keep id and code; new sections follow the highest in use.
    struct Node {
        int id;
        std::string code;
        int depth;
        std::string name;
        bool leaf = true;
        int count = 0;
    };
    std::map<std::string, Node> nodes;
    std::vector<std::string> order;
    int nextChapterId = e.maxChapterId;
    for (const CsvQuestion& q : questions) {
        std::string parentCode;
        for (std::size_t depth = 1; depth <= q.chapterPath.size(); ++depth) {
            const std::string key = pathKey(q.chapterPath, depth);
            auto it = nodes.find(key);
            if (it == nodes.end()) {
                Node node{0, {}, static_cast<int>(depth) - 1, q.chapterPath[depth - 1]};
                if (auto known = e.chapters.find(key); known != e.chapters.end()) {
                    node.id = known->second.first;
                    node.code = known->second.second;
                } else {
                    int& last = e.lastSection[parentCode];
                    if (last >= kMaxSections) {
                        report.error = "more than 99 chapters under \"" +
                                       pathKey(q.chapterPath, depth - 1) +
                                       "\", counting those the course had before";
                        return report;
                    }
                    node.id = ++nextChapterId;
                    node.code = parentCode + twoDigits(++last);
                }
                it = nodes.emplace(key, node).first;
                order.push_back(key);
            }
            if (depth < q.chapterPath.size()) it->second.leaf = false;
            parentCode = it->second.code;
        }
        ++nodes[pathKey(q.chapterPath, q.chapterPath.size())].count;
    }

    CourseContent content;
    std::set<int> keptChapters;
    for (const std::string& key : order) {
        const Node& n = nodes.at(key);
        keptChapters.insert(n.id);
        content.chapters.push_back({{"ichapterid", n.id},
                                    {"icourseid", courseId},
                                    {"cchaptercode", n.code},
                                    {"itype", 0},
                                    {"cchaptername", n.name},
                                    {"bendgrade", n.leaf ? 1 : 0},
                                    {"igrade", n.depth},
                                    {"icount", n.leaf ? n.count : 0},
                                    {"bstopflag", 0}});
    }
    for (int id : e.chapterIds)
        if (!keptChapters.count(id))
            content.chapters.push_back(
                {{"ichapterid", id}, {"icourseid", courseId}, {"bstopflag", 1}});

    int nextSubjectId = e.maxSubjectId;
    std::map<std::pair<int, int>, int> indexes;  // chapter, type → last index
    std::set<int> keptSubjects;
    for (const CsvQuestion& q : questions) {
        const int chapterId = nodes.at(pathKey(q.chapterPath, q.chapterPath.size())).id;
        int id = 0;
        if (auto known = e.subjects.find({chapterId, q.title});
            known != e.subjects.end() && !known->second.empty()) {
            id = known->second.front();
            known->second.erase(known->second.begin());
        } else {
            id = ++nextSubjectId;
        }
        keptSubjects.insert(id);
        const bool choice = q.type == 0 || q.type == 1 || q.type == 6;
        content.subjects.push_back({{"isubjectid", id},
                                    {"icourseid", courseId},
                                    {"ichapterid", chapterId},
                                    {"isubjecttype", q.type},
                                    {"ichaptertype", 0},
                                    {"iindex", ++indexes[{chapterId, q.type}]},
                                    {"iscore", q.score},
                                    {"ctitle", q.title},
                                    {"cquestion", choice ? q.optionText() : std::string()},
                                    {"canswer", q.answer},
                                    {"ianswercount", choice ? static_cast<int>(q.options.size())
                                                     : q.type == 2 ? 2
                                                                   : 0},
                                    {"cdescription", q.analysis},
                                    {"csubjecttype", std::string()},
                                    {"bpicquestion", q.questionPictures.empty() ? 0 : 1},
                                    {"bpicanswer", q.analysisPictures.empty() ? 0 : 1},
                                    {"bstopflag", 0}});
        addPictures(content, id, q.questionPictures, '0');
        addPictures(content, id, q.analysisPictures, '1');
    }
    for (int id : e.subjectIds)
        if (!keptSubjects.count(id))
            content.subjects.push_back(
                {{"isubjectid", id}, {"icourseid", courseId}, {"bstopflag", 1}});

    // Catalogue rows: a named class (and sub-class) is made when missing; a course keeps its
    // class unless one is named.
    std::vector<std::pair<std::string, DictList>> catalogue;
    Dict course{{"icourseid", courseId}, {"ccoursename", o.course}, {"bstopflag", 0}};
    if (newCourse || !o.className.empty()) {
        const std::string className = o.className.empty() ? kDefaultClass : o.className;
        const std::string subclassName = o.subclassName.empty() ? className : o.subclassName;
        if (o.className.empty()) {
            e = readExisting(store_, o, className, subclassName);
        }
        const int classId = e.classId.value_or(e.maxClassId + 1);
        const int subclassId = e.subclassId.value_or(e.maxSubclassId + 1);
        if (!e.classId)
            catalogue.push_back(
                {"courseclass",
                 {{{"iclassid", classId}, {"ccoursecname", className}, {"bstopflag", 0}}}});
        if (!e.subclassId)
            catalogue.push_back({"coursesubclass",
                                 {{{"isubclassid", subclassId},
                                   {"csubclassname", subclassName},
                                   {"iclassid", classId},
                                   {"bstopflag", 0}}}});
        course.set("iclassid", classId);
        course.set("isubclassid", subclassId);
        if (newCourse) course.set("bdistrict", 0);
    }
    catalogue.push_back({"course", {course}});

    report.changed = CourseContentLoader(store_).load(content);
    report.changed += ContentLoader(store_).upsertRows(catalogue);
    report.written = true;
    report.imported = questions.size();
    return report;
}

}  // namespace examora
