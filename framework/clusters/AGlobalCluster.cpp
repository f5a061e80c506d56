// Global clusters, tool bars and status bars, and the windows they live in.
#include "framework/clusters/AGlobalCluster.h"

#include <new>

#include "base/object/AError.h"
#include "base/object/AMemoryStream.h"
#include "framework/clusters/AClusterServices.h"
#include "framework/components/ACommand.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/windows/AWindowShell.h"

SV_IMPLEMENT_CLASS(AGlobalCluster, 131, AItemCluster)
SV_IMPLEMENT_CLASS(AToolBar, 132, AGlobalCluster)
SV_IMPLEMENT_CLASS(AStatusBar, 133, AGlobalCluster)

// A bar's window: a child of its parent's window, or a popup owned by the
// application's frame. Its close box closes the cluster.
class ABarWindow : public AWindowShell, public APlainNativeWindow {
public:
    ABarWindow(AGlobalCluster* bar, HWND parent, const char* title, DWORD style, const ARect& rect)
        : AWindowShell(bar), bar_(bar), parent_(parent) {
        create(title, style, rect, 0, true);
        bar->setNativeWindow(hwnd());
    }
    ~ABarWindow() override {
        if (hwnd() && IsWindow(hwnd()))
            DestroyWindow(hwnd());
    }
    ANativeWindow* nativeWindow() override { return this; }
    AWindowLink* link() override { return this; }
    HWND parentWindow() override { return parent_; }
    using ANativeWindow::hwnd;
    AMessageResult handle(AMessage& m) override {
        if (m.message == WM_CLOSE) {
            if (ACommand* c = bar_->closeCluster())
                bar_->perform(c);
            return Handled(0);
        }
        return AWindowShell::handle(m);
    }
    void show(bool activate) override { ShowWindow(hwnd(), activate ? SW_SHOW : SW_SHOWNA); }
    void activate() override { SetActiveWindow(hwnd()); }
    void hide() override { ShowWindow(hwnd(), SW_HIDE); }

private:
    AGlobalCluster* bar_;  // not owned: the window's component
    HWND parent_;
};

namespace {

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
    native_.reset(CheckAlloc(new (std::nothrow) ABarWindow(this, BarParentWindow(this), title_.c_str(), style, frame),
                             "fitems", 2221));
    if (!native_->hwnd())
        ThrowAssert("fitems", 2222);
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
    native_.reset(CheckAlloc(
        new (std::nothrow) ABarWindow(this, BarParentWindow(this), nullptr, WS_VISIBLE, getFrame()), "fitems", 2360));
    if (!native_->hwnd())
        ThrowAssert("fitems", 2361);
}

void AStatusBar::detachItems() {
    native_.reset();
    AGlobalCluster::detachItems();
}
