// Handle tables and association tables.
#include "base/procedural/Assoc.h"
#include "base/procedural/BAlloc.h"
#include "base/procedural/EngineTables.h"
#include "base/procedural/Handle.h"
#include "tests/support/TestHooks.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(HandleTable, AllocReleaseAndValues) {
    KY_HdlTable* t = KY_HdlCreate(10);
    ASSERT_NE(nullptr, t);
    for (int32_t i = 0; i < 10; ++i)
        EXPECT_EQ(i, KY_HdlAlloc(t));
    EXPECT_EQ(kHdlNone, KY_HdlAlloc(t)) << "the eleventh";
    EXPECT_TRUE(CapturedBoxes().empty()) << "the level-2 trace line is not printed at level 0";
    EXPECT_EQ(3, KY_HdlRelease(t, 3));
    EXPECT_EQ(3, KY_HdlAlloc(t));
    EXPECT_EQ(kHdlNone, KY_HdlRelease(t, 10));
    EXPECT_EQ(kHdlNone, KY_HdlRelease(t, -1));

    for (int32_t bad : {kHdlNone, -1, 10}) {
        SCOPED_TRACE(bad);
        KY_HdlSet(t, bad, t);
        EXPECT_EQ(nullptr, KY_HdlGet(t, bad));
        KY_HdlFreeValue(t, bad);
    }
    KY_HdlSet(t, 4, KY_Malloc(16));
    KY_HdlSet(t, 5, KY_Malloc(16));
    EXPECT_NE(nullptr, KY_HdlGet(t, 4));
    KY_HdlFreeValue(t, 5);
    EXPECT_EQ(nullptr, KY_HdlGet(t, 5));

    KY_HdlResetTable(t);
    EXPECT_EQ(nullptr, KY_HdlGet(t, 4)) << "reset frees the values";
    EXPECT_EQ(kHdlNone, KY_HdlRelease(t, 2)) << "nothing is used after a reset";
    EXPECT_EQ(0, KY_HdlAlloc(t));
    KY_HdlSet(t, 0, KY_Malloc(8));
    KY_HdlDestroy(&t);
    EXPECT_EQ(nullptr, t);
    KY_HdlDestroy(&t);

    KY_HdlTable* none = KY_HdlCreate(0);
    ASSERT_NE(nullptr, none);
    EXPECT_EQ(kHdlNone, KY_HdlAlloc(none));
    KY_HdlDestroy(&none);

    KY_HdlTable header = {};
    EXPECT_EQ(110, KY_HdlNewTable(&header, 0x7FFFFFFF));
    EXPECT_STREQ("Space for handle table", KY_EngineErrorText);
}

namespace {

std::string Keys(KY_Assoc* t) {
    std::string s;
    KY_ForEachAssoc(
        t, [](KY_AssocEntry* e, void* out) { *static_cast<std::string*>(out) += std::string(e->key) + ","; }, &s);
    return s;
}

long IsNamed(KY_AssocEntry* e, void* name) {
    return std::strcmp(e->key, static_cast<const char*>(name)) == 0 ? 7 : 0;
}

}  // namespace

TEST(AssocTable, CaseAndOrder) {
    int a = 1, b = 2;
    struct Row {
        int caseSensitive;
        int secondAdd;
        int32_t count;
        const char* keys;
    } rows[] = {
        {0, 2, 3, "alpha,Beta,gamma,"},
        {1, 1, 4, "ALPHA,Beta,alpha,gamma,"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.caseSensitive);
        KY_AssocPair pairs[] = {{"gamma", &a}, {"alpha", &a}, {"Beta", &b}, {nullptr, nullptr}};
        KY_Assoc* t = KY_NewAssoc(pairs, r.caseSensitive);
        EXPECT_EQ(r.secondAdd, AddAssoc(t, "ALPHA", &b));
        EXPECT_EQ(r.count, t->count);
        EXPECT_EQ(r.keys, Keys(t));
        EXPECT_EQ(&b, KY_FindAssoc(t, "ALPHA")->value);
        EXPECT_EQ(7, KY_FindAssocIf(t, IsNamed, const_cast<char*>("gamma")));
        EXPECT_STREQ("gamma", KY_FindAssocEntryIf(t, IsNamed, const_cast<char*>("gamma"))->key);
        EXPECT_EQ(nullptr, KY_FindAssocEntryIf(t, IsNamed, const_cast<char*>("delta")));
        KY_FreeAssoc(t);
    }
}

TEST(AssocTable, RemoveNullsAndRefill) {
    int v = 0;
    KY_Assoc* t = KY_NewAssoc(nullptr, 1);
    EXPECT_EQ(nullptr, KY_FindAssoc(t, "x"));
    EXPECT_EQ(1, AddAssoc(t, "x", &v));
    EXPECT_EQ(2, KY_RemoveAssoc(t, "y"));
    EXPECT_EQ(1, KY_RemoveAssoc(t, "x"));
    EXPECT_EQ(nullptr, t->entries) << "the last removal frees the array";
    EXPECT_EQ(1, AddAssoc(t, "x", &v));
    EXPECT_EQ(&v, KY_FindAssoc(t, "x")->value);

    EXPECT_EQ(0, AddAssoc(t, nullptr, &v));
    EXPECT_EQ(0, KY_RemoveAssoc(nullptr, "x"));
    ASSERT_EQ(2u, CapturedBoxes().size());
    EXPECT_EQ("Null key in AddAssoc \n", CapturedBoxes()[0].text);
    KY_FreeAssoc(t);
    KY_FreeAssoc(nullptr);
}
