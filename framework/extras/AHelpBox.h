// The help box: the application's holder of the help text style and message
// area, and of the tracking tooltip ("tooltips_class32") that shows the help
// of the item under the mouse, 16 pixels below the mouse.
//
// At most one tooltip window exists, from showTip to hideTip; it is destroyed
// with the box. The style (text-style resource 101) is owned by the box.
// showTip before the children are loaded, or for a component without a
// windowed ancestor, is an assertion ("fextras").
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "base/object/AString.h"
#include "framework/display/ADisplayComponent.h"

class ATextBox;
class ATextStyle;

// The help of a screen part: its text, its area, and the item it belongs to.
struct AHelpRecord {
    AString text;
    ARect area;
    uint16_t valid = 0;  // 1 for a record made from data
    uint16_t kind = 0;
    AComponent* owner = nullptr;  // not owned; its nearest windowed display ancestor owns the tool

    // Records differ in area, text (bytes) or kind; the owner is not compared.
    bool operator==(const AHelpRecord& o) const { return area == o.area && text == o.text && kind == o.kind; }
    bool operator!=(const AHelpRecord& o) const { return !(*this == o); }
};

// What an item with hover help answers: its help at a point of its own
// coordinates (valid 0: none there).
class AHelpSource {
public:
    virtual ~AHelpSource() = default;
    virtual AHelpRecord getHelp(const APoint& local) = 0;
};

class AHelpBox : public ADisplayComponent {
    SV_DECLARE_CLASS(AHelpBox)
public:
    // Palette-relative grey 192, 192, 192.
    static constexpr COLORREF kDefaultBack = 0x02C0C0C0;

    AHelpBox();
    ~AHelpBox() override;

    void childrenLoaded() override;
    void componentDeleted(AComponent* component) override;

    // point: in the coordinates of the application's windows (the MDI client's
    // client area, the screen without a frame). Nothing while a tip is shown.
    void showTip(const APoint& point, const AHelpRecord& record);
    void hideTip();

    HWND tipWindow() const { return tip_; }
    // Where the shown tip was placed, in screen coordinates.
    APoint tipPosition() const { return tipPosition_; }
    ATextBox* textBox() const { return textBox_; }
    ATextStyle* style() const { return style_; }

    // A help style without a font gets "Times" 12, one with the default background grey 192.
    static void completeStyle(ATextStyle& style);

private:
    HWND tip_;  // owned, null while no tip is shown
    TOOLINFOA tool_;
    APoint tipPosition_;
    ATextBox* textBox_;  // a child, or null
    ATextStyle* style_;  // owned
};
