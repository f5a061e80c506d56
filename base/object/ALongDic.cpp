// The long-keyed maps: pooled nodes over the shared AVL descents.
#include "base/object/ALongDic.h"

#include "base/procedural/AError.h"
#include "base/object/AFixedPool.h"
#include "base/object/AFileStream.h"
#include "base/object/AString.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

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

AStringLongDic::~AStringLongDic() {
    removeAll();
}

void AStringLongDic::setString(long key, const char* text) {
    AString* copy = new AString(text);
    void*& value = slot(key);
    delete static_cast<AString*>(value);
    value = copy;
}

AString AStringLongDic::getString(long key) const {
    AString* text = find(key);
    return text ? *text : AString();
}

void AStringLongDic::removeAll() {
    for (Pix p = first(); p; next(p))
        delete static_cast<AString*>(contentsOf(p));
    clear();
}

void AStringLongDic::takeAll(AStringLongDic& other) {
    removeAll();
    for (Pix p = other.first(); p; other.next(p))
        slot(other.keyOf(p)) = other.contentsOf(p);
    other.clear();
}

// The text block of an option file, lines ended by LF:
//   M          count, read with atol and used as an unsigned 16-bit repetition
//   key, text  M pairs in ascending key order, the text's bytes as they are
// A repeated key keeps its last text.
void AStringLongDic::readFrom(AFileStream& stream) {
    AStringLongDic read;
    auto count = static_cast<uint16_t>(ReadOptionNumber(stream));
    for (unsigned i = 0; i < count; ++i) {
        long key = ReadOptionNumber(stream);
        read.setString(key, ReadOptionLine(stream).c_str());
    }
    takeAll(read);
}

void AStringLongDic::writeTo(AFileStream& stream) const {
    WriteOptionNumber(stream, count());
    for (Pix p = first(); p; next(p)) {
        WriteOptionNumber(stream, keyOf(p));
        WriteOptionLine(stream, static_cast<AString*>(contentsOf(p))->c_str());
    }
}

// A text stops at its first line end: the lines after it keep their places.
void WriteOptionLine(AFileStream& stream, const char* text) {
    long length = static_cast<long>(std::strcspn(text, "\r\n"));
    if (stream.write(text, length) != length || stream.putByte('\n') < 0)
        throw AFileError("fextras", 1120, stream.lastError() ? stream.lastError() : long{kFileErrIO});
}

void WriteOptionNumber(AFileStream& stream, long number) {
    char text[16];
    std::snprintf(text, sizeof text, "%ld", number);
    WriteOptionLine(stream, text);
}

AString ReadOptionLine(AFileStream& stream) {
    short end = 0;
    AString line = stream.readLine(&end);
    if (end)
        throw AFileError("fextras", 1135, kFileErrIO);
    return line;
}

long ReadOptionNumber(AFileStream& stream) {
    return std::atol(ReadOptionLine(stream).c_str());
}
