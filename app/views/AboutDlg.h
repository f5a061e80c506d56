// The About window (layout "About"): its text is static text item 2011, to
// which the application appends its version.
#pragma once

#include "framework/app/AWindow.h"

class AboutDlg : public AWindow {
    SV_DECLARE_CLASS(AboutDlg)
public:
    enum : int16_t { kTextItem = 2011 };

    AboutDlg() = default;
    // Item 2011's text; a missing item or one of another class fails the allocation check.
    void setText(const char* text);
    // Item 2011's text, empty without one.
    AString getText();

    // Loads the layout under the application, centres it, appends " 10.5" (and
    // " (Réseau)" in a network installation) to its text and shows it. Null
    // when the layout does not make an About window (said on the error stream).
    static AboutDlg* openAbout(bool network);
};
