#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <set>

#include "platform/log.h"
#include "platform/paths.h"
#include "platform/secure_store.h"
#include "support/temp_home.h"

namespace examora {
namespace {

namespace fs = std::filesystem;

mode_t modeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

class SecureStoreTest : public TempHomeTest {
  protected:
    SecureStore store_{Paths::secureDirectory()};
};

TEST_F(SecureStoreTest, ItemsArePrivateToTheUserEvenUnderALaxUmaskOrDirectory) {
    mode_t old = ::umask(0);
    // A directory left behind with open permissions is tightened on the next save.
    fs::create_directories(store_.directory());
    fs::permissions(store_.directory(), fs::perms::all);
    bool saved = store_.save("UUID", Value("ABC"));
    ::umask(old);
    ASSERT_TRUE(saved);
    EXPECT_EQ(modeOf(store_.directory()), 0700u);
    EXPECT_EQ(modeOf(store_.fileFor("UUID")), 0600u);
}

TEST_F(SecureStoreTest, KeepsEachKindOfValueAndForgetsRemovedItems) {
    const std::vector<Value> values = {Value("F00D-CAFE"), Value(42), Value(2.5),
                                       Value(Bytes{0, 1, 255}), Value("")};
    for (const Value& v : values) {
        ASSERT_TRUE(store_.save("item", v));
        EXPECT_EQ(SecureStore(store_.directory()).load("item"), v) << v.description();
    }
    EXPECT_TRUE(store_.remove("item"));
    EXPECT_FALSE(store_.load("item").has_value());
    EXPECT_TRUE(store_.remove("item"));  // removing what is absent is no failure
}

TEST_F(SecureStoreTest, ContentThatCannotBeUnarchivedIsLoggedAndAbsent) {
    ASSERT_TRUE(store_.save("UUID", Value("X")));
    for (const char* content : {"{\"truncated", "[1,2]", "{\"bytes\":\"not base64!\"}"}) {
        SCOPED_TRACE(content);
        TempHome::writeFile(store_.fileFor("UUID"), content);
        LogCapture log;
        EXPECT_FALSE(store_.load("UUID").has_value());
        ASSERT_EQ(log.lines().size(), 1u);
        EXPECT_EQ(log.lines()[0].rfind("Unarchive of UUID failed: ", 0), 0u) << log.lines()[0];
    }
    LogCapture quiet;
    EXPECT_FALSE(store_.load("never saved").has_value());
    EXPECT_TRUE(quiet.lines().empty());
}

TEST_F(SecureStoreTest, HostileNamesStayInsideTheDirectoryAndApart) {
    std::vector<std::string> names = {
        "../escape", "../../etc/passwd", "/tmp/abs", "..", ".", "", "a/b", "a%2Fb", "a\\b", "用户"};
    names.push_back(std::string("nul\0byte", 8));
    names.push_back(std::string(1000, 'x'));
    names.push_back(std::string(1000, '/'));
    for (std::size_t i = 0; i < names.size(); ++i)
        ASSERT_TRUE(store_.save(names[i], Value(static_cast<int>(i)))) << i;
    for (std::size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(store_.load(names[i]), Value(static_cast<int>(i))) << i;
    // Every item is a distinct plain file directly inside the store; nothing else appeared.
    std::set<std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(home_.path())) {
        if (!e.is_regular_file()) continue;
        EXPECT_EQ(e.path().parent_path().string(), store_.directory()) << e.path();
        files.insert(e.path().string());
    }
    EXPECT_EQ(files.size(), names.size());
}

}  // namespace
}  // namespace examora
