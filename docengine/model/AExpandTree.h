// The tree of expandable sections of a text ('{C' closed and '{X' open brace
// constructs), the conversions between full and visible positions, and the
// cursor over the visible stretches between closed sections.
//
// A node owns its children. Operations recurse over the nesting, which the
// builder limits to kMaxDepth levels. Broken invariants are assertions ("gexpand").
#pragma once

#include <cstdint>
#include <vector>

struct AExpandRange {
    long start;
    long end;
};

// Starts of the sections opened by AExpandTree::openAt, outermost first.
using AExpandRecord = std::vector<long>;

class AExpandNode {
public:
    // A closed or open node linked as the last child of parent (may be null).
    AExpandNode(AExpandNode* parent, int depth, bool open);
    // A deep copy of source (with its children) linked under parent.
    AExpandNode(const AExpandNode& source, AExpandNode* parent);
    ~AExpandNode();
    AExpandNode& operator=(const AExpandNode&) = delete;

    int depth() const;
    AExpandRange toggle();
    // Toggles every node of this ring and below whose state differs.
    AExpandRange setAllIn(bool open);
    AExpandRange expandAll();
    AExpandRange collapseAll();
    void computeVisibleLengths();
    // The visible length the rule gives now.
    long visibleLengthRule() const;
    // The sum over this ring of the hidden positions.
    long hiddenLength() const;
    // The node of this ring or below whose start is exactly p.
    AExpandNode* findStartingAt(long p);
    AExpandNode* findInnermost(long p);

    bool holds(long p) const { return p >= start && p < end; }
    bool isOpen() const { return open != 0; }
    AExpandNode* nextSibling() const { return next; }
    AExpandNode* firstChild() const { return child; }
    AExpandNode* parentNode() const { return parent; }
    // The child after c in the parent's ring, null after the last one.
    AExpandNode* childAfter(const AExpandNode* c) const { return c->next == child ? nullptr : c->next; }

    long start = 0;
    long end = 0;
    long contentStart = 0;
    long contentEnd = 0;
    long visibleLength = 0;
    int16_t openChildCount = 0;
    int16_t open = 0;

private:
    void linkUnder(AExpandNode* parentNode);
    // Toggles this node and its descendants whose state differs; tracks the greatest end.
    void setAllBelow(bool state, long* greatestEnd);

    AExpandNode* next = nullptr;  // sibling ring
    AExpandNode* previous = nullptr;
    AExpandNode* child = nullptr;  // owned ring
    AExpandNode* parent = nullptr;
};

class AExpandTree;

// The visible stretch between two closed sections (null: the text's bounds).
class AExpandCursor {
public:
    AExpandCursor() { reset(); }
    void reset();
    // Places the cursor on the stretch for p; false outside the text.
    bool seek(AExpandTree* tree, long p);
    bool next();
    bool previous();

    bool holdsStretch() const { return stretchStart >= 0; }
    AExpandNode* left = nullptr;
    AExpandNode* right = nullptr;
    long stretchStart = -1;
    long stretchEnd = -1;

private:
    void setStretch();

    AExpandTree* tree_ = nullptr;  // not owned
};

class AExpandTree {
public:
    static const int kMaxDepth = 100;

    AExpandTree();
    AExpandTree(const AExpandTree& other);
    AExpandTree& operator=(const AExpandTree&) = delete;
    AExpandTree* clone() const;

    AExpandNode& root() { return root_; }
    AExpandCursor& cursor() { return cursor_; }

    // The outermost closed node that holds p, else the root; null outside the text.
    AExpandNode* findClosedAt(long p);
    // The section (never the root) whose start is exactly p, or null.
    AExpandNode* nodeStartingAt(long p);
    bool isVisible(long p);
    // Opens every closed section around p, outermost first.
    AExpandRange openAt(long p, AExpandRecord* record);
    AExpandRange restore(AExpandRecord* record);
    long visibleToFull(long v);
    long fullToVisible(long p);

    // Outermost closed sections in text order: the first that starts at or
    // after p, and the last that ends at or before p.
    AExpandNode* firstClosedFrom(long p);
    AExpandNode* lastClosedBefore(long p);
    // The outermost closed sections just after and just before one of them,
    // in text order: an empty section at the text's end is passed, not met again.
    AExpandNode* closedAfter(const AExpandNode* node);
    AExpandNode* closedBefore(const AExpandNode* node);
    // Calls fn on each outermost closed section in text order until it answers false.
    template <class Fn>
    void forEachClosed(Fn fn);

private:
    AExpandNode root_;
    AExpandCursor cursor_;
};

template <class Fn>
void AExpandTree::forEachClosed(Fn fn) {
    // Depth first without recursion: walk down open nodes, up at each ring's end.
    AExpandNode* n = root_.firstChild();
    while (n) {
        if (!n->isOpen()) {
            if (!fn(n))
                return;
        } else if (n->firstChild()) {
            n = n->firstChild();
            continue;
        }
        while (n && n != &root_ && !n->parentNode()->childAfter(n))
            n = n->parentNode();
        if (!n || n == &root_)
            return;
        n = n->parentNode()->childAfter(n);
    }
}
