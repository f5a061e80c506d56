// Raising the facade's recoverable error.
#include "search/facade/SearchError.h"

#include <cstdio>

#include "base/procedural/AOutStream.h"
#include "base/procedural/EngineTables.h"
#include "base/procedural/Trace.h"

void ASearchError::report(AOutStream& stream) const {
    AThrowableError::report(stream);
    if (stream.writesToTrace())
        TraceErrorCode(0, code_);
    else
        stream.writeString("#[KY Error : ").writeLong(code_).writeString("]\n");
}

// Written straight into the buffer: an engine text near its 260 characters
// would make the formatting routine raise its own assertion.
void RaiseEngineError(long code, const char* file, long line) {
    std::snprintf(g_errorMessage, sizeof g_errorMessage, "%s:%ld\n", KY_EngineErrorText, code);
    ThrowTyped(ASearchError(file, line, code));
}

void RaiseDataError(const char* text, const char* file, long line) {
    std::snprintf(g_errorMessage, sizeof g_errorMessage, "%s", text ? text : "");
    ThrowTyped(ASearchError(file, line, kSearchErrDamaged));
}
