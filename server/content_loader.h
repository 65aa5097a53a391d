#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/dict.h"

namespace examora {

class ServiceStore;

// A load that cannot be done: an unknown table, a row without its key, a value of the wrong
// kind, an unreadable file. The message names the table, column or file.
class ContentLoadError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Fills and edits the catalogue of a ServiceStore the way a real service publishes its changes:
// a row that changes, appears or disappears moves its base item's change date (and, for a
// disappearance, its deletion date) to the service clock's now, and stamps the row itself with
// that date. A row loaded again unchanged moves nothing. The change date of a row is always the
// service's; one given in the input is ignored.
//
// Values are taken as the service objects carry them (the keys the client's records read): texts,
// numbers, dates as "yyyy-MM-dd HH:mm:ss" (a bare "yyyy-MM-dd" means midnight), pictures as
// Base64 text. Columns a row leaves out keep their stored values.
//
// Every operation is one transaction: on a ContentLoadError nothing of it is stored, and after a
// kill at any point the old or the new catalogue is present, never a mixture. Values are all
// checked before the first write. Any thread may load while the service serves; loads run one at
// a time (the store's writer lock) and readers see a load whole or not at all.
class ContentLoader {
  public:
    explicit ContentLoader(ServiceStore& store) : store_(store) {}

    // Loads "<table>.json" files of the folder, each a JSON array of row objects, in the order of
    // the catalogue (classes before courses, …), then the folder's course content
    // (CourseContentLoader::loadFolder, a second transaction); other files are ignored. Adds and
    // changes rows; rows missing from a file stay. Returns the number of rows that changed.
    int loadFolder(const std::filesystem::path& folder);
    // The demo course shipped with the program: the resource folder's "demo", for loadFolder.
    static std::filesystem::path demoFolder();
    // The catalogue of a generated course of size 'S', 'M' or 'L': the classes, that size's
    // course, districts, a message and settings; then, in a second transaction, the course's
    // chapters, outline, questions and pictures. Returns the number of rows that changed.
    int loadGenerated(char size);
    // Adds or changes one row; true when it changed anything.
    bool upsertRow(const std::string& table, const Dict& row);
    // Adds or changes rows of several tables, in the order given, in one transaction. Returns the
    // number of rows that changed.
    int upsertRows(const std::vector<std::pair<std::string, DictList>>& tables);
    // Deletes one row by its key; true when there was such a row.
    bool deleteRow(const std::string& table, const Dict& key);

  private:
    ServiceStore& store_;
};

}  // namespace examora
