// The right dock of the main window ("DOCKRIGHT", pane 1205), inside the
// centre document switcher: the title of the right document (1424), its
// links panel, the lock (1450) and the button back to the reference document
// (1423). Wide (210 pixels) it shows the title and the panel; narrow (32) the
// lock and a button to widen it. The lock keeps the dock on a document: the
// right part's fCadenas and fExtDocNo, which travel with the history.
//
// The switcher and the items are not owned; a missing one fails the
// allocation check ("DockRightPane"). The lists open documents through it.
#pragma once

#include "app/lists/LRExtPane.h"
#include "panes/docks/right/AppDockRightPane.h"

class ARendererView;
class DockLCRPane;

class DockRightPane : public AppDockRightPane, public ADocumentOpener {
    SV_DECLARE_CLASS(DockRightPane)
public:
    enum : int16_t { kBackId = 1423, kTitleId = 1424, kLockId = 1450 };
    // The article area keeps at least this width when the dock widens.
    static const long kMinCentreWidth = 340;

    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    void updatePane() override;
    // ADocumentOpener: through the switcher.
    void openDocument(long docNo) override;

    // 1 wide, 0 narrow: moves the centre's right edges and the column's left edge.
    void setWidthMode(int16_t mode);
    ARendererView* titleView() const { return title_; }

private:
    DockLCRPane* switcher_ = nullptr;  // not owned
    AIconButton* lock_ = nullptr;      // not owned
    AIconButton* back_ = nullptr;      // not owned
    ARendererView* title_ = nullptr;   // not owned
};
