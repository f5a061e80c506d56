// The last queries the reader typed in the quick-search field, oldest first,
// up to a capacity ("MAXSIREQ"; 0 or less: no limit). Owns its texts.
#pragma once

#include <cstdint>

#include "base/object/ALongDic.h"
#include "base/object/AString.h"

class ASiReqSearch {
public:
    explicit ASiReqSearch(int16_t capacity) : fMaxRequests(capacity) {}
    virtual ~ASiReqSearch() = default;
    ASiReqSearch(const ASiReqSearch&) = delete;
    ASiReqSearch& operator=(const ASiReqSearch&) = delete;

    // At capacity the oldest query goes first.
    void add(const char* text);
    // The text at position, empty outside the list.
    AString get(int16_t position) const { return fRequests.getString(position); }
    // Moves the later texts down one place; a position outside is an assertion ("appdata").
    void remove(int16_t position);
    long count() const { return fRequests.count(); }

private:
    AStringLongDic fRequests;  // position -> query
    int16_t fMaxRequests;
};
