#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/dict.h"
#include "server/catalogue_table.h"

namespace examora {

class ServiceStore;
class SqliteConnection;

// One table of course content in the service's store: the item set it serves (0 chapters,
// 1 outline entries, 2 questions), its key and its columns, named as the client's records read
// them. Every row carries its course (icourseid) and its change date (dchangedate), which only
// the service sets.
struct ContentTable {
    std::string name;
    int itemSet = 0;
    std::vector<CatalogueColumn> columns;  // the key first; dchangedate last

    const std::string& key() const { return columns.front().name; }
    const CatalogueColumn* column(std::string_view columnName) const;
};

// The course content of the reference service, kept in the ServiceStore's database beside the
// catalogue: chapters, outline entries and questions (texts plain, pictures referred to by their
// tokens) with their change dates, and the questions' pictures.
//
// Change dates: every change of an item set of a course is stamped with the service clock's now,
// or one second after the item set's latest stamp when that is not older. Stamps of one item set
// of one course therefore only grow, and a change list handed out with the latest stamp as its
// new date never hides a later change from the client that asks from that date.
//
// Thread safety and crash safety are the ServiceStore's: reads run on its reader pool, writes
// inside one of its transactions.
class ContentStore {
  public:
    // Question change lists with more entries than this go out in the compact text form.
    static constexpr std::size_t kCompactAfter = 50;
    // The most ids one list-information call may ask for.
    static constexpr std::size_t kMaxIds = 1000;
    static constexpr const char* kPictureTable = "subjectpicture";

    // Creates the content tables in the store when missing.
    explicit ContentStore(ServiceStore& store);

    bool isReady() const { return ready_; }
    ServiceStore& serviceStore() const { return store_; }

    // The tables in item-set order, and one by its number (nullptr for another number).
    static const std::vector<ContentTable>& tables();
    static const ContentTable* table(int itemSet);

    // A change list: the text of the list and the date the client asks from next time.
    struct ChangeList {
        std::string text;
        std::string date;
    };
    // The rows of the item set of the course changed after `since` (every row for an empty or
    // older date) for the district (an empty district: every row; otherwise rows bound to no
    // district or to one naming it; questions follow their chapter). Chapters and outline
    // entries as a JSON list of single-entry objects with the id; questions as runs of
    // consecutive ids, a JSON list of objects for a short list and the compact text
    // ("id,maxid,chapter,type,index,score,answers|…") beyond kCompactAfter runs. The date is the
    // item set's latest stamp for the course (`since` when it has none).
    ChangeList changeList(int itemSet, long long courseId, const std::string& district,
                          const std::string& since) const;
    // The rows of the ids of the item set of the course, in id order; ids of other courses and
    // unknown ids are left out.
    DictList rowsById(int itemSet, long long courseId, const std::vector<long long>& ids) const;
    // The pictures of a question as the client's picture records: ctblname "coursesubject" and
    // the position tail, csourceid, pimage, cextname, dchangedate.
    DictList subjectPictures(long long subjectId) const;
    // Whether any content of the course changed after the date (for an empty date: whether the
    // course has any content).
    bool hadNewUpdate(long long courseId, const std::string& since) const;

    // Within a write of the store: the stamp of a change of the item set of the course now.
    std::string stampChange(SqliteConnection& db, int itemSet, long long courseId) const;

  private:
    ServiceStore& store_;
    bool ready_ = false;
};

}  // namespace examora
