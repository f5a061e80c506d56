// The article view: the centre pane that shows a text article of the bases,
// laid out by the document engine, with the words of the state's search
// highlighted, the reader's notes marked and its links live. It keeps in the
// document part of the navigation state what a return through the history
// needs to show the article as it was left (keys 9, 10 and 11).
//
// The renderer, its model and its hit navigator belong to the article view
// (item 1235); the pane reaches them through it. The bitmap supplier is
// owned (one reference) from set-up to detach. Missing layout items, main
// window or switcher are layout faults ("DocKycfPane"); a missing data base
// 1 or 5 is an assertion. A record that does not read or lay out gives an
// empty view, a line in the log and a temporary state.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>

#include "app/find/SearchPane.h"
#include "app/prefs/APrefManager.h"
#include "panes/content/article/ArticleOutlineMap.h"
#include "panes/docks/top/ATopDockViews.h"

class AAppTextRenderer;
class AHighlighter;
class ARendererView;
class ASearchBase;
class ASVLoSearchState;
class ASVDocBitmapSupplier;
class AStaticImage;
class AStaticItem;
class DockLCRPane;
struct ArticleLink;

class DocKycfPane : public SearchPane {
    SV_DECLARE_CLASS(DocKycfPane)
public:
    // Item ids of the layout "DocKycf" and the state keys the pane owns.
    enum : int16_t {
        kArticlePart = 1211, kOutlinePart = 1212, kIconType4 = 1230, kIconType3 = 1231, kArticleView = 1235,
        kOutlineView = 1236, kSplitFirst = 1237, kSplitLast = 1239, kOutlineFold = 1240, kOutlineUnfold = 1241
    };
    // Document keys 2 (outline shown 2, hidden 1), 3 (split mode + 1), 7, 9,
    // 10, 11; state key 4 (the current outline section).
    enum : long {
        kOutlineShownKey = 2, kSplitKey = 3, kHiliteOffKey = 7, kTopKey = 9, kSelectedKey = 10, kItemKey = 11,
        kSectionKey = 4, kLinkedFromKey = 1310
    };

    DocKycfPane() = default;
    ~DocKycfPane() override;

    // Record: SearchPane's, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;

    // The article road: from the state to a laid-out, highlighted, annotated article.
    void updatePane() override;
    // Wanted for a document part of type 0 (a text).
    int16_t isPaneWanted() override;
    // Keys 9 and 10 (first shown position, selected line + 1) and 11 (the current item).
    void saveState(ABaseState* part) override;

    // The article renderer: find in the page and the hit moves act on it.
    // The article view's scroll notices (101) move the outline selection.
    void linkChanged(AComponent* source, const AKindSet& kinds) override;
    // The layout hook: the parts follow the split mode at every new size.
    long frameChanged(const APoint& size) override;

    ARenderer* getHitView() override;
    int16_t hasSearchHits() override { return hasHits_; }
    int16_t hasNextHit() override;
    int16_t hasPreviousHit() override;
    // Beep when there is no such hit.
    ACommand* goToNextHit() override;
    ACommand* goToPreviousHit() override;

    // The link just clicked in the article (command 1235).
    void goToDocument();
    // Runs a link's target text (what a click on it does).
    void followLink(const char* target);
    // Binds the document's notes to the article renderer.
    void showNotes(long docNo);
    // Asks the renderer for a new note at the selection.
    void addNote();
    // A shown article is exported.
    bool answersEditCommands() override;
    void goToPosition(long position);

    // The outline: read for the shown article (fromHistory: follow the
    // restored position), the stored map, the section of the article's
    // first visible position (its outline position, or -1 when unchanged).
    void loadOutline(bool fromHistory);
    bool parseOutlineMap(const char* text, long outlineEnd, long articleEnd);
    long syncOutline();
    // Shares the pane's height between the outline and the article.
    void applySplitMode();
    // The outline link just clicked (command 1236).
    void outlineClicked();
    // Scrolls the article to an outline link's target; hitIndex: the outline
    // line clicked (-1: none).
    void followOutlineLink(long target, long hitIndex);
    void setSplitMode(int16_t mode);

    // View settings: text size, media blocks, highlighting.
    void applyPreferences(APrefManager& preferences);
    void changeFontSize(int16_t step);
    bool canEnlargeFont() const { return fontDelta_ < fontDeltaMax_; }
    bool canReduceFont() const { return fontDelta_ > -fontDeltaMax_; }
    bool isFontChanged() const { return fontDelta_ != 0; }
    void toggleMedia();
    bool isMediaShown() const { return mediaHidden_ == 0; }
    void setViewStyles(int16_t off);
    // The highlighting styles alone, for the layout to come.
    void applyViewStyles(int16_t off);
    // What the article top dock sees of this pane.
    ATopArticleView* topView() { return &topView_; }

    AAppTextRenderer* articleRenderer() const;
    ARendererView* articleView() const { return articleView_; }
    ARendererView* printedView() override { return articleView_; }
    // The outline's lines, every section open; empty when the article has no outline.
    AString printedContents() override;
    ASVDocBitmapSupplier* bitmapSupplier() const { return bitmapSupplier_; }
    long fontDeltaMax() const { return fontDeltaMax_; }
    // FONT_DELTA_SIZE: a positive decimal; anything else gives 2.
    static long readFontDeltaMax(const char* text);
    int16_t fontDelta() const { return fontDelta_; }
    int16_t splitMode() const { return splitMode_; }
    const ArticleOutlineMap& outlineMap() const { return outline_; }
    long sectionStart() const { return sectionStart_; }
    long sectionEnd() const { return sectionEnd_; }
    ARenderer* outlineRenderer() const;

private:
    // The top dock's names clash with SearchPane's hit moves: a member answers for the pane.
    class TopView : public ATopArticleView {
    public:
        explicit TopView(DocKycfPane& pane) : pane_(pane) {}
        void applySplitMode() override { pane_.applySplitMode(); }
        void setViewStyles(int16_t off) override { pane_.setViewStyles(off); }
        void changeFontSize(int16_t step) override { pane_.changeFontSize(step); }
        bool canReduceFont() override { return pane_.canReduceFont(); }
        bool canEnlargeFont() override { return pane_.canEnlargeFont(); }
        bool isFontChanged() override { return pane_.isFontChanged(); }
        void toggleMedia() override { pane_.toggleMedia(); }
        int16_t mediaFlag() override { return pane_.mediaHidden_; }
        int16_t hasSearchHits() override { return pane_.hasSearchHits(); }
        int16_t hasPreviousHit() override { return pane_.hasPreviousHit(); }
        int16_t hasNextHit() override { return pane_.hasNextHit(); }
        void showPreviousHit() override { pane_.stepHit(false); }
        void showNextHit() override { pane_.stepHit(true); }

    private:
        DocKycfPane& pane_;
    };

    // Reads and lays out the record; false (after logging why) when it could not.
    bool showArticle(long docNo, AHighlighter* highlighter);
    void positionArticle(AHighlighter* highlighter);
    void showEmpty();
    void announce();
    void goToLinkedDocument(const ArticleLink& link);
    ACommand* stepHit(bool next);
    // The outline hidden (key 2 = 1) and the parts rearranged.
    void hideOutline();
    void setSection(long index);
    // Re-lays out the article from its start, keeping its first visible position.
    void relayoutArticle();
    bool currentIconIs26();

    DockLCRPane* switcher_ = nullptr;      // not owned
    AStaticItem* articlePart_ = nullptr;   // not owned
    ARendererView* articleView_ = nullptr; // not owned
    AStaticImage* iconImages_[2] = {};     // 1230, 1231; not owned
    AStaticItem* outlinePart_ = nullptr;   // not owned
    ARendererView* outlineView_ = nullptr; // not owned
    int16_t splitMode_ = 0;
    int16_t hasHits_ = 0;
    int16_t skipSync_ = 0;
    ASVDocBitmapSupplier* bitmapSupplier_ = nullptr;  // one reference held
    int16_t fontDelta_ = 0;
    long fontDeltaMax_ = 2;
    int16_t mediaHidden_ = 0;
    ArticleOutlineMap outline_;
    long sectionStart_ = 0;
    long sectionEnd_ = 0;
    // The preference callback's way back here, cleared when the pane goes
    // (the preferences manager owns the callback and may outlive the pane).
    std::shared_ptr<DocKycfPane*> prefSlot_;
    TopView topView_{*this};
};

// The bytes that end a highlighted word: every separator the index cuts words at.
const char* HighlightSeparators();
// A new highlighter of the search's words (no reference taken), or null
// without a search, without words or without the base whose filter folds
// them (the reader's highlighting base).
AHighlighter* NewSearchHighlighter(ASVLoSearchState* search, ASearchBase* hilite);

// Tells the article view of new preferences. Owned by the preferences
// manager; reaches the pane through a slot the pane clears when it goes.
class DocPrefCallback : public APrefCallBack {
public:
    explicit DocPrefCallback(std::shared_ptr<DocKycfPane*> pane) : pane_(std::move(pane)) {}
    void prefsChanged(APrefManager& manager) override;

private:
    std::shared_ptr<DocKycfPane*> pane_;
};
