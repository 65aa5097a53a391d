#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <thread>
#include <vector>

#include "platform/log.h"
#include "platform/preferences.h"
#include "platform/strformat.h"
#include "support/temp_home.h"

namespace examora {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> filesIn(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    return names;
}

class PreferencesTest : public TempHomeTest {
  protected:
    std::string file() const { return home_.preferencesFile(); }
};

TEST_F(PreferencesTest, KeepsNumbersAndTextsAcrossInstances) {
    Preferences writer(file());
    EXPECT_TRUE(writer.set("courseid", Value(12)));
    EXPECT_TRUE(writer.set("ratio", Value(0.25)));
    EXPECT_TRUE(writer.set("district", Value("北京")));
    EXPECT_TRUE(writer.set("courseid", Value(13)));

    Preferences reader(file());
    EXPECT_EQ(reader.get("courseid"), Value(13));
    EXPECT_EQ(reader.get("ratio"), Value(0.25));
    EXPECT_EQ(reader.get("district"), Value("北京"));
    EXPECT_TRUE(reader.get("missing").isNull());
    EXPECT_EQ(reader.all().size(), 3u);

    // Storing nil removes the key.
    EXPECT_TRUE(writer.set("district", Value()));
    EXPECT_TRUE(reader.get("district").isNull());
    EXPECT_EQ(reader.all().size(), 2u);

    // Text that is not UTF-8 must not keep the file from being saved.
    EXPECT_TRUE(writer.set("username", Value(std::string("bad \xc3 byte"))));
    EXPECT_TRUE(writer.set("userid", Value(4)));
    EXPECT_EQ(reader.get("userid"), Value(4));
    EXPECT_FALSE(reader.get("username").isNull());

    // A home that does not exist yet is created by the first write.
    Preferences fresh(home_.path() + "/not/yet/prefs.json");
    EXPECT_TRUE(fresh.set("userid", Value(1)));
    EXPECT_EQ(fresh.get("userid"), Value(1));
}

TEST_F(PreferencesTest, DamagedFileReadsEmptyAndIsReplacedByTheNextWrite) {
    for (const char* damaged : {"{\"courseid\": 3,", "[1, 2, 3]", "\xff\xfe garbage", ""}) {
        SCOPED_TRACE(damaged);
        TempHome::writeFile(file(), damaged);
        Preferences prefs(file());
        EXPECT_TRUE(prefs.get("courseid").isNull());
        EXPECT_TRUE(prefs.all().empty());

        ASSERT_TRUE(prefs.set("userid", Value(7)));
        nlohmann::json doc = nlohmann::json::parse(TempHome::readFile(file()));
        EXPECT_EQ(doc, nlohmann::json({{"userid", 7}}));
    }
}

TEST_F(PreferencesTest, WritesLeaveNoTemporaryFileBehindEvenWhenTheyFail) {
    Preferences prefs(file());
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(prefs.set("n", Value(i)));
    EXPECT_EQ(filesIn(home_.path()), std::vector<std::string>{"preferences.json"});
    EXPECT_EQ(fs::status(file()).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);

    // A directory in the file's place makes the final rename fail.
    std::string blocked = home_.makeDirectory("blocked") + "/prefs.json";
    fs::create_directory(blocked);
    LogCapture log;
    EXPECT_FALSE(Preferences(blocked).set("n", Value(1)));
    EXPECT_TRUE(log.contains("cannot save preferences"));
    EXPECT_EQ(filesIn(home_.path() + "/blocked"), std::vector<std::string>{"prefs.json"});
}

TEST_F(PreferencesTest, ConcurrentWritersLoseNoKey) {
    constexpr int kThreads = 4;
    constexpr int kKeysEach = 25;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([this, t] {
            Preferences prefs(file());  // an instance per thread, one file
            for (int k = 0; k < kKeysEach; ++k)
                prefs.set(strformat("k%d_%d", t, k), Value(k));
        });
    }
    for (auto& th : threads)
        th.join();
    EXPECT_EQ(Preferences(file()).all().size(), static_cast<std::size_t>(kThreads * kKeysEach));
}

}  // namespace
}  // namespace examora
