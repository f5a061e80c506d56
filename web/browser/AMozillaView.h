// The framework view that shows a web page through the runtime layer's web
// browser. Panes load URLs into it and subscribe to its events by name
// (AMozillaEvent.h); its chrome (kyMozillaBrowserChrome) turns the browser's
// notifications into calls of the view, which raises the events.
//
// The view owns its browser references and its handler nodes and holds one
// reference to its chrome. Creation failures leave a view without browser
// (one line on the error stream each); every operation then answers its
// neutral result. User-interface thread only.
#pragma once

#include "framework/views/AView.h"
#include "platform/webrt/nsBrowser.h"
#include "platform/webrt/nsComponents.h"
#include "web/browser/AMozillaEvent.h"

#include "base/object/AFileSpec.h"

class AWindow;
class kyMozillaBrowserChrome;

// The runtime's interfaces of one view, each released when cleared or with the record.
struct AMozillaBrowserRefs {
    nsPtr<nsIBaseWindow> baseWindow;
    nsPtr<nsIWebBrowser> webBrowser;
    nsPtr<nsIWebNavigation> webNavigation;
    nsPtr<nsIEventQueue> eventQueue;
    nsPtr<nsIDOMEventReceiver> eventReceiver;
    nsPtr<nsIPrintSettings> printSettings;
};

class AMozillaView : public AView {
    SV_DECLARE_CLASS(AMozillaView)
public:
    // URLs of this length or more are refused by loadUrl.
    enum : long { kUrlLimit = 2048 };
    enum : int16_t { kSaveAsCommand = 12, kSelectAllCommand = 35 };

    AMozillaView();
    AMozillaView(AComponent* parent, int16_t id, const ASizeSpec& rule);
    ~AMozillaView() override;

    // Framework operations.
    void setUpItems() override;
    void detachItems() override;
    void close() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    bool takesEditCommands() override { return true; }
    bool canCopy() override;
    bool canPasteAny() override;
    bool canCut() override;
    ACommand* copy() override;
    ACommand* paste() override;
    ACommand* cut() override;
    ACommand* print() override;
    ACommand* printPreview() override;
    ACommand* printOptions() override { return pageSetup(); }
    void moveNativeWindow() override;
    void showNativeWindow() override;
    void hideNativeWindow() override;
    void setNativeWindowShownForced(bool show) override;
    void windowActivated(int16_t on) override;
    ACommand* rightMouseDown(AMouseEvent& event) override { return takeFocus(event); }
    ACommand* mouseDown(AMouseEvent& event) override { return focusGained(event); }

    // The view's own operations.
    virtual int16_t savePageAs();
    virtual int16_t acceptsObserve();
    virtual int16_t loadUrl(const AString& url);
    virtual void setCurrentUrl(const char* url);
    virtual AString getCurrentUrl() { return currentUrl_; }
    // Whether the mouse pointer lies inside the view's visible window.
    virtual bool isPointerOverView();

    // While one lives, the loads being started are the program's own (loadUrl,
    // reload), not a page's: the application never takes those away from
    // their view (it would be handed the address back and load it again).
    class ProgramLoad {
    public:
        ProgramLoad() { ++programLoads_; }
        ~ProgramLoad() { --programLoads_; }
        ProgramLoad(const ProgramLoad&) = delete;
        ProgramLoad& operator=(const ProgramLoad&) = delete;
    };
    static bool programLoadUnderway() { return programLoads_ > 0; }

    // For panes.
    void addHandler(const char* eventName, AMozillaHandler* handler);
    int16_t observeTopic(int16_t on);
    int16_t reload();
    int16_t stop();
    int16_t goBack();
    int16_t goForward();
    int16_t canGoBack();
    int16_t canGoForward();
    int16_t isLoading() const { return loading_; }
    int16_t findText(const AString& text, int16_t matchCase, int16_t entireWord, int16_t wrap, int16_t backwards);
    int16_t savePage(const AFileSpec& file, int16_t withFiles);
    ACommand* pageSetup();
    // The page's text in the framework's preview window (the runtime's page
    // printer calls it while printPreview runs); false when none could open.
    bool showPreview(const std::string& title, const std::vector<std::string>& paragraphs);
    // The previewed page and its preview window, once printPreview opened one; else null.
    AComponent* previewPage() const { return previewPage_; }
    // Runs the runtime's pending events (loads advance there).
    void processEvents();

    // For the chrome.
    void setStatus(const char* text);
    void setLoading(int16_t loading);
    void updateProgress(int32_t current, int32_t maximum);
    void raiseLoaded();
    void setTitle(const AString& title);
    int16_t dispatchEvent(AMozillaEvent* event);
    void setDimensions(uint32_t flags, int32_t x, int32_t y, int32_t cx, int32_t cy);
    void getDimensions(uint32_t flags, int32_t* x, int32_t* y, int32_t* cx, int32_t* cy);
    void sizeBrowserTo(int32_t cx, int32_t cy);
    int16_t destroyBrowserWindow();
    HWND getNativeWindow();
    nsresult getPrintSettings(nsIPrintSettings** result);
    ACommand* takeFocus(AMouseEvent& event);
    ACommand* focusGained(AMouseEvent& event);
    // The framework window holding the view, or null.
    AWindow* holdingWindow();
    nsIWebBrowser* webBrowser() {
        requireBrowser();
        return refs_ ? refs_->webBrowser.get() : nullptr;
    }
    void setWebBrowser(nsIWebBrowser* browser);
    kyMozillaBrowserChrome* chrome() const { return chrome_; }

    const AString& statusText() const { return status_; }
    const AString& title() const { return title_; }
    int16_t hasFocus() const { return hasFocus_; }

protected:
    nsresult createBrowser();
    // A view set up hidden makes its browser when first shown or first asked
    // for what needs one: the screens the start does not show cost nothing.
    void requireBrowser();
    void closeBrowser();
    bool hasCurrentUri();
    // The clipboard commands of the browser, or null.
    nsPtr<nsIClipboardCommands> clipboard();
    void activateBrowser();
    void deactivateBrowser();
    void closePreview();

private:
    static int programLoads_;
    kyMozillaBrowserChrome* chrome_ = nullptr;  // one reference
    AMozillaBrowserRefs* refs_ = nullptr;       // owned
    bool browserPending_ = false;
    AString status_;
    AString title_;
    int16_t loading_ = 0;
    int16_t observing_ = 0;
    AString currentUrl_;
    int16_t programLoad_ = 0;
    AMozillaHandlerNodeList handlers_;
    int16_t hasFocus_ = 0;
    AComponent* previewPage_ = nullptr;  // a child, with its preview window
};
