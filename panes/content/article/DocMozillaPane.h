// The browser document container: the centre pane that takes every document
// that is not a text article (HTML and online pages, Flash rooms and maps,
// the chronology). It shows and hides its inner panes as one group; each of
// them decides by its own wish whether it takes the state.
//
// Frame and switcher are not owned; missing ones or missing layout items are
// layout faults ("DocMozillaPane").
#pragma once

#include "app/frame/SVPane.h"

class AStaticItem;
class DockLCRPane;

class DocMozillaPane : public SVPane {
    SV_DECLARE_CLASS(DocMozillaPane)
public:
    DocMozillaPane() = default;

    // Record: SVPane's, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void setUpItems() override;

    void updatePane() override;
    // Wanted for a document part whose type is not 0.
    int16_t isPaneWanted() override;
    // The container, then every pane of its list.
    void setPaneVisible(int16_t visible) override;

private:
    DockLCRPane* switcher_ = nullptr;  // not owned
    AStaticItem* items_[2] = {};       // 1245, 1246; not owned
};
