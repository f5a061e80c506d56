// Occurrence list operations: and (with proximity windows), or, except.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <vector>

#include "search/engine/lists/LoInternal.h"

namespace {

int BeginOp(LoDesc* a, LoDesc* b, LoDesc* r, uint32_t unitByte) {
    if (LoScoreMode) {
        bool both = (a->flags & b->flags & kLoScored) != 0;
        bool eachRanked = ((a->flags & kLoScored) || a->unitMask) && ((b->flags & kLoScored) || b->unitMask);
        if (both && (unitByte & kLoScored))
            unitByte = kLoScored;
        else if (!((unitByte == 0 || unitByte == kLoScored) && eachRanked))
            unitByte &= ~static_cast<uint32_t>(kLoScored);
    }
    int32_t weight = a->weight == b->weight && unitByte == kLoScored ? a->weight : 1;
    int code = LoInitDesc(r, kLoVector | kLoReadable | kLoWritable, nullptr, unitByte, 0, 0, weight);
    if (!code && (code = Lo_Rewind(a)) == 0 && (code = Lo_Rewind(b)) == 0 && (code = Lo_Rewind(r)) == 0 &&
        (code = Lo_FirstOcc(b)) == 0)
        code = Lo_FirstOcc(a);
    return code;
}

int EndOp(LoDesc* a, LoDesc* b, LoDesc* r) {
    LoPackage& p = LoPkg();
    Lo_Close(b);
    Lo_Close(a);
    int code = Lo_WriteOcc(r, -1, 0);
    if (a->weight == b->weight)
        r->weight = b->weight;
    Lo_Close(r);
    bool vector = (r->flags & kLoVector) != 0;
    LoReleaseDesc(a);
    *a = *r;
    if (vector)
        p.owner = a;
    return code;
}

// Ends an operation whose loop failed: the result is kept, the code returned.
int Abandon(LoDesc* a, LoDesc* b, LoDesc* r, int code) {
    EndOp(a, b, r);
    return code;
}

// A sequential list's documents as bits, as many bytes as its last one needs;
// the list is left closed.
int DocumentBits(LoDesc* s, std::vector<uint8_t>* bits) {
    bits->clear();
    int code = Lo_Rewind(s);
    if (!code)
        code = Lo_FirstOcc(s);
    while (!code && s->doc != -1) {
        if (s->doc >= 0) {
            size_t byte = static_cast<size_t>(s->doc) >> 3;
            if (byte >= bits->size())
                bits->resize(std::max(byte + 1, bits->size() * 2), 0);
            LoSetBit(s->doc, bits->data(), 1);
        }
        code = LoNextOcc(s);
    }
    Lo_Close(s);
    return code;
}

// A sequential operand's documents as vector bytes.
int Documents(LoDesc* s, std::vector<uint8_t>* bytes) {
    int code = DocumentBits(s, bytes);
    bytes->resize(LoPkg().vecBytes, 0);
    return code;
}

// Appends to out each of of[0..n) (of: rising when from and to are given as
// 32-bit values) with a partner in sorted[0..m) (rising) within the window
// [at(v) + from, at(v) + to].
// The windows' lower ends mostly rise: the bound found for one is where the
// search for the next starts, a few steps on, rather than a binary search over
// the whole document each time.
template <typename Value, typename Sorted, typename At>
void Partners(const int32_t* of, size_t n, const Sorted* sorted, size_t m, Value from, Value to, At at,
              std::vector<int32_t>* out) {
    size_t i = 0;
    Value last = 0;
    for (size_t k = 0; k < n; ++k) {
        Value lo = Value(at(of[k])) + from, hi = Value(at(of[k])) + to;
        if (k && lo < last)
            i = 0;
        last = lo;
        for (int steps = 0; i < m && sorted[i] < lo; ++i)
            if (++steps == 8) {
                i = static_cast<size_t>(std::lower_bound(sorted + i, sorted + m, lo) - sorted);
                break;
            }
        if (i < m && sorted[i] <= hi)
            out->push_back(of[k]);
    }
}

// Positions and window ends that fit 32 bits are compared as such: 64-bit
// compares cost a 32-bit processor two and a branch.
bool Narrow(int32_t lastA, int32_t lastB) {
    const LoPackage& p = LoPkg();
    const int64_t reach = std::max({std::abs(int64_t(p.before)), std::abs(int64_t(p.after))});
    return reach <= INT32_MAX && lastA <= INT32_MAX - reach && lastB <= INT32_MAX - reach;
}

// Merges the two rising runs of pending, before and from `from`.
void MergeRuns(std::vector<int32_t>* pending, size_t from, std::vector<int32_t>* merged) {
    if (!from || from >= pending->size())
        return;
    merged->clear();
    std::merge(pending->begin(), pending->begin() + static_cast<long>(from), pending->begin() + static_cast<long>(from),
               pending->end(), std::back_inserter(*merged));
    pending->swap(*merged);
}

// The positions of one document's elements of either list (rising, none
// negative, each its own mask) that the window pairs, in order, to pending.
void OwnPartners(const int32_t* ra, size_t na, const int32_t* rb, size_t nb, std::vector<int32_t>* pending,
                 std::vector<int32_t>* merged) {
    const LoPackage& p = LoPkg();
    auto same = [](int32_t v) { return v; };
    const bool narrow = Narrow(na ? ra[na - 1] : 0, nb ? rb[nb - 1] : 0);
    if (narrow)
        Partners(ra, na, rb, nb, p.after, p.before, same, pending);
    else
        Partners(ra, na, rb, nb, int64_t(p.after), int64_t(p.before), same, pending);
    size_t fromA = pending->size();
    if (narrow)
        Partners(rb, nb, ra, na, -p.before, -p.after, same, pending);
    else
        Partners(rb, nb, ra, na, -int64_t(p.before), -int64_t(p.after), same, pending);
    // Each list's partners come in its order: two runs to merge, not to sort.
    MergeRuns(pending, fromA, merged);
}

int Finish(LoHandle keep, LoHandle drop, LoHandle* result) {
    LoFree(&drop);
    *result = keep;
    return 0;
}

int AndSequential(LoDesc* a, LoDesc* b, int mode) {
    LoPackage& p = LoPkg();
    LoDesc r;
    int code = BeginOp(a, b, &r, static_cast<uint32_t>(mode) & 0xFF);
    if (code)
        return Abandon(a, b, &r, code);
    uint32_t m = a->unitMask & b->unitMask;
    if (LoScoreMode && !(mode & ~0x180))
        m = 0;
    const bool scores = LoScoreMode && (a->flags & b->flags & kLoScored);
    // Matches of a proximity window can come out of position order: they are
    // gathered per document and written sorted, as the stream's deltas need.
    std::vector<int32_t> pending, merged, ra, rb;
    std::vector<int64_t> ma, mb;
    int32_t pendingDoc = -1;
    auto flush = [&]() {
        if (!std::is_sorted(pending.begin(), pending.end()))
            std::sort(pending.begin(), pending.end());
        pending.erase(std::unique(pending.begin(), pending.end()), pending.end());
        int c = 0;
        for (size_t i = 0; !c && i < pending.size(); ++i)
            c = Lo_WriteOcc(&r, pendingDoc, pending[i]);
        pending.clear();
        return c;
    };
    while (!code && a->doc != -1 && b->doc != -1) {
        if (a->doc < b->doc) {
            code = LoNextOcc(a);
        } else if (a->doc > b->doc) {
            code = LoNextOcc(b);
        } else if (!m) {
            code = Lo_WriteOcc(&r, b->doc, b->pos);
            if (scores) {
                r.hits = a->hits + b->hits;
                r.firstPos = std::min(a->firstPos, b->firstPos);
            }
            if (!code && (code = LoNextOcc(a)) == 0)
                code = LoNextOcc(b);
        } else {
            // Every element of either list with a partner in the window [pa + after,
            // pa + before] is kept, not only the first pair found: a chain of windows
            // (a phrase "a b c" read as words) needs the partners of each word.
            int32_t doc = a->doc;
            ra.clear();
            rb.clear();
            while (!code && a->doc == doc) {
                ra.push_back(a->pos);
                code = LoNextOcc(a);
            }
            while (!code && b->doc == doc) {
                rb.push_back(b->pos);
                code = LoNextOcc(b);
            }
            // Positions come in order; below 2^31 and under a mask of all their
            // bits (words) they are their own masks and need no copy.
            const bool ordered = std::is_sorted(ra.begin(), ra.end()) && std::is_sorted(rb.begin(), rb.end());
            const bool own = ordered && (m | 0x80000000u) == 0xFFFFFFFFu && (ra.empty() || ra.front() >= 0) &&
                             (rb.empty() || rb.front() >= 0);
            // The buffers live across documents: making them for each one cost
            // a tenth of a phrase's run on the sample encyclopedia.
            auto masked = [m](const std::vector<int32_t>& raw, std::vector<int64_t>* out) {
                out->clear();
                for (int32_t v : raw)
                    out->push_back(static_cast<int64_t>(static_cast<uint32_t>(v) & m));
                if (!std::is_sorted(out->begin(), out->end()))
                    std::sort(out->begin(), out->end());
            };
            if (own) {
                OwnPartners(ra.data(), ra.size(), rb.data(), rb.size(), &pending, &merged);
            } else {
                masked(ra, &ma);
                masked(rb, &mb);
                auto at = [m](int32_t v) { return static_cast<int64_t>(static_cast<uint32_t>(v) & m); };
                Partners(ra.data(), ra.size(), mb.data(), mb.size(), int64_t(p.after), int64_t(p.before), at, &pending);
                size_t fromA = pending.size();
                Partners(rb.data(), rb.size(), ma.data(), ma.size(), -int64_t(p.before), -int64_t(p.after), at,
                         &pending);
                if (ordered)
                    MergeRuns(&pending, fromA, &merged);
            }
            pendingDoc = doc;
            if (!code)
                code = flush();
        }
    }
    if (!code)
        code = flush();
    if (code)
        return Abandon(a, b, &r, code);
    return EndOp(a, b, &r);
}

// Writes the current element of s to r, passing its score.
int Pass(LoDesc* s, LoDesc* r, bool firstPos) {
    int code = Lo_WriteOcc(r, s->doc, s->pos);
    if (LoScoreMode && (s->flags & r->flags & kLoScored)) {
        r->hits = s->hits;
        if (firstPos)
            r->firstPos = s->firstPos;
    }
    return code;
}

}  // namespace

void LoSetProximity(int mode, int32_t distance) {
    LoPackage& p = LoPkg();
    p.before = p.after = 0;
    if (mode & 1) {
        p.before = distance;
        if (mode & 16)
            p.after = distance;
        if ((mode & 15) == 1) {
            int shift = LoFirstNonZeroByte(p.masks[0]);
            if (shift > 0)
                p.before = static_cast<int32_t>(static_cast<uint32_t>(p.before) << shift);
        }
    }
    if (!(mode & 16))
        p.after = -p.before;
}

int LoAnd(LoHandle a, LoHandle b, LoHandle* result, int mode) {
    if (a == -1 || b == -1) {
        LoHandle other = a == -1 ? b : a;
        if (other != -1)
            LoFree(&other);
        *result = -1;
        return 0;
    }
    LoDesc* da = LoDescOf(a);
    LoDesc* db = LoDescOf(b);
    if (!da || !db)
        return kLoErrHandle;
    if (!(da->flags & kLoVector) && !(db->flags & kLoVector)) {
        int code = AndSequential(da, db, mode & ~0x100);
        if (code)
            return code;
        return Finish(a, b, result);
    }
    LoPackage& p = LoPkg();
    bool aVector = (da->flags & kLoVector) != 0;
    LoDesc* s = aVector ? db : da;
    std::vector<uint8_t> bytes;
    int code = Documents(s, &bytes);
    if (code)
        return code;
    for (int i = p.vecLow; i < p.vecHigh; ++i)
        p.vector[i] &= bytes[i];
    LoDescOf(aVector ? a : b)->count = LoCount();
    return aVector ? Finish(a, b, result) : Finish(b, a, result);
}

int LoDocumentBits(LoHandle h, std::vector<uint8_t>* bits) {
    LoDesc* d = LoDescOf(h);
    if (!d)
        return kLoErrHandle;
    LoPackage& p = LoPkg();
    if (d->flags & kLoVector) {
        bits->assign(p.vector, p.vector + p.vecBytes);
        return 0;
    }
    return DocumentBits(d, bits);
}

int LoOr(LoHandle a, LoHandle b, LoHandle* result) {
    if (a == -1 || b == -1) {
        *result = a == -1 ? b : a;
        return 0;
    }
    LoDesc* da = LoDescOf(a);
    LoDesc* db = LoDescOf(b);
    if (!da || !db)
        return kLoErrHandle;
    if ((da->flags & kLoVector) || (db->flags & kLoVector)) {
        bool aVector = (da->flags & kLoVector) != 0;
        LoDesc* v = aVector ? da : db;
        LoDesc* s = aVector ? db : da;
        int code = Lo_Rewind(s);
        if (!code)
            code = Lo_FirstOcc(s);
        while (!code && s->doc != -1) {
            code = Lo_WriteOcc(v, s->doc, 0);
            if (!code)
                code = LoNextOcc(s);
        }
        Lo_Close(s);
        if (code)
            return code;
        return aVector ? Finish(a, b, result) : Finish(b, a, result);
    }
    LoDesc r;
    int code = BeginOp(da, db, &r, static_cast<uint32_t>(LoCurrentUnitByte));
    uint32_t m = da->unitMask & db->unitMask;
    while (!code && da->doc != -1 && db->doc != -1) {
        int64_t ka = (static_cast<int64_t>(da->doc) << 32) | (da->pos & m);
        int64_t kb = (static_cast<int64_t>(db->doc) << 32) | (db->pos & m);
        if (ka < kb) {
            if ((code = Pass(da, &r, true)) == 0)
                code = LoNextOcc(da);
        } else if (kb < ka) {
            if ((code = Pass(db, &r, true)) == 0)
                code = LoNextOcc(db);
        } else {
            code = Lo_WriteOcc(&r, da->doc, da->pos);
            if (LoScoreMode && (da->flags & db->flags & r.flags & kLoScored)) {
                r.hits = da->hits + db->hits;
                r.firstPos = std::min(da->firstPos, db->firstPos);
            }
            if (!code && (code = LoNextOcc(da)) == 0)
                code = LoNextOcc(db);
        }
    }
    for (LoDesc* rest : {da, db})
        while (!code && rest->doc != -1)
            if ((code = Pass(rest, &r, false)) == 0)
                code = LoNextOcc(rest);
    if (code)
        return Abandon(da, db, &r, code);
    if ((code = EndOp(da, db, &r)) != 0)
        return code;
    return Finish(a, b, result);
}

int LoExcept(LoHandle a, LoHandle b, LoHandle* result, int mode) {
    if (a == -1) {
        if (b != -1)
            LoFree(&b);
        *result = -1;
        return 0;
    }
    if (b == -1) {
        *result = a;
        return 0;
    }
    LoDesc* da = LoDescOf(a);
    LoDesc* db = LoDescOf(b);
    if (!da || !db)
        return kLoErrHandle;
    LoPackage& p = LoPkg();
    if (da->flags & kLoVector) {
        int code = Lo_Rewind(db);
        if (!code)
            code = Lo_FirstOcc(db);
        while (!code && db->doc != -1) {
            if ((db->doc >> 3) < p.vecBytes && LoTestBit(db->doc, p.vector)) {
                LoSetBit(db->doc, p.vector, 0);
                --da->count;
            }
            code = LoNextOcc(db);
        }
        Lo_Close(db);
        return code ? code : Finish(a, b, result);
    }
    if (db->flags & kLoVector) {
        for (int i = 0; i < p.vecBytes; ++i)
            p.vector[i] = static_cast<uint8_t>(~p.vector[i]);
        p.vecLow = 0;
        p.vecHigh = p.vecBytes;
        return LoAnd(a, b, result, 0);
    }
    LoDesc r;
    int code = BeginOp(da, db, &r, LoScoreMode && (mode & kLoScored) ? static_cast<uint32_t>(kLoScored) : 0u);
    while (!code && da->doc != -1 && db->doc != -1) {
        if (da->doc < db->doc) {
            code = Pass(da, &r, true);
            if (!code && (r.flags & kLoScored) && r.hits == 0)
                r.hits = 1;
            if (!code)
                code = LoNextOcc(da);
        } else if (da->doc == db->doc) {
            code = LoNextOcc(da);
        } else {
            code = LoNextOcc(db);
        }
    }
    while (!code && da->doc != -1)
        if ((code = Pass(da, &r, true)) == 0)
            code = LoNextOcc(da);
    if (code)
        return Abandon(da, db, &r, code);
    if ((code = EndOp(da, db, &r)) != 0)
        return code;
    return Finish(a, b, result);
}

namespace {

// A result made from lists held in memory begins as BeginOp begins a list
// operator's result (with the same calls)...
int BeginResult(uint32_t unitCode, LoHandle* h) {
    int code = LoCreate(kLoVector | kLoReadable | kLoWritable, nullptr, unitCode, 0, 0, h, 1);
    if (!code && (code = Lo_Rewind(LoDescOf(*h))) != 0)
        LoFree(h);
    return code;
}

// ...and ends as EndOp ends it: the list, or the code with the list freed.
int EndResult(LoHandle h, int code, LoHandle* result) {
    LoDesc* r = LoDescOf(h);
    int end = Lo_WriteOcc(r, -1, 0);
    Lo_Close(r);
    if (!code)
        code = end;
    if (code) {
        LoFree(&h);
        return code;
    }
    *result = h;
    return 0;
}

}  // namespace

bool LoOrDocumentsApplies() {
    return !LoScoreMode && LoCurrentUnitByte == 0;
}

int LoOrDocuments(const LoOccurrences& a, const LoOccurrences& b, LoHandle* result) {
    *result = -1;
    // The list LoOr makes, with what it writes to it in its order.
    LoHandle h = -1;
    int code = BeginResult(0, &h);
    if (code)
        return code;
    LoDesc* r = LoDescOf(h);
    std::vector<int32_t> both;
    both.reserve(a.docs.size() + b.docs.size());
    std::set_union(a.docs.begin(), a.docs.end(), b.docs.begin(), b.docs.end(), std::back_inserter(both));
    code = Lo_WriteDocuments(r, both.data(), both.size());
    return EndResult(h, code, result);
}

bool LoExceptDocumentsApplies() {
    return !LoScoreMode;
}

int LoExceptDocuments(const LoOccurrences& a, const LoOccurrences& b, LoHandle* result) {
    *result = -1;
    // The list LoExcept makes, with what it writes to it in its order.
    LoHandle h = -1;
    int code = BeginResult(0, &h);
    if (code)
        return code;
    std::vector<int32_t> kept;
    kept.reserve(a.docs.size());
    std::set_difference(a.docs.begin(), a.docs.end(), b.docs.begin(), b.docs.end(), std::back_inserter(kept));
    code = Lo_WriteDocuments(LoDescOf(h), kept.data(), kept.size());
    return EndResult(h, code, result);
}

bool LoAndOccurrencesApplies(uint32_t unitCode) {
    LoDesc probe;
    if (LoScoreMode || LoInitDesc(&probe, kLoReadable, nullptr, unitCode & 0xFF, 0, 0, 0))
        return false;
    return !probe.units || (probe.unitMask | 0x80000000u) == 0xFFFFFFFFu;
}

int LoAndOccurrences(const LoOccurrences& a, const LoOccurrences& b, int mode, LoHandle* result) {
    *result = -1;
    // The list AndSequential makes, with the calls it makes to it.
    LoHandle h = -1;
    int code = BeginResult(static_cast<uint32_t>(mode) & 0xFF, &h);
    if (code)
        return code;
    LoDesc* r = LoDescOf(h);
    if (!r->units) {
        // A document an element: those of both, at position 0.
        std::vector<int32_t> both;
        std::set_intersection(a.docs.begin(), a.docs.end(), b.docs.begin(), b.docs.end(), std::back_inserter(both));
        return EndResult(h, Lo_WriteDocuments(r, both.data(), both.size()), result);
    }
    std::vector<int32_t> pending, merged, docs;
    const int32_t *docsA = a.docs.data(), *docsB = b.docs.data();
    const size_t na = a.docs.size(), nb = b.docs.size();
    size_t i = 0, j = 0;
    while (!code && i < na && j < nb) {
        if (docsA[i] < docsB[j]) {
            ++i;
        } else if (docsA[i] > docsB[j]) {
            ++j;
        } else {
            const int32_t doc = docsA[i];
            size_t endA = i, endB = j;
            while (endA < na && docsA[endA] == doc)
                ++endA;
            while (endB < nb && docsB[endB] == doc)
                ++endB;
            OwnPartners(a.positions.data() + i, endA - i, b.positions.data() + j, endB - j, &pending, &merged);
            pending.erase(std::unique(pending.begin(), pending.end()), pending.end());
            // By runs, the element a run stops at by the general path.
            const int n = static_cast<int>(pending.size());
            docs.assign(pending.size(), doc);
            for (int k = 0; !code && k < n;) {
                k += LoWriteWholeRun(r, docs.data() + k, pending.data() + k, n - k, true);
                if (k < n)
                    code = Lo_WriteOcc(r, doc, pending[k++]);
            }
            pending.clear();
            i = endA;
            j = endB;
        }
    }
    return EndResult(h, code, result);
}
