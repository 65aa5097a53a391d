#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace examora {

// Finds the stored (enciphered) subject titles that contain a text, among rows handed over one at
// a time in the order they are to be listed. Rows are gathered into batches; a batch is deciphered
// and compared by a worker thread while the caller reads on, and by the caller itself whenever the
// worker falls behind, so that reading the store and deciphering share both cores.
//
// Matches come out in the order of the rows, at most `pageSize` of them. Once that many are
// certain, full() answers true and further rows are ignored; the caller stops reading then.
// Titles that do not decipher match nothing. The comparison is by bytes, so case-sensitive.
class TitleSearch {
  public:
    struct Match {
        int id = 0;
        std::string title;  // the whole deciphered title
        std::string chapter;
    };

    TitleSearch(std::string_view text, int pageSize);
    // Stops and joins the worker; a search abandoned by an exception leaves nothing running.
    ~TitleSearch();
    TitleSearch(const TitleSearch&) = delete;
    TitleSearch& operator=(const TitleSearch&) = delete;

    // Both texts are copied; the views may end with the row.
    void add(int id, std::string_view storedTitle, std::string_view chapter);
    bool full() const { return full_.load(std::memory_order_relaxed); }
    // Every match in row order once the rows handed over are all compared. An exception raised
    // while comparing on the worker is raised here.
    std::vector<Match> finish();

  private:
    struct Batch {
        struct Row {
            int id = 0;
            std::size_t title = 0, titleSize = 0;
            std::size_t chapter = 0, chapterSize = 0;
        };
        int seq = 0;
        std::string text;  // the rows' texts share one buffer: no allocation per row
        std::vector<Row> rows;
    };

    void handOver();
    void work();
    std::vector<Match> compare(const Batch& batch) const;
    // Files a compared batch's matches, moves every batch now complete in row order onto the
    // page, and keeps the batch's buffers for reuse. Called with m_ held.
    void deliver(Batch&& batch, std::vector<Match>&& matches);
    void stopWorker();

    const std::string text_;
    const std::boyer_moore_horspool_searcher<std::string::const_iterator> searcher_;
    const std::size_t pageSize_;
    Batch filling_;
    int nextSeq_ = 0;

    std::mutex m_;
    std::condition_variable cv_;
    std::deque<Batch> queue_;
    // Compared batches whose buffers are reused: a batch's text is large enough to be mapped
    // fresh from the system, and faulted in page by page, every time it were allocated anew.
    std::vector<Batch> spare_;
    std::map<int, std::vector<Match>> finished_;  // compared, waiting for earlier batches
    int listedSeq_ = 0;                           // batches before this one are on the page
    int comparing_ = 0;                           // batches taken but not yet delivered
    bool closed_ = false;
    std::exception_ptr failure_;
    std::vector<Match> page_;
    std::atomic<bool> full_{false};
    std::thread worker_;
};

}  // namespace examora
