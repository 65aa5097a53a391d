// The rules of course-content synchronisation that need no database: dates, id runs, batches.
#include "sync/content_item_rule.h"

#include <algorithm>

#include "platform/log.h"

namespace examora {

std::optional<ContentItemSet> ContentItemRule::fromNumber(int number) {
    switch (number) {
        case 0:
            return ContentItemSet::Chapter;
        case 1:
            return ContentItemSet::Outline;
        case 2:
            return ContentItemSet::Subject;
        default:
            return std::nullopt;
    }
}

const char* ContentItemRule::changeColumn(ContentItemSet itemSet) {
    switch (itemSet) {
        case ContentItemSet::Chapter:
            return "dchapterchange";
        case ContentItemSet::Outline:
            return "doutlinechange";
        case ContentItemSet::Subject:
            return "dsubjectchange";
    }
    return "dchapterchange";
}

const char* ContentItemRule::tableName(ContentItemSet itemSet) {
    switch (itemSet) {
        case ContentItemSet::Chapter:
            return "coursechapter";
        case ContentItemSet::Outline:
            return "courseoutline";
        case ContentItemSet::Subject:
            return "coursesubject";
    }
    return "coursechapter";
}

std::string ContentItemRule::askFrom(bool full, const std::string& passed,
                                     const std::optional<std::string>& stored) {
    std::string date = full ? passed : stored.value_or(std::string());
    return date.empty() ? std::string(kNeverDate) : date;
}

std::vector<int> ContentItemRule::expandSubjectRuns(
    const std::vector<CourseSubjectDownloadEntity>& list) {
    std::vector<int> ids;
    for (const CourseSubjectDownloadEntity& entry : list) {
        if (entry.maxid <= entry.subjectid) {
            ids.push_back(entry.subjectid);
            continue;
        }
        const long long length = static_cast<long long>(entry.maxid) - entry.subjectid + 1;
        if (length > kMaxRunLength) {
            logf("subject id run %d-%d refused: longer than %lld ids", entry.subjectid, entry.maxid,
                 kMaxRunLength);
            continue;
        }
        // Counted in 64 bits: a run that ends at the largest int must not wrap around.
        for (long long id = entry.subjectid; id <= entry.maxid; ++id)
            ids.push_back(static_cast<int>(id));
    }
    return ids;
}

std::vector<std::vector<int>> ContentItemRule::batches(const std::vector<int>& ids,
                                                       std::size_t size) {
    std::vector<std::vector<int>> out;
    if (size == 0) size = 1;
    for (std::size_t i = 0; i < ids.size(); i += size) {
        const std::size_t end = std::min(ids.size(), i + size);
        out.emplace_back(ids.begin() + static_cast<std::ptrdiff_t>(i),
                         ids.begin() + static_cast<std::ptrdiff_t>(end));
    }
    return out;
}

LatestContentChange ContentItemRule::latestChange(const std::string& chapterDate,
                                                  const std::string& subjectDate,
                                                  const std::string& outlineDate) {
    LatestContentChange latest{ContentItemSet::Chapter, 0, chapterDate};
    if (subjectDate > latest.date) latest = {ContentItemSet::Subject, 1, subjectDate};
    if (outlineDate > latest.date) latest = {ContentItemSet::Outline, 2, outlineDate};
    return latest;
}

}  // namespace examora
