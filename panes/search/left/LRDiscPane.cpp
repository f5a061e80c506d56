// The disc result lists' shared part: options in the left part, opening rows, the end of a refresh.
#include "panes/search/left/LRDiscPane.h"

#include "app/frame/Frame1.h"
#include "app/state/AppState.h"
#include "docengine/render/ARendererViews.h"
#include "panes/content/article/DockLCRPane.h"
#include "panes/search/left/ASearchPanesApp.h"
#include "panes/search/left/ListSelection.h"

SV_IMPLEMENT_ABSTRACT_CLASS(LRDiscPane, 0, LROptionsDVDPane)

LRDiscPane::LRDiscPane(int16_t firstKey, int16_t lastKey) {
    selFirstKey = firstKey;
    selLastKey = lastKey;
}

void LRDiscPane::attachItems() {
    LROptionsDVDPane::attachItems();
    lcrPane = DockLCRPane::around(this);
}

void LRDiscPane::setUpItems() {
    LROptionsDVDPane::setUpItems();
    setIcon(1509);
}

void LRDiscPane::detachItems() {
    LROptionsDVDPane::detachItems();
    lcrPane = nullptr;
}

void LRDiscPane::saveState(ABaseState* part) {
    LROptionsDVDPane::saveState(part);
    if (!part)
        return;
    part->fUserInfo.slot(1300) = optionsOpen;
    part->fUserInfo.slot(1301) = filter;
    part->fUserInfo.slot(1302) = display;
    part->fUserInfo.slot(1303) = sort;
}

void LRDiscPane::openDocument(long docNo, int16_t screenMode) {
    OpenListDocument(this, openingCentre(), docNo, screenMode, 0);
}

void LRDiscPane::openClickedLine(ARendererView* view) {
    OpenClickedListRow(this, openingCentre(), view);
}

void LRDiscPane::selectOpened(ASearchPanesApp& app) {
    if (sort == 2)
        app.centerListLine(listView, selFirst, selLast);
    else
        SelectListRun(listView, selFirst, selLast);
}

void LRDiscPane::keepUnopened(AppState* cur, ALeftState* left, bool restore) {
    if (restore) {
        readSavedSelection(left);
    } else {
        selLast = -2;
    }
    SelectListRun(listView, selFirst, selLast);
    if (selLast < 0)
        cur->fTemporaire = cur->fLink == 0 ? 1 : 0;
}

void LRDiscPane::finishRefresh(ASearchPanesApp& app) {
    listView->invalidate();
    getFrame()->setActiveListPane(this);
    app.setPlainListShown(display == 0 && sort != 2 ? 1 : 0);
}
