// Prints the time per operation of the long-keyed map against std::map and of
// AString copy and append against std::string, on the same data.
#include "base/object/ALongDic.h"
#include "base/object/AString.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double NsPer(Clock::time_point start, long ops) {
    return std::chrono::duration<double, std::nano>(Clock::now() - start).count() / ops;
}

std::vector<long> Keys(long n) {
    std::vector<long> keys(n);
    uint32_t seed = 2463534242u;
    for (long& k : keys) {
        seed ^= seed << 13;
        seed ^= seed >> 17;
        seed ^= seed << 5;
        k = static_cast<long>(seed);
    }
    return keys;
}

void Row(const char* what, long n, double ours, double theirs) {
    std::printf("%-22s %8ld %10.1f ns %10.1f ns %7.2f\n", what, n, ours, theirs, ours / theirs);
}

volatile long g_sink;

void Maps(long n) {
    std::vector<long> keys = Keys(n);
    longa_pvoidAVLMap ours;
    std::map<long, void*> theirs;

    auto t = Clock::now();
    for (long k : keys)
        ours.slot(k) = &ours;
    double oursInsert = NsPer(t, n);
    t = Clock::now();
    for (long k : keys)
        theirs[k] = &theirs;
    double theirsInsert = NsPer(t, n);
    Row("map insert", n, oursInsert, theirsInsert);

    long hits = 0;
    t = Clock::now();
    for (long k : keys)
        hits += ours.seek(k) != nullptr;
    double oursFind = NsPer(t, n);
    t = Clock::now();
    for (long k : keys)
        hits += theirs.find(k) != theirs.end();
    double theirsFind = NsPer(t, n);
    g_sink = hits;
    Row("map find", n, oursFind, theirsFind);

    t = Clock::now();
    long sum = 0;
    for (Pix p = ours.first(); p; ours.next(p))
        sum += ours.keyOf(p);
    double oursWalk = NsPer(t, ours.count());
    t = Clock::now();
    for (const auto& kv : theirs)
        sum += kv.first;
    double theirsWalk = NsPer(t, static_cast<long>(theirs.size()));
    g_sink = sum;
    Row("map walk", n, oursWalk, theirsWalk);

    t = Clock::now();
    for (long k : keys)
        ours.del(k);
    double oursDel = NsPer(t, n);
    t = Clock::now();
    for (long k : keys)
        theirs.erase(k);
    double theirsDel = NsPer(t, n);
    Row("map delete", n, oursDel, theirsDel);

    // In insertion order std::map frees its nodes in allocation order and its
    // survivors stay packed; ours moves a predecessor's entry into the deleted
    // key's node, so its survivors spread. A shuffled order compares the trees.
    std::vector<long> shuffled = keys;
    uint32_t seed = 12345;
    for (long i = n - 1; i > 0; --i) {
        seed = seed * 1664525u + 1013904223u;
        std::swap(shuffled[i], shuffled[seed % static_cast<uint32_t>(i + 1)]);
    }
    for (long k : keys)
        ours.slot(k) = &ours;
    for (long k : keys)
        theirs[k] = &theirs;
    t = Clock::now();
    for (long k : shuffled)
        ours.del(k);
    oursDel = NsPer(t, n);
    t = Clock::now();
    for (long k : shuffled)
        theirs.erase(k);
    theirsDel = NsPer(t, n);
    Row("map delete shuffled", n, oursDel, theirsDel);
}

void Strings(long n) {
    const char* word = "encyclopedie";
    AString a("Savantorium: un article de l'encyclopedie");
    std::string s("Savantorium: un article de l'encyclopedie");

    auto t = Clock::now();
    long len = 0;
    for (long i = 0; i < n; ++i) {
        AString copy(a);
        len += copy.length();
    }
    double oursCopy = NsPer(t, n);
    t = Clock::now();
    for (long i = 0; i < n; ++i) {
        std::string copy(s);
        len += static_cast<long>(copy.length());
    }
    double theirsCopy = NsPer(t, n);
    Row("string copy", n, oursCopy, theirsCopy);

    // Texts of up to 1000 words (12 KB): growth is exact, so every append reallocates.
    t = Clock::now();
    AString grown;
    for (long i = 0; i < n; ++i) {
        if (i % 1000 == 0)
            grown = AString();
        grown += word;
    }
    double oursAppend = NsPer(t, n);
    t = Clock::now();
    std::string grownStd;
    for (long i = 0; i < n; ++i) {
        if (i % 1000 == 0)
            grownStd = std::string();
        grownStd += word;
    }
    double theirsAppend = NsPer(t, n);
    len += grown.length() + static_cast<long>(grownStd.length());
    Row("string append 12K", n, oursAppend, theirsAppend);

    t = Clock::now();
    for (long i = 0; i < n; ++i) {
        AString copy(a);
        copy += word;
        len += copy.length();
    }
    double oursCopyAppend = NsPer(t, n);
    t = Clock::now();
    for (long i = 0; i < n; ++i) {
        std::string copy(s);
        copy += word;
        len += static_cast<long>(copy.length());
    }
    double theirsCopyAppend = NsPer(t, n);
    g_sink = len;
    Row("string copy+append", n, oursCopyAppend, theirsCopyAppend);
}

}  // namespace

// One text of n words: the cost of exact growth shows as a quadratic total.
void LongAppend(long n) {
    const char* word = "encyclopedie";
    auto t = Clock::now();
    AString grown;
    for (long i = 0; i < n; ++i)
        grown += word;
    double ours = NsPer(t, n);
    t = Clock::now();
    std::string grownStd;
    for (long i = 0; i < n; ++i)
        grownStd += word;
    double theirs = NsPer(t, n);
    g_sink = grown.length() + static_cast<long>(grownStd.length());
    Row("string append 1 text", n, ours, theirs);
}

int main() {
    std::printf("%-22s %8s %13s %13s %7s\n", "operation", "n", "ours/op", "std/op", "ratio");
    for (long n : {100000L, 1000000L}) {
        Maps(n);
        Strings(n);
    }
    LongAppend(20000);
    return 0;
}
