// Scanning functions over raw slash-markup text and the parsers' error.
#include "docengine/text/MarkupScan.h"

#include <cstring>

#include "base/procedural/AOutStream.h"
#include "docengine/text/AReader.h"

const char* findUnescaped(const char* begin, const char* end, char c, AByteTest isEscape) {
    bool escaped = false;
    for (const char* p = begin; p < end; ++p) {
        if (escaped)
            escaped = false;
        else if (isEscape(*p))
            escaped = true;
        else if (*p == c)
            return p;
    }
    return nullptr;
}

const char* findUnescapedOutsideBraces(const char* begin, const char* end, char c, AByteTest isEscape) {
    bool escaped = false;
    long depth = 0;
    for (const char* p = begin; p < end; ++p) {
        if (escaped)
            escaped = false;
        else if (isEscape(*p))
            escaped = true;
        else if (*p == c && depth == 0)
            return p;
        else if (*p == '{')
            ++depth;
        else if (*p == '}')
            --depth;
    }
    return nullptr;
}

const char* findFirstMatching(const char* begin, const char* end, AByteTest test) {
    for (const char* p = begin; p < end; ++p)
        if (test(*p))
            return p;
    return nullptr;
}

const char* findLastMatching(const char* end, const char* begin, AByteTest test) {
    for (const char* p = end; p > begin;) {
        --p;
        if (test(*p))
            return p;
    }
    return nullptr;
}

char byteAt(const AReaderPos& pos) {
    return pos.reader ? pos.reader->charAt(pos.index) : 0;
}

AReaderPos findUnescapedAt(AReaderPos start, AReaderPos end, char c, AByteTest isEscape) {
    bool escaped = false;
    for (AReaderPos p = start; p.index < end.index; ++p.index) {
        char b = byteAt(p);
        if (escaped)
            escaped = false;
        else if (isEscape(b))
            escaped = true;
        else if (b == c)
            return p;
    }
    return AReaderPos{nullptr, 0};
}

AReaderPos findFirstMatchingAt(AReaderPos start, AReaderPos end, AByteTest test) {
    for (AReaderPos p = start; p.index < end.index; ++p.index)
        if (test(byteAt(p)))
            return p;
    return AReaderPos{nullptr, 0};
}

AReaderPos findLastMatchingAt(AReaderPos start, AReaderPos lower, AByteTest test) {
    for (AReaderPos p{start.reader, start.index - 1}; p.index >= lower.index; --p.index)
        if (test(byteAt(p)))
            return p;
    return AReaderPos{nullptr, 0};
}

const ARange* findPairUpperBound(const ARange* first, const ARange* end, long key) {
    while (first < end) {
        const ARange* middle = first + (end - first) / 2;
        if (middle->end > key)
            end = middle;
        else
            first = middle + 1;
    }
    return first;
}

void AParserError::report(AOutStream& stream) const {
    stream.writeString(message_.c_str()).writeString("\n");
}

void RaiseParserError(long line, const char* message, const char* textBegin, const char* textEnd, const char* suffix) {
    AString text(message);
    if (textBegin && textEnd > textBegin)
        text.append(textBegin, static_cast<long>(textEnd - textBegin));
    if (suffix)
        text += suffix;
    ThrowTyped(AParserError("gparser", line, text));
}
