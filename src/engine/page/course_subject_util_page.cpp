// CourseSubjectUtil: the HTML of a question page, its options and answer controls.

#include <cmath>
#include <cstdio>

#include "engine/course_subject_util.h"
#include "platform/strformat.h"
#include "platform/text_util.h"

namespace examora {

namespace {

// The page is a sequence of appends; the templates are kept as the page's markup reads.

bool isChoiceType(int type) {
    return type == kSubjectSingleChoice || type == kSubjectMultipleChoice ||
           type == kSubjectTrueFalse || type == kSubjectOneOrMore;
}

bool isMultiType(int type) {
    return type == kSubjectMultipleChoice || type == kSubjectOneOrMore;
}

// The number of options: answercount, else 2 for true-or-false and 1 for any other type.
int optionCount(const CourseSubjectEntity& subject, int type) {
    if (subject.answercount > 0) return subject.answercount;
    return type == kSubjectTrueFalse ? 2 : 1;
}

// The controls that exist on the page: a text subject has its one field whatever its option
// count says, and a script that looked up absent controls would stop before restoring the
// "确认" button.
int controlCount(const CourseSubjectEntity& subject, int type) {
    return isChoiceType(type) ? optionCount(subject, type) : 1;
}

std::string optionLetter(int i) {
    return std::string(1, static_cast<char>('A' + i));
}

std::string scoreText(const std::optional<double>& score) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.3f", score.value_or(0.0));
    std::string text = buf;
    while (!text.empty() && text.back() == '0')
        text.pop_back();
    if (!text.empty() && text.back() == '.') text.pop_back();
    return text;
}

std::string withLineBreaks(const std::string& text) {
    return replaceAll(text, "\n", "<br/>");
}

void appendQuestionBlock(std::string& html, const SubjectPageSettings& s, const std::string& text) {
    html += strformat("<div style=\"color:%@;background-color:%@;margin:10px\">", s.foreColor,
                      s.backColor);
    html += withLineBreaks(text);
    html += "</div>";
}

void appendScript(std::string& html, int type, int controls) {
    html += " <script type=\"text/javascript\">\r\n";
    html += "function doanswer(itemvalue)\r\n";
    html += " { \r\n";
    html += "var hadanswer = true;\r\nif(itemvalue=='' || itemvalue==null) hadanswer=false;\r\n";
    if (isMultiType(type)) {
        html += "if(itemvalue=='1'){\r\n";
        html += "itemvalue='';";
        html += strformat("for(var i=0;i<%d;i++){\r\n", controls);
        html += "var chkitem=document.getElementById(\"answeritem_\" + i);\r\n";
        html += "if(chkitem.checked) itemvalue+=chkitem.value;\r\n";
        html += "}\r\n";
        html += "if(itemvalue==''){alert('请选择答案');return;}";
        html += "}\r\n";
    }
    html += "  window.location.href='ios://doAnswer/' + itemvalue;";
    for (int i = 0; i < controls; ++i) {
        html +=
            strformat(" document.getElementById(\"answeritem_%d\").disabled=hadanswer; \r\n", i);
        if (isChoiceType(type)) {
            html += strformat(
                "if(hadanswer==false){ document.getElementById(\"answeritem_%d\").checked=false;} "
                "\r\n",
                i);
        }
    }
    if (!isChoiceType(type)) {
        html +=
            "if(hadanswer==true) "
            "{document.getElementById(\"btnsumitanswer\").style.display=\"none\";} \r\n";
        html +=
            " else {document.getElementById(\"btnsumitanswer\").style.display=\"block\"; "
            "document.getElementById(\"answeritem_0\").value=\"\";}\r\n";
    } else if (isMultiType(type)) {
        html +=
            "if(hadanswer==true) "
            "{document.getElementById(\"btnsumitanswer\").style.display=\"none\";} \r\n";
        html += " else {document.getElementById(\"btnsumitanswer\").style.display=\"block\"; }\r\n";
    }
    html += "}\r\n";
    html += "function clearanswer()\r\n";
    html += " { doanswer(\"\");  }\r\n";
    html += "function showanswer(url)\r\n";
    html += " { document.getElementById(\"spananswer\").innerHTML= url;  }\r\n";
    html += "function dowriteerror()\r\n";
    html += " { window.location.href='ios://dowriteerror'; }\r\n";
    html += "function dowritenote()\r\n";
    html += " { window.location.href='ios://dowritenote'; }\r\n";
    html += "function dofavorite()\r\n";
    html += " { window.location.href='ios://dofavorite'; }\r\n";
    html += "function dosumitpaper()\r\n";
    html += " { window.location.href='ios://dosumitpaper'; }\r\n";
    html += "function editmynote(noteid)\r\n";
    html += " { window.location.href='ios://editmynote/' + noteid; }\r\n";
    html += " </script>\r\n";
}

// The attributes of a choice control's state. A control of an answered subject is disabled as
// the page's script leaves it after an answer, so a reopened page cannot be answered over
// without "重新答题".
std::string stateAttributes(bool checked, bool answered) {
    std::string attrs;
    if (checked) attrs += " checked";
    if (answered) attrs += " disabled=\"disabled\"";
    return attrs;
}

void appendAnswerArea(std::string& html, const SubjectPageSettings& s,
                      const CourseSubjectEntity& subject, int showTime, bool showAnswer,
                      const char* opening) {
    html += strformat(opening, s.foreColor);
    const bool answered = !isEmpty(std::string_view(subject.myanswer));
    if (!CourseSubjectUtil::isView(showTime) && !showAnswer && !answered) {
        html += "<br/><br/>";
    } else {
        CourseSubjectUtil::buildAnswerHtml_SplitAnswerMode(html, subject, subject.myanswer,
                                                           showTime);
    }
    html += "</div> ";
}

void appendToolButton(std::string& html, const char* action, const std::string& image,
                      const char* caption) {
    html += strformat(
        "<div style=\"width:60px; float:right;font-size:14px \" align=\"center\"><a "
        "onClick=\"%@()\"><img src=\"%@\"/><br>%@</a></div>",
        action, image, caption);
}

void appendToolBar(std::string& html, const SubjectPageSettings& s,
                   const CourseSubjectEntity& subject, int showTime) {
    html += strformat("<div style=\"width:100%%;color:%@;margin-bottom:3px;\">", s.foreColor);
    html += "<div style=\"float:right;margin-top:1px;\">";
    if (showTime == 0) {
        appendToolButton(html, "dosumitpaper", CourseSubjectUtil::resourceUrl("sumitpaper.png"),
                         "交卷");
    }
    appendToolButton(html, "dowriteerror", CourseSubjectUtil::resourceUrl("writeerror.png"),
                     "纠错");
    appendToolButton(html, "dowritenote", CourseSubjectUtil::resourceUrl("writenote.png"), "笔记");
    html += strformat(
        "<div style=\"width:60px; float:right;font-size:14px\" align=\"center\"><a "
        "onClick=\"dofavorite()\"><img src=\"%@\"/><br><span "
        "id=\"spancollect\">%@</span></a></div>",
        CourseSubjectUtil::resourceUrl("favorite.png"), subject.collect ? "取消收藏" : "收藏");
    html += "</div></div><br/>";
}

}  // namespace

std::string CourseSubjectUtil::buildPStringOfHtml() {
    const SubjectPageSettings s = pageSettings();
    if (s.showbackgroundimage) return "<div>";
    return strformat("<div style=\"color:%@\">", s.foreColor);
}

void CourseSubjectUtil::buildSubjectHtml_SplitAnswerMode(std::string& html,
                                                         CourseSubjectEntity& subject, int index,
                                                         int showTime, int subjectType,
                                                         bool showAnswer, bool showHeading) {
    const SubjectPageSettings s = pageSettings();
    if (showTime == 5 && subject.myanswer != subject.answer) subject.myanswer.clear();

    const std::string typeName = isEmpty(std::string_view(subject.subjecttypestring))
                                     ? getSubjectName(subject.subjecttype)
                                     : subject.subjecttypestring;

    html += "<html>\r\n";
    html += "<head>\r\n";
    html += strformat("<link rel=\"stylesheet\" href=\"%@\" type=\"text/css\" />\r\n",
                      resourceUrl("style.css"));
    html += "</head>";
    if (s.showbackgroundimage) {
        html += strformat(
            "<body bgcolor=\"%@\" background=\"%@\" style=\"font-size:%@;background-position: "
            "center center;\">\r\n",
            s.bodybackColor, resourceUrl("bg_subject.png"), s.fontSize);
    } else {
        html += strformat("<body bgcolor=\"%@\" style=\"font-size:%@\">\r\n", s.bodybackColor,
                          s.fontSize);
    }

    if (showHeading) {
        html += strformat("<div style=\"color:%@;background-color:%@;margin:10px\">", s.foreColor,
                          s.backColor);
        const std::string pString = s.showbackgroundimage
                                        ? std::string("<div>")
                                        : strformat("<div style=\"color:%@\">", s.foreColor);
        html += strformat("%@第 <FONT color=%@>%d</FONT> 题：%@(本题%@分)</div>\r\n", pString,
                          s.getWarnColor(), index + 1, typeName, scoreText(subject.score));
        html += "</div>";
        html += strformat("<hr style=\"height:1px;border:none;border-top:1px solid %@;\" />",
                          s.getLineColor());
    }

    if (!isEmpty(std::string_view(subject.title))) appendQuestionBlock(html, s, subject.title);

    if (isEmpty(std::string_view(subject.question))) {
        html += "<br/>";
        html += "\r\n";
        buildAnswerItems_SplitAnswerMode(html, std::string(), subject, showTime, subjectType,
                                         showAnswer);
    } else {
        html +=
            strformat("<div style=\"color:%@;background-color:%@;\">", s.foreColor, s.backColor);
        if (isView(showTime)) {
            appendQuestionBlock(html, s, subject.question);
        } else {
            buildAnswerItems_SplitAnswerMode(html, subject.question, subject, showTime, subjectType,
                                             showAnswer);
        }
        html += "</div>";
        html += "\r\n";
        if (isView(showTime)) buildAnswerItems(html, subject, showTime, subjectType, showAnswer);
    }

    if (s.showfunmode == 0 && isTest(showTime)) appendToolBar(html, s, subject, showTime);

    html += "</body>\r\n";
    html += "</html>";
}

void CourseSubjectUtil::buildAnswerItems_SplitAnswerMode(std::string& html,
                                                         const std::string& optionText,
                                                         const CourseSubjectEntity& subject,
                                                         int showTime, int subjectType,
                                                         bool showAnswer) {
    const SubjectPageSettings s = pageSettings();
    const int n = optionCount(subject, subjectType);

    std::vector<std::string> options;
    if (subjectType == kSubjectTrueFalse) {
        options = {"对", "错"};
    } else if (isChoiceType(subjectType)) {
        auto split = buildAnswerArrayList(optionText, subject.answercount);
        if (!split || split->empty()) {
            appendQuestionBlock(html, s, optionText);
            buildAnswerItems(html, subject, showTime, subjectType, showAnswer);
            return;
        }
        options = std::move(*split);
    } else if (!isEmpty(std::string_view(optionText))) {
        appendQuestionBlock(html, s, optionText);
    }

    const std::string& myanswer = subject.myanswer;
    const bool answered = !isEmpty(std::string_view(myanswer));
    if (!isView(showTime)) {
        appendScript(html, subjectType, controlCount(subject, subjectType));

        html +=
            strformat("<div style=\"color:%@;margin:10px\" id=\"spanansweritem\">", s.foreColor);
        if (!isChoiceType(subjectType)) {
            // The learner typed this answer: it is shown as text, never as markup.
            const std::string shown = answered ? htmlEscape(myanswer) : std::string();
            const char* disabled = answered ? "disabled=\"disabled\"" : "";
            html += "\r\n<b>请输入答案:</b>";
            html += "<br/>";
            html += "<div>\r\n";
            if (subjectType == kSubjectFillBlank) {
                html += strformat(
                    "<input type=\"text\" name=\"txt\" %@ id=\"answeritem_0\" "
                    "onchange=\"doanswer(this.value)\">%@</input>\r\n",
                    disabled, shown);
            } else {
                html += strformat(
                    "<textarea rows=\"3\" cols=\"30\" name=\"txt\" %@  id=\"answeritem_0\" "
                    "onchange=\"doanswer(this.value)\">%@</textarea>\r\n",
                    disabled, shown);
            }
            html += strformat(
                "<div style=\"height:25px;margin-top:10px;\"><button type=\"button\" "
                "class=\"button "
                "okbutton\" style=\"width:60%%%@\" id=\"btnsumitanswer\"  "
                "onclick=\"doanswer(txt.value)\" >确认</button></div>\r\n",
                answered ? ";display:none" : "");
            html += "</div>\r\n";
            html += "<br/>";
        } else {
            const std::string line =
                strformat("<hr style=\"height:1px;border:none;border-top:1px solid %@;\" />",
                          s.getLineColor());
            html += "\r\n<b>请选择答案:</b>";
            html += "<br/>";
            html += "<div>\r\n";
            if (subjectType == kSubjectTrueFalse) {
                html += line;
                html += "<div style=\"margin-left:5px\">";
                html += strformat(
                    "<input type=\"radio\" name=\"radioCheck\" class=\"css-radiobox\" "
                    "id=\"answeritem_0\" value=\"对\" onclick=\"doanswer(this.value)\"%@><label "
                    "for=\"answeritem_0\" class=\"css-label\">对</label></input>\r\n",
                    stateAttributes(myanswer == "对", answered));
                html += "</div>";
                html += line;
                html += "<div style=\"margin-left:5px\">";
                html += strformat(
                    "<input type=\"radio\" name=\"radioCheck\" class=\"css-radiobox\" "
                    "id=\"answeritem_1\" value=\"错\" onclick=\"doanswer(this.value)\"%@><label "
                    "for=\"answeritem_1\" class=\"css-label\">错</label></input><br/>",
                    stateAttributes(myanswer == "错", answered));
                html += "</div>";
            } else {
                for (int i = 0; i < n && i < static_cast<int>(options.size()); ++i) {
                    const std::string letter = optionLetter(i);
                    html += line;
                    html += "<div style=\"margin-left:5px\">";
                    if (subjectType == kSubjectSingleChoice) {
                        html += strformat(
                            "<input type=\"radio\" name=\"radioSingle\" class=\"css-radiobox\" "
                            "id=\"answeritem_%d\" value=\"%@\" "
                            "onclick=\"doanswer(this.value)\"%@><label for=\"answeritem_%d\" "
                            "class=\"css-label\">%@</label></input><br/>",
                            i, letter, stateAttributes(myanswer == letter, answered), i,
                            options[i]);
                    } else {
                        html += strformat(
                            "<input type=\"checkbox\" name=\"checkboxSelect\" "
                            "class=\"css-checkbox\" id=\"answeritem_%d\" value=\"%@\" %@><label "
                            "for=\"answeritem_%d\" class=\"css-labelchk\">%@</label></input><br/>",
                            i, letter,
                            stateAttributes(myanswer.find(letter) != std::string::npos, answered),
                            i, options[i]);
                    }
                    html += "</div>";
                }
            }
            html += strformat(
                "<hr style=\"margin-bottom:0px;height:1px;border:none;border-top:1px solid %@;\" "
                "/>",
                s.getLineColor());
            if (isMultiType(subjectType)) {
                html += strformat(
                    "<div style=\"height:25px;margin-top:10px;\"><button type=\"button\" "
                    "class=\"button okbutton\" style=\"margin-top:10px;width:60%%%@\" "
                    "id=\"btnsumitanswer\"  onclick=\"doanswer('1')\" >确认</button></div>\r\n",
                    answered ? ";display:none" : "");
            }
            html += "</div>\r\n";
        }
        html += "</div> ";
    }

    appendAnswerArea(html, s, subject, showTime, showAnswer,
                     "<div style=\"color:%@;\" id=\"spananswer\">");
}

void CourseSubjectUtil::buildAnswerItems(std::string& html, const CourseSubjectEntity& subject,
                                         int showTime, int subjectType, bool showAnswer) {
    const SubjectPageSettings s = pageSettings();
    if (!isView(showTime)) {
        const int n = optionCount(subject, subjectType);
        const std::string& myanswer = subject.myanswer;
        const bool answered = !isEmpty(std::string_view(myanswer));
        const bool multi = isMultiType(subjectType);
        appendScript(html, multi ? subjectType : kSubjectSingleChoice, n);

        html += strformat(
            "<div style=\"border:solid 1px %@;padding:3px;color:%@\" id=\"spanansweritem\">",
            s.getLineColor(), s.foreColor);
        html += "\r\n<b>请选择答案:</b>";
        html += "<br/>";
        html += "<div>\r\n";
        const char* disabled = answered ? " disabled=\"disabled\"" : "";
        for (int i = 0; i < n; ++i) {
            const std::string letter = optionLetter(i);
            if (i > 0) html += "&nbsp;&nbsp;";
            if (!multi) {
                const std::string label =
                    s.buildcss
                        ? strformat("<label for=\"answeritem_%d\" class=\"css-label\">%@</label>",
                                    i, letter)
                        : letter;
                html += strformat(
                    "<input type=\"radio\" name=\"radioSingle\"%@ id=\"answeritem_%d\" "
                    "value=\"%@\" "
                    "onclick=\"doanswer(this.value)\"%@%@>%@</input>\r\n",
                    s.buildcss ? " class=\"css-radiobox\"" : "", i, letter,
                    myanswer == letter ? " checked" : "", disabled, label);
            } else {
                const std::string label =
                    s.buildcss
                        ? strformat(
                              "<label for=\"answeritem_%d\" class=\"css-labelchk\">%@</label>", i,
                              letter)
                        : letter;
                html += strformat(
                    "<input type=\"checkbox\" name=\"checkboxSelect\"%@ id=\"answeritem_%d\" "
                    "value=\"%@\" %@%@>%@</input>\r\n",
                    s.buildcss ? " class=\"css-checkbox\"" : "", i, letter,
                    myanswer.find(letter) != std::string::npos ? " checked" : "", disabled, label);
            }
        }
        if (multi) {
            html += strformat(
                "<div style=\"height:25px;margin-top:10px;\"><button type=\"button\"%@ "
                "style=\"width:60%%%@\" id=\"btnsumitanswer\"  onclick=\"doanswer('1')\" "
                ">确认</button></div>\r\n",
                s.buildcss ? " class=\"button okbutton\"" : "", answered ? ";display:none" : "");
        }
        html += "</div>\r\n";
        html += "</div> ";
    }
    appendAnswerArea(html, s, subject, showTime, showAnswer,
                     "<div style=\"color:%@\" id=\"spananswer\">");
}

}  // namespace examora
