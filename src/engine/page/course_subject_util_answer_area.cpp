// CourseSubjectUtil: the answer area of a question page in split-answer mode.

#include <cmath>

#include "engine/course_subject_util.h"
#include "platform/strformat.h"
#include "platform/text_util.h"

namespace examora {

namespace {

// Points are stored as single-precision numbers; a full mark must read as full.
bool samePoints(double a, double b) {
    return std::fabs(a - b) < 1e-4;
}

std::string verdict(const CourseSubjectEntity& subject, const std::string& myanswer,
                    const SubjectPageSettings& s) {
    if (subject.myscore > 0) {
        return samePoints(subject.myscore, subject.score.value_or(0.0))
                   ? "<font color=\"green\">(答对了)</font>"
                   : "<font color=\"brown\">(部分答对)</font>";
    }
    if (equalsIgnoringCase(myanswer, subject.answer))
        return "<font color=\"green\">(答对了)</font>";
    return strformat("<font color=\"%@\">(答错了)</font>", s.getWarnColor());
}

// Text a learner wrote, shown as text: escaped, its line feeds as line breaks.
std::string learnerText(const std::string& text) {
    return replaceAll(replaceAll(htmlEscape(text), "\r", ""), "\n", "<br/>");
}

// The content as the body of a double-quoted JavaScript string. Line feeds stay (the session
// writes them as "<br/>" before running the call); a carriage return would end the literal, and a
// backslash would be read as an escape and lost.
std::string asScriptString(const std::string& text) {
    std::string out;
    out.reserve(text.size() + 16);
    for (char c : text) {
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '"') {
            out += "\\\"";
        } else if (c == '\r') {
            out += "\\r";
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

void CourseSubjectUtil::buildAnswerHtml_SplitAnswerMode(std::string& html,
                                                        const CourseSubjectEntity& subject,
                                                        const std::string& myanswer, int showTime) {
    const SubjectPageSettings s = pageSettings();
    const std::string line =
        strformat("<hr style=\"margin:0px;height:1px;border:none;border-top:1px solid %@;\" />",
                  s.getLineColor());
    const bool answered = !isEmpty(std::string_view(myanswer));

    html += strformat("<div style='background-color:%@;'>", s.backColor);
    // A paper being taken never shows verdicts or answers.
    if (showTime != 1) {
        html += "<div style='margin:10px;'>";
        if (answered) {
            html += strformat("您的答案:%@", htmlEscape(myanswer));
            html += verdict(subject, myanswer, s);
        }
        html += strformat("&nbsp;&nbsp;&nbsp;正确答案:<font color=\"green\">%@</font><br/>",
                          subject.answer);
        html += "</div>";
        html += line;
        if (!isEmpty(std::string_view(subject.description))) {
            html += strformat("<div style=\"color:%@;background-color:%@;padding:10px;\">",
                              s.foreColor, s.getBackColor1());
            html += "答案解析:";
            html += "</div>";
            html += line;
            html += strformat("<div style=\"color:%@;background-color:%@;padding:10px;\">",
                              s.foreColor, s.getBackColor2());
            html += replaceAll(replaceAll(subject.description, "\r", ""), "\n", "<br/>");
            html += "</div>";
            html += line;
        }
    }
    if (!isView(showTime) && answered) {
        const std::string block =
            strformat("<div style=\"height:25px;background-color:%@;padding:5px 10px 10px 10px;\">",
                      s.getBackColor2());
        html += block;
        html += strformat(
            "<button type='button' id='btnredo' style='width:150px' %@ onclick='clearanswer()' "
            ">重新答题</button>",
            s.buildcss ? " class='button green'" : "");
        html += "</div>";
        html += line;
        html += block;
        html += strformat(
            "<button type='button' id='btnredo' style='width:150px' %@ onclick='dowriteerror()' "
            ">纠错</button>",
            s.buildcss ? " class='button blue'" : "");
        if (s.showfunmode != 0) html += line;
        html += "</div>";
    }
    if (s.showmynote >= 1) {
        const std::vector<WriteNoteEntity> notes = notesOfSubject(subject.subjectid);
        if (!notes.empty()) {
            html += strformat("<div style=\"background-color:%@\">", s.getBackColor2());
            html += strformat("<div style=\"color:%@;background-color:%@;padding:10px;\">",
                              s.foreColor, s.getBackColor1());
            html += "笔记:";
            html += "</div>";
            html += "\r\n";
            for (const WriteNoteEntity& note : notes) {
                html += line;
                html += strformat("<div style=\"color:%@;padding:10px;\">", s.foreColor);
                html += learnerText(note.notetext);
                html += "<br/>";
                html += "<div style='color:gray;float:right;margin-top:3px;'>";
                html += note.changedate.value_or(std::string());
                html += strformat("<A href=\"javascript:editmynote(%d)\">修改</A>", note.detailid);
                html += "</div>";
                html += "<br/>";
                html += "</div>";
            }
            html += line;
            html += "</div><br/>";
        }
    }
    html += "<br/>";
    html += "</div>";
}

std::string CourseSubjectUtil::getDoAnswerHtml_SplitAnswerMode(const CourseSubjectEntity& subject,
                                                               const std::string& myanswer,
                                                               int showTime) {
    if (isEmpty(std::string_view(myanswer))) return "showanswer(\"<br/>\");";
    std::string content;
    buildAnswerHtml_SplitAnswerMode(content, subject, myanswer, showTime);
    return strformat("showanswer(\"%@\");", asScriptString(content));
}

}  // namespace examora
