// Menu bars, their popup lists and menu item references.
#include "framework/menus/AMenuBar.h"

#include <cstring>

#include "base/procedural/AError.h"

// Menu items.

void AMenuItemRef::touched() {
    if (owner_)
        owner_->markDirty();
}

void AMenuItemRef::enable(bool on) {
    if (empty())
        return;
    EnableMenuItem(menu_, static_cast<UINT>(item_), mode_ | (on ? MF_ENABLED : MF_GRAYED));
    touched();
}

void AMenuItemRef::check(bool on) {
    if (empty())
        return;
    CheckMenuItem(menu_, static_cast<UINT>(item_), mode_ | (on ? MF_CHECKED : MF_UNCHECKED));
    touched();
}

void AMenuItemRef::setState(long state) {
    check((state & 4) != 0);
    enable((state & 1) != 0);
}

long AMenuItemRef::getState() const {
    if (empty())
        return 0;
    UINT state = GetMenuState(menu_, static_cast<UINT>(item_), mode_);
    if (state == static_cast<UINT>(-1))
        return mode_ == kByCommand && static_cast<int16_t>(item_) == static_cast<int16_t>(SC_CLOSE) ? 1 : 0;
    long answer = (state & (MF_GRAYED | MF_DISABLED)) ? 2 : 1;
    if (state & MF_CHECKED)
        answer |= 4;
    return answer;
}

void AMenuItemRef::setText(const char* text) {
    if (empty())
        return;
    UINT id = mode_ == kByPosition ? GetMenuItemID(menu_, static_cast<int>(item_)) : static_cast<UINT>(item_);
    UINT flags = mode_ | MF_STRING;
    UINT_PTR newId = id;
    if (mode_ == kByPosition && id == static_cast<UINT>(-1)) {
        // A popup keeps its submenu.
        flags |= MF_POPUP;
        newId = reinterpret_cast<UINT_PTR>(GetSubMenu(menu_, static_cast<int>(item_)));
    }
    if (!ModifyMenuA(menu_, static_cast<UINT>(item_), flags, newId, text))
        ThrowAssert("fmenu", 326);
    touched();
}

AString AMenuItemRef::getText() const {
    char buffer[256] = "";
    if (!empty())
        GetMenuStringA(menu_, static_cast<UINT>(item_), buffer, sizeof buffer, mode_);
    buffer[255] = '\0';
    return AString(buffer);
}

void AMenuItemRef::setBitmaps(int16_t unchecked, int16_t checked) {
    if (empty() || !owner_ || GetMenuState(menu_, static_cast<UINT>(item_), mode_) == static_cast<UINT>(-1))
        return;
    if (checked < 0)
        checked = unchecked;
    // Check marks of 32 pixels or more take the larger bitmaps, numbered 256 higher.
    int shift = HIWORD(GetMenuCheckMarkDimensions()) >= 32 ? 256 : 0;
    auto bitmap = [this, shift](int16_t id) -> HBITMAP {
        if (id == 0)
            return nullptr;
        return owner_->itemBitmap(static_cast<uint16_t>(id > 0 ? id + shift : id));
    };
    if (SetMenuItemBitmaps(menu_, static_cast<UINT>(item_), mode_, bitmap(unchecked), bitmap(checked)))
        touched();
}

// Free functions.

bool FindSubMenuPosition(HMENU parent, HMENU submenu, int& position) {
    if (!parent)
        return false;
    int count = GetMenuItemCount(parent);
    for (int i = 0; i < count; ++i) {
        if (GetSubMenu(parent, i) == submenu) {
            position = i;
            return true;
        }
    }
    return false;
}

void DisableMenuItems(HMENU menu, bool alsoPopups) {
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        HMENU sub = GetSubMenu(menu, i);
        if (!sub || alsoPopups) {
            EnableMenuItem(menu, static_cast<UINT>(i), MF_BYPOSITION | MF_GRAYED);
            CheckMenuItem(menu, static_cast<UINT>(i), MF_BYPOSITION | MF_UNCHECKED);
        }
        if (sub)
            DisableMenuItems(sub, false);
    }
}

// The bar.

AMenuBar::AMenuBar(AComponent* owner, HWND window, const AResourceRef& ref)
    : owner_(owner), ref_(ref), module_(ref), menuHeight_(GetSystemMetrics(SM_CYMENU)), window_(window) {}

AMenuBar::~AMenuBar() {
    if (window_ && IsWindow(window_)) {
        if (systemMenu_)
            GetSystemMenu(window_, TRUE);
        if (attached_ && menu_ && GetMenu(window_) == menu_)
            SetMenu(window_, nullptr);
    }
    if (menu_)
        DestroyMenu(menu_);
    for (auto& entry : bitmaps_)
        DeleteObject(entry.second);
}

void AMenuBar::requireWindow(long line) const {
    if (!window_ || !IsWindow(window_))
        ThrowAssert("fmenu", line);
}

HMENU AMenuBar::popup(uint16_t id) const {
    auto found = popups_.find(id);
    return found == popups_.end() ? nullptr : found->second;
}

void AMenuBar::load() {
    if (systemMenu_)
        return;
    if (!owner_)
        ThrowAssert("fmenu", 583);
    requireWindow(584);
    bool named = !ref_.byNumber();
    if (!named || !ref_.name().empty()) {
        AResourceRef menuRef(ref_), listRef(ref_);
        if (named) {
            AString menuName(ref_.name()), listName(ref_.name());
            menuName += "Menu";
            listName += "Popups";
            menuRef.set(menuName.c_str());
            listRef.set(listName.c_str());
        }
        menu_ = LoadMenuA(static_cast<HINSTANCE>(module_.handle()), menuRef.win32Name());
        if (!menu_)
            ThrowMemError(AMemError("fmenu", 595));
        mapPopups(listRef);
        if (attached_)
            SetMenu(window_, menu_);
        DisableMenuItems(menu_, false);
    }
    systemMenu_ = GetSystemMenu(window_, FALSE);
}

// Popup list (type 256), little-endian u16 words, one per top-level item:
//   id (1..65534: the popup is filed under it) | FFFF (no id) ... | 0000
// The closing 0 comes right after the last top-level item.
void AMenuBar::mapPopups(const AResourceRef& list) {
    AResource resource(static_cast<uint16_t>(256), list);
    resource.open();
    try {
        if (!menu_)
            ThrowAssert("fmenu", 547);
        auto size = static_cast<size_t>(resource.getSize());
        const auto* p = static_cast<const uint8_t*>(resource.getData());
        auto word = [&](size_t index) -> uint16_t {
            if ((index + 1) * 2 > size)
                ThrowAssert("fmenu", 561);
            return static_cast<uint16_t>(p[index * 2] | p[index * 2 + 1] << 8);
        };
        int count = GetMenuItemCount(menu_);
        int i = 0;
        uint16_t w = word(0);
        while (w != 0 && i < count) {
            if (w != 0xFFFF) {
                if (GetMenuItemID(menu_, i) != static_cast<UINT>(-1))
                    ThrowAssert("fmenu", 556);
                popups_[w] = GetSubMenu(menu_, i);
            }
            ++i;
            w = word(static_cast<size_t>(i));
        }
        if (w != 0 || i != count)
            ThrowAssert("fmenu", 561);
    } catch (...) {
        resource.close();
        throw;
    }
    resource.close();
}

AMenuItemRef AMenuBar::findItem(int16_t id) {
    auto filed = popups_.find(static_cast<uint16_t>(id));
    if (id != 0 && filed != popups_.end()) {
        if (!menu_)
            ThrowAssert("fmenu", 712);
        int position = 0;
        if (FindSubMenuPosition(menu_, filed->second, position))
            return AMenuItemRef(this, menu_, position, AMenuItemRef::kByPosition);
        return AMenuItemRef();
    }
    if (id > 0) {
        if (!menu_)
            ThrowAssert("fmenu", 719);
        return AMenuItemRef(this, menu_, id, AMenuItemRef::kByCommand);
    }
    // System commands are filed under 16-bit ids (0xF060): the sign-extended
    // -4000 would name no item.
    if (systemMenu_)
        return AMenuItemRef(this, systemMenu_, static_cast<uint16_t>(id), AMenuItemRef::kByCommand);
    return AMenuItemRef();
}

AString AMenuBar::getItemText(int16_t id) {
    return findItem(id).getText();
}

void AMenuBar::setItemText(int16_t id, const char* text) {
    findItem(id).setText(text);
}

void AMenuBar::setItemStateWord(int16_t id, long state) {
    findItem(id).setState(state);
}

long AMenuBar::getItemState(int16_t id) {
    return findItem(id).getState();
}

void AMenuBar::setItemBitmaps(int16_t id, int16_t unchecked, int16_t checked) {
    findItem(id).setBitmaps(unchecked, checked);
}

HBITMAP AMenuBar::itemBitmap(uint16_t number) {
    auto found = bitmaps_.find(number);
    if (found != bitmaps_.end())
        return found->second;
    HBITMAP bitmap = LoadBitmapA(static_cast<HINSTANCE>(module_.handle()), MAKEINTRESOURCEA(number));
    if (bitmap)
        bitmaps_[number] = bitmap;
    return bitmap;
}

void AMenuBar::setAttached(bool on) {
    if (on == (attached_ != 0))
        return;
    attached_ = on ? 1 : 0;
    requireWindow(612);
    SetMenu(window_, on ? menu_ : nullptr);
}

void AMenuBar::redraw() {
    requireWindow(787);
    if (attached_)
        DrawMenuBar(window_);
    dirty_ = 0;
}
