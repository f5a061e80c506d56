// The top bar over web pages (navigation kind 8): it follows the online
// pane's browser view, shows the page's title, its address (marked for the
// publisher's own site) and a progress bar while a page loads, offers stop,
// reload and the proposal to exclude the address, and turns each page the
// reader reaches by a link into a navigation state of its own.
//
// Items, frame, switcher and view are not owned; the handler holds one
// reference until the bar detaches. A missing item or enclosing pane and a
// null view are layout faults ("DockTopHtmlNetPane").
#pragma once

#include <cstdint>

#include "app/frame/SVPane.h"
#include "base/object/AString.h"
#include "web/browser/APaneEventHandler.h"

class AIconButton;
class AProgressBar;
class ARenderer;
class ARendererView;
class AStaticItem;
class DockLCRPane;
class DockTopHtmlNetPane;

class ADocTopHtmlNetHandler : public APaneEventHandler<DockTopHtmlNetPane> {
public:
    using APaneEventHandler::APaneEventHandler;
    int16_t onEvent(AMozillaView* view, AMozillaEvent* event) override;
};

class DockTopHtmlNetPane : public SVPane {
    SV_DECLARE_CLASS(DockTopHtmlNetPane)
public:
    enum : int16_t {
        kBack = 3015, kTitle = 3012, kOwnSite = 3115, kOtherSite = 3116, kAddress = 3117, kStop = 3118,
        kReload = 3119, kExclude = 3120, kFind = 3130, kProgress = 3020
    };
    // The publisher's own web site: its pages are marked in the address field.
    static const char kPublisherSite[];

    DockTopHtmlNetPane() = default;
    ~DockTopHtmlNetPane() override;
    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    int16_t isPaneWanted() override;

    void attachView(AMozillaView* view);
    void showProgress(int32_t current, int32_t maximum);
    void showUrl(const char* address, int16_t programLoad);
    void drawAddress();
    void showTitle(const char* title);
    void recordPage(const char* title, const char* address);

    // The address field's markup for an address.
    static AString addressMarkup(const char* address, bool ownSite);
    const AString& address() const { return address_; }
    const AString& title() const { return title_; }
    const AString& addressText() const { return addressText_; }
    int16_t ownSite() const { return ownSite_; }
    AMozillaView* view() const { return view_; }
    AProgressBar* progress() const { return progress_; }

private:
    template <class T>
    T* item(int16_t id, long line);

    DockLCRPane* switcher_ = nullptr;     // not owned
    AStaticItem* back_ = nullptr;         // not owned
    ARendererView* titleView_ = nullptr;  // not owned
    AStaticItem* ownSiteMark_ = nullptr;  // not owned
    AStaticItem* otherSiteMark_ = nullptr;  // not owned
    ARendererView* addressView_ = nullptr;  // not owned
    AIconButton* stop_ = nullptr;         // not owned
    AIconButton* reload_ = nullptr;       // not owned
    AIconButton* exclude_ = nullptr;      // not owned
    AProgressBar* progress_ = nullptr;    // not owned
    ARenderer* titleRenderer_ = nullptr;    // not owned: the view's layer holds it
    ARenderer* addressRenderer_ = nullptr;  // not owned
    AMozillaView* view_ = nullptr;        // not owned
    ADocTopHtmlNetHandler* handler_ = nullptr;  // one reference
    AString address_;
    AString title_;
    AString addressText_;
    int16_t ownSite_ = 0;
    int16_t programLoad_ = 0;
};
