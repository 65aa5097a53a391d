// How answers become results: every failure or empty answer must end as the kind's empty value,
// never as a plausible-looking result.
#include <gtest/gtest.h>

#include "catalogue_scripted_service.h"
#include "store/records/user_entity.h"

namespace examora {
namespace {

using testing::ScriptedService;

TEST(CatalogueResults, AnswersEndAsTheKindsEmptyValue) {
    ScriptedService s;
    s.replies = {"YES", "false", "", "42", "-1", ""};
    EXPECT_TRUE(s.checkEmail("e"));
    EXPECT_FALSE(s.checkEmail("e"));
    EXPECT_FALSE(s.checkEmail("e")) << "no answer";
    EXPECT_EQ(s.userLogin("li", "pw"), 42);
    EXPECT_EQ(s.userLogin("li", "pw"), -1) << "a refusal stays below 1";
    EXPECT_EQ(s.userLogin("li", "pw"), 0) << "no answer";

    s.replies = {"", "anyType{}", "pkg_5", "anyType{}", "", "memo", "anyType{}"};
    EXPECT_EQ(s.getServerTime(), std::nullopt);
    EXPECT_EQ(s.getCourseUpdateName(5, 1, "bj"), std::nullopt);
    EXPECT_EQ(s.getCourseUpdateName(5, 1, "bj"), "pkg_5");
    EXPECT_EQ(s.getCustomerMemo(4), "");
    EXPECT_EQ(s.sendForgetpasswordByPhone("139"), "");
    EXPECT_EQ(s.getCustomerStatuMemo(4), "memo");
    EXPECT_EQ(s.getAppVersion(), "anyType{}") << "taken as received, even the empty marker";

    // Online only when the server time arrives.
    s.replies = {"2024-05-01 10:00:00", "", "anyType{}"};
    EXPECT_TRUE(s.checkIsOnline(5));
    EXPECT_FALSE(s.checkIsOnline(5));
    EXPECT_FALSE(s.checkIsOnline(5));

    s.replies = {R"([{"imsgid":1}])", "", "anyType{}", R"([{"a":1},)"};
    auto list = s.searchUserNote(9, 4, 20, 1);
    ASSERT_TRUE(list);
    EXPECT_EQ((*list)[0]["imsgid"], 1);
    EXPECT_EQ(s.searchUserNote(9, 4, 20, 1), std::nullopt);
    EXPECT_EQ(s.searchUserNote(9, 4, 20, 1), std::nullopt);
    EXPECT_EQ(s.searchUserNote(9, 4, 20, 1), std::nullopt) << "malformed JSON";
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

    for (const char* what : {"two objects", "no object", "an object outside a list",
                             "a list of something else", "empty answer", "malformed JSON"})
        EXPECT_EQ(s.loadUserInfo(4), std::nullopt) << what;
}

TEST(CatalogueResults, OnlineLoginNeedsBothParts) {
    ScriptedService s;
    using Parts = std::vector<std::string>;
    s.multiReplies = {Parts{"77", "3"}, Parts{"77"}, Parts{"77", "3", "x"}, std::nullopt,
                      Parts{"anyType{}", ""}};
    EXPECT_EQ(s.customerLoginOn(4, "dev"), (std::pair<int, int>{77, 3}));
    for (const char* what : {"one part", "three parts", "no parts", "empty parts"})
        EXPECT_EQ(s.customerLoginOn(4, "dev"), (std::pair<int, int>{0, 0})) << what;
}

}  // namespace
}  // namespace examora
