// The centre pane of web pages (navigation kind 8): the online service's
// pages and the other addresses the reader opens, full-page help included.
// It takes the address from the reader's web documents, loads it when the
// state is new or from the history and the service may be used (a full-page
// state always), colours its band by the filter level, shows the browser's
// status, and loads the http and https addresses pages send through the
// application topic.
//
// Items and handler as HtmlPane's; the status line (3011) and the band
// (3012) are required items ("HtmlNetPane").
#pragma once

#include <cstdint>

#include "panes/content/web/HtmlPane.h"

class AStaticItem;
class AStaticText;
class HtmlNetPane;

class AHtmlNetPaneHandler : public APaneEventHandler<HtmlNetPane> {
public:
    using APaneEventHandler::APaneEventHandler;
    int16_t onEvent(AMozillaView* view, AMozillaEvent* event) override;
};

class HtmlNetPane : public HtmlPane {
    SV_DECLARE_CLASS(HtmlNetPane)
public:
    enum : int16_t { kStatus = 3011, kBand = 3012 };

    HtmlNetPane() = default;
    ~HtmlNetPane() override;
    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;

    void updatePane() override;
    int16_t isPaneWanted() override;
    void setPaneVisible(int16_t visible) override;

    // The address after the first "=" of an observed text; loaded when it is
    // an http or https address and the reader is not offline.
    void loadObservedUrl(const char* text);
    void showStatus(const char* text);

    // The band's palette-relative colour for a state (full page or not) and
    // a filter level; false when the level keeps the colour unchanged.
    static bool bandColour(bool fullPage, int16_t level, uint32_t& colour);
    // What loadObservedUrl would load ("" for nothing).
    static AString observedAddress(const char* text);
    uint32_t bandColourShown() const { return bandColour_; }
    AStaticText* statusText() const { return status_; }

private:
    AStaticText* status_ = nullptr;  // not owned
    AStaticItem* band_ = nullptr;    // not owned
    AHtmlNetPaneHandler* netHandler_ = nullptr;  // one reference
    uint32_t bandColour_ = 0;
};
