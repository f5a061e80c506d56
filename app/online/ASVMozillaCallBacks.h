// The application's answers to the web engine: every new browser view gets
// the application's event handler, service addresses carry the reader's
// cookies, other addresses go through the service's control script, loads
// the web pane's view is pointed at are taken over, and filtered pages are
// sent to the service's alert page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/object/AString.h"
#include "web/browser/AMozillaEvent.h"
#include "web/embed/AAlertCallBack.h"
#include "web/embed/AContentPolicyCallBack.h"
#include "web/embed/AMozillaWindowCreatorCallBack.h"

class AOnlineHost;

// Passes address changes to the component holding the view.
class ASVHandler : public AMozillaHandler {
public:
    explicit ASVHandler(AOnlineHost* host) : host_(host) {}
    int16_t onEvent(AMozillaView* view, AMozillaEvent* event) override;

private:
    AOnlineHost* host_;
};

class ASVWindowCreatorCallBack : public AMozillaWindowCreatorCallBack {
public:
    explicit ASVWindowCreatorCallBack(ASVHandler* handler) : handler_(handler) {}
    // No window of the application's own.
    AMozillaView* createBrowserWindow(nsIWebBrowserChrome*, uint32_t) override { return nullptr; }
    void browserWindowCreated(AMozillaView* view) override { onNewView(view); }
    void onNewView(AMozillaView* view);

private:
    ASVHandler* handler_;  // the application's, counted there
};

class ASVContentPolicyCallBack : public AContentPolicyCallBack {
public:
    // Addresses (with their cookies) and control answers are held to this many characters.
    enum : size_t { kUrlLimit = 2047 };
    // The observe addresses' prefix.
    static const char* const kObservePrefix;

    explicit ASVContentPolicyCallBack(AOnlineHost* host);
    void setServerName(const char* name) { fServerName = AString(name); }
    void setControlScript(const char* script) { fControlScript = AString(script); }
    const AString& homeComplUrl() const { return fHomeComplUrl; }
    const AString& serverName() const { return fServerName; }
    const AString& controlScript() const { return fControlScript; }

    AString TranslateUrl(const char* url) override { return rewriteUrl(url); }
    int16_t Intercept(const char* url, AString& topic, AString& data) override;
    // The address to load instead of url: service addresses get the cookies,
    // other web addresses the control script's answer; others stay as they are.
    AString rewriteUrl(const char* url);
    // "&p_cookie1=<c1>&p_cookie2=<c2>" of the reader's account.
    AString cookieSuffix();

private:
    AString addCookies(const std::string& url);
    AString askControl(const char* url);
    AOnlineHost* host_;
    AString fServerName;
    AString fControlScript;
    AString fHomeComplUrl;
};

class ASVAlertCallBack : public AAlertCallBack {
public:
    explicit ASVAlertCallBack(AOnlineHost* host) : host_(host) {}
    void alert(AMozillaView* view) override { showAlert(view); }
    int16_t canAlert(AMozillaView* view) override { return mustAlert(view); }
    void showAlert(AMozillaView* view);
    int16_t mustAlert(AMozillaView* view);
    // The alert page's address for a page address.
    AString alertAddress(const char* url);

private:
    AOnlineHost* host_;
};
