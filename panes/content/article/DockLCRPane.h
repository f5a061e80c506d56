// The centre document switcher: the pane of the reading screen that frames
// the left dock, the splitter, the centre views and the right column. Every
// request to show a document in the centre comes here; it turns the number
// into a new navigation state and hands it to the main window. It also fits
// the centre to the right column and keeps the left dock in step with the
// splitter.
//
// The pane links are set by the panes named as they attach (not owned; a
// pane that goes away is forgotten). Missing layout items or a missing main
// window are layout faults (the framework's lookup throws, "DockLCRPane").
#pragma once

#include <cstdint>

#include "app/frame/SVPane.h"
#include "base/object/AString.h"

class ASizerButton;
class AStaticItem;

// What the left dock answers to the splitter: its mode follows the splitter's
// left coordinate (the left dock implements it).
class ALeftDockSizing {
public:
    virtual ~ALeftDockSizing() = default;
    virtual void setDockMode(long left) = 0;
};

class DockLCRPane : public SVPane {
    SV_DECLARE_CLASS(DockLCRPane)
public:
    // The panes that store themselves here when they attach, in this order.
    enum Link : int {
        kDockTop, kDockTopAtlas, kDockTopFlash, kDockTopHtml, kDockTopHtmlNet, kDockTopKycf, kDockTopChrono,
        kDockTopLeftImg, kUnused, kDockLeft, kDockLeftChrono, kDockRight, kDocFrise, kDocKycf, kChrono, kFlash,
        kAtlasPrec, kHtml, kHtmlNet, kDockLeftRechSI, kLinkCount
    };
    // The splitter's command (its own id) and the minimum centre width.
    enum : int16_t { kSplitterId = 1013 };
    static constexpr long kMinCentreWidth = 340;

    DockLCRPane() = default;

    // Record: SVPane's, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    void linkChanged(AComponent* source, const AKindSet& kinds) override;
    void componentDeleted(AComponent* component) override;

    void updatePane() override;
    // Not on the home screen (screen mode 0).
    int16_t isPaneWanted() override;

    // Shows a document in the centre; media documents are ignored.
    void showDocument(long docNo);
    // The same; a media document opens the media window instead.
    void openDocument(long docNo);
    void arrangeRightColumn(int16_t rightShown);
    // Puts the article area under the time strip (shown) or in its place.
    void arrangeTimeStrip(bool shown);
    // Moves the splitter when forced or while it is on screen; answers 0.
    long moveSplitter(long left, int16_t force);
    long resetSplitter() { return moveSplitter(splitterHome_, 1); }
    // The main window re-laid out its panes.
    void syncLeftDockSize() override;

    // Also hands the article view to the article top dock once both are here.
    void setLink(Link link, SVPane* pane);
    SVPane* link(Link link) const { return links_[link]; }
    // Clears link unless another pane took it since pane set it.
    void forgetLink(Link link, const SVPane* pane);
    // The switcher around pane, null outside the reading screen.
    static DockLCRPane* around(const AComponent* pane);
    // The switcher around pane, which becomes its link; a pane outside one
    // fails the allocation check at file and line.
    static DockLCRPane* linkPane(SVPane* pane, Link link, const char* file, long line);
    // Relays to the article top dock (nothing without one).
    void setSplitMode(int16_t mode);
    void selectOutlineLine(long line, long offset);
    // text: the outline record as the article view read it (empty: the dock reads it).
    void loadTopOutline(long line, long offset, const AString& text);

    // The left dock links itself with its sizing answer (null: none).
    void setLeftDock(SVPane* pane, ALeftDockSizing* sizing);
    ASizerButton* splitter() const { return splitter_; }
    long splitterHome() const { return splitterHome_; }
    // The main window's centre pane, or null.
    static DockLCRPane* of(Frame1* frame);

private:
    // The new state for docNo (see showDocument); null when there is none to make.
    void goToDocument(long docNo, bool keepLeftAlways);
    AStaticItem* item(int index) const { return items_[index]; }
    void tellLeftDock();
    void wireArticleToTopDock();

    SVPane* links_[kLinkCount] = {};     // not owned
    ALeftDockSizing* leftSizing_ = nullptr;  // not owned: the left dock's
    AStaticItem* items_[6] = {};         // 1021 to 1026, not owned
    ASizerButton* splitter_ = nullptr;   // not owned
    long splitterHome_ = 0;
};
