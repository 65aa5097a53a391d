#pragma once

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <string>
#include <vector>

#include "engine/course_subject_util.h"

namespace examora::page_test {

// One <input> or <textarea> of a built page with the attributes the learner's state lives in.
struct Control {
    std::string tag;  // "input" or "textarea"
    std::string type;
    std::string id;
    std::string value;
    bool checked = false;
    bool disabled = false;
};

inline std::string attribute(const std::string& tag, const std::string& name) {
    const std::regex re("\\s" + name + "=\"([^\"]*)\"");
    std::smatch m;
    return std::regex_search(tag, m, re) ? m[1].str() : std::string();
}

inline std::vector<Control> controls(const std::string& html) {
    std::vector<Control> out;
    const std::regex re("<(input|textarea)\\b[^>]*>");
    for (auto it = std::sregex_iterator(html.begin(), html.end(), re); it != std::sregex_iterator();
         ++it) {
        const std::string tag = it->str();
        Control c;
        c.tag = (*it)[1].str();
        c.type = attribute(tag, "type");
        c.id = attribute(tag, "id");
        c.value = attribute(tag, "value");
        c.checked = std::regex_search(tag, std::regex("\\schecked\\b"));
        c.disabled = std::regex_search(tag, std::regex("\\sdisabled\\b"));
        out.push_back(c);
    }
    return out;
}

inline int occurrences(const std::string& text, const std::string& part) {
    int n = 0;
    for (auto pos = text.find(part); pos != std::string::npos; pos = text.find(part, pos + 1))
        ++n;
    return n;
}

// The practice session's settings (styled controls, notes shown, no tool bar of the page's own)
// with notes from a list instead of the store; restored after each test.
class PageTest : public ::testing::Test {
  protected:
    PageTest() {
        CourseSubjectUtil::setPageSettings(SubjectPageSettings{});
        CourseSubjectUtil::updatePageSettings([](SubjectPageSettings& s) {
            s.showfunmode = 1;
            s.showmynote = 1;
            s.buildcss = true;
        });
        CourseSubjectUtil::setNoteSource([this](int subjectId) {
            std::vector<WriteNoteEntity> out;
            for (const auto& n : notes)
                if (n.subjectid == subjectId) out.push_back(n);
            return out;
        });
    }
    ~PageTest() override {
        CourseSubjectUtil::setNoteSource({});
        CourseSubjectUtil::setPageSettings(SubjectPageSettings{});
    }

    static CourseSubjectEntity subject(int type, const std::string& question, int answerCount,
                                       const std::string& answer,
                                       const std::string& myanswer = {}) {
        CourseSubjectEntity s;
        s.subjectid = 7;
        s.subjecttype = type;
        s.title = "题干";
        s.question = question;
        s.answercount = answerCount;
        s.answer = answer;
        s.myanswer = myanswer;
        s.score = 1.0;
        s.description = "解析";
        return s;
    }

    std::string page(CourseSubjectEntity& s, int showTime = 0, int index = 0) {
        std::string html;
        CourseSubjectUtil::buildSubjectHtml_SplitAnswerMode(html, s, index, showTime, s.subjecttype,
                                                            false, true);
        return html;
    }

    std::vector<WriteNoteEntity> notes;
};

}  // namespace examora::page_test
