#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "platform/paths.h"
#include "support/temp_home.h"

namespace examora {
namespace {

// Sets environment variables for one test and puts the old values back afterwards.
class ScopedEnv {
  public:
    ~ScopedEnv() {
        for (const auto& [name, old] : saved_)
            put(name, old ? old->c_str() : nullptr);
    }
    void set(const std::string& name, const char* value) {
        const char* old = std::getenv(name.c_str());
        saved_.try_emplace(name, old ? std::optional<std::string>(old) : std::nullopt);
        put(name, value);
    }

  private:
    static void put(const std::string& name, const char* value) {
        value ? ::setenv(name.c_str(), value, 1) : ::unsetenv(name.c_str());
    }
    std::map<std::string, std::optional<std::string>> saved_;
};

TEST(PathsTest, HomeComesFromTheOverrideThenEnvironmentThenXdgThenHome) {
    ScopedEnv env;
    env.set("EXAMORA_HOME", "/srv/examora");
    env.set("XDG_DATA_HOME", "/xdg");
    env.set("HOME", "/home/learner");
    Paths::setHome("/opt/explicit");
    EXPECT_EQ(Paths::home(), "/opt/explicit");
    Paths::setHome(std::nullopt);
    EXPECT_EQ(Paths::home(), "/srv/examora");
    env.set("EXAMORA_HOME", "");  // set but empty counts as unset
    EXPECT_EQ(Paths::home(), "/xdg/examora");
    env.set("XDG_DATA_HOME", "relative/dir");  // invalid: not absolute
    EXPECT_EQ(Paths::home(), "/home/learner/.local/share/examora");
    env.set("XDG_DATA_HOME", nullptr);
    EXPECT_EQ(Paths::home(), "/home/learner/.local/share/examora");
}

class ResourcePathsTest : public TempHomeTest {};

TEST_F(ResourcePathsTest, ResourcesAreFoundOnlyInsideTheResourceDirectory) {
    std::string dir = home_.makeDirectory("res");
    TempHome::writeFile(dir + "/zxexam.db", "template");
    TempHome::writeFile(home_.path() + "/secret.db", "outside");
    home_.makeDirectory("res/folder.db");
    Paths::setResourceDirectory(dir);

    EXPECT_EQ(Paths::pathForResource("zxexam", "db"), dir + "/zxexam.db");
    EXPECT_EQ(Paths::pathForResource("missing", "db"), std::nullopt);
    EXPECT_EQ(Paths::pathForResource("folder", "db"), std::nullopt);
    EXPECT_EQ(Paths::pathForResource("../secret", "db"), std::nullopt);
    EXPECT_EQ(Paths::pathForResource("..", ""), std::nullopt);
}

}  // namespace
}  // namespace examora
