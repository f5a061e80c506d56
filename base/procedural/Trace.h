// Levelled printf-style trace and the process-wide error text of the
// procedural modules. Lines go to the sink file, or to a message box.
#pragma once

#include <cstdarg>
#include <cstddef>

struct KY_File;

// Trace buffer and error-text size: a line or text never exceeds this.
const int kTraceBufferSize = 32000;

int TraceGetLevel();
// Installs the file (not owned; null: message boxes) that receives trace
// lines; answers the previous one. A failing write loses the line.
KY_File* TraceSetSink(KY_File* sink);
// Writes one text, no level test. A text of kTraceBufferSize characters or
// more is cut and marked with kTraceCutMark.
void TracePrint(const char* format, ...);
void TraceVPrint(const char* format, va_list args);
// Prints when level <= TraceGetLevel() (0: level 0 prints, level 1 does not).
void TraceLevel(int level, const char* format, ...);
// "#KY Error : %d\n", "#Ansi Error : %d [%s]\n" or "#Unknown Error : %ld\n" by the code's high word.
void TraceErrorCode(int level, long code);

extern const char kTraceCutMark[];

// Formats the current error text; answers the characters written. A text
// that does not fit is emptied and raised from "trace".
int KY_SetErrorText(const char* format, ...);
const char* KY_GetErrorText();
// Raises the current error text as an AAssertError of (file, line).
[[noreturn]] void KY_RaiseError(const char* file, long line);
// A KY_Malloc copy of text; null for null text or when memory is short. Caller frees with KY_Free.
char* KY_StrDup(const char* text, const char* file, long line);
