// The print preview's view: the printer of the printed component lays each
// page out into an off-screen page bitmap (the view is the printer's page
// target), and the view draws that bitmap scaled to its zoom on a grey
// background, as a white sheet with a dark shadow.
//
// The view owns the printer it takes from the printed component (the
// source, not owned). Zoom is a percentage; margins are unscaled pixels; the
// page is 0-based, -1 before the first one is laid out. A printed component
// without a printer is an assertion ("fpreview" 849).
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/printing/APrinter.h"
#include "framework/views/AView.h"

class AGraphicDisplay;

// A memory DC compatible with the screen and its one bitmap, painted white
// when made. A failed creation leaves it invalid and marks the page 0x1000.
class APreviewPageBitmap {
public:
    APreviewPageBitmap() = default;
    ~APreviewPageBitmap();
    APreviewPageBitmap(const APreviewPageBitmap&) = delete;
    APreviewPageBitmap& operator=(const APreviewPageBitmap&) = delete;

    // Makes the bitmap of size (and clears it) unless it is valid with that size and page.
    void prepare(const APoint& size, int16_t page);
    // Stretches the bitmap onto rect (local to display) of the display.
    void drawInto(const ARect& rect, AGraphicDisplay& display);
    void invalidate() { valid_ = 0; }
    bool isValid() const { return valid_ != 0; }
    HDC deviceContext() const { return dc_; }  // not owned by the caller

    enum : uint16_t { kFailed = 0x1000 };

private:
    void dropBitmap();

    APoint size_;
    HDC dc_ = nullptr;            // owned
    HBITMAP bitmap_ = nullptr;    // owned
    HGDIOBJ previous_ = nullptr;  // selected in dc_ before bitmap_
    int16_t page_ = 0;
    uint16_t valid_ = 0;
};

class APreviewView : public AView, public APrintPageTarget {
    SV_DECLARE_CLASS(APreviewView)
public:
    APreviewView() = default;
    APreviewView(AComponent* parent, int16_t id, const ASizeSpec& rule);
    ~APreviewView() override;

    // Record: AView's, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void detachItems() override;
    void linkChanged(AComponent* source, const AKindSet& kinds) override;
    long draw(const ARegion& region) override;
    long frameChanged(const APoint& size) override;

    // Takes the component's printer (the one held before is deleted) and shows page 0.
    void setSource(ADisplayComponent* component);
    ADisplayComponent* source() const { return source_; }
    // Lays the document out up to page; past its end it beeps and keeps the last page.
    void showPage(int16_t page, int16_t force);
    // Lays every page out once; answers their number (0 without a printer).
    using AView::countPages;
    int16_t countPages();
    void setZoom(int16_t zoom);
    void setMargins(const APoint& margin);
    void setBackground(COLORREF color);

    // APrintPageTarget: every page the printer lays out comes here.
    HDC preparePage(int16_t page, const ARect& printable, const ARect& paper, int16_t* ready) override;

    int16_t currentPage() const { return page_; }
    int16_t zoom() const { return zoom_; }
    bool pageReached() const { return reached_ != 0; }
    const APoint& margin() const { return margin_; }
    const ARect& paperRect() const { return paper_; }
    const ARect& sheetOnScreen() const { return sheet_; }
    const ARect& printableOnScreen() const { return printableOnScreen_; }
    APrinter* printer() const { return printer_; }

private:
    void releasePrinter();
    void layOut();

    COLORREF background_ = 0x808080;
    APreviewPageBitmap bitmap_;
    APrinter* printer_ = nullptr;          // owned
    ADisplayComponent* source_ = nullptr;  // not owned
    ARect sheet_, shadow_, printableOnScreen_;
    APoint scaledMargin_;
    ARect paper_, printable_;
    APoint margin_{50, 50};
    int16_t page_ = -1;
    int16_t zoom_ = 100;
    uint16_t reached_ = 0;
};
