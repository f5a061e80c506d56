// The browser view: creates the runtime's web browser in the holding window,
// loads, navigates, finds, saves and prints, and raises the browser events.
#include "web/browser/AMozillaView.h"

#include "base/procedural/AOutStream.h"
#include "framework/app/AApp.h"
#include "framework/app/AWindow.h"
#include "framework/files/AFileBox.h"
#include "framework/graphics/AUpdateWatch.h"
#include "framework/printing/APrinter.h"
#include "web/browser/AMozillaPrintedPage.h"
#include "web/browser/kyMozillaBrowserChrome.h"
#include "web/embed/AMozillaWebProgressListener.h"
#include "web/embed/MozillaEmbedUtils.h"

#include <windows.h>

#include <new>

SV_IMPLEMENT_CLASS(AMozillaView, 0, AView)

int AMozillaView::programLoads_ = 0;

namespace {

AMozillaView* g_printingView = nullptr;
bool g_previewing = false;  // the page goes to the preview window, not the printer

// The runtime's page printer: the page's text through the framework's printer
// or into its preview window.
bool PrintThroughPrinter(nsIPrintSettings*, const std::string& title, const std::vector<std::string>& paragraphs) {
    if (!g_printingView)
        return false;
    if (g_previewing)
        return g_printingView->showPreview(title, paragraphs);
    return AMozillaPrintedPage::printText(g_printingView, title, paragraphs);
}

void Report(const char* line) {
    CurrentErrorStream().writeString(line);
}

// The rectangle of a native window in screen coordinates: its frame, or its client area.
RECT ScreenRect(HWND w, bool outer) {
    RECT r = {0, 0, 0, 0};
    if (!w)
        return r;
    if (outer) {
        GetWindowRect(w, &r);
        return r;
    }
    GetClientRect(w, &r);
    POINT p = {0, 0};
    ClientToScreen(w, &p);
    OffsetRect(&r, p.x, p.y);
    return r;
}

}  // namespace

AMozillaView::AMozillaView() = default;

AMozillaView::AMozillaView(AComponent* parent, int16_t id, const ASizeSpec& rule)
    : AView(parent, id, rule, 0, 1, nullptr, 0x3000) {}

AMozillaView::~AMozillaView() {
    try {
        closeBrowser();
    } catch (...) {
    }
}

void AMozillaView::setUpItems() {
    AView::setUpItems();
    browserPending_ = true;
}

void AMozillaView::requireBrowser() {
    if (!browserPending_)
        return;
    browserPending_ = false;
    createBrowser();
}

HWND AMozillaView::getNativeWindow() {
    return enclosingWindow();
}

AWindow* AMozillaView::holdingWindow() {
    return static_cast<AWindow*>(findAncestor(&AWindow::classRecord));
}

nsresult AMozillaView::createBrowser() {
    loading_ = 0;
    if (!refs_)
        refs_ = new AMozillaBrowserRefs;
    nsresult r;
    nsPtr<nsIEventQueueService> queues = GetServiceAs<nsIEventQueueService>(NS_EVENTQUEUESERVICE_CONTRACTID, &r);
    if (!queues) {
        Report("Failed to create EventQueueService!\n");
        return NS_FAILED(r) ? r : NS_ERROR_FAILURE;
    }
    r = queues->GetThreadEventQueue(NS_CURRENT_THREAD, refs_->eventQueue.receive());
    if (NS_FAILED(r) || !refs_->eventQueue) {
        Report("Failed to create EventQueue!\n");
        return NS_FAILED(r) ? r : NS_ERROR_FAILURE;
    }
    chrome_ = new (std::nothrow) kyMozillaBrowserChrome(this);
    if (!chrome_) {
        Report("Failed to create chrome!\n");
        return NS_ERROR_OUT_OF_MEMORY;
    }
    chrome_->AddRef();
    r = NS_NewWebBrowser(refs_->webBrowser.receive());
    if (NS_FAILED(r) || !refs_->webBrowser) {
        Report("Failed to create web browser. Exiting...\n");
        return NS_FAILED(r) ? r : NS_ERROR_FAILURE;
    }
    nsIWebBrowserChrome* asChrome = chrome_;
    refs_->webBrowser->SetContainerWindow(asChrome);
    if (nsPtr<nsIDocShellTreeItem> item = QueryAs<nsIDocShellTreeItem>(refs_->webBrowser.get()))
        item->SetItemType(nsIDocShellTreeItem::typeContentWrapper);
    refs_->baseWindow = QueryAs<nsIBaseWindow>(refs_->webBrowser.get());
    ARect bounds = getWindowBounds() + (APoint(0, 0) - getLocalOrigin());
    if (!refs_->baseWindow || NS_FAILED(refs_->baseWindow->InitWindow(getNativeWindow(), nullptr, bounds.left(),
                                                                      bounds.top(), bounds.width(), bounds.height()))) {
        Report("Couldn't initialize base window. Exiting...\n");
        return NS_ERROR_FAILURE;
    }
    r = refs_->baseWindow->Create();
    if (NS_FAILED(r)) {
        Report("Couldn't create base window. Exiting...\n");
        return r;
    }
    refs_->baseWindow->SetVisibility(hasFlags(kVisible) ? PR_TRUE : PR_FALSE);
    nsIWebProgressListener* listener = chrome_;
    refs_->webBrowser->AddWebBrowserListener(listener, nsIWebProgressListener::GetIID());
    nsPtr<nsIDOMWindow> domWindow;
    refs_->webBrowser->GetContentDOMWindow(domWindow.receive());
    refs_->eventReceiver = QueryAs<nsIDOMEventReceiver>(domWindow.get());
    if (!refs_->eventReceiver) {
        Report("Failed to get the event receiver!\n");
        return NS_ERROR_FAILURE;
    }
    nsIDOMKeyListener* keys = chrome_;
    nsIDOMMouseListener* mice = chrome_;
    refs_->eventReceiver->AddEventListenerByIID(keys, nsIDOMKeyListener::GetIID());
    refs_->eventReceiver->AddEventListenerByIID(mice, nsIDOMMouseListener::GetIID());
    refs_->webNavigation = QueryAs<nsIWebNavigation>(refs_->webBrowser.get());
    activateBrowser();
    if (nsPtr<nsIWebBrowserSetup> setup = QueryAs<nsIWebBrowserSetup>(refs_->webBrowser.get()))
        setup->SetProperty(nsIWebBrowserSetup::SETUP_ALLOW_PLUGINS, 1);
    title_ = "kyMozillaBrowser";
    NS_SetPagePrinter(PrintThroughPrinter);
    return NS_OK;
}

void AMozillaView::closeBrowser() {
    browserPending_ = false;
    if (refs_) {
        if (refs_->eventReceiver && chrome_) {
            nsIDOMKeyListener* keys = chrome_;
            nsIDOMMouseListener* mice = chrome_;
            refs_->eventReceiver->RemoveEventListenerByIID(keys, nsIDOMKeyListener::GetIID());
            refs_->eventReceiver->RemoveEventListenerByIID(mice, nsIDOMMouseListener::GetIID());
        }
        observeTopic(0);
        refs_->webNavigation = nullptr;
        if (refs_->baseWindow)
            refs_->baseWindow->Destroy();
        refs_->baseWindow = nullptr;
        delete refs_;
        refs_ = nullptr;
    }
    if (chrome_) {
        kyMozillaBrowserChrome* c = chrome_;
        chrome_ = nullptr;
        c->endModal();
        c->detachView();
        c->Release();
    }
    handlers_.clear();
}

void AMozillaView::detachItems() {
    closeBrowser();
    AView::detachItems();
}

void AMozillaView::close() {
    closeBrowser();
    AView::close();
}

void AMozillaView::setWebBrowser(nsIWebBrowser* browser) {
    requireBrowser();
    if (!refs_ || !browser)
        return;
    refs_->webBrowser = browser;
    refs_->webNavigation = QueryAs<nsIWebNavigation>(browser);
    refs_->baseWindow = QueryAs<nsIBaseWindow>(browser);
}

void AMozillaView::processEvents() {
    if (refs_ && refs_->eventQueue)
        refs_->eventQueue->ProcessPendingEvents();
}

void AMozillaView::bindActions() {
    AView::bindActions();
    addAction(kSelectAllCommand, this, 36, nullptr);
    addAction(kSaveAsCommand, this, 15, nullptr);
}

bool AMozillaView::hasCurrentUri() {
    if (!refs_ || !refs_->webNavigation)
        return false;
    nsPtr<nsIURI> uri;
    refs_->webNavigation->GetCurrentURI(uri.receive());
    return uri.get() != nullptr;
}

ACommand* AMozillaView::doCommand(int16_t id, long argument) {
    if (id == kSaveAsCommand) {
        savePageAs();
        return noChangeCommand();
    }
    if (id == kSelectAllCommand) {
        if (nsPtr<nsIClipboardCommands> c = clipboard())
            c->SelectAll();
        return noChangeCommand();
    }
    return AView::doCommand(id, argument);
}

int16_t AMozillaView::commandStatus(int16_t id, long argument) {
    if (id == kSaveAsCommand || id == kSelectAllCommand)
        return hasCurrentUri() ? 1 : 2;
    return AView::commandStatus(id, argument);
}

nsPtr<nsIClipboardCommands> AMozillaView::clipboard() {
    return QueryAs<nsIClipboardCommands>(webBrowser());
}

bool AMozillaView::canCopy() {
    nsPtr<nsIClipboardCommands> c = clipboard();
    PRBool can = PR_FALSE;
    if (hasCurrentUri() && c)
        c->CanCopySelection(&can);
    return can != 0;
}

bool AMozillaView::canCut() {
    nsPtr<nsIClipboardCommands> c = clipboard();
    PRBool can = PR_FALSE;
    if (hasCurrentUri() && c)
        c->CanCutSelection(&can);
    return can != 0;
}

bool AMozillaView::canPasteAny() {
    nsPtr<nsIClipboardCommands> c = clipboard();
    PRBool can = PR_FALSE;
    if (hasCurrentUri() && c)
        c->CanPaste(&can);
    return can != 0;
}

ACommand* AMozillaView::copy() {
    if (nsPtr<nsIClipboardCommands> c = clipboard())
        c->CopySelection();
    return noChangeCommand();
}

ACommand* AMozillaView::paste() {
    if (nsPtr<nsIClipboardCommands> c = clipboard())
        c->Paste();
    return noChangeCommand();
}

ACommand* AMozillaView::cut() {
    if (nsPtr<nsIClipboardCommands> c = clipboard())
        c->CutSelection();
    return noChangeCommand();
}

void AMozillaView::addHandler(const char* eventName, AMozillaHandler* handler) {
    handlers_.add(new AMozillaHandlerNode(eventName, handler));
}

int16_t AMozillaView::dispatchEvent(AMozillaEvent* event) {
    if (!event)
        return 0;
    if (event->name == "Observe" && !acceptsObserve())
        return 1;
    int16_t handled = 0;
    for (ALink* l = handlers_.firstLink(); l != handlers_.sentinel(); l = l->next) {
        auto* node = static_cast<AMozillaHandlerNode*>(static_cast<APlink*>(l)->value);
        if (!node)
            ThrowAssert("kyMozillaView", 1);
        if (node->handle(this, event))
            handled = 1;
    }
    return handled;
}

int16_t AMozillaView::acceptsObserve() {
    POINT p;
    if (!GetCursorPos(&p) || !hasFlags(kVisible))
        return 0;
    ARect r = getScreenFrame();
    return p.x >= r.left() && p.x <= r.right() - 1 && p.y >= r.top() && p.y <= r.bottom() - 1 ? 1 : 0;
}

int16_t AMozillaView::observeTopic(int16_t on) {
    nsPtr<nsIObserverService> service = GetServiceAs<nsIObserverService>(NS_OBSERVERSERVICE_CONTRACTID);
    if (!service) {
        Report("Failed to remove observer!\n");
        return 0;
    }
    if (on)
        requireBrowser();
    if (!chrome_)
        return 0;
    nsIObserver* observer = chrome_;
    if (on && !observing_) {
        if (NS_SUCCEEDED(service->AddObserver(observer, "KYTOPIC", PR_TRUE)))
            observing_ = 1;
    } else if (!on && observing_) {
        if (NS_SUCCEEDED(service->RemoveObserver(observer, "KYTOPIC")))
            observing_ = 0;
    }
    return observing_;
}

int16_t AMozillaView::loadUrl(const AString& url) {
    requireBrowser();
    if (!refs_ || !refs_->webNavigation)
        return 1;
    stop();
    // The runtime's buffer was 2048 bytes: a longer URL is refused, not cut.
    if (url.length() >= kUrlLimit) {
        Report("Couldn't load URL:\n");
        return 0;
    }
    nsString wide = AStringToNsString(url);
    ProgramLoad own;
    nsresult r = refs_->webNavigation->LoadURI(wide.c_str(), nsIWebNavigation::LOAD_FLAGS_NONE, nullptr, nullptr,
                                               nullptr);
    programLoad_ = 1;
    if (NS_FAILED(r)) {
        Report("Couldn't load URL:\n");
        return 0;
    }
    return 1;
}

void AMozillaView::setCurrentUrl(const char* url) {
    if (!url || !*url)
        return;
    AMozillaUpdateUrlEvent event;
    event.url = url;
    event.programLoad = programLoad_;
    dispatchEvent(&event);
    programLoad_ = 0;
    currentUrl_ = url;
}

int16_t AMozillaView::reload() {
    requireBrowser();
    ProgramLoad own;
    if (refs_ && refs_->webNavigation)
        refs_->webNavigation->Reload(0);
    return 1;
}

int16_t AMozillaView::stop() {
    if (refs_ && refs_->webNavigation)
        refs_->webNavigation->Stop(nsIWebNavigation::STOP_ALL);
    return 1;
}

int16_t AMozillaView::goBack() {
    requireBrowser();
    if (refs_ && refs_->webNavigation)
        refs_->webNavigation->GoBack();
    return 1;
}

int16_t AMozillaView::goForward() {
    requireBrowser();
    if (refs_ && refs_->webNavigation)
        refs_->webNavigation->GoForward();
    return 1;
}

int16_t AMozillaView::canGoBack() {
    requireBrowser();
    PRBool can = PR_FALSE;
    if (!refs_ || !refs_->webNavigation)
        return 0;
    refs_->webNavigation->GetCanGoBack(&can);
    return can ? 1 : 0;
}

int16_t AMozillaView::canGoForward() {
    requireBrowser();
    PRBool can = PR_FALSE;
    if (!refs_ || !refs_->webNavigation)
        return 1;
    refs_->webNavigation->GetCanGoForward(&can);
    return can ? 1 : 0;
}

int16_t AMozillaView::findText(const AString& text, int16_t matchCase, int16_t entireWord, int16_t wrap,
                               int16_t backwards) {
    nsPtr<nsIWebBrowserFind> find = QueryAs<nsIWebBrowserFind>(webBrowser());
    if (!find)
        return 0;
    find->SetSearchString(AStringToNsString(text).c_str());
    find->SetMatchCase(matchCase ? 1 : 0);
    find->SetEntireWord(entireWord ? 1 : 0);
    find->SetWrapFind(wrap ? 1 : 0);
    find->SetFindBackwards(backwards ? 1 : 0);
    PRBool found = PR_FALSE;
    find->FindNext(&found);
    return found ? 1 : 0;
}

int16_t AMozillaView::savePageAs() {
    static const char* const filters[][2] = {
        {"*.html", "Document et fichiers"}, {"*.html", "Document seulement"}, {nullptr, nullptr}};
    AFileBox box(AFileSpec(), filters, 0, "Enregistrer sous");
    if (!box.ok())
        return 0;
    return savePage(box.fileSpec(), box.filterIndex() == 0 ? 1 : 0);
}

int16_t AMozillaView::savePage(const AFileSpec& file, int16_t withFiles) {
    std::string page = file.path().c_str();
    size_t slash = page.find_last_of("\\/");
    size_t dot = page.find_last_of('.');
    std::string folder = (dot != std::string::npos && (slash == std::string::npos || dot > slash) ? page.substr(0, dot)
                                                                                                   : page) +
                         "_files";
    nsPtr<nsIWebBrowserPersist> persist = QueryAs<nsIWebBrowserPersist>(webBrowser());
    if (!persist)
        return 1;
    nsPtr<nsILocalFile> pageFile, folderFile;
    if (NS_FAILED(NS_NewNativeLocalFile(page, PR_TRUE, pageFile.receive())) ||
        NS_FAILED(NS_NewNativeLocalFile(folder, PR_TRUE, folderFile.receive()))) {
        Report("Couldn't save the page\n");
        return 1;
    }
    PRUint32 flags = 0;
    persist->GetPersistFlags(&flags);
    if (!(flags & nsIWebBrowserPersist::PERSIST_FLAGS_REPLACE_EXISTING_FILES))
        persist->SetPersistFlags(nsIWebBrowserPersist::PERSIST_FLAGS_REPLACE_EXISTING_FILES);
    nsresult r = persist->SaveDocument(nullptr, pageFile.get(), withFiles ? folderFile.get() : nullptr, nullptr, 0, 0);
    if (NS_FAILED(r))
        Report("Couldn't save the page\n");
    return 1;
}

nsresult AMozillaView::getPrintSettings(nsIPrintSettings** result) {
    if (!result)
        return NS_ERROR_NULL_POINTER;
    requireBrowser();
    if (!refs_)
        return NS_ERROR_NOT_INITIALIZED;
    if (!refs_->printSettings) {
        nsPtr<nsIWebBrowserPrint> print = QueryAs<nsIWebBrowserPrint>(webBrowser());
        if (!print)
            return NS_ERROR_NO_INTERFACE;
        print->GetGlobalPrintSettings(refs_->printSettings.receive());
    }
    *result = refs_->printSettings.get();
    if (*result)
        (*result)->AddRef();
    return NS_OK;
}

ACommand* AMozillaView::print() {
    nsPtr<nsIWebBrowserPrint> print = QueryAs<nsIWebBrowserPrint>(webBrowser());
    if (!print)
        return noChangeCommand();
    nsPtr<nsIPrintSettings> settings;
    getPrintSettings(settings.receive());
    nsPtr<AMozillaWebProgressListener> listener(new AMozillaWebProgressListener);
    AMozillaView* outer = g_printingView;
    g_printingView = this;
    print->Print(settings.get(), listener.get());
    g_printingView = outer;
    // The layer reports the end before Print returns; the bound keeps a job
    // that never reports from holding the loop.
    DWORD start = GetTickCount();
    while (!listener->isDone() && GetTickCount() - start < 60000) {
        if (AApp* app = AApp::current())
            app->runOnce();
        else
            break;
    }
    return noChangeCommand();
}

ACommand* AMozillaView::pageSetup() {
    // Orientation and paper are the printer set-up's, which the page's
    // printing and its preview both use.
    PrinterSetUpForApp();
    return noChangeCommand();
}

ACommand* AMozillaView::printPreview() {
    nsPtr<nsIWebBrowserPrint> print = QueryAs<nsIWebBrowserPrint>(webBrowser());
    if (!print)
        return noChangeCommand();
    PRBool previewing = PR_FALSE;
    print->GetDoingPrintPreview(&previewing);
    bool open = previewPage_ && previewPage_->findDescendant(&AWindow::classRecord, nullptr);
    closePreview();
    if (previewing) {
        print->ExitPrintPreview();
        if (open)
            return noChangeCommand();  // the preview was shown: this leaves it
    }
    nsPtr<nsIPrintSettings> settings;
    getPrintSettings(settings.receive());
    AMozillaView* outer = g_printingView;
    g_printingView = this;
    g_previewing = true;
    nsresult shown = print->Print(settings.get(), nullptr);
    g_previewing = false;
    g_printingView = outer;
    if (NS_SUCCEEDED(shown)) {
        nsPtr<nsIDOMWindow> window;
        webBrowser()->GetContentDOMWindow(window.receive());
        print->PrintPreview(settings.get(), window.get());
    }
    return noChangeCommand();
}

bool AMozillaView::showPreview(const std::string& title, const std::vector<std::string>& paragraphs) {
    closePreview();
    previewPage_ = AMozillaPrintedPage::preview(this, title, paragraphs);
    return previewPage_ != nullptr;
}

void AMozillaView::closePreview() {
    if (!previewPage_)
        return;
    AComponent* page = previewPage_;
    previewPage_ = nullptr;
    DeleteComponent(page);
}

void AMozillaView::setStatus(const char* text) {
    status_ = text ? text : "";
    AMozillaStatusChangedEvent event;
    event.status = status_;
    dispatchEvent(&event);
}

void AMozillaView::setLoading(int16_t loading) {
    loading_ = loading;
    queueUpdate(6);
    if (loading) {
        updateProgress(0, 100);
    } else {
        setStatus("");
        updateProgress(0, 0);
    }
}

void AMozillaView::updateProgress(int32_t current, int32_t maximum) {
    AMozillaUpdateProgressEvent event;
    event.current = current;
    event.maximum = maximum;
    dispatchEvent(&event);
}

void AMozillaView::raiseLoaded() {
    AMozillaIsLoadedEvent event;
    dispatchEvent(&event);
}

void AMozillaView::setTitle(const AString& title) {
    title_ = title;
    AMozillaUpdateTitleEvent event;
    event.title = title;
    if (!dispatchEvent(&event))
        if (AWindow* w = holdingWindow())
            w->setTitle(title.c_str());
}

void AMozillaView::getDimensions(uint32_t flags, int32_t* x, int32_t* y, int32_t* cx, int32_t* cy) {
    HWND w = getNativeWindow();
    RECT r = ScreenRect(w ? GetAncestor(w, GA_ROOT) : nullptr, (flags & nsIEmbeddingSiteWindow::DIM_FLAGS_SIZE_OUTER) != 0);
    if (x)
        *x = r.left;
    if (y)
        *y = r.top;
    if (cx)
        *cx = r.right - r.left;
    if (cy)
        *cy = r.bottom - r.top;
}

void AMozillaView::setDimensions(uint32_t flags, int32_t x, int32_t y, int32_t cx, int32_t cy) {
    HWND w = getNativeWindow();
    HWND top = w ? GetAncestor(w, GA_ROOT) : nullptr;
    if (!top)
        return;
    RECT inner = ScreenRect(top, false), outer = ScreenRect(top, true);
    bool position = (flags & nsIEmbeddingSiteWindow::DIM_FLAGS_POSITION) != 0;
    bool innerSize = (flags & nsIEmbeddingSiteWindow::DIM_FLAGS_SIZE_INNER) != 0;
    bool outerSize = (flags & nsIEmbeddingSiteWindow::DIM_FLAGS_SIZE_OUTER) != 0;
    // The change is made on the inner or the outer rectangle, then applied to the frame.
    bool useOuter = outerSize && !innerSize;
    RECT r = useOuter ? outer : inner;
    if (position)
        OffsetRect(&r, x - r.left, y - r.top);
    if (innerSize || outerSize) {
        r.right = r.left + cx;
        r.bottom = r.top + cy;
    }
    if (!useOuter) {
        // Frame = inner plus the borders the window has now.
        r.left -= inner.left - outer.left;
        r.top -= inner.top - outer.top;
        r.right += outer.right - inner.right;
        r.bottom += outer.bottom - inner.bottom;
    }
    HWND parent = GetParent(top);
    POINT origin = {r.left, r.top};
    if (parent && (GetWindowLongA(top, GWL_STYLE) & WS_CHILD))
        ScreenToClient(parent, &origin);
    SetWindowPos(top, nullptr, origin.x, origin.y, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void AMozillaView::sizeBrowserTo(int32_t cx, int32_t cy) {
    HWND w = getNativeWindow();
    HWND top = w ? GetAncestor(w, GA_ROOT) : nullptr;
    if (!top)
        return;
    RECT outer = ScreenRect(top, true);
    ARect frame = getFrame();
    SetWindowPos(top, nullptr, 0, 0, outer.right - outer.left + cx - frame.width(),
                 outer.bottom - outer.top + cy - frame.height(), SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

int16_t AMozillaView::destroyBrowserWindow() {
    AWindow* w = holdingWindow();
    if (!w || !w->canClose(true))
        return 0;
    if (chrome_)
        chrome_->endModal();
    w->perform(w->closeWindow());
    return 1;
}

ACommand* AMozillaView::takeFocus(AMouseEvent&) {
    hasFocus_ = 1;
    return noChangeCommand();
}

ACommand* AMozillaView::focusGained(AMouseEvent&) {
    hasFocus_ = 1;
    becomeTarget();
    return noChangeCommand();
}

// A browser not made yet has no focus to give or take, no page, nothing to
// stop and no events: those calls never make one.
void AMozillaView::activateBrowser() {
    if (nsPtr<nsIWebBrowserFocus> focus = QueryAs<nsIWebBrowserFocus>(refs_ ? refs_->webBrowser.get() : nullptr))
        focus->Activate();
}

void AMozillaView::deactivateBrowser() {
    if (nsPtr<nsIWebBrowserFocus> focus = QueryAs<nsIWebBrowserFocus>(refs_ ? refs_->webBrowser.get() : nullptr))
        focus->Deactivate();
}

void AMozillaView::windowActivated(int16_t on) {
    AView::windowActivated(on);
    if (on) {
        if (hasFocus_) {
            becomeTarget();
            activateBrowser();
            return;
        }
        hasFocus_ = 1;
        becomeTarget();
        activateBrowser();
    } else if (hasFocus_) {
        deactivateBrowser();
        hasFocus_ = 0;
    }
}

void AMozillaView::moveNativeWindow() {
    AView::moveNativeWindow();
    if (!refs_ || !refs_->baseWindow)
        return;
    ARect r = getWindowBounds() + (APoint(0, 0) - getLocalOrigin());
    AUpdateWatch::touch();
    refs_->baseWindow->SetPositionAndSize(r.left(), r.top(), r.width(), r.height(), PR_FALSE);
}

void AMozillaView::showNativeWindow() {
    AView::showNativeWindow();
    requireBrowser();
    if (refs_ && refs_->baseWindow) {
        moveNativeWindow();
        refs_->baseWindow->SetVisibility(PR_TRUE);
    }
}

void AMozillaView::hideNativeWindow() {
    AView::hideNativeWindow();
    if (refs_ && refs_->baseWindow)
        refs_->baseWindow->SetVisibility(PR_FALSE);
    if (chrome_)
        chrome_->endModal();
}

void AMozillaView::setNativeWindowShownForced(bool show) {
    AView::setNativeWindowShownForced(show);
    if (show)
        requireBrowser();
    if (refs_ && refs_->baseWindow) {
        if (show)
            moveNativeWindow();
        refs_->baseWindow->SetVisibility(show ? PR_TRUE : PR_FALSE);
    }
    if (!show && chrome_)
        chrome_->endModal();
}

bool AMozillaView::isPointerOverView() {
    HWND window = getNativeWindow();
    POINT pointer;
    if (!window || !IsWindowVisible(window) || !GetCursorPos(&pointer))
        return false;
    ARect bounds = getScreenBounds();
    return pointer.x >= bounds.left() && pointer.x < bounds.right() && pointer.y >= bounds.top() &&
           pointer.y < bounds.bottom();
}
