// Ranges of codes that stand for a base code: a code fired inside a range is
// looked up under the range's base code.
#pragma once

#include <cstdint>
#include <vector>

class AIdRangeList {
public:
    void add(int16_t base, int16_t first, uint16_t count) { entries_.push_back({base, first, count}); }
    // Drops the ranges filed under base.
    void removeBase(int16_t base);
    // True and the base of the first range holding id; false when none does.
    bool lookup(int16_t id, int16_t& base) const;
    void clear() { entries_.clear(); }
    bool empty() const { return entries_.empty(); }

private:
    struct Entry {
        int16_t base;
        int16_t first;
        uint16_t count;
    };
    std::vector<Entry> entries_;
};
