#pragma once

#include <optional>
#include <string>

namespace examora {

// What a note or correction screen does after "提交": close (or refresh) when saved, otherwise
// show the alert.
struct EditorOutcome {
    struct Alert {
        std::string title;
        std::string message;
        std::string button;
    };
    bool saved = false;
    std::optional<Alert> alert;
};

}  // namespace examora
