// Global clusters, tool bars and status bars, and the windows they live in.
#include "framework/clusters/AGlobalCluster.h"

#include <new>

#include "base/object/AMemoryStream.h"
#include "base/procedural/AError.h"
#include "framework/clusters/AClusterServices.h"
#include "framework/components/ACommand.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/windows/AToolWindow.h"

SV_IMPLEMENT_CLASS(AGlobalCluster, 131, AItemCluster)
SV_IMPLEMENT_CLASS(AToolBar, 132, AGlobalCluster)
SV_IMPLEMENT_CLASS(AStatusBar, 133, AGlobalCluster)

namespace {

void CloseBar(AGlobalCluster* bar) {
    if (ACommand* c = bar->closeCluster())
        bar->perform(c);
}

// What a bar's window does whatever its kind: the bar follows the window's
// moves and forgets the window when it goes. The window is destroyed here,
// while the object is whole, so that its last messages still reach the bar.
template <class Window>
class ABarWindow : public Window {
public:
    template <class... Args>
    explicit ABarWindow(AGlobalCluster* bar, Args... args) : Window(bar, args...), bar_(bar) {}
    ~ABarWindow() override {
        if (this->hwnd() && IsWindow(this->hwnd()))
            DestroyWindow(this->hwnd());
    }
    AMessageResult handle(AMessage& m) override {
        if ((m.message == WM_SIZE || m.message == WM_MOVE) && bar_->getHWnd() == m.hwnd)
            bar_->nativeWindowMoved();
        else if (m.message == WM_NCDESTROY)
            bar_->setNativeWindow(nullptr);
        return Window::handle(m);
    }

protected:
    AGlobalCluster* bar_;  // not owned: the window's component
};

// A bar inside its parent's window.
class AChildBarWindow : public ABarWindow<ADisplayWindow> {
public:
    using ABarWindow::ABarWindow;
    AMessageResult handle(AMessage& m) override {
        if (m.message != WM_CLOSE)
            return ABarWindow::handle(m);
        CloseBar(bar_);
        return Handled(0);
    }
};

// A floating bar, owned by its parent's window or the frame.
class AFloatingBarWindow : public ABarWindow<AToolWindow> {
public:
    AFloatingBarWindow(AGlobalCluster* bar, HWND parent) : ABarWindow(bar, parent, uint16_t(1)) {}

protected:
    void runClose() override { CloseBar(bar_); }
};

// The window a bar's window belongs to: its parent's, else the application's frame.
HWND BarParentWindow(AComponent* bar) {
    for (AComponent* p = bar->AComponent::getParent(); p; p = p->getParent()) {
        if (auto* d = dynamic_cast<ADisplayComponent*>(p)) {
            if (HWND w = d->enclosingWindow())
                return w;
        }
    }
    return AClusterServices::current().frameWindow();
}

// Makes the window of bar, owned by native: "made" failing is a memory error at
// line, a window that cannot be made an assertion at line + 1.
void OpenBarWindow(std::unique_ptr<ADisplayWindow>& native, ADisplayWindow* made, AGlobalCluster* bar,
                   const char* title, DWORD style, const ARect& rect, long line) {
    native.reset(CheckAlloc(made, "fitems", line));
    // Made visible, a floating window would take the activation from the frame.
    native->create(title, style & ~WS_VISIBLE, rect, 0, true);
    HWND hwnd = native->hwnd();
    bar->setNativeWindow(hwnd);
    if (!hwnd)
        ThrowAssert("fitems", line + 1);
    if (style & WS_VISIBLE)
        ShowWindow(hwnd, SW_SHOWNA);
}

}  // namespace

void AGlobalCluster::readFrom(AMemoryStream& stream) {
    AItemCluster::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "fitems", 2027);
}

void AGlobalCluster::setOwnerShown(bool flag) {
    if (hasFlags(kModeFlag) == flag)
        return;
    broadcastWindowActivated(flag);
    flag ? show(true) : hide(true);
    queueUpdate(6);
}

ACommand* AGlobalCluster::dispose() {
    hideUpdate();
    perform(CheckAlloc(new (std::nothrow) ADeleteComponentCmd(1, this), "fitems", 2117));
    return noChangeCommand();
}

void AGlobalCluster::adoptByApplication(long line) {
    AComponent* app = application();
    if (!app)
        ThrowAssert("fitems", line);
    if (!AComponent::getParent())
        setParent(app);
}

AToolBar::AToolBar() {
    addItemFlags(kPalette);
}

AToolBar::AToolBar(AComponent* parent, int16_t id, const ASizeSpec& rule, const char* title)
    : AGlobalCluster(parent, id, rule, 0, 1, nullptr), title_(title ? title : "") {
    addItemFlags(kPalette);
    if (getFrame().left() == 0 && getFrame().top() == 0)
        clearItemFlags(kPalette);
}

AToolBar::~AToolBar() = default;

void AToolBar::readFrom(AMemoryStream& stream) {
    AGlobalCluster::readFrom(stream);
    title_ = stream.readString(-1);
    ALayoutLoader::readEndMark(stream, "fitems", 2177);
    if (getFrame().left() == 0 && getFrame().top() == 0)
        clearItemFlags(kPalette);
}

DWORD AToolBar::windowStyle(uint16_t flags) {
    DWORD style = WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (flags & kPopup)
        return style | WS_POPUP | WS_BORDER;
    if (flags & kPalette)
        return style | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    return style | WS_CHILD;
}

void AToolBar::attachItems() {
    adoptByApplication(2181);
    AGlobalCluster::attachItems();
    DWORD style = windowStyle(itemFlags());
    if ((style & WS_CHILD) && getFrame().first != APoint(0, 0))
        setSizeSpec(ASizeSpec(ARect(APoint(0, 0), getSize())), false);
    ARect frame = getFrame();
    if (!(itemFlags() & kPopup))
        style |= WS_VISIBLE;
    HWND parent = BarParentWindow(this);
    ADisplayWindow* made = nullptr;
    if (style & WS_CHILD)
        made = new (std::nothrow) AChildBarWindow(this, parent);
    else
        made = new (std::nothrow) AFloatingBarWindow(this, parent);
    OpenBarWindow(native_, made, this, title_.c_str(), style, frame, 2221);
}

void AToolBar::detachItems() {
    native_.reset();
    AGlobalCluster::detachItems();
}

ACommand* AToolBar::dispose() {
    hideUpdate();
    if (AClusterServices::current().hideAppToolBar(this))
        return noChangeCommand();
    perform(CheckAlloc(new (std::nothrow) ADeleteComponentCmd(1, this), "fitems", 2242));
    return noChangeCommand();
}

AComponent* AToolBar::getParent() const {
    AComponent* parent = AComponent::getParent();
    const AClass* windowClass = AClass::findByName("AWindow");
    if (!parent || !windowClass)
        return parent;
    AComponent* window = parent->isKindOf(windowClass) ? parent : parent->findAncestor(windowClass);
    return window ? window->getParent() : parent;
}

void AToolBar::enableWindow(bool on) {
    (void)on;
    if (itemFlags() & kPalette)
        return;
    ADisplayComponent::enableWindow(true);
}

AStatusBar::AStatusBar() = default;

AStatusBar::AStatusBar(AComponent* parent, int16_t id, const ASizeSpec& rule)
    : AGlobalCluster(parent, id, rule, 0, 1, nullptr) {}

AStatusBar::~AStatusBar() = default;

void AStatusBar::readFrom(AMemoryStream& stream) {
    AGlobalCluster::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "fitems", 2350);
}

void AStatusBar::attachItems() {
    adoptByApplication(2354);
    AGlobalCluster::attachItems();
    auto* made = new (std::nothrow) AFloatingBarWindow(this, BarParentWindow(this));
    OpenBarWindow(native_, made, this, nullptr, WS_VISIBLE, getFrame(), 2360);
}

void AStatusBar::detachItems() {
    native_.reset();
    AGlobalCluster::detachItems();
}
