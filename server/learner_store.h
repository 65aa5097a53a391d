#pragma once

#include <optional>
#include <string>

#include "platform/dict.h"

namespace examora {

class ServiceStore;

// Each learner's data on the reference service, in tables of its ServiceStore: the answer state
// per question, the papers (numbered by the service) with their details, notes, correction
// reports and practice logs.
//
// Contract:
// - Partitioned strictly: answers and papers by account number, notes, reports and logs by the
//   user text they were sent with. No operation reads or writes a row of another partition; the
//   caller decides which accounts exist.
// - Every write is one transaction of the store, committed whole or not at all: a batch of
//   answers, or one paper with all its details. Any thread may call any operation.
// - Each stored row carries the service clock's time of its last upload (dserverdate), which the
//   history reads compare with their start date.
// - Bad values (a question or paper without a number) are refused with std::invalid_argument
//   before anything is written.
class LearnerStore {
  public:
    // Creates the tables when missing; ready() tells whether that worked.
    explicit LearnerStore(ServiceStore& store);
    bool ready() const { return ready_; }

    // Stores the rows (client answer rows keyed by isubjectid), the last upload of a question
    // replacing the earlier one.
    bool saveAnswers(long long cusId, const std::string& machineId, const DictList& rows);
    bool clearAnswers(long long cusId);
    // The account's answer rows uploaded on or after `since` (all for an empty text).
    DictList answers(long long cusId, const std::string& since) const;

    // Stores one paper with its details, replacing the details held. The paper is the
    // account's paper `serverPaperId` when it has one of that number, else the one the machine
    // uploaded under the same local number, else a new one. Returns its server number.
    long long savePaper(long long cusId, const std::string& machineId, long long serverPaperId,
                        const Dict& paper, const DictList& details);
    bool clearPapers(long long cusId);
    // The account's papers uploaded on or after `since`, each with its server number
    // (iserverpaperid), the uploader's local number (ipaperid) and machine (cmachineid).
    DictList papers(long long cusId, const std::string& since) const;
    // The details of the paper of that server number, in paper order.
    DictList paperDetails(long long serverPaperId) const;

    // A note or report of the user text; a later upload of the same one replaces it. A note is
    // one per user, question and the device's note number; a report one per user and question.
    bool saveNote(const std::string& user, long long noteId, long long subjectId,
                  const std::optional<std::string>& text,
                  const std::optional<std::string>& changeDate);
    DictList notes(const std::string& user) const;
    bool hasNote(const std::string& user, long long noteId) const;
    bool saveReport(const std::string& user, long long reportId, long long subjectId,
                    long long errorType, const std::optional<std::string>& text,
                    const std::optional<std::string>& changeDate);
    bool hasReport(const std::string& user, long long reportId) const;
    // One practice log: {icourseid, ccuscode, cuserid, cchaptername, iusetime, imyscore,
    // itotalscore, itestcount, dprescore, dtime}.
    bool saveLog(const Dict& log);
    DictList reports(const std::string& user) const;

  private:
    DictList query(const std::string& sql, const std::vector<Value>& args) const;

    ServiceStore& store_;
    bool ready_ = false;
};

}  // namespace examora
