// The orchestration's batch counting, completion, stored date, path and progress rules.
#include <gtest/gtest.h>

#include "sync/content_item_rule.h"
#include "sync/subject_download_rule.h"

namespace examora {
namespace {

std::vector<int> ids(int n) {
    std::vector<int> out;
    for (int i = 1; i <= n; ++i)
        out.push_back(i);
    return out;
}

TEST(SubjectDownloadRuleTest, BatchesAndCompletionFollowTheCountOfTwentyFivePerBatch) {
    struct Case {
        int ids;
        std::vector<std::size_t> sizes;
    } cases[] = {{60, {25, 25, 10}}, {25, {25}}, {26, {25, 1}}, {1, {1}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ids);
        const auto batches = ContentItemRule::batches(ids(c.ids), SubjectDownloadRule::kBatchSize);
        std::vector<std::size_t> sizes;
        for (const auto& b : batches)
            sizes.push_back(b.size());
        EXPECT_EQ(sizes, c.sizes);
        // The item set is complete exactly when its last batch is counted, not before.
        std::int64_t finished = 0;
        for (std::size_t i = 0; i < batches.size(); ++i) {
            EXPECT_FALSE(SubjectDownloadRule::itemSetCounted(finished, c.ids));
            finished = SubjectDownloadRule::countAfterBatch(finished);
        }
        EXPECT_TRUE(SubjectDownloadRule::itemSetCounted(finished, c.ids));
    }
    EXPECT_EQ(SubjectDownloadRule::countAfterBatch(50), 75);
    EXPECT_FALSE(SubjectDownloadRule::itemSetCounted(0, 0));
}

TEST(SubjectDownloadRuleTest, TheServicesDateIsStoredOnlyWhenEveryBatchWasWritten) {
    EXPECT_EQ(SubjectDownloadRule::dateToStore(true, "2026-03-01 10:00:00", "2026-03-09 00:00:00"),
              "2026-03-01 10:00:00");
    EXPECT_EQ(SubjectDownloadRule::dateToStore(true, "", "2026-03-09 00:00:00"),
              "2026-03-09 00:00:00");
    EXPECT_EQ(SubjectDownloadRule::dateToStore(false, "2026-03-01 10:00:00", "x"), std::nullopt);
}

TEST(SubjectDownloadRuleTest, PathAndProgress) {
    EXPECT_TRUE(SubjectDownloadRule::usePackage(false, false));
    EXPECT_TRUE(SubjectDownloadRule::usePackage(true, true));
    EXPECT_FALSE(SubjectDownloadRule::usePackage(false, true));
    EXPECT_EQ(SubjectDownloadRule::progress(75, 60), 1.0);
    EXPECT_EQ(SubjectDownloadRule::progress(30, 60), 0.5);
    EXPECT_EQ(SubjectDownloadRule::progress(5, 0), std::nullopt);
}

}  // namespace
}  // namespace examora
