#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "platform/dict.h"

namespace examora {

class ServiceStore;

// The learners' accounts of the reference service, in tables of its ServiceStore: the accounts
// (passwords only as slow salted hashes), the online logins, and which published messages each
// learner has read.
//
// Contract:
// - A password is hashed at once and is never stored, logged or put into an answer or error.
// - A wrong password, an unknown name and a name locked out give the same answer (0 or false)
//   after the same work.
// - After kMaxFailures failed log-ins for one name within kWindowSeconds of the service clock,
//   further log-ins for that name are refused for kLockSeconds, right password or not. The count
//   lives in memory: a restart forgets it.
// - Every write is one transaction of the store; checks that a value is free run inside the
//   same transaction as the write that takes it. Any thread may call any operation.
// - A password reset does not replace the password: it mails a temporary one (written as a file
//   under the data folder's "mail", since the service sends no real mail) that is accepted
//   beside the old one for kResetHours, until either is used to log in or the password changes.
class AccountStore {
  public:
    static constexpr int kMaxFailures = 5;
    static constexpr int kWindowSeconds = 60;
    static constexpr int kLockSeconds = 60;
    static constexpr int kResetHours = 24;

    struct NewAccount {
        std::optional<std::string> name;
        std::optional<std::string> password;
        std::optional<std::string> email;
        std::optional<std::string> phone;
        std::optional<std::string> position;
        std::optional<std::string> district;
        std::optional<std::string> machineId;
    };

    // Creates the tables when missing; ready() tells whether that worked.
    explicit AccountStore(ServiceStore& store);
    bool ready() const { return ready_; }

    // The new account's id; 0 when the name or password is empty or the name, e-mail or phone
    // already belongs to an account (names and e-mails compared ignoring case).
    long long createAccount(const NewAccount& account);
    // The account whose name, e-mail or phone is `name` (its name preferred), when the password
    // matches one of its hashes; 0 otherwise.
    long long login(const std::string& name, const std::string& password);
    bool verify(long long accountId, const std::string& password);
    bool changePassword(long long accountId, const std::string& password);

    bool nameTaken(const std::string& name) const;
    bool emailTaken(const std::string& email) const;
    // False when the phone belongs to another account than `accountId`.
    bool phoneFree(long long accountId, const std::string& phone) const;
    // The account as the client's record reads it (never a hash); nullopt when there is none.
    std::optional<Dict> account(long long accountId) const;
    // Changes the given values; false when the account is unknown or the e-mail or phone belongs
    // to another account (nothing is changed then).
    bool edit(long long accountId, const std::optional<std::string>& phone,
              const std::optional<std::string>& email, const std::optional<std::string>& position,
              const std::optional<std::string>& district);
    // Writes the reset mail for the account of the address; false when no account has it.
    bool mailPasswordReset(const std::string& email);
    std::filesystem::path mailFolder() const;

    // A new online login of the account on the machine: (its id, the account's open logins).
    // (0, 0) for an unknown account.
    std::pair<long long, long long> loginOn(long long accountId, const std::string& machineId);
    void loginOff(long long loginId);
    bool isOnline(long long loginId) const;

    std::optional<std::string> statusMemo(long long accountId) const;
    std::optional<std::string> memo(long long accountId) const;

    // The published messages the learner sees for the course, newest first, one page (pages
    // count from 1): objects {imsgid, cmsgtitle, cdate, istatus} with istatus 1 once read.
    DictList messages(long long accountId, long long courseId, long long pageSize,
                      long long pageIndex) const;
    void markRead(long long accountId, const std::string& messageId);
    int messageStatus(long long accountId, const std::string& messageId) const;
    int unreadCount(long long accountId, long long courseId) const;

  private:
    struct Failures {
        std::vector<std::int64_t> times;
        std::int64_t lockedUntil = 0;
    };

    std::int64_t nowSeconds() const;
    bool lockedOut(const std::string& key, std::int64_t now);
    void countFailure(const std::string& key, std::int64_t now);
    // Checks the password against the account's hashes; a matching reset password becomes the
    // account's password.
    bool matches(long long accountId, const std::string& password);
    DictList query(const std::string& sql, const std::vector<Value>& args) const;

    ServiceStore& store_;
    bool ready_ = false;
    std::mutex failuresMutex_;
    std::map<std::string, Failures> failures_;
};

}  // namespace examora
