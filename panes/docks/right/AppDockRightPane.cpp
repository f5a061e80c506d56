// The right docks' common part: items, widths, headers and the width buttons.
#include "panes/docks/right/AppDockRightPane.h"

#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/controls/AIconButton.h"

SV_IMPLEMENT_CLASS(AppDockRightPane, 0, SVPane)

void AppDockRightPane::readFrom(AMemoryStream& stream) {
    SVPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "DockRightPane", 20);
}

void AppDockRightPane::setUpItems() {
    SVPane::setUpItems();
    wide_ = itemOf<AStaticItem>(kWideId, 30);
    panel_ = itemOf<AStaticItem>(kPanelId, 31);
    hide_ = itemOf<AIconButton>(kHideId, 32);
    narrow_ = itemOf<AStaticItem>(kNarrowId, 33);
    show_ = itemOf<AIconButton>(kShowId, 34);
    for (AStaticItem* item : {wide_, narrow_, panel_})
        item->setOffscreen(true, false);
    // A disabled show button keeps its picture, which says there are no extensions.
    show_->clearItemFlags(AClusterItem::kShownByState);
    show_->setVisible(true);
    wideWidth_ = wide_->getFrame().width();
    narrowWidth_ = narrow_->getFrame().width();
    widthMode_ = 1;
    locked_ = 0;
    hasExt_ = 1;
    setItemHelp(kHideId, 6007, 5, 0);
    setItemHelp(kShowId, 6007, 7, 0);
}

void AppDockRightPane::detachItems() {
    wide_ = panel_ = narrow_ = nullptr;
    hide_ = show_ = nullptr;
    SVPane::detachItems();
}

void AppDockRightPane::bindActions() {
    SVPane::bindActions();
    addAction(kHideId, this, kHideId, nullptr);
    addAction(kShowId, this, kShowId, nullptr);
}

int16_t AppDockRightPane::commandStatus(int16_t id, long argument) {
    if (id == kHideId)
        return 1;
    if (id == kShowId)
        return hasExt_ == 1 || locked_ ? 1 : 2;
    return SVPane::commandStatus(id, argument);
}

int16_t AppDockRightPane::isPaneWanted() {
    AppState* state = currentState();
    ARightState* right = state ? state->getRightState() : nullptr;
    return right && (right->fExpand == 0 || right->fExpand == 1) ? 1 : 0;
}

void AppDockRightPane::showHeaders(int16_t mode) {
    if (!wide_ || !narrow_)
        return;
    narrow_->setVisible(mode == 0);
    wide_->setVisible(mode != 0);
}
