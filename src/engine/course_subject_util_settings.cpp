// CourseSubjectUtil: the question page's display settings, resource URLs and note source.

#include <memory>
#include <mutex>

#include "app/common_setting.h"
#include "engine/course_subject_util.h"
#include "engine/course_util.h"
#include "platform/paths.h"
#include "platform/text_util.h"
#include "store/cus_setting_util.h"

namespace examora {

namespace {

std::mutex& settingsMutex() {
    static std::mutex m;
    return m;
}

SubjectPageSettings& settingsStore() {
    static SubjectPageSettings s;
    return s;
}

CourseSubjectUtil::NoteSource& noteSourceStore() {
    static CourseSubjectUtil::NoteSource source;
    return source;
}

}  // namespace

SubjectPageSettings CourseSubjectUtil::pageSettings() {
    std::lock_guard lock(settingsMutex());
    return settingsStore();
}

void CourseSubjectUtil::setPageSettings(const SubjectPageSettings& settings) {
    std::lock_guard lock(settingsMutex());
    settingsStore() = settings;
}

void CourseSubjectUtil::updatePageSettings(
    const std::function<void(SubjectPageSettings&)>& change) {
    std::lock_guard lock(settingsMutex());
    change(settingsStore());
}

std::optional<std::string> CourseSubjectUtil::fontSizeForSetting(int value) {
    switch (value) {
        case 1:
            return "12px";
        case 2:
            return "16px";
        case 3:
            return "22px";
        case 4:
            return "26px";
        case 5:
            return "32px";
        default:
            return std::nullopt;
    }
}

void CourseSubjectUtil::loadSubjectSettings() {
    CusSettingUtil store;
    store.OpenDataBase();
    const int fontSetting = store.getIntValue("ifontsize", 2);
    const int showMode = store.getIntValue("ishowmode", 0);
    const int screenLight = store.getIntValue("iscreenlight", 0);
    store.CloseDataBase();

    updatePageSettings([&](SubjectPageSettings& s) {
        s.subjectshowmode = showMode;
        s.subjectshowlight = screenLight;
        if (auto size = fontSizeForSetting(fontSetting)) s.fontSize = *size;
        if (s.night()) {
            s.foreColor = "#5d6266";
            s.bodybackColor = "#1f282f";
        } else {
            s.foreColor = "#000000";
            s.bodybackColor = "#FFFFFF";
        }
    });
}

void CourseSubjectUtil::setNoteSource(NoteSource source) {
    std::lock_guard lock(settingsMutex());
    noteSourceStore() = std::move(source);
}

std::vector<WriteNoteEntity> CourseSubjectUtil::notesOfSubject(int subjectId) {
    NoteSource source;
    {
        std::lock_guard lock(settingsMutex());
        source = noteSourceStore();
    }
    if (source) return source(subjectId);
    // One open connection per thread and database: opening the store costs far more than the
    // lookup, and a page is built for every subject shown. An idle open connection holds no lock.
    struct OpenStore {
        std::string path;
        std::unique_ptr<CourseUtil> util;
    };
    thread_local OpenStore store;
    const std::string path = CommonSetting::DbPath();
    if (!store.util || store.path != path) {
        store.util = std::make_unique<CourseUtil>();
        store.path = path;
        store.util->OpenDataBase();
    }
    return store.util->loadMySubjectNoteList(subjectId);
}

std::string CourseSubjectUtil::resourceUrl(const std::string& fileName) {
    return "file://" + replaceAll(Paths::resourceDirectory() + "/" + fileName, " ", "%20");
}

}  // namespace examora
