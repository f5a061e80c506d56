// Expandable sections: visible lengths, conversions, opening around a
// position, copies and the stretch cursor.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "docengine/model/AExpandTree.h"

namespace {

// Builds a tree from nodes given depth first with their nesting depth.
struct NodeSpec {
    int depth;
    long start, end;
    bool open;
};

AExpandTree* Build(long length, std::initializer_list<NodeSpec> specs) {
    AExpandTree* tree = new AExpandTree;
    std::vector<AExpandNode*> parents{&tree->root()};
    for (const NodeSpec& s : specs) {
        parents.resize(static_cast<size_t>(s.depth) + 1);
        AExpandNode* n = new AExpandNode(parents.back(), s.depth, s.open);
        n->start = n->contentStart = s.start;
        n->end = n->contentEnd = s.end;
        parents.push_back(n);
    }
    tree->root().end = tree->root().contentEnd = length;
    tree->root().computeVisibleLengths();
    return tree;
}

std::string Visible(AExpandTree& tree, const std::string& text) {
    std::string out;
    for (long p = 0; p < static_cast<long>(text.size()); ++p)
        if (tree.isVisible(p))
            out += text[static_cast<size_t>(p)];
    return out;
}

}  // namespace

TEST(ExpandTreeTest, ClosedSectionsHideTheirContentAndPositionsConvert) {
    // "{Ca#bc}d": one closed section over [4, 7).
    std::unique_ptr<AExpandTree> tree(Build(8, {{0, 4, 7, false}}));
    EXPECT_EQ("{Ca#d", Visible(*tree, "{Ca#bc}d"));
    EXPECT_EQ(4, tree->fullToVisible(7));
    EXPECT_EQ(7, tree->visibleToFull(4));
    EXPECT_EQ(4, tree->fullToVisible(5)) << "a hidden position maps to its section's start";
    EXPECT_EQ(5, tree->root().visibleLength);
    AExpandNode* node = tree->nodeStartingAt(4);
    ASSERT_NE(nullptr, node);
    AExpandRange changed = node->toggle();
    EXPECT_EQ(4, changed.start);
    EXPECT_EQ(7, changed.end);
    EXPECT_EQ(3, node->visibleLength);
    EXPECT_EQ(8, tree->root().visibleLength);
    EXPECT_EQ(1, tree->root().openChildCount);
    EXPECT_EQ(nullptr, tree->nodeStartingAt(0)) << "the root is not a section";
}

TEST(ExpandTreeTest, VisibleLengthsFollowEveryToggleOfNestedSections) {
    // "{Xa#{Cb#c}d}": outer open [4, 12), inner closed [8, 10).
    std::unique_ptr<AExpandTree> tree(Build(12, {{0, 4, 12, true}, {1, 8, 10, false}}));
    AExpandNode* outer = tree->nodeStartingAt(4);
    AExpandNode* inner = tree->nodeStartingAt(8);
    ASSERT_TRUE(outer && inner);
    EXPECT_EQ(6, outer->visibleLength);
    EXPECT_EQ(inner, tree->findClosedAt(9));
    outer->toggle();
    EXPECT_EQ(0, outer->visibleLength);
    EXPECT_EQ(outer, tree->findClosedAt(9));
    EXPECT_EQ(4, tree->root().visibleLength);
    AExpandRange all = tree->root().expandAll();
    EXPECT_EQ(0, all.start);
    EXPECT_EQ(12, all.end);
    EXPECT_EQ(12, tree->root().visibleLength);
    tree->root().collapseAll();
    EXPECT_EQ(4, tree->root().visibleLength);
    EXPECT_EQ(0, outer->visibleLengthRule());
}

TEST(ExpandTreeTest, OpeningAroundAPositionIsRecordedAndRestored) {
    std::unique_ptr<AExpandTree> tree(Build(20, {{0, 4, 18, false}, {1, 8, 14, false}, {0, 18, 20, false}}));
    AExpandRecord record;
    AExpandRange changed = tree->openAt(10, &record);
    ASSERT_EQ(2u, record.size());
    EXPECT_EQ(4, record[0]);
    EXPECT_EQ(8, record[1]);
    EXPECT_EQ(4, changed.start);
    EXPECT_EQ(18, changed.end);
    EXPECT_TRUE(tree->isVisible(10));
    EXPECT_FALSE(tree->isVisible(19));
    tree->restore(&record);
    EXPECT_TRUE(record.empty());
    EXPECT_FALSE(tree->isVisible(10));
    EXPECT_EQ(4, tree->root().visibleLength);
    // A copy is independent of its source.
    std::unique_ptr<AExpandTree> copy(tree->clone());
    copy->nodeStartingAt(4)->toggle();
    EXPECT_FALSE(tree->isVisible(5));
    EXPECT_TRUE(copy->isVisible(5));
}

TEST(ExpandTreeTest, TheCursorWalksTheStretchesBetweenClosedSections) {
    // Closed [4, 7) and [10, 12) inside an open [9, 15), in a text of 20.
    std::unique_ptr<AExpandTree> tree(Build(20, {{0, 4, 7, false}, {0, 9, 15, true}, {1, 10, 12, false}}));
    struct Row {
        long position;
        long start, end;
    } rows[] = {{0, 0, 4}, {5, 0, 4}, {7, 7, 10}, {11, 7, 10}, {13, 12, 20}, {19, 12, 20}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.position);
        AExpandCursor& cursor = tree->cursor();
        ASSERT_TRUE(cursor.seek(tree.get(), row.position));
        EXPECT_EQ(row.start, cursor.stretchStart);
        EXPECT_EQ(row.end, cursor.stretchEnd);
    }
    AExpandCursor& cursor = tree->cursor();
    cursor.seek(tree.get(), 0);
    std::string walk;
    do
        walk += "[" + std::to_string(cursor.stretchStart) + "," + std::to_string(cursor.stretchEnd) + ")";
    while (cursor.next());
    EXPECT_EQ("[0,4)[7,10)[12,20)", walk);
    cursor.seek(tree.get(), 19);
    EXPECT_TRUE(cursor.previous());
    EXPECT_EQ(7, cursor.stretchStart);
    EXPECT_FALSE(cursor.seek(tree.get(), 20));
    // A section left open at the end of a text is empty there: walks pass it once.
    std::unique_ptr<AExpandTree> tail(Build(6, {{0, 6, 6, false}}));
    AExpandCursor& last = tail->cursor();
    ASSERT_TRUE(last.seek(tail.get(), 2));
    walk.clear();
    do
        walk += "[" + std::to_string(last.stretchStart) + "," + std::to_string(last.stretchEnd) + ")";
    while (last.next());
    EXPECT_EQ("[0,6)[6,6)", walk);
    last.seek(tail.get(), 2);
    ASSERT_TRUE(last.next());
    EXPECT_TRUE(last.previous());
    EXPECT_FALSE(last.previous());
    // Without sections the whole text is one stretch.
    AExpandTree plain;
    plain.root().end = 5;
    plain.root().computeVisibleLengths();
    ASSERT_TRUE(plain.cursor().seek(&plain, 2));
    EXPECT_EQ(0, plain.cursor().stretchStart);
    EXPECT_EQ(5, plain.cursor().stretchEnd);
    EXPECT_FALSE(plain.cursor().next());
}
