// The laid-out model: sections, visible positions and their changes.
#include "docengine/model/ALaidOutDocModel.h"

#include <vector>

#include "base/procedural/AError.h"
#include "docengine/model/AExpandTree.h"
#include "docengine/model/AHighlighterHook.h"
#include "docengine/model/ASegment.h"
#include "docengine/model/ASegParser.h"
#include "docengine/text/MarkupScan.h"

ALaidOutDocModel::ALaidOutDocModel(ALineBasedParser* segParser, AFragParser* fragParser, AHighlighterHook* highlighter)
    : AIndexedDocModel(segParser, fragParser, highlighter), lineParser_(segParser), tree_(nullptr) {
    if (!lineParser_)
        ThrowAssert("gmodel", 1446);
    lineParser_->addRef();
    tree_ = lineParser_->buildExpandTree();
    if (!tree_)
        ThrowAssert("gmodel", 1448);
}

ALaidOutDocModel::~ALaidOutDocModel() {
    clearCache();
    delete tree_;
    tree_ = nullptr;
    ReleaseAndNull(lineParser_);
}

// A copy over the same parsers with sections of its own, open and closed as here.
ADocModel* ALaidOutDocModel::clone() {
    AHighlighterHook* own = getHighlighter();
    ARefHold<AHighlighterHook> highlighter(own ? own->clone() : nullptr);
    ALaidOutDocModel* copy =
        CheckAlloc(new ALaidOutDocModel(lineParser_, getFragParser(), highlighter.get()), "gmodel", 1458);
    try {
        copy->setExpandTree(tree_->clone());
        copy->setCacheLimit(cacheLimit());
        copy->copySettingsFrom(*this);
        copy->setAttachment(getAttachment());
    } catch (...) {
        delete copy;
        throw;
    }
    return copy;
}

long ALaidOutDocModel::getPositionCount() {
    return tree_->root().visibleLength;
}

template <class Op>
AExpandRange ALaidOutDocModel::treeChange(Op op, long argument, bool evenEmpty) {
    selectionToSource();
    AExpandRange range = op();
    selectionFromSource(range.start, range.end);
    if (range.start < range.end || evenEmpty)
        changed(range.start, range.end, argument, 6);
    return range;
}

void ALaidOutDocModel::expandAll(long argument) {
    treeChange([this] { return tree_->root().expandAll(); }, argument, false);
}

void ALaidOutDocModel::collapseAll(long argument) {
    treeChange([this] { return tree_->root().collapseAll(); }, argument, false);
}

void ALaidOutDocModel::toggleAt(AFragment* fragment, long argument) {
    if (!fragment || !fragment->segment())
        ThrowAssert("gmodel", 1480);
    ASegment* segment = fragment->segment();
    long nameStart = fragment->nameRange().start;
    if (fragment->nameRange().end <= 0) {
        // A marker button ({C#...}) carries no name: its section starts after the next '#'.
        const char* text = segment->text().c_str();
        const char* hash =
            findUnescaped(text + fragment->textRange().end, text + segment->text().length(), '#', isEscapeByte);
        if (!hash)
            return;
        nameStart = static_cast<long>(hash - text) + 1;
    }
    long source = segment->sourceOf(nameStart - 1) + 1;
    if (AExpandNode* node = nodeAt(source))
        treeChange([node] { return node->toggle(); }, argument, true);
}

bool ALaidOutDocModel::openAt(long position, AExpandRecord* record, long argument) {
    AExpandRange r = treeChange([&] { return tree_->openAt(position, record); }, argument, false);
    return r.start < r.end;
}

bool ALaidOutDocModel::restore(AExpandRecord* record, long argument) {
    AExpandRange r = treeChange([&] { return tree_->restore(record); }, argument, false);
    return r.start < r.end;
}

bool ALaidOutDocModel::isVisible(long position) {
    return tree_->isVisible(position);
}

long ALaidOutDocModel::positionToSource(long position) {
    long visible = tree_->root().visibleLength;
    if (position < 0)
        return position;
    if (position >= visible)
        return position - visible + getLength();
    return tree_->visibleToFull(position);
}

long ALaidOutDocModel::sourceToPosition(long source) {
    long length = getLength();
    if (source < 0)
        return source;
    if (source >= length)
        return source - length + tree_->root().visibleLength;
    return tree_->fullToVisible(source);
}

AExpandNode* ALaidOutDocModel::nodeAt(long source) {
    return tree_->nodeStartingAt(source);
}

AExpandNode* ALaidOutDocModel::nodeRecordAt(long source) {
    return tree_->findClosedAt(source);
}

bool ALaidOutDocModel::hasCollapsedParts() {
    return tree_->root().visibleLength != tree_->root().end - tree_->root().start;
}

bool ALaidOutDocModel::hasExpandableParts() {
    return tree_->cursor().left != nullptr;
}

void ALaidOutDocModel::setExpandTree(AExpandTree* tree) {
    if (!tree)
        ThrowAssert("gmodel", 1562);
    if (tree == tree_)
        return;
    delete tree_;
    tree_ = tree;
    changed(tree_->root().start, tree_->root().end, 0, 6);
}

void ALaidOutDocModel::sectionPath(long position, ALongLongDic& path) {
    AExpandNode* node = tree_->root().findInnermost(position);
    if (!node)
        ThrowAssert("gmodel", 1576);
    std::vector<long> starts;
    for (; node && node->depth() > 0; node = node->parentNode())
        if (node->contentStart != position)
            starts.push_back(node->contentStart);
    long key = 0;
    for (auto it = starts.rbegin(); it != starts.rend(); ++it)
        path.slot(key++) = *it;
    path.slot(key) = position;
}
