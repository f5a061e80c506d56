// The runtime layer's web browser: loads a page and its sub-resources over
// the layer's channels on the event queue, tells its listeners in the order
// nsBrowser.h gives, keeps the history and sends the page's forms. Its
// scripts and plug-ins, find and clipboard, saving and printing are in
// nsWebBrowserScript.cpp, nsWebBrowserEdit.cpp and nsWebBrowserSave.cpp.
#include "platform/webrt/nsWebBrowserImpl.h"

#include "platform/webrt/nsChannelBase.h"

#include "base/procedural/AOutStream.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <functional>

namespace webrt {

std::string LowerText(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

void LogError(const std::string& line) {
    CurrentErrorStream().writeString((line + "\n").c_str());
}

bool IsTextField(HWND field) {
    wchar_t name[16] = {};
    GetClassNameW(field, name, 16);
    return lstrcmpiW(name, L"EDIT") == 0;
}

namespace {

// A runnable calling a member function later on the event queue.
class Task : public nsSupportsImpl<nsIRunnable> {
public:
    Task(WebBrowser* browser, std::function<void()> fn) : browser_(browser), fn_(std::move(fn)) {}
    nsresult Run() override {
        fn_();
        return NS_OK;
    }

private:
    nsPtr<WebBrowser> browser_;  // kept alive until the task ran
    std::function<void()> fn_;
};

// Collects the page's reply for the browser.
class PageListener : public nsSupportsImpl<nsIStreamListener> {
public:
    PageListener(WebBrowser* browser, nsIURI* uri, bool historyMove)
        : browser_(browser), uri_(uri), generation_(browser->generation()), historyMove_(historyMove) {}
    nsresult OnStartRequest(nsIRequest*, nsISupports*) override {
        return browser_->current(generation_) ? NS_OK : NS_ERROR_ABORT;
    }
    nsresult OnDataAvailable(nsIRequest* request, nsISupports*, const char* data, PRUint32 count) override {
        if (!browser_->current(generation_))
            return NS_ERROR_ABORT;
        transferring(request);
        size_t room = kHtmlLimit - std::min(kHtmlLimit, body_.size());
        body_.append(data, std::min<size_t>(room, count));
        return NS_OK;
    }
    nsresult OnStopRequest(nsIRequest* request, nsISupports*, nsresult) override {
        if (!browser_->current(generation_))
            return NS_OK;
        transferring(request);
        if (browser_->current(generation_))
            browser_->pageArrived(generation_, uri_.get(), contentType_, body_, historyMove_);
        return NS_OK;
    }

private:
    // Once the reply's head is in (its content type known): the document
    // transfers and the location changes.
    void transferring(nsIRequest* request) {
        if (transferring_)
            return;
        transferring_ = true;
        nsPtr<nsIChannel> channel = QueryAs<nsIChannel>(request);
        if (channel) {
            channel->GetContentType(contentType_);
            // A redirected page is known by its target's address.
            nsPtr<nsIURI> target;
            if (NS_SUCCEEDED(channel->GetURI(target.receive())) && target)
                uri_ = target;
        }
        browser_->notifyState(nsIWebProgressListener::STATE_TRANSFERRING | nsIWebProgressListener::STATE_IS_REQUEST |
                                  nsIWebProgressListener::STATE_IS_DOCUMENT,
                              request);
        browser_->notifyLocation(uri_.get());
    }

    bool transferring_ = false;
    nsPtr<WebBrowser> browser_;
    nsPtr<nsIURI> uri_;
    unsigned generation_;
    bool historyMove_;
    std::string contentType_;
    std::string body_;
};

class ResourceObserver : public nsSupportsImpl<nsIStreamLoaderObserver> {
public:
    ResourceObserver(WebBrowser* browser, size_t index)
        : browser_(browser), index_(index), generation_(browser->generation()) {}
    nsresult OnStreamComplete(nsIStreamLoader*, nsISupports*, nsresult, PRUint32 length,
                              const PRUint8* result) override {
        std::string bytes = result ? std::string(reinterpret_cast<const char*>(result), length) : std::string();
        browser_->resourceDone(generation_, index_, bytes);
        return NS_OK;
    }

private:
    nsPtr<WebBrowser> browser_;
    size_t index_;
    unsigned generation_;
};

}  // namespace

std::string ResolveUrl(const std::string& base, const std::string& relative) {
    size_t colon = relative.find(':');
    size_t slash = relative.find('/');
    if (colon != std::string::npos && (slash == std::string::npos || colon < slash) && colon > 0)
        return relative;  // has its own scheme
    size_t schemeEnd = base.find(':');
    if (schemeEnd == std::string::npos)
        return relative;
    std::string scheme = base.substr(0, schemeEnd + 1);
    if (relative.compare(0, 2, "//") == 0)
        return scheme + relative;
    size_t authorityEnd = schemeEnd + 1;
    if (base.compare(schemeEnd + 1, 2, "//") == 0) {
        authorityEnd = base.find('/', schemeEnd + 3);
        if (authorityEnd == std::string::npos)
            authorityEnd = base.size();
    }
    std::string root = base.substr(0, authorityEnd);
    std::string basePath = base.substr(authorityEnd);
    basePath = basePath.substr(0, basePath.find_first_of("?#"));
    if (relative.empty())
        return base;
    if (relative[0] == '#')
        return root + basePath + relative;
    std::string path;
    if (relative[0] == '/') {
        path = relative;
    } else {
        size_t last = basePath.find_last_of('/');
        path = (last == std::string::npos ? std::string("/") : basePath.substr(0, last + 1)) + relative;
    }
    // Applies "." and ".." segments of the path (not of its query).
    size_t queryAt = path.find_first_of("?#");
    std::string query = queryAt == std::string::npos ? std::string() : path.substr(queryAt);
    path = path.substr(0, queryAt);
    std::vector<std::string> segments;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        std::string segment = path.substr(start, end - start);
        bool last = end == path.size();
        if (segment == "..") {
            if (segments.size() > 1)
                segments.pop_back();
            if (last)
                segments.push_back("");
        } else if (segment == ".") {
            if (last)
                segments.push_back("");
        } else {
            segments.push_back(segment);
        }
        start = end + 1;
    }
    std::string joined;
    for (size_t k = 0; k < segments.size(); ++k)
        joined += (k ? "/" : "") + segments[k];
    if (joined.empty() || joined[0] != '/')
        joined = "/" + joined;
    return root + joined + query;
}

WebBrowser::WebBrowser() = default;

WebBrowser::~WebBrowser() {
    stopPlugins();
    clearPictures();
    if (hwnd_)
        DestroyWindow(hwnd_);
}

nsresult WebBrowser::SetContainerWindow(nsIWebBrowserChrome* chrome) {
    chrome_ = chrome;
    return NS_OK;
}

nsresult WebBrowser::GetContainerWindow(nsIWebBrowserChrome** result) {
    if (!result)
        return NS_ERROR_NULL_POINTER;
    *result = chrome_.get();
    if (*result)
        (*result)->AddRef();
    return NS_OK;
}

nsresult WebBrowser::GetContentDOMWindow(nsIDOMWindow** result) {
    return GetTop(result);
}

nsresult WebBrowser::GetTop(nsIDOMWindow** result) {
    if (!result)
        return NS_ERROR_NULL_POINTER;
    *result = static_cast<nsIDOMWindow*>(this);
    AddRef();
    return NS_OK;
}

nsresult WebBrowser::GetDOMWindow(nsIDOMWindow** result) {
    return GetTop(result);
}

nsresult WebBrowser::AddWebBrowserListener(nsISupports* listener, const nsIID& iid) {
    if (!listener)
        return NS_ERROR_NULL_POINTER;
    if (!iid.Equals(nsIWebProgressListener::GetIID()))
        return NS_ERROR_INVALID_ARG;
    nsPtr<nsIWebProgressListener> l = QueryAs<nsIWebProgressListener>(listener);
    if (!l)
        return NS_NOINTERFACE;
    listeners_.push_back(l);
    return NS_OK;
}

nsresult WebBrowser::AddEventListenerByIID(nsIDOMEventListener* listener, const nsIID& iid) {
    if (!listener)
        return NS_ERROR_NULL_POINTER;
    if (iid.Equals(nsIDOMMouseListener::GetIID())) {
        nsPtr<nsIDOMMouseListener> l = QueryAs<nsIDOMMouseListener>(listener);
        if (!l)
            return NS_NOINTERFACE;
        mouseListeners_.push_back(l);
        return NS_OK;
    }
    if (iid.Equals(nsIDOMKeyListener::GetIID())) {
        nsPtr<nsIDOMKeyListener> l = QueryAs<nsIDOMKeyListener>(listener);
        if (!l)
            return NS_NOINTERFACE;
        keyListeners_.push_back(l);
        return NS_OK;
    }
    return NS_ERROR_INVALID_ARG;
}

nsresult WebBrowser::RemoveEventListenerByIID(nsIDOMEventListener* listener, const nsIID& iid) {
    if (!listener)
        return NS_ERROR_NULL_POINTER;
    if (iid.Equals(nsIDOMMouseListener::GetIID())) {
        nsPtr<nsIDOMMouseListener> l = QueryAs<nsIDOMMouseListener>(listener);
        mouseListeners_.erase(std::remove_if(mouseListeners_.begin(), mouseListeners_.end(),
                                             [&](const nsPtr<nsIDOMMouseListener>& p) { return p.get() == l.get(); }),
                              mouseListeners_.end());
    } else if (iid.Equals(nsIDOMKeyListener::GetIID())) {
        nsPtr<nsIDOMKeyListener> l = QueryAs<nsIDOMKeyListener>(listener);
        keyListeners_.erase(std::remove_if(keyListeners_.begin(), keyListeners_.end(),
                                           [&](const nsPtr<nsIDOMKeyListener>& p) { return p.get() == l.get(); }),
                            keyListeners_.end());
    }
    return NS_OK;
}

nsresult WebBrowser::InitWindow(void* parent, void*, PRInt32 x, PRInt32 y, PRInt32 cx, PRInt32 cy) {
    parent_ = static_cast<HWND>(parent);
    bounds_ = RECT{x, y, x + std::max(0, cx), y + std::max(0, cy)};
    return NS_OK;
}

nsresult WebBrowser::Create() {
    nsresult r;
    nsPtr<nsIEventQueueService> service = GetServiceAs<nsIEventQueueService>(NS_EVENTQUEUESERVICE_CONTRACTID, &r);
    if (!service)
        return NS_FAILED(r) ? r : NS_ERROR_NOT_INITIALIZED;
    r = service->GetThreadEventQueue(NS_CURRENT_THREAD, queue_.receive());
    if (NS_FAILED(r))
        return r;
    return makeWindow() ? NS_OK : NS_ERROR_FAILURE;
}

nsresult WebBrowser::Destroy() {
    ++generation_;
    loading_ = false;
    stopPlugins();
    if (hwnd_) {
        HWND w = hwnd_;
        hwnd_ = nullptr;
        DestroyWindow(w);
    }
    listeners_.clear();
    mouseListeners_.clear();
    keyListeners_.clear();
    chrome_ = nullptr;
    return NS_OK;
}

nsresult WebBrowser::SetPositionAndSize(PRInt32 x, PRInt32 y, PRInt32 cx, PRInt32 cy, PRBool repaint) {
    bounds_ = RECT{x, y, x + std::max(0, cx), y + std::max(0, cy)};
    if (hwnd_) {
        MoveWindow(hwnd_, x, y, std::max(0, cx), std::max(0, cy), repaint ? TRUE : FALSE);
        layout();
    }
    return NS_OK;
}

nsresult WebBrowser::SetVisibility(PRBool visible) {
    visible_ = visible != 0;
    if (hwnd_)
        ShowWindow(hwnd_, visible_ ? SW_SHOWNA : SW_HIDE);
    return NS_OK;
}

nsresult WebBrowser::GetMainWidget(void** result) {
    if (!result)
        return NS_ERROR_NULL_POINTER;
    *result = hwnd_;
    return NS_OK;
}

void WebBrowser::notifyState(PRUint32 flags, nsIRequest* request) {
    std::vector<nsPtr<nsIWebProgressListener>> copy = listeners_;
    for (auto& l : copy)
        l->OnStateChange(this, request, flags, NS_OK);
}

void WebBrowser::notifyLocation(nsIURI* location, bool subFrame) {
    std::vector<nsPtr<nsIWebProgressListener>> copy = listeners_;
    if (subFrame) {
        // A frame's progress: its window is not the top window.
        class Frame : public nsSupportsImpl<nsIWebProgress, nsIDOMWindow> {
        public:
            explicit Frame(WebBrowser* top) : top_(top) {}
            nsresult GetDOMWindow(nsIDOMWindow** result) override {
                *result = static_cast<nsIDOMWindow*>(this);
                AddRef();
                return NS_OK;
            }
            nsresult GetTop(nsIDOMWindow** result) override { return top_->GetTop(result); }

        private:
            nsPtr<WebBrowser> top_;
        };
        nsPtr<Frame> frame(new Frame(this));
        for (auto& l : copy)
            l->OnLocationChange(frame.get(), nullptr, location);
        return;
    }
    for (auto& l : copy)
        l->OnLocationChange(this, nullptr, location);
}

void WebBrowser::notifyStatus(const std::wstring& text) {
    std::vector<nsPtr<nsIWebProgressListener>> copy = listeners_;
    for (auto& l : copy)
        l->OnStatusChange(this, nullptr, NS_OK, text.c_str());
}

void WebBrowser::notifyProgress(PRInt32 current, PRInt32 maximum) {
    std::vector<nsPtr<nsIWebProgressListener>> copy = listeners_;
    for (auto& l : copy)
        l->OnProgressChange(this, nullptr, current, maximum, current, maximum);
}

void WebBrowser::notifyTitle(const std::wstring& title) {
    nsPtr<nsIEmbeddingSiteWindow> site = QueryAs<nsIEmbeddingSiteWindow>(chrome_.get());
    if (site)
        site->SetTitle(title.c_str());
}

void WebBrowser::post(nsIRunnable* event) {
    if (!queue_)
        return;
    queue_->PostEvent(event);
    if (hwnd_)
        SetTimer(hwnd_, 1, 10, nullptr);
}

void WebBrowser::processEvents() {
    if (queue_)
        queue_->ProcessPendingEvents();
}

bool WebBrowser::policyAllows(PRInt32 type, nsIURI* location) {
    nsPtr<nsIContentPolicy> policy = GetServiceAs<nsIContentPolicy>(NS_CONTENTPOLICY_CONTRACTID);
    if (!policy)
        return true;
    PRBool allow = PR_TRUE;
    if (NS_FAILED(policy->ShouldLoad(type, location, nullptr, static_cast<nsIDOMWindow*>(this), &allow)))
        return true;
    return allow != 0;
}

nsresult WebBrowser::LoadURI(const PRUnichar* uri, PRUint32, nsIURI*, nsISupports*, nsISupports*) {
    if (!uri)
        return NS_ERROR_NULL_POINTER;
    return navigate(NS_LossyConvertUTF16toNative(uri), false);
}

nsresult WebBrowser::navigate(const std::string& url, bool historyMove, bool posting, const std::string& postBody) {
    if (LowerText(url.substr(0, 11)) == "javascript:") {
        runScript(Unescape(url.substr(11)));
        return NS_OK;
    }
    nsPtr<nsIURI> uri;
    nsresult r = NS_NewURI(uri.receive(), url);
    if (NS_FAILED(r))
        return r;
    if (!policyAllows(nsIContentPolicy::TYPE_DOCUMENT, uri.get()))
        return NS_OK;  // refused: the page stays
    ++generation_;
    stopPlugins();
    loading_ = true;
    unsigned generation = generation_;
    nsPtr<WebBrowser> self(this);
    post(nsPtr<nsIRunnable>(new Task(this, [self, uri, generation, historyMove, posting, postBody]() {
             if (!self->current(generation))
                 return;
             self->notifyState(nsIWebProgressListener::STATE_START | nsIWebProgressListener::STATE_IS_REQUEST |
                               nsIWebProgressListener::STATE_IS_DOCUMENT | nsIWebProgressListener::STATE_IS_NETWORK);
             nsPtr<nsIChannel> channel;
             nsPtr<PageListener> listener(new PageListener(self.get(), uri.get(), historyMove));
             nsresult open = NS_NewChannel(channel.receive(), uri.get());
             if (NS_SUCCEEDED(open) && posting) {
                 nsPtr<nsIHttpChannel> http = QueryAs<nsIHttpChannel>(channel.get());
                 if (http)
                     http->SetUploadData("application/x-www-form-urlencoded", postBody);
             }
             if (NS_SUCCEEDED(open))
                 open = channel->AsyncOpen(listener.get(), nullptr);
             if (NS_FAILED(open)) {
                 listener->OnStartRequest(nullptr, nullptr);
                 listener->OnStopRequest(nullptr, nullptr, open);
             }
         }))
             .get());
    return NS_OK;
}

void WebBrowser::pageArrived(unsigned generation, nsIURI* uri, const std::string& contentType,
                             const std::string& body, bool historyMove) {
    std::string spec;
    uri->GetSpec(spec);
    currentUri_ = uri;
    currentUrl_ = spec;
    if (!historyMove) {
        if (!history_.empty())
            history_.resize(historyIndex_ + 1);
        history_.push_back(spec);
        historyIndex_ = history_.size() - 1;
    }
    source_ = body;
    bool html = contentType.compare(0, 9, "text/html") == 0 || (contentType.empty() && body.find('<') != std::string::npos);
    document_ = ReadHtml(body, contentType, html);
    clearPictures();
    pictures_.resize(document_.images.size());
    makeControls();
    hasSelection_ = selectAll_ = false;
    scrollY_ = 0;
    resources_.clear();
    for (const HtmlResource& r : document_.resources) {
        FetchedResource f;
        f.type = r.type;
        f.src = r.src;
        f.url = ResolveUrl(spec, r.src);
        resources_.push_back(f);
    }
    layout();
    repaint();
    notifyTitle(document_.title.empty() ? NS_ConvertNativeToUTF16(spec.c_str()) : document_.title);
    outstanding_ = 1;  // held until every request has started
    for (size_t i = 0; i < resources_.size(); ++i) {
        nsPtr<nsIURI> ruri;
        if (NS_FAILED(NS_NewURI(ruri.receive(), resources_[i].url)))
            continue;
        if (!policyAllows(resources_[i].type, ruri.get()))
            continue;
        ruri->GetSpec(resources_[i].url);
        nsPtr<nsIChannel> channel;
        if (NS_FAILED(NS_NewChannel(channel.receive(), ruri.get())))
            continue;
        notifyState(nsIWebProgressListener::STATE_START | nsIWebProgressListener::STATE_IS_REQUEST, channel.get());
        ++outstanding_;
        nsPtr<nsIStreamLoader> loader;
        nsPtr<ResourceObserver> observer(new ResourceObserver(this, i));
        NS_NewStreamLoader(loader.receive(), channel.get(), observer.get(), nullptr);
    }
    startPlugins();
    resourceDone(generation, static_cast<size_t>(-1), std::string());
}

void WebBrowser::resourceDone(unsigned generation, size_t index, const std::string& bytes) {
    if (!current(generation) || outstanding_ == 0)
        return;
    if (index < resources_.size()) {
        resources_[index].bytes = bytes;
        resources_[index].fetched = true;
        bool shown = false;
        for (size_t i = 0; i < document_.images.size() && i < pictures_.size(); ++i) {
            if (document_.images[i].resource != index || pictures_[i].bitmap)
                continue;
            pictures_[i].bitmap = DecodePicture(bytes, pictures_[i].size);
            pictures_[i].failed = !pictures_[i].bitmap;
            shown = true;
        }
        if (shown) {
            layout();
            repaint();
        }
        notifyState(nsIWebProgressListener::STATE_STOP | nsIWebProgressListener::STATE_IS_REQUEST);
    }
    if (--outstanding_ > 0)
        return;
    loading_ = false;
    notifyState(nsIWebProgressListener::STATE_STOP | nsIWebProgressListener::STATE_IS_REQUEST |
                nsIWebProgressListener::STATE_IS_DOCUMENT);
    if (current(generation))
        notifyState(nsIWebProgressListener::STATE_STOP | nsIWebProgressListener::STATE_IS_NETWORK);
}

nsresult WebBrowser::Reload(PRUint32) {
    if (currentUrl_.empty())
        return NS_ERROR_FAILURE;
    return navigate(currentUrl_, true);
}

nsresult WebBrowser::Stop(PRUint32) {
    if (loading_) {
        ++generation_;
        loading_ = false;
        outstanding_ = 0;
        notifyState(nsIWebProgressListener::STATE_STOP | nsIWebProgressListener::STATE_IS_NETWORK);
    }
    return NS_OK;
}

nsresult WebBrowser::GoBack() {
    if (history_.empty() || historyIndex_ == 0)
        return NS_ERROR_FAILURE;
    --historyIndex_;
    return navigate(history_[historyIndex_], true);
}

nsresult WebBrowser::GoForward() {
    if (history_.empty() || historyIndex_ + 1 >= history_.size())
        return NS_ERROR_FAILURE;
    ++historyIndex_;
    return navigate(history_[historyIndex_], true);
}

nsresult WebBrowser::GetCanGoBack(PRBool* result) {
    if (!result)
        return NS_ERROR_NULL_POINTER;
    *result = !history_.empty() && historyIndex_ > 0;
    return NS_OK;
}

nsresult WebBrowser::GetCanGoForward(PRBool* result) {
    if (!result)
        return NS_ERROR_NULL_POINTER;
    *result = !history_.empty() && historyIndex_ + 1 < history_.size();
    return NS_OK;
}

nsresult WebBrowser::GetCurrentURI(nsIURI** result) {
    if (!result)
        return NS_ERROR_NULL_POINTER;
    *result = currentUri_.get();
    if (*result)
        (*result)->AddRef();
    return NS_OK;
}

void WebBrowser::followLink(int link) {
    if (link < 0 || static_cast<size_t>(link) >= document_.links.size())
        return;
    const HtmlLink& l = document_.links[static_cast<size_t>(link)];
    if (LowerText(l.href.substr(0, 11)) == "javascript:") {
        runScript(Unescape(l.href.substr(11)));
        return;
    }
    std::string url = ResolveUrl(currentUrl_, l.href);
    if (l.target == "_blank")
        openWindow(url, nsIWebBrowserChrome::CHROME_DEFAULT);
    else
        navigate(url, false);
}

nsresult WebBrowser::Activate() {
    active_ = true;
    if (hwnd_ && IsWindowVisible(hwnd_) && GetFocus() != hwnd_)
        SetFocus(hwnd_);
    return NS_OK;
}

nsresult WebBrowser::Deactivate() {
    active_ = false;
    return NS_OK;
}

void WebBrowser::clearPictures() {
    for (PagePicture& picture : pictures_)
        if (picture.bitmap)
            DeleteObject(picture.bitmap);
    pictures_.clear();
}

void WebBrowser::submitForm(int control) {
    if (control < 0 || static_cast<size_t>(control) >= document_.controls.size())
        return;
    int form = document_.controls[control].form;
    std::vector<std::wstring> values(document_.controls.size());
    std::vector<bool> checked(document_.controls.size());
    for (size_t i = 0; i < document_.controls.size(); ++i) {
        values[i] = document_.controls[i].value;
        checked[i] = document_.controls[i].checked;
        HWND field = i < fields_.size() ? fields_[i] : nullptr;
        if (!field)
            continue;
        if (document_.controls[i].kind == HtmlControl::kCheckbox) {
            checked[i] = SendMessageW(field, BM_GETCHECK, 0, 0) == BST_CHECKED;
        } else if (IsTextField(field)) {
            int length = GetWindowTextLengthW(field);
            std::wstring text(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
            text.resize(static_cast<size_t>(std::max(GetWindowTextW(field, &text[0], length + 1), 0)));
            values[i] = text;
        }
    }
    std::string query = FormQuery(document_, form, values, checked, control);
    std::string action = form >= 0 && static_cast<size_t>(form) < document_.forms.size()
                             ? document_.forms[form].action
                             : std::string();
    std::string url = ResolveUrl(currentUrl_, action.empty() ? currentUrl_ : action);
    url = url.substr(0, url.find('#'));
    if (form >= 0 && static_cast<size_t>(form) < document_.forms.size() && document_.forms[form].post) {
        navigate(url, false, true, query);
        return;
    }
    navigate(url.substr(0, url.find('?')) + "?" + query, false);
}

nsresult WebBrowser::SetProperty(PRUint32 id, PRUint32 value) {
    if (id == SETUP_ALLOW_PLUGINS)
        allowPlugins_ = value != 0;
    else if (id == SETUP_IS_CHROME_WRAPPER)
        chromeWrapper_ = value != 0;
    return NS_OK;
}

}  // namespace webrt

nsresult NS_NewWebBrowser(nsIWebBrowser** result) {
    if (!result)
        return NS_ERROR_NULL_POINTER;
    *result = static_cast<nsIWebBrowser*>(new webrt::WebBrowser);
    (*result)->AddRef();
    return NS_OK;
}

std::string NS_GetShownText(nsIWebBrowser* browser) {
    auto* b = static_cast<webrt::WebBrowser*>(browser);
    std::string out;
    if (!b)
        return out;
    for (size_t p = 0; p < b->document_.paragraphs.size(); ++p)
        out += NS_LossyConvertUTF16toNative(b->document_.paragraphText(p)) + "\n";
    return out;
}

nsresult NS_EmitNotifications(nsIWebBrowser* browser, const char* sequence) {
    auto* b = static_cast<webrt::WebBrowser*>(browser);
    if (!b || !sequence)
        return NS_ERROR_NULL_POINTER;
    typedef nsIWebProgressListener L;
    std::string all = sequence;
    // Checked whole first: a bad item sends nothing.
    std::vector<std::pair<std::string, std::string>> items;
    size_t start = 0;
    while (start <= all.size()) {
        size_t end = all.find(';', start);
        if (end == std::string::npos)
            end = all.size();
        std::string item = all.substr(start, end - start);
        start = end + 1;
        if (item.empty())
            continue;
        size_t colon = item.find(':');
        std::string name = item.substr(0, colon);
        std::string value = colon == std::string::npos ? std::string() : item.substr(colon + 1);
        static const char* const known[] = {"start-net", "start-req", "transfer-doc", "transfer-req",
                                            "stop-req",  "stop-doc",  "stop-net",     "location",
                                            "subframe-location", "title", "status", "progress"};
        bool ok = false;
        for (const char* k : known)
            ok = ok || name == k;
        if (!ok)
            return NS_ERROR_INVALID_ARG;
        items.emplace_back(name, value);
    }
    nsPtr<webrt::WebBrowser> keep(b);
    for (const auto& item : items) {
        const std::string& name = item.first;
        const std::string& value = item.second;
        if (name == "start-net")
            b->notifyState(L::STATE_START | L::STATE_IS_REQUEST | L::STATE_IS_DOCUMENT | L::STATE_IS_NETWORK);
        else if (name == "start-req")
            b->notifyState(L::STATE_START | L::STATE_IS_REQUEST);
        else if (name == "transfer-doc") {
            // The content type the document's request reports: the value, "text/html" by default.
            class Request : public nsSupportsImpl<nsIChannel> {
            public:
                explicit Request(const std::string& type) : type_(type) {}
                nsresult GetStatus(nsresult* r) override {
                    *r = NS_OK;
                    return NS_OK;
                }
                nsresult GetURI(nsIURI** r) override {
                    *r = nullptr;
                    return NS_ERROR_NOT_AVAILABLE;
                }
                nsresult GetContentType(nsACString& r) override {
                    r = type_;
                    return NS_OK;
                }
                nsresult AsyncOpen(nsIStreamListener*, nsISupports*) override { return NS_ERROR_NOT_IMPLEMENTED; }
                nsresult SetNotificationCallbacks(nsIInterfaceRequestor*) override { return NS_OK; }

            private:
                std::string type_;
            };
            nsPtr<Request> request(new Request(value.empty() ? "text/html" : value));
            b->notifyState(L::STATE_TRANSFERRING | L::STATE_IS_REQUEST | L::STATE_IS_DOCUMENT, request.get());
        } else if (name == "transfer-req")
            b->notifyState(L::STATE_TRANSFERRING | L::STATE_IS_REQUEST);
        else if (name == "stop-req")
            b->notifyState(L::STATE_STOP | L::STATE_IS_REQUEST);
        else if (name == "stop-doc")
            b->notifyState(L::STATE_STOP | L::STATE_IS_REQUEST | L::STATE_IS_DOCUMENT);
        else if (name == "stop-net")
            b->notifyState(L::STATE_STOP | L::STATE_IS_NETWORK);
        else if (name == "location" || name == "subframe-location") {
            nsPtr<nsIURI> uri;
            if (NS_SUCCEEDED(NS_NewURI(uri.receive(), value)))
                b->notifyLocation(uri.get(), name != "location");
        } else if (name == "title")
            b->notifyTitle(NS_ConvertNativeToUTF16(value.c_str()));
        else if (name == "status")
            b->notifyStatus(NS_ConvertNativeToUTF16(value.c_str()));
        else if (name == "progress") {
            long cur = std::strtol(value.c_str(), nullptr, 10);
            size_t slash = value.find('/');
            long max = slash == std::string::npos ? 0 : std::strtol(value.c_str() + slash + 1, nullptr, 10);
            b->notifyProgress(static_cast<PRInt32>(cur), static_cast<PRInt32>(max));
        }
    }
    return NS_OK;
}
