// Inside the runtime layer: what every channel shares. AsyncOpen posts the
// load to the event queue; the load's run calls the listener's start, data
// and stop, the stop exactly once.
#pragma once

#include "platform/webrt/nsNetwork.h"
#include "platform/webrt/nsRuntime.h"

namespace webrt {

template <class I>
class ChannelBase : public nsSupportsImpl<I> {
public:
    explicit ChannelBase(nsIURI* uri) : uri_(uri) {}

    nsresult GetStatus(nsresult* result) override {
        if (!result)
            return NS_ERROR_NULL_POINTER;
        *result = status_;
        return NS_OK;
    }
    nsresult GetURI(nsIURI** result) override {
        if (!result)
            return NS_ERROR_NULL_POINTER;
        *result = uri_.get();
        uri_->AddRef();
        return NS_OK;
    }
    nsresult GetContentType(nsACString& result) override {
        result = contentType_;
        return NS_OK;
    }
    nsresult AsyncOpen(nsIStreamListener* listener, nsISupports* context) override {
        if (!listener)
            return NS_ERROR_NULL_POINTER;
        if (opened_)
            return NS_ERROR_ALREADY_INITIALIZED;
        nsresult r;
        nsPtr<nsIEventQueueService> service =
            GetServiceAs<nsIEventQueueService>(NS_EVENTQUEUESERVICE_CONTRACTID, &r);
        if (!service)
            return NS_FAILED(r) ? r : NS_ERROR_NOT_INITIALIZED;
        nsPtr<nsIEventQueue> queue;
        r = service->GetThreadEventQueue(NS_CURRENT_THREAD, queue.receive());
        if (NS_FAILED(r))
            return r;
        nsPtr<LoadEvent> run(new LoadEvent(this));
        r = queue->PostEvent(run.get());
        if (NS_FAILED(r))
            return r;
        opened_ = true;
        listener_ = listener;
        context_ = context;
        return NS_OK;
    }

    nsresult SetNotificationCallbacks(nsIInterfaceRequestor* callbacks) override {
        callbacks_ = callbacks;
        return NS_OK;
    }

protected:
    // The callbacks' progress sink, or null.
    nsPtr<nsIProgressEventSink> progressSink() {
        nsPtr<nsIProgressEventSink> sink;
        if (callbacks_)
            callbacks_->GetInterface(nsIProgressEventSink::GetIID(), sink.receiveVoid());
        return sink;
    }
    void status(nsresult code, const std::string& argument) {
        if (nsPtr<nsIProgressEventSink> sink = progressSink())
            sink->OnStatus(this, context_.get(), code, NS_ConvertNativeToUTF16(argument.c_str()).c_str());
    }
    void progress(PRUint32 done, PRUint32 maximum) {
        if (nsPtr<nsIProgressEventSink> sink = progressSink())
            sink->OnProgress(this, context_.get(), done, maximum);
    }

    // Does the load, calling deliver for each block; answers the load's status.
    virtual nsresult load() = 0;
    // Hands a block to the listener; a failure answered there ends the load.
    nsresult deliver(const char* data, PRUint32 count) {
        return listener_->OnDataAvailable(this, context_.get(), data, count);
    }

    nsPtr<nsIURI> uri_;
    nsCString contentType_;
    nsresult status_ = NS_OK;

private:
    class LoadEvent : public nsSupportsImpl<nsIRunnable> {
    public:
        explicit LoadEvent(ChannelBase* channel) : channel_(channel) {}
        nsresult Run() override {
            channel_->run();
            return NS_OK;
        }

    private:
        nsPtr<ChannelBase> channel_;
    };

    void run() {
        nsPtr<nsIStreamListener> listener = listener_;
        nsPtr<nsISupports> context = context_;
        nsresult r = listener->OnStartRequest(this, context.get());
        if (NS_SUCCEEDED(r))
            r = load();
        status_ = r;
        listener->OnStopRequest(this, context.get(), r);
        listener_ = nullptr;
        context_ = nullptr;
        callbacks_ = nullptr;
    }

    bool opened_ = false;
    nsPtr<nsIStreamListener> listener_;  // held from AsyncOpen to the stop
    nsPtr<nsISupports> context_;
    nsPtr<nsIInterfaceRequestor> callbacks_;
};

// Makers of the channels of each scheme.
nsresult NewFileChannel(nsIURI* uri, nsIChannel** result);
nsresult NewAboutChannel(nsIURI* uri, nsIChannel** result);
nsresult NewHttpChannel(nsIURI* uri, nsIChannel** result);

// "%xx" escapes decoded (HTUnEscape); the text ends at a decoded NUL.
std::string Unescape(const std::string& text);

}  // namespace webrt
