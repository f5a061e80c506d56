// The article title bar: title, outline and the article's tool buttons.
#include "panes/docks/top/DockTopKycfPane.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "app/frame/Frame1.h"
#include "app/state/AppState.h"
#include "docengine/render/ARenderer.h"
#include "docengine/render/ARendererViews.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/controls/AIconButton.h"
#include "panes/docks/top/ATopDockApp.h"
#include "panes/docks/top/ATopDockViews.h"
#include "search/facade/ASearchBase.h"

SV_IMPLEMENT_CLASS(DockTopKycfPane, 0, SVPane)

namespace {

const int16_t kContextKind = 7;
const int16_t kOutlineBase = 5;
const int16_t kBoundIds[] = {3128, 3012, 3121, 3122, 3124, 3123, 3127, 3132, 3129, 3130, 3131, 2606};
// Buttons and their tooltip entries in string list 6007.
const int16_t kHelp[][2] = {{3130, 28}, {3128, 49}, {2606, 57}, {3122, 24}, {3123, 26}, {3124, 25},
                            {3127, 33}, {3132, 59}, {3129, 34}, {3131, 23}};

template <class T>
T* ItemAs(SVPane* pane, int16_t id, long line) {
    AClusterItem* item = pane->findItem(id, false);
    return CheckAlloc(item ? static_cast<T*>(item->castTo(&T::classRecord)) : nullptr, "DockTopKycfPane", line);
}

}  // namespace

void DockTopKycfPane::readFrom(AMemoryStream& stream) {
    SVPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "DockTopKycfPane", 40);
}

void DockTopKycfPane::setUpItems() {
    SVPane::setUpItems();
    titleHolder_ = ItemAs<AStaticItem>(this, 3015, 45);
    titleView_ = ItemAs<ARendererView>(this, 3012, 46);
    outlineView_ = ItemAs<ARendererView>(this, 3121, 47);
    outlineButton_ = ItemAs<AIconButton>(this, 3128, 48);
    contextButton_ = ItemAs<AIconButton>(this, 2606, 49);
    highlightButton_ = ItemAs<AIconButton>(this, 3123, 50);
    previousButton_ = ItemAs<AIconButton>(this, 3122, 51);
    nextButton_ = ItemAs<AIconButton>(this, 3124, 52);
    mediaButton_ = ItemAs<AIconButton>(this, 3131, 53);
    hitImage_ = ItemAs<AStaticImage>(this, 3120, 54);
    // A font button at its limit keeps its greyed picture rather than leaving a gap.
    for (int16_t id : {3127, 3132, 3129}) {
        auto* button = ItemAs<AIconButton>(this, id, 55);
        button->clearItemFlags(AClusterItem::kShownByState);
        button->setVisible(true);
    }
    for (ADisplayComponent* c : {static_cast<ADisplayComponent*>(titleHolder_), static_cast<ADisplayComponent*>(titleView_),
                                 static_cast<ADisplayComponent*>(outlineView_)})
        c->setOffscreen(true, false);
    ATopDockApp& app = ATopDockApp::current();
    if ((outlineRenderer_ = app.createTextRenderer(outlineView_, 8)) != nullptr) {
        outlineRenderer_->marginH = 16;
        outlineRenderer_->marginV = 8;
    }
    splitMode_ = 1;
    highlightOff_ = 0;
    titleRenderer_ = app.createTextRenderer(titleView_, 2);
    show(contextButton_, false);
    show(outlineView_, false);
    show(outlineButton_, false);
    for (const auto& help : kHelp)
        setItemHelp(help[0], 6007, help[1], 0);
}

void DockTopKycfPane::detachItems() {
    titleHolder_ = nullptr;
    titleView_ = outlineView_ = nullptr;
    hitImage_ = nullptr;
    highlightButton_ = previousButton_ = nextButton_ = mediaButton_ = outlineButton_ = contextButton_ = nullptr;
    titleRenderer_ = outlineRenderer_ = nullptr;
    SVPane::detachItems();
}

void DockTopKycfPane::bindActions() {
    SVPane::bindActions();
    for (int16_t id : kBoundIds)
        addAction(id, this, id, nullptr);
}

void DockTopKycfPane::show(AComponent* item, bool visible) {
    if (auto* c = item ? static_cast<ADisplayComponent*>(item->castTo(&ADisplayComponent::classRecord)) : nullptr)
        c->setVisible(visible);
}

int16_t DockTopKycfPane::isPaneWanted() {
    ADocState* doc = docState();
    return doc && doc->fDocType == 0 ? 1 : 0;
}

// Outline for every document but the articles of icon type 1 or 23 (which
// offer the historical context instead).
bool DockTopKycfPane::outlineAllowed() {
    AppState* state = currentState();
    ADocState* doc = docState();
    if (!state || state->getDocNo() < 0 || !doc || doc->fDocType == 7)
        return true;
    int16_t icon = ATopDockApp::current().getDocIconType(state->getDocNo());
    return icon != 1 && icon != 23;
}

bool DockTopKycfPane::contextAvailable() {
    AppState* state = currentState();
    ADocState* doc = docState();
    ALeftState* left = leftState();
    if (!state || state->getDocNo() < 0 || !doc || doc->fDocType == 7 || (left && left->fMode == 5))
        return false;
    int16_t icon = ATopDockApp::current().getDocIconType(state->getDocNo());
    return icon == 1 || icon == 23;
}

bool DockTopKycfPane::storeSplitMode(int16_t mode) {
    ADocState* doc = docState();
    if (!doc)
        return false;
    splitMode_ = mode;
    doc->fUserInfo.slot(kSplitKey) = mode;
    return true;
}

int16_t DockTopKycfPane::outlineStatus() {
    if (!outlineAllowed()) {
        show(outlineView_, false);
        show(outlineButton_, false);
        return 2;
    }
    show(outlineButton_, true);
    AppState* state = currentState();
    if (!state || !docState())
        return 2;
    ADocRefInfo info = ATopDockApp::current().getDocRefInfo(state->getDocNo());
    if (!info.getInfo(9)) {
        if (splitMode_ == 2 && storeSplitMode(1)) {
            queueUpdate(0);
            if (article_)
                article_->applySplitMode();
        }
        show(outlineView_, false);
        return 2;
    }
    show(outlineView_, true);
    return splitMode_ == 2 ? 5 : 1;
}

void DockTopKycfPane::setSplitMode(int16_t mode) {
    if (mode == splitMode_ || !storeSplitMode(mode))
        return;
    if (article_)
        article_->applySplitMode();
}

void DockTopKycfPane::selectLine(long line, long value) {
    (void)value;
    if (line >= 0 && outlineRenderer_)
        outlineRenderer_->selectLines(line, 1);
}

void DockTopKycfPane::showOutline(long line, long value, const AString& text) {
    AppState* state = currentState();
    ATopDockApp& app = ATopDockApp::current();
    if (!state || !outlineRenderer_)
        return;
    if (text.length()) {
        outlineRenderer_->setStyleSheet(app.getStyleSheet(8));
        outlineRenderer_->setLaidOutTextModel(text, nullptr);
    } else {
        ASearchBase* base = app.getBase(kOutlineBase);
        ADocRefInfo info = app.getDocRefInfo(state->getDocNo());
        if (!base || !info.getInfo(9) || info.fRecord < 0)
            return;
        if (std::atol(base->getText(4, info.fRecord, 0).c_str()) <= 0)
            return;
        AFilteredFile stream = base->readToStream(3, info.fRecord, 0);
        outlineRenderer_->setStyleSheet(app.getStyleSheet(8));
        outlineRenderer_->setLaidOutStreamModel(stream, nullptr);
    }
    selectLine(line, value);
    outlineRenderer_->relayoutFrom(0, true);
}

// A new state of kind 7 on the same document; the current one becomes temporary.
void DockTopKycfPane::openContext() {
    AppState* state = currentState();
    if (!state)
        return;
    AppState* context = getFrame()->makeNavState(1, 0, 0, 1, -1, kContextKind, state->getScreenMode());
    context->setDocNo(state->getDocNo());
    ATopDockApp::current().fillDocDates(context);
    state->fTemporaire = 1;
    goToState(context);
    queueUpdate(0);
}

ACommand* DockTopKycfPane::doCommand(int16_t id, long argument) {
    switch (id) {
    case 3012:
    case 3121: break;
    case 3128:
        if (storeSplitMode(splitMode_ == 2 ? 1 : 2)) {
            queueUpdate(0);
            if (article_)
                article_->applySplitMode();
        }
        break;
    case 3122:
        goToPreviousHit();
        queueUpdate(0);
        break;
    case 3124:
        goToNextHit();
        queueUpdate(0);
        break;
    case 3123:
        if (ADocState* doc = docState()) {
            highlightOff_ = highlightOff_ ? 0 : 1;
            doc->fUserInfo.slot(kHighlightKey) = highlightOff_;
            if (article_)
                article_->setViewStyles(highlightOff_);
            queueUpdate(0);
        }
        break;
    case 3129:
    case 3127:
    case 3132:
        if (article_)
            article_->changeFontSize(id == 3129 ? 1 : id == 3127 ? -1 : 0);
        break;
    case 3130: getFrame()->findInText(""); break;
    case 3131:
        if (article_)
            article_->toggleMedia();
        break;
    case 2606: openContext(); break;
    default: return SVPane::doCommand(id, argument);
    }
    return noChangeCommand();
}

int16_t DockTopKycfPane::commandStatus(int16_t id, long argument) {
    switch (id) {
    case 3012:
    case 3121: return 2;
    case 3128: return outlineStatus();
    case 3122: return hasPreviousHit() ? 1 : 2;
    case 3124: return hasNextHit() ? 1 : 2;
    case 3123:
        if (hasSearchHits() && docState()) {
            show(hitImage_, true);
            return highlightOff_ == 1 ? 1 : 5;
        }
        show(hitImage_, false);
        return 2;
    case 3127: return article_ && article_->canReduceFont() ? 1 : 2;
    case 3129: return article_ && article_->canEnlargeFont() ? 1 : 2;
    case 3132: return article_ && article_->isFontChanged() ? 1 : 2;
    case 3130: return 1;
    case 3131:
        if (ATopDockApp::current().isCurrentDocIconType26()) {
            show(mediaButton_, false);
            return 2;
        }
        show(mediaButton_, true);
        if (!article_)
            return 2;
        return article_->mediaFlag() == 0 ? 1 : 5;
    case 2606: {
        bool available = contextAvailable();
        show(contextButton_, available);
        return available ? 1 : 2;
    }
    default: return SVPane::commandStatus(id, argument);
    }
}

void DockTopKycfPane::updatePane() {
    AppState* state = currentState();
    ADocState* doc = docState();
    SVPane::updatePane();
    ATopDockApp& app = ATopDockApp::current();
    if (!state || state->getDocNo() < 0) {
        title_ = AString();
    } else {
        std::string title = app.getDocTitle(state->getDocNo()).c_str();
        if (app.titlesPrefixed()) {
            size_t colon = title.find(':');
            std::string prefix = title.substr(0, colon);
            std::string rest = colon == std::string::npos ? std::string() : title.substr(colon + 1);
            rest = rest.substr(0, rest.find(':'));
            title_ = AString(("/2" + std::string(app.escapeMarkup(prefix.c_str()).c_str()) + " : /3" +
                              app.escapeMarkup(rest.c_str()).c_str())
                                 .c_str());
        } else {
            title_ = AString(("/3" + std::string(app.escapeMarkup(title.c_str()).c_str())).c_str());
        }
    }
    if (titleRenderer_) {
        titleRenderer_->setTextModel(title_.c_str(), nullptr);
        titleRenderer_->relayoutFrom(0, true);
    }
    if (doc && state && state->getDocNo() >= 0) {
        splitMode_ = static_cast<int16_t>(doc->fUserInfo.slot(kSplitKey));
        highlightOff_ = static_cast<int16_t>(doc->fUserInfo.slot(kHighlightKey));
    }
    queueUpdate(0);
}

int16_t DockTopKycfPane::hasSearchHits() {
    return article_ ? article_->hasSearchHits() : 0;
}

int16_t DockTopKycfPane::hasPreviousHit() {
    return article_ ? article_->hasPreviousHit() : 0;
}

int16_t DockTopKycfPane::hasNextHit() {
    return article_ ? article_->hasNextHit() : 0;
}

ACommand* DockTopKycfPane::goToPreviousHit() {
    if (article_)
        article_->showPreviousHit();
    return noChangeCommand();
}

ACommand* DockTopKycfPane::goToNextHit() {
    if (article_)
        article_->showNextHit();
    return noChangeCommand();
}
