// ClientDataExchange: the question writer and the placing of question pictures.
#include <string_view>

#include "app/common_setting.h"
#include "platform/file_util.h"
#include "platform/log.h"
#include "platform/strformat.h"
#include "platform/text_util.h"
#include "store/content_cipher.h"
#include "sync/client_data_exchange.h"
#include "sync/subject_picture_rule.h"

namespace examora {

namespace {

constexpr std::string_view kStoredPicturePrefix = "file_dbpath/image";

std::string encipher(const std::string& plain, const char* column) {
    std::optional<std::string> text = ContentCipher::encipher(plain);
    if (!text) throw ExamError("cipher", std::string("cannot encipher ") + column);
    return *text;
}

}  // namespace

SubjectWrite ClientDataExchange::downloadCourseSubjectWithEntity(CourseSubjectEntity& s,
                                                                 bool downloadImage) {
    const std::optional<Value> stored =
        ExecuteScalar("select dchangedate from coursesubject where isubjectid=?", s.subjectid);
    const bool exists = stored.has_value();
    const std::optional<std::string> storedDate =
        exists && stored->isText() ? std::optional<std::string>(*stored->textPtr()) : std::nullopt;
    if (exists && s.changedate && downloadImage && storedDate == s.changedate) {
        if (CommonSetting::DownloadSubjectType() == 1) {
            execute("update coursesubject set cmaker='' where isubjectid=?", {s.subjectid});
        }
        return SubjectWrite::Unchanged;
    }

    bool picturesWhole = true;
    if (downloadImage && (s.picanswer || s.picquestion)) picturesWhole = downloadSubjectPictures(s);
    s.title = replaceImagePath(s.title, true);
    s.question = replaceImagePath(s.question, true);
    s.description = replaceImagePath(s.description, true);
    const std::string title = encipher(s.title, "ctitle");
    const std::string description = encipher(s.description, "cdescription");
    // Without all its pictures the question keeps the change date it had, so that the unchanged
    // short cut does not skip it on the next sync and its pictures are fetched again.
    const Value date = picturesWhole ? Value(s.changedate) : (exists ? *stored : Value());

    // One statement, atomic on its own (and part of the caller's transaction if one is open).
    if (exists) {
        execute(
            "update coursesubject set icourseid=?,ichapterid=?,isubjecttype=?,ichaptertype=?,"
            "iindex=?,iscore=?,ctitle=?,cquestion=?,canswer=?,ianswercount=?,cdescription=?,"
            "csubjecttype=?,bpicquestion=?,bpicanswer=?,bstopflag=?,dchangedate=?,cmaker='' "
            "where isubjectid=?",
            {s.courseid, s.chapterid, s.subjecttype, s.chaptertype, s.index, Value(s.score), title,
             s.question, s.answer, s.answercount, description, s.subjecttypestring, s.picquestion,
             s.picanswer, s.stopflag, date, s.subjectid});
    } else {
        execute(
            "insert into coursesubject(isubjectid,icourseid,ichapterid,isubjecttype,"
            "ichaptertype,iindex,iscore,ctitle,cquestion,canswer,ianswercount,cdescription,"
            "csubjecttype,bpicquestion,bpicanswer,bstopflag,dchangedate,cmaker,bremember,"
            "bcollect,iwrong) values(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,'',0,0,0)",
            {s.subjectid, s.courseid, s.chapterid, s.subjecttype, s.chaptertype, s.index,
             Value(s.score), title, s.question, s.answer, s.answercount, description,
             s.subjecttypestring, s.picquestion, s.picanswer, s.stopflag, date});
    }
    return picturesWhole ? SubjectWrite::Written : SubjectWrite::PicturesMissing;
}

bool ClientDataExchange::downloadSubjectPictures(CourseSubjectEntity& s) {
    std::optional<nlohmann::json> list = service_->loadSubjectImageList(Value(s.subjectid));
    if (!service_->lastCallDelivered()) {
        logf("loadSubjectImageList error:%d", s.subjectid);
        return false;
    }
    if (!list || !list->is_array() || list->empty()) return true;
    const std::string directory = getImageRelativePath(s.courseid, false);
    bool whole = true;
    for (const nlohmann::json& object : *list) {
        if (!object.is_object()) continue;
        TableImageEntity image;
        image.initWithDict(ExamWebServiceUtil::jsonToDict(object));
        whole = downloadSubjectTableImage(s, image, directory, s.subjectid) && whole;
    }
    return whole;
}

bool ClientDataExchange::downloadSubjectTableImage(CourseSubjectEntity& subject,
                                                   const TableImageEntity& image,
                                                   const std::string& directory, int subjectId) {
    if (image.image.empty()) return true;
    if (!SubjectPictureRule::isSafeExtension(image.extname)) {
        logf("save image error: %@%@", "refused a picture of subject ",
             strformat("%d: its extension could leave the picture folder", subjectId));
        return true;
    }
    const PicturePosition position = SubjectPictureRule::position(image.tblname);
    const std::string path =
        directory + SubjectPictureRule::fileName(subjectId, position, image.extname);
    std::string error;
    const bool saved = writeFileAtomically(
        path,
        std::string_view(reinterpret_cast<const char*>(image.image.data()), image.image.size()),
        0644, &error);
    if (saved) {
        ++picturesSaved_;
    } else {
        logf("save image error: %@%@", path, error);
    }

    const std::string token = SubjectPictureRule::token(position);
    if (position.a != 0) {
        if (subject.description.find(token) == std::string::npos) subject.description += token;
        subject.description = repalceSubjectImageString(subject.description, token, path);
    } else {
        const bool inTitle = subject.title.find(token) != std::string::npos;
        const bool inQuestion = subject.question.find(token) != std::string::npos;
        if (inTitle) subject.title = repalceSubjectImageString(subject.title, token, path);
        if (inQuestion) {
            subject.question = repalceSubjectImageString(subject.question, token, path);
        }
        if (!inTitle && !inQuestion) {
            subject.title = repalceSubjectImageString(subject.title + token, token, path);
        }
    }
    return saved;
}

std::string ClientDataExchange::getImageRelativePath(int courseId, bool url) {
    const std::string directory = CommonSetting::ImagePath() + "/" + std::to_string(courseId) + "/";
    if (url) return "file://" + directory;
    if (!isDirectory(directory)) ensureDirectory(directory);
    return directory;
}

std::string ClientDataExchange::repalceSubjectImageString(const std::string& text,
                                                          const std::string& token,
                                                          const std::string& path) {
    return SubjectPictureRule::replaceToken(text, token, path);
}

std::string ClientDataExchange::replaceImagePath(const std::string& text, bool replace) {
    if (!replace || text.find(kStoredPicturePrefix) == std::string::npos) return text;
    return replaceAll(text, kStoredPicturePrefix, "file://" + CommonSetting::ImagePath());
}

}  // namespace examora
