#include <optional>
#include <unordered_map>

#include "engine/course_util.h"
#include "engine/database_scope.h"
#include "engine/title_search.h"
#include "platform/strformat.h"
#include "platform/text_util.h"

namespace examora {

SQLiteHelper& CourseUtil::searchReader() {
    if (!searchReader_) searchReader_ = std::make_unique<SQLiteHelper>();
    if (!searchReader_->isOpen() && searchReader_->OpenDataBase()) {
        searchReader_->ExecuteNonQuery("pragma mmap_size=1073741824", std::vector<Value>{});
    }
    return *searchReader_;
}

std::vector<BaseItemEntity> CourseUtil::loadSearchSubjectList(int courseId,
                                                              const std::string& searchText,
                                                              int startSubjectId, int pageSize) {
    std::vector<BaseItemEntity> list;
    // An empty text is contained in every title; it is no search, and would decipher the whole
    // course for a list of everything.
    if (pageSize < 1 || searchText.empty()) return list;

    SQLiteHelper& reader = searchReader();
    // Chapter names by id: those of the course at once, any other a subject points to when met.
    // A subject whose chapter does not exist is not listed.
    std::unordered_map<int, std::optional<std::string>> chapters;
    for (auto rs = reader.ExecuteDataReader(
             "select ichapterid,cchaptername from coursechapter where icourseid=?", courseId);
         rs && rs->next();) {
        chapters.emplace(rs->intForColumnIndex(0), rs->stringForColumnIndex(1).value_or(""));
    }
    auto chapterName = [&](int chapterId) -> const std::optional<std::string>& {
        auto it = chapters.find(chapterId);
        if (it != chapters.end()) return it->second;
        std::optional<std::string> name;
        auto rs = reader.ExecuteDataReader(
            "select cchaptername from coursechapter where ichapterid=?", chapterId);
        if (rs && rs->next()) name = rs->stringForColumnIndex(0).value_or("");
        return chapters.emplace(chapterId, std::move(name)).first->second;
    };

    auto rs = reader.ExecuteDataReader(
        "select isubjectid,ctitle,ichapterid from coursesubject where icourseid=? and "
        "isubjectid>? order by isubjectid",
        courseId, startSubjectId);
    if (!rs) return list;
    TitleSearch search(searchText, pageSize);
    while (!search.full() && rs->next()) {
        if (rs->columnIndexIsNull(1) || rs->columnIndexIsNull(2)) continue;
        const std::optional<std::string>& chapter = chapterName(rs->intForColumnIndex(2));
        if (!chapter) continue;
        search.add(rs->intForColumnIndex(0), rs->textForColumnIndex(1), *chapter);
    }
    rs.reset();

    for (TitleSearch::Match& match : search.finish()) {
        std::string name =
            utf8Length(match.title) > static_cast<std::size_t>(kSearchExcerptLength)
                ? strformat("%@...", utf8Substr(match.title, 0, kSearchExcerptLength))
                : std::move(match.title);
        BaseItemEntity item;
        item.initWithPara(std::to_string(match.id), std::move(name), std::move(match.chapter),
                          static_cast<int>(list.size()) + 1, Bytes{});
        list.push_back(std::move(item));
    }
    return list;
}

std::vector<CourseOutlineEntity> CourseUtil::loadCourseOutlineList(int courseId,
                                                                   int parentOutlineId,
                                                                   const std::string& condition) {
    std::vector<CourseOutlineEntity> list;
    DatabaseScope scope(*this);

    int level = 0;
    std::string codeCondition;
    std::vector<Value> args{courseId};
    if (parentOutlineId >= 1) {
        auto parent = ExecuteDataReader(
            "select coutlinecode,igrade from courseoutline where ioutlineid=?", parentOutlineId);
        if (parent && parent->next()) {
            level = parent->intForColumnIndex(1) + 1;
            // The parent's code comes from the service: it is bound, never spliced, and its own
            // "%", "_" and "\" match only themselves.
            const std::string code = parent->stringForColumnIndex(0).value_or(std::string());
            std::string pattern;
            for (char c : code) {
                if (c == '%' || c == '_' || c == '\\') pattern += '\\';
                pattern += c;
            }
            codeCondition = " and coutlinecode like ? escape '\\'";
            args.emplace_back(pattern + "%");
        }
    }
    const std::string extra =
        isEmpty(std::string_view(condition)) ? std::string() : strformat(" and %@", condition);
    auto rs = ExecuteDataReader(
        strformat("select ioutlineid,coutlinecode,coutlinename,bendgrade from courseoutline where "
                  "icourseid=?%@ and igrade=%d and itype<10 and bstopflag=0%@ order by "
                  "coutlinecode",
                  codeCondition, level, extra),
        args);
    while (rs && rs->next()) {
        CourseOutlineEntity node;
        node.initWithDict(rs->resultDictionary());
        node.courseid = courseId;
        node.grade = level;
        list.push_back(std::move(node));
    }
    return list;
}

std::optional<CourseOutlineEntity> CourseUtil::loadCourseOutlineInfo(int outlineId) {
    DatabaseScope scope(*this);
    auto rs = ExecuteDataReader(
        "select ioutlineid,coutlinecode,coutlinename,itype,curl,ctext from courseoutline where "
        "ioutlineid=?",
        outlineId);
    if (!rs || !rs->next()) return std::nullopt;
    CourseOutlineEntity node;
    node.initWithDict(rs->resultDictionary());
    return node;
}

}  // namespace examora
