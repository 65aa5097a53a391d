// page_fixture DIR: writes question pages as the practice session shows them (styled controls,
// notes in the answer area, no tool bar of the page's own) into DIR, for checks in a browser:
//   multiple.html  an unanswered multiple-choice subject (A to D)
//   single.html    an unanswered single-choice subject (A to D)
//   answered.html  a single-choice subject answered "B", with a learner's note holding markup
//   text.html      an unanswered fill-in-the-blank subject
//   feedback.js    the script the session runs in single.html after the answer "C", line feeds
//                  written as "<br/>" as the session does
// The style sheet and images are addressed in the resource directory (EXAMORA_RESOURCES).
#include <fstream>
#include <iostream>
#include <string>

#include "engine/course_subject_util.h"
#include "platform/text_util.h"

namespace {

using examora::CourseSubjectEntity;
using examora::CourseSubjectUtil;

CourseSubjectEntity makeSubject(int id, int type, const std::string& question,
                                const std::string& answer, int answerCount) {
    CourseSubjectEntity s;
    s.subjectid = id;
    s.subjecttype = type;
    s.title = "下列各项中，属于会计基本假设的是（ ）。";
    s.question = question;
    s.answer = answer;
    s.answercount = answerCount;
    s.score = 1.0;
    s.description = "解析：见《会计法》\"第三条\"。\n第二行\\说明";
    return s;
}

bool write(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    return static_cast<bool>(out);
}

std::string page(CourseSubjectEntity s) {
    std::string html;
    CourseSubjectUtil::buildSubjectHtml_SplitAnswerMode(html, s, 0, 0, s.subjecttype, false, true);
    return html;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: page_fixture DIR\n";
        return 2;
    }
    const std::string dir = argv[1];
    CourseSubjectUtil::updatePageSettings([](examora::SubjectPageSettings& s) {
        s.showfunmode = 1;
        s.showmynote = 1;
        s.buildcss = true;
        s.showbackgroundimage = false;
    });
    CourseSubjectUtil::setNoteSource([](int subjectId) {
        std::vector<examora::WriteNoteEntity> notes;
        if (subjectId != 3) return notes;
        examora::WriteNoteEntity note;
        note.detailid = 17;
        note.subjectid = subjectId;
        note.notetext = "<img src=x onerror=\"window.__noteRan=1\">记住";
        note.changedate = "2026-12-01 08:00:00";
        notes.push_back(note);
        return notes;
    });

    const std::string options = "A.会计主体 B.持续经营 C.会计分期 D.货币计量";
    CourseSubjectEntity multiple =
        makeSubject(1, examora::kSubjectMultipleChoice, options, "ABCD", 4);
    CourseSubjectEntity single = makeSubject(2, examora::kSubjectSingleChoice, options, "C", 4);
    CourseSubjectEntity answered = makeSubject(3, examora::kSubjectSingleChoice, options, "C", 4);
    answered.myanswer = "B";
    CourseSubjectEntity text =
        makeSubject(4, examora::kSubjectFillBlank, "会计年度自（ ）起。", "1月1日", 1);

    const std::string feedback = examora::replaceAll(
        CourseSubjectUtil::getDoAnswerHtml_SplitAnswerMode(single, "C", 0), "\n", "<br/>");
    const bool ok = write(dir + "/multiple.html", page(multiple)) &&
                    write(dir + "/single.html", page(single)) &&
                    write(dir + "/answered.html", page(answered)) &&
                    write(dir + "/text.html", page(text)) && write(dir + "/feedback.js", feedback);
    if (!ok) {
        std::cerr << "page_fixture: cannot write into " << dir << "\n";
        return 1;
    }
    return 0;
}
