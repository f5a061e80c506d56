// A name table: (name, value) pairs kept sorted by name in one growing array.
//
// Names are the table's own heap copies; values are not owned unless the
// caller asks for freeValues. Filled once, then searched.
#pragma once

#include <cstddef>

class ADict {
public:
    struct Entry {
        char* name;   // owned
        void* value;  // not owned
    };
    struct Pair {
        const char* name;
        void* value;
    };

    // pairs: an array ended by a null name, or null. caseSensitive selects
    // strcmp, otherwise the C library's case-folding compare.
    ADict(const Pair* pairs, bool caseSensitive);
    ~ADict();
    ADict(const ADict&) = delete;
    ADict& operator=(const ADict&) = delete;

    // 1 when added, 2 when the name was present and its value replaced.
    // Raises AMemError when the table cannot grow.
    int add(const char* name, void* value);
    Entry* contains(const char* name) const;
    void* find(const char* name) const;
    void forEach(void (*function)(Entry* entry, void* argument), void* argument);
    // Frees every value with KY_Free.
    void freeValues();
    long count() const { return count_; }

private:
    Entry* entries_;  // owned
    long count_;
    int (*compare_)(const void*, const void*);
};
