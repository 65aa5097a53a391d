#pragma once

namespace examora {

class ServiceStore;
class SoapDispatcher;

// The reference service's learner-data methods: the upload of notes, correction reports,
// practice logs, answers and papers, the clearing of the answer and paper history, the history
// downloads and the note and report checks. They answer as the client's operation catalogue
// reads: uploads and clears with an empty response, downloads with JSON lists, checks with
// "true"/"false".
//
// Every call acts only on the rows of the account number (or, for notes, reports and logs, the
// user text) it carries. An upload or clear for an account the service does not hold is refused
// with a soap:Client fault and stores nothing; a download for one answers an empty list. The
// detail download carries only the paper's server number and answers that paper's details.
//
// Like every data call of the protocol, these carry no per-learner secret: the header holds the
// application's credentials, so an account number (or user text) is trusted as sent.
class LearnerMethods {
  public:
    // Adds the handlers, which keep their tables in `store` for as long as the dispatcher serves.
    static void registerWith(SoapDispatcher& dispatcher, ServiceStore& store);
};

}  // namespace examora
