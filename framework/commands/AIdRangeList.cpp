// Ranges of codes under a base code.
#include "framework/commands/AIdRangeList.h"

#include <algorithm>

void AIdRangeList::removeBase(int16_t base) {
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(), [base](const Entry& e) { return e.base == base; }),
                   entries_.end());
}

bool AIdRangeList::lookup(int16_t id, int16_t& base) const {
    for (const Entry& e : entries_) {
        // In 32 bits: a range may end past the largest 16-bit code.
        if (id >= e.first && static_cast<long>(id) < static_cast<long>(e.first) + e.count) {
            base = e.base;
            return true;
        }
    }
    return false;
}
