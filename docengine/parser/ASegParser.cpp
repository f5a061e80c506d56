// Segment parsers over readers and row producers.
#include "docengine/parser/ASegParser.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "base/procedural/AError.h"
#include "docengine/model/ADocModel.h"
#include "docengine/model/AExpandTree.h"
#include "docengine/text/AReader.h"
#include "docengine/text/MarkupScan.h"

namespace {

bool IsLineEnd(char c) {
    return c == '\n' || c == '\r';
}

template <class T>
T* Held(T* p) {
    if (p)
        p->addRef();
    return p;
}

}  // namespace

AReaderSegParser::AReaderSegParser(AReader* reader) : reader_(Held(reader)) {}

AReaderSegParser::~AReaderSegParser() {
    ReleaseAndNull(reader_);
}

long AReaderSegParser::getLength() {
    if (!reader_)
        ThrowAssert("gparser", 165);
    return reader_->length();
}

ASegment* AReaderSegParser::makeSegment(ADocModel* model, long position, bool findStart) {
    if (!reader_)
        ThrowAssert("gparser", 144);
    AReaderLock lock(reader_);
    long length = reader_->length();
    if (position < 0 || position >= length)
        return nullptr;
    long start = position;
    if (position > 0 && findStart) {
        AReaderPos q = findLastMatchingAt({reader_, position}, {reader_, 0}, IsLineEnd);
        start = q.reader ? q.index + 1 : 0;
    }
    AReaderPos q = findFirstMatchingAt({reader_, start}, {reader_, length}, IsLineEnd);
    long end = q.reader ? q.index + 1 : length;
    return CheckAlloc(new ASegment(model, start, end, reader_->getText(start, end - start)), "gparser", 161);
}

ALineSegParser::ALineSegParser(AReader* reader) : reader_(Held(reader)) {}

ALineSegParser::~ALineSegParser() {
    ReleaseAndNull(reader_);
}

long ALineSegParser::getLength() {
    if (!reader_)
        ThrowAssert("gparser", 360);
    return reader_->length();
}

ASegment* ALineSegParser::makeSegment(ADocModel* model, long position, bool findStart) {
    AExpandTree* tree = model ? model->getExpandTree() : nullptr;
    if (!tree || !reader_)
        ThrowAssert("gparser", 187);
    AExpandCursor& cursor = tree->cursor();
    if (!cursor.seek(tree, position))
        return nullptr;
    AReaderLock lock(reader_);
    long lineStart = position;
    if (position > 0 && findStart) {
        long from = std::min(position, cursor.stretchEnd);
        for (;;) {
            AReaderPos q = findLastMatchingAt({reader_, from}, {reader_, cursor.stretchStart}, IsLineEnd);
            if (q.reader) {
                lineStart = q.index + 1;
                break;
            }
            if (!cursor.previous()) {
                lineStart = 0;
                cursor.seek(tree, 0);
                break;
            }
            from = cursor.stretchEnd;
        }
    }
    // A start inside a closed section reads on from the next visible stretch.
    while (lineStart >= cursor.stretchEnd && cursor.right)
        cursor.next();
    long pos = std::max(lineStart, cursor.stretchStart);
    long lineEnd = pos;
    AString text;
    while (cursor.holdsStretch()) {
        AReaderPos q = findFirstMatchingAt({reader_, pos}, {reader_, cursor.stretchEnd}, IsLineEnd);
        lineEnd = q.reader ? q.index + 1 : cursor.stretchEnd;
        if (lineEnd > pos)
            text += reader_->getText(pos, lineEnd - pos);
        if (q.reader || !cursor.next())
            break;
        pos = cursor.stretchStart;
    }
    if (lineEnd <= lineStart)
        return nullptr;
    return CheckAlloc(new ASegment(model, lineStart, lineEnd, text), "gparser", 241);
}

AExpandTree* ALineSegParser::buildExpandTree() {
    if (!reader_)
        ThrowAssert("gparser", 360);
    std::unique_ptr<AExpandTree> tree(CheckAlloc(new AExpandTree, "gparser", 248));
    AReaderLock lock(reader_);
    AReader& r = *reader_;
    const long length = r.length();
    // The error's text: up to 200 bytes from `from`, clipped to the text.
    auto fail = [&](long line, const char* message, long from) {
        from = std::max(0L, std::min(from, length));
        AString text = r.getText(from, std::min(200L, length - from));
        RaiseParserError(line, message, text.c_str(), text.c_str() + text.length());
    };
    struct Level {
        AExpandNode* node;
        long start;
        AExpandNode* pending;
    };
    std::vector<Level> levels{{&tree->root(), 0, nullptr}};
    bool escaped = false;
    for (long i = 0; i < length; ++i) {
        char c = r.charAt(i);
        Level& level = levels.back();
        if (escaped) {
            escaped = false;
        } else if (isEscapeByte(c)) {
            escaped = true;
        } else if (c == '/' && r.charAt(i + 1) == '&') {
            // Tables hold no sections: skip to after their "&/".
            long j = i + 2;
            while (j + 1 < length && !(r.charAt(j) == '&' && r.charAt(j + 1) == '/' && r.charAt(j - 1) != '\\'))
                ++j;
            i = j + 1 < length ? j + 1 : length;
        } else if (c == '{') {
            char letter = r.charAt(i + 1);
            if (letter == '@')
                letter = r.charAt(i + 2);
            if (letter == 'X' || letter == 'x' || letter == 'C' || letter == 'c') {
                // A section whose '#' never came has no range: it goes.
                delete level.pending;
                level.pending =
                    new AExpandNode(level.node, static_cast<int>(levels.size()), letter == 'X' || letter == 'x');
            } else {
                // A button or bitmap: skip to its own '}', over nested braces.
                long depth = 0;
                bool skip = false;
                long j = i + 1;
                for (; j < length; ++j) {
                    char b = r.charAt(j);
                    if (skip)
                        skip = false;
                    else if (isEscapeByte(b))
                        skip = true;
                    else if (b == '{')
                        ++depth;
                    else if (b == '}' && depth-- == 0)
                        break;
                }
                if (j >= length)
                    fail(300, "Can t find } starting from :", level.start);
                i = j;
            }
        } else if (c == '#') {
            if (!level.pending)
                fail(305, "No opened button for # at :", i - 100);
            if (static_cast<int>(levels.size()) > AExpandTree::kMaxDepth)
                fail(306, "Sections nested too deeply at :", i - 100);
            AExpandNode* node = level.pending;
            level.pending = nullptr;
            node->start = node->contentStart = i + 1;
            levels.push_back(Level{node, i + 1, nullptr});
        } else if (c == '}') {
            if (level.pending)
                fail(310, "Button already opened for } at :", i);
            // A '}' outside every section closes nothing.
            if (levels.size() > 1) {
                level.node->end = level.node->contentEnd = i + 1;
                levels.pop_back();
            }
        }
    }
    // Sections left open at the end of the text end with it.
    for (Level& level : levels) {
        delete level.pending;
        level.pending = nullptr;
        if (level.node != &tree->root())
            level.node->end = level.node->contentEnd = length;
    }
    AExpandNode& root = tree->root();
    root.start = root.contentStart = 0;
    root.end = root.contentEnd = length;
    root.computeVisibleLengths();
    return tree.release();
}

ASourceSegParser::ASourceSegParser(ALineGetter* getter) : getter_(Held(getter)), rowCount_(0) {
    if (getter_)
        rowCount_ = getter_->getLineCount();
}

ASourceSegParser::~ASourceSegParser() {
    ReleaseAndNull(getter_);
}

ASegment* ASourceSegParser::makeSegment(ADocModel* model, long position, bool) {
    if (!getter_)
        ThrowAssert("gparser", 381);
    if (position < 0 || position >= rowCount_)
        return nullptr;
    AString text;
    getter_->getLine(text, position);
    return CheckAlloc(new ASegmentSub(model, position, position + 1, text), "gparser", 382);
}
