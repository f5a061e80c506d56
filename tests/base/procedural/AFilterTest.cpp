// The object layer's filter handles: sharing, loading and applying.
#include "base/object/AFileSpec.h"
#include "base/object/AFilter.h"
#include "base/procedural/KyFilter.h"
#include "tests/base/procedural/TextTestSupport.h"
#include "tests/support/TestHooks.h"

#include <gtest/gtest.h>

namespace {

int g_freed = 0;
void CountFree(KY_Filter*) {
    ++g_freed;
}

}  // namespace

TEST(AFilter, FreesASharedHandleAtTheLastRelease) {
    g_freed = 0;
    KY_Filter* f = KY_FilterNewIdentity(nullptr);
    f->release = CountFree;
    {
        AFilter first(f);
        KY_FilterRelease(f);  // the AFilters now hold the only references
        {
            AFilter second(first);
            EXPECT_EQ(2, f->references);
            AFilter third;
            third = second;
            third = third;
            EXPECT_EQ(3, f->references);
        }
        EXPECT_EQ(0, g_freed) << "one holder is left";
        EXPECT_EQ(1, f->references);
    }
    EXPECT_EQ(1, g_freed);
}

TEST(AFilter, AppliesAndKeepsItsFilterWhenLoadingFails) {
    AFilter empty;
    EXPECT_STREQ("AbC", empty.apply("AbC", -1).c_str());
    EXPECT_STREQ("Ab", empty.apply("AbC", 2).c_str());
    EXPECT_FALSE(empty.isPassThrough());

    TempFolder folder;
    FltImage image;
    for (int c = 'A'; c <= 'Z'; ++c)
        image.base[c] = static_cast<int16_t>(c + 32);
    image.base['-'] = -1;
    AFilter filter(AFileSpec(folder.write("lower.flt", image.bytes()).c_str()));
    KY_Filter* loaded = filter.handle();
    ASSERT_NE(nullptr, loaded);
    EXPECT_EQ(loaded, filter.load(AFileSpec(folder.path("missing.flt").c_str()), false))
        << "a missing file keeps the filter";
    EXPECT_STREQ("abc", filter.apply("A-bC", -1).c_str());
    AString s("X-Y-Z");
    AString shared = s;
    filter.applyInPlace(s);
    EXPECT_STREQ("xyz", s.c_str());
    EXPECT_EQ(3, s.length());
    EXPECT_STREQ("X-Y-Z", shared.c_str()) << "a shared body is detached first";

    FltImage bad = image;
    bad.version = 2;
    EXPECT_EQ(nullptr, filter.load(AFileSpec(folder.write("bad.flt", bad.bytes()).c_str()), false));
    filter.makeIdentity();
    EXPECT_STREQ("A-b", filter.apply("A-b", -1).c_str());

    // The description compiler is the search engine's: this layer has none of its own.
    std::string description = folder.write("lower.txt", "0x41 26 0x61\n");
    EXPECT_EQ(nullptr, filter.load(AFileSpec(description.c_str()), true));
}
