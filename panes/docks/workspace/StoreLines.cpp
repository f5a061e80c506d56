// The line layer of the reader's stores.
#include "panes/docks/workspace/StoreLines.h"

#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/object/AError.h"
#include "base/object/AFileStream.h"
#include "base/procedural/KyFile.h"
#include "framework/files/AContainerFile.h"

AString AStoreReader::line() {
    short end = 0;
    AString text = stream_.readLine(&end);
    ++lineNumber_;
    if (end)
        damaged();
    return text;
}

long AStoreReader::number() {
    AString text = line();
    const char* p = text.c_str();
    const char* digits = *p == '-' ? p + 1 : p;
    if (!*digits || std::strspn(digits, "0123456789") != std::strlen(digits))
        damaged();
    errno = 0;
    long value = std::strtol(p, nullptr, 10);
    if (errno == ERANGE)
        damaged();
    return value;
}

void AStoreReader::damaged() const {
    throw AFileError(fileName_, lineNumber_, AContainerFile::kDamaged);
}

void WriteStoreLine(AFileStream& stream, const char* text) {
    long length = static_cast<long>(std::strlen(text));
    if ((length && stream.write(text, length) != length) || stream.write("\r\n", 2) != 2)
        throw AFileError("storelines", 60, stream.lastError() ? stream.lastError() : long{kFileErrIO});
}

void WriteStoreNumber(AFileStream& stream, long number) {
    char text[16];
    snprintf(text, sizeof text, "%ld", number);
    WriteStoreLine(stream, text);
}

AString OneLine(const char* text) {
    return AString(text ? text : "").replacingChars("\r\n", ' ', false);
}

AString KeepDamagedFile(const AFileSpec& file) {
    AString path = file.path();
    for (int n = 1; n < 1000; ++n) {
        AString sibling = path;
        sibling += ".damaged";
        if (n > 1)
            sibling += AString(static_cast<long>(n));
        if (MoveFileA(path.c_str(), sibling.c_str()))
            return sibling;
        if (GetLastError() != ERROR_ALREADY_EXISTS && GetLastError() != ERROR_FILE_EXISTS)
            return AString();
    }
    return AString();
}
