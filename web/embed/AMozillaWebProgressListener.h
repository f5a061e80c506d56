// A progress listener that notes when a print job has ended (STATE_STOP).
// Counted like every runtime object: created with no reference, deleted by
// the last Release.
#pragma once

#include "platform/webrt/nsWebProgress.h"

#include <cstdint>

class AMozillaWebProgressListener : public nsSupportsImpl<nsIWebProgressListener> {
public:
    AMozillaWebProgressListener() = default;

    nsresult OnStateChange(nsIWebProgress* progress, nsIRequest* request, PRUint32 stateFlags,
                           nsresult status) override;
    nsresult OnProgressChange(nsIWebProgress*, nsIRequest*, PRInt32, PRInt32, PRInt32, PRInt32) override {
        return NS_ERROR_NOT_IMPLEMENTED;
    }
    nsresult OnLocationChange(nsIWebProgress*, nsIRequest*, nsIURI*) override { return NS_ERROR_NOT_IMPLEMENTED; }
    nsresult OnStatusChange(nsIWebProgress*, nsIRequest*, nsresult, const PRUnichar*) override {
        return NS_ERROR_NOT_IMPLEMENTED;
    }
    nsresult OnSecurityChange(nsIWebProgress*, nsIRequest*, PRUint32) override { return NS_ERROR_NOT_IMPLEMENTED; }

    // 1 once a state change with STATE_STOP arrived; never goes back to 0.
    int16_t isDone() const { return done_; }

private:
    int16_t done_ = 0;
};
