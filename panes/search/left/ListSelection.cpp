// Row runs of the search panes' lists.
#include "panes/search/left/ListSelection.h"

#include <cstdlib>
#include <string>

#include "app/frame/Frame1.h"
#include "app/frame/SVPane.h"
#include "app/lists/LROptionsAfficherDVDPane.h"
#include "app/lists/ListPane.h"
#include "app/state/AppState.h"
#include "docengine/render/AListRenderer.h"
#include "docengine/render/ARendererViews.h"
#include "framework/components/AKindSet.h"
#include "framework/controls/AEditBox.h"
#include "panes/content/article/DockLCRPane.h"
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

void OpenAs(SVPane* list, long docNo, int16_t kind, int16_t screenMode, int16_t keepRight) {
    AppState* state = list->getFrame()->makeNavState(1, 0, keepRight, 1, -1, kind, screenMode);
    state->setDocNo(docNo);
    list->goToState(state);
}

int16_t KeepRight(SVPane* list) {
    AppState* cur = list->currentState();
    return cur && cur->hasRightCadenas() ? 1 : 0;
}

}  // namespace

ARenderer* IndexEntryHit(ARendererView* view) {
    ARenderer* renderer = view ? view->renderer() : nullptr;
    if (!renderer)
        return nullptr;
    long kind = renderer->getHitKind();
    return kind >= 1 && kind <= 3 ? renderer : nullptr;
}

void OpenListDocument(SVPane* list, DockLCRPane* lcr, long docNo, int16_t screenMode, int16_t keepRight) {
    if (docNo < 0)
        return;
    if (lcr) {
        lcr->openDocument(docNo);
        return;
    }
    ADocState* doc = list->docState();
    OpenAs(list, docNo, ASearchPanesApp::current().getDocKind(docNo, doc ? doc->fDocType : 0), screenMode, keepRight);
}

void OpenClickedListRow(SVPane* list, DockLCRPane* lcr, ARendererView* view, bool keepPadlockedRight) {
    AString name = ClickedName(view);
    if (name.empty())
        return;
    long n = atol(name.c_str());
    ASearchPanesApp& app = ASearchPanesApp::current();
    if (app.docIsMedia(n)) {
        app.openMediaWindow(n, 0, 0);
        return;
    }
    AppState* cur = list->currentState();
    if (cur && n == cur->getDocNo())
        return;
    OpenListDocument(list, lcr, n, -1, keepPadlockedRight ? KeepRight(list) : int16_t(0));
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
    OpenAs(&pane, n, kWebPage, -1, KeepRight(&pane));
}

bool RefreshMayOpenRow(LROptionsAfficherDVDPane& list, AppState* cur) {
    return cur->fLink == 0 && !cur->hasDocCadenas() &&
           !(list.selLast >= 0 && ASearchPanesApp::current().docIsMedia(list.docOfRow(list.selLast)));
}

void ShowLexiconRows(ListPane* list, ALineGetter* getter) {
    list->setLineGetter(getter);
    ARendererView* view = list->getListView();
    ARenderer* renderer = view ? view->renderer() : nullptr;
    if (!renderer)
        return;
    renderer->setSourceModel(getter, nullptr);
    if (getter) {
        renderer->enableTables('*');
        view->redraw(true);
    }
}

void RestoreTypedList(ListPane* list, AEditBox* field, int16_t textKey) {
    AppState* cur = list->currentState();
    ALeftState* left = list->leftState();
    // The field tells its links (the type-ahead) of its new text at once.
    auto notify = [field] {
        AKindSet kinds;
        kinds.add(kUpdateValue);
        field->notify(kinds);
    };
    if (field && left && left->fNew) {
        field->setText("");
        list->selFirst = 0;
        list->selLast = -2;
        notify();
    } else if (field && left && left->fHisto) {
        field->setText(left->getUserTxtInfo(textKey).c_str());
        list->selFirst = left->fUserInfo.slot(list->selFirstKey);
        list->selLast = left->fUserInfo.slot(list->selLastKey);
        notify();
    }
    SelectListRun(list->getListView(), list->selFirst, list->selLast);
    if (list->selLast < 0 && cur)
        cur->fTemporaire = cur->fLink == 0 ? 1 : 0;
    if (field)
        field->becomeTarget(0);
    list->queueUpdate(0);
}
