// Shared copy-on-write strings.
#include "base/object/AString.h"

#include "base/object/AFixedPool.h"
#include "base/procedural/AError.h"
#include "base/procedural/BAlloc.h"
#include "base/procedural/StringUtil.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

AFixedPool* _AString::pool_ = nullptr;

namespace {
const long kBodiesPerChunk = 200;
// Longest text a body holds: capacity + 1 must stay a positive long.
const unsigned long kMaxLength = 0x7FFFFFFEul;

[[noreturn]] void ThrowBadInterval() {
    FormatErrorMessage("Bad interval");
    AStringError("bstring", 132).throwError();
}
}  // namespace

void* _AString::operator new(size_t size) {
    return AFixedPool::allocIn(&pool_, size, kBodiesPerChunk, "bstring", 60);
}

void _AString::operator delete(void* p) {
    AFixedPool::freeIn(&pool_, p);
}

long _AString::instanceCount() {
    return pool_ ? pool_->live() : 0;
}

_AString::~_AString() {
    BAlloc::free(text);
}

void _AString::setText(const char* source, long len) {
    BAlloc::free(text);
    text = static_cast<char*>(CheckAlloc(NewBlock(len + 1, "bstring", 83), "bstring", 83));
    capacity = len;
    text[capacity] = 0;

    if (source) {
        length = 0;
        replaceInterval(0, 0, source, 0, len);
    } else {
        length = len;
    }
}

void _AString::initFromCString(const char* s) {
    setText(s ? s : "", s ? static_cast<long>(std::strlen(s)) : 0);
}

void _AString::initFromBuffer(const char* p, long len) {
    setText(p, len);
}

void _AString::initCopy(const _AString& other) {
    setText(other.text, other.length);
}

void _AString::reserve(long newCapacity) {
    if (capacity >= newCapacity)
        return;
    char* grown = static_cast<char*>(CheckAlloc(NewBlock(newCapacity + 1, "bstring", 110), "bstring", 110));
    if (text)
        std::memcpy(grown, text, capacity + 1);
    BAlloc::free(text);
    text = grown;
    capacity = newCapacity;
    text[capacity] = 0;
}

void _AString::replaceInterval(unsigned long s, unsigned long e, const char* p, unsigned long a, unsigned long b) {
    unsigned long len = static_cast<unsigned long>(length);
    // A negative length arrives as a huge one: a result that no string can
    // hold is a bad interval too, never a copy past the buffer.
    if (e > len || s > e || a > b || b - a > kMaxLength - (len - (e - s)))
        ThrowBadInterval();
    unsigned long n = b - a, m = e - s;
    unsigned long newLength = len + n - m;
    unsigned long tail = len - e;
    char* scratch = nullptr;
    const char* source = p + a;
    if (text && source >= text && source <= text + len) {
        scratch = static_cast<char*>(CheckAlloc(NewBlock(n + 1, "bstring", 139), "bstring", 139));
        std::memcpy(scratch, source, n);
        source = scratch;
    }
    // Appending grows the buffer by half again at least: exact growth made a
    // text built by small appends (an export) cost its length squared.
    unsigned long want = newLength;
    if (s == len && newLength > static_cast<unsigned long>(capacity)) {
        unsigned long cap = static_cast<unsigned long>(capacity);
        unsigned long grown = cap + cap / 2;
        if (grown > want)
            want = grown < kMaxLength ? grown : kMaxLength;
    }
    reserve(static_cast<long>(want));
    length = static_cast<long>(newLength);
    std::memmove(text + s + n, text + e, tail);
    if (n)
        std::memcpy(text + s, source, n);
    text[newLength] = 0;
    BAlloc::free(scratch);
}

_AString* AString::newBody(long line) {
    _AString* body = CheckAlloc(new _AString, "bstring", line);
    body->refs = 1;
    return body;
}

AString::AString() : body_(newBody(187)) {
    body_->initFromCString(nullptr);
}

AString::AString(const char* s) : body_(newBody(187)) {
    body_->initFromCString(s);
}

AString::AString(const char* p, long len) : body_(newBody(194)) {
    body_->initFromBuffer(p, len);
}

AString::AString(const AStringInterval& iv) : body_(newBody(201)) {
    try {
        body_->initFromCString(nullptr);
        // Only here is the source's length known: the edit cannot check it.
        if (iv.start < 0 || iv.end > iv.string->length())
            ThrowBadInterval();
        body_->replaceInterval(0, 0, iv.string->c_str(), iv.start, iv.end);
    } catch (...) {
        delete body_;
        throw;
    }
}

AString::AString(long number) : body_(newBody(211)) {
    char digits[24];
    snprintf(digits, sizeof digits, "%ld", number);
    body_->initFromCString(digits);
}

AString::AString(const AString& other) : body_(other.body_) {
    ++body_->refs;
}

AString& AString::operator=(const AString& other) {
    if (body_ != other.body_) {
        ++other.body_->refs;
        release();
        body_ = other.body_;
    }
    return *this;
}

AString::~AString() {
    release();
}

void AString::release() {
    if (--body_->refs <= 0)
        delete body_;
}

bool AString::makeUnique(bool copyText) {
    if (body_->refs <= 1)
        return false;
    _AString* fresh = newBody(copyText ? 228 : 230);
    if (copyText)
        fresh->initCopy(*body_);
    else
        fresh->initFromCString(nullptr);
    fresh->refs = 1;
    --body_->refs;
    body_ = fresh;
    return true;
}

void AString::replaceInterval(long start, long end, const char* source, long sourceStart, long sourceEnd) {
    makeUnique(true);
    body_->replaceInterval(start, end, source, sourceStart, sourceEnd);
}

AString& AString::append(const char* s, long len) {
    replaceInterval(length(), length(), s, 0, len);
    return *this;
}

AString& AString::operator+=(const char* s) {
    return s ? append(s, static_cast<long>(std::strlen(s))) : *this;
}

AString& AString::operator+=(const AString& s) {
    AString keep(s);  // appending a string to itself
    return append(keep.c_str(), keep.length());
}

AString& AString::operator+=(char c) {
    return append(&c, 1);
}

void AString::setLength(long len) {
    makeUnique(true);
    if (len < 0)
        len = 0;
    body_->reserve(len);
    if (len > body_->length)
        std::memset(body_->text + body_->length, 0, len - body_->length);
    body_->length = len;
    body_->text[len] = 0;
}

long AString::toLong() const {
    return std::atol(c_str());
}

namespace {

// A scratch copy of s with room for extra bytes, edited in place, made into a string.
template <class Edit>
AString EditedCopy(const AString& s, size_t extra, long line, Edit edit) {
    char* scratch = static_cast<char*>(CheckAlloc(NewBlock(s.length() + extra + 1, "bstring", line), "bstring", line));
    std::memcpy(scratch, s.c_str(), s.length() + 1);
    edit(scratch);
    AString result(scratch);
    BAlloc::free(scratch);
    return result;
}

}  // namespace

AString AString::withoutChars(const char* set) const {
    return EditedCopy(*this, 0, 291, [set](char* t) { RemoveChars(t, set); });
}

AString AString::withCollapsedChars(const char* set) const {
    return EditedCopy(*this, 0, 301, [set](char* t) { CollapseChars(t, set); });
}

AString AString::trimmed(const char* set) const {
    return EditedCopy(*this, 0, 311, [set](char* t) { TrimChars(t, set); });
}

AString AString::withExtension(const char* extension, bool appendIt) const {
    size_t extra = std::strlen(extension) + 2;
    return EditedCopy(*this, extra, 281, [extension, appendIt](char* t) { SetFileExtension(t, extension, appendIt); });
}

AString AString::replacingChars(const char* set, char replacement, bool collapse) const {
    AString result;
    bool afterReplaced = false;
    for (long i = 0; i < length(); ++i) {
        char c = body_->text[i];
        bool member = c && std::strchr(set, c);
        if (!member) {
            result += c;
            afterReplaced = false;
            continue;
        }
        if (!(collapse && afterReplaced) && replacement)
            result += replacement;
        afterReplaced = true;
    }
    return result;
}

AString AString::replacingChar(char c, char replacement) const {
    char set[2] = {c, 0};
    return replacingChars(set, replacement, false);
}

bool AString::operator==(const AString& other) const {
    return length() == other.length() && std::memcmp(c_str(), other.c_str(), length()) == 0;
}

bool AString::operator==(const char* s) const {
    return s && std::strcmp(c_str(), s) == 0;
}

void DeleteStringAndNull(AString** var) {
    AString* s = *var;
    if (!s)
        return;
    *var = nullptr;
    delete s;
}

AString EscapeChars(const char* text, const char* set) {
    std::string out;
    for (const char* p = text ? text : ""; *p; ++p) {
        if (set && std::strchr(set, *p))
            out += '\\';
        out += *p;
    }
    return AString(out.c_str());
}
