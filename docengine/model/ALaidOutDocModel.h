// The indexed model of a text with expandable sections: its line segment
// parser builds the section tree once, and document positions skip the
// content of closed sections. Every change of sections sends notice 6.
//
// Positions at or past the visible length map to source positions past the
// source length by the same distance (and back); negative ones pass as they
// are. A missing parser or tree is an assertion ("gmodel").
#pragma once

#include "base/object/ALongDic.h"
#include "docengine/model/AIndexedDocModel.h"

class ALineBasedParser;

class ALaidOutDocModel : public AIndexedDocModel {
public:
    ALaidOutDocModel(ALineBasedParser* segParser, AFragParser* fragParser, AHighlighterHook* highlighter);
    ~ALaidOutDocModel() override;
    ADocModel* clone() override;

    long getPositionCount() override;
    void expandAll(long argument) override;
    void collapseAll(long argument) override;
    void toggleAt(AFragment* fragment, long argument) override;
    bool openAt(long position, AExpandRecord* record, long argument) override;
    bool restore(AExpandRecord* record, long argument) override;
    bool isVisible(long position) override;
    long positionToSource(long position) override;
    long sourceToPosition(long source) override;
    AExpandNode* nodeAt(long source) override;
    AExpandNode* nodeRecordAt(long source) override;
    bool hasCollapsedParts() override;
    bool hasExpandableParts() override;
    AExpandTree* getExpandTree() override { return tree_; }
    // Takes the tree (owned from now on).
    void setExpandTree(AExpandTree* tree) override;
    // The note marks the model shows.
    void setNotes(AHiliteRangeMap* notes) { setAttachment(notes); }

    // Content starts of the sections around a position, outermost first, then
    // the position itself, under keys 0, 1, 2 ...
    void sectionPath(long position, ALongLongDic& path);

private:
    // Runs a tree operation between the selection's conversions; notice 6 when it changed text.
    template <class Op>
    AExpandRange treeChange(Op op, long argument, bool evenEmpty);

    ALineBasedParser* lineParser_;  // one reference held
    AExpandTree* tree_;             // owned, never null
};
