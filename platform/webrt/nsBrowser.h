// Replaces the web runtime's browser interfaces, which this program cannot
// ship: the web browser object and its content window, the chrome the program
// gives it, DOM listeners, the content policy and plug-ins. Only the methods
// the embedding calls.
//
// A browser does its loads on the thread's event queue (nsIEventQueue): its
// content window processes the queue on a timer while something is pending,
// and the program may process it at any time. Notifications reach the chrome's
// progress listener in this order for a page: START (request, document,
// network); location; title; TRANSFERRING (request, document); for each
// sub-resource START and STOP (request); STOP (request, document); STOP
// (network).
#pragma once

#include "platform/webrt/nsDOMEvents.h"
#include "platform/webrt/nsInterfaces.h"
#include "platform/webrt/nsNetwork.h"
#include "platform/webrt/nsPrompts.h"
#include "platform/webrt/nsWebProgress.h"

#include <string>
#include <vector>

class nsIWebBrowser;

class nsIDOMWindow : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0702, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x70, 0x02)
    // The window of the top document (itself for a top window).
    virtual nsresult GetTop(nsIDOMWindow** result) = 0;
};

class nsIWebProgress : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0703, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x70, 0x03)
    virtual nsresult GetDOMWindow(nsIDOMWindow** result) = 0;
};

class nsIWebBrowserChrome : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0704, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x70, 0x04)
    enum : PRUint32 {
        CHROME_DEFAULT = 0x1,
        CHROME_WINDOW_CLOSE = 0x4,
        CHROME_WINDOW_RESIZE = 0x8,
        CHROME_TOOLBAR = 0x20,
        CHROME_STATUSBAR = 0x80,
        CHROME_TITLEBAR = 0x400,
        CHROME_MODAL = 0x20000000,
        CHROME_OPENAS_DIALOG = 0x40000000,
        CHROME_OPENAS_CHROME = 0x80000000,
    };
    virtual nsresult SetStatus(PRUint32 statusType, const PRUnichar* status) = 0;
    virtual nsresult GetWebBrowser(nsIWebBrowser** result) = 0;
    virtual nsresult SetWebBrowser(nsIWebBrowser* browser) = 0;
    virtual nsresult GetChromeFlags(PRUint32* result) = 0;
    virtual nsresult SetChromeFlags(PRUint32 flags) = 0;
    virtual nsresult DestroyBrowserWindow() = 0;
    virtual nsresult SizeBrowserTo(PRInt32 cx, PRInt32 cy) = 0;
    virtual nsresult ShowAsModal() = 0;
    virtual nsresult IsWindowModal(PRBool* result) = 0;
    virtual nsresult ExitModalEventLoop(nsresult status) = 0;
};

class nsIWebBrowserChromeFocus : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0705, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x70, 0x05)
    virtual nsresult FocusNextElement() = 0;
    virtual nsresult FocusPrevElement() = 0;
};

class nsIEmbeddingSiteWindow : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0706, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x70, 0x06)
    enum : PRUint32 { DIM_FLAGS_POSITION = 1, DIM_FLAGS_SIZE_INNER = 2, DIM_FLAGS_SIZE_OUTER = 4 };
    virtual nsresult SetDimensions(PRUint32 flags, PRInt32 x, PRInt32 y, PRInt32 cx, PRInt32 cy) = 0;
    virtual nsresult GetDimensions(PRUint32 flags, PRInt32* x, PRInt32* y, PRInt32* cx, PRInt32* cy) = 0;
    virtual nsresult SetFocus() = 0;
    virtual nsresult GetVisibility(PRBool* result) = 0;
    virtual nsresult SetVisibility(PRBool visible) = 0;
    // *result is an nsMemory block.
    virtual nsresult GetTitle(PRUnichar** result) = 0;
    virtual nsresult SetTitle(const PRUnichar* title) = 0;
    // The native window (HWND) the browser's window is a child of.
    virtual nsresult GetSiteWindow(void** result) = 0;
};

class nsISupportsWeakReference : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0707, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x70, 0x07)
};

class nsIDOMEvent : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0708, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x70, 0x08)
};

class nsIDOMEventListener : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0709, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x70, 0x09)
    virtual nsresult HandleEvent(nsIDOMEvent* event) = 0;
};

class nsIDOMMouseListener : public nsIDOMEventListener {
public:
    NS_WEBRT_IID(nsIDOMEventListener, 0x5e0b070a, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x70, 0x0a)
    virtual nsresult MouseDown(nsIDOMEvent* event) = 0;
    virtual nsresult MouseUp(nsIDOMEvent* event) = 0;
    virtual nsresult MouseClick(nsIDOMEvent* event) = 0;
    virtual nsresult MouseDblClick(nsIDOMEvent* event) = 0;
    virtual nsresult MouseOver(nsIDOMEvent* event) = 0;
    virtual nsresult MouseOut(nsIDOMEvent* event) = 0;
};

class nsIDOMKeyListener : public nsIDOMEventListener {
public:
    NS_WEBRT_IID(nsIDOMEventListener, 0x5e0b070b, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x70, 0x0b)
    virtual nsresult KeyDown(nsIDOMEvent* event) = 0;
    virtual nsresult KeyUp(nsIDOMEvent* event) = 0;
    virtual nsresult KeyPress(nsIDOMEvent* event) = 0;
};

class nsIDOMEventReceiver : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b070c, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x70, 0x0c)
    // iid is nsIDOMMouseListener or nsIDOMKeyListener; the listener is held until removed.
    virtual nsresult AddEventListenerByIID(nsIDOMEventListener* listener, const nsIID& iid) = 0;
    virtual nsresult RemoveEventListenerByIID(nsIDOMEventListener* listener, const nsIID& iid) = 0;
};

class nsIContextMenuInfo : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b070d, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x70, 0x0d)
    virtual nsresult GetMouseEvent(nsIDOMEvent** result) = 0;
};

class nsIContextMenuListener2 : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b070e, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x70, 0x0e)
    enum : PRUint32 { CONTEXT_NONE = 0, CONTEXT_LINK = 1, CONTEXT_DOCUMENT = 16 };
    virtual nsresult OnShowContextMenu(PRUint32 flags, nsIContextMenuInfo* info) = 0;
};

class nsIWebBrowser : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0710, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x70, 0x10)
    // The browser holds the chrome until its base window is destroyed.
    virtual nsresult SetContainerWindow(nsIWebBrowserChrome* chrome) = 0;
    virtual nsresult GetContainerWindow(nsIWebBrowserChrome** result) = 0;
    virtual nsresult GetContentDOMWindow(nsIDOMWindow** result) = 0;
    // iid must be nsIWebProgressListener; the listener is held until the base window is destroyed.
    virtual nsresult AddWebBrowserListener(nsISupports* listener, const nsIID& iid) = 0;
};

class nsIDocShellTreeItem : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0711, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x70, 0x11)
    enum : PRInt32 { typeChrome = 0, typeContent = 1, typeContentWrapper = 2 };
    virtual nsresult SetItemType(PRInt32 type) = 0;
};

class nsIBaseWindow : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0712, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x70, 0x12)
    // parent is an HWND; the rectangle is in its client coordinates.
    virtual nsresult InitWindow(void* parent, void* widget, PRInt32 x, PRInt32 y, PRInt32 cx, PRInt32 cy) = 0;
    virtual nsresult Create() = 0;
    virtual nsresult Destroy() = 0;
    virtual nsresult SetPositionAndSize(PRInt32 x, PRInt32 y, PRInt32 cx, PRInt32 cy, PRBool repaint) = 0;
    virtual nsresult SetVisibility(PRBool visible) = 0;
    // The content window (HWND), null before Create.
    virtual nsresult GetMainWidget(void** result) = 0;
};

class nsIWebNavigation : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0713, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x70, 0x13)
    enum : PRUint32 { LOAD_FLAGS_NONE = 0, STOP_ALL = 3 };
    virtual nsresult LoadURI(const PRUnichar* uri, PRUint32 flags, nsIURI* referrer, nsISupports* postData,
                             nsISupports* headers) = 0;
    virtual nsresult Reload(PRUint32 flags) = 0;
    virtual nsresult Stop(PRUint32 flags) = 0;
    virtual nsresult GoBack() = 0;
    virtual nsresult GoForward() = 0;
    virtual nsresult GetCanGoBack(PRBool* result) = 0;
    virtual nsresult GetCanGoForward(PRBool* result) = 0;
    // Null before the first page.
    virtual nsresult GetCurrentURI(nsIURI** result) = 0;
};

class nsIWebBrowserFind : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0714, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x70, 0x14)
    virtual nsresult SetSearchString(const PRUnichar* text) = 0;
    virtual nsresult SetMatchCase(PRBool on) = 0;
    virtual nsresult SetEntireWord(PRBool on) = 0;
    virtual nsresult SetWrapFind(PRBool on) = 0;
    virtual nsresult SetFindBackwards(PRBool on) = 0;
    // Selects the next match after the current one and scrolls it into view.
    virtual nsresult FindNext(PRBool* found) = 0;
};

class nsIWebBrowserPersist : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0715, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x70, 0x15)
    enum : PRUint32 { PERSIST_FLAGS_NONE = 0, PERSIST_FLAGS_REPLACE_EXISTING_FILES = 0x20 };
    virtual nsresult GetPersistFlags(PRUint32* result) = 0;
    virtual nsresult SetPersistFlags(PRUint32 flags) = 0;
    // Writes the page's source to file and, with a data folder, every fetched
    // sub-resource into it (the page then refers to the saved copies).
    // NS_ERROR_FILE_ALREADY_EXISTS for an existing file without the replace flag.
    virtual nsresult SaveDocument(nsISupports* document, nsIFile* file, nsIFile* dataFolder,
                                  const char* contentType, PRUint32 encodingFlags, PRUint32 wrapColumn) = 0;
};

class nsIPrintSettings : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0716, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x70, 0x16)
    virtual nsresult GetPrinterName(char** result) = 0;
    virtual nsresult SetPrinterName(const char* name) = 0;
};

class nsIWebBrowserPrint : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0717, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x70, 0x17)
    virtual nsresult GetGlobalPrintSettings(nsIPrintSettings** result) = 0;
    // Hands the page's title and text to the page printer (NS_SetPagePrinter);
    // the listener gets STATE_START then STATE_STOP, also when printing failed.
    virtual nsresult Print(nsIPrintSettings* settings, nsIWebProgressListener* listener) = 0;
    virtual nsresult PrintPreview(nsIPrintSettings* settings, nsIDOMWindow* window) = 0;
    virtual nsresult ExitPrintPreview() = 0;
    virtual nsresult GetDoingPrintPreview(PRBool* result) = 0;
};

class nsIWebBrowserFocus : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0718, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x70, 0x18)
    virtual nsresult Activate() = 0;
    virtual nsresult Deactivate() = 0;
};

class nsIClipboardCommands : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0719, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x70, 0x19)
    virtual nsresult CanCutSelection(PRBool* result) = 0;
    virtual nsresult CanCopySelection(PRBool* result) = 0;
    virtual nsresult CanPaste(PRBool* result) = 0;
    virtual nsresult CutSelection() = 0;
    virtual nsresult CopySelection() = 0;
    virtual nsresult Paste() = 0;
    virtual nsresult SelectAll() = 0;
};

class nsIWebBrowserSetup : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b071a, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x70, 0x1a)
    enum : PRUint32 { SETUP_ALLOW_PLUGINS = 1, SETUP_IS_CHROME_WRAPPER = 7 };
    virtual nsresult SetProperty(PRUint32 id, PRUint32 value) = 0;
};

// Asked for every load of a page and of its sub-resources (the registered
// service under NS_CONTENTPOLICY_CONTRACTID, when there is one).
class nsIContentPolicy : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b071b, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x70, 0x1b)
    enum : PRInt32 {
        TYPE_OTHER = 0,
        TYPE_SCRIPT = 1,
        TYPE_IMAGE = 2,
        TYPE_STYLESHEET = 3,
        TYPE_OBJECT = 4,
        TYPE_SUBDOCUMENT = 5,
        TYPE_DOCUMENT = 6,
    };
    // *result false refuses the load; the policy may change the location's spec.
    virtual nsresult ShouldLoad(PRInt32 type, nsIURI* location, nsISupports* context, nsIDOMWindow* window,
                                PRBool* result) = 0;
    virtual nsresult ShouldProcess(PRInt32 type, nsIURI* location, nsISupports* context, nsIDOMWindow* window,
                                   PRBool* result) = 0;
};

// The part of a page an "embed" or "object" element hands to its plug-in.
class nsIPluginInstance : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b071c, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x70, 0x1c)
    // parent is the content window (HWND); the rectangle is in its client coordinates.
    virtual nsresult Start(void* parent, PRInt32 x, PRInt32 y, PRInt32 cx, PRInt32 cy, const char* src) = 0;
    // A call of the page's script: the function name as written and its arguments as texts.
    virtual nsresult Call(const char* function, const std::vector<std::string>& arguments) = 0;
    virtual nsresult Stop() = 0;
};

typedef nsresult (*NS_PluginMaker)(const char* mimeType, nsIPluginInstance** result);

// A plug-in for a MIME type; null removes it. Types compare without case.
void NS_RegisterPlugin(const char* mimeType, NS_PluginMaker maker);

// A new web browser with no window yet.
nsresult NS_NewWebBrowser(nsIWebBrowser** result);

// Prints a page: answers true when the page went to the printer. The
// program installs one; without it Print ends its job at once.
typedef bool (*NS_PagePrinter)(nsIPrintSettings* settings, const std::string& title,
                               const std::vector<std::string>& paragraphs);
void NS_SetPagePrinter(NS_PagePrinter printer);

// Test control: sends the browser's listeners a sequence of notifications,
// one per ";"-separated item: "start-net", "start-req", "transfer-doc",
// "transfer-req", "stop-req", "stop-doc", "stop-net", "location:URL",
// "subframe-location:URL", "title:TEXT", "status:TEXT", "progress:CUR/MAX".
// NS_ERROR_INVALID_ARG names no item sent for an unknown item.
nsresult NS_EmitNotifications(nsIWebBrowser* browser, const char* sequence);

// The text the content window shows, one paragraph a line (tests read it).
std::string NS_GetShownText(nsIWebBrowser* browser);
// The lines "type url" of the plug-in calls and script messages the layer logged.
std::vector<std::string>& NS_ScriptLog();
