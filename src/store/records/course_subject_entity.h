#pragma once

#include <optional>
#include <string>

#include "platform/dict.h"
#include "store/base_entity.h"

namespace examora {

// A row of coursesubject: one question ("subject") with the learner's own state of it. The
// stored title and explanation are enciphered (ContentCipher); a record built with the decipher
// flag holds them as plain text, without it as the stored Base64 text.
struct CourseSubjectEntity : BaseEntity {
    int subjectid = 0;              // isubjectid
    int courseid = 0;               // icourseid
    int chapterid = 0;              // ichapterid
    int subjecttype = 0;            // isubjecttype
    int chaptertype = 0;            // ichaptertype
    int index = 0;                  // iindex
    std::optional<double> score;    // iscore; nullopt when the row or object has none
    std::string title;              // ctitle
    std::string question;           // cquestion
    std::string answer;             // canswer, without surrounding white space
    int answercount = 0;            // ianswercount
    std::string description;        // cdescription
    std::string subjecttypestring;  // csubjecttype; empty: the type's default name applies
    bool picquestion = false;       // bpicquestion
    bool picanswer = false;         // bpicanswer
    bool rich = false;              // brich
    bool stopflag = false;          // bstopflag
    // dchangedate as the service wrote it (only the "T" and "/" forms normalised): the writer
    // compares it with the stored text to skip unchanged questions.
    std::optional<std::string> changedate;
    std::string maker;                        // cmaker; "downloading" for a placeholder row
    std::string myanswer;                     // cmyanswer; empty: not answered
    bool correct = false;                     // bcorrect
    double myscore = 0.0;                     // imyscore
    std::optional<std::string> answerdate;    // danswerdate
    int wrong = 0;                            // iwrong; >0 in the wrong-answer list, <0 resolved
    bool remember = false;                    // bremember
    std::optional<std::string> rememberdate;  // drememberdate
    bool collect = false;                     // bcollect

    // Sets every field from the dictionary; nullptr gives empty texts, zeros and no dates. With
    // decipher set, title and description are deciphered; a text that does not decipher leaves
    // the field empty.
    void initWithDict(const Dict* dict, bool decipher);
    void initWithDict(const Dict& dict, bool decipher) { initWithDict(&dict, decipher); }
};

}  // namespace examora
