// Threads, rotations and rebalancing of the maps' AVL tree, whatever the key.
#include "base/object/AVLTree.h"

namespace avl {

namespace {

uint8_t Balance(const AVLNode* n) {
    return n->status & kBalanceMask;
}

void SetBalance(AVLNode* n, uint8_t b) {
    n->status = static_cast<uint8_t>((n->status & ~kBalanceMask) | b);
}

AVLNode* Leftmost(AVLNode* n) {
    while (!(n->status & kLeftThread))
        n = n->left;
    return n;
}

AVLNode* Rightmost(AVLNode* n) {
    while (!(n->status & kRightThread))
        n = n->right;
    return n;
}

// The left child L takes link's place; L's right subtree (or its thread) moves under p.
void RotateRight(AVLNode*& link) {
    AVLNode* p = link;
    AVLNode* l = p->left;
    if (l->status & kRightThread) {
        p->left = l;
        p->status |= kLeftThread;
    } else {
        p->left = l->right;
    }
    l->right = p;
    l->status &= static_cast<uint8_t>(~kRightThread);
    link = l;
}

void RotateLeft(AVLNode*& link) {
    AVLNode* p = link;
    AVLNode* r = p->right;
    if (r->status & kLeftThread) {
        p->right = r;
        p->status |= kRightThread;
    } else {
        p->right = r->left;
    }
    r->left = p;
    r->status &= static_cast<uint8_t>(~kLeftThread);
    link = r;
}

// p is two higher on the left: single or double rotation; answers the new root's balance
// state so that deletion can tell whether the height dropped.
bool FixLeftHeavy(AVLNode*& link) {
    AVLNode* p = link;
    AVLNode* l = p->left;
    uint8_t b = Balance(l);
    if (b == kBalanced) {
        RotateRight(link);
        SetBalance(p, kLeftHigh);
        SetBalance(l, kRightHigh);
        return false;
    }
    if (b == kLeftHigh) {
        RotateRight(link);
        SetBalance(p, kBalanced);
        SetBalance(l, kBalanced);
        return true;
    }
    AVLNode* r = l->right;
    uint8_t c = Balance(r);
    RotateLeft(p->left);
    RotateRight(link);
    SetBalance(p, c == kLeftHigh ? kRightHigh : kBalanced);
    SetBalance(l, c == kRightHigh ? kLeftHigh : kBalanced);
    SetBalance(r, kBalanced);
    return true;
}

bool FixRightHeavy(AVLNode*& link) {
    AVLNode* p = link;
    AVLNode* r = p->right;
    uint8_t b = Balance(r);
    if (b == kBalanced) {
        RotateLeft(link);
        SetBalance(p, kRightHigh);
        SetBalance(r, kLeftHigh);
        return false;
    }
    if (b == kRightHigh) {
        RotateLeft(link);
        SetBalance(p, kBalanced);
        SetBalance(r, kBalanced);
        return true;
    }
    AVLNode* l = r->left;
    uint8_t c = Balance(l);
    RotateRight(p->right);
    RotateLeft(link);
    SetBalance(p, c == kRightHigh ? kLeftHigh : kBalanced);
    SetBalance(r, c == kLeftHigh ? kRightHigh : kBalanced);
    SetBalance(l, kBalanced);
    return true;
}

}  // namespace

AVLNode* First(AVLNode* root) {
    return root ? Leftmost(root) : nullptr;
}

AVLNode* Last(AVLNode* root) {
    return root ? Rightmost(root) : nullptr;
}

AVLNode* Next(AVLNode* node) {
    if (node->status & kRightThread)
        return node->right;
    return Leftmost(node->right);
}

AVLNode* Prev(AVLNode* node) {
    if (node->status & kLeftThread)
        return node->left;
    return Rightmost(node->left);
}

void AttachLeft(AVLNode* parent, AVLNode* leaf) {
    leaf->left = parent->left;
    leaf->right = parent;
    leaf->status = kLeftThread | kRightThread;
    parent->left = leaf;
    parent->status &= static_cast<uint8_t>(~kLeftThread);
}

void AttachRight(AVLNode* parent, AVLNode* leaf) {
    leaf->right = parent->right;
    leaf->left = parent;
    leaf->status = kLeftThread | kRightThread;
    parent->right = leaf;
    parent->status &= static_cast<uint8_t>(~kRightThread);
}

void AttachRoot(AVLNode*& root, AVLNode* leaf) {
    leaf->left = nullptr;
    leaf->right = nullptr;
    leaf->status = kLeftThread | kRightThread;
    root = leaf;
}

bool LeftGrew(AVLNode*& link) {
    AVLNode* p = link;
    switch (Balance(p)) {
    case kBalanced:
        SetBalance(p, kLeftHigh);
        return true;
    case kRightHigh:
        SetBalance(p, kBalanced);
        return false;
    default:
        FixLeftHeavy(link);
        return false;
    }
}

bool RightGrew(AVLNode*& link) {
    AVLNode* p = link;
    switch (Balance(p)) {
    case kBalanced:
        SetBalance(p, kRightHigh);
        return true;
    case kLeftHigh:
        SetBalance(p, kBalanced);
        return false;
    default:
        FixRightHeavy(link);
        return false;
    }
}

bool LeftShrank(AVLNode*& link) {
    AVLNode* p = link;
    switch (Balance(p)) {
    case kLeftHigh:
        SetBalance(p, kBalanced);
        return true;
    case kBalanced:
        SetBalance(p, kRightHigh);
        return false;
    default:
        return FixRightHeavy(link);
    }
}

bool RightShrank(AVLNode*& link) {
    AVLNode* p = link;
    switch (Balance(p)) {
    case kRightHigh:
        SetBalance(p, kBalanced);
        return true;
    case kBalanced:
        SetBalance(p, kLeftHigh);
        return false;
    default:
        return FixLeftHeavy(link);
    }
}

void Unlink(AVLNode*& link, AVLNode* parent, bool isLeftChild) {
    AVLNode* p = link;
    bool leftThread = (p->status & kLeftThread) != 0;
    bool rightThread = (p->status & kRightThread) != 0;
    if (leftThread && rightThread) {
        if (!parent) {
            link = nullptr;
        } else if (isLeftChild) {
            parent->left = p->left;
            parent->status |= kLeftThread;
        } else {
            parent->right = p->right;
            parent->status |= kRightThread;
        }
    } else if (leftThread) {
        Leftmost(p->right)->left = p->left;
        link = p->right;
    } else {
        Rightmost(p->left)->right = p->right;
        link = p->left;
    }
}

namespace {

// Checks the subtree and that its end threads point at lo and hi (its
// in-order neighbours outside it).
long Height(const AVLNode* n, const AVLNode* lo, const AVLNode* hi) {
    long lh = 0, rh = 0;
    if (n->status & kLeftThread) {
        if (n->left != lo)
            return -1;
    } else if (!n->left || (lh = Height(n->left, lo, n)) < 0) {
        return -1;
    }
    if (n->status & kRightThread) {
        if (n->right != hi)
            return -1;
    } else if (!n->right || (rh = Height(n->right, n, hi)) < 0) {
        return -1;
    }
    uint8_t expected = lh == rh ? kBalanced : lh == rh + 1 ? kLeftHigh : rh == lh + 1 ? kRightHigh : 3;
    if (expected != Balance(n))
        return -1;
    return (lh > rh ? lh : rh) + 1;
}

}  // namespace

bool Owns(AVLNode* root, const void* node) {
    if (!node)
        return false;
    for (AVLNode* p = First(root); p; p = Next(p)) {
        if (p == node)
            return true;
    }
    return false;
}

long CheckedHeight(const AVLNode* root) {
    return root ? Height(root, nullptr, nullptr) : 0;
}

}  // namespace avl
