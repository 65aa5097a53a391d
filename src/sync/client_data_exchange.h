#pragma once

#include <nlohmann/json.hpp>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/exam_error.h"
#include "service/exam_web_service_util.h"
#include "store/records/course_chapter_entity.h"
#include "store/records/course_outline_entity.h"
#include "store/records/course_subject_entity.h"
#include "store/records/server_exchange_item_entity.h"
#include "store/records/table_image_entity.h"
#include "store/sqlite_helper.h"
#include "sync/content_item_rule.h"
#include "sync/exchange_rule.h"

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

// What an upload of the learner's data sent (client_data_exchange_upload.cpp).
struct UploadReport {
    int tasksSent = 0;
    int tasksKept = 0;
    int tasksDropped = 0;
    bool cleared = false;
    std::size_t answers = 0;  // answer rows sent in delivered calls
    int answerCalls = 0;
    int papers = 0;  // papers sent in delivered calls
    // Every call of that part was delivered (true when it had nothing to send).
    bool tasksDelivered = true;
    bool answersDelivered = true;
    bool papersDelivered = true;
    bool delivered() const { return tasksDelivered && answersDelivered && papersDelivered; }
};

// What a history download merged (client_data_exchange_history.cpp).
struct HistoryReport {
    bool answersDelivered = false;
    bool answersWritten = false;
    int answers = 0;  // server rows of questions stored here
    bool papersDelivered = false;
    int papersAdded = 0;
    int papersUpdated = 0;
    int papersFailed = 0;
    bool notesDelivered = false;
    bool notesWritten = false;
    int notesAdded = 0;
    bool delivered() const {
        return answersDelivered && answersWritten && papersDelivered && papersFailed == 0 &&
               notesDelivered && notesWritten;
    }
};

// What one batch download of course content did.
struct ContentBatchResult {
    std::size_t asked = 0;      // ids in the batch
    std::size_t received = 0;   // records the service sent
    std::size_t written = 0;    // records stored (new or changed)
    std::size_t unchanged = 0;  // questions skipped because their change date is the stored one
    std::size_t pictures = 0;   // picture files saved
    // The service delivered the record list.
    bool delivered = false;
    // Every record the service sent is stored whole, pictures included: only then may the item
    // set's change date move past these records.
    bool allWritten = false;
};

// How the question writer left one question.
enum class SubjectWrite {
    Unchanged,  // the stored change date is the server's: nothing written, no picture fetched
    Written,    // stored with its pictures and the server's change date
    // Stored without every picture (the picture list failed or a file could not be saved) and
    // without the server's change date, so that the next sync fetches it again.
    PicturesMissing,
};

// Carries every exchange between the local database and the exam web service: the shared base
// items (catalogue, districts, settings, messages, photo advertisements) and the catalogue's
// pictures; the course content and its pictures; the learner's data (the exchange-task queue,
// answer and paper upload, the history download); later course packages.
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

    // --- course content (client_data_exchange_content.cpp) -------------------------------------
    // Item sets of one course: ids changed since the last download, batch downloads, the change
    // dates of the course row. Each record write is atomic (a chapter or outline entry one
    // transaction, a question one statement; inside the caller's transaction when the caller
    // holds one, as a package install does), so after a kill a record holds its old or its new
    // content; a batch is no transaction, and the item set's date moves only after
    // every batch reported allWritten, so an interrupted item set is fetched again.

    // The ids of the item set changed since the last date, in the service's order. `lastDate`
    // goes in as the date for a full fetch (empty: never) and comes back as the date asked from,
    // or as the service's new date when it delivered a list. An empty list for a failed call as
    // for a course without changes: service().lastCallDelivered() tells them apart.
    std::vector<int> loadCourseChapterIdNeedDownload(int courseId, int courseType,
                                                     const std::string& district, bool full,
                                                     std::string& lastDate);
    std::vector<int> loadCourseOutlineIdNeedDownload(int courseId, int courseType,
                                                     const std::string& district, bool full,
                                                     std::string& lastDate);
    // Question entries stand for id runs (ContentItemRule::expandSubjectRuns).
    std::vector<int> loadCourseSubjectIdNeedDownload(int courseId, int courseType,
                                                     const std::string& district, bool full,
                                                     std::string& lastDate, bool downloadType);

    // One batch: fetches the records of the ids and writes each. Nothing is written when the
    // service sends nothing. A question or outline write that fails is logged
    // ("downloadCourseSubject error:%@%@", "downloadCourseOutline error:%@%@") and ends the
    // batch; the records written before it stay. A chapter write that fails is thrown as
    // ExamError after the database is closed.
    ContentBatchResult downloadCourseChapter(int courseId, const std::vector<int>& chapterIdList);
    ContentBatchResult downloadCourseOutline(int courseId, const std::vector<int>& outlineIdList);
    ContentBatchResult downloadCourseSubject(int courseId, const std::vector<int>& subjectIdList);

    // The record writers, also for a package install: build the record from the service object
    // (initWithDict; questions with the decipher flag off) and call the writer, inside the
    // caller's transaction if it holds one. Each throws ExamError when a statement fails; a
    // failed chapter or outline write rolls back the caller's whole transaction with it.
    //
    // A chapter replaces the stored chapter of the same course, code and type. When that row has
    // another id, the server's record wins: the row takes the server's id and values in place and
    // keeps its download mark (a row already holding the server's id is removed first). Without
    // such a row, any row with the server's id is replaced and the chapter inserted with
    // bdownload 0.
    void downloadCourseChapterWithEntity(const CourseChapterEntity& chapter);
    // As chapters, keyed by course and outline code alone.
    void downloadCourseOutlineWithEntity(const CourseOutlineEntity& outline);
    // Writes one question: fetches and places its pictures when `downloadImage` is set, rewrites
    // "file_dbpath/image" to the picture folder, enciphers title and analysis, and keeps the
    // learner's columns of a stored row.
    SubjectWrite downloadCourseSubjectWithEntity(CourseSubjectEntity& subject, bool downloadImage);

    // Stores the item set's last download date in the course row; false when it failed.
    bool updateCourseChapterChangeDate(int courseId, const std::string& date);
    bool updateCourseOutlineChangeDate(int courseId, const std::string& date);
    bool updateCourseSubjectChangeDate(int courseId, const std::string& date);
    bool updateCourseChangeDate(int courseId, ContentItemSet itemSet, const std::string& date);

    // Whether the item set's change date of the course holds a value.
    bool checkHadDownloadLog(int courseId, ContentItemSet itemSet);
    // Whether a row of the item set's table for the course has a change date at or after `date`.
    bool checkCourseItemHadDownloaded(int courseId, const std::string& date,
                                      ContentItemSet itemSet);
    // Whether the course has new content: true at once for a course whose chapters or questions
    // were never downloaded, else the service's answer for the latest stored date. A failed read
    // is thrown as ExamError after the database is closed.
    bool checkCourseHadNewUpdate(int courseId, int courseType);

    // --- question pictures (client_data_exchange_subjects.cpp) ---------------------------------

    // Saves one picture of the question as a file in `directory` (atomically) and puts it into
    // the question's text by its token (SubjectPictureRule). True when the file was saved or the
    // record has no bytes; false when it could not be saved (its token still points at the
    // file). A picture whose extension could leave the folder is refused with a log line: no
    // file, the text unchanged, and true, since fetching it again cannot mend it.
    bool downloadSubjectTableImage(CourseSubjectEntity& subject, const TableImageEntity& image,
                                   const std::string& directory, int subjectId);
    // The course's picture folder, ending in "/": with `url` set as a "file://" URL, else as a
    // path, the folder created when missing.
    std::string getImageRelativePath(int courseId, bool url);
    // SubjectPictureRule::replaceToken: the picture at `path` replaces the token.
    static std::string repalceSubjectImageString(const std::string& text, const std::string& token,
                                                 const std::string& path);
    // With `replace` set, every "file_dbpath/image" becomes "file://" and the picture folder
    // root; without it the text is returned as it is.
    static std::string replaceImagePath(const std::string& text, bool replace);
    // The first value of each single-entry object of a change list, as ids; other entries are
    // skipped.
    static std::vector<int> toIdList(const nlohmann::json& list);

    // --- course packages (client_data_exchange_package.cpp) -------------------------------------
    // The pieces of a package install. Each runs inside the caller's transaction (the install
    // holds one over the whole import and sweep) and throws ExamError when a statement fails or a
    // text is not a list of records, so that the caller rolls everything back.

    // "subject/<name>.zip" for the course's package; empty when the service names none.
    std::string getCourseUpdateName(int courseId, int courseType, const std::string& district);
    // Stores the six change and deletion dates of a package's course record in the course row.
    void updateCourseChangeDate(int courseId, const Dict& record);
    // Marks every chapter, outline entry and question of the course (bstopflag 1).
    void startDownloadCourseByFile(int courseId);
    // Deletes what is still marked.
    void endDownloadCourseByFile(int courseId);
    // The package texts: a JSON list of objects each. An empty text, "anyType{}" or anything
    // but a list is an error, as is a record of another course. The number of records written.
    std::size_t updateCourseChangeDateWithXML(const std::string& text, int courseId);
    std::size_t downloadCourseChapterWithXML(const std::string& text, int courseId);
    std::size_t downloadCourseOutlineWithXML(const std::string& text, int courseId);
    std::size_t downloadCourseSubjectWithXML(const std::string& text, int courseId);
    // The same from a package file, which it picks by name ("course.txt", "coursechapter.txt",
    // "courseoutline.txt", ignoring case; any name starting with "coursesubject"), read as a
    // stream so that a large file is never held whole. nullopt for a file the package does not
    // import.
    std::optional<std::size_t> importPackageFile(const std::filesystem::path& file, int courseId);

    // The statements of one table's upsert (client_data_exchange_upserts.cpp).
    struct UpsertStatements;

    // --- learner data up (client_data_exchange_upload.cpp) --------------------------------------
    // A call counts as sent only when the service received it (lastCallDelivered): a queued task
    // whose call failed stays queued, and an upload mark moves only after a pass whose every call
    // was delivered. Database failures throw ExamError and end the operation; the task or mark
    // concerned stays as it was. Crash safety: a task is removed, and a mark stored, only after
    // the service has the data, so a kill at any point at worst sends something again.

    // Sends the oldest queued task (by change date). None for an empty queue.
    TaskSend uploadTaskToServer();
    // Sends one task's record: a note, a correction report or a practice log, read by its row id.
    // The task (both actions) is removed once the service received the record as it is still
    // stored; a record that changed meanwhile keeps its task for the next send. A task whose
    // record is gone or whose table is unknown is removed without a call.
    TaskSend uploadTaskToServer(const std::string& itemName, const std::string& primaryValue);
    // Every queued task that was queued when it began (stopping at the first failed call), then
    // the course's answers, then its papers. Resets lastUploadReport.
    void uploadUserDataToServer(int cusId, int courseId, bool clear, const std::string& machineId);
    // The course's answers changed since the mark "uploadsubjectdate%d", in calls of at most 500
    // rows; with `clear`, the learner's answer history on the service is cleared first and every
    // answer of the course is sent. The service's clear covers every course, so it also puts the
    // other courses' marks back to never.
    void uploadSubjectHistory(int cusId, int courseId, bool clear, const std::string& machineId);
    // The course's papers created or taken since the mark "uploadpaperdate%d", one call per
    // paper with its details; `clear` only sends every paper again.
    void uploadSimulationPaper(int cusId, int courseId, bool clear, const std::string& machineId);
    const UploadReport& lastUploadReport() const { return uploadReport_; }

    // The user text sent with notes, reports and logs: LoginUserName when a learner is logged
    // in, else the device id.
    static std::string getUserId();
    // 0 for a null value, else the value's integer reading.
    static int ConvertToInt(const Value& value);

    // --- learner data down (client_data_exchange_history.cpp) -----------------------------------
    // Each step is independent: its failure is logged and the next still runs.

    // Answers, papers and notes of the learner, everything the service holds. Resets
    // lastHistoryReport.
    void downloadUserDataFromServer(int cusId);
    // The server's answer state replaces the local one, all rows in one transaction; then the
    // server time is stored under "downloadsubjectdate".
    void downloadSubjectHistory(int cusId, const std::string& machineId,
                                const std::string& startDate);
    // Each paper in its own transaction: matched by server number, or (for a paper this device
    // uploaded) by local number, course and name, and updated with its details replaced;
    // otherwise added. A paper whose detail fetch failed keeps the details it has.
    void downloadSimulationPaperHistory(int cusId, const std::string& machineId,
                                        const std::string& startDate);
    // The learner's notes (by getUserId), in one transaction, each added unless a note on the
    // same question with exactly the same text is stored.
    void downloadWriteNoteHistory();
    const HistoryReport& lastHistoryReport() const { return historyReport_; }

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

    // The change date stored for the item set of the course as date-time text; empty for none.
    std::string storedChangeDate(int courseId, ContentItemSet itemSet);
    // The date an id-list call of the item set asks from: the caller's, the stored one, or none
    // for a full list.
    std::string askFromDate(int courseId, ContentItemSet itemSet, bool full,
                            const std::string& lastDate);
    // Runs one record's writes in a transaction (nested in the caller's); throws ExamError.
    void inRecordTransaction(const std::function<void()>& write);
    // Fetches the question's pictures and places them; false when any could not be fetched or
    // saved.
    bool downloadSubjectPictures(CourseSubjectEntity& subject);

    std::unique_ptr<ExamWebServiceUtil> service_;
    std::vector<BaseItemResult> baseItemResults_;

    // Learner data (client_data_exchange_upload.cpp, client_data_exchange_history.cpp).
    // The rows of a query, with the database open for it; throws ExamError when it fails.
    DictList readRows(const char* sql, const std::vector<Value>& args);
    // Sends one record of a task's table; whether the service received it.
    bool sendTaskRecord(ExchangeTable table, const Dict& record);
    // Stores one downloaded paper with its details; throws ExamError when a statement fails.
    void storeDownloadedPaper(const Dict& paper, const std::optional<nlohmann::json>& details);
    UploadReport uploadReport_;
    HistoryReport historyReport_;
    // Picture files saved by this instance, for the batch results.
    std::size_t picturesSaved_ = 0;
};

}  // namespace examora
