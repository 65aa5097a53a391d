#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace examora {

// How a GET of a file of `size` bytes with an optional Range header is answered: the whole file
// (200), one satisfiable range (206 with Content-Range), or 416 for a range that starts beyond
// the end. Only single ranges of the "bytes" unit are honoured; any other Range header is
// ignored as the HTTP rules allow, and the whole file is sent.
struct ByteRange {
    int status = 200;
    std::uint64_t first = 0;
    std::uint64_t length = 0;
    // "bytes first-last/size" for 206, "bytes */size" for 416, empty for 200.
    std::string contentRange;

    static ByteRange choose(const std::optional<std::string>& rangeHeader, std::uint64_t size);
};

}  // namespace examora
