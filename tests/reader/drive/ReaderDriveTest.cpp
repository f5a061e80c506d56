// The real reader driven from outside as its user drives it: started on a
// copy of the sample in a Wine desktop of its own, then mouse clicks at the
// drawn buttons and typed keys, step by step, each step pictured under
// build/artifacts/drive/ and listed in drive.log there; at the end the files
// the reader keeps, the printed PDF, the exported result list and the boxes
// its log names.
// Skipped when the sample (tools/sample/build.sh) is not built.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/HostProgram.h"
#include "tests/support/LocalService.h"

namespace {

const std::string kBuild = SV_BINARY_DIR;
const std::string kArtifacts = kBuild + "/artifacts/drive";
const std::string kCopy = kBuild + "/drive-sample";

std::string Dos(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

bool Exists(const std::string& unixPath) {
    return GetFileAttributesA(Dos(unixPath).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadAll(const std::string& dosPath) {
    std::ifstream in(dosPath, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs a shell command of the host and waits for the file it writes last (30 s at most).
bool RunHost(const std::string& command, const std::string& doneFile) {
    DeleteFileA(Dos(doneFile).c_str());
    if (!StartHostProgram("/bin/sh -c \"" + command + " ; touch '" + doneFile + "'\""))
        return false;
    for (int i = 0; i < 300; ++i) {
        if (Exists(doneFile))
            return true;
        Sleep(100);
    }
    return false;
}

template <typename Condition>
bool WaitFor(Condition condition, int milliseconds) {
    for (int waited = 0; waited < milliseconds; waited += 50) {
        if (condition())
            return true;
        Sleep(50);
    }
    return condition();
}

struct TopSearch {
    std::string title;
    const char* className;
    HWND found;
};

BOOL CALLBACK FindTop(HWND window, LPARAM param) {
    auto* s = reinterpret_cast<TopSearch*>(param);
    if (!IsWindowVisible(window))
        return TRUE;
    char name[64] = "", title[256] = "";
    GetClassNameA(window, name, sizeof name);
    GetWindowTextA(window, title, sizeof title);
    if ((!s->className || !std::strcmp(name, s->className)) && s->title == title) {
        s->found = window;
        return FALSE;
    }
    return TRUE;
}

// The desktop's visible top-level window of that title (and class, when given).
HWND TopWindow(const std::string& title, const char* className = nullptr) {
    TopSearch s = {title, className, nullptr};
    EnumWindows(FindTop, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND WaitForTop(const std::string& title, const char* className = nullptr, int milliseconds = 15000) {
    HWND found = nullptr;
    WaitFor([&] { return (found = TopWindow(title, className)) != nullptr; }, milliseconds);
    return found;
}

BOOL CALLBACK FindBox(HWND window, LPARAM param) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (IsWindowVisible(window) && !std::strcmp(name, "#32770") && GetDlgItem(window, 0xFFFF)) {
        *reinterpret_cast<HWND*>(param) = window;
        return FALSE;
    }
    return TRUE;
}

// A message box: a dialog with the static text of id 0xFFFF.
HWND MessageBoxWindow() {
    HWND box = nullptr;
    EnumWindows(FindBox, reinterpret_cast<LPARAM>(&box));
    return box;
}

BOOL CALLBACK FindUntitled(HWND window, LPARAM param) {
    char name[64] = "", title[8] = "";
    GetClassNameA(window, name, sizeof name);
    GetWindowTextA(window, title, sizeof title);
    if (IsWindowVisible(window) && !std::strcmp(name, "KY_Window") && !title[0]) {
        *reinterpret_cast<HWND*>(param) = window;
        return FALSE;
    }
    return TRUE;
}

// The tool bar's drop-down list: the reader's only untitled top-level window.
HWND PopupList(int milliseconds = 5000) {
    HWND popup = nullptr;
    WaitFor([&] { return EnumWindows(FindUntitled, reinterpret_cast<LPARAM>(&popup)), popup != nullptr; }, milliseconds);
    return popup;
}

BOOL CALLBACK FindOther(HWND window, LPARAM param) {
    char name[64] = "", title[256] = "";
    GetClassNameA(window, name, sizeof name);
    GetWindowTextA(window, title, sizeof title);
    if (IsWindowVisible(window) && !std::strcmp(name, "KY_Window") && title[0]) {
        *reinterpret_cast<HWND*>(param) = window;
        return FALSE;
    }
    return TRUE;
}

// A titled window of the reader's own class (the main window's is another):
// the media window once the dialogs are closed.
HWND OtherWindow() {
    HWND found = nullptr;
    EnumWindows(FindOther, reinterpret_cast<LPARAM>(&found));
    return found;
}

void Mouse(DWORD flags) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

// A click at a screen point, pressed as long as a hand presses it.
void ClickScreen(POINT at, bool right = false) {
    // The hand moves there first, as a real mouse does: a press with no move
    // before it is sometimes taken by the window the pointer was last over.
    INPUT move = {};
    move.type = INPUT_MOUSE;
    move.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    move.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &move, sizeof move);
    Sleep(100);
    SetCursorPos(at.x, at.y);
    Sleep(150);
    Mouse(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
    Sleep(120);
    Mouse(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
    Sleep(400);
}

// A click at a point of the window's client area (its layout's coordinates).
void Click(HWND window, int x, int y, bool right = false) {
    POINT at = {x, y};
    ClientToScreen(window, &at);
    ClickScreen(at, right);
}

// A click in the middle of a dialog's control.
bool ClickControl(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    RECT r;
    if (!control || !GetWindowRect(control, &r))
        return false;
    ClickScreen({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    return true;
}

// The caption's close button, which Wine draws at the caption's right end.
void ClickClose(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    ClickScreen({r.right - 14, r.top + 11});
}

void Key(WORD key, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

void Press(WORD key, WORD modifier = 0) {
    if (modifier)
        Key(modifier, false);
    Key(key, false);
    Key(key, true);
    if (modifier)
        Key(modifier, true);
    Sleep(60);
}

void Type(const std::string& text) {
    for (char c : text) {
        SHORT scan = VkKeyScanA(c);
        Press(static_cast<WORD>(scan & 0xFF), (scan & 0x100) ? VK_SHIFT : 0);
    }
}

// Whether the window of that title opens within the time.
std::string Opens(const std::string& title, HWND* found = nullptr, int milliseconds = 15000) {
    HWND window = WaitForTop(title, nullptr, milliseconds);
    if (found)
        *found = window;
    // A window just shown takes its clicks once it has drawn its controls.
    Sleep(800);
    return window ? "" : "no window \"" + title + "\"";
}

std::string Closes(const std::string& title) {
    return WaitFor([&] { return !TopWindow(title); }, 10000) ? "" : "\"" + title + "\" stays open";
}

// Clicks until the window of that title opens (three times at most).
std::string OpensBy(const std::string& title, const std::function<void()>& click, HWND* found = nullptr) {
    for (int i = 0; i < 3; ++i) {
        click();
        if (WaitForTop(title, nullptr, 5000))
            break;
    }
    return Opens(title, found, 1000);
}

// Types the word in the quick search field of the home screen's top dock, then Return.
std::string QuickSearch(HWND frame, const std::string& word) {
    HWND field = FindWindowExA(
        FindWindowExA(FindWindowExA(frame, nullptr, "MDIClient", nullptr), nullptr, "KY_MdiChildWindow", nullptr),
        nullptr, "KY_EditBox", nullptr);
    if (!field)
        return "no quick search field";
    // Clicked again while the reader has not given it the keys yet.
    RECT r;
    GetWindowRect(field, &r);
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    const DWORD thread = GetWindowThreadProcessId(field, nullptr);
    for (int i = 0; i < 5 && !(GetGUIThreadInfo(thread, &gui) && gui.hwndFocus == field); ++i) {
        ClickScreen({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
        WaitFor([&] { return GetGUIThreadInfo(thread, &gui) && gui.hwndFocus == field; }, 2000);
    }
    // A word left from an earlier search goes first.
    Press(VK_HOME);
    Press(VK_END, VK_SHIFT);
    Press(VK_DELETE);
    Type(word);
    // The text of another process's control comes by its message, not from its caption.
    char typed[64] = "";
    WaitFor([&] {
        return SendMessageA(field, WM_GETTEXT, sizeof typed, reinterpret_cast<LPARAM>(typed)) ==
               static_cast<LRESULT>(word.size());
    }, 3000);
    if (word != typed)
        return "the field holds \"" + std::string(typed) + "\"";
    Press(VK_RETURN);
    Sleep(4000);
    return "";
}

// Clicks the tool bar's menu button at x, then the menu's line (from 1), until the window of that title opens.
std::string OpensFromMenu(const std::string& title, HWND frame, int x, int line) {
    return OpensBy(title, [&] {
        if (!PopupList(0))
            Click(frame, x, 20);
        if (HWND popup = PopupList())
            Click(popup, 40, 8 + 20 * (line - 1));
    });
}

// The tools menu of the tool bar, its eighth line "Pr\xE9" "f\xE9rences".
std::string OpenPreferences(HWND frame) {
    return OpensFromMenu("Pr\xE9" "f\xE9rences", frame, 278, 8);
}

// How many pixels of the window's client area have exactly that colour.
long CountColour(HWND window, COLORREF colour) {
    RECT r;
    if (!GetClientRect(window, &r) || r.right <= 0 || r.bottom <= 0)
        return 0;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = r.right;
    info.bmiHeader.biHeight = -r.bottom;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP picture = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    long count = 0;
    if (picture && bits) {
        HGDIOBJ old = SelectObject(memory, picture);
        BitBlt(memory, 0, 0, r.right, r.bottom, screen, 0, 0, SRCCOPY);
        GdiFlush();
        const DWORD wanted = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
        const auto* pixels = static_cast<const DWORD*>(bits);
        for (long i = 0; i < long(r.right) * r.bottom; ++i)
            count += (pixels[i] & 0xFFFFFF) == wanted;
        SelectObject(memory, old);
        DeleteObject(picture);
    }
    DeleteDC(memory);
    ReleaseDC(window, screen);
    return count;
}

// Clicks the window's point until the window goes: a click that only
// activates a window, as Wine's desktop sometimes takes it, is clicked again.
std::string ClickToClose(const std::string& title, int x, int y) {
    for (int i = 0; i < 3; ++i) {
        HWND window = TopWindow(title);
        if (!window)
            return "";
        if (x < 0)
            ClickClose(window);
        else
            Click(window, x, y);
        if (WaitFor([&] { return !TopWindow(title); }, 3000))
            return "";
    }
    return "\"" + title + "\" stays open";
}

// The run's framework log, held open so that its text outlives its deletion at the end.
class ReaderLog {
public:
    explicit ReaderLog(std::string path) : path_(std::move(path)) {}
    ~ReaderLog() {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }
    bool open(int milliseconds) {
        return WaitFor(
            [&] {
                handle_ = CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
                return handle_ != INVALID_HANDLE_VALUE;
            },
            milliseconds);
    }
    std::string text() const {
        std::string text;
        if (handle_ == INVALID_HANDLE_VALUE)
            return text;
        char buffer[4096];
        DWORD n = 0;
        SetFilePointer(handle_, 0, nullptr, FILE_BEGIN);
        while (ReadFile(handle_, buffer, sizeof buffer, &n, nullptr) && n > 0)
            text.append(buffer, n);
        return text;
    }
    // The log's lines that start with `mark`, from byte `from` on.
    static std::string Lines(const std::string& all, const char* mark, size_t from = 0) {
        std::string found;
        for (size_t at = all.find(mark, from); at != std::string::npos; at = all.find(mark, at + 1))
            found += all.substr(at, all.find('\n', at) - at) + "; ";
        return found;
    }
    std::string lines(const char* mark) const { return Lines(text(), mark); }
    // The lines of the boxes shown since the last call.
    std::string newBoxes() {
        std::string all = text();
        std::string boxes = Lines(all, "#Box ", seen_);
        seen_ = all.size();
        return boxes;
    }

private:
    std::string path_;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    size_t seen_ = 0;
};

struct Step {
    const char* name;
    std::function<std::string()> run;
};

class Drive {
public:
    // Pictures and drive.log go to `folder`.
    explicit Drive(ReaderLog& log, std::string folder = kArtifacts) : log_(log), folder_(std::move(folder)) {
        std::ofstream(Dos(folder_ + "/drive.log"), std::ios::trunc);
    }
    // Runs the step, then pictures the screen and names any box it left open.
    void run(const Step& step) {
        std::string result = step.run();
        char name[80];
        std::snprintf(name, sizeof name, "%02d-%s.png", ++count_, step.name);
        std::string picture = folder_ + "/" + name;
        RunHost("import -window root -crop 1024x768+0+0 png:'" + picture + "'", picture + ".done");
        DeleteFileA(Dos(picture + ".done").c_str());
        if (HWND box = MessageBoxWindow()) {
            char text[512] = "";
            GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
            result += std::string(result.empty() ? "" : "; ") + "box left open: " + text;
            PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
        std::string boxes = log_.newBoxes();
        if (!boxes.empty() && !expectBox_)
            result += std::string(result.empty() ? "" : "; ") + "boxes: " + boxes;
        expectBox_ = false;
        std::string line = std::string("drive: ") + name + ": " + (result.empty() ? "ok" : "FAILED " + result);
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
        std::ofstream(Dos(folder_ + "/drive.log"), std::ios::app) << line << "\n";
        if (!result.empty())
            failures_.push_back(line);
    }
    void expectBox() { expectBox_ = true; }
    const std::vector<std::string>& failures() const { return failures_; }

private:
    ReaderLog& log_;
    std::string folder_;
    int count_ = 0;
    bool expectBox_ = false;
    std::vector<std::string> failures_;
};

// The user's documents folder, where an export is first proposed.
std::string Documents() {
    char folder[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, 0, folder);
    return folder;
}

std::string Temp() {
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    return temp;
}

// Starts the reader in the folder on a desktop of its own, of a fixed size,
// so that the drawn buttons lie where the layouts put them whatever the
// screen; `drive` runs in a thread that may take that desktop and names the
// reader's process; a reader the drive could not quit ends here.
void RunReaderIn(const std::string& folder, const std::function<void(const std::string&, DWORD&)>& drive) {
    const std::string desktop = "svdrive" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount());
    std::string line = "explorer.exe /desktop=" + desktop + ",1024x768 \"" + Dos(kBuild + "/reader/savantorium.exe") + "\"";
    // Neither the desktop's process nor the reader holds our output: whoever
    // reads it would wait for them.
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE none = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0,
                              nullptr);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = si.hStdOutput = si.hStdError = none;
    PROCESS_INFORMATION pi{};
    BOOL started = CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, Dos(folder).c_str(), &si, &pi);
    CloseHandle(none);
    ASSERT_TRUE(started);
    CloseHandle(pi.hThread);
    DWORD readerId = 0;
    std::thread driver([&] { drive(desktop, readerId); });
    driver.join();
    if (HANDLE reader = readerId ? OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, readerId) : nullptr) {
        if (WaitForSingleObject(reader, 10000) != WAIT_OBJECT_0)
            TerminateProcess(reader, 9);
        CloseHandle(reader);
    }
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 9);
    CloseHandle(pi.hProcess);
}

// The reader's main window, once its start has reached it and laid it out.
std::string WaitForMainWindow(ReaderLog& log, HWND& frame) {
    std::string result = Opens("Savantorium", &frame, 60000);
    if (result.empty() && !WaitFor([&] { return log.text().find("#Start step mainwindow") != std::string::npos; }, 30000))
        result = "the start does not reach its main window";
    // The home screen is laid out again once the frame has its full size.
    Sleep(4000);
    return result;
}

// Closes the main window and answers Yes to the quit question; the reader then ends.
std::string Quit(HWND frame, Drive& drive, ReaderLog& log) {
    drive.expectBox();
    ClickClose(frame);
    HWND box = nullptr;
    if (!WaitFor([&] { return (box = MessageBoxWindow()) != nullptr; }, 10000))
        return "no quit question";
    char text[256] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    if (std::string(text) != "Voulez-vous vraiment quitter ?")
        return "the box says " + std::string(text);
    ClickControl(box, IDYES);
    return WaitFor([&] { return log.text().find("#Done...") != std::string::npos; }, 30000) ? ""
                                                                                          : "the reader does not end";
}

// Takes the reader's desktop for this thread, which a thread can do only
// before it has windows, then opens the reader's log.
bool TakeDesktopAndLog(const std::string& desktopName, ReaderLog& log, std::vector<std::string>& failures) {
    HDESK desktop = nullptr;
    WaitFor([&] { return (desktop = OpenDesktopA(desktopName.c_str(), 0, FALSE, GENERIC_ALL)) != nullptr; }, 20000);
    if (!desktop || !SetThreadDesktop(desktop)) {
        failures.push_back("the reader's desktop " + desktopName + " cannot be taken");
        return false;
    }
    if (!log.open(30000)) {
        failures.push_back("no log sv.log");
        return false;
    }
    return true;
}

// Runs in a thread of its own: the thread takes the reader's desktop, which a
// thread can do only before it has windows.
void DriveTheReader(const std::string& desktopName, std::vector<std::string>& failures, std::string& logText,
                    DWORD& readerId) {
    ReaderLog log(Temp() + "sv.log");
    if (!TakeDesktopAndLog(desktopName, log, failures))
        return;
    Drive drive(log);
    HWND frame = nullptr;
    HWND media = nullptr;
    const std::string pdfText = kArtifacts + "/printed.txt";
    const std::string exported = Documents() + "\\resultats.rtf";
    const std::vector<Step> steps = {
        {"start",
         [&] { return WaitForMainWindow(log, frame); }},
        {"quick-search",
         [&] {
             return QuickSearch(frame, "dialogue");
         }},
        {"next-hit",
         [&] {
             Click(frame, 874, 57);
             Sleep(800);
             return std::string();
         }},
        {"note-from-context-menu",
         [&] {
             Click(frame, 270, 99, true);
             HWND menu = nullptr;
             if (!WaitFor([&] { return (menu = FindWindowA("#32768", nullptr)) != nullptr && IsWindowVisible(menu); }, 5000))
                 return std::string("no context menu");
             RECT r;
             GetWindowRect(menu, &r);
             ClickScreen({(r.left + r.right) / 2, r.top + 11});
             HWND notes = nullptr;
             std::string result = Opens("Mes notes", &notes);
             if (!result.empty())
                 return result;
             // The note's text field, then the save button under it.
             Click(notes, 303, 262);
             Type("Relire ce chapitre");
             Sleep(500);
             Click(notes, 579, 437);
             Sleep(1000);
             return std::string();
         }},
        {"notes-closed",
         [&] {
             return ClickToClose("Mes notes", -1, -1);
         }},
        {"note-from-tool-bar",
         [&] {
             // The search hit selected in a link of the contents: the note
             // goes to the first text after it.
             return OpensBy("Mes notes", [&] { Click(frame, 498, 20); });
         }},
        {"note-from-tool-bar-saved",
         [&] {
             HWND notes = TopWindow("Mes notes");
             if (!notes)
                 return std::string("no window \"Mes notes\"");
             Click(notes, 303, 262);
             Type("Voir la suite");
             Sleep(500);
             Click(notes, 579, 437);
             Sleep(1000);
             return std::string();
         }},
        {"notes-closed-again",
         [&] {
             return ClickToClose("Mes notes", -1, -1);
         }},
        {"export-list",
         [&] {
             // The tools menu's fifth line "Exporter la liste", then the
             // proposed "resultats.rtf" in the documents folder.
             DeleteFileA(exported.c_str());
             return OpensFromMenu("Enregistrer sous", frame, 278, 5);
         }},
        {"export-list-saved",
         [&] {
             HWND save = TopWindow("Enregistrer sous");
             if (!save)
                 return std::string("no window \"Enregistrer sous\"");
             drive.expectBox();
             ClickControl(save, IDOK);
             HWND box = nullptr;
             if (!WaitFor([&] { return (box = MessageBoxWindow()) != nullptr; }, 10000))
                 return std::string("no limit message");
             char text[256] = "";
             GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
             ClickControl(box, IDOK);
             if (std::string(text) != "L'export sera limit\xE9 aux 100 premi\xE8res lignes.")
                 return "the box says " + std::string(text);
             return WaitFor([&] { return GetFileAttributesA(exported.c_str()) != INVALID_FILE_ATTRIBUTES; }, 10000)
                        ? std::string()
                        : "no file " + exported + "; " + log.lines("#Save ");
         }},
        {"dossier",
         [&] {
             HWND dossiers = nullptr;
             std::string result = OpensBy("Mes dossiers", [&] { Click(frame, 370, 20); }, &dossiers);
             // The article added to the dossier shows the page of a text (its own paper colour).
             if (result.empty() && CountColour(dossiers, RGB(250, 250, 236)) < 20)
                 result = "the dossier's article has no text icon";
             return result;
         }},
        {"dossier-closed",
         [&] {
             return ClickToClose("Mes dossiers", -1, -1);
         }},
        {"print-preview",
         [&] {
             RunHost("mkdir -p $HOME/PDF && touch '" + kArtifacts + "/print.mark'", kArtifacts + "/print.started");
             std::string result = OpensBy("Impression", [&] { Click(frame, 458, 20); });
             if (result.empty())
                 result = OpensBy("Print", [&] { Click(TopWindow("Impression"), 49, 428); });
             return result;
         }},
        {"print-dialog",
         [&] {
             for (int i = 0; i < 3 && TopWindow("Print"); ++i) {
                 ClickControl(TopWindow("Print"), IDOK);
                 WaitFor([&] { return !TopWindow("Print"); }, 3000);
             }
             return Closes("Print");
         }},
        {"printed",
         [&] {
             // The PDF printer's file of this job, as text.
             std::string text;
             WaitFor(
                 [&] {
                     // Other programs print to the same folder meanwhile: only the article's file is taken.
                     RunHost("rm -f '" + pdfText + "'; find $HOME/PDF -name '*.pdf' -newer '" + kArtifacts +
                                 "/print.mark' | while read f; do pdftotext $f - 2>/dev/null | grep -q 'Chapitre 15. "
                                 "Dialogues' && pdftotext $f '" + pdfText + "'; done",
                             pdfText + ".done");
                     text = ReadAll(Dos(pdfText));
                     return text.find("Chapitre 15. Dialogues") != std::string::npos;
                 },
                 20000);
             if (text.find("Chapitre 15. Dialogues") == std::string::npos)
                 return "no PDF of the article: " + text.substr(0, 200);
             // The pages are headed by the article's title, not by the framework's word for a document.
             return text.find("KYCF") == std::string::npos ? "" : "a page header says KYCF: " + text.substr(0, 200);
         }},
        {"preferences",
         [&] {
             return OpenPreferences(frame);
         }},
        {"parental-level",
         [&] {
             // The first "Modifier ..." asks for the parental control's password; Annuler.
             std::string result =
                 OpensBy("Contr\xF4le parental", [&] { Click(TopWindow("Pr\xE9" "f\xE9rences"), 514, 434); });
             return result.empty() ? ClickToClose("Contr\xF4le parental", 283, 420) : result;
         }},
        {"parental-password",
         [&] {
             std::string result =
                 OpensBy("Changer de mot de passe", [&] { Click(TopWindow("Pr\xE9" "f\xE9rences"), 514, 462); });
             return result.empty() ? ClickToClose("Changer de mot de passe", 283, 420) : result;
         }},
        {"proxy",
         [&] {
             return OpensBy("Configurer la connection Internet",
                            [&] { Click(TopWindow("Pr\xE9" "f\xE9rences"), 514, 490); });
         }},
        {"proxy-closed",
         [&] {
             return ClickToClose("Configurer la connection Internet", 348, 191);
         }},
        {"preferences-saved",
         [&] {
             // The history is saved at quitting: "Oui", then OK.
             HWND prefs = TopWindow("Pr\xE9" "f\xE9rences");
             Click(prefs, 336, 89);
             Click(prefs, 336, 89);
             return ClickToClose("Pr\xE9" "f\xE9rences", 544, 534);
         }},
        {"preferences-again",
         [&] {
             return OpenPreferences(frame);
         }},
        {"preferences-cancelled",
         [&] {
             return ClickToClose("Pr\xE9" "f\xE9rences", 445, 535);
         }},
        {"room",
         [&] {
             // The rooms' menu, its third line "G\xE9ographie".
             Click(frame, 102, 20);
             HWND popup = PopupList();
             if (!popup)
                 return std::string("no rooms menu");
             for (int i = 0; i < 3 && (popup = PopupList(0)) != nullptr; ++i) {
                 Click(popup, 40, 8 + 20 * 2);
                 WaitFor([&] { return !PopupList(0); }, 3000);
             }
             Sleep(3000);
             return PopupList(0) ? std::string("the rooms menu stays open") : std::string();
         }},
        {"atlas",
         [&] {
             Click(frame, 525, 223);
             Sleep(3000);
             return std::string();
         }},
        {"atlas-place",
         [&] {
             Click(frame, 79, 394);
             Sleep(3000);
             return std::string();
         }},
        {"home",
         [&] {
             Click(frame, 22, 20);
             Sleep(2500);
             return std::string();
         }},
        {"chronology",
         [&] {
             Click(frame, 213, 548);
             Sleep(3000);
             return std::string();
         }},
        {"chronology-period",
         [&] {
             Click(frame, 620, 99);
             Sleep(2000);
             return std::string();
         }},
        {"home-again",
         [&] {
             Click(frame, 22, 20);
             Sleep(2500);
             return std::string();
         }},
        {"picture-search",
         [&] {
             return QuickSearch(frame, "canaux");
         }},
        {"picture-enlarged",
         [&] {
             // The button under the article's first picture, "Agrandir l'image".
             for (int i = 0; i < 3 && !media; ++i) {
                 Click(frame, 566, 290);
                 WaitFor([&] { return (media = OtherWindow()) != nullptr; }, 5000);
             }
             if (!media)
                 return std::string("no media window");
             Sleep(1500);
             return std::string();
         }},
        {"picture-closed",
         [&] {
             for (int i = 0; i < 3 && media && IsWindowVisible(media); ++i) {
                 ClickClose(media);
                 WaitFor([&] { return !IsWindowVisible(media); }, 3000);
             }
             return media && IsWindowVisible(media) ? std::string("the media window stays open") : std::string();
         }},
        {"right-dock-folded",
         [&] {
             // "EXTENSIONS" and its arrow, at the right dock's top: the article takes the freed width.
             Click(frame, 919, 84);
             Sleep(1500);
             return std::string();
         }},
        {"quit", [&] { return Quit(frame, drive, log); }},
    };
    for (const Step& step : steps) {
        drive.run(step);
        if (frame && !readerId)
            GetWindowThreadProcessId(frame, &readerId);
    }
    failures = drive.failures();
    logText = log.text();
}


const std::string kOnlineCopy = kBuild + "/drive-online";
const std::string kOnlineArtifacts = kBuild + "/artifacts/drive-online";

// The window's shown children of that class, in their order.
std::vector<HWND> Shown(HWND window, const char* className) {
    std::vector<HWND> found;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[64] = "";
        GetClassNameA(child, name, sizeof name);
        if (IsWindowVisible(child) && !std::strcmp(name, className))
            found.push_back(child);
    }
    return found;
}

// Clicks the field and types into it; answers what it then holds.
std::string TypeInto(HWND field, const std::string& text) {
    RECT r;
    GetWindowRect(field, &r);
    ClickScreen({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    Type(text);
    char typed[64] = "";
    WaitFor([&] { return SendMessageA(field, WM_GETTEXT, sizeof typed, reinterpret_cast<LPARAM>(typed)) ==
                         static_cast<LRESULT>(text.size()); }, 3000);
    return typed;
}

// A visible descendant of the window of that class.
HWND Descendant(HWND window, const char* className) {
    for (HWND child = FindWindowExA(window, nullptr, nullptr, nullptr); child;
         child = FindWindowExA(window, child, nullptr, nullptr)) {
        char name[64] = "";
        GetClassNameA(child, name, sizeof name);
        if (IsWindowVisible(child) && !std::strcmp(name, className))
            return child;
        if (HWND found = Descendant(child, className))
            return found;
    }
    return nullptr;
}

// The reader with the network log on logs in to the local service through
// the online menu, then opens the online complements from the rooms menu.
void DriveOnline(const std::string& desktopName, std::vector<std::string>& failures, DWORD& readerId) {
    ReaderLog log(Temp() + "sv.log");
    if (!TakeDesktopAndLog(desktopName, log, failures))
        return;
    Drive drive(log, kOnlineArtifacts);
    HWND frame = nullptr;
    const std::string wizardTitle = "Service en ligne - \xC9tape 3";
    const std::vector<Step> steps = {
        {"start",
         [&] {
             std::string result = WaitForMainWindow(log, frame);
             if (frame)
                 GetWindowThreadProcessId(frame, &readerId);
             return result;
         }},
        {"connect-menu",
         [&] {
             // The online menu's last line, "Se connecter": the sample's account asks for its login.
             return OpensFromMenu(wizardTitle, frame, 318, 5);
         }},
        {"login-typed",
         [&] {
             HWND wizard = TopWindow(wizardTitle);
             // The login panel's two fields, the only edit boxes it shows.
             std::vector<HWND> fields = wizard ? Shown(wizard, "KY_EditBox") : std::vector<HWND>();
             HWND login = fields.size() == 2 ? fields[0] : nullptr;
             HWND password = fields.size() == 2 ? fields[1] : nullptr;
             if (!login || !password)
                 return std::string("no login fields");
             std::string typed = TypeInto(login, "invite");
             if (typed != "invite")
                 return "the login field holds \"" + typed + "\"";
             TypeInto(password, "invite");
             return std::string();
         }},
        {"login",
         [&] {
             HWND wizard = TopWindow(wizardTitle);
             if (!wizard)
                 return "no window \"" + wizardTitle + "\"";
             drive.expectBox();
             // "OK", the panel's last button.
             std::vector<HWND> buttons = Shown(wizard, "KY_PushButton");
             if (buttons.empty())
                 return std::string("no OK button");
             RECT r;
             GetWindowRect(buttons.back(), &r);
             ClickScreen({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
             // Logged in, the reader asks about the parental control; No keeps its default level, which it says.
             HWND box = nullptr;
             if (!WaitFor([&] { return (box = MessageBoxWindow()) != nullptr; }, 15000))
                 return std::string("no question after the login");
             char text[512] = "";
             GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
             if (std::string(text).find("Vous \xEAtes connect\xE9") == std::string::npos)
                 return "the box says " + std::string(text);
             ClickControl(box, IDNO);
             if (!WaitFor([&] { return (box = MessageBoxWindow()) != nullptr; }, 10000))
                 return std::string("no word on the parental control");
             ClickControl(box, IDOK);
             WaitFor([&] { return !MessageBoxWindow() && log.text().find("garde son niveau") != std::string::npos; }, 10000);
             return Closes(wizardTitle);
         }},
        {"online-home",
         [&] {
             // The rooms menu's last line, "Accueil en ligne": the complements' page of the service.
             if (!PopupList(0))
                 Click(frame, 102, 20);
             HWND popup = PopupList();
             if (!popup)
                 return std::string("no rooms menu");
             Click(popup, 40, 8 + 20 * 9);
             if (!WaitFor([&] { return Descendant(frame, "WebrtContent") != nullptr; }, 15000))
                 return std::string("no web page shown");
             Sleep(3000);
             return std::string();
         }},
        // Quitting closes the network log whole.
        {"quit", [&] { return Quit(frame, drive, log); }},
    };
    for (const Step& step : steps)
        drive.run(step);
    failures = drive.failures();
}

}  // namespace

TEST(ReaderDriveTest, AUserSearchesAnnotatesFilesPrintsExportsSetsAndVisitsThenQuits) {
    const std::string sample = kBuild + "/sample";
    if (!Exists(sample + "/sv.sgm"))
        GTEST_SKIP() << "no sample: tools/sample/build.sh builds it";
    // The reader writes its files in its folder: a copy of the sample, its
    // large read-only folders linked, the rest copied, without the files
    // that other runs of the reader left in the sample.
    ASSERT_TRUE(RunHost("rm -rf '" + kCopy + "' '" + kArtifacts + "' && mkdir -p '" + kCopy + "' '" + kArtifacts + "' && cd '" +
                            sample + "' && for f in *; do case $f in data|images|dico) cp -al $f '" + kCopy +
                            "'/ ;; *) cp -a $f '" + kCopy + "'/ ;; esac; done && cd '" + kCopy +
                            "' && rm -f valid.ini svnet.par docnet.par sv.prf sv.dos sv.note sv.histo passewd.db export.prf",
                        kBuild + "/drive-copy.done"));
    ASSERT_TRUE(Exists(kCopy + "/sv.sgm"));
    ASSERT_FALSE(Exists(kCopy + "/sv.note"));
    const std::string histo = Temp() + "sv.histo";
    DeleteFileA(histo.c_str());
    DeleteFileA((Temp() + "sv.log").c_str());

    std::vector<std::string> failures;
    std::string logText;
    RunReaderIn(kCopy, [&](const std::string& desktop, DWORD& readerId) {
        DriveTheReader(desktop, failures, logText, readerId);
    });
    for (const std::string& failure : failures)
        ADD_FAILURE() << failure;
    EXPECT_NE(std::string::npos, logText.find("#Box Savantorium: Voulez-vous vraiment quitter ?")) << logText;
    EXPECT_NE(std::string::npos, logText.find("#Done...")) << logText;

    char quit[16] = "";
    GetPrivateProfileStringA("settings", "ValidQuit", "", quit, sizeof quit, Dos(kCopy + "/valid.ini").c_str());
    EXPECT_STREQ("1", quit);
    std::string notes = ReadAll(Dos(kCopy + "/sv.note"));
    EXPECT_NE(std::string::npos, notes.find("Relire ce chapitre")) << notes;
    EXPECT_NE(std::string::npos, notes.find("Voir la suite")) << notes;
    // The result list of "dialogue", its rows as RTF text.
    std::string rtf = ReadAll(Documents() + "\\resultats.rtf");
    std::ofstream(Dos(kArtifacts + "/resultats.rtf"), std::ios::binary) << rtf;
    DeleteFileA((Documents() + "\\resultats.rtf").c_str());
    EXPECT_EQ(0u, rtf.find("{\\rtf1")) << rtf.substr(0, 200);
    EXPECT_NE(std::string::npos, rtf.find("Dialogues")) << rtf.substr(0, 2000);
    std::string dossiers = ReadAll(Dos(kCopy + "/sv.dos"));
    EXPECT_EQ(0u, dossiers.find("DOSSIERS\r\n")) << dossiers;
    EXPECT_NE(std::string::npos, dossiers.find("ELEM\r\n")) << dossiers;
    std::string history = ReadAll(histo);
    EXPECT_NE(std::string::npos, history.find("<!--nbState-->")) << history.substr(0, 200);
}

TEST(ReaderDriveTest, AUserLogsInToTheLocalServiceAndReadsItsComplementsPage) {
    const std::string sample = kBuild + "/sample";
    if (!Exists(sample + "/sv.sgm"))
        GTEST_SKIP() << "no sample: tools/sample/build.sh builds it";
    // A copy of the sample with its account as the sample sets it up (other
    // runs of the reader in the sample's folder save theirs there), the network log on.
    ASSERT_TRUE(RunHost("rm -rf '" + kOnlineCopy + "' '" + kOnlineArtifacts + "' && mkdir -p '" + kOnlineCopy + "' '" +
                            kOnlineArtifacts + "' && cd '" + sample +
                            "' && for f in *; do case $f in data|images|dico) cp -al $f '" + kOnlineCopy +
                            "'/ ;; *) cp -a $f '" + kOnlineCopy + "'/ ;; esac; done && cd '" + kOnlineCopy +
                            "' && rm -f valid.ini docnet.par sv.prf sv.dos sv.note sv.histo && sed -i 's/^NetLog=.*/NetLog=1/' sv.ini && "
                            "printf '%s\\r\\n' 1 0 3 2 '' '' invite '' '' '' '' '' '' '' '' '' '' 0 1 '' 0 1 '' 0 1 0 50 "
                            ">svnet.par",
                        kBuild + "/drive-online-copy.done"));
    ASSERT_TRUE(Exists(kOnlineCopy + "/svnet.par"));
    const std::string netLog = Temp() + "svnet.log";
    DeleteFileA(netLog.c_str());
    DeleteFileA((Temp() + "sv.log").c_str());

    // The local service, as tools/run.sh starts it.
    LocalService service(SV_SOURCE_DIR "/tools/sample/service.py", kBuild + "/sample-work",
                         kBuild + "/drive-online-service.pid");
    std::string why = service.start();
    ASSERT_TRUE(why.empty()) << why;

    std::vector<std::string> failures;
    RunReaderIn(kOnlineCopy, [&](const std::string& desktop, DWORD& readerId) { DriveOnline(desktop, failures, readerId); });

    for (const std::string& failure : failures)
        ADD_FAILURE() << failure;
    // The network log traces the login's request, then the page's own exchange with the service.
    std::string netText = ReadAll(netLog);
    size_t login = netText.find("KyMozillaGetUrl :http://127.0.0.1:8642/sv/account/login?login=invite&password=invite returns 0");
    ASSERT_NE(std::string::npos, login) << netText;
    size_t page = netText.find("KYHTTP: connected socket", login);
    EXPECT_NE(std::string::npos, page) << netText;
    EXPECT_NE(std::string::npos, netText.find("HTTP: Rx: HTTP/1.0 200 OK", page)) << netText;
    // The account the login made, saved in the reader's folder: logged in (state 4) with the service's cookies.
    std::string settings = ReadAll(Dos(kOnlineCopy + "/svnet.par"));
    // "No" to the parental question ends that question (first line 0).
    EXPECT_EQ(0u, settings.find("0\r\n0\r\n4\r\n2\r\nc1-invite\r\nc2-6\r\ninvite\r\ninvite\r\n")) << settings;
}
