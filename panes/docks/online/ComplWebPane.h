// The web complement pane: the online service's complement pages beside the
// encyclopedia, in the browser view of item 3010 with a status line (3011).
// It loads the start page the application chooses, follows the view's events
// through its handler, hands the service's complement links ("Observe" data
// "load=<address>") to the application, keeps a local copy of each network
// page (at most one a day, through ASavePageCmd) and lets the main window's
// find step through the page (next forwards, previous backwards, a beep when
// the text is absent).
//
// The view, the status text and the frame are not owned; the handler holds
// one reference and is cut from the pane at detachItems. Loads and saves go
// through the application's command queue. A missing view or status item, or
// one of another class, fails the set-up ("ComplWebPane").
#pragma once

#include <cstdint>

#include "app/find/SearchPane.h"
#include "base/object/AString.h"
#include "web/browser/APaneEventHandler.h"

class AMozillaView;
class AStaticText;
class ComplWebPane;

class AComplWebPaneHandler : public APaneEventHandler<ComplWebPane> {
public:
    using APaneEventHandler::APaneEventHandler;
    int16_t onEvent(AMozillaView* view, AMozillaEvent* event) override;
};

class ComplWebPane : public SearchPane {
    SV_DECLARE_CLASS(ComplWebPane)
public:
    enum : int16_t { kView = 3010, kStatus = 3011 };

    ComplWebPane() { setOwnItem(kView); }
    ~ComplWebPane() override;

    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;

    void updatePane() override;
    int16_t isPaneWanted() override;
    void setPaneVisible(int16_t visible) override;
    ACommand* showPreviousHit() override;
    ACommand* showNextHit() override;

    // The service's start page (the application's choice) posted for loading.
    void loadUrl(int16_t check);
    void loadInView(const AString& address);
    void setCurrentUrl(const AString& address) { currentUrl_ = address; }
    const AString& currentUrl() const { return currentUrl_; }
    void showStatusText(const char* text);
    // "load=<address>": the start pages reload the pane, others open a web-page state.
    void openObservedUrl(const char* data);
    void onLoaded();
    // Command 3010: the address of the service's home complement.
    AString buildHomeAddress();

    AMozillaView* view() const { return view_; }

private:
    // The address is built and kept for nothing more: the home comes through AConnectToWebCmd.
    void ownItemCommand() override { buildHomeAddress(); }
    // One step of the page search; a beep when the text is absent.
    void searchPage(int16_t backwards);

    AMozillaView* view_ = nullptr;        // not owned
    AStaticText* status_ = nullptr;       // not owned
    AComplWebPaneHandler* handler_ = nullptr;  // one reference held
    AString currentUrl_;
};
