// ChapterProgress: per-chapter subject tallies, and the LIKE matching of chapter codes.

#include "engine/chapter_progress.h"

#include "platform/strformat.h"

namespace examora {

namespace {

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Length of the UTF-8 sequence starting with this byte (a stray byte counts as one).
std::size_t sequenceLength(unsigned char c) {
    if (c >= 0xF0) return 4;
    if (c >= 0xE0) return 3;
    if (c >= 0xC0) return 2;
    return 1;
}

}  // namespace

void ChapterTally::add(const ChapterTally& other) {
    count += other.count;
    answered += other.answered;
    correct += other.correct;
}

bool sqlLikeMatch(std::string_view pattern, std::string_view text) {
    std::size_t p = 0, t = 0;
    // Backtracking point of the last "%": where the pattern resumes and the text position tried.
    std::size_t starP = std::string_view::npos, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '%') {
            starP = ++p;
            starT = t;
            continue;
        }
        if (p < pattern.size()) {
            if (pattern[p] == '_') {
                p += 1;
                t += sequenceLength(static_cast<unsigned char>(text[t]));
                continue;
            }
            if (asciiLower(pattern[p]) == asciiLower(text[t])) {
                ++p;
                ++t;
                continue;
            }
        }
        if (starP == std::string_view::npos) return false;
        starT += sequenceLength(static_cast<unsigned char>(text[starT]));
        t = starT;
        p = starP;
    }
    while (p < pattern.size() && pattern[p] == '%')
        ++p;
    return p == pattern.size();
}

void ChapterProgress::addRow(Row row) {
    byId_[row.chapterId] = rows_.size();
    rows_.push_back(std::move(row));
}

ChapterTally ChapterProgress::leaf(int chapterId) const {
    const auto it = byId_.find(chapterId);
    return it == byId_.end() ? ChapterTally{} : rows_[it->second].tally;
}

ChapterTally ChapterProgress::subtree(std::string_view code, int type) const {
    const std::string pattern = std::string(code) + "%";
    ChapterTally sum;
    for (const Row& row : rows_) {
        if (row.hasChapter && row.type == type && sqlLikeMatch(pattern, row.code)) {
            sum.add(row.tally);
        }
    }
    return sum;
}

std::string ChapterProgress::progressLine(const ChapterTally& tally, int storedCount) {
    const int total = tally.count > 0 ? static_cast<int>(tally.count) : storedCount;
    const int answered = static_cast<int>(tally.answered);
    const int rate = answered >= 1 ? static_cast<int>(tally.correct * 100 / answered) : 0;
    return strformat("已做 %d 题,共 %d 题,正确率 %d%%", answered, total, rate);
}

}  // namespace examora
