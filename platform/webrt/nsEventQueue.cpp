// The runtime layer's event queue: one per process, first in, first out.
#include "platform/webrt/nsRuntime.h"

#include <deque>

namespace {

class EventQueue : public nsSupportsImpl<nsIEventQueue> {
public:
    nsresult PostEvent(nsIRunnable* event) override {
        if (!event)
            return NS_ERROR_NULL_POINTER;
        queue_.push_back(event);
        return NS_OK;
    }
    nsresult PendingEvents(PRBool* result) override {
        if (!result)
            return NS_ERROR_NULL_POINTER;
        *result = queue_.empty() ? PR_FALSE : PR_TRUE;
        return NS_OK;
    }
    nsresult ProcessPendingEvents() override {
        nsPtr<EventQueue> keep(this);
        for (size_t n = queue_.size(); n > 0 && !queue_.empty(); --n) {
            nsPtr<nsIRunnable> event = queue_.front();
            queue_.pop_front();
            event->Run();
        }
        return NS_OK;
    }
    nsresult WaitForEvent(nsIRunnable** event) override {
        if (!event)
            return NS_ERROR_NULL_POINTER;
        *event = nullptr;
        if (queue_.empty())
            return NS_ERROR_NOT_AVAILABLE;
        *event = queue_.front().forget();
        queue_.pop_front();
        return NS_OK;
    }
    nsresult HandleEvent(nsIRunnable* event) override {
        if (!event)
            return NS_ERROR_NULL_POINTER;
        nsPtr<nsIRunnable> keep(event);
        return event->Run();
    }

private:
    std::deque<nsPtr<nsIRunnable>> queue_;
};

class EventQueueService : public nsSupportsImpl<nsIEventQueueService> {
public:
    nsresult GetThreadEventQueue(void* thread, nsIEventQueue** result) override {
        if (!result)
            return NS_ERROR_NULL_POINTER;
        *result = nullptr;
        if (thread != NS_CURRENT_THREAD)
            return NS_ERROR_INVALID_ARG;
        if (!queue_)
            queue_ = new EventQueue;
        *result = queue_.get();
        queue_->AddRef();
        return NS_OK;
    }

private:
    nsPtr<EventQueue> queue_;
};

}  // namespace

namespace webrt {

nsresult MakeEventQueueService(nsISupports** result) {
    *result = static_cast<nsIEventQueueService*>(new EventQueueService);
    (*result)->AddRef();
    return NS_OK;
}

}  // namespace webrt
