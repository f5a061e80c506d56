// The long-keyed maps: pooled nodes over the shared AVL descents.
#include "base/object/ALongDic.h"

#include "base/object/AError.h"
#include "base/object/AFixedPool.h"

namespace {

AFixedPool* g_nodePool = nullptr;

struct CompareLong {
    int operator()(long a, long b) const { return a < b ? -1 : a > b ? 1 : 0; }
};

using Descent = AVLDescent<longa_pvoidAVLNode, long, CompareLong>;

}  // namespace

void MapError(const char* message, const char* file, long line) {
    FormatErrorMessage("Map: %s", message);
    ThrowError(AError(file, line));
}

void* longa_pvoidAVLNode::operator new(size_t size) {
    return AFixedPool::allocIn(&g_nodePool, size, 100, "clongdic", 17);
}

void longa_pvoidAVLNode::operator delete(void* p) {
    AFixedPool::freeIn(&g_nodePool, p);
}

long longa_pvoidAVLNode::instanceCount() {
    return g_nodePool ? g_nodePool->live() : 0;
}

void longa_pvoidMap::clear() {
    while (Pix p = first())
        del(keyOf(p));
}

longa_pvoidAVLMap::longa_pvoidAVLMap(const longa_pvoidAVLMap& other)
    : longa_pvoidMap(other.default_), root_(nullptr) {
    assign(other);
}

longa_pvoidAVLMap::~longa_pvoidAVLMap() {
    Descent::freeTree(root_);
}

longa_pvoidAVLNode* longa_pvoidAVLMap::node(Pix p) {
    if (!p)
        MapError("null Pix");
    return static_cast<longa_pvoidAVLNode*>(static_cast<AVLNode*>(p));
}

void longa_pvoidAVLMap::deleteSubtree(AVLNode* n) {
    Descent::freeTree(n);
}

void longa_pvoidAVLMap::clear() {
    Descent::freeTree(root_);
    root_ = nullptr;
    count_ = 0;
}

void longa_pvoidAVLMap::next(Pix& p) const {
    if (p)
        p = avl::Next(static_cast<AVLNode*>(p));
}

void longa_pvoidAVLMap::prev(Pix& p) const {
    if (p)
        p = avl::Prev(static_cast<AVLNode*>(p));
}

bool longa_pvoidAVLMap::owns(Pix p) const {
    return avl::Owns(root_, p);
}

Pix longa_pvoidAVLMap::seek(long key) const {
    return Descent::seek(root_, key);
}

longa_pvoidAVLNode* longa_pvoidAVLMap::slotNode(long key) {
    void* dflt = default_;
    bool created;
    longa_pvoidAVLNode* n = Descent::slot(
        root_, key,
        [dflt](long k) {
            longa_pvoidAVLNode* fresh = new longa_pvoidAVLNode;
            fresh->key = k;
            fresh->value = dflt;
            return fresh;
        },
        created);
    if (created)
        ++count_;
    return n;
}

void longa_pvoidAVLMap::removeKey(long key) {
    longa_pvoidAVLNode* victim = Descent::remove(root_, key);
    if (!victim)
        return;
    delete victim;
    if (--count_ == 0)
        root_ = nullptr;
}

void longa_pvoidAVLMap::assign(const longa_pvoidAVLMap& other) {
    if (&other == this)
        return;
    clear();
    default_ = other.default_;
    for (Pix p = other.first(); p; other.next(p))
        slot(other.keyOf(p)) = other.contentsOf(p);
}

bool longa_pvoidAVLMap::checkInvariant() const {
    if (!Descent::inOrder(root_, count_))
        MapError("invariant failure");
    return true;
}

AObject* ALongDic::find(long key) const {
    Pix p = seek(key);
    return p ? static_cast<AObject*>(contentsOf(p)) : nullptr;
}

AString* AStringLongDic::find(long key) const {
    Pix p = seek(key);
    return p ? static_cast<AString*>(contentsOf(p)) : nullptr;
}
