// The centre pane of the encyclopedia's own HTML pages (navigation kind 1)
// and of the help guides: it picks the local page of the current state,
// loads it as a "File:///" address, empties the view when hidden, runs the
// find in the page, and opens the document an "ini" link of a page names
// (the link arrives as an "Observe" event and runs as a queued command).
//
// Frame, switcher and view are not owned; the handler holds one reference
// until the pane detaches. A missing frame, switcher or view is a layout
// fault ("HtmlPane"). Folder names read from the records are checked: one
// that could leave the installation's folder gives no page.
#pragma once

#include "app/find/SearchPane.h"
#include "app/online/APaneFlashCmd.h"
#include "web/browser/APaneEventHandler.h"

class AMozillaView;
class DockLCRPane;
class HtmlPane;

class AHtmlPaneHandler : public APaneEventHandler<HtmlPane> {
public:
    using APaneEventHandler::APaneEventHandler;
    // 1 when the event was taken, else 0.
    int16_t onEvent(AMozillaView* view, AMozillaEvent* event) override;
};

// A page's message, run from the command queue.
class AHtmlPaneCmd : public APaneFlashCmd<HtmlPane> {
    SV_DECLARE_CLASS(AHtmlPaneCmd)
public:
    using APaneFlashCmd::APaneFlashCmd;
    void execute() override;
};

class HtmlPane : public SearchPane {
    SV_DECLARE_CLASS(HtmlPane)
public:
    enum : int16_t { kView = 3010 };

    HtmlPane() { setOwnItem(kView); }
    ~HtmlPane() override;
    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;

    void updatePane() override;
    int16_t isPaneWanted() override;
    void setPaneVisible(int16_t visible) override;
    // The browser's find over the pane's find text: next forwards, previous
    // backwards; a miss beeps.
    ACommand* showNextHit() override;
    ACommand* showPreviousHit() override;

    // Code 6 ("ini"): "KEY[:n]" opens the document of the key, a media
    // document in the media window at item n. An unknown key beeps.
    void openLinkedDocument(int16_t code, const char* text);
    // The page of an applet (icon type 12) or INI (icon type 24) document;
    // empty when wanted is 0 or the record names no safe page.
    AString getAppletPage(long docNo, int16_t wanted);
    AString getIniPage(long docNo, int16_t wanted);

    AMozillaView* view() const { return view_; }
    const AString& currentUrl() const { return currentUrl_; }
    // How many times the view was sent to the empty page; for the tests.
    long emptyLoads() const { return emptyLoads_; }
    // Whether the last find in the page found a match; for the tests.
    int16_t lastFound() const { return lastFound_; }
    // Whether a folder name read from a record stays inside its folder.
    static bool isSafeName(const char* name);

protected:
    // Loads the address and remembers it.
    void loadPage(const AString& address);
    ACommand* findInPage(int16_t backwards);
    // The enclosing switcher, which gets this pane under `link`; the address is forgotten.
    void attachSwitcher(int link, const char* source);
    // The empty page's path and the view (item 3010).
    void findView(const char* source);

    DockLCRPane* switcher_ = nullptr;  // not owned
    AMozillaView* view_ = nullptr;     // not owned
    AString currentUrl_;
    AString emptyPage_;

private:
    AString localPage(long docNo, const char* field, const char* folder, const char* fixedName);

    AHtmlPaneHandler* handler_ = nullptr;  // one reference
    long emptyLoads_ = 0;
    int16_t lastFound_ = 0;
};
