// Popup menus: ANativePopupMenu runs a Win32 popup menu by item index;
// AMenuItems joins it to the shared item list (data strings follow their
// menu items); APopupMenu is the menu code opens at the mouse, APopupButton
// an icon button that drops its menu down when pressed.
//
// The menu owns its Win32 menu and its receiving window. A tracking answers
// the chosen index or -1 when the menu was dismissed, never waiting for a
// choice that will not come. Insert or track without a menu and a popup
// menu attached before the application exists are assertions ("fcontrol").
#pragma once

#include <memory>

#include "base/object/ARefObj.h"
#include "framework/controls/AIconButton.h"
#include "framework/controls/AListItems.h"

class AComponent;
class ATextStyle;
class AMenuReceiver;

class ANativePopupMenu {
public:
    // Options.
    enum : uint16_t {
        kCheckCurrent = 0x0001,
        kRightButton = 0x0002,
        kAtTopLeft = 0x0100,
        kAtBottomLeft = 0x0200,
        kAtTopRight = 0x0400,
        kAtBottomRight = 0x0800,
    };

    explicit ANativePopupMenu(uint16_t options);
    virtual ~ANativePopupMenu();
    ANativePopupMenu(const ANativePopupMenu&) = delete;
    ANativePopupMenu& operator=(const ANativePopupMenu&) = delete;

    virtual void selectItem(int16_t index);
    virtual int16_t countItems();
    virtual int16_t selectedIndex() { return current_; }
    // Items after start whose text equals text (exact) or begins with it; -1 for none.
    virtual int findItem(const char* text, int16_t start, int16_t exact);
    virtual AString getItemText(int16_t index);
    // Null or "" makes a separator; index -1 appends. The index made.
    virtual int insertItem(const char* text, int16_t index);
    virtual int addItem(const char* text) { return insertItem(text, -1); }
    virtual int removeItem(int16_t index);
    virtual void removeAll();
    virtual void setEnvironment(ATextStyle* style);
    // At the mouse: track with the current item marked.
    virtual int16_t popupAtCursor(int16_t mark);
    // point: in the owner window's client coordinates (screen without one).
    virtual int16_t track(const APoint& point, int16_t mark);
    // At the rectangle's corner the options name (owner window coordinates), else the mouse.
    virtual int16_t popupAt(const ARect& rect);
    virtual AComponent* ownerComponent() = 0;
    // The window whose coordinates points are in, or null for the screen.
    virtual HWND ownerWindow() { return nullptr; }
    virtual void commandReceived(int id);

    void enableItem(int16_t index, bool on);
    void checkItem(int16_t index, bool on);
    HMENU menu() const { return menu_; }
    uint16_t options() const { return options_; }
    void setOptions(uint16_t options) { options_ = options; }
    int chosenIndex() const { return chosen_; }
    int nextCommandId() const { return nextId_; }
    void setNextCommandId(int id) { nextId_ = id; }
    int itemsPerColumn() const { return perColumn_; }
    void setItemsPerColumn(int n) { perColumn_ = n; }

private:
    AMenuReceiver* receivingWindow();
    bool inRange(int16_t index) { return index >= 0 && index < countItems(); }

    HMENU menu_;
    int16_t current_ = 0;
    ATextStyle* environment_ = nullptr;  // not owned
    uint16_t changed_ = 1;
    uint16_t options_;
    std::unique_ptr<AMenuReceiver> receiver_;  // owned, made on first tracking
    int chosen_ = -1;
    int nextId_ = 1;
    int perColumn_;
};

class AMenuItems : public AListItems, public ANativePopupMenu {
public:
    AMenuItems(uint16_t stringList, uint16_t options) : AListItems(stringList), ANativePopupMenu(options) {}
    void selectItem(int16_t index) override { ANativePopupMenu::selectItem(index); }
    int16_t countItems() override { return ANativePopupMenu::countItems(); }
    int16_t selectedIndex() override { return ANativePopupMenu::selectedIndex(); }
    int findItem(const char* text, int16_t start, int16_t exact) override {
        return ANativePopupMenu::findItem(text, start, exact);
    }
    AString getItemText(int16_t index) override { return ANativePopupMenu::getItemText(index); }
    int insertItem(const char* text, int16_t index) override { return ANativePopupMenu::insertItem(text, index); }
    int addItem(const char* text) override { return ANativePopupMenu::addItem(text); }
    // The menu item and its data string.
    int removeItem(int16_t index) override;
    void removeAll() override;
};

class APopupMenu : public AComponent, public AMenuItems {
    SV_DECLARE_CLASS(APopupMenu)
public:
    APopupMenu() : AMenuItems(0, 0) {}
    APopupMenu(AComponent* parent, uint16_t stringList, uint16_t options);
    void attachItems() override;
    void detachItems() override;
    AComponent* ownerComponent() override;
};

class APopupButton;

// Fills or changes a popup button's menu each time just before it opens.
// Shared: reference counted; a button holds one reference while it is set.
class AMenuPreparer : public ARefObj {
public:
    virtual void prepareMenu(APopupButton* button) = 0;
};

class APopupButton : public AIconButton, public AMenuItems {
    SV_DECLARE_CLASS(APopupButton)
public:
    APopupButton();
    ~APopupButton() override;
    APopupButton(AComponent* parent, int16_t id, const ASizeSpec& rule, uint16_t iconFlags, const char* iconName,
                 uint16_t stringList, uint16_t options);

    // Record: AIconButton's, string list u16, options u16, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    // Empties the menu and lets the preparer go.
    void detachItems() override;
    void displayEnvChanged(ATextStyle* style, uint8_t mask) override;
    // The preparer first; then without items a plain icon button press, else the menu below the button.
    ACommand* mouseDown(AMouseEvent& event) override;
    AComponent* ownerComponent() override;
    HWND ownerWindow() override { return enclosingWindow(); }
    // Takes a reference on preparer (null: none) and releases the one set before.
    void setMenuPreparer(AMenuPreparer* preparer) { AssignRef(preparer_, preparer); }
    AMenuPreparer* menuPreparer() const { return preparer_; }

private:
    AMenuPreparer* preparer_ = nullptr;  // one reference held, or null
};
