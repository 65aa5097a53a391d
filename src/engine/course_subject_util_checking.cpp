// CourseSubjectUtil: answer checking and marking, subject type names and random draws.

#include <algorithm>
#include <random>
#include <unordered_set>

#include "app/common_setting.h"
#include "engine/course_subject_util.h"
#include "platform/text_util.h"

namespace examora {

namespace {

// Every key phrase must occur in the answer. An empty phrase (from ",," or a comma at either end)
// never occurs, so such a right answer can only be met by exact equality.
bool containsEveryPhrase(std::string_view myanswer, std::string_view phrases) {
    for (const std::string& phrase : split(phrases, ",")) {
        if (phrase.empty() || myanswer.find(phrase) == std::string_view::npos) return false;
    }
    return true;
}

// Points of a multiple-choice answer that ticks only right options but not exactly the right
// string: D per ticked option while that stays under the full points, else the full points less D
// per missing option. The length difference is an unsigned count, so an answer longer than the
// right one (a repeated letter) ends at 0.
float partialPoints(std::size_t answerLen, std::size_t myLen, float score, float deduct) {
    const float p = deduct * static_cast<float>(myLen);
    if (p < score) return p;
    const std::uint64_t missing = static_cast<std::uint64_t>(answerLen) - myLen;
    const float r = score - deduct * static_cast<float>(missing);
    return r >= 0.0f ? r : 0.0f;
}

std::mt19937& randomSource() {
    thread_local std::mt19937 engine{std::random_device{}()};
    return engine;
}

// One candidate of min..max: a uniform 32-bit draw reduced modulo the range. A range that wraps to
// 0 is the whole 32-bit space.
int drawCandidate(int min, int max, std::mt19937& random = randomSource()) {
    const std::uint32_t range =
        static_cast<std::uint32_t>(static_cast<std::int64_t>(max) - min + 1);
    const std::uint32_t r = random();
    const std::uint32_t offset = range == 0 ? r : r % range;
    return static_cast<int>(static_cast<std::uint32_t>(min) + offset);
}

}  // namespace

AnswerMark CourseSubjectUtil::markAnswer(int subjectType, std::string_view answer,
                                         std::string_view myanswer, std::optional<float> score,
                                         float deductPoints) {
    if (isEmpty(myanswer)) return {false, std::nullopt};
    const float full = score.value_or(0.0f);
    if (myanswer == answer) return {true, full};

    if (subjectType == kSubjectCase) {
        if (containsEveryPhrase(myanswer, answer)) return {true, full};
        return {false, 0.0f};
    }
    if (subjectType == kSubjectMultipleChoice) {
        const std::vector<std::string> mine = utf8Chars(myanswer);
        const std::vector<std::string> right = utf8Chars(answer);
        for (const std::string& c : mine) {
            if (std::find(right.begin(), right.end(), c) == right.end()) return {false, 0.0f};
        }
        return {false, partialPoints(right.size(), mine.size(), full, deductPoints)};
    }
    return {false, 0.0f};
}

bool CourseSubjectUtil::checkAnswerIsCorrect(CourseSubjectEntity& subject) {
    std::optional<float> score;
    if (subject.score) score = static_cast<float>(*subject.score);
    const AnswerMark m = markAnswer(subject.subjecttype, subject.answer, subject.myanswer, score);
    if (m.myscore) subject.myscore = *m.myscore;
    return m.correct;
}

AnswerMark CourseSubjectUtil::markAnswer(int subjectType, std::string_view answer,
                                         std::string_view myanswer, std::optional<float> score) {
    return markAnswer(subjectType, answer, myanswer, score,
                      CommonSetting::MultiGuessDeductPoints());
}

std::string CourseSubjectUtil::getSubjectName(int subjectType) {
    switch (subjectType) {
        case kSubjectSingleChoice:
            return "单选题";
        case kSubjectMultipleChoice:
            return "多选题";
        case kSubjectTrueFalse:
            return "判断题";
        case kSubjectQuestionAnswer:
            return "问答题";
        case kSubjectCase:
            return "案例题";
        case kSubjectFillBlank:
            return "填空题";
        case kSubjectOneOrMore:
            return "不定项";
        default:
            return "无";
    }
}

std::optional<std::vector<std::string>> CourseSubjectUtil::buildAnswerArrayList(
    std::string_view text, int count) {
    static const std::vector<std::string> kSeparators = utf8Chars(".、 :：。．");
    const auto isSeparator = [](const std::string& c) {
        return std::find(kSeparators.begin(), kSeparators.end(), c) != kSeparators.end();
    };

    std::vector<std::string> options;
    if (count < 1) return options;
    const std::vector<std::string> chars = utf8Chars(trim(text));
    const std::size_t len = chars.size();
    const std::size_t n = static_cast<std::size_t>(count);
    if (len <= n) return options;

    // Cuts chars[from, to) back into one text.
    const auto cut = [&chars](std::size_t from, std::size_t to) {
        std::string s;
        for (std::size_t i = from; i < to; ++i)
            s += chars[i];
        return s;
    };
    const auto findFrom = [&chars, len](const std::string& letter, std::size_t from) {
        for (std::size_t i = from; i < len; ++i) {
            if (chars[i] == letter) return i;
        }
        return len;
    };

    std::optional<std::string> separator;
    if (chars[0] == "A" && isSeparator(chars[1])) separator = chars[1];

    std::size_t segmentStart = 0;
    std::size_t searchPos = 0;
    for (std::size_t k = 1; k < n; ++k) {
        const std::string letter(1, static_cast<char>('A' + k));
        std::size_t pos = findFrom(letter, searchPos);
        if (pos == len || pos == 0 || pos == len - 1) continue;
        for (;;) {
            const bool hasNext = pos + 1 < len;
            bool accepted = false;
            if (!separator) {
                searchPos = pos + 1;
                if (hasNext && isSeparator(chars[pos + 1])) {
                    separator = chars[pos + 1];
                    accepted = true;
                }
            } else if (hasNext && chars[pos + 1] == *separator) {
                searchPos = pos + 1;
                accepted = true;
            }
            if (accepted) break;
            if (pos == len - 1) return std::nullopt;
            pos = findFrom(letter, pos + 1);
            if (pos == len) return std::nullopt;
        }
        options.push_back(cut(segmentStart, pos));
        if (k == n - 1) options.push_back(cut(pos, len));
        segmentStart = pos;
    }
    if (options.size() != n) options.clear();
    return options;
}

std::vector<int> CourseSubjectUtil::getRandomNum(int count, int min, int max) {
    return getRandomNum(count, min, max, randomSource());
}

std::vector<int> CourseSubjectUtil::getRandomNum(int count, int min, int max,
                                                 std::mt19937& random) {
    std::vector<int> drawn;
    if (count < 1 || max < min) return drawn;
    const std::int64_t range = static_cast<std::int64_t>(max) - min + 1;
    const std::size_t wanted = static_cast<std::size_t>(std::min<std::int64_t>(count, range));
    drawn.reserve(wanted);
    // The set mirrors the list so that a draw close to the whole range stays fast.
    std::unordered_set<int> held;
    held.reserve(wanted * 2);
    while (drawn.size() < wanted) {
        int candidate = drawCandidate(min, max, random);
        while (held.contains(candidate))
            candidate = drawCandidate(min, max, random);
        held.insert(candidate);
        drawn.push_back(candidate);
    }
    return drawn;
}

int CourseSubjectUtil::getNum(const std::vector<int>& list, int candidate, int min, int max) {
    if (max < min) return candidate;
    const std::int64_t range = static_cast<std::int64_t>(max) - min + 1;
    if (static_cast<std::int64_t>(list.size()) >= range) return candidate;
    while (std::find(list.begin(), list.end(), candidate) != list.end()) {
        candidate = drawCandidate(min, max);
    }
    return candidate;
}

}  // namespace examora
