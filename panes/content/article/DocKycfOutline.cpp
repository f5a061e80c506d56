// The article view's outline, split modes and view settings (text size,
// media blocks, highlighting): the part of DocKycfPane that re-arranges or
// re-lays out the article in place.
#include <algorithm>
#include <cstdlib>

#include "app/prefs/APrefManager.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "base/object/AFilteredFile.h"
#include "base/procedural/AError.h"
#include "docengine/model/ALaidOutDocModel.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/render/ATextRenderer.h"
#include "docengine/styles/AStyleSheet.h"
#include "framework/app/AApp.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/components/AKindSet.h"
#include "framework/display/ASizing.h"
#include "panes/content/article/AContentApp.h"
#include "panes/content/article/DocKycfPane.h"
#include "panes/content/article/DockLCRPane.h"
#include "search/facade/ASearchBase.h"

namespace {

const long kOutlineOffset = 400;  // where the selected outline line sits in its view
const int16_t kOutlineSheet = 7;

ALaidOutDocModel* LaidOut(ARenderer* renderer) {
    return renderer ? dynamic_cast<ALaidOutDocModel*>(renderer->model()) : nullptr;
}

void SetEdge(AStaticItem* part, int edge, long value) {
    ASizeSpec rule = part->getSizeSpec();
    if (rule.edges[edge].value == value)
        return;
    rule.edges[edge].value = static_cast<int32_t>(value);
    part->setSizeSpec(rule, true);
}

}  // namespace

ARenderer* DocKycfPane::outlineRenderer() const {
    return outlineView_ ? outlineView_->renderer() : nullptr;
}

AString DocKycfPane::printedContents() {
    ALaidOutDocModel* shown = LaidOut(outlineRenderer());
    AppState* state = currentState();
    if (!shown || !state || outline_.sections() <= 0 ||
        !AContentApp::current().getDocRefInfo(state->getDocNo()).getInfo(9))
        return AString();
    // A copy: the sections folded on screen stay folded.
    ADocModel* all = CheckAlloc(shown->clone(), "DocKycfPane", 400);
    all->addRef();
    AString text;
    try {
        all->expandAll(0);
        text = all->exportText(0, all->getPositionCount(), nullptr, false);
    } catch (...) {
        all->release();
        throw;
    }
    all->release();
    return text;
}

bool DocKycfPane::currentIconIs26() {
    AppState* state = currentState();
    return state && AContentApp::current().getDocIconType(state->getDocNo()) == 26;
}

// ---- Outline -------------------------------------------------------------------

bool DocKycfPane::parseOutlineMap(const char* text, long outlineEnd, long articleEnd) {
    sectionStart_ = sectionEnd_ = 0;
    return outline_.parse(text, outlineEnd, articleEnd);
}

void DocKycfPane::hideOutline() {
    outline_.clear();
    sectionStart_ = sectionEnd_ = 0;
    ADocState* doc = docState();
    if (doc && doc->fUserInfo.slot(kOutlineShownKey) != 1) {
        doc->fUserInfo.slot(kOutlineShownKey) = 1;
        applySplitMode();
    }
}

void DocKycfPane::setSection(long index) {
    if (AppState* state = currentState())
        state->setUserInfo(kSectionKey, index);
    sectionStart_ = outline_.articleAt(index);
    sectionEnd_ = outline_.articleAt(index + 1);
}

void DocKycfPane::loadOutline(bool fromHistory) {
    AppState* state = currentState();
    AContentApp& app = AContentApp::current();
    ARenderer* outline = outlineRenderer();
    AAppTextRenderer* article = articleRenderer();
    if (!state || !outline || !article)
        return;
    AViewMeasureLock measuring(outlineView_);
    ADocRefInfo info = app.getDocRefInfo(state->getDocNo());
    ASearchBase* base = app.getBase(info.fDocBase);
    if (!base || !info.getInfo(9)) {
        hideOutline();
        return;
    }
    // Read once for both outlines: this one and the top dock's.
    AString text;
    try {
        AString mapText = base->getText(4, info.fRecord, 0);
        if (std::atol(mapText.c_str()) <= 0)
            return;
        long start = 0, end = 0, outlineStart = 0, outlineEnd = 0;
        base->getExtent(info.fDocBaseNo, info.fRecord, 0, &start, &end);
        base->getExtent(3, info.fRecord, 0, &outlineStart, &outlineEnd);
        bool inMemory = base->readRecord(3, info.fRecord, 0, &text);
        outline->setStyleSheet(app.getStyleSheet(kOutlineSheet));
        // A map that does not fit its texts gives no outline rather than sections out of range.
        if (!parseOutlineMap(mapText.c_str(), outlineEnd - outlineStart, end - start)) {
            hideOutline();
            return;
        }
        if (inMemory) {
            outline->setLaidOutTextModel(text, nullptr);
        } else {
            text = AString();
            outline->setLaidOutStreamModel(base->readToStream(3, info.fRecord, 0), nullptr);
        }
    } catch (const AError&) {
        hideOutline();
        return;
    }
    long line = 0;
    state->setUserInfo(kSectionKey, 0);
    sectionStart_ = sectionEnd_ = 0;
    if (fromHistory) {
        line = syncOutline();
    } else {
        line = outline_.outlineAt(0);
        if (ALaidOutDocModel* model = LaidOut(outline))
            model->collapseAll(0);
        outline->showPosition(line);
        syncOutline();
    }
    long i = state->getUserInfo(kSectionKey);
    outline->layOut();
    if (i >= 0 && i < outline_.sections())
        setSection(i);
    if (switcher_)
        switcher_->loadTopOutline(line, kOutlineOffset, text);
}

long DocKycfPane::syncOutline() {
    AAppTextRenderer* article = articleRenderer();
    if (!article)
        ThrowAssert("DocKycfPane", 638);
    AppState* state = currentState();
    long pos = article->currentPosition();
    long k = outline_.sectionOf(pos);
    if (k < 0 || !state)
        return -1;
    if (pos >= sectionStart_ && pos <= sectionEnd_ - 1)
        return outline_.outlineAt(k);
    if (k == state->getUserInfo(kSectionKey) && sectionEnd_ > sectionStart_)
        return -1;
    long line = outline_.outlineAt(k);
    ARenderer* outline = outlineRenderer();
    AViewMeasureLock measuring(outlineView_);
    if (ALaidOutDocModel* model = LaidOut(outline))
        model->collapseAll(0);
    if (outline)
        outline->showPosition(line);
    setSection(k);
    if (switcher_)
        switcher_->selectOutlineLine(line, kOutlineOffset);
    return line;
}

void DocKycfPane::outlineClicked() {
    ARenderer* outline = outlineRenderer();
    if (outline && outline->getHitKind() == 3)
        followOutlineLink(std::atol(outline->getHitName().c_str()), outline->getHitIndex());
}

void DocKycfPane::followOutlineLink(long target, long hitIndex) {
    AAppTextRenderer* article = articleRenderer();
    long k = outline_.sectionOf(target);
    if (!article || k < 0)
        return;
    setSection(k);
    skipSync_ = 1;
    article->scrollToPosition(target);
    ARenderer* outline = outlineRenderer();
    if (hitIndex >= 0 && outline) {
        outline->selectHit(hitIndex);
        if (switcher_)
            switcher_->selectOutlineLine(hitIndex, kOutlineOffset);
    }
    // The outline filled the column: hide it so that the article shows.
    if (splitMode_ == 2 && switcher_)
        switcher_->setSplitMode(1);
    articleView_->queueUpdate(101);
}

void DocKycfPane::linkChanged(AComponent* source, const AKindSet& kinds) {
    SearchPane::linkChanged(source, kinds);
    if (!source || source != articleView_ || !kinds.contains(101))
        return;
    AppState* state = currentState();
    bool hasOutline = state && AContentApp::current().getDocRefInfo(state->getDocNo()).getInfo(9);
    if (hasOutline && !skipSync_)
        syncOutline();
    else
        skipSync_ = 0;
}

long DocKycfPane::frameChanged(const APoint& size) {
    if (outlinePart_)
        applySplitMode();
    return SearchPane::frameChanged(size);
}

void DocKycfPane::applySplitMode() {
    ADocState* doc = docState();
    if (!doc || !outlinePart_ || !articlePart_)
        return;
    bool shown = doc->fUserInfo.slot(kOutlineShownKey) == 2;
    // The views re-lay out their text at their new sizes.
    AViewMeasureLock measuring(articleView_);
    long h = static_cast<int16_t>(ADisplayComponent::getFrame().height());
    if (!shown) {
        outlinePart_->setVisible(false);
        articlePart_->setVisible(true);
        SetEdge(articlePart_, 1, -h);
        return;
    }
    outlinePart_->setVisible(true);
    articlePart_->setVisible(splitMode_ != 2);
    if (splitMode_ == 2) {
        SetEdge(outlinePart_, 3, h);
        return;
    }
    long a = splitMode_ == 0 ? h / 3 : 2 * h / 3;
    SetEdge(outlinePart_, 3, a);
    SetEdge(articlePart_, 1, a - h);
}

void DocKycfPane::setSplitMode(int16_t mode) {
    if (mode < 0 || mode > 2 || mode == splitMode_)
        return;
    splitMode_ = mode;
    if (ADocState* doc = docState())
        doc->fUserInfo.slot(kSplitKey) = mode + 1;
    queueUpdate(0);
    applySplitMode();
}

// ---- View settings -------------------------------------------------------------

void DocKycfPane::relayoutArticle() {
    AAppTextRenderer* renderer = articleRenderer();
    // Nothing laid out yet (at set-up): the next article takes the settings.
    if (!renderer || !renderer->model())
        return;
    // Laying out measures text outside painting.
    AViewMeasureLock measuring(articleView_);
    long top = renderer->currentPosition();
    renderer->relayoutFrom(0, true);
    if (top >= 0) {
        renderer->scrollToPosition(top);
        articleView_->queueUpdate(101);
    }
}

void DocKycfPane::applyPreferences(APrefManager& preferences) {
    AAppTextRenderer* renderer = articleRenderer();
    if (!renderer)
        ThrowAssert("DocKycfPane", 928);
    AStyleSheet* sheet = renderer->styleSheet();
    if (!sheet)
        ThrowAssert("DocKycfPane", 930);
    long size = preferences.getLong(APrefManager::kFontSize);
    int16_t step = size == 2001 ? -2 : size == 2003 ? 2 : 0;
    sheet->addSizeDelta(0);
    fontDelta_ = step;
    sheet->addSizeDelta(step);
    mediaHidden_ = preferences.getLong(APrefManager::kWithMedia) == 0;
    if (ALaidOutDocModel* model = LaidOut(renderer)) {
        if (!currentIconIs26() && mediaHidden_)
            model->collapseAll(0);
        else
            model->expandAll(0);
    }
    relayoutArticle();
}

void DocKycfPane::changeFontSize(int16_t step) {
    AAppTextRenderer* renderer = articleRenderer();
    AStyleSheet* sheet = renderer ? renderer->styleSheet() : nullptr;
    if (!sheet)
        return;
    if (step == 0) {
        fontDelta_ = 0;
        sheet->addSizeDelta(0);
    } else {
        long n = fontDelta_ + step;
        if (n > fontDeltaMax_ || n < -fontDeltaMax_) {
            if (AApp* app = AApp::current())
                app->beep(0);
            return;
        }
        fontDelta_ = static_cast<int16_t>(n);
        sheet->addSizeDelta(step);
    }
    relayoutArticle();
}

void DocKycfPane::toggleMedia() {
    AAppTextRenderer* renderer = articleRenderer();
    ALaidOutDocModel* model = LaidOut(renderer);
    if (model) {
        if (currentIconIs26() || mediaHidden_)
            model->expandAll(0);
        else
            model->collapseAll(0);
    }
    mediaHidden_ = mediaHidden_ ? 0 : 1;
    if (model) {
        relayoutArticle();
        if (SVPane* top = switcher_ ? switcher_->link(DockLCRPane::kDockTopKycf) : nullptr)
            top->queueUpdate(0);
    }
}

void DocKycfPane::applyViewStyles(int16_t off) {
    AAppTextRenderer* renderer = articleRenderer();
    if (!renderer)
        return;
    const int16_t on[3] = {3, 15, -1};
    for (int i = 0; i < 3; ++i)
        renderer->styleNumbers[i] = off ? -1 : on[i];
}

void DocKycfPane::setViewStyles(int16_t off) {
    applyViewStyles(off);
    relayoutArticle();
}
