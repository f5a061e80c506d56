// The line layer of the reader's stores ("sv.dos", "sv.note"): every value on
// a line of its own ended by CR LF, numbers in decimal.
//
// Reading is strict where the lenient reading would lose the reader's work on
// the next save: a number line that is not a decimal number, or a file that
// ends before its counts say, raises AFileError(file name, line number,
// AContainerFile::kDamaged). A write that falls short raises AFileError too.
#pragma once

#include <string>

#include "base/object/AFileSpec.h"
#include "base/object/AString.h"

class AFileStream;

// Reads the whole stream at once: a store is small, and line reads through
// the file layer cost a block copy and a seek for every line.
class AStoreReader {
public:
    // fileName names the store in its errors; not copied, must outlive the
    // reader. A read error raises AFileError(fileName, 0, code).
    AStoreReader(AFileStream& stream, const char* fileName);

    // The next line without its line end; the end of the file raises the damage error.
    AString line();
    // The next line as a decimal number ("-" allowed, nothing else on the line).
    long number();
    // Raises the damage error for the line last read.
    [[noreturn]] void damaged() const;
    long lineNumber() const { return lineNumber_; }

private:
    std::string data_;
    size_t next_ = 0;
    const char* fileName_;
    long lineNumber_ = 0;
};

void WriteStoreLine(AFileStream& stream, const char* text);
void WriteStoreNumber(AFileStream& stream, long number);

// The text with each CR and LF turned into a space: what a line can hold.
AString OneLine(const char* text);
// The text with each byte of `from` turned into the byte at the same place
// of `to` (both of the same length). One pass, one allocation.
AString Translated(const char* text, long length, const char* from, const char* to);

// Moves a file that failed to load to a new sibling ("name.damaged", then
// "name.damaged2" ...) so that nothing saved afterwards replaces it. The
// sibling's path; empty when the file could not be moved.
AString KeepDamagedFile(const AFileSpec& file);
