// SubjectDownloadRule: batch counting, completion, stored dates and progress of the orchestration.
#include "sync/subject_download_rule.h"

namespace examora {

std::optional<std::string> SubjectDownloadRule::dateToStore(bool everyBatchWritten,
                                                            const std::string& serviceDate,
                                                            const std::string& localNow) {
    if (!everyBatchWritten) return std::nullopt;
    return serviceDate.empty() ? localNow : serviceDate;
}

std::optional<double> SubjectDownloadRule::progress(std::int64_t finished, std::int64_t total) {
    if (total < 1) return std::nullopt;
    if (finished <= 0) return 0.0;
    const double share = static_cast<double>(finished) / static_cast<double>(total);
    return share > 1.0 ? 1.0 : share;
}

}  // namespace examora
