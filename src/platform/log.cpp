// The log line writer, its quiet switch and LogCapture for tests.

#include "platform/log.h"

#include <atomic>
#include <cstdio>

namespace examora {

namespace {
std::mutex gSinkMutex;
LogCapture* gCapture = nullptr;
std::atomic<bool> gQuiet{false};
}  // namespace

void setLogQuiet(bool quiet) {
    gQuiet = quiet;
}

void logLine(std::string_view line) {
    {
        std::lock_guard<std::mutex> lock(gSinkMutex);
        if (gCapture) {
            std::lock_guard<std::mutex> inner(gCapture->mutex_);
            gCapture->lines_.emplace_back(line);
            return;
        }
    }
    if (gQuiet) return;
    std::string text(line);
    text += '\n';
    std::fwrite(text.data(), 1, text.size(), stderr);
}

LogCapture::LogCapture() {
    std::lock_guard<std::mutex> lock(gSinkMutex);
    outer_ = gCapture;
    gCapture = this;
}

LogCapture::~LogCapture() {
    std::lock_guard<std::mutex> lock(gSinkMutex);
    // Captures nest like scopes; restore whichever was active before this one.
    if (gCapture == this) gCapture = outer_;
}

std::vector<std::string> LogCapture::lines() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return lines_;
}

bool LogCapture::contains(std::string_view fragment) const {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const std::string& l : lines_) {
        if (l.find(fragment) != std::string::npos) return true;
    }
    return false;
}

void LogCapture::clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    lines_.clear();
}

}  // namespace examora
