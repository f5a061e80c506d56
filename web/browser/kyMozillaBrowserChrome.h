// The host object the web browser of one view talks to: answers its
// questions about the holding window and turns its notifications into calls
// of the view (AMozillaView), which raises them as events.
//
// Counted like every runtime object (plain count, deleted by the last
// Release). The view is not counted; the view detaches itself when it closes,
// and calls that come after answer NS_ERROR_FAILURE (or the code the method
// gives for a missing view). No method lets an exception out.
#pragma once

#include <windows.h>

#include "platform/webrt/nsBrowser.h"

#include "framework/components/ACommand.h"

#include <cstdint>

class AMozillaView;
class AWindow;

class kyMozillaBrowserChrome : public nsIWebBrowserChrome,
                               public nsIWebBrowserChromeFocus,
                               public nsIWebProgressListener,
                               public nsIEmbeddingSiteWindow,
                               public nsIInterfaceRequestor,
                               public nsISupportsWeakReference,
                               public nsIContextMenuListener2,
                               public nsIDOMMouseListener,
                               public nsIDOMKeyListener,
                               public nsIObserver {
public:
    explicit kyMozillaBrowserChrome(AMozillaView* view);

    nsresult QueryInterface(const nsIID& iid, void** result) override;
    nsrefcnt AddRef() override { return ++refs_; }
    nsrefcnt Release() override;

    // nsIWebBrowserChrome
    nsresult SetStatus(PRUint32 statusType, const PRUnichar* status) override;
    nsresult GetWebBrowser(nsIWebBrowser** result) override;
    nsresult SetWebBrowser(nsIWebBrowser* browser) override;
    nsresult GetChromeFlags(PRUint32*) override { return NS_ERROR_NOT_IMPLEMENTED; }
    nsresult SetChromeFlags(PRUint32) override { return NS_ERROR_NOT_IMPLEMENTED; }
    nsresult DestroyBrowserWindow() override;
    nsresult SizeBrowserTo(PRInt32 cx, PRInt32 cy) override;
    nsresult ShowAsModal() override;
    nsresult IsWindowModal(PRBool* result) override;
    nsresult ExitModalEventLoop(nsresult status) override;
    // nsIWebBrowserChromeFocus
    nsresult FocusNextElement() override;
    nsresult FocusPrevElement() override;
    // nsIWebProgressListener
    nsresult OnStateChange(nsIWebProgress* progress, nsIRequest* request, PRUint32 stateFlags,
                           nsresult status) override;
    nsresult OnProgressChange(nsIWebProgress* progress, nsIRequest* request, PRInt32 currentSelf,
                              PRInt32 maximumSelf, PRInt32 currentTotal, PRInt32 maximumTotal) override;
    nsresult OnLocationChange(nsIWebProgress* progress, nsIRequest* request, nsIURI* location) override;
    nsresult OnStatusChange(nsIWebProgress* progress, nsIRequest* request, nsresult status,
                            const PRUnichar* message) override;
    nsresult OnSecurityChange(nsIWebProgress*, nsIRequest*, PRUint32) override { return NS_ERROR_NOT_IMPLEMENTED; }
    // nsIEmbeddingSiteWindow
    nsresult SetDimensions(PRUint32 flags, PRInt32 x, PRInt32 y, PRInt32 cx, PRInt32 cy) override;
    nsresult GetDimensions(PRUint32 flags, PRInt32* x, PRInt32* y, PRInt32* cx, PRInt32* cy) override;
    nsresult SetFocus() override { return NS_OK; }
    nsresult GetVisibility(PRBool* result) override;
    nsresult SetVisibility(PRBool visible) override;
    nsresult GetTitle(PRUnichar** result) override;
    nsresult SetTitle(const PRUnichar* title) override;
    nsresult GetSiteWindow(void** result) override;
    // nsIInterfaceRequestor
    nsresult GetInterface(const nsIID& iid, void** result) override;
    // nsIContextMenuListener2
    nsresult OnShowContextMenu(PRUint32 flags, nsIContextMenuInfo* info) override;
    // nsIDOMMouseListener, nsIDOMKeyListener
    nsresult HandleEvent(nsIDOMEvent*) override { return NS_ERROR_NOT_IMPLEMENTED; }
    nsresult MouseDown(nsIDOMEvent* event) override;
    nsresult MouseUp(nsIDOMEvent* event) override;
    nsresult MouseClick(nsIDOMEvent* event) override;
    nsresult MouseDblClick(nsIDOMEvent* event) override;
    nsresult MouseOver(nsIDOMEvent* event) override;
    nsresult MouseOut(nsIDOMEvent*) override { return NS_OK; }
    nsresult KeyDown(nsIDOMEvent*) override { return NS_ERROR_NOT_IMPLEMENTED; }
    nsresult KeyUp(nsIDOMEvent* event) override;
    nsresult KeyPress(nsIDOMEvent*) override { return NS_OK; }
    // nsIObserver
    nsresult Observe(nsISupports* subject, const char* topic, const PRUnichar* data) override;

    // Ends a running ShowAsModal with NS_OK.
    void endModal();
    // The view has closed: later calls find no view.
    void detachView() { view_ = nullptr; }
    AMozillaView* view() const { return view_; }
    int16_t isModal() const { return modal_; }
    int32_t finishedRequests() const { return finishedRequests_; }
    int32_t totalRequests() const { return totalRequests_; }

protected:
    ~kyMozillaBrowserChrome() override = default;

private:
    AWindow* window();
    HWND topWindow();
    // Runs the command the view's handler answered (null: nothing).
    void performOnView(ACommand* command);

    nsrefcnt refs_ = 0;
    AMozillaView* view_;  // not counted
    int16_t shownOnce_ = 0;
    int16_t modal_ = 0;
    nsresult modalStatus_ = NS_OK;
    int32_t documentIsHtml_ = 0;
    int32_t finishedRequests_ = 0;
    int32_t totalRequests_ = 0;
};

// Shows the window of a browser that the runtime asked to make visible, when
// the application's command queue runs it.
class AShowMozillaWindowCommand : public ACommand {
    SV_DECLARE_CLASS(AShowMozillaWindowCommand)
public:
    AShowMozillaWindowCommand() : AShowMozillaWindowCommand(nullptr, 0) {}
    AShowMozillaWindowCommand(AWindow* window, int16_t raise);
    void execute() override;
    AWindow* window() const { return window_; }
    int16_t raise() const { return raise_; }

private:
    AWindow* window_;  // not owned
    int16_t raise_;
};
