// ClientDataExchange: the upserts of the seven base-item tables, with their mark and sweep.
#include <algorithm>

#include "platform/strformat.h"
#include "store/records/course_class_entity.h"
#include "store/records/course_entity.h"
#include "store/records/course_sub_class_entity.h"
#include "store/records/cus_setting_entity.h"
#include "store/records/district_entity.h"
#include "store/records/message_entity.h"
#include "store/records/photo_ad_entity.h"
#include "sync/base_item_rule.h"
#include "sync/client_data_exchange.h"

namespace examora {

struct ClientDataExchange::UpsertStatements {
    const char* exists;  // one key argument
    const char* update;  // every other column, then the key
    const char* insert;  // the key, then every other column
    const char* mark;    // full reload: every row becomes a candidate for removal
    const char* sweep;   // full reload: removes the rows still marked
};

namespace {

using Statements = ClientDataExchange::UpsertStatements;

constexpr Statements kCourseClass{
    "select 0 from courseclass where iclassid=?",
    "update courseclass set ccoursecname=?,csubjecttypes=?,dchangedate=?,iindex=?,bstopflag=? "
    "where iclassid=?",
    "insert into courseclass(iclassid,ccoursecname,csubjecttypes,dchangedate,iindex,bstopflag) "
    "values(?,?,?,?,?,?)",
    "update courseclass set bstopflag=1",
    "delete from courseclass where bstopflag=1",
};

constexpr Statements kCourseSubClass{
    "select 0 from coursesubclass where isubclassid=?",
    "update coursesubclass set csubclassname=?,iclassid=?,dchangedate=?,iindex=?,bstopflag=? "
    "where isubclassid=?",
    "insert into coursesubclass(isubclassid,csubclassname,iclassid,dchangedate,iindex,bstopflag) "
    "values(?,?,?,?,?,?)",
    "update coursesubclass set bstopflag=1",
    "delete from coursesubclass where bstopflag=1",
};

constexpr Statements kCourse{
    "select 0 from course where icourseid=?",
    "update course set iclassid=?,isubclassid=?,ccoursename=?,iindex=?,bstopflag=?,bdistrict=?,"
    "dchangedate=?,dcreatedate=?,cexamdate=?,ctypscount=? where icourseid=?",
    "insert into course(icourseid,iclassid,isubclassid,ccoursename,iindex,bstopflag,bdistrict,"
    "dchangedate,dcreatedate,cexamdate,ctypscount) values(?,?,?,?,?,?,?,?,?,?,?)",
    "update course set bstopflag=1",
    "delete from course where bstopflag=1",
};

constexpr Statements kDistrict{
    "select 0 from district where cdccode=?",
    "update district set cdcname=?,bendgrade=?,igrade=?,cmemo=?,dchangedate=? where cdccode=?",
    "insert into district(cdccode,cdcname,bendgrade,igrade,cmemo,dchangedate) "
    "values(?,?,?,?,?,?)",
    "update district set cmemo='-'",
    "delete from district where cmemo='-'",
};

constexpr Statements kCusSetting{
    "select 0 from sys_cussetting where cname=?",
    "update sys_cussetting set cvalue=?,dchangedate=? where cname=?",
    "insert into sys_cussetting(cname,cvalue,dchangedate) values(?,?,?)",
    "update sys_cussetting set dchangedate=null",
    "delete from sys_cussetting where dchangedate is null",
};

constexpr Statements kMessage{
    "select 0 from sys_message where cmsgid=?",
    "update sys_message set cmsgtitle=?,cmsgurl=?,ctype=?,iindex=?,icourseid=?,bstopflag=?,"
    "dchangedate=?,dstartdate=?,denddate=? where cmsgid=?",
    "insert into sys_message(cmsgid,cmsgtitle,cmsgurl,ctype,iindex,icourseid,bstopflag,"
    "dchangedate,dstartdate,denddate) values(?,?,?,?,?,?,?,?,?,?)",
    "update sys_message set bstopflag=1",
    "delete from sys_message where bstopflag=1",
};

constexpr Statements kPhotoAD{
    "select 0 from sys_photoad where ipaid=?",
    "update sys_photoad set cpatitle=?,pimage=?,curl=?,cextname=?,bstopflag=?,dchangedate=?,"
    "dstartdate=?,denddate=? where ipaid=?",
    "insert into sys_photoad(ipaid,cpatitle,pimage,curl,cextname,bstopflag,dchangedate,"
    "dstartdate,denddate) values(?,?,?,?,?,?,?,?,?)",
    "update sys_photoad set bstopflag=1",
    "delete from sys_photoad where bstopflag=1",
};

template <class Record>
Record recordOf(const Dict& object) {
    Record record;
    record.initWithDict(object);
    return record;
}

}  // namespace

bool ClientDataExchange::rowExists(const char* sql, const std::vector<Value>& key) {
    std::unique_ptr<SqliteResultSet> rs = ExecuteDataReader(sql, key);
    if (!rs) throw ExamError("SQLite", db() ? db()->lastErrorMessage() : std::string(sql));
    return rs->next();
}

void ClientDataExchange::execute(const char* sql, const std::vector<Value>& args) {
    if (!ExecuteNonQuery(sql, args)) {
        throw ExamError("SQLite", db() ? db()->lastErrorMessage() : std::string(sql));
    }
}

void ClientDataExchange::upsertRows(const UpsertStatements& sql, const nlohmann::json& list,
                                    bool fullReload, const RowColumns& columns,
                                    const std::function<void(const Value& key)>& afterRow) {
    if (fullReload) execute(sql.mark, {});
    for (const nlohmann::json& object : list) {
        // Only an object makes a record.
        if (!object.is_object()) continue;
        std::vector<Value> values = columns(ExamWebServiceUtil::jsonToDict(object));
        const Value key = values.front();
        if (rowExists(sql.exists, {key})) {
            // The key moves from the front to the end, after the columns it sets.
            std::rotate(values.begin(), values.begin() + 1, values.end());
            execute(sql.update, values);
        } else {
            execute(sql.insert, values);
        }
        if (afterRow) afterRow(key);
    }
    if (fullReload) execute(sql.sweep, {});
}

void ClientDataExchange::upsertItem(const std::string& itemName, const nlohmann::json& list,
                                    bool fullReload, const TablePictures* pictures) {
    switch (BaseItemRule::tableFor(itemName)) {
        case BaseItemTable::CourseClass:
            downloadCourseClass(list, fullReload, pictures);
            break;
        case BaseItemTable::CourseSubClass:
            downloadCourseSubClass(list, fullReload);
            break;
        case BaseItemTable::Course:
            downloadCourse(list, fullReload);
            break;
        case BaseItemTable::District:
            downloadDistrict(list, fullReload);
            break;
        case BaseItemTable::CusSetting:
            downloadCusSetting(list, fullReload);
            break;
        case BaseItemTable::Message:
            downloadCusMessage(list, fullReload);
            break;
        case BaseItemTable::PhotoAD:
            downloadPhotoAD(list, fullReload);
            break;
        case BaseItemTable::Unknown:
            break;
    }
}

void ClientDataExchange::downloadCourseClass(const nlohmann::json& list, bool fullReload,
                                             const TablePictures* pictures) {
    auto columns = [](const Dict& object) -> std::vector<Value> {
        auto r = recordOf<CourseClassEntity>(object);
        return {r.classid, r.coursecname, r.subjecttypes, r.changedate, r.index, r.stopflag};
    };
    auto picture = [&](const Value& key) {
        const std::string sourceId = strformat("%d", key.asInt64());
        if (pictures) {
            auto found = pictures->find(sourceId);
            if (found != pictures->end()) {
                if (found->second) downloadTableImage(*found->second, "courseclass", sourceId);
                return;
            }
        }
        downloadTableImage("courseclass", sourceId);
    };
    upsertRows(kCourseClass, list, fullReload, columns, picture);
}

void ClientDataExchange::downloadCourseSubClass(const nlohmann::json& list, bool fullReload) {
    upsertRows(kCourseSubClass, list, fullReload, [](const Dict& object) -> std::vector<Value> {
        auto r = recordOf<CourseSubClassEntity>(object);
        return {r.subclassid, r.subclassname, r.classid, r.changedate, r.index, r.stopflag};
    });
}

void ClientDataExchange::downloadCourse(const nlohmann::json& list, bool fullReload) {
    // A database from before these columns existed gets them here, inside the item's transaction.
    if (!ExistsCol("course", "cexamdate")) {
        execute("alter table course add [cexamdate] char(10) null", {});
    }
    if (!ExistsCol("course", "ctypscount")) {
        execute("alter table course add [ctypscount] char(200) null", {});
    }
    upsertRows(kCourse, list, fullReload, [](const Dict& object) -> std::vector<Value> {
        auto r = recordOf<CourseEntity>(object);
        return {r.courseid, r.classid,    r.subclassid, r.coursename, r.index,    r.stopflag,
                r.district, r.changedate, r.createdate, r.examdate,   r.typscount};
    });
}

void ClientDataExchange::downloadDistrict(const nlohmann::json& list, bool fullReload) {
    upsertRows(kDistrict, list, fullReload, [](const Dict& object) -> std::vector<Value> {
        auto r = recordOf<DistrictEntity>(object);
        return {r.dccode, r.dcname, r.endgrade, r.grade, r.memo, r.changedate};
    });
}

void ClientDataExchange::downloadCusSetting(const nlohmann::json& list, bool fullReload) {
    upsertRows(kCusSetting, list, fullReload, [](const Dict& object) -> std::vector<Value> {
        auto r = recordOf<CusSettingEntity>(object);
        return {r.name, r.value, r.changedate};
    });
}

void ClientDataExchange::downloadCusMessage(const nlohmann::json& list, bool fullReload) {
    upsertRows(kMessage, list, fullReload, [](const Dict& object) -> std::vector<Value> {
        auto r = recordOf<MessageEntity>(object);
        return {r.msgid,    r.msgtitle, r.msgurl,     r.type,      r.index,
                r.courseid, r.stopflag, r.changedate, r.startdate, r.enddate};
    });
}

void ClientDataExchange::downloadPhotoAD(const nlohmann::json& list, bool fullReload) {
    upsertRows(kPhotoAD, list, fullReload, [](const Dict& object) -> std::vector<Value> {
        auto r = recordOf<PhotoADEntity>(object);
        return {r.paid,     r.patitle,    r.image,     r.url,    r.extname,
                r.stopflag, r.changedate, r.startdate, r.enddate};
    });
}

}  // namespace examora
