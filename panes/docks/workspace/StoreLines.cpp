// The line layer of the reader's stores.
#include "panes/docks/workspace/StoreLines.h"

#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/object/AFileStream.h"
#include "base/procedural/AError.h"
#include "base/procedural/KyFile.h"
#include "framework/files/AContainerFile.h"

AStoreReader::AStoreReader(AFileStream& stream, const char* fileName) : fileName_(fileName) {
    char buffer[16384];
    long n;
    while ((n = stream.read(buffer, sizeof buffer)) > 0)
        data_.append(buffer, static_cast<size_t>(n));
    if (n < 0)
        throw AFileError(fileName_, 0, stream.lastError() ? stream.lastError() : long{kFileErrIO});
}

// A line ends at LF, CR LF or a lone CR, as the file layer's line reads end.
AString AStoreReader::line() {
    ++lineNumber_;
    if (next_ >= data_.size())
        damaged();
    size_t start = next_;
    size_t end = start;
    while (end < data_.size() && data_[end] != '\n' && data_[end] != '\r')
        ++end;
    if (end == data_.size()) {
        next_ = end;
    } else {
        next_ = end + 1;
        if (data_[end] == '\r' && next_ < data_.size() && data_[next_] == '\n')
            ++next_;
    }
    // A NUL ends the text as the C strings of the file layer would.
    if (const void* nul = std::memchr(data_.data() + start, 0, end - start))
        end = static_cast<size_t>(static_cast<const char*>(nul) - data_.data());
    return AString(data_.data() + start, static_cast<long>(end - start));
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
    return text ? Translated(text, static_cast<long>(std::strlen(text)), "\r\n", "  ") : AString();
}

AString Translated(const char* text, long length, const char* from, const char* to) {
    std::string out(text, static_cast<size_t>(length));
    for (char& c : out)
        if (const char* at = c ? std::strchr(from, c) : nullptr)
            c = to[at - from];
    return AString(out.data(), length);
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
