#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace examora {

// Subject counts of one chapter: subjects not withdrawn, those answered, those answered correctly.
struct ChapterTally {
    long long count = 0;
    long long answered = 0;
    long long correct = 0;

    void add(const ChapterTally& other);
};

// The per-chapter tallies of one course, gathered in a single pass over its subjects, from which
// the progress of a leaf (its own subjects) and of a subtree (every chapter whose code begins with
// the chapter's code, in the same tree type) are both read without touching the subjects again.
class ChapterProgress {
  public:
    struct Row {
        int chapterId = 0;
        bool hasChapter = false;  // the chapter row exists (code and type are meaningful)
        std::string code;
        int type = 0;
        ChapterTally tally;
    };

    void addRow(Row row);

    // The tally of the chapter's own subjects.
    ChapterTally leaf(int chapterId) const;
    // The tally of every chapter of tree type `type` whose code matches `code` as a prefix under
    // the rules of SQL LIKE (the code followed by "%"), the chapter itself included.
    ChapterTally subtree(std::string_view code, int type) const;

    // The progress line of a chapter: answered, total (the stored count when nothing is counted
    // or the count is not positive) and percent correct of those answered.
    static std::string progressLine(const ChapterTally& tally, int storedCount);

  private:
    std::vector<Row> rows_;
    std::unordered_map<int, std::size_t> byId_;
};

// SQLite's LIKE without ESCAPE: "%" any run, "_" one character, ASCII letters in either case.
bool sqlLikeMatch(std::string_view pattern, std::string_view text);

}  // namespace examora
