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
#include "framework/display/AHelpRecord.h"

class ATextBox;
class ATextStyle;

class AHelpBox : public ADisplayComponent, public AHelpTips {
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
    void showTip(const APoint& point, const AHelpRecord& record) override;
    void hideTip() override;
    bool tipShown() const override { return tip_ != nullptr; }

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
