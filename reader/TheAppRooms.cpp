// The rooms: reading room texts, the tab descriptors and the state of a room link.
//
// Rooms base (data base 8 "SALLES"), the tables read here:
//   SALLEONGLET record r (room r + 1): one line per tab, "TAB#type:source:record:extra"
//     TAB     the tab's name; "SALLE_ONGLET_" TAB is the tab number's configuration key
//     type    one character: 'A'-'E', 'G' a room pane, 'P' a document, 'I' an online page
//     source  0 disc, 1 disc and online, 2 online
//     record  CONTENU record of the tab (left-state entry 1148)
//     extra   'P': the document shown; other types: left-state entry 1172
//   FS record 0: one line per room movie page, "page#room:TAB" (room from 0)
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/data/ADataManager.h"
#include "app/frame/Frame1.h"
#include "app/lines/ASVSallePrecLineGetter.h"
#include "reader/TheApp.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "base/object/AStringList.h"
#include "search/facade/ADataLocation.h"
#include "search/facade/ASearchBase.h"

namespace {

const short kRoomsBase = 8;
const short kFsTable = 2;
const short kTabTable = 3;

// A whole decimal number within [low, high], or false.
bool NumberIn(const char* text, long low, long high, long* value) {
    if (!text || !*text)
        return false;
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(text, &end, 10);
    if (errno != 0 || *end != 0 || v < low || v > high)
        return false;
    *value = v;
    return true;
}

// Record n of a table of the rooms base; "" when the base or the record is missing.
AString RoomsText(ADataManager* data, short table, long n) {
    ASearchBase* base = data ? data->getBase(kRoomsBase) : nullptr;
    if (!base || n < 0)
        return AString();
    try {
        return base->getText(table, n, 1);
    } catch (const AError&) {
        return AString();
    }
}

// The value of the line labelled label, "" when none.
AString ValueOfLabel(const AString& text, const char* label) {
    std::vector<std::string> lines = ASVSallePrecLineGetter::splitLines(text.c_str());
    for (size_t n = 0; n < lines.size(); ++n) {
        if (ASVSallePrecLineGetter::lineLabel(text.c_str(), static_cast<long>(n)) == AString(label))
            return ASVSallePrecLineGetter::lineValue(text.c_str(), static_cast<long>(n));
    }
    return AString();
}

}  // namespace

AString TheApp::getLineLabel(const char* text, int16_t n) {
    return ASVSallePrecLineGetter::lineLabel(text, n);
}

AString TheApp::getLineValue(const char* text, int16_t n) {
    return ASVSallePrecLineGetter::lineValue(text, n);
}

int16_t TheApp::applyRoomTab(const char* descriptor, AppState* state) {
    ALeftState* left = state ? state->getLeftState() : nullptr;
    if (!descriptor || !left)
        return 0;
    ARefHold<AStringList> fields(new AStringList(descriptor, ':'));
    std::string type = fields->at(0);
    long source = 0, record = 0, extra = 0;
    if (type.size() != 1 || std::string("ABCDEGPI").find(type[0]) == std::string::npos ||
        !NumberIn(fields->at(1), 0, 2, &source) || !NumberIn(fields->at(2), -1, 0x7FFFFFFF, &record) ||
        !NumberIn(fields->at(3), -1, 0x7FFFFFFF, &extra))
        return 0;
    left->fSalleType = type[0];
    left->fSalleLR = static_cast<int16_t>(source);
    left->fUserInfo.slot(1148) = record;
    left->fUserInfo.slot(1149) = 0;
    left->fUserInfo.slot(1153) = 0;
    if (type[0] == 'P') {
        state->setDocNo(extra);
        state->setUserInfo(1066, 1);
        state->fNbFrame = 2;
    } else {
        left->fUserInfo.slot(1172) = extra;
        if (type[0] == 'I')
            left->fExpand = 0;
    }
    return 1;
}

AppState* TheApp::makeRoomState(Frame1& frame, const char* link, int16_t docKind) {
    ARefHold<AStringList> fields(new AStringList(link ? link : "", ':'));
    long room = 0, tab = 0;
    std::string name = fields->at(1);
    if (!NumberIn(fields->at(0), 0, 8, &room) || name.empty())
        return nullptr;
    AString number = gDataLocation ? gDataLocation->getString(("SALLE_ONGLET_" + name).c_str()) : AString();
    if (!NumberIn(number.c_str(), 1, 0x7FFF, &tab))
        return nullptr;
    AString descriptor = ValueOfLabel(RoomsText(gDataManager, kTabTable, room), name.c_str());
    if (descriptor.empty())
        return nullptr;
    std::unique_ptr<AppState> state(frame.makeNavState(0, 0, 0, 0, static_cast<int16_t>(tab), docKind, 4));
    state->fSalle = static_cast<int16_t>(room + 1);
    state->setDocNo(-1);
    if (!applyRoomTab(descriptor.c_str(), state.get()))
        return nullptr;
    return state.release();
}

void TheApp::loadScreenAddresses() {
    if (!gDataLocation)
        return;
    for (long room = 0; room < 9; ++room) {
        AString text = RoomsText(gDataManager, kTabTable, room);
        std::vector<std::string> lines = ASVSallePrecLineGetter::splitLines(text.c_str());
        for (size_t n = 0; n < lines.size(); ++n) {
            std::string name = ASVSallePrecLineGetter::lineLabel(text.c_str(), static_cast<long>(n)).c_str();
            long tab = 0;
            AString number = gDataLocation->getString(("SALLE_ONGLET_" + name).c_str());
            if (!name.empty() && NumberIn(number.c_str(), 1, 0x7FFF, &tab))
                setScreenAddress(static_cast<int16_t>(room), static_cast<int16_t>(tab),
                                 (std::to_string(room) + ":" + name).c_str());
        }
    }
}

AString TheApp::roomLinkOfPage(const char* page) {
    if (!page || !*page)
        return AString();
    return ValueOfLabel(RoomsText(gDataManager, kFsTable, 0), page);
}

AppState* TheApp::makeRoomPageState(Frame1& frame, const char* page) {
    AString link = roomLinkOfPage(page);
    // The page is one of the room's movie: the centre shows that movie.
    return link.empty() ? nullptr : makeRoomState(frame, link.c_str(), 3);
}
