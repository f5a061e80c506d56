// The framework's list of pointers: a circular doubly linked list through a
// sentinel link, with pooled links, and an iterator that walks it either way
// and can remove the link it stands on.
//
// A list owns its links, never the values. Null values are not stored.
// Misuse (removing from an empty list, an iterator that never moved) is an
// assertion ("clist"); pool exhaustion raises AMemError.
#pragma once

#include <cstddef>
#include <cstdint>

struct ALink {
    ALink* next;
    ALink* previous;

    // Links this after other.
    void linkAfter(ALink* other) {
        next = other->next;
        other->next = this;
        previous = other;
        next->previous = this;
    }
    // Joins the neighbours; this link's own pointers are left as they were.
    void unlink() {
        previous->next = next;
        next->previous = previous;
    }
    void makeSentinel() { next = previous = this; }
};

struct APlink : ALink {
    void* value;
    int16_t word1;
    int16_t word2;

    static void* operator new(size_t size);
    static void operator delete(void* p);
    static long instanceCount();
};

// The pool operations for links and for list objects.
void* AllocListNode(size_t size);
void FreeListNode(void* p);
void* AllocListObject(size_t size);
void FreeListObject(void* p);

class Alist {
public:
    Alist();
    virtual ~Alist();
    Alist(const Alist&) = delete;
    Alist& operator=(const Alist&) = delete;

    // Lists of this exact class come from a pool; derived ones from the heap.
    static void* operator new(size_t size);
    static void operator delete(void* p, size_t size);

    // Adds the value after the last element; a null value is ignored.
    void append(void* value);
    // Unlinks the first (last) element and answers its value; the list must not be empty.
    void* removeFirst();
    void* removeLast();
    // Removes the element holding the value nearest the end; nothing when absent.
    void remove(void* value);
    void removeAll();

    short count() const { return count_; }
    bool empty() const { return count_ == 0; }
    ALink* sentinel() { return &sentinel_; }
    const ALink* sentinel() const { return &sentinel_; }
    // The first (last) link, or the sentinel when empty.
    ALink* firstLink() { return sentinel_.next; }
    ALink* lastLink() { return sentinel_.previous; }

private:
    friend class AListIterator;
    friend void InsertNodeAtHead(Alist& list, APlink* link, ALink* position);
    void unlinkAndFree(ALink* link);

    APlink sentinel_;
    short count_;
};

// Links a link from AllocListNode in after position, a link of the list or its
// sentinel: the sentinel puts it at the head, the last link at the end.
void InsertNodeAtHead(Alist& list, APlink* link, ALink* position);

class AListIterator {
public:
    explicit AListIterator(Alist* list) : current_(nullptr), list_(list), direction_(0) {}
    ~AListIterator() = default;

    void reset() {
        current_ = nullptr;
        direction_ = 0;
    }
    // Each step answers the value, or 0 (and resets) at the end.
    void* next();
    void* previous();
    void* first();
    void* last();
    bool isValid() const { return current_ && current_ != list_->sentinel(); }
    void* current() const { return isValid() ? static_cast<APlink*>(current_)->value : nullptr; }
    // The current value's slot; the iterator must be valid.
    void*& currentRef();
    // Removes the current link; the next step in the same direction goes on
    // with the element after it.
    void removeCurrent();

private:
    ALink* current_;  // not owned
    Alist* list_;     // not owned
    short direction_;  // 0 none yet, 1 forward, 2 backward
};
