// The room disc list: its key, its icon, opening a row and the first document of a room state.
#include "panes/search/rooms/LRSalle_DVD.h"

#include "app/frame/Frame1.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "docengine/render/ARenderer.h"
#include "docengine/render/ARendererViews.h"
#include "framework/components/ALayoutLoader.h"
#include "panes/content/article/DockLCRPane.h"
#include "panes/search/left/ASearchPanesApp.h"
#include "panes/search/left/ListSelection.h"
#include "panes/search/rooms/DockLeftSallePane.h"

SV_IMPLEMENT_CLASS(LRSalle_DVD, 0, LROptionsAfficherDVDPane)

namespace {

const char kFile[] = "LRSalle_DVD";
const int16_t kDiscIcon = 1509;

// Icons by room (rows) and tab (columns 1-5); 0 takes the disc list's icon.
const int16_t kIcons[9][5] = {
    {1529, 1530, 1531, 0, 0}, {1532, 1532, 0, 0, 0}, {1533, 1533, 1534, 0, 0},
    {1533, 1539, 1535, 0, 0}, {1536, 1537, 1538, 1539, 1531}, {1540, 1540, 0, 0, 0},
    {1533, 0, 1533, 0, 0},    {1533, 0, 0, 0, 0},    {1533, 0, 0, 0, 0},
};

}  // namespace

LRSalle_DVD::LRSalle_DVD() {
    selFirstKey = 1142;
    selLastKey = 1143;
}

void LRSalle_DVD::readFrom(AMemoryStream& stream) {
    LROptionsAfficherDVDPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, kFile, 40);
}

void LRSalle_DVD::attachItems() {
    LROptionsAfficherDVDPane::attachItems();
    frame = getFrame();
    lcr = DockLCRPane::around(this);
    roomPane = EnclosingRoomPane(this, kFile, 55);
}

void LRSalle_DVD::detachItems() {
    LROptionsAfficherDVDPane::detachItems();
    frame = nullptr;
    lcr = nullptr;
    roomPane = nullptr;
}

void LRSalle_DVD::saveState(ABaseState* part) {
    LROptionsAfficherDVDPane::saveState(part);
    if (!part)
        return;
    part->fUserInfo.slot(1300) = optionsOpen;
    part->fUserInfo.slot(1302) = display;
}

int16_t LRSalle_DVD::roomIconOf(int16_t room, int16_t tab) {
    if (room < 1 || room > 9 || tab < 1 || tab > 5 || !kIcons[room - 1][tab - 1])
        return kDiscIcon;
    return kIcons[room - 1][tab - 1];
}

int16_t LRSalle_DVD::roomIcon() {
    AppState* state = currentState();
    ALeftState* left = leftState();
    return state && left ? roomIconOf(state->fSalle, left->fMode) : kDiscIcon;
}

void LRSalle_DVD::openDocument(long docNo, int16_t screenMode) {
    if (docNo < 0)
        return;
    ADocState* doc = docState();
    int16_t kind = ASearchPanesApp::current().getDocKind(docNo, doc ? doc->fDocType : 0);
    AppState* state = frame->makeNavState(1, 0, 0, 1, -1, kind, screenMode);
    state->setDocNo(docNo);
    goToState(state);
}

void LRSalle_DVD::openClickedLine(ARendererView* view) {
    OpenClickedListRow(this, nullptr, view);
}

void LRSalle_DVD::updatePane() {
    LROptionsAfficherDVDPane::updatePane();
    setIcon(roomIcon());
    AString key = roomPane->getPaneText();
    if (key.empty())
        return;
    try {
        loadList(key.c_str());
    } catch (const AError&) {
        // A room text whose value names a damaged links record: no documents.
        loadList("0:-1");
        return;
    }
    AppState* cur = nullptr;
    ALeftState* left = nullptr;
    if (!shownStates(cur, left))
        return;
    const int16_t room = cur->fSalle;
    const bool mars = room == 7 && cur->getUserInfo(1174) != 0;
    const bool music = room == 6 && (cur->getUserInfo(1175) != 0 || cur->getUserInfo(1176) != 0);
    if (cur->fHisto) {
        readSavedSelection(left);
    }
    const bool first = IsFirstShowing(left);
    if (cur->fLink == 0 && first)
        selLast = 0;
    if (RefreshMayOpenRow(*this, cur)) {
        if (first) {
            selFirst = selLast = 0;
            long n = docOfRow(0);
            roomPane->saveState(left);
            cur->fTemporaire = 1;
            openDocument(n, cur->getScreenMode());
        } else if (left->fHisto || left->fClone) {
            readSavedSelection(left);
        } else {
            int16_t temporary = 0;
            if (selLast < 0 || cur->getDocNo() < 0) {
                if (mars) {
                    temporary = 1;
                    selLast = left->fUserInfo.slot(selLastKey);
                } else if (music) {
                    temporary = 1;
                }
            }
            cur->fTemporaire = temporary;
            openDocument(docOfRow(selLast > 0 ? selLast : 0), -1);
        }
        SelectListRun(listView, selFirst, selLast);
    } else {
        if (cur->fLink == 0 && (left->fHisto || left->fClone)) {
            readSavedSelection(left);
        } else {
            selLast = -2;
            if (mars) {
                readSavedSelection(left);
            } else if (!music) {
                cur->fTemporaire = 1;
            }
        }
        SelectListRun(listView, selFirst, selLast);
        if (selLast < 0)
            cur->fTemporaire = cur->fLink == 0 ? 1 : 0;
    }
    listView->invalidate();
}
