// Fonts: descriptions from text, shared bodies, measuring and drawing through
// the current display, placed output and its fallback.
#include <algorithm>
#include <string>
#include <vector>

#include "framework/graphics/ADisplayLock.h"
#include "framework/graphics/AFont.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"

namespace {

// "Encyclopédie, œuvre, à l'été" in Windows-1252.
const char kFrench[] =
    "Encyclop\xE9"
    "die, \x9C"
    "uvre, \xE0 l'\xE9t\xE9";

std::string Describe(const AFontSpec& s) {
    return std::string(s.face.c_str()) + " " + std::to_string(s.size) + " " + std::to_string(s.style);
}

DWORD WINAPI FailingPlacement(HDC, LPCSTR, int, int, LPGCP_RESULTSA, DWORD) {
    return 0;
}

}  // namespace

TEST(FontSpec, FromText) {
    const struct {
        const char* text;
        const char* expect;
    } rows[] = {
        {"Arial,12", "Arial 12 1"},
        {"Arial,12,0", "Arial 12 0"},
        {"Arial", "Arial 10 0"},
        {"Times New Roman,9,6", "Times New Roman 9 6"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(row.expect, Describe(AFontSpec(row.text)));
    }
}

TEST(FontBody, SharedByEqualSpecsAndCountedWithoutWrapping) {
    long live = _AFont::liveCount();
    {
        AFont a(AFontSpec("Arial,12"));
        AFont b(AFontSpec("Arial,12"));
        AFont c(AFontSpec("arial,12"));
        EXPECT_EQ(a.body(), b.body());
        EXPECT_NE(a.body(), c.body()) << "faces compare with case";
        EXPECT_EQ(live + 2, _AFont::liveCount());

        // More handles than a 16-bit count holds: the body must outlive all but the last.
        std::vector<AFont*> many;
        for (int i = 0; i < 40000; ++i)
            many.push_back(new AFont(a));
        for (AFont* f : many)
            delete f;
        EXPECT_EQ(2, a.body()->refs());
        EXPECT_EQ(live + 2, _AFont::liveCount());
    }
    EXPECT_EQ(live, _AFont::liveCount());
}

TEST_F(GraphicsTest, MeasuresThroughTheCurrentDisplay) {
    SiteComponent* site = makeSite(app, 1);
    Canvas canvas(8, 8);
    AFont font(AFontSpec("Arial,12,0"));
    ADisplayLock lock(site, canvas.dc(), AGraphicDisplay::kOwnDevice, nullptr, Everywhere());
    std::string longText(40000, 'i');
    ATextExtent whole = font.body()->measure(longText.c_str(), static_cast<long>(longText.size()));
    ATextExtent cut = font.body()->measure(longText.c_str(), 32767);
    EXPECT_EQ(cut.width, whole.width) << "a 40000-character text is measured as 32767";
    EXPECT_GT(whole.width, font.body()->measure(longText.c_str(), 32766).width);
    std::vector<int32_t> prefixes(longText.size());
    EXPECT_FALSE(font.body()->prefixWidths(longText.c_str(), 40000, prefixes.data(), whole))
        << "the widths of more than one call can hold are not given";
    // Spacing the context adds is not in the advances: the widths are the
    // measure's (Wine leaves justification out of it) or refused.
    const char* words = "de l'\xE9t\xE9";
    EXPECT_TRUE(font.body()->prefixWidths(words, 9, prefixes.data(), whole));
    SetTextJustification(canvas.dc(), 12, 1);
    if (font.body()->prefixWidths(words, 9, prefixes.data(), whole)) {
        EXPECT_EQ(font.body()->measure(words, 9).width, prefixes[8]) << "justification";
    }
    SetTextJustification(canvas.dc(), 0, 0);
    SetTextCharacterExtra(canvas.dc(), 2);
    EXPECT_FALSE(font.body()->prefixWidths(words, 9, prefixes.data(), whole)) << "character extra";
    SetTextCharacterExtra(canvas.dc(), 0);

    const char* word = "abcdef";
    int32_t abc = font.body()->measure(word, 3).width;
    int16_t flag = 9;
    EXPECT_EQ(3, font.body()->indexAtOffset(word, 6, abc, flag));
    EXPECT_EQ(0, flag) << "an offset on a boundary is that boundary";
    EXPECT_EQ(6, font.body()->indexAtOffset(word, 6, 10000, flag));
    EXPECT_EQ(1, flag);
    EXPECT_EQ(0, font.body()->indexAtOffset(word, 6, 0, flag));
}

namespace {

// The character under offset x of a text whose prefixes of 0..n characters
// are widths[0..n] wide (every character wider than nothing): the boundary at
// x itself, else the nearer of the two boundaries around it (flag 1 when the
// one before x, or x beyond the text).
long IndexByScan(const std::vector<int32_t>& widths, int32_t x, int16_t& flag) {
    long n = static_cast<long>(widths.size()) - 1;
    flag = 0;
    if (x > widths[static_cast<size_t>(n)]) {
        flag = 1;
        return n;
    }
    long before = 0;
    for (long k = 1; k <= n; ++k) {
        int32_t w = widths[static_cast<size_t>(k)];
        if (w == x)
            return k;
        if (w < x)
            before = k;
    }
    int32_t a = widths[static_cast<size_t>(before)], b = widths[static_cast<size_t>(before + 1)];
    if (x < (a + b) / 2) {
        flag = 1;
        return before;
    }
    return before + 1;
}

}  // namespace

TEST_F(GraphicsTest, FindsTheCharacterUnderEveryOffsetOfLongTexts) {
    SiteComponent* site = makeSite(app, 1);
    Canvas canvas(8, 8);
    std::string prose;
    while (prose.size() < 900)
        prose += std::string(kFrench) + " ";
    struct Row {
        const char* font;
        std::string text;
    } rows[] = {
        {"Arial,11,0", prose},
        {"Times New Roman,14,1", prose.substr(0, 200)},
        {"Courier New,10,0", std::string(300, 'm') + std::string(300, 'i')},
        {"Arial,9,0", std::string(17, 'W') + "   .   " + std::string(40, 'l')},
        {"Arial,11,3", prose.substr(0, 300)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.font);
        AFont font{AFontSpec(r.font)};
        ADisplayLock lock(site, canvas.dc(), AGraphicDisplay::kOwnDevice, nullptr, Everywhere());
        long n = static_cast<long>(r.text.size());
        std::vector<int32_t> widths;
        for (long k = 0; k <= n; ++k)
            widths.push_back(font.body()->measure(r.text.c_str(), k).width);
        // One measure gives every prefix, and any piece is the difference of two.
        std::vector<int32_t> cumulative(static_cast<size_t>(n) + 1, 0);
        ATextExtent whole = {};
        ASSERT_TRUE(font.body()->prefixWidths(r.text.c_str(), n, cumulative.data() + 1, whole));
        EXPECT_EQ(widths, cumulative);
        EXPECT_EQ(widths.back(), whole.width);
        for (long i = 0; i < n; i += 1 + i / 5) {
            long j = std::min(n, i + 1 + i * 7 % 90);
            ASSERT_EQ(cumulative[static_cast<size_t>(j)] - cumulative[static_cast<size_t>(i)],
                      font.body()->measure(r.text.c_str() + i, j - i).width)
                << "piece " << i << "-" << j;
        }
        for (int32_t x = 1; x <= widths.back() + 2; x += 1 + x / 97) {
            int16_t flag = 9, expectedFlag = 9;
            long expected = IndexByScan(widths, x, expectedFlag);
            ASSERT_EQ(expected, font.body()->indexAtOffset(r.text.c_str(), n, x, flag)) << "x " << x;
            ASSERT_EQ(expectedFlag, flag) << "x " << x;
            ASSERT_EQ(expected, _AFont::indexAtWidth(cumulative.data(), n, x, flag)) << "x " << x;
            ASSERT_EQ(expectedFlag, flag) << "x " << x;
        }
    }
}

TEST_F(GraphicsTest, FrenchTextShowsOnScreenDisplay) {
    SiteComponent* site = makeSite(app, 1, ARect(0, 0, 400, 40));
    Canvas canvas(400, 40);
    AFont font(AFontSpec("Arial,16,0"));
    int32_t width;
    {
        ADisplayLock lock(site, canvas.dc(), AGraphicDisplay::kOwnDevice, nullptr, Everywhere());
        width = font.body()->drawText(APoint(4, 28), kFrench, -1, RGB(0, 0, 0));
        EXPECT_EQ(width, font.body()->measure(kFrench, -1).width);
    }
    canvas.savePng("french-screen");
    EXPECT_GT(width, 150);
    EXPECT_GT(canvas.inkIn(ARect(4, 0, 4 + width, 40)), 200);
    EXPECT_EQ(0, canvas.inkIn(ARect(8 + width, 0, 400, 40)));
    // The accent of the first "é" sits above the x-height of its neighbours.
    int32_t before = 0;
    {
        ADisplayLock lock(site, canvas.dc(), AGraphicDisplay::kOwnDevice, nullptr, Everywhere());
        before = font.body()->measure(kFrench, 8).width;
    }
    EXPECT_GT(canvas.inkIn(ARect(4 + before, 8, 4 + before + 8, 16)), 0);
}

TEST_F(GraphicsTest, PlacedPrinterTextFallsBackToPlainOutput) {
    SiteComponent* site = makeSite(app, 1, ARect(0, 0, 300, 40));
    Canvas canvas(300, 40);
    ADisplayContext::instance().setPrinter(canvas.dc());
    _AFont::textPlacementMode = 2;
    AFont font(AFontSpec("Arial,12,0"));
    struct Row {
        const char* name;
        _AFont::PlacementCall call;
    };
    const Row rows[] = {{"placed", &GetCharacterPlacementA}, {"placement fails", &FailingPlacement}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RECT all = {0, 0, 300, 40};
        ::FillRect(canvas.dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        _AFont::placementCall = row.call;
        int32_t width;
        {
            ADisplayLock lock(site, canvas.dc(), AGraphicDisplay::kPrinter, nullptr, nullptr);
            width = font.body()->drawText(APoint(2, 30), kFrench, -1, RGB(0, 0, 0));
        }
        EXPECT_GT(width, 100);
        EXPECT_GT(canvas.inkIn(ARect(0, 0, 300, 40)), 100);
    }
    _AFont::placementCall = &GetCharacterPlacementA;
    _AFont::textPlacementMode = 0;
    ADisplayContext::instance().setPrinter(nullptr);
}

TEST_F(GraphicsTest, FontGoneWhileShownLeavesTheSystemFont) {
    SiteComponent* site = makeSite(app, 1);
    Canvas canvas(100, 30);
    ADisplayLock outer(site, canvas.dc(), AGraphicDisplay::kOwnDevice, nullptr, Everywhere());
    AGraphicDisplay* d = outer.display();
    auto* font = new AFont(AFontSpec("Courier New,20,0"));
    font->body()->drawText(APoint(0, 20), "abc", 3, 0);
    {
        ADisplayLock inner;
        inner.push(d, Everywhere(), 0);
        EXPECT_EQ(font->body(), d->font());
        delete font;
        EXPECT_EQ(nullptr, d->font()) << "the display let go of the body";
    }
    EXPECT_EQ(nullptr, d->font()) << "the state saved before keeps no pointer to the body";
    EXPECT_EQ(GetStockObject(SYSTEM_FONT), GetCurrentObject(canvas.dc(), OBJ_FONT));
}

TEST(FontSpec, FromStockFont) {
    const struct {
        int id;
        uint16_t system;
    } rows[] = {{SYSTEM_FONT, 1}, {ANSI_VAR_FONT, 0}, {DEFAULT_GUI_FONT, 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.id);
        AFontSpec spec = AFontSpec::fromStock(row.id);
        EXPECT_FALSE(spec.face.empty());
        EXPECT_GT(spec.size, 0);
        EXPECT_EQ(0, spec.style);
        EXPECT_EQ(row.system, spec.system);
    }
}

TEST_F(GraphicsTest, JustificationResetAndTopAlignedText) {
    SiteComponent* site = makeSite(app, 1, ARect(0, 0, 200, 40));
    Canvas canvas(200, 40);
    AFont font(AFontSpec("Arial,12,0"));
    ADisplayLock lock(site, canvas.dc(), AGraphicDisplay::kOwnDevice, nullptr, Everywhere());
    const char* text = "un deux trois";
    int32_t plain = font.body()->measure(text, -1).width;
    // Wine leaves SetTextJustification out of GetTextExtentPoint32A (Windows
    // counts it), so only the reset is checked here.
    AJustification spread = {2, 20};
    font.body()->measureJustified(text, -1, &spread);
    EXPECT_EQ(plain, font.body()->measure(text, -1).width) << "justification is reset after";

    AFontMetrics m = font.body()->metrics();
    font.body()->drawTextAtTop(APoint(0, 0), "H", 1);
    EXPECT_EQ(0, canvas.inkIn(ARect(0, m.ascent + 1, 20, 40))) << "nothing below the baseline of an H";
    EXPECT_GT(canvas.inkIn(ARect(0, 0, 20, m.ascent)), 10);
}
