#include "engine/title_search.h"

#include <algorithm>
#include <optional>

#include "store/content_cipher.h"

namespace examora {

namespace {

// Rows per batch: large enough that handing a batch over costs little against deciphering it,
// small enough that a search whose page fills early deciphers few rows past its last match.
constexpr std::size_t kBatchRows = 256;
// Batches waiting for the worker; beyond this the reading thread compares one itself.
constexpr std::size_t kMaxQueued = 4;

}  // namespace

TitleSearch::TitleSearch(std::string_view text, int pageSize)
    : text_(text),
      searcher_(text_.begin(), text_.end()),
      pageSize_(pageSize > 0 ? static_cast<std::size_t>(pageSize) : 0) {
    if (pageSize_ == 0) full_ = true;
    filling_.rows.reserve(kBatchRows);
}

TitleSearch::~TitleSearch() {
    stopWorker();
}

void TitleSearch::add(int id, std::string_view storedTitle, std::string_view chapter) {
    if (full()) return;
    Batch::Row row;
    row.id = id;
    row.title = filling_.text.size();
    row.titleSize = storedTitle.size();
    filling_.text += storedTitle;
    row.chapter = filling_.text.size();
    row.chapterSize = chapter.size();
    filling_.text += chapter;
    filling_.rows.push_back(row);
    if (filling_.rows.size() == kBatchRows) handOver();
}

void TitleSearch::handOver() {
    Batch batch = std::move(filling_);
    batch.seq = nextSeq_++;

    std::optional<Batch> own;
    {
        std::lock_guard lock(m_);
        if (!spare_.empty()) {
            filling_ = std::move(spare_.back());
            spare_.pop_back();
        } else {
            filling_ = Batch();
        }
        filling_.text.clear();
        filling_.rows.clear();
        filling_.rows.reserve(kBatchRows);
        if (full()) return;
        queue_.push_back(std::move(batch));
        if (queue_.size() > kMaxQueued) {
            own = std::move(queue_.front());
            queue_.pop_front();
            ++comparing_;
        }
    }
    cv_.notify_one();
    // The worker starts with the second batch: a course of a few hundred subjects is searched
    // on the calling thread alone.
    if (!worker_.joinable() && nextSeq_ > 1) worker_ = std::thread([this] { work(); });
    if (own) {
        std::vector<Match> matches = compare(*own);
        std::lock_guard lock(m_);
        deliver(std::move(*own), std::move(matches));
    }
}

std::vector<TitleSearch::Match> TitleSearch::finish() {
    if (!filling_.rows.empty()) handOver();
    {
        std::unique_lock lock(m_);
        closed_ = true;
        cv_.notify_all();
        // The caller compares what is still queued alongside the worker.
        while (!queue_.empty() && !full()) {
            Batch batch = std::move(queue_.front());
            queue_.pop_front();
            ++comparing_;
            lock.unlock();
            std::vector<Match> matches = compare(batch);
            lock.lock();
            deliver(std::move(batch), std::move(matches));
        }
        cv_.wait(lock, [&] { return comparing_ == 0; });
    }
    stopWorker();
    if (failure_) std::rethrow_exception(failure_);
    return std::move(page_);
}

void TitleSearch::work() {
    std::unique_lock lock(m_);
    for (;;) {
        cv_.wait(lock, [&] { return !queue_.empty() || closed_ || full(); });
        if (full() || queue_.empty()) return;
        Batch batch = std::move(queue_.front());
        queue_.pop_front();
        ++comparing_;
        lock.unlock();
        std::vector<Match> matches;
        std::exception_ptr failure;
        try {
            matches = compare(batch);
        } catch (...) {
            failure = std::current_exception();
        }
        lock.lock();
        if (failure) {
            // The search cannot be completed: stop everyone and report it from finish().
            if (!failure_) failure_ = failure;
            full_ = true;
            --comparing_;
            cv_.notify_all();
            return;
        }
        deliver(std::move(batch), std::move(matches));
    }
}

std::vector<TitleSearch::Match> TitleSearch::compare(const Batch& batch) const {
    std::vector<Match> matches;
    const std::string_view text(batch.text);
    for (const Batch::Row& row : batch.rows) {
        // A batch after the one that filled the page is of no use any more.
        if (full()) break;
        const std::optional<std::string> title =
            ContentCipher::decipher(text.substr(row.title, row.titleSize));
        if (!title || std::search(title->begin(), title->end(), searcher_) == title->end())
            continue;
        matches.push_back({row.id, *title, std::string(text.substr(row.chapter, row.chapterSize))});
        // Later rows of this batch come after these on the page, so they are not needed.
        if (matches.size() >= pageSize_) break;
    }
    return matches;
}

void TitleSearch::deliver(Batch&& batch, std::vector<Match>&& matches) {
    --comparing_;
    finished_.emplace(batch.seq, std::move(matches));
    spare_.push_back(std::move(batch));
    while (!full() && !finished_.empty() && finished_.begin()->first == listedSeq_) {
        for (Match& m : finished_.begin()->second) {
            if (page_.size() >= pageSize_) break;
            page_.push_back(std::move(m));
        }
        finished_.erase(finished_.begin());
        ++listedSeq_;
        if (page_.size() >= pageSize_) full_ = true;
    }
    cv_.notify_all();
}

void TitleSearch::stopWorker() {
    {
        std::lock_guard lock(m_);
        closed_ = true;
        if (!worker_.joinable()) return;
    }
    cv_.notify_all();
    // Joined outside the lock: the worker needs it to finish the batch it is comparing.
    if (worker_.joinable()) worker_.join();
}

}  // namespace examora
