// Course packages end to end: the reference service builds and serves them, the client
// downloads, unpacks and installs them, and a failed or killed install loses nothing.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <random>
#include <tuple>

#include "app/common_setting.h"
#include "integration/served_course_fixture.h"
#include "platform/zip_extractor.h"
#include "server/course_content_loader.h"
#include "server/reference_service.h"
#include "server/zip_writer.h"
#include "service/asi_service_args.h"
#include "store/content_cipher.h"
#include "store/database_scope.h"
#include "store/sqlite_result_set.h"
#include "sync/subject_file_downloader.h"

namespace examora {
namespace {

namespace fs = std::filesystem;
constexpr int kCourse = 7;

Bytes bytesOf(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

Dict chapter(int id, const std::string& code) {
    return {{"ichapterid", id}, {"icourseid", kCourse}, {"cchaptercode", code},
            {"itype", 0},       {"cchaptername", code}, {"bstopflag", 0}};
}

Dict subject(int id, const std::string& title) {
    return {{"isubjectid", id},      {"icourseid", kCourse},
            {"ichapterid", 101},     {"isubjecttype", 0},
            {"iindex", id},          {"iscore", 1},
            {"ctitle", title},       {"cquestion", "A.甲 B.乙"},
            {"canswer", "A"},        {"ianswercount", 2},
            {"cdescription", "解析"}};
}

// A client home holding course 7, and the reference service holding the course's content.
class CoursePackageTest : public ServedCourseTest {
  protected:
    CoursePackageTest() : loader(service.store()) {
        sql().ExecuteNonQuery("insert into course(icourseid,ccoursename) values(?,'会计')",
                              kCourse);
        std::vector<Dict> subjects;
        for (int id = 1001; id <= 1030; ++id)
            subjects.push_back(subject(id, "题" + std::to_string(id)));
        subjects[1] = subject(1002, "看图{图1}");
        loader.load({{chapter(101, "01"), chapter(102, "02")},
                     {{{"ioutlineid", 301}, {"icourseid", kCourse}, {"coutlinecode", "01"}}},
                     subjects,
                     {{1002, "0_1", bytesOf("pic-q"), "png"}}});
    }
    std::string packageName() {
        ClientDataExchange exchange;
        return exchange.getCourseUpdateName(kCourse, 0, "");
    }
    std::string archivePath() { return home_.path() + "/documents/tmp.zip"; }

    // Downloads the service's package of the course; the archive path or the failure.
    std::pair<std::optional<std::string>, std::optional<std::string>> download(
        SubjectFileDownloader& d) {
        std::pair<std::optional<std::string>, std::optional<std::string>> out;
        d.downloadCourseZipFileWithCourseId(kCourse, 0, "",
                                            [&](const auto& path, const auto& error) {
                                                out = {path, error};
                                            });
        return out;
    }
    PackageInstallResult downloadAndInstall() {
        SubjectFileDownloader d;
        auto [path, error] = download(d);
        EXPECT_EQ(error, std::nullopt);
        if (!path) return {};
        return d.InstallSubjectWithCourseId(kCourse, *path);
    }

    // Every row of the course's content and the course's dates, to compare before and after.
    DictList snapshot() {
        DatabaseScope scope(sql());
        DictList rows;
        for (const char* sqlText :
             {"select * from coursesubject where icourseid=7 order by isubjectid",
              "select * from coursechapter where icourseid=7 order by ichapterid",
              "select * from courseoutline where icourseid=7 order by ioutlineid",
              "select dchapterchange,dsubjectchange,doutlinechange from course where "
              "icourseid=7"}) {
            auto rs = sql().ExecuteDataReader(sqlText, std::vector<Value>{});
            while (rs && rs->next())
                rows.push_back(rs->resultDictionary());
        }
        return rows;
    }
    void answer(int id, const std::string& mine) {
        sql().ExecuteNonQuery(
            "update coursesubject set cmyanswer=?,bcorrect=1,iwrong=3,bcollect=1,bremember=1 "
            "where isubjectid=?",
            mine, id);
    }

    CourseContentLoader loader;
};

TEST_F(CoursePackageTest, ServiceNamesServesAndRebuildsThePackage) {
    const std::string first = packageName();
    ASSERT_TRUE(first.starts_with("subject/course7_") && first.ends_with(".zip")) << first;
    EXPECT_EQ(packageName(), first);  // unchanged content, same archive

    const std::string url =
        SubjectFileDownloader::packageURL(ASIServiceArgs::getDownloadSubjectURL(), first);
    auto http = HttpTransport::systemTransport();
    HttpResponse head = http->head(url, 10);
    ASSERT_EQ(head.status, 200);
    const std::uint64_t size = head.contentLength().value_or(0);
    ASSERT_GT(size, 100u);
    HttpResponse part = http->getRange(url, 3, 5, 10);
    EXPECT_EQ(part.status, 206);
    EXPECT_EQ(findHeader(part.headers, "Content-Range"), "bytes 3-5/" + std::to_string(size));
    EXPECT_EQ(part.body.size(), 3u);
    HttpResponse tail = http->getRange(url, size - 2, size + 10, 10);
    EXPECT_EQ(tail.status, 206);
    EXPECT_EQ(tail.body.size(), 2u);
    EXPECT_EQ(http->getRange(url, size, size + 5, 10).status, 416);

    // The package lays the course out as the client reads it, pictures under "image/".
    const std::string folder = home_.makeDirectory("peek");
    ASSERT_TRUE(
        http->getRangeToFile(url, 0, std::nullopt, folder + "/p.zip", false, 10).completed());
    ZipExtractResult unzip = ZipExtractor::extract(folder + "/p.zip", folder + "/p");
    ASSERT_TRUE(unzip.complete);
    for (const char* entry : {"course.txt", "coursechapter.txt", "courseoutline.txt",
                              "coursesubject1.txt", "image/1002_0_1.png"})
        EXPECT_TRUE(fs::exists(folder + "/p/" + entry)) << entry;
    EXPECT_NE(TempHome::readFile(folder + "/p/coursesubject1.txt")
                  .find("src='file_dbpath/image/7/1002_0_1.png'"),
              std::string::npos);

    loader.upsertRow("coursesubject", subject(1005, "题五改"));
    const std::string second = packageName();
    EXPECT_NE(second, first);
    EXPECT_EQ(http->head(url, 10).status, 404);  // the old archive is gone
}

TEST_F(CoursePackageTest, InstallReplacesContentAndKeepsTheLearnersColumns) {
    // Local state: questions the learner answered, one the package no longer has, and a picture
    // already at the place the package's picture goes.
    ASSERT_TRUE(downloadAndInstall().installed);
    answer(1001, "B");
    answer(1003, "A");
    sql().ExecuteNonQuery(
        "insert into coursesubject(isubjectid,icourseid,ctitle,cmyanswer) values(1999,7,'x','C')");
    const std::string picture = pictureFolder(kCourse) + "1002_0_1.png";
    TempHome::writeFile(picture, "old-picture");
    loader.upsertRow("coursesubject", subject(1003, "题三改"));

    PackageInstallResult r = downloadAndInstall();
    ASSERT_TRUE(r.installed) << r.error;
    EXPECT_EQ(count("coursesubject", "icourseid=7"), 30);
    EXPECT_EQ(count("coursesubject", "isubjectid=1999"), 0);  // swept
    EXPECT_EQ(count("coursesubject",
                    "isubjectid in (1001,1003) and bcorrect=1 and iwrong=3 and bcollect=1 and "
                    "bremember=1 and bstopflag=0"),
              2);
    EXPECT_EQ(
        sql().ExecuteScalarString("select cmyanswer from coursesubject where isubjectid=1003"),
        "A");
    EXPECT_EQ(ContentCipher::decipher(
                  sql()
                      .ExecuteScalarString("select ctitle from coursesubject where isubjectid=1003")
                      .value_or("")),
              "题三改");
    EXPECT_EQ(ContentCipher::decipher(
                  sql()
                      .ExecuteScalarString("select ctitle from coursesubject where isubjectid=1002")
                      .value_or("")),
              "看图<img border='0' alt='' src='file://" + picture + "'/>");
    EXPECT_EQ(TempHome::readFile(picture), "old-picture");  // an existing picture is not replaced
    EXPECT_EQ(count("course",
                    "icourseid=7 and dsubjectchange is not null and dchapterchange is "
                    "not null and doutlinechange is not null"),
              1);
    EXPECT_FALSE(fs::exists(archivePath()));
    EXPECT_FALSE(fs::exists(home_.path() + "/documents/tmp"));
}

// Writes an archive of the given entries (name → bytes; a name ending in "/" a directory).
void writeArchive(const std::string& path,
                  const std::vector<std::pair<std::string, std::string>>& entries) {
    ZipWriter zip(path);
    for (const auto& [name, bytes] : entries)
        ASSERT_TRUE(zip.addEntry(name, bytes));
    ASSERT_TRUE(zip.close());
}

std::string subjectsJson(int from, int to) {
    nlohmann::json list = nlohmann::json::array();
    for (int id = from; id <= to; ++id) {
        nlohmann::json o;
        for (const auto& [k, v] : subject(id, "包" + std::to_string(id)))
            o[k] = v.isText() ? nlohmann::json(v.asString()) : nlohmann::json(v.asInt64());
        list.push_back(o);
    }
    return list.dump();
}

const std::vector<std::pair<std::string, std::string>> kBase = {
    {"course.txt", R"([{"icourseid":7,"dchapterchange":"2026-01-02 03:04:05"}])"},
    {"COURSECHAPTER.TXT", R"([{"ichapterid":101,"icourseid":7,"cchaptercode":"01"}])"},
    {"courseoutline.txt", "[]"},
};

TEST_F(CoursePackageTest, HandMadeArchiveWithSeveralQuestionFilesAndHostileEntries) {
    auto entries = kBase;
    entries.insert(entries.end(), {{"coursesubject_a.txt", subjectsJson(1, 10)},
                                   {"coursesubjectZ.txt", subjectsJson(11, 25)},
                                   {"image/", ""},
                                   {"image\\p.png", "png"},
                                   {"../escape.txt", "x"},
                                   {"/tmp/examora-absolute.txt", "x"},
                                   {"image/../../escape2.txt", "x"},
                                   {"notes.md", "ignored"}});
    writeArchive(archivePath(), entries);
    SubjectFileDownloader d;
    PackageInstallResult r = d.InstallSubjectWithCourseId(kCourse, archivePath());
    ASSERT_TRUE(r.installed) << r.error;
    EXPECT_EQ(r.refused.size(), 3u);
    EXPECT_FALSE(fs::exists(home_.path() + "/escape.txt"));
    EXPECT_FALSE(fs::exists(home_.path() + "/documents/escape.txt"));
    EXPECT_FALSE(fs::exists(home_.path() + "/documents/escape2.txt"));
    EXPECT_FALSE(fs::exists("/tmp/examora-absolute.txt"));
    EXPECT_EQ(count("coursesubject", "icourseid=7"), 25);
    EXPECT_EQ(TempHome::readFile(pictureFolder(kCourse) + "p.png"), "png");
    EXPECT_EQ(sql().ExecuteScalarString("select dchapterchange from course where icourseid=7"),
              "2026-01-02 03:04:05");
}

TEST_F(CoursePackageTest, AFailedInstallLeavesTheCourseAsItWas) {
    ASSERT_TRUE(downloadAndInstall().installed);
    answer(1001, "B");
    answer(1020, "A");
    const DictList before = snapshot();

    struct Case {
        const char* why;
        std::vector<std::pair<std::string, std::string>> extra;
        bool truncate = false;
    } cases[] = {
        {"malformed question file",
         {{"coursesubject1.txt", subjectsJson(1001, 1003)},
          {"coursesubject2.txt", R"([{"isubjectid":5,)"}}},
        {"empty question file", {{"coursesubject1.txt", ""}}},
        {"not a list", {{"coursesubject1.txt", R"({"isubjectid":5})"}}},
        {"question of another course",
         {{"coursesubject1.txt", R"([{"isubjectid":5,"icourseid":8}])"}}},
        {"corrupt archive", {{"coursesubject1.txt", subjectsJson(1001, 1030)}}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        auto entries = kBase;
        entries.insert(entries.end(), c.extra.begin(), c.extra.end());
        writeArchive(archivePath(), entries);
        if (c.truncate) fs::resize_file(archivePath(), fs::file_size(archivePath()) / 2);
        SubjectFileDownloader d;
        PackageInstallResult r = d.InstallSubjectWithCourseId(kCourse, archivePath());
        EXPECT_FALSE(r.installed);
        EXPECT_FALSE(r.error.empty());
        EXPECT_EQ(snapshot(), before);
    }
    // A package without its outline list would sweep the outline: refused too.
    writeArchive(archivePath(), {kBase[0], kBase[1], {"coursesubject1.txt", "[]"}});
    SubjectFileDownloader d;
    EXPECT_FALSE(d.InstallSubjectWithCourseId(kCourse, archivePath()).installed);
    EXPECT_EQ(snapshot(), before);
}

TEST_F(CoursePackageTest, AFailedDownloadIsReportedAndNothingIsInstalled) {
    SubjectFileDownloader d;
    ASIServiceArgs::setDownloadSubjectURL(service.baseURL() + "/nowhere/x.asmx");
    auto [path, error] = download(d);
    ASIServiceArgs::setDownloadSubjectURL("");
    EXPECT_EQ(path, std::nullopt);
    EXPECT_NE(error, std::nullopt);
    EXPECT_FALSE(fs::exists(archivePath()));
}

// Kills an installing child process at random points; the course must be the old one or the
// new one, with every learner column of every kept question intact. EXAMORA_KILL_TRIALS sets
// the number of trials (scripts/install-kill-trials.sh runs 200).
TEST_F(CoursePackageTest, AKilledInstallLeavesOldOrNewContentAndLosesNoAnswer) {
    std::vector<Dict> many;
    for (int id = 2000; id < 6000; ++id)
        many.push_back(subject(id, "多" + std::to_string(id)));
    loader.load({{}, {}, many, {}});
    ASSERT_TRUE(downloadAndInstall().installed);
    for (int id = 1001; id < 6000; id += 7)
        answer(id, "B");
    // The new content: one question edited, one gone, one added.
    loader.upsertRow("coursesubject", subject(2002, "改"));
    service.store().write([](SqliteConnection& db) {
        return db.executeUpdate("delete from coursesubject where isubjectid=2009");
    });
    loader.upsertRow("coursesubject", subject(7000, "新"));
    SubjectFileDownloader fetch;
    auto [path, error] = download(fetch);
    ASSERT_TRUE(path) << error.value_or("");
    const std::string package = home_.path() + "/package.zip";
    fs::rename(*path, package);
    service.stop();  // the children fork a process with no service threads running

    const DictList old = snapshot();
    ASSERT_GT(old.size(), 4000u);
    // The old state is kept in a copy and put back through SQLite before every trial, so that
    // no connection ever sees its file replaced underneath it.
    const std::string oldDb = home_.path() + "/old.db";
    sql().ExecuteNonQuery("vacuum into ?", oldDb);
    auto restore = [&] {
        DatabaseScope scope(sql());
        ASSERT_TRUE(sql().ExecuteNonQuery("attach ? as o", oldDb));
        for (const char* table : {"coursesubject", "coursechapter", "courseoutline"}) {
            const std::string t = table;
            ASSERT_TRUE(sql().ExecuteNonQuery("delete from " + t + " where icourseid=7",
                                              std::vector<Value>{}));
            ASSERT_TRUE(sql().ExecuteNonQuery(
                "insert into " + t + " select * from o." + t + " where icourseid=7",
                std::vector<Value>{}));
        }
        ASSERT_TRUE(sql().ExecuteNonQuery(
            "update course set (dchapterchange,dsubjectchange,doutlinechange,dchapterdelete,"
            "dsubjectdelete,doutlinedelete)=(select dchapterchange,dsubjectchange,doutlinechange,"
            "dchapterdelete,dsubjectdelete,doutlinedelete from o.course where icourseid=7) where "
            "icourseid=7",
            std::vector<Value>{}));
        ASSERT_TRUE(sql().ExecuteNonQuery("detach o", std::vector<Value>{}));
    };

    auto installOnce = [&] {
        fs::copy_file(package, archivePath(), fs::copy_options::overwrite_existing);
        SubjectFileDownloader d;
        return d.InstallSubjectWithCourseId(kCourse, archivePath()).installed;
    };
    // The length of one install, to spread the kills over it.
    const auto t0 = std::chrono::steady_clock::now();
    ASSERT_TRUE(installOnce());
    const auto micros =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - t0)
            .count();

    const char* env = std::getenv("EXAMORA_KILL_TRIALS");
    const int trials = env ? std::atoi(env) : 4;
    std::mt19937 random(12345);
    int oldSeen = 0;
    int newSeen = 0;
    for (int trial = 0; trial < trials; ++trial) {
        SCOPED_TRACE(trial);
        restore();
        ASSERT_EQ(snapshot(), old);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) _exit(installOnce() ? 0 : 1);
        ::usleep(static_cast<useconds_t>(random() % static_cast<std::uint64_t>(micros * 1.2 + 1)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);

        SQLiteHelper check;
        EXPECT_EQ(check.ExecuteScalarString("pragma integrity_check", std::vector<Value>{}), "ok");
        const DictList now = snapshot();
        if (now == old) {
            ++oldSeen;
            continue;
        }
        ++newSeen;
        EXPECT_EQ(count("coursesubject", "isubjectid in (2009)"), 0);
        EXPECT_EQ(count("coursesubject", "isubjectid in (2002,7000)"), 2);
        EXPECT_EQ(count("coursesubject", "icourseid=7"), 30 + 4000);
        for (const Dict& row : old) {
            if (!row.contains("isubjectid") || row.get("isubjectid").asInt64() == 2009) continue;
            DatabaseScope scope(sql());
            auto rs = sql().ExecuteDataReader(
                "select cmyanswer,bcorrect,iwrong,bcollect,bremember from coursesubject where "
                "isubjectid=?",
                std::vector<Value>{row.get("isubjectid")});
            ASSERT_TRUE(rs && rs->next());
            for (const char* column : {"cmyanswer", "bcorrect", "iwrong", "bcollect", "bremember"})
                ASSERT_EQ(rs->resultDictionary().get(column), row.get(column))
                    << row.get("isubjectid").asString() << " " << column;
        }
    }
    std::printf("kill trials: %d, old content %d, new content %d, answers lost 0 unless failed\n",
                trials, oldSeen, newSeen);
}

// The orchestration on the same service: a course without questions takes the package, a
// downloaded one the item sets, and a stop or a failed batch keeps the item set's date.
TEST_F(CoursePackageTest, OrchestrationChoosesThePathAndKeepsTheDateOfAnUnfinishedItemSet) {
    std::vector<std::tuple<int, std::int64_t, std::int64_t>> progress;
    std::mutex mutex;
    int completions = 0;
    SubjectFileDownloader d;
    d.updateProgressBlock = [&](int phase, std::int64_t finished, std::int64_t total) {
        std::lock_guard<std::mutex> lock(mutex);
        progress.emplace_back(phase, finished, total);
    };
    d.completionBlock = [&] { ++completions; };

    d.startDownloadwithCourseId(kCourse, 0, "", false, "");
    EXPECT_EQ(d.failure(), "");
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(count("coursesubject", "icourseid=7"), 30);
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(std::get<0>(progress.front()), 21);
    EXPECT_EQ(std::get<0>(progress.back()), 22);
    for (const auto& [phase, finished, total] : progress)
        EXPECT_LE(finished, total) << phase;

    // Downloaded now: a change on the service comes by the item sets, with the service's date.
    const std::string before =
        sql()
            .ExecuteScalarString("select dsubjectchange from course where icourseid=7")
            .value_or("");
    std::vector<Dict> changed;
    for (int id = 1001; id <= 1030; ++id)
        changed.push_back(subject(id, "再" + std::to_string(id)));
    loader.load({{}, {}, changed, {}});
    progress.clear();
    d.startDownloadwithCourseId(kCourse, 0, "", false, "");
    EXPECT_EQ(d.failure(), "");
    EXPECT_EQ(completions, 2);
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(std::get<0>(progress.front()), 2);
    const std::string after =
        sql()
            .ExecuteScalarString("select dsubjectchange from course where icourseid=7")
            .value_or("");
    EXPECT_GT(after, before);
    std::string latest;
    service.store().read([&](SqliteConnection& db) {
        latest = ServiceStore::rows(db, "select max(dchangedate) as d from coursesubject")
                     .at(0)
                     .get("d")
                     .asString();
    });
    EXPECT_EQ(after, latest);
    EXPECT_EQ(ContentCipher::decipher(
                  sql()
                      .ExecuteScalarString("select ctitle from coursesubject where isubjectid=1030")
                      .value_or("")),
              "再1030");

    // Stopped as soon as the question phase reports: the date stays.
    for (int id = 1001; id <= 1030; ++id)
        changed[static_cast<std::size_t>(id - 1001)] = subject(id, "三" + std::to_string(id));
    loader.load({{}, {}, changed, {}});
    d.updateProgressBlock = [&](int phase, std::int64_t, std::int64_t) {
        if (phase == 2) d.stop = true;
    };
    d.startDownloadwithCourseId(kCourse, 0, "", false, "");
    EXPECT_EQ(sql().ExecuteScalarString("select dsubjectchange from course where icourseid=7"),
              after);
}

// Archives written by other tools install too: Info-ZIP's zip, and Python's zipfile with
// backslash names and explicit directory entries.
TEST_F(CoursePackageTest, ArchivesOfOtherToolsInstall) {
    const std::string folder = home_.makeDirectory("made");
    for (const auto& [name, bytes] : kBase)
        TempHome::writeFile(folder + "/" + name, bytes);
    TempHome::writeFile(folder + "/coursesubject1.txt", subjectsJson(1, 12));
    TempHome::writeFile(folder + "/image/z.png", "zip-picture");

    bool ran = false;
    if (std::system("command -v zip >/dev/null 2>&1") == 0) {
        ran = true;
        ASSERT_EQ(std::system(("cd '" + folder + "' && zip -qr '" + archivePath() + "' .").c_str()),
                  0);
        SubjectFileDownloader d;
        PackageInstallResult r = d.InstallSubjectWithCourseId(kCourse, archivePath());
        EXPECT_TRUE(r.installed) << r.error;
        EXPECT_EQ(count("coursesubject", "icourseid=7"), 12);
        EXPECT_EQ(TempHome::readFile(pictureFolder(kCourse) + "z.png"), "zip-picture");
    } else {
        std::printf("Info-ZIP zip is not installed: its archive is not tried\n");
    }
    if (std::system("command -v python3 >/dev/null 2>&1") == 0) {
        ran = true;
        const std::string script =
            "import sys, zipfile, os\n"
            "src, out = sys.argv[1], sys.argv[2]\n"
            "with zipfile.ZipFile(out, 'w', zipfile.ZIP_DEFLATED) as z:\n"
            "    z.writestr('image/', '')\n"
            "    for n in sorted(os.listdir(src)):\n"
            "        p = os.path.join(src, n)\n"
            "        if os.path.isfile(p): z.write(p, n)\n"
            "    z.writestr('image\\\\w.png', 'py-picture')\n"
            "    z.writestr('coursesubject2.txt', open(os.path.join(src, 'coursesubject1.txt'))"
            ".read().replace('\"isubjectid\":1,', '\"isubjectid\":99,'))\n";
        TempHome::writeFile(folder + "/../make.py", script);
        ASSERT_EQ(std::system(("python3 '" + folder + "/../make.py' '" + folder + "' '" +
                               archivePath() + "'")
                                  .c_str()),
                  0);
        SubjectFileDownloader d;
        PackageInstallResult r = d.InstallSubjectWithCourseId(kCourse, archivePath());
        EXPECT_TRUE(r.installed) << r.error;
        EXPECT_EQ(count("coursesubject", "icourseid=7 and isubjectid=99"), 1);
        EXPECT_EQ(TempHome::readFile(pictureFolder(kCourse) + "w.png"), "py-picture");
    } else {
        std::printf("python3 is not installed: a zipfile archive is not tried\n");
    }
    if (!ran) GTEST_SKIP() << "neither zip nor python3 is installed";
}

}  // namespace
}  // namespace examora
