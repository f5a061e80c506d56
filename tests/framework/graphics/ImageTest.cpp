// Images: frame grids drawn at size and stretched, transparent drawing, BMP
// files read (and refused) and written whole.
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "base/procedural/AImageLibError.h"
#include "framework/graphics/ADisplayLock.h"
#include "framework/graphics/AImage.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"

namespace {

// The colour of frame i of the 3 x 2 test grid (cells of 10 x 10).
COLORREF CellColor(int i) {
    static const COLORREF colors[] = {RGB(200, 0, 0),   RGB(0, 200, 0),   RGB(0, 0, 200),
                                      RGB(200, 200, 0), RGB(0, 200, 200), RGB(200, 0, 200)};
    return colors[i];
}

// A 24-bit BMP file, bottom-up rows (see _AImage::loadFile): "BM", file
// size, reserved, pixel offset, BITMAPINFOHEADER, rows padded to 4 bytes.
std::vector<unsigned char> Bmp24(int w, int h, COLORREF (*at)(int x, int y)) {
    int row = ((24 * w + 31) / 32) * 4;
    uint32_t size = 54 + static_cast<uint32_t>(row * h);
    std::vector<unsigned char> b(size, 0);
    b[0] = 'B';
    b[1] = 'M';
    memcpy(&b[2], &size, 4);
    uint32_t offset = 54;
    memcpy(&b[10], &offset, 4);
    BITMAPINFOHEADER info = {sizeof info, w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    memcpy(&b[14], &info, sizeof info);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            COLORREF c = at(x, y);
            unsigned char* p = &b[54 + static_cast<size_t>((h - 1 - y) * row + x * 3)];
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    }
    return b;
}

COLORREF GridPixel(int x, int y) {
    // A white dot in the middle of each cell, for transparent drawing.
    if (x % 10 == 5 && y % 10 == 5)
        return RGB(255, 255, 255);
    return CellColor((y / 10) * 3 + x / 10);
}

std::string WriteTemp(const char* name, const std::vector<unsigned char>& bytes) {
    std::string path = ArtifactsFolder() + name;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD wrote = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr);
    CloseHandle(f);
    return path;
}

std::string ReadAll(const std::string& path) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string text(GetFileSize(f, nullptr), '\0');
    DWORD got = 0;
    ReadFile(f, &text[0], static_cast<DWORD>(text.size()), &got, nullptr);
    CloseHandle(f);
    return text;
}

uint32_t U32At(const std::string& s, size_t at) {
    uint32_t v = 0;
    memcpy(&v, s.data() + at, 4);
    return v;
}

}  // namespace

TEST_F(GraphicsTest, FramesOfAGridDrawAtSizeAndStretched) {
    std::string path = WriteTemp("grid.bmp", Bmp24(30, 20, GridPixel));
    AImage image(AImageSpec::fromFile(path.c_str(), 0x0203, 0));
    EXPECT_EQ("20,10,30,20", [&] {
        ARect c = image.body()->frameCell(5);
        return std::to_string(c.left()) + "," + std::to_string(c.top()) + "," + std::to_string(c.right()) + "," +
               std::to_string(c.bottom());
    }()) << "frame 5 of a 3 x 2 grid is column 2, row 1";

    SiteComponent* site = makeSite(app, 1, ARect(0, 0, 60, 60));
    struct Row {
        const char* name;
        ARect dest;
        int frame;
        _AImage::DrawMode mode;
        APoint probe;
        COLORREF expect;
    };
    const Row rows[] = {
        {"at size", ARect(0, 0, 10, 10), 5, _AImage::kOpaque, APoint(2, 2), CellColor(5)},
        {"at size, its white dot", ARect(0, 0, 10, 10), 5, _AImage::kOpaque, APoint(5, 5), RGB(255, 255, 255)},
        {"stretched", ARect(0, 0, 40, 40), 1, _AImage::kOpaque, APoint(35, 35), CellColor(1)},
        {"stretched, top row kept on top", ARect(0, 0, 20, 20), 3, _AImage::kOpaque, APoint(1, 1), CellColor(3)},
        {"transparent white", ARect(0, 0, 10, 10), 2, _AImage::kTransparent, APoint(5, 5), RGB(0, 0, 0)},
        {"transparent colour", ARect(0, 0, 10, 10), 2, _AImage::kTransparent, APoint(1, 1), CellColor(2)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Canvas canvas(60, 60);
        RECT all = {0, 0, 60, 60};
        ::FillRect(canvas.dc(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        {
            ADisplayLock lock(site, canvas.dc(), AGraphicDisplay::kOwnDevice, nullptr, Everywhere());
            image.body()->drawFrame(row.dest, nullptr, row.frame, row.mode);
        }
        EXPECT_EQ(row.expect, canvas.pixel(row.probe.x, row.probe.y));
        EXPECT_EQ(0u, canvas.pixel(row.dest.right() + 1, row.dest.bottom() + 1)) << "nothing outside the destination";
    }

    std::string single = WriteTemp("single.bmp", Bmp24(30, 20, GridPixel));
    AImage one(AImageSpec::fromFile(single.c_str(), 0, 0));
    EXPECT_EQ(APoint(30, 20), one.body()->frameSize()) << "a grid word of 0 is one frame";
    EXPECT_NE(-1, FatalExitCodeOf([&] { image.body()->frameCell(6); }));
}

TEST(Image, EqualDescriptionsShareABody) {
    long live = _AImage::liveCount();
    {
        AImage a(AImageSpec::fromFile("Z:\\nowhere\\a.bmp", 0, 0));
        AImage b(AImageSpec::fromFile("Z:\\nowhere\\a.bmp", 0x0102, 0));
        AImage c(AImageSpec(7, 0, 0, false));
        EXPECT_EQ(a.body(), b.body());
        EXPECT_NE(a.body(), c.body());
        std::vector<AImage*> many;
        for (int i = 0; i < 40000; ++i)
            many.push_back(new AImage(a));
        for (AImage* h : many)
            delete h;
        EXPECT_EQ(2, a.body()->refs()) << "the count does not wrap";
        EXPECT_EQ(live + 2, _AImage::liveCount());
    }
    EXPECT_EQ(live, _AImage::liveCount());
}

TEST(Image, DamagedFilesAreRefused) {
    std::vector<unsigned char> good = Bmp24(4, 4, GridPixel);
    struct Row {
        const char* name;
        std::function<void(std::vector<unsigned char>&)> damage;
        const char* why;
    };
    const Row rows[] = {
        {"truncated pixels", [](std::vector<unsigned char>& b) { b.resize(b.size() - 3); }, "pixels beyond the end"},
        {"no BM", [](std::vector<unsigned char>& b) { b[0] = 'X'; }, "not a BMP file"},
        {"header only", [](std::vector<unsigned char>& b) { b.resize(30); }, "header beyond the end"},
        {"huge width", [](std::vector<unsigned char>& b) { b[18] = 0xFF, b[19] = 0xFF, b[20] = 0xFF; }, "bad size"},
        {"offset past the end", [](std::vector<unsigned char>& b) { b[10] = 0xF0, b[11] = 0xFF; },
         "pixel offset out of place"},
        {"compressed", [](std::vector<unsigned char>& b) { b[30] = BI_RLE8; }, "compressed or planar pixels"},
        {"empty", [](std::vector<unsigned char>& b) { b.clear(); }, "not a BMP file"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<unsigned char> bytes(good);
        row.damage(bytes);
        std::string path = WriteTemp("damaged.bmp", bytes);
        AImage image(AImageSpec::fromFile(path.c_str(), 0, 0));
        EXPECT_THROW(image.body()->size(), AImageLibError);
        EXPECT_EQ(path + ": " + row.why, std::string(g_errorMessage));
    }
}

TEST(Image, WriteBmpReplacesTheFileWhole) {
    std::string source = WriteTemp("three-by-two.bmp", Bmp24(3, 2, GridPixel));
    AImage image(AImageSpec::fromFile(source.c_str(), 0, 0));
    std::string out = ArtifactsFolder() + "written.bmp";
    WriteTemp("written.bmp", std::vector<unsigned char>(500, 'x'));
    ASSERT_EQ(0, image.body()->writeBmp(out.c_str()));
    std::string bytes = ReadAll(out);
    EXPECT_EQ("BM", bytes.substr(0, 2));
    EXPECT_EQ(78u, U32At(bytes, 2)) << "file size";
    EXPECT_EQ(54u, U32At(bytes, 10)) << "pixel offset";
    EXPECT_EQ(78u, bytes.size()) << "the old, longer file is gone whole";
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((out + ".tmp~").c_str()));

    std::string unixPath = out.substr(2);
    EXPECT_EQ("BMP3 3x2\n", RunOnHost("identify -format '%m %wx%h\\n' " + unixPath));

    std::string nowhere = ArtifactsFolder() + "no-such-folder\\written.bmp";
    EXPECT_NE(0, image.body()->writeBmp(nowhere.c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(nowhere.c_str()));
}

TEST_F(GraphicsTest, SystemBitmapsLoadByNumber) {
    AImage close(AImageSpec(32754, 0, 0, true));  // OBM_CLOSE
    APoint size = close.body()->size();
    EXPECT_GT(size.x, 0);
    EXPECT_GT(size.y, 0);
    HGLOBAL copy = close.body()->copyBits();
    ASSERT_NE(nullptr, copy);
    EXPECT_GE(GlobalSize(copy), sizeof(BITMAPINFOHEADER) + size_t(size.x * size.y * 3));
    GlobalFree(copy);
}

TEST_F(GraphicsTest, PrintingDisplaysDrawImagesFromTheirBits) {
    std::string path = WriteTemp("printed-grid.bmp", Bmp24(30, 20, GridPixel));
    AImage image(AImageSpec::fromFile(path.c_str(), 0x0203, 0));
    SiteComponent* site = makeSite(app, 1, ARect(0, 0, 60, 60));
    Canvas canvas(60, 60);
    ADisplayContext::instance().setPrinter(canvas.dc());
    {
        ADisplayLock lock(site, canvas.dc(), AGraphicDisplay::kPrinter, nullptr, nullptr);
        image.body()->drawFrame(ARect(0, 0, 10, 10), nullptr, 4, _AImage::kOpaque);
        ARect part(0, 0, 5, 5);
        image.body()->drawFrame(ARect(20, 20, 25, 25), &part, 1, _AImage::kOpaque);
        EXPECT_NE(nullptr, image.body()->getHBitmap(true)) << "a printer realisation on the printing display";
    }
    ADisplayContext::instance().setPrinter(nullptr);
    EXPECT_EQ(CellColor(4), canvas.pixel(1, 1));
    EXPECT_EQ(CellColor(4), canvas.pixel(9, 9));
    EXPECT_EQ(CellColor(1), canvas.pixel(22, 22)) << "a part of a frame";
    EXPECT_EQ(0xFFFFFFu, canvas.pixel(25, 25));
    EXPECT_NE(-1, FatalExitCodeOf([&] { image.body()->getHBitmap(true); })) << "no printing display";
}

namespace {

COLORREF OddPixel(int x, int y) {
    return RGB(x * 30, y * 50, (x + y) % 2 ? 255 : 0);
}

}  // namespace

TEST_F(GraphicsTest, TilesFilledAtOnceMatchEachTileCopied) {
    std::string path = WriteTemp("tile-7x5.bmp", Bmp24(7, 5, OddPixel));
    AImage image(AImageSpec::fromFile(path.c_str(), 0x0101, 0));
    struct Row {
        const char* name;
        ARect site;        // the component's frame in its window
        APoint windowOrg;  // the canvas's logical origin
        ARect area;        // whole tiles, from a corner on the grid
    };
    const Row rows[] = {
        {"at the origin", ARect(0, 0, 80, 60), APoint(0, 0), ARect(0, 0, 70, 50)},
        {"component moved", ARect(3, 2, 80, 60), APoint(0, 0), ARect(7, 5, 63, 45)},
        {"grid before the component", ARect(4, 3, 80, 60), APoint(0, 0), ARect(-7, -5, 56, 50)},
        {"logical origin moved", ARect(2, 1, 80, 60), APoint(11, 6), ARect(0, 0, 70, 55)},
    };
    int16_t id = 1;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SiteComponent* site = makeSite(app, id++, row.site);
        Canvas each(80, 60), once(80, 60);
        std::vector<ARect> tiles;
        for (int x = row.area.left(); x < row.area.right(); x += 7)
            for (int y = row.area.top(); y < row.area.bottom(); y += 5)
                tiles.push_back(ARect(x, y, x + 7, y + 5));
        bool filled = false;
        for (Canvas* canvas : {&each, &once}) {
            SetWindowOrgEx(canvas->dc(), row.windowOrg.x, row.windowOrg.y, nullptr);
            ADisplayLock lock(site, canvas->dc(), AGraphicDisplay::kOwnDevice, nullptr, Everywhere());
            if (canvas == &each)
                image.body()->drawFrames(tiles.data(), tiles.size(), nullptr, 0, _AImage::kOpaque);
            else
                filled = image.body()->fillTiles(row.area);
            SetWindowOrgEx(canvas->dc(), 0, 0, nullptr);
        }
        EXPECT_TRUE(filled);
        int differ = 0;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 80; ++x)
                differ += each.pixel(x, y) != once.pixel(x, y);
        EXPECT_EQ(0, differ);
        EXPECT_GT(once.inkIn(ARect(0, 0, 80, 60)), 1000) << "something was drawn";
    }

    // A picture of several frames is not one tile: nothing drawn, the caller copies.
    std::string gridPath = WriteTemp("tile-grid.bmp", Bmp24(30, 20, GridPixel));
    AImage grid(AImageSpec::fromFile(gridPath.c_str(), 0x0203, 0));
    SiteComponent* site = makeSite(app, id, ARect(0, 0, 60, 60));
    Canvas canvas(60, 60);
    {
        ADisplayLock lock(site, canvas.dc(), AGraphicDisplay::kOwnDevice, nullptr, Everywhere());
        EXPECT_FALSE(grid.body()->fillTiles(ARect(0, 0, 60, 40)));
    }
    EXPECT_EQ(0, canvas.inkIn(ARect(0, 0, 60, 60)));
}

// Drawings copy from a context that keeps the picture selected: a bitmap
// handed out must still be selectable elsewhere, and drawings after it, or
// after every realisation was dropped, still show the picture.
TEST_F(GraphicsTest, DrawingsGoOnAfterTheBitmapIsHandedOutOrDropped) {
    std::string path = WriteTemp("handed-grid.bmp", Bmp24(30, 20, GridPixel));
    AImage image(AImageSpec::fromFile(path.c_str(), 0x0203, 0));
    SiteComponent* site = makeSite(app, 1, ARect(0, 0, 60, 60));
    auto draw = [&](int frame) {
        Canvas canvas(60, 60);
        ADisplayLock lock(site, canvas.dc(), AGraphicDisplay::kOwnDevice, nullptr, Everywhere());
        image.body()->drawFrame(ARect(0, 0, 10, 10), nullptr, frame, _AImage::kOpaque);
        image.body()->drawFrame(ARect(20, 0, 30, 10), nullptr, frame, _AImage::kTransparent);
        return std::make_pair(canvas.pixel(2, 2), canvas.pixel(22, 2));
    };
    EXPECT_EQ(std::make_pair(CellColor(0), CellColor(0)), draw(0));

    HBITMAP bitmap = image.body()->getHBitmap(false);
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, bitmap);
    EXPECT_NE(nullptr, old) << "the drawings' context let the bitmap go";
    EXPECT_EQ(CellColor(4), GetPixel(memory, 12, 12));
    SelectObject(memory, old);
    DeleteDC(memory);

    EXPECT_EQ(std::make_pair(CellColor(1), CellColor(1)), draw(1));
    _AImage::releaseAll();
    EXPECT_EQ(std::make_pair(CellColor(5), CellColor(5)), draw(5));
}
