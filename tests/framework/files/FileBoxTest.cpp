// File boxes through the dialog seam: the record they fill, what they make of
// the answer, the remembered folder and the current folder; and the real Open
// dialog, shown and cancelled.
#include <gtest/gtest.h>
#include <windows.h>
// The dialog declarations need windows.h first.
#include <commdlg.h>

#include <cstring>
#include <string>

#include "framework/files/AFileBox.h"
#include "tests/base/procedural/FileTestSupport.h"

namespace {

// What the last dialog was given, and the answer the next one gives.
struct Script {
    std::string filter, defExt, initialDir, name, title;
    unsigned long flags = 0, size = 0, maxFile = 0, filterIndex = 0;
    bool isSave = false;
    int answer = 0;
    std::string chosen;
    unsigned long chosenFilter = 1;
    std::string wander;  // the dialog moves the current folder here
} gScript;

int ScriptedDialog(void* record, bool isSave) {
    auto* d = static_cast<OPENFILENAMEA*>(record);
    const char* end = d->lpstrFilter;
    while (*end)
        end += std::strlen(end) + 1;
    gScript.filter.assign(d->lpstrFilter, end - d->lpstrFilter + 1);
    gScript.defExt = d->lpstrDefExt ? d->lpstrDefExt : "(none)";
    gScript.initialDir = d->lpstrInitialDir;
    gScript.name = d->lpstrFile;
    gScript.title = d->lpstrTitle ? d->lpstrTitle : "(system)";
    gScript.flags = d->Flags;
    gScript.size = d->lStructSize;
    gScript.maxFile = d->nMaxFile;
    gScript.filterIndex = d->nFilterIndex;
    gScript.isSave = isSave;
    if (!gScript.wander.empty())
        SetCurrentDirectoryA(gScript.wander.c_str());
    if (gScript.answer) {
        lstrcpynA(d->lpstrFile, gScript.chosen.c_str(), d->nMaxFile);
        d->nFileOffset = static_cast<WORD>(gScript.chosen.find_last_of('\\') + 1);
        d->nFilterIndex = gScript.chosenFilter;
    }
    return gScript.answer;
}

class FileBoxTest : public TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        gScript = Script();
        previous_ = SetFileDialogCall(ScriptedDialog);
    }
    void TearDown() override {
        SetFileDialogCall(previous_);
        TempFolderTest::TearDown();
    }
    AFileDialogCall previous_ = nullptr;
};

std::string CurrentFolder() {
    char path[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, path);
    return path;
}

TEST_F(FileBoxTest, TheRecordOfEachBox) {
    static const char* const kThree[][2] = {
        {"*.rtf", "Fichier RTF"}, {"*.txt", "Texte"}, {"*.*", "Tout"}, {nullptr, nullptr}};
    static const char* const kNone[][2] = {{nullptr, nullptr}};
    struct Row {
        const char* name;
        int box;  // 0 save with pairs, 1 save with one filter, 2 open
        const char* const (*pairs)[2];
        int16_t index;
        const char* filter;
        const char* defExt;
        unsigned long flags, filterIndex;
    } rows[] = {
        {"three filters", 0, kThree, 1, "Fichier RTF|*.rtf|Texte|*.txt|Tout|*.*||", "rtf", 0x88006, 2},
        {"index past the end", 0, kThree, 5, "Fichier RTF|*.rtf|Texte|*.txt|Tout|*.*||", "rtf", 0x88006, 1},
        {"no pairs", 0, kNone, 0, "Tous les fichiers|*.*||", "(none)", 0x88006, 1},
        {"null pairs", 0, nullptr, 0, "Tous les fichiers|*.*||", "(none)", 0x88006, 1},
        {"one filter", 1, nullptr, 0, "Fichier RTF|*.rtf||", "rtf", 0x88006, 1},
        {"open", 2, nullptr, 0, "Tous les fichiers|*.*||", "(none)", 0x81004, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::string expected = row.filter;  // '|' stands for NUL
        for (char& c : expected)
            c = c == '|' ? '\0' : c;
        if (row.box == 0)
            AFileBox box(AFileSpec(), row.pairs, row.index, "Enregistrer sous");
        else if (row.box == 1)
            AFileBox box(AFileSpec(), AFileFilter("*.rtf", "Fichier RTF"), "Enregistrer sous");
        else
            AOpenFileBox box(AFileFilter::defaultFilter(), nullptr, nullptr);
        EXPECT_EQ(expected, gScript.filter);
        EXPECT_EQ(row.defExt, gScript.defExt);
        EXPECT_EQ(row.flags, gScript.flags);
        EXPECT_EQ(row.filterIndex, gScript.filterIndex);
        EXPECT_EQ(sizeof(void*) == 4 ? 76u : 136u, gScript.size) << "the size of the older record";
        EXPECT_EQ(260u, gScript.maxFile);
        EXPECT_EQ(row.box != 2, gScript.isSave);
        EXPECT_EQ(row.box == 2 ? "(system)" : "Enregistrer sous", gScript.title);
    }
}

TEST_F(FileBoxTest, AnswersFoldersAndTheCurrentFolder) {
    CreateDirectoryA(PathOf("d").c_str(), nullptr);
    CreateDirectoryA(PathOf("e").c_str(), nullptr);
    std::string before = CurrentFolder();

    // Cancelled: nothing chosen.
    AFileBox cancelled(AFileSpec(PathOf("d\\a.rtf").c_str()), AFileFilter("*.rtf", "RTF"), nullptr);
    EXPECT_EQ(0, cancelled.ok());
    EXPECT_TRUE(cancelled.fileSpec().empty());
    EXPECT_TRUE(cancelled.fileName().empty());
    EXPECT_EQ("a.rtf", gScript.name);
    EXPECT_EQ(PathOf("d"), gScript.initialDir);

    // Confirmed in e, after the dialog wandered off to d.
    gScript.answer = 1;
    gScript.chosen = PathOf("e\\b.txt");
    gScript.chosenFilter = 2;
    gScript.wander = PathOf("d");
    static const char* const kTwo[][2] = {{"*.rtf", "RTF"}, {"*.txt", "Texte"}, {nullptr, nullptr}};
    AFileBox chosen(AFileSpec(), kTwo, 0, nullptr);
    EXPECT_EQ(1, chosen.ok());
    EXPECT_EQ(PathOf("e\\b.txt"), chosen.fileSpec().path().c_str());
    EXPECT_EQ("b.txt", std::string(chosen.fileName().c_str()));
    EXPECT_EQ(1, chosen.filterIndex());
    EXPECT_EQ(PathOf("e"), AFileBoxBase::rememberedFolder());
    EXPECT_EQ(before, CurrentFolder());

    struct Row {
        const char* initial;  // "" for none
        const char* name;
        const char* folder;
    } rows[] = {
        {"", "", "e"},
        {"d", "", "d"},
        {"missing\\c.rtf", "c.rtf", "d"},
        {"e\\f.rtf", "f.rtf", "e"},
    };
    gScript.answer = 0;
    gScript.wander.clear();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.initial);
        AFileSpec initial = *row.initial ? AFileSpec(PathOf(row.initial).c_str()) : AFileSpec();
        AOpenFileBox box(AFileFilter("*.*", "Tout"), nullptr, &initial);
        EXPECT_EQ(row.name, gScript.name);
        EXPECT_EQ(PathOf(row.folder), gScript.initialDir);
    }
}

// Finds the test's Open dialog and cancels it: 1 when found within 30 s.
DWORD WINAPI CancelOpenDialog(void*) {
    for (int tries = 0; tries < 600; ++tries) {
        if (HWND dialog = FindWindowA("#32770", "Ouvrir le test")) {
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            return 1;
        }
        Sleep(50);
    }
    return 0;
}

// The system's Open dialog opens, is found and is cancelled.
TEST(RealFileBoxTest, TheOpenDialogShowsAndCancels) {
    HWND probe = CreateWindowA("STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    if (!probe)
        GTEST_SKIP() << "no display";
    DestroyWindow(probe);
    HANDLE canceller = CreateThread(nullptr, 0, CancelOpenDialog, nullptr, 0, nullptr);
    AOpenFileBox box(AFileFilter("*.*", "Tout"), "Ouvrir le test", nullptr);
    WaitForSingleObject(canceller, INFINITE);
    DWORD found = 0;
    GetExitCodeThread(canceller, &found);
    CloseHandle(canceller);
    EXPECT_EQ(1u, found);
    EXPECT_EQ(0, box.ok());
}

}  // namespace
