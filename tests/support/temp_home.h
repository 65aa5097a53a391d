#pragma once

#include <gtest/gtest.h>

#include <string>

namespace examora {

// A fresh application home in a temporary directory for the life of the object, with the
// process-wide state that the launch touches put back to its start values: CommonSetting, the
// web-service defaults, the main queue's pending tasks and the machine-id and resource-directory
// overrides. The directory is removed at the end, after the background queues have gone idle.
class TempHome {
  public:
    TempHome();
    ~TempHome();
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    const std::string& path() const { return path_; }
    std::string documents() const { return path_ + "/documents"; }
    std::string preferencesFile() const { return path_ + "/preferences.json"; }

    // Installs the template database and the picture directory as the launch does; false when
    // the template is missing.
    bool installTemplate();

    // A new directory inside the home, for files a test needs beside it.
    std::string makeDirectory(const std::string& name) const;
    // Writes a file (creating its directory), replacing any earlier content.
    static void writeFile(const std::string& path, const std::string& content);
    static std::string readFile(const std::string& path);

  private:
    std::string path_;
};

// A test whose every case runs in its own TempHome.
class TempHomeTest : public ::testing::Test {
  protected:
    TempHome home_;
};

}  // namespace examora
