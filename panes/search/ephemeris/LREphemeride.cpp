// The ephemeris screen's list: the event's documents, the first one opened, clicks.
#include "panes/search/ephemeris/LREphemeride.h"

#include <cstdlib>
#include <new>

#include "app/data/ADataManager.h"
#include "app/frame/Frame1.h"
#include "app/lines/SortableLineGetter.h"
#include "app/lists/AListApp.h"
#include "app/results/ASVResultLineGetter.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "docengine/render/ARenderer.h"
#include "docengine/render/ARendererViews.h"
#include "framework/components/ALayoutLoader.h"
#include "panes/search/ephemeris/AEphemerideInfo.h"
#include "panes/search/ephemeris/AEphemerisApp.h"
#include "panes/search/ephemeris/DockLeftEphemeridePane.h"
#include "panes/search/ephemeris/EphemeridePane.h"
#include "panes/search/left/ASearchPanesApp.h"
#include "panes/search/left/ListSelection.h"
#include "search/facade/ALoVect.h"
#include "search/facade/ASearchBase.h"

SV_IMPLEMENT_CLASS(LREphemeride, 0, LRPane)

namespace {

const char kFile[] = "LREphemeride";
const int16_t kInfoBase = 13;
const long kLinkHit = 3;

long DocOfKey(const AString& key) {
    return key.empty() ? -1 : std::atol(key.c_str());
}

}  // namespace

LREphemeride::LREphemeride() {
    selFirstKey = kFirstKey;
    selLastKey = kLastKey;
}

void LREphemeride::readFrom(AMemoryStream& stream) {
    LRPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, kFile, 30);
}

void LREphemeride::attachItems() {
    LRPane::attachItems();
    AComponent* found = findAncestor(&DockLeftEphemeridePane::classRecord);
    dockPane = CheckAlloc(
        found ? static_cast<DockLeftEphemeridePane*>(found->castTo(&DockLeftEphemeridePane::classRecord)) : nullptr,
        kFile, 45);
}

void LREphemeride::setUpItems() {
    LRPane::setUpItems();
    setIcon(kIcon);
}

void LREphemeride::detachItems() {
    LRPane::detachItems();
    dockPane = nullptr;
}

void LREphemeride::updatePane() {
    LRPane::updatePane();
    AppState* cur = currentState();
    ALeftState* left = leftState();
    if (!cur || !left)
        return;
    long event = cur->getUserInfo(EphemeridePane::kEventKey);
    AEphemerideInfo info(AEphemerideInfo::kBase, AEphemerideInfo::kDayTable, cur->getUserInfo(EphemeridePane::kDayKey),
                         static_cast<int16_t>(event));
    AString text;
    if (left->fClone || left->fHisto)
        text = left->getUserTxtInfo(kTextKey);
    else if (AEphemerisApp::current().isTextDoc(cur->getDocNo()))
        text = info.relatedListText(event);
    else
        text = info.docListText(event);
    if (text.empty())
        return;
    left->setUserTxtInfo(kTextKey, text.c_str());
    ALoVect* list = nullptr;
    try {
        list = new ALoVect(text.c_str());
    } catch (const AError&) {
        // A damaged day record lists nothing.
        return;
    }
    setLo(list);
    // Rows of titles from the documents' information base.
    ASearchBase* infoBase = gDataManager ? gDataManager->getBase(kInfoBase) : nullptr;
    SortableLineGetter* getter =
        infoBase ? CheckAlloc(new (std::nothrow) ASVResultLineGetter(infoBase, nullptr, lo, 0, nullptr, -1, nullptr, -1), kFile, 90)
             : nullptr;
    setLineGetter(getter);
    ARenderer* renderer = listView ? listView->renderer() : nullptr;
    if (!renderer || !getter)
        return;
    AListApp::setRowSpacing(renderer, 15, 5);
    renderer->setSourceModel(getter, nullptr);
    renderer->enableTables('*');
    if (renderer->model())
        settle();
    listView->invalidate();
    queueUpdate(0);
}

void LREphemeride::settle() {
    AppState* cur = currentState();
    ALeftState* left = leftState();
    ASearchPanesApp& app = ASearchPanesApp::current();
    const bool kept = left->fHisto || left->fClone;
    if (cur->fLink == 0 && left->fNew)
        selLast = 0;
    bool keep = cur->fLink != 0 || cur->hasDocCadenas() ||
                (selLast >= 0 && app.docIsMedia(DocOfKey(getLineKey(selLast))));
    if (!keep) {
        if (left->fNew) {
            selFirst = selLast = 0;
            long doc = DocOfKey(getLineKey(0));
            // An event without documents opens nothing.
            if (doc >= 0 && doc != cur->getDocNo()) {
                cur->setDocNo(doc);
                dockPane->saveState(left);
                cur->fTemporaire = 1;
                show(doc, cur->getScreenMode());
            }
        } else if (!kept) {
            long doc = DocOfKey(getLineKey(selLast < 0 ? 0 : selLast));
            if (doc >= 0 && doc != cur->getDocNo())
                show(doc, -1);
        } else {
            selFirst = left->fUserInfo.slot(kFirstKey);
            selLast = left->fUserInfo.slot(kLastKey);
        }
    } else if (cur->fLink != 0 || !kept) {
        selLast = -2;
    } else {
        selFirst = left->fUserInfo.slot(kFirstKey);
        selLast = left->fUserInfo.slot(kLastKey);
    }
    SelectListRun(listView, selFirst, selLast);
}

void LREphemeride::show(long doc, int16_t screenMode, int16_t keepRight) {
    ADocState* docPart = docState();
    int16_t kind = ASearchPanesApp::current().getDocKind(doc, docPart ? docPart->fDocType : 0);
    AppState* state = getFrame()->makeNavState(1, 0, keepRight, 1, -1, kind, screenMode);
    state->setDocNo(doc);
    goToState(state);
}

void LREphemeride::selectionChanged(ARenderer* renderer) {
    if (!renderer || renderer->getHitKind() != kLinkHit)
        return;
    AString name = renderer->getHitName();
    if (name.empty())
        return;
    long doc = std::atol(name.c_str());
    ASearchPanesApp& app = ASearchPanesApp::current();
    if (app.docIsMedia(doc)) {
        app.openMediaWindow(doc, 0, 0);
        return;
    }
    AppState* cur = currentState();
    if (!cur || doc == cur->getDocNo())
        return;
    show(doc, -1, cur->hasRightCadenas() ? 1 : 0);
}
