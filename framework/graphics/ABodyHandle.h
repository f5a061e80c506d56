// A one-pointer handle on a shared, reference-counted body (fonts, images):
// it holds one reference for as long as it lives. Handles of each body type
// come from a fixed-size pool of their own, 200 a chunk, built on first use.
#pragma once

#include <cstddef>

#include "base/object/AFixedPool.h"
#include "base/procedural/AError.h"

template <class Body>
class ABodyHandle {
public:
    explicit ABodyHandle(Body* body) : body_(body) { body_->addRef(); }
    ABodyHandle(const ABodyHandle& other) : body_(other.body_) { body_->addRef(); }
    ABodyHandle& operator=(const ABodyHandle& other) {
        other.body_->addRef();
        body_->release();
        body_ = other.body_;
        return *this;
    }
    ~ABodyHandle() { body_->release(); }

    Body* body() const { return body_; }

    static void* operator new(size_t size) { return AFixedPool::allocIn(&pool_, size, 200, "fdraw", 560); }
    static void operator delete(void* p) { AFixedPool::freeIn(&pool_, p); }
    static long liveHandles() { return pool_ ? pool_->live() : 0; }

private:
    Body* body_;  // one reference held

    static AFixedPool* pool_;
};

template <class Body>
AFixedPool* ABodyHandle<Body>::pool_ = nullptr;

// Takes body off the process-wide list of its kind (head, linked through
// next); a body missing from it is an assertion ("fdraw", line).
template <class Body>
void UnlinkBody(Body*& head, Body* body, Body* Body::*next, long line) {
    Body** link = &head;
    while (*link && *link != body)
        link = &((*link)->*next);
    if (!*link)
        ThrowAssert("fdraw", line);
    *link = body->*next;
}
