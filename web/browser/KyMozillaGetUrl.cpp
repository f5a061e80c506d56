// URL fetching through the runtime layer: the stream load, its observer and
// notification callbacks, the two sinks and the network trace.
#include "web/browser/KyMozillaGetUrl.h"

#include "base/procedural/AOutStream.h"
#include "base/object/AFileStream.h"
#include "base/object/ATextOutStream.h"
#include "base/procedural/KyFile.h"
#include "framework/app/AApp.h"
#include "platform/webrt/nsBrowser.h"
#include "platform/webrt/nsComponents.h"

#include <windows.h>

#include <cstring>
#include <string>

namespace {

KyMozillaNetLogFlag g_netLogFlag = nullptr;
uint32_t g_fetchTimeout = 60000;

bool NetLogOn() {
    return g_netLogFlag && g_netLogFlag() && AApp::current() && AApp::current()->getLogObject();
}

void NetLog(const std::string& text) {
    if (!NetLogOn())
        return;
    ATextOutStream* log = AApp::current()->getLogObject();
    log->writeString(text.c_str());
    if (log->file())
        KY_FileFlush(log->file());
}

void ErrorLine(const std::string& text) {
    CurrentErrorStream().writeString(text.c_str());
}

class MyStreamLoaderObserver : public nsSupportsImpl<nsIStreamLoaderObserver> {
public:
    MyStreamLoaderObserver(KyMozillaSink sink, void* data)
        : sink_(sink ? sink : KyMozillaStreamSink), data_(data), visitor_(new AHttpHeaderVisitor) {}

    nsresult OnStreamComplete(nsIStreamLoader* loader, nsISupports*, nsresult, PRUint32 length,
                              const PRUint8* result) override {
        resultLength_ = length;
        if (data_)
            sink_(reinterpret_cast<const char*>(result), result ? length : 0, data_);
        std::string body = result ? std::string(reinterpret_cast<const char*>(result), length) : std::string();
        std::string preview = body.size() < 100 ? body : body.substr(0, 100) + ".....";
        nsPtr<nsIRequest> request;
        if (loader)
            loader->GetRequest(request.receive());
        if (nsPtr<nsIHttpChannel> http = QueryAs<nsIHttpChannel>(request.get())) {
            http->GetResponseStatus(&status_);
            if (NetLogOn()) {
                NetLog("OnStreamComplete ");
                visitor_->setKind(1);
                http->VisitRequestHeaders(visitor_.get());
                NetLog(" ResponseStatus= " + std::to_string(status_) + "\n");
                NetLog(" resultLen= " + std::to_string(length) + "\n");
                NetLog(" ResponseContent= " + preview + "\n");
                visitor_->setKind(2);
                http->VisitResponseHeaders(visitor_.get());
            }
        }
        done_ = true;
        return NS_OK;
    }
    bool done() const { return done_; }
    PRUint32 resultLength() const { return resultLength_; }

private:
    KyMozillaSink sink_;
    void* data_;
    PRUint32 status_ = 0;
    PRUint32 resultLength_ = 0;
    bool done_ = false;
    nsPtr<AHttpHeaderVisitor> visitor_;
};

// The channel's notification callbacks: its progress and status on the
// error stream, and the window watcher's authentication prompter.
class MyNotifications : public nsSupportsImpl<nsIInterfaceRequestor, nsIProgressEventSink> {
public:
    nsresult GetInterface(const nsIID& iid, void** result) override {
        if (!result)
            return NS_ERROR_NULL_POINTER;
        *result = nullptr;
        if (iid.Equals(nsIAuthPrompt::GetIID())) {
            if (!prompter_) {
                nsPtr<nsIWindowWatcher> watcher = GetServiceAs<nsIWindowWatcher>(NS_WINDOWWATCHER_CONTRACTID);
                if (watcher)
                    watcher->GetNewAuthPrompter(nullptr, prompter_.receive());
            }
            if (!prompter_)
                return NS_NOINTERFACE;
            prompter_->AddRef();
            *result = prompter_.get();
            return NS_OK;
        }
        return QueryInterface(iid, result);
    }
    nsresult OnProgress(nsIRequest*, nsISupports*, PRUint32 progress, PRUint32 maximum) override {
        ErrorLine("progress: " + std::to_string(progress) + "/" + std::to_string(maximum) + "\n");
        return NS_OK;
    }
    nsresult OnStatus(nsIRequest*, nsISupports*, nsresult status, const PRUnichar*) override {
        ErrorLine("status: " + std::to_string(status) + "\n");
        return NS_OK;
    }

private:
    nsPtr<nsIAuthPrompt> prompter_;
};

}  // namespace

int KyMozillaCopySink(const char* bytes, uint32_t count, void* copyBuffer) {
    auto* buffer = static_cast<KyMozillaCopyBuffer*>(copyBuffer);
    if (!buffer || !buffer->data || buffer->size == 0)
        return -1;
    uint32_t n = count < buffer->size - 1 ? count : buffer->size - 1;
    if (bytes)
        std::strncpy(buffer->data, bytes, n);
    else
        n = 0;
    std::memset(buffer->data + n, 0, buffer->size - n);
    return 0;
}

int KyMozillaStreamSink(const char* bytes, uint32_t count, void* stream) {
    auto* s = static_cast<AFileStream*>(stream);
    if (!s)
        return -1;
    if (count == 0)
        return 0;
    try {
        long written = s->write(bytes, static_cast<long>(count));
        return written == static_cast<long>(count) ? 0 : -1;
    } catch (...) {
        return -1;
    }
}

void KyMozillaSetNetLogFlag(KyMozillaNetLogFlag flag) {
    g_netLogFlag = flag;
}

void KyMozillaSetFetchTimeout(uint32_t milliseconds) {
    g_fetchTimeout = milliseconds;
}

nsresult AHttpHeaderVisitor::VisitHeader(const nsACString& header, const nsACString& value) {
    NetLog(std::string(kind_ == 1 ? "RequestHeader" : "ResponseHeader") + " => " + header + " " + value + "\n");
    return NS_OK;
}

int KyMozillaStreamLoad(const char* url, KyMozillaSink sink, void* sinkData) {
    if (!url)
        return static_cast<int>(NS_ERROR_NULL_POINTER);
    NetLog(std::string("KyMozillaStreamLoad Url=") + url + "\n");
    nsresult r;
    nsPtr<nsIEventQueueService> service = GetServiceAs<nsIEventQueueService>(NS_EVENTQUEUESERVICE_CONTRACTID, &r);
    if (!service) {
        ErrorLine("do_GetService(EventQueueService): failed - " + std::to_string(static_cast<long>(r)) + "\n");
        return static_cast<int>(NS_FAILED(r) ? r : NS_ERROR_FAILURE);
    }
    nsPtr<nsIEventQueue> queue;
    r = service->GetThreadEventQueue(NS_CURRENT_THREAD, queue.receive());
    if (NS_FAILED(r)) {
        ErrorLine("GetThreadEventQueue: failed - " + std::to_string(static_cast<long>(r)) + "\n");
        return static_cast<int>(r);
    }
    nsPtr<nsIURI> uri;
    r = NS_NewURI(uri.receive(), url);
    if (NS_FAILED(r))
        return static_cast<int>(r);
    nsPtr<nsIChannel> channel;
    r = NS_NewChannel(channel.receive(), uri.get());
    if (NS_FAILED(r))
        return static_cast<int>(r);
    channel->SetNotificationCallbacks(nsPtr<MyNotifications>(new MyNotifications).get());
    nsPtr<MyStreamLoaderObserver> observer(new MyStreamLoaderObserver(sink, sinkData));
    nsPtr<nsIStreamLoader> loader;
    r = NS_NewStreamLoader(loader.receive(), channel.get(), observer.get(), nullptr);
    if (NS_FAILED(r))
        return static_cast<int>(r);
    // Runtime events only; the wait ends with this fetch's own completion.
    DWORD start = GetTickCount();
    while (!observer->done() && GetTickCount() - start < g_fetchTimeout) {
        nsPtr<nsIRunnable> event;
        if (NS_FAILED(queue->WaitForEvent(event.receive())) || !event)
            break;  // nothing queued can complete it: no thread posts later
        queue->HandleEvent(event.get());
    }
    if (observer->done() && observer->resultLength() != 0) {
        NetLog("Return  Ok\n");
        return 0;
    }
    NetLog("Return  ERRACCES\n");
    return 955;
}

int KyMozillaGetUrl(const char* url, KyMozillaSink sink, void* sinkData) {
    int result = KyMozillaStreamLoad(url, sink, sinkData);
    NetLog(std::string("KyMozillaGetUrl :") + (url ? url : "") + " returns " + std::to_string(result) + "\n");
    return result;
}
