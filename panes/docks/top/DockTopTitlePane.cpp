// The shared title bar and the HTML and Flash bars of the top dock.
#include "panes/docks/top/DockTopTitlePane.h"

#include "app/state/AppState.h"
#include "docengine/render/ARenderer.h"
#include "docengine/render/ARendererViews.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/components/ALayoutLoader.h"
#include "panes/docks/top/ATopDockApp.h"

SV_IMPLEMENT_CLASS(DockTopTitlePane, 0, SVPane)
SV_IMPLEMENT_CLASS(DockTopHtmlPane, 0, DockTopTitlePane)
SV_IMPLEMENT_CLASS(DockTopFlashPane, 0, DockTopTitlePane)

void DockTopTitlePane::readFrom(AMemoryStream& stream) {
    SVPane::readFrom(stream);
}

void DockTopTitlePane::setUpItems() {
    SVPane::setUpItems();
    AClusterItem* holder = findItem(kTitleHolder, false);
    titleHolder_ = CheckAlloc(holder ? static_cast<AStaticItem*>(holder->castTo(&AStaticItem::classRecord)) : nullptr,
                              "DockTopTitlePane", 25);
    AClusterItem* view = findItem(kTitleView, false);
    titleView_ = CheckAlloc(view ? static_cast<ARendererView*>(view->castTo(&ARendererView::classRecord)) : nullptr,
                            "DockTopTitlePane", 28);
    titleHolder_->setOffscreen(true, false);
    titleView_->setOffscreen(true, false);
    if (hasTitleRenderer())
        renderer_ = ATopDockApp::current().createTextRenderer(titleView_, 2);
}

void DockTopTitlePane::detachItems() {
    titleView_ = nullptr;
    titleHolder_ = nullptr;
    renderer_ = nullptr;
    SVPane::detachItems();
}

int16_t DockTopTitlePane::isPaneWanted() {
    ADocState* doc = docState();
    return doc && doc->fDocType == docType() ? 1 : 0;
}

void DockTopTitlePane::showTitle(const AString& title) {
    title_ = ATopDockApp::current().escapeMarkup(title.c_str());
    if (renderer_) {
        renderer_->setTextModel(title_.c_str(), nullptr);
        renderer_->relayoutFrom(0, true);
    }
    queueUpdate(0);
}

void DockTopHtmlPane::readFrom(AMemoryStream& stream) {
    DockTopTitlePane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "DockTopHtmlPane", 70);
}

void DockTopFlashPane::readFrom(AMemoryStream& stream) {
    DockTopTitlePane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "DockTopFlashPane", 75);
}

void DockTopFlashPane::updatePane() {
    DockTopTitlePane::updatePane();
    AppState* state = currentState();
    if (!state)
        return;
    ATopDockApp& app = ATopDockApp::current();
    int16_t mode = state->getScreenMode();
    bool roomTitle = mode == 3;
    if (mode == 4) {
        roomTitle = (state->fSalle == 7 && state->getUserInfo(1174) != 0) ||
                    (state->fSalle == 6 && (state->getUserInfo(1175) != 0 || state->getUserInfo(1176) != 0));
    }
    if (roomTitle)
        showTitle(app.getSalleTitle(state->fSalle, state));
    else if (state->getDocNo() >= 0)
        showTitle(app.getDocTitle(state->getDocNo()));
}
