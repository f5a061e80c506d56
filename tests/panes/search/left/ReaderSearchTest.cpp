// The real reader on the sample encyclopedia: the search "calque" typed into
// the quick search field and sent with Return; the main window's picture then
// shows the left dock's refinement rows and the disc list with its count.
// Skipped when the sample (tools/sample/build.sh) is not built.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/support/ReaderProcess.h"
#include "tests/support/ScreenPicture.h"

TEST(ReaderSearchTest, TheSearchCalqueFillsTheLeftDockOfTheRealReader) {
    ReaderProcess reader;
    std::string why;
    if (!reader.start(SV_BINARY_DIR, &why))
        GTEST_SKIP() << why;
    EXPECT_TRUE(reader.waitForWindow("KY_MDIFrameWindow", 30000));
    Sleep(3000);
    // The reader opens on its home screen: the search-mode button's first entry is the search screen.
    // (The main window sits at the screen's top left under Xvfb: its tool
    // bar's second button is at 65, 43.)
    ClickAt(65, 43);
    TakeScreenPicture(SV_BINARY_DIR, "reader-search-menu.png");
    // Its first entry is marked: Return chooses it.
    PressKey(VK_RETURN);
    Sleep(1500);
    // The quick search field sits at the left of the top dock (75, 79) with its
    // button beside it (186, 79): click, type, Return, and the button.
    ClickAt(75, 79);
    // A question wider than the field scrolls it: the field took no character
    // past its right edge.
    const std::string wide = "calque calque calque calque calque";
    for (char c : wide)
        PressKey(static_cast<WORD>(VkKeyScanA(c) & 0xFF));
    POINT at{75, 79};
    HWND field = WindowFromPoint(at);
    char text[64] = "";
    SendMessageA(field, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(wide, text);
    for (size_t i = 0; i < wide.size(); ++i)
        PressKey(VK_BACK);
    for (const char* c = "calque"; *c; ++c)
        PressKey(static_cast<WORD>(VkKeyScanA(*c) & 0xFF));
    PressKey(VK_RETURN);
    Sleep(3000);
    ClickAt(186, 79);
    Sleep(6000);
    TakeScreenPicture(SV_BINARY_DIR, "reader-search-calque.png");
    std::string shot = std::string("Z:") + SV_BINARY_DIR + "/artifacts/reader-search-calque.png";
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(shot.c_str()));
}
