#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace examora {

// One record of a CSV text: its fields, and the line of the text it starts on (from 1).
struct CsvRecord {
    int line = 0;
    std::vector<std::string> fields;
};

// The records of a CSV text, or why it cannot be read.
struct CsvDocument {
    std::vector<CsvRecord> records;
    // Set when the text cannot be read as CSV (a quoted field never closed); records then holds
    // the records before the bad one.
    std::optional<std::string> error;
};

// Reads CSV as spreadsheet programs write it: fields separated by ",", records ended by CR LF,
// LF or a lone CR; a field in double quotes may hold commas, line ends and quotes (doubled,
// ""; a line end inside a field is kept as LF). A UTF-8 byte order mark at the start is skipped. A
// record whose every field is empty (a blank line, or a row of bare commas) is left out, but still
// counts for the line numbers. Field bytes are kept as they stand; a text that is not UTF-8 is the
// caller's to refuse.
class CsvReader {
  public:
    static CsvDocument parse(std::string_view text);
};

}  // namespace examora
