// The article time strip: a short rich-text document of its own beside the
// article view, whose links ("125" or ">125") lead to text positions of the
// article. Shown for text documents whose information flag 11 is set.
//
// The strip view and the neighbours are not owned; the thumbnail supplier
// (data base 1, table 9) is held by one reference from set-up to detach. A
// missing main window, switcher or view 1212 fails the allocation check
// ("DocFrisePane"); a missing data base 1 or article view is an assertion.
#pragma once

#include <cstdint>

#include "app/frame/SVPane.h"

class ARendererView;
class ASVVigBitmapSupplier;
class DockLCRPane;

class DocFrisePane : public SVPane {
    SV_DECLARE_CLASS(DocFrisePane)
public:
    enum : int16_t { kStripView = 1212 };
    enum : long { kStripFlag = 11 };

    DocFrisePane() { setOwnItem(kStripView); }
    ~DocFrisePane() override;

    // Record: SVPane's, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    void updatePane() override;
    // A text document (type 0) whose information flag 11 is set.
    int16_t isPaneWanted() override;

    // Scrolls the article to the position a link names (">125" or "125").
    void followLink(const char* name);
    ARendererView* stripView() const { return view_; }

private:
    // The link just clicked in the strip (command 1212).
    void ownItemCommand() override;

    DockLCRPane* switcher_ = nullptr;             // not owned
    ARendererView* view_ = nullptr;               // not owned
    ASVVigBitmapSupplier* thumbnails_ = nullptr;  // one reference held
};
