// The application's part in the content policy: which web URLs load, which
// are taken away and announced on a topic. The base lets everything load and
// recognises the observe URLs "<prefix><topic>&<escaped data>".
#pragma once

#include "base/object/AString.h"

#include <cstdint>

class AContentPolicyCallBack {
public:
    explicit AContentPolicyCallBack(const char* observePrefix);
    AContentPolicyCallBack(const AContentPolicyCallBack&) = delete;
    AContentPolicyCallBack& operator=(const AContentPolicyCallBack&) = delete;
    virtual ~AContentPolicyCallBack() = default;

    // The URL to use instead of url; the base answers url.
    virtual AString TranslateUrl(const char* url);
    // 1 with newUrl set when TranslateUrl changes the URL, else 0.
    virtual int16_t Redirect(const char* host, const char* url, AString& newUrl);
    // 0 for a URL outside the prefix; 1 otherwise, with topic and data set when the rest holds "&".
    virtual int16_t InterceptObserveUrl(const char* url, AString& topic, AString& data);
    // 1 when the application takes the URL and announces it on topic; the base answers 0.
    virtual int16_t Intercept(const char* url, AString& topic, AString& data);

    const AString& observePrefix() const { return prefix_; }

private:
    AString prefix_;
};
