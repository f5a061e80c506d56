// The bindings of an action table by code: every code a binding covers files
// it, one binding per target and code; and, by base code, the range records
// whose codes open bindings take over.
//
// Holds bindings, never owns them. Missing entries are assertions ("fcmdutil").
#pragma once

#include <cstdint>

#include "base/object/ALongDic.h"
#include "base/object/Alist.h"
#include "base/procedural/AError.h"

class AActionBinding;
class AComponent;

class ABindingSet {
public:
    ABindingSet() = default;
    ~ABindingSet();
    ABindingSet(const ABindingSet&) = delete;
    ABindingSet& operator=(const ABindingSet&) = delete;

    void add(int16_t code, AActionBinding* binding);
    void remove(int16_t code, AActionBinding* binding);
    AActionBinding* findForTarget(int16_t code, AComponent* target) const;
    AActionBinding* findActive(int16_t code) const;
    AActionBinding* first(int16_t code) const;
    bool empty() const { return byCode_.empty() && ranges_.empty(); }

    // The range record filed under a base code.
    void addRange(int16_t base, AActionBinding* binding);
    void removeRange(int16_t base);
    AActionBinding* range(int16_t base) const;

private:
    template <class Test>
    AActionBinding* findIf(int16_t code, Test test) const;

    longa_pvoidAVLMap byCode_;  // code -> Alist* of bindings, owned lists
    longa_pvoidAVLMap ranges_;  // base code -> range record
};
