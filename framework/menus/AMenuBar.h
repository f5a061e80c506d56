// A window's menu bar loaded by a base name (base + "Menu", its popup list
// base + "Popups"), and one menu item addressed through it.
//
// Items are found by 16-bit command id: positive ids are items of the bar,
// ids filed in the popup list address the top-level popup itself, zero and
// negative ids the window's system menu (SC_CLOSE is -4000). States use the
// framework's word: 1 enabled, 2 disabled, 4 checked. The bar owns its loaded
// menu and the check-mark bitmaps it loaded, never its window or owner. Misuse
// is an assertion ("fmenu"); a menu resource that cannot be loaded is an AMemError.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>

#include "base/object/AString.h"
#include "framework/commands/AItemOwner.h"
#include "framework/resources/AResource.h"

class AComponent;
class AMenuBar;

// One Win32 menu item; an empty reference (no menu) does nothing and answers 0.
class AMenuItemRef {
public:
    enum : UINT { kByCommand = 0, kByPosition = MF_BYPOSITION };
    AMenuItemRef() = default;
    AMenuItemRef(AMenuBar* owner, HMENU menu, long item, UINT mode)
        : owner_(owner), menu_(menu), mode_(mode), item_(item) {}

    bool empty() const { return menu_ == nullptr; }
    void enable(bool on);
    void check(bool on);
    // check by bit 4, then enable by bit 1; both calls always made.
    void setState(long state);
    long getState() const;
    void setText(const char* text);
    // At most 255 characters.
    AString getText() const;
    // Bitmap resource numbers (0: none; a negative checked one: the unchecked
    // one) drawn in place of the check mark; the owner bar keeps the bitmaps.
    void setBitmaps(int16_t unchecked, int16_t checked);

    HMENU menu() const { return menu_; }
    long item() const { return item_; }
    UINT mode() const { return mode_; }

private:
    void touched();

    AMenuBar* owner_ = nullptr;  // not owned: marked dirty after a change
    HMENU menu_ = nullptr;       // not owned
    UINT mode_ = kByCommand;
    long item_ = 0;
};

class AMenuBar : public AMenuItemOwner {
public:
    // owner and window: not owned; the window carries the menu once loaded.
    AMenuBar(AComponent* owner, HWND window, const AResourceRef& ref);
    // Gives the window its default system menu back and destroys the menu.
    ~AMenuBar() override;

    virtual AString getItemText(int16_t id);
    virtual void setItemText(int16_t id, const char* text);
    virtual void setItemStateWord(int16_t id, long state);
    virtual long getItemState(int16_t id);
    virtual void enableItem(int16_t id) { findItem(id).enable(true); }
    virtual void disableItem(int16_t id) { findItem(id).enable(false); }
    virtual void checkItem(int16_t id, bool on) { findItem(id).check(on); }
    virtual void redraw();
    // Loads the bar once: the menu, its popups and the system menu.
    virtual void load();
    virtual void setAttached(bool on);
    virtual AMenuItemRef findItem(int16_t id);
    // The system's menu-bar height.
    virtual long measure() { return menuHeight_; }

    // AItemOwner: menu items' states are the bindings' command states.
    bool hasItem(int16_t code) override { return getItemState(code) != 0; }
    long itemState(int16_t code) override { return getItemState(code); }
    void setItemState(int16_t code, long state) override { setItemStateWord(code, state); }

    // The item's check-mark bitmaps by resource number, as AMenuItemRef::setBitmaps.
    virtual void setItemBitmaps(int16_t id, int16_t unchecked, int16_t checked);

    // The submenu filed under a popup id, or null.
    HMENU popup(uint16_t id) const;
    // The popup filed under 910 (the window list), or null.
    HMENU windowMenu() const { return popup(910); }
    bool isLoaded() const { return systemMenu_ != nullptr; }
    bool dirty() const { return dirty_ != 0; }
    void markDirty() { dirty_ = 1; }
    HMENU menu() const { return menu_; }
    HWND window() const { return window_; }
    AComponent* owner() const { return owner_; }
    const AResourceRef& ref() const { return ref_; }
    // The bitmap resource of that number in the bar's resource file, loaded
    // once and kept until the bar goes; null when there is none.
    HBITMAP itemBitmap(uint16_t number);

protected:
    // Files the submenus under the words of the popup list (type 256).
    void mapPopups(const AResourceRef& list);

private:
    void requireWindow(long line) const;

    AComponent* owner_;  // not owned
    AResourceRef ref_;
    AResourceModule module_;
    std::map<uint16_t, HMENU> popups_;  // not owned: submenus of menu_
    uint16_t dirty_ = 0;
    long menuHeight_;
    uint16_t attached_ = 1;
    HWND window_;                 // not owned
    HMENU menu_ = nullptr;        // owned
    HMENU systemMenu_ = nullptr;  // the window's; set once loaded
    // Menus never free their items' bitmaps (SetMenuItemBitmaps).
    std::map<uint16_t, HBITMAP> bitmaps_;  // owned
};

// The position of the top-level popup whose submenu is submenu, or false.
bool FindSubMenuPosition(HMENU parent, HMENU submenu, int& position);
// Disables and unchecks every command item, popups too with alsoPopups;
// submenus are walked with the flag off.
void DisableMenuItems(HMENU menu, bool alsoPopups);
