// Global memory handles and the growable global-memory stream.
#include "base/object/AGlobalMemory.h"

#include "base/procedural/AError.h"

#include <windows.h>

#include <cstring>

namespace {
HGLOBAL H(void* h) {
    return static_cast<HGLOBAL>(h);
}
}  // namespace

void* AGlobalHandle::detach() {
    void* h = handle_;
    handle_ = nullptr;
    return h;
}

void AGlobalHandle::free() {
    if (handle_)
        GlobalFree(H(handle_));
    handle_ = nullptr;
}

AGlobalMemory::AGlobalMemory(void* handle) : handle_(handle), data_(nullptr) {
    lock();
}

void AGlobalMemory::attach(void* handle) {
    unlock();
    handle_ = handle;
    lock();
}

void AGlobalMemory::lock() {
    unlock();
    if (handle_)
        data_ = GlobalLock(H(handle_));
}

void AGlobalMemory::unlock() {
    if (data_)
        GlobalUnlock(H(handle_));
    data_ = nullptr;
}

void AGlobalMemory::free() {
    unlock();
    if (handle_)
        GlobalFree(H(handle_));
    handle_ = nullptr;
}

void* GlobalMemoryFromBytes(const void* bytes, uint32_t size) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!h)
        ThrowAssert("bhandle", 44);
    if (size) {
        void* p = GlobalLock(h);
        std::memcpy(p, bytes, size);
        GlobalUnlock(h);
    }
    return h;
}

void* GlobalMemoryFromRange(void* handle, uint32_t start, uint32_t end) {
    if (!handle || start > end || end > GlobalSize(H(handle)))
        ThrowAssert("bhandle", 55);
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, end - start);
    if (!h)
        ThrowAssert("bhandle", 59);
    if (end > start) {
        const char* from = static_cast<const char*>(GlobalLock(H(handle)));
        void* to = GlobalLock(h);
        std::memcpy(to, from + start, end - start);
        GlobalUnlock(h);
        GlobalUnlock(H(handle));
    }
    return h;
}

uint32_t GlobalMemoryTextLength(void* handle) {
    if (!handle)
        return 0;
    SIZE_T size = GlobalSize(H(handle));
    const char* p = static_cast<const char*>(GlobalLock(H(handle)));
    if (!p)
        return 0;
    const void* nul = std::memchr(p, 0, size);
    uint32_t len = nul ? static_cast<uint32_t>(static_cast<const char*>(nul) - p) : static_cast<uint32_t>(size);
    GlobalUnlock(H(handle));
    return len;
}

AGlobalMemoryStream::AGlobalMemoryStream(void* handle) : allocated_(0), owned_(false) {
    if (handle)
        attach(handle);
}

AGlobalMemoryStream::~AGlobalMemoryStream() {
    release();
}

void AGlobalMemoryStream::release() {
    if (owned_)
        AGlobalMemory::free();
    else
        AGlobalMemory::attach(nullptr);
    owned_ = false;
    allocated_ = 0;
    setBlock(nullptr, 0);
}

void AGlobalMemoryStream::attach(void* handle) {
    release();
    if (!handle)
        return;
    AGlobalMemory::attach(handle);
    allocated_ = static_cast<uint32_t>(GlobalSize(H(handle)));
    setBlock(data_, static_cast<long>(allocated_));
    seek(0);
}

void AGlobalMemoryStream::grow(long newSize) {
    if (newSize < 0)
        ThrowAssert("bhandle", 120);
    uint32_t n = static_cast<uint32_t>(newSize);
    uint32_t wanted = n + (1024 - n % 1024);
    if (wanted != allocated_) {
        unlock();
        HGLOBAL h = handle_ ? GlobalReAlloc(H(handle_), wanted, 0)
                            : GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, wanted);
        if (!h) {
            // The old block (if any) is untouched: lock it again and report.
            lock();
            setBlockKeepingOffset(data_, size());
            g_errorMessage[0] = 0;
            ThrowMemError(AMemError("bhandle", 130));
        }
        if (!handle_)
            owned_ = true;
        handle_ = h;
        allocated_ = wanted;
        lock();
    }
    setBlockKeepingOffset(data_, newSize);
}

void* AGlobalMemoryStream::detach() {
    void* h = handle_;
    if (!h)
        return nullptr;
    uint32_t used = static_cast<uint32_t>(size());
    unlock();
    if (used > 0 && used != allocated_) {
        if (HGLOBAL smaller = GlobalReAlloc(H(h), used, 0))
            h = smaller;
    }
    handle_ = nullptr;
    owned_ = false;
    allocated_ = 0;
    setBlock(nullptr, 0);
    return h;
}
