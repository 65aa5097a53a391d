// The exchange rules that need no database: batches, marks, task tables, paper matching.
#include <gtest/gtest.h>

#include "sync/exchange_rule.h"

namespace examora {
namespace {

using Ranges = std::vector<std::pair<std::size_t, std::size_t>>;

TEST(ExchangeRule, AnswersGoUpInBatchesOfFiveHundredInRowOrder) {
    EXPECT_EQ(ExchangeRule::batches(1200), (Ranges{{0, 500}, {500, 1000}, {1000, 1200}}));
    EXPECT_EQ(ExchangeRule::batches(500), (Ranges{{0, 500}}));
    EXPECT_EQ(ExchangeRule::batches(501), (Ranges{{0, 500}, {500, 501}}));
    EXPECT_TRUE(ExchangeRule::batches(0).empty());
}

TEST(ExchangeRule, MarkMovesToThePassStartOnlyWhenEverythingWasDelivered) {
    EXPECT_EQ(ExchangeRule::markAfterPass(true, "2026-03-01 08:00:00"), "2026-03-01 08:00:00");
    EXPECT_EQ(ExchangeRule::markAfterPass(false, "2026-03-01 08:00:00"), std::nullopt);
    EXPECT_EQ(ExchangeRule::startDate(false, "2026-03-01 08:00:00"), "2026-03-01 08:00:00");
    for (const char* mark : {"", "NULL"})
        EXPECT_EQ(ExchangeRule::startDate(false, mark), "2000-01-01") << mark;
    EXPECT_EQ(ExchangeRule::startDate(true, "2026-03-01 08:00:00"), "2000-01-01");
}

TEST(ExchangeRule, TaskTablesIgnoreCase) {
    EXPECT_EQ(ExchangeRule::tableFor("CS_WriteNote"), ExchangeTable::WriteNote);
    EXPECT_EQ(ExchangeRule::tableFor("cs_writeerror"), ExchangeTable::WriteError);
    EXPECT_EQ(ExchangeRule::tableFor("SimulationLog"), ExchangeTable::SimulationLog);
    EXPECT_EQ(ExchangeRule::tableFor("coursesubject"), ExchangeTable::Unknown);
}

TEST(ExchangeRule, OnlyThisDevicesPapersMatchByLocalNumber) {
    EXPECT_TRUE(ExchangeRule::mayMatchByNumber("device-a", "device-a"));
    EXPECT_FALSE(ExchangeRule::mayMatchByNumber("device-b", "device-a"));
    EXPECT_TRUE(ExchangeRule::mayMatchByNumber(std::nullopt, "device-a"));
    EXPECT_TRUE(ExchangeRule::mayMatchByNumber("", "device-a"));
}

TEST(ExchangeRule, RowsWithTextThatIsNotUtf8AreNotSendable) {
    EXPECT_TRUE(ExchangeRule::sendable(Dict{{"cmyanswer", "AB"}, {"isubjectid", 3}}));
    EXPECT_FALSE(ExchangeRule::sendable(Dict{{"cmyanswer", std::string("\xff\xfe")}}));
}

}  // namespace
}  // namespace examora
