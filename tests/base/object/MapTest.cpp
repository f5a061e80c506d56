// The ordered maps: long keys against std::map, string keys, map errors.
#include "base/object/ALongDic.h"
#include "base/object/AStrDic.h"
#include "base/procedural/AError.h"
#include "base/procedural/AOutStream.h"
#include "tests/support/TestHooks.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <map>
#include <string>

namespace {

// The walk as "k=v,..." text in key order, whichever way it went.
std::string Walk(const longa_pvoidAVLMap& m, bool backward = false) {
    std::string s;
    for (Pix p = backward ? m.last() : m.first(); p; backward ? m.prev(p) : m.next(p)) {
        std::string item =
            std::to_string(m.keyOf(p)) + "=" + std::to_string(reinterpret_cast<intptr_t>(m.contentsOf(p))) + ",";
        s = backward ? item + s : s + item;
    }
    return s;
}

std::string Walk(const AStringa_pvoidMap& m) {
    std::string s;
    for (Pix p = m.first(); p; m.next(p))
        s += std::string(m.key(p).c_str()) + ",";
    return s;
}

void* V(intptr_t v) {
    return reinterpret_cast<void*>(v);
}

uint32_t g_seed = 12345;
uint32_t Random() {
    g_seed = g_seed * 1103515245u + 12345u;
    return g_seed >> 8;
}

}  // namespace

TEST(LongMap, RandomInsertDeleteMatchesStdMap) {
    longa_pvoidAVLMap m;
    std::map<long, intptr_t> ref;
    const long special[] = {-1, 0, LONG_MAX, LONG_MIN};
    for (int i = 0; i < 10000; ++i) {
        uint32_t r = Random();
        long key = (i % 97 == 0) ? special[r % 4] : static_cast<long>(r % 2000) - 1000;
        if (r % 3 == 0) {
            m.del(key);
            ref.erase(key);
        } else {
            m.slot(key) = V(i);
            ref[key] = i;
        }
        if (i % 500 == 0) {
            ASSERT_GE(avl::CheckedHeight(m.root()), 0) << "balance or threads broken at step " << i;
        }
    }
    ASSERT_TRUE(m.checkInvariant());
    ASSERT_GE(avl::CheckedHeight(m.root()), 0);
    ASSERT_EQ(static_cast<long>(ref.size()), m.count());
    std::string expected;
    for (const auto& kv : ref)
        expected += std::to_string(kv.first) + "=" + std::to_string(kv.second) + ",";
    EXPECT_EQ(expected, Walk(m));
    EXPECT_EQ(expected, Walk(m, true));

    m.clear();
    EXPECT_EQ(0, m.count());
    EXPECT_EQ(nullptr, m.first());
    EXPECT_EQ(0, longa_pvoidAVLNode::instanceCount());
}

TEST(LongMap, SignedOrderSlotsAndCopies) {
    longa_pvoidAVLMap m(V(7));
    for (long k : {2147483647L, 0L, -1L, 5L})
        m.slot(k);
    EXPECT_EQ("-1=7,0=7,5=7,2147483647=7,", Walk(m)) << "new entries take the default value";
    void** a = &m.slot(5);
    *a = V(9);
    EXPECT_EQ(a, &m.slot(5)) << "a present key keeps its slot";
    EXPECT_EQ(4, m.count());

    Pix last = m.seek(2147483647);
    m.next(last);
    EXPECT_EQ(nullptr, last);
    EXPECT_EQ(nullptr, m.seek(3));

    longa_pvoidAVLMap copy(m);
    EXPECT_EQ(Walk(m), Walk(copy));
    copy.slot(100);
    EXPECT_EQ("-1=7,0=7,5=9,100=7,2147483647=7,", Walk(copy)) << "the copy takes the default value too";
    copy = copy;
    EXPECT_EQ(5, copy.count());
    copy.assign(m);
    EXPECT_EQ(Walk(m), Walk(copy));

    for (long k : {-1L, 0L, 5L, 2147483647L})
        m.del(k);
    EXPECT_EQ(nullptr, m.root());

    ALongLongDic numbers;
    numbers.slot(3) += 40;
    numbers.slot(3) += 2;
    EXPECT_EQ(42, numbers.numberOf(numbers.seek(3)));
    EXPECT_EQ(0, numbers.slot(4));
    ALongDic objects;
    EXPECT_EQ(nullptr, objects.find(1));
    EXPECT_EQ(0, objects.count()) << "find never inserts";
}

TEST(LongMap, CheckersCatchDamagedTrees) {
    longa_pvoidAVLMap m;
    for (long k = 0; k < 20; ++k)
        m.slot(k);
    ASSERT_GT(avl::CheckedHeight(m.root()), 0);
    AVLNode* root = const_cast<AVLNode*>(m.root());
    uint8_t saved = root->status;
    root->status ^= avl::kRightHigh | avl::kLeftHigh;
    EXPECT_EQ(-1, avl::CheckedHeight(m.root())) << "a wrong balance is seen";
    root->status = saved;

    auto* node = static_cast<longa_pvoidAVLNode*>(root);
    long key = node->key;
    node->key = 1000;
    EXPECT_GT(FatalExitCodeOf([&] { m.checkInvariant(); }), 0);
    EXPECT_STREQ("Map: invariant failure", g_errorMessage);
    node->key = key;
    EXPECT_TRUE(m.checkInvariant());
}

// Every accessor reaches the node through one checked lookup.
TEST(LongMap, NullPositionIsAMapError) {
    longa_pvoidAVLMap m;
    EXPECT_GT(FatalExitCodeOf([&] { m.contentsOf(nullptr); }), 0);
    EXPECT_STREQ("Map: null Pix", g_errorMessage);
    ASSERT_FALSE(CapturedBoxes().empty());
    EXPECT_NE(std::string::npos, CapturedBoxes().back().text.find("clongdic;line 53"));
    Pix none = nullptr;
    m.next(none);
    EXPECT_EQ(nullptr, none) << "next of no position stays null";
}

TEST(AStrDic, OrderContainsAndOwnedStrings) {
    AStrDic d;
    for (const char* k : {"b", "a", "B", "ab", ""})
        d.insert(k) = V(1);
    EXPECT_EQ(",B,a,ab,b,", Walk(d)) << "strcmp order: capitals first";
    EXPECT_FALSE(d.contains("A"));
    EXPECT_EQ(5, d.count()) << "contains never inserts";

    AString caller("key");
    d.insert(caller);
    caller += "s";
    EXPECT_TRUE(d.contains("key")) << "the key is a copy that the caller's edit detaches from";
    EXPECT_FALSE(d.contains("keys"));

    CaptureStream out;
    d.writeLines(out);
    EXPECT_EQ("B\na\nab\nb\nkey\n", out.text) << "the empty key is not written";

    AStrStrDic s;
    s.setString("k", "first");
    s.setString("k", "second");
    EXPECT_EQ(1, s.count());
    EXPECT_STREQ("second", s.getString("k")->c_str());
    EXPECT_EQ(nullptr, s.getString("absent"));
    EXPECT_EQ(2, s.count()) << "value access inserts the key";
    EXPECT_STREQ("", s.stringOrEmpty("absent").c_str());
    s.removeString("k");
    EXPECT_FALSE(s.contains("k"));

    s.setString("x", "text");
    AStrStrDic copy(s);
    s.setString("x", "changed");
    EXPECT_STREQ("text", copy.getString("x")->c_str()) << "copies own their own texts";
    EXPECT_EQ(Walk(s), Walk(copy));
}

TEST(AStrDic, RandomAgainstStdMap) {
    AStrDic d;
    std::map<std::string, intptr_t> ref;
    for (int i = 0; i < 3000; ++i) {
        uint32_t r = Random();
        std::string key = "k" + std::to_string(r % 400);
        if (r % 4 == 0) {
            d.del(key.c_str());
            ref.erase(key);
        } else {
            d.insert(key.c_str()) = V(i);
            ref[key] = i;
        }
    }
    ASSERT_TRUE(d.checkInvariant());
    ASSERT_GE(avl::CheckedHeight(d.root()), 0);
    std::string expected;
    for (const auto& kv : ref) {
        expected += kv.first + ",";
        ASSERT_EQ(V(kv.second), d.contents(d.seek(kv.first.c_str())));
    }
    EXPECT_EQ(expected, Walk(d));
    EXPECT_EQ(nullptr, d.AStringa_pvoidMap::seek("missing")) << "the linear seek agrees";
    EXPECT_EQ(d.first(), d.AStringa_pvoidMap::seek(ref.begin()->first.c_str()));
    d.clear();
    EXPECT_EQ(0, AStringa_pvoidAVLNode::instanceCount());

    EXPECT_GT(FatalExitCodeOf([&] { d.key(nullptr); }), 0);
    EXPECT_NE(std::string::npos, CapturedBoxes().back().text.find("cstrdic;line 53"));
}

TEST(AStrDic, SetStringFromItsOwnEntry) {
    // The text may be the old value and the key the entry's own key: both go
    // away while the entry is replaced.
    AStrStrDic s;
    for (const char* k : {"m", "d", "t", "a", "f", "p", "w"})
        s.setString(k, "a text longer than the free-list links");
    struct Row {
        const char* key;
        bool ownKey;
    } rows[] = {{"m", false}, {"d", false}, {"a", true}, {"t", true}, {"w", true}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.key);
        Pix p = s.seek(r.key);
        ASSERT_NE(nullptr, p);
        const char* text = s.getString(r.key)->c_str();
        if (r.ownKey)
            s.setString(s.key(p), text);
        else
            s.setString(r.key, text);
        ASSERT_TRUE(s.contains(r.key));
        EXPECT_STREQ("a text longer than the free-list links", s.getString(r.key)->c_str());
        EXPECT_EQ(7, s.count());
    }
    EXPECT_TRUE(s.checkInvariant());
}

TEST(AStrDic, MergingATableIntoItselfChangesNothing) {
    AStrStrDic s;
    for (const char* k : {"m", "d", "t", "a", "f", "p", "w"})
        s.setString(k, k);
    s.copyFrom(s);
    EXPECT_EQ("a,d,f,m,p,t,w,", Walk(s));
    for (Pix p = s.first(); p; s.next(p))
        EXPECT_STREQ(s.key(p).c_str(), static_cast<AString*>(s.contents(p))->c_str());
    EXPECT_TRUE(s.checkInvariant());
}
