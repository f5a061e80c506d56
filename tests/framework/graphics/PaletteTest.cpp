// The palette table: owners, replacement and removal of entries, the
// application's current palette, and displays selecting their palette.
#include "base/procedural/AddressWord.h"
#include "framework/graphics/ADisplayLock.h"
#include "framework/graphics/APaletteTable.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"

namespace {

HPALETTE MakePalette(BYTE red) {
    LOGPALETTE log = {0x300, 1, {{red, 0, 0, 0}}};
    return CreatePalette(&log);
}

}  // namespace

TEST_F(GraphicsTest, PaletteEntriesFollowTheirOwners) {
    HPALETTE first = MakePalette(10);
    HPALETTE second = MakePalette(20);
    SiteComponent* toolBar = makeSite(app, 1);
    SiteComponent* button = makeSite(toolBar, 2);
    SiteComponent* loose = makeSite(app, 3);
    {
        APaletteTable table(app);
        table.setToolBar(toolBar);
        table.setPalette(loose, first);
        EXPECT_FALSE(table.hasPalette(app)) << "a disabled table records nothing";
        EXPECT_FALSE(table.realize(loose, true));

        table.setEnabled(true);
        table.setPalette(loose, first);
        EXPECT_TRUE(table.hasPalette(app)) << "outside any window: the application's";
        EXPECT_EQ(first, APaletteTable::currentPalette());
        table.setPalette(button, second);
        EXPECT_TRUE(table.hasPalette(toolBar));
        EXPECT_EQ(second, table.paletteFor(button, true));
        EXPECT_EQ(first, table.paletteFor(loose, true));

        table.setPalette(loose, second);
        table.removePalette(loose, first);
        EXPECT_EQ(second, table.paletteFor(app, false)) << "removing a replaced palette changes nothing";
        table.removePalette(loose, second);
        EXPECT_EQ(nullptr, APaletteTable::currentPalette());

        table.setPalette(loose, first);
        table.componentDeleted(toolBar);
        EXPECT_FALSE(table.hasPalette(toolBar)) << "a component that goes away takes its entry";
        EXPECT_EQ(first, table.paletteFor(button, true)) << "then the application's";
        table.componentDeleted(app);
        EXPECT_EQ(nullptr, APaletteTable::currentPalette());
        EXPECT_EQ(nullptr, table.paletteFor(button, true));
    }
    DeleteObject(first);
    DeleteObject(second);
}

TEST_F(GraphicsTest, DisplaySelectsItsComponentsPalette) {
    HPALETTE palette = MakePalette(30);
    SiteComponent* site = makeSite(app, 1);
    APaletteTable table(app);
    table.setEnabled(true);
    table.setPalette(site, palette);
    Canvas canvas(4, 4);
    for (bool active : {false, true}) {
        SCOPED_TRACE(active);
        APaletteTable::setActive(active ? &table : nullptr);
        ADisplayLock lock(site, canvas.dc(), AGraphicDisplay::kOwnDevice, nullptr, Everywhere());
        EXPECT_EQ(active, GetCurrentObject(canvas.dc(), OBJ_PAL) == palette);
    }
    APaletteTable::setActive(nullptr);
    EXPECT_NE(palette, GetCurrentObject(canvas.dc(), OBJ_PAL)) << "the lock put the old palette back";
    DeleteObject(palette);
}

TEST_F(GraphicsTest, PaletteHandlersAreAskedFirst) {
    SiteComponent* site = makeSite(app, 1);
    APaletteTable table(app);
    table.handlers().slot(AddressWord(site)) = static_cast<ADisplaySite*>(site);
    EXPECT_FALSE(table.realize(site, false)) << "disabled: nobody is asked";
    EXPECT_EQ("", site->calls);
    table.setEnabled(true);
    site->paletteAnswer = 1;
    EXPECT_TRUE(table.realize(site, true));
    site->paletteAnswer = 0;
    EXPECT_FALSE(table.realize(site, false));
    EXPECT_EQ("palette-bg palette ", site->calls);
    table.componentDeleted(site);
    EXPECT_FALSE(table.realize(site, false));
    EXPECT_EQ("palette-bg palette ", site->calls) << "a deleted component's handler is gone";
}
