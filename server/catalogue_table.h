#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace examora {

// How a catalogue column is stored in the service's database and written in its JSON objects.
enum class ColumnKind {
    Integer,  // integer; numeric text is accepted on entry
    Text,     // text; numbers are accepted on entry as their decimal text
    Date,     // text "yyyy-MM-dd HH:mm:ss", normalised on entry
    Bytes,    // blob; Base64 text on entry and in JSON
};

struct CatalogueColumn {
    std::string name;  // the column name, which is also the JSON key of the service objects
    ColumnKind kind;
};

// One catalogue table of the reference service: a base item of the change list (itemId above 0)
// or a table served beside them (the catalogue pictures, itemId 0). Its columns carry the keys of
// the service objects the client's records read, so a row goes out as it is stored.
struct CatalogueTable {
    std::string name;  // table name, and the item name of the change list
    int itemId = 0;    // number of the base item in the change list; 0 when not listed
    std::vector<CatalogueColumn> columns;  // every column, keys first, in JSON key order
    std::size_t keyCount = 1;              // the first keyCount columns form the key
    // The row's change date, set by the service whenever the row changes; never taken from input.
    std::string changeColumn;

    const CatalogueColumn* column(std::string_view columnName) const;
    bool isKey(const CatalogueColumn& c) const;
    std::vector<CatalogueColumn> keys() const;

    // The catalogue tables in the order of their item numbers, the picture table last.
    static const std::vector<CatalogueTable>& all();
    // The table named so, ignoring ASCII case; nullptr when there is none.
    static const CatalogueTable* find(std::string_view tableName);
    // The table of the catalogue pictures ("sys_tableimage").
    static const CatalogueTable& tableImage();
};

}  // namespace examora
