// The main window's print and export commands over a frame with an article
// pane and a list pane: the keys written before printing and exporting, the
// printer installed on the article view, the export sheet, and the RTF
// export of the result list with its limit message, its failure message and
// its remembered folder.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commdlg.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/frame/AFramePrinting.h"
#include "docengine/export/AExportOptions.h"
#include "docengine/export/ARtfExportWriter.h"
#include "docengine/model/ALaidOutDocModel.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/render/ATextRenderer.h"
#include "docengine/styles/AStyleSheet.h"
#include "framework/files/AFileBox.h"
#include "framework/printing/APrinterOptions.h"
#include "panes/docks/print/APrintKeys.h"
#include "panes/docks/print/ASVExportOptionsDlg.h"
#include "panes/docks/print/ASVFramePrinting.h"
#include "panes/docks/print/ASVPreviewDlg.h"
#include "panes/docks/print/ASVPrintOptionsDlg.h"
#include "panes/docks/print/ASVRendererPrinter.h"
#include "tests/app/frame/FrameTestSupport.h"
#include "tests/base/procedural/FileTestSupport.h"
#include "tests/panes/docks/print/PdfTestSupport.h"

namespace {

std::string g_saveAs;  // the file the save box answers

int SaveBoxAnswer(void* record, bool) {
    auto* box = static_cast<OPENFILENAMEA*>(record);
    lstrcpynA(box->lpstrFile, g_saveAs.c_str(), static_cast<int>(box->nMaxFile));
    return 1;
}

// A press and a release of the mouse on a sheet's item, where the reader sees it.
void ClickItem(AApp* app, AComponent* sheet, int16_t id) {
    auto* item = dynamic_cast<ADisplayComponent*>(sheet->findById(id, 0));
    ASSERT_NE(nullptr, item) << id;
    // The check boxes are drawn in their items' top left corners, which a
    // button's face also covers.
    APoint at = item->windowPosition();
    APoint size = item->getSize();
    at.x += std::min<int32_t>(size.x, 16) / 2;
    at.y += std::min<int32_t>(size.y, 16) / 2;
    HWND window = item->enclosingWindow();
    ASSERT_NE(nullptr, window);
    auto pump = [app] {
        for (int i = 0; i < 5; ++i) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            app->commandQueue().run();
            app->flushUpdates();
        }
    };
    // The button follows the pointer while pressed: the pointer goes there first.
    POINT screen = {at.x, at.y};
    ClientToScreen(window, &screen);
    SetCursorPos(screen.x, screen.y);
    pump();
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    pump();
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    pump();
}

// Why a test cannot print to the printer "PDF" here, or "" when it can; where
// the test run requires the printer, its absence is a failure.
std::string NoPrinter() {
    if (DefaultPdfPrinter())
        return "";
    EXPECT_EQ(0u, GetEnvironmentVariableA("SV_REQUIRE_PRINTER", nullptr, 0)) << "no printer \"PDF\"";
    return "no printer \"PDF\": tools/setup.sh installs it, tools/test.sh starts CUPS";
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class Services : public AReaderPrintServices {
public:
    AString docTitle(long docNo) override { return AString(("Article " + std::to_string(docNo)).c_str()); }
    bool hasContents(long docNo) override { return docNo == 5; }
    bool hasNote(long docNo) override { return docNo == 5; }
    AString notesText(long) override { return AString("Notes\n"); }
    AStyleSheet* styleSheet(long number) override { return number == 2 ? partSheet : nullptr; }
    void message(const AString& text, unsigned flags) override {
        log.push_back("message " + std::string(text.c_str()) + "|" + std::to_string(flags));
    }
    AFileSpec personalFolder() override { return AFileSpec(personal.c_str()); }
    bool askSaveFile(const AFileSpec& proposed, const char* pattern, const char* typeName, const char* title,
                     AFileSpec* chosen) override {
        log.push_back("save " + std::string(proposed.path().c_str()) + "|" + typeName + "|" + pattern + "|" + title);
        if (answer.empty())
            return false;
        *chosen = AFileSpec(answer.c_str());
        return true;
    }
    bool exportList(ARendererView* list, const AFileSpec& file, long lines) override {
        log.push_back("export " + std::to_string(lines) + " " + file.path().c_str());
        listFlags.push_back(gRtfListExport);
        return real ? AReaderPrintServices::exportList(list, file, lines) : works;
    }
    std::vector<std::string> log;
    std::string personal, answer;
    bool works = true;
    bool real = false;                  // the reader's own list export
    std::vector<uint16_t> listFlags;    // the RTF writer's list flag during each export
    AStyleSheet* partSheet = nullptr;   // not owned: sheet 2, for the exported parts
};

class FolderServices : public TestServices {
public:
    AString printFilesFolder() override { return AString(folder.c_str()); }
    std::string folder;
};

class FramePrintTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        char temp[MAX_PATH], name[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        GetTempFileNameA(temp, "kyp", 0, name);
        DeleteFileA(name);
        CreateDirectoryA(name, nullptr);
        folder_ = name;
        folderServices.folder = folder_;
        gFrameServices = &folderServices;
        printing.reset(new ASVFramePrinting(&reader));
        gFramePrinting = printing.get();
        reader.personal = folder_;
    }
    void TearDown() override {
        gFramePrinting = nullptr;
        for (ARenderer* r : renderers)
            r->release();
        FrameTest::TearDown();
        gFrameServices = nullptr;
        printing.reset();
        RemoveTree(folder_);
    }
    // The view of a pane with a text renderer over text (none: no model).
    ARendererView* viewWith(int16_t paneId, const char* text) {
        ARendererView* view = ASVFramePrinting::ViewOf(pane(paneId));
        auto* renderer = new ATextRenderer(view->rendererLayer());
        renderer->addRef();
        renderers.push_back(renderer);
        if (text)
            renderer->setTextModel(text, nullptr);
        view->rendererLayer()->setRenderer(renderer);
        return view;
    }
    std::string keys(ALongDicInfo& options) {
        std::string s;
        for (long key : {1, 2, 3, 6, 7})
            s += std::to_string(options.getLong(key));
        return s;
    }

    FolderServices folderServices;
    Services reader;
    std::unique_ptr<ASVFramePrinting> printing;
    std::string folder_;
    std::vector<ARenderer*> renderers;
};

TEST_F(FramePrintTest, PrintingWritesTheKeysAndGivesTheArticleViewTheReadersPrinter) {
    if (!openFrame("PrintFrame"))
        GTEST_SKIP() << "no display";
    struct Row {
        long docNo;
        bool model;
        const char* keys;  // 1, 2, 3, 6, 7 after the command; 6 and 7 were 1
        bool printer;
    } rows[] = {
        {5, true, "01111", true},
        {6, true, "00011", true},  // the print path does not clear 6 and 7
        {5, false, "00011", false},  // no model: neither keys nor printer
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.docNo);
        step(row.docNo);
        ARendererView* view = viewWith(1001, row.model ? "Le texte de l'article\n" : nullptr);
        view->rendererLayer()->setPrinter(nullptr);
        APrinterOptions* options = frame->getPrintOptionsFile();
        for (long key : {1, 2, 3})
            options->setLong(key, 0);
        options->setLong(6, 1);
        options->setLong(7, 1);
        frame->setActivePrintPane(pane(1001));
        // Mode 7 calls none of the view's print operations, which would open dialogs.
        app->perform(frame->printCommand(7));
        EXPECT_EQ(row.keys, keys(*options));
        auto* printer = dynamic_cast<ASVRendererPrinter*>(view->rendererLayer()->rendererPrinter());
        EXPECT_EQ(row.printer, printer != nullptr);
        if (printer) {
            EXPECT_EQ(options, printer->options());
            EXPECT_EQ("0,30,0,30", std::to_string(printer->margins[0]) + "," + std::to_string(printer->margins[1]) +
                                       "," + std::to_string(printer->margins[2]) + "," +
                                       std::to_string(printer->margins[3]));
        }
    }
}

TEST_F(FramePrintTest, ExportOpensTheSheetWithContentsAndNotesClearedWhenTheArticleHasNone) {
    if (!openFrame("PrintFrame"))
        GTEST_SKIP() << "no display";
    step(6);
    viewWith(1001, "Le texte de l'article\n");
    AExportOptions* options = frame->getExportOptions();
    options->setLong(6, 1);
    options->setLong(7, 1);
    frame->setActiveExportPane(pane(1001));
    frame->exportCommand();
    EXPECT_EQ("00000", keys(*options)) << "an article without notes exports with keys 3 and 7 at 0";
    auto* sheet = static_cast<ASVExportOptionsDlg*>(frame->findDescendant(&ASVExportOptionsDlg::classRecord, nullptr));
    ASSERT_NE(nullptr, sheet);
    EXPECT_EQ(AOptionSheet::kDisabled, sheet->sheet().status(6119));
    // Exporter again while the sheet is open brings that sheet to the front.
    EXPECT_NO_THROW(frame->exportCommand());
    EXPECT_EQ(nullptr, frame->findDescendant(&ASVExportOptionsDlg::classRecord, sheet)) << "no second sheet";
    app->perform(sheet->doCommand(1015, 0));
}

TEST_F(FramePrintTest, ResultExportShowsTheLimitThenExportsAndRemembersANewFolderOnly) {
    if (!openFrame("PrintFrame"))
        GTEST_SKIP() << "no display";
    std::string f = folder_;
    CreateDirectoryA((f + "\\autre").c_str(), nullptr);
    viewWith(1002, "ligne 1\nligne 2\n");
    const std::string limit = "message L'export sera limit\xE9 aux 100 premi\xE8res lignes.|64";
    struct Row {
        const char* answer;
        bool works;
        std::vector<std::string> log;
        std::string folder;  // the remembered folder afterwards
    } rows[] = {
        {"autre\\a.rtf", true,
         {"save " + f + "\\resultats.rtf|Fichier RTF|*.rtf|Enregistrer sous", limit, "export 100 " + f + "\\autre\\a.rtf"},
         f + "\\autre"},
        {"autre\\b.rtf", false,
         {"save " + f + "\\autre\\resultats.rtf|Fichier RTF|*.rtf|Enregistrer sous", limit,
          "export 100 " + f + "\\autre\\b.rtf", "message Impossible d'ouvrir " + f + "\\autre\\b.rtf|48"},
         f + "\\autre"},
        {"", true, {"save " + f + "\\autre\\resultats.rtf|Fichier RTF|*.rtf|Enregistrer sous"}, f + "\\autre"},
        {"c.rtf", true,
         {"save " + f + "\\autre\\resultats.rtf|Fichier RTF|*.rtf|Enregistrer sous", limit, "export 100 " + f + "\\c.rtf"},
         f},
    };
    frame->exportRtf();
    EXPECT_TRUE(reader.log.empty()) << "no list pane: nothing";
    frame->setActiveListPane(pane(1002));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.answer);
        reader.log.clear();
        reader.answer = row.answer[0] ? f + "\\" + row.answer : "";
        reader.works = row.works;
        frame->exportRtf();
        EXPECT_EQ(row.log, reader.log);
        EXPECT_EQ(row.folder, std::string(frame->getExportOptions()->getFolder().path().c_str()));
    }
}

// The rows of the reader's result lists are plain rows, one segment each:
// the paragraph mark at each segment's end is all that keeps them apart in
// the file. (The RTF writer's list flag drops that mark, for lists whose rows
// are tables and end with their own row mark: set here, it would run the
// titles together into one paragraph.)
TEST_F(FramePrintTest, TheResultExportKeepsEachRowItsOwnParagraph) {
    if (!openFrame("PrintFrame"))
        GTEST_SKIP() << "no display";
    viewWith(1002, "ligne 1\nligne 2\n");
    frame->setActiveListPane(pane(1002));
    const std::string file = folder_ + "\\liste.rtf";
    reader.answer = file;
    reader.real = true;
    frame->exportRtf();
    reader.real = false;
    EXPECT_EQ(std::vector<uint16_t>{0}, reader.listFlags);
    std::string rtf = ReadText(file);
    size_t first = rtf.find("ligne 1"), second = rtf.find("ligne 2");
    ASSERT_NE(std::string::npos, first) << rtf;
    ASSERT_NE(std::string::npos, second) << rtf;
    EXPECT_NE(std::string::npos, rtf.substr(first, second - first).find("\\par\r\n")) << rtf;
}

TEST_F(FramePrintTest, WithoutAPrintPaneTheWebPagePrintNeedsItsLayout) {
    if (!openFrame("PrintFrame"))
        GTEST_SKIP() << "no display";
    frame->setActiveHtmlPane(pane(1002));
    app->perform(frame->printCommand(1));
    EXPECT_EQ(nullptr, frame->findDescendant(&AWindow::classRecord, frame)) << "no \"ImpNet\": nothing is opened";
}

// IMPRIMER on the preview of a multi-page article with the reader's printer,
// then the queue as the main loop runs it: paper gets the pages the preview
// counted, and nothing queued may reach the closed preview.
TEST_F(FramePrintTest, PrintingFromThePreviewClosesItAndTheQueueRunsCleanly) {
    if (!openFrame("PrintFrame"))
        GTEST_SKIP() << "no display";
    if (!DefaultPdfPrinter())
        GTEST_SKIP() << "no printer: the preview lays pages out on the default printer";
    ScriptedPrintJob job;
    step(5);
    std::string text;
    for (int i = 1; i <= 120; ++i)
        text += "Ligne " + std::to_string(i) + " de l'article\n";
    ARendererView* view = viewWith(1001, text.c_str());
    frame->setActivePrintPane(pane(1001));
    for (bool confirm : {false, true}) {
        SCOPED_TRACE(confirm);
        job.restart(confirm);
        app->perform(frame->printCommand(7));
        long before = AObject::liveCount();
        auto* preview = dynamic_cast<ASVPreviewDlg*>(AComponent::loadLayout(view, ASVPreviewDlg::kLayoutName, 0));
        ASSERT_NE(nullptr, preview);
        preview->show(true);
        app->flushUpdates();
        if (confirm) {
            preview->select();
            app->flushUpdates();
            Snapshot(preview, "print-preview-article");
        }
        int16_t shown = preview->pageCount();
        app->perform(preview->doCommand(APreviewDlg::kPrintCommand, 0));
        app->commandQueue().run();
        app->flushUpdates();
        app->commandQueue().run();
        EXPECT_EQ(1, ScriptedPrintJob::dialogs);
        // The preview lays pages out as paper gets them.
        EXPECT_LE(2, shown);
        EXPECT_EQ(confirm ? shown : 0, ScriptedPrintJob::pages);
        EXPECT_EQ(nullptr, APreviewDlg::current()) << "IMPRIMER closes the preview";
        EXPECT_EQ(before, AObject::liveCount()) << "the preview and its printers are gone";
    }
}

// The article printed for real from the main window with "Avec le sommaire
// en tête": each page is headed by the document's title alone, and the
// table of contents comes once, before the text.
TEST_F(FramePrintTest, TheContentsPrintOnceBeforeTheTextUnderTheTitleAlone) {
    if (!openFrame("PrintFrame"))
        GTEST_SKIP() << "no display";
    if (std::string why = NoPrinter(); !why.empty())
        GTEST_SKIP() << why;
    step(5);
    std::string text = "D\xE9" "but du texte\n";
    for (int i = 1; i <= 90; ++i)
        text += "Ligne " + std::to_string(i) + " du texte\n";
    viewWith(1001, text.c_str());
    pane(1001)->contents = "Premier intertitre\nSecond intertitre\n";
    frame->setActivePrintPane(pane(1001));
    APrinterOptions* options = frame->getPrintOptionsFile();
    options->setLong(PrintKey::kSelectionOnly, 0);
    options->setLong(PrintKey::kWithContents, 1);
    options->setLong(PrintKey::kWithNotes, 0);
    ScriptedPrintJob job(true);
    std::string marker = PdfMarker();
    app->perform(frame->printCommand(0));
    app->commandQueue().run();
    std::string pdf = WaitForPdf(marker, "Ligne 90 du texte");
    ASSERT_FALSE(pdf.empty()) << "no PDF arrived";
    std::string all = RunOnHost("pdftotext -enc UTF-8 '" + pdf + "' -");
    EXPECT_EQ(std::string::npos, all.find("KYCF")) << all.substr(0, 200);
    EXPECT_EQ(0u, all.find("Article 5")) << "the title heads the first page: " << all.substr(0, 200);
    size_t first = all.find("Premier intertitre"), second = all.find("Second intertitre"), body = all.find("but du texte");
    ASSERT_NE(std::string::npos, first) << all.substr(0, 300);
    EXPECT_LT(first, second);
    EXPECT_LT(second, body) << "the contents come before the text";
    EXPECT_EQ(std::string::npos, all.find("Premier intertitre", first + 1)) << "the contents print once";
    EXPECT_NE(std::string::npos, all.find("Ligne 90 du texte"));
    KeepFirstPage(pdf, "printed-contents");
}

// "Avec les médias au fil du texte" clicked on the print sheet and on the
// export sheet, then the article printed for real and exported: the media
// block reaches the paper and the file only with the box checked; the rest
// of the text always does, and the article on screen keeps its media shown.
TEST_F(FramePrintTest, TheMediaBoxOfTheSheetsDecidesWhetherTheMediaBlockIsPrintedAndExported) {
    if (!openFrame("PrintFrame"))
        GTEST_SKIP() << "no display";
    if (std::string why = NoPrinter(); !why.empty())
        GTEST_SKIP() << why;
    step(6);
    ARendererView* view = viewWith(1001, nullptr);
    auto* renderer = static_cast<ATextRenderer*>(view->renderer());
    // A media block, open on screen as the reader shows media by default.
    renderer->setLaidOutTextModel(
        AString("D\xE9" "but du texte\n{C#L\xE9gende de la photographie\n}Fin du texte\n"), nullptr);
    auto* shown = dynamic_cast<ALaidOutDocModel*>(renderer->model());
    ASSERT_NE(nullptr, shown);
    shown->expandAll(0);
    const long onScreen = shown->getPositionCount();
    frame->setActivePrintPane(pane(1001));
    frame->setActiveExportPane(pane(1001));
    APrinterOptions* printOptions = frame->getPrintOptionsFile();
    AExportOptions* exportOptions = frame->getExportOptions();
    for (ALongDicInfo* options : {static_cast<ALongDicInfo*>(printOptions), static_cast<ALongDicInfo*>(exportOptions)})
        for (long key : {PrintKey::kSelectionOnly, PrintKey::kWithContents, PrintKey::kWithNotes})
            options->setLong(key, 0);
    // The save box answers at once, and the exported parts get a sheet, for the test alone.
    struct Seams {
        Services& reader;
        AFileDialogCall box = SetFileDialogCall(&SaveBoxAnswer);
        AStyleSheet* sheet = new AStyleSheet();
        explicit Seams(Services& r) : reader(r) {
            sheet->addRef();
            reader.partSheet = sheet;
        }
        ~Seams() {
            SetFileDialogCall(box);
            reader.partSheet = nullptr;
            sheet->release();
        }
    } seams(reader);
    for (long withMedia : {1, 0}) {
        SCOPED_TRACE(withMedia);
        printOptions->setLong(PrintKey::kWithMedia, !withMedia);
        exportOptions->setLong(PrintKey::kWithMedia, !withMedia);

        // The print sheet over the article, the box clicked, then ANNULER: the click stays.
        ASVPrintOptionsDlg* sheet = ASVPrintOptionsDlg::openSheet(view, ASVPrintOptionsDlg::kText);
        ASSERT_NE(nullptr, sheet);
        sheet->setOptions(printOptions);
        sheet->show(true);
        ClickItem(app, sheet, 6120);
        EXPECT_EQ(withMedia, printOptions->getLong(PrintKey::kWithMedia));
        ClickItem(app, sheet, 1015);
        EXPECT_EQ(nullptr, APrintOptionsDlg::current()) << "ANNULER closes";

        ScriptedPrintJob job(true);
        std::string marker = PdfMarker();
        app->perform(frame->printCommand(0));
        app->commandQueue().run();
        std::string pdf = WaitForPdf(marker, "Fin du texte");
        ASSERT_FALSE(pdf.empty()) << "no PDF arrived";
        std::string paper = RunOnHost("pdftotext -enc UTF-8 '" + pdf + "' -");
        EXPECT_NE(std::string::npos, paper.find("but du texte")) << paper;
        EXPECT_EQ(withMedia != 0, paper.find("gende de la photographie") != std::string::npos) << paper;
        EXPECT_EQ("1", RunOnHost("pdfinfo '" + pdf + "' | sed -n 's/^Pages: *//p' | tr -d '\\n'"))
            << "a folded block leaves no blank page after the text";

        // The export sheet, the box clicked, then OK and the file.
        g_saveAs = folder_ + "\\article.rtf";
        DeleteFileA(g_saveAs.c_str());
        frame->exportCommand();
        auto* exportSheet =
            static_cast<ASVExportOptionsDlg*>(frame->findDescendant(&ASVExportOptionsDlg::classRecord, nullptr));
        ASSERT_NE(nullptr, exportSheet);
        ClickItem(app, exportSheet, 6120);
        EXPECT_EQ(withMedia, exportOptions->getLong(PrintKey::kWithMedia));
        ClickItem(app, exportSheet, 1010);
        std::string rtf = ReadText(g_saveAs);
        EXPECT_NE(std::string::npos, rtf.find("Fin du texte")) << rtf;
        EXPECT_EQ(withMedia != 0, rtf.find("gende de la photographie") != std::string::npos) << rtf;
        view->rendererLayer()->setExportProvider(nullptr);
        if (AComponent* left = frame->findDescendant(&ASVExportOptionsDlg::classRecord, nullptr))
            app->perform(static_cast<ASVExportOptionsDlg*>(left)->doCommand(1015, 0));

        EXPECT_EQ(onScreen, shown->getPositionCount()) << "the screen keeps its media shown";
        if (!withMedia)
            KeepFirstPage(pdf, "printed-without-media");
    }
}

}  // namespace
