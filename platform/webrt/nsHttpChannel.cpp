// The runtime layer's "http:" channel over the program's HTTP client: one GET
// (or POST) per exchange, through the proxy the preferences name, again with
// the credentials the reader gives on a 401 or 407, again at the target of a
// redirect.
#include "platform/webrt/nsChannelBase.h"
#include "platform/webrt/nsPrompts.h"
#include "platform/webrt/nsWebBrowserImpl.h"

#include "base/procedural/BAlloc.h"
#include "base/procedural/KyHttp.h"
#include "base/procedural/KyWinsock.h"
#include "base/procedural/SystemSeams.h"
#include "base/procedural/Trace.h"

#include <windows.h>

#include <cstring>
#include <map>
#include <utility>
#include <vector>

namespace webrt {

namespace {

const size_t kHeadLimit = kHttpHeaderMax + kHttpStatusLineMax;
const int kAuthAttempts = 3;

typedef std::vector<std::pair<std::string, std::string>> Headers;

// A proxy's "user:password" by "http://host:port", kept for the rest of the
// run once the proxy took them.
std::map<std::string, std::string>& ProxyCredentials() {
    static std::map<std::string, std::string> credentials;
    return credentials;
}

bool IsRedirect(PRUint32 status) {
    return status == 301 || status == 302 || status == 303 || status == 307;
}

// Reads the socket for the HTTP client and keeps the reply's head (status
// line and header lines, up to the blank line) for the channel.
struct Capture {
    SOCKET socket;
    std::string head;
    bool headDone = false;
};

int CaptureWait(void* context, long milliseconds) {
    return KY_HttpSocketWait(&static_cast<Capture*>(context)->socket, milliseconds);
}

int CaptureReceive(void* context, char* buffer, int size) {
    Capture* c = static_cast<Capture*>(context);
    int n = KY_WsRecv(c->socket, buffer, size, 0);
    if (n > 0 && !c->headDone) {
        c->head.append(buffer, static_cast<size_t>(n));
        size_t end = c->head.find("\r\n\r\n");
        size_t lf = c->head.find("\n\n");
        end = end == std::string::npos ? lf : (lf == std::string::npos ? end : std::min(end, lf));
        if (end != std::string::npos) {
            c->head.erase(end);
            c->headDone = true;
        } else if (c->head.size() > kHeadLimit) {
            c->headDone = true;  // the client refuses such a head itself
        }
    }
    return n;
}

// "HTTP/1.x NNN reason" then "Name: value" lines; false without a status line.
bool ParseHead(const std::string& head, PRUint32& status, Headers& headers) {
    headers.clear();
    size_t start = 0;
    bool first = true;
    bool haveStatus = false;
    while (start <= head.size()) {
        size_t end = head.find('\n', start);
        std::string line = head.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (first) {
            first = false;
            if (line.compare(0, 5, "HTTP/") == 0) {
                size_t space = line.find(' ');
                if (space != std::string::npos && space + 4 <= line.size()) {
                    std::string code = line.substr(space + 1, 3);
                    if (code.find_first_not_of("0123456789") == std::string::npos) {
                        status = static_cast<PRUint32>(std::stoi(code));
                        haveStatus = true;
                    }
                }
            }
        } else {
            size_t colon = line.find(':');
            if (colon != std::string::npos && colon > 0) {
                size_t v = line.find_first_not_of(" \t", colon + 1);
                headers.emplace_back(line.substr(0, colon), v == std::string::npos ? "" : line.substr(v));
            }
        }
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return haveStatus;
}

int DropBox(void*, const char*, const char*, unsigned) {
    return IDOK;
}

// The HTTP client traces every exchange. Before the program has a trace log
// (tools, early start-up) a trace line becomes a modal error box, and a page
// load would wait on a box nobody sees: for the exchange, those lines are dropped.
class QuietTrace {
public:
    QuietTrace() {
        KY_File* sink = TraceSetSink(nullptr);
        TraceSetSink(sink);
        if (sink)
            return;
        saved_ = Seams().messageBox;
        Seams().messageBox = DropBox;
        quiet_ = true;
    }
    ~QuietTrace() {
        if (quiet_)
            Seams().messageBox = saved_;
    }
    QuietTrace(const QuietTrace&) = delete;
    QuietTrace& operator=(const QuietTrace&) = delete;

private:
    int (*saved_)(void*, const char*, const char*, unsigned) = nullptr;
    bool quiet_ = false;
};

bool SameName(const std::string& a, const char* b) {
    return _stricmp(a.c_str(), b) == 0;
}

nsresult VisitAll(const Headers& headers, nsIHttpHeaderVisitor* visitor) {
    if (!visitor)
        return NS_ERROR_NULL_POINTER;
    for (const auto& h : headers) {
        nsresult r = visitor->VisitHeader(h.first, h.second);
        if (NS_FAILED(r))
            return NS_OK;
    }
    return NS_OK;
}

char* MallocCopy(const std::string& text) {
    char* p = static_cast<char*>(KY_Malloc(text.size() + 1));
    if (p)
        std::memcpy(p, text.c_str(), text.size() + 1);
    return p;
}

void Wipe(std::string& text) {
    if (!text.empty())
        SecureZeroMemory(&text[0], text.size());
    text.clear();
}

class HttpChannel : public ChannelBase<nsIHttpChannel> {
public:
    explicit HttpChannel(nsIURI* uri) : ChannelBase<nsIHttpChannel>(uri) {}
    ~HttpChannel() override {
        Wipe(user_);
        Wipe(password_);
        Wipe(proxyCredentials_);
    }

    nsresult GetResponseStatus(PRUint32* result) override {
        if (!result)
            return NS_ERROR_NULL_POINTER;
        if (!haveStatus_)
            return NS_ERROR_NOT_AVAILABLE;
        *result = responseStatus_;
        return NS_OK;
    }
    nsresult VisitRequestHeaders(nsIHttpHeaderVisitor* visitor) override {
        return VisitAll(requestHeaders_, visitor);
    }
    nsresult VisitResponseHeaders(nsIHttpHeaderVisitor* visitor) override {
        return VisitAll(responseHeaders_, visitor);
    }
    nsresult SetUploadData(const nsACString& contentType, const nsACString& body) override {
        post_ = true;
        uploadType_ = contentType.empty() ? "application/x-www-form-urlencoded" : contentType;
        upload_ = body;
        return NS_OK;
    }

protected:
    nsresult load() override {
        if (!KY_WinsockLoaded() && KY_HttpStartup(0) != 0)
            return NS_ERROR_NOT_AVAILABLE;
        readProxy();
        auto kept = ProxyCredentials().find(proxy_);
        if (kept != ProxyCredentials().end())
            proxyCredentials_ = kept->second;
        for (int attempt = 0, redirects = 0;;) {
            nsresult r = exchange();
            if (NS_SUCCEEDED(r) && haveStatus_ && responseStatus_ != 407 && !proxy_.empty() &&
                !proxyCredentials_.empty())
                ProxyCredentials()[proxy_] = proxyCredentials_;
            if (NS_SUCCEEDED(r) && haveStatus_ && IsRedirect(responseStatus_)) {
                if (++redirects > NS_HTTP_REDIRECT_LIMIT || !followRedirect())
                    return NS_OK;  // the 3xx stays the answer
                continue;
            }
            if (NS_FAILED(r) || !haveStatus_ || (responseStatus_ != 401 && responseStatus_ != 407))
                return r;
            // A proxy's demand without a proxy of ours (a server or a
            // transparent proxy on the way): nobody to give credentials to.
            if (responseStatus_ == 407 && proxy_.empty())
                return NS_ERROR_FAILURE;
            if (attempt++ >= kAuthAttempts || !askCredentials())
                return NS_OK;
        }
    }

private:
    // The channel moves to the "Location" of the reply; false when there is
    // none usable (another scheme, no host).
    bool followRedirect() {
        std::string location, spec;
        for (const auto& h : responseHeaders_) {
            if (SameName(h.first, "Location"))
                location = h.second;
        }
        uri_->GetSpec(spec);
        if (location.empty())
            return false;
        nsPtr<nsIURI> target;
        std::string scheme;
        if (NS_FAILED(NS_NewURI(target.receive(), ResolveUrl(spec, location))) ||
            NS_FAILED(target->GetScheme(scheme)) || scheme != "http")
            return false;
        std::string host, oldHost;
        target->GetHost(host);
        uri_->GetHost(oldHost);
        if (host != oldHost) {
            Wipe(user_);  // a site's credentials stay with that site
            Wipe(password_);
        }
        uri_ = target;
        if (post_ && responseStatus_ != 307) {
            post_ = false;
            upload_.clear();
        }
        return true;
    }

    static int Convert(const char* data, long length, void* output) {
        HttpChannel* self = static_cast<HttpChannel*>(output);
        // The listener may ask the content type of its first block: the head is in by then.
        if (self->capture_ && self->capture_->headDone)
            self->readHead(*self->capture_);
        self->deliverResult_ = self->deliver(data, static_cast<PRUint32>(length));
        self->received_ += static_cast<PRUint32>(length);
        self->progress(self->received_, self->expected_);
        return NS_FAILED(self->deliverResult_) ? 1 : 0;
    }

    // "network.proxy.type" 1 routes through "network.proxy.http":"network.proxy.http_port".
    void readProxy() {
        proxy_.clear();
        nsPtr<nsIPref> prefs = GetServiceAs<nsIPref>(NS_PREF_CONTRACTID);
        if (!prefs)
            return;
        PRInt32 type = 0, port = 0;
        char* host = nullptr;
        prefs->GetIntPref("network.proxy.type", &type);
        prefs->GetIntPref("network.proxy.http_port", &port);
        prefs->GetCharPref("network.proxy.http", &host);
        if (type == 1 && host && host[0] && port > 0 && port < 65536)
            proxy_ = "http://" + std::string(host) + ":" + std::to_string(port);
        nsMemory::Free(host);
    }

    nsresult exchange() {
        std::string host, path, spec;
        PRInt32 port = -1;
        uri_->GetHost(host);
        uri_->GetPath(path);
        uri_->GetSpec(spec);
        uri_->GetPort(&port);
        if (host.empty())
            return NS_ERROR_MALFORMED_URI;
        size_t hash = path.find('#');
        if (hash != std::string::npos)
            path.erase(hash);
        hash = spec.find('#');
        if (hash != std::string::npos)
            spec.erase(hash);
        std::string hostPort = port > 0 ? host + ":" + std::to_string(port) : host;
        std::string origin = "http://" + hostPort;

        QuietTrace quiet;
        KY_HttpSession session;
        std::memset(&session, 0, sizeof session);
        session.url = origin.c_str();
        session.proxy = proxy_.empty() ? nullptr : proxy_.c_str();
        session.user = user_.empty() ? nullptr : user_.c_str();
        session.password = password_.c_str();
        if (KY_HttpInitSession(&session) != 0)
            return NS_ERROR_OUT_OF_MEMORY;
        status(NS_NET_STATUS_CONNECTING_TO, host);
        nsresult r = send(session, (proxy_.empty() ? path : spec), hostPort);
        if (NS_SUCCEEDED(r))
            status(NS_NET_STATUS_RECEIVING_FROM, host);
        received_ = 0;
        expected_ = 0xFFFFFFFFu;
        if (NS_SUCCEEDED(r)) {
            Capture capture;
            capture.socket = session.connection->socket;
            KY_HttpReceiver receiver = {CaptureWait, CaptureReceive, &capture};
            deliverResult_ = NS_OK;
            capture_ = &capture;
            int result = KY_HttpReadReply(session.connection, receiver, Convert, this);
            capture_ = nullptr;
            readHead(capture);
            r = ReplyResult(result, haveStatus_, deliverResult_);
        }
        KY_HttpCloseSocket(session.connection);
        KY_HttpFreeSession(&session);
        return r;
    }

    void readHead(const Capture& capture) {
        haveStatus_ = ParseHead(capture.head, responseStatus_, responseHeaders_);
        for (const auto& h : responseHeaders_) {
            if (SameName(h.first, "Content-Type"))
                contentType_ = h.second.substr(0, h.second.find(';'));
            else if (SameName(h.first, "Content-Length") && !h.second.empty() &&
                     h.second.find_first_not_of("0123456789") == std::string::npos && h.second.size() < 10)
                expected_ = static_cast<PRUint32>(std::stoul(h.second));
        }
    }

    nsresult send(KY_HttpSession& session, const std::string& target, const std::string& hostPort) {
        int open = KY_HttpOpen(&session);
        if (open == KY_HTTP_HOST_UNKNOWN)
            return NS_ERROR_UNKNOWN_HOST;
        if (open != 0)
            return NS_ERROR_CONNECTION_REFUSED;
        KY_HttpConnection* c = session.connection;
        if (!proxyCredentials_.empty() && !proxy_.empty()) {
            std::vector<char> encoded(4 * ((proxyCredentials_.size() + 2) / 3) + 1);
            KY_Base64Encode(reinterpret_cast<const unsigned char*>(proxyCredentials_.data()),
                            static_cast<int>(proxyCredentials_.size()), encoded.data());
            c->proxyAuthorization = MallocCopy("Proxy-Authorization: Basic " + std::string(encoded.data()));
            SecureZeroMemory(encoded.data(), encoded.size());
            if (!c->proxyAuthorization)
                return NS_ERROR_OUT_OF_MEMORY;
        }
        char* block = nullptr;
        if (KY_HttpHeaders(c, &block, 0, nullptr, nullptr) != 0)
            return NS_ERROR_OUT_OF_MEMORY;
        std::string request = (post_ ? "POST " : "GET ") + target + " HTTP/1.0\r\nHost: " + hostPort + "\r\n";
        if (post_)
            request += "Content-Type: " + uploadType_ + "\r\nContent-Length: " + std::to_string(upload_.size()) + "\r\n";
        request += block;
        size_t headEnd = request.size();
        if (post_)
            request += upload_;
        SecureZeroMemory(block, std::strlen(block));
        KY_Free(block);
        keepRequestHeaders(request.substr(0, headEnd));
        c->request = MallocCopy(request);
        SecureZeroMemory(&request[0], request.size());
        if (!c->request)
            return NS_ERROR_OUT_OF_MEMORY;
        size_t total = std::strlen(c->request), sent = 0;
        while (sent < total) {
            int n = KY_WsSend(c->socket, c->request + sent, static_cast<int>(total - sent), 0);
            if (n <= 0)
                return NS_ERROR_NET_INTERRUPT;
            sent += static_cast<size_t>(n);
        }
        return NS_OK;
    }

    void keepRequestHeaders(const std::string& request) {
        Headers all;
        PRUint32 ignored = 0;
        ParseHead(request.substr(0, request.find("\r\n\r\n")), ignored, all);
        requestHeaders_.clear();
        for (const auto& h : all) {
            if (!SameName(h.first, "Authorization") && !SameName(h.first, "Proxy-Authorization"))
                requestHeaders_.push_back(h);
        }
    }

    // The client's code as the channel's status: a reply with a status line
    // is a success whatever its status; the caller reads the status.
    static nsresult ReplyResult(int result, bool haveStatus, nsresult delivered) {
        if (result == 0)
            return NS_OK;
        if (result == KY_HTTP_CONVERT_FAILED)
            return NS_FAILED(delivered) ? delivered : NS_ERROR_FAILURE;
        if (haveStatus && (result == KY_HTTP_AUTH_FAILED || result == KY_HTTP_PROXY_AUTH ||
                           result == KY_HTTP_REDIRECTED || result == KY_HTTP_SERVER_ERROR ||
                           result == KY_HTTP_BAD_STATUS))
            return NS_OK;
        if (result == KY_HTTP_NO_MEMORY)
            return NS_ERROR_OUT_OF_MEMORY;
        return NS_ERROR_NET_INTERRUPT;
    }

    // Asks the reader through the window watcher's prompter; false when none is given.
    bool askCredentials() {
        bool forProxy = responseStatus_ == 407;
        std::string realm;
        for (const auto& h : responseHeaders_) {
            if (SameName(h.first, forProxy ? "Proxy-Authenticate" : "WWW-Authenticate"))
                realm = h.second;
        }
        size_t q = realm.find("realm=\"");
        realm = q == std::string::npos ? std::string() : realm.substr(q + 7, realm.find('"', q + 7) - q - 7);
        std::string host;
        uri_->GetHost(host);
        std::string text = (forProxy ? "Le proxy " + proxy_.substr(7) : "Le site " + host) +
                           " demande un nom et un mot de passe" + (realm.empty() ? "" : " pour \"" + realm + "\"") +
                           ".";
        nsPtr<nsIWindowWatcher> watcher = GetServiceAs<nsIWindowWatcher>(NS_WINDOWWATCHER_CONTRACTID);
        nsPtr<nsIAuthPrompt> prompter;
        if (!watcher || NS_FAILED(watcher->GetNewAuthPrompter(nullptr, prompter.receive())) || !prompter)
            return false;
        PRUnichar* user = nullptr;
        PRUnichar* password = nullptr;
        PRBool ok = PR_FALSE;
        nsString wideText = NS_ConvertNativeToUTF16(text.c_str());
        nsString wideRealm = NS_ConvertNativeToUTF16(realm.c_str());
        nsresult r = prompter->PromptUsernameAndPassword(L"Authentification", wideText.c_str(), wideRealm.c_str(),
                                                         nsIAuthPrompt::SAVE_PASSWORD_NEVER, &user, &password,
                                                         &ok);
        std::string u = NS_LossyConvertUTF16toNative(user);
        std::string p = NS_LossyConvertUTF16toNative(password);
        if (user)
            SecureZeroMemory(user, NS_UnicharLength(user) * sizeof(PRUnichar));
        if (password)
            SecureZeroMemory(password, NS_UnicharLength(password) * sizeof(PRUnichar));
        nsMemory::Free(user);
        nsMemory::Free(password);
        if (NS_FAILED(r) || !ok || u.empty()) {
            Wipe(u);
            Wipe(p);
            return false;
        }
        if (forProxy) {
            Wipe(proxyCredentials_);
            proxyCredentials_ = u + ":" + p;
        } else {
            Wipe(user_);
            Wipe(password_);
            user_ = u;
            password_ = p;
        }
        Wipe(u);
        Wipe(p);
        return true;
    }

    std::string proxy_;  // "http://host:port", empty for a direct request
    std::string user_, password_, proxyCredentials_;
    bool haveStatus_ = false;
    PRUint32 responseStatus_ = 0;
    Headers requestHeaders_, responseHeaders_;
    nsresult deliverResult_ = NS_OK;
    Capture* capture_ = nullptr;  // the reply being read, during KY_HttpReadReply
    bool post_ = false;
    std::string uploadType_, upload_;
    PRUint32 received_ = 0, expected_ = 0xFFFFFFFFu;
};

}  // namespace

nsresult NewHttpChannel(nsIURI* uri, nsIChannel** result) {
    *result = new HttpChannel(uri);
    (*result)->AddRef();
    return NS_OK;
}

}  // namespace webrt

void NS_ForgetSessionCredentials() {
    for (auto& kept : webrt::ProxyCredentials())
        webrt::Wipe(kept.second);
    webrt::ProxyCredentials().clear();
}
