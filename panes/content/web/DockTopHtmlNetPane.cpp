// The web pages' top bar: title, address, progress, the three buttons and
// the states of the pages reached by links.
#include "panes/content/web/DockTopHtmlNetPane.h"

#include <cstring>
#include <new>
#include <string>

#include "app/frame/Frame1.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/render/ATextRenderer.h"
#include "docengine/styles/AStyleSheet.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/controls/AIconButton.h"
#include "framework/extras/AProgressBar.h"
#include "panes/content/article/AContentApp.h"
#include "panes/content/article/DockLCRPane.h"
#include "web/browser/AMozillaView.h"
#include "web/browser/BrowserPaneHandler.h"
#include "web/embed/AAlertCallBack.h"
#include "web/embed/AMozillaFeature.h"

SV_IMPLEMENT_CLASS(DockTopHtmlNetPane, 0, SVPane)

const char DockTopHtmlNetPane::kPublisherSite[] = "http://www.savantorium.fr";

namespace {

AAlertCallBack* AlertCallBack() {
    return AMozillaFeature::current ? AMozillaFeature::current->getAlertCallBack() : nullptr;
}

// The path and query of the online complement home page, after the service's address.
const char kComplementHome[] = "?id=hom_compl_full";

}  // namespace

int16_t ADocTopHtmlNetHandler::onEvent(AMozillaView* view, AMozillaEvent* event) {
    if (!pane_ || !event || !view)
        return 0;
    if (auto* progress =
            static_cast<AMozillaUpdateProgressEvent*>(event->castTo(&AMozillaUpdateProgressEvent::classRecord))) {
        pane_->showProgress(progress->current, progress->maximum);
        return 1;
    }
    if (auto* url = static_cast<AMozillaUpdateUrlEvent*>(event->castTo(&AMozillaUpdateUrlEvent::classRecord))) {
        pane_->showUrl(url->url.c_str(), url->programLoad);
        return 1;
    }
    if (auto* title = static_cast<AMozillaUpdateTitleEvent*>(event->castTo(&AMozillaUpdateTitleEvent::classRecord))) {
        pane_->showTitle(title->title.c_str());
        return 1;
    }
    return 0;
}

DockTopHtmlNetPane::~DockTopHtmlNetPane() {
    UnhookBrowserHandler(nullptr, this, handler_);
}

template <class T>
T* DockTopHtmlNetPane::item(int16_t id, long line) {
    AClusterItem* found = findItem(id, false);
    return CheckAlloc(found ? static_cast<T*>(found->castTo(&T::classRecord)) : nullptr, "DockTopHtmlNetPane", line);
}

void DockTopHtmlNetPane::attachItems() {
    SVPane::attachItems();
    switcher_ = DockLCRPane::linkPane(this, DockLCRPane::kDockTopHtmlNet, "DockTopHtmlNetPane", __LINE__);
}

void DockTopHtmlNetPane::setUpItems() {
    SVPane::setUpItems();
    back_ = item<AStaticItem>(kBack, __LINE__);
    titleView_ = item<ARendererView>(kTitle, __LINE__);
    ownSiteMark_ = item<AStaticItem>(kOwnSite, __LINE__);
    otherSiteMark_ = item<AStaticItem>(kOtherSite, __LINE__);
    addressView_ = item<ARendererView>(kAddress, __LINE__);
    stop_ = item<AIconButton>(kStop, __LINE__);
    reload_ = item<AIconButton>(kReload, __LINE__);
    exclude_ = item<AIconButton>(kExclude, __LINE__);
    progress_ = item<AProgressBar>(kProgress, __LINE__);
    for (ADisplayComponent* c : {static_cast<ADisplayComponent*>(back_), static_cast<ADisplayComponent*>(titleView_),
                                 static_cast<ADisplayComponent*>(addressView_)})
        c->setOffscreen(true, false);
    AContentApp& app = AContentApp::current();
    addressRenderer_ = app.createTextRenderer(addressView_, nullptr, 8);
    titleRenderer_ = app.createTextRenderer(titleView_, nullptr, 2);
    for (ARenderer* renderer : {addressRenderer_, titleRenderer_}) {
        if (!renderer)
            continue;
        renderer->options = static_cast<uint16_t>((renderer->options & ~0x0008u) | RendererBits::kHideSelection2);
    }
    if (AStyleSheet* sheet = app.getStyleSheet(8))
        progress_->setBarColour(sheet->getColor(2));
    progress_->setVisible(false);
    setItemHelp(kReload, 6007, 31, 0);
    setItemHelp(kStop, 6007, 32, 0);
    setItemHelp(kExclude, 6007, 35, 0);
}

void DockTopHtmlNetPane::detachItems() {
    UnhookBrowserHandler(view_, this, handler_);
    if (switcher_)
        switcher_->forgetLink(DockLCRPane::kDockTopHtmlNet, this);
    view_ = nullptr;
    titleRenderer_ = addressRenderer_ = nullptr;
    back_ = ownSiteMark_ = otherSiteMark_ = nullptr;
    titleView_ = addressView_ = nullptr;
    stop_ = reload_ = exclude_ = nullptr;
    progress_ = nullptr;
    SVPane::detachItems();
}

void DockTopHtmlNetPane::bindActions() {
    SVPane::bindActions();
    for (int16_t id : {kStop, kReload, kExclude, kFind})
        addAction(id, this, id, nullptr);
}

ACommand* DockTopHtmlNetPane::doCommand(int16_t id, long argument) {
    switch (id) {
        case kStop:
            if (view_)
                view_->stop();
            return noChangeCommand();
        case kReload:
            if (view_)
                view_->reload();
            return noChangeCommand();
        case kExclude:
            if (AAlertCallBack* alert = AlertCallBack())
                alert->alert(view_);
            return noChangeCommand();
        case kFind:
            getFrame()->findInText("");
            return noChangeCommand();
        default:
            return SVPane::doCommand(id, argument);
    }
}

int16_t DockTopHtmlNetPane::commandStatus(int16_t id, long argument) {
    switch (id) {
        case kTitle:
        case kReload:
        case kFind:
            return 1;
        case kStop:
            return view_ && view_->isLoading() ? 1 : 2;
        case kExclude: {
            AAlertCallBack* alert = AlertCallBack();
            return alert && view_ && alert->canAlert(view_) ? 1 : 2;
        }
        default:
            return SVPane::commandStatus(id, argument);
    }
}

int16_t DockTopHtmlNetPane::isPaneWanted() {
    ADocState* doc = docState();
    return doc && doc->fDocType == 8 ? 1 : 0;
}

void DockTopHtmlNetPane::attachView(AMozillaView* view) {
    view_ = CheckAlloc(view, "DockTopHtmlNetPane", __LINE__);
    HookBrowserHandler(view_, this, handler_, "DockTopHtmlNetPane", __LINE__);
}

void DockTopHtmlNetPane::showProgress(int32_t current, int32_t maximum) {
    if (!progress_ || !hasFlags(ADisplayComponent::kVisible))
        return;
    bool loading = view_ && view_->isLoading();
    if (progress_->hasFlags(ADisplayComponent::kShown) != loading) {
        progress_->setVisible(loading);
        // The stop button follows the load: its state is asked again.
        queueUpdate(0);
    }
    if (maximum != 0) {
        progress_->setMaximum(maximum);
        progress_->setPosition(current);
    }
}

void DockTopHtmlNetPane::showUrl(const char* address, int16_t programLoad) {
    if (!hasFlags(ADisplayComponent::kVisible))
        return;
    address_ = address ? address : "";
    programLoad_ = programLoad;
    ownSite_ = _strnicmp(address_.c_str(), kPublisherSite, std::strlen(kPublisherSite)) == 0 ? 1 : 0;
    drawAddress();
    queueUpdate(0);
}

AString DockTopHtmlNetPane::addressMarkup(const char* address, bool ownSite) {
    std::string text = ownSite ? "///0" : "///1";
    text += AContentApp::current().escapeChars(address, "/").c_str();
    return AString(text.c_str());
}

void DockTopHtmlNetPane::drawAddress() {
    if (ownSiteMark_ && otherSiteMark_) {
        ownSiteMark_->setVisible(ownSite_ != 0);
        otherSiteMark_->setVisible(ownSite_ == 0);
    }
    addressText_ = addressMarkup(address_.c_str(), ownSite_ != 0);
    if (addressRenderer_) {
        addressRenderer_->setTextModel(addressText_.c_str(), nullptr);
        addressRenderer_->relayoutFrom(0, true);
        // A renderer not drawn yet lays out at its first drawing only: the view must ask for it.
        addressView_->invalidate();
    }
}

void DockTopHtmlNetPane::showTitle(const char* title) {
    title_ = title ? title : "";
    if (titleRenderer_) {
        // A "/" of a title would otherwise read as markup.
        titleRenderer_->setTextModel(AContentApp::current().escapeChars(title_.c_str(), "/").c_str(), nullptr);
        titleRenderer_->relayoutFrom(0, true);
        titleView_->invalidate();
    }
    recordPage(title_.c_str(), address_.c_str());
}

void DockTopHtmlNetPane::recordPage(const char* title, const char* address) {
    std::string entry = std::string(address ? address : "") + ";" + (title ? title : "");
    AppState* current = currentState();
    bool complementHome = false;
    if (programLoad_) {
        AContentApp& app = AContentApp::current();
        std::string home = std::string(app.configString("SVSITE").c_str()) + app.configString("REDIRECT").c_str() +
                           kComplementHome;
        complementHome = address && std::strstr(address, home.c_str()) != nullptr;
        if (!complementHome)
            return;
        if (current)
            current->fTemporaire = 1;
    } else if (current && current->getUserInfo(1309) == 0) {
        current->fTemporaire = 1;
    }
    programLoad_ = 0;
    long docNo = AContentApp::current().webDocNo(entry.c_str());
    if (docNo < 0)
        return;
    AppState* state = getFrame()->makeNavState(1, 0, 0, 1, -1, 8, -1);
    state->setDocNo(docNo);
    if (ADocState* doc = state->getDocState())
        doc->fNew = 0;
    if (complementHome)
        state->setUserInfo(1309, 1);
    goToState(state);
}
