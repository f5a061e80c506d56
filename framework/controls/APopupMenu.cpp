// Popup menus and popup buttons.
#include "framework/controls/APopupMenu.h"

#include <cstring>

#include "base/object/AMemoryStream.h"
#include "base/procedural/AError.h"
#include "framework/app/AApp.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/graphics/AImage.h"

SV_IMPLEMENT_CLASS(APopupMenu, 330, AComponent)
SV_IMPLEMENT_CLASS(APopupButton, 342, AIconButton)

// The hidden window that owns a tracking; menu commands reach the menu here.
class AMenuReceiver : public AWindowHandler, public APlainNativeWindow {
public:
    AMenuReceiver(AComponent* owner, ANativePopupMenu* menu) : AWindowHandler(owner), menu_(menu) {
        setTopLevel(true);
        create("", WS_POPUP, ARect(0, 0, 1, 1), 0, true);
    }
    ANativeWindow* nativeWindow() override { return this; }
    AWindowLink* link() override { return this; }
    AMessageResult handle(AMessage& m) override {
        if (m.message == WM_COMMAND && m.lParam == 0) {
            menu_->commandReceived(LOWORD(m.wParam));
            return Handled(0);
        }
        return AWindowHandler::handle(m);
    }
    using ANativeWindow::hwnd;

private:
    ANativePopupMenu* menu_;  // not owned
};

// ANativePopupMenu.

ANativePopupMenu::ANativePopupMenu(uint16_t options) : menu_(CreatePopupMenu()), options_(options) {
    if (!menu_)
        ThrowAssert("fcontrol", 3012);
    int itemHeight = GetSystemMetrics(SM_CYMENU);
    perColumn_ = itemHeight > 0 ? GetSystemMetrics(SM_CYSCREEN) / itemHeight : 0;
}

ANativePopupMenu::~ANativePopupMenu() {
    receiver_.reset();
    if (menu_)
        DestroyMenu(menu_);
    menu_ = nullptr;
}

void ANativePopupMenu::selectItem(int16_t index) {
    if (inRange(index))
        current_ = index;
}

int16_t ANativePopupMenu::countItems() {
    return menu_ ? static_cast<int16_t>(GetMenuItemCount(menu_)) : 0;
}

int ANativePopupMenu::findItem(const char* text, int16_t start, int16_t exact) {
    if (!menu_ || !text)
        return -1;
    size_t n = std::strlen(text);
    for (int16_t i = static_cast<int16_t>(start + 1), count = countItems(); i < count; ++i) {
        AString item = getItemText(i);
        if (exact ? std::strcmp(item.c_str(), text) == 0 : std::strncmp(item.c_str(), text, n) == 0)
            return i;
    }
    return -1;
}

AString ANativePopupMenu::getItemText(int16_t index) {
    char text[256] = "";
    if (!menu_ || GetMenuStringA(menu_, static_cast<UINT>(index), text, 255, MF_BYPOSITION) <= 0)
        return AString();
    return AString(text);
}

int ANativePopupMenu::insertItem(const char* text, int16_t index) {
    if (!menu_)
        ThrowAssert("fcontrol", 3101);
    changed_ = 1;
    UINT flags = MF_STRING;
    UINT_PTR id = 0;
    if (!text || !*text) {
        flags = MF_SEPARATOR;
        text = nullptr;
    } else {
        id = static_cast<UINT_PTR>(nextId_);
        if (++nextId_ > 0x7FFF)
            nextId_ = 1;
    }
    if (index == -1) {
        int count = countItems();
        if (count > 0 && perColumn_ > 0 && count % perColumn_ == 0)
            flags |= MF_MENUBARBREAK;
        AppendMenuA(menu_, flags, id, text);
        return countItems() - 1;
    }
    InsertMenuA(menu_, static_cast<UINT>(index), flags | MF_BYPOSITION, id, text);
    return index;
}

int ANativePopupMenu::removeItem(int16_t index) {
    if (!inRange(index))
        return -1;
    changed_ = 1;
    RemoveMenu(menu_, static_cast<UINT>(index), MF_BYPOSITION);
    if (current_ >= countItems())
        current_ = 0;
    return countItems();
}

void ANativePopupMenu::removeAll() {
    for (int16_t i = static_cast<int16_t>(countItems() - 1); i >= 0; --i)
        removeItem(i);
    current_ = 0;
}

void ANativePopupMenu::setEnvironment(ATextStyle* style) {
    environment_ = style;
    changed_ = 1;
}

int16_t ANativePopupMenu::popupAtCursor(int16_t mark) {
    POINT p{0, 0};
    GetCursorPos(&p);
    if (HWND window = ownerWindow())
        ScreenToClient(window, &p);
    return track(APoint(p.x, p.y), mark);
}

int16_t ANativePopupMenu::track(const APoint& point, int16_t mark) {
    if (!menu_)
        ThrowAssert("fcontrol", 3201);
    POINT p{point.x, point.y};
    if (HWND window = ownerWindow())
        ClientToScreen(window, &p);
    if (mark)
        checkItem(current_, true);
    AMenuReceiver* receiver = receivingWindow();
    chosen_ = -1;
    UINT flags = (options_ & (kAtTopRight | kAtBottomRight)) ? TPM_RIGHTALIGN : 0;
    flags |= (options_ & kRightButton) ? TPM_RIGHTBUTTON : 0;
    // The command comes back as the answer: a dismissed menu posts nothing to wait for.
    SetForegroundWindow(receiver->hwnd());
    int id = static_cast<int>(
        TrackPopupMenu(menu_, flags | TPM_RETURNCMD | TPM_NONOTIFY, p.x, p.y, 0, receiver->hwnd(), nullptr));
    if (id != 0)
        commandReceived(id);
    if (mark)
        checkItem(current_, false);
    if (chosen_ >= 0)
        current_ = static_cast<int16_t>(chosen_);
    return static_cast<int16_t>(chosen_);
}

int16_t ANativePopupMenu::popupAt(const ARect& r) {
    APoint at;
    if (options_ & kAtTopLeft)
        at = r.first;
    else if (options_ & kAtBottomLeft)
        at = APoint(r.left(), r.bottom());
    else if (options_ & kAtTopRight)
        at = APoint(r.right(), r.top());
    else if (options_ & kAtBottomRight)
        at = r.second;
    else
        return popupAtCursor(options_ & kCheckCurrent);
    return track(at, options_ & kCheckCurrent);
}

AMenuReceiver* ANativePopupMenu::receivingWindow() {
    if (!receiver_) {
        receiver_.reset(new AMenuReceiver(ownerComponent(), this));
        if (!receiver_->hwnd())
            ThrowAssert("fcontrol", 3251);
    }
    return receiver_.get();
}

void ANativePopupMenu::commandReceived(int id) {
    for (int16_t i = 0, n = countItems(); i < n; ++i) {
        if (static_cast<int>(GetMenuItemID(menu_, i)) == id) {
            chosen_ = i;
            return;
        }
    }
}

void ANativePopupMenu::enableItem(int16_t index, bool on) {
    if (inRange(index))
        EnableMenuItem(menu_, static_cast<UINT>(index), MF_BYPOSITION | (on ? MF_ENABLED : MF_GRAYED));
}

void ANativePopupMenu::checkItem(int16_t index, bool on) {
    if (inRange(index))
        CheckMenuItem(menu_, static_cast<UINT>(index), MF_BYPOSITION | (on ? MF_CHECKED : MF_UNCHECKED));
}

// AMenuItems.

int AMenuItems::removeItem(int16_t index) {
    int count = ANativePopupMenu::removeItem(index);
    if (count >= 0)
        AListItems::removeItem(index);
    return count;
}

void AMenuItems::removeAll() {
    ANativePopupMenu::removeAll();
    AListItems::removeAll();
}

// APopupMenu.

APopupMenu::APopupMenu(AComponent* parent, uint16_t stringList, uint16_t options)
    : AComponent(parent, 0), AMenuItems(stringList, options) {}

void APopupMenu::attachItems() {
    AApp* app = AApp::current();
    if (!app)
        ThrowAssert("fcontrol", 3301);
    if (!getParent())
        setParent(app);
    AComponent::attachItems();
    loadItemsFromResource();
}

void APopupMenu::detachItems() {
    removeAll();
    AComponent::detachItems();
}

AComponent* APopupMenu::ownerComponent() {
    return AApp::current();
}

// APopupButton.

APopupButton::APopupButton() : AMenuItems(0, 0) {}

APopupButton::~APopupButton() {
    ReleaseAndNull(preparer_);
}

APopupButton::APopupButton(AComponent* parent, int16_t id, const ASizeSpec& rule, uint16_t iconFlags,
                           const char* iconName, uint16_t stringList, uint16_t options)
    : AIconButton(parent, id, rule, iconFlags, iconName), AMenuItems(stringList, options) {}

void APopupButton::readFrom(AMemoryStream& stream) {
    AIconButton::readFrom(stream);
    setStringList(static_cast<uint16_t>(stream.readShort()));
    setOptions(static_cast<uint16_t>(stream.readShort()));
    ALayoutLoader::readEndMark(stream, "fcontrol", 3351);
}

void APopupButton::attachItems() {
    AIconButton::attachItems();
    loadItemsFromResource();
}

void APopupButton::detachItems() {
    removeAll();
    ReleaseAndNull(preparer_);
    AIconButton::detachItems();
}

void APopupButton::displayEnvChanged(ATextStyle* style, uint8_t mask) {
    AIconButton::displayEnvChanged(style, mask);
    if (style)
        setEnvironment(style);
}

ACommand* APopupButton::mouseDown(AMouseEvent& event) {
    if (preparer_) {
        // The preparation may set another preparer: this one lives through its call.
        ARefHold<AMenuPreparer> hold(preparer_);
        hold->prepareMenu(this);
    }
    if (countItems() == 0)
        return AIconButton::mouseDown(event);
    setHilite(1);
    ARect r = getLocalBounds() + windowPosition();
    int16_t chosen = popupAt(r);
    setHilite(0);
    if (chosen >= 0)
        notifyOwner(1);
    return noChangeCommand();
}

AComponent* APopupButton::ownerComponent() {
    return AApp::current();
}
