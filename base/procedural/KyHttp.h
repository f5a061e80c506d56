// kyhttp: the program's HTTP/1.0 client. One request per connection:
// connect, send one GET, read one reply, close.
//
// Every failure is a result code (below) plus trace lines at level 0; nothing
// is raised. The reply body is handed block by block to a converter, never
// held whole. Credentials never reach the trace: the values of
// "Authorization:" and "Proxy-Authorization:" lines are masked there.
#pragma once

#include <winsock2.h>

enum {
    KY_HTTP_NOT_READY = 1001,       // socket library start: subsystem not ready
    KY_HTTP_STARTUP_FAILED = 1002,  // socket library start: other failure or not version 1.1
    KY_HTTP_NO_MEMORY = 1003,       // no session, no memory, or headers beyond their block
    KY_HTTP_NO_CONNECTION = 1004,
    KY_HTTP_NOT_INITIALISED = 1005,
    KY_HTTP_NO_REQUEST = 1006,
    KY_HTTP_SEND_FAILED = 1007,
    KY_HTTP_HOST_UNKNOWN = 1008,
    KY_HTTP_NO_SOCKET = 1009,
    KY_HTTP_CONNECT_FAILED = 1010,
    KY_HTTP_AUTH_FAILED = 1011,     // 401 or any 4xx but 407
    KY_HTTP_BAD_STATUS = 1012,      // status class other than 2 to 5
    KY_HTTP_REDIRECTED = 1013,      // 3xx, not followed
    KY_HTTP_SERVER_ERROR = 1014,    // 5xx
    KY_HTTP_READ_FAILED = 1015,     // wait or read failed, time-out, over-long status line or header
    KY_HTTP_CONVERT_FAILED = 1016,
    KY_HTTP_CLOSED_EMPTY = 1017,
    KY_HTTP_PROXY_AUTH = 1018       // 407
};

enum { KY_HTTP_CLOSED = 101, KY_HTTP_CONNECTED = 102, KY_HTTP_FAILED = 103 };

// Request kinds of the header block: the Accept line each adds.
enum { KY_HTTP_KIND_SEARCH = 1, KY_HTTP_KIND_DOCUMENT = 2 };

// Limits of the reply reader.
const int kHttpStatusLineMax = 8192;   // a first line longer than this: 1015
const int kHttpHeaderMax = 65536;      // header bytes beyond this without the blank line: 1015
const int kHttpCredentialsMax = 372;   // longest "user:password" the proxy callback may give

// Owned by the session, made by KY_HttpInitSession. Texts are KY_Malloc blocks.
struct KY_HttpConnection {
    long initialised;
    long headerPending;       // 1 until the blank line ending the reply header has passed
    long state;               // KY_HTTP_CLOSED, KY_HTTP_CONNECTED, KY_HTTP_FAILED
    SOCKET socket;            // INVALID_SOCKET when none
    char* url;                // copy of the session URL
    char* address;            // URL contacted: the session URL or proxy + host + path
    char* request;            // last request built (request line, headers, blank line)
    char* authorization;      // "Authorization: ..." without line end, or null
    char* proxyAuthorization; // "Proxy-Authorization: ..." without line end, or null
    char* proxy;
    char challenge[52];       // WWW-authenticate value of the last 401 (cut to 51 characters)
    long headerSeen;          // header bytes read while headerPending, for the cap
    int blankState;           // progress through a blank line split across blocks
    // The body's framing, read from the header: a reply shorter than its
    // "Content-Length", or chunked without its last chunk, is 1015.
    long long bodyLength;     // "Content-Length" value, when lengthGiven
    long long bodySeen;       // body bytes handed on
    long long chunkLeft;      // bytes left in the current chunk
    int lengthGiven;          // 1 when the header held a "Content-Length"
    int chunked;              // 1 for "Transfer-Encoding: chunked"
    int chunkState;           // place in the chunk framing (KyHttpReply.cpp)
    int lineLength;           // bytes of the header or chunk line being read
    char line[64];            // its start, NUL-terminated
};

// Filled by the caller; texts are not owned by the session.
struct KY_HttpSession {
    const char* url;          // "http://host[:port]"
    const char* referer;      // or null
    const char* userAgent;    // or null: the module's banner
    const char* script;       // server program path the query is appended to
    const char* user;         // or null
    const char* password;     // or null
    const char* proxy;        // or null; non-null routes every request through it
    const char* credentials;  // already encoded, used when user is null
    KY_HttpConnection* connection;  // owned; null before KY_HttpInitSession
    long connected;
    long result;
};

// Takes (data, byte count, output); answers 0 to go on, anything else stops with 1016.
typedef int (*KY_HttpConverter)(const char* data, long length, void* output);
// (code, buffer of 500 bytes, retry count): writes "user:password" (at most
// kHttpCredentialsMax characters, terminated) and answers 1, or answers 0.
typedef int (*KY_HttpAuthFunction)(int code, char* buffer, int retry);

// The proxy-credentials callback installed by the application; null: none.
extern KY_HttpAuthFunction KY_HttpAuthCallback;

int KY_HttpStartup(int installHook);
int KY_HttpStartupDefault();
int KY_HttpCleanup();
// Wait limit of every socket wait of a reply, in milliseconds (30000 by default).
void KY_HttpSetTimeout(long milliseconds);

int KY_HttpInitSession(KY_HttpSession* session);
int KY_HttpFreeSession(KY_HttpSession* session);
int KY_HttpOpen(KY_HttpSession* session);
int KY_HttpConnect(KY_HttpConnection* connection);
int KY_HttpCloseSocket(KY_HttpConnection* connection);

// *out receives the header block (a KY_Malloc block the caller frees), or null with 1003.
int KY_HttpHeaders(KY_HttpConnection* connection, char** out, int kind, const char* referer,
                   const char* userAgent);
int KY_HttpGetSearch(KY_HttpSession* session, const char* query, long number);
int KY_HttpGetDocument(KY_HttpSession* session, long number, const char* text);
int KY_HttpGetUrl(KY_HttpSession* session, int kind, const char* argument, const char* toEscape,
                  const char* suffix);

// A null converter writes to output as a KY_File through KY_HttpDefaultConvert.
int KY_HttpTransact(KY_HttpConnection* connection, KY_HttpConverter converter, void* output);
int KY_HttpReadRest(KY_HttpConnection* connection, KY_HttpConverter converter, void* output);
// Writes the block through the KY_File output's write operation: 0 when all
// bytes were written, -1 otherwise or for a null file.
int KY_HttpDefaultConvert(const char* data, long length, void* output);

int KY_HttpSearch(KY_HttpSession* session, const char* query, long number, KY_HttpConverter converter,
                  void* output);
int KY_HttpFetchDocument(KY_HttpSession* session, long number, const char* text,
                         KY_HttpConverter converter, void* output);
int KY_HttpProxyAuthRetry(KY_HttpSession* session, int retry);

BOOL PASCAL KY_HttpBlockingHook();

// The reply reader over any byte source; the socket is one. wait answers >0
// when data can be read within the time-out, 0 on time-out, <0 on error;
// receive answers bytes read, 0 at the end, <0 on error.
struct KY_HttpReceiver {
    int (*wait)(void* context, long milliseconds);
    int (*receive)(void* context, char* buffer, int size);
    void* context;
};
// The socket's wait: context points to the SOCKET.
int KY_HttpSocketWait(void* context, long milliseconds);
// Reads a whole reply (steps after the request was sent) and, on success,
// the rest of the body. Does not close anything; answers the result code.
int KY_HttpReadReply(KY_HttpConnection* connection, const KY_HttpReceiver& source,
                     KY_HttpConverter converter, void* output);
