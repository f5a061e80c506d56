// Segments and sections of grouped rows.
#include "app/results/ATreeLineParser.h"

#include <memory>
#include <new>

#include "app/results/AClusteredLineGetter.h"
#include "base/object/AError.h"
#include "docengine/model/ADocModel.h"
#include "docengine/model/AExpandTree.h"

ATreeLineParser::ATreeLineParser(AClusteredLineGetter* getter) : getter_(getter), rowCount_(0) {
    if (!getter_)
        ThrowAssert("results", 14);
    getter_->addRef();
    rowCount_ = getter_->getLineCount();
}

ATreeLineParser::~ATreeLineParser() {
    ReleaseAndNull(getter_);
}

ASegment* ATreeLineParser::makeSegment(ADocModel* model, long position, bool findStart) {
    (void)findStart;
    if (position < 0 || position >= rowCount_)
        return nullptr;
    long start = position, end = position + 1;
    // A closed group is its header's segment: the header row over the hidden rows.
    if (AExpandTree* tree = model ? model->getExpandTree() : nullptr) {
        AExpandNode* closed = tree->findClosedAt(position);
        if (closed && closed != &tree->root())
            start = closed->start - 1;
        AExpandNode* section = tree->nodeStartingAt(start + 1);
        end = section && !section->isOpen() ? section->end : start + 1;
    }
    AString text;
    getter_->getLine(text, start);
    return CheckAlloc(new (std::nothrow) ASegmentSub(model, start, end, text), "results", 30);
}

AExpandTree* ATreeLineParser::buildExpandTree() {
    std::unique_ptr<AExpandTree> tree(CheckAlloc(new (std::nothrow) AExpandTree, "results", 34));
    AExpandNode& root = tree->root();
    // A header's section is the run of member rows up to the next header.
    for (long row = 0; row < rowCount_;) {
        long next = row + 1;
        while (next < rowCount_ && getter_->getLineLevel(next) != 0)
            ++next;
        if (getter_->getLineLevel(row) == 0 && next > row + 1) {
            auto* node = new AExpandNode(&root, 1, true);
            node->start = node->contentStart = row + 1;
            node->end = node->contentEnd = next;
        }
        row = next;
    }
    root.start = root.contentStart = 0;
    root.end = root.contentEnd = rowCount_;
    root.computeVisibleLengths();
    return tree.release();
}
