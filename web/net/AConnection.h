// A connection: one conversation with a web server over the program's HTTP
// module. open makes the request record (server, referer, user agent,
// credentials, proxy URL), connect opens the socket, request sends a GET and
// copies the reply body into a caller's buffer, retrying while the proxy
// asks for authentication; release frees the record. Subclasses that fetch
// whole URLs some other way override the virtual operations.
//
// The connection owns its record and the record's texts (KY_Malloc blocks).
// Every failing step shows the network alert (ShowNetworkError) and answers
// false; operations that need a record assert it ("wnet").
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/object/AString.h"

struct KY_File;
struct KY_HttpSession;

class AConnection {
public:
    // The reply buffer of request: 2048 bytes, of which at most 2047 of text.
    static const size_t kReplySize = 2048;
    // Longest proxy address that fits the 256-byte proxy URL behind "http://".
    static const size_t kProxyUrlSize = 256;

    // Each text may be null (empty). host: a host, host:port or URL prefix.
    AConnection(const char* host, const char* user, const char* password, const char* referer,
                const char* userAgent);
    // Releases the record.
    virtual ~AConnection();
    AConnection(const AConnection&) = delete;
    AConnection& operator=(const AConnection&) = delete;

    // True when the subclass fetches whole URLs itself (fetchUrl).
    virtual bool fetchesUrls() { return false; }
    virtual bool connect();
    virtual bool close();
    virtual bool isReady() { return true; }
    // buffer: kReplySize bytes, NUL-terminated; the body is added behind its text.
    virtual bool request(char* buffer, const char* argument, const char* text, const char* suffix);
    virtual bool fetchUrl(const char* path, const char* query, char* buffer);
    virtual bool fetchUrlToStream(const char* path, const char* query, KY_File* stream);

    // Makes a new record (releasing the one held); each text may be null.
    // A proxy address without the scheme is put behind "http://".
    bool open(const char* proxyAddress, const char* credentials, const char* userAgent);
    void setPath(const char* path);
    // True when nothing was held or the HTTP module freed it without error.
    bool release();

    // The HTTP module's body converter: adds the block behind the text of
    // output (kReplySize bytes), dropping what passes its 2047th byte; -1 without output.
    static int copyReply(const char* data, long length, void* output);

    KY_HttpSession* session() const { return session_; }
    bool isOpen() const { return open_ != 0; }
    AString getHost() const { return host_; }
    AString getReferer() const { return referer_; }
    AString getUserAgent() const { return userAgent_; }

protected:
    KY_HttpSession* requireSession(long line) const;

private:
    void freeSession();

    KY_HttpSession* session_ = nullptr;  // owned, with its texts
    AString host_;
    AString user_;
    AString password_;
    AString referer_;
    AString userAgent_;
    uint16_t open_ = 0;
};
