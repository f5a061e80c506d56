// The real reader on the sample, driven by the pointer as a user's hand:
// resting on an icon-only button of the tool bar brings its tooltip.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/support/ReaderProcess.h"
#include "tests/support/ScreenPicture.h"

TEST(ArticleReaderDriveTest, RestingOnAnIconOnlyButtonShowsItsTooltip) {
    ReaderProcess reader;
    std::string why;
    if (!reader.start(SV_BINARY_DIR, &why))
        GTEST_SKIP() << why;
    ASSERT_TRUE(reader.waitForWindow("KY_MDIFrameWindow", 30000));
    Sleep(3000);
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
    RestAt(700, 43);
    Sleep(500);
    for (int i = 0; i < 40 && reader.waitForWindow("tooltips_class32", 0); ++i)
        Sleep(100);
    EXPECT_FALSE(reader.waitForWindow("tooltips_class32", 0)) << "the tip hides when the pointer leaves";
}
