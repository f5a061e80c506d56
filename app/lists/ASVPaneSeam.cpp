// The pane-base operations the list panes call.
#include "app/lists/ASVPaneSeam.h"

#include "app/state/AppState.h"
#include "framework/components/ALayoutLoader.h"

SV_IMPLEMENT_CLASS(ASVPaneSeam, 0, APane)

namespace {

AppState* (*gStateHook)(APane* pane) = nullptr;

}  // namespace

void ASVPaneSeam::setStateHook(AppState* (*hook)(APane* pane)) {
    gStateHook = hook;
}

void ASVPaneSeam::readFrom(AMemoryStream& stream) {
    APane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "SVPane", 31);
}

AppState* ASVPaneSeam::currentState() {
    return gStateHook ? gStateHook(this) : nullptr;
}

ARightState* ASVPaneSeam::rightState() {
    AppState* state = currentState();
    return state ? state->getRightState() : nullptr;
}
