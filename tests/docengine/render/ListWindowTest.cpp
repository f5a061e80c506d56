// A list and a tile view on the layout's standard view in a shown window: a
// shift-drag sent to the window selects a range of rows, and the pictures of
// both views are kept under build/artifacts/.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "docengine/render/AListRenderer.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/render/ATileRenderer.h"
#include "docengine/text/AReader.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"
#include "tests/framework/views/ViewTestSupport.h"

namespace {

class Titles : public ALineGetter {
public:
    void getLine(AString& out, long row) override {
        static const char* const kNames[] = {"Volcan", "Glacier", "Delta", "Atoll", "Canyon", "Geyser", "Fjord"};
        std::string text = std::string(kNames[row % 7]) + " " + std::to_string(row + 1) + "\n";
        out = AString(text.c_str());
    }
    long getLineCount() override { return 40; }
};

// The mouse messages of a press, moves and release at client points, with the keys given.
void Drag(HWND window, const APoint& from, const APoint& to, WPARAM keys) {
    SendMessageA(window, WM_MOUSEMOVE, keys, MAKELPARAM(from.x, from.y));
    SendMessageA(window, WM_LBUTTONDOWN, keys | MK_LBUTTON, MAKELPARAM(from.x, from.y));
    for (int i = 1; i <= 4; ++i) {
        int y = from.y + (to.y - from.y) * i / 4;
        SendMessageA(window, WM_MOUSEMOVE, keys | MK_LBUTTON, MAKELPARAM(to.x, y));
    }
    SendMessageA(window, WM_LBUTTONUP, keys, MAKELPARAM(to.x, to.y));
    Pump();
}

// A list whose owner does not track rows: releases activate.
class ActivatingList : public AListRenderer {
public:
    using AListRenderer::AListRenderer;
    bool wantsRowTracking() override { return false; }
    ACommand* activateHit(const AHitRecord& hit) override {
        activated += (activated.empty() ? "" : ",") + std::to_string(rowOfHit(hit));
        return AListRenderer::activateHit(hit);
    }
    std::string activated;
};

APoint Centre(const ARect& r) {
    return APoint((r.first.x + r.second.x) / 2, (r.first.y + r.second.y) / 2);
}

class ListWindowTest : public ViewTest {
protected:
    // The layout's standard view in a shown window; false without a display.
    bool openWindow() {
        window = Open<TestWindow>(app, ARect(0, 0, 440, 320), "#background:255,255,255");
        if (!window->openWindow("lists"))
            return false;
        AComponent* loaded = AComponent::loadLayout(window, "RenderLayout", 0);
        EXPECT_NE(nullptr, loaded);
        if (loaded)
            dynamic_cast<ADisplayComponent*>(loaded)->show(false);
        sv = loaded ? dynamic_cast<AStandardView*>(loaded->findById(302, 0)) : nullptr;
        EXPECT_NE(nullptr, sv);
        getter = new Titles();
        getter->addRef();
        return sv && sv->rendererLayer();
    }
    void install(AListRenderer* r, uint16_t listOptions) {
        r->addRef();
        if (renderer)
            renderer->release();
        renderer = r;
        r->listOptions = listOptions;
        r->selectedColour = RGB(170, 205, 240);
        r->separatorColour = RGB(200, 200, 200);
        r->setSourceModel(getter, nullptr);
        sv->rendererLayer()->setRenderer(r);
        r->attach();
        window->showUpdate();
        app->flushUpdates();
        Pump();
    }
    std::string marked() {
        std::string out;
        for (long row = 0; row < renderer->model()->getLength(); ++row)
            if (renderer->model()->isMarkedStart(row))
                out += (out.empty() ? "" : ",") + std::to_string(row);
        return out;
    }
    Canvas* picture(const char* name) {
        sv->invalidate();
        window->showUpdate();
        app->flushUpdates();
        Pump();
        canvas.reset(new Canvas(440, 320));
        HDC dc = GetDC(window->hwnd());
        BitBlt(canvas->dc(), 0, 0, 440, 320, dc, 0, 0, SRCCOPY);
        ReleaseDC(window->hwnd(), dc);
        EXPECT_FALSE(canvas->savePng(name).empty());
        return canvas.get();
    }
    void TearDown() override {
        canvas.reset();
        if (renderer)
            renderer->release();
        if (getter)
            getter->release();
        ViewTest::TearDown();
    }

    AStandardView* sv = nullptr;
    AListRenderer* renderer = nullptr;
    Titles* getter = nullptr;
    std::unique_ptr<Canvas> canvas;
};

}  // namespace

TEST_F(ListWindowTest, AShiftDragSelectsTheRowsItCrossesAndThePicturesShowTheSelection) {
    if (!openWindow())
        GTEST_SKIP() << "no display";
    install(new AListRenderer(sv->rendererLayer()), ListOptions::kMultiple);
    ASSERT_TRUE(renderer->state & RendererBits::kLaidOut);
    ASSERT_GT(renderer->rowRect(7).second.y, 0);
    Drag(window->hwnd(), Centre(renderer->rowRect(1)), Centre(renderer->rowRect(1)), 0);
    EXPECT_EQ("1", marked()) << "a click";
    Drag(window->hwnd(), Centre(renderer->rowRect(3)), Centre(renderer->rowRect(7)), MK_SHIFT);
    EXPECT_EQ("1,3,4,5,6,7", marked()) << "the drag gives rows 3 to 7 the state of row 3 after the press";
    Canvas* list = picture("list-view");
    ARect row4 = renderer->rowRect(4);
    EXPECT_EQ(RGB(170, 205, 240), list->pixel(row4.second.x - 2, row4.first.y + 2)) << "a selected row";
    EXPECT_EQ(RGB(200, 200, 200), list->pixel(row4.first.x, row4.second.y - 1)) << "its separator";
    EXPECT_GT(list->inkIn(renderer->rowRect(2)), 0) << "the rows' text";

    auto* tiles = new ATileRenderer(sv->rendererLayer());
    tiles->setTileLayout(getter->getLineCount(), 92);
    install(tiles, ListOptions::kMultiple);
    ASSERT_EQ(4, tiles->columns);
    Drag(window->hwnd(), Centre(tiles->rowRect(5)), Centre(tiles->rowRect(5)), 0);
    tiles->selectRow(10, ListOptions::kAdditiveKey, 0, -1);
    EXPECT_EQ("5,10", marked());
    Canvas* tilePicture = picture("tile-view");
    ARect tile10 = tiles->rowRect(10);
    EXPECT_EQ(RGB(170, 205, 240), tilePicture->pixel(tile10.second.x - 2, tile10.first.y + 2));
    EXPECT_EQ(2 * 92, tile10.first.x - tiles->rowRect(8).first.x) << "the third column";
}

TEST_F(ListWindowTest, WhenTheOwnerTracksNoRowsAReleaseOnThePressedRowActivatesIt) {
    if (!openWindow())
        GTEST_SKIP() << "no display";
    auto* list = new ActivatingList(sv->rendererLayer());
    install(list, ListOptions::kTrackAlways);
    EXPECT_EQ("0", marked());
    struct Row {
        long from, to;
        uint16_t options;
        const char* marked;
        const char* activated;
    } rows[] = {
        {0, 0, ListOptions::kTrackAlways, "0", "0"},  // a click on the selected row changes nothing, and opens it
        {2, 4, ListOptions::kTrackAlways, "4", "0"},  // a release on another row opens nothing
        {1, 3, ListOptions::kTrackAlways | ListOptions::kActivateAnyRow, "3", "0,3"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.activated);
        list->listOptions = row.options;
        Drag(window->hwnd(), Centre(list->rowRect(row.from)), Centre(list->rowRect(row.to)), 0);
        EXPECT_EQ(row.marked, marked());
        EXPECT_EQ(row.activated, list->activated);
    }
}
