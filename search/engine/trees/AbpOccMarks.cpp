// Restart points in a B+ tree's long occurrence lists.
#include "search/engine/trees/AbpOccMarks.h"

#include <new>

std::vector<AbpOccMark>* AbpOccMarks::of(int32_t offset, int32_t count) {
    try {
        return &lists_[{offset, count}];
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

// Grown as the list is read, never from its count: a damaged count would ask for anything.
bool AbpOccMarks::makeRoom(std::vector<AbpOccMark>* marks, int occurrences) {
    size_t need = marks->size() + static_cast<size_t>(occurrences / kEvery) + 1;
    if (need <= marks->capacity())
        return true;
    try {
        marks->reserve(need + marks->size());
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}
