// Connections over the HTTP module.
#include "web/net/AConnection.h"

#include <cstdio>
#include <cstring>

#include "base/procedural/AError.h"
#include "base/procedural/BAlloc.h"
#include "base/procedural/KyHttp.h"
#include "base/procedural/Trace.h"
#include "web/net/AppNetManager.h"
#include "web/net/NetStrings.h"

namespace {

// Failure of the record's allocation.
const long kNoRecord = 110;

// A copy of a non-empty text, or null; *ok goes false when memory is short.
char* DupOrNull(const AString& text, bool* ok) {
    if (text.empty())
        return nullptr;
    char* copy = KY_StrDup(text.c_str(), "wnet", 40);
    if (!copy)
        *ok = false;
    return copy;
}

char* Dup(const char* text, bool* ok) {
    return DupOrNull(AString(text), ok);
}

void FreeText(const char*& text, bool secret) {
    if (text && secret)
        WipeBytes(const_cast<char*>(text), std::strlen(text));
    KY_Free(const_cast<char*>(text));
    text = nullptr;
}

}  // namespace

AConnection::AConnection(const char* host, const char* user, const char* password, const char* referer,
                         const char* userAgent)
    : host_(host), user_(user), password_(password), referer_(referer), userAgent_(userAgent) {}

AConnection::~AConnection() {
    release();
    WipeString(password_);
}

KY_HttpSession* AConnection::requireSession(long line) const {
    if (!session_)
        ThrowAssert("wnet", line);
    return session_;
}

bool AConnection::open(const char* proxyAddress, const char* credentials, const char* userAgent) {
    release();
    auto* s = static_cast<KY_HttpSession*>(KY_Calloc(1, sizeof(KY_HttpSession)));
    if (!s) {
        ShowNetworkError(nullptr, kNoRecord);
        return false;
    }
    session_ = s;
    if (host_.empty()) {
        freeSession();
        ShowNetworkError(nullptr, 0);
        return false;
    }
    bool ok = true;
    s->url = DupOrNull(host_, &ok);
    s->referer = DupOrNull(referer_, &ok);
    s->userAgent = (userAgent && *userAgent) ? Dup(userAgent, &ok) : DupOrNull(userAgent_, &ok);
    if (credentials && *credentials) {
        s->credentials = Dup(credentials, &ok);
    } else if (!user_.empty()) {
        s->user = DupOrNull(user_, &ok);
        // An empty password is still sent: "user:".
        s->password = KY_StrDup(password_.c_str(), "wnet", 85);
        ok = ok && s->password != nullptr;
    }
    long failure = ok ? 0 : KY_HTTP_NO_MEMORY;
    if (ok && proxyAddress && *proxyAddress) {
        // An address too long for the proxy URL is refused, never cut.
        char url[kProxyUrlSize];
        int n = std::snprintf(url, sizeof url, HasHttpScheme(proxyAddress) ? "%s" : "http://%s", proxyAddress);
        if (n < 0 || static_cast<size_t>(n) >= sizeof url)
            failure = KY_HTTP_NO_MEMORY;
        else
            s->proxy = Dup(url, &ok);
        if (!ok)
            failure = KY_HTTP_NO_MEMORY;
    }
    if (failure == 0)
        failure = KY_HttpInitSession(s);
    if (failure != 0) {
        freeSession();
        ShowNetworkError(nullptr, failure);
        return false;
    }
    open_ = 1;
    return true;
}

void AConnection::setPath(const char* path) {
    KY_HttpSession* s = requireSession(130);
    bool ok = true;
    char* copy = Dup(path, &ok);
    FreeText(s->script, false);
    s->script = copy;
}

bool AConnection::release() {
    if (!session_)
        return true;
    int r = session_->connection ? KY_HttpFreeSession(session_) : 0;
    freeSession();
    return r == 0;
}

void AConnection::freeSession() {
    KY_HttpSession* s = session_;
    session_ = nullptr;
    open_ = 0;
    if (!s)
        return;
    if (s->connection)
        KY_HttpFreeSession(s);
    FreeText(s->url, false);
    FreeText(s->user, true);
    FreeText(s->password, true);
    FreeText(s->proxy, false);
    FreeText(s->credentials, true);
    FreeText(s->script, false);
    FreeText(s->referer, false);
    FreeText(s->userAgent, false);
    KY_Free(s);
}

bool AConnection::connect() {
    KY_HttpSession* s = requireSession(160);
    int r = KY_HttpConnect(s->connection);
    if (r != 0) {
        ShowNetworkError(s, r);
        return false;
    }
    return true;
}

bool AConnection::close() {
    KY_HttpSession* s = requireSession(170);
    KY_HttpCloseSocket(s->connection);
    return true;
}

// No fixed bound on the passes: the reader ends them by cancelling the
// authentication dialog, the proxy by accepting the credentials.
bool AConnection::request(char* buffer, const char* argument, const char* text, const char* suffix) {
    KY_HttpSession* s = requireSession(180);
    // A refused attempt's body is not part of the reply.
    size_t start = buffer ? strnlen(buffer, kReplySize - 1) : 0;
    int r = KY_HttpGetUrl(s, 0, argument, text, suffix);
    if (r == 0)
        r = KY_HttpTransact(s->connection, &AConnection::copyReply, buffer);
    for (int attempt = 0; r == KY_HTTP_PROXY_AUTH; ++attempt) {
        if (KY_HttpProxyAuthRetry(s, attempt) != 0)
            break;
        if (buffer)
            buffer[start] = 0;
        r = KY_HttpGetUrl(s, 0, argument, text, suffix);
        if (r == 0)
            r = KY_HttpConnect(s->connection);
        if (r == 0)
            r = KY_HttpTransact(s->connection, &AConnection::copyReply, buffer);
    }
    if (r != 0) {
        ShowNetworkError(s, r);
        return false;
    }
    return true;
}

bool AConnection::fetchUrl(const char* path, const char* query, char* buffer) {
    (void)path;
    (void)query;
    (void)buffer;
    return false;
}

bool AConnection::fetchUrlToStream(const char* path, const char* query, KY_File* stream) {
    (void)path;
    (void)query;
    (void)stream;
    return false;
}

int AConnection::copyReply(const char* data, long length, void* output) {
    if (!output)
        return -1;
    char* buffer = static_cast<char*>(output);
    size_t used = strnlen(buffer, kReplySize - 1);
    if (data && length > 0) {
        size_t n = kReplySize - 1 - used;
        if (static_cast<size_t>(length) < n)
            n = static_cast<size_t>(length);
        std::memcpy(buffer + used, data, n);
        used += n;
    }
    buffer[used] = 0;
    return 0;
}
