// How answers become results: every failure or empty answer must end as the kind's empty value,
// never as a plausible-looking result.
#include <gtest/gtest.h>

#include "catalogue_scripted_service.h"
#include "store/records/user_entity.h"

namespace examora {
namespace {

using testing::ScriptedService;

TEST(CatalogueResults, BooleanAnswers) {
    ScriptedService s;
    s.replies = {"true", "1", "YES", "false", "0", "", "anyType{}", "  007"};
    EXPECT_TRUE(s.checkEmail("e"));
    EXPECT_TRUE(s.checkEmail("e"));
    EXPECT_TRUE(s.checkEmail("e"));
    EXPECT_FALSE(s.checkEmail("e"));
    EXPECT_FALSE(s.checkEmail("e"));
    EXPECT_FALSE(s.checkEmail("e")) << "no answer";
    EXPECT_FALSE(s.checkEmail("e")) << "empty answer";
    EXPECT_TRUE(s.checkEmail("e")) << "leading zeros are skipped";
}

TEST(CatalogueResults, IntegerAnswers) {
    ScriptedService s;
    s.replies = {"42", "-1", "", "anyType{}", "17abc", "abc"};
    EXPECT_EQ(s.userLogin("li", "pw"), 42);
    EXPECT_EQ(s.userLogin("li", "pw"), -1) << "a refusal stays below 1";
    EXPECT_EQ(s.userLogin("li", "pw"), 0);
    EXPECT_EQ(s.userLogin("li", "pw"), 0);
    EXPECT_EQ(s.userLogin("li", "pw"), 17);
    EXPECT_EQ(s.userLogin("li", "pw"), 0);
}

TEST(CatalogueResults, TextAnswersAreNullOrEmptyByOperation) {
    ScriptedService s;
    s.replies = {"", "anyType{}", "pkg_5", "anyType{}", "", "memo"};
    EXPECT_EQ(s.getServerTime(), std::nullopt);
    EXPECT_EQ(s.getCourseUpdateName(5, 1, "bj"), std::nullopt);
    EXPECT_EQ(s.getCourseUpdateName(5, 1, "bj"), "pkg_5");
    EXPECT_EQ(s.getCustomerMemo(4), "");
    EXPECT_EQ(s.sendForgetpasswordByPhone("139"), "");
    EXPECT_EQ(s.getCustomerStatuMemo(4), "memo");

    // Texts taken as received keep even the empty marker.
    s.replies = {"anyType{}"};
    EXPECT_EQ(s.getAppVersion(), "anyType{}");
}

TEST(CatalogueResults, OnlineOnlyWhenTheServerTimeArrives) {
    ScriptedService s;
    s.replies = {"2024-05-01 10:00:00", "", "anyType{}"};
    EXPECT_TRUE(s.checkIsOnline(5));
    EXPECT_FALSE(s.checkIsOnline(5));
    EXPECT_FALSE(s.checkIsOnline(5));
}

TEST(CatalogueResults, JSONAnswers) {
    ScriptedService s;
    s.replies = {R"([{"imsgid":1}])", "", "anyType{}", R"([{"a":1},)", "12", R"({"a":"TRUE"})"};
    auto list = s.searchUserNote(9, 4, 20, 1);
    ASSERT_TRUE(list);
    EXPECT_EQ((*list)[0]["imsgid"], 1);
    EXPECT_EQ(s.searchUserNote(9, 4, 20, 1), std::nullopt);
    EXPECT_EQ(s.searchUserNote(9, 4, 20, 1), std::nullopt);
    EXPECT_EQ(s.searchUserNote(9, 4, 20, 1), std::nullopt) << "malformed JSON";
    EXPECT_EQ(s.searchUserNote(9, 4, 20, 1), std::nullopt) << "a bare number is no list";
    auto object = s.searchUserNote(9, 4, 20, 1);
    ASSERT_TRUE(object);
    EXPECT_EQ((*object)["a"], 1) << "quoted upper-case booleans become numbers";
}

TEST(CatalogueResults, AccountRecordNeedsExactlyOneObjectAndCarriesTheRequestedId) {
    ScriptedService s;
    s.replies = {
        R"([{"icusid":99,"ccusname":"li","ccusemail":"li@x.cn","ccusmobile":"13912345678",
            "cdccode":110000,"ccuspage":"教师","cstatus":"NULL"}])",
        R"([{"icusid":1,"ccusname":"a"},{"icusid":2,"ccusname":"b"}])",
        "[]",
        R"({"icusid":1,"ccusname":"a"})",
        "[3]",
        "anyType{}",
        "[{"};
    std::optional<UserEntity> user = s.loadUserInfo(4);
    ASSERT_TRUE(user);
    EXPECT_EQ(user->userId, 4);
    EXPECT_EQ(user->userName, "li");
    EXPECT_EQ(user->userEmail, "li@x.cn");
    EXPECT_EQ(user->userPhone, "13912345678");
    EXPECT_EQ(user->userCity, "110000") << "the district number is read as text";
    EXPECT_EQ(user->userQQ, "教师");
    EXPECT_EQ(user->status, "") << "the null object gives the empty text";
    EXPECT_EQ(user->userPassword, "");

    EXPECT_EQ(s.loadUserInfo(4), std::nullopt) << "two objects";
    EXPECT_EQ(s.loadUserInfo(4), std::nullopt) << "no object";
    EXPECT_EQ(s.loadUserInfo(4), std::nullopt) << "an object outside a list";
    EXPECT_EQ(s.loadUserInfo(4), std::nullopt) << "a list of something else";
    EXPECT_EQ(s.loadUserInfo(4), std::nullopt) << "empty answer";
    EXPECT_EQ(s.loadUserInfo(4), std::nullopt) << "malformed JSON";
}

TEST(CatalogueResults, UserRecordWithoutAnObjectIsEmpty) {
    UserEntity user;
    user.initWithDict(nullptr);
    EXPECT_EQ(user.userId, 0);
    EXPECT_EQ(user.userName, "");
    EXPECT_EQ(user.userCity, "");
}

TEST(CatalogueResults, OnlineLoginNeedsBothParts) {
    ScriptedService s;
    s.multiReplies = {std::vector<std::string>{"77", "3"}, std::vector<std::string>{"77"},
                      std::vector<std::string>{"77", "3", "x"}, std::nullopt,
                      std::vector<std::string>{"anyType{}", ""}};
    EXPECT_EQ(s.customerLoginOn(4, "dev"), (std::pair<int, int>{77, 3}));
    EXPECT_EQ(s.customerLoginOn(4, "dev"), (std::pair<int, int>{0, 0})) << "one part";
    EXPECT_EQ(s.customerLoginOn(4, "dev"), (std::pair<int, int>{0, 0})) << "three parts";
    EXPECT_EQ(s.customerLoginOn(4, "dev"), (std::pair<int, int>{0, 0})) << "no parts";
    EXPECT_EQ(s.customerLoginOn(4, "dev"), (std::pair<int, int>{0, 0})) << "empty parts";
}

}  // namespace
}  // namespace examora
