#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "store/records/course_subject_download_entity.h"

namespace examora {

// The three item sets of a course's content, numbered as the service and the course columns
// number them.
enum class ContentItemSet { Chapter = 0, Outline = 1, Subject = 2 };

// Which date a content sync reports as the latest: the item set whose column gave it and the date.
struct LatestContentChange {
    ContentItemSet itemSet = ContentItemSet::Chapter;
    // The number the service knows the column by: 0 chapters, 1 questions, 2 outline entries
    // (the order the columns are read in, not the item-set numbers).
    int updateobj = 0;
    std::string date;
};

// The rules of course-content synchronisation that need no database: dates asked from, id runs,
// batches and the latest-date choice.
class ContentItemRule {
  public:
    // The date sent for an item set that was never downloaded.
    static constexpr const char* kNeverDate = "2000-01-01";
    // Ids per batch download.
    static constexpr std::size_t kBatchSize = 25;
    // The longest id run one change-list entry may stand for; a longer one is refused as bad
    // input rather than expanded into millions of ids.
    static constexpr long long kMaxRunLength = 1'000'000;

    // The item set of a number (0, 1, 2); nullopt for any other.
    static std::optional<ContentItemSet> fromNumber(int number);
    // The course column holding the item set's last download date.
    static const char* changeColumn(ContentItemSet itemSet);
    // The table the item set is stored in.
    static const char* tableName(ContentItemSet itemSet);

    // The date an id list is asked from: the passed date for a full fetch, else the stored one;
    // an empty or missing date becomes kNeverDate.
    static std::string askFrom(bool full, const std::string& passed,
                               const std::optional<std::string>& stored);

    // The question ids of a change list in list order: an entry whose maxid is above its
    // subjectid stands for every id from subjectid to maxid, ascending; any other for subjectid
    // alone. Entries with a run longer than kMaxRunLength are skipped.
    static std::vector<int> expandSubjectRuns(const std::vector<CourseSubjectDownloadEntity>& list);

    // The ids cut into batches of `size` in order; the last batch may be shorter.
    static std::vector<std::vector<int>> batches(const std::vector<int>& ids,
                                                 std::size_t size = kBatchSize);

    // The latest of the three stored dates by text comparison, starting from the chapter date;
    // only a strictly later date replaces the one chosen so far (questions, then outline).
    static LatestContentChange latestChange(const std::string& chapterDate,
                                            const std::string& subjectDate,
                                            const std::string& outlineDate);
};

}  // namespace examora
