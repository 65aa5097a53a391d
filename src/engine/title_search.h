#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "store/sqlite_helper.h"

namespace examora {

// One page of a course's subjects whose stored (enciphered) title contains a text, in id order.
//
// Deciphering every title of a large course is the cost of a search, so the id range is cut in
// two halves read and deciphered at once, each on its own connection and thread; each thread
// deciphers a title straight from its statement's row. The first half's matches come first;
// the second half stops as soon as the first has filled the page, or its own part of it.
//
// Titles that do not decipher match nothing; the comparison is by bytes, so case-sensitive.
// Subjects whose chapter does not exist are not listed.
class TitleSearch {
  public:
    struct Match {
        int id = 0;
        std::string title;  // the whole deciphered title
        std::string chapter;
    };

    TitleSearch(int courseId, std::string_view text, int pageSize);

    // The page after `startSubjectId`, read through the two open connections (the second only
    // when the course is large enough to be worth a second thread).
    std::vector<Match> run(SQLiteHelper& first, SQLiteHelper& second, int startSubjectId);

  private:
    // Chapter names by id: the course's own, read once, and any other met while scanning,
    // remembered per scan (nullopt: no such chapter).
    class ChapterNames {
      public:
        ChapterNames(const std::unordered_map<int, std::string>& course, SQLiteHelper& db)
            : course_(course), db_(db) {}
        const std::string* find(int chapterId);

      private:
        const std::unordered_map<int, std::string>& course_;
        SQLiteHelper& db_;
        std::unordered_map<int, std::optional<std::string>> others_;
    };

    // The matches among ids in (after, upTo], at most a page of them; stops early once `stop`
    // is set, and sets `filled` (when given) once its own page is full.
    std::vector<Match> scan(SQLiteHelper& db, long long after, long long upTo,
                            const std::atomic<bool>& stop, std::atomic<bool>* filled) const;

    const int courseId_;
    const std::string text_;
    const std::boyer_moore_horspool_searcher<std::string::const_iterator> searcher_;
    const std::size_t pageSize_;
    std::unordered_map<int, std::string> courseChapters_;
};

}  // namespace examora
