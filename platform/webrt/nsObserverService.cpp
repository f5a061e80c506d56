// The runtime layer's observer service.
#include "platform/webrt/nsRuntime.h"

#include <string>
#include <vector>

namespace {

struct Registration {
    std::string topic;
    nsPtr<nsIObserver> observer;
};

class ObserverService : public nsSupportsImpl<nsIObserverService> {
public:
    nsresult AddObserver(nsIObserver* observer, const char* topic, PRBool) override {
        if (!observer || !topic)
            return NS_ERROR_NULL_POINTER;
        list_.push_back(Registration{topic, observer});
        return NS_OK;
    }
    nsresult RemoveObserver(nsIObserver* observer, const char* topic) override {
        if (!observer || !topic)
            return NS_ERROR_NULL_POINTER;
        for (size_t i = 0; i < list_.size(); ++i) {
            if (list_[i].observer.get() == observer && list_[i].topic == topic) {
                list_.erase(list_.begin() + static_cast<long>(i));
                return NS_OK;
            }
        }
        return NS_ERROR_FAILURE;
    }
    nsresult NotifyObservers(nsISupports* subject, const char* topic, const PRUnichar* data) override {
        if (!topic)
            return NS_ERROR_NULL_POINTER;
        // An observer may add or remove observers while it is called.
        std::vector<nsPtr<nsIObserver>> called;
        for (const Registration& r : list_) {
            if (r.topic == topic)
                called.push_back(r.observer);
        }
        for (const nsPtr<nsIObserver>& o : called)
            o->Observe(subject, topic, data);
        return NS_OK;
    }

private:
    std::vector<Registration> list_;
};

}  // namespace

namespace webrt {

nsresult MakeObserverService(nsISupports** result) {
    *result = static_cast<nsIObserverService*>(new ObserverService);
    (*result)->AddRef();
    return NS_OK;
}

}  // namespace webrt
