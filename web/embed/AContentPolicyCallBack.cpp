// The content-policy callback base.
#include "web/embed/AContentPolicyCallBack.h"

#include "base/procedural/HtUrl.h"

#include <cstring>
#include <vector>

AContentPolicyCallBack::AContentPolicyCallBack(const char* observePrefix) : prefix_(observePrefix ? observePrefix : "") {}

AString AContentPolicyCallBack::TranslateUrl(const char* url) {
    return AString(url ? url : "");
}

int16_t AContentPolicyCallBack::Redirect(const char*, const char* url, AString& newUrl) {
    newUrl = TranslateUrl(url);
    return newUrl == (url ? url : "") ? 0 : 1;
}

int16_t AContentPolicyCallBack::InterceptObserveUrl(const char* url, AString& topic, AString& data) {
    if (!url || std::strncmp(url, prefix_.c_str(), static_cast<size_t>(prefix_.length())) != 0)
        return 0;
    const char* rest = url + prefix_.length();
    const char* amp = std::strchr(rest, '&');
    if (!amp)
        return 1;
    topic = AString(rest, static_cast<long>(amp - rest));
    std::vector<char> text(amp + 1, amp + 1 + std::strlen(amp + 1));
    text.push_back(0);
    HTUnEscape(text.data());
    data = AString(text.data());
    return 1;
}

int16_t AContentPolicyCallBack::Intercept(const char*, AString&, AString&) {
    return 0;
}
