#pragma once

#include <string>

namespace examora {

// The application-wide colours, as "0xRRGGBB" texts: the bars and the accents.
struct InterfaceTheme {
    std::string barColor = "0x2aaae2";
    std::string tintColor = "0x3bbc79";
    // The main screen's practice summary and function grid.
    std::string summaryColor = "0x2aaae2";
    std::string gridColor = "0xfafafa";
};

}  // namespace examora
