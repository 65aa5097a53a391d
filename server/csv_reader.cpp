// The CSV reader of the question import: records with the line each starts on.
#include "server/csv_reader.h"

#include <algorithm>

namespace examora {

namespace {

bool allEmpty(const std::vector<std::string>& fields) {
    return std::all_of(fields.begin(), fields.end(),
                       [](const std::string& f) { return f.empty(); });
}

}  // namespace

CsvDocument CsvReader::parse(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    CsvDocument doc;
    CsvRecord record{1, {}};
    std::string field;
    int line = 1;
    std::size_t i = 0;
    // Ends the record at a line end; i is on the line end's first byte.
    auto endRecord = [&]() {
        record.fields.push_back(std::move(field));
        field.clear();
        if (!allEmpty(record.fields)) doc.records.push_back(std::move(record));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        ++i;
        ++line;
        record = CsvRecord{line, {}};
    };
    while (i < text.size()) {
        const char c = text[i];
        if (c == '"' && field.empty()) {
            // A quoted field: up to the quote that is not doubled.
            const int opened = line;
            ++i;
            for (;;) {
                if (i >= text.size()) {
                    doc.error =
                        "line " + std::to_string(opened) + ": a quoted field is never closed";
                    return doc;
                }
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                // A line end inside a field is kept as LF, whichever the file uses.
                if (text[i] == '\r' || text[i] == '\n') {
                    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
                    ++line;
                    field += '\n';
                    ++i;
                    continue;
                }
                field += text[i++];
            }
            // Text after the closing quote up to the separator belongs to the field, as
            // spreadsheet programs read it.
            continue;
        }
        if (c == ',') {
            record.fields.push_back(std::move(field));
            field.clear();
            ++i;
        } else if (c == '\r' || c == '\n') {
            endRecord();
        } else {
            const std::size_t stop = text.find_first_of(",\r\n", i);
            const std::size_t end = stop == std::string_view::npos ? text.size() : stop;
            field.append(text.substr(i, end - i));
            i = end;
        }
    }
    if (!field.empty() || !record.fields.empty()) {
        record.fields.push_back(std::move(field));
        if (!allEmpty(record.fields)) doc.records.push_back(std::move(record));
    }
    return doc;
}

}  // namespace examora
