#pragma once

#include <nlohmann/json.hpp>

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/exam_error.h"
#include "service/exam_web_service_util.h"
#include "store/records/server_exchange_item_entity.h"
#include "store/records/table_image_entity.h"
#include "store/sqlite_helper.h"

namespace examora {

// What one run did with one base item it downloaded.
struct BaseItemResult {
    std::string itemname;
    bool fullReload = false;
    // Server objects in the row list (0 for an empty list or a failed call).
    std::size_t rows = 0;
    // The service delivered the row list; false leaves the item's date unchanged.
    bool delivered = false;
    // The rows and the new date are stored.
    bool written = false;
};

// Carries every exchange between the local database and the exam web service: the shared base
// items (catalogue, districts, settings, messages, photo advertisements) and the catalogue's
// pictures; later the course content, course packages and the learner's data.
//
// Contract kept for every caller:
// - Errors: nothing is thrown to the caller. A failed call to the service is an empty answer; a
//   failed statement is logged by the data-access layer, and where it belongs to an item's
//   transaction it rolls the whole item back (logged "download %@ error:%@ %@").
// - Threads: an instance owns one connection (SQLiteHelper) and one ExamWebServiceUtil and is
//   used by one thread at a time; synchronisation creates a fresh instance per run and thread.
//   Every call blocks the calling thread for up to its time-out.
// - Lifetimes: the service object lives and dies with the instance; the database is open only
//   for the length of an operation.
// - Crash safety: one item's rows and its new change date are committed in one transaction, so
//   after a kill at any point an item holds its old or its new content, never a mixture.
class ClientDataExchange : public SQLiteHelper {
  public:
    // The class pictures of a catalogue item fetched before its transaction, by class number as
    // decimal text; nullopt where the service sent no picture record.
    using TablePictures = std::map<std::string, std::optional<TableImageEntity>>;
    // Completion of checkIsOnline: the answer, or no answer and the error that the call raised.
    using OnlineBlock =
        std::function<void(std::optional<bool> online, const std::optional<ExamError>& error)>;

    // On the database at CommonSetting::DbPath, with a service object of its own.
    ClientDataExchange();
    // As above with the given service object (a stand-in in tests and benchmarks).
    explicit ClientDataExchange(std::unique_ptr<ExamWebServiceUtil> service);
    ~ClientDataExchange() override;

    ExamWebServiceUtil& service() { return *service_; }

    // --- base items (client_data_exchange_base_items.cpp) ---------------------------------------

    // The server's change list, one entry per base item; empty when the service sent none.
    std::vector<ServerExchangeItemEntity> loadRemoteBaseItemChangeList();
    // The local change list (sys_serverexchangeitem) by item number as decimal text; the database
    // is closed again afterwards, also when the read fails (an empty map then).
    std::map<std::string, ServerExchangeItemEntity> loadLocalBaseItemChangeList();

    // The run: compares the server's change list with the local one and downloads every item
    // whose server date is newer, in the server's order. The names of the items downloaded
    // (written or not; see baseItemResults), or nullopt when the server's list was missing or
    // empty (nothing is written then).
    std::optional<std::vector<std::string>> downloadBaseItem();
    // One item: asks for its rows changed after the local date (after nothing for a full reload)
    // and, in one transaction, upserts them and stores the server's date. A delivered empty list
    // only stores the date; a failed call or a failed statement leaves the item as it was.
    void downloadBaseItem(const std::string& itemName, bool fullReload,
                          const std::string& localDate, const std::string& serverDate);
    // What each item of the last run did, in order.
    const std::vector<BaseItemResult>& baseItemResults() const { return baseItemResults_; }

    // --- base-item upserts (client_data_exchange_upserts.cpp) -----------------------------------
    // Each takes the server objects of one item and the full-reload flag, and runs inside the
    // item's transaction: a full reload marks every row first and deletes the rows still marked
    // at the end. Throws ExamError when a statement fails, so that the item is rolled back.

    // Also stores each class's picture (from `pictures` when it holds the class, else fetched).
    void downloadCourseClass(const nlohmann::json& list, bool fullReload,
                             const TablePictures* pictures = nullptr);
    void downloadCourseSubClass(const nlohmann::json& list, bool fullReload);
    // Adds the late columns cexamdate and ctypscount to an older course table first.
    void downloadCourse(const nlohmann::json& list, bool fullReload);
    void downloadDistrict(const nlohmann::json& list, bool fullReload);
    void downloadCusSetting(const nlohmann::json& list, bool fullReload);
    void downloadCusMessage(const nlohmann::json& list, bool fullReload);
    void downloadPhotoAD(const nlohmann::json& list, bool fullReload);

    // --- catalogue pictures (client_data_exchange_pictures.cpp) ---------------------------------

    // Fetches the picture of one catalogue row and stores it; nothing when the service sends no
    // picture record.
    void downloadTableImage(const std::string& tableName, const std::string& sourceId);
    // Stores a picture record in sys_tableimage: without bytes it deletes the stored picture
    // (a failure throws ExamError); with bytes it replaces the picture and its extension, or
    // inserts the row (a failure is logged "downloadImage error:%@%@" and passes).
    void downloadTableImage(const TableImageEntity& image, const std::string& tableName,
                            const std::string& sourceId);
    // The picture records of the classes in a courseclass row list, fetched from the service.
    TablePictures fetchClassPictures(const nlohmann::json& list);

    // --- system (client_data_exchange_base_items.cpp) -------------------------------------------

    // The server's time; nullopt when it does not answer.
    std::optional<std::string> getServerTime();
    // Whether the service answers within the time-out (below 1 second: 300 seconds).
    bool checkIsOnline(double timeoutSeconds);
    // checkIsOnline, handing the answer to the block on the calling thread.
    void checkIsOnline(double timeoutSeconds, const OnlineBlock& block);

    // The statements of one table's upsert (client_data_exchange_upserts.cpp).
    struct UpsertStatements;

  private:
    // The key followed by every other written column, from one server object.
    using RowColumns = std::function<std::vector<Value>(const Dict& object)>;

    // Whether the query gives a row; throws ExamError when it fails.
    bool rowExists(const char* sql, const std::vector<Value>& key);
    // Runs one statement; throws ExamError when it fails.
    void execute(const char* sql, const std::vector<Value>& args);
    // The upsert pattern: mark (full reload), update or insert each object, sweep (full reload).
    // afterRow is called with each written row's key.
    void upsertRows(const UpsertStatements& sql, const nlohmann::json& list, bool fullReload,
                    const RowColumns& columns,
                    const std::function<void(const Value& key)>& afterRow = {});
    // Writes the rows of one item into the table its name picks; an unknown name writes none.
    void upsertItem(const std::string& itemName, const nlohmann::json& list, bool fullReload,
                    const TablePictures* pictures);

    std::unique_ptr<ExamWebServiceUtil> service_;
    std::vector<BaseItemResult> baseItemResults_;
};

}  // namespace examora
