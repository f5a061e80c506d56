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
