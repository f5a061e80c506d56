// The threaded AVL tree beneath the ordered maps: links, balance, walk, and
// the key-typed search, insert-or-find and removal descents.
//
// A node's left and right links are children, or (thread bit set) its in-order
// predecessor and successor, null at the two ends. Every descent keeps its
// state in a local record, so one map operation may run inside another.
#pragma once

#include <cstdint>

// A position in a map: one of its nodes, or null for none.
using Pix = void*;

struct AVLNode {
    AVLNode* left;   // not owned when a thread
    AVLNode* right;  // not owned when a thread
    uint8_t status;  // balance in bits 0-1, then the two thread bits
};

namespace avl {

enum : uint8_t {
    kBalanced = 0,
    kLeftHigh = 1,
    kRightHigh = 2,
    kBalanceMask = 3,
    kLeftThread = 4,
    kRightThread = 8,
};

AVLNode* First(AVLNode* root);
AVLNode* Last(AVLNode* root);
AVLNode* Next(AVLNode* node);  // null after the last
AVLNode* Prev(AVLNode* node);  // null before the first

// A new leaf under parent (its threads taken from the parent's), or the only node.
void AttachLeft(AVLNode* parent, AVLNode* leaf);
void AttachRight(AVLNode* parent, AVLNode* leaf);
void AttachRoot(AVLNode*& root, AVLNode* leaf);

// Rebalance *link after one of its subtrees changed height by one; the answer
// tells whether *link's own height changed the same way.
bool LeftGrew(AVLNode*& link);
bool RightGrew(AVLNode*& link);
bool LeftShrank(AVLNode*& link);
bool RightShrank(AVLNode*& link);

// Takes a node with at most one child out of the tree; *link is the parent's
// link to it (the root when parent is null); the node itself is not freed.
void Unlink(AVLNode*& link, AVLNode* parent, bool isLeftChild);

// Height of a sound tree, or -1 when a balance, a thread or a link is wrong.
long CheckedHeight(const AVLNode* root);
// True when node is one of the tree's nodes (a walk from the first).
bool Owns(AVLNode* root, const void* node);

}  // namespace avl

// Descents keyed by Node::key, ordered by Compare()(a, b) (negative, zero, positive).
// Node derives AVLNode; makeNode(key) answers a new node; Node::takeEntry(other)
// copies the other node's key and value into this one.
template <class Node, class Key, class Compare>
class AVLDescent {
public:
    static Node* seek(AVLNode* root, const Key& key) {
        AVLNode* n = root;
        while (n) {
            int c = Compare()(key, static_cast<Node*>(n)->key);
            if (c == 0)
                return static_cast<Node*>(n);
            if (c < 0)
                n = (n->status & avl::kLeftThread) ? nullptr : n->left;
            else
                n = (n->status & avl::kRightThread) ? nullptr : n->right;
        }
        return nullptr;
    }

    // The key's node; a new one from makeNode when absent (created is then set).
    template <class Make>
    static Node* slot(AVLNode*& root, const Key& key, Make makeNode, bool& created) {
        created = false;
        if (!root) {
            Node* n = makeNode(key);
            avl::AttachRoot(root, n);
            created = true;
            return n;
        }
        Insertion<Make> state{key, makeNode, nullptr, false};
        insertAt(root, state);
        created = state.created;
        return state.found;
    }

    // Frees every node, depth first, following real children only.
    static void freeTree(AVLNode* n) {
        if (!n)
            return;
        if (!(n->status & avl::kLeftThread))
            freeTree(n->left);
        if (!(n->status & avl::kRightThread))
            freeTree(n->right);
        delete static_cast<Node*>(n);
    }

    // True when the walk gives strictly increasing keys and count nodes.
    static bool inOrder(AVLNode* root, long count) {
        long n = 0;
        const Node* previous = nullptr;
        for (AVLNode* p = avl::First(root); p; p = avl::Next(p), ++n) {
            const Node* cur = static_cast<const Node*>(p);
            if (n >= count || (previous && Compare()(previous->key, cur->key) >= 0))
                return false;
            previous = cur;
        }
        return n == count;
    }

    // Takes the key's entry out; answers the node to free, or null when absent.
    // A node with two children takes its predecessor's entry and the
    // predecessor's node is the one answered.
    static Node* remove(AVLNode*& root, const Key& key) {
        if (!root)
            return nullptr;
        Removal state{key, nullptr, false};
        removeAt(root, nullptr, false, state);
        return state.victim;
    }

private:
    template <class Make>
    struct Insertion {
        const Key& key;
        Make& makeNode;
        Node* found;
        bool created;
    };
    struct Removal {
        const Key& key;
        Node* victim;
        bool predecessor;  // descending to the predecessor of a node with two children
    };

    // Answers whether the subtree at link grew.
    template <class Make>
    static bool insertAt(AVLNode*& link, Insertion<Make>& st) {
        Node* p = static_cast<Node*>(link);
        int c = Compare()(st.key, p->key);
        if (c == 0) {
            st.found = p;
            return false;
        }
        if (c < 0) {
            if (p->status & avl::kLeftThread) {
                st.found = st.makeNode(st.key);
                st.created = true;
                avl::AttachLeft(p, st.found);
                return avl::LeftGrew(link);
            }
            return insertAt(p->left, st) && avl::LeftGrew(link);
        }
        if (p->status & avl::kRightThread) {
            st.found = st.makeNode(st.key);
            st.created = true;
            avl::AttachRight(p, st.found);
            return avl::RightGrew(link);
        }
        return insertAt(p->right, st) && avl::RightGrew(link);
    }

    // Answers whether the subtree at link shrank.
    static bool removeAt(AVLNode*& link, AVLNode* parent, bool isLeftChild, Removal& st) {
        Node* p = static_cast<Node*>(link);
        int c;
        if (st.predecessor)
            c = (p->status & avl::kRightThread) ? 0 : 1;
        else
            c = Compare()(st.key, p->key);
        if (c < 0)
            return !(p->status & avl::kLeftThread) && removeAt(p->left, p, true, st) && avl::LeftShrank(link);
        if (c > 0)
            return !(p->status & avl::kRightThread) && removeAt(p->right, p, false, st) && avl::RightShrank(link);
        if (!(p->status & (avl::kLeftThread | avl::kRightThread))) {
            AVLNode* q = p->left;
            while (!(q->status & avl::kRightThread))
                q = q->right;
            p->takeEntry(*static_cast<Node*>(q));
            st.predecessor = true;
            return removeAt(p->left, p, true, st) && avl::LeftShrank(link);
        }
        st.victim = p;
        avl::Unlink(link, parent, isLeftChild);
        return true;
    }
};
