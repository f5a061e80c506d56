// The left dock: dock modes, entry bars, show and hide buttons, padlock.
#include "panes/search/left/DockLeftPane.h"

#include <new>

#include "app/frame/Frame1.h"
#include "app/state/AppState.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/components/AActionTable.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/controls/AIconButton.h"
#include "framework/views/ASizerButton.h"
#include "panes/search/left/ASearchPanesApp.h"

SV_IMPLEMENT_CLASS(DockLeftPane, 0, SVPane)
SV_IMPLEMENT_CLASS(ADockLeftCmd, 0, ACommand)

namespace {

const char kFile[] = "DockLeftPane";
const int16_t kHolderIds[5] = {0x4bb, 0x4bc, 0x4bd, 0x4be, 0x4bf};
const int16_t kHelpList = 6007;

// The 0-based entry a range command carries (0 for a direct call without a record).
int16_t EntryOf(long argument) {
    AActionRecord* record = ActionRecordOf(argument);
    return record ? static_cast<int16_t>(record->f3) : 0;
}

}  // namespace

// Bar 0x4d8's entries send 0x4c4, the strip's id; the others send their bar's id.
const DockLeftPane::Bar DockLeftPane::kBars[kBarCount] = {
    {0x4d8, 0x4c5, 0x4c9}, {0x4da, 0x4ed, 0x4ef}, {0x4db, 0x4f0, 0x4f2}, {0x4dc, 0x4f3, 0x4f6},
    {0x4dd, 0x4f7, 0x4f9}, {0x4de, 0x4fa, 0x4fe}, {0x4df, 0x4ff, 0x503}, {0x4e0, 0x504, 0x506},
    {0x4e1, 0x507, 0x508}, {0x4e2, 0x509, 0x50a}, {0x4e3, 0x50b, 0x50b},
};

long ADockLeftCmd::doIt() {
    if (action_ == 0 && pane_)
        pane_->showWantedChildren();
    return 0;
}

void DockLeftPane::readFrom(AMemoryStream& stream) {
    SVPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, kFile, 40);
}

void DockLeftPane::attachItems() {
    SVPane::attachItems();
    switcher = DockLCRPane::around(this);
    // The centre switcher moves the dock with its splitter; a frame without
    // one still lends the dock its arrangement.
    if (switcher) {
        switcher->setLeftDock(this, this);
        lcr = switcher;
    }
    for (AComponent* c = getParent(); c && !lcr; c = c->getParent()) {
        if (c->findById(kLeftArea, 0))
            lcr = c;
    }
}

ADisplayComponent* DockLeftPane::hostItem(int16_t id) {
    AComponent* c = lcr ? lcr->findById(id, 0) : nullptr;
    return c ? static_cast<ADisplayComponent*>(c->castTo(&ADisplayComponent::classRecord)) : nullptr;
}

void DockLeftPane::setUpItems() {
    SVPane::setUpItems();
    auto item = [this](int16_t id, int line) {
        return CheckAlloc(static_cast<AStaticItem*>(findItem(id, false) ? findItem(id, false)->castTo(&AStaticItem::classRecord)
                                                                        : nullptr),
                          kFile, line);
    };
    auto button = [this](int16_t id, int line) {
        AClusterItem* found = findItem(id, false);
        return CheckAlloc(found ? static_cast<AIconButton*>(found->castTo(&AIconButton::classRecord)) : nullptr, kFile,
                          line);
    };
    strip = item(kStrip, 101);
    for (int i = 0; i < kBarCount; ++i)
        bars[i] = item(kBars[i].id, 103);
    for (int i = 0; i < 5; ++i)
        holders[i] = item(kHolderIds[i], 105);
    showButton = button(kShowButton, 107);
    hideButtonA = button(kHideA, 108);
    hideButtonB = button(kHideB, 109);
    ADisplayComponent* left = hostItem(kLeftArea);
    initialWidth = fullWidth = left ? left->getSize().x : 0;
    stripWidth = strip->getSize().x;
    dockMode = -1;
    manualDisplay = 0;
    applyDockMode(1);
    setItemHelp(kHideA, kHelpList, 3, 0);
    setItemHelp(kHideB, kHelpList, 3, 0);
    setItemHelp(kShowButton, kHelpList, 4, 0);
    setItemHelp(kPadlock, kHelpList, 9, 0);
}

void DockLeftPane::detachItems() {
    strip = nullptr;
    showButton = hideButtonA = hideButtonB = nullptr;
    for (AStaticItem*& bar : bars)
        bar = nullptr;
    for (AStaticItem*& holder : holders)
        holder = nullptr;
    if (switcher && switcher->link(DockLCRPane::kDockLeft) == this)
        switcher->setLeftDock(nullptr, nullptr);
    switcher = nullptr;
    lcr = nullptr;
    SVPane::detachItems();
}

void DockLeftPane::bindActions() {
    SVPane::bindActions();
    for (int16_t id : {kSizer, kShowButton, kHideA, kHideB, kPadlock})
        addAction(id, this, id, nullptr);
    addActionRange(kStrip, this, kBars[0].first, kBars[0].last, nullptr);
    for (int i = 1; i < kBarCount - 1; ++i)
        addActionRange(kBars[i].id, this, kBars[i].first, kBars[i].last, nullptr);
    addAction(kEphemerisBar, this, kEphemerisEntry, nullptr);
}

long DockLeftPane::leftKey(long key) {
    ALeftState* left = leftState();
    return left ? left->fUserInfo.slot(key) : 0;
}

void DockLeftPane::setLeftKey(long key, long value) {
    if (ALeftState* left = leftState())
        left->fUserInfo.slot(key) = value;
}

int16_t DockLeftPane::barShown(int index) const {
    return bars[index] && bars[index]->hasFlags(ADisplayComponent::kShown) ? 1 : 0;
}

int DockLeftPane::barOfScreen(int16_t screenMode, int16_t room) {
    if (screenMode == 1)
        return 0;
    if (screenMode == 4)
        return room >= 1 && room <= 9 ? room : -1;
    if (screenMode == 6)
        return kBarCount - 1;
    return -1;
}

int16_t DockLeftPane::roomEntryValue(int barIndex, int16_t entry) {
    if (barIndex == 4 && (entry == 1 || entry == 2))
        return static_cast<int16_t>(entry + 3);
    return entry;
}

int16_t DockLeftPane::currentDocInfoFlag() {
    ADocState* doc = docState();
    AppState* state = currentState();
    if (!doc || doc->fDocType != 0 || !state)
        return 0;
    return ASearchPanesApp::current().docInfoDigit(state->getDocNo(), 11);
}

int16_t DockLeftPane::commandStatus(int16_t id, long argument) {
    bool locked = leftKey(7) == 1;
    switch (id) {
    case kSizer:
        return 1;
    case kPadlock:
        return manualDisplay == 1 ? 5 : 1;
    case kShowButton:
        if (showButton)
            showButton->setVisible(!locked);
        return locked || dockMode == 3 ? 2 : 1;
    case kHideA:
    case kHideB: {
        int16_t flag = currentDocInfoFlag();
        bool hidden = locked || (id == kHideB ? flag == 0 : flag != 0);
        if (AIconButton* b = id == kHideA ? hideButtonA : hideButtonB)
            b->setVisible(!hidden);
        return hidden || dockMode == 0 ? 2 : 1;
    }
    case kEphemerisBar:
        return barShown(kBarCount - 1) ? 5 : 2;
    default:
        break;
    }
    for (int i = 0; i < kBarCount - 1; ++i) {
        if (id == (i == 0 ? static_cast<int16_t>(kStrip) : kBars[i].id)) {
            if (!barShown(i))
                return 2;
            return EntryOf(argument) == currentEntry ? 5 : 1;
        }
    }
    return SVPane::commandStatus(id, argument);
}

ACommand* DockLeftPane::doCommand(int16_t id, long argument) {
    switch (id) {
    case kSizer:
    case kEphemerisBar:
        return noChangeCommand();
    case kPadlock:
        manualDisplay = manualDisplay == 1 ? 0 : 1;
        if (ADocState* doc = docState())
            doc->fCadenas = manualDisplay;
        invalidate();
        return noChangeCommand();
    case kShowButton:
        return showCommand();
    case kHideA:
        return hideACommand();
    case kHideB:
        return hideBCommand();
    default:
        break;
    }
    for (int i = 0; i < kBarCount - 1; ++i) {
        if (id == (i == 0 ? static_cast<int16_t>(kStrip) : kBars[i].id))
            return entryCommand(i, EntryOf(argument));
    }
    return SVPane::doCommand(id, argument);
}

ACommand* DockLeftPane::showCommand() {
    switch (dockMode) {
    case 0:
        applyDockMode(1);
        break;
    case 1:
        applyDockMode(static_cast<int16_t>(leftKey(8)) > 0 ? 2 : 3);
        break;
    case 2:
        applyDockMode(3);
        break;
    default:
        return noChangeCommand();
    }
    relayoutHost();
    return noChangeCommand();
}

ACommand* DockLeftPane::hideACommand() {
    switch (dockMode) {
    case 3:
        applyDockMode(static_cast<int16_t>(leftKey(8)) > 0 ? 2 : 1);
        break;
    case 2:
        applyDockMode(1);
        break;
    case 1:
        applyDockMode(0);
        break;
    default:
        return noChangeCommand();
    }
    relayoutHost();
    return noChangeCommand();
}

ACommand* DockLeftPane::hideBCommand() {
    applyDockMode(0);
    relayoutHost();
    return noChangeCommand();
}

void DockLeftPane::performButton(int16_t id) {
    int16_t status = commandStatus(id, 0);
    if (status == 1 || status == 5)
        doCommand(id, 0);
}

ACommand* DockLeftPane::entryCommand(int index, int16_t entry) {
    Frame1* frame = getFrame();
    AppState* state = currentState();
    int16_t room = state ? state->fSalle : 0;
    if (entry != currentEntry) {
        currentEntry = entry;
        if (index == 0) {
            frame->switchScreen(0, entry, 1, -1);
        } else {
            frame->switchScreen(0, roomEntryValue(index, entry), 4, room);
        }
        return noChangeCommand();
    }
    if (index == 4)
        return noChangeCommand();
    if (dockMode == 0) {
        performButton(kShowButton);
    } else {
        performButton(kHideA);
        if (index == 0)
            performButton(kHideB);
    }
    return noChangeCommand();
}

void DockLeftPane::relayoutHost() {
    if (auto* host = lcr ? static_cast<ADisplayComponent*>(lcr->castTo(&ADisplayComponent::classRecord)) : nullptr) {
        host->relayout();
        host->invalidate();
    }
    invalidate();
}

void DockLeftPane::applyDockMode(int16_t mode) {
    if (mode == dockMode)
        return;
    long d = fullWidth - stripWidth;
    ADisplayComponent* left = hostItem(kLeftArea);
    ADisplayComponent* centre = hostItem(kCentre);
    ADisplayComponent* follower = hostItem(kFollower);
    AComponent* sizerItem = lcr ? lcr->findById(kSizer, 0) : nullptr;
    auto* sizer = sizerItem ? static_cast<ASizerButton*>(sizerItem->castTo(&ASizerButton::classRecord)) : nullptr;
    bool geometry = left && centre && follower && sizer;
    ASizeSpec rules[3];
    if (geometry) {
        rules[0] = left->getSizeSpec();
        rules[1] = centre->getSizeSpec();
        rules[2] = follower->getSizeSpec();
    }
    if (mode == 0) {
        if (geometry) {
            fullWidth = left->getSize().x;
            d = fullWidth - stripWidth;
            rules[0].edges[2].value -= d;
            rules[1].edges[0].value += initialWidth - fullWidth;
            rules[2].edges[0].value -= d;
            sizer->setVisible(false);
        }
        setChildrenVisible(0);
    } else if (dockMode == 0) {
        if (geometry) {
            rules[0].edges[2].value += d;
            rules[1].edges[0].value += fullWidth - initialWidth;
            rules[2].edges[0].value += d;
            sizer->setVisible(true);
        }
        ADockLeftCmd show(0, this);
        perform(&show);
    }
    if (geometry && dockMode != -1) {
        left->setSizeSpec(rules[0], true);
        centre->setSizeSpec(rules[1], true);
        follower->setSizeSpec(rules[2], true);
        relayoutHost();
    }
    // At set-up (dockMode -1) the layout puts the sizer: the sizer, laid out
    // after the dock, has no panes yet and would leave the dock's edge behind.
    if (geometry && mode != 0 && dockMode != -1 && sizer->hasFlags(ADisplayComponent::kPlaced)) {
        int32_t top = sizer->getFrame().top();
        if (mode == 1)
            sizer->applyPosition(APoint(sizer->getLimits().left(), top));
        else if (mode == 3)
            sizer->applyPosition(APoint(10000, top));
        else
            sizer->applyPosition(APoint(static_cast<int32_t>(leftKey(8)), top));
    }
    dockMode = mode;
    if (ALeftState* state = leftState())
        state->fExpand = mode;
}

void DockLeftPane::setDockMode(long position) {
    ALeftState* left = leftState();
    if (!left)
        return;
    ADisplayComponent* centre = hostItem(kCentre);
    AComponent* sizerItem = lcr ? lcr->findById(kSizer, 0) : nullptr;
    auto* sizer = sizerItem ? static_cast<ASizerButton*>(sizerItem->castTo(&ASizerButton::classRecord)) : nullptr;
    int16_t mode;
    if (centre && centre->getSize().x < 341) {
        left->fUserInfo.slot(8) = 0;
        mode = 3;
    } else if (sizer && position == sizer->getLimits().left()) {
        left->fUserInfo.slot(8) = 0;
        mode = 1;
    } else {
        left->fUserInfo.slot(8) = position;
        mode = 2;
    }
    if (dockMode != 0) {
        dockMode = mode;
        left->fExpand = mode;
        invalidate();
    }
}

int16_t DockLeftPane::isPaneWanted() {
    ALeftState* left = leftState();
    return left && left->fExpand >= 0 && left->fExpand <= 3 ? 1 : 0;
}

void DockLeftPane::setPaneVisible(int16_t visible) {
    SVPane::setPaneVisible(visible);
    ALeftState* left = leftState();
    AppState* state = currentState();
    if (!visible || !left || !state)
        return;
    applyDockMode(left->fExpand);
    for (AStaticItem* bar : bars) {
        if (bar)
            bar->setVisible(false);
    }
    int16_t screen = state->getScreenMode();
    if (screen != 1 && screen != 4 && screen != 6)
        return;
    int index = barOfScreen(screen, state->fSalle);
    if (index >= 0)
        bars[index]->setVisible(true);
    currentEntry = static_cast<int16_t>(left->fMode - 1);
    invalidate();
}

void DockLeftPane::updatePane() {
    ALeftState* left = leftState();
    if (!left)
        ThrowAssert(kFile, 420);
    if (left->fClone != 0)
        return;
    applyDockMode(left->fExpand);
    ADocState* doc = docState();
    manualDisplay = doc ? doc->fCadenas : 0;
    SVPane::updatePane();
    left->fClone = left->fHisto = left->fNew = 0;
    invalidate();
}
