// The application's part in hosting a window that a page opens.
#pragma once

#include <cstdint>

class AMozillaView;
class nsIWebBrowserChrome;

class AMozillaWindowCreatorCallBack {
public:
    AMozillaWindowCreatorCallBack() = default;
    AMozillaWindowCreatorCallBack(const AMozillaWindowCreatorCallBack&) = delete;
    AMozillaWindowCreatorCallBack& operator=(const AMozillaWindowCreatorCallBack&) = delete;
    virtual ~AMozillaWindowCreatorCallBack() = default;
    // The view that is to host the new window (not owned), or null for the default window.
    virtual AMozillaView* createBrowserWindow(nsIWebBrowserChrome* parent, uint32_t chromeFlags) = 0;
    // Called once the new view exists; the application adds its handlers here.
    virtual void browserWindowCreated(AMozillaView* view) = 0;
};
