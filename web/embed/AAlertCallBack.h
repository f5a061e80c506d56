// The application's answer to the alert command of an online page; the base does nothing.
#pragma once

#include <cstdint>

class AMozillaView;

class AAlertCallBack {
public:
    AAlertCallBack() = default;
    AAlertCallBack(const AAlertCallBack&) = delete;
    AAlertCallBack& operator=(const AAlertCallBack&) = delete;
    virtual ~AAlertCallBack() = default;
    // Acts on the page shown in the view (not owned).
    virtual void alert(AMozillaView*) {}
    // 1 when alert applies to the page now shown.
    virtual int16_t canAlert(AMozillaView*) { return 0; }
};
