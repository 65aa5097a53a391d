#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "platform/value.h"

namespace examora {

// Fills a printf-style template as the system's SQL, HTML, log and message templates are written:
// %d %i %u %ld %lu %lld %llu %x %X (integers), %f %g %e (doubles), %s and %@ (the text form of any
// argument; a null argument reads "(null)"), %c (a character code) and %%. Flags, width and
// precision work as in printf. A missing argument reads as null; surplus arguments are ignored.
std::string strformatv(std::string_view tmpl, const std::vector<Value>& args);

template <class... Args>
std::string strformat(std::string_view tmpl, const Args&... args) {
    return strformatv(tmpl, std::vector<Value>{Value(args)...});
}

}  // namespace examora
