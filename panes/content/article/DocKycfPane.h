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

#include "app/find/SearchPane.h"

class AAppTextRenderer;
class AHighlighter;
class ARendererView;
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
        kOutlineView = 1236
    };
    enum : long { kHiliteOffKey = 7, kTopKey = 9, kSelectedKey = 10, kItemKey = 11, kLinkedFromKey = 1310 };

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
    void goToPosition(long position);

    AAppTextRenderer* articleRenderer() const;
    ARendererView* articleView() const { return articleView_; }
    ASVDocBitmapSupplier* bitmapSupplier() const { return bitmapSupplier_; }
    long fontDeltaMax() const { return fontDeltaMax_; }

private:
    // Reads and lays out the record; false (after logging why) when it could not.
    bool showArticle(long docNo, AHighlighter* highlighter);
    void positionArticle(AHighlighter* highlighter);
    void showEmpty();
    void announce();
    void goToLinkedDocument(const ArticleLink& link);
    ACommand* stepHit(bool next);

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
};
