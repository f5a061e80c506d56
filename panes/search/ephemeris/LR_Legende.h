// The caption panes: the caption of the right document (a media document's
// "LEG" field, slash markup) in the right dock's links panel, with the words
// of the main window's search highlighted and, for a new document part, the
// first of them brought into view (else the top). LR_LegendeMedia is the same
// pane in the media window, which takes its navigation state from the media
// window's pane (any enclosing AMediaStatePane).
//
// Right part keys: 2060 and 2061 the selection. The renderer belongs to the
// list view (one made per caption); the enclosing panes are not owned. Missing
// enclosing panes fail the allocation check ("LR_Legende"); a view without a
// drawing layer is an assertion. A document without a record, or a base
// without a "LEG" field, shows an empty caption.
#pragma once

#include "app/lists/LRExtPane.h"
#include "panes/content/media/AMediaStatePane.h"

class AppState;
class DockRightArtPane;

class LR_Legende : public LRExtPane {
    SV_DECLARE_CLASS(LR_Legende)
public:
    enum : int16_t { kFirstKey = 2060, kLastKey = 2061, kIcon = 1511 };

    LR_Legende();
    void readFrom(AMemoryStream& stream) override;
    void setUpItems() override;
    void detachItems() override;
    void updatePane() override;
    // The right dock's panel asks for the caption of its document here.
    void loadListHook(long docNo) override { showCaption(docNo); }
    // Document -1 leaves the pane as it is.
    void showCaption(long docNo);
    // Whether the last caption shown has a highlighted word.
    bool hasHits() const { return hits; }

protected:
    DockRightArtPane* artPane = nullptr;  // not owned
    bool hits = false;
};

class LR_LegendeMedia : public LR_Legende {
    SV_DECLARE_CLASS(LR_LegendeMedia)
public:
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void detachItems() override;
    // The media window's state; without the media pane an assertion.
    AppState* currentState() override;

private:
    AMediaStatePane* mediaPane = nullptr;  // not owned
};
