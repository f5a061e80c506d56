// Hit navigators: move through the highlighted search hits of a renderer's
// document (first, last, next, previous), tell whether a hit lies outside
// the view, and show a hit by scrolling it in and, when asked, selecting it.
// AModelHitNavigator follows the model's own highlighter; ASearchHitNavigator
// owns one built for a model on demand. Queries answer -1 or false when there
// is no model, no highlighter or no hit; a null renderer is an assertion ("gsearch").
#pragma once

#include <cstdint>

#include "docengine/model/ADocModel.h"

class AHighlighter;
class ARenderer;

namespace NavigatorFlags {
const uint16_t kDerived = 0x1;
const uint16_t kFoldBack = 0x2;
const uint16_t kFromCurrent = 0x10;
const uint16_t kFromSelection = 0x20;
const uint16_t kSelect = 0x100;
}  // namespace NavigatorFlags

class AHitNavigator {
public:
    AHitNavigator(ARenderer* renderer, uint16_t flags);
    virtual ~AHitNavigator();
    AHitNavigator(const AHitNavigator&) = delete;
    AHitNavigator& operator=(const AHitNavigator&) = delete;

    virtual AHighlighter* getHighlighter() = 0;
    virtual void reset();
    // A notice the renderer passes on from its model.
    virtual void changed(long code);

    long firstHitIndex();
    long lastHitIndex();
    long findNextHit();
    long findPreviousHit();
    bool hasNextHit() { return findNextHit() >= 0; }
    bool hasPreviousHit() { return findPreviousHit() >= 0; }
    long currentHitEnd();
    // 0 for -1 or no renderer; else scrolls the hit in (and selects it with 0x100) and answers 1.
    long showHit(long index, uint16_t scrollFlags);
    long showFirstHit() { return showHit(firstHitIndex(), 0x28); }
    long showLastHit() { return showHit(lastHitIndex(), 0x48); }
    long showNextHit() { return showHit(findNextHit(), 0x28); }
    long showPreviousHit() { return showHit(findPreviousHit(), 0x48); }
    // The hit shown last, shown again (after a relayout or a scroll); 0 when there is none.
    bool canShowCurrentHit();
    long showCurrentHit();
    bool isHitHidden(long index);
    bool isFirstHitHidden() { return isHitHidden(firstHitIndex()); }
    bool isLastHitHidden() { return isHitHidden(lastHitIndex()); }

    ARenderer* renderer() const { return renderer_; }
    ADocRange currentHit() const { return current_; }
    uint16_t flags() const { return flags_; }

protected:
    void rebuild();
    void applyHighlighter(AHighlighter* highlighter);
    // Whether the hit at index is not wholly inside the view (line ranges may be absent).
    bool hitBeyond(long index, const ADocRange* upper, const ADocRange* lower);
    long hitAfter(long p);
    long hitBefore(long p);
    // The highlighter whose hits hitModel holds, or null.
    AHighlighter* hitHighlighter();
    // A hit index as a position of the renderer's model.
    long toRendererPosition(long index);
    long fromRendererPosition(long position);
    // Folds back what showing the last hit opened (flag 0x2).
    void foldBack();

    ARenderer* renderer_;            // not owned
    ADocModel* hitModel_ = nullptr;  // one reference held
    ADocRange current_{0, 0};
    AExpandRecord opened_;  // sections the last shown hit opened, innermost last
    uint16_t flags_;
    uint16_t busy_ = 0;
};

class AModelHitNavigator : public AHitNavigator {
public:
    AModelHitNavigator(ARenderer* renderer, uint16_t flags);
    AHighlighter* getHighlighter() override;
};

class ASearchHitNavigator : public AHitNavigator {
public:
    ASearchHitNavigator(ARenderer* renderer, uint16_t flags);
    ~ASearchHitNavigator() override;
    AHighlighter* getHighlighter() override { return highlighter_; }
    // A highlighter of its own over the model's hit ranges (none for null).
    void attachModel(ADocModel* model, const ARangeArray* ranges);

private:
    AHighlighter* highlighter_ = nullptr;  // one reference held
};
