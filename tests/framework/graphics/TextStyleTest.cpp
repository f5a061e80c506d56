// Display environments: text-style records, and properties inherited and
// pushed down the component tree.
#include <string>

#include "base/object/AMemoryStream.h"
#include "framework/graphics/ADisplayLock.h"
#include "framework/graphics/AFont.h"
#include "framework/graphics/ATextStyle.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"

namespace {

std::string Describe(const ATextStyle& s) {
    char colors[40];
    snprintf(colors, sizeof colors, " fore %08lX back %08lX align %u", static_cast<unsigned long>(s.foreColor()),
             static_cast<unsigned long>(s.backColor()), s.alignment());
    std::string font = s.font()
                           ? std::string(s.font()->spec().face.c_str()) + " " + std::to_string(s.font()->spec().size) +
                                 " " + std::to_string(s.font()->spec().style)
                           : "no font";
    return font + colors;
}

const std::vector<unsigned char> kStyle101 = {0xFF, 0xFF, 'A',  'r',  'i',  'a',  'l',  0,    0x0A, 0x00,
                                              0x00, 0x00, 0x08, 0x00, 0xFE, 0xFF, 0x00, 0x00, 0x00, 0x00,
                                              0x00, 0x00, 0x02, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xCC, 0x00};

ATextStyle* BackgroundOnly(COLORREF back) {
    return new ATextStyle(nullptr, ATextStyle::kUnset, back, 0);
}

}  // namespace

TEST(TextStyle, LoadsRecords) {
    const std::string expect = "Arial 10 0 fore FE000000 back 02CCFFFF align 8";
    {
        SCOPED_TRACE("bytes");
        ATextStyle style(nullptr, ATextStyle::kUnset, ATextStyle::kUnset, 0);
        std::vector<unsigned char> bytes(kStyle101);
        AMemoryStream stream(bytes.data(), static_cast<long>(bytes.size()));
        style.loadFrom(stream, 101);
        EXPECT_EQ(expect, Describe(style));
        EXPECT_EQ(static_cast<long>(bytes.size()), stream.offset());
    }
    {
        SCOPED_TRACE("compiled resource");
        ATextStyle style{AResourceRef(101)};
        EXPECT_EQ(expect, Describe(style));
    }
    {
        SCOPED_TRACE("missing resource keeps the defaults");
        ATextStyle style{AResourceRef(4321)};
        EXPECT_EQ("no font fore FE000000 back FE000000 align 0", Describe(style));
    }
    {
        SCOPED_TRACE("number 1 has the standard grey");
        ATextStyle style(nullptr, ATextStyle::kUnset, ATextStyle::kUnset, 0);
        std::vector<unsigned char> bytes(kStyle101);
        AMemoryStream stream(bytes.data(), static_cast<long>(bytes.size()));
        style.loadFrom(stream, 1);
        EXPECT_EQ(0xC0C0C0u, style.backColor());
        EXPECT_TRUE(style.isGrey());
    }
}

TEST(TextStyle, ShortRecordRaisesAndKeepsDefaults) {
    for (size_t cut : {size_t(1), size_t(5), size_t(9), size_t(20), kStyle101.size() - 1}) {
        SCOPED_TRACE(cut);
        std::vector<unsigned char> bytes(kStyle101.begin(), kStyle101.begin() + static_cast<long>(cut));
        AMemoryStream stream(bytes.data(), static_cast<long>(bytes.size()));
        ATextStyle style(nullptr, ATextStyle::kUnset, ATextStyle::kUnset, 0);
        EXPECT_THROW(style.loadFrom(stream, 101), AMemoryStreamError);
        EXPECT_EQ(nullptr, style.font());
        EXPECT_EQ(ATextStyle::kUnset, style.backColor());
    }
}

TEST_F(GraphicsTest, ItemFollowsItsClustersFont) {
    SiteComponent* cluster = makeSite(app, 1);
    SiteComponent* plain = makeSite(cluster, 2);
    SiteComponent* item = makeSite(plain, 3);
    cluster->setEnv(new ATextStyle(AFontSpec("Arial,12,0")));
    item->setEnv(BackgroundOnly(RGB(1, 2, 3)));
    EXPECT_EQ("Arial 12 0 fore FE000000 back 00030201 align 0", Describe(*item->env));
    EXPECT_EQ(ATextStyle::kFont | ATextStyle::kFore | ATextStyle::kAlign, item->env->inheritedMask());
    EXPECT_EQ(cluster->env, plain->getDisplayEnv()) << "a component without its own uses its parent's";

    struct Row {
        const char* name;
        std::function<void()> change;
        const char* expectItem;
        uint8_t expectChanges;
        bool pushed;  // a property nobody below inherits is not pushed at all
    };
    const Row rows[] = {
        {"font", [&] { cluster->env->setFont(AFontSpec("Arial,20,1")); },
         "Arial 20 1 fore FE000000 back 00030201 align 0", ATextStyle::kFont, true},
        {"foreground", [&] { cluster->env->setForeColor(RGB(9, 9, 9)); },
         "Arial 20 1 fore 00090909 back 00030201 align 0", ATextStyle::kFore, true},
        {"background stays the item's own", [&] { cluster->env->setBackColor(RGB(7, 7, 7)); },
         "Arial 20 1 fore 00090909 back 00030201 align 0", 0, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        item->changes = 0;
        plain->changes = 0;
        row.change();
        EXPECT_EQ(row.expectItem, Describe(*item->env));
        EXPECT_EQ(row.expectChanges, item->changes);
        EXPECT_EQ(row.pushed, plain->changes != 0);
    }
    int before = item->invalidations;
    item->env->setBackColor(RGB(1, 2, 3));
    EXPECT_EQ(before, item->invalidations) << "an equal background changes nothing";
}

TEST_F(GraphicsTest, DisplayTakesTheEnvironment) {
    SiteComponent* cluster = makeSite(app, 1, ARect(0, 0, 60, 30));
    cluster->setEnv(new ATextStyle(new AFont(AFontSpec("Arial,12,0")), RGB(200, 0, 0), RGB(0, 0, 100), 0));
    Canvas canvas(60, 30);
    {
        ADisplayLock lock(cluster, canvas.dc(), AGraphicDisplay::kOwnDevice, nullptr, Everywhere());
        AGraphicDisplay* d = lock.display();
        EXPECT_EQ(cluster->env->font()->body(), d->font());
        EXPECT_EQ(RGB(200, 0, 0), GetTextColor(canvas.dc()));
        d->eraseRect(ARect(0, 0, 10, 10));
    }
    EXPECT_EQ(RGB(0, 0, 100), canvas.pixel(5, 5));
}
