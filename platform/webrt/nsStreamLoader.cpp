// The runtime layer's stream loader: collects a channel's whole body and hands
// it to its observer once.
#include "platform/webrt/nsChannelBase.h"

#include <vector>

namespace {

// A larger body fails the load: a page's resource is never this big, and the
// whole body is held in memory until the completion.
const size_t kMaxBody = 64u << 20;

class StreamLoader : public nsSupportsImpl<nsIStreamLoader, nsIStreamListener> {
public:
    explicit StreamLoader(nsIStreamLoaderObserver* observer) : observer_(observer) {}

    nsresult GetRequest(nsIRequest** result) override {
        if (!result)
            return NS_ERROR_NULL_POINTER;
        *result = request_.get();
        if (*result)
            (*result)->AddRef();
        return NS_OK;
    }
    nsresult OnStartRequest(nsIRequest* request, nsISupports*) override {
        request_ = request;
        return NS_OK;
    }
    nsresult OnDataAvailable(nsIRequest*, nsISupports*, const char* data, PRUint32 count) override {
        if (count > kMaxBody - body_.size())
            return NS_ERROR_OUT_OF_MEMORY;
        body_.insert(body_.end(), data, data + count);
        return NS_OK;
    }
    nsresult OnStopRequest(nsIRequest* request, nsISupports* context, nsresult status) override {
        request_ = request;
        complete(context, status);
        return NS_OK;
    }
    // The one completion; a second call changes nothing.
    void complete(nsISupports* context, nsresult status) {
        if (completed_)
            return;
        completed_ = true;
        nsPtr<nsIStreamLoaderObserver> observer = observer_;
        observer_ = nullptr;
        if (NS_FAILED(status))
            body_.clear();
        observer->OnStreamComplete(this, context, status, static_cast<PRUint32>(body_.size()),
                                   body_.empty() ? nullptr : body_.data());
        body_.clear();
    }

private:
    nsPtr<nsIStreamLoaderObserver> observer_;  // held until the completion
    nsPtr<nsIRequest> request_;
    std::vector<PRUint8> body_;
    bool completed_ = false;
};

// Completes a loader whose channel could not be opened, from the event queue
// like every other completion.
class FailedOpen : public nsSupportsImpl<nsIRunnable> {
public:
    FailedOpen(StreamLoader* loader, nsISupports* context, nsresult status)
        : loader_(loader), context_(context), status_(status) {}
    nsresult Run() override {
        loader_->complete(context_.get(), status_);
        return NS_OK;
    }

private:
    nsPtr<StreamLoader> loader_;
    nsPtr<nsISupports> context_;
    nsresult status_;
};

}  // namespace

nsresult NS_NewStreamLoader(nsIStreamLoader** result, nsIChannel* channel, nsIStreamLoaderObserver* observer,
                            nsISupports* context) {
    if (!result || !channel || !observer)
        return NS_ERROR_NULL_POINTER;
    *result = nullptr;
    nsPtr<StreamLoader> loader(new StreamLoader(observer));
    nsresult r = channel->AsyncOpen(loader.get(), context);
    if (NS_FAILED(r)) {
        nsPtr<nsIEventQueueService> service = GetServiceAs<nsIEventQueueService>(NS_EVENTQUEUESERVICE_CONTRACTID);
        nsPtr<nsIEventQueue> queue;
        nsPtr<nsIRunnable> event(new FailedOpen(loader.get(), context, r));
        if (!service || NS_FAILED(service->GetThreadEventQueue(NS_CURRENT_THREAD, queue.receive())) ||
            NS_FAILED(queue->PostEvent(event.get())))
            loader->complete(context, r);  // no queue: the runtime is not running
        return r;
    }
    *result = static_cast<nsIStreamLoader*>(loader.forget());
    return NS_OK;
}
