// The reader program end to end on a small installation: started as its own
// process in the installation's folder, its frame opened, quit through the
// question, killed, and refused a configuration pair that is missing.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "app/prefs/APrefManager.h"
#include "base/object/AFileSpec.h"
#include "base/object/AFolderSpecs.h"
#include "tests/support/TestHooks.h"
#include "tests/support/HostProgram.h"
#include "tests/reader/AppMainTestSupport.h"

namespace {

std::string ReaderPath() {
    return ProgramFolder() + "..\\..\\reader\\savantorium.exe";
}

struct FoundWindow {
    DWORD pid;
    const char* className;
    HWND window;
};

BOOL CALLBACK FindOfProcess(HWND window, LPARAM param) {
    FoundWindow* found = reinterpret_cast<FoundWindow*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (pid == found->pid && !std::strcmp(name, found->className) && IsWindowVisible(window)) {
        found->window = window;
        return FALSE;
    }
    return TRUE;
}

// The process's visible top-level window of that class, waited for up to 30 s.
HWND WaitForWindow(DWORD pid, const char* className) {
    for (int i = 0; i < 600; ++i) {
        FoundWindow found = {pid, className, nullptr};
        EnumWindows(FindOfProcess, reinterpret_cast<LPARAM>(&found));
        if (found.window)
            return found.window;
        Sleep(50);
    }
    return nullptr;
}

class Reader {
public:
    explicit Reader(const std::string& folder) {
        std::string line = "\"" + ReaderPath() + "\"";
        STARTUPINFOA si{};
        si.cb = sizeof si;
        if (CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &info_))
            CloseHandle(info_.hThread);
        // The framework log of this run, held so that its text outlives its deletion at the end.
        std::string log = AFileSpec(AAppTempFolderSpec(), "sv.log").path().c_str();
        for (int i = 0; i < 600 && log_ == INVALID_HANDLE_VALUE && info_.hProcess; ++i) {
            log_ = CreateFileA(log.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
            if (log_ == INVALID_HANDLE_VALUE)
                Sleep(20);
        }
    }
    ~Reader() {
        if (info_.hProcess) {
            if (WaitForSingleObject(info_.hProcess, 0) != WAIT_OBJECT_0)
                TerminateProcess(info_.hProcess, 9);
            CloseHandle(info_.hProcess);
        }
        if (log_ != INVALID_HANDLE_VALUE)
            CloseHandle(log_);
    }
    bool started() const { return info_.hProcess != nullptr; }
    DWORD pid() const { return info_.dwProcessId; }
    // The exit code, or -1 when the process did not end within a minute.
    int finish() {
        DWORD code = static_cast<DWORD>(-1);
        if (WaitForSingleObject(info_.hProcess, 60000) == WAIT_OBJECT_0)
            GetExitCodeProcess(info_.hProcess, &code);
        return static_cast<int>(code);
    }
    void kill() {
        TerminateProcess(info_.hProcess, 9);
        WaitForSingleObject(info_.hProcess, 60000);
    }
    std::string log() const {
        std::string text;
        if (log_ == INVALID_HANDLE_VALUE)
            return text;
        char buffer[4096];
        DWORD n = 0;
        SetFilePointer(log_, 0, nullptr, FILE_BEGIN);
        while (ReadFile(log_, buffer, sizeof buffer, &n, nullptr) && n > 0)
            text.append(buffer, n);
        return text;
    }
    // The frame is open once the log names the start's last step and the frame has a child window.
    HWND waitForFrame() {
        HWND frame = WaitForWindow(pid(), "KY_MDIFrameWindow");
        for (int i = 0; i < 600 && log().find("#Start step mainwindow") == std::string::npos; ++i)
            Sleep(50);
        return frame;
    }
    // Answers the process's message box with the button; its text.
    std::string answerBox(int button) {
        HWND box = WaitForWindow(pid(), "#32770");
        if (!box)
            return "(no box)";
        char text[512] = "";
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        PostMessageA(box, WM_COMMAND, button, 0);
        return text;
    }

private:
    PROCESS_INFORMATION info_{};
    HANDLE log_ = INVALID_HANDLE_VALUE;
};

void TakePicture(const std::string& name) {
    std::string path = std::string(SV_BINARY_DIR) + "/artifacts/" + name;
    std::string command = "/bin/sh -c \"mkdir -p " + std::string(SV_BINARY_DIR) + "/artifacts && import -window root png:" +
                          path + ".part && mv " + path + ".part " + path + "\"";
    if (!StartHostProgram(command))
        return;
    std::string dosPath = "Z:" + path;
    for (int i = 0; i < 300 && GetFileAttributesA(dosPath.c_str()) == INVALID_FILE_ATTRIBUTES; ++i)
        Sleep(100);
}

std::string ValidQuit(const TinyInstall& install) {
    char value[16] = "";
    GetPrivateProfileStringA("settings", "ValidQuit", "", value, sizeof value, install.path("valid.ini").c_str());
    return value;
}

// The count of navigation states a history file holds, -1 without one.
long HistoryStates(const std::string& bytes) {
    size_t at = bytes.find("<!--nbState-->");
    return at == std::string::npos ? -1 : std::atol(bytes.c_str() + at + 14);
}

// The names of the DLLs the program's image imports, as the loader reads them.
std::vector<std::string> ImportedDlls(const std::string& path) {
    std::vector<std::string> names;
    HMODULE image = LoadLibraryExA(path.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    if (!image)
        return names;
    auto* base = reinterpret_cast<const BYTE*>(image);
    auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& entry = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + entry.VirtualAddress);
         entry.VirtualAddress && d->Name; ++d) {
        std::string name = reinterpret_cast<const char*>(base + d->Name);
        for (char& c : name)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        names.push_back(name);
    }
    FreeLibrary(image);
    return names;
}

// What the loader reads of a module's file: its file alignment and whether
// a section of debug information lies in it; an unreadable file says 0.
struct ModuleLayout {
    DWORD fileAlignment = 0;
    bool debugSections = false;
};

ModuleLayout LayoutOf(const std::string& path) {
    ModuleLayout layout;
    std::ifstream in(path, std::ios::binary);
    std::vector<char> head(4096);
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    auto got = static_cast<size_t>(in.gcount());
    IMAGE_DOS_HEADER dos{};
    if (got < sizeof dos)
        return layout;
    std::memcpy(&dos, head.data(), sizeof dos);
    auto at = static_cast<size_t>(dos.e_lfanew);
    IMAGE_NT_HEADERS nt{};
    if (dos.e_magic != IMAGE_DOS_SIGNATURE || at > got || got - at < sizeof nt)
        return layout;
    std::memcpy(&nt, head.data() + at, sizeof nt);
    size_t sections = at + offsetof(IMAGE_NT_HEADERS, OptionalHeader) + nt.FileHeader.SizeOfOptionalHeader;
    for (WORD i = 0; i < nt.FileHeader.NumberOfSections; ++i) {
        IMAGE_SECTION_HEADER section{};
        size_t from = sections + i * sizeof section;
        if (from > got || got - from < sizeof section)
            return layout;
        std::memcpy(&section, head.data() + from, sizeof section);
        std::string name(reinterpret_cast<const char*>(section.Name), strnlen(reinterpret_cast<const char*>(section.Name), 8));
        // A long name (".debug_info") stands in the string table as "/4".
        if (name[0] == '/') {
            char longName[16] = "";
            in.clear();
            in.seekg(nt.FileHeader.PointerToSymbolTable + nt.FileHeader.NumberOfSymbols * 18 + std::atol(name.c_str() + 1));
            in.read(longName, sizeof longName - 1);
            name = longName;
        }
        if (!name.compare(0, 6, ".debug"))
            layout.debugSections = true;
    }
    layout.fileAlignment = nt.OptionalHeader.FileAlignment;
    return layout;
}

bool HasMdiChild(HWND frame) {
    HWND client = FindWindowExA(frame, nullptr, "MDIClient", nullptr);
    return client && GetWindow(client, GW_CHILD);
}

}  // namespace

TEST(ReaderProgramTest, StartsOpensItsFrameAndQuitsThroughTheQuestion) {
    TinyInstall install;
    ASSERT_EQ("", install.error());
    install.write("sv.ini", "[settings]\r\nHdDataPath=.\r\n");
    {
        Reader reader(install.dir());
        ASSERT_TRUE(reader.started());
        HWND frame = reader.waitForFrame();
        ASSERT_TRUE(frame);
        EXPECT_TRUE(HasMdiChild(frame));
        EXPECT_EQ("0", ValidQuit(install));
        {
            // A second copy brings the first forward and ends.
            Reader second(install.dir());
            EXPECT_EQ(0, second.finish());
        }
        EXPECT_TRUE(IsWindow(frame));
        TakePicture("reader-frame.png");
        PostMessageA(frame, WM_CLOSE, 0, 0);
        EXPECT_EQ("Voulez-vous vraiment quitter ?", reader.answerBox(IDYES));
        EXPECT_EQ(0, reader.finish());
        EXPECT_EQ("", FirstOutOfOrder(reader.log(), {"#Starting...", "CmdLine:", "ValidQuit: (none)",
                                                     "#Start step configuration", "#Start step bases",
                                                     "#Start step mainwindow", "#Exiting...", "#Done..."}));
        EXPECT_EQ("1", ValidQuit(install));
    }
    {
        // A run that is killed leaves "0", and the next start sees it.
        Reader killed(install.dir());
        ASSERT_TRUE(killed.waitForFrame());
        killed.kill();
        EXPECT_EQ("0", ValidQuit(install));
    }
    Reader next(install.dir());
    HWND frame = next.waitForFrame();
    ASSERT_TRUE(frame);
    EXPECT_NE(std::string::npos, next.log().find("ValidQuit: 0"));
    PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ("Voulez-vous vraiment quitter ?", next.answerBox(IDYES));
    EXPECT_EQ(0, next.finish());
}

// The common dialogs and the shell are loaded when a command first needs
// them, the common controls when the first tip shows, COM with the first
// picture of a page: imported, they cost the start tens of milliseconds and
// the resident size some megabytes.
TEST(ReaderProgramTest, TheProgramImportsNoDllThatOnlyCommandsUse) {
    std::vector<std::string> dlls = ImportedDlls(ReaderPath());
    ASSERT_FALSE(dlls.empty()) << ReaderPath();
    EXPECT_NE(dlls.end(), std::find(dlls.begin(), dlls.end(), "USER32.DLL"));
    for (const char* late : {"COMDLG32.DLL", "SHELL32.DLL", "COMCTL32.DLL", "OLE32.DLL"})
        EXPECT_EQ(dlls.end(), std::find(dlls.begin(), dlls.end(), late)) << late;
    // The movie layer is loaded at every start; its sound library only when a movie plays.
    std::string layer = ProgramFolder() + "..\\..\\reader\\QuickTime.qts";
    std::vector<std::string> layerDlls = ImportedDlls(layer);
    ASSERT_FALSE(layerDlls.empty()) << layer;
    EXPECT_EQ(layerDlls.end(), std::find(layerDlls.begin(), layerDlls.end(), "WINMM.DLL"));
}

// The modules every start loads are mapped by the loader, not read whole:
// their sections lie on pages in the file and no debug information rides
// with them (the movie layer took 10 ms to load with it, 2 ms without).
TEST(ReaderProgramTest, TheModulesEveryStartLoadsArePageAlignedAndCarryNoDebugInformation) {
    for (const std::string& module :
         {ReaderPath(), ProgramFolder() + "..\\..\\reader\\QuickTime.qts", std::string(SV_DICO_DLL)}) {
        ModuleLayout layout = LayoutOf(module);
        EXPECT_EQ(0x1000u, layout.fileAlignment) << module;
        EXPECT_FALSE(layout.debugSections) << module;
    }
}

TEST(ReaderProgramTest, AMissingPairIsSaidInFrenchAndEndsTheRunWithAnError) {
    TinyInstall install;
    ASSERT_EQ("", install.error());
    install.write("sv.ini", "[settings]\r\nInstallCD=1\r\nCDVolume=SVTEST\r\n");
    DeleteFileA(install.path("svcd.sgm").c_str());
    // A frame of an earlier run still closing would make this run a second copy.
    for (int i = 0; i < 200 && FindWindowA("KY_MDIFrameWindow", nullptr); ++i)
        Sleep(50);
    Reader reader(install.dir());
    ASSERT_TRUE(reader.started());
    std::string text = reader.answerBox(IDOK);
    EXPECT_NE(std::string::npos, text.find("svcd.sgm")) << text;
    EXPECT_NE(std::string::npos, text.find("introuvable")) << text;
    EXPECT_EQ(2, reader.finish());
}

// A history whose save was cut short after its file was replaced (the flag of
// "valid.ini" left at "0") is whole: the next start reads it.
TEST(ReaderProgramTest, AWholeHistoryIsReadWhateverTheFlagOfItsLastSave) {
    TinyInstall install;
    ASSERT_EQ("", install.error());
    install.write("sv.ini", "[settings]\r\nHdDataPath=.\r\n");
    {
        APrefManager prefs(AFileSpec(install.dir().c_str()), "sv.prf");
        prefs.setLong(APrefManager::kSaveHistory, 1);
    }
    std::string histo = AFileSpec(AAppTempFolderSpec(), "sv.histo").path().c_str();
    DeleteFileA(histo.c_str());
    auto run = [&]() {
        Reader reader(install.dir());
        HWND frame = reader.waitForFrame();
        if (!frame)
            return std::string();
        PostMessageA(frame, WM_CLOSE, 0, 0);
        reader.answerBox(IDYES);
        reader.finish();
        return ReadFileBytes(histo);
    };
    // The start's own state, three times over: the last one, of screen mode
    // 0, is dropped on reading, the two others come back.
    std::string first = run();
    ASSERT_EQ(1, HistoryStates(first));
    size_t state = first.find("<!--AppState-->");
    ASSERT_NE(std::string::npos, state);
    std::string one = first.substr(state);
    std::string three = first.substr(0, state) + one + one + one;
    three.replace(three.find("<!--nbState-->1"), 15, "<!--nbState-->3");
    std::ofstream(histo, std::ios::binary) << three;
    WritePrivateProfileStringA("settings", "ValidHistoQuit", "0", install.path("valid.ini").c_str());
    EXPECT_GE(HistoryStates(run()), 2);
    DeleteFileA(histo.c_str());
}
