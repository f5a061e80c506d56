// Kills a process that saves a file in a loop at random moments, and checks
// the file after each kill: the interrupted-save tests of the settings files.
#pragma once

#include <windows.h>

#include <functional>
#include <random>
#include <string>

// Runs `command` `rounds` times; each run is killed 0 to 19 ms after it sets
// the event `eventName` (its first save done; 10 s at the most). After each
// kill, check answers "" or what is wrong with the file. Answers "" or
// "kill k: <what>" for the first failure.
inline std::string KillSaverRepeatedly(const std::string& command, const std::string& eventName, int rounds,
                                       unsigned seed, const std::function<std::string()>& check) {
    std::mt19937 random(seed);
    HANDLE started = CreateEventA(nullptr, FALSE, FALSE, eventName.c_str());
    if (!started)
        return "no event";
    std::string why;
    for (int kill = 0; kill < rounds && why.empty(); ++kill) {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        std::string line = command;
        // A loaded Wine now and then refuses a process start for a moment;
        // the saves are under test, not the start, so it is tried again.
        DWORD error = 0;
        bool begun = false;
        for (int attempt = 0; attempt < 5 && !begun; ++attempt) {
            begun = CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                   &process) != 0;
            if (!begun) {
                error = GetLastError();
                Sleep(200);
            }
        }
        if (!begun) {
            why = "kill " + std::to_string(kill) + ": the saver does not start (error " + std::to_string(error) + ")";
            break;
        }
        WaitForSingleObject(started, 10000);
        Sleep(random() % 20);
        TerminateProcess(process.hProcess, 9);
        WaitForSingleObject(process.hProcess, INFINITE);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        std::string what = check();
        if (!what.empty())
            why = "kill " + std::to_string(kill) + ": " + what;
    }
    CloseHandle(started);
    return why;
}
