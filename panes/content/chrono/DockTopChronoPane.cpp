// The chronology screen's top dock.
#include "panes/content/chrono/DockTopChronoPane.h"

#include "app/frame/Frame1.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "docengine/render/ARenderer.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/render/ATextRenderer.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/controls/AIconButton.h"
#include "panes/content/article/AContentApp.h"
#include "panes/content/article/DockLCRPane.h"

SV_IMPLEMENT_CLASS(DockTopChronoPane, 0, SVPane)

namespace {

const char kFile[] = "DockTopChronoPane";

}  // namespace

void DockTopChronoPane::readFrom(AMemoryStream& stream) {
    SVPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "DockTopChronoPane", 40);
}

void DockTopChronoPane::attachItems() {
    SVPane::attachItems();
    CheckAlloc(getFrame(), "DockTopChronoPane", 53);
    switcher_ = DockLCRPane::linkPane(this, DockLCRPane::kDockTopChrono, "DockTopChronoPane", 54);
}

void DockTopChronoPane::setUpItems() {
    SVPane::setUpItems();
    text_ = requiredItem<ARendererView>(kTextView, kFile, 64);
    text_->setShownFlag(true);
    if (ARenderer* renderer = AContentApp::current().createTextRenderer(text_, nullptr, 2)) {
        renderer->options = static_cast<uint16_t>(renderer->options & ~0x8);
        renderer->lineFlags |= 0x40 | 0x4000;
    }
    return_ = requiredItem<AIconButton>(kReturn, kFile, 72);
    return_->hide(false);
}

void DockTopChronoPane::bindActions() {
    SVPane::bindActions();
    for (int16_t id : {kTextView, kDocument, kReturn})
        addAction(id, this, id, nullptr);
    setItemHelp(kReturn, 6007, 58, 0);
}

ACommand* DockTopChronoPane::doCommand(int16_t id, long argument) {
    switch (id) {
        case kTextView:
            break;
        case kReturn:
            returnToArticle();
            break;
        default:
            return SVPane::doCommand(id, argument);
    }
    return noChangeCommand();
}

int16_t DockTopChronoPane::commandStatus(int16_t id, long argument) {
    switch (id) {
        case kTextView:
            return 2;
        case kReturn: {
            bool possible = canReturn();
            if (return_)
                return_->setVisible(possible);
            return possible ? 1 : 2;
        }
        default:
            return SVPane::commandStatus(id, argument);
    }
}

void DockTopChronoPane::updatePane() {
    SVPane::updatePane();
    if (ARenderer* renderer = text_ ? text_->renderer() : nullptr) {
        renderer->setTextModel("", nullptr);
        renderer->layOut();
    }
    queueUpdate(0);
}

int16_t DockTopChronoPane::isPaneWanted() {
    ADocState* doc = docState();
    return doc && doc->fDocType == 7 ? 1 : 0;
}

bool DockTopChronoPane::canReturn() {
    AppState* state = currentState();
    if (!state || state->getDocNo() < 0)
        return false;
    ADocState* doc = state->getDocState();
    ALeftState* left = state->getLeftState();
    return doc && doc->fDocType == 7 && (!left || left->fMode != 5);
}

void DockTopChronoPane::returnToArticle() {
    AppState* s = currentState();
    if (!s)
        return;
    ADocState* doc = s->getDocState();
    int16_t kind = AContentApp::current().getDocKind(s->getDocNo(), doc ? doc->fDocType : 0);
    AppState* n = getFrame()->makeNavState(1, 0, 0, 1, -1, kind, s->getScreenMode());
    n->setDocNo(s->getDocNo());
    if (doc && n->getDocState())
        n->getDocState()->fDate = doc->fDate;
    s->fTemporaire = 1;
    goToState(n);
}
