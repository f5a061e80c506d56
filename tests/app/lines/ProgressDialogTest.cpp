// The progress dialog and record under a real application: dialog or wait
// cursor by threshold, counts, the cancel seen at the next step, a restart,
// and a sort that the reader cancels.
#include <string>

#include "app/lines/ALineSorter.h"
#include "app/lines/AProgressDialog.h"
#include "app/lines/AProgressInfo.h"
#include "app/lines/SortableLineGetter.h"
#include "framework/app/ACursor.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/controls/AControl.h"
#include "framework/display/ADisplayServices.h"
#include "framework/display/ASizerGroup.h"
#include "framework/extras/AProgressBar.h"
#include "tests/framework/clusters/ClusterTestSupport.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"

namespace {

std::string Describe(const ARect& r) {
    return std::to_string(r.left()) + "," + std::to_string(r.top()) + "," + std::to_string(r.right()) + "," +
           std::to_string(r.bottom());
}

// Presses "Annuler" during the loop turn of one chosen step.
class Progress : public AProgressInfo {
public:
    Progress() {
        threshold = 50;
        dialogWidth = 320;
        title = "Tri";
        text1 = "Lecture des cl\xe9s";
        textOther = "Classement";
    }
    long cancelAtTurn = -1;
    long turns = 0;

protected:
    void runLoopTurn() override {
        if (turns++ == cancelAtTurn && dialog())
            dialog()->doCommand(AWindow::kCancelCommand, 0);
    }
};

class Numbered : public SortableLineGetter {
public:
    long getLineCount() override { return 1000; }
    void prepareLine(long record, int16_t) override { key = static_cast<uint32_t>(5000 - record); }
    uint32_t getSortKey(int16_t) override { return key; }
    uint32_t key = 0;
};

}  // namespace

TEST_F(ClusterTest, ProgressDialogShowsCountsAndReportsTheCancelAtTheNextStep) {
    Progress progress;
    progress.start(1, 50);
    EXPECT_EQ(nullptr, progress.dialog()) << "a total equal to the threshold";
    ASSERT_NE(nullptr, progress.waitCursor());
    EXPECT_EQ(257, app->cursorId());
    progress.update(10);
    EXPECT_EQ(258, app->cursorId()) << "the next frame";
    for (long total : {0L, -3L}) {
        progress.threshold = -10;
        progress.start(1, total);
        EXPECT_EQ(nullptr, progress.dialog()) << "no bar of (0,0)";
        EXPECT_NE(nullptr, progress.waitCursor());
    }
    progress.threshold = 50;
    progress.finish();
    EXPECT_EQ(nullptr, progress.waitCursor());

    progress.start(1, 200);
    AProgressDialog* dialog = progress.dialog();
    ASSERT_NE(nullptr, dialog);
    if (!dialog->getHWnd())
        GTEST_SKIP() << "no X display";
    ADisplayServices::current().flushLayouts();
    EXPECT_STREQ("Tri", dialog->getTitle().c_str());
    EXPECT_STREQ("Lecture des cl\xe9s", dialog->textLabel()->getText().c_str());
    EXPECT_STREQ("Annuler", dialog->cancelButton()->label().c_str());
    struct Child {
        const char* what;
        ADisplayComponent* child;
        const char* frame;
    } const children[] = {
        {"text", dialog->textLabel(), "10,10,310,30"},   {"box", dialog->box(), "10,40,310,50"},
        {"bar", dialog->bar(), "0,0,300,10"},            {"count", dialog->countLabel(), "10,60,100,80"},
        {"button", dialog->cancelButton(), "220,60,310,80"},
    };
    for (const Child& c : children) {
        SCOPED_TRACE(c.what);
        ASSERT_NE(nullptr, c.child);
        EXPECT_EQ(c.frame, Describe(c.child->getFrame()));
    }
    progress.update(60);
    EXPECT_EQ(60, dialog->bar()->position());
    EXPECT_EQ(200, dialog->bar()->maximum());
    EXPECT_STREQ("", dialog->countLabel()->getText().c_str()) << "show-count off";
    progress.showCount = 1;
    progress.update(120);
    EXPECT_STREQ("120 / 200", dialog->countLabel()->getText().c_str());
    dialog->redraw(false);
    UpdateWindow(dialog->getHWnd());
    RECT bounds;
    GetClientRect(dialog->getHWnd(), &bounds);
    Canvas canvas(bounds.right, bounds.bottom);
    HDC dc = GetDC(dialog->getHWnd());
    BitBlt(canvas.dc(), 0, 0, bounds.right, bounds.bottom, dc, 0, 0, SRCCOPY);
    ReleaseDC(dialog->getHWnd(), dc);
    printf("progress dialog: %s\n", canvas.savePng("progress-dialog").c_str());
    EXPECT_EQ(RGB(192, 192, 192), canvas.pixel(5, 5)) << "light grey background";

    // Starting again closes the old dialog first.
    progress.start(2, 300);
    ASSERT_NE(nullptr, progress.dialog());
    dialog = progress.dialog();
    EXPECT_STREQ("Classement", dialog->textLabel()->getText().c_str());

    // "Annuler" leaves the dialog open; the next step closes it and reports.
    dialog->doCommand(AWindow::kCancelCommand, 0);
    EXPECT_EQ(dialog, progress.dialog());
    EXPECT_EQ(0, progress.cancelled);
    progress.update(1);
    EXPECT_EQ(1, progress.cancelled);
    EXPECT_EQ(nullptr, progress.dialog());
}

TEST_F(ClusterTest, ASortCancelledWhileReadingKeysSortsWhatItRead) {
    ARefHold<Numbered> getter(new Numbered);
    auto* progress = new Progress;
    progress->threshold = 0;
    progress->cancelAtTurn = 1;  // at line 100
    auto* sorter = new AMemLongLineSorter(getter.get(), "NORM", 0, progress);
    getter->setLineMap(sorter);
    if (progress->turns == 0)
        GTEST_SKIP() << "no X display";
    EXPECT_EQ(1, progress->cancelled);
    EXPECT_EQ(100, sorter->keysRead());
    EXPECT_EQ(99, sorter->lineToRecord(0)) << "the lines read, sorted";
    EXPECT_EQ(0, sorter->lineToRecord(99));
    EXPECT_EQ(0, sorter->lineToRecord(500)) << "a line never read maps to 0";
    EXPECT_EQ(nullptr, progress->dialog());
}
