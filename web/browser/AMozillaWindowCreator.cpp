// New browser windows for the runtime: the callback's view or a framework
// window holding a browser pane.
#include "web/browser/AMozillaWindowCreator.h"

#include "base/procedural/AError.h"
#include "framework/app/AApp.h"
#include "framework/app/AWindow.h"
#include "framework/display/ASizerGroup.h"
#include "web/browser/ABrowserPane.h"
#include "web/browser/AMozillaView.h"
#include "web/browser/kyMozillaBrowserChrome.h"
#include "web/embed/AMozillaFeature.h"
#include "web/embed/AMozillaWindowCreatorCallBack.h"

#include <windows.h>

#include <climits>
#include <new>

namespace {

typedef nsIWebBrowserChrome Chrome;

// The framework's default position keeps the size: right = 0x80000000 + width.
ARect DefaultFrame(int32_t width, int32_t height) {
    auto end = [](int32_t size) { return static_cast<int32_t>(0x80000000u + static_cast<uint32_t>(size)); };
    return ARect(INT32_MIN, INT32_MIN, end(width), end(height));
}

// A 16 by 16 box in the parent's bottom right corner.
ASizeSpec CornerRule() {
    AEdge left{-16, 0x1020, 0}, top{-16, 0x1020, 0}, right{0, 0x1030, 0}, bottom{0, 0x1030, 0};
    return ASizeSpec::fromEdges(left, top, right, bottom);
}

ADisplayComponent* DisplayItem(AComponent* pane, int16_t id) {
    AComponent* c = pane->findById(id, 0);
    return c ? static_cast<ADisplayComponent*>(c->castTo(&ADisplayComponent::classRecord)) : nullptr;
}

// Lays the browser over the whole client area of the chrome's site window.
void FillSiteWindow(AMozillaView* view) {
    kyMozillaBrowserChrome* chrome = view->chrome();
    if (!chrome)
        return;
    nsPtr<nsIWebBrowser> browser;
    chrome->GetWebBrowser(browser.receive());
    if (!browser)
        return;
    if (nsPtr<nsIWebBrowserSetup> setup = QueryAs<nsIWebBrowserSetup>(browser.get()))
        setup->SetProperty(nsIWebBrowserSetup::SETUP_IS_CHROME_WRAPPER, PR_TRUE);
    void* site = nullptr;
    chrome->GetSiteWindow(&site);
    RECT r = {0, 0, 0, 0};
    if (site)
        GetClientRect(static_cast<HWND>(site), &r);
    if (nsPtr<nsIBaseWindow> base = QueryAs<nsIBaseWindow>(browser.get())) {
        base->SetPositionAndSize(r.left, r.top, r.right - r.left, r.bottom - r.top, PR_TRUE);
        base->SetVisibility(PR_TRUE);
    }
}

}  // namespace

AMozillaWindowCreator::AMozillaWindowCreator(AMozillaFeature* feature, int16_t styleOption)
    : feature_(feature), styleOption_(styleOption) {}

nsIWindowCreator* AMozillaWindowCreator::make(AMozillaFeature* feature, int styleOption) {
    return new (std::nothrow) AMozillaWindowCreator(feature, static_cast<int16_t>(styleOption));
}

nsresult AMozillaWindowCreator::CreateChromeWindow(nsIWebBrowserChrome*, PRUint32 chromeFlags,
                                                   nsIWebBrowserChrome** result) {
    if (!result)
        return NS_ERROR_NULL_POINTER;
    *result = nullptr;
    // The runtime calls in here: nothing may be thrown back into it (an
    // assertion failure has been reported when it is raised).
    try {
        AMozillaView* view = createWindow(nullptr, chromeFlags);
        kyMozillaBrowserChrome* chrome = view ? view->chrome() : nullptr;
        if (!chrome)
            return NS_ERROR_FAILURE;
        *result = chrome;
        chrome->AddRef();
        return NS_OK;
    } catch (...) {
        *result = nullptr;
        return NS_ERROR_FAILURE;
    }
}

AMozillaView* AMozillaWindowCreator::createWindow(nsIWebBrowserChrome* parent, PRUint32 chromeFlags) {
    AMozillaWindowCreatorCallBack* callBack = feature_ ? feature_->getWindowCreatorCallBack() : nullptr;
    AMozillaView* view = callBack ? callBack->createBrowserWindow(parent, chromeFlags) : nullptr;
    if (!view)
        view = createDefaultWindow(parent, chromeFlags);
    if (callBack && view)
        callBack->browserWindowCreated(view);
    return view;
}

uint16_t AMozillaWindowCreator::windowStyle(PRUint32 flags) const {
    uint16_t style = styleOption_ ? AWindow::kPopup : 0;
    if (flags & Chrome::CHROME_MODAL)
        flags |= Chrome::CHROME_OPENAS_DIALOG;
    if (flags & Chrome::CHROME_OPENAS_DIALOG) {
        style |= (flags & Chrome::CHROME_MODAL) ? AWindow::kTopLevel : AWindow::kPopup;
        if (flags & Chrome::CHROME_TITLEBAR)
            style |= AWindow::kCaption;
        if (flags & Chrome::CHROME_WINDOW_RESIZE)
            style |= AWindow::kSizable;
    } else {
        if (flags & Chrome::CHROME_WINDOW_RESIZE)
            style |= AWindow::kSizable;
        style |= AWindow::kCaption;
    }
    if (flags & Chrome::CHROME_WINDOW_CLOSE)
        style |= AWindow::kClosable;
    return style;
}

AMozillaView* AMozillaWindowCreator::createDefaultWindow(nsIWebBrowserChrome*, PRUint32 flags) {
    AApp* app = AApp::current();
    if (!app)
        return nullptr;
    if (flags == Chrome::CHROME_DEFAULT)
        flags = Chrome::CHROME_WINDOW_CLOSE | Chrome::CHROME_WINDOW_RESIZE | Chrome::CHROME_TOOLBAR |
                Chrome::CHROME_STATUSBAR;
    bool dialog = (flags & (Chrome::CHROME_MODAL | Chrome::CHROME_OPENAS_DIALOG)) != 0;
    uint16_t style = windowStyle(flags);
    AString title = dialog ? app->title() : AString();

    auto* window = CheckAlloc(new (std::nothrow) AWindow(app, 0, ASizeSpec(DefaultFrame(kDefaultWidth, kDefaultHeight)),
                                                         title.c_str(), "", style, 0, ARect()),
                              "kyMozillaWindowCreator", 120);
    window->parseEnvironment("#env:1#background:170,170,170");
    AObject::completeNew(window);
    try {
        return fillDefaultWindow(window, flags, style);
    } catch (...) {
        // A window without its browser is no use to the page: it goes.
        AComponent* c = window;
        DeleteComponent(c);
        throw;
    }
}

AMozillaView* AMozillaWindowCreator::fillDefaultWindow(AWindow* window, PRUint32 flags, uint16_t style) {
    AComponent* root = AComponent::loadLayout(window, "AAppMozillaPane", 0);
    auto* shown = root ? static_cast<ADisplayComponent*>(root->castTo(&ADisplayComponent::classRecord)) : nullptr;
    if (shown)
        shown->show(true);
    if (style & AWindow::kSizable) {
        auto* grow = CheckAlloc(new (std::nothrow) AGrowBox(window, 0, CornerRule()), "kyMozillaWindowCreator", 131);
        AObject::completeNew(grow);
        grow->show(true);
    }

    AComponent* found = root ? root->findById(900, 0) : nullptr;
    auto* pane = found ? static_cast<ABrowserPane*>(found->castTo(&ABrowserPane::classRecord)) : nullptr;
    ADisplayComponent* area = pane ? DisplayItem(pane, kBrowserArea) : nullptr;
    if (!area)
        ThrowAssert("kyMozillaWindowCreator", 140);
    long minWidth = kMinimumSize, minHeight = kMinimumSize;
    ASizeSpec rule = area->getSizeSpec();
    bool changed = false;
    if (ADisplayComponent* bar = DisplayItem(pane, kButtonBar)) {
        if (flags & Chrome::CHROME_TOOLBAR) {
            minHeight += bar->getFrame().height();
        } else {
            bar->hide(true);
            rule.edges[1].value = 0;
            changed = true;
        }
    }
    if (ADisplayComponent* bar = DisplayItem(pane, kStatusBar)) {
        if (flags & Chrome::CHROME_STATUSBAR) {
            minHeight += bar->getFrame().height();
        } else {
            bar->hide(true);
            rule.edges[3].value = 0;
            changed = true;
        }
    }
    if (flags & Chrome::CHROME_WINDOW_RESIZE)
        window->setSizeLimits(minWidth, minHeight, 0, 0);
    if (changed)
        area->setSizeSpec(rule, true);
    window->select();
    AMozillaView* view = pane->view();
    if (view && (flags & Chrome::CHROME_OPENAS_CHROME))
        FillSiteWindow(view);
    return view;
}
