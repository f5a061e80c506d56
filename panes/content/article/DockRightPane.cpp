// The main window's right dock: its state, width, lock and title.
#include "panes/content/article/DockRightPane.h"

#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/render/ATextRenderer.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/controls/AIconButton.h"
#include "framework/display/ADisplayServices.h"
#include "framework/views/ASizerButton.h"
#include "panes/content/article/DockLCRPane.h"
#include "panes/docks/right/ARightDockApp.h"

SV_IMPLEMENT_CLASS(DockRightPane, 0, AppDockRightPane)

namespace {

// The switcher's items the width moves: the article and web areas, the
// dock's place and the splitter beside the left dock.
enum : int16_t { kArticleArea = 1023, kWebArea = 1024, kDockPlace = 1025, kSplitter = 1013 };

template <class T>
T* SwitcherItem(DockLCRPane* switcher, int16_t id, long line) {
    AClusterItem* item = switcher ? switcher->findItem(id, false) : nullptr;
    return CheckAlloc(item ? static_cast<T*>(item->castTo(&T::classRecord)) : nullptr, "DockRightPane", line);
}

}  // namespace

void DockRightPane::readFrom(AMemoryStream& stream) {
    AppDockRightPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "DockRightPane", 40);
}

void DockRightPane::attachItems() {
    AppDockRightPane::attachItems();
    switcher_ = CheckAlloc(FindEnclosing<DockLCRPane>(this), "DockRightPane", 50);
    switcher_->setLink(DockLCRPane::kDockRight, this);
}

void DockRightPane::setUpItems() {
    AppDockRightPane::setUpItems();
    lock_ = itemOf<AIconButton>(kLockId, 60);
    back_ = itemOf<AIconButton>(kBackId, 61);
    title_ = itemOf<ARendererView>(kTitleId, 62);
    // The narrow dock's lock is disabled but keeps its padlock picture.
    lock_->clearItemFlags(AClusterItem::kShownByState);
    lock_->setVisible(true);
    back_->setOffscreen(true, false);
    title_->setOffscreen(true, false);
    switcher_ = CheckAlloc(FindEnclosing<DockLCRPane>(this), "DockRightPane", 65);
    ARightDockApp::current().createTextRenderer(title_, 9);
    setItemHelp(kLockId, 6007, 6, 0);
    setItemHelp(kBackId, 6007, 8, 0);
}

void DockRightPane::detachItems() {
    if (switcher_)
        switcher_->forgetLink(DockLCRPane::kDockRight, this);
    switcher_ = nullptr;
    lock_ = back_ = nullptr;
    title_ = nullptr;
    AppDockRightPane::detachItems();
}

void DockRightPane::bindActions() {
    AppDockRightPane::bindActions();
    addAction(kLockId, this, kLockId, nullptr);
    addAction(kBackId, this, kBackId, nullptr);
}

int16_t DockRightPane::commandStatus(int16_t id, long argument) {
    if (id == kLockId) {
        if (widthMode_ == 1)
            return locked_ ? 5 : 1;
        return locked_ ? 6 : 2;
    }
    if (id == kBackId) {
        AppState* state = currentState();
        ARightState* right = state ? state->getRightState() : nullptr;
        return right && right->fExtDocNo >= 0 && right->fExtDocNo != state->getDocNo() ? 1 : 2;
    }
    return AppDockRightPane::commandStatus(id, argument);
}

ACommand* DockRightPane::doCommand(int16_t id, long argument) {
    AppState* state = currentState();
    ARightState* right = state ? state->getRightState() : nullptr;
    switch (id) {
        case kHideId:
        case kShowId:
            setWidthMode(id == kShowId ? 1 : 0);
            ADisplayServices::current().flushLayouts();
            break;
        case kLockId:
            locked_ = locked_ == 1 ? 0 : 1;
            if (right) {
                right->fCadenas = locked_;
                if (!locked_) {
                    right->fExtDocNo = -1;
                    updatePane();
                } else {
                    right->fExtDocNo = state->getDocNo();
                }
            }
            break;
        case kBackId:
            if (right && switcher_)
                switcher_->openDocument(right->fExtDocNo);
            break;
        default:
            return AppDockRightPane::doCommand(id, argument);
    }
    queueUpdate(0);
    return noChangeCommand();
}

void DockRightPane::openDocument(long docNo) {
    if (switcher_)
        switcher_->openDocument(docNo);
}

void DockRightPane::updatePane() {
    AppState* state = currentState();
    ARightState* right = state ? state->getRightState() : nullptr;
    ADocState* doc = state ? state->getDocState() : nullptr;
    hasExt_ = 0;
    if (!right || right->fClone)
        return;
    long docNo = state->getRightDocNo();
    ARightDockApp& app = ARightDockApp::current();
    auto* text = title_ ? dynamic_cast<ATextRenderer*>(title_->renderer()) : nullptr;
    // A state without a document part has nothing to extend: the narrow dock.
    if (docNo < 0 || !doc) {
        locked_ = 0;
        right->fExpand = 0;
        setWidthMode(0);
        if (text)
            text->setTextModel("", nullptr);
        right->clearFlags();
        queueUpdate(0);
        return;
    }
    ADocRefInfo info = app.getDocRefInfo(docNo);
    locked_ = right->fCadenas;
    if (!locked_) {
        right->fExpand = hasExt_ = doc->fDocType == 8 ? 0 : (info.hasAnyInfo() ? 1 : 0);
    }
    setWidthMode(right->fExpand ? 1 : 0);
    if (text) {
        AString title = app.getDocTitle(docNo);
        text->setTextModel((std::string("//") + title.c_str()).c_str(), nullptr);
    }
    SVPane::updatePane();
    right->clearFlags();
    if (doc->fDocType == 2 || doc->fDocType == 1) {
        right->fExpand = 0;
        setWidthMode(0);
    }
    queueUpdate(0);
}

void DockRightPane::setWidthMode(int16_t mode) {
    if (mode == widthMode_ || !switcher_) {
        showHeaders(mode);
        return;
    }
    widthMode_ = mode;
    long d = wideWidth_ - narrowWidth_;
    auto* article = SwitcherItem<AStaticItem>(switcher_, kArticleArea, 170);
    auto* web = SwitcherItem<AStaticItem>(switcher_, kWebArea, 171);
    auto* place = SwitcherItem<AStaticItem>(switcher_, kDockPlace, 172);
    auto* sizer = SwitcherItem<ASizerButton>(switcher_, kSplitter, 173);
    ASizeSpec articleRule = article->getSizeSpec(), webRule = web->getSizeSpec(), placeRule = place->getSizeSpec();
    ARect limits = sizer->getLimits();
    long step = mode == 1 ? -d : d;
    articleRule.edges[2].value += step;
    webRule.edges[2].value += step;
    placeRule.edges[0].value += step;
    limits.second.x = static_cast<int32_t>((mode == 1 ? wideWidth_ : narrowWidth_) + kMinCentreWidth);
    showHeaders(mode);
    article->setSizeSpec(articleRule, true);
    web->setSizeSpec(webRule, true);
    place->setSizeSpec(placeRule, true);
    sizer->setLimits(limits);
    // The width is measured on the new rules.
    ADisplayServices::current().flushLayouts();
    if (mode == 1) {
        long width = article->getFrame().width();
        if (width < kMinCentreWidth) {
            ARect at = sizer->getFrame();
            sizer->applyPosition(APoint(static_cast<int32_t>(at.left() - (kMinCentreWidth - width)), at.top()));
        }
    }
}
