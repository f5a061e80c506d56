// Replaces the web runtime's progress listener interface, which this program
// cannot ship: the notifications a browser or a print job sends its listener.
#pragma once

#include "platform/webrt/nsNetwork.h"

class nsIWebProgress;

class nsIWebProgressListener : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0501, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x50, 0x01)
    enum : PRUint32 {
        STATE_START = 0x00000001,
        STATE_REDIRECTING = 0x00000002,
        STATE_TRANSFERRING = 0x00000004,
        STATE_NEGOTIATING = 0x00000008,
        STATE_STOP = 0x00000010,
        STATE_IS_REQUEST = 0x00010000,
        STATE_IS_DOCUMENT = 0x00020000,
        STATE_IS_NETWORK = 0x00040000,
        STATE_IS_WINDOW = 0x00080000,
    };
    virtual nsresult OnStateChange(nsIWebProgress* progress, nsIRequest* request, PRUint32 stateFlags,
                                   nsresult status) = 0;
    virtual nsresult OnProgressChange(nsIWebProgress* progress, nsIRequest* request, PRInt32 currentSelf,
                                      PRInt32 maximumSelf, PRInt32 currentTotal, PRInt32 maximumTotal) = 0;
    virtual nsresult OnLocationChange(nsIWebProgress* progress, nsIRequest* request, nsIURI* location) = 0;
    virtual nsresult OnStatusChange(nsIWebProgress* progress, nsIRequest* request, nsresult status,
                                    const PRUnichar* message) = 0;
    virtual nsresult OnSecurityChange(nsIWebProgress* progress, nsIRequest* request, PRUint32 state) = 0;
};
