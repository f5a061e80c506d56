// Bitmap layers: tiling, fitting and scaling; bitmap and pattern views.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "base/procedural/AImageLibError.h"
#include "framework/bitmaps/ABitmapView.h"
#include "framework/graphics/ADisplayLock.h"
#include "framework/graphics/APaletteTable.h"
#include "tests/framework/clusters/ClusterTestSupport.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"

namespace {

// A checker of 8-pixel squares, red and pale yellow, so tiles show in pictures.
COLORREF CheckerPixel(int x, int y) {
    return ((x / 8) + (y / 8)) % 2 ? RGB(200, 40, 40) : RGB(250, 240, 180);
}

// Writes a bottom-up BMP of the size into the temporary folder; answers its
// path. 24 bits: the checker; 8 bits: a grey ramp over a 256-grey table.
std::string WriteBmp(const char* name, int width, int height, int bits = 24) {
    const int stride = (width * (bits / 8) + 3) & ~3;
    std::vector<unsigned char> pixels(static_cast<size_t>(stride) * height);
    std::vector<RGBQUAD> table(bits == 8 ? 256 : 0);
    for (size_t i = 0; i < table.size(); ++i)
        table[i] = RGBQUAD{BYTE(i), BYTE(i), BYTE(i), 0};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            unsigned char* p = &pixels[static_cast<size_t>(y) * stride + x * (bits / 8)];
            if (bits == 8) {
                p[0] = static_cast<unsigned char>(x);
                continue;
            }
            COLORREF c = CheckerPixel(x, height - 1 - y);
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = static_cast<WORD>(bits);
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = static_cast<DWORD>(sizeof file + sizeof info + table.size() * sizeof(RGBQUAD));
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    std::string path = std::string(folder) + name;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD done = 0;
    WriteFile(h, &file, sizeof file, &done, nullptr);
    WriteFile(h, &info, sizeof info, &done, nullptr);
    if (!table.empty())
        WriteFile(h, table.data(), static_cast<DWORD>(table.size() * sizeof(RGBQUAD)), &done, nullptr);
    WriteFile(h, pixels.data(), static_cast<DWORD>(pixels.size()), &done, nullptr);
    CloseHandle(h);
    return path;
}

// Notes where the layer puts the picture: "x,y wxh" per drawing.
class RecordingLayer : public ABitmapLayer {
public:
    RecordingLayer(AComponent* parent, int16_t id) : ABitmapLayer(parent, id, ASizeSpec::fill) {}
    std::string drawn;

protected:
    void drawPicture(const ARect& dest) override {
        drawn += std::to_string(dest.left()) + "," + std::to_string(dest.top()) + " " + std::to_string(dest.width()) +
                 "x" + std::to_string(dest.height()) + " ";
    }
    void drawTiles(const std::vector<ARect>& tiles) override {
        for (const ARect& tile : tiles)
            drawPicture(tile);
    }
};

// Lays out a tree that no native window lays out.
void Place(ADisplayComponent* root) {
    root->setPlaced(true);
    AListIterator it(&root->children());
    while (void* c = it.next())
        if (auto* d = dynamic_cast<ADisplayComponent*>(static_cast<AComponent*>(c)))
            d->setPlaced(true);
    root->relayout();
}

class BitmapViewTest : public ClusterTest {
protected:
    // A window holding a layer view of the frame with a recording layer.
    RecordingLayer* makeLayer(const ARect& frame) {
        window = Open<TestWindow>(app, ARect(0, 0, 900, 900), "#background:255,255,255");
        auto* view = Shown(
            Open<ALayerView>(window, int16_t(4), ASizeSpec(frame), int16_t(0), uint16_t(1), nullptr, uint16_t(0x3000)));
        auto* layer = Shown(Open<RecordingLayer>(view, int16_t(5)));
        window->setPlaced(true);
        Place(view);
        return layer;
    }
    TestWindow* window = nullptr;
};

}  // namespace

TEST_F(BitmapViewTest, TilesFitsScalesAndCentresThePicture) {
    struct Row {
        const char* name;
        APoint image;
        APoint frame;
        bool tiled;
        int16_t fitMode;
        bool fitAlways;
        int16_t scale;
        bool centre;
        ARect update;
        const char* drawn;
        APoint content;
    };
    // clang-format off
    const Row rows[] = {
        {"tiles on the grid of the origin", {16, 16}, {100, 100}, true, 0, false, 100, false, {20, 5, 40, 30},
         "16,0 16x16 16,16 16x16 32,0 16x16 32,16 16x16 ", {0, 0}},
        {"shrunk to fit", {400, 300}, {200, 200}, false, 1, false, 100, false, {0, 0, 200, 200},
         "0,25 200x150 ", {0, 0}},
        {"small enough: kept, centred", {400, 300}, {800, 800}, false, 1, false, 100, false, {0, 0, 800, 800},
         "200,250 400x300 ", {0, 0}},
        {"fitted always: enlarged", {400, 300}, {800, 800}, false, 1, true, 100, false, {0, 0, 800, 800},
         "0,100 800x600 ", {0, 0}},
        {"scale 50 rounds", {101, 51}, {200, 200}, false, 0, false, 50, false, {0, 0, 200, 200},
         "0,0 51x26 ", {51, 26}},
        {"centred with room", {100, 50}, {200, 200}, false, 0, false, 100, true, {0, 0, 200, 200},
         "50,75 100x50 ", {100, 50}},
        {"centred without room", {300, 250}, {200, 200}, false, 0, false, 100, true, {0, 0, 200, 200},
         "0,0 300x250 ", {300, 250}},
        {"tiles from a negative edge", {16, 16}, {100, 100}, true, 0, false, 100, false, {-20, 0, 4, 10},
         "-16,0 16x16 0,0 16x16 ", {0, 0}},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RecordingLayer* layer = makeLayer(ARect(0, 0, row.frame.x, row.frame.y));
        ASSERT_EQ(row.frame, layer->getSize());
        std::string name = "bmv" + std::to_string(row.image.x) + "x" + std::to_string(row.image.y) + ".bmp";
        AImageSpec spec = AImageSpec::fromFile(WriteBmp(name.c_str(), row.image.x, row.image.y).c_str(), 0, 0);
        if (row.tiled)
            layer->setPatternBitmap(spec);
        else
            layer->setBitmap(spec);
        layer->setDisplayMode(row.fitMode, row.fitAlways);
        if (!row.fitMode)
            layer->setScale(row.scale, row.centre, row.centre);
        EXPECT_EQ(row.content, layer->layerOwner()->getContentSize()) << "plain placement only scrolls";
        Canvas canvas(10, 10);
        {
            ADisplayLock lock(layer, canvas.dc(), AGraphicDisplay::kOwnDevice, nullptr, Everywhere());
            layer->drawContent(row.update);
        }
        EXPECT_EQ(row.drawn, layer->drawn);
        AComponent* gone = window;
        DeleteComponent(gone);
    }
}

TEST_F(BitmapViewTest, PrintingFitsThePictureInsideTheInsetPageAndFramesIt) {
    struct Row {
        const char* name;
        APoint image;
        ARect update;
        const char* drawn;
    };
    const Row rows[] = {
        {"shrunk", {400, 300}, {0, 0, 206, 156}, "3,3 200x150 "},
        {"enlarged and centred", {100, 50}, {0, 0, 306, 306}, "3,78 300x150 "},
        {"from the body's corner", {100, 100}, {50, 20, 156, 126}, "53,23 100x100 "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RecordingLayer* layer = makeLayer(ARect(0, 0, 20, 20));
        EXPECT_EQ(1, layer->printOption(0));
        std::string name = "bmp" + std::to_string(row.image.x) + "x" + std::to_string(row.image.y) + ".bmp";
        layer->setBitmap(AImageSpec::fromFile(WriteBmp(name.c_str(), row.image.x, row.image.y).c_str(), 0, 0));
        Canvas canvas(400, 400);
        ADisplayContext::instance().setPrinter(canvas.dc());  // a memory "printer" at screen resolution
        {
            ADisplayLock lock(layer, canvas.dc(), AGraphicDisplay::kPrinter, nullptr, Everywhere());
            // The layer's origin in its unplaced window is far away: the page starts there.
            APoint o = lock.display()->origin();
            SetViewportOrgEx(canvas.dc(), -o.x, -o.y, nullptr);
            layer->drawContent(row.update);
        }
        ADisplayContext::instance().setPrinter(nullptr);
        EXPECT_EQ(row.drawn, layer->drawn);
        ARect r = row.update;
        EXPECT_LT(0, canvas.inkIn(ARect(r.left() + 3, r.top() + 3, r.right() - 3, r.bottom() - 3)))
            << "a frame around the picture";
        AComponent* gone = window;
        DeleteComponent(gone);
    }
}

TEST_F(BitmapViewTest, DisplayModeLeavesTheScaleAtZeroAndClearingEmptiesTheLayer) {
    RecordingLayer* layer = makeLayer(ARect(0, 0, 100, 100));
    layer->setBitmap(AImageSpec::fromFile(WriteBmp("bmvmode.bmp", 40, 20).c_str(), 0, 0));
    EXPECT_EQ(APoint(40, 20), layer->layerOwner()->getContentSize());
    layer->setDisplayMode(1, false);
    layer->setDisplayMode(0, false);
    EXPECT_EQ(APoint(0, 0), layer->scaledSize()) << "back to plain without a scale";
    layer->setScale(100, false, false);
    EXPECT_EQ(APoint(40, 20), layer->layerOwner()->getContentSize());
    layer->clearBitmap();
    EXPECT_FALSE(layer->hasBitmap());
    EXPECT_EQ(APoint(0, 0), layer->layerOwner()->getContentSize());
    EXPECT_EQ(nullptr, layer->dibCopy());
    Canvas canvas(10, 10);
    {
        ADisplayLock lock(layer, canvas.dc(), AGraphicDisplay::kOwnDevice, nullptr, Everywhere());
        layer->drawContent(ARect(0, 0, 100, 100));
    }
    EXPECT_EQ("", layer->drawn) << "nothing without a picture";

    EXPECT_THROW(layer->setBitmap(AImageSpec::fromFile("Z:\\nowhere\\missing.bmp", 0, 0)), AImageLibError);
    EXPECT_FALSE(layer->hasBitmap()) << "a refused picture leaves the layer empty";
    EXPECT_EQ(0, layer->writeBmp("Z:\\nowhere\\out.bmp")) << "nothing to write";
}

TEST_F(BitmapViewTest, AnOwnColoursPictureLendsItsPaletteWhileShownAndWritesBackAsABmp) {
    RecordingLayer* layer = makeLayer(ARect(0, 0, 100, 100));
    APaletteTable table(app);
    table.setEnabled(true);
    APaletteTable::setActive(&table);
    const std::string grey = WriteBmp("bmvgrey.bmp", 32, 8, 8);
    layer->setBitmap(AImageSpec::fromFile(grey.c_str(), 0, AImageSpec::kOwnColors));
    HPALETTE palette = layer->image()->body()->palette();
    ASSERT_NE(nullptr, palette);
    EXPECT_EQ(palette, table.paletteFor(layer, true));
    layer->setBitmap(AImageSpec::fromFile(WriteBmp("bmvplain.bmp", 8, 8).c_str(), 0, 0));
    EXPECT_NE(palette, table.paletteFor(layer, true)) << "the next picture took it back";

    layer->setBitmap(AImageSpec::fromFile(grey.c_str(), 0, AImageSpec::kOwnColors));
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string copy = std::string(folder) + "bmvcopy.bmp";
    EXPECT_EQ(0, layer->writeBmp(copy.c_str()));
    AImage back(AImageSpec::fromFile(copy.c_str(), 0, 0));
    EXPECT_EQ(APoint(32, 8), back.body()->size());
    EXPECT_EQ(layer->image()->body()->palette(), table.paletteFor(layer, true)) << "lent again";
    layer->clearBitmap();
    EXPECT_EQ(nullptr, table.paletteFor(layer, true)) << "clearing gives it back";
    AComponent* gone = window;
    DeleteComponent(gone);
    APaletteTable::setActive(nullptr);
}

TEST_F(BitmapViewTest, ABitmapViewOffersItsPictureAsAPackedDib) {
    TestWindow* w = Open<TestWindow>(app, ARect(0, 0, 300, 300), "#background:255,255,255");
    auto* view = Shown(
        Open<ABitmapView>(w, int16_t(4), Frame(0, 0, 100, 100), int16_t(0), uint16_t(1), nullptr, uint16_t(0x3000)));
    ASSERT_NE(nullptr, view->layer()) << "the layer comes with the children";
    EXPECT_TRUE(view->itemFlags() & 0x8000);
    EXPECT_FALSE(view->hasBitmap());
    AFormatList formats = {CF_TEXT};
    view->copyFormats(formats);
    EXPECT_EQ((AFormatList{CF_DIB, CF_TEXT}), formats);
    EXPECT_EQ(nullptr, view->exportData(CF_DIB));

    view->setContentSize(APoint(400, 400));
    view->scrollTo(APoint(30, 40));
    view->setBitmap(AImageSpec::fromFile(WriteBmp("bmvdib.bmp", 24, 10).c_str(), 0, 0));
    EXPECT_EQ(APoint(0, 0), view->getLocalOrigin()) << "a new picture shows from its corner";
    EXPECT_EQ(APoint(24, 10), view->getContentSize());
    EXPECT_TRUE(view->hasBitmap());
    EXPECT_TRUE(view->canCopy());
    EXPECT_EQ(nullptr, view->exportData(CF_TEXT));
    HGLOBAL dib = static_cast<HGLOBAL>(view->exportData(CF_DIB));
    ASSERT_NE(nullptr, dib);
    const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
    EXPECT_EQ(24, header->biWidth);
    EXPECT_EQ(10, header->biHeight);
    EXPECT_EQ(24, header->biBitCount);
    GlobalUnlock(dib);
    GlobalFree(dib);
    AComponent* gone = w;
    DeleteComponent(gone);
}

TEST_F(BitmapViewTest, APatternViewTilesTheBitmapItsLayoutNames) {
    TestWindow* w = Open<TestWindow>(app, ARect(0, 0, 500, 300), "#background:255,255,255");
    AComponent* loaded = AComponent::loadLayout(w, "BitmapLayout", 0);
    ASSERT_NE(nullptr, loaded);
    auto* pattern = dynamic_cast<APatternView*>(loaded->findById(401, 0));
    auto* blank = dynamic_cast<APatternView*>(loaded->findById(402, 0));
    ASSERT_NE(nullptr, pattern);
    ASSERT_NE(nullptr, blank);
    EXPECT_EQ("#129", std::string(pattern->patternName().c_str()));
    ASSERT_TRUE(pattern->hasBitmap());
    EXPECT_TRUE(pattern->layer()->isTiled());
    const AImageSpec& spec = pattern->layer()->image()->body()->spec();
    EXPECT_TRUE(spec.flags & AImageSpec::kResource);
    EXPECT_EQ(129, spec.resource.number());
    EXPECT_FALSE(blank->hasBitmap()) << "an empty name shows nothing";
    EXPECT_FALSE(pattern->itemFlags() & 0x0200);
    for (APatternView* v : {pattern, blank})
        EXPECT_FALSE(v->hasFlags(ADisplayComponent::kEraseBackground) || v->hasFlags(ADisplayComponent::kTransparent));
    auto* clear = dynamic_cast<APatternView*>(loaded->findById(403, 0));
    ASSERT_NE(nullptr, clear);
    EXPECT_TRUE(clear->hasFlags(ADisplayComponent::kTransparent)) << "item flag 0x40";
    EXPECT_TRUE(clear->layer()->hasFlags(ADisplayComponent::kTransparent)) << "and its layer";

    struct Row {
        const char* name;
        bool made;
        uint16_t number;
    };
    const Row names[] = {{"#7", true, 7}, {"#0", false, 0}, {"#70000", false, 0}, {"#x", false, 0}, {"", false, 0}};
    for (const Row& row : names) {
        SCOPED_TRACE(row.name);
        AImageSpec s;
        EXPECT_EQ(row.made, APatternView::patternSpec(row.name, s));
        if (row.made) {
            EXPECT_EQ(row.number, s.resource.number());
        }
    }
    AComponent* gone = w;
    DeleteComponent(gone);
}

TEST_F(BitmapViewTest, BitmapAndPatternViewsDrawIntoAPicture) {
    TestWindow* w = Open<TestWindow>(app, ARect(0, 0, 300, 100), "#background:255,255,255");
    if (!w->openWindow("bitmaps"))
        GTEST_SKIP() << "no display";
    AComponent* loaded = AComponent::loadLayout(w, "BitmapLayout", 0);
    ASSERT_NE(nullptr, loaded);
    w->showUpdate();
    static_cast<ADisplayComponent*>(loaded)->showUpdate();
    app->flushUpdates();
    auto* pattern = dynamic_cast<APatternView*>(loaded->findById(401, 0));
    auto* blank = dynamic_cast<APatternView*>(loaded->findById(402, 0));
    ASSERT_TRUE(pattern && blank);
    ASSERT_EQ(ARect(0, 0, 150, 100), pattern->layer()->getFrame());
    blank->layer()->setBitmap(AImageSpec::fromFile(WriteBmp("bmvpic.bmp", 64, 40).c_str(), 0, 0));
    blank->layer()->setScale(100, true, true);
    ShowWindow(w->hwnd(), SW_SHOW);
    UpdateWindow(w->hwnd());
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    Canvas canvas(300, 100);
    HDC dc = GetDC(w->hwnd());
    BitBlt(canvas.dc(), 0, 0, 300, 100, dc, 0, 0, SRCCOPY);
    ReleaseDC(w->hwnd(), dc);
    canvas.savePng("bitmap-and-pattern-views");
    // Resource 129 tiled from the origin: its 48-pixel tiles repeat.
    EXPECT_NE(RGB(255, 255, 255), canvas.pixel(5, 5));
    EXPECT_EQ(canvas.pixel(5, 5), canvas.pixel(53, 5));
    EXPECT_EQ(canvas.pixel(5, 5), canvas.pixel(5, 53));
    EXPECT_EQ(canvas.pixel(40, 40), canvas.pixel(136, 88));
    // The plain picture is centred in the right-hand view: (150 - 64) / 2 + 150 = 193, (100 - 40) / 2 = 30.
    EXPECT_EQ(RGB(255, 255, 255), canvas.pixel(190, 35));
    EXPECT_EQ(CheckerPixel(0, 0), canvas.pixel(193, 30));
    EXPECT_EQ(CheckerPixel(8, 0), canvas.pixel(201, 30));
    EXPECT_EQ(RGB(255, 255, 255), canvas.pixel(257, 70)) << "nothing past the picture";
    AComponent* gone = w;
    DeleteComponent(gone);
}
