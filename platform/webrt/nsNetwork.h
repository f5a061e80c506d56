// Replaces the web runtime's network interfaces, which this program cannot
// ship: URIs, channels for "file:", "about:blank" and "http:", and the stream
// loader that collects a whole body.
//
// A channel opened with AsyncOpen does its work when its event is handled on
// the thread's event queue (nsIEventQueue): it calls OnStartRequest, then
// OnDataAvailable for each block, then OnStopRequest exactly once, failures
// included. "http:" goes through the program's HTTP client (KyHttp), honours
// "network.proxy.type" 1 with "network.proxy.http" and "network.proxy.http_port",
// asks the window watcher's authentication prompter on a 401 or 407 (a
// proxy's credentials are kept for the rest of the run), and follows the
// redirects 301, 302, 303 and 307, at most NS_HTTP_REDIRECT_LIMIT of them.
#pragma once

#include "platform/webrt/nsStrings.h"

class nsIURI : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0401, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x40, 0x01)
    // The scheme in lower case, without ":".
    virtual nsresult GetScheme(nsACString& result) = 0;
    // Host without port; empty for schemes without one.
    virtual nsresult GetHost(nsACString& result) = 0;
    // -1 when the text gives none.
    virtual nsresult GetPort(PRInt32* result) = 0;
    // "/path?query" for schemes with a host, else what follows the ":".
    virtual nsresult GetPath(nsACString& result) = 0;
    virtual nsresult GetSpec(nsACString& result) = 0;
    virtual nsresult SetSpec(const nsACString& spec) = 0;
};

// NS_ERROR_MALFORMED_URI for a text without a scheme or with a bad port.
nsresult NS_NewURI(nsIURI** result, const nsACString& spec);

class nsIRequest : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0402, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x40, 0x02)
    virtual nsresult GetStatus(nsresult* result) = 0;
};

class nsIStreamListener : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0403, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x40, 0x03)
    virtual nsresult OnStartRequest(nsIRequest* request, nsISupports* context) = 0;
    // A failure answered here ends the load with that code.
    virtual nsresult OnDataAvailable(nsIRequest* request, nsISupports* context, const char* data,
                                     PRUint32 count) = 0;
    virtual nsresult OnStopRequest(nsIRequest* request, nsISupports* context, nsresult status) = 0;
};

class nsIInterfaceRequestor : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0701, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x70, 0x01)
    virtual nsresult GetInterface(const nsIID& iid, void** result) = 0;
};

// What a channel tells its notification callbacks while it works.
class nsIProgressEventSink : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0409, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x40, 0x09)
    // maximum is 0xFFFFFFFF when the reply gives no length.
    virtual nsresult OnProgress(nsIRequest* request, nsISupports* context, PRUint32 progress, PRUint32 maximum) = 0;
    virtual nsresult OnStatus(nsIRequest* request, nsISupports* context, nsresult status,
                              const PRUnichar* argument) = 0;
};

// The status codes of OnStatus (the argument is the host).
const nsresult NS_NET_STATUS_CONNECTING_TO = 0x804B0007;
const nsresult NS_NET_STATUS_SENDING_TO = 0x804B0005;
const nsresult NS_NET_STATUS_RECEIVING_FROM = 0x804B0006;

const int NS_HTTP_REDIRECT_LIMIT = 10;

class nsIChannel : public nsIRequest {
public:
    NS_WEBRT_IID(nsIRequest, 0x5e0b0404, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x40, 0x04)
    virtual nsresult GetURI(nsIURI** result) = 0;
    // Known once the load has started: from the reply for "http:", from the
    // extension for "file:", "text/html" for "about:blank".
    virtual nsresult GetContentType(nsACString& result) = 0;
    // Once per channel; NS_ERROR_ALREADY_INITIALIZED the second time.
    virtual nsresult AsyncOpen(nsIStreamListener* listener, nsISupports* context) = 0;
    // Asked for nsIProgressEventSink while the channel works; held until the load ends.
    virtual nsresult SetNotificationCallbacks(nsIInterfaceRequestor* callbacks) = 0;
};

class nsIHttpHeaderVisitor : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0405, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x40, 0x05)
    // A failure stops the visit.
    virtual nsresult VisitHeader(const nsACString& header, const nsACString& value) = 0;
};

class nsIHttpChannel : public nsIChannel {
public:
    NS_WEBRT_IID(nsIChannel, 0x5e0b0406, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x40, 0x06)
    // NS_ERROR_NOT_AVAILABLE until a reply's status line was read.
    virtual nsresult GetResponseStatus(PRUint32* result) = 0;
    // The header lines of the last request sent; credential lines are left out.
    virtual nsresult VisitRequestHeaders(nsIHttpHeaderVisitor* visitor) = 0;
    virtual nsresult VisitResponseHeaders(nsIHttpHeaderVisitor* visitor) = 0;
    // A body to send by POST instead of a GET (before AsyncOpen). A 301, 302
    // or 303 answer to it is followed by a GET; a 307 posts again.
    virtual nsresult SetUploadData(const nsACString& contentType, const nsACString& body) = 0;
};

// Forgets the credentials kept for the run (tests; a new proxy setting keeps
// its own anyway).
void NS_ForgetSessionCredentials();

// NS_ERROR_UNKNOWN_PROTOCOL for a scheme other than "file", "about" and "http".
nsresult NS_NewChannel(nsIChannel** result, nsIURI* uri);

class nsIStreamLoader;

class nsIStreamLoaderObserver : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0407, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x40, 0x07)
    // The whole body (not owned, valid during the call); length 0 on failure.
    virtual nsresult OnStreamComplete(nsIStreamLoader* loader, nsISupports* context, nsresult status,
                                      PRUint32 length, const PRUint8* result) = 0;
};

class nsIStreamLoader : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0408, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x40, 0x08)
    virtual nsresult GetRequest(nsIRequest** result) = 0;
};

// Opens the channel and calls the observer's OnStreamComplete exactly once,
// from the event queue, also when the channel cannot be opened (then with
// that failure and length 0, and the code is answered here as well).
nsresult NS_NewStreamLoader(nsIStreamLoader** result, nsIChannel* channel, nsIStreamLoaderObserver* observer,
                            nsISupports* context);
