// The catalogue tables of the reference service: base items and the catalogue pictures.
#include "server/catalogue_table.h"

#include "platform/text_util.h"

namespace examora {

namespace {

using K = ColumnKind;

std::vector<CatalogueTable> makeTables() {
    return {
        {"courseclass",
         1,
         {{"iclassid", K::Integer},
          {"ccoursecname", K::Text},
          {"csubjecttypes", K::Text},
          {"iindex", K::Integer},
          {"bstopflag", K::Integer},
          {"dchangedate", K::Date}},
         1,
         "dchangedate"},
        {"coursesubclass",
         2,
         {{"isubclassid", K::Integer},
          {"csubclassname", K::Text},
          {"iclassid", K::Integer},
          {"iindex", K::Integer},
          {"bstopflag", K::Integer},
          {"dchangedate", K::Date}},
         1,
         "dchangedate"},
        // cversioncode: the application version a course is published for (null: every
        // version); only the by-version reads filter on it.
        {"course",
         3,
         {{"icourseid", K::Integer},
          {"iclassid", K::Integer},
          {"isubclassid", K::Integer},
          {"ccoursename", K::Text},
          {"iindex", K::Integer},
          {"bstopflag", K::Integer},
          {"bdistrict", K::Integer},
          {"dchangedate", K::Date},
          {"dcreatedate", K::Date},
          {"cexamdate", K::Text},
          {"ctypscount", K::Text},
          {"cversioncode", K::Text}},
         1,
         "dchangedate"},
        {"district",
         4,
         {{"cdccode", K::Text},
          {"cdcname", K::Text},
          {"bendgrade", K::Integer},
          {"igrade", K::Integer},
          {"cmemo", K::Text},
          {"dchangedate", K::Date}},
         1,
         "dchangedate"},
        // The settings' change date goes out under the key the client reads, "dchangdate".
        {"sys_cussetting",
         5,
         {{"cname", K::Text}, {"cvalue", K::Text}, {"dchangdate", K::Date}},
         1,
         "dchangdate"},
        // The message type goes out as "itype", the key the client's upsert reads.
        {"sys_message",
         6,
         {{"cmsgid", K::Text},
          {"cmsgtitle", K::Text},
          {"cmsgurl", K::Text},
          {"itype", K::Text},
          {"iindex", K::Integer},
          {"icourseid", K::Integer},
          {"bstopflag", K::Integer},
          {"dchangedate", K::Date},
          {"dstartdate", K::Date},
          {"denddate", K::Date}},
         1,
         "dchangedate"},
        {"sys_photoad",
         7,
         {{"ipaid", K::Integer},
          {"cpatitle", K::Text},
          {"pimage", K::Bytes},
          {"curl", K::Text},
          {"cextname", K::Text},
          {"bstopflag", K::Integer},
          {"dchangedate", K::Date},
          {"dstartdate", K::Date},
          {"denddate", K::Date}},
         1,
         "dchangedate"},
        {"sys_tableimage",
         0,
         {{"ctblname", K::Text},
          {"csourceid", K::Text},
          {"pimage", K::Bytes},
          {"cextname", K::Text},
          {"dchangedate", K::Date}},
         2,
         "dchangedate"},
    };
}

}  // namespace

const CatalogueColumn* CatalogueTable::column(std::string_view columnName) const {
    for (const CatalogueColumn& c : columns) {
        if (c.name == columnName) return &c;
    }
    return nullptr;
}

bool CatalogueTable::isKey(const CatalogueColumn& c) const {
    for (std::size_t i = 0; i < keyCount && i < columns.size(); ++i) {
        if (columns[i].name == c.name) return true;
    }
    return false;
}

std::vector<CatalogueColumn> CatalogueTable::keys() const {
    return {columns.begin(), columns.begin() + static_cast<std::ptrdiff_t>(keyCount)};
}

const std::vector<CatalogueTable>& CatalogueTable::all() {
    static const std::vector<CatalogueTable> tables = makeTables();
    return tables;
}

const CatalogueTable* CatalogueTable::find(std::string_view tableName) {
    for (const CatalogueTable& t : all()) {
        if (equalsIgnoringCase(t.name, tableName)) return &t;
    }
    return nullptr;
}

const CatalogueTable& CatalogueTable::tableImage() {
    return all().back();
}

}  // namespace examora
