// Pooled lists and their iterator.
#include "base/object/AError.h"
#include "base/object/Alist.h"
#include "tests/support/TestHooks.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

void* V(intptr_t v) {
    return reinterpret_cast<void*>(v);
}

std::string Forward(Alist& l) {
    std::string s;
    AListIterator it(&l);
    for (void* v = it.first(); v; v = it.next())
        s += std::to_string(reinterpret_cast<intptr_t>(v)) + ",";
    return s;
}

std::string Backward(Alist& l) {
    std::string s;
    AListIterator it(&l);
    for (void* v = it.last(); v; v = it.previous())
        s += std::to_string(reinterpret_cast<intptr_t>(v)) + ",";
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
    EXPECT_EQ("1,2,3,4,", Forward(l)) << "the copy nearest the end goes";
    l.remove(V(99));
    EXPECT_EQ(4, l.count());

    InsertNodeAtHead(l, new APlink{{nullptr, nullptr}, V(10), 0, 0}, l.sentinel());
    InsertNodeAtHead(l, new APlink{{nullptr, nullptr}, V(5), 0, 0}, l.lastLink());
    EXPECT_EQ("10,1,2,3,4,5,", Forward(l));
    EXPECT_EQ("5,4,3,2,1,10,", Backward(l));
    EXPECT_EQ(6, l.count());

    EXPECT_EQ(V(10), l.removeFirst());
    EXPECT_EQ(V(5), l.removeLast());
    EXPECT_EQ("1,2,3,4,", Forward(l));
    l.removeAll();
    EXPECT_EQ(0, l.count());
    EXPECT_EQ(0, APlink::instanceCount());
    EXPECT_GT(FatalExitCodeOf([&] { l.removeFirst(); }), 0) << "an empty list has no first element";
}

TEST(Alist, RemovingTheCurrentElementDuringAWalk) {
    struct Row {
        const char* name;
        bool forward;
        intptr_t removeEvery;  // values divisible by this go
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
        AListIterator it(&l);
        std::string visited;
        for (void* v = r.forward ? it.first() : it.last(); v; v = r.forward ? it.next() : it.previous()) {
            intptr_t n = reinterpret_cast<intptr_t>(v);
            visited += std::to_string(n) + ",";
            if (n % r.removeEvery == 0)
                it.removeCurrent();
        }
        EXPECT_EQ(r.visited, visited) << "each element once";
        EXPECT_EQ(r.left, Forward(l));
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
    EXPECT_EQ(nullptr, it.current());

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
