#pragma once

#include <string>
#include <vector>

#include "platform/dict.h"
#include "platform/value.h"

namespace examora {

// One picture of a question as a service holds it: the position tail of its table name ("2" for
// the analysis, "0_3" for the question's third picture, …), its bytes and its extension.
struct SubjectPicture {
    int subjectId = 0;
    std::string position;
    Bytes bytes;
    std::string extension;
};

// A course's content as service objects, keyed as the client's records read them: chapters,
// outline entries and questions with plain texts (pictures referred to by their tokens), and the
// questions' pictures. Change dates are the service's and are not carried.
struct CourseContent {
    DictList chapters;
    DictList outlines;
    DictList subjects;
    std::vector<SubjectPicture> pictures;
};

// The content of the generated courses (CourseGenerator) as a service serves it: the same chapter
// trees and question ids, texts in plain form, an outline of 70 entries, and a picture on every
// tenth question (alternately the question's first picture, token "{图1}", and the analysis
// picture, token "{图}"). Deterministic: the same size gives the same content byte for byte.
class CourseContentGenerator {
  public:
    // Empty for a size other than 'S', 'M' or 'L'.
    static CourseContent content(char size);
};

}  // namespace examora
