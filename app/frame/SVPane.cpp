// The pane base: the refresh walk, the save walk and the operations every
// pane answers for the frame and the tool bar.
#include "app/frame/SVPane.h"

#include "app/frame/Frame1.h"
#include "app/state/AppState.h"
#include "base/object/AString.h"
#include "framework/app/AppServices.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/components/ALayoutLoader.h"

SV_IMPLEMENT_CLASS(SVPane, 0, APane)

ASVPaneList::ASVPaneList(AComponent* component) {
    if (!component)
        ThrowAssert("SVPane", 20);
    Alist found;
    component->collectOutermost(&SVPane::classRecord, found);
    for (ALink* link = found.firstLink(); link != found.sentinel(); link = link->next) {
        auto* c = static_cast<AComponent*>(static_cast<APlink*>(link)->value);
        panes_.push_back(CheckAlloc(static_cast<SVPane*>(c->castTo(&SVPane::classRecord)), "SVPane", 26));
    }
}

void SVPane::readFrom(AMemoryStream& stream) {
    APane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "SVPane", 31);
}

void SVPane::attachItems() {
    APane::attachItems();
    AComponent* found = findAncestor(&Frame1::classRecord);
    frame_ = CheckAlloc(found ? static_cast<Frame1*>(found->castTo(&Frame1::classRecord)) : nullptr, "SVPane", 38);
}

void SVPane::setUpItems() {
    APane::setUpItems();
}

void SVPane::detachItems() {
    APane::detachItems();
}

void SVPane::bindActions() {
    APane::bindActions();
    if (ownItem_)
        addAction(ownItem_, this, ownItem_, nullptr);
}

ACommand* SVPane::doCommand(int16_t id, long argument) {
    if (ownItem_ && id == ownItem_) {
        ownItemCommand();
        return noChangeCommand();
    }
    return APane::doCommand(id, argument);
}

int16_t SVPane::commandStatus(int16_t id, long argument) {
    if (ownItem_ && id == ownItem_)
        return 1;
    return APane::commandStatus(id, argument);
}

Frame1* SVPane::getFrame() const {
    if (!frame_)
        ThrowAssert("SVPane", 62);
    return frame_;
}

void SVPane::updatePane() {
    APane::updatePane();
    for (SVPane* pane : ASVPaneList(this)) {
        // The document switcher's later panes would show a temporary state
        // already replaced; a dock that started finishes, as its kept part is
        // not walked again.
        if (this == getFrame()->dockPane() && getFrame()->isStateSuperseded())
            return;
        if (pane->isPaneWanted()) {
            pane->setPaneVisible(1);
            pane->updatePane();
        } else {
            pane->setPaneVisible(0);
        }
    }
}

void SVPane::setPaneVisible(int16_t visible) {
    setVisible(visible != 0);
    if (AComponent* holder = findAncestor(&AStaticItem::classRecord))
        static_cast<AStaticItem*>(holder->castTo(&AStaticItem::classRecord))->setVisible(visible != 0);
}

void SVPane::setChildrenVisible(int16_t visible) {
    for (SVPane* pane : ASVPaneList(this))
        pane->setPaneVisible(visible);
}

void SVPane::showWantedChildren() {
    for (SVPane* pane : ASVPaneList(this))
        pane->setPaneVisible(pane->isPaneWanted() ? 1 : 0);
}

void SVPane::saveTreeState(ABaseState* part) {
    for (SVPane* pane : ASVPaneList(this)) {
        if (!pane->isPaneWanted())
            continue;
        pane->saveState(part);
        pane->saveTreeState(part);
    }
}

AClusterItem* SVPane::labelledItem(int16_t id, long line) {
    AClusterItem* item = findItem(id, true);
    return CheckAlloc(item ? static_cast<AClusterItem*>(item->castTo(&AClusterItem::classRecord)) : nullptr, "SVPane",
                      line);
}

void SVPane::setItemText(int16_t id, int16_t list, int16_t index, int16_t flag) {
    (void)flag;
    AClusterItem* item = labelledItem(id, 109);
    AString text;
    item->setText(GetListString(text, static_cast<uint16_t>(list), index).c_str());
}

void SVPane::setItemHelp(int16_t id, int16_t list, int16_t index, int16_t flag) {
    AClusterItem* item = labelledItem(id, 116);
    AString text;
    item->setHelpText(GetListString(text, static_cast<uint16_t>(list), index).c_str(), flag);
}

ACommand* SVPane::goToPreviousHit() {
    return noChangeCommand();
}

ACommand* SVPane::goToNextHit() {
    return noChangeCommand();
}

ACommand* SVPane::findText(const char* text) {
    (void)text;
    return noChangeCommand();
}

void SVPane::goToState(AppState* state) {
    getFrame()->goToState(state, 1);
}

void SVPane::updatePrintMenus() {
    getFrame()->updatePrintMenus();
}

ACommand* SVPane::printDocument(SVPane* pane, int16_t kind) {
    return getFrame()->printDocument(kind, pane);
}

AppState* SVPane::currentState() {
    return getFrame()->currentState();
}

ALeftState* SVPane::leftState() {
    AppState* state = currentState();
    return state ? state->getLeftState() : nullptr;
}

ADocState* SVPane::docState() {
    AppState* state = currentState();
    return state ? state->getDocState() : nullptr;
}

ARightState* SVPane::rightState() {
    AppState* state = currentState();
    return state ? state->getRightState() : nullptr;
}

void SVPane::postTreeChange() {
    queueUpdate(0);
    for (SVPane* pane : ASVPaneList(this))
        pane->queueUpdate(0);
}
