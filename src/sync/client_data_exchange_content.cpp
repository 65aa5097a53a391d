// ClientDataExchange: course content item sets: id lists, batch downloads, chapter and outline
// writers, change dates and the new-content check.
#include <exception>

#include "platform/log.h"
#include "platform/strformat.h"
#include "platform/text_util.h"
#include "store/database_scope.h"
#include "store/records/course_subject_download_entity.h"
#include "sync/client_data_exchange.h"

namespace examora {

namespace {

std::vector<Value> toValues(const std::vector<int>& ids) {
    return {ids.begin(), ids.end()};
}

// The records of a delivered list, or nothing: a batch writes only what it can read.
const nlohmann::json* recordList(const std::optional<nlohmann::json>& json) {
    return json && json->is_array() ? &*json : nullptr;
}

// Opens a batch's result from the service's answer: the records to write, or none when there is
// nothing to write (the result then says whether that still leaves the item set whole).
const nlohmann::json* openBatch(ContentBatchResult& result, const std::vector<int>& ids,
                                const std::optional<nlohmann::json>& json, bool delivered) {
    result.asked = ids.size();
    result.delivered = delivered;
    const nlohmann::json* list = recordList(json);
    if (!list || list->empty()) {
        result.allWritten = delivered && (ids.empty() || list);
        return nullptr;
    }
    result.received = list->size();
    return list;
}

}  // namespace

std::string ClientDataExchange::storedChangeDate(int courseId, ContentItemSet itemSet) {
    return ExecuteScalarDate(strformat("select %@ from course where icourseid=%d",
                                       ContentItemRule::changeColumn(itemSet), courseId),
                             {})
        .value_or(std::string());
}

std::string ClientDataExchange::askFromDate(int courseId, ContentItemSet itemSet, bool full,
                                            const std::string& lastDate) {
    return ContentItemRule::askFrom(
        full, lastDate,
        full ? std::nullopt : std::optional<std::string>(storedChangeDate(courseId, itemSet)));
}

std::vector<int> ClientDataExchange::loadCourseChapterIdNeedDownload(int courseId, int courseType,
                                                                     const std::string& district,
                                                                     bool full,
                                                                     std::string& lastDate) {
    lastDate = askFromDate(courseId, ContentItemSet::Chapter, full, lastDate);
    std::optional<nlohmann::json> list =
        service_->loadNewCourseChapter_HadDistrice(courseId, courseType, district, lastDate);
    return list ? toIdList(*list) : std::vector<int>{};
}

std::vector<int> ClientDataExchange::loadCourseOutlineIdNeedDownload(int courseId, int courseType,
                                                                     const std::string& district,
                                                                     bool full,
                                                                     std::string& lastDate) {
    lastDate = askFromDate(courseId, ContentItemSet::Outline, full, lastDate);
    std::optional<nlohmann::json> list =
        service_->loadNewCourseOutline(courseId, courseType, district, lastDate);
    return list ? toIdList(*list) : std::vector<int>{};
}

std::vector<int> ClientDataExchange::loadCourseSubjectIdNeedDownload(int courseId, int courseType,
                                                                     const std::string& district,
                                                                     bool full,
                                                                     std::string& lastDate,
                                                                     bool downloadType) {
    lastDate = askFromDate(courseId, ContentItemSet::Subject, full, lastDate);
    std::optional<nlohmann::json> list = service_->loadNewCourseSubject_HadDistrict(
        courseId, courseType, district, lastDate, downloadType);
    if (!list || !list->is_array()) return {};
    std::vector<CourseSubjectDownloadEntity> entries;
    for (const nlohmann::json& object : *list) {
        if (!object.is_object()) continue;
        CourseSubjectDownloadEntity entry;
        entry.initWithDict(ExamWebServiceUtil::jsonToDict(object));
        entries.push_back(entry);
    }
    return ContentItemRule::expandSubjectRuns(entries);
}

std::vector<int> ClientDataExchange::toIdList(const nlohmann::json& list) {
    std::vector<int> ids;
    if (!list.is_array()) return ids;
    for (const nlohmann::json& object : list) {
        if (!object.is_object() || object.empty()) continue;
        const nlohmann::json& first = object.begin().value();
        if (first.is_number_integer()) {
            ids.push_back(first.get<int>());
        } else if (first.is_string()) {
            const std::string text = trim(first.get<std::string>());
            if (!text.empty()) ids.push_back(Value(text).asInt());
        }
    }
    return ids;
}

void ClientDataExchange::inRecordTransaction(const std::function<void()>& write) {
    if (!BeginTran()) throw ExamError("SQLite", "no transaction could be begun");
    try {
        write();
    } catch (...) {
        RollbackTran();
        throw;
    }
    if (!CommitTran()) throw ExamError("SQLite", "commit failed");
}

ContentBatchResult ClientDataExchange::downloadCourseChapter(int courseId,
                                                             const std::vector<int>& ids) {
    ContentBatchResult result;
    const std::optional<nlohmann::json> json =
        service_->loadCourseChapterListInfo(Value(courseId), toValues(ids));
    const nlohmann::json* list = openBatch(result, ids, json, service_->lastCallDelivered());
    if (!list) return result;
    {
        DatabaseScope scope(*this);
        for (const nlohmann::json& object : *list) {
            if (!object.is_object()) continue;
            CourseChapterEntity chapter;
            chapter.initWithDict(ExamWebServiceUtil::jsonToDict(object));
            downloadCourseChapterWithEntity(chapter);
            ++result.written;
        }
    }
    result.allWritten = true;
    return result;
}

ContentBatchResult ClientDataExchange::downloadCourseOutline(int courseId,
                                                             const std::vector<int>& ids) {
    ContentBatchResult result;
    const std::optional<nlohmann::json> json =
        service_->loadCourseOutlineListInfo(Value(courseId), toValues(ids));
    const nlohmann::json* list = openBatch(result, ids, json, service_->lastCallDelivered());
    if (!list) return result;
    DatabaseScope scope(*this);
    try {
        for (const nlohmann::json& object : *list) {
            if (!object.is_object()) continue;
            CourseOutlineEntity outline;
            outline.initWithDict(ExamWebServiceUtil::jsonToDict(object));
            downloadCourseOutlineWithEntity(outline);
            ++result.written;
        }
        result.allWritten = true;
    } catch (const ExamError& e) {
        logf("downloadCourseOutline error:%@%@", e.name(), e.reason());
    } catch (const std::exception& e) {
        logf("downloadCourseOutline error:%@%@", "exception", e.what());
    }
    return result;
}

ContentBatchResult ClientDataExchange::downloadCourseSubject(int courseId,
                                                             const std::vector<int>& ids) {
    ContentBatchResult result;
    const std::optional<nlohmann::json> json =
        service_->loadCourseSubjectListInfo(Value(courseId), toValues(ids));
    const nlohmann::json* list = openBatch(result, ids, json, service_->lastCallDelivered());
    if (!list) return result;
    const std::size_t picturesBefore = picturesSaved_;
    bool whole = true;
    DatabaseScope scope(*this);
    try {
        for (const nlohmann::json& object : *list) {
            if (!object.is_object()) continue;
            CourseSubjectEntity subject;
            // The service sends question texts plain; they are enciphered when stored.
            subject.initWithDict(ExamWebServiceUtil::jsonToDict(object), false);
            switch (downloadCourseSubjectWithEntity(subject, true)) {
                case SubjectWrite::Unchanged:
                    ++result.unchanged;
                    break;
                case SubjectWrite::Written:
                    ++result.written;
                    break;
                case SubjectWrite::PicturesMissing:
                    ++result.written;
                    whole = false;
                    break;
            }
        }
        result.allWritten = whole;
    } catch (const ExamError& e) {
        logf("downloadCourseSubject error:%@%@", e.name(), e.reason());
    } catch (const std::exception& e) {
        logf("downloadCourseSubject error:%@%@", "exception", e.what());
    }
    result.pictures = picturesSaved_ - picturesBefore;
    return result;
}

void ClientDataExchange::downloadCourseChapterWithEntity(const CourseChapterEntity& c) {
    inRecordTransaction([&] {
        std::optional<Value> found = ExecuteScalar(
            "select ichapterid from coursechapter where     icourseid=? and cchaptercode=? and "
            "itype=?",
            c.courseid, c.chaptercode, c.type);
        const int stored = found ? found->asInt() : 0;
        if (stored != 0 && stored == c.chapterid) {
            execute(
                "update coursechapter set cchaptername=?,bendgrade=?,igrade=?,icount=?,"
                "iexamtime=?,cdcname=?,cmemo=?,bstopflag=?,dchangedate=? where ichapterid=?",
                {c.chaptername, c.endgrade, c.grade, c.count, c.examtime, c.dcname, c.memo,
                 c.stopflag, Value(c.changedate), c.chapterid});
            return;
        }
        // Whatever row holds the server's id stands at another code or type: the server's record
        // takes its place.
        execute("delete from coursechapter where ichapterid=?", {c.chapterid});
        if (stored == 0) {
            execute(
                "insert into coursechapter(ichapterid,icourseid,cchaptercode,itype,cchaptername,"
                "bendgrade,igrade,icount,iexamtime,cdcname,cmemo,bstopflag,dchangedate,bdownload) "
                "values(?,?,?,?,?,?,?,?,?,?,?,?,?,0)",
                {c.chapterid, c.courseid, c.chaptercode, c.type, c.chaptername, c.endgrade, c.grade,
                 c.count, c.examtime, c.dcname, c.memo, c.stopflag, Value(c.changedate)});
            return;
        }
        // The stored row at this code and type carries another id: it becomes the server's row,
        // keeping its download mark.
        execute(
            "update coursechapter set ichapterid=?,cchaptername=?,bendgrade=?,igrade=?,icount=?,"
            "iexamtime=?,cdcname=?,cmemo=?,bstopflag=?,dchangedate=? where ichapterid=?",
            {c.chapterid, c.chaptername, c.endgrade, c.grade, c.count, c.examtime, c.dcname, c.memo,
             c.stopflag, Value(c.changedate), stored});
    });
}

void ClientDataExchange::downloadCourseOutlineWithEntity(const CourseOutlineEntity& o) {
    inRecordTransaction([&] {
        std::optional<Value> found = ExecuteScalar(
            "select ioutlineid from courseoutline where icourseid=? and coutlinecode=?", o.courseid,
            o.outlinecode);
        const int stored = found ? found->asInt() : 0;
        if (stored != 0 && stored == o.outlineid) {
            execute(
                "update courseoutline set itype=?,coutlinename=?,bendgrade=?,igrade=?,cdcname=?,"
                "curl=?,ctext=?,bstopflag=?,dchangedate=? where ioutlineid=?",
                {o.type, o.outlinename, o.endgrade, o.grade, o.dcname, o.url, o.text, o.stopflag,
                 Value(o.changedate), o.outlineid});
            return;
        }
        execute("delete from courseoutline where ioutlineid=?", {o.outlineid});
        if (stored == 0) {
            execute(
                "insert into courseoutline(ioutlineid,icourseid,coutlinecode,itype,coutlinename,"
                "bendgrade,igrade,cdcname,curl,ctext,bstopflag,dchangedate) "
                "values(?,?,?,?,?,?,?,?,?,?,?,?)",
                {o.outlineid, o.courseid, o.outlinecode, o.type, o.outlinename, o.endgrade, o.grade,
                 o.dcname, o.url, o.text, o.stopflag, Value(o.changedate)});
            return;
        }
        execute(
            "update courseoutline set ioutlineid=?,itype=?,coutlinename=?,bendgrade=?,igrade=?,"
            "cdcname=?,curl=?,ctext=?,bstopflag=?,dchangedate=? where ioutlineid=?",
            {o.outlineid, o.type, o.outlinename, o.endgrade, o.grade, o.dcname, o.url, o.text,
             o.stopflag, Value(o.changedate), stored});
    });
}

bool ClientDataExchange::updateCourseChapterChangeDate(int courseId, const std::string& date) {
    return ExecuteNonQuery("update course set dchapterchange=? where icourseid=?", date, courseId);
}

bool ClientDataExchange::updateCourseOutlineChangeDate(int courseId, const std::string& date) {
    return ExecuteNonQuery("update course set doutlinechange=? where icourseid=?", date, courseId);
}

bool ClientDataExchange::updateCourseSubjectChangeDate(int courseId, const std::string& date) {
    return ExecuteNonQuery("update course set dsubjectchange=? where icourseid=?", date, courseId);
}

bool ClientDataExchange::updateCourseChangeDate(int courseId, ContentItemSet itemSet,
                                                const std::string& date) {
    switch (itemSet) {
        case ContentItemSet::Chapter:
            return updateCourseChapterChangeDate(courseId, date);
        case ContentItemSet::Outline:
            return updateCourseOutlineChangeDate(courseId, date);
        case ContentItemSet::Subject:
            return updateCourseSubjectChangeDate(courseId, date);
    }
    return false;
}

bool ClientDataExchange::checkHadDownloadLog(int courseId, ContentItemSet itemSet) {
    std::optional<Value> date =
        ExecuteScalar(strformat("select %@ from course where icourseid=%d",
                                ContentItemRule::changeColumn(itemSet), courseId),
                      {});
    return date && !isEmpty(*date);
}

bool ClientDataExchange::checkCourseItemHadDownloaded(int courseId, const std::string& date,
                                                      ContentItemSet itemSet) {
    // The date is bound, not spliced: it may come from anywhere.
    return ExecuteScalar(strformat("select 0 from %@ where %@=%d and dchangedate>=? limit 1",
                                   ContentItemRule::tableName(itemSet), "icourseid", courseId),
                         {Value(date)})
        .has_value();
}

bool ClientDataExchange::checkCourseHadNewUpdate(int courseId, int courseType) {
    bool found = false;
    std::string dates[3];
    {
        DatabaseScope scope(*this);
        std::unique_ptr<SqliteResultSet> rs = ExecuteDataReader(
            "select dchapterchange,dsubjectchange,doutlinechange from course where icourseid=?",
            courseId);
        if (!rs) {
            throw ExamError("SQLite", db() ? db()->lastErrorMessage() : "no database");
        }
        if (rs->next()) {
            found = true;
            for (int i = 0; i < 3; ++i) {
                std::optional<std::string> text = rs->stringForColumnIndex(i);
                if (!isEmpty(text)) dates[i] = *text;
            }
        }
        rs->close();
    }
    if (!found) return service_->checkCourseHadNewUpdate(courseId, courseType, 0, "");
    // A course whose chapters or questions were never downloaded has everything still to come.
    if (dates[0].empty() || dates[1].empty()) return true;
    const LatestContentChange latest = ContentItemRule::latestChange(dates[0], dates[1], dates[2]);
    return service_->checkCourseHadNewUpdate(courseId, courseType, latest.updateobj, latest.date);
}

}  // namespace examora
