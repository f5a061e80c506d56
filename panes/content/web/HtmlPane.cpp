// The HTML pane: the page of each state, the empty page, the pages' "ini"
// links and the find in the page.
#include "panes/content/web/HtmlPane.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "app/data/AFSCommInfo.h"
#include "app/data/AppDataManager.h"
#include "app/frame/Frame1.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "framework/app/AApp.h"
#include "panes/content/article/AContentApp.h"
#include "panes/content/article/DockLCRPane.h"
#include "panes/content/article/DockRightPane.h"
#include "search/facade/ASearchBase.h"
#include "web/browser/AMozillaView.h"
#include "web/browser/BrowserPaneHandler.h"

SV_IMPLEMENT_CLASS(HtmlPane, 0, SearchPane)
SV_IMPLEMENT_CLASS(AHtmlPaneCmd, 0, AMozillaFlashCmd)

int16_t AHtmlPaneHandler::onEvent(AMozillaView* view, AMozillaEvent* event) {
    if (!pane_ || !event || !view)
        return 0;
    if (event->name == "UpdateTitle")
        return 1;
    if (event->name != "Observe" || !view->hasFlags(ADisplayComponent::kVisible))
        return 0;
    auto* observe = static_cast<AMozillaObserveEvent*>(event->castTo(&AMozillaObserveEvent::classRecord));
    if (!observe)
        return 0;
    // Queued: the command runs after the browser's callback returned.
    pane_->perform(CheckAlloc(new (std::nothrow) AHtmlPaneCmd(pane_, observe->data.c_str(), this), "HtmlPane",
                              __LINE__));
    return 1;
}

void AHtmlPaneCmd::execute() {
    AFSCommInfo info(fName.c_str());
    if (info.fKind != 6 || !pane_)
        return;
    std::string text = info.fValue.c_str();
    if (!info.fExtra.empty())
        text += std::string(":") + info.fExtra.c_str();
    pane_->openLinkedDocument(6, text.c_str());
}

HtmlPane::~HtmlPane() {
    UnhookBrowserHandler(nullptr, this, handler_);
}

void HtmlPane::attachSwitcher(int link, const char* source) {
    switcher_ = DockLCRPane::linkPane(this, static_cast<DockLCRPane::Link>(link), source, __LINE__);
    currentUrl_ = AString();
}

void HtmlPane::findView(const char* source) {
    emptyPage_ = AContentApp::current().templatePath("HTMLEMPTY");
    AClusterItem* item = findItem(kView, false);
    view_ = CheckAlloc(item ? static_cast<AMozillaView*>(item->castTo(&AMozillaView::classRecord)) : nullptr, source,
                       __LINE__);
}

void HtmlPane::attachItems() {
    SearchPane::attachItems();
    attachSwitcher(DockLCRPane::kHtml, "HtmlPane");
}

void HtmlPane::setUpItems() {
    SearchPane::setUpItems();
    findView("HtmlPane");
    HookBrowserHandler(view_, this, handler_, "HtmlPane", __LINE__);
}

void HtmlPane::detachItems() {
    UnhookBrowserHandler(view_, this, handler_);
    if (switcher_)
        switcher_->forgetLink(DockLCRPane::kHtml, this);
    view_ = nullptr;
    SearchPane::detachItems();
}

int16_t HtmlPane::isPaneWanted() {
    ADocState* doc = docState();
    return doc && doc->fDocType == 1 ? 1 : 0;
}

void HtmlPane::setPaneVisible(int16_t visible) {
    SearchPane::setPaneVisible(visible);
    if (!view_)
        return;
    if (!visible && !currentUrl_.empty()) {
        currentUrl_ = AString();
        ++emptyLoads_;
        view_->loadUrl(PathToFileUrl(emptyPage_.c_str()));
    }
    view_->observeTopic(visible ? 1 : 0);
}

void HtmlPane::loadPage(const AString& address) {
    currentUrl_ = address;
    if (view_)
        view_->loadUrl(address);
}

void HtmlPane::updatePane() {
    AppState* state = currentState();
    ADocState* doc = state ? state->getDocState() : nullptr;
    if (!doc)
        return;
    AContentApp& app = AContentApp::current();
    long docNo = state->getDocNo();
    AString address;
    if (docNo >= 0) {
        int16_t icon = app.getDocIconType(docNo);
        if (icon == 12)
            address = getAppletPage(docNo, 1);
        else if (icon == 24)
            address = getIniPage(docNo, 1);
    } else {
        ALeftState* left = state->getLeftState();
        if (left && left->fMode - 1 >= 0)
            address = app.guidePageUrl(left->fMode - 1);
        ARightState* right = state->getRightState();
        if (right && right->fExpand) {
            right->fExpand = 0;
            if (SVPane* dock = switcher_ ? switcher_->link(DockLCRPane::kDockRight) : nullptr)
                if (auto* rightDock = static_cast<DockRightPane*>(dock->castTo(&DockRightPane::classRecord)))
                    rightDock->setWidthMode(0);
        }
    }
    if (doc->fNew || doc->fHisto) {
        if (!address.empty())
            loadPage(address);
        getFrame()->setActiveHtmlPane(this);
    }
    getFrame()->setFindPane(this);
    doc->clearFlags();
    if (switcher_) {
        if (SVPane* image = switcher_->link(DockLCRPane::kDockTopLeftImg))
            image->queueUpdate(0);
        if (SVPane* left = switcher_->link(DockLCRPane::kDockLeft))
            left->postTreeChange();
    }
    queueUpdate(0);
}

bool HtmlPane::isSafeName(const char* name) {
    if (!name || !*name)
        return false;
    std::string text = name;
    if (text.find("..") != std::string::npos || text.find(':') != std::string::npos)
        return false;
    return text[0] != '\\' && text[0] != '/';
}

AString HtmlPane::localPage(long docNo, const char* field, const char* folder, const char* fixedName) {
    AContentApp& app = AContentApp::current();
    ADocRefInfo info = app.getDocRefInfo(docNo);
    int16_t position = app.findBaseField(info.fBase, field);
    ASearchBase* base = position >= 0 ? app.getBase(info.fBase) : nullptr;
    if (!base || info.fRecord < 0)
        return AString();
    AString name = base->getText(position, info.fRecord, 1);
    if (!isSafeName(name.c_str()))
        return AString();
    AFileSpec dir(AFileSpec(base->getFileSpec(position).parent(false), folder), name.c_str());
    AFileSpec file = fixedName ? AFileSpec(dir, fixedName) : dir;
    return PathToFileUrl(file.path().c_str());
}

AString HtmlPane::getAppletPage(long docNo, int16_t wanted) {
    return wanted ? localPage(docNo, "APPNAME", "APPLETS", "f_exper.htm") : AString();
}

AString HtmlPane::getIniPage(long docNo, int16_t wanted) {
    return wanted ? localPage(docNo, "ININAME", "INI", nullptr) : AString();
}

void HtmlPane::openLinkedDocument(int16_t code, const char* text) {
    if (code != 6 || !text)
        return;
    std::string all = text;
    size_t colon = all.find(':');
    std::string key = all.substr(0, colon);
    std::string n = colon == std::string::npos ? "0" : all.substr(colon + 1);
    AContentApp& app = AContentApp::current();
    long docNo = app.findDocByKey(key.c_str());
    if (docNo == -1) {
        AApp::current()->beep(0);
        return;
    }
    if (app.docIsMedia(docNo)) {
        app.openMediaWindow(docNo, static_cast<int16_t>(std::atol(n.c_str())), 0);
        return;
    }
    AppState* current = currentState();
    ADocState* doc = current ? current->getDocState() : nullptr;
    int16_t kind = app.getDocKind(docNo, doc ? doc->fDocType : 0);
    AppState* state = getFrame()->makeNavState(1, 0, current && current->hasRightCadenas() ? 1 : 0, 1, -1, kind, -1);
    state->setDocNo(docNo);
    goToState(state);
}

ACommand* HtmlPane::findInPage(int16_t backwards) {
    if (!view_)
        return noChangeCommand();
    lastFound_ = view_->findText(getFindText(), 0, 0, 0, backwards);
    if (!lastFound_)
        AApp::current()->beep(0);
    return noChangeCommand();
}

ACommand* HtmlPane::showNextHit() {
    return findInPage(0);
}

ACommand* HtmlPane::showPreviousHit() {
    return findInPage(1);
}
