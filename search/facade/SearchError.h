// The one error class through which the facade reports the engine's codes and
// damaged data: recoverable (an AThrowableError), so that a bad disc file or a
// refusing server never ends the process. Broken preconditions of callers go
// through the assertion routine instead.
#pragma once

#include "base/procedural/AError.h"

class ASearchError : public AThrowableError {
public:
    ASearchError(const char* file = nullptr, long line = 0, long code = 0) : AThrowableError(file, line), code_(code) {}
    const char* className() const override { return "ASearchError"; }
    void report(AOutStream& stream) const override;
    long code() const { return code_; }

private:
    long code_;
};

// Code of a damaged result-list file or record, as the engine's read failures.
const long kSearchErrDamaged = 106;

// Formats "%s:%ld\n" (the engine's error text, the code) into the message buffer
// and raises ASearchError(file, line, code).
[[noreturn]] void RaiseEngineError(long code, const char* file, long line);
// Raises ASearchError(file, line, kSearchErrDamaged) with text as the message.
[[noreturn]] void RaiseDataError(const char* text, const char* file, long line);
// Raises through RaiseEngineError when code is not 0.
inline void CheckEngineCode(long code, const char* file, long line) {
    if (code)
        RaiseEngineError(code, file, line);
}
