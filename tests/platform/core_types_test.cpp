#include <gtest/gtest.h>

#include <climits>

#include "platform/base64.h"
#include "platform/date_time.h"
#include "platform/dict.h"
#include "platform/log.h"
#include "platform/strformat.h"
#include "platform/text_util.h"
#include "store/base_entity.h"

namespace examora {
namespace {

TEST(ValueTest, ReadsTextAsLeadingNumberAndBooleanLikeTheService) {
    EXPECT_EQ(Value("  42abc").asInt(), 42);
    EXPECT_EQ(Value("abc").asInt(), 0);
    EXPECT_EQ(Value("-7").asInt64(), -7);
    EXPECT_DOUBLE_EQ(Value("2.5 points").asDouble(), 2.5);
    for (const char* yes : {"  007", "Yes", "true"})
        EXPECT_TRUE(Value(yes).asBool()) << yes;
    for (const char* no : {"000", "NO"})
        EXPECT_FALSE(Value(no).asBool()) << no;
    EXPECT_FALSE(Value().asBool());
    EXPECT_EQ(Value(0.1).asString(), "0.1");
    EXPECT_EQ(Value(true).asInt(), 1);
    EXPECT_TRUE(Value("NULL").isNullObject());
    EXPECT_FALSE(Value("null").isNullObject());
    EXPECT_EQ(Value().description(), "(null)");
}

TEST(DictTest, KeepsOrderReplacesInPlaceAndLooksUpIgnoringCase) {
    Dict d{{"b", 1}, {"a", "x"}};
    d.set("b", 2);
    d.set("C", 3);
    ASSERT_EQ(d.size(), 3u);
    EXPECT_EQ(d.begin()->first, "b");
    EXPECT_EQ(d.get("b").asInt(), 2);
    EXPECT_TRUE(d.get("missing").isNull());
    EXPECT_TRUE(d.get("c").isNull());
    EXPECT_EQ(d.getIgnoringCase("c").asInt(), 3);
}

TEST(StrformatTest, FillsTheSystemsTemplates) {
    EXPECT_EQ(strformat("select * from t where id=%d and name='%@'", 5, "x"),
              "select * from t where id=5 and name='x'");
    EXPECT_EQ(strformat("%ld|%lld|%lu", 3L, 4LL, 5UL), "3|4|5");
    EXPECT_EQ(strformat("%f", 2.5), "2.500000");
    EXPECT_EQ(strformat("%02d:%02d", 5, 7), "05:07");
    EXPECT_EQ(strformat("%c%c", 65, 'B'), "AB");
    EXPECT_EQ(strformat("100%% %@", Value()), "100% (null)");
    EXPECT_EQ(strformat("%s:%d", "file", 12), "file:12");
    EXPECT_EQ(strformat("%@ and %@", "one"), "one and (null)");
    EXPECT_EQ(strformat("trailing %"), "trailing %");
}

TEST(TextUtilTest, EmptinessAndCodePoints) {
    EXPECT_TRUE(isEmpty(Value()));
    EXPECT_TRUE(isEmpty(Value("NULL")));
    EXPECT_TRUE(isEmpty(Value("")));
    EXPECT_FALSE(isEmpty(Value(0)));
    EXPECT_TRUE(isEmpty(std::optional<std::string>()));
    EXPECT_FALSE(isEmpty(std::string_view(" ")));

    const std::string s = "中文ab题";
    EXPECT_EQ(utf8Length(s), 5u);
    EXPECT_EQ(utf8Substr(s, 1, 3), "文ab");
    EXPECT_EQ(utf8Substr(s, 4), "题");
    EXPECT_EQ(utf8Substr(s, 9), "");
    EXPECT_EQ(utf8Chars(s).size(), 5u);
    EXPECT_EQ(split("a/b//c", "/"), (std::vector<std::string>{"a", "b", "", "c"}));
    EXPECT_EQ(trim("  A B \n"), "A B");
    EXPECT_EQ(htmlEscape("<script>&\""), "&lt;script&gt;&amp;&quot;");
}

TEST(Base64Test, RoundTripsAndRejectsGarbage) {
    for (std::string s : {"", "f", "fo", "foo", "foob", "中文"}) {
        auto decoded = base64Decode(base64Encode(s));
        ASSERT_TRUE(decoded);
        EXPECT_EQ(std::string(decoded->begin(), decoded->end()), s);
    }
    EXPECT_EQ(base64Encode(std::string_view("foobar")), "Zm9vYmFy");
    EXPECT_FALSE(base64Decode("Zm9"));
    EXPECT_FALSE(base64Decode("Zm9v!mFy"));
    EXPECT_FALSE(base64Decode("Z=9v"));
}

TEST(DateTimeTest, ParsesOnlyRealDates) {
    auto d = DateTime::parse("2015-3-1 8:09:10");
    ASSERT_TRUE(d);
    EXPECT_EQ(d->format(), "2015-03-01 08:09:10");
    for (const char* bad : {"2015-02-30 00:00:00", "2015-03-01", "2015-03-01 08:09:10x"})
        EXPECT_FALSE(DateTime::parse(bad)) << bad;
    EXPECT_TRUE(DateTime::parse("2016-02-29 23:59:59"));
    auto back = DateTime::fromEpochLocal(d->toEpochLocal());
    EXPECT_EQ(back.format(), d->format());
}

TEST(ValueTest, IntegersBeyond32BitsSaturate) {
    const std::pair<Value, int> cases[] = {
        {Value("4294967297"), INT_MAX},
        {Value("-4294967297"), INT_MIN},
        {Value("2147483648"), INT_MAX},
        {Value("-2147483648"), INT_MIN},
        {Value("99999999999999999999"), INT_MAX},
        {Value(std::int64_t{4294967297}), INT_MAX},
        {Value(-1e12), INT_MIN},
        {Value("2147483647"), INT_MAX},
    };
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(value.asInt(), expected) << value.description();
        EXPECT_EQ(BaseEntity::toInt(value), expected) << value.description();
    }
}

TEST(BaseEntityTest, ConversionsOfLooseValues) {
    // The records' tests read most conversions through real rows; these are the rest.
    EXPECT_EQ(BaseEntity::toDateString(Value("2015/3/1")), "2015-3-1");
    // The 19-character form with "T" at index 10 counts characters, not bytes.
    const std::pair<const char*, const char*> tForms[] = {
        {"2015-03-01T08:09:10", "2015-03-01 08:09:10"},
        {"２015-03-01T08:09:10", "２015-03-01 08:09:10"},  // 19 characters, 21 bytes
        {"题3-01-01T08:09:10", "题3-01-01T08:09:10"},      // 19 bytes, 17 characters
    };
    for (const auto& [text, expected] : tForms)
        EXPECT_EQ(BaseEntity::toDateString(Value(text)), expected) << text;
    EXPECT_FALSE(BaseEntity::toDateString(Value("NULL")));
    EXPECT_FALSE(BaseEntity::toDate(Value(12)));
    EXPECT_EQ(BaseEntity::toInt(Value("NULL")), 0);
    EXPECT_FALSE(BaseEntity::toString(Value()));
    EXPECT_EQ(BaseEntity::toData(Value("AAEC")), (Bytes{0, 1, 2}));
}

TEST(LogTest, CaptureCollectsLinesAndNests) {
    LogCapture outer;
    logf("DB Error: %d \"%@\"", 5, "locked");
    {
        LogCapture inner;
        logLine("inner only");
        EXPECT_TRUE(inner.contains("inner only"));
    }
    EXPECT_TRUE(outer.contains("DB Error: 5 \"locked\""));
    EXPECT_FALSE(outer.contains("inner only"));
}

}  // namespace
}  // namespace examora
