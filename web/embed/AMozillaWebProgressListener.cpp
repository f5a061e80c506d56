// The print job's progress listener.
#include "web/embed/AMozillaWebProgressListener.h"

nsresult AMozillaWebProgressListener::OnStateChange(nsIWebProgress*, nsIRequest*, PRUint32 stateFlags, nsresult) {
    if (stateFlags & STATE_STOP)
        done_ = 1;
    return NS_OK;
}
