// The advanced search's disc list: loading the key, opening a row, the automatic first document.
#include "panes/search/advanced/LR_DVDAV.h"

#include <cstdlib>

#include "app/frame/Frame1.h"
#include "app/state/AppState.h"
#include "base/object/AError.h"
#include "docengine/render/ARenderer.h"
#include "docengine/render/ARendererViews.h"
#include "framework/components/ALayoutLoader.h"
#include "panes/content/article/DockLCRPane.h"
#include "panes/search/advanced/DockLeftRechAVPane.h"
#include "panes/search/left/ASearchPanesApp.h"
#include "panes/search/left/ListSelection.h"

SV_IMPLEMENT_CLASS(LR_DVDAV, 0, LROptionsDVDPane)

namespace {

const char kFile[] = "LR_DVDAV";

long DocOfKey(const AString& key) {
    return key.empty() ? -1 : atol(key.c_str());
}

template <class T>
T* Enclosing(AComponent* from, int line) {
    AComponent* found = from->findAncestor(&T::classRecord);
    return static_cast<T*>(CheckAlloc(found ? found->castTo(&T::classRecord) : nullptr, kFile, line));
}

}  // namespace

LR_DVDAV::LR_DVDAV() {
    selFirstKey = 1110;
    selLastKey = 1111;
}

void LR_DVDAV::readFrom(AMemoryStream& stream) {
    LROptionsDVDPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, kFile, 40);
}

void LR_DVDAV::attachItems() {
    LROptionsDVDPane::attachItems();
    CheckAlloc(getFrame(), kFile, __LINE__);
    // The centre switcher is not needed here: a frame without one still opens documents.
    AComponent* centre = findAncestor(&DockLCRPane::classRecord);
    lcrPane = centre ? static_cast<DockLCRPane*>(centre->castTo(&DockLCRPane::classRecord)) : nullptr;
    searchPane = Enclosing<DockLeftRechAVPane>(this, __LINE__);
}

void LR_DVDAV::setUpItems() {
    LROptionsDVDPane::setUpItems();
    setIcon(1509);
}

void LR_DVDAV::detachItems() {
    LROptionsDVDPane::detachItems();
    searchPane = nullptr;
    lcrPane = nullptr;
}

void LR_DVDAV::saveState(ABaseState* part) {
    LROptionsDVDPane::saveState(part);
    if (!part)
        return;
    part->fUserInfo.slot(1300) = optionsOpen;
    part->fUserInfo.slot(1301) = filter;
    part->fUserInfo.slot(1302) = display;
    part->fUserInfo.slot(1303) = sort;
}

void LR_DVDAV::resetState(long argument) {
    (void)argument;
    AppState* cur = currentState();
    selFirst = 0;
    selLast = cur && cur->hasDocCadenas() ? -2 : 0;
}

void LR_DVDAV::openDocument(long docNo, int16_t screenMode) {
    // Not through the centre switcher: a new search has already made docNo
    // the current document, which the switcher would leave unopened.
    OpenListDocument(this, nullptr, docNo, screenMode, 0);
}

void LR_DVDAV::selectionChanged(ARenderer* renderer) {
    (void)renderer;
    openClickedLine(listView);
}

void LR_DVDAV::openClickedLine(ARendererView* view) {
    OpenClickedListRow(this, nullptr, view);
}

void LR_DVDAV::updatePane() {
    LROptionsDVDPane::updatePane();
    AString key = searchPane->getPaneText();
    if (key.empty())
        return;
    loadList(key.c_str());
    ARenderer* renderer = listView ? listView->renderer() : nullptr;
    AppState* cur = currentState();
    ALeftState* left = leftState();
    if (!renderer || !renderer->model() || !cur || !left)
        return;
    ASearchPanesApp& app = ASearchPanesApp::current();
    const bool locked = cur->hasDocCadenas();
    if (cur->fLink == 0 && left->fNew)
        selLast = 0;
    const bool open =
        cur->fLink == 0 && !locked && !(selLast >= 0 && app.docIsMedia(DocOfKey(getLineKey(selLast))));
    if (open) {
        if (left->fNew) {
            selFirst = selLast = 0;
            long n = DocOfKey(getLineKey(0));
            cur->setDocNo(n);
            searchPane->saveState(left);
            cur->fTemporaire = 1;
            openDocument(n, cur->getScreenMode());
        } else if (!left->fHisto && !left->fClone) {
            openDocument(DocOfKey(getLineKey(selLast > 0 ? selLast : 0)), -1);
        } else {
            selFirst = left->fUserInfo.slot(1110);
            selLast = left->fUserInfo.slot(1111);
        }
        if (sort == 2)
            app.centerListLine(listView, selFirst, selLast);
        else
            SelectListRun(listView, selFirst, selLast);
    } else {
        if (cur->fLink == 0 && (left->fHisto || left->fClone)) {
            selFirst = left->fUserInfo.slot(1110);
            selLast = left->fUserInfo.slot(1111);
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
