#include <gtest/gtest.h>

#include <climits>

#include "platform/log.h"
#include "service/exam_web_service_util.h"

namespace examora {
namespace {

using U = ExamWebServiceUtil;
using nlohmann::json;

TEST(JsonTextTest, QuotedUpperCaseBooleansBecomeNumbers) {
    auto j = U::getJSONObject(R"([{"bok":"TRUE","bno":"FALSE","t":"true","f":false,"s":"TRUEX"}])");
    ASSERT_TRUE(j);
    const json& o = (*j)[0];
    EXPECT_EQ(o["bok"], 1);
    EXPECT_EQ(o["bno"], 0);
    EXPECT_EQ(o["t"], "true");
    EXPECT_EQ(o["f"], false);
    EXPECT_EQ(o["s"], "TRUEX");
}

TEST(JsonTextTest, ControlAndFormatCharactersAreRemovedBeforeParsing) {
    // A raw tab or line feed inside a string is invalid JSON; removing it lets the text parse.
    auto j = U::getJSONObject("{\"a\":\"x\ty\nz\",\r\n\"b\":1}");
    ASSERT_TRUE(j);
    EXPECT_EQ((*j)["a"], "xyz");
    EXPECT_EQ((*j)["b"], 1);

    // Byte order mark, zero-width space, bidi marks, soft hyphen, C1 controls, tag characters.
    auto k = U::getJSONObject(
        "\xEF\xBB\xBF{\"n\":\"a\xE2\x80\x8B"
        "b\xE2\x80\x8F"
        "c\xC2\xAD"
        "d\xC2\x85"
        "e\xF3\xA0\x80\x81"
        "f\"}");
    ASSERT_TRUE(k);
    EXPECT_EQ((*k)["n"], "abcdef");

    // Other characters, including multi-byte ones near the removed ranges, stay.
    auto m = U::getJSONObject("{\"n\":\"题目\xE2\x80\x94\xE2\x80\xA8\xF0\x9F\x98\x80\"}");
    ASSERT_TRUE(m);
    EXPECT_EQ((*m)["n"], "题目\xE2\x80\x94\xE2\x80\xA8\xF0\x9F\x98\x80");
}

TEST(JsonTextTest, MalformedTextGivesNullAndOneLogLine) {
    LogCapture log;
    for (const std::string& bad :
         std::vector<std::string>{"", "anyType{}", "[1,2", "{\"a\":}", "42", "\"text\"", "null",
                                  "[\"\xFF\"]", std::string(100000, '[')})
        EXPECT_FALSE(U::getJSONObject(bad)) << bad.substr(0, 20);
    EXPECT_EQ(log.lines().size(), 9u);
    EXPECT_TRUE(log.lines()[0].starts_with("jsonerror->"));

    // A NUL is a control character like any other.
    EXPECT_EQ(U::getJSONObject(std::string("[\0]", 3)), json::array());
    // Deep but sane nesting still parses.
    std::string deep = std::string(200, '[') + std::string(200, ']');
    EXPECT_TRUE(U::getJSONObject(deep));
}

TEST(JsonTextTest, WritingIsPrettyAndRefusesWhatCannotBeWritten) {
    auto text = U::buildJSONString(json::array({json{{"id", 1}, {"name", "笔记"}}}));
    ASSERT_TRUE(text);
    EXPECT_NE(text->find('\n'), std::string::npos);
    EXPECT_EQ(json::parse(*text), json::array({json{{"id", 1}, {"name", "笔记"}}}));

    LogCapture log;
    EXPECT_FALSE(U::buildJSONString(json::array({std::string("bad \xFF utf-8")})));
    EXPECT_TRUE(log.contains("dic->"));
}

TEST(JsonTextTest, EmptinessAndScalarReadings) {
    EXPECT_TRUE(U::isEmptyOfJOSN(std::nullopt));
    EXPECT_TRUE(U::isEmptyOfJOSN(""));
    EXPECT_TRUE(U::isEmptyOfJOSN("anyType{}"));
    EXPECT_FALSE(U::isEmptyOfJOSN("anyType{} "));
    EXPECT_FALSE(U::isEmptyOfJOSN("NULL"));

    for (const char* yes : {"true", "True", "YES", "y", "1", "007", "  9", "t"})
        EXPECT_TRUE(U::toBOOL(std::string(yes))) << yes;
    // Only white space and zeros are skipped: a signed result is no yes.
    for (const char* no :
         {"false", "NO", "0", "000", "", "NULL", "anyType{}", " x1", "-1", "+1", " -0Y"})
        EXPECT_FALSE(U::toBOOL(std::string(no))) << no;
    EXPECT_FALSE(U::toBOOL(std::nullopt));

    EXPECT_EQ(U::toInt(std::string("  42abc")), 42);
    EXPECT_EQ(U::toInt(std::string("-17")), -17);
    EXPECT_EQ(U::toInt(std::string("abc")), 0);
    EXPECT_EQ(U::toInt(std::string("NULL")), 0);
    EXPECT_EQ(U::toInt(std::nullopt), 0);
    EXPECT_EQ(U::toInt(std::string("99999999999999999999")), INT_MAX);
    EXPECT_EQ(U::toInt(std::string("-99999999999999999999")), INT_MIN);
}

TEST(JsonTextTest, ListToTextSkipsNulls) {
    EXPECT_EQ(U::arrayListToString({}), "");
    EXPECT_EQ(U::arrayListToString({Value(), Value(3), Value("a b"), Value(), Value(1.5)}),
              "3,a b,1.5");
}

TEST(JsonTextTest, JsonObjectsBecomeDicts) {
    auto j = U::getJSONObject(
        R"({"i":5,"big":18446744073709551615,"d":2.5,"s":"x","n":null,"b":true,"nested":{"a":[1]}})");
    ASSERT_TRUE(j);
    Dict d = U::jsonToDict(*j);
    EXPECT_EQ(d.get("i"), Value(5));
    EXPECT_TRUE(d.get("big").isDouble());
    EXPECT_EQ(d.get("d"), Value(2.5));
    EXPECT_EQ(d.get("s"), Value("x"));
    EXPECT_TRUE(d.get("n").isNull());
    EXPECT_EQ(d.get("b"), Value(1));
    EXPECT_EQ(d.get("nested"), Value(R"({"a":[1]})"));
    EXPECT_TRUE(U::jsonToDict(json::array()).empty());
}

}  // namespace
}  // namespace examora
