// The base of the panes that show a text the reader can find words in (the
// article pane, the HTML panes): the find text and its highlight set, the
// find dialog, and the steps from hit to hit that wrap from one end of the
// document to the other with a beep when a cycle is complete or nothing can
// be found.
//
// The highlight set is held (one reference) from attachItems to
// detachItems; the find dialog is not owned (it is a window of its own and
// tells the pane when it closes). The beep goes through AApp::beep.
#pragma once

#include <cstdint>

#include "app/frame/SVPane.h"
#include "base/object/AFilter.h"
#include "base/object/AString.h"

class AHiliteSet;
class AHitNavigator;
class ARenderer;
class FindDialog;

// What the wrap step needs of a hit navigator: the four moves (1 when a hit
// was shown, 0 when there was none) and the current hit position (-1: none).
class AHitStepper {
public:
    virtual ~AHitStepper() = default;
    virtual long showNextHit() = 0;
    virtual long showPreviousHit() = 0;
    virtual long showFirstHit() = 0;
    virtual long showLastHit() = 0;
    virtual long currentPosition() = 0;
};

class SearchPane : public SVPane {
    SV_DECLARE_CLASS(SearchPane)
public:
    SearchPane() = default;
    ~SearchPane() override;

    // SVPane's, then the highlight set over the "HILITEMAJ" filter.
    void attachItems() override;
    void detachItems() override;
    // Forgets the find dialog when it goes.
    void componentDeleted(AComponent* component) override;

    int16_t canFindText() override { return 1; }
    // Starts a find: a new cycle when restartOnFind is 1, the text (unless
    // empty), then the dialog opened or raised.
    ACommand* findText(const char* text) override;

    virtual ACommand* showNextHit();
    virtual ACommand* showPreviousHit();
    virtual ACommand* showFirstHit();
    virtual ACommand* showLastHit();
    // The renderer whose hit navigator moves through the hits; none here.
    virtual ARenderer* getHitView() { return nullptr; }

    // A final "*" is cut from the text; the highlight expression is the
    // filtered text (star included) followed by "*". The same expression
    // again re-highlights nothing. Without a highlight set, nothing happens.
    void setFindText(const char* text);
    AString getFindText() const { return findText_; }
    AString getHiliteExpression() const { return hiliteExpression_; }
    AHiliteSet* hiliteSet() const { return hiliteSet_; }
    void openFindDialog();
    FindDialog* findDialog() const { return findDialog_; }
    void forgetFindDialog() { findDialog_ = nullptr; }
    // Gives the hit view a navigator (flags 0x121) over the highlight set,
    // which becomes the highlighter of the view's model.
    void installHitNavigator();

    int16_t restartOnFind = 0;
    long wrapStart = 0;
    int16_t direction = 0;
    int16_t wrapped = 0;

protected:
    // The stepper over the hit view's navigator; null without a view or a navigator.
    virtual AHitStepper* hitStepper();
    // A new highlight set (word separators " .,;:'") over the filter.
    void makeHiliteSet(const AFilter& filter);

private:
    enum class Move { Next, Previous, First, Last };
    ACommand* move(Move what);
    void wrapStep(AHitStepper& stepper, long found);

    class NavigatorStepper : public AHitStepper {
    public:
        long showNextHit() override;
        long showPreviousHit() override;
        long showFirstHit() override;
        long showLastHit() override;
        long currentPosition() override;
        AHitNavigator* navigator = nullptr;  // not owned
    };

    FindDialog* findDialog_ = nullptr;  // not owned
    AString findText_;
    AString hiliteExpression_;
    AHiliteSet* hiliteSet_ = nullptr;  // one reference held
    NavigatorStepper stepper_;
};

// A search pane that stops the pane walk at itself.
class TextPane : public SearchPane {
    SV_DECLARE_CLASS(TextPane)
public:
    void updatePane() override {}
    void clearSearchState() override {}
};
