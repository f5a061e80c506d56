// The web complement pane, its event handler and its find steps.
#include "panes/docks/online/ComplWebPane.h"

#include <cstring>
#include <new>
#include <string>

#include "app/frame/Frame1.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "base/procedural/AOutStream.h"
#include "framework/clusters/AStaticItem.h"
#include "panes/docks/online/AOnlinePanesHost.h"
#include "panes/docks/online/ComplWebCommands.h"
#include "web/browser/AMozillaView.h"
#include "web/browser/BrowserPaneHandler.h"

SV_IMPLEMENT_CLASS(ComplWebPane, 0, SearchPane)

namespace {

bool StartsWithNoCase(const char* text, const char* prefix) {
    return text && _strnicmp(text, prefix, std::strlen(prefix)) == 0;
}

// "Observe" data comes from a page: only the service's own pages, over http
// or https, may be opened from it.
bool IsServiceAddress(const std::string& address) {
    AString site = AOnlinePanesHost::current().configString("SVSITE");
    if (!StartsWithNoCase(address.c_str(), "http://") && !StartsWithNoCase(address.c_str(), "https://"))
        return false;
    if (site.empty())
        return false;
    // The host part of both must agree, so "http://site.evil/" does not pass for "http://site".
    auto hostOf = [](const std::string& url) {
        size_t start = url.find("://") + 3;
        std::string host = url.substr(start, url.find_first_of("/?#", start) - start);
        for (char& c : host)
            c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        return host;
    };
    std::string siteText = site.c_str();
    if (siteText.find("://") == std::string::npos)
        return false;
    return hostOf(address) == hostOf(siteText);
}

}  // namespace

int16_t AComplWebPaneHandler::onEvent(AMozillaView* view, AMozillaEvent* event) {
    (void)view;
    if (!pane_ || !event)
        return 0;
    try {
        const AString& name = event->name;
        if (name == "StatusChange") {
            if (auto* status = dynamic_cast<AMozillaStatusChangedEvent*>(event))
                pane_->showStatusText(status->status.c_str());
            return 1;
        }
        if (name == "Loaded") {
            pane_->onLoaded();
            return 1;
        }
        if (name == "UpdateProgress" || name == "UpdateTitle")
            return 1;
        if (name == "UpdateUrl") {
            if (auto* update = dynamic_cast<AMozillaUpdateUrlEvent*>(event))
                pane_->setCurrentUrl(update->url);
            return 1;
        }
        if (name == "Observe") {
            auto* observe = dynamic_cast<AMozillaObserveEvent*>(event);
            const char* data = observe ? observe->data.c_str() : "";
            if (_strnicmp(data, "load=", 5) == 0) {
                if (!AOnlinePanesHost::current().checkConnection())
                    return 0;
                pane_->openObservedUrl(data);
                return 1;
            }
            AOnlinePanesHost::current().openWebHome(0);
            return 1;
        }
        return 0;
    } catch (const AError& error) {
        // A view event never ends the program: the error is reported and the event left unhandled.
        CurrentErrorStream().writeString("#Volet web: ");
        error.report(CurrentErrorStream());
        CurrentErrorStream().writeString("\n");
        return 0;
    }
}

ComplWebPane::~ComplWebPane() {
    UnhookBrowserHandler(nullptr, this, handler_);
}

void ComplWebPane::attachItems() {
    SearchPane::attachItems();
    CheckAlloc(getFrame(), "ComplWebPane", 231)->setWebComplementPane(this);
    currentUrl_ = AString();
}

void ComplWebPane::setUpItems() {
    SearchPane::setUpItems();
    AClusterItem* view = findItem(kView, false);
    view_ = CheckAlloc(view ? static_cast<AMozillaView*>(view->castTo(&AMozillaView::classRecord)) : nullptr,
                       "ComplWebPane", 243);
    AClusterItem* status = findItem(kStatus, false);
    status_ = CheckAlloc(status ? static_cast<AStaticText*>(status->castTo(&AStaticText::classRecord)) : nullptr,
                         "ComplWebPane", 245);
    HookBrowserHandler(view_, this, handler_, "ComplWebPane", 250);
}

void ComplWebPane::detachItems() {
    UnhookBrowserHandler(view_, this, handler_);
    view_ = nullptr;
    status_ = nullptr;
    if (Frame1* frame = getFrame(); frame && frame->paneSlots().webComplementPane == this)
        frame->setWebComplementPane(nullptr);
    SearchPane::detachItems();
}

AString ComplWebPane::buildHomeAddress() {
    return AOnlinePanesHost::current().makeServiceUrl("hom_compl", nullptr, nullptr);
}

void ComplWebPane::updatePane() {
    if (AppState* state = currentState()) {
        if (state->fNew)
            loadUrl(0);
        else if (state->fHisto)
            perform(CheckAlloc(new (std::nothrow) ALoadUrlCmd(this, currentUrl_), "ComplWebPane", 379));
    }
    getFrame()->setFindPane(this);
    queueUpdate(0);
}

int16_t ComplWebPane::isPaneWanted() {
    AppState* state = currentState();
    return state && state->getScreenMode() == 0 ? 1 : 0;
}

void ComplWebPane::setPaneVisible(int16_t visible) {
    SearchPane::setPaneVisible(visible);
    // Complement links reach a visible pane only.
    if (view_)
        view_->observeTopic(visible ? 1 : 0);
}

void ComplWebPane::loadUrl(int16_t check) {
    currentUrl_ = AOnlinePanesHost::current().getNetStatusPage(check);
    perform(CheckAlloc(new (std::nothrow) ALoadUrlCmd(this, currentUrl_), "ComplWebPane", 390));
}

void ComplWebPane::loadInView(const AString& address) {
    if (view_ && !address.empty())
        view_->loadUrl(address);
}

void ComplWebPane::showStatusText(const char* text) {
    if (status_ && status_->hasFlags(ADisplayComponent::kShown))
        status_->setText(text ? text : "");
}

void ComplWebPane::openObservedUrl(const char* data) {
    const char* equals = std::strchr(data ? data : "", '=');
    std::string address = equals ? equals + 1 : (data ? data : "");
    AOnlinePanesHost& host = AOnlinePanesHost::current();
    if (address == host.configString("ACCUEIL_WEB_HTML").c_str() ||
        address == host.configString("ACCUEIL_WEB_HTML2").c_str()) {
        loadUrl(0);
        return;
    }
    if (!IsServiceAddress(address)) {
        CurrentErrorStream().writeString(("#Lien compl\xE9mentaire ignor\xE9: " + address + "\n").c_str());
        return;
    }
    host.showWebPage(address.c_str(), 0, 1);
}

void ComplWebPane::onLoaded() {
    if (StartsWithNoCase(currentUrl_.c_str(), "file"))
        return;
    perform(CheckAlloc(new (std::nothrow) ASavePageCmd(this), "ComplWebPane", 397));
}

void ComplWebPane::searchPage(int16_t backwards) {
    if (!view_)
        return;
    if (!view_->findText(getFindText(), 0, 0, 0, backwards))
        AOnlinePanesHost::current().beep();
}

ACommand* ComplWebPane::showPreviousHit() {
    searchPage(1);
    return noChangeCommand();
}

ACommand* ComplWebPane::showNextHit() {
    searchPage(0);
    return noChangeCommand();
}
