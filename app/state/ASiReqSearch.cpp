// The quick-search field's recent queries.
#include "app/state/ASiReqSearch.h"

#include "base/procedural/AError.h"

void ASiReqSearch::add(const char* text) {
    long n = fRequests.count();
    if (fMaxRequests > 0 && n == fMaxRequests) {
        remove(0);
        fRequests.setString(n - 1, text ? text : "");
        return;
    }
    fRequests.setString(n, text ? text : "");
}

void ASiReqSearch::remove(int16_t position) {
    long n = fRequests.count();
    if (position < 0 || position >= n)
        ThrowAssert("appdata", 20);
    for (long i = position; i + 1 < n; ++i)
        fRequests.setString(i, fRequests.getString(i + 1).c_str());
    fRequests.setString(n - 1, "");
}
