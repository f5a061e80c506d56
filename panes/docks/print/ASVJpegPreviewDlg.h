// The print preview of an image ("ImpJpeg"): the picture alone on its page
// (key 10 clear) in the hot-spot view 1002, or centred above its legend and
// copyright (key 10 set) in the text view 1003. IMPRIMER prints the view
// shown, then closes.
//
// Our image readers read files, so the picture always goes through a
// temporary ".img" file, deleted by the next preparation and by destruction.
#pragma once

#include "base/object/AString.h"
#include "panes/docks/print/AMediaPreviewApp.h"
#include "panes/docks/print/ASVMediaPreviewDlg.h"

class AHotspotView;
class AStandardView;

class ASVJpegPreviewDlg : public ASVMediaPreviewDlg, public AMediaDocHolder {
    SV_DECLARE_CLASS(ASVJpegPreviewDlg)
public:
    static constexpr const char* kLayoutName = "ImpJpeg";

    ASVJpegPreviewDlg() = default;
    ~ASVJpegPreviewDlg() override;

    void attachItems() override;
    void setUpItems() override;
    ACommand* doCommand(int16_t id, long argument) override;
    void prepare() override;
    void discard() override;
    // The owner pane's document: the caption view prints its caption page.
    long mediaDocNo() override;

    AHotspotView* imageView() const { return image_; }
    AStandardView* captionView() const { return caption_; }
    const AString& tempFile() const { return temp_; }

private:
    void showFullPage(long docNo);
    void showCaption(long docNo);
    void loadImage(long docNo);
    void installPrinter(ADisplayComponent* view);

    AHotspotView* image_ = nullptr;      // not owned
    AStandardView* caption_ = nullptr;   // not owned
    AString temp_;
};
