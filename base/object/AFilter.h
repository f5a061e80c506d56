// The object layer's handle of a compiled character filter. Every AFilter
// holding a filter owns one reference to it; the empty filter (null handle)
// maps nothing. Loading failures leave a null handle and answer null.
#pragma once

#include "base/object/AString.h"

class AFileSpec;

#include <cstdint>

struct KY_Filter;

class AFilter {
public:
    AFilter() : handle_(nullptr) {}
    // Shares a loaded filter (takes one more reference).
    explicit AFilter(KY_Filter* handle);
    // Loads a compiled ".flt" file (see load).
    explicit AFilter(const AFileSpec& spec);
    AFilter(const AFilter& other);
    AFilter& operator=(const AFilter& other);
    virtual ~AFilter();

    // Nothing when the file does not exist; otherwise drops the current filter
    // and reads the file: a compiled ".flt" file, or with compile a filter
    // description. Answers the new handle (not owned), null on failure.
    KY_Filter* load(const AFileSpec& spec, bool compile);
    // Drops the current filter and takes one mapping every byte to itself.
    void makeIdentity();
    // A new string: text (length < 0: up to its terminator) mapped through the filter.
    AString apply(const char* text, long length) const;
    // Maps s in place; the mapping may shorten it.
    void applyInPlace(AString& s) const;
    // The 256 base codes; null for the empty filter.
    const int16_t* table() const;
    // True when the filter leaves every byte as it is (then streams do not install it).
    bool isPassThrough() const;
    KY_Filter* handle() const { return handle_; }

    // The process-wide empty filter, the default of streams.
    static const AFilter& emptyFilter();

private:
    void share(KY_Filter* handle);
    void releaseHandle();

    KY_Filter* handle_;  // one reference owned; null for the empty filter
};
