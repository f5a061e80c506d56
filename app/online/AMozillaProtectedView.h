// A browser view that keeps pages off the net out of itself: local files and
// the service's home complement load in it; any other address, when the
// online service may be used, opens as a new web-page state of the main
// window, and nothing loads when it may not. Layouts name it.
#pragma once

#include "web/browser/AMozillaView.h"

class AMozillaProtectedView : public AMozillaView {
    SV_DECLARE_CLASS(AMozillaProtectedView)
public:
    AMozillaProtectedView() = default;
    AMozillaProtectedView(AComponent* parent, int16_t id, const ASizeSpec& rule) : AMozillaView(parent, id, rule) {}
    // Always 1.
    int16_t loadUrl(const AString& url) override;
    void setCurrentUrl(const char* url) override { AMozillaView::setCurrentUrl(url); }
};
