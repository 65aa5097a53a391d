// The generated courses' content as service objects: chapters, outline, questions and pictures.
#include "lib/course_content_generator.h"

#include <array>
#include <cstdint>
#include <string_view>

#include "lib/course_generator.h"

namespace examora {

namespace {

constexpr std::array<std::string_view, 12> kPhrases = {
    "根据《会计法》的规定，", "下列各项中，",         "企业发生的下列交易或事项，",
    "属于会计基本假设的是",   "应当计入当期损益的有", "不考虑其他因素，",
    "按照权责发生制的要求，", "资产负债表日，",       "存货按成本与可变现净值孰低计量，",
    "本年利润账户的余额",     "所得税费用的确认应当", "固定资产的折旧方法一经确定，"};

std::string text(std::uint64_t seed, int phrases) {
    std::string out;
    for (int i = 0; i < phrases; ++i) {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        out += kPhrases[(seed >> 33) % kPhrases.size()];
    }
    return out;
}

std::string code2(int n) {
    return std::string(1, static_cast<char>('0' + n / 10)) + static_cast<char>('0' + n % 10);
}

// A small picture: a PNG signature and deterministic bytes.
Bytes pictureBytes(int subjectId) {
    Bytes bytes = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    for (int i = 0; i < 1024; ++i)
        bytes.push_back(static_cast<std::uint8_t>((subjectId * 31 + i * 7) & 0xFF));
    return bytes;
}

}  // namespace

CourseContent CourseContentGenerator::content(char size) {
    CourseContent out;
    const int courseId = CourseGenerator::courseIdForSize(size);
    const int count = CourseGenerator::subjectCountForSize(size);
    if (courseId == 0) return out;
    const int base = courseId * 1'000'000;

    // The chapter trees of CourseGenerator::generate, with the same ids in the same order.
    int chapterId = base;
    std::vector<int> leaves0, leaves1;
    auto chapter = [&](const std::string& code, int type, bool leaf, int grade) {
        out.chapters.push_back(Dict{{"ichapterid", ++chapterId},
                                    {"icourseid", courseId},
                                    {"cchaptercode", code},
                                    {"itype", type},
                                    {"cchaptername", "第" + code + (leaf ? "节 练习" : "章")},
                                    {"bendgrade", leaf ? 1 : 0},
                                    {"igrade", grade},
                                    {"icount", 0},
                                    {"iexamtime", 0},
                                    {"cdcname", ""},
                                    {"cmemo", ""},
                                    {"bstopflag", 0}});
        return chapterId;
    };
    for (int c = 1; c <= 10; ++c) {
        chapter(code2(c), 0, false, 0);
        for (int s = 1; s <= 6; ++s) {
            chapter(code2(c) + code2(s), 0, false, 1);
            for (int p = 1; p <= 10; ++p)
                leaves0.push_back(chapter(code2(c) + code2(s) + code2(p), 0, true, 2));
        }
    }
    for (int c = 1; c <= 10; ++c) {
        chapter(code2(c), 1, false, 0);
        for (int p = 1; p <= 10; ++p)
            leaves1.push_back(chapter(code2(c) + code2(p), 1, true, 1));
    }

    int outlineId = base + 50'000;
    for (int c = 1; c <= 10; ++c) {
        for (int s = 0; s <= 6; ++s) {
            const std::string code = code2(c) + (s == 0 ? "" : code2(s));
            out.outlines.push_back(Dict{{"ioutlineid", ++outlineId},
                                        {"icourseid", courseId},
                                        {"coutlinecode", code},
                                        {"itype", 0},
                                        {"coutlinename", "考试大纲 " + code},
                                        {"bendgrade", s == 0 ? 0 : 1},
                                        {"igrade", s == 0 ? 0 : 1},
                                        {"cdcname", ""},
                                        {"curl", ""},
                                        {"ctext", text(static_cast<std::uint64_t>(outlineId), 8)},
                                        {"bstopflag", 0}});
        }
    }

    const int first = base + 100'000;
    for (int i = 0; i < count; ++i) {
        const int id = first + i;
        const bool tree1 = i % 7 == 0;
        const std::vector<int>& leaves = tree1 ? leaves1 : leaves0;
        const int leaf = leaves[static_cast<std::size_t>(i) % leaves.size()];
        const int type = i % 3;
        std::string title = text(static_cast<std::uint64_t>(id), 12) + "（ ）。";
        std::string description = "解析：" + text(static_cast<std::uint64_t>(id) * 3, 24);
        bool picQuestion = false, picAnswer = false;
        if (i % 10 == 0) {
            const bool inQuestion = (i / 10) % 2 == 0;
            (inQuestion ? title : description) += inQuestion ? "{图1}" : "{图}";
            (inQuestion ? picQuestion : picAnswer) = true;
            out.pictures.push_back({id, inQuestion ? "0_1" : "1", pictureBytes(id), "png"});
        }
        out.subjects.push_back(Dict{{"isubjectid", id},
                                    {"icourseid", courseId},
                                    {"ichapterid", leaf},
                                    {"isubjecttype", type},
                                    {"ichaptertype", tree1 ? 1 : 0},
                                    {"iindex", i},
                                    {"iscore", type == 1 ? 2 : 1},
                                    {"ctitle", title},
                                    {"cquestion", type == 2 ? "" : "A.甲 B.乙 C.丙 D.丁"},
                                    {"canswer", type == 0 ? "A" : (type == 1 ? "AC" : "对")},
                                    {"ianswercount", type == 2 ? 0 : 4},
                                    {"cdescription", description},
                                    {"csubjecttype", ""},
                                    {"bpicquestion", picQuestion ? 1 : 0},
                                    {"bpicanswer", picAnswer ? 1 : 0},
                                    {"bstopflag", 0}});
    }
    return out;
}

}  // namespace examora
