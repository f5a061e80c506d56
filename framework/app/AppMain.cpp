// The framework main: the log, and the creation, run and shut-down of the application object.
#include "framework/app/AppMain.h"

#include <windows.h>

#include <memory>

#include "base/object/AFile.h"
#include "base/object/AFixedPool.h"
#include "base/object/AFolderSpecs.h"
#include "base/object/ATextOutStream.h"
#include "base/procedural/AMemoryChecker.h"
#include "base/procedural/AddressWord.h"
#include "framework/app/AApp.h"
#include "framework/app/AppServices.h"

void* AppInstanceHandle = nullptr;

namespace {

// Marks the log as this process's: a byte-range lock far past any log text.
// The file layer opens files sharing them, so a second instance would
// otherwise empty and later delete the first one's log.
class LogLock {
public:
    LogLock() = default;
    ~LogLock() { release(); }
    LogLock(const LogLock&) = delete;
    LogLock& operator=(const LogLock&) = delete;

    bool take(const char* path) {
        handle_ = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle_ == INVALID_HANDLE_VALUE)
            return false;
        if (LockFile(handle_, kOffset, 0, 1, 0))
            return true;
        release();
        return false;
    }
    void release() {
        if (handle_ == INVALID_HANDLE_VALUE)
            return;
        UnlockFile(handle_, kOffset, 0, 1, 0);
        CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

private:
    static const DWORD kOffset = 0x7FFFFFF0;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// Answers false when the step ended through an error, after reporting it.
bool RunGuarded(void (*step)(void*), void* context) {
    try {
        step(context);
        return true;
    } catch (const AError& e) {
        ReportError(e, 0);
    } catch (...) {
        ErrorBox("Unhandled Exception");
    }
    return false;
}

// The log is never an obstacle to starting: without it the run goes on unlogged.
int RunWithLog(void* instance, const char* commandLine, int showCommand) {
    AFileSpec path;
    LogLock lock;
    std::unique_ptr<ATextOutStream> log;
    try {
        path = AFileSpec(AAppTempFolderSpec(), AppLogName);
        path.setExtension("log", false);
        if (lock.take(path.path().c_str()))
            log.reset(new ATextOutStream(AFile(path, 1, AFileOptions{1, 256, 1}, false), 0));
    } catch (const AFileSpecError&) {
        log.reset();
    }
    if (!log) {
        lock.release();
        return AppMainBody(instance, commandLine, showCommand);
    }
    SetErrorStream(log.get());
    int result = AppMainBody(instance, commandLine, showCommand);
    log.reset();
    lock.release();
    // The log file alone: never a folder, whatever stands at that name.
    if (!g_reportInProgress)
        DeleteFileA(path.path().c_str());
    return result;
}

}  // namespace

AApp* NewApplicationObject() {
    if (!AppClassRecord || AApp::current())
        ThrowAssert("fappli", 2706);
    AClass::Factory factory = AppClassRecord->factory();
    AObject* object = factory ? factory() : nullptr;
    if (!object)
        ThrowMemError(AMemError("fappli", 2707));
    AApp* app = static_cast<AApp*>(object->castTo(&AApp::classRecord));
    if (!app) {
        delete object;
        ThrowMemError(AMemError("fappli", 2707));
    }
    return app;
}

int AppMain(void* instance, const char* commandLine, int showCommand) {
    int result = 0;
    try {
        KY_InitGlobalFileSys(AddressWord(instance));
        if (AppLogName && *AppLogName)
            result = RunWithLog(instance, commandLine, showCommand);
        else
            result = AppMainBody(instance, commandLine, showCommand);
        KY_TermGlobalFileSys(AddressWord(instance));
    } catch (const AError& e) {
        KY_TermGlobalFileSys(AddressWord(instance));
        e.report(CurrentErrorStream());
        // An error escaping the framework main is no normal quit.
        result = 1;
    }
    AFixedPool::releaseUnused();
    return result;
}

int AppMainBody(void* instance, const char* commandLine, int showCommand) {
    AMemoryChecker checker;
    AOutStream& out = CurrentErrorStream();
    out.writeString("#Starting...\n");
    out.writeString("CmdLine:\n");
    if (commandLine && *commandLine)
        out.writeString(commandLine).writeString("\n");
    AApp::reportInstanceCounts(out);
    CreateApplication();
    int result = RunApplication(instance, commandLine, showCommand);
    ShutdownApplication();
    CurrentErrorStream().writeString("#Done...\n");
    AApp::reportInstanceCounts(CurrentErrorStream());
    return result;
}

void CreateApplication() {
    RunGuarded(
        [](void*) {
            AClass::buildRegistry();
            CheckAlloc(NewApplicationObject(), "fappmain", 165);
        },
        nullptr);
}

int RunApplication(void* instance, const char* commandLine, int showCommand) {
    struct Run {
        void* instance;
        const char* commandLine;
        int showCommand;
        int result;
        bool opened;
    } run = {instance, commandLine, showCommand, 0, false};
    // No application object: creating it failed, and the run is no normal quit.
    if (!AApp::current())
        return AApp::kErrorExitCode;
    bool ran = RunGuarded(
        [](void* p) {
            Run& r = *static_cast<Run*>(p);
            AApp* app = AApp::current();
            app->setInstance(r.instance, r.commandLine, r.showCommand);
            if (!app->activateOtherInstance())
                return;
            app->open();
            r.opened = true;
            r.result = app->run();
        },
        &run);
    if (!ran)
        run.result = AApp::kErrorExitCode;
    if (run.opened && AApp::current()) {
        RunGuarded(
            [](void*) {
                AApp* app = AApp::current();
                app->closeAllWindows(0);
                app->close();
            },
            nullptr);
    }
    return run.result;
}

void ShutdownApplication() {
    try {
        if (AApp* app = AApp::current()) {
            AOutStream& out = CurrentErrorStream();
            out.writeString("#Exiting...\n");
            app->reportInstances(out);
            delete app;
        }
        AClass::releaseRegistry();
        AFixedPool::releaseUnused();
    } catch (const AError& e) {
        // The report must not go through a half-destroyed application object.
        SetAppErrorHooks(nullptr);
        SetAppComponentHooks(nullptr);
        ReportError(e, 0);
    } catch (...) {
        ErrorBox("Unhandled Exception");
    }
}
