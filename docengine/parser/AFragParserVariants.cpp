// Line-oriented variants of the slash-markup parser.
#include "docengine/parser/AFragParserVariants.h"

#include <cstring>

#include "base/procedural/AError.h"
#include "docengine/text/MarkupScan.h"

namespace {

bool IsLineEnd(char c) {
    return c == '\n' || c == '\r';
}

const char* LineEndOrEnd(const char* p, const char* end) {
    const char* q = findFirstMatching(p, end, IsLineEnd);
    return q ? q : end;
}

// The last c in (start, end) whose previous byte is not a backslash.
const char* LastNotAfterBackslash(const char* start, const char* end, const char* set) {
    for (const char* q = end; q > start + 1;) {
        --q;
        if (strchr(set, *q) && *q && q[-1] != '\\')
            return q;
    }
    return nullptr;
}

// Parses the label [start, partEnd) as ordinary lines: it must be read whole.
void ParseLabel(ATextFragParser& parser, AFragParseContext& context, const char* start, const char* partEnd,
                const char* end, long line) {
    context.limit = partEnd;
    if (parser.parseLines(context, start, partEnd) != partEnd)
        RaiseParserError(line, "Could not parse :", start, end);
    context.limit = end;
}

}  // namespace

const char* ALabelTargetFragParser::parseRange(AFragParseContext& context, const char* p, const char* end) {
    const char* partEnd = end;
    if (const char* h = findUnescaped(p, end, '#', isEscapeByte)) {
        context.linkFlags = 3;
        context.name = ALocalRange{context.local(h + 1), context.local(LineEndOrEnd(h + 1, end))};
        context.style = 1;
        partEnd = h;
    }
    ParseLabel(*this, context, p, partEnd, end, 1822);
    return end;
}

const char* ALayoutFragParser::parseRange(AFragParseContext& context, const char* p, const char* end) {
    const char* g = LastNotAfterBackslash(p, end, "<>");
    const char* h = LastNotAfterBackslash(p, end, "#");
    if (g && h && g < h)
        g = nullptr;
    const char* partEnd = end;
    if (g) {
        context.linkFlags = 2;
        context.name = ALocalRange{context.local(g + 1), context.local(LineEndOrEnd(g + 1, end))};
        partEnd = g;
    } else {
        const char* any = nullptr;
        for (const char* q = p; q < end; ++q)
            if (*q == '#')
                any = q;
        if (any) {
            context.linkFlags = 3;
            context.name = ALocalRange{context.local(any + 1), context.local(LineEndOrEnd(any + 1, end))};
            context.style = 1;
            partEnd = any;
        }
    }
    ParseLabel(*this, context, p, partEnd, end, 1917);
    return end;
}

uint16_t AAnchorFragParser::kindOf(long n) {
    switch (n) {
        case 0:
            return 0;
        case 1:
            return 3;
        case 2:
            return 2;
        case 3:
            return 1;
        default:
            return 3;
    }
}

const char* AAnchorFragParser::parseRange(AFragParseContext& context, const char* p, const char* end) {
    const char* h = findUnescaped(p, end, '#', isEscapeByte);
    const char* numbersEnd = h ? h : end;
    long numbers[5] = {0, 0, 0, 0, 0};
    int count = 0;
    for (const char* q = p; count < 5 && q < numbersEnd;) {
        const char* after = ReadMarkupNumber(q, numbersEnd, &numbers[count]);
        if (after == q)
            break;
        ++count;
        if (after >= numbersEnd || *after != ',')
            break;
        q = after + 1;
    }
    AAreaRect rect{numbers[0], numbers[1], count > 2 ? numbers[0] + numbers[2] : 0,
                   count > 3 ? numbers[1] + numbers[3] : 0};
    uint16_t flags = count > 4 ? kindOf(numbers[4]) : 3;
    if (h) {
        context.linkFlags = flags;
        context.name = ALocalRange{context.local(h + 1), context.local(LineEndOrEnd(h + 1, end))};
    } else {
        context.linkFlags = 0;
        context.name = ALocalRange{0, 0};
    }
    AFragment* area = CheckAlloc(
        new AAreaFragment(context.segment, context.last, ALocalRange{context.local(p), context.local(numbersEnd)}, 0,
                          context.name, context.linkFlags, rect),
        "gparser", 2004);
    context.append(area);
    return end;
}
