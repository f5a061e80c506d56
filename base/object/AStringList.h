// A text split into items at separator characters, indexed by a 16-bit
// number; an index outside the list gives a shared empty string.
//
// Reference counted (ARefObj). Optionally the text is first cleaned of the
// two-character slash codes of the document markup, "/$" becoming a
// substitution text. A null text is an assertion ("bstrutil").
#pragma once

#include "base/object/ARefObj.h"
#include "base/object/AString.h"

class AStringList : public ARefObj {
public:
    AStringList(const char* text, char separator, bool filter = false, const char* substitution = "");
    // Any character of separators separates.
    AStringList(const char* text, const char* separators, bool filter = false, const char* substitution = "");
    ~AStringList() override;

    short count() const { return count_; }
    // The item, or the shared empty string (never written to) out of range.
    const char* at(short index) const;
    long lengthAt(short index) const;

private:
    void setText(const char* text);
    void build();

    short count_;
    AString text_;      // own copy; separators overwritten with NULs
    char** items_;      // owned array of count + 1 pointers into text_
    AString separators_;
    bool filter_;
    AString substitution_;
};

// Clears the variable first, then frees the array it held.
template <class T>
void DeleteAndNullArray(T*& var) {
    T* p = var;
    var = nullptr;
    delete[] p;
}
