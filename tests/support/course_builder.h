#pragma once

#include <optional>
#include <string>
#include <vector>

#include "store/sqlite_helper.h"

namespace examora {

// One subject to store; the defaults make an unanswered single choice worth 1 point. Title and
// description are given plain and stored enciphered, as the synchronisation stores them.
struct NewSubject {
    int courseId = 1;
    int chapterId = 0;
    int type = 0;
    int chapterType = 0;
    int index = 0;  // 0: the next position in the chapter
    std::optional<int> score = 1;
    std::string title = "下列各项中，属于会计基本假设的是（ ）。";
    std::string question = "A.会计主体 B.持续经营 C.会计分期 D.货币计量";
    std::string answer = "A";
    int answerCount = 4;
    std::string description = "解析：会计基本假设包括会计主体、持续经营、会计分期和货币计量。";
    std::string subjecttypestring{};
    std::string maker{};  // "downloading" for a placeholder
    bool stopflag = false;
    // The learner's state; an empty answer means not answered.
    std::string myanswer{};
    bool correct = false;
    double myscore = 0;
    std::optional<std::string> answerdate{};
    int wrong = 0;
    bool remember = false;
    bool collect = false;
};

// Writes test content straight into the current database (CommonSetting::DbPath), one line per
// course, chapter tree, subject, paper or note. Ids continue from the largest one stored, so
// several builders and courses never collide.
class CourseBuilder {
  public:
    // The builder keeps its connection open for its life: writes need no open and close each,
    // and with write-ahead logging the other connections' closes then skip the checkpoint.
    // An idle open connection holds no lock, so the code under test is not hindered.
    CourseBuilder();
    ~CourseBuilder();
    CourseBuilder(const CourseBuilder&) = delete;
    CourseBuilder& operator=(const CourseBuilder&) = delete;

    // A course of class 1 and sub-class 1 with its content marked as downloaded. Returns the id.
    int course(int courseId, const std::string& name = "会计基础");
    // A chapter tree of the course (itype = type) from its codes, two characters per level
    // ("01", "0101", "010101"…): the grade follows the code length and a code that no other code
    // extends is a leaf. Returns the new chapter ids in the order of the codes.
    std::vector<int> chapters(int courseId, int type, const std::vector<std::string>& codes);
    // One subject; returns its id.
    int subject(const NewSubject& subject);
    // n subjects alike but for their positions; returns their ids.
    std::vector<int> subjects(int n, const NewSubject& subject);
    // A paper of the course holding the subjects (1 point each), never taken unless answers are
    // given: answers[i] is stored as the answer to subjectIds[i]. Returns the paper id.
    int paper(int courseId, const std::vector<int>& subjectIds, int fromChapter = 0,
              const std::vector<std::string>& answers = {});
    int note(int subjectId, const std::string& text);
    int errorReport(int subjectId, const std::string& text, int errorType = 1);

    SQLiteHelper& db() { return db_; }

  private:
    int nextId(const char* column, const char* table);

    SQLiteHelper db_;
};

}  // namespace examora
