#include "support/course_builder.h"

#include <stdexcept>

#include "platform/strformat.h"
#include "store/content_cipher.h"

namespace examora {

namespace {

void require(bool ok, const std::string& what) {
    if (!ok) throw std::runtime_error("test content not written: " + what);
}

}  // namespace

CourseBuilder::CourseBuilder() {
    db_.OpenDataBase();
}

CourseBuilder::~CourseBuilder() {
    db_.CloseDataBase();
}

int CourseBuilder::nextId(const char* column, const char* table) {
    return db_.ExecuteScalarInt(strformat("select coalesce(max(%@),0)+1 from %@", column, table),
                                std::vector<Value>{});
}

int CourseBuilder::course(int courseId, const std::string& name) {
    require(db_.ExecuteNonQuery(
                "insert into course(icourseid,iclassid,isubclassid,ccoursename,iindex,bstopflag,"
                "bdistrict,dchangedate,dcreatedate,dchapterchange,dsubjectchange,doutlinechange) "
                "values (?,1,1,?,?,0,0,datetime('now','localtime'),datetime('now','localtime'),"
                "datetime('now','localtime'),datetime('now','localtime'),"
                "datetime('now','localtime'))",
                courseId, name, courseId),
            "course");
    return courseId;
}

std::vector<int> CourseBuilder::chapters(int courseId, int type,
                                         const std::vector<std::string>& codes) {
    std::vector<int> ids;
    int id = nextId("ichapterid", "coursechapter");
    for (const std::string& code : codes) {
        bool leaf = true;
        for (const std::string& other : codes)
            if (other.size() > code.size() && other.compare(0, code.size(), code) == 0)
                leaf = false;
        const int grade = static_cast<int>(code.size()) / 2 - 1;
        require(db_.ExecuteNonQuery(
                    "insert into coursechapter(ichapterid,icourseid,cchaptercode,itype,"
                    "cchaptername,bendgrade,igrade,icount,iexamtime,bstopflag,dchangedate,"
                    "bdownload) values (?,?,?,?,?,?,?,0,0,0,datetime('now','localtime'),0)",
                    id, courseId, code, type, "第" + code + "章", leaf, grade),
                "chapter " + code);
        ids.push_back(id++);
    }
    return ids;
}

int CourseBuilder::subject(const NewSubject& s) {
    const int id = nextId("isubjectid", "coursesubject");
    int index = s.index;
    if (index == 0) {
        index = db_.ExecuteScalarInt(
            "select coalesce(max(iindex),0)+1 from coursesubject where ichapterid=?", s.chapterId);
    }
    const std::vector<Value> args{
        id,
        s.courseId,
        s.chapterId,
        s.type,
        s.chapterType,
        index,
        s.score ? Value(*s.score) : Value(),
        ContentCipher::encipher(s.title).value_or(""),
        s.question,
        s.answer,
        s.answerCount,
        ContentCipher::encipher(s.description).value_or(""),
        s.subjecttypestring,
        s.stopflag,
        s.maker,
        s.myanswer,
        s.correct,
        s.myscore,
        s.answerdate,
        s.wrong,
        s.remember,
        s.collect,
    };
    require(db_.ExecuteNonQuery(
                "insert into coursesubject(isubjectid,icourseid,ichapterid,isubjecttype,"
                "ichaptertype,iindex,iscore,ctitle,cquestion,canswer,ianswercount,cdescription,"
                "csubjecttype,bpicquestion,bpicanswer,brich,bstopflag,dchangedate,cmaker,"
                "cmyanswer,bcorrect,imyscore,danswerdate,iwrong,bremember,drememberdate,bcollect)"
                " values (?,?,?,?,?,?,?,?,?,?,?,?,?,0,0,0,?,datetime('now','localtime'),?,?,?,?,?,"
                "?,?,null,?)",
                args),
            "subject");
    return id;
}

std::vector<int> CourseBuilder::subjects(int n, const NewSubject& subject) {
    std::vector<int> ids;
    for (int i = 0; i < n; ++i)
        ids.push_back(this->subject(subject));
    return ids;
}

int CourseBuilder::paper(int courseId, const std::vector<int>& subjectIds, int fromChapter,
                         const std::vector<std::string>& answers) {
    const bool taken = !answers.empty();
    require(
        db_.ExecuteNonQuery(
            "insert into simulationpaper(icourseid,cpapername,itotaltime,itotalscore,iscore,"
            "iexam,ifromchapter,isubjectcount,dcreatedate,dexamtime) values (?,?,60,?,0,?,?,?,"
            "datetime('now','localtime'),?)",
            courseId,
            strformat("%d会计基础全真模拟试题%d", 2026, nextId("ipaperid", "simulationpaper")),
            static_cast<int>(subjectIds.size()), taken ? 1 : 0, fromChapter,
            static_cast<int>(subjectIds.size()), taken ? Value("2026-12-01 10:00:00") : Value()),
        "paper");
    const int paperId =
        db_.ExecuteScalarInt("select max(ipaperid) from simulationpaper", std::vector<Value>{});
    for (std::size_t i = 0; i < subjectIds.size(); ++i) {
        const std::string answer = i < answers.size() ? answers[i] : std::string();
        require(db_.ExecuteNonQuery("insert into simulationpaperdetail(ipaperid,iindex,isubjectid,"
                                    "cmyanswer,bcorrect,iscore,imyscore) values (?,?,?,?,0,1,0)",
                                    paperId, static_cast<int>(i + 1), subjectIds[i], answer),
                "paper detail");
    }
    return paperId;
}

int CourseBuilder::note(int subjectId, const std::string& text) {
    require(db_.ExecuteNonQuery("insert into cs_writenote(isubjectid,cnotetext,dchangedate) values "
                                "(?,?,datetime('now','localtime'))",
                                subjectId, text),
            "note");
    return db_.ExecuteScalarInt("select max(id) from cs_writenote", std::vector<Value>{});
}

int CourseBuilder::errorReport(int subjectId, const std::string& text, int errorType) {
    require(db_.ExecuteNonQuery("insert into cs_writeerror(isubjectid,ierrortype,cerrortext,"
                                "dchangedate) values (?,?,?,datetime('now','localtime'))",
                                subjectId, errorType, text),
            "correction report");
    return db_.ExecuteScalarInt("select max(id) from cs_writeerror", std::vector<Value>{});
}

}  // namespace examora
