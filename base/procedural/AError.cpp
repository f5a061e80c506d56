// Raising, reporting and the fatal decision for the AError family.
#include "base/procedural/AError.h"

#include "base/procedural/AMemoryChecker.h"
#include "base/procedural/AOutStream.h"
#include "base/procedural/SystemSeams.h"
#include "base/procedural/Trace.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

char g_errorMessage[256];
short g_reportInProgress = 0;

namespace {

const AError* g_currentError = nullptr;
const AppErrorHooks* g_appHooks = nullptr;
uint32_t g_lastYield = 0;

// A fatal end is a broken invariant: never exit with success.
const int kFatalExitCode = 3;

}  // namespace

AError AError::prototype;
short AError::currentMark = 0;

void AError::report(AOutStream& stream) const {
    if (stream.writesToTrace()) {
        TraceLevel(0, "#%s Exception; File %s; Line %d [%s]\n", className(), fileOrUnknown(),
                   static_cast<int>(line_), g_errorMessage);
        return;
    }
    stream.writeString("#").writeString(className()).writeString(" Exception : ");
    stream.writeString(g_errorMessage).writeString("\n");
    stream.writeString("File ").writeString(fileOrUnknown()).writeString(" ; Line ");
    stream.writeInt(static_cast<int>(line_)).writeString("\n");
}

void AError::raise() const {
    prototype = *this;
    setCurrent(&prototype);
    throw AError(file_, line_);
}

void AError::becomeCurrent() const {
    currentMark = 1;
}

void AError::resignCurrent() const {
    currentMark = 0;
}

void AError::setCurrent(const AError* error) {
    if (g_currentError)
        g_currentError->resignCurrent();
    g_currentError = error;
    if (error)
        error->becomeCurrent();
}

const AError* AError::current() {
    return g_currentError;
}

void AKYError::report(AOutStream& stream) const {
    AError::report(stream);
    if (stream.writesToTrace()) {
        TraceErrorCode(0, code_);
        return;
    }
    unsigned long origin = static_cast<unsigned long>(code_) >> 16;
    short number = static_cast<short>(code_ & 0xFFFF);
    switch (origin) {
    case 0:
        stream.writeString("#[KY Error : ").writeShort(number).writeString("]\n");
        break;
    case 1:
        stream.writeString("#[Ansi Error : ").writeShort(number).writeString(" [");
        stream.writeString(strerror(number)).writeString("]]\n");
        break;
    case 2:
        stream.writeString("#[Mac OS Error : ").writeShort(number).writeString("]\n");
        break;
    default:
        stream.writeString("#[Unknown Error : ").writeLong(code_).writeString("]\n");
        break;
    }
}

// Per class: prototype, current mark, the raise through the prototype, and
// the marks set from the class up to AError and cleared from AError down.
#define SV_ERROR_CLASS_IMPL(Cls, Parent)            \
    Cls Cls::prototype;                             \
    short Cls::currentMark = 0;                     \
    void Cls::raise() const {                       \
        prototype = *this;                          \
        AError::setCurrent(&prototype);             \
        throw AError(file_, line_);                 \
    }                                               \
    void Cls::becomeCurrent() const {               \
        currentMark = 1;                            \
        Parent::becomeCurrent();                    \
    }                                               \
    void Cls::resignCurrent() const {               \
        Parent::resignCurrent();                    \
        currentMark = 0;                            \
    }

SV_ERROR_CLASS_IMPL(AMemError, AError)
SV_ERROR_CLASS_IMPL(AAssertError, AError)
SV_ERROR_CLASS_IMPL(ANotImplemented, AError)
SV_ERROR_CLASS_IMPL(AThrowableError, AError)
SV_ERROR_CLASS_IMPL(ALocalError, AThrowableError)
SV_ERROR_CLASS_IMPL(AKYError, AError)
SV_ERROR_CLASS_IMPL(AFileError, AKYError)
SV_ERROR_CLASS_IMPL(AStringError, AError)

#undef SV_ERROR_CLASS_IMPL

void AStringError::throwError() const {
    ReportFatalError(*this);
    throw *this;
}

void ThrowAssert(const char* file, long line) {
    g_errorMessage[0] = 0;
    ThrowAssertError(AAssertError(file, line));
}

void ThrowAssertMessage(const char* text, const char* file, long line) {
    FormatErrorMessage(text);
    ThrowAssertError(AAssertError(file, line));
}

void* CheckAlloc(void* p, const char* file, long line) {
    if (!p)
        ThrowMemError(AMemError(file, line));
    return p;
}

void* CheckAllocAt(void* p, const char* file, long line) {
    return CheckAlloc(p, file, line);
}

void FormatErrorMessage(const char* format, ...) {
    va_list args;
    va_start(args, format);
    int n = vsnprintf(g_errorMessage, sizeof g_errorMessage, format, args);
    va_end(args);
    if (n < 0 || n >= static_cast<int>(sizeof g_errorMessage))
        ThrowAssert("berror", 260);
}

void ThrowMemError(const AMemError& e) {
    ReportFatalError(e);
    throw e;
}

void ThrowAssertError(const AAssertError& e) {
    ReportFatalError(e);
    throw e;
}

void ThrowKYError(const char* file, long line, long code) {
    AKYError e(file, line, code);
    ReportFatalError(e);
    throw e;
}

void ThrowError(const AError& e) {
    ReportFatalError(e);
    throw AError(e.file(), e.line());
}

void ThrowNotImplemented(const char* file, long line) {
    ANotImplemented e(file, line);
    ReportFatalError(e);
    throw e;
}


int ReportFatalError(const AError& e) {
    // An error while reporting another: end at once, without a second report.
    if (g_reportInProgress)
        SeamExit(kFatalExitCode);
    g_reportInProgress = 1;
    AOutStream& stream = CurrentErrorStream();
    if (!stream.writesToTrace())
        e.report(stream);
    if (HandleUncaughtError(e)) {
        CheckAllMemoryBlocks();
        CurrentErrorStream().close();
        SetErrorStream(nullptr);
        SeamExit(kFatalExitCode);
    }
    g_reportInProgress = 0;
    return 0;
}

bool HandleUncaughtError(const AError& e) {
    if (g_appHooks && g_appHooks->handleError)
        return g_appHooks->handleError(e);
    // Recoverable errors stay recoverable without an application object too:
    // tools and early start-up read outside data that must not end the process.
    if (e.isThrowable())
        return false;
    ReportError(e, 0);
    return true;
}

int ShowErrorBox(const char* text) {
    return SeamMessageBox(nullptr, text, "", 0x30);
}

int ReportError(const AError& e, unsigned flags) {
    if (g_appHooks && g_appHooks->reportError)
        return g_appHooks->reportError(e, flags);
    char text[kErrorReportSize];
    ErrorReportText(e, text, sizeof text);
    return SeamMessageBox(nullptr, text, e.className(), flags | 0x30);
}

void ErrorReportText(const AError& e, char* text, size_t size) {
    snprintf(text, size, "File %s;line %d\n%s", e.fileOrUnknown(), static_cast<int>(e.line()), g_errorMessage);
}

void YieldToApplication() {
    if (!g_appHooks || !g_appHooks->idleWanted || !g_appHooks->idle || !g_appHooks->idleWanted())
        return;
    uint32_t now = SeamTickCount();
    if (now - g_lastYield <= 100)
        return;
    // Remembered first: idle work that yields again (a cache read inside a
    // handler) must not nest without end.
    g_lastYield = now;
    g_appHooks->idle();
}

void SetAppErrorHooks(const AppErrorHooks* hooks) {
    g_appHooks = hooks;
}
