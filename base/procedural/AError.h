// The exception family of the object layer, the assertion routine, the
// allocation check and the raising path that reports before it throws.
//
// Two branches: errors of the throwable branch (AThrowableError and below) are
// recoverable and reach the callers' handlers; every other error raised
// through a typed throw is a broken program invariant and ends the process
// after the error box, with a non-zero exit code. Bad data from outside
// (files, network, the reader's input) must use the throwable branch or an
// error code, never the fatal one.
#pragma once

#include <cstddef>

class AOutStream;

// Text of the last error message: at most 255 characters, NUL-terminated.
extern char g_errorMessage[256];

// Set while ReportFatalError runs; the window layer skips work during a report.
extern short g_reportInProgress;

class AError {
public:
    explicit AError(const char* file = nullptr, long line = 0) : file_(file), line_(line) {}
    virtual ~AError() = default;

    // Writes the report of this error; an absent source file is written "?".
    virtual void report(AOutStream& stream) const;
    // Copies file and line into the class's prototype, makes it current and
    // throws a plain AError. Does not consult the fatal decision.
    [[noreturn]] virtual void raise() const;
    virtual const char* className() const { return "AError"; }
    virtual bool isThrowable() const { return false; }
    virtual void becomeCurrent() const;
    virtual void resignCurrent() const;

    const char* file() const { return file_; }
    const char* fileOrUnknown() const { return file_ ? file_ : "?"; }
    long line() const { return line_; }

    static void setCurrent(const AError* error);
    static const AError* current();
    static AError prototype;
    static short currentMark;

protected:
    const char* file_;
    long line_;
};

// Declares the per-class overrides shared by every error class.
#define SV_ERROR_CLASS_BODY(Cls)                          \
public:                                                   \
    [[noreturn]] void raise() const override;             \
    const char* className() const override { return #Cls; } \
    void becomeCurrent() const override;                  \
    void resignCurrent() const override;                  \
    static Cls prototype;                                 \
    static short currentMark;

class AMemError : public AError {
public:
    AMemError(const char* file = nullptr, long line = 0) : AError(file, line) {}
    SV_ERROR_CLASS_BODY(AMemError)
};

class AAssertError : public AError {
public:
    AAssertError(const char* file = nullptr, long line = 0) : AError(file, line) {}
    SV_ERROR_CLASS_BODY(AAssertError)
};

class ANotImplemented : public AError {
public:
    ANotImplemented(const char* file = nullptr, long line = 0) : AError(file, line) {}
    SV_ERROR_CLASS_BODY(ANotImplemented)
};

class AThrowableError : public AError {
public:
    AThrowableError(const char* file = nullptr, long line = 0) : AError(file, line) {}
    bool isThrowable() const override { return true; }
    SV_ERROR_CLASS_BODY(AThrowableError)
};

class ALocalError : public AThrowableError {
public:
    ALocalError(const char* file = nullptr, long line = 0) : AThrowableError(file, line) {}
    SV_ERROR_CLASS_BODY(ALocalError)
};

// Carries an error code: high 16 bits the origin (0 framework, 1 C library
// errno + 65536, 2 Mac OS, other), low 16 bits the number.
class AKYError : public AError {
public:
    AKYError(const char* file = nullptr, long line = 0, long code = 0) : AError(file, line), code_(code) {}
    void report(AOutStream& stream) const override;
    long code() const { return code_; }
    SV_ERROR_CLASS_BODY(AKYError)
protected:
    long code_;
};

class AFileError : public AKYError {
public:
    AFileError(const char* file = nullptr, long line = 0, long code = 0) : AKYError(file, line, code) {}
    SV_ERROR_CLASS_BODY(AFileError)
};

class AStringError : public AError {
public:
    AStringError(const char* file = nullptr, long line = 0) : AError(file, line) {}
    [[noreturn]] void throwError() const;
    SV_ERROR_CLASS_BODY(AStringError)
};

#undef SV_ERROR_CLASS_BODY

// Empties the message buffer and raises AAssertError(file, line).
[[noreturn]] void ThrowAssert(const char* file, long line);
// Puts the text in the message buffer (as a format without arguments) and raises AAssertError.
[[noreturn]] void ThrowAssertMessage(const char* text, const char* file, long line);
// Returns p, or raises AMemError(file, line) when p is null.
void* CheckAlloc(void* p, const char* file, long line);
template <class T>
T* CheckAlloc(T* p, const char* file, long line) {
    return static_cast<T*>(CheckAlloc(static_cast<void*>(p), file, line));
}
void* CheckAllocAt(void* p, const char* file, long line);
// Formats into the message buffer; a result that does not fit is an assertion ("berror").
void FormatErrorMessage(const char* format, ...);

// Answers 0 when the error is not fatal; a fatal error never returns.
int ReportFatalError(const AError& e);

// Typed throws: report (ReportFatalError) first, then throw a copy as the own class.
[[noreturn]] void ThrowMemError(const AMemError& e);
[[noreturn]] void ThrowAssertError(const AAssertError& e);
[[noreturn]] void ThrowKYError(const char* file, long line, long code);
[[noreturn]] void ThrowError(const AError& e);
[[noreturn]] void ThrowNotImplemented(const char* file, long line);
// The typed throw of any other error class (the parsers' AThrowableError
// subclasses among them): reports, then throws E itself, not a slice.
template <class E>
[[noreturn]] void ThrowTyped(const E& e) {
    ReportFatalError(e);
    throw e;
}


// True when the error is fatal.
bool HandleUncaughtError(const AError& e);
// Shows a text in the application's message box (no owner, empty caption, exclamation).
int ShowErrorBox(const char* text);
// Lets the application run its idle work during long procedural operations.
void YieldToApplication();

// What the application object answers for the error path; installed by the
// framework while an application object exists. All null: no application.
struct AppErrorHooks {
    bool (*handleError)(const AError& e);        // true: fatal
    int (*reportError)(const AError& e, unsigned flags);  // shows the error box
    bool (*idleWanted)();
    void (*idle)();
};
void SetAppErrorHooks(const AppErrorHooks* hooks);

// The error box without an application object: "File <file>;line <n>\n<message>",
// captioned with the class name, flags + MB_ICONEXCLAMATION.
int ReportError(const AError& e, unsigned flags);
// The error box's text: "File <file>;line <n>\n<message>", cut to size.
void ErrorReportText(const AError& e, char* text, size_t size);
enum : size_t { kErrorReportSize = sizeof g_errorMessage + 300 };
