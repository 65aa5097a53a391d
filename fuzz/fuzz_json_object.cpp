// Result texts read as JSON: parsing, turning objects into records and writing back out must
// neither crash nor throw, whatever the text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/log.h"
#include "service/exam_web_service_util.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool quiet = (examora::setLogQuiet(true), true);
    (void)quiet;
    const std::string text(reinterpret_cast<const char*>(data), size);
    using U = examora::ExamWebServiceUtil;
    auto object = U::getJSONObject(text);
    (void)U::toBOOL(text);
    (void)U::toInt(text);
    (void)U::isEmptyOfJOSN(text);
    if (!object) return 0;
    if (!object->is_array() && !object->is_object()) __builtin_trap();
    if (object->is_object()) (void)U::jsonToDict(*object);
    for (const auto& element : *object) (void)U::jsonToDict(element);
    (void)U::buildJSONString(*object);
    return 0;
}
