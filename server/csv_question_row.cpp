// The rules of one row of a question file: columns, types, options, answers, score, pictures.
#include "server/csv_question_row.h"

#include <algorithm>
#include <charconv>

#include "platform/text_util.h"

namespace examora {

namespace {

enum Column {
    Chapter,
    Type,
    Question,
    OptionA,
    Answer = OptionA + 7,
    Score,
    Analysis,
    QuestionPictures,
    AnalysisPictures
};

constexpr int kMaxOptions = 7;

const char* const kTypeNames[] = {"单选题", "多选题", "判断题", "问答题",
                                  "案例题", "填空题", "不定项"};

// Characters the question page cannot carry in a typed answer: its answer link is a URL.
constexpr std::string_view kUnsendable = "/?#%\\<>&\r\n";

bool isChoice(int type) {
    return type == 0 || type == 1 || type == 6;
}

std::string letter(int index) {
    return std::string(1, static_cast<char>('A' + index));
}

// The letters of a choice answer in option order, each once; nullopt when the cell holds
// anything but letters and separators.
std::optional<std::string> choiceLetters(std::string_view cell) {
    std::string text = replaceAll(cell, "，", ",");
    text = replaceAll(text, "、", ",");
    std::string letters;
    for (char c : text) {
        if (c == ',' || c == ' ' || c == '\t' || c == ';') continue;
        const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        if (upper < 'A' || upper > 'Z') return std::nullopt;
        letters += upper;
    }
    std::sort(letters.begin(), letters.end());
    letters.erase(std::unique(letters.begin(), letters.end()), letters.end());
    return letters;
}

std::optional<std::string> trueOrFalse(const std::string& cell) {
    if (cell == "对" || cell == "正确" || cell == "√") return std::string("对");
    if (cell == "错" || cell == "错误" || cell == "×") return std::string("错");
    return std::nullopt;
}

std::vector<std::string> pictureNames(const std::string& cell) {
    std::string text = replaceAll(cell, "；", ";");
    text = replaceAll(text, "|", ";");
    std::vector<std::string> names;
    for (const std::string& part : split(text, ";")) {
        std::string name = trim(part);
        if (!name.empty()) names.push_back(std::move(name));
    }
    return names;
}

// Checks the answer cell against the type and options and puts it in the form the page sends.
std::optional<std::string> answerOf(const CsvQuestion& q, const std::string& cell,
                                    std::string& reason) {
    if (cell.empty()) {
        reason = "missing answer";
        return std::nullopt;
    }
    if (isChoice(q.type)) {
        std::optional<std::string> letters = choiceLetters(cell);
        if (!letters || letters->empty()) {
            reason = "answer \"" + cell + "\" is not option letters";
            return std::nullopt;
        }
        const char last = static_cast<char>('A' + q.options.size() - 1);
        for (char c : *letters) {
            if (c > last) {
                reason = std::string("answer letter ") + c + " beyond the options (A–" + last + ")";
                return std::nullopt;
            }
        }
        if (q.type == 0 && letters->size() != 1) {
            reason = "a single-choice answer is one letter";
            return std::nullopt;
        }
        if (q.type == 1 && letters->size() < 2) {
            reason = "a multiple-choice answer is two or more letters";
            return std::nullopt;
        }
        return letters;
    }
    if (q.type == 2) {
        std::optional<std::string> judged = trueOrFalse(cell);
        if (!judged) reason = "a true-or-false answer is 对 or 错";
        return judged;
    }
    std::string answer = cell;
    if (q.type == 4) {
        // Key phrases: the learner's text must contain each; blanks around them are no part.
        std::vector<std::string> phrases;
        for (const std::string& piece : split(replaceAll(cell, "，", ","), ",")) {
            phrases.push_back(trim(piece));
            if (phrases.back().empty()) {
                reason = "a case answer has an empty key phrase";
                return std::nullopt;
            }
        }
        answer = join(phrases, ",");
    }
    if (const std::size_t bad = answer.find_first_of(kUnsendable); bad != std::string::npos) {
        const char c = answer[bad];
        std::string what = "a line break";
        if (c != '\n' && c != '\r') {
            what = "\"";
            what.push_back(c);
            what.push_back('"');
        }
        reason = "the answer holds " + what + ", which the question page cannot send";
        return std::nullopt;
    }
    return answer;
}

}  // namespace

std::string CsvQuestion::optionText() const {
    std::string text;
    for (std::size_t i = 0; i < options.size(); ++i) {
        if (i > 0) text += " ";
        text += letter(static_cast<int>(i)) + "." + options[i];
    }
    return text;
}

const std::vector<std::string>& CsvQuestionRow::columnNames() {
    static const std::vector<std::string> names = {"章节", "题型", "题目", "A",        "B",
                                                   "C",    "D",    "E",    "F",        "G",
                                                   "答案", "分值", "解析", "题目图片", "解析图片"};
    return names;
}

std::optional<int> CsvQuestionRow::typeOf(std::string_view cell) {
    const std::string text = trim(cell);
    for (int t = 0; t < 7; ++t)
        if (text == kTypeNames[t]) return t;
    int n = -1;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec == std::errc() && end == text.data() + text.size() && n >= 0 && n <= 6) return n;
    return std::nullopt;
}

int CsvQuestionRow::defaultScore(int type) {
    static const int scores[] = {1, 2, 1, 5, 10, 2, 2};
    return type >= 0 && type < 7 ? scores[type] : 1;
}

std::optional<CsvQuestion> CsvQuestionRow::parse(const CsvRecord& record,
                                                 const std::filesystem::path& folder,
                                                 CsvRowProblem& problem) {
    problem = {record.line, {}};
    auto fail = [&](std::string reason) -> std::optional<CsvQuestion> {
        problem.reason = std::move(reason);
        return std::nullopt;
    };
    for (const std::string& field : record.fields)
        if (!isValidUtf8(field)) return fail("not UTF-8 text (save the file as \"CSV UTF-8\")");
    if (record.fields.size() > static_cast<std::size_t>(kColumns)) {
        for (std::size_t i = kColumns; i < record.fields.size(); ++i)
            if (!trim(record.fields[i]).empty()) return fail("more than 15 columns");
    }
    auto cell = [&](int column) {
        return static_cast<std::size_t>(column) < record.fields.size() ? trim(record.fields[column])
                                                                       : std::string();
    };

    CsvQuestion q;
    q.line = record.line;
    const std::string path = replaceAll(cell(Chapter), "／", "/");
    if (path.empty()) return fail("missing chapter");
    for (const std::string& level : split(path, "/")) {
        q.chapterPath.push_back(trim(level));
        if (q.chapterPath.back().empty()) return fail("empty level in chapter \"" + path + "\"");
    }
    std::optional<int> type = typeOf(cell(Type));
    if (!type) return fail("unknown type \"" + cell(Type) + "\"");
    q.type = *type;
    q.title = cell(Question);
    if (q.title.empty()) return fail("missing question");

    if (isChoice(q.type)) {
        int count = 0;
        for (int i = 0; i < kMaxOptions; ++i) {
            const std::string option = cell(OptionA + i);
            if (option.empty()) continue;
            if (i != count)
                return fail("option " + letter(count) + " is empty but option " + letter(i) +
                            " is not");
            q.options.push_back(option);
            ++count;
        }
        if (count < 2) return fail("a choice question needs at least two options");
        // The page cuts the option text before each later letter followed by ".".
        for (std::size_t i = 0; i < q.options.size(); ++i)
            for (std::size_t j = i + 1; j < q.options.size(); ++j)
                if (q.options[i].find(letter(static_cast<int>(j)) + ".") != std::string::npos)
                    return fail("option " + letter(static_cast<int>(i)) + " holds \"" +
                                letter(static_cast<int>(j)) + ".\", which would split it");
    }
    std::string reason;
    std::optional<std::string> answer = answerOf(q, cell(Answer), reason);
    if (!answer) return fail(reason);
    q.answer = *answer;

    const std::string score = cell(Score);
    if (score.empty()) {
        q.score = defaultScore(q.type);
    } else {
        int n = -1;
        auto [end, ec] = std::from_chars(score.data(), score.data() + score.size(), n);
        if (ec != std::errc() || end != score.data() + score.size() || n < 0 || n > 1000)
            return fail("score \"" + score + "\" is not a whole number from 0 to 1000");
        q.score = n;
    }
    q.analysis = cell(Analysis);

    const std::pair<int, std::vector<std::filesystem::path>*> pictureColumns[] = {
        {QuestionPictures, &q.questionPictures}, {AnalysisPictures, &q.analysisPictures}};
    for (const auto& [column, files] : pictureColumns) {
        for (const std::string& name : pictureNames(cell(column))) {
            const std::filesystem::path file = folder / std::filesystem::path(name);
            std::error_code ec;
            if (!std::filesystem::is_regular_file(file, ec))
                return fail("picture not found: " + name);
            files->push_back(file);
        }
    }
    return q;
}

}  // namespace examora
