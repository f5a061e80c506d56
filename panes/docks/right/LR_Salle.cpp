// The room list: its keys and the header picture of the media kind.
#include "panes/docks/right/LR_Salle.h"

#include "app/state/AppState.h"
#include "framework/components/ALayoutLoader.h"
#include "panes/docks/right/ARightDockApp.h"

SV_IMPLEMENT_CLASS(LR_Salle, 0, LRExtPane)

LR_Salle::LR_Salle() {
    selFirstKey = 2030;
    selLastKey = 2031;
}

void LR_Salle::readFrom(AMemoryStream& stream) {
    LRExtPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "LR_Salle", 30);
}

void LR_Salle::updatePane() {
    LRExtPane::updatePane();
    AppState* state = currentState();
    if (!state)
        return;
    long doc = state->getDocNo();
    ADocRefInfo info = doc >= 0 ? ARightDockApp::current().getDocRefInfo(doc) : ADocRefInfo();
    setIcon(static_cast<int16_t>(info.firstMediaIconId()));
}
