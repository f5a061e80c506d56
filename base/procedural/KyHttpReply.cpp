// kyhttp: sending the request and reading the reply (status line, header, body).
#include "base/procedural/KyHttp.h"

#include "base/procedural/BAlloc.h"
#include "base/procedural/KyFile.h"
#include "base/procedural/KyWinsock.h"
#include "base/procedural/Trace.h"

#include <cctype>
#include <cstring>
#include <string>

namespace {

long g_timeoutMs = 30000;

int SocketReceive(void* context, char* buffer, int size) {
    return KY_WsRecv(*static_cast<SOCKET*>(context), buffer, size, 0);
}

// The request as traced: the values of credential lines are masked.
std::string Masked(const char* request) {
    std::string out;
    const char* p = request;
    while (*p) {
        const char* end = std::strchr(p, '\n');
        size_t n = end ? static_cast<size_t>(end - p + 1) : std::strlen(p);
        std::string line(p, n);
        for (const char* name : {"Authorization:", "Proxy-Authorization:"}) {
            size_t len = std::strlen(name);
            if (_strnicmp(line.c_str(), name, len) == 0) {
                line = std::string(line, 0, len) + " ********" + (line.back() == '\n' ? "\r\n" : "");
                break;
            }
        }
        out += line;
        p += n;
    }
    return out;
}

void CloseFailed(KY_HttpConnection* c) {
    if (c->socket != INVALID_SOCKET)
        KY_WsCloseSocket(c->socket);
    c->socket = INVALID_SOCKET;
    c->state = KY_HTTP_FAILED;
}

// Waits for data within the time-out; 0 when some can be read, else 1015 after its trace lines.
int WaitReadable(KY_HttpConnection* c, const KY_HttpReceiver& source) {
    int w = source.wait(source.context, g_timeoutMs);
    if (w > 0)
        return 0;
    if (w < 0) {
        TraceLevel(0, "KYHTTP: Unexpected select error on %d \n", static_cast<int>(c->socket));
        TraceLevel(0, "HTTP: Windows Socket Error : %d.\n", KY_WsGetLastError());
    } else {
        TraceLevel(0, "KYHTTP: Timed out\n");
    }
    return KY_HTTP_READ_FAILED;
}

// Places in a chunked body:
//   size line (hex, optional ";extension") CRLF, that many bytes, CRLF, ...
//   "0" CRLF, trailer lines, empty line
enum { kChunkSize = 0, kChunkData, kChunkDataEnd, kChunkTrailer, kChunkDone };
const int kChunkLineMax = 4096;  // a longer size or trailer line: 1015

void ResetBody(KY_HttpConnection* c) {
    c->bodyLength = 0;
    c->lengthGiven = 0;
    c->bodySeen = 0;
    c->chunkLeft = 0;
    c->chunked = 0;
    c->chunkState = kChunkSize;
    c->lineLength = 0;
    c->line[0] = 0;
}

// Adds a character to the line being read (its start kept, CRs dropped).
void KeepLineChar(KY_HttpConnection* c, char ch) {
    if (ch == '\r')
        return;
    if (c->lineLength < static_cast<int>(sizeof c->line) - 1) {
        c->line[c->lineLength] = ch;
        c->line[c->lineLength + 1] = 0;
    }
    ++c->lineLength;
}

bool LineCut(const KY_HttpConnection* c) {
    return c->lineLength >= static_cast<int>(sizeof c->line) - 1;
}

// The framing a header line gives: "Content-Length: N", "Transfer-Encoding: ... chunked".
void ReadHeaderLine(KY_HttpConnection* c) {
    const char kLength[] = "Content-Length:", kEncoding[] = "Transfer-Encoding:";
    if (_strnicmp(c->line, kLength, sizeof kLength - 1) == 0 && !LineCut(c)) {
        const char* p = c->line + sizeof kLength - 1;
        p += std::strspn(p, " \t");
        long long value = 0;
        const char* digits = p;
        for (; std::isdigit(static_cast<unsigned char>(*p)) && p - digits < 15; ++p)
            value = value * 10 + (*p - '0');
        p += std::strspn(p, " \t");
        if (p > digits && !*p) {
            c->bodyLength = value;
            c->lengthGiven = 1;
        }
    } else if (_strnicmp(c->line, kEncoding, sizeof kEncoding - 1) == 0) {
        for (const char* p = c->line; *p; ++p)
            if (_strnicmp(p, "chunked", 7) == 0)
                c->chunked = 1;
    }
}

int PassOn(const char* data, long n, KY_HttpConverter converter, void* output) {
    int r = converter ? converter(data, n, output) : KY_HttpDefaultConvert(data, n, output);
    if (r != 0) {
        if (converter)
            TraceLevel(0, "KYHTTP: Error in userConvert %d\n", r);
        else
            TraceLevel(0, "KYHTTP: Error in default convert\n");
        return KY_HTTP_CONVERT_FAILED;
    }
    return 0;
}

// A whole size, data end or trailer line of a chunked body.
int ReadChunkLine(KY_HttpConnection* c) {
    if (c->lineLength > kChunkLineMax) {
        TraceLevel(0, "KYHTTP: Chunk line longer than %d bytes\n", kChunkLineMax);
        return KY_HTTP_READ_FAILED;
    }
    bool empty = c->lineLength == 0;
    c->lineLength = 0;
    if (c->chunkState == kChunkDataEnd) {
        if (!empty) {
            TraceLevel(0, "KYHTTP: Chunk longer than its size\n");
            return KY_HTTP_READ_FAILED;
        }
        c->chunkState = kChunkSize;
    } else if (c->chunkState == kChunkTrailer) {
        if (empty)
            c->chunkState = kChunkDone;
    } else {
        const char* p = c->line + std::strspn(c->line, " \t");
        const char* digits = p;
        long long size = 0;
        for (; std::isxdigit(static_cast<unsigned char>(*p)) && p - digits < 12; ++p)
            size = size * 16 + (std::isdigit(static_cast<unsigned char>(*p)) ? *p - '0' : (*p | 0x20) - 'a' + 10);
        p += std::strspn(p, " \t");
        if (p == digits || (*p && *p != ';')) {
            TraceLevel(0, "KYHTTP: Bad chunk size line\n");
            return KY_HTTP_READ_FAILED;
        }
        c->chunkLeft = size;
        c->chunkState = size > 0 ? kChunkData : kChunkTrailer;
    }
    c->line[0] = 0;
    return 0;
}

int DeliverChunks(KY_HttpConnection* c, const char* data, long n, KY_HttpConverter converter, void* output) {
    for (long i = 0; i < n;) {
        if (c->chunkState == kChunkDone)
            return 0;  // what follows the last chunk is no part of the body
        if (c->chunkState == kChunkData) {
            long take = c->chunkLeft < n - i ? static_cast<long>(c->chunkLeft) : n - i;
            c->chunkLeft -= take;
            c->bodySeen += take;
            if (int r = PassOn(data + i, take, converter, output))
                return r;
            i += take;
            if (c->chunkLeft == 0)
                c->chunkState = kChunkDataEnd;
            continue;
        }
        char ch = data[i++];
        if (ch != '\n') {
            KeepLineChar(c, ch);
            if (c->lineLength > kChunkLineMax)
                return ReadChunkLine(c);
            continue;
        }
        if (int r = ReadChunkLine(c))
            return r;
    }
    return 0;
}

bool BodyComplete(const KY_HttpConnection* c) {
    if (c->headerPending)
        return false;
    return c->chunked ? c->chunkState == kChunkDone : c->lengthGiven && c->bodySeen >= c->bodyLength;
}

// At the end of the stream: 0, or 1015 for a body shorter than its framing.
int BodyEnded(const KY_HttpConnection* c) {
    if (c->headerPending || BodyComplete(c))
        return 0;
    if (c->chunked) {
        TraceLevel(0, "KYHTTP: Reply ends before its last chunk\n");
        return KY_HTTP_READ_FAILED;
    }
    if (c->lengthGiven) {
        TraceLevel(0, "KYHTTP: Reply ends after %s of its %s bytes\n", std::to_string(c->bodySeen).c_str(),
                   std::to_string(c->bodyLength).c_str());
        return KY_HTTP_READ_FAILED;
    }
    return 0;
}

// Hands the body part of a block to the converter. While the header is pending,
// bytes up to its blank line ("\n\n" or "\n\r\n", possibly split over blocks)
// are read for the body's framing, dropped and counted against kHttpHeaderMax.
int Deliver(KY_HttpConnection* c, const char* data, long n, KY_HttpConverter converter, void* output,
            bool first) {
    if (c->headerPending) {
        long i = 0;
        for (; i < n && c->headerPending; ++i) {
            char ch = data[i];
            if (ch == '\n') {
                ReadHeaderLine(c);
                c->lineLength = 0;
                c->line[0] = 0;
            } else {
                KeepLineChar(c, ch);
            }
            if (c->blankState == 1 && ch == '\n')
                c->headerPending = 0;
            else if (c->blankState == 2 && ch == '\n')
                c->headerPending = 0;
            else if (c->blankState == 1 && ch == '\r')
                c->blankState = 2;
            else
                c->blankState = ch == '\n' ? 1 : 0;
        }
        c->headerSeen += i;
        if (c->headerPending) {
            if (c->headerSeen > kHttpHeaderMax) {
                TraceLevel(0, "KYHTTP: Header longer than %d bytes\n", kHttpHeaderMax);
                return KY_HTTP_READ_FAILED;
            }
            return 0;
        }
        c->lineLength = 0;
        data += i;
        n -= i;
        if (first && n > 0)
            TraceLevel(0, "KYHTTP: OK Parsing first response of server, len is %ld\n", n);
    }
    if (c->chunked)
        return DeliverChunks(c, data, n, converter, output);
    // Bytes past the announced length are no part of the body.
    if (c->lengthGiven && n > c->bodyLength - c->bodySeen)
        n = static_cast<long>(c->bodyLength - c->bodySeen);
    if (n <= 0)
        return 0;
    c->bodySeen += n;
    return PassOn(data, n, converter, output);
}

// Reads "HTTP/1.0 200 ..." as a version word of at most 20 characters and a
// decimal status; false when the line is no status line.
bool ParseStatus(const char* line, int& status) {
    const char* p = line;
    while (*p == ' ' || *p == '\t')
        ++p;
    const char* word = p;
    while (*p && *p != ' ' && *p != '\t')
        ++p;
    if (p - word > 20 || std::strncmp(word, "HTTP/", 5) != 0)
        return false;
    while (*p == ' ' || *p == '\t')
        ++p;
    bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    if (!std::isdigit(static_cast<unsigned char>(*p)))
        return false;
    long value = 0;
    for (; std::isdigit(static_cast<unsigned char>(*p)) && value < 100000; ++p)
        value = value * 10 + (*p - '0');
    status = static_cast<int>(negative ? -value : value);
    return true;
}

// The value of the first "WWW-authenticate: " line of text, cut to fit challenge.
void KeepChallenge(KY_HttpConnection* c, const char* text) {
    const char kName[] = "WWW-authenticate: ";
    c->challenge[0] = 0;
    for (const char* line = text; line && *line;) {
        if (_strnicmp(line, kName, sizeof kName - 1) == 0) {
            const char* v = line + sizeof kName - 1;
            size_t n = std::strcspn(v, "\r\n");
            if (n > sizeof c->challenge - 1)
                n = sizeof c->challenge - 1;
            std::memcpy(c->challenge, v, n);
            c->challenge[n] = 0;
            return;
        }
        line = std::strchr(line, '\n');
        if (line)
            ++line;
    }
}

int StatusResult(KY_HttpConnection* c, int status, const char* statusLine, const char* received) {
    switch (status / 100) {
    case 3:
        return KY_HTTP_REDIRECTED;
    case 4:
        if (status == 401) {
            TraceLevel(0, "401 : Access Authorization Failure\n###\n%s\n###\n", received);
            KeepChallenge(c, received);
            TraceLevel(0, "%s %d %s\n", "KYHTTP: close socket", static_cast<int>(c->socket),
                       "Access Authorization Failure");
            return KY_HTTP_AUTH_FAILED;
        }
        if (status == 407) {
            TraceLevel(0, "%s %d %s\n", "KYHTTP: close socket", static_cast<int>(c->socket),
                       "Access Authorization Failure on Proxy");
            return KY_HTTP_PROXY_AUTH;
        }
        TraceLevel(0, "KYHTTP: using %s HTTP server replies:\n%s\n\n%s\n", c->address, statusLine, "");
        return KY_HTTP_AUTH_FAILED;
    case 5:
        TraceLevel(0, "KYHTTP: using %s HTTP server replies:\n%s", c->address, statusLine);
        return KY_HTTP_SERVER_ERROR;
    default:
        return KY_HTTP_BAD_STATUS;
    }
}

// Reads up to the first line end, judges the status and delivers what
// followed the header in the first blocks.
int ReadHead(KY_HttpConnection* c, const KY_HttpReceiver& source, KY_HttpConverter converter, void* output) {
    c->headerPending = 1;
    c->headerSeen = 0;
    c->blankState = 0;
    ResetBody(c);
    long capacity = 1024, used = 0;
    char* buffer = static_cast<char*>(KY_Malloc(capacity));
    if (!buffer)
        return KY_HTTP_NO_MEMORY;
    TraceLevel(0, "KYHTTP: Host contacted waiting for reply.\n");
    const char* newline = nullptr;
    while (!newline) {
        if (used > kHttpStatusLineMax) {
            TraceLevel(0, "KYHTTP: No line end in the first %d bytes\n", kHttpStatusLineMax);
            KY_Free(buffer);
            return KY_HTTP_READ_FAILED;
        }
        if (int r = WaitReadable(c, source)) {
            KY_Free(buffer);
            return r;
        }
        if (capacity - used < 256) {
            char* grown = static_cast<char*>(KY_Realloc(buffer, capacity * 2));
            if (!grown) {
                KY_Free(buffer);
                return KY_HTTP_NO_MEMORY;
            }
            buffer = grown;
            capacity *= 2;
        }
        int n = source.receive(source.context, buffer + used, static_cast<int>(capacity - used - 1));
        if (n < 0) {
            TraceLevel(0, "KYHTTP: Unexpected read error on %d\n", static_cast<int>(c->socket));
            TraceLevel(0, "HTTP: Windows Socket Error : %d.\n", KY_WsGetLastError());
            KY_Free(buffer);
            return KY_HTTP_READ_FAILED;
        }
        if (n == 0) {
            if (used == 0) {
                TraceLevel(0, "HTTP: Connection closed by host without data.\n");
                KY_Free(buffer);
                return KY_HTTP_CLOSED_EMPTY;
            }
            TraceLevel(0, "HTTP: Connection closed by host.\n");
            break;
        }
        TraceLevel(0, "HTTP: received %d bytes.\n", n);
        newline = static_cast<const char*>(std::memchr(buffer + used, '\n', static_cast<size_t>(n)));
        used += n;
    }
    buffer[used] = 0;
    long lineLength = newline ? newline - buffer : used;
    std::string statusLine(buffer, static_cast<size_t>(lineLength));
    if (!statusLine.empty() && statusLine.back() == '\r')
        statusLine.pop_back();
    TraceLevel(0, "HTTP: Rx: %.70s\n", statusLine.c_str());

    int status = 0;
    long bodyFrom = 0;
    if (ParseStatus(statusLine.c_str(), status)) {
        if (status / 100 != 2) {
            int r = StatusResult(c, status, statusLine.c_str(), buffer);
            KY_Free(buffer);
            return r;
        }
        // The header starts after the status line: its line end counts toward the blank line.
        bodyFrom = newline ? lineLength + 1 : used;
        c->blankState = 1;
        c->headerSeen = bodyFrom;
    } else {
        // No status line: the text is header (or nothing) up to a blank line, as a CGI program writes it.
        c->blankState = 1;
    }
    int r = Deliver(c, buffer + bodyFrom, used - bodyFrom, converter, output, true);
    KY_Free(buffer);
    return r;
}

int ReadRest(KY_HttpConnection* c, const KY_HttpReceiver& source, KY_HttpConverter converter, void* output) {
    char block[2048];
    for (;;) {
        if (BodyComplete(c))
            return 0;
        if (int r = WaitReadable(c, source))
            return r;
        int n = source.receive(source.context, block, sizeof block);
        if (n < 0) {
            TraceLevel(0, "KYHTTP: Read error, read returns %d\n", n);
            TraceLevel(0, "KYHTTP: Read error, errno is %d\n", KY_WsGetLastError());
            return KY_HTTP_READ_FAILED;
        }
        if (n == 0)
            return BodyEnded(c);
        if (int r = Deliver(c, block, n, converter, output, false))
            return r;
    }
}

}  // namespace

int KY_HttpSocketWait(void* context, long milliseconds) {
    SOCKET s = *static_cast<SOCKET*>(context);
    fd_set readable;
    readable.fd_count = 1;
    readable.fd_array[0] = s;
    timeval limit;
    limit.tv_sec = milliseconds / 1000;
    limit.tv_usec = (milliseconds % 1000) * 1000;
    return KY_WsSelect(static_cast<int>(s) + 1, &readable, nullptr, nullptr, &limit);
}

void KY_HttpSetTimeout(long milliseconds) {
    g_timeoutMs = milliseconds > 0 ? milliseconds : 1;
}

int KY_HttpReadReply(KY_HttpConnection* c, const KY_HttpReceiver& source, KY_HttpConverter converter,
                     void* output) {
    if (!c)
        return KY_HTTP_NO_CONNECTION;
    int r = ReadHead(c, source, converter, output);
    return r ? r : ReadRest(c, source, converter, output);
}

int KY_HttpTransact(KY_HttpConnection* c, KY_HttpConverter converter, void* output) {
    if (!c)
        return KY_HTTP_NO_CONNECTION;
    if (!c->request)
        return KY_HTTP_NO_REQUEST;
    TraceLevel(0, "KYHTTP: contacting host %s, request follows:\n###\n%s\n###\n", c->address,
               Masked(c->request).c_str());
    size_t total = std::strlen(c->request), sent = 0;
    while (sent < total) {
        int n = KY_WsSend(c->socket, c->request + sent, static_cast<int>(total - sent), 0);
        if (n <= 0) {
            TraceLevel(0, "KYHTTP: Unable to send request on %d.\n", static_cast<int>(c->socket));
            TraceLevel(0, "KYHTTP: Windows Socket DLL returns : %d.\n", KY_WsGetLastError());
            CloseFailed(c);
            return KY_HTTP_SEND_FAILED;
        }
        sent += static_cast<size_t>(n);
    }
    KY_HttpReceiver source = {KY_HttpSocketWait, SocketReceive, &c->socket};
    if (int r = ReadHead(c, source, converter, output)) {
        CloseFailed(c);
        return r;
    }
    if (int r = ReadRest(c, source, converter, output)) {
        TraceLevel(0, "KYHTTP: Copy error\n");
        TraceLevel(0, "KYHTTP: Closing Connection\n");
        CloseFailed(c);
        return r;
    }
    TraceLevel(0, "KYHTTP: using %s Document has been accessed\n", c->address);
    return 0;
}

int KY_HttpReadRest(KY_HttpConnection* c, KY_HttpConverter converter, void* output) {
    if (!c)
        return KY_HTTP_NO_CONNECTION;
    KY_HttpReceiver source = {KY_HttpSocketWait, SocketReceive, &c->socket};
    return ReadRest(c, source, converter, output);
}

int KY_HttpDefaultConvert(const char* data, long length, void* output) {
    KY_File* f = static_cast<KY_File*>(output);
    if (!f || !f->ops || !f->ops->write)
        return -1;
    return f->ops->write(f, data, length) == length ? 0 : -1;
}
