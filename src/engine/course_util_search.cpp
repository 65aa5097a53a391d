// CourseUtil: subject search by title and the course outline.

#include "engine/course_util.h"
#include "engine/title_search.h"
#include "platform/strformat.h"
#include "platform/text_util.h"
#include "store/database_scope.h"

namespace examora {

SQLiteHelper& CourseUtil::searchReader(std::size_t which) {
    std::unique_ptr<SQLiteHelper>& reader = searchReaders_.at(which);
    if (!reader) reader = std::make_unique<SQLiteHelper>();
    if (!reader->isOpen() && reader->OpenDataBase()) {
        reader->ExecuteNonQuery("pragma mmap_size=1073741824", std::vector<Value>{});
    }
    return *reader;
}

std::vector<BaseItemEntity> CourseUtil::loadSearchSubjectList(int courseId,
                                                              const std::string& searchText,
                                                              int startSubjectId, int pageSize) {
    std::vector<BaseItemEntity> list;
    // An empty text is contained in every title; it is no search, and would decipher the whole
    // course for a list of everything.
    if (pageSize < 1 || searchText.empty()) return list;

    TitleSearch search(courseId, searchText, pageSize);
    for (TitleSearch::Match& match : search.run(searchReader(0), searchReader(1), startSubjectId)) {
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
