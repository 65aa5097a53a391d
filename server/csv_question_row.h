#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "server/csv_reader.h"

namespace examora {

// One question of a question file, checked and put in the forms the client compares: the
// answer as the question page sends it, the options in order.
struct CsvQuestion {
    int line = 0;
    std::vector<std::string> chapterPath;  // levels, outermost first, none empty
    int type = 0;                          // 0–6
    std::string title;
    std::vector<std::string> options;  // A, B, … in order, none empty
    std::string answer;
    int score = 0;
    std::string analysis;
    std::vector<std::filesystem::path> questionPictures;
    std::vector<std::filesystem::path> analysisPictures;

    // The options as one text, "A.… B.… C.…", the form the page splits.
    std::string optionText() const;
};

// A row that cannot be imported, and why.
struct CsvRowProblem {
    int line = 0;
    std::string reason;
};

// The rules of one row of a question file. Columns, in this order (the first row of a file is
// the header, kColumnNames):
//   章节      chapter path, levels separated by "/", e.g. "第一章/第二节"
//   题型      a type name ("单选题", "多选题", "判断题", "问答题", "案例题", "填空题", "不定项")
//             or its number 0–6
//   题目      the question text
//   A … G     the options of a choice question (types 0, 1, 6), from A without gaps
//   答案      choice: the letters ("B", "ABD"; case, order and separators do not matter);
//             判断题: 对 or 错 (also 正确/错误, √/×); 案例题: key phrases separated by commas;
//             others: the text a learner must give
//   分值      whole points 0–1000; empty: 1, 2, 1, 5, 10, 2, 2 for types 0–6
//   解析      the analysis
//   题目图片  picture files of the question, separated by ";", relative to the file's folder
//   解析图片  picture files of the analysis, likewise
// A row may stop early (the missing cells are empty) but may not run past the last column.
class CsvQuestionRow {
  public:
    static constexpr int kColumns = 15;
    static const std::vector<std::string>& columnNames();

    // The checked question of a record, or nullopt with `problem` set. Picture names are taken
    // relative to `folder` and must name existing files.
    static std::optional<CsvQuestion> parse(const CsvRecord& record,
                                            const std::filesystem::path& folder,
                                            CsvRowProblem& problem);
    // The type of a type cell: a name or a number 0–6.
    static std::optional<int> typeOf(std::string_view cell);
    static int defaultScore(int type);
};

}  // namespace examora
