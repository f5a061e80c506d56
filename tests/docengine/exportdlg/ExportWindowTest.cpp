// The export options dialog opened from its layout under Xvfb, driven by its
// commands and by real clicks, with the Save As box and the message
// box answered through their seams; kept as build/artifacts/export-options-dialog.png.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commdlg.h>

#include <string>
#include <vector>

#include "base/procedural/KyPath.h"
#include "docengine/export/AExportOptions.h"
#include "docengine/exportdlg/AExportOptionsWindow.h"
#include "framework/app/AApp.h"
#include "framework/clusters/AItemCluster.h"
#include "framework/files/AFileBox.h"
#include "tests/base/procedural/FileTestSupport.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"
#include "tests/support/TestHooks.h"

namespace {

std::vector<std::string> g_log;
std::string g_answer;  // the file the Save As box answers; "" cancels

class DialogApp : public AApp {
public:
    DialogApp() : AApp(AString("Savantorium"), ARect(), 0, 0) {}
    void beep(uint32_t) override {}
    int messageBox(const char* text, const char* caption, unsigned flags, AComponent*) override {
        g_log.push_back(std::string("message ") + text + "|" + caption + "|" + std::to_string(flags));
        return IDOK;
    }

protected:
    void* createFrameWindow(const ARect&, const AString&) override { return nullptr; }
};

// The Save As box: logs the proposed file, the filter and the title, then answers.
int SaveBox(void* record, bool isSave) {
    auto* box = static_cast<OPENFILENAMEA*>(record);
    std::string filter(box->lpstrFilter);
    filter += "|";
    filter += box->lpstrFilter + filter.size();
    g_log.push_back(std::string(isSave ? "save " : "open ") + box->lpstrInitialDir + "\\" + box->lpstrFile + "|" +
                    filter + "|" + box->lpstrTitle);
    if (g_answer.empty())
        return 0;
    lstrcpynA(box->lpstrFile, g_answer.c_str(), static_cast<int>(box->nMaxFile));
    return 1;
}

class Target : public AExportTarget {
public:
    bool exportRtfFile(const AFileSpec& file, uint16_t whole) override {
        g_log.push_back(std::string("export ") + file.path().c_str() + " " + std::to_string(whole));
        return works;
    }
    bool works = true;
};

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Pumps and runs the deferred commands until the dialog is gone; false when it stays.
bool PumpUntilClosed(AApp* app) {
    for (int round = 0; round < 200 && gExportOptionsDlg; ++round) {
        Pump();
        app->flushUpdates();
        Sleep(10);
    }
    return gExportOptionsDlg == nullptr;
}

void Click(HWND button) {
    RECT r;
    GetWindowRect(button, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
}

}  // namespace

class ExportWindowTest : public TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        AClass::buildRegistry();
        TestClock() = 1000;
        SetErrorStream(&errors);
        app = new DialogApp;
        app->setInstance(GetModuleHandleA(nullptr), "", SW_SHOWNORMAL);
        AObject::completeNew(app);
        app->flushUpdates();
        old_ = SetFileDialogCall(&SaveBox);
        g_log.clear();
    }
    void TearDown() override {
        SetFileDialogCall(old_);
        AComponent* root = app;
        DeleteComponent(root);
        Pump();
        SetErrorStream(nullptr);
        AClass::releaseRegistry();
        TestClock() = 0;
        TempFolderTest::TearDown();
    }
    // The dialog from its layout, shown and in front; null without a display.
    AExportOptionsWindow* open(AExportOptions* options, uint16_t whole) {
        AExportOptionsWindow* dialog = AExportOptionsWindow::openDialog(app);
        if (!dialog || !dialog->getHWnd())
            return nullptr;
        dialog->setOptions(options);
        dialog->setTarget(&target);
        dialog->setWhole(whole);
        dialog->select();
        app->flushUpdates();
        SetForegroundWindow(dialog->getHWnd());
        Pump();
        Pump();
        return dialog;
    }
    HWND button(AExportOptionsWindow* dialog, int16_t id) {
        AClusterItem* item = dialog->findItem(id, true);
        return item ? item->getHWnd() : nullptr;
    }

    AApp* app = nullptr;
    CaptureStream errors;
    Target target;
    AFileDialogCall old_ = nullptr;
};

TEST_F(ExportWindowTest, ExportAndCloseRunFromCommandsAndClicks) {
    CreateDirectoryA(PathOf("autre").c_str(), nullptr);
    KY_FileSpec spec{nullptr};
    ASSERT_EQ(0, KY_GetPersonalDir(&spec));
    const std::string personal = AFileSpec(spec).path().c_str();
    KY_FreeFileSpec(&spec);
    const std::string autre = PathOf("autre");
    const std::string rtf = "|Fichier RTF|*.rtf|Enregistrer sous";
    enum How { kCommand, kClick };
    struct Row {
        How how;
        int16_t id;  // the command or the clicked button
        const char* answer;
        bool works;
        std::vector<std::string> log;
    };
    const Row rows[] = {
        {kClick,
         1010,
         "autre\\article.rtf",
         true,
         {"save " + personal + "\\export.rtf" + rtf, "export " + autre + "\\article.rtf 1"}},
        {kCommand, 1010, "", true, {"save " + autre + "\\export.rtf" + rtf}},
        {kClick, 1015, "autre\\y.rtf", true, {}},
        {kCommand, 1015, "", true, {}},
    };
    AExportOptions options(AFileSpec(PathOf("export.prf").c_str()));
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(&r - rows));
        g_log.clear();
        g_answer = r.answer[0] ? PathOf(r.answer) : "";
        target.works = r.works;
        AExportOptionsWindow* dialog = open(&options, 1);
        if (!dialog)
            GTEST_SKIP() << "no display";
        EXPECT_EQ(&dialog->logic(), gExportOptionsDlg);
        switch (r.how) {
            case kCommand:
                app->perform(dialog->doCommand(r.id, 0));
                break;
            case kClick:
                Click(button(dialog, r.id));
                break;
        }
        EXPECT_TRUE(PumpUntilClosed(app));
        EXPECT_EQ(r.log, g_log);
    }
    EXPECT_EQ(autre, std::string(options.getFolder().path().c_str()));
}

TEST_F(ExportWindowTest, TheDialogShowsItsTextAndButtons) {
    AExportOptionsWindow* dialog = open(nullptr, 1);
    if (!dialog)
        GTEST_SKIP() << "no display";
    EXPECT_EQ("Exporter", std::string(dialog->getTitle().c_str()));
    RedrawWindow(dialog->getHWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    for (int round = 0; round < 5; ++round) {
        Pump();
        Sleep(20);
    }
    RECT r;
    GetWindowRect(dialog->getHWnd(), &r);
    Canvas canvas(r.right - r.left, r.bottom - r.top);
    HDC screen = GetDC(nullptr);
    BitBlt(canvas.dc(), 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    canvas.savePng("export-options-dialog");
    char label[32] = "";
    GetWindowTextA(button(dialog, 1010), label, sizeof label);
    EXPECT_EQ("Exporter...", std::string(label));
    RECT b;
    GetWindowRect(button(dialog, 1015), &b);
    EXPECT_GT(canvas.inkIn(ARect(b.left - r.left, b.top - r.top, b.right - r.left, b.bottom - r.top)), 0);
    EXPECT_EQ(0, errors.text.size()) << errors.text;
}
