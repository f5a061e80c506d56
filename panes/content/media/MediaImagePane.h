// The picture of a media document (kind 4) inside the media pane: the
// record's picture, decoded by the framework's image readers, in a hot-spot
// view inside a scroller, first fitted to the view; it gives the media pane
// the zoom steps (the fit inserted) and the view to print, which prints
// through the media printer (the picture, or with key 10 its caption page).
//
// The media pane and the view are not owned. A missing media pane or view
// is a layout fault ("MediaImagePane", line). A picture that cannot be read
// leaves the view empty (black) and says why in the log; the window goes on.
#pragma once

#include <cstdint>

#include "app/frame/SVPane.h"
#include "base/object/AString.h"
#include "panes/docks/print/AMediaPreviewApp.h"

class AHotspotView;
class MediaPane;

class MediaImagePane : public SVPane, public AMediaDocHolder {
    SV_DECLARE_CLASS(MediaImagePane)
public:
    enum : int16_t { kView = 6010 };

    MediaImagePane() { setOwnItem(kView); }
    ~MediaImagePane() override;

    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    long frameChanged(const APoint& size) override;
    void updatePane() override;
    int16_t isPaneWanted() override;
    AppState* currentState() override;

    // Shows the document's picture fitted to the view; true when it was read.
    bool showPicture(long docNo);
    // The document shown: printed with key 10, the view prints its caption page.
    long mediaDocNo() override;
    // The last picture's temporary file is registered for deletion at the next start.
    void forgetTempPicture();

    AHotspotView* view() const { return view_; }
    const AString& tempPicture() const { return tempPicture_; }
    // The percentage the last picture was fitted at.
    int16_t fitPercent() const { return fit_; }

    // The placeholder zones every picture gets (no zone of its own is loaded).
    static const char* const kPlaceholderZones;

private:
    MediaPane* mediaPane_ = nullptr;  // not owned
    AHotspotView* view_ = nullptr;    // not owned
    AString tempPicture_;
    int16_t fit_ = 100;
};
