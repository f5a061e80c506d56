// The browser chrome: the web browser's questions about its window, and its
// notifications turned into calls of the browser view.
#include "web/browser/kyMozillaBrowserChrome.h"

#include "framework/app/AApp.h"
#include "framework/app/AWindow.h"
#include "web/browser/AMozillaView.h"
#include "web/embed/MozillaEmbedUtils.h"

#include <cstring>
#include <new>

SV_IMPLEMENT_CLASS(AShowMozillaWindowCommand, 0, ACommand)

namespace {

// Gecko's rule: one interface table per base; the pointer handed out is that base's.
template <class I>
bool Answer(const nsIID& iid, I* base, void** result) {
    if (!iid.Equals(I::GetIID()))
        return false;
    *result = base;
    return true;
}

}  // namespace

kyMozillaBrowserChrome::kyMozillaBrowserChrome(AMozillaView* view) : view_(view) {}

nsresult kyMozillaBrowserChrome::QueryInterface(const nsIID& iid, void** result) {
    if (!result)
        return NS_ERROR_NULL_POINTER;
    *result = nullptr;
    if (iid.Equals(nsISupports::GetIID()))
        *result = static_cast<nsIWebBrowserChrome*>(this);
    else
        Answer<nsIWebBrowserChrome>(iid, this, result) || Answer<nsIInterfaceRequestor>(iid, this, result) ||
            Answer<nsIWebBrowserChromeFocus>(iid, this, result) || Answer<nsIEmbeddingSiteWindow>(iid, this, result) ||
            Answer<nsIWebProgressListener>(iid, this, result) || Answer<nsISupportsWeakReference>(iid, this, result) ||
            Answer<nsIContextMenuListener2>(iid, this, result) || Answer<nsIDOMMouseListener>(iid, this, result) ||
            Answer<nsIDOMKeyListener>(iid, this, result) || Answer<nsIObserver>(iid, this, result);
    if (!*result)
        return NS_NOINTERFACE;
    AddRef();
    return NS_OK;
}

nsrefcnt kyMozillaBrowserChrome::Release() {
    if (--refs_ == 0) {
        refs_ = 1;
        delete this;
        return 0;
    }
    return refs_;
}

AWindow* kyMozillaBrowserChrome::window() {
    return view_ ? view_->holdingWindow() : nullptr;
}

HWND kyMozillaBrowserChrome::topWindow() {
    HWND w = view_ ? view_->getNativeWindow() : nullptr;
    return w ? GetAncestor(w, GA_ROOT) : nullptr;
}

void kyMozillaBrowserChrome::performOnView(ACommand* command) {
    if (view_ && command)
        view_->perform(command);
}

nsresult kyMozillaBrowserChrome::SetStatus(PRUint32, const PRUnichar* status) {
    if (!view_)
        return NS_ERROR_FAILURE;
    view_->setStatus(UnicharToAString(status).c_str());
    return NS_OK;
}

nsresult kyMozillaBrowserChrome::GetWebBrowser(nsIWebBrowser** result) {
    if (!result)
        return NS_ERROR_INVALID_POINTER;
    if (!view_ || !view_->webBrowser())
        return NS_ERROR_NOT_INITIALIZED;
    *result = view_->webBrowser();
    (*result)->AddRef();
    return NS_OK;
}

nsresult kyMozillaBrowserChrome::SetWebBrowser(nsIWebBrowser* browser) {
    if (!browser)
        return NS_ERROR_INVALID_ARG;
    if (!view_ || !view_->webBrowser())
        return NS_ERROR_NOT_INITIALIZED;
    view_->setWebBrowser(browser);
    return NS_OK;
}

nsresult kyMozillaBrowserChrome::DestroyBrowserWindow() {
    if (!view_)
        return NS_ERROR_FAILURE;
    try {
        return view_->destroyBrowserWindow() ? NS_OK : NS_ERROR_FAILURE;
    } catch (...) {
        return NS_ERROR_FAILURE;
    }
}

nsresult kyMozillaBrowserChrome::SizeBrowserTo(PRInt32 cx, PRInt32 cy) {
    if (!view_)
        return NS_ERROR_FAILURE;
    view_->sizeBrowserTo(cx, cy);
    return NS_OK;
}

nsresult kyMozillaBrowserChrome::ShowAsModal() {
    // The loop may outlive every other reference (the window closing inside it).
    nsPtr<nsIWebBrowserChrome> keep(this);
    modal_ = 1;
    modalStatus_ = NS_OK;
    if (AWindow* w = window()) {
        if (!w->hasFlags(ADisplayComponent::kShown))
            w->showUpdate();
        else
            w->select();
    }
    try {
        while (modal_ && view_) {
            if (AApp* app = AApp::current()) {
                app->runOnce();
            } else {
                MSG msg;
                if (GetMessageA(&msg, nullptr, 0, 0) <= 0)
                    break;
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
    } catch (...) {
        modal_ = 0;
        return NS_ERROR_FAILURE;
    }
    modal_ = 0;
    return modalStatus_;
}

nsresult kyMozillaBrowserChrome::IsWindowModal(PRBool* result) {
    if (!result)
        return NS_ERROR_INVALID_POINTER;
    *result = PR_FALSE;
    return NS_OK;
}

nsresult kyMozillaBrowserChrome::ExitModalEventLoop(nsresult status) {
    modal_ = 0;
    modalStatus_ = status;
    return NS_OK;
}

void kyMozillaBrowserChrome::endModal() {
    modal_ = 0;
    modalStatus_ = NS_OK;
}

nsresult kyMozillaBrowserChrome::FocusNextElement() {
    if (AWindow* w = window())
        w->focusNext();
    return NS_OK;
}

nsresult kyMozillaBrowserChrome::FocusPrevElement() {
    if (AWindow* w = window())
        w->focusPrevious();
    return NS_OK;
}

nsresult kyMozillaBrowserChrome::OnStateChange(nsIWebProgress*, nsIRequest* request, PRUint32 flags, nsresult) {
    typedef nsIWebProgressListener L;
    if (!view_)
        return NS_ERROR_INVALID_POINTER;
    if (flags & L::STATE_START) {
        if (flags & L::STATE_IS_NETWORK) {
            view_->setLoading(1);
            documentIsHtml_ = finishedRequests_ = totalRequests_ = 0;
        }
        if (flags & L::STATE_IS_REQUEST)
            ++totalRequests_;
    } else if (flags & L::STATE_STOP) {
        if (flags & L::STATE_IS_REQUEST) {
            ++finishedRequests_;
            if (!documentIsHtml_)
                view_->updateProgress(finishedRequests_, totalRequests_);
        }
        if ((flags & L::STATE_IS_NETWORK) && view_)
            view_->setLoading(0);
        if ((flags & L::STATE_IS_DOCUMENT) && view_) {
            view_->setLoading(0);
            view_->updateProgress(0, 100);
            view_->setStatus("");
            view_->raiseLoaded();
        }
    } else if (flags & L::STATE_TRANSFERRING) {
        if (flags & L::STATE_IS_DOCUMENT) {
            nsPtr<nsIChannel> channel = QueryAs<nsIChannel>(request);
            if (!channel)
                return NS_ERROR_FAILURE;
            nsCString type;
            channel->GetContentType(type);
            documentIsHtml_ = type == "text/html" ? 1 : 0;
        }
        if ((flags & L::STATE_IS_REQUEST) && !documentIsHtml_ && view_)
            view_->updateProgress(finishedRequests_, totalRequests_);
    }
    return NS_OK;
}

nsresult kyMozillaBrowserChrome::OnProgressChange(nsIWebProgress*, nsIRequest*, PRInt32, PRInt32, PRInt32 curTotal,
                                                  PRInt32 maxTotal) {
    if (view_ && documentIsHtml_)
        view_->updateProgress(curTotal, maxTotal);
    return NS_OK;
}

nsresult kyMozillaBrowserChrome::OnLocationChange(nsIWebProgress* progress, nsIRequest*, nsIURI* location) {
    if (progress) {
        nsPtr<nsIDOMWindow> domWindow;
        progress->GetDOMWindow(domWindow.receive());
        if (domWindow) {
            nsPtr<nsIDOMWindow> top;
            domWindow->GetTop(top.receive());
            // Identity of runtime objects is the identity of their nsISupports.
            nsPtr<nsISupports> a = QueryAs<nsISupports>(domWindow.get());
            nsPtr<nsISupports> b = QueryAs<nsISupports>(top.get());
            if (!top || a.get() != b.get())
                return NS_OK;  // a frame of the page moved
        }
    }
    if (view_ && location) {
        nsCString spec;
        location->GetSpec(spec);
        view_->setCurrentUrl(spec.c_str());
    }
    return NS_OK;
}

nsresult kyMozillaBrowserChrome::OnStatusChange(nsIWebProgress*, nsIRequest*, nsresult, const PRUnichar* message) {
    if (view_)
        view_->setStatus(UnicharToAString(message).c_str());
    return NS_OK;
}

nsresult kyMozillaBrowserChrome::SetDimensions(PRUint32 flags, PRInt32 x, PRInt32 y, PRInt32 cx, PRInt32 cy) {
    if (!view_)
        return NS_ERROR_FAILURE;
    view_->setDimensions(flags, x, y, cx, cy);
    return NS_OK;
}

nsresult kyMozillaBrowserChrome::GetDimensions(PRUint32 flags, PRInt32* x, PRInt32* y, PRInt32* cx, PRInt32* cy) {
    if (!view_)
        return NS_ERROR_FAILURE;
    view_->getDimensions(flags, x, y, cx, cy);
    return NS_OK;
}

nsresult kyMozillaBrowserChrome::GetVisibility(PRBool* result) {
    if (!result)
        return NS_ERROR_INVALID_POINTER;
    AWindow* w = window();
    *result = w ? w->hasFlags(ADisplayComponent::kShown) : (topWindow() && IsWindowVisible(topWindow()));
    return NS_OK;
}

nsresult kyMozillaBrowserChrome::SetVisibility(PRBool visible) {
    AWindow* w = window();
    if (!w)
        return NS_OK;
    if (!visible) {
        w->hideUpdate();
        return NS_OK;
    }
    if (w->hasFlags(ADisplayComponent::kShown) || shownOnce_)
        return NS_OK;
    shownOnce_ = 1;
    try {
        auto* command = new AShowMozillaWindowCommand(w, static_cast<int16_t>(w->windowFlags() & 1));
        w->perform(command);
    } catch (...) {
        return NS_ERROR_OUT_OF_MEMORY;
    }
    return NS_OK;
}

nsresult kyMozillaBrowserChrome::GetTitle(PRUnichar** result) {
    if (!result)
        return NS_ERROR_INVALID_POINTER;
    *result = ToNewUnicode(view_ ? AStringToNsString(view_->title()) : nsString());
    return *result ? NS_OK : NS_ERROR_OUT_OF_MEMORY;
}

nsresult kyMozillaBrowserChrome::SetTitle(const PRUnichar* title) {
    if (!title)
        return NS_ERROR_INVALID_POINTER;
    if (view_)
        view_->setTitle(UnicharToAString(title));
    return NS_OK;
}

nsresult kyMozillaBrowserChrome::GetSiteWindow(void** result) {
    if (!result)
        return NS_ERROR_INVALID_POINTER;
    *result = view_ ? view_->getNativeWindow() : nullptr;
    return *result ? NS_OK : NS_ERROR_FAILURE;
}

nsresult kyMozillaBrowserChrome::GetInterface(const nsIID& iid, void** result) {
    if (!result)
        return NS_ERROR_NULL_POINTER;
    if (iid.Equals(nsIDOMWindow::GetIID())) {
        *result = nullptr;
        if (!view_ || !view_->webBrowser())
            return NS_ERROR_NOT_INITIALIZED;
        return view_->webBrowser()->GetContentDOMWindow(reinterpret_cast<nsIDOMWindow**>(result));
    }
    return QueryInterface(iid, result);
}

nsresult kyMozillaBrowserChrome::OnShowContextMenu(PRUint32, nsIContextMenuInfo* info) {
    if (!view_ || !info || !view_->getParent())
        return NS_OK;
    nsPtr<nsIDOMEvent> event;
    info->GetMouseEvent(event.receive());
    AMouseEvent mouse = ConvertDomMouseEvent(QueryAs<nsIDOMMouseEvent>(event.get()).get());
    performOnView(view_->takeFocus(mouse));
    return NS_OK;
}

nsresult kyMozillaBrowserChrome::MouseDown(nsIDOMEvent* event) {
    nsPtr<nsIDOMMouseEvent> mouse = QueryAs<nsIDOMMouseEvent>(event);
    if (!mouse || !view_)
        return NS_OK;
    AMouseEvent e = ConvertDomMouseEvent(mouse.get());
    performOnView(view_->focusGained(e));
    return NS_OK;
}

nsresult kyMozillaBrowserChrome::MouseClick(nsIDOMEvent* event) {
    return MouseDown(event);
}

nsresult kyMozillaBrowserChrome::MouseUp(nsIDOMEvent* event) {
    nsPtr<nsIDOMMouseEvent> mouse = QueryAs<nsIDOMMouseEvent>(event);
    if (!mouse || !view_)
        return NS_OK;
    AMouseEvent e = ConvertDomMouseEvent(mouse.get());
    performOnView(view_->mouseUp(e));
    if (view_)
        view_->queueUpdate(2);
    return NS_OK;
}

nsresult kyMozillaBrowserChrome::MouseDblClick(nsIDOMEvent* event) {
    nsPtr<nsIDOMMouseEvent> mouse = QueryAs<nsIDOMMouseEvent>(event);
    if (!mouse || !view_)
        return NS_OK;
    AMouseEvent e = ConvertDomMouseEvent(mouse.get());
    performOnView(view_->doubleClick(e, 2));
    return NS_OK;
}

nsresult kyMozillaBrowserChrome::MouseOver(nsIDOMEvent* event) {
    nsPtr<nsIDOMMouseEvent> mouse = QueryAs<nsIDOMMouseEvent>(event);
    if (!mouse || !view_)
        return NS_OK;
    AMouseEvent e = ConvertDomMouseEvent(mouse.get());
    performOnView(view_->mouseMoved(e));
    return NS_OK;
}

nsresult kyMozillaBrowserChrome::KeyUp(nsIDOMEvent* event) {
    nsPtr<nsIDOMKeyEvent> key = QueryAs<nsIDOMKeyEvent>(event);
    if (!key || !view_)
        return NS_OK;
    AKeyEvent e = ConvertDomKeyEvent(key.get());
    performOnView(view_->keyToCommand(e));
    return NS_OK;
}

nsresult kyMozillaBrowserChrome::Observe(nsISupports*, const char* topic, const PRUnichar* data) {
    if (!view_ || !topic || std::strcmp(topic, "KYTOPIC") != 0)
        return NS_OK;
    AMozillaObserveEvent event;
    event.topic = topic;
    event.data = UnicharToAString(data);
    view_->dispatchEvent(&event);
    return NS_OK;
}

AShowMozillaWindowCommand::AShowMozillaWindowCommand(AWindow* window, int16_t raise)
    : ACommand(window, 0, 1), window_(window), raise_(raise) {}

void AShowMozillaWindowCommand::execute() {
    if (!window_)
        return;
    if (raise_ && window_->hasFlags(ADisplayComponent::kShown))
        window_->select();
    else
        window_->showUpdate();
}
