// Which base items a run downloads and how: rules without a database.
#include <gtest/gtest.h>

#include "sync/base_item_rule.h"

namespace examora {
namespace {

using Date = std::optional<std::string>;

ServerExchangeItemEntity entry(Date update, Date deletion = std::nullopt) {
    ServerExchangeItemEntity e;
    e.itemid = 1;
    e.itemname = "course";
    e.updatedate = std::move(update);
    e.deletedate = std::move(deletion);
    return e;
}

TEST(BaseItemRule, PlanComparesTheServerDatesWithTheLocalOne) {
    const Date d1 = "2026-01-01 00:00:00", d2 = "2026-02-01 00:00:00", d3 = "2026-03-01 00:00:00";
    struct Case {
        const char* what;
        Date serverUpdate, serverDelete, local;
        bool download, fullReload;
    };
    const Case cases[] = {
        {"newer", d2, std::nullopt, d1, true, false},
        {"equal", d2, std::nullopt, d2, false, false},
        {"older", d1, std::nullopt, d2, false, false},
        {"no server date", std::nullopt, std::nullopt, d1, false, false},
        {"server date NULL", "NULL", std::nullopt, std::nullopt, false, false},
        {"server date empty", "", std::nullopt, std::nullopt, false, false},
        {"never downloaded", d2, d3, std::nullopt, true, false},
        {"never downloaded, NULL", d2, d3, "NULL", true, false},
        {"deleted after the local copy", d3, d2, d1, true, true},
        {"deleted at the local date", d3, d2, d2, true, false},
        {"deletion unknown", d3, std::nullopt, d1, true, false},
    };
    for (const Case& c : cases) {
        ServerExchangeItemEntity local = entry(c.local);
        std::optional<BaseItemPlan> plan =
            BaseItemRule::plan(entry(c.serverUpdate, c.serverDelete), &local);
        ASSERT_EQ(plan.has_value(), c.download) << c.what;
        if (!plan) continue;
        EXPECT_EQ(plan->fullReload, c.fullReload) << c.what;
        EXPECT_EQ(plan->localDate, BaseItemRule::isEmptyDate(c.local) ? "" : *c.local) << c.what;
        EXPECT_EQ(plan->serverDate, *c.serverUpdate) << c.what;
    }
    // No local row: never downloaded, however new.
    EXPECT_FALSE(BaseItemRule::plan(entry(d3), nullptr));
}

TEST(BaseItemRule, TablesByNameIgnoringCase) {
    EXPECT_EQ(BaseItemRule::tableFor("CourseClass"), BaseItemTable::CourseClass);
    EXPECT_EQ(BaseItemRule::tableFor("SYS_CUSSETTING"), BaseItemTable::CusSetting);
    EXPECT_EQ(BaseItemRule::tableFor("course"), BaseItemTable::Course);
    EXPECT_EQ(BaseItemRule::tableFor("coursechapter"), BaseItemTable::Unknown);
}

}  // namespace
}  // namespace examora
