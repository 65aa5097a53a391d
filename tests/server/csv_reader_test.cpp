// The CSV reader of the question import: quoting, line ends, byte order mark, line numbers.
#include <gtest/gtest.h>

#include "server/csv_reader.h"

namespace examora {
namespace {

using Fields = std::vector<std::string>;

TEST(CsvReaderTest, ReadsWhatSpreadsheetProgramsWrite) {
    struct Case {
        const char* name;
        std::string text;
        std::vector<Fields> records;
        std::vector<int> lines;
    };
    const Case cases[] = {
        {"plain, LF, no final line end", "a,b\nc,d", {{"a", "b"}, {"c", "d"}}, {1, 2}},
        {"byte order mark and CR LF",
         "\xEF\xBB\xBF章节,题型\r\n一,0\r\n",
         {{"章节", "题型"}, {"一", "0"}},
         {1, 2}},
        {"lone CR", "a\rb\r", {{"a"}, {"b"}}, {1, 2}},
        {"quoted comma, quote and line ends",
         "\"x, y\",\"say \"\"hi\"\"\",\"one\r\ntwo\nthree\"\r\nnext,row\r\n",
         {{"x, y", "say \"hi\"", "one\ntwo\nthree"}, {"next", "row"}},
         {1, 4}},
        {"empty fields kept, blank lines and bare commas left out",
         "a,,c,\r\n\r\n,,,\r\n,x\r\n",
         {{"a", "", "c", ""}, {"", "x"}},
         {1, 4}},
        {"quote inside an unquoted field is text", "a\"b,c\n", {{"a\"b", "c"}}, {1}},
        {"empty quoted field", "\"\",b\n", {{"", "b"}}, {1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CsvDocument doc = CsvReader::parse(c.text);
        EXPECT_FALSE(doc.error);
        ASSERT_EQ(doc.records.size(), c.records.size());
        for (std::size_t i = 0; i < c.records.size(); ++i) {
            EXPECT_EQ(doc.records[i].fields, c.records[i]);
            EXPECT_EQ(doc.records[i].line, c.lines[i]);
        }
    }
}

TEST(CsvReaderTest, AQuoteNeverClosedIsAnErrorNamingItsLine) {
    CsvDocument doc = CsvReader::parse("a,b\nc,\"open\nstill open\n");
    ASSERT_TRUE(doc.error);
    EXPECT_EQ(*doc.error, "line 2: a quoted field is never closed");
    ASSERT_EQ(doc.records.size(), 1u);
}

}  // namespace
}  // namespace examora
