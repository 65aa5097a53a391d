// CourseUtil: reading the course catalogue (classes, courses, districts, messages, pictures).

#include "engine/course_util.h"
#include "platform/strformat.h"
#include "platform/text_util.h"
#include "store/database_scope.h"

namespace examora {

std::vector<BaseItemEntity> CourseUtil::loadCourseClassList() {
    std::vector<BaseItemEntity> list;
    DatabaseScope scope(*this);
    auto rs = ExecuteDataReader(
        "select iclassid,ccoursecname from courseclass where bstopflag=0 order by iindex",
        std::vector<Value>{});
    while (rs && rs->next()) {
        BaseItemEntity item;
        const std::string key = std::to_string(rs->intForColumnIndex(0));
        item.initWithPara(key, rs->stringForColumnIndex(1).value_or(""), "",
                          static_cast<int>(list.size()) + 1, getClassImage(key).value_or(Bytes()));
        list.push_back(std::move(item));
    }
    return list;
}

std::vector<BaseItemEntity> CourseUtil::loadCourseSubClassList(int classId) {
    std::vector<BaseItemEntity> list;
    if (classId < 1) return list;
    DatabaseScope scope(*this);
    const Bytes image = getClassImage(std::to_string(classId)).value_or(Bytes());
    auto rs = ExecuteDataReader(
        "select isubclassid,csubclassname from coursesubclass where iclassid=? and bstopflag=0 "
        "order by iindex",
        classId);
    while (rs && rs->next()) {
        BaseItemEntity item;
        item.initWithPara(std::to_string(rs->intForColumnIndex(0)),
                          rs->stringForColumnIndex(1).value_or(""), "",
                          static_cast<int>(list.size()) + 1, image);
        list.push_back(std::move(item));
    }
    return list;
}

std::vector<BaseItemEntity> CourseUtil::loadCourseList(int classId, int subClassId,
                                                       const std::string& nameFilter) {
    std::string condition;
    if (classId >= 1) {
        condition = strformat("a.isubclassid=%d and a.iclassid=%d", subClassId, classId);
    } else if (classId == -1 && subClassId == -1) {
        condition = "a.iclassid>=0";
    } else if (classId == -1) {
        condition = strformat("a.isubclassid=%d", subClassId);
    } else {
        // Class ids 0 and below -1 select nothing; say so rather than build a broken condition.
        condition = "0";
    }
    std::vector<Value> args;
    if (!isEmpty(std::string_view(nameFilter))) {
        // "Contains" as plain text, ignoring ASCII case as LIKE would: instr has no pattern
        // characters, no length limit, and does not stop at a NUL as a LIKE pattern does.
        condition += " and instr(lower(a.ccoursename),lower(?))>0";
        args.emplace_back(nameFilter);
    }
    condition += " and a.bstopflag=0";
    return loadCourseListWhere(condition, args);
}

std::vector<BaseItemEntity> CourseUtil::loadCourseList(const std::string& condition) {
    return loadCourseListWhere(
        isEmpty(std::string_view(condition)) ? std::string("a.bstopflag=0") : condition, {});
}

std::vector<BaseItemEntity> CourseUtil::loadCourseListWhere(const std::string& condition,
                                                            const std::vector<Value>& args) {
    std::vector<BaseItemEntity> list;
    DatabaseScope scope(*this);
    auto rs = ExecuteDataReader(
        strformat("select a.iclassid,a.icourseid,a.ccoursename from course a where %@ order by "
                  "a.iindex",
                  condition),
        args);
    while (rs && rs->next()) {
        BaseItemEntity item;
        item.initWithPara(
            std::to_string(rs->intForColumnIndex(1)), rs->stringForColumnIndex(2).value_or(""), "",
            static_cast<int>(list.size()) + 1,
            getClassImage(std::to_string(rs->intForColumnIndex(0))).value_or(Bytes()));
        list.push_back(std::move(item));
    }
    return list;
}

std::vector<BaseTreeItemEntity> CourseUtil::LoadCourseTreeList() {
    std::vector<BaseTreeItemEntity> list;
    DatabaseScope scope(*this);
    auto rs = ExecuteDataReader(
        "select a.iclassid,a.ccoursecname,b.icourseid,b.ccoursename from courseclass a,course b "
        "where a.iclassid=b.iclassid and a.bstopflag=0 and b.bstopflag=0 "
        "order by a.iindex,a.iclassid,b.iindex",
        std::vector<Value>{});
    std::optional<int> previousClass;
    const auto add = [&list](std::string key, std::string name, int grade) {
        BaseTreeItemEntity item;
        item.initWithPara(std::move(key), std::move(name), "", static_cast<int>(list.size()) + 1,
                          Bytes());
        item.grade = grade;
        list.push_back(std::move(item));
    };
    while (rs && rs->next()) {
        const int classId = rs->intForColumnIndex(0);
        if (previousClass != classId) {
            add(std::to_string(classId), rs->stringForColumnIndex(1).value_or(""), 0);
            previousClass = classId;
        }
        add(std::to_string(rs->intForColumnIndex(2)), rs->stringForColumnIndex(3).value_or(""), 1);
    }
    return list;
}

std::optional<Bytes> CourseUtil::getClassImage(const std::string& classId) {
    if (isEmpty(std::string_view(classId))) return std::nullopt;
    if (const auto it = hmClassImage.find(classId); it != hmClassImage.end()) return it->second;
    std::optional<Bytes> image = ExecuteScalarByte(
        "select pimage from sys_tableimage where csourceid=? and ctblname='courseclass'", classId);
    if (image) hmClassImage.emplace(classId, *image);
    return image;
}

std::optional<std::string> CourseUtil::getCourseName(int courseId) {
    return ExecuteScalarString("select ccoursename from course where icourseid=?", courseId);
}

int CourseUtil::getClassIdBySubCalss(int subClassId) {
    return ExecuteScalarInt("select iclassid from coursesubclass where isubclassid=?", subClassId);
}

int CourseUtil::getCourseClassId(int courseId) {
    return ExecuteScalarInt("select iclassid from course where icourseid=?", courseId);
}

std::optional<std::string> CourseUtil::getChapterName(int chapterId) {
    return ExecuteScalarString("select cchaptername from coursechapter where ichapterid=?",
                               chapterId);
}

int CourseUtil::getChapterIdOfSubject(int subjectId) {
    return ExecuteScalarInt("select ichapterid from coursesubject where isubjectid=?", subjectId);
}

bool CourseUtil::checkCourseHadDistrict(int courseId) {
    return ExecuteScalarInt("select bdistrict from course where icourseid=?", courseId) != 0;
}

std::vector<std::string> CourseUtil::loadDistrict() {
    std::vector<std::string> names;
    DatabaseScope scope(*this);
    auto rs =
        ExecuteDataReader("select cdcname from district order by cdccode", std::vector<Value>{});
    while (rs && rs->next())
        names.push_back(rs->stringForColumnIndex(0).value_or(""));
    return names;
}

FinishCountResult CourseUtil::getCourseFinishCount(int courseId) {
    return getCourseFinishCount(courseId, false);
}

FinishCountResult CourseUtil::getCourseFinishCount(int courseId, bool calcTotalCount) {
    FinishCountResult result;
    DatabaseScope scope(*this);
    // With the total, all three counts come from one pass over the course's subjects.
    auto rs = calcTotalCount
                  ? ExecuteDataReader(
                        "select count(*) itotalcount,sum(case when cmyanswer>'' then 1 else 0 end) "
                        "icount,sum(case when cmyanswer>'' and bcorrect=1 then 1 else 0 end) "
                        "icorrectcount from coursesubject where icourseid=? and bstopflag=0",
                        courseId)
                  : ExecuteDataReader(
                        "select count(*) icount,sum(case when bcorrect=1 then 1 else 0 end) "
                        "icorrectcount from coursesubject where icourseid=? and cmyanswer>'' and "
                        "bstopflag=0",
                        courseId);
    if (rs && rs->next()) {
        if (calcTotalCount) result.itotalcount = rs->intForColumn("itotalcount");
        result.finishcount = rs->intForColumn("icount");
        result.correctcount = rs->intForColumn("icorrectcount");
    }
    return result;
}

std::vector<MessageEntity> CourseUtil::loadMessageListByCourseId(int courseId,
                                                                 const std::string& messageType) {
    std::vector<MessageEntity> list;
    std::vector<Value> args;
    std::string typeCondition;
    if (!isEmpty(std::string_view(messageType))) {
        typeCondition = " and ctype=?";
        args.emplace_back(messageType);
    }
    args.emplace_back(courseId);
    DatabaseScope scope(*this);
    auto rs = ExecuteDataReader(
        strformat("select cmsgid,cmsgtitle,cmsgurl from sys_message where bstopflag=0 %@ and "
                  "(icourseid=0 or icourseid=?) order by cmsgid",
                  typeCondition),
        args);
    while (rs && rs->next()) {
        MessageEntity message;
        message.initWithDict(rs->resultDictionary());
        list.push_back(std::move(message));
    }
    return list;
}

std::vector<PhotoADEntity> CourseUtil::loadPhotoADList() {
    std::vector<PhotoADEntity> list;
    DatabaseScope scope(*this);
    auto rs = ExecuteDataReader("select * from sys_photoad where bstopflag=0 order by ipaid",
                                std::vector<Value>{});
    while (rs && rs->next()) {
        PhotoADEntity photo;
        photo.url = rs->stringForColumn("curl").value_or("");
        photo.image = rs->dataForColumn("pimage").value_or(Bytes());
        list.push_back(std::move(photo));
    }
    return list;
}

std::vector<PhotoADEntity> CourseUtil::loadPhotoADImage() {
    std::vector<PhotoADEntity> list;
    DatabaseScope scope(*this);
    auto rs = ExecuteDataReader(
        "select pimage from sys_tableimage where ctblname='sys_cussetting' and csourceid like "
        "'pphoneimage%' order by csourceid",
        std::vector<Value>{});
    while (rs && rs->next()) {
        PhotoADEntity photo;
        photo.image = rs->dataForColumnIndex(0).value_or(Bytes());
        list.push_back(std::move(photo));
    }
    return list;
}

}  // namespace examora
