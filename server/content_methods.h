#pragma once

namespace examora {

class CoursePackage;
class ServiceStore;
class SoapDispatcher;

// The reference service's course-content methods: the change lists of chapters, outline entries
// and questions since a date (answered with the service's new date as the out parameter
// "lastUpdateDate"), the records of an id list, a question's pictures, and whether a course has
// new content since a date; and the name of a course's package. Answers are in the forms the
// client's operation catalogue reads.
class ContentMethods {
  public:
    // Creates the content tables when missing and adds the handlers, which read `store` for as
    // long as the dispatcher serves.
    static void registerWith(SoapDispatcher& dispatcher, ServiceStore& store,
                             CoursePackage& packages);
};

}  // namespace examora
