// The resident size of the reader program itself, as its users run it: the
// real savantorium.exe started on the sample as a process of its own, on a
// Wine desktop of the screen's size where its frame is maximised, then driven
// from outside as a hand drives it (clicks and keys through SendInput): 100
// Returns in the quick search field over the sample's fixed searches (the
// field clicked, its question erased, the next typed), 100 more, then 100
// articles opened by clicks on the rows of one search's result list (rows 2
// to 21 in turn), the same 100 again. The working set and its peak (under
// Wine, the Linux VmRSS and VmHWM of the process) are printed at start and
// after each hundred, with how many actions changed the left dock's pixels
// (the result list: a search whose list is the last one's changes nothing).
//
// Each action is followed until the left dock has changed and the reader's
// processor time has stood still for 150 ms: no fixed long sleeps. A missing
// window, a field that does not take the keys or a reader that ends gives a
// message and exit code 1; a run that overruns its time limit ends with code
// 3. The reader is killed at the end either way.
//
// Run under xvfb-run at 1024 x 768:
//   bench_reader_memory READER_EXE SAMPLE_FOLDER
// (Windows paths, e.g. Z:<build>\reader\savantorium.exe Z:<build>\sample; the
// reader writes its settings into that folder: a copy of the sample is
// better). SV_BENCH_VERBOSE prints the working set after each action,
// SV_BENCH_TREE the frame's window tree.
#include <windows.h>
#define PSAPI_VERSION 2  // the call from kernel32, no psapi to link
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/support/ScreenPicture.h"

namespace {

HANDLE gReader = nullptr;
DWORD gReaderId = 0;
HANDLE gJob = nullptr;  // ends the reader with this process, should it die
HANDLE gDesktopProcess = nullptr;

// Kills the reader, then the desktop's process that started it.
void EndReader() {
    for (HANDLE* process : {&gReader, &gDesktopProcess})
        if (*process) {
            TerminateProcess(*process, 9);
            WaitForSingleObject(*process, 30000);
            CloseHandle(*process);
            *process = nullptr;
        }
}

// The whole run's limit: its 400 actions take 3 to 4 minutes on an idle machine.
const DWORD kRunLimitMs = 12 * 60 * 1000;

DWORD WINAPI Watchdog(LPVOID) {
    Sleep(kRunLimitMs);
    std::printf("the run took more than %lu s: given up\n", kRunLimitMs / 1000);
    std::fflush(stdout);
    if (gReader)
        TerminateProcess(gReader, 9);
    if (gDesktopProcess)
        TerminateProcess(gDesktopProcess, 9);
    ExitProcess(3);
}

double Now() {
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / f.QuadPart;
}

template <typename Condition>
bool WaitFor(Condition condition, int ms, int step = 20) {
    for (int waited = 0; waited < ms; waited += step) {
        if (condition())
            return true;
        Sleep(step);
    }
    return condition();
}

bool ReaderEnded() {
    return gReader && WaitForSingleObject(gReader, 0) == WAIT_OBJECT_0;
}

struct TopSearch {
    const char* className;  // null: any class
    bool titled;            // only a window with a title
    HWND except;
    HWND found;
};

BOOL CALLBACK FindTop(HWND window, LPARAM param) {
    auto* s = reinterpret_cast<TopSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char name[64] = "", title[8] = "";
    GetClassNameA(window, name, sizeof name);
    GetWindowTextA(window, title, sizeof title);
    if ((!gReaderId || pid == gReaderId) && window != s->except && IsWindowVisible(window) &&
        (!s->className || !std::strcmp(name, s->className)) && (!s->titled || title[0])) {
        s->found = window;
        return FALSE;
    }
    return TRUE;
}

// A visible top-level window of the reader of that class.
HWND ReaderWindow(const char* className, bool titled = false, HWND except = nullptr) {
    TopSearch s = {className, titled, except, nullptr};
    EnumWindows(FindTop, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

// The reader's processor time, user and kernel, in 100 ns units: the sum of
// its threads' times, since Wine answers another process's own times with
// the figures of its start, never updated, while its threads' are current.
unsigned long long CpuTime() {
    auto value = [](const FILETIME& t) { return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    unsigned long long sum = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != gReaderId)
            continue;
        HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID);
        FILETIME created, ended, kernel, user;
        if (thread && GetThreadTimes(thread, &created, &ended, &kernel, &user))
            sum += value(kernel) + value(user);
        if (thread)
            CloseHandle(thread);
    }
    CloseHandle(snapshot);
    return sum;
}

// Waits until the reader's processor time has not moved for `quietMs`, up
// to `limitMs`; false when it was still busy then.
bool Settle(int quietMs, int limitMs) {
    unsigned long long last = CpuTime();
    double since = Now(), start = since;
    while (Now() - start < limitMs / 1000.0) {
        Sleep(25);
        if (ReaderEnded())
            return false;
        unsigned long long now = CpuTime();
        if (now != last) {
            last = now;
            since = Now();
        } else if (Now() - since >= quietMs / 1000.0) {
            return true;
        }
    }
    return false;
}

// The tool bar and the quick search's row at the top of the frame's client
// area, where the field's caret blinks, and the left dock's width, with the
// result list: a search or a click on a row changes it, and nothing else does
// (the home screen's animation and the article's pictures lie right of it).
const int kTopDock = 80;
const int kLeftDock = 215;

// A hash of the pixels of the left dock under the top dock, to see that an
// action changed them (read through the window's own DC: the screen's is not
// the reader's desktop).
unsigned long long ScreenHash(HWND frame) {
    RECT r;
    if (!GetClientRect(frame, &r))
        return 0;
    unsigned long long hash = 1469598103934665603ull;
    for (uint32_t pixel : ScreenPixels({0, kTopDock, std::min<LONG>(r.right, kLeftDock), r.bottom}, frame))
        hash = (hash ^ pixel) * 1099511628211ull;
    return hash;
}

void Send(std::vector<INPUT>& inputs) {
    if (!inputs.empty())
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    inputs.clear();
}

INPUT KeyInput(WORD key, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

void Press(WORD key, WORD modifier = 0) {
    std::vector<INPUT> inputs;
    if (modifier)
        inputs.push_back(KeyInput(modifier, false));
    inputs.push_back(KeyInput(key, false));
    inputs.push_back(KeyInput(key, true));
    if (modifier)
        inputs.push_back(KeyInput(modifier, true));
    Send(inputs);
}

// The text typed key by key on the keyboard's layout (the field takes a
// key without a virtual-key code, as SendInput's characters come, for Return).
void Type(const std::string& text) {
    std::vector<INPUT> inputs;
    for (char c : text) {
        SHORT scan = VkKeyScanA(c);
        const WORD key = static_cast<WORD>(scan & 0xFF);
        const bool shift = (scan & 0x100) != 0;
        if (shift)
            inputs.push_back(KeyInput(VK_SHIFT, false));
        inputs.push_back(KeyInput(key, false));
        inputs.push_back(KeyInput(key, true));
        if (shift)
            inputs.push_back(KeyInput(VK_SHIFT, true));
    }
    Send(inputs);
}

// A click of the left button at a screen point, the pointer moved there first.
void ClickAt(POINT at) {
    std::vector<INPUT> inputs(1);
    inputs[0].type = INPUT_MOUSE;
    inputs[0].mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    inputs[0].mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    Send(inputs);
    Sleep(30);
    INPUT press = {};
    press.type = INPUT_MOUSE;
    press.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs.push_back(press);
    Send(inputs);
    Sleep(30);
    press.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    inputs.push_back(press);
    Send(inputs);
}

std::string FieldText(HWND field) {
    char text[256] = "";
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(field, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                             &length))
        return "?";
    return std::string(text, std::min<size_t>(length, sizeof text - 1));
}

bool Focused(HWND field) {
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    return GetGUIThreadInfo(GetWindowThreadProcessId(field, nullptr), &gui) && gui.hwndFocus == field;
}

BOOL CALLBACK PrintChild(HWND window, LPARAM param) {
    char name[64] = "", title[80] = "";
    GetClassNameA(window, name, sizeof name);
    GetWindowTextA(window, title, sizeof title);
    RECT r;
    GetWindowRect(window, &r);
    int depth = 0;
    for (HWND up = GetParent(window); up && up != reinterpret_cast<HWND>(param); up = GetParent(up))
        ++depth;
    std::fprintf(stderr, "%*s%s \"%s\" %ld,%ld %ldx%ld%s\n", 2 * depth, "", name, title, r.left, r.top,
                 r.right - r.left, r.bottom - r.top, IsWindowVisible(window) ? "" : " hidden");
    return TRUE;
}

void PrintTree(HWND frame) {
    if (std::getenv("SV_BENCH_TREE"))
        EnumChildWindows(frame, PrintChild, reinterpret_cast<LPARAM>(frame));
}

size_t WorkingSet() {
    PROCESS_MEMORY_COUNTERS pmc = {};
    pmc.cb = sizeof pmc;
    return GetProcessMemoryInfo(gReader, &pmc, sizeof pmc) ? pmc.WorkingSetSize : 0;
}

// Waits until the working set moves by less than 64 KB in a second, up to
// `limitMs`: the reader goes on taking memory after its window shows (the
// first paints, the home page), and a figure read sooner is not its start.
bool SteadyWorkingSet(int limitMs) {
    size_t last = WorkingSet();
    for (int waited = 0; waited < limitMs; waited += 1000) {
        Sleep(1000);
        size_t now = WorkingSet();
        if ((now > last ? now - last : last - now) < 64 * 1024)
            return true;
        last = now;
    }
    return false;
}

void PrintWorkingSet(const std::string& when, const std::string& note = "") {
    PROCESS_MEMORY_COUNTERS pmc = {};
    pmc.cb = sizeof pmc;
    if (!GetProcessMemoryInfo(gReader, &pmc, sizeof pmc)) {
        std::printf("working set %-26s unknown (error %lu)\n", when.c_str(), GetLastError());
        return;
    }
    std::printf("working set %-26s %6.1f MB (peak %.1f MB)%s\n", when.c_str(), pmc.WorkingSetSize / 1048576.0,
                pmc.PeakWorkingSetSize / 1048576.0, note.c_str());
    std::fflush(stdout);
}

// The sample's fixed searches of bench_screens `quick`, as typed in the field
// ("~" asks the thesaurus); those wider than the field, which takes no more
// than it shows, or with accents, which the keyboard's layout has not, give
// way to one of their words.
const char* const kSearches[] = {
    "calque",
    "retouche ET photo",
    "tableau",
    "\"tableau\"",
    "~image",
    "pinceau OU crayon",
    "filtre SAUF flou",
    "calq*!",
    "histogramme",
    "macro ET basic",
    "calcul",
    "courbes",
    "impression",
    "fichier SAUF image",
    "masque",
    "commande",
    "utilisateur",
    "transparence",
    "diapo*!",
    "~photo",
};

// A search of some 600 results, text articles at the top, for the clicks on
// its result rows.
const char kArticleSearch[] = "calque";
// The result list's rows: their height in pixels, the most clicked, and the
// room under the list (the online list's title and the dock's foot).
const int kRowHeight = 20;
const int kRows = 21;
const int kListEnd = 40;

// What the actions of a hundred did.
struct Tally {
    int done = 0, unchanged = 0, busy = 0, boxes = 0, others = 0, retyped = 0;
    std::string note() const {
        char text[200];
        std::snprintf(text, sizeof text,
                      "; %d of %d changed the screen, %d still busy after 10 s, %d boxes and %d windows closed%s",
                      done - unchanged, done, busy, boxes, others,
                      retyped ? (", " + std::to_string(retyped) + " questions typed again").c_str() : "");
        return text;
    }
};

class Driver {
public:
    explicit Driver(HWND frame) : frame_(frame) {}

    // The quick search field: the shown edit box highest in the MDI child of
    // the frame (each screen's top dock has its own).
    HWND field() const {
        HWND child = FindWindowExA(FindWindowExA(frame_, nullptr, "MDIClient", nullptr), nullptr, "KY_MdiChildWindow",
                                   nullptr);
        HWND best = nullptr;
        RECT bestRect = {};
        for (HWND edit = child ? FindWindowExA(child, nullptr, "KY_EditBox", nullptr) : nullptr; edit;
             edit = FindWindowExA(child, edit, "KY_EditBox", nullptr)) {
            RECT r;
            if (!IsWindowVisible(edit) || !GetWindowRect(edit, &r))
                continue;
            if (!best || r.top < bestRect.top || (r.top == bestRect.top && r.left < bestRect.left)) {
                best = edit;
                bestRect = r;
            }
        }
        return best;
    }

    // Types the question in the quick search field and presses Return;
    // false, with the reason printed, when the field is missing or does not
    // take the keys.
    bool search(const std::string& question, Tally& tally) {
        HWND edit = field();
        if (!edit) {
            std::printf("no quick search field\n");
            return false;
        }
        RECT r;
        GetWindowRect(edit, &r);
        // Clicked first, as its user does: the keys then go to the field in
        // the reader's own sense too, not only in the window system's.
        for (int i = 0; i < 5 && (i == 0 || !Focused(edit)); ++i) {
            ClickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
            WaitFor([&] { return Focused(edit); }, 2000);
            Settle(50, 2000);
        }
        if (!Focused(edit)) {
            std::printf("the quick search field does not take the focus\n");
            return false;
        }
        // The question left by the last search goes first, erased from its
        // end; typed again when a key was lost.
        for (int i = 0; i < 3 && FieldText(edit) != question; ++i) {
            Press(VK_END);
            for (size_t n = FieldText(edit).size() + 2; n > 0; --n)
                Press(VK_BACK);
            WaitFor([&] { return FieldText(edit).empty(); }, 1000);
            Type(question);
            WaitFor([&] { return FieldText(edit) == question; }, 2000);
            tally.retyped += i > 0;
        }
        if (FieldText(edit) != question) {
            std::printf("the quick search field holds \"%s\" instead of \"%s\"\n", FieldText(edit).c_str(),
                        question.c_str());
            return false;
        }
        act(tally, [] { Press(VK_RETURN); });
        return true;
    }

    // A click at a point of the screen.
    void clickScreen(POINT at, Tally& tally) {
        act(tally, [&] { ClickAt(at); });
    }

private:
    // Does the action, then waits for the screen to change and the reader to
    // settle, and closes any message box it showed.
    template <typename Action>
    void act(Tally& tally, Action action) {
        const unsigned long long before = ScreenHash(frame_);
        action();
        ++tally.done;
        bool changed = WaitFor([&] { return ScreenHash(frame_) != before; }, 5000, 30);
        tally.busy += !Settle(150, 10000);
        // A last paint may come after the quiet moment.
        changed = changed || ScreenHash(frame_) != before;
        tally.unchanged += !changed;
        // A picture's row opens the media window: closed as its user would.
        while (HWND other = ReaderWindow("KY_Window", true, frame_)) {
            ++tally.others;
            PostMessageA(other, WM_CLOSE, 0, 0);
            if (!WaitFor([&] { return !IsWindow(other) || !IsWindowVisible(other); }, 3000))
                break;
        }
        while (HWND box = ReaderWindow("#32770")) {
            ++tally.boxes;
            char text[256] = "";
            GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
            std::fprintf(stderr, "box: %s\n", text);
            PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            if (!WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 3000))
                break;
        }
        if (std::getenv("SV_BENCH_VERBOSE")) {
            PROCESS_MEMORY_COUNTERS pmc = {};
            pmc.cb = sizeof pmc;
            GetProcessMemoryInfo(gReader, &pmc, sizeof pmc);
            std::fprintf(stderr, "%3d %s %.2f MB\n", tally.done, changed ? "changed  " : "unchanged",
                         pmc.WorkingSetSize / 1048576.0);
        }
    }

    HWND frame_;
};

// The result list's scroll bar: the tallest shown scroll bar in the frame's
// left third (the left dock's lists).
HWND ResultListBar(HWND frame) {
    HWND child = FindWindowExA(FindWindowExA(frame, nullptr, "MDIClient", nullptr), nullptr, "KY_MdiChildWindow", nullptr);
    RECT f;
    GetWindowRect(frame, &f);
    HWND best = nullptr;
    long bestHeight = 0;
    for (HWND w = child ? FindWindowExA(child, nullptr, "KY_ScrollBar", nullptr) : nullptr; w;
         w = FindWindowExA(child, w, "KY_ScrollBar", nullptr)) {
        RECT r;
        if (IsWindowVisible(w) && GetWindowRect(w, &r) && r.right < f.left + (f.right - f.left) / 3 &&
            r.bottom - r.top > bestHeight) {
            best = w;
            bestHeight = r.bottom - r.top;
        }
    }
    return best;
}

// The articles: a search of many results, then 100 clicks on the rows of
// its result list, from the second row down to the last one wholly shown and
// again from the second (the first is the article the search showed); then
// the same 100 again.
int Articles(Driver& driver, HWND frame) {
    Tally search;
    if (!driver.search(kArticleSearch, search))
        return 1;
    HWND bar = ResultListBar(frame);
    RECT b, f;
    if (!bar || !GetWindowRect(bar, &b) || !GetWindowRect(frame, &f)) {
        std::printf("no scroll bar beside the result list\n");
        return 1;
    }
    // The list's first row lies at its scroll bar's top, its text from the
    // dock's left; the bar runs on under the dock's bottom, the list stops
    // above the online list's title (kListEnd from the frame's bottom).
    const int x = b.left / 2, top = b.top, rows = std::min<int>(kRows, (f.bottom - kListEnd - top) / kRowHeight);
    if (rows < 2) {
        std::printf("the result list shows %d rows\n", rows);
        return 1;
    }
    for (int round = 1; round <= 2; ++round) {
        Tally tally;
        double a = Now();
        for (int i = 0; i < 100; ++i) {
            const int row = 1 + i % (rows - 1);
            driver.clickScreen({x, top + row * kRowHeight + kRowHeight / 2 - 1}, tally);
            if (ReaderEnded()) {
                std::printf("the reader ended during the articles, at the %dth click (row %d)\n", i + 1, row);
                return 1;
            }
        }
        char note[80];
        std::snprintf(note, sizeof note, " in %.0f s (rows 2 to %d)", Now() - a, rows);
        PrintWorkingSet("after " + std::to_string(round * 100) + " articles:", tally.note() + note);
    }
    return 0;
}

// Drives the reader on the desktop `desktopName`: runs in a thread of its
// own, which takes that desktop before it has windows.
int Drive(const std::string& desktopName) {
    const double started = Now();
    HDESK desktop = nullptr;
    WaitFor([&] { return (desktop = OpenDesktopA(desktopName.c_str(), 0, FALSE, GENERIC_ALL)) != nullptr; }, 20000);
    if (!desktop || !SetThreadDesktop(desktop)) {
        std::printf("the reader's desktop %s cannot be taken\n", desktopName.c_str());
        return 1;
    }
    HWND frame = nullptr;
    if (!WaitFor([&] { return (frame = ReaderWindow("KY_MDIFrameWindow")) != nullptr; }, 60000)) {
        std::printf("no main window after 60 s\n");
        return 1;
    }
    GetWindowThreadProcessId(frame, &gReaderId);
    gReader = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | PROCESS_TERMINATE | SYNCHRONIZE, FALSE,
                          gReaderId);
    if (!gReader) {
        std::printf("the reader's process cannot be opened (error %lu)\n", GetLastError());
        return 1;
    }
    WaitForInputIdle(gReader, 30000);
    // The home screen is laid out again once the frame has its full size.
    Settle(1000, 30000);
    RECT r;
    GetWindowRect(frame, &r);
    std::printf("main window %ldx%ld at %ld,%ld after %.1f s\n", r.right - r.left, r.bottom - r.top, r.left, r.top,
                Now() - started);
    PrintTree(frame);

    // The frame made the active window, as a click on its caption makes it:
    // the desktop's first activation may have gone elsewhere.
    ClickAt({(r.left + r.right) / 2, r.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2});
    Settle(200, 5000);
    double calm = Now();
    bool steady = SteadyWorkingSet(20000);
    char waited[64];
    std::snprintf(waited, sizeof waited, "; %s after %.0f s more", steady ? "steady" : "still moving", Now() - calm);
    PrintWorkingSet("at start:", waited);
    Driver driver(frame);
    const size_t kSearchCount = sizeof kSearches / sizeof *kSearches;
    for (int round = 1; round <= 2; ++round) {
        Tally tally;
        double a = Now();
        for (size_t i = 0; i < 100; ++i)
            if (!driver.search(kSearches[i % kSearchCount], tally) || ReaderEnded()) {
                std::printf(ReaderEnded() ? "the reader ended during the searches\n" : "");
                return 1;
            }
        char note[64];
        std::snprintf(note, sizeof note, " in %.0f s", Now() - a);
        PrintWorkingSet("after " + std::to_string(round * 100) + " searches:", tally.note() + note);
    }
    PrintTree(frame);
    int code = Articles(driver, frame);
    std::printf("whole run %.0f s\n", Now() - started);
    return code;
}

struct DriveArgs {
    std::string desktop;
    int code;
};

DWORD WINAPI DriveThread(LPVOID param) {
    auto* args = static_cast<DriveArgs*>(param);
    args->code = Drive(args->desktop);
    return 0;
}

// Starts the reader in the sample's folder on a Wine desktop of its own, of
// the screen's size, where it is maximised as on a user's desktop (with no
// window manager on the display, Wine may unmaximise a frame).
int Run(const std::string& reader, const std::string& sample) {
    DriveArgs args = {"svmem" + std::to_string(GetCurrentProcessId()), 1};
    std::string line = "explorer.exe /desktop=" + args.desktop + "," + std::to_string(GetSystemMetrics(SM_CXSCREEN)) +
                       "x" + std::to_string(GetSystemMetrics(SM_CYSCREEN)) + " \"" + reader + "\"";
    // Neither the desktop's process nor the reader holds our output.
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE none = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                              OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = si.hStdOutput = si.hStdError = none;
    PROCESS_INFORMATION pi = {};
    BOOL started = CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, sample.c_str(), &si, &pi);
    CloseHandle(none);
    if (!started) {
        std::printf("%s did not start in %s (error %lu)\n", reader.c_str(), sample.c_str(), GetLastError());
        return 1;
    }
    CloseHandle(pi.hThread);
    if (gJob)
        AssignProcessToJobObject(gJob, pi.hProcess);
    gDesktopProcess = pi.hProcess;
    HANDLE driver = CreateThread(nullptr, 0, DriveThread, &args, 0, nullptr);
    if (!driver) {
        std::printf("no thread to drive the reader\n");
        return 1;
    }
    WaitForSingleObject(driver, INFINITE);  // the watchdog bounds it
    CloseHandle(driver);
    return args.code;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::printf("usage: bench_reader_memory READER_EXE SAMPLE_FOLDER (Windows paths)\n");
        return 2;
    }
    gJob = CreateJobObjectA(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (gJob)
        SetInformationJobObject(gJob, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    CloseHandle(CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr));
    int code = Run(argv[1], argv[2]);
    EndReader();
    return code;
}
