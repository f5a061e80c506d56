// Inside the runtime layer: the web browser object of the browser tier, shared
// by its loading code (nsWebBrowser.cpp), its scripts and plug-ins
// (nsWebBrowserScript.cpp), find and clipboard (nsWebBrowserEdit.cpp), saving
// and printing (nsWebBrowserSave.cpp) and its content window
// (nsContentWindow.cpp).
#pragma once

#include "platform/webrt/nsBrowser.h"
#include "platform/webrt/nsHtmlReader.h"
#include "platform/webrt/nsNetwork.h"
#include "platform/webrt/nsRuntime.h"

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace webrt {

// A sub-resource the page asked for, with its bytes once fetched.
struct FetchedResource {
    int type;
    std::string src;  // as written in the page
    std::string url;  // resolved
    std::string bytes;
    bool fetched = false;
};

// One laid-out piece of text of the content window, in content coordinates.
struct LaidRun {
    RECT rect;
    size_t paragraph;
    size_t offset;  // of the piece in the paragraph's text
    std::wstring text;
    int link;
    unsigned char style;
    int image = -1;    // a picture's box, or
    int control = -1;  // a form field's place
};

// A picture of the page once decoded: a bitmap of its own size, or failed.
struct PagePicture {
    HBITMAP bitmap = nullptr;
    SIZE size = {0, 0};
    bool failed = false;
};

// Decodes a JPEG, PNG, GIF or BMP picture into a screen bitmap (transparent
// parts over white); null when the bytes are not a picture it reads.
HBITMAP DecodePicture(const std::string& bytes, SIZE& size);

// The URL text resolved against base (absolute URLs unchanged, "./" and "../" applied).
std::string ResolveUrl(const std::string& base, const std::string& relative);

// The browser's own helpers.
std::string LowerText(std::string s);  // ASCII letters only
void LogError(const std::string& line);  // to the program's error stream
bool IsTextField(HWND field);  // an edit control among the page's fields

class WebBrowser
    : public nsSupportsImpl<nsIWebBrowser, nsIBaseWindow, nsIWebNavigation, nsIWebBrowserFind, nsIWebBrowserPersist,
                            nsIWebBrowserPrint, nsIWebBrowserFocus, nsIClipboardCommands, nsIWebBrowserSetup,
                            nsIDOMWindow, nsIDOMEventReceiver, nsIWebProgress, nsIDocShellTreeItem> {
public:
    WebBrowser();
    ~WebBrowser() override;

    // nsIWebBrowser
    nsresult SetContainerWindow(nsIWebBrowserChrome* chrome) override;
    nsresult GetContainerWindow(nsIWebBrowserChrome** result) override;
    nsresult GetContentDOMWindow(nsIDOMWindow** result) override;
    nsresult AddWebBrowserListener(nsISupports* listener, const nsIID& iid) override;
    // nsIDocShellTreeItem
    nsresult SetItemType(PRInt32) override { return NS_OK; }
    // nsIBaseWindow
    nsresult InitWindow(void* parent, void* widget, PRInt32 x, PRInt32 y, PRInt32 cx, PRInt32 cy) override;
    nsresult Create() override;
    nsresult Destroy() override;
    nsresult SetPositionAndSize(PRInt32 x, PRInt32 y, PRInt32 cx, PRInt32 cy, PRBool repaint) override;
    nsresult SetVisibility(PRBool visible) override;
    nsresult GetMainWidget(void** result) override;
    // nsIWebNavigation
    nsresult LoadURI(const PRUnichar* uri, PRUint32 flags, nsIURI* referrer, nsISupports* postData,
                     nsISupports* headers) override;
    nsresult Reload(PRUint32 flags) override;
    nsresult Stop(PRUint32 flags) override;
    nsresult GoBack() override;
    nsresult GoForward() override;
    nsresult GetCanGoBack(PRBool* result) override;
    nsresult GetCanGoForward(PRBool* result) override;
    nsresult GetCurrentURI(nsIURI** result) override;
    // nsIWebBrowserFind
    nsresult SetSearchString(const PRUnichar* text) override;
    nsresult SetMatchCase(PRBool on) override;
    nsresult SetEntireWord(PRBool on) override;
    nsresult SetWrapFind(PRBool on) override;
    nsresult SetFindBackwards(PRBool on) override;
    nsresult FindNext(PRBool* found) override;
    // nsIWebBrowserPersist
    nsresult GetPersistFlags(PRUint32* result) override;
    nsresult SetPersistFlags(PRUint32 flags) override;
    nsresult SaveDocument(nsISupports* document, nsIFile* file, nsIFile* dataFolder, const char* contentType,
                          PRUint32 encodingFlags, PRUint32 wrapColumn) override;
    // nsIWebBrowserPrint
    nsresult GetGlobalPrintSettings(nsIPrintSettings** result) override;
    nsresult Print(nsIPrintSettings* settings, nsIWebProgressListener* listener) override;
    nsresult PrintPreview(nsIPrintSettings* settings, nsIDOMWindow* window) override;
    nsresult ExitPrintPreview() override;
    nsresult GetDoingPrintPreview(PRBool* result) override;
    // nsIWebBrowserFocus
    nsresult Activate() override;
    nsresult Deactivate() override;
    // nsIClipboardCommands
    nsresult CanCutSelection(PRBool* result) override;
    nsresult CanCopySelection(PRBool* result) override;
    nsresult CanPaste(PRBool* result) override;
    nsresult CutSelection() override;
    nsresult CopySelection() override;
    nsresult Paste() override;
    nsresult SelectAll() override;
    // nsIWebBrowserSetup
    nsresult SetProperty(PRUint32 id, PRUint32 value) override;
    // nsIDOMWindow
    nsresult GetTop(nsIDOMWindow** result) override;
    // nsIDOMEventReceiver
    nsresult AddEventListenerByIID(nsIDOMEventListener* listener, const nsIID& iid) override;
    nsresult RemoveEventListenerByIID(nsIDOMEventListener* listener, const nsIID& iid) override;
    // nsIWebProgress
    nsresult GetDOMWindow(nsIDOMWindow** result) override;

    // The notifications, to every progress listener.
    void notifyState(PRUint32 flags, nsIRequest* request = nullptr);
    void notifyLocation(nsIURI* location, bool subFrame = false);
    void notifyStatus(const std::wstring& text);
    void notifyProgress(PRInt32 current, PRInt32 maximum);
    void notifyTitle(const std::wstring& title);

    // Loading (nsWebBrowser.cpp).
    // When posting, the body (a form's fields) is posted.
    nsresult navigate(const std::string& url, bool historyMove, bool posting = false,
                      const std::string& postBody = std::string());
    // Sends the form of a submitting button (an index in document_.controls).
    void submitForm(int control);
    // Return in a text field: its form sent by the form's first submit button.
    void submitFromField(int field);
    void followLink(int link);
    // A page's reply is in: shows it and starts its sub-resources.
    void pageArrived(unsigned generation, nsIURI* uri, const std::string& contentType, const std::string& body,
                     bool historyMove);
    void resourceDone(unsigned generation, size_t index, const std::string& bytes);
    bool current(unsigned generation) const { return generation == generation_; }
    unsigned generation() const { return generation_; }
    // Asks the content policy: true loads (location may have been changed).
    bool policyAllows(PRInt32 type, nsIURI* location);
    // Posts work to the thread's event queue and makes the window process it.
    void post(nsIRunnable* event);
    void processEvents();

    // Content window (nsContentWindow.cpp).
    bool makeWindow();
    void layout();
    void repaint();
    void scrollToParagraph(size_t paragraph);
    void mouseEvent(UINT message, int x, int y);
    void keyEvent(UINT message, WPARAM key);
    LRESULT windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void paint(HDC dc);
    // Lays out one paragraph's runs between left and left + width from y; answers the y below it.
    int layoutParagraph(HDC dc, size_t paragraph, int left, int width, int y);
    SIZE objectSize(HDC dc, const HtmlRun& run, int width);
    void paintPicture(HDC dc, const LaidRun& run, const RECT& r);
    // The form fields' windows of the page, made anew for each page.
    void makeControls();
    void destroyControls();
    // The page's field that has the focus, or null.
    HWND focusedField() const;
    // The focused field when it is a text field, else null.
    HWND focusedTextField() const;
    void clearPictures();

    // Scripts and plug-ins (nsWebBrowserScript.cpp).
    void runScript(const std::string& script);
    nsresult openWindow(const std::string& url, PRUint32 flags);
    void startPlugins();
    void stopPlugins();

    // State.
    nsPtr<nsIWebBrowserChrome> chrome_;
    std::vector<nsPtr<nsIWebProgressListener>> listeners_;
    std::vector<nsPtr<nsIDOMMouseListener>> mouseListeners_;
    std::vector<nsPtr<nsIDOMKeyListener>> keyListeners_;
    nsPtr<nsIEventQueue> queue_;
    HWND parent_ = nullptr;
    HWND hwnd_ = nullptr;
    RECT bounds_ = {0, 0, 0, 0};
    bool visible_ = true;
    bool allowPlugins_ = false;
    bool chromeWrapper_ = false;
    bool printPreview_ = false;
    bool active_ = false;
    PRUint32 persistFlags_ = 0;
    nsPtr<nsIPrintSettings> printSettings_;

    unsigned generation_ = 0;
    bool loading_ = false;
    size_t outstanding_ = 0;
    nsPtr<nsIURI> currentUri_;
    std::string currentUrl_;
    std::string source_;  // the page's bytes as received
    HtmlDocument document_;
    std::vector<FetchedResource> resources_;
    std::vector<nsPtr<nsIPluginInstance>> plugins_;
    std::vector<std::string> history_;
    size_t historyIndex_ = 0;  // meaningful when history_ is not empty

    // Find and selection: a paragraph, an offset and a length in its text.
    std::wstring findText_;
    bool matchCase_ = false, entireWord_ = false, wrapFind_ = false, findBackwards_ = false;
    bool hasSelection_ = false, selectAll_ = false;
    size_t selParagraph_ = 0, selOffset_ = 0, selLength_ = 0;

    // Layout of the content window.
    std::vector<LaidRun> laid_;
    std::vector<RECT> cellFrames_;  // the grid of tables with a border
    std::vector<PagePicture> pictures_;  // one per document_.images
    std::vector<HWND> fields_;           // one per document_.controls, null for hidden ones
    int contentHeight_ = 0;
    int scrollY_ = 0;
    int lineHeight_ = 16;
};

}  // namespace webrt
