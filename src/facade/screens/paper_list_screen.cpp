// PaperListScreen: the course's papers, taken, reviewed, deleted or newly built.

#include "facade/screens/paper_list_screen.h"

#include "app/common_setting.h"

namespace examora {

namespace {
// The list shows every paper, taken or not.
constexpr int kAllPapers = 2;
}  // namespace

PaperListScreen::PaperListScreen(APIManager& api, Views views) : api_(api), views_(views) {}

void PaperListScreen::open() {
    views_.title.setTitle(kTitle);
    reload();
}

void PaperListScreen::reload() {
    api_.loadPaperListWithCourse(
        CommonSetting::CourseId(), kAllPapers,
        [this](std::optional<std::vector<BaseItemEntity>> list, const ExamError* error) {
            if (error) {
                views_.tip.showTip(error->reason());
                return;
            }
            papers_ = list ? std::move(*list) : std::vector<BaseItemEntity>{};
        });
    std::vector<RowListView::Row> rows;
    for (const BaseItemEntity& paper : papers_)
        rows.push_back({paper.name, paper.memo, false});
    views_.rows.showRows(rows);
}

int PaperListScreen::paperIdAt(int row) const {
    if (row < 0 || row >= static_cast<int>(papers_.size())) return 0;
    return Value(papers_[static_cast<std::size_t>(row)].key).asInt();
}

void PaperListScreen::createPaper() {
    views_.navigation.pushScreen(kCreateRoute, std::string());
}

void PaperListScreen::paperCreated(int paperId) {
    reload();
    if (paperId < 1) return;
    views_.practice.openPaper(1, paperId, [this] { reload(); });
}

void PaperListScreen::startPaper(int row) {
    const int paperId = paperIdAt(row);
    if (paperId < 1) return;
    views_.practice.openPaper(1, paperId, [this] { reload(); });
}

void PaperListScreen::reviewPaper(int row) {
    const int paperId = paperIdAt(row);
    if (paperId < 1) return;
    views_.practice.openPaper(2, paperId, nullptr);
}

void PaperListScreen::deletePaper(int row) {
    const int paperId = paperIdAt(row);
    if (paperId < 1) return;
    views_.dialog.showDialog("删除确认", "确定要删除当前试卷吗？", {"取消", "确认"},
                             [this, paperId](int button) {
                                 if (button != 1) return;
                                 try {
                                     api_.dalCourse().deletePaper(paperId);
                                 } catch (const ExamError& e) {
                                     views_.tip.showTip(e.reason());
                                 }
                                 reload();
                             });
}

}  // namespace examora
