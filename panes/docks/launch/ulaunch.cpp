// Starting a program and waiting for it; DDE errors in words.
#include "panes/docks/launch/ulaunch.h"

#include <windows.h>
#include <ddeml.h>

#include <cstring>

#include "base/procedural/SystemSeams.h"

namespace {

const char* const kDdeTexts[] = {
    "sync advice timeout",        "busy",
    "sync data timeout",          "not initialized",
    "tried to be a server",       "sync execute timeout",
    "invalid param",              "low memory",
    "out of memory",              "transaction failed",
    "client conversation failed", "sync poke timeout",
    "post message failed",        "transaction already in progress",
    "server died",                "internal error",
    "sync advise timeout",        "invalid transaction identifier",
};

}  // namespace

int16_t LaunchProcess(const AFileSpec& program, const AFileSpec& document, int16_t flag, const char* commandLine) {
    (void)document, (void)flag;
    if (program.empty() || !program.exists())
        return 0;
    std::string application = program.path().c_str();
    std::string directory = program.parent(false).path().c_str();

    STARTUPINFOA startup;
    std::memset(&startup, 0, sizeof startup);
    GetStartupInfoA(&startup);
    startup.cb = sizeof startup;
    startup.lpReserved = nullptr;
    startup.lpDesktop = nullptr;
    startup.dwX = startup.dwY = startup.dwXSize = startup.dwYSize = 0;
    startup.dwXCountChars = startup.dwYCountChars = 0;
    startup.cbReserved2 = 0;
    startup.lpReserved2 = nullptr;
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_FORCEONFEEDBACK;
    startup.wShowWindow = SW_SHOWDEFAULT;

    // CreateProcessA may write into the command line: it gets a copy.
    std::string line = commandLine ? commandLine : "";
    PROCESS_INFORMATION process;
    std::memset(&process, 0, sizeof process);
    if (!CreateProcessA(application.c_str(), commandLine ? &line[0] : nullptr, nullptr, nullptr, FALSE,
                        CREATE_DEFAULT_ERROR_MODE | CREATE_NEW_PROCESS_GROUP | NORMAL_PRIORITY_CLASS, nullptr,
                        directory.c_str(), &startup, &process))
        return 0;
    // Bounded: a program that never becomes idle must not hold the reader's
    // window for ever. WAIT_FAILED is what a program without a message loop
    // (a console program) gives: it is running all the same.
    WaitForInputIdle(process.hProcess, kLaunchWaitMs);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 1;
}

std::string DdeErrorText(const char* prefix, unsigned code) {
    std::string text = prefix ? prefix : "";
    text += ": ";
    if (code >= DMLERR_FIRST && code <= DMLERR_FIRST + 0x11)
        return text + kDdeTexts[code - DMLERR_FIRST];
    return text + "other error type " + std::to_string(code);
}

void ShowDdeError(uint32_t instance, const char* prefix) {
    UINT code = DdeGetLastError(instance);
    if (code == 0)
        return;
    SeamMessageBox(nullptr, DdeErrorText(prefix, code).c_str(), nullptr, MB_OK);
}
