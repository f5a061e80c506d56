// Trace lines and the error text of the procedural modules.
#include "base/procedural/Trace.h"

#include "base/procedural/AError.h"
#include "base/procedural/BAlloc.h"
#include "base/procedural/KyFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

const char kTraceCutMark[] = "...[cut]\n";

namespace {

int g_traceLevel = 0;
KY_File* g_traceSink = nullptr;
char g_traceBuffer[kTraceBufferSize];
char g_errorText[kTraceBufferSize];

void WriteTrace(const char* text) {
    if (g_traceSink)
        KY_FWrite(g_traceSink, text, static_cast<long>(std::strlen(text)));
    else
        ShowErrorBox(text);
}

}  // namespace

int TraceGetLevel() {
    return g_traceLevel;
}

KY_File* TraceSetSink(KY_File* sink) {
    KY_File* previous = g_traceSink;
    g_traceSink = sink;
    return previous;
}

void TraceVPrint(const char* format, va_list args) {
    int n = vsnprintf(g_traceBuffer, sizeof g_traceBuffer, format, args);
    if (n < 0)
        return;
    // An over-long line is cut rather than ending the process: trace texts
    // can carry data from outside.
    if (n >= kTraceBufferSize)
        std::memcpy(g_traceBuffer + kTraceBufferSize - sizeof kTraceCutMark, kTraceCutMark, sizeof kTraceCutMark);
    WriteTrace(g_traceBuffer);
}

void TracePrint(const char* format, ...) {
    va_list args;
    va_start(args, format);
    TraceVPrint(format, args);
    va_end(args);
}

void TraceLevel(int level, const char* format, ...) {
    if (level > g_traceLevel)
        return;
    va_list args;
    va_start(args, format);
    TraceVPrint(format, args);
    va_end(args);
}

void TraceErrorCode(int level, long code) {
    unsigned long origin = static_cast<unsigned long>(code) >> 16;
    short number = static_cast<short>(code & 0xFFFF);
    if (origin == 0)
        TraceLevel(level, "#KY Error : %d\n", number);
    else if (origin == 1)
        TraceLevel(level, "#Ansi Error : %d [%s]\n", number, strerror(number));
    else
        TraceLevel(level, "#Unknown Error : %ld\n", code);
}

int KY_SetErrorText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    int n = vsnprintf(g_errorText, sizeof g_errorText, format, args);
    va_end(args);
    if (n < 0 || n >= kTraceBufferSize) {
        g_errorText[0] = 0;
        KY_RaiseError("trace", 92);
    }
    return n;
}

const char* KY_GetErrorText() {
    return g_errorText;
}

void KY_RaiseError(const char* file, long line) {
    // The message buffer holds 255 characters: a longer error text is cut
    // there rather than failing the raise itself.
    char text[sizeof g_errorMessage];
    size_t len = 0;
    for (const char* p = g_errorText; *p && len < sizeof text - 1; ++p) {
        if (*p == '%' && len + 2 >= sizeof text - 1)
            break;
        text[len++] = *p;
        if (*p == '%')
            text[len++] = '%';
    }
    text[len] = 0;
    ThrowAssertMessage(text, file, line);
}

char* KY_StrDup(const char* text, const char* file, long line) {
    if (!text)
        return nullptr;
    size_t n = std::strlen(text) + 1;
    char* copy = static_cast<char*>(NewBlock(n, file, line));
    if (copy)
        std::memcpy(copy, text, n);
    return copy;
}
