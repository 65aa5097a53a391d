// TitleSearch: a page of subjects whose deciphered title holds a text, on two threads.

#include "engine/title_search.h"

#include <algorithm>
#include <exception>
#include <thread>

#include "store/content_cipher.h"

namespace examora {

namespace {

// Below this many ids a second thread costs more than it saves.
constexpr long long kSplitAbove = 2048;

}  // namespace

TitleSearch::TitleSearch(int courseId, std::string_view text, int pageSize)
    : courseId_(courseId),
      text_(text),
      searcher_(text_.begin(), text_.end()),
      pageSize_(pageSize > 0 ? static_cast<std::size_t>(pageSize) : 0) {}

const std::string* TitleSearch::ChapterNames::find(int chapterId) {
    if (auto it = course_.find(chapterId); it != course_.end()) return &it->second;
    auto it = others_.find(chapterId);
    if (it == others_.end()) {
        std::optional<std::string> name;
        auto rs = db_.ExecuteDataReader("select cchaptername from coursechapter where ichapterid=?",
                                        chapterId);
        if (rs && rs->next()) name = rs->stringForColumnIndex(0).value_or("");
        it = others_.emplace(chapterId, std::move(name)).first;
    }
    return it->second ? &*it->second : nullptr;
}

std::vector<TitleSearch::Match> TitleSearch::run(SQLiteHelper& first, SQLiteHelper& second,
                                                 int startSubjectId) {
    if (pageSize_ == 0 || text_.empty()) return {};

    courseChapters_.clear();
    for (auto rs = first.ExecuteDataReader(
             "select ichapterid,cchaptername from coursechapter where icourseid=?", courseId_);
         rs && rs->next();) {
        courseChapters_.emplace(rs->intForColumnIndex(0), rs->stringForColumnIndex(1).value_or(""));
    }
    // Two look-ups in the index rather than one statement with both: SQLite answers a lone
    // min() or max() from the end of the index without walking it.
    const std::optional<Value> last = first.ExecuteScalar(
        "select max(isubjectid) from coursesubject where icourseid=? and isubjectid>?", courseId_,
        startSubjectId);
    if (!last || last->isNull()) return {};
    const long long upTo = last->asInt64();
    const long long lowest =
        first
            .ExecuteScalar(
                "select min(isubjectid) from coursesubject where icourseid=? and isubjectid>?",
                courseId_, startSubjectId)
            .value_or(Value(upTo))
            .asInt64();

    std::atomic<bool> never{false};
    // Without a second connection the first reads everything: a half left unread would be a
    // page with matches silently missing.
    if (upTo - lowest < kSplitAbove || !second.isOpen())
        return scan(first, startSubjectId, upTo, never, nullptr);

    // The halves are cut by id; ids of a course are dense enough for that to share the work.
    const long long middle = lowest + (upTo - lowest) / 2;
    std::atomic<bool> firstFilled{false};
    std::vector<Match> tail;
    std::exception_ptr tailFailure;
    std::thread worker([&] {
        try {
            tail = scan(second, middle, upTo, firstFilled, nullptr);
        } catch (...) {
            tailFailure = std::current_exception();
        }
    });
    std::vector<Match> page;
    try {
        page = scan(first, startSubjectId, middle, never, &firstFilled);
    } catch (...) {
        firstFilled = true;
        worker.join();
        throw;
    }
    // The second half runs to its own end unless the first half filled the page.
    worker.join();
    if (tailFailure) std::rethrow_exception(tailFailure);

    for (Match& m : tail) {
        if (page.size() >= pageSize_) break;
        page.push_back(std::move(m));
    }
    return page;
}

std::vector<TitleSearch::Match> TitleSearch::scan(SQLiteHelper& db, long long after, long long upTo,
                                                  const std::atomic<bool>& stop,
                                                  std::atomic<bool>* filled) const {
    std::vector<Match> matches;
    ChapterNames chapters(courseChapters_, db);
    // Subjects without a title or chapter are left out by the statement itself: every call
    // per row counts on a walk over the whole course.
    auto rs = db.ExecuteDataReader(
        "select isubjectid,ctitle,ichapterid from coursesubject where icourseid=? and "
        "isubjectid>? and isubjectid<=? and ctitle is not null and ichapterid is not null "
        "order by isubjectid",
        courseId_, after, upTo);
    while (rs && !stop.load(std::memory_order_relaxed) && rs->next()) {
        const std::string* chapter = chapters.find(rs->intForColumnIndex(2));
        if (!chapter) continue;
        const std::optional<std::string> title = ContentCipher::decipher(rs->textForColumnIndex(1));
        if (!title || std::search(title->begin(), title->end(), searcher_) == title->end())
            continue;
        matches.push_back({rs->intForColumnIndex(0), *title, *chapter});
        if (matches.size() >= pageSize_) {
            if (filled) *filled = true;
            break;
        }
    }
    return matches;
}

}  // namespace examora
