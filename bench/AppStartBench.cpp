// Start-up time of a framework application against Wine's own notepad: each
// is started, waited for until its window is up and idle (painted), closed
// with WM_CLOSE and waited for; the medians of 10 runs and their ratio are printed.
// With the reader and an installation folder it also starts the reader there
// and prints each start step's median time (the "#Start step" lines of its
// log), its share of the time until the last step has run, and that time
// against notepad's. The programs take turns at each of the 10 rounds
// (reader, test application, notepad), so that the machine's changing load
// weighs on all alike.
// Usage: bench_app_start [test_application.exe path [savantorium.exe path, installation folder]]
#include <windows.h>

#include <algorithm>
#include <map>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Closer {
    DWORD pid;
    int posted;
};

BOOL CALLBACK CloseWindowsOf(HWND window, LPARAM param) {
    Closer* closer = reinterpret_cast<Closer*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == closer->pid && IsWindowVisible(window)) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        ++closer->posted;
    }
    return TRUE;
}

struct Times {
    long idle;   // ms from the start until the program waits for input, its window painted
    long total;  // ms from the start until the process has ended
};

// The times of one run, or -1 for both on failure.
Times RunOnce(const std::string& commandLine) {
    std::string line = commandLine;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return {-1, -1};
    CloseHandle(pi.hThread);
    WaitForInputIdle(pi.hProcess, 30000);
    LARGE_INTEGER idle;
    QueryPerformanceCounter(&idle);
    Closer closer = {pi.dwProcessId, 0};
    // The window may show a moment after the process first goes idle.
    for (int i = 0; i < 600 && closer.posted == 0; ++i) {
        EnumWindows(CloseWindowsOf, reinterpret_cast<LPARAM>(&closer));
        if (closer.posted == 0)
            Sleep(5);
    }
    bool ended = WaitForSingleObject(pi.hProcess, 30000) == WAIT_OBJECT_0;
    QueryPerformanceCounter(&end);
    if (!ended)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hProcess);
    if (!ended || closer.posted == 0)
        return {-1, -1};
    auto ms = [&](const LARGE_INTEGER& t) {
        return static_cast<long>((t.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart);
    };
    return {ms(idle), ms(end)};
}

double MedianOf(std::vector<long> times) {
    std::sort(times.begin(), times.end());
    size_t n = times.size();
    return n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2.0;
}

const int kRounds = 10;

// A program's runs: until painted and idle, until ended.
struct Runs {
    std::vector<long> idle, total;
};

void Add(Runs& runs, const std::string& commandLine, const char* name, int round) {
    Times t = RunOnce(commandLine);
    if (t.total < 0) {
        std::printf("%s: run %d failed\n", name, round + 1);
        return;
    }
    runs.idle.push_back(t.idle);
    runs.total.push_back(t.total);
}

// The medians of the runs, printed.
Times Median(const Runs& runs, const char* name) {
    if (runs.total.empty())
        return {0, 0};
    Times median = {static_cast<long>(MedianOf(runs.idle)), static_cast<long>(MedianOf(runs.total))};
    std::printf("%-18s median until painted %6ld ms, until ended %6ld ms (%u runs)\n", name, median.idle, median.total,
                static_cast<unsigned>(runs.total.size()));
    return median;
}

// One start of the reader in folder: the steps' times from its log (held
// open: the reader deletes it at the end) and the time until the last step ran;
// the reader is ended without its quit question. False when it did not start.
bool ReaderSteps(const std::string& reader, const std::string& folder, std::vector<std::pair<std::string, double>>& steps,
                 double& total) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string logPath = std::string(temp) + "sv.log";
    DeleteFileA(logPath.c_str());
    std::string line = "\"" + reader + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    HANDLE log = INVALID_HANDLE_VALUE;
    std::string text;
    for (int i = 0; i < 6000 && text.find("#Start step mainwindow") == std::string::npos; ++i) {
        if (log == INVALID_HANDLE_VALUE)
            log = CreateFileA(logPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
        if (log != INVALID_HANDLE_VALUE) {
            text.clear();
            char buffer[4096];
            DWORD n = 0;
            SetFilePointer(log, 0, nullptr, FILE_BEGIN);
            while (ReadFile(log, buffer, sizeof buffer, &n, nullptr) && n > 0)
                text.append(buffer, n);
        }
        if (text.find("#Start step mainwindow") == std::string::npos)
            Sleep(5);
    }
    QueryPerformanceCounter(&now);
    total = (now.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart;
    TerminateProcess(pi.hProcess, 9);
    WaitForSingleObject(pi.hProcess, 30000);
    CloseHandle(pi.hProcess);
    if (log != INVALID_HANDLE_VALUE)
        CloseHandle(log);
    steps.clear();
    for (size_t at = text.find("#Start step "); at != std::string::npos; at = text.find("#Start step ", at + 1)) {
        size_t colon = text.find(':', at);
        if (colon == std::string::npos)
            break;
        steps.emplace_back(text.substr(at + 12, colon - at - 12), std::atof(text.c_str() + colon + 1));
    }
    return !steps.empty();
}

// The reader's starts: each step's times (microseconds), in the order of the
// log, and the times until the last step ran.
struct ReaderRuns {
    std::vector<std::string> order;
    std::map<std::string, std::vector<long>> steps;
    std::vector<long> totals;
};

void AddReader(ReaderRuns& runs, const std::string& reader, const std::string& folder, int round) {
    std::vector<std::pair<std::string, double>> steps;
    double total = 0;
    if (!ReaderSteps(reader, folder, steps, total)) {
        std::printf("reader: run %d failed\n", round + 1);
        return;
    }
    runs.totals.push_back(static_cast<long>(total * 1000));
    for (const auto& s : steps) {
        if (!runs.steps.count(s.first))
            runs.order.push_back(s.first);
        runs.steps[s.first].push_back(static_cast<long>(s.second * 1000));
    }
}

// The median time until the main window is open, printed with its steps' shares.
double ReaderShares(const ReaderRuns& runs) {
    if (runs.totals.empty())
        return 0;
    double total = MedianOf(runs.totals) / 1000.0;
    std::printf("reader: median %.1f ms from the process start until the main window is open (%u runs)\n", total,
                static_cast<unsigned>(runs.totals.size()));
    double steps = 0;
    for (const std::string& name : runs.order) {
        double ms = MedianOf(runs.steps.at(name)) / 1000.0;
        steps += ms;
        std::printf("  step %-14s %8.1f ms  %5.1f %%\n", name.c_str(), ms, 100.0 * ms / total);
    }
    // What no step times: Wine's process start, the framework's, the log's polling.
    std::printf("  outside the steps   %8.1f ms  %5.1f %%\n", total - steps, 100.0 * (total - steps) / total);
    return total;
}

}  // namespace

int main(int argc, char** argv) {
    std::string app;
    if (argc > 1) {
        app = argv[1];
    } else {
        char path[MAX_PATH];
        DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
        std::string self(path, n);
        app = self.substr(0, self.find_last_of("\\/") + 1) + "..\\tests\\framework\\app\\test_application.exe";
    }
    const bool withReader = argc > 3;
    ReaderRuns reader;
    Runs ours, notepad;
    for (int round = 0; round < kRounds; ++round) {
        if (withReader)
            AddReader(reader, argv[2], argv[3], round);
        Add(ours, "\"" + app + "\" wait", "test application", round);
        Add(notepad, "notepad.exe", "notepad", round);
    }
    double readerMs = withReader ? ReaderShares(reader) : 0;
    Times a = Median(ours, "test application");
    Times n = Median(notepad, "notepad");
    if (a.idle > 0 && n.idle > 0 && a.total > 0 && n.total > 0)
        std::printf("ratio (test application / notepad): until painted %.2f, until ended %.2f\n",
                    double(a.idle) / n.idle, double(a.total) / n.total);
    if (readerMs > 0 && n.idle > 0)
        std::printf("ratio (reader until its main window is open / notepad until painted): %.2f\n", readerMs / n.idle);
    return 0;
}
