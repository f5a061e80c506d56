// Segments and sections of grouped rows.
#include "app/results/ATreeLineParser.h"

#include <memory>
#include <new>
#include <vector>

#include "app/lines/ALevelledLineGetter.h"
#include "base/procedural/AError.h"
#include "docengine/model/ADocModel.h"
#include "docengine/model/AExpandTree.h"

ATreeLineParser::ATreeLineParser(ALevelledLineGetter* getter) : getter_(getter), rowCount_(0) {
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
    // A row's section is the run of deeper rows after it; open sections
    // wait on the stack for the rows that may still nest in them.
    struct Open {
        AExpandNode* node;
        int16_t level;
    };
    std::vector<Open> open;
    for (long row = 0; row < rowCount_; ++row) {
        const int16_t level = getter_->getLineLevel(row);
        while (!open.empty() && open.back().level >= level)
            open.pop_back();
        if (row + 1 >= rowCount_ || getter_->getLineLevel(row + 1) <= level)
            continue;
        long end = row + 1;
        while (end < rowCount_ && getter_->getLineLevel(end) > level)
            ++end;
        AExpandNode* parent = open.empty() ? &root : open.back().node;
        auto* node = new AExpandNode(parent, static_cast<int>(open.size()) + 1, true);
        node->start = node->contentStart = row + 1;
        node->end = node->contentEnd = end;
        open.push_back({node, level});
    }
    root.start = root.contentStart = 0;
    root.end = root.contentEnd = rowCount_;
    root.computeVisibleLengths();
    return tree.release();
}
