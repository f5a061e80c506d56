// Expandable sections, visible positions and the stretch cursor.
#include "docengine/model/AExpandTree.h"

#include <algorithm>

#include "base/procedural/AError.h"

AExpandNode::AExpandNode(AExpandNode* parentNode, int, bool isOpenNode) : open(isOpenNode ? 1 : 0) {
    linkUnder(parentNode);
}

AExpandNode::AExpandNode(const AExpandNode& source, AExpandNode* parentNode)
    : start(source.start),
      end(source.end),
      contentStart(source.contentStart),
      contentEnd(source.contentEnd),
      visibleLength(source.visibleLength),
      openChildCount(source.openChildCount),
      open(source.open) {
    linkUnder(parentNode);
    for (AExpandNode* c = source.child; c; c = source.childAfter(c))
        CheckAlloc(new AExpandNode(*c, this), "gexpand", 67);
}

AExpandNode::~AExpandNode() {
    while (child)
        delete child->previous;  // the last child: its unlinking keeps the ring whole
    if (parent && parent->child == this)
        parent->child = next == this ? nullptr : next;
    previous->next = next;
    next->previous = previous;
}

void AExpandNode::linkUnder(AExpandNode* parentNode) {
    parent = parentNode;
    if (!parent || !parent->child) {
        next = previous = this;
        if (parent)
            parent->child = this;
        return;
    }
    AExpandNode* first = parent->child;
    next = first;
    previous = first->previous;
    previous->next = this;
    first->previous = this;
}

int AExpandNode::depth() const {
    int d = 0;
    for (const AExpandNode* p = parent; p; p = p->parent)
        ++d;
    return d;
}

long AExpandNode::visibleLengthRule() const {
    if (!open)
        return 0;
    long length = end - start;
    for (const AExpandNode* c = child; c; c = childAfter(c))
        length -= c->end - c->start - c->visibleLength;
    return length;
}

long AExpandNode::hiddenLength() const {
    long hidden = 0;
    const AExpandNode* n = this;
    do {
        hidden += n->end - n->start - n->visibleLength;
        n = n->next;
    } while (n != this);
    return hidden;
}

AExpandRange AExpandNode::toggle() {
    open = open ? 0 : 1;
    long now = visibleLengthRule();
    long difference = now - visibleLength;
    visibleLength = now;
    for (AExpandNode* a = parent; a && a->open; a = a->parent)
        a->visibleLength += difference;
    if (parent)
        parent->openChildCount = static_cast<int16_t>(parent->openChildCount + (open ? 1 : -1));
    return AExpandRange{contentStart, contentEnd};
}

void AExpandNode::setAllBelow(bool state, long* greatestEnd) {
    for (AExpandNode* c = child; c; c = childAfter(c))
        c->setAllBelow(state, greatestEnd);
    if ((open != 0) != state) {
        toggle();
        *greatestEnd = std::max(*greatestEnd, end);
    }
}

AExpandRange AExpandNode::setAllIn(bool state) {
    long greatestEnd = 0;
    AExpandNode* n = this;
    do {
        n->setAllBelow(state, &greatestEnd);
        n = n->next;
    } while (n != this);
    return AExpandRange{0, greatestEnd};
}

AExpandRange AExpandNode::expandAll() {
    return child ? child->setAllIn(true) : AExpandRange{0, 0};
}

AExpandRange AExpandNode::collapseAll() {
    return child ? child->setAllIn(false) : AExpandRange{0, 0};
}

void AExpandNode::computeVisibleLengths() {
    AExpandNode* n = this;
    do {
        if (n->child)
            n->child->computeVisibleLengths();
        if (n->open && n->parent)
            ++n->parent->openChildCount;
        n->visibleLength = n->visibleLengthRule();
        n = n->next;
    } while (n != this);
}

AExpandNode* AExpandNode::findStartingAt(long p) {
    AExpandNode* n = this;
    do {
        if (n->start == p)
            return n;
        if (n->start > p)
            return nullptr;
        if (n->child && n->holds(p))
            return n->child->findStartingAt(p);
        n = n->next;
    } while (n != this && !(parent && n == parent->child));
    return nullptr;
}

AExpandNode* AExpandNode::findInnermost(long p) {
    AExpandNode* n = this;
    do {
        if (n->contentStart <= p && p < n->contentEnd) {
            if (!n->child)
                return n;
            AExpandNode* inner = n->child->findInnermost(p);
            return inner ? inner : n;
        }
        n = n->next;
    } while (n != this && !(parent && n == parent->child));
    return nullptr;
}

void AExpandCursor::reset() {
    left = right = nullptr;
    stretchStart = stretchEnd = -1;
    tree_ = nullptr;
}

void AExpandCursor::setStretch() {
    stretchStart = left ? left->end : tree_->root().start;
    stretchEnd = right ? right->start : tree_->root().end;
}

bool AExpandCursor::seek(AExpandTree* tree, long p) {
    if (!tree)
        ThrowAssert("gexpand", 584);
    tree_ = tree;
    AExpandNode* root = &tree->root();
    if (p < root->start || p >= root->end) {
        left = right = nullptr;
        stretchStart = stretchEnd = -1;
        return false;
    }
    AExpandNode* hiding = tree->findClosedAt(p);
    if (hiding && hiding != root) {
        right = hiding;
        left = tree->lastClosedBefore(hiding->start);
    } else {
        left = tree->lastClosedBefore(p);
        right = tree->firstClosedFrom(p);
    }
    setStretch();
    return true;
}

bool AExpandCursor::next() {
    if (!tree_ || !right) {
        stretchStart = stretchEnd = -1;
        return false;
    }
    left = right;
    right = tree_->closedAfter(left);
    setStretch();
    return true;
}

bool AExpandCursor::previous() {
    if (!tree_ || !left) {
        stretchStart = stretchEnd = -1;
        return false;
    }
    right = left;
    left = tree_->closedBefore(right);
    setStretch();
    return true;
}

AExpandTree::AExpandTree() : root_(nullptr, 0, true) {}

AExpandTree::AExpandTree(const AExpandTree& other) : root_(other.root_, nullptr) {}

AExpandTree* AExpandTree::clone() const {
    return CheckAlloc(new AExpandTree(*this), "gexpand", 640);
}

AExpandNode* AExpandTree::findClosedAt(long p) {
    if (!root_.holds(p))
        return nullptr;
    AExpandNode* found = &root_;
    forEachClosed([&](AExpandNode* n) {
        if (n->start > p)
            return false;
        if (n->holds(p)) {
            found = n;
            return false;
        }
        return true;
    });
    return found;
}

AExpandNode* AExpandTree::nodeStartingAt(long p) {
    return root_.firstChild() ? root_.firstChild()->findStartingAt(p) : nullptr;
}

bool AExpandTree::isVisible(long p) {
    AExpandNode* n = findClosedAt(p);
    return !(n && n != &root_ && n->holds(p));
}

// Widens a changed range (empty: none yet) to cover r.
static void Widen(AExpandRange& changed, const AExpandRange& r) {
    if (changed.start == changed.end) {
        changed = r;
        return;
    }
    changed.start = std::min(changed.start, r.start);
    changed.end = std::max(changed.end, r.end);
}

AExpandRange AExpandTree::openAt(long p, AExpandRecord* record) {
    AExpandRange changed{0, 0};
    for (;;) {
        AExpandNode* n = findClosedAt(p);
        if (!n || n == &root_ || !n->holds(p))
            return changed;
        AExpandRange r = n->toggle();
        Widen(changed, r);
        if (record)
            record->push_back(n->start);
    }
}

AExpandRange AExpandTree::restore(AExpandRecord* record) {
    AExpandRange changed{0, 0};
    while (record && !record->empty()) {
        long start = record->back();
        record->pop_back();
        AExpandNode* n = nodeStartingAt(start);
        if (!n)
            continue;
        AExpandRange r = n->toggle();
        Widen(changed, r);
    }
    return changed;
}

long AExpandTree::visibleToFull(long v) {
    long p = v;
    forEachClosed([&](AExpandNode* n) {
        if (n->start > p)
            return false;
        p += n->end - n->start;
        return true;
    });
    return p;
}

long AExpandTree::fullToVisible(long p) {
    long v = p;
    forEachClosed([&](AExpandNode* n) {
        if (n->end <= p) {
            v -= n->end - n->start;
            return true;
        }
        if (n->start <= p)
            v -= p - n->start;
        return false;
    });
    return v;
}

AExpandNode* AExpandTree::firstClosedFrom(long p) {
    AExpandNode* found = nullptr;
    forEachClosed([&](AExpandNode* n) {
        if (n->start >= p) {
            found = n;
            return false;
        }
        return true;
    });
    return found;
}

AExpandNode* AExpandTree::lastClosedBefore(long p) {
    AExpandNode* found = nullptr;
    forEachClosed([&](AExpandNode* n) {
        if (n->end > p)
            return false;
        found = n;
        return true;
    });
    return found;
}

AExpandNode* AExpandTree::closedAfter(const AExpandNode* node) {
    AExpandNode* found = nullptr;
    bool passed = false;
    forEachClosed([&](AExpandNode* n) {
        if (passed) {
            found = n;
            return false;
        }
        passed = n == node;
        return true;
    });
    return found;
}

AExpandNode* AExpandTree::closedBefore(const AExpandNode* node) {
    AExpandNode* found = nullptr;
    forEachClosed([&](AExpandNode* n) {
        if (n == node)
            return false;
        found = n;
        return true;
    });
    return found;
}
