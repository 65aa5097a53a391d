// The question list of a course change list, in either form: reading it must neither crash nor
// throw, and the compact form must only ever yield whole groups of seven text fields.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/log.h"
#include "service/exam_web_service_util.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool quiet = (examora::setLogQuiet(true), true);
    (void)quiet;
    const std::string text(reinterpret_cast<const char*>(data), size);
    auto list = examora::ExamWebServiceUtil::readSubjectChangeList(text);

    const std::size_t first = text.find_first_not_of(" \t\r\n\f\v");
    const bool json = first != std::string::npos && text[first] == '[';
    if (json) return 0;
    // The compact form always gives a list, of at most one object per group.
    if (!list || !list->is_array()) __builtin_trap();
    std::size_t groups = 1;
    for (char c : text)
        groups += c == '|';
    if (list->size() > groups) __builtin_trap();
    for (const auto& object : *list) {
        if (!object.is_object() || object.size() != 7) __builtin_trap();
        for (const auto& [key, value] : object.items()) {
            if (!value.is_string()) __builtin_trap();
            const std::string& field = value.get_ref<const std::string&>();
            if (field.find_first_of(",|") != std::string::npos) __builtin_trap();
        }
    }
    return 0;
}
