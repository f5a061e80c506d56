// The print and export sheets opened from their layouts under Xvfb: panels by
// mode, clicks written to the options and shown on the check boxes, OK of the
// export sheet through the Save As seam; pictures kept as
// build/artifacts/print-sheet-text.png and export-sheet.png.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commdlg.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "docengine/export/AExportOptions.h"
#include "docengine/styles/AStyleSheet.h"
#include "framework/controls/AIconButton.h"
#include "framework/files/AFileBox.h"
#include "framework/files/AOptionsInfo.h"
#include "panes/docks/print/APrintKeys.h"
#include "panes/docks/print/APrintSources.h"
#include "panes/docks/print/ASVExportOptionsDlg.h"
#include "panes/docks/print/ASVPreviewDlg.h"
#include "panes/docks/print/ASVPrintOptionsDlg.h"
#include "tests/docengine/render/RenderTestSupport.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"
#include "tests/panes/docks/print/PdfTestSupport.h"

namespace {

std::vector<std::string> g_log;
std::string g_answer;

int SaveBox(void* record, bool isSave) {
    auto* box = static_cast<OPENFILENAMEA*>(record);
    std::string filter(box->lpstrFilter);
    filter += "|";
    filter += box->lpstrFilter + filter.size();
    g_log.push_back(std::string(isSave ? "save " : "open ") + box->lpstrFile + "|" + filter + "|" + box->lpstrTitle);
    if (g_answer.empty())
        return 0;
    lstrcpynA(box->lpstrFile, g_answer.c_str(), static_cast<int>(box->nMaxFile));
    return 1;
}

class Sources : public APrintSources {
public:
    AString contentsText() override { return AString(); }
    AString notesText() override { return AString(); }
    AString docTitle() override { return AString("Titre du document\n"); }
};

void PumpFor(AApp* app, int rounds) {
    for (int i = 0; i < rounds; ++i) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        app->flushUpdates();
        Sleep(10);
    }
}

std::string Checked(AComponent* window, std::initializer_list<int16_t> ids) {
    std::string s;
    for (int16_t id : ids) {
        auto* b = dynamic_cast<AIconButton*>(window->findById(id, 0));
        s += !b ? '?' : (b->state() & AClusterItem::kMarked) ? 'x' : (b->state() & AClusterItem::kOn) ? 'o' : '-';
    }
    return s;
}

std::string Panels(AComponent* window) {
    std::string s;
    for (int16_t id : {6001, 6002, 6003}) {
        auto* panel = dynamic_cast<ADisplayComponent*>(window->findById(id, 0));
        s += !panel ? '?' : panel->hasFlags(ADisplayComponent::kShown) ? '1' : '0';
    }
    return s;
}

class SheetWindowTest : public RenderTest {
protected:
    void SetUp() override {
        RenderTest::SetUp();
        old_ = SetFileDialogCall(&SaveBox);
        g_log.clear();
    }
    void TearDown() override {
        SetFileDialogCall(old_);
        RenderTest::TearDown();
    }
    AFileDialogCall old_ = nullptr;
};

TEST_F(SheetWindowTest, ThePrintSheetShowsThePanelOfItsModeAndWritesEachClick) {
    make("Le texte de la vue\n");
    ALongDicInfo options;
    options.setLong(PrintKey::kHasSelection, 1);
    options.setLong(PrintKey::kHasContents, 1);
    options.setLong(PrintKey::kHasNotes, 1);
    ASVPrintOptionsDlg::setMainOptions(nullptr);
    if (!window->openWindow("article"))
        GTEST_SKIP() << "no display";
    window->showUpdate();
    ASVPrintOptionsDlg* sheet = ASVPrintOptionsDlg::openSheet(view, ASVPrintOptionsDlg::kText);
    ASSERT_NE(nullptr, sheet);
    sheet->setOptions(&options);
    // Each check box is a box of its own, not a strip that lies over the next one.
    for (int16_t id : {6110, 6111, 6115, 6116, 6117, 6118, 6119, 6120}) {
        SCOPED_TRACE(id);
        auto* box = dynamic_cast<ADisplayComponent*>(sheet->findById(id, 0));
        ASSERT_TRUE(box);
        EXPECT_EQ(16, box->getFrame().width());
        EXPECT_EQ(16, box->getFrame().height());
    }
    struct ModeRow {
        int16_t mode;
        const char* panels;
    } modes[] = {{1, "010"}, {3, "010"}, {2, "001"}, {9, "001"}, {0, "100"}};
    for (const ModeRow& row : modes) {
        SCOPED_TRACE(row.mode);
        sheet->setMode(row.mode);
        EXPECT_EQ(row.panels, Panels(sheet));
    }
    struct ClickRow {
        int16_t id;
        const char* keys;     // keys 5 to 9 after the click
        const char* checked;  // 6110 6111 6115 6116 6117 6118 6119 6120
    } clicks[] = {
        {6115, "00000", "xoxooooo"}, {6117, "00002", "xoooxooo"}, {6116, "00001", "xooxoooo"},
        {6118, "01001", "xooxoxoo"}, {6111, "11001", "oxoxo---"}, {6110, "01001", "xooxoxoo"},
    };
    for (const ClickRow& row : clicks) {
        SCOPED_TRACE(row.id);
        app->perform(sheet->doCommand(row.id, 0));
        PumpFor(app, 2);
        std::string keys;
        for (long key : {5, 6, 7, 8, 9})
            keys += std::to_string(options.getLong(key));
        EXPECT_EQ(row.keys, keys);
        EXPECT_EQ(row.checked, Checked(sheet, {6110, 6111, 6115, 6116, 6117, 6118, 6119, 6120}));
    }
    if (sheet->getHWnd()) {
        sheet->select();
        PumpFor(app, 5);
        Snapshot(sheet, "print-sheet-text");
    }
    app->perform(sheet->doCommand(1015, 0));
    PumpFor(app, 5);
    EXPECT_EQ(nullptr, APrintOptionsDlg::current()) << "ANNULER closes";
    EXPECT_EQ(1, options.getLong(PrintKey::kTextSize)) << "and keeps the clicks";
    EXPECT_EQ(1, options.getLong(PrintKey::kWithContents));
}

TEST_F(SheetWindowTest, ExportInstallsTheExporterAndAsksForTheFile) {
    make("Le texte de la vue\n");
    std::string folder = std::string(getenv("TEMP") ? getenv("TEMP") : "C:\\windows\\temp");
    std::string file = folder + "\\sv-export-sheet.rtf";
    DeleteFileA(file.c_str());
    AExportOptions options(AFileSpec((folder + "\\sv-export.prf").c_str()));
    options.setFolder(AFileSpec(folder.c_str()));
    options.setLong(PrintKey::kHasSelection, 0);
    options.setLong(PrintKey::kSelectionOnly, 0);
    Sources sources;
    auto* partSheet = new AStyleSheet();
    partSheet->addRef();
    ASVExportOptionsDlg* sheet = ASVExportOptionsDlg::openSheet(app);
    ASSERT_NE(nullptr, sheet);
    sheet->setExportOptions(&options);
    sheet->setView(view, &sources, partSheet);
    sheet->loadOptions();
    sheet->refreshItems();
    PumpFor(app, 3);
    EXPECT_EQ("--xoo", Checked(sheet, {6110, 6111, 6115, 6116, 6117}));
    if (sheet->getHWnd()) {
        sheet->select();
        PumpFor(app, 5);
        Snapshot(sheet, "export-sheet");
    }
    g_answer = file;
    app->perform(sheet->doCommand(1010, 0));
    PumpFor(app, 5);
    ASSERT_EQ(1u, g_log.size());
    EXPECT_EQ("save export.rtf|Fichier RTF|*.rtf|Enregistrer sous", g_log[0]);
    std::ifstream in(file, std::ios::binary);
    std::stringstream rtf;
    rtf << in.rdbuf();
    EXPECT_NE(std::string::npos, rtf.str().find("Titre du document")) << "the reader's exporter wrote the title";
    EXPECT_NE(std::string::npos, rtf.str().find("Le texte de la vue")) << "and the whole text (key 5 = 0)";
    EXPECT_NE(nullptr, view->rendererLayer()->getExportProvider());
    view->rendererLayer()->setExportProvider(nullptr);
    DeleteFileA(file.c_str());
    partSheet->release();
}

}  // namespace

namespace {

TEST_F(SheetWindowTest, ThePreviewLabelsItsPagesAndSwitchesBetweenWholePageAndActualSize) {
    make("Le texte de la vue, sur une seule page.\nUne seconde ligne.\n");
    if (!window->openWindow("article"))
        GTEST_SKIP() << "no display";
    window->showUpdate();
    auto* preview = dynamic_cast<ASVPreviewDlg*>(AComponent::loadLayout(view, ASVPreviewDlg::kLayoutName, 0));
    ASSERT_NE(nullptr, preview);
    PumpFor(app, 3);
    EXPECT_EQ("Page 1 sur 1", std::string(preview->pageLabel().c_str()));
    EXPECT_TRUE(preview->wholePage());
    EXPECT_EQ(5, preview->commandStatus(ASVPreviewDlg::kWholePageBox, 0));
    preview->select();
    PumpFor(app, 10);
    Snapshot(preview, "print-preview");
    EXPECT_TRUE(IsWindowVisible(preview->getHWnd()));
    EXPECT_EQ("", errors.text);
    int16_t fitted = preview->zoom();
    EXPECT_NE(100, fitted) << "the checked box and the view agree from the start";
    struct Row {
        int16_t zoom;  // 0: the fitted zoom of the whole page
        int16_t status;
    } rows[] = {{100, 1}, {0, 5}, {100, 1}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.zoom);
        app->perform(preview->doCommand(ASVPreviewDlg::kWholePageBox, 0));
        EXPECT_EQ(row.zoom ? row.zoom : fitted, preview->zoom());
        EXPECT_EQ(row.status, preview->commandStatus(ASVPreviewDlg::kWholePageBox, 0));
    }
    RECT r;
    GetWindowRect(preview->getHWnd(), &r);
    SetWindowPos(preview->getHWnd(), nullptr, 0, 0, r.right - r.left - 40, r.bottom - r.top - 30,
                 SWP_NOMOVE | SWP_NOZORDER);
    PumpFor(app, 3);
    EXPECT_NE(100, preview->zoom()) << "a resize returns to the whole page";
    app->perform(preview->doCommand(1015, 0));
    PumpFor(app, 3);
}

}  // namespace

namespace {

TEST_F(SheetWindowTest, PrintingFromThePreviewClosesItAndLeavesNothingForTheQueue) {
    make("Le texte de la vue, sur une seule page.\n");
    if (!window->openWindow("article"))
        GTEST_SKIP() << "no display";
    window->showUpdate();
    if (!DefaultPdfPrinter())
        GTEST_SKIP() << "no printer: the preview lays pages out on the default printer";
    ScriptedPrintJob job;
    struct Row {
        bool confirm;
        bool click;  // the button clicked, else its command performed
        int pages;
    } rows[] = {{false, false, 0}, {true, false, 1}, {false, true, 0}, {true, true, 1}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.confirm) + " " + std::to_string(row.click));
        job.restart(row.confirm);
        long before = AObject::liveCount();
        auto* preview = dynamic_cast<ASVPreviewDlg*>(AComponent::loadLayout(view, ASVPreviewDlg::kLayoutName, 0));
        ASSERT_NE(nullptr, preview);
        PumpFor(app, 3);
        auto* button = dynamic_cast<ADisplayComponent*>(preview->findById(APreviewDlg::kPrintCommand, 0));
        ASSERT_NE(nullptr, button);
        if (row.click) {
            preview->select();
            PumpFor(app, 3);
            ARect b = button->getLocalBounds();
            APoint at = APoint((b.left() + b.right()) / 2, (b.top() + b.bottom()) / 2) + button->windowPosition();
            HWND target = button->enclosingWindow();
            ASSERT_TRUE(target);
            PostMessageA(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
            PostMessageA(target, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
            PumpFor(app, 3);
        } else {
            app->perform(preview->doCommand(APreviewDlg::kPrintCommand, 0));
        }
        app->commandQueue().run();
        PumpFor(app, 3);
        app->commandQueue().run();
        EXPECT_EQ(1, ScriptedPrintJob::dialogs);
        EXPECT_EQ(row.pages, ScriptedPrintJob::pages);
        EXPECT_EQ(nullptr, APreviewDlg::current()) << "IMPRIMER closes the preview";
        EXPECT_EQ(before, AObject::liveCount()) << "the preview and its printers are gone";
    }
    EXPECT_EQ("", errors.text);
}

}  // namespace
