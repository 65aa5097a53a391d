#pragma once

#include <optional>
#include <string>

namespace examora {

// The process-wide session values, held in memory for the life of the process. Several threads
// read and write them (the background online check writes IsOnline while screens read it), so
// scalars are atomics and texts sit behind one mutex; a setter given the value already held
// changes nothing. Values that must survive a restart are also written by their callers to
// ConfigHelper.
class CommonSetting {
  public:
    static int CourseId();
    static void setCourseId(int v);

    // Setting nil stores the empty text.
    static std::string District();
    static void setDistrict(const std::optional<std::string>& v);

    static int LoginUserId();
    static void setLoginId(int v);
    static std::string LoginUserName();
    static void setLoginUserName(const std::optional<std::string>& v);
    static int LoginOnlineId();
    static void setLoginOnlineId(int v);

    static std::string DeviceId();
    static void setDeviceId(const std::optional<std::string>& v);
    static std::string DbPath();
    static void setDbPath(const std::optional<std::string>& v);
    static std::string ImagePath();
    static void setImagePath(const std::optional<std::string>& v);
    static std::string CourseVersion();
    static void setCourseVersion(const std::optional<std::string>& v);
    static std::string CourseName();
    static void setCourseName(const std::optional<std::string>& v);

    static bool IsOnline();
    static void setIsOnline(bool v);
    static float MultiGuessDeductPoints();
    static void setMultiGuessDeductPoints(float v);
    static int DownloadSubjectType();
    static void setDownloadSubjectType(int v);

    // Puts every value back to its process-start value (tests only).
    static void reset();
};

}  // namespace examora
