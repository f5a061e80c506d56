// The centre document switcher: document requests, the right column and the splitter.
#include "panes/content/article/DockLCRPane.h"

#include "app/frame/Frame1.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/components/AKindSet.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/views/ASizerButton.h"
#include "panes/content/article/AContentApp.h"
#include "panes/content/article/DocKycfPane.h"
#include "panes/docks/top/DockTopAtlasPane.h"
#include "panes/docks/top/DockTopKycfPane.h"

SV_IMPLEMENT_CLASS(DockLCRPane, 0, SVPane)

namespace {

// An edge moved into the slot of the facing side (left into right, bottom
// into top): "same" and "opposite" are measured from the edge's own side, so
// a placement on the reference's near or far side swaps.
AEdge AsFacingEdge(AEdge edge) {
    uint16_t placement = edge.mode & AEdge::kPlacementMask;
    if (placement == 0x20 || placement == 0x30)
        edge.mode = static_cast<uint16_t>((edge.mode & ~AEdge::kPlacementMask) | (placement ^ 0x10));
    return edge;
}

template <class T>
T* ItemOf(AItemCluster* cluster, int16_t id, long line) {
    AClusterItem* item = cluster->findItem(id, false);
    return CheckAlloc(item ? static_cast<T*>(item->castTo(&T::classRecord)) : nullptr, "DockLCRPane", line);
}

}  // namespace

DockLCRPane* DockLCRPane::of(Frame1* frame) {
    SVPane* pane = frame ? frame->dockPane() : nullptr;
    return pane ? static_cast<DockLCRPane*>(pane->castTo(&DockLCRPane::classRecord)) : nullptr;
}

void DockLCRPane::readFrom(AMemoryStream& stream) {
    SVPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "DockLCRPane", 40);
}

void DockLCRPane::attachItems() {
    SVPane::attachItems();
    getFrame()->setDockPane(this);
    AContentApp::current().setDocumentSwitcher(this);
}

void DockLCRPane::setUpItems() {
    SVPane::setUpItems();
    for (int i = 0; i < 6; ++i)
        items_[i] = ItemOf<AStaticItem>(this, static_cast<int16_t>(1021 + i), 70);
    splitter_ = ItemOf<ASizerButton>(this, kSplitterId, 72);
    splitterHome_ = splitter_->getFrame().left();
    splitter_->addLink(this);
    setItemHelp(kSplitterId, 6007, 0, 1);
    for (int i = 2; i < 6; ++i)
        items_[i]->setTransparentFlag(true);
    // The top dock's library sits below this one: the switcher links the
    // article and atlas bars itself (the map's movie pane finds its bar here).
    if (AComponent* found = findDescendant(&DockTopKycfPane::classRecord, nullptr))
        setLink(kDockTopKycf, static_cast<SVPane*>(found->castTo(&SVPane::classRecord)));
    if (AComponent* found = findDescendant(&DockTopAtlasPane::classRecord, nullptr))
        setLink(kDockTopAtlas, static_cast<SVPane*>(found->castTo(&SVPane::classRecord)));
}

void DockLCRPane::detachItems() {
    if (AContentApp::current().documentSwitcher() == this)
        AContentApp::current().setDocumentSwitcher(nullptr);
    if (getFrame()->dockPane() == this)
        getFrame()->setDockPane(nullptr);
    SVPane::detachItems();
}

// The splitter's command is bound by the splitter's own behaviour, which
// keeps it enabled; a second binding here would conflict with it.
void DockLCRPane::bindActions() {
    SVPane::bindActions();
}

ACommand* DockLCRPane::doCommand(int16_t id, long argument) {
    if (id == kSplitterId)
        return noChangeCommand();
    return SVPane::doCommand(id, argument);
}

int16_t DockLCRPane::commandStatus(int16_t id, long argument) {
    if (id == kSplitterId)
        return 1;
    return SVPane::commandStatus(id, argument);
}

void DockLCRPane::componentDeleted(AComponent* component) {
    for (SVPane*& pane : links_) {
        if (pane == component)
            pane = nullptr;
    }
    if (component == links_[kDockLeft])
        leftSizing_ = nullptr;
    wireArticleToTopDock();
    SVPane::componentDeleted(component);
}

void DockLCRPane::setLink(Link link, SVPane* pane) {
    links_[link] = pane;
    wireArticleToTopDock();
}

void DockLCRPane::forgetLink(Link link, const SVPane* pane) {
    if (links_[link] == pane)
        setLink(link, nullptr);
}

DockLCRPane* DockLCRPane::around(const AComponent* pane) {
    AComponent* found = pane->findAncestor(&classRecord);
    return found ? static_cast<DockLCRPane*>(found->castTo(&classRecord)) : nullptr;
}

DockLCRPane* DockLCRPane::linkPane(SVPane* pane, Link link, const char* file, long line) {
    DockLCRPane* switcher = CheckAlloc(around(pane), file, line);
    switcher->setLink(link, pane);
    return switcher;
}

void DockLCRPane::wireArticleToTopDock() {
    auto* top = links_[kDockTopKycf] ? static_cast<DockTopKycfPane*>(
                                           links_[kDockTopKycf]->castTo(&DockTopKycfPane::classRecord))
                                     : nullptr;
    auto* article = links_[kDocKycf]
                        ? static_cast<DocKycfPane*>(links_[kDocKycf]->castTo(&DocKycfPane::classRecord))
                        : nullptr;
    if (top)
        top->setArticleView(article ? article->topView() : nullptr);
}

static DockTopKycfPane* TopDockOf(SVPane* pane) {
    return pane ? static_cast<DockTopKycfPane*>(pane->castTo(&DockTopKycfPane::classRecord)) : nullptr;
}

void DockLCRPane::setSplitMode(int16_t mode) {
    if (DockTopKycfPane* top = TopDockOf(links_[kDockTopKycf]))
        top->setSplitMode(mode);
}

void DockLCRPane::selectOutlineLine(long line, long offset) {
    if (DockTopKycfPane* top = TopDockOf(links_[kDockTopKycf]))
        top->selectLine(line, offset);
}

void DockLCRPane::loadTopOutline(long line, long offset, const AString& text) {
    if (DockTopKycfPane* top = TopDockOf(links_[kDockTopKycf]))
        top->showOutline(line, offset, text);
}

void DockLCRPane::setLeftDock(SVPane* pane, ALeftDockSizing* sizing) {
    links_[kDockLeft] = pane;
    leftSizing_ = pane ? sizing : nullptr;
}

void DockLCRPane::tellLeftDock() {
    if (splitter_ && leftSizing_)
        leftSizing_->setDockMode(splitter_->getFrame().left());
}

void DockLCRPane::linkChanged(AComponent* source, const AKindSet& kinds) {
    SVPane::linkChanged(source, kinds);
    if (source && source == splitter_ && kinds.contains(101))
        tellLeftDock();
}

int16_t DockLCRPane::isPaneWanted() {
    AppState* state = currentState();
    return state && state->getScreenMode() != 0;
}

void DockLCRPane::updatePane() {
    ALeftState* left = leftState();
    ARightState* right = rightState();
    if (isPaneWanted()) {
        arrangeRightColumn(right ? 1 : 0);
        if (splitter_)
            splitter_->setVisible(left && left->fExpand != 0);
    }
    SVPane::updatePane();
    SVPane* strip = links_[kDocFrise];
    if (isPaneWanted())
        arrangeTimeStrip(strip && strip->isPaneWanted());
}

// The strip's holder keeps its own height; the article area starts under it
// while the strip shows and takes the strip's place otherwise.
void DockLCRPane::arrangeTimeStrip(bool shown) {
    AStaticItem* strip = item(0);
    AStaticItem* article = item(2);
    if (!strip || !article)
        return;
    ASizeSpec spec = article->getSizeSpec();
    const ASizeSpec& place = strip->getSizeSpec();
    AEdge top = shown ? AsFacingEdge(place.edges[3]) : place.edges[1];
    AEdge& now = spec.edges[1];
    if (now.value == top.value && now.mode == top.mode && now.aux == top.aux)
        return;
    now = top;
    article->setSizeSpec(spec, true);
    layoutNow();
}

void DockLCRPane::goToDocument(long docNo, bool keepLeftAlways) {
    AppState* cur = currentState();
    AContentApp& app = AContentApp::current();
    if (docNo < 0 || (cur && docNo == cur->getDocNo()))
        return;
    int16_t keepLeft = 1, leftMode = -1, screenMode = -1;
    if (!keepLeftAlways && cur && cur->getScreenMode() == 0) {
        keepLeft = 0;
        leftMode = 1;
        screenMode = 1;
    }
    ADocState* doc = cur ? cur->getDocState() : nullptr;
    int16_t kind = app.getDocKind(docNo, doc ? doc->fDocType : 0);
    AppState* state = getFrame()->makeNavState(keepLeft, 0, cur && cur->hasRightCadenas() ? 1 : 0, 1, leftMode, kind,
                                               screenMode);
    state->setDocNo(docNo);
    goToState(state);
}

void DockLCRPane::showDocument(long docNo) {
    if (docNo < 0 || AContentApp::current().docIsMedia(docNo))
        return;
    goToDocument(docNo, false);
}

void DockLCRPane::openDocument(long docNo) {
    if (docNo < 0)
        return;
    if (AContentApp::current().docIsMedia(docNo)) {
        AContentApp::current().openMediaWindow(docNo, 0, 0);
        return;
    }
    goToDocument(docNo, true);
}

void DockLCRPane::arrangeRightColumn(int16_t rightShown) {
    if (!splitter_)
        return;
    AStaticItem* column = item(4);
    ASizeSpec centre1 = item(2)->getSizeSpec();
    ASizeSpec centre2 = item(3)->getSizeSpec();
    ASizeSpec right = column->getSizeSpec();
    ARect limits = splitter_->getLimits();
    const AEdge& centreRight = centre1.edges[2];
    const AEdge& columnRight = right.edges[2];
    if (!rightShown && centreRight.value == columnRight.value && centreRight.mode == columnRight.mode &&
        centreRight.aux == columnRight.aux)
        return;
    if (rightShown) {
        AEdge edge = AsFacingEdge(right.edges[0]);
        edge.value -= 1;
        centre1.edges[2] = centre2.edges[2] = edge;
        limits.second.x = column->getFrame().width() + kMinCentreWidth;
    } else {
        centre1.edges[2] = centre2.edges[2] = columnRight;
        limits.second.x = kMinCentreWidth;
    }
    item(2)->setSizeSpec(centre1, true);
    item(3)->setSizeSpec(centre2, true);
    ASizeSpec strip = item(0)->getSizeSpec();
    strip.edges[2] = centre1.edges[2];
    item(0)->setSizeSpec(strip, true);
    splitter_->setLimits(limits);
    layoutNow();
    long width = item(2)->getFrame().width();
    if (rightShown && width < kMinCentreWidth) {
        ARect at = splitter_->getFrame();
        splitter_->applyPosition(APoint(at.left() - (kMinCentreWidth - width), at.top()));
    }
}

long DockLCRPane::moveSplitter(long left, int16_t force) {
    if (splitter_ && (force || splitter_->hasFlags(ADisplayComponent::kVisible)))
        splitter_->applyPosition(APoint(static_cast<int32_t>(left), 0));
    return 0;
}

void DockLCRPane::syncLeftDockSize() {
    if (!splitter_) {
        AClusterItem* found = findItem(kSplitterId, false);
        splitter_ = found ? static_cast<ASizerButton*>(found->castTo(&ASizerButton::classRecord)) : nullptr;
        if (splitter_)
            splitterHome_ = splitter_->getFrame().left();
    }
    if (!splitter_ || !leftSizing_)
        return;
    splitter_->applyPosition(APoint(splitter_->getFrame().left(), splitter_->getFrame().top()));
    tellLeftDock();
}
