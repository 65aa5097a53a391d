#pragma once

namespace examora {

class ServiceStore;
class SoapDispatcher;

// The reference service's account methods: registration, log-in, account information and
// update, the e-mail, name and phone checks, password verification, change and reset by e-mail,
// online log-in, log-off and check, the status memo and memo, and the per-learner message calls.
// Each answers in the form the client's operation catalogue reads: booleans as "true"/"false",
// numbers as decimal text, records as JSON lists of one object.
//
// Data calls carry no per-learner secret (the SOAP header holds the application's credentials,
// not the learner's): an id is trusted as sent. Only log-in and verification prove a password.
class AccountMethods {
  public:
    // Adds the handlers, which keep their account tables in `store` for as long as the
    // dispatcher serves.
    static void registerWith(SoapDispatcher& dispatcher, ServiceStore& store);
};

}  // namespace examora
