// The sorted name table.
#include "base/object/ADict.h"

#include "base/procedural/AError.h"
#include "base/procedural/BAlloc.h"
#include "base/procedural/BSearch.h"

#include <cstring>
#include <strings.h>

namespace {

int CompareExact(const void* a, const void* b) {
    return std::strcmp(static_cast<const ADict::Entry*>(a)->name, static_cast<const ADict::Entry*>(b)->name);
}

int CompareFolded(const void* a, const void* b) {
    return strcasecmp(static_cast<const ADict::Entry*>(a)->name, static_cast<const ADict::Entry*>(b)->name);
}

}  // namespace

ADict::ADict(const Pair* pairs, bool caseSensitive)
    : entries_(nullptr), count_(0), compare_(caseSensitive ? CompareExact : CompareFolded) {
    for (const Pair* p = pairs; p && p->name; ++p)
        add(p->name, p->value);
}

ADict::~ADict() {
    for (long i = 0; i < count_; ++i)
        KY_Free(entries_[i].name);
    KY_Free(entries_);
}

int ADict::add(const char* name, void* value) {
    if (Entry* e = contains(name)) {
        e->value = value;
        return 2;
    }
    size_t len = std::strlen(name) + 1;
    char* copy = static_cast<char*>(CheckAllocAt(KY_Malloc(len), "cdict", 59));
    std::memcpy(copy, name, len);
    Entry* grown = static_cast<Entry*>(KY_Realloc(entries_, (count_ + 1) * sizeof(Entry)));
    if (!grown) {
        KY_Free(copy);
        g_errorMessage[0] = 0;
        ThrowMemError(AMemError("cdict", 65));
    }
    entries_ = grown;
    Entry entry = {copy, value};
    binsert(&entry, entries_, count_, sizeof(Entry), compare_);
    ++count_;
    return 1;
}

ADict::Entry* ADict::contains(const char* name) const {
    Entry key = {const_cast<char*>(name), nullptr};
    return static_cast<Entry*>(bfind(&key, entries_, count_, sizeof(Entry), compare_));
}

void* ADict::find(const char* name) const {
    Entry* e = contains(name);
    return e ? e->value : nullptr;
}

void ADict::forEach(void (*function)(Entry* entry, void* argument), void* argument) {
    for (long i = 0; i < count_; ++i)
        function(&entries_[i], argument);
}

void ADict::freeValues() {
    for (long i = 0; i < count_; ++i) {
        KY_Free(entries_[i].value);
        entries_[i].value = nullptr;
    }
}
