// The content policy and the installation of the program's components.
#include "web/browser/AMozillaContentPolicy.h"

#include "web/browser/AMozillaPromptService.h"
#include "web/browser/AMozillaWindowCreator.h"
#include "web/embed/AContentPolicyCallBack.h"
#include "web/embed/AMozillaFeature.h"
#include "web/embed/MozillaEmbedUtils.h"

#include "platform/webrt/nsComponents.h"

const char* const AMozillaContentPolicy::kAdvertisingScript = "http://pub.savantorium.fr/annonces/show_ads.js";

namespace {

// Tells the application's views on topic; nothing without a service or with an empty topic or data.
void Announce(const AString& topic, const AString& data) {
    nsPtr<nsIObserverService> observers = GetServiceAs<nsIObserverService>(NS_OBSERVERSERVICE_CONTRACTID);
    if (!observers || topic.empty() || data.empty())
        return;
    nsString wide = AStringToNsString(data);
    observers->NotifyObservers(nullptr, topic.c_str(), wide.c_str());
}

}  // namespace

nsresult AMozillaContentPolicy::ShouldLoad(PRInt32 type, nsIURI* location, nsISupports*, nsIDOMWindow*,
                                           PRBool* result) {
    if (!result)
        return NS_ERROR_NULL_POINTER;
    *result = PR_TRUE;
    if (!location)
        return NS_OK;
    nsCString spec;
    location->GetSpec(spec);
    switch (type) {
    case nsIContentPolicy::TYPE_IMAGE:
    case nsIContentPolicy::TYPE_STYLESHEET:
    case nsIContentPolicy::TYPE_SUBDOCUMENT:
        return NS_OK;
    case nsIContentPolicy::TYPE_SCRIPT:
        *result = spec == kAdvertisingScript ? PR_FALSE : PR_TRUE;
        return NS_OK;
    default:
        break;
    }
    nsCString scheme;
    location->GetScheme(scheme);
    if (scheme != "http" && scheme != "https" && scheme != "ftp")
        return NS_OK;
    AMozillaFeature* feature = AMozillaFeature::current;
    AContentPolicyCallBack* callBack = feature ? feature->getContentPolicyCallBack() : nullptr;
    if (!callBack)
        return NS_OK;
    nsCString host;
    location->GetHost(host);
    AString topic, data, newUrl;
    // The callback is the application's code: nothing it throws goes back into the runtime.
    try {
        if (callBack->InterceptObserveUrl(spec.c_str(), topic, data) || callBack->Intercept(spec.c_str(), topic, data)) {
            Announce(topic, data);
            *result = PR_FALSE;
            return NS_OK;
        }
        if (callBack->Redirect(host.c_str(), spec.c_str(), newUrl)) {
            // The runtime keeps the same 2048-byte limit as loadUrl.
            if (newUrl.length() > 0 && newUrl.length() < 2048)
                location->SetSpec(newUrl.c_str());
            return NS_OK;
        }
    } catch (...) {
        *result = PR_FALSE;
    }
    return NS_OK;
}

nsresult AMozillaContentPolicy::ShouldProcess(PRInt32, nsIURI*, nsISupports*, nsIDOMWindow*, PRBool* result) {
    if (!result)
        return NS_ERROR_NULL_POINTER;
    *result = PR_TRUE;
    return NS_OK;
}

void InstallBrowserComponents() {
    AMozillaFeature::kComponents[0].constructor = MozillaGenericConstructor<AMozillaPromptService>;
    AMozillaFeature::kComponents[1].constructor = MozillaGenericConstructor<AMozillaContentPolicy>;
    AMozillaFeature::setWindowCreatorMaker(AMozillaWindowCreator::make);
}
