// The web browser's content window: draws the page's paragraphs wrapped to
// the window's width (links blue and underlined, the find match highlighted),
// scrolls, follows links, and turns mouse and key input into DOM events for
// the listeners. It also runs the thread's event queue on a timer while
// something is pending there.
#include "platform/webrt/nsWebBrowserImpl.h"

#include <windowsx.h>

#include <algorithm>

namespace webrt {

namespace {

const wchar_t kClassName[] = L"WebrtContent";
const int kMargin = 8;
const UINT_PTR kQueueTimer = 1;

class MouseEvent : public nsSupportsImpl<nsIDOMEvent, nsIDOMMouseEvent> {
public:
    MouseEvent(int x, int y) : x_(x), y_(y) {}
    nsresult GetClientX(PRInt32* r) override {
        *r = x_;
        return NS_OK;
    }
    nsresult GetClientY(PRInt32* r) override {
        *r = y_;
        return NS_OK;
    }

private:
    int x_, y_;
};

class KeyEvent : public nsSupportsImpl<nsIDOMEvent, nsIDOMKeyEvent> {
public:
    KeyEvent(PRUint32 key, PRUint32 ch) : key_(key), ch_(ch) {}
    nsresult GetKeyCode(PRUint32* r) override {
        *r = key_;
        return NS_OK;
    }
    nsresult GetCharCode(PRUint32* r) override {
        *r = ch_;
        return NS_OK;
    }

private:
    PRUint32 key_, ch_;
};

class ContextInfo : public nsSupportsImpl<nsIContextMenuInfo> {
public:
    explicit ContextInfo(nsIDOMEvent* event) : event_(event) {}
    nsresult GetMouseEvent(nsIDOMEvent** result) override {
        if (!result)
            return NS_ERROR_NULL_POINTER;
        *result = event_.get();
        (*result)->AddRef();
        return NS_OK;
    }

private:
    nsPtr<nsIDOMEvent> event_;
};

LRESULT CALLBACK ContentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* browser = reinterpret_cast<WebBrowser*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!browser)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    // Listeners are the program's code: nothing they throw may cross the window procedure.
    try {
        return browser->windowProc(hwnd, message, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

bool RegisterContentClass() {
    static bool done = false;
    if (done)
        return true;
    WNDCLASSW wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ContentProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kClassName;
    done = RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    return done;
}

HFONT ContentFont() {
    static HFONT font = CreateFontW(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

HFONT LinkFont() {
    static HFONT font = CreateFontW(-13, 0, 0, 0, FW_NORMAL, 0, TRUE, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    return font ? font : ContentFont();
}

// The font of a run: bold, italic, a heading's larger bold, a link's underline.
HFONT RunFont(unsigned char style, bool link) {
    static HFONT fonts[16] = {};
    unsigned index = (style & 7u) | (link ? 8u : 0u);
    if (index == 0)
        return ContentFont();
    if (index == 8)
        return LinkFont();
    if (!fonts[index]) {
        bool heading = (style & HtmlRun::kHeading) != 0;
        fonts[index] = CreateFontW(heading ? -18 : -13, 0, 0, 0,
                                   (style & (HtmlRun::kBold | HtmlRun::kHeading)) ? FW_BOLD : FW_NORMAL,
                                   (style & HtmlRun::kItalic) ? TRUE : FALSE, link ? TRUE : FALSE, 0,
                                   DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    }
    return fonts[index] ? fonts[index] : ContentFont();
}

}  // namespace

bool WebBrowser::makeWindow() {
    if (hwnd_)
        return true;
    if (!RegisterContentClass())
        return false;
    DWORD style = WS_VSCROLL | WS_CLIPCHILDREN | WS_TABSTOP | (visible_ ? WS_VISIBLE : 0) | (parent_ ? WS_CHILD : WS_POPUP);
    hwnd_ = CreateWindowExW(0, kClassName, L"", style, bounds_.left, bounds_.top, bounds_.right - bounds_.left,
                            bounds_.bottom - bounds_.top, parent_, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!hwnd_)
        return false;
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    layout();
    return true;
}

void WebBrowser::repaint() {
    if (hwnd_)
        InvalidateRect(hwnd_, nullptr, TRUE);
}

void WebBrowser::layout() {
    laid_.clear();
    contentHeight_ = 0;
    if (!hwnd_)
        return;
    RECT client;
    GetClientRect(hwnd_, &client);
    int width = std::max<int>(50, client.right - 2 * kMargin);
    HDC dc = GetDC(hwnd_);
    HGDIOBJ old = SelectObject(dc, ContentFont());
    TEXTMETRICW tm;
    GetTextMetricsW(dc, &tm);
    lineHeight_ = tm.tmHeight + 2;
    int y = kMargin;
    for (size_t p = 0; p < document_.paragraphs.size(); ++p) {
        int x = 0;
        size_t offset = 0;
        // A heading's lines are taller.
        bool heading = !document_.paragraphs[p].empty() && (document_.paragraphs[p][0].style & HtmlRun::kHeading);
        int lineHeight = heading ? lineHeight_ * 3 / 2 : lineHeight_;
        for (const HtmlRun& run : document_.paragraphs[p]) {
            SelectObject(dc, RunFont(run.style, run.link >= 0));
            // Words stay whole; a word wider than the line is cut where it overflows.
            size_t i = 0;
            while (i < run.text.size()) {
                size_t end = run.text.find(L' ', i);
                end = end == std::wstring::npos ? run.text.size() : end + 1;
                std::wstring word = run.text.substr(i, end - i);
                SIZE size;
                GetTextExtentPoint32W(dc, word.c_str(), static_cast<int>(word.size()), &size);
                if (x > 0 && x + size.cx > width) {
                    x = 0;
                    y += lineHeight;
                }
                laid_.push_back(LaidRun{RECT{kMargin + x, y, kMargin + x + size.cx, y + lineHeight}, p, offset + i,
                                        word, run.link, run.style});
                x += size.cx;
                i = end;
            }
            offset += run.text.size();
        }
        y += lineHeight + lineHeight_ / 2;
    }
    SelectObject(dc, old);
    ReleaseDC(hwnd_, dc);
    contentHeight_ = y;
    SCROLLINFO info = {sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL, 0, 0, 0, 0, 0};
    info.nMax = std::max(0, contentHeight_);
    info.nPage = static_cast<UINT>(std::max<LONG>(1, client.bottom));
    scrollY_ = std::max(0, std::min(scrollY_, contentHeight_ - static_cast<int>(client.bottom)));
    info.nPos = scrollY_;
    SetScrollInfo(hwnd_, SB_VERT, &info, TRUE);
}

void WebBrowser::scrollToParagraph(size_t paragraph) {
    if (!hwnd_)
        return;
    RECT client;
    GetClientRect(hwnd_, &client);
    for (const LaidRun& run : laid_) {
        if (run.paragraph != paragraph)
            continue;
        if (run.rect.top < scrollY_ || run.rect.bottom > scrollY_ + client.bottom) {
            scrollY_ = std::max(0, static_cast<int>(run.rect.top) - kMargin);
            SetScrollPos(hwnd_, SB_VERT, scrollY_, TRUE);
        }
        return;
    }
}

void WebBrowser::paint(HDC dc) {
    RECT client;
    GetClientRect(hwnd_, &client);
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old = SelectObject(dc, ContentFont());
    HBRUSH selection = CreateSolidBrush(RGB(0x33, 0x66, 0xCC));
    for (const LaidRun& run : laid_) {
        RECT r = run.rect;
        OffsetRect(&r, 0, -scrollY_);
        if (r.bottom < 0 || r.top > client.bottom)
            continue;
        // The part of this piece inside the selection, in characters.
        size_t selFrom = 0, selTo = 0;
        if (selectAll_) {
            selTo = run.text.size();
        } else if (hasSelection_ && run.paragraph == selParagraph_) {
            size_t from = std::max(selOffset_, run.offset);
            size_t to = std::min(selOffset_ + selLength_, run.offset + run.text.size());
            if (from < to) {
                selFrom = from - run.offset;
                selTo = to - run.offset;
            }
        }
        SelectObject(dc, RunFont(run.style, run.link >= 0));
        if (selTo > selFrom) {
            SIZE before, inside;
            GetTextExtentPoint32W(dc, run.text.c_str(), static_cast<int>(selFrom), &before);
            GetTextExtentPoint32W(dc, run.text.c_str() + selFrom, static_cast<int>(selTo - selFrom), &inside);
            RECT s = {r.left + before.cx, r.top, r.left + before.cx + inside.cx, r.bottom};
            FillRect(dc, &s, selection);
        }
        SetTextColor(dc, run.link >= 0 ? RGB(0, 0, 0xEE) : RGB(0, 0, 0));
        TextOutW(dc, r.left, r.top, run.text.c_str(), static_cast<int>(run.text.size()));
        if (selTo > selFrom) {
            // The selected characters again in white over their highlight.
            SIZE before;
            GetTextExtentPoint32W(dc, run.text.c_str(), static_cast<int>(selFrom), &before);
            SetTextColor(dc, RGB(0xFF, 0xFF, 0xFF));
            TextOutW(dc, r.left + before.cx, r.top, run.text.c_str() + selFrom, static_cast<int>(selTo - selFrom));
        }
    }
    DeleteObject(selection);
    SelectObject(dc, old);
}

void WebBrowser::mouseEvent(UINT message, int x, int y) {
    nsPtr<WebBrowser> keep(this);
    nsPtr<MouseEvent> event(new MouseEvent(x, y));
    nsIDOMEvent* e = static_cast<nsIDOMEvent*>(event.get());
    std::vector<nsPtr<nsIDOMMouseListener>> listeners = mouseListeners_;
    int link = -1;
    for (const LaidRun& run : laid_) {
        POINT p = {x, y + scrollY_};
        if (run.link >= 0 && PtInRect(&run.rect, p)) {
            link = run.link;
            break;
        }
    }
    switch (message) {
    case WM_LBUTTONDOWN:
        if (hwnd_)
            SetFocus(hwnd_);
        for (auto& l : listeners)
            l->MouseDown(e);
        break;
    case WM_LBUTTONUP:
        for (auto& l : listeners)
            l->MouseUp(e);
        for (auto& l : listeners)
            l->MouseClick(e);
        if (link >= 0)
            followLink(link);
        break;
    case WM_LBUTTONDBLCLK:
        for (auto& l : listeners)
            l->MouseDblClick(e);
        break;
    case WM_MOUSEMOVE:
        SetCursor(LoadCursor(nullptr, link >= 0 ? IDC_HAND : IDC_ARROW));
        for (auto& l : listeners)
            l->MouseOver(e);
        break;
    case WM_RBUTTONUP: {
        nsPtr<nsIContextMenuListener2> menu = QueryAs<nsIContextMenuListener2>(chrome_.get());
        nsPtr<ContextInfo> info(new ContextInfo(e));
        if (menu)
            menu->OnShowContextMenu(
                link >= 0 ? nsIContextMenuListener2::CONTEXT_LINK : nsIContextMenuListener2::CONTEXT_DOCUMENT,
                info.get());
        break;
    }
    default:
        break;
    }
}

void WebBrowser::keyEvent(UINT message, WPARAM key) {
    nsPtr<WebBrowser> keep(this);
    bool isChar = message == WM_CHAR;
    nsPtr<KeyEvent> event(new KeyEvent(isChar ? 0 : static_cast<PRUint32>(key), isChar ? static_cast<PRUint32>(key) : 0));
    nsIDOMEvent* e = static_cast<nsIDOMEvent*>(event.get());
    std::vector<nsPtr<nsIDOMKeyListener>> listeners = keyListeners_;
    for (auto& l : listeners) {
        if (message == WM_KEYDOWN)
            l->KeyDown(e);
        else if (message == WM_KEYUP)
            l->KeyUp(e);
        else
            l->KeyPress(e);
    }
}

LRESULT WebBrowser::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        paint(dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_SIZE:
        layout();
        return 0;
    case WM_TIMER:
        if (wParam == kQueueTimer) {
            nsPtr<WebBrowser> keep(this);
            processEvents();
            PRBool pending = PR_FALSE;
            if (queue_)
                queue_->PendingEvents(&pending);
            if (!pending && hwnd_)
                KillTimer(hwnd_, kQueueTimer);
        }
        return 0;
    case WM_VSCROLL:
    case WM_MOUSEWHEEL: {
        RECT client;
        GetClientRect(hwnd, &client);
        int y = scrollY_;
        if (message == WM_MOUSEWHEEL) {
            y -= GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * 3 * lineHeight_;
        } else {
            switch (LOWORD(wParam)) {
            case SB_LINEUP: y -= lineHeight_; break;
            case SB_LINEDOWN: y += lineHeight_; break;
            case SB_PAGEUP: y -= client.bottom; break;
            case SB_PAGEDOWN: y += client.bottom; break;
            case SB_THUMBTRACK:
            case SB_THUMBPOSITION: y = HIWORD(wParam); break;
            case SB_TOP: y = 0; break;
            case SB_BOTTOM: y = contentHeight_; break;
            default: break;
            }
        }
        y = std::max(0, std::min(y, contentHeight_ - static_cast<int>(client.bottom)));
        if (y != scrollY_) {
            ScrollWindowEx(hwnd, 0, scrollY_ - y, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE | SW_ERASE |
                                                                                          SW_SCROLLCHILDREN);
            scrollY_ = y;
            SetScrollPos(hwnd, SB_VERT, y, TRUE);
        }
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_RBUTTONUP:
        mouseEvent(message, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_KEYDOWN: {
        keyEvent(message, wParam);
        WPARAM scroll = wParam == VK_NEXT ? SB_PAGEDOWN : wParam == VK_PRIOR ? SB_PAGEUP
                        : wParam == VK_DOWN ? SB_LINEDOWN : wParam == VK_UP ? SB_LINEUP
                        : wParam == VK_HOME ? SB_TOP : wParam == VK_END ? SB_BOTTOM : ~WPARAM(0);
        if (scroll != ~WPARAM(0))
            SendMessageW(hwnd, WM_VSCROLL, scroll, 0);
        return 0;
    }
    case WM_KEYUP:
    case WM_CHAR:
        keyEvent(message, wParam);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_NCDESTROY:
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        if (hwnd_ == hwnd)
            hwnd_ = nullptr;
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace webrt
