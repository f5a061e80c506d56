// The article title bar of the top dock (layout "DOCKTOPKYCF", fDocType 0):
// the article's title, its outline, and its tool buttons (outline, search
// hits, highlighting, font size, media, search in the document, historical
// context). The split mode and highlight flag live in the document part's
// user-info entries 2 and 7, so that the history restores them.
//
// Items are children of the pane (not owned); missing ones fail the
// allocation check at set-up. The article view is not owned; without it the
// commands that act on it do nothing and report 2. Write commands without a
// document part do nothing and report 2.
#pragma once

#include "app/frame/SVPane.h"
#include "base/object/AString.h"

class AIconButton;
class ARenderer;
class ARendererView;
class AStaticImage;
class AStaticItem;
class ATopArticleView;

class DockTopKycfPane : public SVPane {
    SV_DECLARE_CLASS(DockTopKycfPane)
public:
    enum : int16_t { kSplitKey = 2, kHighlightKey = 7 };

    void readFrom(AMemoryStream& stream) override;
    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    void updatePane() override;
    int16_t isPaneWanted() override;
    int16_t hasSearchHits() override;
    int16_t hasPreviousHit() override;
    int16_t hasNextHit() override;
    ACommand* goToPreviousHit() override;
    ACommand* goToNextHit() override;

    // Called by the article view.
    void setSplitMode(int16_t mode);
    void selectLine(long line, long value);
    // text: the outline record already read, else (empty) read here.
    void showOutline(long line, long value, const AString& text);

    void setArticleView(ATopArticleView* view) { article_ = view; }
    int16_t splitMode() const { return splitMode_; }
    int16_t highlightOff() const { return highlightOff_; }
    // The markup last given to the title renderer; for the tests.
    const AString& titleText() const { return title_; }
    ARenderer* outlineRenderer() const { return outlineRenderer_; }

private:
    bool outlineAllowed();
    bool contextAvailable();
    int16_t outlineStatus();
    // Stores the split mode in the document part; false without one.
    bool storeSplitMode(int16_t mode);
    void openContext();
    void show(AComponent* item, bool visible);

    ATopArticleView* article_ = nullptr;  // not owned
    AStaticItem* titleHolder_ = nullptr;  // the items: not owned
    ARendererView* titleView_ = nullptr;
    ARendererView* outlineView_ = nullptr;
    AStaticImage* hitImage_ = nullptr;
    AIconButton* highlightButton_ = nullptr;
    AIconButton* previousButton_ = nullptr;
    AIconButton* nextButton_ = nullptr;
    AIconButton* mediaButton_ = nullptr;
    AIconButton* outlineButton_ = nullptr;
    AIconButton* contextButton_ = nullptr;
    ARenderer* titleRenderer_ = nullptr;    // not owned: the views' layers hold them
    ARenderer* outlineRenderer_ = nullptr;
    int16_t splitMode_ = 1;
    int16_t highlightOff_ = 0;
    AString title_;
};
