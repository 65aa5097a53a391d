#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/strformat.h"

namespace examora {

// Writes one plain line for an event. Lines go to standard error unless a LogCapture is active,
// in which case they go to the innermost capture (tests read them back).
void logLine(std::string_view line);

// Fills the template with strformat and logs the result as one line.
template <class... Args>
void logf(std::string_view tmpl, const Args&... args) {
    logLine(strformat(tmpl, args...));
}

// While alive, collects every logged line of every thread instead of printing it.
class LogCapture {
  public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<std::string> lines() const;
    // Whether some line contains the fragment.
    bool contains(std::string_view fragment) const;
    void clear();

  private:
    friend void logLine(std::string_view line);
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
    LogCapture* outer_ = nullptr;
};

// Silences standard-error logging for the process (the command line's --quiet).
void setLogQuiet(bool quiet);

}  // namespace examora
