// CourseSubjectEntity: a row of coursesubject, its title and explanation deciphered or not.

#include "store/records/course_subject_entity.h"

#include "platform/text_util.h"
#include "store/content_cipher.h"
#include "store/records/record_fields.h"

namespace examora {

namespace rf = record_fields;

namespace {

std::string readContent(const Value& v, bool decipher) {
    std::string stored = rf::text(v);
    if (!decipher || stored.empty()) return stored;
    return ContentCipher::decipher(stored).value_or(std::string());
}

}  // namespace

void CourseSubjectEntity::initWithDict(const Dict* dict, bool decipher) {
    const Dict& d = rf::orEmpty(dict);
    subjectid = rf::integer(d.get("isubjectid"));
    courseid = rf::integer(d.get("icourseid"));
    chapterid = rf::integer(d.get("ichapterid"));
    subjecttype = rf::integer(d.get("isubjecttype"));
    chaptertype = rf::integer(d.get("ichaptertype"));
    index = rf::integer(d.get("iindex"));
    score = rf::optionalNumber(d.get("iscore"));
    title = readContent(d.get("ctitle"), decipher);
    question = rf::text(d.get("cquestion"));
    answer = trim(rf::text(d.get("canswer")));
    answercount = rf::integer(d.get("ianswercount"));
    description = readContent(d.get("cdescription"), decipher);
    subjecttypestring = rf::text(d.get("csubjecttype"));
    picquestion = rf::boolean(d.get("bpicquestion"));
    picanswer = rf::boolean(d.get("bpicanswer"));
    rich = rf::boolean(d.get("brich"));
    stopflag = rf::boolean(d.get("bstopflag"));
    changedate = rf::dateText(d.get("dchangedate"));
    maker = rf::text(d.get("cmaker"));
    myanswer = rf::text(d.get("cmyanswer"));
    correct = rf::boolean(d.get("bcorrect"));
    myscore = rf::number(d.get("imyscore"));
    answerdate = rf::date(d.get("danswerdate"));
    wrong = rf::integer(d.get("iwrong"));
    remember = rf::boolean(d.get("bremember"));
    rememberdate = rf::date(d.get("drememberdate"));
    collect = rf::boolean(d.get("bcollect"));
}

}  // namespace examora
