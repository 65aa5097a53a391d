// The synthetic course generator: deterministic courses for benchmarks and tests, and their
// catalogue.
#include "lib/course_generator.h"

#include <sqlite3.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string_view>

#include "platform/date_time.h"
#include "platform/text_util.h"
#include "store/content_cipher.h"
#include "store/sqlite_handles.h"

namespace examora {

namespace {

// splitmix64: fixed arithmetic, so the same seed gives the same course with every standard
// library (the std distributions differ between implementations).
class Random {
  public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
    bool percent(int p) { return below(100) < p; }

  private:
    std::uint64_t state_;
};

// Phrases of about 8 to 16 characters from accounting and law examinations.
constexpr std::array<std::string_view, 32> kPhrases = {
    "根据《会计法》的规定，",
    "下列各项中，",
    "企业发生的下列交易或事项，",
    "属于会计基本假设的是",
    "应当计入当期损益的有",
    "甲公司为增值税一般纳税人，",
    "2026年12月1日购入一台设备，",
    "取得的增值税专用发票上注明",
    "价款为100万元，税额为13万元，",
    "不考虑其他因素，",
    "该设备的入账价值为",
    "按照权责发生制的要求，",
    "下列关于会计要素的表述中，",
    "正确的是",
    "会计人员应当遵守职业道德，",
    "资产负债表日，",
    "应收账款的账面余额为",
    "坏账准备的期初余额为",
    "本期应计提的坏账准备金额为",
    "根据合同约定，",
    "对于可变对价，",
    "企业应当按照期望值或最可能发生金额确定，",
    "存货按成本与可变现净值孰低计量，",
    "期末结转后，",
    "本年利润账户的余额",
    "所得税费用的确认应当",
    "以权责发生制为基础，",
    "长期股权投资采用权益法核算，",
    "被投资单位实现净利润，",
    "投资企业应按持股比例确认投资收益，",
    "固定资产的折旧方法一经确定，",
    "不得随意变更。",
};
constexpr std::array<std::string_view, 7> kTypeNames = {"单选题", "多选题", "判断题", "问答题",
                                                        "案例题", "填空题", "不定项"};

std::size_t codePoints(std::string_view s) {
    std::size_t n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

std::string chineseText(Random& r, std::size_t characters) {
    std::string out;
    std::size_t n = 0;
    while (n < characters) {
        std::string_view p = kPhrases[static_cast<std::size_t>(r.below(kPhrases.size()))];
        out += p;
        n += codePoints(p);
    }
    out += "（ ）。";
    return out;
}

// The subject type by weight: single choice most, then multiple, true/false, fill-in, one or
// more, question and answer, case.
int subjectType(Random& r) {
    const int x = r.below(100);
    if (x < 35) return 0;
    if (x < 55) return 1;
    if (x < 70) return 2;
    if (x < 80) return 5;
    if (x < 90) return 6;
    if (x < 95) return 3;
    return 4;
}

std::string rightAnswer(Random& r, int type) {
    switch (type) {
        case 0:
            return std::string(1, static_cast<char>('A' + r.below(4)));
        case 1:
        case 6: {
            std::string a;
            for (char c = 'A'; c <= 'D'; ++c)
                if (r.percent(55)) a += c;
            if (type == 1 && a.size() < 2) a = "AC";
            if (a.empty()) a = "B";
            return a;
        }
        case 2:
            return r.percent(50) ? "对" : "错";
        case 4:
            return "权责发生制,可变现净值";
        case 5:
            return "持续经营";
        default:
            return "会计主体、持续经营、会计分期和货币计量。";
    }
}

std::string wrongAnswer(int type, const std::string& right) {
    switch (type) {
        case 0:
            return right == "A" ? "B" : "A";
        case 1:
        case 6:
            return right.size() > 1 ? right.substr(0, 1) : "ABCD";
        case 2:
            return right == "对" ? "错" : "对";
        default:
            return "不知道";
    }
}

std::string options(Random& r) {
    std::string q;
    for (char c = 'A'; c <= 'D'; ++c) {
        q += c;
        q += '.';
        q += kPhrases[static_cast<std::size_t>(r.below(kPhrases.size()))];
        if (c != 'D') q += ' ';
    }
    return q;
}

// Statements stamp rows with the generator's clock, not the wall clock, so that a course is the
// same every time.
class Db {
  public:
    Db(const std::string& path, std::string stamp) : stamp_("'" + std::move(stamp) + "'") {
        sqlite3* raw = nullptr;
        const int rc = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
        db_.reset(raw);
        if (rc != SQLITE_OK) fail("open");
    }
    void exec(const char* sql) {
        if (sqlite3_exec(db_.get(), sql, nullptr, nullptr, nullptr) != SQLITE_OK) fail(sql);
    }
    SqliteStatementPtr prepare(std::string_view text) {
        const std::string sql = replaceAll(text, "datetime('now','localtime')", stamp_);
        sqlite3_stmt* raw = nullptr;
        if (sqlite3_prepare_v2(db_.get(), sql.c_str(), -1, &raw, nullptr) != SQLITE_OK)
            fail(sql.c_str());
        return SqliteStatementPtr(raw);
    }
    void run(sqlite3_stmt* stmt) {
        if (sqlite3_step(stmt) != SQLITE_DONE) fail(sqlite3_sql(stmt));
        sqlite3_reset(stmt);
        sqlite3_clear_bindings(stmt);
    }
    [[noreturn]] void fail(const char* what) {
        throw std::runtime_error(std::string("course generator: ") + what + ": " +
                                 (db_ ? sqlite3_errmsg(db_.get()) : "no database"));
    }

  private:
    std::string stamp_;
    SqliteHandlePtr db_;
};

void bindText(sqlite3_stmt* s, int i, const std::string& v) {
    sqlite3_bind_text(s, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
}

}  // namespace

std::vector<int> CourseSize::selected() {
    if (const char* small = std::getenv("EXAMORA_BENCH_SMALL"); small && *small && *small != '0')
        return {S};
    const char* env = std::getenv("EXAMORA_BENCH_SIZE");
    const std::string name = env ? env : "";
    if (name == "S") return {S};
    if (name == "M") return {M};
    if (name == "L") return {L};
    return {S, M, L};
}

int CourseSize::largestSelected() {
    return selected().back();
}

int CourseGenerator::courseIdForSize(char size) {
    switch (size) {
        case 'S':
            return 1;
        case 'M':
            return 2;
        case 'L':
            return 3;
        default:
            return 0;
    }
}

int CourseGenerator::subjectCountForSize(char size) {
    switch (size) {
        case 'S':
            return CourseSize::S;
        case 'M':
            return CourseSize::M;
        case 'L':
            return CourseSize::L;
        default:
            return 0;
    }
}

GeneratedCatalogue CourseGenerator::catalogue(char size) {
    const int courseId = courseIdForSize(size);
    if (courseId == 0) return {};
    const std::string name = "模拟课程" + std::to_string(courseId);
    GeneratedCatalogue out;
    out.emplace_back("courseclass", DictList{{{"iclassid", 1},
                                              {"ccoursecname", "会计职称"},
                                              {"csubjecttypes", "0,1,2,3,4,5,6"},
                                              {"iindex", 1},
                                              {"bstopflag", 0}}});
    out.emplace_back("coursesubclass", DictList{{{"isubclassid", 1},
                                                 {"csubclassname", "初级会计"},
                                                 {"iclassid", 1},
                                                 {"iindex", 1},
                                                 {"bstopflag", 0}}});
    out.emplace_back("course", DictList{{{"icourseid", courseId},
                                         {"iclassid", 1},
                                         {"isubclassid", 1},
                                         {"ccoursename", name},
                                         {"iindex", courseId},
                                         {"bstopflag", 0},
                                         {"bdistrict", 0},
                                         {"dcreatedate", "2026-01-01 00:00:00"},
                                         {"cexamdate", "2027-05-16"}}});
    DictList districts;
    const std::pair<const char*, const char*> kDistricts[] = {
        {"110000", "北京市"}, {"310000", "上海市"}, {"440000", "广东省"}, {"510000", "四川省"}};
    for (const auto& [code, districtName] : kDistricts) {
        districts.push_back(Dict{{"cdccode", code},
                                 {"cdcname", districtName},
                                 {"bendgrade", 1},
                                 {"igrade", 1},
                                 {"cmemo", ""}});
    }
    out.emplace_back("district", std::move(districts));
    DictList settings;
    const int kScores[] = {1, 2, 1, 5, 10, 2, 2};
    for (int type = 0; type < 7; ++type) {
        settings.push_back(Dict{{"cname", "isubjectscore" + std::to_string(type)},
                                {"cvalue", std::to_string(kScores[type])}});
    }
    settings.push_back(Dict{{"cname", "iexamtotalscore"}, {"cvalue", "100"}});
    settings.push_back(Dict{{"cname", "iexamtotaltime"}, {"cvalue", "120"}});
    out.emplace_back("sys_cussetting", std::move(settings));
    out.emplace_back("sys_message", DictList{{{"cmsgid", std::to_string(100 + courseId)},
                                              {"cmsgtitle", name + "题库已更新"},
                                              {"cmsgurl", ""},
                                              {"itype", "0"},
                                              {"iindex", 1},
                                              {"icourseid", courseId},
                                              {"bstopflag", 0},
                                              {"dstartdate", "2026-01-01 00:00:00"},
                                              {"denddate", "2099-12-31 23:59:59"}}});
    return out;
}

std::string CourseGenerator::installTemplate(const std::string& path) {
    std::string dir;
    if (const char* env = std::getenv("EXAMORA_RESOURCES"); env && *env)
        dir = env;
    else
        dir = EXAMORA_BUILD_RESOURCES;
    namespace fs = std::filesystem;
    for (const char* suffix : {"", "-wal", "-shm"})
        fs::remove(path + suffix);
    fs::copy_file(dir + "/zxexam.db", path);
    return path;
}

GeneratedCourse CourseGenerator::generate(const std::string& dbPath, int courseId, int subjectCount,
                                          std::optional<std::int64_t> nowEpoch) const {
    Random r(seed_ ^ (static_cast<std::uint64_t>(courseId) << 32) ^
             static_cast<std::uint64_t>(subjectCount));
    const std::int64_t now =
        nowEpoch.value_or(std::chrono::duration_cast<std::chrono::seconds>(
                              std::chrono::system_clock::now().time_since_epoch())
                              .count());
    GeneratedCourse out;
    out.courseId = courseId;
    out.subjectCount = subjectCount;
    const int base = courseId * 1'000'000;

    Db db(dbPath, DateTime::fromEpochLocal(now).format());
    db.exec("pragma synchronous=normal");
    db.exec("begin exclusive transaction");

    {
        SqliteStatementPtr course = db.prepare(
            "insert into course(icourseid,iclassid,isubclassid,ccoursename,iindex,bstopflag,"
            "bdistrict,dchangedate,dcreatedate,dchapterchange,dsubjectchange,doutlinechange) "
            "values (?,1,1,?,?,0,0,datetime('now','localtime'),datetime('now','localtime'),"
            "datetime('now','localtime'),datetime('now','localtime'),"
            "datetime('now','localtime'))");
        sqlite3_bind_int(course.get(), 1, courseId);
        bindText(course.get(), 2, "模拟课程" + std::to_string(courseId));
        sqlite3_bind_int(course.get(), 3, courseId);
        db.run(course.get());
    }

    // Chapters: ids base+1…; the leaves collect their subject counts below.
    SqliteStatementPtr chapter = db.prepare(
        "insert into coursechapter(ichapterid,icourseid,cchaptercode,itype,cchaptername,"
        "bendgrade,igrade,icount,iexamtime,bstopflag,dchangedate,bdownload) values "
        "(?,?,?,?,?,?,?,0,0,0,datetime('now','localtime'),0)");
    int chapterId = base;
    auto addChapter = [&](const std::string& code, int type, bool leaf, int grade) {
        ++chapterId;
        sqlite3_bind_int(chapter.get(), 1, chapterId);
        sqlite3_bind_int(chapter.get(), 2, courseId);
        bindText(chapter.get(), 3, code);
        sqlite3_bind_int(chapter.get(), 4, type);
        bindText(chapter.get(), 5, "第" + code + (leaf ? "节 练习" : "章"));
        sqlite3_bind_int(chapter.get(), 6, leaf ? 1 : 0);
        sqlite3_bind_int(chapter.get(), 7, grade);
        db.run(chapter.get());
        return chapterId;
    };
    auto code2 = [](int n) {
        return std::string(1, static_cast<char>('0' + n / 10)) + static_cast<char>('0' + n % 10);
    };
    for (int c = 1; c <= 10; ++c) {
        const std::string cc = code2(c);
        addChapter(cc, 0, false, 0);
        for (int s = 1; s <= 6; ++s) {
            const std::string sc = cc + code2(s);
            addChapter(sc, 0, false, 1);
            for (int p = 1; p <= 10; ++p)
                out.leafChapters0.push_back(addChapter(sc + code2(p), 0, true, 2));
        }
    }
    for (int c = 1; c <= 10; ++c) {
        const std::string cc = code2(c);
        addChapter(cc, 1, false, 0);
        for (int p = 1; p <= 10; ++p)
            out.leafChapters1.push_back(addChapter(cc + code2(p), 1, true, 1));
    }
    std::vector<int> leafCounts(static_cast<std::size_t>(chapterId - base + 1), 0);

    SqliteStatementPtr subject = db.prepare(
        "insert into coursesubject(isubjectid,icourseid,ichapterid,isubjecttype,ichaptertype,"
        "iindex,iscore,ctitle,cquestion,canswer,ianswercount,cdescription,csubjecttype,"
        "bpicquestion,bpicanswer,brich,bstopflag,dchangedate,cmaker,cmyanswer,bcorrect,imyscore,"
        "danswerdate,iwrong,bremember,drememberdate,bcollect) values "
        "(?,?,?,?,?,?,?,?,?,?,?,?,?,0,0,1,0,datetime('now','localtime'),'',?,?,?,?,?,0,?,?)");
    SqliteStatementPtr note = db.prepare(
        "insert into cs_writenote(isubjectid,cnotetext,dchangedate,istatus) values (?,?,?,0)");

    out.firstSubjectId = base + 100'000;
    for (int i = 0; i < subjectCount; ++i) {
        const int id = out.firstSubjectId + i;
        const bool tree1 = r.percent(15);
        const std::vector<int>& leaves = tree1 ? out.leafChapters1 : out.leafChapters0;
        const int leaf = leaves[static_cast<std::size_t>(r.below(static_cast<int>(leaves.size())))];
        const int type = subjectType(r);
        const int score = type == 0 || type == 2 ? 1 : 2;
        const std::string answer = rightAnswer(r, type);
        const std::string title = *ContentCipher::encipher(chineseText(r, 140 + r.below(20)));
        const std::string description =
            *ContentCipher::encipher("解析：" + chineseText(r, 280 + r.below(40)));
        const bool choice = type == 0 || type == 1 || type == 6;

        sqlite3_stmt* s = subject.get();
        for (int learnerColumn : {15, 16, 18, 20})
            sqlite3_bind_int(s, learnerColumn, 0);
        sqlite3_bind_int(s, 1, id);
        sqlite3_bind_int(s, 2, courseId);
        sqlite3_bind_int(s, 3, leaf);
        sqlite3_bind_int(s, 4, type);
        sqlite3_bind_int(s, 5, tree1 ? 1 : 0);
        sqlite3_bind_int(s, 6, ++leafCounts[static_cast<std::size_t>(leaf - base)]);
        sqlite3_bind_int(s, 7, score);
        bindText(s, 8, title);
        bindText(s, 9, choice ? options(r) : std::string());
        bindText(s, 10, answer);
        sqlite3_bind_int(s, 11, choice ? 4 : 0);
        bindText(s, 12, description);
        bindText(s, 13,
                 r.percent(5) ? std::string(kTypeNames[static_cast<std::size_t>(type)]) + "（本题）"
                              : std::string());
        if (r.percent(30)) {
            const bool correct = r.percent(70);
            bindText(s, 14, correct ? answer : wrongAnswer(type, answer));
            sqlite3_bind_int(s, 15, correct ? 1 : 0);
            sqlite3_bind_int(s, 16, correct ? score : 0);
            bindText(s, 17, DateTime::fromEpochLocal(now - r.below(30 * 86400)).format());
            ++out.answered;
        }
        if (r.percent(10)) {
            // Mostly still in the wrong-answer list; some since answered correctly.
            const int count = 1 + r.below(3);
            sqlite3_bind_int(s, 18, r.percent(80) ? count : -count);
            ++out.wrong;
        }
        if (r.percent(3)) {
            bindText(s, 19, DateTime::fromEpochLocal(now - r.below(30 * 86400)).format());
            sqlite3_bind_int(s, 20, 1);
            ++out.favourites;
        }
        db.run(s);
        if (r.percent(1)) {
            sqlite3_bind_int(note.get(), 1, id);
            bindText(note.get(), 2, "我的笔记：" + chineseText(r, 40));
            bindText(note.get(), 3, DateTime::fromEpochLocal(now - r.below(30 * 86400)).format());
            db.run(note.get());
            ++out.notes;
        }
    }

    SqliteStatementPtr counts = db.prepare("update coursechapter set icount=? where ichapterid=?");
    for (std::size_t k = 1; k < leafCounts.size(); ++k) {
        if (leafCounts[k] == 0) continue;
        sqlite3_bind_int(counts.get(), 1, leafCounts[k]);
        sqlite3_bind_int(counts.get(), 2, base + static_cast<int>(k));
        db.run(counts.get());
    }
    db.exec("commit transaction");
    return out;
}

}  // namespace examora
