// Marked text lines of the saved states.
#include "app/state/MarkedLines.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/object/AFileStream.h"
#include "base/object/ALongDic.h"
#include "base/procedural/KyFile.h"

namespace {

void PutLine(AFileStream& stream, const AString& line) {
    if (KY_FPutLine(line.c_str(), stream.file()) < 0)
        ThrowTyped(AFileError("umarked", 20, stream.lastError()));
}

// The next line after its marker; the end of the file is bad text.
AString TakeLine(AFileStream& stream, const char* marker) {
    short end = 0;
    AString line = stream.readLine(&end);
    const char* expected = marker ? marker : "";
    size_t length = std::strlen(expected);
    if (end || static_cast<size_t>(line.length()) < length || _strnicmp(line.c_str(), expected, length) != 0) {
        char what[96];
        std::snprintf(what, sizeof what, "%.80s expected", length ? expected : "a line");
        ThrowStateFormat(what, 32);
    }
    return AString(line.c_str() + length);
}

}  // namespace

void ThrowStateFormat(const char* what, long line) {
    FormatErrorMessage("state text: %s", what);
    ThrowTyped(AStateFormatError("umarked", line));
}

AString EscapeLineBreaks(const char* text) {
    return AString(text).replacingChar('\n', '\x01').replacingChar('\r', '\x02');
}

AString UnescapeLineBreaks(const char* text) {
    return AString(text).replacingChar('\x01', '\n').replacingChar('\x02', '\r');
}

void WriteMarkedInt(AFileStream& stream, const char* marker, long value) {
    char number[16];
    std::snprintf(number, sizeof number, "%ld", value);
    AString line(marker ? marker : "");
    line += number;
    PutLine(stream, line);
}

void WriteMarkedString(AFileStream& stream, const char* marker, const char* text) {
    AString line(marker ? marker : "");
    line += EscapeLineBreaks(text);
    PutLine(stream, line);
}

void WriteMarkedDic(AFileStream& stream, const char* marker, const ALongLongDic& dic) {
    WriteMarkedString(stream, marker, "");
    WriteMarkedInt(stream, "<!--diclength-->", dic.count());
    for (Pix p = dic.first(); p; dic.next(p)) {
        WriteMarkedInt(stream, "<!--key-->", dic.keyOf(p));
        WriteMarkedInt(stream, "<!--val-->", dic.numberOf(p));
    }
}

long ReadMarkedInt(AFileStream& stream, const char* marker) {
    return std::atol(TakeLine(stream, marker).c_str());
}

long ReadMarkedCount(AFileStream& stream, const char* marker, long low, long high) {
    long value = ReadMarkedInt(stream, marker);
    if (value < low || value > high) {
        char what[96];
        std::snprintf(what, sizeof what, "%s%ld out of range", marker ? marker : "", value);
        ThrowStateFormat(what, 80);
    }
    return value;
}

AString ReadMarkedString(AFileStream& stream, const char* marker) {
    return UnescapeLineBreaks(TakeLine(stream, marker).c_str());
}

void ReadMarkedDic(AFileStream& stream, const char* marker, ALongLongDic& dic) {
    dic.clear();
    ALongLongDic read;
    TakeLine(stream, marker);
    // Each entry takes two lines: a count beyond the file fails at its end.
    long count = ReadMarkedCount(stream, "<!--diclength-->", 0, 0x7FFFFFFF);
    for (long i = 0; i < count; ++i) {
        long key = ReadMarkedInt(stream, "<!--key-->");
        read.slot(key) = ReadMarkedInt(stream, "<!--val-->");
    }
    dic.assign(read);
}
