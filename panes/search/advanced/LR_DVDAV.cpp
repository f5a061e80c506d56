// The advanced search's disc list: loading the key, opening a row, the automatic first document.
#include "panes/search/advanced/LR_DVDAV.h"

#include "app/frame/Frame1.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "docengine/render/ARendererViews.h"
#include "framework/components/ALayoutLoader.h"
#include "panes/search/advanced/DockLeftRechAVPane.h"
#include "panes/search/left/ASearchPanesApp.h"
#include "panes/search/left/ListSelection.h"

SV_IMPLEMENT_CLASS(LR_DVDAV, 0, LRDiscPane)

namespace {

const char kFile[] = "LR_DVDAV";

template <class T>
T* Enclosing(AComponent* from, int line) {
    AComponent* found = from->findAncestor(&T::classRecord);
    return static_cast<T*>(CheckAlloc(found ? found->castTo(&T::classRecord) : nullptr, kFile, line));
}

}  // namespace

LR_DVDAV::LR_DVDAV() : LRDiscPane(1110, 1111) {}

void LR_DVDAV::readFrom(AMemoryStream& stream) {
    LRDiscPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, kFile, 40);
}

void LR_DVDAV::attachItems() {
    LRDiscPane::attachItems();
    CheckAlloc(getFrame(), kFile, __LINE__);
    searchPane = Enclosing<DockLeftRechAVPane>(this, __LINE__);
}

void LR_DVDAV::detachItems() {
    LRDiscPane::detachItems();
    searchPane = nullptr;
}

void LR_DVDAV::resetState(long argument) {
    (void)argument;
    AppState* cur = currentState();
    selFirst = 0;
    selLast = cur && cur->hasDocCadenas() ? -2 : 0;
}

void LR_DVDAV::updatePane() {
    LRDiscPane::updatePane();
    AString key = searchPane->getPaneText();
    if (key.empty())
        return;
    loadList(key.c_str());
    AppState* cur = nullptr;
    ALeftState* left = nullptr;
    if (!shownStates(cur, left))
        return;
    ASearchPanesApp& app = ASearchPanesApp::current();
    if (cur->fLink == 0 && left->fNew)
        selLast = 0;
    if (RefreshMayOpenRow(*this, cur)) {
        if (left->fNew) {
            selFirst = selLast = 0;
            long n = docOfRow(0);
            cur->setDocNo(n);
            searchPane->saveState(left);
            cur->fTemporaire = 1;
            openDocument(n, cur->getScreenMode());
        } else if (!left->fHisto && !left->fClone) {
            openDocument(docOfRow(selLast > 0 ? selLast : 0), -1);
        } else {
            selFirst = left->fUserInfo.slot(1110);
            selLast = left->fUserInfo.slot(1111);
        }
        selectOpened(app);
    } else {
        keepUnopened(cur, left, cur->fLink == 0 && (left->fHisto || left->fClone));
    }
    finishRefresh(app);
}
