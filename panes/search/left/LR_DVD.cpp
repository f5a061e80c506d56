// The disc result list: loading a result key, opening a row, the automatic first document.
#include "panes/search/left/LR_DVD.h"


#include "app/state/AppState.h"
#include "docengine/render/ARenderer.h"
#include "docengine/render/ARendererViews.h"
#include "framework/components/ALayoutLoader.h"
#include "panes/search/left/ASearchPanesApp.h"
#include "panes/search/left/DockLeftRechSIPane.h"
#include "panes/search/left/ListSelection.h"

SV_IMPLEMENT_CLASS(LR_DVD, 0, LRDiscPane)

namespace {
const char kFile[] = "LR_DVD";
}

LR_DVD::LR_DVD() : LRDiscPane(1010, 1011) {}

void LR_DVD::readFrom(AMemoryStream& stream) {
    LRDiscPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, kFile, 40);
}

void LR_DVD::attachItems() {
    LRDiscPane::attachItems();
    searchPane = EnclosingSearchPane(this, kFile, 58);
}

void LR_DVD::detachItems() {
    LRDiscPane::detachItems();
    searchPane = nullptr;
}

void LR_DVD::updatePane() {
    LRDiscPane::updatePane();
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
        bool plainPath = RefreshMayOpenRow(*this, cur);
        if (plainPath) {
            long line = selLast > 0 ? selLast : 0;
            long n = docOfRow(line);
            if (openRequest) {
                openDocument(n, cur->getScreenMode());
            } else if (left && left->fNew && cur->getDocNo() < 0) {
                selFirst = selLast = 0;
                searchPane->saveState(left);
                cur->fTemporaire = 1;
                openDocument(docOfRow(0), cur->getScreenMode());
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
            selectOpened(app);
        } else {
            keepUnopened(cur, left, cur->fLink == 0 && !docLocked && left && (left->fHisto || left->fClone));
        }
        finishRefresh(app);
    }
    queueUpdate(0);
}
