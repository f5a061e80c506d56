// The string-keyed maps: pooled nodes over the shared AVL descents.
#include "base/object/AStrDic.h"

#include "base/object/AFileStream.h"
#include "base/object/AFixedPool.h"
#include "base/object/ALongDic.h"
#include "base/procedural/AError.h"
#include "base/procedural/AOutStream.h"

#include <cstring>
#include <new>

namespace {

AFixedPool* g_nodePool = nullptr;

struct CompareText {
    int operator()(const AString& a, const AString& b) const { return std::strcmp(a.c_str(), b.c_str()); }
};

using Descent = AVLDescent<AStringa_pvoidAVLNode, AString, CompareText>;

}  // namespace

void* AStringa_pvoidAVLNode::operator new(size_t size) {
    return AFixedPool::allocIn(&g_nodePool, size, 100, "cstrdic", 15);
}

void AStringa_pvoidAVLNode::operator delete(void* p) {
    AFixedPool::freeIn(&g_nodePool, p);
}

long AStringa_pvoidAVLNode::instanceCount() {
    return g_nodePool ? g_nodePool->live() : 0;
}

void AStringa_pvoidMap::clear() {
    while (Pix p = first()) {
        AString k = key(p);
        del(k);
    }
}

bool AStringa_pvoidMap::owns(Pix p) const {
    if (!p)
        return false;
    for (Pix q = first(); q; next(q)) {
        if (q == p)
            return true;
    }
    return false;
}

Pix AStringa_pvoidMap::seek(const AString& k) const {
    for (Pix q = first(); q; next(q)) {
        if (std::strcmp(key(q).c_str(), k.c_str()) == 0)
            return q;
    }
    return nullptr;
}

AStringa_pvoidAVLMap::~AStringa_pvoidAVLMap() {
    Descent::freeTree(root_);
}

AStringa_pvoidAVLNode* AStringa_pvoidAVLMap::node(Pix p) {
    if (!p)
        MapError("null Pix", "cstrdic", 53);
    return static_cast<AStringa_pvoidAVLNode*>(static_cast<AVLNode*>(p));
}

void AStringa_pvoidAVLMap::freeTree(AVLNode* n) {
    Descent::freeTree(n);
}

void AStringa_pvoidAVLMap::clear() {
    Descent::freeTree(root_);
    root_ = nullptr;
    count_ = 0;
}

void AStringa_pvoidAVLMap::next(Pix& p) const {
    if (p)
        p = avl::Next(static_cast<AVLNode*>(p));
}

bool AStringa_pvoidAVLMap::owns(Pix p) const {
    return avl::Owns(root_, p);
}

Pix AStringa_pvoidAVLMap::seek(const AString& key) const {
    return Descent::seek(root_, key);
}

void*& AStringa_pvoidAVLMap::insert(const AString& key) {
    void* dflt = default_;
    bool created;
    AStringa_pvoidAVLNode* n = Descent::slot(
        root_, key,
        [dflt](const AString& k) {
            return new AStringa_pvoidAVLNode(k, dflt);
        },
        created);
    if (created)
        ++count_;
    return n->value;
}

void AStringa_pvoidAVLMap::del(const AString& key) {
    AStringa_pvoidAVLNode* victim = Descent::remove(root_, key);
    if (!victim)
        return;
    delete victim;
    if (--count_ == 0)
        root_ = nullptr;
}

bool AStringa_pvoidAVLMap::checkInvariant() const {
    if (!Descent::inOrder(root_, count_))
        MapError("invariant failure", "cstrdic", 53);
    return true;
}

void AStrDic::setString(const AString& key, const char* text) {
    // The text may be the old value and the key the entry's own: both die with the entry.
    AString* fresh = CheckAlloc(new (std::nothrow) AString(text), "cstrdic", 688);
    AString keep(key);
    removeString(keep);
    insert(keep) = fresh;
}

AString* AStrDic::getString(const AString& key) {
    return static_cast<AString*>(insert(key));
}

void AStrDic::removeString(const AString& key) {
    AString* s = getString(key);
    DeleteStringAndNull(&s);
    del(key);
}

void AStrDic::clearStrings() {
    while (Pix p = first()) {
        AString k = key(p);
        removeString(k);
    }
}

AString& AStrDic::stringOrEmpty(const AString& key) {
    AString* s = static_cast<AString*>(insert(key));
    if (!s)
        setString(key, "");
    return *getString(key);
}

void AStrDic::copyFrom(const AStringa_pvoidMap& other) {
    for (Pix p = other.first(); p; other.next(p))
        insert(other.key(p)) = other.contents(p);
}

void AStrDic::writeLines(AOutStream& stream) const {
    for (Pix p = first(); p; next(p)) {
        const AString& k = key(p);
        if (!k.empty())
            stream.writeString(k.c_str()).writeString("\n");
    }
}

void AStrDic::readLines(AFileStream& stream) {
    for (;;) {
        AString line = stream.readLine(nullptr);
        if (line.empty())
            return;
        insert(line) = nullptr;
    }
}

AStrStrDic::AStrStrDic(const AStrStrDic& other) : AStrDic(nullptr) {
    copyFrom(other);
}

AStrStrDic& AStrStrDic::operator=(const AStrStrDic& other) {
    if (&other != this) {
        clearStrings();
        copyFrom(other);
    }
    return *this;
}

AStrStrDic::~AStrStrDic() {
    clearStrings();
}

void AStrStrDic::copyFrom(const AStrStrDic& other) {
    // Each setString replaces its entry: a walk over this very table loses its place
    // and can loop for ever.
    if (&other == this)
        return;
    for (Pix p = other.first(); p; other.next(p)) {
        const AString* text = static_cast<const AString*>(other.contents(p));
        if (text)
            setString(other.key(p), text->c_str());
        else
            insert(other.key(p));
    }
}
