// AccountStore: the reference service's accounts, online logins and message read marks.
#include "server/account_store.h"

#include <openssl/rand.h>

#include <algorithm>

#include "platform/date_time.h"
#include "platform/file_util.h"
#include "platform/text_util.h"
#include "server/password_hash.h"
#include "server/service_store.h"
#include "store/sqlite_connection.h"

namespace examora {

namespace {

// Messages a learner sees for a course: for that course or every course, not stopped, started.
constexpr const char* kVisibleMessages =
    "from sys_message m where (m.icourseid is null or m.icourseid=0 or m.icourseid=?) and "
    "ifnull(m.bstopflag,0)=0 and (m.dstartdate is null or m.dstartdate<=?) and "
    "(m.denddate is null or m.denddate>=?)";

constexpr int kDefaultPageSize = 20;

bool blank(const std::optional<std::string>& text) {
    return !text || trim(*text).empty();
}

Value textOrNull(const std::optional<std::string>& text) {
    return blank(text) ? Value() : Value(trim(*text));
}

// Twelve letters and digits a learner can type, without 0/o and 1/l.
std::string temporaryPassword() {
    static constexpr char kAlphabet[] = "abcdefghjkmnpqrstuvwxyz23456789";
    unsigned char random[12];
    if (RAND_bytes(random, sizeof random) != 1) return std::string();
    std::string out;
    for (unsigned char c : random)
        out += kAlphabet[c % (sizeof kAlphabet - 1)];
    return out;
}

std::string stampForFile(const std::string& now) {
    std::string out;
    for (char c : now) {
        if (c >= '0' && c <= '9') out += c;
    }
    return out;
}

}  // namespace

AccountStore::AccountStore(ServiceStore& store) : store_(store) {
    ready_ = store_.write([](SqliteConnection& db) {
        return db.executeUpdate(
                   "create table if not exists customer (icusid integer primary key "
                   "autoincrement, ccusname text not null collate nocase unique, cpasswordhash "
                   "text not null, ccusemail text collate nocase, ccusmobile text, ccuspage "
                   "text, cdccode text, cmachineid text, cstatus text, cstatusmemo text, cmemo "
                   "text, dregdate text, dlogindate text, cresethash text, dresetuntil text)") &&
               db.executeUpdate(
                   "create table if not exists customer_login (iloginid integer primary key "
                   "autoincrement, icusid integer not null, cmachineid text, dlogindate text, "
                   "dlogoffdate text)") &&
               db.executeUpdate(
                   "create table if not exists customer_message_read (icusid integer not null, "
                   "cmsgid text not null, dreaddate text, primary key (icusid, cmsgid))");
    });
}

DictList AccountStore::query(const std::string& sql, const std::vector<Value>& args) const {
    DictList out;
    store_.read([&](SqliteConnection& db) { out = ServiceStore::rows(db, sql, args); });
    return out;
}

std::int64_t AccountStore::nowSeconds() const {
    std::optional<DateTime> now = DateTime::parse(store_.now());
    return now ? now->toEpochLocal() : 0;
}

long long AccountStore::createAccount(const NewAccount& a) {
    if (blank(a.name) || !a.password || a.password->empty()) return 0;
    const std::string hash = PasswordHash::hash(*a.password);
    if (hash.empty()) return 0;
    const std::string now = store_.now();
    long long id = 0;
    store_.write([&](SqliteConnection& db) {
        const Value name = textOrNull(a.name);
        const Value email = textOrNull(a.email);
        const Value phone = textOrNull(a.phone);
        if (!ServiceStore::rows(db,
                                "select 1 from customer where ccusname=? or (? is not null and "
                                "ccusemail=?) or (? is not null and ccusmobile=?)",
                                {name, email, email, phone, phone})
                 .empty()) {
            return false;
        }
        if (!db.executeUpdate(
                "insert into customer (ccusname, cpasswordhash, ccusemail, ccusmobile, ccuspage, "
                "cdccode, cmachineid, cstatus, dregdate) values (?, ?, ?, ?, ?, ?, ?, ?, ?)",
                {name, hash, email, phone, textOrNull(a.position), textOrNull(a.district),
                 textOrNull(a.machineId), "1", now})) {
            return false;
        }
        id = db.lastInsertRowId();
        return true;
    });
    return id;
}

bool AccountStore::lockedOut(const std::string& key, std::int64_t now) {
    std::lock_guard<std::mutex> lock(failuresMutex_);
    auto found = failures_.find(key);
    return found != failures_.end() && now < found->second.lockedUntil;
}

void AccountStore::countFailure(const std::string& key, std::int64_t now) {
    std::lock_guard<std::mutex> lock(failuresMutex_);
    Failures& f = failures_[key];
    std::erase_if(f.times, [now](std::int64_t t) { return t <= now - kWindowSeconds; });
    f.times.push_back(now);
    if (static_cast<int>(f.times.size()) >= kMaxFailures) {
        f.lockedUntil = now + kLockSeconds;
        f.times.clear();
    }
}

bool AccountStore::matches(long long accountId, const std::string& password) {
    DictList rows = query(
        "select cpasswordhash, cresethash, dresetuntil from customer where icusid=?", {accountId});
    if (rows.empty()) {
        PasswordHash::burn(password);
        return false;
    }
    if (PasswordHash::verify(password, rows[0].get("cpasswordhash").asString())) {
        if (!rows[0].get("cresethash").isNull()) {
            // The learner remembered the password: the mailed one is no longer needed.
            store_.write([&](SqliteConnection& db) {
                return db.executeUpdate(
                    "update customer set cresethash=null, dresetuntil=null where icusid=?",
                    {accountId});
            });
        }
        return true;
    }
    const Value& reset = rows[0].get("cresethash");
    if (reset.isNull() || rows[0].get("dresetuntil").asString() < store_.now() ||
        !PasswordHash::verify(password, reset.asString())) {
        return false;
    }
    store_.write([&](SqliteConnection& db) {
        return db.executeUpdate(
            "update customer set cpasswordhash=cresethash, cresethash=null, dresetuntil=null "
            "where icusid=?",
            {accountId});
    });
    return true;
}

long long AccountStore::login(const std::string& name, const std::string& password) {
    const std::string key = toLowerAscii(trim(name));
    const std::int64_t now = nowSeconds();
    if (lockedOut(key, now)) {
        PasswordHash::burn(password);
        return 0;
    }
    DictList rows = query(
        "select icusid from customer where ccusname=? or ccusemail=? or ccusmobile=? "
        "order by (ccusname=?) desc, icusid limit 1",
        {trim(name), trim(name), trim(name), trim(name)});
    const long long id = rows.empty() || key.empty() ? 0 : rows[0].get("icusid").asInt64();
    if (id < 1) {
        PasswordHash::burn(password);
        countFailure(key, now);
        return 0;
    }
    if (!matches(id, password)) {
        countFailure(key, now);
        return 0;
    }
    {
        std::lock_guard<std::mutex> lock(failuresMutex_);
        failures_.erase(key);
    }
    store_.write([&](SqliteConnection& db) {
        return db.executeUpdate("update customer set dlogindate=? where icusid=?",
                                {store_.now(), id});
    });
    return id;
}

bool AccountStore::verify(long long accountId, const std::string& password) {
    return matches(accountId, password);
}

bool AccountStore::changePassword(long long accountId, const std::string& password) {
    if (password.empty()) return false;
    const std::string hash = PasswordHash::hash(password);
    if (hash.empty()) return false;
    bool changed = false;
    store_.write([&](SqliteConnection& db) {
        changed = db.executeUpdate(
                      "update customer set cpasswordhash=?, cresethash=null, dresetuntil=null "
                      "where icusid=?",
                      {hash, accountId}) &&
                  db.changes() == 1;
        return changed;
    });
    return changed;
}

bool AccountStore::nameTaken(const std::string& name) const {
    return !query("select 1 from customer where ccusname=?", {trim(name)}).empty();
}

bool AccountStore::emailTaken(const std::string& email) const {
    if (trim(email).empty()) return false;
    return !query("select 1 from customer where ccusemail=?", {trim(email)}).empty();
}

bool AccountStore::phoneFree(long long accountId, const std::string& phone) const {
    return query("select 1 from customer where ccusmobile=? and icusid<>?",
                 {trim(phone), accountId})
        .empty();
}

std::optional<Dict> AccountStore::account(long long accountId) const {
    DictList rows = query(
        "select icusid, ccusname, ccusemail, ccusmobile, cdccode, ccuspage, cstatus from "
        "customer where icusid=?",
        {accountId});
    if (rows.empty()) return std::nullopt;
    return rows[0];
}

bool AccountStore::edit(long long accountId, const std::optional<std::string>& phone,
                        const std::optional<std::string>& email,
                        const std::optional<std::string>& position,
                        const std::optional<std::string>& district) {
    return store_.write([&](SqliteConnection& db) {
        if (ServiceStore::rows(db, "select 1 from customer where icusid=?", {accountId}).empty()) {
            return false;
        }
        const Value newEmail = textOrNull(email);
        const Value newPhone = textOrNull(phone);
        if (!ServiceStore::rows(db,
                                "select 1 from customer where icusid<>? and ((? is not null and "
                                "ccusemail=?) or (? is not null and ccusmobile=?))",
                                {accountId, newEmail, newEmail, newPhone, newPhone})
                 .empty()) {
            return false;
        }
        // A parameter that was not sent keeps its value.
        return db.executeUpdate(
            "update customer set ccusmobile=case when ? then ? else ccusmobile end, "
            "ccusemail=case when ? then ? else ccusemail end, ccuspage=case when ? then ? else "
            "ccuspage end, cdccode=case when ? then ? else cdccode end where icusid=?",
            {phone.has_value(), textOrNull(phone), email.has_value(), textOrNull(email),
             position.has_value(), textOrNull(position), district.has_value(), textOrNull(district),
             accountId});
    });
}

std::filesystem::path AccountStore::mailFolder() const {
    return store_.dataDir() / "mail";
}

bool AccountStore::mailPasswordReset(const std::string& email) {
    if (trim(email).empty()) return false;
    DictList rows =
        query("select icusid, ccusname, ccusemail from customer where ccusemail=?", {trim(email)});
    if (rows.empty()) return false;
    const long long id = rows[0].get("icusid").asInt64();
    const std::string temporary = temporaryPassword();
    const std::string hash = temporary.empty() ? std::string() : PasswordHash::hash(temporary);
    if (hash.empty()) return false;
    const std::string now = store_.now();
    std::optional<DateTime> parsed = DateTime::parse(now);
    const std::string until =
        parsed ? DateTime::fromEpochLocal(parsed->toEpochLocal() + kResetHours * 3600).format()
               : now;
    if (!ensureDirectory(mailFolder().string(), 0700, true)) return false;
    const std::string mail =
        "To: " + rows[0].get("ccusemail").asString() + "\nSubject: 重置密码\n\n" +
        rows[0].get("ccusname").asString() + "，您好：\n\n您的临时密码是 " + temporary + " ，" +
        std::to_string(kResetHours) + " 小时内有效（至 " + until + "）。请用它登录后修改密码。\n";
    const std::filesystem::path file =
        mailFolder() /
        (stampForFile(now) + "-" + std::to_string(id) + "-" + temporary.substr(0, 4) + ".eml");
    if (!writeFileAtomically(file.string(), mail, 0600)) return false;
    return store_.write([&](SqliteConnection& db) {
        return db.executeUpdate("update customer set cresethash=?, dresetuntil=? where icusid=?",
                                {hash, until, id});
    });
}

std::pair<long long, long long> AccountStore::loginOn(long long accountId,
                                                      const std::string& machineId) {
    std::pair<long long, long long> answer{0, 0};
    store_.write([&](SqliteConnection& db) {
        if (ServiceStore::rows(db, "select 1 from customer where icusid=?", {accountId}).empty()) {
            return false;
        }
        if (!db.executeUpdate(
                "insert into customer_login (icusid, cmachineid, dlogindate) values (?, ?, ?)",
                {accountId, machineId, store_.now()})) {
            return false;
        }
        answer.first = db.lastInsertRowId();
        DictList open = ServiceStore::rows(
            db, "select count(*) n from customer_login where icusid=? and dlogoffdate is null",
            {accountId});
        answer.second = open.empty() ? 0 : open[0].get("n").asInt64();
        return true;
    });
    return answer;
}

void AccountStore::loginOff(long long loginId) {
    store_.write([&](SqliteConnection& db) {
        return db.executeUpdate(
            "update customer_login set dlogoffdate=? where iloginid=? and dlogoffdate is null",
            {store_.now(), loginId});
    });
}

bool AccountStore::isOnline(long long loginId) const {
    return !query("select 1 from customer_login where iloginid=? and dlogoffdate is null",
                  {loginId})
                .empty();
}

std::optional<std::string> AccountStore::statusMemo(long long accountId) const {
    DictList rows = query("select cstatusmemo from customer where icusid=?", {accountId});
    if (rows.empty()) return std::nullopt;
    return rows[0].get("cstatusmemo").asOptionalString();
}

std::optional<std::string> AccountStore::memo(long long accountId) const {
    DictList rows = query("select cmemo from customer where icusid=?", {accountId});
    if (rows.empty()) return std::nullopt;
    return rows[0].get("cmemo").asOptionalString();
}

DictList AccountStore::messages(long long accountId, long long courseId, long long pageSize,
                                long long pageIndex) const {
    if (pageSize < 1) pageSize = kDefaultPageSize;
    if (pageIndex < 1) pageIndex = 1;
    const std::string now = store_.now();
    return query(std::string("select cast(m.cmsgid as integer) imsgid, m.cmsgtitle, "
                             "coalesce(m.dstartdate, m.dchangedate) cdate, exists(select 1 from "
                             "customer_message_read r where r.icusid=? and r.cmsgid=m.cmsgid) "
                             "istatus ") +
                     kVisibleMessages + " order by cast(m.cmsgid as integer) desc limit ? offset ?",
                 {accountId, courseId, now, now, pageSize, (pageIndex - 1) * pageSize});
}

void AccountStore::markRead(long long accountId, const std::string& messageId) {
    if (query("select 1 from customer where icusid=?", {accountId}).empty()) return;
    store_.write([&](SqliteConnection& db) {
        return db.executeUpdate(
            "insert or ignore into customer_message_read (icusid, cmsgid, dreaddate) values (?, "
            "?, ?)",
            {accountId, messageId, store_.now()});
    });
}

int AccountStore::messageStatus(long long accountId, const std::string& messageId) const {
    return query("select 1 from customer_message_read where icusid=? and cmsgid=?",
                 {accountId, messageId})
                   .empty()
               ? 0
               : 1;
}

int AccountStore::unreadCount(long long accountId, long long courseId) const {
    const std::string now = store_.now();
    DictList rows = query(std::string("select count(*) n ") + kVisibleMessages +
                              " and not exists(select 1 from customer_message_read r where "
                              "r.icusid=? and r.cmsgid=m.cmsgid)",
                          {courseId, now, now, accountId});
    return rows.empty() ? 0 : static_cast<int>(rows[0].get("n").asInt64());
}

}  // namespace examora
