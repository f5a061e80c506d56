// Pooled circular lists and their iterator.
#include "base/object/Alist.h"

#include "base/object/AFixedPool.h"
#include "base/procedural/AError.h"
#include "base/procedural/BAlloc.h"

namespace {
AFixedPool* g_linkPool = nullptr;
AFixedPool* g_listPool = nullptr;
}  // namespace

void* AllocListNode(size_t size) {
    return AFixedPool::allocIn(&g_linkPool, size, 400, "clist", 227);
}

void FreeListNode(void* p) {
    AFixedPool::freeIn(&g_linkPool, p);
}

void* AllocListObject(size_t size) {
    return AFixedPool::allocIn(&g_listPool, size, 100, "clist", 228);
}

void FreeListObject(void* p) {
    AFixedPool::freeIn(&g_listPool, p);
}

void* APlink::operator new(size_t size) {
    return AllocListNode(size);
}

void APlink::operator delete(void* p) {
    FreeListNode(p);
}

long APlink::instanceCount() {
    return g_linkPool ? g_linkPool->live() : 0;
}

void* Alist::operator new(size_t size) {
    if (size == sizeof(Alist))
        return AllocListObject(size);
    return CheckAlloc(NewBlock(size, "clist", 228), "clist", 228);
}

void Alist::operator delete(void* p, size_t size) {
    if (size == sizeof(Alist))
        FreeListObject(p);
    else
        BAlloc::free(p);
}

Alist::Alist() : count_(0) {
    sentinel_.makeSentinel();
    sentinel_.value = nullptr;
    sentinel_.word1 = sentinel_.word2 = 0;
}

Alist::~Alist() {
    removeAll();
    sentinel_.unlink();
}

void Alist::append(void* value) {
    if (!value)
        return;
    APlink* link = new APlink;
    link->value = value;
    link->linkAfter(sentinel_.previous);
    ++count_;
}

void Alist::unlinkAndFree(ALink* link) {
    link->unlink();
    delete static_cast<APlink*>(link);
    --count_;
}

void* Alist::removeFirst() {
    if (sentinel_.next == &sentinel_)
        ThrowAssert("clist", 150);
    void* value = static_cast<APlink*>(sentinel_.next)->value;
    unlinkAndFree(sentinel_.next);
    return value;
}

void* Alist::removeLast() {
    if (sentinel_.previous == &sentinel_)
        ThrowAssert("clist", 160);
    void* value = static_cast<APlink*>(sentinel_.previous)->value;
    unlinkAndFree(sentinel_.previous);
    return value;
}

void Alist::remove(void* value) {
    for (ALink* l = sentinel_.previous; l != &sentinel_; l = l->previous) {
        if (static_cast<APlink*>(l)->value == value) {
            unlinkAndFree(l);
            return;
        }
    }
}

void Alist::removeAll() {
    while (sentinel_.next != &sentinel_)
        unlinkAndFree(sentinel_.previous);
}

void InsertNodeAtHead(Alist& list, APlink* link, ALink* position) {
    link->linkAfter(position);
    ++list.count_;
}

void* AListIterator::next() {
    ALink* from = current_ ? current_ : list_->sentinel();
    current_ = from->next;
    if (current_ == list_->sentinel()) {
        reset();
        return nullptr;
    }
    direction_ = 1;
    return static_cast<APlink*>(current_)->value;
}

void* AListIterator::previous() {
    ALink* from = current_ ? current_ : list_->sentinel();
    current_ = from->previous;
    if (current_ == list_->sentinel()) {
        reset();
        return nullptr;
    }
    direction_ = 2;
    return static_cast<APlink*>(current_)->value;
}

void* AListIterator::first() {
    reset();
    direction_ = 1;
    return next();
}

void* AListIterator::last() {
    reset();
    direction_ = 2;
    return previous();
}

void*& AListIterator::currentRef() {
    if (!isValid())
        ThrowAssert("clist", 223);
    return static_cast<APlink*>(current_)->value;
}

void AListIterator::removeCurrent() {
    if (!isValid())
        return;
    if (direction_ == 0)
        ThrowAssert("clist", 194);
    ALink* victim = current_;
    current_ = direction_ == 1 ? victim->previous : victim->next;
    if (current_ == list_->sentinel())
        reset();
    list_->unlinkAndFree(victim);
}
