// The paper-creation form: layout text, defaults, input checks and the paper's subject filter.

#include "engine/paper_form.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "platform/strformat.h"
#include "platform/text_util.h"

namespace examora {

namespace {

std::string joinInts(const std::vector<int>& values) {
    std::string text;
    for (int v : values) {
        if (!text.empty()) text += ',';
        text += std::to_string(v);
    }
    return text;
}

}  // namespace

int paperTextInt(std::string_view text) {
    const std::string s = trim(text);
    const long long v = std::strtoll(s.c_str(), nullptr, 10);
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return static_cast<int>(v);
}

double paperTextFloat(std::string_view text) {
    const std::string s = trim(text);
    const char* p = s.c_str();
    // Only plain decimal numbers: no "inf", "nan" or hexadecimal forms.
    const char* digits = (*p == '+' || *p == '-') ? p + 1 : p;
    if (!((*digits >= '0' && *digits <= '9') || *digits == '.')) return 0.0;
    if (digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) return 0.0;
    const double v = std::strtod(p, nullptr);
    return std::isfinite(v) ? v : 0.0;
}

PaperLayout parsePaperLayout(std::string_view ctypscount) {
    PaperLayout layout;
    if (isEmpty(ctypscount)) return layout;
    const std::vector<std::string> fields = split(ctypscount, "|");
    if (!fields.empty()) {
        const std::vector<std::string> first = split(fields[0], ",");
        if (first.size() == 2) {
            layout.totalScore = trim(first[0]);
            layout.totalTime = trim(first[1]);
        }
    }
    if (fields.size() > 1) layout.typesScore = fields[1];
    if (fields.size() > 2) layout.typesCount = fields[2];
    return layout;
}

PaperLayout paperFormDefaults(std::string_view ctypscount, std::string_view settingScore,
                              std::string_view settingTime) {
    PaperLayout form = parsePaperLayout(ctypscount);
    if (form.totalScore.empty() && !isEmpty(settingScore)) form.totalScore = trim(settingScore);
    if (form.totalTime.empty() && !isEmpty(settingTime)) form.totalTime = trim(settingTime);
    if (form.totalScore.empty()) form.totalScore = "140";
    if (form.totalTime.empty()) form.totalTime = "150";
    return form;
}

std::optional<std::string> paperFormTip(std::string_view name, std::string_view totalScore,
                                        std::string_view totalTime) {
    if (trim(name).empty()) return std::string("请填写名称！");
    if (trim(totalScore).empty()) return std::string("请填写分数！");
    if (trim(totalTime).empty()) return std::string("请填写时间！");
    return std::nullopt;
}

std::string paperSelectionRowText(const std::vector<BaseItemEntity>& items, bool types) {
    std::size_t selected = 0;
    for (const BaseItemEntity& item : items)
        if (item.selected) ++selected;
    if (selected == 0) return "没有选择";
    if (selected == items.size()) return types ? "所有题型" : "所有章节";
    return types ? "部分题型" : "部分章节";
}

std::optional<std::vector<int>> paperSelectedCodes(
    const std::optional<std::vector<BaseItemEntity>>& items) {
    if (!items) return std::nullopt;
    std::vector<int> codes;
    for (const BaseItemEntity& item : *items)
        if (item.selected) codes.push_back(item.index);
    return codes;
}

std::string paperFilterSql(const std::optional<std::vector<int>>& typeList,
                           const std::optional<std::vector<int>>& chapterList) {
    std::string filter;
    if (!chapterList || chapterList->empty()) {
        filter = "b.itype>=0";
    } else if (chapterList->size() == 1) {
        filter = strformat("a.ichapterid=%d", chapterList->front());
    } else {
        filter = "a.ichapterid in (" + joinInts(*chapterList) + ")";
    }
    if (typeList && !typeList->empty()) {
        if (!filter.empty()) filter += " and ";
        filter += "a.isubjecttype in (" + joinInts(*typeList) + ")";
    }
    return filter;
}

}  // namespace examora
