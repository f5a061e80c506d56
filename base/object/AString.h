// The framework's string: one pointer to a shared, reference-counted body,
// copied on write. Every edit goes through _AString::replaceInterval, which
// raises AStringError ("Bad interval") on a bad interval.
//
// Lengths are 32-bit. The reference count is 32-bit so that it cannot wrap;
// the body stays 16 bytes and comes from a fixed-size pool.
#pragma once

#include <cstddef>
#include <cstdint>

class AFixedPool;
class AString;

// Characters [start, end) of a string.
struct AStringInterval {
    const AString* string;
    long start;
    long end;
};

class _AString {
public:
    long length;     // characters before the terminating NUL
    long capacity;   // characters the buffer holds, NUL not counted
    int32_t refs;    // AString objects sharing the body
    char* text;      // owned heap block of capacity + 1 bytes

    static void* operator new(size_t size);
    static void operator delete(void* p);
    static long instanceCount();
    static const AFixedPool* pool() { return pool_; }

    _AString() : length(0), capacity(0), refs(0), text(nullptr) {}
    ~_AString();
    _AString(const _AString&) = delete;
    _AString& operator=(const _AString&) = delete;

    // Fresh buffer of len + 1 bytes; with a source, its len characters are put in.
    void setText(const char* source, long len);
    void initFromCString(const char* s);
    void initFromBuffer(const char* p, long len);
    void initCopy(const _AString& other);
    // Grows (never shrinks) to exactly newCapacity.
    void reserve(long newCapacity);
    // Replaces [start, end) by source[sourceStart, sourceEnd). The source may
    // lie inside this body's own text: the text from before the edit is used.
    void replaceInterval(unsigned long start, unsigned long end, const char* source, unsigned long sourceStart,
                         unsigned long sourceEnd);

private:
    static AFixedPool* pool_;
};

class AString {
public:
    AString();
    AString(const char* s);
    // A null pointer gives len NUL characters.
    AString(const char* p, long len);
    explicit AString(const AStringInterval& interval);
    explicit AString(long number);
    AString(const AString& other);
    AString& operator=(const AString& other);
    ~AString();

    const char* c_str() const { return body_->text; }
    long length() const { return body_->length; }
    bool empty() const { return body_->length == 0; }
    _AString* body() const { return body_; }
    char operator[](long i) const { return body_->text[i]; }

    // Detaches from other holders before a write; answers true when it did.
    bool makeUnique(bool copyText);
    AStringInterval interval(long start, long length) const { return {this, start, start + length}; }

    // Writes: detach, then one replaceInterval.
    void replaceInterval(long start, long end, const char* source, long sourceStart, long sourceEnd);
    AString& append(const char* s, long len);
    AString& operator+=(const char* s);
    AString& operator+=(const AString& s);
    AString& operator+=(char c);
    // Truncates (or pads with NUL) to len characters.
    void setLength(long len);

    long toLong() const;
    AString withoutChars(const char* set) const;
    AString withCollapsedChars(const char* set) const;
    AString trimmed(const char* set) const;
    AString withExtension(const char* extension, bool append) const;
    // Each character of the set becomes replacement (dropped when NUL); with
    // collapse, a run of set characters becomes one replacement.
    AString replacingChars(const char* set, char replacement, bool collapse) const;
    AString replacingChar(char c, char replacement) const;

    bool operator==(const AString& other) const;
    bool operator!=(const AString& other) const { return !(*this == other); }
    bool operator==(const char* s) const;

private:
    explicit AString(_AString* body) : body_(body) {}
    static _AString* newBody(long line);
    void release();

    _AString* body_;  // shared; never null once constructed
};

// Clears the variable, then destroys and frees the string it held.
void DeleteStringAndNull(AString** var);

// A copy of text (null: empty) with a backslash before every character of set (null: none).
AString EscapeChars(const char* text, const char* set);
