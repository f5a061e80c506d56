// Scanning functions over raw slash-markup text and the parsers' error.
//
// Every search stays inside the range it is given; a byte that follows an
// escaping byte is never taken as a delimiter. Syntax errors of the markup are
// AParserError (recoverable): the message followed by the text where the
// error was found.
#pragma once

#include "base/object/ARangeArray.h"
#include "base/object/AString.h"
#include "base/procedural/AError.h"

class AReader;

using AByteTest = bool (*)(char c);

// The backslash and the special characters 0x0E-0x1F (each takes an argument byte).
inline bool isEscapeByte(char c) {
    return c == '\\' || (c >= 0x0E && c <= 0x1F);
}
inline bool isSpecialByte(char c) {
    return c >= 0x0E && c <= 0x1F;
}

// First unescaped c in [begin, end); null when absent.
const char* findUnescaped(const char* begin, const char* end, char c, AByteTest isEscape);
// The same at brace depth 0: '{' and '}' met before c nest.
const char* findUnescapedOutsideBraces(const char* begin, const char* end, char c, AByteTest isEscape);
// First byte of [begin, end) that passes the test; null when absent.
const char* findFirstMatching(const char* begin, const char* end, AByteTest test);
// Last byte of [begin, end) that passes the test; null when absent.
const char* findLastMatching(const char* end, const char* begin, AByteTest test);

// A position in a reader; the null pair (no reader, index 0) reads as byte 0.
struct AReaderPos {
    AReader* reader;
    long index;
};
char byteAt(const AReaderPos& pos);
AReaderPos findUnescapedAt(AReaderPos start, AReaderPos end, char c, AByteTest isEscape);
AReaderPos findFirstMatchingAt(AReaderPos start, AReaderPos end, AByteTest test);
// Steps back from start.index - 1 down to lower.index; never reads start itself.
AReaderPos findLastMatchingAt(AReaderPos start, AReaderPos lower, AByteTest test);

// First pair of the ascending [first, end) whose end is above key; end when none.
const ARange* findPairUpperBound(const ARange* first, const ARange* end, long key);

class AParserError : public AThrowableError {
public:
    AParserError(const char* file, long line, const AString& message)
        : AThrowableError(file, line), message_(message) {}
    const char* className() const override { return "AParserError"; }
    // Writes the message and "\n".
    void report(AOutStream& stream) const override;
    const AString& message() const { return message_; }

private:
    AString message_;
};

// Reports, then throws AParserError("gparser", line) whose text is message
// followed by the bytes [textBegin, textEnd) (and suffix when given).
[[noreturn]] void RaiseParserError(long line, const char* message, const char* textBegin, const char* textEnd,
                                   const char* suffix = nullptr);
