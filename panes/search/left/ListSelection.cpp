// Row runs of the search panes' lists.
#include "panes/search/left/ListSelection.h"

#include <cstdlib>
#include <string>

#include "app/frame/Frame1.h"
#include "app/frame/SVPane.h"
#include "app/state/AppState.h"
#include "docengine/render/ARenderer.h"

#include "docengine/render/AListRenderer.h"
#include "docengine/render/ARendererViews.h"
#include "panes/search/left/ASearchPanesApp.h"

void SelectListRun(ARendererView* view, long first, long last) {
    auto* list = dynamic_cast<AListRenderer*>(view ? view->renderer() : nullptr);
    if (!list || !list->model())
        return;
    if (first < 0 || last < first) {
        list->selectLines(-1, 0);
        list->showLine(-2);
    } else {
        list->selectRow(first, 0, 0, -1);
    }
    view->invalidate();
}

long NextRow(long line, long lineCount) {
    return line + 1 < lineCount ? line + 1 : (lineCount > 0 ? lineCount - 1 : 0);
}

AString UnescapedKey(const AString& key) {
    std::string out;
    for (const char* p = key.c_str(); *p; ++p) {
        if (*p == '\\' && p[1])
            ++p;
        out += *p;
    }
    return AString(out.c_str());
}

namespace {

const long kLinkHit = 3;
const int16_t kWebPage = 8;

// The name of the clicked link, "" when the click was on no named link.
AString ClickedName(ARendererView* view) {
    ARenderer* renderer = view ? view->renderer() : nullptr;
    if (!renderer || renderer->getHitKind() != kLinkHit)
        return AString();
    return renderer->getHitName();
}

void OpenAs(SVPane& pane, long docNo, int16_t kind) {
    AppState* cur = pane.currentState();
    int16_t keepRight = cur && cur->hasRightCadenas() ? 1 : 0;
    AppState* state = pane.getFrame()->makeNavState(1, 0, keepRight, 1, -1, kind, -1);
    state->setDocNo(docNo);
    pane.goToState(state);
}

}  // namespace

void OpenClickedDocument(SVPane& pane, ARendererView* view) {
    AString name = ClickedName(view);
    if (name.empty())
        return;
    long n = atol(name.c_str());
    ASearchPanesApp& app = ASearchPanesApp::current();
    if (app.docIsMedia(n)) {
        app.openMediaWindow(n, 0, 0);
        return;
    }
    AppState* cur = pane.currentState();
    if (cur && n == cur->getDocNo())
        return;
    ADocState* doc = pane.docState();
    OpenAs(pane, n, app.getDocKind(n, doc ? doc->fDocType : 0));
}

void OpenClickedAddress(SVPane& pane, ARendererView* view) {
    AString name = ClickedName(view);
    if (name.empty())
        return;
    ASearchPanesApp& app = ASearchPanesApp::current();
    long n = app.getUrlDocNo(UnescapedKey(name).c_str());
    if (n < 0) {
        // A malformed or unknown address builds no state.
        app.beep();
        return;
    }
    OpenAs(pane, n, kWebPage);
}
