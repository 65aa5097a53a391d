#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/paper_form.h"

namespace examora {
namespace {

TEST(PaperForm, LayoutGivesScoreTimeAndTypesWhenPresent) {
    const PaperLayout full = paperFormDefaults("100,120|1,2,1,2,2,2|40,20,20,0,0,0", "90", "60");
    EXPECT_EQ(full.totalScore, "100");
    EXPECT_EQ(full.totalTime, "120");
    EXPECT_EQ(full.typesScore, "1,2,1,2,2,2");
    EXPECT_EQ(full.typesCount, "40,20,20,0,0,0");

    // A first field without exactly two entries leaves score and time to the settings.
    const PaperLayout partial = paperFormDefaults("100|1,2|3,4", "90", "");
    EXPECT_EQ(partial.totalScore, "90");
    EXPECT_EQ(partial.totalTime, "150");
    EXPECT_EQ(partial.typesScore, "1,2");

    const PaperLayout none = paperFormDefaults("", "", "NULL");
    EXPECT_EQ(none.totalScore, "140");
    EXPECT_EQ(none.totalTime, "150");
    EXPECT_EQ(none.typesScore, "");

    // Malformed layouts read as far as they go.
    const PaperLayout cut = paperFormDefaults("80,90", "", "");
    EXPECT_EQ(cut.totalScore, "80");
    EXPECT_EQ(cut.typesCount, "");
    EXPECT_EQ(paperFormDefaults("|||||", "", "").totalScore, "140");
}

TEST(PaperForm, NumberTextsReadTheirLeadingNumberOnly) {
    EXPECT_EQ(paperTextInt(" 12abc"), 12);
    EXPECT_EQ(paperTextInt(""), 0);
    EXPECT_EQ(paperTextInt("99999999999"), 2147483647);
    EXPECT_DOUBLE_EQ(paperTextFloat("1.5"), 1.5);
    EXPECT_DOUBLE_EQ(paperTextFloat("abc"), 0.0);
    EXPECT_DOUBLE_EQ(paperTextFloat("inf"), 0.0);
    EXPECT_DOUBLE_EQ(paperTextFloat("1e999"), 0.0);
    EXPECT_DOUBLE_EQ(paperTextFloat("0x10"), 0.0);
}

}  // namespace
}  // namespace examora
