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
// A list's items stand this far right of the text around the list, each nested list further.
const int kListIndent = 24;
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

namespace {

const int kCellPadding = 4;
const int kFieldIdBase = 1000;
const wchar_t kFieldProcProperty[] = L"WebrtFieldProc";

// A page's text field: Return in it sends its form, as the form's first button would.
LRESULT CALLBACK FieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
    auto old = reinterpret_cast<WNDPROC>(GetPropW(field, kFieldProcProperty));
    try {
        if (message == WM_CHAR && wParam == VK_RETURN) {
            auto* browser = reinterpret_cast<WebBrowser*>(GetWindowLongPtrW(GetParent(field), GWLP_USERDATA));
            if (browser) {
                nsPtr<WebBrowser> keep(browser);
                browser->submitFromField(GetDlgCtrlID(field) - kFieldIdBase);
            }
            return 0;
        }
        if (message == WM_NCDESTROY)
            RemovePropW(field, kFieldProcProperty);
    } catch (...) {
        return 0;
    }
    return old ? CallWindowProcW(old, field, message, wParam, lParam) : DefWindowProcW(field, message, wParam, lParam);
}

}  // namespace

void WebBrowser::submitFromField(int field) {
    if (field < 0 || static_cast<size_t>(field) >= document_.controls.size())
        return;
    int form = document_.controls[field].form;
    for (size_t i = 0; i < document_.controls.size(); ++i)
        if (document_.controls[i].form == form && document_.controls[i].kind == HtmlControl::kSubmit) {
            submitForm(static_cast<int>(i));
            return;
        }
    submitForm(field);
}

SIZE WebBrowser::objectSize(HDC dc, const HtmlRun& run, int width) {
    SIZE size = {0, 0};
    if (run.image >= 0 && static_cast<size_t>(run.image) < document_.images.size()) {
        const HtmlImage& image = document_.images[run.image];
        const PagePicture* picture =
            static_cast<size_t>(run.image) < pictures_.size() ? &pictures_[run.image] : nullptr;
        size.cx = image.width;
        size.cy = image.height;
        if (picture && picture->bitmap) {
            // One given side scales the other as the picture's own shape.
            if (!size.cx && !size.cy)
                size = picture->size;
            else if (!size.cx)
                size.cx = picture->size.cy ? MulDiv(size.cy, picture->size.cx, picture->size.cy) : size.cy;
            else if (!size.cy)
                size.cy = picture->size.cx ? MulDiv(size.cx, picture->size.cy, picture->size.cx) : size.cx;
        }
        if (!size.cx || !size.cy) {
            // Not drawn (yet): a box holding its alternative text keeps the place.
            SIZE text = {0, 0};
            GetTextExtentPoint32W(dc, image.alt.c_str(), static_cast<int>(image.alt.size()), &text);
            size.cx = size.cx ? size.cx : std::max<LONG>(24, text.cx + 8);
            size.cy = size.cy ? size.cy : std::max<LONG>(24, text.cy + 8);
        }
        if (size.cx > width) {
            size.cy = std::max<LONG>(1, MulDiv(size.cy, width, size.cx));
            size.cx = width;
        }
        return size;
    }
    if (run.control >= 0 && static_cast<size_t>(run.control) < document_.controls.size()) {
        const HtmlControl& control = document_.controls[run.control];
        TEXTMETRICW tm;
        GetTextMetricsW(dc, &tm);
        switch (control.kind) {
        case HtmlControl::kCheckbox:
            size = SIZE{16, 16};
            break;
        case HtmlControl::kSubmit:
        case HtmlControl::kButton:
            GetTextExtentPoint32W(dc, control.value.c_str(), static_cast<int>(control.value.size()), &size);
            size.cx += 20;
            size.cy = tm.tmHeight + 10;
            break;
        default:
            size.cx = control.size * tm.tmAveCharWidth + 8;
            size.cy = tm.tmHeight + 8;
            break;
        }
        size.cx = std::min<LONG>(size.cx, width);
    }
    return size;
}

int WebBrowser::layoutParagraph(HDC dc, size_t p, int left, int width, int y) {
    const std::vector<HtmlRun>& runs = document_.paragraphs[p];
    int depth = p < document_.listDepths.size() ? document_.listDepths[p] : 0;
    // Deep lists stop moving right once half the width is gone.
    int indent = std::min(depth * kListIndent, width / 2);
    left += indent;
    width -= indent;
    // A heading's lines are taller.
    bool heading = !runs.empty() && (runs[0].style & HtmlRun::kHeading);
    int lineHeight = heading ? lineHeight_ * 3 / 2 : lineHeight_;
    int x = 0;
    int lineBottom = y + lineHeight;
    size_t offset = 0;
    for (const HtmlRun& run : runs) {
        SelectObject(dc, RunFont(run.style, run.link >= 0));
        if (run.image >= 0 || run.control >= 0) {
            SIZE size = objectSize(dc, run, width);
            if (x > 0 && x + size.cx > width) {
                x = 0;
                y = lineBottom;
                lineBottom = y + lineHeight;
            }
            LaidRun laid{RECT{left + x, y, left + x + size.cx, y + size.cy}, p, offset, std::wstring(), run.link,
                         run.style};
            laid.image = run.image;
            laid.control = run.control;
            laid_.push_back(laid);
            x += size.cx + 2;
            lineBottom = std::max(lineBottom, y + static_cast<int>(size.cy) + 2);
            continue;
        }
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
                y = lineBottom;
                lineBottom = y + lineHeight;
            }
            laid_.push_back(LaidRun{RECT{left + x, y, left + x + size.cx, y + lineHeight}, p, offset + i, word,
                                    run.link, run.style});
            x += size.cx;
            i = end;
        }
        offset += run.text.size();
    }
    return lineBottom;
}

void WebBrowser::layout() {
    laid_.clear();
    cellFrames_.clear();
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
    size_t count = document_.paragraphs.size();
    for (size_t p = 0; p < count; ++p) {
        HtmlCell cell = p < document_.cells.size() ? document_.cells[p] : HtmlCell();
        if (cell.table < 0 || static_cast<size_t>(cell.table) >= document_.tables.size()) {
            y = layoutParagraph(dc, p, kMargin, width, y) + lineHeight_ / 2;
            continue;
        }
        // A table: equal columns, each row as tall as its tallest cell.
        const HtmlTable& table = document_.tables[cell.table];
        int columns = std::max(1, table.columns);
        int columnWidth = std::max(20, width / columns);
        std::vector<int> bottoms;
        int row = -1;
        int rowTop = y;
        auto endRow = [&]() {
            if (row < 0)
                return;
            int bottom = rowTop + lineHeight_;
            for (int b : bottoms)
                bottom = std::max(bottom, b);
            bottom += kCellPadding;
            if (table.border)
                for (int c = 0; c < columns; ++c)
                    cellFrames_.push_back(RECT{kMargin + c * columnWidth, rowTop, kMargin + (c + 1) * columnWidth + 1,
                                               bottom + 1});
            rowTop = bottom;
        };
        size_t q = p;
        for (; q < count && q < document_.cells.size() && document_.cells[q].table == cell.table; ++q) {
            const HtmlCell& here = document_.cells[q];
            if (here.row != row) {
                endRow();
                row = here.row;
                bottoms.assign(static_cast<size_t>(columns), rowTop + kCellPadding);
            }
            int column = std::max(0, std::min(here.column, columns - 1));
            int top = bottoms[column];
            bottoms[column] = layoutParagraph(dc, q, kMargin + column * columnWidth + kCellPadding,
                                              columnWidth - 2 * kCellPadding, top) + 2;
        }
        endRow();
        y = rowTop + lineHeight_ / 2;
        p = q - 1;
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
    // The fields' windows follow their places.
    for (const LaidRun& run : laid_) {
        if (run.control < 0 || static_cast<size_t>(run.control) >= fields_.size() || !fields_[run.control])
            continue;
        SetWindowPos(fields_[run.control], nullptr, run.rect.left, run.rect.top - scrollY_,
                     run.rect.right - run.rect.left, run.rect.bottom - run.rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void WebBrowser::makeControls() {
    destroyControls();
    if (!hwnd_)
        return;
    fields_.assign(document_.controls.size(), nullptr);
    for (size_t i = 0; i < document_.controls.size(); ++i) {
        const HtmlControl& control = document_.controls[i];
        const wchar_t* className = L"EDIT";
        DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
        DWORD exStyle = 0;
        std::wstring text = control.value;
        switch (control.kind) {
        case HtmlControl::kHidden:
            continue;
        case HtmlControl::kCheckbox:
            className = L"BUTTON";
            style |= BS_AUTOCHECKBOX;
            text.clear();
            break;
        case HtmlControl::kSubmit:
        case HtmlControl::kButton:
            className = L"BUTTON";
            style |= BS_PUSHBUTTON;
            break;
        case HtmlControl::kPassword:
            style |= ES_PASSWORD | ES_AUTOHSCROLL;
            exStyle = WS_EX_CLIENTEDGE;
            break;
        default:
            style |= ES_AUTOHSCROLL;
            exStyle = WS_EX_CLIENTEDGE;
            break;
        }
        HWND field = CreateWindowExW(exStyle, className, text.c_str(), style, 0, 0, 10, 10, hwnd_,
                                     reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kFieldIdBase + i)),
                                     GetModuleHandleW(nullptr), nullptr);
        if (!field)
            continue;
        SendMessageW(field, WM_SETFONT, reinterpret_cast<WPARAM>(ContentFont()), FALSE);
        if (control.kind == HtmlControl::kText || control.kind == HtmlControl::kPassword) {
            SetPropW(field, kFieldProcProperty, reinterpret_cast<HANDLE>(GetWindowLongPtrW(field, GWLP_WNDPROC)));
            SetWindowLongPtrW(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FieldProc));
        }
        if (control.kind == HtmlControl::kCheckbox && control.checked)
            SendMessageW(field, BM_SETCHECK, BST_CHECKED, 0);
        fields_[i] = field;
    }
}

void WebBrowser::destroyControls() {
    for (HWND field : fields_)
        if (field && IsWindow(field))
            DestroyWindow(field);
    fields_.clear();
}

HWND WebBrowser::focusedField() const {
    HWND focus = GetFocus();
    if (!focus || !hwnd_)
        return nullptr;
    for (HWND field : fields_)
        if (field && field == focus)
            return field;
    return nullptr;
}

void WebBrowser::paintPicture(HDC dc, const LaidRun& run, const RECT& r) {
    const PagePicture* picture = static_cast<size_t>(run.image) < pictures_.size() ? &pictures_[run.image] : nullptr;
    if (picture && picture->bitmap) {
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ oldBitmap = SelectObject(memory, picture->bitmap);
        int oldMode = SetStretchBltMode(dc, HALFTONE);
        StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, memory, 0, 0, picture->size.cx,
                   picture->size.cy, SRCCOPY);
        SetStretchBltMode(dc, oldMode);
        SelectObject(memory, oldBitmap);
        DeleteDC(memory);
        return;
    }
    // A picture not drawn: its frame and its alternative text.
    HBRUSH frame = CreateSolidBrush(RGB(0xA0, 0xA0, 0xA0));
    FrameRect(dc, &r, frame);
    DeleteObject(frame);
    if (static_cast<size_t>(run.image) < document_.images.size()) {
        const std::wstring& alt = document_.images[run.image].alt;
        RECT inside = {r.left + 4, r.top + 4, r.right - 4, r.bottom - 4};
        SetTextColor(dc, RGB(0x60, 0x60, 0x60));
        DrawTextW(dc, alt.c_str(), static_cast<int>(alt.size()), &inside, DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
    }
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
    HBRUSH grid = CreateSolidBrush(RGB(0x80, 0x80, 0x80));
    for (const RECT& frame : cellFrames_) {
        RECT r = frame;
        OffsetRect(&r, 0, -scrollY_);
        if (r.bottom >= 0 && r.top <= client.bottom)
            FrameRect(dc, &r, grid);
    }
    DeleteObject(grid);
    for (const LaidRun& run : laid_) {
        RECT r = run.rect;
        OffsetRect(&r, 0, -scrollY_);
        if (r.bottom < 0 || r.top > client.bottom || run.control >= 0)
            continue;
        if (run.image >= 0) {
            paintPicture(dc, run, r);
            continue;
        }
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
    case WM_COMMAND: {
        // A page's button sends its form; other fields act by themselves.
        int index = static_cast<int>(LOWORD(wParam)) - kFieldIdBase;
        if (HIWORD(wParam) == BN_CLICKED && index >= 0 && static_cast<size_t>(index) < document_.controls.size() &&
            document_.controls[index].kind == HtmlControl::kSubmit) {
            nsPtr<WebBrowser> keep(this);
            submitForm(index);
        }
        return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        SetBkColor(reinterpret_cast<HDC>(wParam), RGB(0xFF, 0xFF, 0xFF));
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
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
        fields_.clear();  // gone with their parent
        if (hwnd_ == hwnd)
            hwnd_ = nullptr;
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace webrt
