// Base of objects shared by several holders and destroyed when the last one
// lets go. The count starts at 0: the creator takes the first reference.
#pragma once

#include <cstdint>

class ARefObj {
public:
    ARefObj() : refCount_(0) {}
    virtual ~ARefObj() = default;
    ARefObj(const ARefObj&) = delete;
    ARefObj& operator=(const ARefObj&) = delete;

    void addRef() { ++refCount_; }
    // Destroys the object when the count drops to 0 or below.
    void release();
    int32_t refCount() const { return refCount_; }

private:
    int32_t refCount_;
};

// Clears the variable first, then releases what it held (nothing for null).
template <class T>
void ReleaseAndNull(T*& var) {
    T* p = var;
    var = nullptr;
    if (p)
        static_cast<ARefObj*>(p)->release();
}

template <class T>
void ReleaseRefAndNull(T*& var) {
    ReleaseAndNull(var);
}

// Stores value in slot (a reference taken on it, null allowed) and releases what slot held.
template <class T>
void AssignRef(T*& slot, T* value) {
    if (value == slot)
        return;
    if (value)
        static_cast<ARefObj*>(value)->addRef();
    ReleaseAndNull(slot);
    slot = value;
}

// A std::unique_ptr deleter for a holder that took a reference: it lets go
// of that reference instead of deleting the shared object.
struct ARefRelease {
    void operator()(ARefObj* p) const { p->release(); }
};

// Holds one reference on an object for the holder's life (null: nothing).
template <class T>
class ARefHold {
public:
    explicit ARefHold(T* p) : ptr_(p) {
        if (ptr_)
            static_cast<ARefObj*>(ptr_)->addRef();
    }
    ~ARefHold() { ReleaseAndNull(ptr_); }
    ARefHold(const ARefHold&) = delete;
    ARefHold& operator=(const ARefHold&) = delete;
    T* get() const { return ptr_; }
    T* operator->() const { return ptr_; }

private:
    T* ptr_;
};
