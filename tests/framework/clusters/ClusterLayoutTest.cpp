// Cluster classes read from a layout resource: every level's record and end
// mark, the environment string, the flag words, and the picture of the
// resulting window with accented labels (build/artifacts/clusters-dialog.png).
#include <windows.h>

#include <cstdlib>
#include <string>

#include "framework/clusters/AGlobalCluster.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/graphics/AFont.h"
#include "framework/graphics/AImage.h"
#include "framework/graphics/ATextStyle.h"
#include "tests/framework/clusters/ClusterTestSupport.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"

namespace {

template <class T>
T* Item(AItemCluster* cluster, int16_t id) {
    AClusterItem* item = cluster->findItem(id, false);
    return item ? static_cast<T*>(item->castTo(&T::classRecord)) : nullptr;
}

// Pixels of the area that are dark (text and lines) or, with colours, far from any grey.
int Ink(const Canvas& canvas, const ARect& area, bool colours) {
    int n = 0;
    for (int y = area.top(); y < area.bottom(); ++y) {
        for (int x = area.left(); x < area.right(); ++x) {
            COLORREF c = canvas.pixel(x, y);
            int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
            bool dark = r + g + b < 3 * 128;
            bool coloured = std::abs(r - b) > 60;
            n += (colours ? coloured : dark) ? 1 : 0;
        }
    }
    return n;
}

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

}  // namespace

TEST_F(ClusterTest, ALayoutBuildsTheItemsWithTheirRecordsAndTheWindowShowsThem) {
    auto* w = Open<TestWindow>(app, ARect(0, 0, 420, 240), "#background:255,255,255");
    if (!w->openWindow("Pr\xe9"
                       "f\xe9rences"))
        GTEST_SKIP() << "no display";
    AComponent* loaded = AComponent::loadLayout(w, "ClusterDialog", 0);
    ASSERT_NE(nullptr, loaded);
    auto* dialog = Item<ALocalCluster>(w, 200);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(1200, dialog->getId());
    ASSERT_NE(nullptr, dialog->ownDisplayEnv());
    EXPECT_EQ(0x02D8E9ECu, dialog->ownDisplayEnv()->backColor());

    auto* bar = Item<AToolBar>(dialog, 210);
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ("Outils", std::string(bar->title().c_str()));
    EXPECT_EQ(0, bar->itemFlags() & AToolBar::kPalette) << "placed at (0, 0)";
    EXPECT_EQ(w->hwnd(), GetParent(bar->getHWnd()));
    EXPECT_NE(nullptr, Item<AStaticText>(bar, 211)) << "the bar files its own items";
    EXPECT_FALSE(dialog->hasItem(211));

    auto* title = Item<AStaticText>(dialog, 201);
    ASSERT_NE(nullptr, title);
    EXPECT_EQ(
        "Encyclop\xe9"
        "die Savantorium \x97 Pr\xe9"
        "f\xe9rences",
        std::string(title->getText().c_str()));
    EXPECT_NE(0, title->format() & DT_CENTER);
    EXPECT_EQ("Arial", std::string(title->font()->spec().face.c_str()));
    auto* group = Item<AGroupBox>(dialog, 203);
    ASSERT_NE(nullptr, group);
    EXPECT_EQ("Options d'affichage", std::string(group->getText().c_str()));
    EXPECT_NE(nullptr, Item<AStaticText>(dialog, 205)) << "a group box is no cluster";
    auto* image = Item<AStaticImage>(dialog, 207);
    ASSERT_NE(nullptr, image);
    ASSERT_NE(nullptr, image->image());
    EXPECT_EQ(APoint(48, 48), image->image()->body()->size());
    EXPECT_EQ(AClusterItem::kTabStop | AClusterItem::kFocusable, Item<AAtomicItem>(dialog, 208)->itemFlags());
    EXPECT_EQ(AClusterItem::kShownByState, Item<AAtomicItem>(dialog, 209)->itemFlags());

    dialog->show(false);
    w->showUpdate();
    ShowWindow(w->hwnd(), SW_SHOW);
    UpdateWindow(w->hwnd());
    RedrawWindow(w->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump();
    Canvas canvas(420, 240);
    HDC screen = GetDC(nullptr);
    BitBlt(canvas.dc(), 0, 0, 420, 240, screen, 0, 0, SRCCOPY);
    ReleaseDC(nullptr, screen);
    canvas.savePng("clusters-dialog");
    struct Area {
        const char* name;
        ARect area;
        bool colours;
        bool ink;
    } areas[] = {
        {"centred title", ARect(100, 42, 320, 60), false, true},
        {"left of the centred title", ARect(10, 42, 60, 60), false, false},
        {"tool bar text", ARect(8, 4, 200, 24), false, true},
        {"group box title", ARect(30, 100, 120, 112), false, true},
        {"gap of the group box's top line", ARect(27, 105, 29, 107), false, false},
        {"text in the group box", ARect(20, 146, 200, 166), false, true},
        {"picture", ARect(330, 110, 378, 158), true, true},
    };
    for (const Area& a : areas) {
        SCOPED_TRACE(a.name);
        if (a.ink)
            EXPECT_GT(Ink(canvas, a.area, a.colours), 20);
        else
            EXPECT_EQ(0, Ink(canvas, a.area, a.colours));
    }
    EXPECT_EQ(RGB(236, 233, 216), canvas.pixel(405, 95)) << "the dialog's background";
    EXPECT_EQ(RGB(200, 214, 236), canvas.pixel(410, 10)) << "the tool bar's background";
}
