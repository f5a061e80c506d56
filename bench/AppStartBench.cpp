// Start-up time of a framework application against Wine's own notepad: each
// is started, waited for until its window is up and idle (painted), closed
// with WM_CLOSE and waited for; the medians of 10 runs and their ratio are printed.
// With the reader and an installation folder it also starts the reader there
// 5 times and prints each start step's median time (the "#Start step" lines
// of its log) and its share of the time until the last step has run.
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

// Medians of 10 runs: first the time until painted and idle, then until ended.
Times Median(const std::string& commandLine, const char* name) {
    std::vector<long> idle, total;
    for (int i = 0; i < 10; ++i) {
        Times t = RunOnce(commandLine);
        if (t.total < 0) {
            std::printf("%s: run %d failed\n", name, i + 1);
            continue;
        }
        idle.push_back(t.idle);
        total.push_back(t.total);
    }
    if (total.empty())
        return {0, 0};
    Times median = {static_cast<long>(MedianOf(idle)), static_cast<long>(MedianOf(total))};
    std::printf("%-18s median until painted %6ld ms, until ended %6ld ms (%u runs)\n", name, median.idle, median.total,
                static_cast<unsigned>(total.size()));
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

void ReaderShares(const std::string& reader, const std::string& folder) {
    std::vector<std::string> order;
    std::map<std::string, std::vector<long>> times;  // microseconds
    std::vector<long> totals;
    for (int i = 0; i < 5; ++i) {
        std::vector<std::pair<std::string, double>> steps;
        double total = 0;
        if (!ReaderSteps(reader, folder, steps, total)) {
            std::printf("reader: run %d failed\n", i + 1);
            continue;
        }
        totals.push_back(static_cast<long>(total * 1000));
        for (const auto& s : steps) {
            if (!times.count(s.first))
                order.push_back(s.first);
            times[s.first].push_back(static_cast<long>(s.second * 1000));
        }
    }
    if (totals.empty())
        return;
    double total = MedianOf(totals) / 1000.0;
    std::printf("reader: median %.1f ms from the process start until the main window is open (%u runs)\n", total,
                static_cast<unsigned>(totals.size()));
    for (const std::string& name : order) {
        double ms = MedianOf(times[name]) / 1000.0;
        std::printf("  step %-14s %8.1f ms  %5.1f %%\n", name.c_str(), ms, 100.0 * ms / total);
    }
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
    if (argc > 3)
        ReaderShares(argv[2], argv[3]);
    Times ours = Median("\"" + app + "\" wait", "test application");
    Times notepad = Median("notepad.exe", "notepad");
    if (ours.idle > 0 && notepad.idle > 0 && ours.total > 0 && notepad.total > 0)
        std::printf("ratio (test application / notepad): until painted %.2f, until ended %.2f\n",
                    double(ours.idle) / notepad.idle, double(ours.total) / notepad.total);
    return 0;
}
