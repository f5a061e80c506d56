// A typed view of the long-keyed dictionary, for the stores' dictionaries of
// dossiers, notes and marker sets.
#pragma once

#include "base/object/ALongDic.h"

// Key -> T* (not owned by the dictionary).
template <class T>
class ATypedLongDic : public ALongDic {
public:
    T* at(long key) const {
        Pix p = seek(key);
        return p ? static_cast<T*>(contentsOf(p)) : nullptr;
    }
    T* valueOf(Pix p) const { return static_cast<T*>(contentsOf(p)); }
};
