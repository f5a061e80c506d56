#include "app/online/ASVMozillaCallBacks.h"

#include <cstdio>
#include <cstring>

#include "app/online/ANeckoConnection.h"
#include "app/online/ANetInfo.h"
#include "app/online/AOnlineHost.h"
#include "base/procedural/AError.h"
#include "base/procedural/HtUrl.h"
#include "base/procedural/BAlloc.h"
#include "framework/display/ADisplayComponent.h"
#include "web/browser/AMozillaView.h"

AOnlineHost* AOnlineHost::current_ = nullptr;

const char* const ASVContentPolicyCallBack::kObservePrefix = "http://localhost/observe?topic=";

namespace {


bool IsWebAddress(const char* url) {
    return _strnicmp(url, "http://", 7) == 0 || _strnicmp(url, "https://", 8) == 0;
}

bool Contains(const char* text, const AString& part) {
    return !part.empty() && std::strstr(text, part.c_str()) != nullptr;
}

}  // namespace

int16_t ASVHandler::onEvent(AMozillaView* view, AMozillaEvent* event) {
    auto* update = dynamic_cast<AMozillaUpdateUrlEvent*>(event);
    if (!update || !view || std::strcmp(event->name.c_str(), "UpdateUrl") != 0)
        return 0;
    if (AComponent* holder = view->getParent()) {
        if (host_)
            host_->addressChanged(holder, update->url);
    }
    return 1;
}

void ASVWindowCreatorCallBack::onNewView(AMozillaView* view) {
    if (view && handler_)
        view->addHandler("AllEvent", handler_);
}

ASVContentPolicyCallBack::ASVContentPolicyCallBack(AOnlineHost* host)
    : AContentPolicyCallBack(kObservePrefix), host_(host) {
    if (host_) {
        std::string home = host_->configString("SVSITE").c_str();
        home += host_->configString("REDIRECT").c_str();
        home += host_->configString("HOME_COMPL").c_str();
        fHomeComplUrl = AString(home.c_str());
    }
}

AString ASVContentPolicyCallBack::cookieSuffix() {
    ANetInfo* info = host_ ? host_->netInfo() : nullptr;
    if (!info)
        ThrowAssert("appmoz", __LINE__);
    std::string suffix = "&p_cookie1=";
    suffix += info->getCookie1().c_str();
    suffix += "&p_cookie2=";
    suffix += info->getCookie2().c_str();
    return AString(suffix.c_str());
}

AString ASVContentPolicyCallBack::rewriteUrl(const char* url) {
    if (!url)
        return AString();
    // Only web loads are the service's business; the engine refuses longer addresses anyway.
    if (!IsWebAddress(url) || std::strlen(url) > kUrlLimit)
        return AString(url);
    if (Contains(url, host_ ? host_->configString("SVSITE") : AString()))
        return addCookies(url);
    return askControl(url);
}

AString ASVContentPolicyCallBack::addCookies(const std::string& url) {
    std::string cookies = cookieSuffix().c_str();
    if (url.find('?') == std::string::npos)
        return AString(url.c_str());
    size_t hash = url.find('#');
    std::string result;
    if (hash == std::string::npos) {
        result = url;
        if (url.find(cookies) == std::string::npos)
            result += cookies;
    } else {
        std::string head = url.substr(0, hash);
        size_t next = url.find('#', hash + 1);
        std::string tail = url.substr(hash + 1, next == std::string::npos ? std::string::npos : next - hash - 1);
        result = head;
        if (head.find(cookies) == std::string::npos)
            result += cookies;
        result += '#';
        result += tail;
    }
    // An address the cookies push past the limit loads as it was given.
    return AString(result.size() <= kUrlLimit ? result.c_str() : url.c_str());
}

AString ASVContentPolicyCallBack::askControl(const char* url) {
    ANetInfo* info = host_ ? host_->netInfo() : nullptr;
    if (!info)
        ThrowAssert("appmoz", __LINE__);
    if (fServerName.empty())
        return AString(url);
    ANeckoConnection connection(fServerName.c_str(), "", "", host_->netUserAgent().c_str(), "SEARCH");
    connection.setQuiet(1);
    connection.open(host_->proxyAddress().c_str(), nullptr, nullptr);
    char level[16];
    std::snprintf(level, sizeof level, "%d", info->getFilterLevel() + 1);
    std::string body = "url=" + ServiceEscape(url) + "&fLevel=" + level + cookieSuffix().c_str();
    char answer[ANeckoConnection::kReplySize] = {0};
    bool ok = connection.fetchText(fControlScript.c_str(), body.c_str(), answer, sizeof answer);
    connection.close();
    size_t length = std::strlen(answer);
    if (length && answer[length - 1] == '\n')
        answer[--length] = 0;
    if (length && answer[length - 1] == '\r')
        answer[--length] = 0;
    // A full buffer may hold a cut address: only a whole, non-empty answer replaces the address.
    if (!ok || length == 0 || length >= kUrlLimit)
        return AString(url);
    return AString(answer);
}

int16_t ASVContentPolicyCallBack::Intercept(const char* url, AString& topic, AString& data) {
    // Only a page's own loads (a link followed in the pane) are handed over: a
    // load the program asks for, the handed-over address among them, goes on.
    if (!url || !host_ || AMozillaView::programLoadUnderway() || !host_->webPaneUnderPointer())
        return 0;
    if (std::strstr(url, "id=hom_compl"))
        return 0;
    topic = AString("KYTOPIC");
    data = AString((std::string("load=") + url).c_str());
    return 1;
}

AString ASVAlertCallBack::alertAddress(const char* url) {
    std::string escaped = ServiceEscape(url);
    std::string address = host_ ? host_->configString("SVSITE").c_str() : "";
    address += host_ ? host_->configString("REDIRECT").c_str() : "";
    address += "?id=alert&url=" + escaped + "&title=" + escaped + "&data=v10";
    return AString(address.c_str());
}

void ASVAlertCallBack::showAlert(AMozillaView* view) {
    if (!view)
        return;
    view->stop();
    AString current = view->getCurrentUrl();
    if (current.empty())
        return;
    view->loadUrl(alertAddress(current.c_str()));
    // The holder learns that its view now shows the alert page.
    if (AComponent* parent = view->getParent())
        parent->queueUpdate(0);
}

int16_t ASVAlertCallBack::mustAlert(AMozillaView* view) {
    if (!host_ || !host_->hasMainWindow() || !view || !(view->displayFlags() & 2) || !host_->hasCurrentState())
        return 0;
    AString current = view->getCurrentUrl();
    if (current.empty() || Contains(current.c_str(), host_->configString("SVSITE")))
        return 0;
    return host_->currentUserInfo(3004) == 0 && host_->currentUserInfo(3005) == 0 ? 1 : 0;
}
