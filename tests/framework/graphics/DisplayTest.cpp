// Graphic displays and display locks on memory contexts: shapes read back as
// pixels, special colour values, the context stack and its checkpoint.
#include "framework/graphics/ADisplayLock.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"

namespace {

const uint16_t kOwnDevice = AGraphicDisplay::kOwnDevice;

}  // namespace

TEST_F(GraphicsTest, FrameRectInsetsByPenWidth) {
    struct Row {
        uint16_t width;
        std::vector<APoint> ink;
        std::vector<APoint> blank;
    };
    const Row rows[] = {
        {3, {{11, 11}, {18, 11}, {18, 18}, {11, 18}, {10, 15}, {12, 15}}, {{9, 9}, {15, 15}, {13, 13}, {21, 21}}},
        {1, {{10, 10}, {19, 10}, {19, 19}, {10, 19}}, {{11, 11}, {20, 20}, {15, 15}}},
    };
    SiteComponent* site = makeSite(app, 1);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.width);
        Canvas canvas(40, 40);
        {
            ADisplayLock lock(site, canvas.dc(), kOwnDevice, nullptr, Everywhere());
            lock.display()->SetForeColor(RGB(0, 0, 0));
            lock.display()->FrameRect(ARect(10, 10, 20, 20), row.width);
        }
        for (const APoint& p : row.ink)
            EXPECT_EQ(0u, canvas.pixel(p.x, p.y)) << p.x << "," << p.y;
        for (const APoint& p : row.blank)
            EXPECT_EQ(0xFFFFFFu, canvas.pixel(p.x, p.y)) << p.x << "," << p.y;
    }
}

TEST_F(GraphicsTest, ShapesMoveWithTheComponentOrigin) {
    SiteComponent* site = makeSite(app, 1, ARect(5, 7, 30, 30));
    Canvas canvas(40, 40);
    {
        ADisplayLock lock(site, canvas.dc(), kOwnDevice, nullptr, Everywhere());
        lock.display()->FillRect(ARect(0, 0, 2, 2), RGB(255, 0, 0));
        lock.display()->SetForeColor(RGB(0, 0, 255));
        lock.display()->DrawLine(APoint(0, 10), APoint(10, 10));
    }
    EXPECT_EQ(RGB(255, 0, 0), canvas.pixel(5, 7));
    EXPECT_EQ(RGB(255, 0, 0), canvas.pixel(6, 8));
    EXPECT_EQ(0xFFFFFFu, canvas.pixel(7, 9));
    EXPECT_EQ(RGB(0, 0, 255), canvas.pixel(10, 17));
}

TEST_F(GraphicsTest, SpecialColorValues) {
    SiteComponent* site = makeSite(app, 1);
    Canvas canvas(8, 8);
    ADisplayContext::instance().setPrinter(canvas.dc());
    struct Row {
        const char* name;
        uint16_t flags;
        COLORREF expectDefault;
    };
    const Row rows[] = {
        {"screen", kOwnDevice, GetSysColor(COLOR_WINDOWTEXT)},
        {"printer", AGraphicDisplay::kPrinter, 0x000000},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ADisplayLock lock(site, canvas.dc(), row.flags, nullptr, nullptr);
        AGraphicDisplay* d = lock.display();
        d->SetForeColor(RGB(1, 2, 3));
        EXPECT_EQ(RGB(1, 2, 3), d->SetForeColor(AGraphicDisplay::kQueryColor));
        EXPECT_EQ(RGB(1, 2, 3), d->foreColor()) << "a query changes nothing";
        EXPECT_EQ(RGB(1, 2, 3), GetTextColor(canvas.dc()));
        d->SetForeColor(AGraphicDisplay::kDefaultColor);
        EXPECT_EQ(row.expectDefault, GetTextColor(canvas.dc()));
        d->SetForeColor(AGraphicDisplay::kRecordColor);
        EXPECT_EQ(AGraphicDisplay::kRecordColor, d->foreColor());
        EXPECT_EQ(row.expectDefault, GetTextColor(canvas.dc())) << "a recorded value leaves the device alone";
    }
    ADisplayContext::instance().setPrinter(nullptr);
}

TEST_F(GraphicsTest, LocksEndingOutOfOrderWriteTheCheckpoint) {
    SiteComponent* site = makeSite(app, 1);
    Canvas canvas(8, 8);
    ADisplayContext& context = ADisplayContext::instance();
    AGraphicDisplay* initial = context.current();
    {
        auto* outer = new ADisplayLock(site, canvas.dc(), kOwnDevice, nullptr, Everywhere());
        auto* inner = new ADisplayLock(site, canvas.dc(), kOwnDevice, nullptr, Everywhere());
        EXPECT_EQ(inner->display(), context.current());
        delete outer;
        EXPECT_EQ("#ADisplayLock::reset() : context stack checkpoint\n", errors.text);
        EXPECT_EQ(initial, context.current());
        delete inner;
    }
    errors.text.clear();
    {
        ADisplayLock outer(site, canvas.dc(), kOwnDevice, nullptr, Everywhere());
        { ADisplayLock inner(site, canvas.dc(), kOwnDevice, nullptr, Everywhere()); }
        EXPECT_EQ(outer.display(), context.current());
    }
    EXPECT_EQ("", errors.text) << "locks ended in reverse order say nothing";
}

TEST_F(GraphicsTest, NestedLockStateComesBack) {
    SiteComponent* site = makeSite(app, 1);
    Canvas canvas(40, 40);
    ARegion left(ARect(0, 0, 20, 40));
    ADisplayLock outer(site, canvas.dc(), kOwnDevice, nullptr, &left);
    AGraphicDisplay* d = outer.display();
    d->SetForeColor(RGB(0, 128, 0));
    {
        ADisplayLock inner;
        ARegion top(ARect(0, 0, 40, 5));
        inner.push(d, &top, 0);
        EXPECT_EQ(d, inner.display()) << "a nested lock reuses the display";
        d->SetForeColor(RGB(200, 0, 0));
        d->FillRect(ARect(0, 0, 40, 40), RGB(200, 0, 0));
    }
    EXPECT_EQ(RGB(0, 128, 0), d->foreColor());
    EXPECT_EQ(RGB(0, 128, 0), GetTextColor(canvas.dc()));
    EXPECT_EQ(RGB(200, 0, 0), canvas.pixel(2, 2));
    EXPECT_EQ(0xFFFFFFu, canvas.pixel(2, 10)) << "the inner clip held";
    d->FillRect(ARect(0, 0, 40, 40), RGB(0, 0, 200));
    EXPECT_EQ(RGB(0, 0, 200), canvas.pixel(2, 10));
    EXPECT_EQ(0xFFFFFFu, canvas.pixel(30, 10)) << "the outer clip is back";
}

// The pen waits for the first line: a nested lock that selected one and put
// the context back must not leave the display believing its pen is in.
TEST_F(GraphicsTest, LinesTakeTheCurrentColourAfterANestedLock) {
    SiteComponent* site = makeSite(app, 1);
    struct Row {
        const char* name;
        COLORREF outer;
        COLORREF inner;
        bool outerLineFirst;
    };
    const Row rows[] = {
        {"same colour, no line before", RGB(200, 0, 0), RGB(200, 0, 0), false},
        {"same colour, a line before", RGB(200, 0, 0), RGB(200, 0, 0), true},
        {"other colour, no line before", RGB(0, 0, 200), RGB(200, 0, 0), false},
        {"other colour, a line before", RGB(0, 0, 200), RGB(200, 0, 0), true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Canvas canvas(40, 40);
        ADisplayLock outer(site, canvas.dc(), kOwnDevice, nullptr, Everywhere());
        AGraphicDisplay* d = outer.display();
        d->SetForeColor(row.outer);
        if (row.outerLineFirst)
            d->DrawLine(APoint(0, 1), APoint(40, 1));
        {
            ADisplayLock inner;
            inner.push(d, Everywhere(), 0);
            d->SetForeColor(row.inner);
            d->DrawLine(APoint(0, 10), APoint(40, 10));
        }
        d->DrawLine(APoint(0, 20), APoint(40, 20));
        d->FrameRect(ARect(5, 25, 15, 35), 1);
        EXPECT_EQ(row.inner, canvas.pixel(5, 10));
        EXPECT_EQ(row.outer, canvas.pixel(5, 20));
        EXPECT_EQ(row.outer, canvas.pixel(5, 30));
        if (row.outerLineFirst) {
            EXPECT_EQ(row.outer, canvas.pixel(5, 1));
        }
    }
}

TEST_F(GraphicsTest, MeasuringDisplayRefusesShapes) {
    SiteComponent* site = makeSite(app, 1);
    Canvas canvas(8, 8);
    ADisplayLock lock(site, canvas.dc(), 0x000D & ~AGraphicDisplay::kOwnsWindowDC, nullptr, nullptr);
    EXPECT_FALSE(lock.display()->isDrawable());
    EXPECT_NE(-1, FatalExitCodeOf([&] { lock.display()->FillRect(ARect(0, 0, 2, 2), 0); }));
}

TEST_F(GraphicsTest, MetafileLockRecordsDrawing) {
    SiteComponent* site = makeSite(app, 1);
    AMetafileLock lock(site);
    lock.display()->FillRect(ARect(0, 0, 10, 10), RGB(0, 0, 0));
    HMETAFILE meta = lock.close();
    ASSERT_NE(nullptr, meta);
    EXPECT_GT(GetMetaFileBitsEx(meta, 0, nullptr), 18u) << "more than the header";
    DeleteMetaFile(meta);
}

TEST_F(GraphicsTest, RegionsFillAndFrameAtTheComponentsPlace) {
    SiteComponent* site = makeSite(app, 1, ARect(10, 20, 60, 60));
    Canvas canvas(80, 80);
    ARegion area(ARect(0, 0, 10, 10));
    {
        ADisplayLock lock(site, canvas.dc(), AGraphicDisplay::kOwnDevice, nullptr, Everywhere());
        lock.display()->SetForeColor(RGB(0, 0, 255));
        area.fillOn(*lock.display());
        ARegion frame(ARect(20, 0, 30, 10));
        lock.display()->SetForeColor(RGB(255, 0, 0));
        frame.frameOn(*lock.display());
    }
    EXPECT_EQ(RGB(0, 0, 255), canvas.pixel(10, 20));
    EXPECT_EQ(RGB(0, 0, 255), canvas.pixel(19, 29));
    EXPECT_EQ(0xFFFFFFu, canvas.pixel(20, 30));
    EXPECT_EQ(RGB(255, 0, 0), canvas.pixel(30, 20)) << "frame corner";
    EXPECT_EQ(0xFFFFFFu, canvas.pixel(35, 25)) << "a frame leaves the inside";
    EXPECT_EQ(ARect(0, 0, 10, 10), area.ownerBounds()) << "the region stays in its owner's coordinates";
}

TEST_F(GraphicsTest, OffscreenLocksHandTheirRegionOnWhenTheyEnd) {
    Canvas canvas(60, 60);
    struct Row {
        const char* name;
        bool offscreen;
        bool ownDevice;
        const char* expect;
    };
    const Row rows[] = {
        {"on screen: nothing", false, true, ""},
        {"own device", true, true, "screen 5,5,20,20 "},
        {"off-screen image", true, false, "copy 5,5,20,20 "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SiteComponent* site = makeSite(app, 1, ARect(0, 0, 40, 40));
        site->offscreen = row.offscreen;
        site->ownDevice = row.ownDevice ? canvas.dc() : nullptr;
        ARegion region(ARect(5, 5, 20, 20));
        if (row.ownDevice) {
            AOffscreenLock lock(site, &region);
            EXPECT_EQ(canvas.dc(), lock.display()->dc());
        } else {
            ADisplayLock lock(site, canvas.dc(), AGraphicDisplay::kOffscreen | AGraphicDisplay::kOwnDevice, nullptr,
                              &region);
        }
        EXPECT_EQ(row.expect, site->calls);
        AComponent* gone = site;
        DeleteComponent(gone);
    }
}

TEST_F(GraphicsTest, PrinterDisplaysFollowANewPrinterContext) {
    SiteComponent* site = makeSite(app, 1);
    Canvas first(8, 8);
    Canvas second(8, 8);
    ADisplayContext::instance().setPrinter(first.dc());
    {
        ADisplayLock printer(site, first.dc(), AGraphicDisplay::kPrinter, nullptr, nullptr);
        ADisplayLock screen(site, first.dc(), AGraphicDisplay::kOwnDevice, nullptr, Everywhere());
        ADisplayContext::instance().setPrinter(second.dc());
        EXPECT_EQ(second.dc(), printer.display()->dc());
        EXPECT_EQ(second.dc(), printer.display()->getMeasureDC());
        EXPECT_EQ(first.dc(), screen.display()->dc()) << "screen displays stay";
    }
    ADisplayContext::instance().setPrinter(nullptr);
}
