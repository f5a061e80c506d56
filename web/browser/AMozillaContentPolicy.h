// The program's content policy: the runtime asks it for every load of a page
// and its sub-resources. Images, style sheets and frames load; one
// advertising script is refused; web URLs go to the application's
// content-policy callback (AMozillaFeature::current), which may take them
// away (announced on an observer topic, then refused) or redirect them.
// Counted like every runtime object; never fails (the decision is *result).
#pragma once

#include "platform/webrt/nsBrowser.h"

class AMozillaContentPolicy : public nsSupportsImpl<nsIContentPolicy> {
public:
    // The one script address refused for content type 1 (exact text).
    static const char* const kAdvertisingScript;

    nsresult ShouldLoad(PRInt32 type, nsIURI* location, nsISupports* context, nsIDOMWindow* window,
                        PRBool* result) override;
    nsresult ShouldProcess(PRInt32 type, nsIURI* location, nsISupports* context, nsIDOMWindow* window,
                           PRBool* result) override;
};

// Puts the constructors of the program's prompt service and content policy
// into AMozillaFeature's component table, and the window creator's maker
// into the feature; the application calls it before starting the feature.
void InstallBrowserComponents();
