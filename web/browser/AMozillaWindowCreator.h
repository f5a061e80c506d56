// The program's window creator: the runtime asks it for a window when a page
// opens one (a target=_blank link, window.open). The application's
// window-creator callback may supply the view; otherwise a framework window
// is built around the layout "AAppMozillaPane" and its browser pane.
//
// Counted like every runtime object; holds the feature without owning it.
// CreateChromeWindow never throws into the runtime: a failure is
// NS_ERROR_FAILURE with a null chrome. User-interface thread only.
#pragma once

#include "platform/webrt/nsPrompts.h"

#include <cstdint>

class AMozillaFeature;
class AMozillaView;
class AWindow;

class AMozillaWindowCreator : public nsSupportsImpl<nsIWindowCreator> {
public:
    enum : int32_t { kDefaultWidth = 790, kDefaultHeight = 400, kMinimumSize = 200 };
    // The pane's items: button bar, browser area, status bar.
    enum : int16_t { kButtonBar = 910, kBrowserArea = 911, kStatusBar = 912 };

    // styleOption 1 (the start-up's) makes every default window a plain owned window (style 0x1000).
    AMozillaWindowCreator(AMozillaFeature* feature, int16_t styleOption);

    nsresult CreateChromeWindow(nsIWebBrowserChrome* parent, PRUint32 chromeFlags,
                                nsIWebBrowserChrome** result) override;
    // The callback's view, else the default window's; null when neither came.
    AMozillaView* createWindow(nsIWebBrowserChrome* parent, PRUint32 chromeFlags);
    // parent is not used.
    AMozillaView* createDefaultWindow(nsIWebBrowserChrome* parent, PRUint32 chromeFlags);

    // The framework window style for chrome flags (1 already replaced), and whether it is a dialog.
    uint16_t windowStyle(PRUint32 chromeFlags) const;

    // AMozillaFeature's window-creator maker.
    static nsIWindowCreator* make(AMozillaFeature* feature, int styleOption);

private:
    // Steps after the window exists: the pane, the bars, the limits; the pane's view.
    AMozillaView* fillDefaultWindow(AWindow* window, PRUint32 chromeFlags, uint16_t style);

    AMozillaFeature* feature_;  // not owned
    int16_t styleOption_;
};
