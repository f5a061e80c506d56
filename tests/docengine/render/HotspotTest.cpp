// The hotspot renderer over a picture in a hotspot view: region hits and
// kinds, the cursor of each mode, clicks and drags of the real mouse in a
// shown window, showing a region, the marker, and a picture of the regions.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "base/procedural/AImageLibError.h"
#include "docengine/model/AFragmentArea.h"
#include "docengine/model/ASegment.h"
#include "docengine/parser/AFragParserVariants.h"
#include "docengine/render/AHotspotRenderer.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/styles/AStyleSheet.h"
#include "framework/bitmaps/ABitmapLayer.h"
#include "framework/display/APrintRange.h"
#include "tests/docengine/model/ModelTestSupport.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"
#include "tests/framework/views/ViewTestSupport.h"

namespace {

// The first line names the picture; then left,top,width,height,kind#name.
// Kinds 1, 2, 3 give the types 3, 2, 1; "dessous" lies under "nord".
const char kRegions[] =
    "carte.bmp\n"
    "20,30,60,40,1#nord\n"
    "150,40,80,50,2#est\n"
    "60,120,90,60,3#sud\n"
    "300,200,70,60,1#loin\n"
    "100,50,50,50,0#zero\n"
    "40,40,30,30,2#dessous\n";

const COLORREF kSea = RGB(120, 170, 220);
const COLORREF kLand = RGB(110, 180, 90);
const COLORREF kMarker = RGB(250, 200, 0);
const COLORREF kMarkerLit = RGB(230, 30, 160);

// A 24-bit BMP painted by paint, written to the temporary folder; answers its path.
std::string PaintBmp(const char* name, int width, int height, const std::function<void(HDC)>& paint) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP dib = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, dib);
    paint(dc);
    GdiFlush();
    const DWORD size = static_cast<DWORD>(((width * 3 + 3) & ~3) * height);
    BITMAPFILEHEADER head = {};
    head.bfType = 0x4D42;
    head.bfOffBits = sizeof head + sizeof info.bmiHeader;
    head.bfSize = head.bfOffBits + size;
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    std::string path = std::string(folder) + name;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD done = 0;
    WriteFile(file, &head, sizeof head, &done, nullptr);
    WriteFile(file, &info.bmiHeader, sizeof info.bmiHeader, &done, nullptr);
    WriteFile(file, bits, size, &done, nullptr);
    CloseHandle(file);
    SelectObject(dc, old);
    DeleteObject(dib);
    DeleteDC(dc);
    return path;
}

void Fill(HDC dc, const RECT& r, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

// A sea with three islands, 600 by 450.
std::string MapPicture() {
    return PaintBmp("hotspot-map.bmp", 600, 450, [](HDC dc) {
        Fill(dc, RECT{0, 0, 600, 450}, kSea);
        HBRUSH land = CreateSolidBrush(kLand);
        HGDIOBJ old = SelectObject(dc, land);
        SelectObject(dc, GetStockObject(NULL_PEN));
        Ellipse(dc, 10, 20, 250, 200);
        Ellipse(dc, 270, 170, 420, 300);
        Ellipse(dc, 440, 40, 580, 140);
        SelectObject(dc, old);
        DeleteObject(land);
    });
}

// Two 16-pixel frames on white (drawn transparent): a plain disc and a lit one.
std::string MarkerPicture() {
    return PaintBmp("hotspot-marker.bmp", 32, 16, [](HDC dc) {
        Fill(dc, RECT{0, 0, 32, 16}, RGB(255, 255, 255));
        Fill(dc, RECT{3, 3, 13, 13}, kMarker);
        Fill(dc, RECT{19, 3, 29, 13}, kMarkerLit);
    });
}

// Moves the real pointer to a client point of the window, then sends a button change.
void PointerAt(HWND window, const APoint& client, DWORD button) {
    POINT s = {client.x, client.y};
    ClientToScreen(window, &s);
    SetCursorPos(s.x, s.y);
    Pump();
    if (button)
        mouse_event(button, 0, 0, 0, 0);
    Pump();
}

// Records the notices the renderer sends its command item.
class NoticedHotspot : public AHotspotRenderer {
public:
    using AHotspotRenderer::AHotspotRenderer;
    void notifyTarget(long code, bool alternate) override {
        notices += std::to_string(code) + (alternate ? "a;" : ";");
        AHotspotRenderer::notifyTarget(code, alternate);
    }
    std::string notices;
};

class HotspotTest : public ViewTest {
protected:
    // A hotspot view of the size in a scroller over the map and its regions;
    // false when a window was asked for and there is no display.
    bool open(bool shown, APoint size = APoint(200, 150)) {
        window = Open<TestWindow>(app, ARect(0, 0, size.x + 40, size.y + 40), "#background:255,255,255");
        if (shown && !window->openWindow("hotspot"))
            return false;
        scroller = Shown(Open<AScroller>(window, int16_t(3), Frame(0, 0, size.x, size.y), uint16_t(0), uint16_t(0)));
        hv = Shown(Open<AHotspotView>(scroller, int16_t(10), Frame(0, 0, size.x, size.y)));
        hv->childrenLoaded();
        EXPECT_NE(nullptr, hv->bitmapLayer());
        EXPECT_NE(nullptr, hv->rendererLayer());
        if (!hv->bitmapLayer() || !hv->rendererLayer())
            return false;
        hv->bitmapLayer()->setBitmap(AImageSpec::fromFile(MapPicture().c_str(), 0, 0));
        scroller->update();
        renderer = new NoticedHotspot(hv->rendererLayer());
        renderer->addRef();
        AIndexedDocModel* model = MakeIndexedModel(kRegions, new AAnchorFragParser('/'));
        renderer->setModel(model);
        model->release();
        hv->rendererLayer()->setRenderer(renderer);
        renderer->attach();
        renderer->relayoutFrom(0, true);
        if (shown) {
            window->showUpdate();
            ShowWindow(window->hwnd(), SW_SHOW);
            UpdateWindow(window->hwnd());
            SetForegroundWindow(window->hwnd());
            app->flushUpdates();
            Pump();
        }
        return true;
    }
    void TearDown() override {
        if (renderer)
            renderer->release();
        ViewTest::TearDown();
    }
    // The current hit's region name, "-" for a hit outside the regions, "none" without a hit.
    std::string region() {
        const AHitRecord* hit = renderer->hitRecord();
        return hit && hit->fragment ? hit->fragment->getName().c_str() : hit ? "-" : "none";
    }
    // A press at one content point and a release at another, the real pointer moving between.
    void click(const APoint& from, const APoint& to) {
        APoint o = scroller->position();
        PointerAt(window->hwnd(), from - o, MOUSEEVENTF_LEFTDOWN);
        PointerAt(window->hwnd(), APoint((from.x + to.x) / 2, (from.y + to.y) / 2) - o, 0);
        PointerAt(window->hwnd(), to - o, 0);
        PointerAt(window->hwnd(), to - o, MOUSEEVENTF_LEFTUP);
    }
    // The window's client area as it is on the screen.
    void capture(Canvas& canvas, const APoint& size) {
        HDC dc = GetDC(window->hwnd());
        BitBlt(canvas.dc(), 0, 0, size.x, size.y, dc, 0, 0, SRCCOPY);
        ReleaseDC(window->hwnd(), dc);
    }

    AHotspotView* hv = nullptr;
    NoticedHotspot* renderer = nullptr;
};

}  // namespace

TEST_F(HotspotTest, RegionsAreTheFirstFragmentsOfTheLaterSegmentsAndTheFirstOfThemWinsAPoint) {
    ASSERT_TRUE(open(false));
    std::string list;
    for (AFragmentArea* a = renderer->regions(); a; a = a->next()) {
        list += std::string(a->fragment()->getName().c_str()) + " ";
        EXPECT_GT(a->fragment()->segment()->refCount(), 0) << "the list keeps its segments locked";
    }
    EXPECT_EQ("nord est sud loin zero dessous ", list) << "the picture's line is no region";
    const long plain = renderer->cursorFor(0);
    struct Row {
        APoint point;
        const char* region;  // the hit fragment's name, "-" for none
        uint16_t kind;
        long cursor[3];  // region, pan and cross modes
    } rows[] = {
        {APoint(20, 30), "nord", 1, {128, 128, 128}},    {APoint(79, 69), "nord", 1, {128, 128, 128}},
        {APoint(80, 50), "-", 3, {plain, 120, 0x7F03}},  // the right edge is outside
        {APoint(50, 70), "-", 3, {plain, 120, 0x7F03}},  // and so is the bottom edge
        {APoint(45, 45), "nord", 1, {128, 128, 128}},    // "dessous" comes later
        {APoint(160, 50), "est", 1, {130, 130, 130}},    {APoint(70, 130), "sud", 1, {129, 129, 129}},
        {APoint(120, 70), "-", 3, {plain, 120, 0x7F03}},  // a region without a type
        {APoint(5, 5), "-", 3, {plain, 120, 0x7F03}},
    };
    const uint16_t modes[3] = {0, HotspotBits::kPanMode, HotspotBits::kCrossMode};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.point.x) + "," + std::to_string(row.point.y));
        AHitRecord hit = renderer->hitRecordAt(row.point);
        hit.code = renderer->hitCodeOf(hit.fragment, hit.run, hit.position);
        hit.kind = renderer->hitKindOf(hit.fragment, hit.code);
        EXPECT_EQ(row.region, std::string(hit.fragment ? hit.fragment->getName().c_str() : "-"));
        EXPECT_EQ(row.kind, hit.kind);
        for (int m = 0; m < 3; ++m) {
            renderer->interaction = modes[m];
            EXPECT_EQ(row.cursor[m], renderer->cursorFor(renderer->cursorKindOf(hit))) << "mode " << m;
        }
    }

    renderer->relayoutFrom(7, true);
    EXPECT_EQ("nord", std::string(renderer->regions()->fragment()->getName().c_str()));
    long count = 0;
    for (AFragmentArea* a = renderer->regions(); a; a = a->next())
        ++count;
    EXPECT_EQ(6, count) << "a relayout keeps the list it has";
    AIndexedDocModel* bare = MakeIndexedModel("carte.bmp\n", new AAnchorFragParser('/'));
    renderer->setModel(bare);
    bare->release();
    renderer->attach();
    renderer->relayoutFrom(0, true);
    EXPECT_EQ(nullptr, renderer->regions());
    AHitRecord hit = renderer->hitRecordAt(APoint(30, 40));
    EXPECT_EQ(3, renderer->hitKindOf(hit.fragment, 0)) << "one segment, no regions";
}

TEST_F(HotspotTest, CopiesKeepTheMarginAndMarkerButNeitherRegionsNorTheMarkerPlace) {
    ASSERT_TRUE(open(false));
    renderer->setPickMargin(5);
    renderer->setMarkerPicture(AImageSpec::fromFile(MarkerPicture().c_str(), 0x0102, 0));
    renderer->moveMarker(APoint(100, 100));
    EXPECT_EQ(ARect(92, 92, 108, 108), renderer->markerRect()) << "a 16-pixel frame centred on the point";
    auto* copy = dynamic_cast<AHotspotRenderer*>(renderer->makeDetachedCopy(ARect(0, 0, 50, 50), true, nullptr));
    ASSERT_NE(nullptr, copy);
    copy->addRef();
    EXPECT_EQ(5, copy->pickMargin());
    EXPECT_NE(nullptr, copy->markerPicture());
    EXPECT_EQ(ARect(), copy->markerRect());
    EXPECT_EQ(nullptr, copy->regions());
    EXPECT_EQ(0, copy->interaction & (HotspotBits::kPanMode | HotspotBits::kCrossMode));
    copy->showRegion(0, 1);
    EXPECT_EQ(ARect(), copy->markerRect()) << "a detached copy shows nothing";
    copy->release();
    ARendererLayer* layer = hv->rendererLayer();
    const ARect body(0, 0, 500, 700);
    layer->beginPrinting(body);
    const APrintRange all{0, 1000, 1, 1, 0};
    EXPECT_TRUE(layer->pageAvailable(all, 0));
    layer->drawPage(body, 0, false);
    EXPECT_FALSE(layer->pageAvailable(all, 1)) << "one page, not the thousand of the range";
    layer->endPrinting();
    renderer->clearMarker();
    EXPECT_EQ(ARect(), renderer->markerRect());
    EXPECT_THROW(renderer->setMarkerPicture(AImageSpec::fromFile("Z:\\nowhere\\marker.bmp", 0x0102, 0)),
                 AImageLibError);
    EXPECT_NE(nullptr, renderer->markerPicture()) << "a refused picture leaves the old one";
}

TEST_F(HotspotTest, AClickWithinTheRegionOrThePickMarginSelectsAndDragsFollowTheMode) {
    if (!open(true))
        GTEST_SKIP() << "no display";
    struct Row {
        const char* what;
        uint16_t mode;
        long margin;
        APoint from, to;
        const char* region;  // after the release: the hit region, "-" outside, "none" without a hit
        APoint scroll;       // the scroller's position after the release
    } rows[] = {
        {"a click on a region", 0, 16, APoint(30, 40), APoint(30, 40), "nord", APoint(0, 0)},
        {"released elsewhere on its region", 0, 16, APoint(30, 40), APoint(75, 65), "nord", APoint(0, 0)},
        {"released off the region", 0, 16, APoint(30, 40), APoint(90, 40), "none", APoint(0, 0)},
        {"outside, released in the margin", 0, 16, APoint(180, 130), APoint(190, 140), "-", APoint(0, 0)},
        {"outside, released past the margin", 0, 16, APoint(180, 130), APoint(180, 100), "none", APoint(0, 0)},
        {"the same with a wider margin", 0, 40, APoint(180, 130), APoint(180, 100), "-", APoint(0, 0)},
        {"a pan drag outside the regions", HotspotBits::kPanMode, 16, APoint(180, 130), APoint(130, 100), "none",
         APoint(50, 30)},
        {"a click on a region in pan mode", HotspotBits::kPanMode, 16, APoint(160, 60), APoint(160, 60), "est",
         APoint(50, 30)},
        {"a cross drag outside the regions", HotspotBits::kCrossMode, 16, APoint(180, 130), APoint(130, 100), "none",
         APoint(50, 30)},
        {"a click on a region in cross mode", HotspotBits::kCrossMode, 16, APoint(70, 130), APoint(70, 130), "sud",
         APoint(50, 30)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        renderer->interaction = row.mode;
        renderer->setPickMargin(row.margin);
        renderer->clearHitRecord(nullptr);
        renderer->notices.clear();
        click(row.from, row.to);
        EXPECT_EQ(row.region, region());
        EXPECT_EQ(std::string(row.region) == "none" ? "" : "1;", renderer->notices);
        EXPECT_EQ(row.scroll, scroller->position());
        EXPECT_EQ(0, renderer->interaction & RendererBits::kButtonDown);
        Sleep(GetDoubleClickTime() + 50);  // the next press is not a double click
    }
    renderer->interaction = 0;
    renderer->clearHitRecord(nullptr);
    click(APoint(160, 60), APoint(160, 60));
    EXPECT_EQ(2, renderer->getHitKind()) << "the region's type";
    EXPECT_EQ("est", std::string(renderer->getHitName().c_str()));
}

TEST_F(HotspotTest, TheCursorsFollowTheModeUnderTheRealPointer) {
    if (!open(true))
        GTEST_SKIP() << "no display";
    const long plain = renderer->cursorFor(0);
    struct Row {
        uint16_t mode;
        APoint point;
        long cursor;
        long pressed;  // while the button is down there
    } rows[] = {
        {0, APoint(30, 40), 128, 228},
        {0, APoint(160, 60), 130, 230},
        {0, APoint(70, 130), 129, 229},
        {0, APoint(180, 130), plain, plain},
        {HotspotBits::kPanMode, APoint(180, 130), 120, 120},
        {HotspotBits::kPanMode, APoint(30, 40), 128, 228},
        {HotspotBits::kCrossMode, APoint(180, 130), 0x7F03, 0x7F03},
        {HotspotBits::kCrossMode, APoint(160, 60), 130, 230},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.mode) + " at " + std::to_string(row.point.x));
        renderer->interaction = row.mode;
        PointerAt(window->hwnd(), APoint(5, 5), 0);
        PointerAt(window->hwnd(), row.point - scroller->position(), 0);
        EXPECT_EQ(row.cursor, renderer->shownCursor());
        EXPECT_EQ(row.cursor, app->cursorId());
        PointerAt(window->hwnd(), row.point - scroller->position(), MOUSEEVENTF_LEFTDOWN);
        EXPECT_EQ(row.pressed, renderer->shownCursor()) << "pressed";
        PointerAt(window->hwnd(), row.point - scroller->position(), MOUSEEVENTF_LEFTUP);
        Sleep(GetDoubleClickTime() + 50);
    }
}

TEST_F(HotspotTest, ShowRegionCentresTheScrollerOnTheRegionAndMovesThePointerOrTheMarker) {
    if (!open(true))
        GTEST_SKIP() << "no display";
    renderer->showRegion(0, 4);
    EXPECT_EQ(APoint(235, 155), scroller->position()) << "loin's centre (335, 230) in the middle";
    POINT pointer;
    GetCursorPos(&pointer);
    EXPECT_EQ(hv->localToScreen(APoint(335, 230)), APoint(pointer.x, pointer.y));
    renderer->showRegion(0, 7);
    renderer->showRegion(0, 0);
    EXPECT_EQ(APoint(235, 155), scroller->position()) << "no seventh region, no count: nothing moves";
    renderer->showRegion(3, 1);
    EXPECT_EQ(APoint(0, 0), scroller->position()) << "nord's centre (50, 50) cannot be centred: the view stops at 0";
    renderer->setMarkerPicture(AImageSpec::fromFile(MarkerPicture().c_str(), 0x0102, 0));
    SetCursorPos(0, 0);
    renderer->showRegion(0, 3);
    EXPECT_EQ(APoint(5, 75), scroller->position()) << "sud's centre (105, 150)";
    EXPECT_EQ(ARect(97, 142, 113, 158), renderer->markerRect());
    GetCursorPos(&pointer);
    EXPECT_EQ(APoint(0, 0), APoint(pointer.x, pointer.y)) << "with a marker the pointer stays";
}

TEST_F(HotspotTest, PictureOfTheRegionsOutlinedOverTheMapWithTheMarker) {
    const APoint size(300, 220);
    if (!open(true, size))
        GTEST_SKIP() << "no display";
    renderer->options |= HotspotBits::kOutlines;
    renderer->styleSheet()->setColor(3, RGB(220, 0, 0));
    renderer->styleSheet()->setColor(2, RGB(0, 0, 200));
    renderer->styleSheet()->setColor(1, RGB(120, 0, 160));
    renderer->setMarkerPicture(AImageSpec::fromFile(MarkerPicture().c_str(), 0x0102, 0));
    renderer->showRegion(0, 2);
    EXPECT_EQ(APoint(40, 0), scroller->position()) << "est's centre (190, 65), as near the middle as it goes";
    hv->invalidate();
    window->showUpdate();
    app->flushUpdates();
    Pump();
    UpdateWindow(window->hwnd());
    Canvas canvas(size.x, size.y);
    capture(canvas, size);
    EXPECT_FALSE(canvas.savePng("hotspot-regions").empty());
    const APoint o = scroller->position();
    struct Row {
        const char* what;
        APoint content;
        COLORREF colour;
    } rows[] = {
        {"est's left edge", APoint(150, 60), RGB(0, 0, 200)},
        {"est's last column", APoint(229, 60), RGB(0, 0, 200)},
        {"est's top edge", APoint(170, 40), RGB(0, 0, 200)},
        {"inside est, off the marker", APoint(225, 45), kSea},
        {"sud's top edge", APoint(100, 120), RGB(120, 0, 160)},
        {"sud's last column", APoint(149, 130), RGB(120, 0, 160)},
        {"the untyped region's top edge", APoint(120, 50), RGB(0, 0, 0)},
        {"nord's top edge", APoint(60, 30), RGB(220, 0, 0)},
        {"dessous's left edge, over nord", APoint(40, 55), RGB(0, 0, 200)},
        {"inside nord: the sea", APoint(60, 35), kSea},
        {"inside sud: land", APoint(100, 140), kLand},
        {"the marker", APoint(190, 65), kMarker},
        {"the marker's white corner", APoint(183, 58), kLand},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        APoint p = row.content - o;
        EXPECT_EQ(row.colour, canvas.pixel(p.x, p.y));
    }
    renderer->setFocus(true);  // the highlight shows the marker's second frame
    window->showUpdate();
    Pump();
    UpdateWindow(window->hwnd());
    capture(canvas, size);
    EXPECT_EQ(kMarkerLit, canvas.pixel(190 - o.x, 65 - o.y));
}
