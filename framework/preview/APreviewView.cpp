// The preview view and its page bitmap.
#include "framework/preview/APreviewView.h"

#include "base/procedural/AError.h"
#include "framework/app/AApp.h"
#include "framework/components/AKindSet.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/display/APrintRange.h"
#include "framework/graphics/AGraphicDisplay.h"

SV_IMPLEMENT_CLASS(APreviewView, 0, AView)

APreviewPageBitmap::~APreviewPageBitmap() {
    dropBitmap();
    if (dc_)
        DeleteDC(dc_);
}

void APreviewPageBitmap::dropBitmap() {
    if (!bitmap_)
        return;
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    bitmap_ = nullptr;
    previous_ = nullptr;
}

void APreviewPageBitmap::prepare(const APoint& size, int16_t page) {
    if (valid_ && size == size_ && page == page_)
        return;
    size_ = size;
    page_ = page;
    HDC screen = GetDC(nullptr);
    if (!dc_)
        dc_ = CreateCompatibleDC(screen);
    if (!dc_)
        page_ = static_cast<int16_t>(page_ | kFailed);
    if (dc_) {
        SetBkMode(dc_, TRANSPARENT);
        dropBitmap();
        bitmap_ = CreateCompatibleBitmap(screen, size.x, size.y);
        if (bitmap_) {
            HRGN clip = CreateRectRgn(0, 0, size.x, size.y);
            SelectClipRgn(dc_, clip);
            DeleteObject(clip);
            previous_ = SelectObject(dc_, bitmap_);
            BitBlt(dc_, 0, 0, size.x, size.y, nullptr, 0, 0, WHITENESS);
        } else {
            page_ = static_cast<int16_t>(page_ | kFailed);
        }
    }
    ReleaseDC(nullptr, screen);
    valid_ = dc_ && bitmap_ ? 1 : 0;
}

void APreviewPageBitmap::drawInto(const ARect& rect, AGraphicDisplay& display) {
    HDC target = display.dc();
    if (page_ < 0 || (page_ & kFailed) || !target || target == dc_ || !bitmap_)
        return;
    APoint at = display.toDevice(rect.firstCorner());
    // On a palette screen the page's colours map through the display's palette.
    HPALETTE previousPalette = nullptr;
    if (HPALETTE palette = display.palette()) {
        previousPalette = SelectPalette(dc_, palette, TRUE);
        RealizePalette(dc_);
    }
    COLORREF back[2] = {SetBkColor(dc_, 0xFFFFFF), SetBkColor(target, 0xFFFFFF)};
    COLORREF text[2] = {SetTextColor(dc_, 0), SetTextColor(target, 0)};
    // A failed copy leaves the white sheet: nothing better to show.
    StretchBlt(target, at.x, at.y, rect.width(), rect.height(), dc_, 0, 0, size_.x, size_.y, SRCCOPY);
    SetBkColor(dc_, back[0]);
    SetBkColor(target, back[1]);
    SetTextColor(dc_, text[0]);
    SetTextColor(target, text[1]);
    if (previousPalette)
        SelectPalette(dc_, previousPalette, TRUE);
}

APreviewView::APreviewView(AComponent* parent, int16_t id, const ASizeSpec& rule)
    : AView(parent, id, rule, 0, 0, "", 0) {}

APreviewView::~APreviewView() {
    releasePrinter();
}

// Record: AView's, then FFFF (this class adds no field).
void APreviewView::readFrom(AMemoryStream& stream) {
    AView::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "fpreview", 140);
}

void APreviewView::detachItems() {
    releasePrinter();
    AView::detachItems();
}

void APreviewView::releasePrinter() {
    if (!printer_)
        return;
    AComponent* printer = printer_;
    printer_ = nullptr;
    DeleteComponent(printer);
}

void APreviewView::linkChanged(AComponent* source, const AKindSet& kinds) {
    if (source == printer_ && kinds.contains(9))
        printer_ = nullptr;
    AView::linkChanged(source, kinds);
}

void APreviewView::setSource(ADisplayComponent* component) {
    releasePrinter();
    page_ = -1;
    source_ = component;
    if (component) {
        ADisplayComponent* made = component->getPrinter();
        void* printer = made ? made->castTo(&APrinter::classRecord) : nullptr;
        if (!printer) {
            AComponent* other = made;
            DeleteComponent(other);
            ThrowAssert("fpreview", 849);
        }
        printer_ = static_cast<APrinter*>(printer);
        printer_->setPageTarget(this);
        printer_->addLink(this);
        showPage(0, 0);
    }
    invalidate();
}

void APreviewView::showPage(int16_t page, int16_t force) {
    if (!printer_ || !source_ || page < 0 || (!force && page == page_))
        return;
    bitmap_.invalidate();
    perform(printer_->printPages(source_, APrintRange{page, page, 1, 1, 0}));
    reached_ = page_ == page ? 1 : 0;
    if (!reached_) {
        if (AApp* app = AApp::current())
            app->beep(MB_OK);
    }
    // The bitmap now holds the last page laid out, reached or not.
    invalidate();
    queueUpdate(6);
}

int16_t APreviewView::countPages() {
    if (!printer_ || !source_)
        return 0;
    bitmap_.invalidate();
    perform(printer_->printPages(source_, APrintRange{0, 1000, 1, 1, 0}));
    return static_cast<int16_t>(page_ + 1);
}

HDC APreviewView::preparePage(int16_t page, const ARect& printable, const ARect& paper, int16_t* ready) {
    page_ = page;
    printable_ = printable;
    // A device without a physical page size (a memory DC) shows its printable area as the sheet.
    paper_ = paper.width() > 0 && paper.height() > 0 ? paper : printable;
    layOut();
    bitmap_.prepare(APoint(printable.width(), printable.height()), 0);
    if (!bitmap_.isValid())
        return nullptr;
    *ready = 1;
    return bitmap_.deviceContext();
}

void APreviewView::setZoom(int16_t zoom) {
    if (zoom == 0 || zoom == zoom_)
        return;
    zoom_ = zoom;
    layOut();
    invalidate();
    queueUpdate(6);
}

void APreviewView::setMargins(const APoint& margin) {
    if (margin == margin_)
        return;
    margin_ = margin;
    layOut();
    invalidate();
}

void APreviewView::setBackground(COLORREF color) {
    if (color == background_)
        return;
    background_ = color;
    invalidate();
}

long APreviewView::frameChanged(const APoint& size) {
    long answer = AView::frameChanged(size);
    // The sheet is centred in the width the view has now.
    layOut();
    return answer;
}

void APreviewView::layOut() {
    auto scaled = [this](int32_t v) { return static_cast<int32_t>(MulDiv(v, zoom_, 100)); };
    auto scaledRect = [&](const ARect& r) {
        return ARect(scaled(r.left()), scaled(r.top()), scaled(r.right()), scaled(r.bottom()));
    };
    ARect sheet = scaledRect(paper_);
    ARect printable = scaledRect(printable_);
    scaledMargin_ = APoint(scaled(margin_.x), scaled(margin_.y));
    APoint printableAt(scaledMargin_.x - sheet.left(), scaledMargin_.y - sheet.top());
    sheet_ = sheet + (scaledMargin_ - sheet.firstCorner());
    printableOnScreen_ = ARect(printableAt, printableAt + APoint(printable.width(), printable.height()));
    shadow_ = sheet_ + APoint(scaled(4), scaled(4));
    setContentSize(APoint(sheet_.width() + 2 * scaledMargin_.x, sheet_.height() + 2 * scaledMargin_.y));
    int32_t shift = (getLocalBounds().width() - sheet_.width()) / 2;
    if (shift > 0) {
        APoint d(shift, 0);
        sheet_ = sheet_ + d;
        printableOnScreen_ = printableOnScreen_ + d;
        shadow_ = shadow_ + d;
    }
}

long APreviewView::draw(const ARegion& region) {
    (void)region;
    AGraphicDisplay* display = ADisplayContext::instance().current();
    if (!display)
        return 1;
    display->FillRect(getLocalBounds(), background_);
    display->FillRect(shadow_, 0x000000);
    display->FillRect(sheet_, 0xFFFFFF);
    display->SetForeColor(0);
    if (bitmap_.isValid())
        bitmap_.drawInto(printableOnScreen_, *display);
    return 1;
}
