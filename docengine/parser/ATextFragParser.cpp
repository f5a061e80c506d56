// The parser of the slash markup.
#include "docengine/parser/ATextFragParser.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/procedural/AError.h"
#include "docengine/model/ADocModel.h"
#include "docengine/model/AExpandTree.h"
#include "docengine/model/ASegment.h"
#include "docengine/text/MarkupScan.h"

namespace {

const char* const kExpandError = "#Syntax Error:Expand error:Can t find expand at :";
const char* const kSpecError = "Found no # for bitmap spec at :";

bool IsLineEnd(char c) {
    return c == '\n' || c == '\r';
}

bool IsEscapeOrHash(char c) {
    return isEscapeByte(c) || c == '#';
}

// Keeps the context's limit and depth for one nested range.
class NestedRange {
public:
    NestedRange(AFragParseContext& context, const char* limit) : context_(context), saved_(context.limit) {
        context_.limit = limit;
    }
    ~NestedRange() { context_.limit = saved_; }

private:
    AFragParseContext& context_;
    const char* saved_;
};

class BraceDepth {
public:
    BraceDepth(AFragParseContext& context, const char* p) : context_(context) {
        if (++context_.depth > ATextFragParser::kMaxDepth) {
            --context_.depth;
            RaiseParserError(150, "Braces nested too deeply at :", p, context.end);
        }
    }
    ~BraceDepth() { --context_.depth; }

private:
    AFragParseContext& context_;
};

}  // namespace

const char* ReadMarkupNumber(const char* p, const char* end, long* value) {
    while (p < end && (*p == ' ' || *p == '\t'))
        ++p;
    bool negative = false;
    if (p < end && (*p == '-' || *p == '+'))
        negative = *p++ == '-';
    long n = 0;
    for (; p < end && *p >= '0' && *p <= '9'; ++p)
        if (n < 100000000)
            n = n * 10 + (*p - '0');
    *value = negative ? -n : n;
    return p;
}

AFragment* ATextFragParser::parseSegment(ASegment* segment) {
    if (!segment)
        ThrowAssert("gparser", 788);
    AFragParseContext context;
    context.segment = segment;
    context.start = segment->text().c_str();
    context.end = context.start + segment->text().length();
    context.limit = context.end;
    context.ranges = segment->getHighlightRanges();
    context.scanBudget = kScanFactor * (context.end - context.start) + 65536;
    try {
        startParagraph(context, context.start);
        parseRange(context, context.start, context.end);
        if (AHiliteSet* set = segment->owner() ? segment->owner()->hitSet() : nullptr)
            markHits(context, set);
    } catch (...) {
        AFragment::deleteChain(context.first);
        throw;
    }
    return context.first;
}

AParagraphFormat& ATextFragParser::format(AFragParseContext& context) {
    if (context.paragraph)
        return context.paragraph->format;
    return context.scratch;
}

const char* ATextFragParser::parseRange(AFragParseContext& context, const char* p, const char* end) {
    NestedRange nested(context, end);
    while (p < end) {
        if (*p == '{')
            p = parseBraceSpec(context, p + 1, end);
        else if (*p == '}')
            ++p;
        else
            p = parseLines(context, p, end);
    }
    return end;
}

const char* ATextFragParser::parseLines(AFragParseContext& context, const char* p, const char* end) {
    while (p < end && *p != '{' && *p != '}') {
        if (IsLineEnd(*p)) {
            ++p;
            startParagraph(context, p);
        } else {
            p = parseHighlightRange(context, p, end);
        }
    }
    return p;
}

const char* ATextFragParser::parseHighlightRange(AFragParseContext& context, const char* p, const char* end) {
    if (!context.ranges || context.ranges->count() == 0)
        return parseMarkedRun(context, p, end, false);
    // Move to the first pair that ends after p, clipped to the segment.
    while (!context.rangeEnd || p >= context.rangeEnd) {
        const ARangeArray& ranges = *context.ranges;
        if (context.rangeIndex < 0) {
            long global = context.segment->toDocument(context.local(p));
            const ARange* first = &ranges.at(0);
            context.rangeIndex = static_cast<long>(findPairUpperBound(first, first + ranges.count(), global) - first);
        } else {
            ++context.rangeIndex;
        }
        if (context.rangeIndex >= ranges.count()) {
            context.rangeStart = context.rangeEnd = context.end;
            break;
        }
        const ARange& pair = ranges.at(context.rangeIndex);
        auto localPointer = [&context](long global) {
            long local = context.segment->fromDocument(global);
            if (local <= 0)
                return context.start;
            return local >= context.end - context.start ? context.end : context.start + local;
        };
        context.rangeStart = localPointer(pair.start);
        context.rangeEnd = localPointer(pair.end);
        if (context.rangeStart > context.rangeEnd)
            ThrowAssert("gparser", 514);
    }
    bool inRange = context.rangeStart <= p && p < context.rangeEnd;
    const char* cut = p < context.rangeStart ? context.rangeStart : inRange ? context.rangeEnd : end;
    return parseMarkedRun(context, p, cut < end ? cut : end, inRange);
}

const char* ATextFragParser::parseMarkedRun(AFragParseContext& context, const char* p, const char* end, bool inRange) {
    ADocModel* model = context.segment->owner();
    const char* from = p;
    long position = 0;
    long value = 0;
    while (model && from < end &&
           context.segment->findMarker(context.segment->toDocument(context.local(from)),
                                       context.segment->toDocument(context.local(end)), &position, &value)) {
        long local = context.segment->fromDocument(position);
        const char* u = local <= context.local(from) ? from : local >= context.local(end) ? end : context.start + local;
        const char* q = parseTextRun(context, p, u, inRange);
        if (q < u)
            return q;  // a line end or a brace came first: the mark waits for the next run
        char target[16];
        snprintf(target, sizeof target, "%ld", value);
        long at = context.local(q);
        context.append(CheckAlloc(new ALinkFragment(context.segment, context.last, ALocalRange{at, at}, 0,
                                                    ALocalRange{0, 0}, 0x7003, 4, 0, AString(target)),
                                  "gparser", 1108));
        context.last->setHValue(context.hValue);
        p = q;
        from = u + 1 > q ? u + 1 : q;
    }
    return parseTextRun(context, p, end, inRange);
}

const char* ATextFragParser::parseTextRun(AFragParseContext& context, const char* p, const char* end, bool inRange) {
    const char* runStart = p;
    bool escaped = false;
    while (p < end) {
        char c = *p;
        if (escaped) {
            escaped = false;
            ++p;
        } else if (c == command_) {
            flushText(context, runStart, p, inRange);
            p = parseCode(context, p + 1, context.limit);
            runStart = p;
        } else if (c == '\\') {
            flushText(context, runStart, p, inRange);
            runStart = ++p;
            escaped = true;
        } else if (isSpecialByte(c)) {
            ++p;
            escaped = true;
        } else if (c == '{' || c == '}' || IsLineEnd(c)) {
            break;
        } else {
            ++p;
        }
    }
    if (runStart < p)
        flushText(context, runStart, p < end ? p : end, inRange);
    return p;
}

int ATextFragParser::classifyCodeChar(char c) {
    if (c >= 'A' && c <= 'Z')
        return 1;
    if (c >= '0' && c <= '9')
        return 2;
    if (c == 0 || strchr("<|>=^+_*", c))
        return 3;
    if (c >= 'a' && c <= 'z')
        return 6;
    switch (c) {
        case '@':
            return 7;
        case '/':
            return 4;
        case '!':
            return 5;
        case '$':
            return 8;
        case '&':
            return 9;
        case '.':
            return 10;
        case '~':
            return 11;
        case ',':
            return 12;
        case '-':
            return 13;
        case '"':
            return 14;
        default:
            return 0;
    }
}

uint16_t ATextFragParser::buttonFlagOf(char c) {
    switch (c) {
        case '|':
            return 0x1;
        case '<':
            return 0x2;
        case '>':
            return 0x4;
        case '=':
            return 0x8;
        case '+':
            return 0x10;
        case '^':
            return 0x20;
        case '_':
            return 0x40;
        case '*':
            return 0x80;
        case 'S':
            return 0x1000;
        case 'W':
            return 0x2000;
        case 'R':
            return 0x4000;
        default:
            return 0;
    }
}

int ATextFragParser::styleCodeOf(char c) {
    switch (c) {
        case 'S':
            return 1;
        case 'C':
            return 2;
        case 'J':
            return 3;
        case 'T':
            return 6;
        case 'H':
            return 13;
        default:
            return 0;
    }
}

const char* ATextFragParser::parseCode(AFragParseContext& context, const char* p, const char* end) {
    if (p >= end)
        return end;
    char c = *p;
    AParagraphFormat& f = format(context);
    // The byte after '-' and '"' is taken unchecked; past the end it is 0.
    int next = p + 1 < end ? p[1] : '0';
    switch (classifyCodeChar(c)) {
        case 1:
            context.style = static_cast<int16_t>(upperValue(c));
            break;
        case 2:
            context.colour = static_cast<int16_t>(digitValue(c));
            break;
        case 3:
            f.bits = static_cast<uint16_t>(f.bits | buttonFlagOf(c));
            break;
        case 4:
            f.bits |= 0x200;
            break;
        case 5:
            return parseDelimitedSpec(context, p + 1, end, '!', command_);
        case 6:
            f.first = static_cast<int16_t>(lowerValue(c));
            break;
        case 7:
            return parseAtCode(context, p + 1, end);
        case 8:
            startParagraph(context, p);
            break;
        case 9:
            return parseTable(context, p + 1, end);
        case 10:
            f.bits |= 0x1000;
            break;
        case 11:
            f.bits |= 0x4000;
            break;
        case 12:
            f.bits |= 0x2000;
            break;
        case 13:
            context.hValue = static_cast<int16_t>(digitValue(static_cast<char>(next)));
            return p + 2 <= end ? p + 2 : end;
        case 14:
            format(context).second = static_cast<int16_t>(digitValue(static_cast<char>(next)));
            return p + 2 <= end ? p + 2 : end;
        default:
            break;
    }
    return p + 1;
}

const char* ATextFragParser::parseAtCode(AFragParseContext& context, const char* p, const char* end) {
    if (p >= end)
        return end;
    char letter = *p;
    if (letter == 'X')
        return parseExpansion(context, p, end);
    long n = 0;
    ReadMarkupNumber(p + 1, end, &n);
    int16_t value = static_cast<int16_t>(n);
    AParagraphFormat& f = format(context);
    switch (styleCodeOf(letter)) {
        case 1:
            context.style = value;
            break;
        case 2:
            context.colour = value;
            break;
        case 3:
            // The full value: bits above 0x7FFF written by the markup writer read back as set.
            if (n > 0)
                f.bits = static_cast<uint16_t>(f.bits | n);
            else
                f.bits = static_cast<uint16_t>(f.bits & ~static_cast<uint16_t>(-n));
            break;
        case 6:
            f.first = value;
            break;
        case 13:
            context.hValue = value;
            break;
        default:
            break;
    }
    const char* close = findUnescaped(p + 1, end, command_, isEscapeByte);
    return close ? close + 1 : end;
}

const char* ATextFragParser::charged(AFragParseContext& context, const char* from, const char* stopped,
                                     const char* end) {
    // Constructs that never close would otherwise make every brace rescan the line.
    context.scanBudget -= (stopped ? stopped : end) - from;
    if (context.scanBudget < 0) {
        long shown = std::min<long>(200, context.end - context.start);
        RaiseParserError(170, "Markup too complex at :", context.start, context.start + shown);
    }
    return stopped;
}

AExpandNode* ATextFragParser::findSection(AFragParseContext& context, const char* p, long line) {
    ADocModel* model = context.segment->owner();
    if (!model)
        ThrowAssert("gparser", line);
    AExpandNode* node;
    if (ADocModel* parent = model->GetParentModel())
        node = parent->nodeAt(model->getParentOffset() + 1);
    else
        node = model->nodeAt(context.segment->toDocument(context.local(p)));
    if (!node)
        RaiseParserError(line + 8, kExpandError, context.start, context.end);
    return node;
}

const char* ATextFragParser::parseExpansion(AFragParseContext& context, const char* p, const char* end) {
    const char* after = p + 1 < end ? p + 1 : end;
    AExpandNode* node = findSection(context, after, 1432);
    makeClickable(context, after, after < end ? after + 1 : end, node->isOpen() ? 1 : 2, 0);
    const char* close = findUnescaped(after, end, command_, isEscapeByte);
    return close ? close + 1 : end;
}

const char* ATextFragParser::parseTable(AFragParseContext& context, const char* p, const char* end) {
    const char* e = findUnescaped(p, end, '&', IsEscapeOrHash);
    if (!e || e + 1 >= end || e[1] != command_)
        RaiseParserError(1020, "#Error : KyTab error: Missing &/ at :", p, context.end, "\n");
    // Table markup read where tables are not enabled is refused as data, not as a program fault.
    if (!subParser())
        RaiseParserError(1011, "#Error : KyTab error: No table parser at :", p, context.end, "\n");
    AFragment* table = subParser()->parse(context, p, e + 1);
    if (table) {
        context.append(table);
        table->setHValue(context.hValue);
    }
    return e + 2;
}

const char* ATextFragParser::parseDelimitedSpec(AFragParseContext& context, const char* p, const char* end,
                                                char delimiter, char closer) {
    const char* d1 = findUnescaped(p, end, delimiter, isEscapeByte);
    if (!d1)
        RaiseParserError(1300, kSpecError, p, end);
    const char* d2 = findUnescaped(d1 + 1, end, closer, isEscapeByte);
    if (!d2)
        RaiseParserError(1302, kSpecError, d1 + 1, end);
    long number = 0;
    ReadMarkupNumber(p, d1, &number);
    uint16_t flags = 0;
    if (const char* comma = findUnescaped(p, d1, ',', isEscapeByte)) {
        const char* f = comma + 1;
        flags = buttonFlagOf(f < d1 ? *f : 0);
        format(context).bits |= flags;
        for (int i = 1; i < 3 && f + i < d1; ++i)
            flags = static_cast<uint16_t>(flags | buttonFlagOf(f[i]));
    }
    const char* textStart = d1 + 1 < d2 ? d1 + 1 : d1;
    makeClickable(context, textStart, d2, static_cast<int16_t>(number), flags);
    return d2 + 1;
}

const char* ATextFragParser::parseBraceSpec(AFragParseContext& context, const char* p, const char* end) {
    BraceDepth depth(context, p);
    if (p >= end)
        return end;
    char c = *p;
    const char* prefix = nullptr;
    const char* prefixEnd = nullptr;
    const char* marker = nullptr;
    const char* labelStart;
    if (c == '@') {
        if (p + 1 >= end)
            return end;
        c = p[1];
        prefix = p + 2;
        const char* from = prefix < end ? prefix : end;
        prefixEnd = charged(context, from, findUnescaped(from, end, '@', isEscapeByte), end);
        if (!prefixEnd) {
            context.style = static_cast<int16_t>(0xFFFF);
            context.colour = 0xFF;
            return p + 2 < end ? p + 2 : end;
        }
        labelStart = prefixEnd + 1;
        if (c >= 'A' && c <= 'Z')
            marker = prefixEnd;
    } else {
        labelStart = p + 1;
        if (c >= 'A' && c <= 'Z')
            marker = p;
    }
    if (!(c >= 'A' && c <= 'Z'))
        c = static_cast<char>(c - 0x20);
    if (c == 'B')
        return parseDelimitedSpec(context, labelStart, end, '#', '}');

    const char* h = charged(context, labelStart, findUnescapedOutsideBraces(labelStart, end, '#', isEscapeByte), end);
    if (!h) {
        context.style = static_cast<int16_t>(0xFFFF);
        context.colour = 0xFF;
        // Read on after the last escaped '#' of the construct, else at its label.
        const char* close =
            charged(context, labelStart, findUnescapedOutsideBraces(labelStart, end, '}', isEscapeByte), end);
        const char* last = nullptr;
        for (const char* q = labelStart + 1; q < (close ? close : end); ++q)
            if (*q == '#' && isEscapeByte(q[-1]))
                last = q;
        return last ? last + 1 : labelStart;
    }

    uint16_t savedLink = context.linkFlags;
    ALocalRange savedName = context.name;
    int16_t savedStyle = context.style, savedColour = context.colour, savedH = context.hValue;
    char mode = prefix && prefix < prefixEnd ? *prefix : 0;

    const char* resume;
    if (c == 'C' || c == 'X') {
        parseExpandSpec(context, h + 1, marker, prefix, prefixEnd);
        parseRange(context, labelStart, h);
        resume = h + 1;
    } else {
        const char* closing = charged(context, h + 1, findUnescaped(h + 1, end, '}', isEscapeByte), end);
        if (!closing) {
            context.style = static_cast<int16_t>(0xFFFF);
            context.colour = 0xFF;
            return h + 1;
        }
        parseButtonSpec(context, c, h + 1, closing, marker, prefix, prefixEnd);
        if (labelStart < h)
            parseRange(context, labelStart, h);
        else
            makeEmptyText(context, labelStart);
        resume = closing + 1;
    }

    context.linkFlags = savedLink;
    context.name = savedName;
    if (mode == '0')
        return resume;
    if (mode >= '1' && mode <= '9' && mode != '3') {
        context.style = savedStyle;
        context.colour = savedColour;
        context.hValue = savedH;
    } else {
        context.style = context.colour = context.hValue = 0;
    }
    return resume;
}

void ATextFragParser::parseExpandSpec(AFragParseContext& context, const char* nameStart, const char* marker,
                                      const char* prefix, const char* prefixEnd) {
    AExpandNode* node = findSection(context, nameStart, 1499);
    uint16_t kind = node->isOpen() ? 2 : 1;
    if (!prefix || prefix == prefixEnd || (*prefix != '0' && *prefix != '1')) {
        context.style = 1;
        context.colour = 0;
    }
    const char* bang = marker && prefix ? findUnescaped(prefix, prefixEnd, '!', isEscapeByte) : nullptr;
    long after = context.local(nameStart);
    if (bang) {
        const char* link = bang + 1;
        if (!node->isOpen()) {
            // A prefix carries the open state's link, then the closed state's.
            if (const char* cmd = findUnescaped(bang + 1, prefixEnd, command_, isEscapeByte))
                link = cmd + 1 < prefixEnd && cmd[1] == '!' ? cmd + 2 : cmd + 1;
        }
        context.linkFlags = static_cast<uint16_t>(kind | 0x8000);
        context.name = ALocalRange{after, after};
        parseDelimitedSpec(context, link, marker, '!', command_);
    } else if (marker) {
        context.linkFlags = static_cast<uint16_t>(kind | 0x8000);
        makeClickable(context, marker, marker + 1, node->isOpen() ? 1 : 2, 0);
    } else {
        context.linkFlags = kind;
        context.name = ALocalRange{after, after};
    }
}

void ATextFragParser::parseButtonSpec(AFragParseContext& context, char letter, const char* nameStart,
                                      const char* nameEnd, const char* marker, const char* prefix,
                                      const char* prefixEnd) {
    uint16_t kind = letter == 'H' ? 5 : letter == 'A' ? 6 : 3;
    if (!prefix || prefix == prefixEnd || (*prefix != '0' && *prefix != '1')) {
        context.style = 1;
        context.colour = 0;
    }
    context.name = ALocalRange{context.local(nameStart), context.local(nameEnd)};
    const char* bang = marker && prefix ? findUnescaped(prefix, prefixEnd, '!', isEscapeByte) : nullptr;
    if (bang) {
        context.linkFlags = static_cast<uint16_t>(kind | 0x8000);
        parseDelimitedSpec(context, bang + 1, marker, '!', command_);
    } else if (marker) {
        context.linkFlags = static_cast<uint16_t>(kind | 0x8000);
        makeClickable(context, marker, marker + 1, static_cast<int16_t>(letter > 'R' ? letter - 'N' : 0), 0);
    } else {
        context.linkFlags = kind;
    }
}

ALocalRange ATextFragParser::clearLink(AFragParseContext& context) {
    ALocalRange name = context.name;
    context.linkFlags = 0;
    context.name = ALocalRange{0, 0};
    return name;
}

void ATextFragParser::startParagraph(AFragParseContext& context, const char* p) {
    if (p != context.start && p >= context.end)
        return;
    long at = context.local(p);
    AParagraphFragment* paragraph = CheckAlloc(
        new AParagraphFragment(context.segment, context.last, at, 0, context.name, context.linkFlags), "gparser", 1470);
    context.append(paragraph);
    context.paragraph = paragraph;
}

void ATextFragParser::flushText(AFragParseContext& context, const char* start, const char* end, bool highlighted) {
    if (start >= end)
        return;
    AFragment* text = CheckAlloc(
        new ATextFragment(context.segment, context.last, ALocalRange{context.local(start), context.local(end)},
                          highlighted ? AFragment::kHighlighted : 0, context.name, context.linkFlags, context.style,
                          context.colour),
        "gparser", 1646);
    context.append(text)->setHValue(context.hValue);
}

void ATextFragParser::makeEmptyText(AFragParseContext& context, const char* p) {
    long at = context.local(p);
    AFragment* text = CheckAlloc(new ATextFragment(context.segment, context.last, ALocalRange{at, at}, 0, context.name,
                                                   context.linkFlags, context.style, context.colour),
                                 "gparser", 1661);
    context.append(text)->setHValue(context.hValue);
}

AFragment* ATextFragParser::makeClickable(AFragParseContext& context, const char* start, const char* end,
                                          int16_t number, uint16_t flags) {
    AFragment* clickable = CheckAlloc(
        new AClickableFragment(context.segment, context.last, ALocalRange{context.local(start), context.local(end)}, 0,
                               context.name, context.linkFlags, number, flags),
        "gparser", 1670);
    context.append(clickable)->setHValue(context.hValue);
    return clickable;
}
