#include <algorithm>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

#include "engine/course_util.h"
#include "engine/database_scope.h"
#include "platform/strformat.h"
#include "platform/text_util.h"
#include "store/content_cipher.h"

namespace examora {

namespace {

// Rows of one read-ahead batch. The texts share one buffer, so that a batch costs the reading
// thread no allocation per row and the matching thread no free of another thread's memory.
struct TitleBatch {
    struct Row {
        int id = 0;
        std::size_t title = 0, titleSize = 0;      // the stored (enciphered) title
        std::size_t chapter = 0, chapterSize = 0;  // the chapter name
    };
    std::string text;
    std::vector<Row> rows;

    std::string_view at(std::size_t offset, std::size_t size) const {
        return std::string_view(text).substr(offset, size);
    }
};

// Rows read on one thread are deciphered and matched on another, so that reading the store and
// deciphering overlap. Batches keep their order; the matching side may stop the reading side
// once its page is full.
class TitlePipe {
  public:
    // False when the matching side wants no more rows.
    bool push(TitleBatch&& batch) {
        std::unique_lock lock(m_);
        cv_.wait(lock, [&] { return q_.size() < kMaxQueued || done_; });
        if (done_) return false;
        q_.push_back(std::move(batch));
        cv_.notify_all();
        return true;
    }
    // The next batch; nullopt once the reading side has closed and every batch is taken.
    std::optional<TitleBatch> pop() {
        std::unique_lock lock(m_);
        cv_.wait(lock, [&] { return !q_.empty() || closed_; });
        if (q_.empty()) return std::nullopt;
        TitleBatch batch = std::move(q_.front());
        q_.pop_front();
        cv_.notify_all();
        return batch;
    }
    void close() {
        std::lock_guard lock(m_);
        closed_ = true;
        cv_.notify_all();
    }
    void finish() {
        std::lock_guard lock(m_);
        done_ = true;
        cv_.notify_all();
    }
    bool finished() {
        std::lock_guard lock(m_);
        return done_;
    }

  private:
    static constexpr std::size_t kMaxQueued = 8;
    std::mutex m_;
    std::condition_variable cv_;
    std::deque<TitleBatch> q_;
    bool closed_ = false;
    bool done_ = false;
};

constexpr std::size_t kBatchRows = 256;

}  // namespace

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
    auto rs = reader.ExecuteDataReader(
        "select a.isubjectid,a.ctitle,b.cchaptername from coursesubject a,coursechapter b where "
        "a.icourseid=? and isubjectid>? and a.ichapterid=b.ichapterid order by a.isubjectid",
        courseId, startSubjectId);
    if (!rs) return list;

    TitlePipe pipe;
    std::exception_ptr failure;
    std::thread matcher([&] {
        try {
            const std::boyer_moore_horspool_searcher searcher(searchText.begin(), searchText.end());
            while (std::optional<TitleBatch> batch = pipe.pop()) {
                for (const TitleBatch::Row& row : batch->rows) {
                    const std::optional<std::string> title =
                        ContentCipher::decipher(batch->at(row.title, row.titleSize));
                    // A title that does not decipher has no text to match.
                    if (!title ||
                        std::search(title->begin(), title->end(), searcher) == title->end()) {
                        continue;
                    }
                    std::string name =
                        utf8Length(*title) > static_cast<std::size_t>(kSearchExcerptLength)
                            ? strformat("%@...", utf8Substr(*title, 0, kSearchExcerptLength))
                            : *title;
                    BaseItemEntity item;
                    item.initWithPara(std::to_string(row.id), std::move(name),
                                      std::string(batch->at(row.chapter, row.chapterSize)),
                                      static_cast<int>(list.size()) + 1, Bytes{});
                    list.push_back(std::move(item));
                    if (static_cast<int>(list.size()) >= pageSize) {
                        pipe.finish();
                        return;
                    }
                }
            }
        } catch (...) {
            failure = std::current_exception();
        }
        pipe.finish();
    });

    try {
        TitleBatch batch;
        batch.rows.reserve(kBatchRows);
        while (rs->next()) {
            const std::optional<std::string> stored = rs->stringForColumnIndex(1);
            if (!stored) continue;
            const std::string chapter = rs->stringForColumnIndex(2).value_or(std::string());
            TitleBatch::Row row;
            row.id = rs->intForColumnIndex(0);
            row.title = batch.text.size();
            row.titleSize = stored->size();
            batch.text += *stored;
            row.chapter = batch.text.size();
            row.chapterSize = chapter.size();
            batch.text += chapter;
            batch.rows.push_back(row);
            if (batch.rows.size() == kBatchRows) {
                if (!pipe.push(std::move(batch))) break;
                batch = TitleBatch();
                batch.rows.reserve(kBatchRows);
            }
        }
        if (!batch.rows.empty() && !pipe.finished()) pipe.push(std::move(batch));
    } catch (...) {
        if (!failure) failure = std::current_exception();
        pipe.finish();
    }
    pipe.close();
    matcher.join();
    rs.reset();
    if (failure) std::rethrow_exception(failure);
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
