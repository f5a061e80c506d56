// The real reader on the sample, driven by the pointer as a user's hand:
// resting on an icon-only button of the tool bar brings its tooltip, and a
// tool-bar menu's rows stand out from its background.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "tests/support/ReaderProcess.h"
#include "tests/support/ScreenPicture.h"

TEST(ArticleReaderDriveTest, RestingOnAnIconOnlyButtonShowsItsTooltip) {
    ReaderProcess reader;
    std::string why;
    if (!reader.start(SV_BINARY_DIR, &why))
        GTEST_SKIP() << why;
    ASSERT_TRUE(reader.waitForWindow("KY_MDIFrameWindow", 30000));
    Sleep(3000);
    reader.frameOverScreen(0);
    EXPECT_FALSE(reader.waitForWindow("tooltips_class32", 0)) << "no tooltip before the pointer rests";
    // The tool bar's home button, at 23, 43 under Xvfb.
    RestAt(23, 43);
    HWND tip = reader.waitForWindow("tooltips_class32", 5000);
    TakeScreenPicture(SV_BINARY_DIR, "reader-tooltip.png");
    ASSERT_TRUE(tip) << "the icon-only button's tooltip";
    RECT at = {};
    GetWindowRect(tip, &at);
    EXPECT_GT(at.top, 43) << "under the pointer";
    EXPECT_LT(at.left, 200) << "beside the button it tells of";
    // Onto the tool bar's status text, past the last button: the tip goes.
    reader.frameOverScreen(0);
    RestAt(700, 43);
    Sleep(500);
    for (int i = 0; i < 40 && reader.waitForWindow("tooltips_class32", 0); ++i)
        Sleep(100);
    if (HWND still = reader.waitForWindow("tooltips_class32", 0)) {
        char text[200] = "";
        GetWindowTextA(still, text, sizeof text);
        RECT frame = {};
        HWND main = reader.waitForWindow("KY_MDIFrameWindow", 0);
        GetWindowRect(main, &frame);
        ADD_FAILURE() << "the tip \"" << text << "\" stays when the pointer leaves; the main window is at "
                      << frame.left << "," << frame.top << "-" << frame.right << "," << frame.bottom
                      << (IsZoomed(main) ? ", maximised" : ", not maximised");
    }
}

namespace {

long Luma(uint32_t rgb) {
    return (299 * long(rgb >> 16 & 0xFF) + 587 * long(rgb >> 8 & 0xFF) + 114 * long(rgb & 0xFF)) / 1000;
}

}  // namespace

// The tools menu dropped from its tool-bar button: its rows' text is far
// from the menu's background in lightness, not dark on dark.
TEST(ArticleReaderDriveTest, AToolBarMenusTextStandsOutFromItsBackground) {
    ReaderProcess reader;
    std::string why;
    if (!reader.start(SV_BINARY_DIR, &why))
        GTEST_SKIP() << why;
    ASSERT_TRUE(reader.waitForWindow("KY_MDIFrameWindow", 30000));
    Sleep(3000);
    reader.frameOverScreen(0);
    // The tools button, at 279, 43 under Xvfb; its menu is the reader's one untitled window.
    HWND menu = nullptr;
    for (int i = 0; i < 3 && !menu; ++i) {
        ClickAt(279, 43);
        menu = reader.waitForWindow("KY_Window", 3000);
    }
    ASSERT_TRUE(menu) << "the tools menu opens";
    // The pointer leaves the button, and the button's tooltip with it.
    RestAt(900, 700);
    for (int i = 0; i < 40 && reader.waitForWindow("tooltips_class32", 0); ++i)
        Sleep(100);
    Sleep(500);
    TakeScreenPicture(SV_BINARY_DIR, "reader-tools-menu.png");
    RECT r = {};
    GetWindowRect(menu, &r);
    const long w = r.right - r.left, h = r.bottom - r.top;
    std::vector<uint32_t> pixels = ScreenPixels(r);
    ASSERT_EQ(static_cast<size_t>(w * h), pixels.size());
    // The rows of the lower half, inside the border: the first row may be
    // the current one, drawn on a bar of its own.
    std::vector<uint32_t> rows;
    for (long y = h / 2; y < h - 3; ++y)
        for (long x = 3; x < w - 3; ++x)
            rows.push_back(pixels[static_cast<size_t>(y * w + x)]);
    std::map<uint32_t, long> counts;
    for (uint32_t c : rows)
        ++counts[c];
    uint32_t back = 0;
    long most = 0;
    for (const auto& entry : counts)
        if (entry.second > most)
            most = entry.second, back = entry.first;
    // The letters: pixels far from the background in lightness, enough of them to be words.
    long strong = 0;
    for (uint32_t c : rows)
        strong += std::labs(Luma(c) - Luma(back)) >= 110;
    EXPECT_GT(strong, 200) << "background " << std::hex << back;
}
