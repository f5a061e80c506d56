// Pooled lists and their iterator.
#include "base/object/Alist.h"
#include "base/procedural/AError.h"
#include "tests/support/TestHooks.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

void* V(intptr_t v) {
    return reinterpret_cast<void*>(v);
}

// The values as "1,2,...", walked forward or backward; values divisible by
// removeEvery are removed as they are visited.
std::string Walk(Alist& l, bool forward = true, intptr_t removeEvery = 0) {
    std::string s;
    AListIterator it(&l);
    for (void* v = forward ? it.first() : it.last(); v; v = forward ? it.next() : it.previous()) {
        intptr_t n = reinterpret_cast<intptr_t>(v);
        s += std::to_string(n) + ",";
        if (removeEvery && n % removeEvery == 0)
            it.removeCurrent();
    }
    return s;
}

}  // namespace

TEST(Alist, AppendRemoveAndInsertAtHead) {
    Alist l;
    AListIterator empty(&l);
    EXPECT_EQ(nullptr, empty.first());
    EXPECT_FALSE(empty.isValid());

    for (intptr_t v : {1, 2, 3, 2, 4})
        l.append(V(v));
    l.append(nullptr);
    EXPECT_EQ(5, l.count()) << "a null value is not stored";
    l.remove(V(2));
    EXPECT_EQ("1,2,3,4,", Walk(l)) << "the copy nearest the end goes";
    l.remove(V(99));
    EXPECT_EQ(4, l.count());

    InsertNodeAtHead(l, new APlink{{nullptr, nullptr}, V(10), 0, 0}, l.sentinel());
    InsertNodeAtHead(l, new APlink{{nullptr, nullptr}, V(5), 0, 0}, l.lastLink());
    EXPECT_EQ("10,1,2,3,4,5,", Walk(l));
    EXPECT_EQ("5,4,3,2,1,10,", Walk(l, false));
    EXPECT_EQ(6, l.count());

    EXPECT_EQ(V(10), l.removeFirst());
    EXPECT_EQ(V(5), l.removeLast());
    EXPECT_EQ("1,2,3,4,", Walk(l));
    l.removeAll();
    EXPECT_EQ(0, l.count());
    EXPECT_EQ(0, APlink::instanceCount());
    EXPECT_GT(FatalExitCodeOf([&] { l.removeFirst(); }), 0) << "an empty list has no first element";
}

TEST(Alist, RemovingTheCurrentElementDuringAWalk) {
    struct Row {
        const char* name;
        bool forward;
        intptr_t removeEvery;
        const char* visited;
        const char* left;
    } rows[] = {
        {"forward, every second", true, 2, "1,2,3,4,5,6,", "1,3,5,"},
        {"forward, all", true, 1, "1,2,3,4,5,6,", ""},
        {"backward, every third", false, 3, "6,5,4,3,2,1,", "1,2,4,5,"},
        {"backward, all", false, 1, "6,5,4,3,2,1,", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Alist l;
        for (intptr_t v = 1; v <= 6; ++v)
            l.append(V(v));
        EXPECT_EQ(r.visited, Walk(l, r.forward, r.removeEvery)) << "each element once";
        EXPECT_EQ(r.left, Walk(l));
    }
}

TEST(Alist, IteratorStatesAndPools) {
    Alist l;
    l.append(V(7));
    AListIterator it(&l);
    EXPECT_GT(FatalExitCodeOf([&] { it.currentRef(); }), 0) << "a reset iterator has no current slot";
    it.first();
    it.currentRef() = V(8);
    EXPECT_EQ(V(8), it.current());
    EXPECT_EQ(nullptr, it.next());
    EXPECT_FALSE(it.isValid()) << "false after the end";

    long links = APlink::instanceCount();
    Alist* pooled = new Alist;
    pooled->append(V(1));
    delete pooled;
    struct Derived : Alist {
        long extra[3] = {};
    };
    Alist* derived = new Derived;
    derived->append(V(1));
    delete derived;
    EXPECT_EQ(links, APlink::instanceCount()) << "deleting a list frees its links";
}
