// The main window's new state for a document opened from a workspace window.
#include "panes/docks/workspacewin/WorkspaceWinSupport.h"

#include "app/frame/Frame1.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "panes/docks/workspacewin/AWorkspaceWinApp.h"

namespace {

const int16_t kWebPageKind = 8;

}  // namespace

void GoToDocument(long docNo, bool webPage) {
    AWorkspaceWinApp& app = AWorkspaceWinApp::current();
    Frame1* frame = app.frame();
    if (!frame)
        return;
    AppState* current = frame->currentState();
    bool left = current && current->getLeftState();
    int16_t kind = kWebPageKind;
    if (!webPage) {
        ADocState* doc = current ? current->getDocState() : nullptr;
        kind = app.getDocKind(docNo, doc ? doc->fDocType : app.defaultDocKind());
    }
    AppState* state =
        frame->makeNavState(left ? 1 : 0, 0, 0, 0, left ? -1 : 1, kind, left ? current->getScreenMode() : 1);
    if (!state)
        return;
    if (!left && !webPage && state->getLeftState())
        state->getLeftState()->fExpand = 1;
    state->setDocNo(docNo);
    frame->goToState(state, 1);
}
