// The protected view's loads.
#include "app/online/AMozillaProtectedView.h"

#include <cstring>
#include <new>

#include "app/online/AOnlineHost.h"

SV_IMPLEMENT_CLASS(AMozillaProtectedView, 0, AMozillaView)

int16_t AMozillaProtectedView::loadUrl(const AString& url) {
    if (_strnicmp(url.c_str(), "file", 4) == 0) {
        AMozillaView::loadUrl(url);
        return 1;
    }
    AOnlineHost* host = AOnlineHost::current();
    // The check tells the reader why itself.
    if (!host || !host->checkConnection(nullptr))
        return 1;
    if (std::strstr(url.c_str(), "hom_compl"))
        AMozillaView::loadUrl(url);
    else
        host->showWebPage(url.c_str(), 0, 1);
    return 1;
}
