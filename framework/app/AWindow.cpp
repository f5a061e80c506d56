// Windows opened from layouts: flags and style, title, shell and menu bar,
// window commands, closing and activation.
#include "framework/app/AWindow.h"

#include <climits>
#include <cstdio>

#include "base/object/AFileSpec.h"
#include "base/object/AMemoryStream.h"
#include "base/object/InputRecords.h"
#include "base/procedural/AError.h"
#include "framework/app/AApp.h"
#include "framework/app/AWindowManager.h"
#include "framework/components/AKindSet.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/menus/AMenuBar.h"
#include "framework/resources/AStringListResource.h"
#include "framework/windows/AMdiFrame.h"
#include "framework/windows/AWindowShell.h"

SV_IMPLEMENT_CLASS(AWindow, 104, ALocalCluster)

namespace {

uint16_t g_untitled = 0;

AApp* RequireApp(long line) {
    AApp* app = AApp::current();
    if (!app)
        ThrowAssert("fwindow", line);
    return app;
}

}  // namespace

long AWindowOwnTable::itemState(int16_t code) {
    if (window_->hasItem(code))
        return AClusterOwner::itemState(code);
    auto found = states_.find(code);
    return found == states_.end() ? 0 : found->second;
}

void AWindowOwnTable::setItemState(int16_t code, long state) {
    if (window_->hasItem(code))
        AClusterOwner::setItemState(code, state);
    else
        states_[code] = state;
}

AWindow::AWindow() : table_(this) {
    setOwnerPart(&table_);
    setFlag(0x2000, 1);
}

AWindow::AWindow(AComponent* parent, int16_t id, const ASizeSpec& rule, const char* title, const char* menuName,
                 uint16_t flags, uint16_t iconId, const ARect& layoutRect)
    : ALocalCluster(parent, id, rule, 0, 0, ""),
      title_(title ? title : ""),
      menuName_(menuName ? menuName : ""),
      windowFlags_(flags),
      iconId_(iconId),
      layoutRect_(layoutRect),
      table_(this) {
    setOwnerPart(&table_);
    setFlag(0x2000, 1);
}

AWindow::~AWindow() = default;

void AWindow::resetUntitledCounter() {
    g_untitled = 0;
}

// Window record, after the cluster parts:
//   title NUL | menu name NUL | flags u16 | icon u16 |
//   left i16 | top i16 | third i16 | fourth i16 | FFFF
// A frame edge of -32768 means the system's default position (CW_USEDEFAULT).
void AWindow::readFrom(AMemoryStream& stream) {
    ALocalCluster::readFrom(stream);
    title_ = stream.readString(-1);
    menuName_ = stream.readString(-1);
    windowFlags_ = static_cast<uint16_t>(stream.readShort());
    iconId_ = static_cast<uint16_t>(stream.readShort());
    int32_t r[4];
    for (int32_t& v : r)
        v = stream.readShort();
    layoutRect_ = ARect(r[0], r[1], r[2], r[3]);
    ALayoutLoader::readEndMark(stream, "fwindow", 152);
    if (sizer())
        return;
    ARect f = getFrame();
    bool rewritten = false;
    if (f.left() == -32768) {
        f = ARect(INT32_MIN, f.top(), static_cast<int32_t>(static_cast<uint32_t>(INT32_MIN) + f.width()), f.bottom());
        rewritten = true;
    }
    if (f.top() == -32768) {
        f = ARect(f.left(), INT32_MIN, f.right(), static_cast<int32_t>(static_cast<uint32_t>(INT32_MIN) + f.height()));
        rewritten = true;
    }
    if (rewritten)
        setSizeSpec(ASizeSpec(f), false);
}

// A dialog whose stored parent is the main frame reports the application.
AComponent* AWindow::getParent() const {
    AComponent* p = ALocalCluster::getParent();
    if (!p)
        return nullptr;
    auto* w = dynamic_cast<AWindow*>(p);
    if (!w)
        w = static_cast<AWindow*>(p->findAncestor(&AWindow::classRecord));
    return w ? w->getParent() : p;
}

uint16_t AWindow::impliedFlags(uint16_t f) {
    if (f & kMinimized)
        f |= kMinimizeBox;
    else if (f & kMaximized)
        f |= kSizable;
    if (f & kStyleTwo)
        f |= kTopLevel;
    if (f & kSizable)
        f |= kMinimizeBox | kSystemMenu;
    if (f & kClosable)
        f |= kSystemMenu;
    if (f & kSystemMenu)
        f |= kCaption;
    if (f & kMinimizeBox)
        f |= kCaption;
    return f;
}

DWORD AWindow::nativeStyle(uint16_t& f) {
    if (f & kFill)
        f = kFill | kNoBorder;
    DWORD style = WS_CLIPCHILDREN;
    if (f & kMinimized)
        style |= WS_MINIMIZE;
    else if (f & kMaximized)
        style |= WS_MAXIMIZE;
    if (f & kStyleTwo)
        style |= 2;
    if (f & kSizable)
        style |= WS_THICKFRAME | WS_MAXIMIZEBOX;
    if (f & kSystemMenu)
        style |= WS_SYSMENU;
    if (f & kMinimizeBox)
        style |= WS_MINIMIZEBOX;
    if (f & kCaption) {
        style |= WS_CAPTION;
        if (f & kCaptionBit)
            style |= 0x80;
    } else if (f & kCaptionBit) {
        style |= WS_DLGFRAME;
    } else if (!(f & kNoBorder)) {
        style |= WS_BORDER;
    }
    if (!(f & (kFill | kCaption))) {
        style |= WS_POPUP;
        f |= kPopup;
    }
    return style;
}

void AWindow::attachItems() {
    AApp* app = RequireApp(285);
    if (!ALocalCluster::getParent())
        setParent(app);
    ALocalCluster::attachItems();
    windowFlags_ = impliedFlags(windowFlags_);
    if (!(windowFlags_ & kTopLevel) && (layoutRect_.left() != 0 || layoutRect_.top() != 0)) {
        ARect area = app->applicationArea();
        if (layoutRect_.first == area.first) {
            windowFlags_ |= kFill;
            windowFlags_ &= static_cast<uint16_t>(~kSystemMenu);
        }
    }
    if (title_.empty() && (windowFlags_ & kCaption)) {
        ++g_untitled;
        AStringListResource list(129);
        AString title = list.get(0);
        char number[8];
        snprintf(number, sizeof number, "%d", g_untitled);
        title += number;
        title_ = title;
    }
    nativeWindow_ = createNativeWindow();
    nativeWindowMoved();
    app->windowManager().addWindow(this);
    if (!(app->style() & AApp::kFullScreen)) {
        if (windowFlags_ & kFill)
            fitToArea();
        else if (getFrame().first == APoint(0, 0))
            centerIn(nullptr, false);
    }
}

AWindowShell* AWindow::createNativeWindow() {
    AApp* app = RequireApp(250);
    DWORD style = nativeStyle(windowFlags_);
    long extraW = 0, extraH = 0;
    if (windowFlags_ & kSizable) {
        extraW += 2 * GetSystemMetrics(SM_CXFRAME);
        extraH += 2 * GetSystemMetrics(SM_CYFRAME);
    }
    if (windowFlags_ & kCaption)
        extraH += GetSystemMetrics(SM_CYBORDER) + GetSystemMetrics(SM_CYCAPTION);
    frameExtra_ = APoint(extraW, extraH);
    // The frame is the client area: the window grows around it, and a
    // default position stays the default.
    ARect f = getFrame();
    RECT outer{0, 0, f.width(), f.height()};
    AdjustWindowRect(&outer, style & ~WS_MINIMIZE & ~WS_MAXIMIZE, FALSE);
    int32_t x = f.left() == INT32_MIN ? INT32_MIN : f.left() + outer.left;
    int32_t y = f.top() == INT32_MIN ? INT32_MIN : f.top() + outer.top;
    int32_t w = outer.right - outer.left, h = outer.bottom - outer.top;
    // The default position keeps the width: right = 0x80000000 + width.
    auto end = [](int32_t from, int32_t size) {
        return static_cast<int32_t>(static_cast<uint32_t>(from) + static_cast<uint32_t>(size));
    };
    ARect rect(x, y, end(x, w), end(y, h));
    AWindowShell* shell;
    if (windowFlags_ & (kTopLevel | kPopup)) {
        HWND parent = (windowFlags_ & kPopup) ? nullptr : GetFrameWindow();
        shell = new ATopLevelShell(this, parent, title_.c_str(), style, rect, (windowFlags_ & kTopLevel) != 0, true);
    } else {
        shell = new AMdiChildShell(this, title_.c_str(), style, rect, true);
    }
    CheckAlloc(shell, "fwindow", 257);
    HWND hwnd = shell->nativeWindow() ? shell->nativeWindow()->hwnd() : nullptr;
    if (!hwnd) {
        delete shell;
        ThrowMemError(AMemError("fwindow", 259));
    }
    if (x != INT32_MIN && y != INT32_MIN)
        MoveWindow(hwnd, x, y, w, h, FALSE);
    menuBar_ = CheckAlloc(new AMenuBar(this, hwnd, AResourceRef(menuName_.c_str())), "fwindow", 262);
    menuBar_->load();
    menuBar_->redraw();
    if (windowFlags_ & kMinimizeBox) {
        void* icon = nullptr;
        if (iconId_ == 0)
            icon = app->appIcon();
        if (!icon && iconId_ == 0)
            iconId_ = 32512;
        if (iconId_ != 0)
            icon = app->icon(static_cast<int16_t>(iconId_));
        if (icon) {
            SendMessageA(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
            SendMessageA(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
        }
    }
    return shell;
}

void AWindow::destroyNativeWindow(AWindowShell* shell) {
    delete shell;
}

void AWindow::detachItems() {
    delete menuBar_;
    menuBar_ = nullptr;
    if (nativeWindow_) {
        AWindowShell* shell = nativeWindow_;
        nativeWindow_ = nullptr;
        destroyNativeWindow(shell);
        setNativeWindow(nullptr);
    }
    focusItem_ = nullptr;
    if (AApp* app = AApp::current()) {
        if (app->activeWindow() == this)
            app->setActiveWindow(nullptr);
        app->windowManager().removeWindow(this);
    }
    ALocalCluster::detachItems();
}

void AWindow::unbindActions() {
    hideUpdate();
    ALocalCluster::unbindActions();
}

void AWindow::componentDeleted(AComponent* component) {
    if (component == focusItem_)
        focusItem_ = nullptr;
    ALocalCluster::componentDeleted(component);
}

void AWindow::bindActions() {
    ALocalCluster::bindActions();
    if (menuBar_) {
        addAction(2, this, static_cast<int16_t>(SC_MOUSEMENU), menuBar_);
        addAction(2, this, static_cast<int16_t>(SC_KEYMENU), menuBar_);
        addAction(2, this, static_cast<int16_t>(SC_NEXTWINDOW), menuBar_);
        addAction(kCloseCommand, this, static_cast<int16_t>(SC_CLOSE), menuBar_);
    }
    addAction(kCloseCommand, this, 13, nullptr);
    addAction(kCancelCommand, this, 2, &table_);
    addAction(kOkCommand, this, 1, &table_);
    addAction(kHelpCommand, this, 934, nullptr);
}

// Escape, and Ctrl+'.', fire the cancel code of the window's own table; Tab
// and Shift+Tab move the focus, Alt+Tab is left to the system.
ACommand* AWindow::charToCommand(AKeyEvent& event) {
    if (event.down && event.character == 9 && !(event.modifiers() & 32)) {
        if (event.modifiers() & 4)
            focusPrevious();
        else
            focusNext();
        return noChangeCommand();
    }
    if (event.down && (event.character == 27 || (event.character == '.' && (event.modifiers() & 8)))) {
        if (table_.fire(2, 0, nullptr))
            return noChangeCommand();
    }
    return ALocalCluster::charToCommand(event);
}

ACommand* AWindow::doCommand(int16_t id, long argument) {
    switch (id) {
        case kCloseCommand:
        case kCancelCommand:
            return cancel();
        case kOkCommand:
            return confirm();
        case kHelpCommand:
            RequireApp(600)->contextHelp(0);
            return noChangeCommand();
        default:
            return ALocalCluster::doCommand(id, argument);
    }
}

int16_t AWindow::commandStatus(int16_t id, long argument) {
    switch (id) {
        case kCloseCommand:
            return isClosable() ? 1 : 2;
        case kCancelCommand:
        case kOkCommand:
            return 1;
        case kHelpCommand:
            return RequireApp(610)->hasHelp() ? 1 : 2;
        default:
            return ALocalCluster::commandStatus(id, argument);
    }
}

void AWindow::eraseBackground(const ARect& rect) {
    if (!(windowFlags_ & kNoErase))
        ALocalCluster::eraseBackground(rect);
}

void AWindow::showNativeWindow() {
    if (!nativeWindow_)
        ThrowAssert("fwindow", 646);
    nativeWindow_->show(true);
}

void AWindow::hideNativeWindow() {
    if (!nativeWindow_)
        ThrowAssert("fwindow", 658);
    nativeWindow_->hide();
}

void AWindow::setNativeWindowShownForced(bool show) {
    if (!nativeWindow_)
        ThrowAssert("fwindow", 669);
    if (show)
        nativeWindow_->show(false);
    else
        nativeWindow_->hide();
}

AItemOwner* AWindow::shellMenu() {
    return menuBar_;
}

void AWindow::shellClose() {
    perform(closeWindow());
}

long AWindow::shellCurrentItem() {
    AClusterItem* item = currentItem();
    if (!item || !(item->state() & AClusterItem::kOn))
        return 0;
    return static_cast<long>(0x534B0000UL | static_cast<uint16_t>(item->id()));
}

// Active, the window gives the keyboard focus to its focus item's native
// window; inactive, it becomes the active window, which restores the focus.
void AWindow::shellFocused() {
    AApp* app = AApp::current();
    if (!app)
        return;
    if (app->activeWindow() != this) {
        activate(true);
        return;
    }
    auto* item = dynamic_cast<ADisplayComponent*>(focusItem_);
    if (!item || item == this || !item->acceptsTarget())
        return;
    HWND h = item->enclosingWindow();
    if (h && h != getHWnd())
        MoveFocusTo(h);
}

void AWindow::setSizeLimits(long minWidth, long minHeight, long maxWidth, long maxHeight) {
    minimumSize_ = APoint(minWidth, minHeight);
    layoutRect_ = ARect(layoutRect_.left(), layoutRect_.top(), maxWidth, maxHeight);
}

void AWindow::shellLimits(long limits[4], APoint& extra) {
    limits[0] = minimumSize_.x > 0 ? minimumSize_.x : 0;
    limits[1] = minimumSize_.y > 0 ? minimumSize_.y : 0;
    limits[2] = layoutRect_.right() > 0 ? layoutRect_.right() : 0;
    limits[3] = layoutRect_.bottom() > 0 ? layoutRect_.bottom() : 0;
    extra = frameExtra_;
}

void AWindow::setTitle(const char* title) {
    title_ = title ? title : "";
    if (nativeWindow_ && nativeWindow_->nativeWindow())
        nativeWindow_->nativeWindow()->setTitle(title_.c_str());
}

void AWindow::setTitleFromFile(const AFileSpec& file) {
    if (!file.empty())
        setTitle(file.name().c_str());
}

ACommand* AWindow::closeWindow() {
    return canClose(true) ? doClose() : noChangeCommand();
}

bool AWindow::canClose(bool asking) {
    (void)asking;
    return true;
}

ACommand* AWindow::doClose() {
    hideUpdate();
    if (!deletesOnClose())
        return noChangeCommand();
    auto* command = new ADeleteComponentCmd(1, this);
    AObject::completeNew(command);
    return CheckAlloc(command, "fwindow", 785);
}

void AWindow::select() {
    if (!hasFlags(kShown)) {
        showUpdate();
        return;
    }
    if (!nativeWindow_)
        ThrowAssert("fwindow", 689);
    nativeWindow_->activate();
}

bool AWindow::isMinimized() const {
    if (!nativeWindow_)
        ThrowAssert("fwindow", 438);
    HWND h = getHWnd();
    return h && IsIconic(h);
}

void AWindow::setFocusItem(AComponent* component) {
    if (component && component != this && !component->isDescendantOf(this))
        ThrowAssert("fwindow", 566);
    focusItem_ = component;
}

AComponent* AWindow::defaultFocusItem() {
    AComponent* item = focusTarget();
    return item ? item : this;
}

void AWindow::refreshFocus() {
    restoreFocus(RequireApp(572)->activeWindow() == this);
}

void AWindow::focusNext() {
    moveFocus(true);
}

void AWindow::focusPrevious() {
    moveFocus(false);
}

void AWindow::moveFocus(bool forward) {
    // The target moves without telling the window: it is the better start when inside.
    AComponent* from = focusItem_;
    AComponent* target = RequireApp(590)->target();
    if (target && target->isDescendantOf(this))
        from = target;
    if (from == this)
        from = nullptr;
    AClusterItem* next = forward ? nextFocusTarget(from, true) : previousFocusTarget(from, true);
    if (next && next->becomeTarget(1))
        focusItem_ = next;
}

void AWindow::restoreFocus(bool on) {
    if (on) {
        if (focusItem_ && focusItem_ != this)
            return;
        focusItem_ = defaultFocusItem();
        if (!focusItem_)
            ThrowAssert("fwindow", 581);
        focusItem_->becomeTarget(1);
    } else if (focusItem_ == this) {
        setFocusItem(nullptr);
    }
}

void AWindow::activate(bool on) {
    AApp* app = RequireApp(516);
    if (on == (app->activeWindow() == this))
        return;
    if (on) {
        app->setActiveWindow(this);
        broadcastWindowActivated(1);
        if (!focusItem_) {
            restoreFocus(true);
        } else if (!focusItem_->becomeTarget(1)) {
            setFocusItem(nullptr);
            restoreFocus(true);
        }
        return;
    }
    app->setActiveWindow(nullptr);
    AComponent* target = app->target();
    if (target != app) {
        if (target != focusItem_)
            focusItem_ = target && (target == this || target->isDescendantOf(this)) ? target : nullptr;
        app->setTarget(nullptr, 0);
    }
    broadcastWindowActivated(0);
}

// The display parent's bounds would be the rule, but a window's parent is the
// application, which has no display: the base would answer the window's own
// client area, inside which centring and filling change nothing.
ARect AWindow::getContainerRect() {
    AApp* app = AApp::current();
    if (getDisplayParent() || !app)
        return ALocalCluster::getContainerRect();
    POINT origin = {0, 0};
    if (HWND client = GetMdiClientWindow())
        ClientToScreen(client, &origin);
    return app->applicationArea() + APoint(origin.x, origin.y);
}

void AWindow::fitToArea() {
    ARect area = getContainerRect();
    int32_t w = area.width(), h = area.height();
    if (layoutRect_.right() > 0 && layoutRect_.right() < w)
        w = layoutRect_.right();
    if (layoutRect_.bottom() > 0 && layoutRect_.bottom() < h)
        h = layoutRect_.bottom();
    int32_t dx = (area.width() - w) / 2, dy = (area.height() - h) / 2;
    setFrame(ARect(area.left() + dx, area.top() + dy, area.right() - dx, area.bottom() - dy), true);
}
