// The kytab readers and writer (grammar in KyTab.h).
#include "docengine/kytab/KyTab.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "base/procedural/AError.h"
#include "docengine/kytab/AKytabCell.h"
#include "docengine/kytab/AKytabFragment.h"
#include "docengine/parser/ATextFragParser.h"
#include "docengine/text/MarkupScan.h"

namespace {

// Rows hold cells and nothing deeper is read: a deeper group is an empty cell.
const int kMaxDepth = 4;

const char* findUnescapedIn(const char* p, const char* end, char c) {
    for (; p < end && *p; ++p) {
        if (*p == '\\') {
            if (++p >= end || !*p)
                break;
        } else if (*p == c) {
            return p;
        }
    }
    return nullptr;
}

const char* findUnnestedIn(const char* p, const char* end, char c) {
    long depth = 0;
    for (; p < end; ++p) {
        char b = *p;
        if (b == '\\') {
            if (++p >= end)
                break;
            continue;
        }
        if (b == c && depth == 0)
            return p;
        if (b == '[' || b == '{')
            ++depth;
        else if (b == ']' || b == '}')
            --depth;
    }
    return nullptr;
}

const char* readNumber(const char* p, const char* end, long* value) {
    return ReadMarkupNumber(p, end, value);
}

const char* parseColourIn(const char* p, const char* end, long* value) {
    if (end - p >= 3 && memcmp(p, "RGB", 3) == 0) {
        unsigned long v = 0;
        for (p += 3; p < end; ++p) {
            int d = *p >= '0' && *p <= '9'   ? *p - '0'
                    : *p >= 'a' && *p <= 'f' ? *p - 'a' + 10
                    : *p >= 'A' && *p <= 'F' ? *p - 'A' + 10
                                             : -1;
            if (d < 0)
                break;
            v = ((v << 4) | static_cast<unsigned long>(d)) & 0xFFFFFFu;
        }
        *value = static_cast<long>(0xFF000000u | v);
        return p;
    }
    return readNumber(p, end, value);
}

void checkRange(long value, long low, long high, const char* text, long line) {
    if (value < low || value > high)
        KyTab::Fail(text, line);
}

// Releases a node and, first, the tree's references on its descendants.
void dropTree(AKytabCell* node) {
    AKytabCell* child = node->firstChild;
    node->firstChild = nullptr;
    while (child) {
        AKytabCell* next = child->nextSibling;
        dropTree(child);
        child = next;
    }
    node->release();
}

// Holds a new node until it is handed on; drops its tree on a failure.
class NodeGuard {
public:
    explicit NodeGuard(AKytabCell* node) : node_(node) { node_->addRef(); }
    ~NodeGuard() {
        if (node_)
            dropTree(node_);
    }
    NodeGuard(const NodeGuard&) = delete;
    NodeGuard& operator=(const NodeGuard&) = delete;
    AKytabCell* get() const { return node_; }
    AKytabCell* take() {
        AKytabCell* n = node_;
        node_ = nullptr;
        return n;
    }

private:
    AKytabCell* node_;
};

}  // namespace

namespace KyTab {

void Fail(const char* text, long line) {
    FormatErrorMessage("%s", text);
    ThrowTyped(AParserError("kytab", line, AString(text)));
}

const char* FindUnescaped(const char* text, char c) {
    const char* found = findUnescapedIn(text, text + strlen(text), c);
    return found ? found : text + strlen(text);
}

const char* FindUnnested(const char* text, char c, const char* end) {
    return findUnnestedIn(text, end, c);
}

const char* ParseColour(const char* text, long* value) {
    return parseColourIn(text, text + strlen(text), value);
}

AKytabCell* ParseTable(AKytabFragment& table, const char* start, const char* end) {
    if (end - start < 6 || memcmp(start, "TABLE:", 6) != 0)
        Fail("Not an table", 150);
    const char* w = start + 6;
    if (w >= end || !*w)
        Fail("KyTab error: no width", 153);
    const char* colon = findUnescapedIn(w, end, ':');
    if (!colon)
        Fail("KyTab error: missing : after the width", 156);
    long value = 0;
    readNumber(w, colon, &value);
    table.widthValue = value;
    if (colon > w && colon[-1] == '%')
        table.widthMode = AKytabFragment::kPercent;
    else
        table.widthMode = value == 0 ? AKytabFragment::kAuto : AKytabFragment::kAbsolute;
    if (table.widthMode != AKytabFragment::kAuto)
        checkRange(value, 1, kMaxLength, "KyTab error: bad table width", 164);

    const char* frame = colon + 1;
    const char* colon2 = findUnescapedIn(frame, end, ':');
    if (!colon2)
        Fail("KyTab error: missing : after the frame", 169);
    table.frameKind = 0;
    if (frame < colon2) {
        if (*frame == 'N')
            table.frameKind = -1;
        else if (*frame == 'B')
            table.frameKind = 1;
        else if (*frame == 'D')
            table.frameKind = 2;
        if (table.frameKind)
            ++frame;
    }
    long margin = 0;
    readNumber(frame, colon2, &margin);
    checkRange(margin, 0, 1000, "KyTab error: bad cell margin", 182);
    table.marginH = table.marginV = margin;

    auto optionEnd = [end](const char* p) {
        while (p < end && *p != '[' && *p != ':')
            ++p;
        return p;
    };
    const char* option1 = colon2 + 1;
    const char* list = optionEnd(option1);
    table.lineColour = 0;
    if (list > option1) {
        parseColourIn(option1, list, &table.lineColour);
        if (list < end && *list == ':') {
            const char* option2 = list + 1;
            const char* after = optionEnd(option2);
            if (after > option2)
                parseColourIn(option2, after, &table.defaultFill);
            list = after;
        }
    }
    return ParseItem(table, list, end, 0);
}

AKytabCell* ParseItem(AKytabFragment& table, const char* start, const char* end, int depth) {
    NodeGuard node(new AKytabCell(&table));
    node.get()->lineColour = table.lineColour;
    if (start < end && *start == '[') {
        const char* close = findUnnestedIn(start + 1, end, ']');
        if (!close)
            Fail("KyTab error: missing ]", 214);
        node.get()->isGroup = 1;
        if (depth < kMaxDepth)
            ParseList(table, node.get(), start + 1, close, depth + 1);
    } else {
        ParseCell(table, node.get(), start, end);
    }
    return node.take();
}

void ParseList(AKytabFragment& table, AKytabCell* node, const char* start, const char* end, int depth) {
    const char* p = start;
    while (p < end) {
        const char* sep = findUnnestedIn(p, end, table.separator);
        const char* itemEnd = sep ? sep : end;
        if (itemEnd == p && !sep)
            break;
        if (itemEnd == p && sep + 1 >= end)
            break;  // an empty last item is dropped
        if (node->childCount() >= kMaxColumns + kMaxRows)
            Fail("KyTab error: too many items", 234);
        node->addChild(ParseItem(table, p, itemEnd, depth));
        if (!sep)
            break;
        p = sep + 1;
    }
}

void ParseCell(AKytabFragment& table, AKytabCell* node, const char* start, const char* end) {
    const char* bar = findUnescapedIn(start, end, '|');
    if (!bar)
        Fail("KyTab error: missing | in a cell", 244);
    const char* commas[4];
    const char* from = start;
    for (int i = 0; i < 4; ++i) {
        commas[i] = findUnescapedIn(from, bar, ',');
        if (!commas[i])
            Fail("KyTab error: missing , in a cell header", 250);
        from = commas[i] + 1;
    }
    node->titleFlag = *start == 'T' ? 1 : 0;
    long value = 0;
    readNumber(start, bar, &value);
    checkRange(value, -kMaxLength, kMaxLength, "KyTab error: bad cell width", 256);
    node->width = value;
    const char* p = start + node->titleFlag;
    while (p < bar && ((*p >= '0' && *p <= '9') || *p == '-' || *p == ' '))
        ++p;
    if (p < commas[0] && *p == ':') {
        readNumber(p + 1, commas[0], &value);
        checkRange(value, -kMaxLength, kMaxLength, "KyTab error: bad cell height", 263);
        node->height = value;
    }
    readNumber(commas[0] + 1, bar, &value);
    checkRange(value, -1, kMaxRows, "KyTab error: bad row span", 267);
    node->rowSpan = static_cast<int16_t>(value);
    readNumber(commas[1] + 1, bar, &value);
    checkRange(value, -1, kMaxColumns, "KyTab error: bad column span", 270);
    node->colSpan = static_cast<int16_t>(value);
    readNumber(commas[2] + 1, bar, &value);
    node->verticalAlign = value;

    const char* fill = commas[3] + 1;
    node->fill = 0;
    if (bar - fill >= 2 && fill[0] == '/' && fill[1] == '!') {
        readNumber(fill + 2, bar, &node->picture);
        checkRange(node->picture, 0, 32767, "KyTab error: bad picture number", 278);
    } else if (fill < bar && *fill != '/') {
        parseColourIn(fill, bar, &node->fill);
    }
    node->sides = table.frameKind < 0 ? 0 : 15;
    node->lineWidth = 1;
    const char* colon = findUnescapedIn(fill, bar, ':');
    if (colon) {
        readNumber(colon + 1, bar, &value);
        node->sides = static_cast<uint16_t>(value & 15);
        colon = findUnescapedIn(colon + 1, bar, ':');
        if (colon) {
            parseColourIn(colon + 1, bar, &node->lineColour);
            colon = findUnescapedIn(colon + 1, bar, ':');
            if (colon) {
                readNumber(colon + 1, bar, &value);
                checkRange(value, 0, 1000, "KyTab error: bad line width", 294);
                node->lineWidth = value;
            }
        }
    }
    if ((table.widthMode == AKytabFragment::kAuto && node->width >= 0) || node->colSpan > 1)
        node->width = 0;
    if (node->fill == 0 && table.defaultFill != -1)
        node->fill = table.defaultFill;
    node->setContent(bar + 1, end);
}

AString WriteTable(ATableCellSource* source, const char* shape, const char* options, const char* separator,
                   void* context) {
    const int kPositions = 50;
    if (!source || !shape || !options || !separator)
        ThrowAssert("kytab", 310);
    std::vector<std::vector<long>> rows(1);
    for (const char* p = shape;;) {
        long number = 0;
        const char* q = readNumber(p, p + strlen(p), &number);
        rows.back().push_back(number);
        while (*q && *q != '|' && *q != ',')
            ++q;
        if (!*q)
            break;
        if (*q == ',')
            rows.emplace_back();
        p = q + 1;
    }
    size_t columns = rows[0].size();
    if (rows.size() * columns > static_cast<size_t>(kPositions))
        ThrowAssertMessage("KyTab error: shape beyond 50 positions", "kytab", 326);
    int16_t grid[kPositions];
    int16_t spans[kPositions] = {0};
    for (size_t r = 0; r < rows.size(); ++r) {
        long last = -1;
        for (size_t c = 0; c < columns; ++c) {
            long entry = c < rows[r].size() ? rows[r][c] : -1;
            int16_t& slot = grid[r * columns + c];
            if (entry == -1 && last >= 0) {
                ++spans[last];
                slot = -2;
            } else if (entry == -1) {
                slot = -1;
            } else if (entry < 0 || entry >= kPositions) {
                ThrowAssertMessage("KyTab error: cell number outside 0..49", "kytab", 340);
            } else {
                slot = static_cast<int16_t>(entry);
                last = entry;
            }
        }
    }
    AString out("/&TABLE:");
    out += options;
    out += ":[";
    for (size_t r = 0; r < rows.size(); ++r) {
        out += "[";
        bool firstWritten = true;
        for (size_t c = 0; c < columns; ++c) {
            size_t position = r * columns + c;
            if (grid[position] == -2)
                continue;
            // Between written cells only: a covered last column leaves no separator behind.
            if (!firstWritten)
                out += separator;
            firstWritten = false;
            int16_t first = 0, fifth = 0, sixth = 0;
            AString text;
            if (grid[position] >= 0)
                text = source->getCell(grid[position], &first, &fifth, &sixth, context);
            std::vector<char> bytes(text.c_str(), text.c_str() + text.length());
            for (char& b : bytes)
                if (b == separator[0])
                    b = ' ';
            char header[64];
            // Each cell carries its own span counter, whatever position its number has.
            int span = grid[position] >= 0 ? spans[grid[position]] : 0;
            snprintf(header, sizeof header, "%d,%d,%d,0,%d:%d|", first, 0, span + 1, fifth, sixth);
            out += header;
            if (!bytes.empty())
                out.append(bytes.data(), static_cast<long>(bytes.size()));
        }
        out += "]";
        if (r + 1 < rows.size())
            out += separator;
    }
    out += "]&/";
    return out;
}

}  // namespace KyTab

AString KyTab::MakeTableRow(const char* options, const char* first, const char* second, const char* third,
                            bool alternate) {
    const char separator[2] = {kRowSeparator, 0};
    AString row("/&TABLE:");
    row += options ? options : "";
    if (alternate) {
        char fill[24];
        snprintf(fill, sizeof fill, "0:%ld", kAlternateFill);
        row += fill;
    }
    row += "[[";
    row += first ? first : "";
    row += separator;
    row += second ? second : "";
    row += separator;
    row += third ? third : "";
    row += "]]&/";
    return row;
}
