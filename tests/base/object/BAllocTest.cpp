// The heap: block sizes, dedicated segments, zero-filling and a random workout.
#include "base/procedural/BAlloc.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

unsigned char* Bytes(void* p) {
    return static_cast<unsigned char*>(p);
}

// The first index in [from, to) whose byte is not `fill`, or `to`.
size_t FirstOther(const unsigned char* p, size_t from, size_t to, unsigned char fill = 0) {
    while (from < to && p[from] == fill)
        ++from;
    return from;
}

// Takes every free block that fits a request of n bytes; the request that needs
// a new segment is freed again, and that segment goes back.
void Drain(size_t n, std::vector<void*>* taken) {
    taken->reserve(100000);
    uint32_t segments = BAlloc::segmentCount();
    for (;;) {
        void* p = BAlloc::alloc(1, n);
        ASSERT_NE(nullptr, p);
        if (BAlloc::segmentCount() != segments) {
            BAlloc::free(p);
            break;
        }
        taken->push_back(p);
    }
    ASSERT_EQ(segments, BAlloc::segmentCount());
}

uint32_t g_smallestAsk;
void* RefuseAndRecord(uint32_t bytes) {
    if (bytes < g_smallestAsk)
        g_smallestAsk = bytes;
    return nullptr;
}

}  // namespace

TEST(BAlloc, RequestSizesAndRefusals) {
    EXPECT_EQ(nullptr, BAlloc::alloc(1, 0));
    EXPECT_EQ(nullptr, BAlloc::alloc(0x10000, 0x10000)) << "count x size overflows";
    EXPECT_EQ(nullptr, KY_Calloc(0x80000000u, 4));
    struct Row {
        size_t request;
        uint32_t block;
    }
#if INTPTR_MAX > INT32_MAX
    // The 64-bit build's blocks go by 16 bytes, their user bytes aligned on 16.
    rows[] = {{1, 16}, {12, 16}, {13, 32}, {28, 32}, {29, 48}, {32748, 32752}, {32749, 32768}};
    const uintptr_t alignment = 16;
#else
    rows[] = {{1, 16}, {8, 16}, {9, 24}, {16, 24}, {17, 32}, {32752, 32760}, {32753, 32768}};
    const uintptr_t alignment = 4;
#endif
    for (const Row& r : rows) {
        SCOPED_TRACE(r.request);
        EXPECT_EQ(r.block, BAlloc::blockSizeFor(r.request));
        void* p = BAlloc::alloc(1, r.request);
        ASSERT_NE(nullptr, p);
        EXPECT_LE(r.block - 4, BAlloc::usableSize(p)) << "a remainder under 16 bytes stays with the block";
        EXPECT_EQ(0u, reinterpret_cast<uintptr_t>(p) % alignment);
        BAlloc::free(p);
    }
}

TEST(BAlloc, LargeBlocksOwnTheirSegment) {
    void* keep = BAlloc::alloc(1, 100);  // keeps an ordinary segment alive
    uint32_t base = BAlloc::segmentCount();
#if INTPTR_MAX > INT32_MAX
    const size_t largestOrdinary = 32748, usableOrdinary = 32748;
#else
    const size_t largestOrdinary = 32752, usableOrdinary = 32764;
#endif
    void* big = BAlloc::alloc(1, largestOrdinary + 1);
    EXPECT_EQ(base + 1, BAlloc::segmentCount());
    BAlloc::free(big);
    EXPECT_EQ(base, BAlloc::segmentCount()) << "a dedicated segment goes back at once";

    void* ordinary = BAlloc::alloc(1, largestOrdinary);
    ASSERT_NE(nullptr, ordinary);
    EXPECT_EQ(base + 1, BAlloc::segmentCount());
    EXPECT_EQ(usableOrdinary, BAlloc::usableSize(ordinary)) << "a rest under 16 bytes is not split off";
    BAlloc::free(ordinary);
    EXPECT_EQ(base, BAlloc::segmentCount()) << "an emptied ordinary segment goes back";
    BAlloc::free(keep);
}

TEST(BAlloc, ReusedMemoryIsZeroFilledAndShrinkingKeepsInPlace) {
    unsigned char* p = Bytes(KY_Malloc(40));
    ASSERT_EQ(40u, FirstOther(p, 0, 40));
    std::memset(p, 0xAB, 40);
    KY_Free(p);
    p = Bytes(KY_Malloc(40));  // likely the same block again
    ASSERT_EQ(40u, FirstOther(p, 0, 40)) << "reused memory must be zeroed";
    std::memset(p, 0x5A, 40);
    void* before = p;
    p = Bytes(BAlloc::realloc(p, 16));
    EXPECT_EQ(before, p) << "shrinking never moves";
    EXPECT_EQ(16u, FirstOther(p, 0, 16, 0x5A));
    EXPECT_EQ(nullptr, BAlloc::realloc(p, 0));
    KY_Free(nullptr);
}

// Random allocate/resize/free, each block filled with its own byte: any
// overlap or lost byte shows as a wrong fill; the bytes in use follow the
// live blocks.
TEST(BAlloc, RandomWorkoutKeepsBlocksApart) {
    std::mt19937 rng(12345);
    struct Live {
        unsigned char* p;
        size_t n;
        unsigned char fill;
        bool intact() const { return FirstOther(p, 0, n, fill) == n; }
    };
    std::vector<Live> live;
    uint32_t baseSegments = BAlloc::segmentCount();
    live.reserve(20000);  // its own block stays out of the bytes counted below
    const size_t baseBytes = BAlloc::bytesInUse();
    for (int step = 0; step < 20000; ++step) {
        if (step % 1000 == 0) {
            size_t held = 0;
            for (const Live& b : live)
                held += BAlloc::usableSize(b.p) + 4;
            ASSERT_EQ(baseBytes + held, BAlloc::bytesInUse()) << "step " << step;
        }
        int op = rng() % 10;
        if (op < 5 || live.empty()) {
            size_t n = rng() % 3 == 0 ? rng() % 40000 + 1 : rng() % 300 + 1;
            unsigned char* p = Bytes(BAlloc::alloc(1, n));
            ASSERT_NE(nullptr, p);
            unsigned char fill = static_cast<unsigned char>(step | 1);
            std::memset(p, fill, n);
            live.push_back({p, n, fill});
        } else if (op < 8) {
            size_t i = rng() % live.size();
            ASSERT_TRUE(live[i].intact()) << "step " << step;
            BAlloc::free(live[i].p);
            live[i] = live.back();
            live.pop_back();
        } else {
            Live& b = live[rng() % live.size()];
            ASSERT_TRUE(b.intact()) << "step " << step;
            size_t n = rng() % 2000 + 1;
            b.p = Bytes(BAlloc::realloc(b.p, n));
            ASSERT_NE(nullptr, b.p);
            if (n > b.n) {
                ASSERT_EQ(n, FirstOther(b.p, b.n, n)) << "step " << step;
                std::memset(b.p + b.n, b.fill, n - b.n);
            }
            b.n = n;
        }
    }
    for (const Live& b : live) {
        ASSERT_TRUE(b.intact());
        BAlloc::free(b.p);
    }
    EXPECT_EQ(baseBytes, BAlloc::bytesInUse()) << "the bytes in use come back when everything is freed";
    std::vector<Live>().swap(live);
    EXPECT_EQ(baseSegments, BAlloc::segmentCount()) << "all segments return when everything is freed";
}

// Near 4 GB the block size plus the segment markers wraps: nothing may then be
// asked of the system, and a refused resize must leave the old block alone.
TEST(BAlloc, RefusedAndWrappingRequestsAnswerNull) {
    const size_t sizes[] = {0xFFFFFFE1u, 0xFFFFFFE9u, 0xFFFFFFF0u, 0xFFFFFFF4u, 0xFFFFFFF8u, 0xFFFFFFFFu};
    unsigned char* p = Bytes(KY_Malloc(40000));  // its own segment
    ASSERT_NE(nullptr, p);
    std::memset(p, 0x5A, 40000);
    uint32_t segments = BAlloc::segmentCount();
    BAlloc::setSystemFunctions(RefuseAndRecord, nullptr);
    EXPECT_EQ(nullptr, BAlloc::alloc(1, 40000)) << "the system refused";
    for (size_t n : sizes) {
        SCOPED_TRACE(n);
        g_smallestAsk = UINT32_MAX;
        EXPECT_EQ(nullptr, BAlloc::alloc(1, n));
        EXPECT_EQ(nullptr, BAlloc::realloc(p, n));
        EXPECT_GE(g_smallestAsk, 0xFFFFFFE0u) << "a wrapped size reached the system";
        EXPECT_EQ(segments, BAlloc::segmentCount()) << "the old block was released";
        EXPECT_EQ(BAlloc::blockSizeFor(40000) - 4, BAlloc::usableSize(p));
    }
    BAlloc::setSystemFunctions(nullptr, nullptr);
    EXPECT_EQ(40000u, FirstOther(p, 0, 40000, 0x5A));
    KY_Free(p);
}

// Bytes past a request that the block holds anyway must read as zero once a
// resize brings them into use, whatever the memory held before.
TEST(BAlloc, GrowthIsZeroFilledWhateverTheBlockHeldBefore) {
    struct Row {
        const char* name;
        size_t allocated, grownTo;
    } rows[] = {
        {"block cut from the old data, grown in place", 32752, 32760},
        {"8-byte rest absorbed, grown within the block", 39992, 40000},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        // A dedicated segment full of old data, shrunk: its rest is the only
        // free block large enough for what follows.
        unsigned char* old = Bytes(KY_Malloc(40000));
        ASSERT_NE(nullptr, old);
        std::memset(old, 0xAB, 40000);
        old = Bytes(BAlloc::realloc(old, 8));
        std::memset(old, 0, 8);
        bool cut = r.allocated < 39992;
        unsigned char* p = Bytes(cut ? KY_Malloc(r.allocated) : BAlloc::realloc(old, r.allocated));
        ASSERT_NE(nullptr, p);
        EXPECT_EQ(r.allocated, FirstOther(p, 0, r.allocated));
        p = Bytes(BAlloc::realloc(p, r.grownTo));
        ASSERT_NE(nullptr, p);
        EXPECT_EQ(r.grownTo, FirstOther(p, r.allocated, r.grownTo)) << "stale bytes in the growth";
        if (cut)
            KY_Free(old);
        KY_Free(p);
    }

    // A shrink discards the bytes past the new size, rounded or not.
    unsigned char* p = Bytes(KY_Malloc(100));
    std::memset(p, 0xAB, 100);
    p = Bytes(BAlloc::realloc(p, 75));
    p = Bytes(BAlloc::realloc(p, 90));
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(90u, FirstOther(p, 75, 90)) << "old bytes came back";
    KY_Free(p);
}

// After a split the search must go on from the rest of the found block: going
// on behind it walked every older free block on each request, and took the
// first older one that fitted.
TEST(BAlloc, AllocationsGoOnFromTheRestOfTheFoundBlock) {
    const size_t small = 1000, large = 8000;
    std::vector<void*> drained;
    ASSERT_NO_FATAL_FAILURE(Drain(small, &drained));
    // A new segment [n 24008][g 1008][rest 7744], then n freed: the free list
    // ends with the rest (fits the small request only) and n (fits both).
    unsigned char* n = Bytes(BAlloc::alloc(1, 24000));
    unsigned char* g = Bytes(BAlloc::alloc(1, small));
    ASSERT_EQ(n + BAlloc::blockSizeFor(24000), g);
    BAlloc::free(n);
    unsigned char* a = Bytes(BAlloc::alloc(1, large));
    unsigned char* b = Bytes(BAlloc::alloc(1, small));
    EXPECT_EQ(n, a);
    EXPECT_EQ(a + BAlloc::blockSizeFor(large), b) << "the search went back behind the found block";
    for (void* p : {static_cast<void*>(a), static_cast<void*>(b), static_cast<void*>(g)})
        BAlloc::free(p);
    for (void* p : drained)
        BAlloc::free(p);
}

// A request that fits no free block takes a new segment without walking the
// list; a block freed after that must still be found.
TEST(BAlloc, AFreedBlockIsFoundAfterASearchThatFoundNone) {
    std::vector<void*> drained;
    ASSERT_NO_FATAL_FAILURE(Drain(12744, &drained));
    void* b = BAlloc::alloc(1, 20000);    // [b 20008][rest 12752]
    void* g = BAlloc::alloc(1, 12744);    // the rest, whole
    void* big = BAlloc::alloc(1, 30000);  // fits nowhere: a new segment
    ASSERT_TRUE(b && g && big);
    BAlloc::free(b);
    void* again = BAlloc::alloc(1, 20000);
    EXPECT_EQ(b, again) << "the freed block was passed over";
    for (void* p : {again, g, big})
        BAlloc::free(p);
    for (void* p : drained)
        BAlloc::free(p);
}

// After a search that found none, the bound on free blocks falls back to that
// search's answer once the larger blocks freed since are all taken again; while
// one of them is left, and for a block freed after, it must not.
TEST(BAlloc, LargerBlocksFreedAfterASearchThatFoundNoneAreFound) {
    std::vector<void*> held;
    ASSERT_NO_FATAL_FAILURE(Drain(12744, &held));
    // Whatever the earlier tests left: a request of 12744 either searches and
    // finds nothing or skips a search, so no block above that bound is left.
    held.push_back(BAlloc::alloc(1, 20000));  // [20008][rest 12760]
    held.push_back(BAlloc::alloc(1, 12744));  // the rest
    held.push_back(BAlloc::alloc(1, 12744));  // fits nowhere: [12752][rest 20016]
    held.push_back(BAlloc::alloc(1, 20000));  // that rest
    uint32_t segments = BAlloc::segmentCount();
    unsigned char* x = Bytes(BAlloc::alloc(1, 20000));  // [x 20008][rest 12760]
    unsigned char* y = Bytes(BAlloc::alloc(1, 20000));  // [y 20008][rest 12760]
    ASSERT_TRUE(x && y);
    ASSERT_EQ(segments + 2, BAlloc::segmentCount());
    void* first = BAlloc::alloc(1, 12744);
    void* second = BAlloc::alloc(1, 12744);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(segments + 2, BAlloc::segmentCount()) << "a rest was passed over";
    const uint32_t block = BAlloc::blockSizeFor(20000);
    EXPECT_TRUE((first == x + block && second == y + block) || (first == y + block && second == x + block));
    BAlloc::free(x);
    void* again = BAlloc::alloc(1, 20000);
    EXPECT_EQ(x, again) << "the block freed once the bound fell back was passed over";
    for (void* p : {again, static_cast<void*>(y), first, second})
        BAlloc::free(p);
    for (void* p : held)
        BAlloc::free(p);
}
