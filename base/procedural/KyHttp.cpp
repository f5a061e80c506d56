// kyhttp: sessions, request building, connecting, and the proxy-credential retry.
#include "base/procedural/KyHttp.h"

#include "base/procedural/BAlloc.h"
#include "base/procedural/HtUrl.h"
#include "base/procedural/KyWinsock.h"
#include "base/procedural/Trace.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>

KY_HttpAuthFunction KY_HttpAuthCallback;

namespace {

const char kBanner[] = "KYHTTP/1.0 (Savantorium)";
const int kHeaderBlock = 4000;
const int kHeaderBlockFallback = 3000;

int g_searchRetry;
int g_documentRetry;
volatile int g_cancelled;

// A KY_Malloc block holding the parts one after the other; null parts count as "".
char* Join(std::initializer_list<const char*> parts) {
    size_t n = 1;
    for (const char* p : parts)
        n += p ? std::strlen(p) : 0;
    char* out = static_cast<char*>(KY_Malloc(n));
    if (!out)
        return nullptr;
    char* q = out;
    for (const char* p : parts) {
        size_t len = p ? std::strlen(p) : 0;
        std::memcpy(q, p ? p : "", len);
        q += len;
    }
    *q = 0;
    return out;
}

char* Dup(const char* text) {
    return Join({text});
}

void Replace(char*& field, char* value) {
    KY_Free(field);
    field = value;
}

// For texts that may hold credentials: the heap keeps freed bytes readable.
void WipeAndFree(char* text) {
    if (text)
        SecureZeroMemory(text, std::strlen(text));
    KY_Free(text);
}

void ReplaceSecret(char*& field, char* value) {
    WipeAndFree(field);
    field = value;
}

void FreeConnection(KY_HttpConnection* c) {
    KY_Free(c->url);
    KY_Free(c->address);
    WipeAndFree(c->request);
    WipeAndFree(c->authorization);
    WipeAndFree(c->proxyAuthorization);
    KY_Free(c->proxy);
    KY_Free(c);
}

int CheckSession(const KY_HttpSession* session) {
    if (!session)
        return KY_HTTP_NO_MEMORY;
    if (!session->connection)
        return KY_HTTP_NO_CONNECTION;
    if (!session->connection->initialised)
        return KY_HTTP_NOT_INITIALISED;
    return 0;
}

// "Authorization: Basic <base64 of text>", sized from the encoded length.
char* BasicLine(const char* prefix, const char* text, size_t length) {
    size_t encoded = 4 * ((length + 2) / 3);
    size_t prefixLength = std::strlen(prefix);
    char* line = static_cast<char*>(KY_Malloc(prefixLength + encoded + 1));
    if (!line)
        return nullptr;
    std::memcpy(line, prefix, prefixLength);
    KY_Base64Encode(reinterpret_cast<const unsigned char*>(text), static_cast<int>(length), line + prefixLength);
    return line;
}

// Appends "text\r\n" when it fits in the block (terminator kept); false otherwise.
bool AppendLine(char* block, size_t capacity, size_t& used, const char* a, const char* b = "") {
    size_t la = std::strlen(a), lb = std::strlen(b);
    if (la + lb + 2 >= capacity - used)
        return false;
    std::memcpy(block + used, a, la);
    std::memcpy(block + used + la, b, lb);
    std::memcpy(block + used + la + lb, "\r\n", 3);
    used += la + lb + 2;
    return true;
}

bool StartsWith(const char* text, const char* prefix) {
    return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

// Replaces the connection's request by line + header block of the kind.
int SetRequest(KY_HttpSession* session, int kind, char* line) {
    if (!line)
        return KY_HTTP_NO_MEMORY;
    char* headers = nullptr;
    int r = KY_HttpHeaders(session->connection, &headers, kind, session->referer, session->userAgent);
    if (r == 0) {
        char* request = Join({line, headers});
        if (request)
            ReplaceSecret(session->connection->request, request);
        else
            r = KY_HTTP_NO_MEMORY;
    }
    WipeAndFree(headers);
    KY_Free(line);
    return r;
}

template <class Build>
int Exchange(KY_HttpSession* session, int& retry, Build build, KY_HttpConverter converter, void* output) {
    for (;;) {
        int r = KY_HttpOpen(session);
        if (r)
            return r;
        KY_HttpConnection* c = session->connection;
        r = build();
        if (r == 0)
            r = KY_HttpTransact(c, converter, output);
        session->result = r;
        KY_HttpCloseSocket(c);
        session->connected = 0;
        if (r == KY_HTTP_PROXY_AUTH) {
            TraceLevel(0, "KYHTTP: Proxy Authentication required.\n");
            if (KY_HttpProxyAuthRetry(session, retry) == 0) {
                ++retry;
                continue;
            }
            break;
        }
        retry = 0;
        break;
    }
    if (session->result == KY_HTTP_AUTH_FAILED)
        TraceLevel(0, "KYHTTP: Authentication failed : NOT SUPPORTED.\n");
    else if (session->result)
        TraceLevel(0, "KYHTTP: Error %ld.\n", session->result);
    return static_cast<int>(session->result);
}

}  // namespace

int KY_HttpStartup(int installHook) {
    if (installHook && !KY_WsSelectedBlockingHook())
        KY_WsSelectBlockingHook(reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(KY_HttpBlockingHook)));
    // A second start keeps the first one's state.
    if (KY_WinsockLoaded())
        return 0;
    WSADATA data;
    std::memset(&data, 0, sizeof data);
    int r = KY_LoadWinsock(MAKEWORD(1, 1), &data);
    if (r == 0 && data.wVersion == MAKEWORD(1, 1))
        return 0;
    // A library whose start failed stays loaded otherwise, and the next start would pass as a second one.
    if (KY_WinsockLoaded())
        KY_UnloadWinsock();
    return r == WSASYSNOTREADY ? KY_HTTP_NOT_READY : KY_HTTP_STARTUP_FAILED;
}

int KY_HttpStartupDefault() {
    return KY_HttpStartup(GetModuleHandleA(nullptr) != nullptr);
}

int KY_HttpCleanup() {
    KY_UnloadWinsock();
    KY_WsSelectBlockingHook(nullptr);
    return 0;
}

int KY_HttpInitSession(KY_HttpSession* session) {
    if (!session)
        return KY_HTTP_NO_MEMORY;
    if (session->connection)
        KY_HttpFreeSession(session);
    KY_HttpConnection* c = static_cast<KY_HttpConnection*>(KY_Calloc(1, sizeof(KY_HttpConnection)));
    if (!c)
        return KY_HTTP_NO_MEMORY;
    c->socket = INVALID_SOCKET;
    bool ok = (c->url = Dup(session->url)) && (c->address = Dup(session->url));
    if (ok && session->proxy) {
        ok = (c->proxy = Dup(session->proxy)) != nullptr;
        TraceLevel(0, "KYHTTP: Should use proxy: %s\n", session->proxy);
        // "//host:port/path" without its first slash, resolved against the proxy URL.
        char* hostPath = ok ? HTParse(c->address, "", PARSE_HOST | PARSE_PATH | PARSE_PUNCTUATION) : nullptr;
        char* address = hostPath ? HTParse(hostPath + (hostPath[0] == '/'), c->proxy, PARSE_ALL) : nullptr;
        KY_Free(hostPath);
        ok = address != nullptr;
        if (ok) {
            Replace(c->address, address);
            TraceLevel(0, "KYHTTP: Proxy information : %s\n", c->address);
        }
    }
    if (ok && session->user) {
        char* text = Join({session->user, ":", session->password});
        ok = text != nullptr;
        if (ok) {
            size_t n = std::strlen(text);
            if (session->url && StartsWith(session->url, "ftp"))
                c->authorization = Join({"Authorization: user ", text});
            else
                c->authorization = BasicLine("Authorization: Basic ", text, n);
            ok = c->authorization != nullptr;
            SecureZeroMemory(text, n);
            KY_Free(text);
        }
    } else if (ok && session->credentials) {
        ok = (c->authorization = Join({"Authorization: Basic ", session->credentials})) != nullptr;
    }
    if (!ok) {
        FreeConnection(c);
        return KY_HTTP_NO_MEMORY;
    }
    c->initialised = 1;
    c->state = KY_HTTP_CLOSED;
    session->connection = c;
    session->connected = 0;
    session->result = 0;
    return 0;
}

int KY_HttpFreeSession(KY_HttpSession* session) {
    if (int r = CheckSession(session))
        return r;
    KY_HttpConnection* c = session->connection;
    if (c->socket != INVALID_SOCKET)
        KY_HttpCloseSocket(c);
    FreeConnection(c);
    session->connection = nullptr;
    session->connected = 0;
    return 0;
}

int KY_HttpOpen(KY_HttpSession* session) {
    if (int r = CheckSession(session))
        return r;
    if (session->connected)
        return 0;
    int r = KY_HttpConnect(session->connection);
    session->result = r;
    if (r == 0)
        session->connected = 1;
    return r;
}

int KY_HttpConnect(KY_HttpConnection* c) {
    if (!c)
        return KY_HTTP_NO_CONNECTION;
    if (c->socket != INVALID_SOCKET) {
        KY_WsCloseSocket(c->socket);
        c->socket = INVALID_SOCKET;
    }
    sockaddr_in sa;
    std::memset(&sa, 0, sizeof sa);
    sa.sin_family = AF_INET;
    sa.sin_port = KY_WsHtons(80);
    char* host = HTParse(c->address, "", PARSE_HOST);
    if (!host)
        return KY_HTTP_NO_MEMORY;
    int status = KY_WinsockLoaded() ? KY_ParseHostPort(&sa, host) : -1;
    TraceLevel(0, "KYHTTP: Parsing returns %s, status is %d\n", host, status);
    TraceLevel(0, "KYHTTP: %s information follows\n", host);
    KY_Free(host);
    if (status != 0)
        return KY_HTTP_HOST_UNKNOWN;
    const unsigned char* ip = reinterpret_cast<const unsigned char*>(&sa.sin_addr);
    TraceLevel(0, "KYHTTP: IP address %d.%d.%d.%d\n", ip[0], ip[1], ip[2], ip[3]);
    TraceLevel(0, "KYHTTP: port %d\n", sa.sin_port);

    SOCKET s = KY_WsSocket(AF_INET, SOCK_STREAM, 0);
    if (s == INVALID_SOCKET) {
        int error = KY_WsGetLastError();
        TraceLevel(0, "KYHTTP: Unable to open socket to remote host for `%s' (errno = %d).\n", c->address, error);
        TraceLevel(0, "KYHTTP: Error code from Windows Socket DLL : %d. \n", error);
        return KY_HTTP_NO_SOCKET;
    }
    u_long blocking = 0;
    KY_WsIoctl(s, FIONBIO, &blocking);
    g_cancelled = 0;
    int r = KY_WsConnect(s, reinterpret_cast<const sockaddr*>(&sa), sizeof sa);
    if (r != 0 && !g_cancelled)
        r = KY_WsConnect(s, reinterpret_cast<const sockaddr*>(&sa), sizeof sa);
    if (r != 0) {
        int error = KY_WsGetLastError();
        TraceLevel(0, "KYHTTP: Unable to connect to remote host for `%s' (errno = %d).\n", c->address, error);
        TraceLevel(0, "KYHTTP: Closing socket\n");
        TraceLevel(0, "HTTP: Windows Socket Error : %d.\n", error);
        KY_WsCloseSocket(s);
        c->state = KY_HTTP_FAILED;
        return KY_HTTP_CONNECT_FAILED;
    }
    c->socket = s;
    c->state = KY_HTTP_CONNECTED;
    TraceLevel(0, "KYHTTP: connected socket %d\n", static_cast<int>(s));
    return 0;
}

int KY_HttpCloseSocket(KY_HttpConnection* c) {
    if (!c)
        return KY_HTTP_NO_CONNECTION;
    TraceLevel(0, "KYHTTP: Closing Connection, socket %d\n", static_cast<int>(c->socket));
    if (c->socket != INVALID_SOCKET)
        KY_WsCloseSocket(c->socket);
    c->socket = INVALID_SOCKET;
    c->state = KY_HTTP_CLOSED;
    return 0;
}

int KY_HttpHeaders(KY_HttpConnection* c, char** out, int kind, const char* referer, const char* userAgent) {
    *out = nullptr;
    size_t capacity = kHeaderBlock;
    char* block = static_cast<char*>(KY_Calloc(1, capacity));
    if (!block) {
        capacity = kHeaderBlockFallback;
        block = static_cast<char*>(KY_Calloc(1, capacity));
    }
    if (!block)
        return KY_HTTP_NO_MEMORY;
    size_t used = 0;
    bool ok = AppendLine(block, capacity, used, "User-Agent: ", userAgent ? userAgent : kBanner);
    if (ok && referer)
        ok = AppendLine(block, capacity, used, "Referer: ", referer);
    ok = ok && AppendLine(block, capacity, used, "Accept: text/html");
    if (ok && kind == KY_HTTP_KIND_SEARCH)
        ok = AppendLine(block, capacity, used, "Accept: application/x-kysearch");
    if (ok && kind == KY_HTTP_KIND_DOCUMENT)
        ok = AppendLine(block, capacity, used, "Accept: application/x-kydocument");
    ok = ok && AppendLine(block, capacity, used, "Accept: application/octet-stream");
    ok = ok && AppendLine(block, capacity, used, "Accept: */*");
    if (ok && c && c->authorization)
        ok = AppendLine(block, capacity, used, c->authorization);
    if (ok && c && c->proxyAuthorization)
        ok = AppendLine(block, capacity, used, c->proxyAuthorization);
    ok = ok && AppendLine(block, capacity, used, "");
    if (!ok) {
        SecureZeroMemory(block, capacity);
        KY_Free(block);
        return KY_HTTP_NO_MEMORY;
    }
    *out = block;
    return 0;
}

int KY_HttpGetSearch(KY_HttpSession* session, const char* query, long number) {
    if (int r = CheckSession(session))
        return r;
    KY_HttpConnection* c = session->connection;
    char* escaped = HTEscape(query);
    if (!escaped)
        return KY_HTTP_NO_MEMORY;
    char digits[16];
    std::snprintf(digits, sizeof digits, "%ld", number);
    char* line = c->proxy ? Join({"GET ", c->url, "/", session->script, "?search&", digits, "&", escaped,
                                  " HTTP/1.0\r\n"})
                          : Join({"GET /", session->script, "?search&", digits, "&", escaped, " HTTP/1.0\r\n"});
    KY_Free(escaped);
    return SetRequest(session, KY_HTTP_KIND_SEARCH, line);
}

int KY_HttpGetDocument(KY_HttpSession* session, long number, const char* text) {
    if (int r = CheckSession(session))
        return r;
    KY_HttpConnection* c = session->connection;
    char digits[16];
    std::snprintf(digits, sizeof digits, "%ld", number);
    const char* sep = text ? "&" : "";
    char* line = c->proxy ? Join({"GET ", c->url, "/", session->script, "?docu&", digits, sep, text,
                                  " HTTP/1.0\r\n"})
                          : Join({"GET /", session->script, "?docu&", digits, sep, text, " HTTP/1.0\r\n"});
    return SetRequest(session, KY_HTTP_KIND_DOCUMENT, line);
}

int KY_HttpGetUrl(KY_HttpSession* session, int kind, const char* argument, const char* toEscape,
                  const char* suffix) {
    if (int r = CheckSession(session))
        return r;
    KY_HttpConnection* c = session->connection;
    char* escaped = HTEscape(toEscape);
    if (!escaped)
        return KY_HTTP_NO_MEMORY;
    const char* script = session->script ? session->script : "";
    // Direct requests need the slash as much as proxied ones: "GET script?..." is no request.
    const char* slash = script[0] == '/' ? "" : "/";
    char* line = Join({"GET ", c->proxy ? c->url : "", slash, script, "?", argument, escaped, suffix,
                       " HTTP/1.0\r\n"});
    KY_Free(escaped);
    return SetRequest(session, kind, line);
}

int KY_HttpSearch(KY_HttpSession* session, const char* query, long number, KY_HttpConverter converter,
                  void* output) {
    return Exchange(session, g_searchRetry, [&] { return KY_HttpGetSearch(session, query, number); }, converter,
                    output);
}

int KY_HttpFetchDocument(KY_HttpSession* session, long number, const char* text, KY_HttpConverter converter,
                         void* output) {
    return Exchange(session, g_documentRetry, [&] { return KY_HttpGetDocument(session, number, text); },
                    converter, output);
}

int KY_HttpProxyAuthRetry(KY_HttpSession* session, int retry) {
    if (CheckSession(session) || !KY_HttpAuthCallback)
        return KY_HTTP_PROXY_AUTH;
    char text[500];
    std::memset(text, 0, sizeof text);
    int given = KY_HttpAuthCallback(KY_HTTP_PROXY_AUTH, text, retry);
    // Longer than kHttpCredentialsMax, or unterminated: its base64 form would not fit the line's budget.
    size_t n = given ? strnlen(text, kHttpCredentialsMax + 1) : 0;
    char* line = (n > 0 && n <= static_cast<size_t>(kHttpCredentialsMax))
                     ? BasicLine("Proxy-Authorization: Basic ", text, n)
                     : nullptr;
    SecureZeroMemory(text, sizeof text);
    if (!line)
        return KY_HTTP_PROXY_AUTH;
    TraceLevel(0, "KYHTTP: Got Proxy Authentication retrying.\n");
    ReplaceSecret(session->connection->proxyAuthorization, line);
    return 0;
}

BOOL PASCAL KY_HttpBlockingHook() {
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        return FALSE;
    if (msg.message == WM_KEYDOWN && (GetKeyState(VK_PAUSE) & 0x8000)) {
        KY_WsCancelBlockingCall();
        g_cancelled = 1;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return TRUE;
}
