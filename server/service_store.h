#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dict.h"
#include "platform/value.h"
#include "server/catalogue_table.h"

namespace examora {

class SqliteConnection;

// The reference service's own database, "<dataDir>/service.db" (its own schema, not the
// client's): the catalogue tables with each row's change date, and the change list, one row per
// base item with the date of its last change and of its last deletion.
//
// Contract:
// - Opened once, in the constructor (the data folder is created when missing); isOpen() tells
//   whether that worked. Every operation on a store that is not open fails (false, nothing).
// - Writes run one at a time on one connection, each inside one transaction that is committed
//   whole or rolled back whole; reads run in parallel on a pool of read connections (WAL mode),
//   each seeing the last committed state. Any thread may call any operation.
// - SQL errors are logged by the connection and reported as failure values; nothing throws.
// - After a kill at any point, the old or the new content of each write is present, never a
//   mixture.
class ServiceStore {
  public:
    static constexpr const char* kFileName = "service.db";

    explicit ServiceStore(std::filesystem::path dataDir);
    ~ServiceStore();
    ServiceStore(const ServiceStore&) = delete;
    ServiceStore& operator=(const ServiceStore&) = delete;

    bool isOpen() const { return writer_ != nullptr; }
    const std::filesystem::path& dataDir() const { return dataDir_; }
    std::filesystem::path databasePath() const { return dataDir_ / kFileName; }

    // The service's clock as local text "yyyy-MM-dd HH:mm:ss"; the wall clock unless replaced.
    // A clock that answers something else than such a date counts as the wall clock.
    void setClock(std::function<std::string()> nowText);
    std::string now() const;

    // Runs `work` on the writer connection inside one transaction, holding the writer lock; the
    // transaction is committed when `work` returns true, rolled back when it returns false or
    // throws (the exception is passed on). False when the store is not open or the commit fails.
    bool write(const std::function<bool(SqliteConnection&)>& work);
    // Runs `work` on a read connection of the pool. False when the store is not open.
    bool read(const std::function<void(SqliteConnection&)>& work) const;

    // Every row of a query as dictionaries (empty on failure).
    static DictList rows(SqliteConnection& db, std::string_view sql,
                         const std::vector<Value>& args = {});

    // Within write(): the date at which the base item `itemId` changes now, stored as its change
    // date (and, for a deletion, as its deletion date too). The date is the clock's now, or one
    // second after the item's last change date when that is not older, so that each change of an
    // item publishes a strictly newer date and no client that synchronised at the old date can
    // miss it. Empty when the item is unknown or the statement fails.
    std::string publishItemChange(SqliteConnection& db, int itemId, bool deletion);

    // The change list: objects {id, citemname, dupdatedate, ddeletedate} by item number.
    DictList baseItemChangeList() const;
    // The rows of a base item whose change date is after `since` (every row for an empty
    // `since`), in key order. With a version code, courses published for another version are left
    // out. nullopt for a name that is not a base item.
    std::optional<DictList> baseItemRowsSince(std::string_view itemName, const std::string& since,
                                              const std::optional<std::string>& versionCode) const;
    // One catalogue row by its key values (in key order); nullopt when there is none.
    std::optional<Dict> catalogueRow(const CatalogueTable& table,
                                     const std::vector<Value>& key) const;

  private:
    bool createSchema();
    std::unique_ptr<SqliteConnection> takeReader() const;
    void returnReader(std::unique_ptr<SqliteConnection> reader) const;

    std::filesystem::path dataDir_;
    std::unique_ptr<SqliteConnection> writer_;
    std::mutex writerMutex_;

    mutable std::mutex readersMutex_;
    mutable std::vector<std::unique_ptr<SqliteConnection>> readers_;

    mutable std::mutex clockMutex_;
    std::function<std::string()> clock_;
};

}  // namespace examora
