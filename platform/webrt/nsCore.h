// Replaces the web runtime's core object model, which this program cannot ship:
// result codes, interface identifiers, reference counting and interface query,
// the allocator strings cross with, and the owning pointer the callers use.
//
// Result codes are 32-bit; the sign bit marks failure. Objects are counted
// with a plain 32-bit count and deleted by their last Release. Everything runs
// on the user-interface thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>

typedef uint32_t nsresult;
typedef uint32_t nsrefcnt;
typedef int32_t PRBool;
typedef int32_t PRInt32;
typedef uint32_t PRUint32;
typedef uint16_t PRUint16;
typedef uint8_t PRUint8;
typedef wchar_t PRUnichar;  // 16-bit with this compiler: L"" texts are UTF-16
static_assert(sizeof(PRUnichar) == 2, "wide texts are UTF-16");

const PRBool PR_TRUE = 1;
const PRBool PR_FALSE = 0;

const nsresult NS_OK = 0;
const nsresult NS_ERROR_NOT_IMPLEMENTED = 0x80004001;
const nsresult NS_NOINTERFACE = 0x80004002;
const nsresult NS_ERROR_NO_INTERFACE = NS_NOINTERFACE;
const nsresult NS_ERROR_NULL_POINTER = 0x80004003;
const nsresult NS_ERROR_INVALID_POINTER = NS_ERROR_NULL_POINTER;
const nsresult NS_ERROR_ABORT = 0x80004004;
const nsresult NS_ERROR_FAILURE = 0x80004005;
const nsresult NS_ERROR_OUT_OF_MEMORY = 0x8007000E;
const nsresult NS_ERROR_INVALID_ARG = 0x80070057;
const nsresult NS_ERROR_NO_AGGREGATION = 0x80040110;
const nsresult NS_ERROR_NOT_AVAILABLE = 0x80040111;
const nsresult NS_ERROR_FACTORY_NOT_REGISTERED = 0x80040154;
const nsresult NS_ERROR_ALREADY_INITIALIZED = 0xC1F30002;
const nsresult NS_ERROR_NOT_INITIALIZED = 0xC1F30001;
const nsresult NS_ERROR_FILE_NOT_FOUND = 0x80520012;
const nsresult NS_ERROR_FILE_CORRUPTED = 0x8052000B;
const nsresult NS_ERROR_FILE_ACCESS_DENIED = 0x80520015;
const nsresult NS_ERROR_FILE_ALREADY_EXISTS = 0x80520008;
const nsresult NS_ERROR_MALFORMED_URI = 0x804B000A;
const nsresult NS_ERROR_CONNECTION_REFUSED = 0x804B000D;
const nsresult NS_ERROR_NET_TIMEOUT = 0x804B000E;
const nsresult NS_ERROR_UNKNOWN_PROTOCOL = 0x804B0012;
const nsresult NS_ERROR_UNKNOWN_HOST = 0x804B001E;
const nsresult NS_ERROR_NET_INTERRUPT = 0x804B0047;

inline bool NS_FAILED(nsresult r) { return (r & 0x80000000u) != 0; }
inline bool NS_SUCCEEDED(nsresult r) { return (r & 0x80000000u) == 0; }

struct nsID {
    uint32_t m0;
    uint16_t m1;
    uint16_t m2;
    uint8_t m3[8];
    bool Equals(const nsID& other) const;
    // "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}", lower case.
    std::string ToString() const;
};
typedef nsID nsIID;
typedef nsID nsCID;

// Declares an interface's identifier and its parent interface (for queries
// of a parent through a child).
#define NS_WEBRT_IID(PARENT, a, b, c, d0, d1, d2, d3, d4, d5, d6, d7)      \
    typedef PARENT BaseInterface;                                         \
    static const nsIID& GetIID() {                                        \
        static const nsIID id = {a, b, c, {d0, d1, d2, d3, d4, d5, d6, d7}}; \
        return id;                                                        \
    }

class nsISupports {
public:
    typedef void BaseInterface;
    static const nsIID& GetIID() {
        static const nsIID id = {0x00000000, 0x0000, 0x0000, {0xc0, 0, 0, 0, 0, 0, 0, 0x46}};
        return id;
    }
    // On success *result holds one reference; on NS_NOINTERFACE it is null.
    virtual nsresult QueryInterface(const nsIID& iid, void** result) = 0;
    virtual nsrefcnt AddRef() = 0;
    virtual nsrefcnt Release() = 0;

protected:
    virtual ~nsISupports() = default;
};

namespace webrt {

// True (and *out set, not yet counted) when iid names I or one of its parents.
template <class I>
bool MatchInterface(const nsIID& iid, I* self, void** out) {
    if (iid.Equals(I::GetIID())) {
        *out = self;
        return true;
    }
    if constexpr (!std::is_same<typename I::BaseInterface, void>::value)
        return MatchInterface<typename I::BaseInterface>(iid, static_cast<typename I::BaseInterface*>(self), out);
    return false;
}

template <class First, class...>
struct FirstOf {
    typedef First type;
};

}  // namespace webrt

// The counting and query of a class implementing the interfaces I...: count
// starts at 0; the last Release sets it to 1 (so that the destructor cannot
// come back through a Release) and deletes the object.
template <class... I>
class nsSupportsImpl : public I... {
public:
    nsresult QueryInterface(const nsIID& iid, void** result) override {
        if (!result)
            return NS_ERROR_NULL_POINTER;
        *result = nullptr;
        typedef typename webrt::FirstOf<I...>::type First;
        if (iid.Equals(nsISupports::GetIID()))
            *result = static_cast<nsISupports*>(static_cast<First*>(this));
        else
            (webrt::MatchInterface<I>(iid, static_cast<I*>(this), result) || ...);
        if (!*result)
            return NS_NOINTERFACE;
        AddRef();
        return NS_OK;
    }
    nsrefcnt AddRef() override { return ++refs_; }
    nsrefcnt Release() override {
        if (--refs_ == 0) {
            refs_ = 1;
            delete this;
            return 0;
        }
        return refs_;
    }
    nsrefcnt refCount() const { return refs_; }

protected:
    nsrefcnt refs_ = 0;
};

// An owning pointer: holds one reference of what it points to.
template <class T>
class nsPtr {
public:
    nsPtr() = default;
    nsPtr(T* p) : p_(p) {
        if (p_)
            p_->AddRef();
    }
    nsPtr(const nsPtr& o) : nsPtr(o.p_) {}
    nsPtr(nsPtr&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
    ~nsPtr() {
        if (p_)
            p_->Release();
    }
    nsPtr& operator=(T* p) {
        if (p)
            p->AddRef();
        T* old = p_;
        p_ = p;
        if (old)
            old->Release();
        return *this;
    }
    nsPtr& operator=(const nsPtr& o) { return *this = o.p_; }
    nsPtr& operator=(nsPtr&& o) noexcept {
        if (this != &o) {
            T* old = p_;
            p_ = o.p_;
            o.p_ = nullptr;
            if (old)
                old->Release();
        }
        return *this;
    }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // Drops the held reference and answers the slot an out parameter fills.
    T** receive() {
        *this = nullptr;
        return &p_;
    }
    void** receiveVoid() { return reinterpret_cast<void**>(receive()); }
    // Hands the reference to the caller.
    T* forget() {
        T* p = p_;
        p_ = nullptr;
        return p;
    }

private:
    T* p_ = nullptr;
};

// The object queried as T (null when it does not implement T); *rv gets the code.
template <class T>
nsPtr<T> QueryAs(nsISupports* object, nsresult* rv = nullptr) {
    nsPtr<T> out;
    nsresult r = object ? object->QueryInterface(T::GetIID(), out.receiveVoid()) : NS_ERROR_NULL_POINTER;
    if (rv)
        *rv = r;
    return out;
}

// The allocator of every string or block that crosses between the runtime and
// the program: the side that receives frees with nsMemory::Free.
struct nsMemory {
    static void* Alloc(size_t size);
    static void Free(void* p);
    // Blocks handed out and not yet freed (tests check the balance).
    static long liveBlocks();
};
