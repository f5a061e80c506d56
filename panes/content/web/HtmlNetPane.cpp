// The online web page pane: the page of each web state, its band, its
// status line and the addresses pages send.
#include "panes/content/web/HtmlNetPane.h"

#include <cstring>
#include <new>
#include <string>

#include "app/frame/Frame1.h"
#include "app/online/ADocNetManager.h"
#include "app/online/ANetInfo.h"
#include "app/online/AOnlineHost.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/graphics/ATextStyle.h"
#include "panes/content/article/AContentApp.h"
#include "panes/content/article/DockLCRPane.h"
#include "panes/content/web/DockTopHtmlNetPane.h"
#include "web/browser/AMozillaView.h"
#include "web/browser/BrowserPaneHandler.h"

SV_IMPLEMENT_CLASS(HtmlNetPane, 0, HtmlPane)

namespace {

uint32_t PaletteColour(uint32_t red, uint32_t green, uint32_t blue) {
    return 0x02000000u + blue * 65536u + green * 256u + red;
}

ANetInfo* NetInfo() {
    AOnlineHost* host = AOnlineHost::current();
    return host ? host->netInfo() : nullptr;
}

}  // namespace

int16_t AHtmlNetPaneHandler::onEvent(AMozillaView* view, AMozillaEvent* event) {
    if (!pane_ || !event || !view)
        return 0;
    if (event->name == "StatusChange") {
        auto* status = static_cast<AMozillaStatusChangedEvent*>(
            event->castTo(&AMozillaStatusChangedEvent::classRecord));
        if (!status)
            return 0;
        pane_->showStatus(status->status.c_str());
        return 1;
    }
    if (event->name == "Observe" && view->hasFlags(ADisplayComponent::kVisible)) {
        auto* observe = static_cast<AMozillaObserveEvent*>(event->castTo(&AMozillaObserveEvent::classRecord));
        if (!observe)
            return 0;
        pane_->loadObservedUrl(observe->data.c_str());
        return 1;
    }
    return 0;
}

HtmlNetPane::~HtmlNetPane() {
    UnhookBrowserHandler(nullptr, this, netHandler_);
}

void HtmlNetPane::attachItems() {
    SearchPane::attachItems();
    attachSwitcher(DockLCRPane::kHtmlNet, "HtmlNetPane");
}

void HtmlNetPane::setUpItems() {
    SearchPane::setUpItems();
    findView("HtmlNetPane");
    AClusterItem* item = findItem(kStatus, false);
    status_ = CheckAlloc(item ? static_cast<AStaticText*>(item->castTo(&AStaticText::classRecord)) : nullptr,
                         "HtmlNetPane", __LINE__);
    item = findItem(kBand, false);
    band_ = CheckAlloc(item ? static_cast<AStaticItem*>(item->castTo(&AStaticItem::classRecord)) : nullptr,
                       "HtmlNetPane", __LINE__);
    if (SVPane* bar = switcher_ ? switcher_->link(DockLCRPane::kDockTopHtmlNet) : nullptr)
        if (auto* top = static_cast<DockTopHtmlNetPane*>(bar->castTo(&DockTopHtmlNetPane::classRecord)))
            top->attachView(view_);
    HookBrowserHandler(view_, this, netHandler_, "HtmlNetPane", __LINE__);
}

void HtmlNetPane::detachItems() {
    UnhookBrowserHandler(view_, this, netHandler_);
    if (switcher_)
        switcher_->forgetLink(DockLCRPane::kHtmlNet, this);
    view_ = nullptr;
    status_ = nullptr;
    band_ = nullptr;
    SearchPane::detachItems();
}

void HtmlNetPane::bindActions() {
    addAction(kView, this, kView, nullptr);
    HtmlPane::bindActions();
}

int16_t HtmlNetPane::isPaneWanted() {
    ADocState* doc = docState();
    return doc && doc->fDocType == 8 ? 1 : 0;
}

void HtmlNetPane::setPaneVisible(int16_t visible) {
    SVPane::setPaneVisible(visible);
    if (view_)
        view_->observeTopic(visible ? 1 : 0);
}

bool HtmlNetPane::bandColour(bool fullPage, int16_t level, uint32_t& colour) {
    if (fullPage) {
        colour = PaletteColour(127, 152, 178);
        return true;
    }
    static const uint32_t kLevels[4][3] = {{0, 204, 51}, {255, 255, 89}, {255, 166, 32}, {255, 0, 0}};
    if (level < 0 || level > 3)
        return false;
    colour = PaletteColour(kLevels[level][0], kLevels[level][1], kLevels[level][2]);
    return true;
}

void HtmlNetPane::updatePane() {
    AppState* state = currentState();
    ADocState* doc = state ? state->getDocState() : nullptr;
    if (!doc || state->getDocNo() == -1)
        return;
    AString entry = AContentApp::current().webEntry(state->getDocNo());
    if (entry.empty())
        return;
    AString address, title;
    ADocNetManager::splitEntry(entry, address, title);
    bool full = state->getUserInfo(3004) == 1;
    if (doc->fNew || doc->fHisto) {
        currentUrl_ = address;
        AOnlineHost* host = AOnlineHost::current();
        if (view_ && (full || (host && host->checkConnection(nullptr))))
            view_->loadUrl(currentUrl_);
        getFrame()->setActiveHtmlPane(this);
    }
    getFrame()->setFindPane(this);
    ANetInfo* info = NetInfo();
    uint32_t colour = 0;
    if (band_ && bandColour(state->getUserInfo(3004) != 0, info ? info->getFilterLevel() : -1, colour)) {
        bandColour_ = colour;
        ATextStyle style = band_->ownDisplayEnv() ? ATextStyle(*band_->ownDisplayEnv())
                                                  : ATextStyle(nullptr, RGB(0, 0, 0), RGB(255, 255, 255), 0);
        style.setBackColor(colour);
        band_->setDisplayEnv(style);
        band_->invalidate();
    }
    doc->clearFlags();
    queueUpdate(0);
    if (SVPane* top = switcher_ ? switcher_->link(DockLCRPane::kDockTop) : nullptr)
        top->postTreeChange();
}

AString HtmlNetPane::observedAddress(const char* text) {
    const char* equals = text ? std::strchr(text, '=') : nullptr;
    std::string address = equals ? equals + 1 : "";
    // Only web addresses: a page never makes the view open a local file or run a script.
    if (_strnicmp(address.c_str(), "http://", 7) != 0 && _strnicmp(address.c_str(), "https://", 8) != 0)
        return AString();
    return AString(address.c_str());
}

void HtmlNetPane::loadObservedUrl(const char* text) {
    AString address = observedAddress(text);
    if (address.empty() || !view_)
        return;
    ANetInfo* info = NetInfo();
    if (info && info->getConnectionState() == 1) {
        getFrame()->showInfo(AContentApp::current().message("MSG_NO_ACTIVE_CONNECTION").c_str(),
                             "Connection Internet");
        return;
    }
    view_->loadUrl(address);
}

void HtmlNetPane::showStatus(const char* text) {
    if (status_ && hasFlags(ADisplayComponent::kVisible))
        status_->setText(text ? text : "");
}
