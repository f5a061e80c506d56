// A web page as a reader sees it: its pictures drawn in their places (one
// that fails keeps its place), its table's cells side by side in a grid, and
// its form filled in with the pointer and the keys, cut and pasted through
// the view's commands and sent by GET and by POST to the origin server.
#include "tests/web/browser/BrowserTestSupport.h"

#include "platform/webrt/nsEmbedding.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<HWND> Fields(HWND content) {
    std::vector<HWND> out;
    for (HWND w = GetWindow(content, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
        out.push_back(w);
    return out;
}

std::string TextOf(HWND w) {
    char text[256] = {};
    GetWindowTextA(w, text, sizeof text);
    return text;
}

void Key(WORD key, DWORD flags = 0) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = flags;
    SendInput(1, &input, sizeof(INPUT));
}

void Type(const std::wstring& text) {
    for (wchar_t c : text) {
        INPUT input[2] = {};
        input[0].type = input[1].type = INPUT_KEYBOARD;
        input[0].ki.wScan = input[1].ki.wScan = c;
        input[0].ki.dwFlags = KEYEVENTF_UNICODE;
        input[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        SendInput(2, input, sizeof(INPUT));
    }
}

// Pixels of a colour (each channel within 40) in the content window's picture.
int CountColour(const Canvas& canvas, int width, int height, COLORREF colour) {
    int n = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            COLORREF c = canvas.pixel(x, y);
            if (std::abs(GetRValue(c) - GetRValue(colour)) < 40 && std::abs(GetGValue(c) - GetGValue(colour)) < 40 &&
                std::abs(GetBValue(c) - GetBValue(colour)) < 40)
                ++n;
        }
    return n;
}

// The content window as drawn now, saved as build/artifacts/<name>.png.
std::unique_ptr<Canvas> PictureOf(HWND content, const char* name) {
    RECT client;
    GetClientRect(content, &client);
    auto canvas = std::make_unique<Canvas>(client.right, client.bottom);
    RedrawWindow(content, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    HDC dc = GetDC(content);
    BitBlt(canvas->dc(), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    ReleaseDC(content, dc);
    canvas->savePng(name);
    return canvas;
}

// The left end of the ink of each band of lines that hold some, top to bottom.
std::vector<int> LineStarts(const Canvas& canvas, int width, int height) {
    std::vector<int> starts;
    bool inBand = false;
    for (int y = 0; y < height; ++y) {
        int left = -1;
        for (int x = 0; x < width && left < 0; ++x)
            if (canvas.pixel(x, y) != RGB(255, 255, 255))
                left = x;
        if (left >= 0 && !inBand)
            starts.push_back(left);
        else if (left >= 0)
            starts.back() = std::min(starts.back(), left);
        inBand = left >= 0;
    }
    return starts;
}

}  // namespace

class PageFormTest : public BrowserTest {
protected:
    // Clicks the middle of a field of the page with the pointer.
    void clickField(HWND field) {
        RECT r;
        GetWindowRect(field, &r);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        INPUT input[2] = {};
        input[0].type = input[1].type = INPUT_MOUSE;
        input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(2, input, sizeof(INPUT));
        settle(300);
    }
    // Runs the messages as the application's loop does, keys turned into characters.
    void pumpTyped(int milliseconds) {
        DWORD start = GetTickCount();
        while (GetTickCount() - start < static_cast<DWORD>(milliseconds)) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            Sleep(5);
        }
    }
};

TEST_F(PageFormTest, PicturesTableAndFieldsShowAndTheFormsReachTheServerByGetAndPost) {
    std::string url, why = loadServed("form.html", url);
    if (!why.empty())
        GTEST_SKIP() << why;
    SetForegroundWindow(window->hwnd());
    HWND content = ContentWindow(view);
    settle(300);
    RECT client;
    GetClientRect(content, &client);
    std::unique_ptr<Canvas> picture = PictureOf(content, "browser-page-form");
    const Canvas& canvas = *picture;
    // The PNG at its own 30x20, the JPEG widened to its written 80 (height kept in shape: 40).
    EXPECT_NEAR(30 * 20, CountColour(canvas, client.right, client.bottom, RGB(255, 0, 0)), 40);
    EXPECT_NEAR(80 * 40, CountColour(canvas, client.right, client.bottom, RGB(0, 0, 255)), 200);
    // The missing picture keeps its 60x30 place, framed in grey.
    EXPECT_GE(CountColour(canvas, client.right, client.bottom, RGB(0xA0, 0xA0, 0xA0)), 2 * (60 + 30) - 8);
    std::string shown = NS_GetShownText(view->webBrowser());
    EXPECT_NE(std::string::npos, shown.find("Ville\nPays\nLyon\nFrance\n")) << shown;

    std::vector<HWND> fields = Fields(content);
    ASSERT_EQ(6u, fields.size()) << "nom, ville, the check box, Chercher, mot, Poster";
    EXPECT_EQ("Dupont", TextOf(fields[0]));
    EXPECT_EQ("Chercher", TextOf(fields[3]));
    EXPECT_EQ(BST_CHECKED, SendMessageA(fields[2], BM_GETCHECK, 0, 0));
    // The table's cells lie side by side: both fields of the first form sit on one line below it.
    RECT nom, ville;
    GetWindowRect(fields[0], &nom);
    GetWindowRect(fields[1], &ville);
    EXPECT_EQ(nom.top, ville.top);

    // "Dupont" is cut from the first field and pasted into the second, and typed on.
    clickField(fields[0]);
    Key(VK_HOME);
    Key(VK_HOME, KEYEVENTF_KEYUP);
    Key(VK_SHIFT);
    Key(VK_END);
    Key(VK_END, KEYEVENTF_KEYUP);
    Key(VK_SHIFT, KEYEVENTF_KEYUP);
    settle(300);
    EXPECT_TRUE(view->canCut());
    view->perform(view->cut());
    settle();
    EXPECT_EQ("", TextOf(fields[0]));
    clickField(fields[1]);
    EXPECT_TRUE(view->canPasteAny());
    view->perform(view->paste());
    Type(L"-\u00E9");
    pumpTyped(300);
    clickField(fields[2]);
    EXPECT_EQ(BST_UNCHECKED, SendMessageA(fields[2], BM_GETCHECK, 0, 0));
    clickField(fields[3]);
    ASSERT_TRUE(waitLoaded(recorder, 2));
    shown = NS_GetShownText(view->webBrowser());
    EXPECT_NE(std::string::npos, shown.find("GET /form/get?nom=&ville=Dupont-%C3%A9&h=1&ok=Chercher HTTP/1.0"))
        << shown;

    view->loadUrl(url.c_str());
    ASSERT_TRUE(waitLoaded(recorder, 3));
    fields = Fields(content);
    ASSERT_EQ(6u, fields.size());
    clickField(fields[5]);
    ASSERT_TRUE(waitLoaded(recorder, 4));
    shown = NS_GetShownText(view->webBrowser());
    EXPECT_NE(std::string::npos, shown.find("POST /form/post HTTP/1.0\nmot=%C3%A9t%C3%A9")) << shown;

    // Return in a field sends its form as its first button would, with the button's pair.
    view->loadUrl(url.c_str());
    ASSERT_TRUE(waitLoaded(recorder, 5));
    fields = Fields(content);
    ASSERT_EQ(6u, fields.size());
    clickField(fields[1]);
    Type(L"Lyon\r");
    pumpTyped(300);
    ASSERT_TRUE(waitLoaded(recorder, 6));
    shown = NS_GetShownText(view->webBrowser());
    EXPECT_NE(std::string::npos, shown.find("GET /form/get?nom=Dupont&ville=Lyon&abonne=on&h=1&ok=Chercher HTTP/1.0"))
        << shown;
}

TEST_F(PageFormTest, ListItemsShowTheirBulletOrNumberIndentedByTheirDepth) {
    std::string url, why = loadServed("lists.html", url);
    if (!why.empty())
        GTEST_SKIP() << why;
    HWND content = ContentWindow(view);
    settle(300);
    EXPECT_EQ("Avant\n\x95 un\n\x95 deux\n3. trois\n4. quatre\nApr\xE8s\n", NS_GetShownText(view->webBrowser()));
    RECT client;
    GetClientRect(content, &client);
    std::vector<int> starts = LineStarts(*PictureOf(content, "browser-page-lists"), client.right, client.bottom);
    ASSERT_EQ(6u, starts.size()) << "one band a paragraph";
    // The items stand a step right of the text, the nested ones a step further; the text after is back.
    EXPECT_NEAR(starts[0] + 24, starts[1], 3);
    EXPECT_NEAR(starts[1], starts[2], 2);
    EXPECT_NEAR(starts[1] + 24, starts[3], 3);
    EXPECT_NEAR(starts[3], starts[4], 2);
    EXPECT_NEAR(starts[0], starts[5], 2);
}
