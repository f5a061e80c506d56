// The disc result list: loading a result key, opening a row, the automatic first document.
#include "panes/search/left/LR_DVD.h"

#include <cstdlib>
#include <new>

#include "app/frame/Frame1.h"
#include "app/state/AppState.h"
#include "docengine/render/ARenderer.h"
#include "docengine/render/ARendererViews.h"
#include "framework/components/ALayoutLoader.h"
#include "panes/content/article/DockLCRPane.h"
#include "panes/search/left/ASearchPanesApp.h"
#include "panes/search/left/DockLeftRechSIPane.h"
#include "panes/search/left/ListSelection.h"

SV_IMPLEMENT_CLASS(LR_DVD, 0, LROptionsDVDPane)

namespace {

const char kFile[] = "LR_DVD";

// The document number of a row key; -1 for a row without one.
long DocOfKey(const AString& key) {
    return key.empty() ? -1 : atol(key.c_str());
}

}  // namespace

LR_DVD::LR_DVD() {
    selFirstKey = 1010;
    selLastKey = 1011;
}

void LR_DVD::readFrom(AMemoryStream& stream) {
    LROptionsDVDPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, kFile, 40);
}

void LR_DVD::attachItems() {
    LROptionsDVDPane::attachItems();
    searchPane = EnclosingSearchPane(this, kFile, 58);
    AComponent* centre = findAncestor(&DockLCRPane::classRecord);
    lcrPane = centre ? static_cast<DockLCRPane*>(centre->castTo(&DockLCRPane::classRecord)) : nullptr;
}

void LR_DVD::setUpItems() {
    LROptionsDVDPane::setUpItems();
    setIcon(1509);
}

void LR_DVD::detachItems() {
    LROptionsDVDPane::detachItems();
    searchPane = nullptr;
    lcrPane = nullptr;
}

void LR_DVD::saveState(ABaseState* part) {
    LROptionsDVDPane::saveState(part);
    if (!part)
        return;
    part->fUserInfo.slot(1300) = optionsOpen;
    part->fUserInfo.slot(1301) = filter;
    part->fUserInfo.slot(1302) = display;
    part->fUserInfo.slot(1303) = sort;
}

void LR_DVD::openDocument(long docNo, int16_t screenMode) {
    OpenListDocument(this, lcrPane, docNo, screenMode, 0);
}

void LR_DVD::selectionChanged(ARenderer* renderer) {
    (void)renderer;
    openClickedLine(listView);
}

void LR_DVD::openClickedLine(ARendererView* view) {
    OpenClickedListRow(this, lcrPane, view);
}

void LR_DVD::updatePane() {
    LROptionsDVDPane::updatePane();
    AString key = searchPane->getPaneText();
    loadList(key.c_str());
    if (key.empty())
        return;
    ARenderer* renderer = listView ? listView->renderer() : nullptr;
    AppState* cur = currentState();
    ALeftState* left = leftState();
    if (renderer && renderer->model() && cur) {
        ASearchPanesApp& app = ASearchPanesApp::current();
        bool docLocked = cur->hasDocCadenas();
        long openRequest = left ? left->fUserInfo.slot(1004) : 0;
        if ((cur->fHisto || openRequest) && left) {
            selFirst = left->fUserInfo.slot(1010);
            selLast = left->fUserInfo.slot(1011);
        }
        if (cur->fLink == 0 && left && left->fNew)
            selLast = 0;
        bool plainPath = cur->fLink == 0 && !docLocked &&
                         !(selLast >= 0 && app.docIsMedia(DocOfKey(getLineKey(selLast))));
        if (plainPath) {
            long line = selLast > 0 ? selLast : 0;
            long n = DocOfKey(getLineKey(line));
            if (openRequest) {
                openDocument(n, cur->getScreenMode());
            } else if (left && left->fNew && cur->getDocNo() < 0) {
                selFirst = selLast = 0;
                searchPane->saveState(left);
                cur->fTemporaire = 1;
                openDocument(DocOfKey(getLineKey(0)), cur->getScreenMode());
            } else if (left && left->fNew) {
                // A document asked for with the search carried along (from the
                // home screen) stays: the first row would replace it.
                selFirst = 0;
                selLast = -2;
            } else if (left && !left->fHisto && !left->fClone) {
                openDocument(n, -1);
            } else if (left) {
                selFirst = left->fUserInfo.slot(1010);
                selLast = left->fUserInfo.slot(1011);
            }
            if (sort == 2)
                app.centerListLine(listView, selFirst, selLast);
            else
                SelectListRun(listView, selFirst, selLast);
        } else {
            if (cur->fLink == 0 && !docLocked && left && (left->fHisto || left->fClone)) {
                selFirst = left->fUserInfo.slot(1010);
                selLast = left->fUserInfo.slot(1011);
            } else {
                selLast = -2;
            }
            SelectListRun(listView, selFirst, selLast);
            if (selLast < 0)
                cur->fTemporaire = cur->fLink == 0 ? 1 : 0;
        }
        listView->invalidate();
        getFrame()->setActiveListPane(this);
        app.setPlainListShown(display == 0 && sort != 2 ? 1 : 0);
    }
    queueUpdate(0);
}
