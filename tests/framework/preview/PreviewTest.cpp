// The print preview and the print options dialogs in a real application
// under Xvfb: counting, navigation, zoom, the options dialog's commands, and
// a picture of a preview window (build/artifacts/print-preview.png).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "framework/app/AApp.h"
#include "framework/app/AWindow.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/controls/AEditBox.h"
#include "framework/controls/APopupMenu.h"
#include "framework/graphics/AGraphicDisplay.h"
#include "framework/preview/APreviewDlg.h"
#include "framework/preview/APreviewView.h"
#include "framework/preview/APrintOptionsDlg.h"
#include "framework/printing/APrinter.h"
#include "framework/printing/APrinterSetup.h"
#include "tests/framework/app/AppTestSupport.h"
#include "tests/framework/printing/PrintTestSupport.h"

namespace {

// Its dialog factories load the test's layouts, as the program's own do.
class FrameApp : public AApp {
public:
    FrameApp() : AApp(AString("PreviewApp"), ARect(), 0, 0) {}
    void beep(uint32_t) override { ++TestBeeps; }
    ADisplayComponent* makePrinter() override {
        ++printers;
        return AApp::makePrinter();
    }
    AComponent* makePreviewDialog(ADisplayComponent* printed) override {
        return AComponent::loadLayout(printed, "TestPreview", 0);
    }
    AComponent* makePrintOptionsDialog(ADisplayComponent* printed) override {
        return AComponent::loadLayout(printed, "TestOptions", 0);
    }
    int printers = 0;
};

// A document that makes its own printer and opens the test's preview layout.
class PreviewDocument : public Document {
public:
    using Document::Document;
    ADisplayComponent* findPrinter(ADisplayComponent*) override {
        auto* printer = new APrinter;
        AObject::completeNew(printer);
        return printer;
    }
    ACommand* printPreview() override {
        ++previews;
        if (auto* window = dynamic_cast<AWindow*>(AComponent::loadLayout(this, "TestPreview", 0)))
            window->select();
        return noChangeCommand();
    }
    void setPageCount(int16_t count) override { told = count; }
    int previews = 0;
    int told = -1;
};

void Pump() {
    MSG msg;
    for (int round = 0; round < 5; ++round) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(20);
    }
}

// Copies the window, frame included, into canvas (its size). The X server
// maps a window a little later: polls until its corner is drawn.
void CopyWhenDrawn(HWND window, Canvas& canvas) {
    RECT r;
    GetWindowRect(window, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    for (int i = 0; i < 50; ++i) {
        HDC dc = GetWindowDC(window);
        BitBlt(canvas.dc(), 0, 0, width, height, dc, 0, 0, SRCCOPY);
        ReleaseDC(window, dc);
        if (canvas.pixel(width - 5, height - 5) != 0)
            break;
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Pump();
    }
}

std::string Text(AClusterItem* item) {
    return item->getText().c_str();
}

}  // namespace

class PreviewTest : public AppTest {
protected:
    void SetUp() override {
        AClass::buildRegistry();
        TestClock() = 1000;
        SetErrorStream(&errors);
        ClearBoxes();
        TestBeeps = 0;
        app = new FrameApp;
        app->setInstance(GetModuleHandleA(nullptr), "", SW_SHOWNORMAL);
        AObject::completeNew(app);
        app->flushUpdates();
        setup_ = MemorySetup();
        APrinterSetup::setCurrent(nullptr);
    }
    void TearDown() override {
        if (HasFailure())
            ADD_FAILURE() << "error stream: " << errors.text;
        closeAll();
        delete setup_;
        AppTest::TearDown();
    }
    bool haveDisplay() const { return app->frameWindow() != nullptr; }

    // A shown document of pages whose preview dialog is open.
    // On the default printer (the CUPS "PDF" one) when asked and there is one.
    AStandardPreviewDlg* openPreview(int pages, bool onPrinter = false) {
        host_ = new AWindow(app, 0, ASizeSpec(ARect(10, 10, 310, 210)), "Document", "", 0x0800, 0, ARect());
        AObject::completeNew(host_);
        doc_ = new PreviewDocument(host_, 10);
        AObject::completeNew(doc_);
        for (int i = 0; i < pages; ++i)
            doc_->pages.push_back("Page " + std::to_string(i + 1) +
                                  "\nEncyclop\xe9"
                                  "die");
        doc_->setup = onPrinter && APrinterSetup::current() ? APrinterSetup::current() : setup_;
        settle();
        doc_->printPreview();
        settle();
        auto* dialog = dynamic_cast<AStandardPreviewDlg*>(APreviewDlg::current());
        // As the owners do: counting leaves the last page in the view.
        if (dialog) {
            dialog->countPages();
            dialog->goToPage(0, 1);
        }
        return dialog;
    }
    void closeAll() {
        AComponent* h = host_;
        DeleteComponent(h);
        host_ = nullptr;
        doc_ = nullptr;
    }
    void settle() {
        for (int i = 0; i < 3; ++i) {
            app->flushUpdates();
            Pump();
        }
    }
    template <class T>
    static T* item(AComponent* window, int16_t id) {
        return dynamic_cast<T*>(window->findById(id, 0));
    }

    AWindow* host_ = nullptr;         // the document's window
    PreviewDocument* doc_ = nullptr;  // in host_
    APrinterSetup* setup_ = nullptr;
};

TEST_F(PreviewTest, PagesAreCountedAndTheArrowsFollowThePageShown) {
    if (!haveDisplay())
        GTEST_SKIP() << "no display";
    struct Row {
        int pages;
        int16_t goTo;
        int16_t previous, next;  // command status: 1 enabled, 2 disabled
    };
    const Row rows[] = {{1, 0, 2, 2}, {3, 0, 2, 1}, {3, 1, 1, 1}, {3, 2, 1, 2}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.pages) + " pages, page " + std::to_string(row.goTo));
        AStandardPreviewDlg* dialog = openPreview(row.pages);
        ASSERT_NE(nullptr, dialog);
        EXPECT_EQ(row.pages, dialog->pageCount());
        EXPECT_EQ(row.pages, doc_->told);
        dialog->goToPage(row.goTo, 0);
        EXPECT_EQ(row.goTo, dialog->view()->currentPage());
        EXPECT_EQ(std::to_string(row.goTo + 1), Text(item<AEditBox>(dialog, 1016)));
        EXPECT_EQ(row.previous, dialog->commandStatus(APreviewDlg::kPreviousCommand, 0));
        EXPECT_EQ(row.next, dialog->commandStatus(APreviewDlg::kNextCommand, 0));
        closeAll();
        EXPECT_EQ(nullptr, APreviewDlg::current());
    }
}

TEST_F(PreviewTest, AWholePageZoomTakesTheSmallerFitAndLabelsIt) {
    if (!haveDisplay())
        GTEST_SKIP() << "no display";
    AStandardPreviewDlg* dialog = openPreview(2, true);
    ASSERT_NE(nullptr, dialog);
    APreviewView* view = dialog->view();
    ARect bounds = view->getLocalBounds();
    ARect paper = view->paperRect();
    ASSERT_GT(paper.width(), 0);
    int w = MulDiv(bounds.width() - 2 * view->margin().x, 100, paper.width());
    int h = MulDiv(bounds.height() - 2 * view->margin().y, 100, paper.height());
    struct Row {
        int16_t entry;
        int zoom;
        std::string label;
    };
    char fit[16], width[16];
    snprintf(fit, sizeof fit, "%d %%", h < w ? h : w);
    snprintf(width, sizeof width, "%d %%", w);
    const Row rows[] = {{0, h < w ? h : w, fit}, {1, w, width}, {3, 100, "100 %"}, {2, 50, "50 %"}};
    auto* popup = item<APopupButton>(dialog, 1017);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        popup->selectItem(row.entry);
        dialog->perform(dialog->doCommand(AStandardPreviewDlg::kZoomPopup, 0));
        EXPECT_EQ(row.zoom, view->zoom());
        EXPECT_EQ(row.label, Text(item<AStaticText>(dialog, 1018)));
        ARect sheet = view->sheetOnScreen();
        EXPECT_EQ(MulDiv(paper.width(), row.zoom, 100), sheet.width());
        // Centred when narrower than the view, else at the scaled margin.
        int shift = (bounds.width() - sheet.width()) / 2;
        EXPECT_EQ(MulDiv(20, row.zoom, 100) + (shift > 0 ? shift : 0), sheet.left());
        EXPECT_EQ(MulDiv(20, row.zoom, 100), sheet.top());
    }
}

TEST_F(PreviewTest, APageTypedPastTheEndBeepsAndTheFieldShowsTheLastPage) {
    if (!haveDisplay())
        GTEST_SKIP() << "no display";
    AStandardPreviewDlg* dialog = openPreview(3);
    ASSERT_NE(nullptr, dialog);
    auto* field = item<AEditBox>(dialog, 1016);
    struct Row {
        const char* typed;
        int16_t shown;
        int beeps;
    };
    const Row rows[] = {{"2", 1, 0}, {"9", 2, 1}, {"abc", 2, 0}, {"1", 0, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed);
        int before = TestBeeps;
        field->setText(row.typed);
        settle();
        EXPECT_EQ(row.shown, dialog->view()->currentPage());
        EXPECT_EQ(std::to_string(row.shown + 1), Text(field));
        EXPECT_EQ(row.beeps, TestBeeps - before);
    }
    EXPECT_FALSE(dialog->view()->pageReached() && TestBeeps == 0);
}

TEST_F(PreviewTest, TheOptionsDialogReusesAnOpenPreviewOrPrintsAndCloses) {
    if (!haveDisplay())
        GTEST_SKIP() << "no display";
    InstallScriptedDialog();
    Dialog() = DialogScript();
    AStandardPreviewDlg* preview = openPreview(2);
    ASSERT_NE(nullptr, preview);
    preview->goToPage(1, 0);
    doc_->pages.push_back("Page 3");

    // Preview, with one open: recounted, back at page 0, no second one.
    AComponent::loadLayout(doc_, "TestOptions", 0);
    settle();
    APrintOptionsDlg* options = APrintOptionsDlg::current();
    ASSERT_NE(nullptr, options);
    EXPECT_EQ(doc_, options->printedComponent());
    options->perform(options->doCommand(APrintOptionsDlg::kPreviewCommand, 0));
    settle();
    EXPECT_EQ(nullptr, APrintOptionsDlg::current()) << "the options dialog closed";
    EXPECT_EQ(preview, APreviewDlg::current());
    EXPECT_EQ(1, doc_->previews);
    EXPECT_EQ(3, preview->pageCount());
    EXPECT_EQ(0, preview->view()->currentPage());
    EXPECT_EQ("1", Text(item<AEditBox>(preview, 1016)));

    // Print: the job runs through the print dialog, then the dialog closes.
    JobRecorder recorder(false);
    doc_->log = &recorder.log;
    APrinterSetup::setCurrent(MemorySetup());
    doc_->setup = nullptr;
    AComponent::loadLayout(doc_, "TestOptions", 0);
    settle();
    options = APrintOptionsDlg::current();
    ASSERT_NE(nullptr, options);
    options->perform(options->doCommand(APrintOptionsDlg::kPrintCommand, 0));
    settle();
    EXPECT_EQ(nullptr, APrintOptionsDlg::current());
    EXPECT_EQ(1, Dialog().calls);
    EXPECT_EQ("0,1,2", Drawn(recorder.log));
    EXPECT_EQ(1, Count(recorder.log, "EndDoc")) << recorder.log;
    EXPECT_EQ(1, doc_->previews);

    // Print from the preview: it stays open.
    preview->perform(preview->doCommand(APreviewDlg::kPrintCommand, 0));
    settle();
    EXPECT_EQ(2, Dialog().calls);
    EXPECT_EQ(2, Count(recorder.log, "EndDoc")) << recorder.log;
    EXPECT_EQ(preview, APreviewDlg::current());
    doc_->log = nullptr;
    doc_->setup = setup_;
    APrinterSetup::setCurrent(nullptr);
}

TEST_F(PreviewTest, APreviewWindowShowsTheSheetWithItsPage) {
    if (!haveDisplay())
        GTEST_SKIP() << "no display";
    // Pages in screen units (72 dots an inch), so the text has a readable size.
    AGraphicDisplay::printScalingMode = 2;
    AStandardPreviewDlg* dialog = openPreview(2, true);
    AGraphicDisplay::printScalingMode = 0;
    ASSERT_NE(nullptr, dialog);
    item<APopupButton>(dialog, 1017)->selectItem(0);
    dialog->perform(dialog->doCommand(AStandardPreviewDlg::kZoomPopup, 0));
    HWND window = dialog->getHWnd();
    ASSERT_TRUE(IsWindowVisible(window));
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    settle();
    RECT r;
    GetWindowRect(window, &r);
    Canvas canvas(r.right - r.left, r.bottom - r.top);
    CopyWhenDrawn(window, canvas);
    canvas.savePng("print-preview");

    // The sheet is white with the page's text on it, the background grey.
    APreviewView* view = dialog->view();
    POINT origin = {0, 0};
    ClientToScreen(view->enclosingWindow(), &origin);
    APoint at = view->getFrame().firstCorner() + APoint(origin.x - r.left, origin.y - r.top);
    ARect sheet = view->sheetOnScreen() + at;
    EXPECT_EQ(RGB(128, 128, 128), canvas.pixel(at.x + 2, at.y + 2));
    EXPECT_EQ(RGB(255, 255, 255), canvas.pixel(sheet.right() - 3, sheet.bottom() - 3));
    EXPECT_GT(canvas.inkIn(sheet), 0) << "the page's text is drawn on the sheet";
}

// A component's preview and options open the dialogs that the application's
// factories make, its printer comes from the application's printer factory,
// and a print level of 0 keeps them out.
TEST_F(PreviewTest, ThePreviewAndTheOptionsComeFromTheApplicationsFactories) {
    if (!haveDisplay())
        GTEST_SKIP() << "no display";
    auto* frameApp = static_cast<FrameApp*>(app);
    host_ = new AWindow(app, 0, ASizeSpec(ARect(10, 10, 310, 210)), "Document", "", 0x0800, 0, ARect());
    AObject::completeNew(host_);
    auto* doc = new Document(host_, 11);
    AObject::completeNew(doc);
    doc->pages = {"Premi\xe8re page\nEncyclop\xe9" "die", "Seconde page"};
    // A current printer: the display context holds its information.
    APrinterSetup::setCurrent(MemorySetup());
    settle();
    frameApp->printers = 0;
    doc->printPreview();
    settle();
    auto* dialog = dynamic_cast<AStandardPreviewDlg*>(APreviewDlg::current());
    ASSERT_NE(nullptr, dialog) << "the factory's layout";
    EXPECT_EQ(doc, dialog->AComponent::getParent()) << "made under the printed component";
    ASSERT_TRUE(IsWindowVisible(dialog->getHWnd()));
    dialog->countPages();
    dialog->goToPage(0, 1);
    EXPECT_EQ(2, dialog->pageCount());
    EXPECT_GE(frameApp->printers, 1) << "the preview's printer is the application's";
    HWND window = dialog->getHWnd();
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    settle();
    RECT r;
    GetWindowRect(window, &r);
    Canvas canvas(r.right - r.left, r.bottom - r.top);
    CopyWhenDrawn(window, canvas);
    canvas.savePng("print-preview-factory");

    doc->printOptions();
    settle();
    APrintOptionsDlg* options = APrintOptionsDlg::current();
    ASSERT_NE(nullptr, options);
    EXPECT_EQ(doc, options->printedComponent());
    EXPECT_TRUE(IsWindowVisible(options->getHWnd()));
    options->perform(options->doCommand(APrintOptionsDlg::kCloseItemCommand, 0));
    settle();

    ADisplayComponent::setPrintLevel(0);
    ClearBoxes();
    for (auto entry : {&ADisplayComponent::printPreview, &ADisplayComponent::printOptions})
        (doc->*entry)();
    ADisplayComponent::setPrintLevel(1);
    APrinterSetup::setCurrent(nullptr);
    ASSERT_EQ(2u, CapturedBoxes().size());
    EXPECT_EQ("Driver d'impression introuvable !", CapturedBoxes()[0].text);
}
