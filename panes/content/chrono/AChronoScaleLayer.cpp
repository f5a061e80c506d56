// The chronology's scale layer and its background runs.
#include "panes/content/chrono/AChronoScaleLayer.h"

#include <algorithm>
#include <cstdlib>

#include "base/procedural/AError.h"
#include "base/object/AStringList.h"
#include "base/procedural/AOutStream.h"
#include "base/procedural/Trace.h"
#include "docengine/lines/ARunDisplay.h"
#include "docengine/styles/ABitmapSupplier.h"
#include "docengine/styles/AStyleSheet.h"
#include "framework/graphics/AGraphicDisplay.h"
#include "panes/content/chrono/AChronoScale.h"

// --- background run

AChronoBackgroundDataRun::AChronoBackgroundDataRun(ABitmapRef* bitmap, const APoint& topLeft, const APoint& size)
    : ADataRun(0L, 0L), bitmap_(bitmap), top(topLeft.y) {
    bitmap_->addRef();
    x = topLeft.x;
    width = size.x;
    height = size.y;
}

AChronoBackgroundDataRun::~AChronoBackgroundDataRun() {
    bitmap_->release();
}

void AChronoBackgroundDataRun::drawOn(ARunDisplay* display) {
    display->drawBitmap(bitmap_, rect(), 0, 0);
}

// --- layer

AChronoScaleLayer::AChronoScaleLayer(AComponent* parent, int16_t id, const ASizeSpec& rule, ARunDisplay* display)
    : AViewLayer(parent, id, rule), display_(display) {}

AChronoScaleLayer::~AChronoScaleLayer() {
    columns_.clear();
    if (sheet_)
        sheet_->release();
    if (supplier_)
        supplier_->release();
}

ARunDisplay* AChronoScaleLayer::display() {
    if (!display_) {
        ownDisplay_.reset(new AGdiRunDisplay());
        display_ = ownDisplay_.get();
    }
    return display_;
}

void AChronoScaleLayer::setScale(AChronoScale* scale) {
    scale_ = scale;
    updateSize();
}

void AChronoScaleLayer::setStyleSheet(AStyleSheet* sheet) {
    if (sheet)
        sheet->addRef();
    if (sheet_)
        sheet_->release();
    sheet_ = sheet;
}

void AChronoScaleLayer::setBitmapSupplier(ABitmapSupplier* supplier) {
    if (supplier)
        supplier->addRef();
    if (supplier_)
        supplier_->release();
    supplier_ = supplier;
}

void AChronoScaleLayer::reset() {
    if (!scale_)
        return;
    columns_.clear();
    std::fill(made_.begin(), made_.end(), 0);
    updateSize();
}

void AChronoScaleLayer::detachItems() {
    reset();
    AViewLayer::detachItems();
}

void AChronoScaleLayer::updateSize() {
    setContentSize(scale_ ? APoint(int32_t(scale_->length()), int32_t(kContentHeight)) : APoint(0, 0));
    invalidate();
}

void AChronoScaleLayer::setBackground(const char* text) {
    if (!scale_)
        ThrowAssert("chrono", 363);
    entries_.clear();
    AStringList lines(text ? text : "", "\r\n");
    for (short i = 0; i < lines.count(); ++i) {
        const char* line = lines.at(i);
        if (!*line)
            continue;
        AStringList fields(line, ',');
        long year = std::atol(fields.at(0));
        if (year > AChronoScale::kLimit / 2 || year < -AChronoScale::kLimit / 2) {
            CurrentErrorStream().writeString("chrono background line ").writeLong(i + 1).writeString(": bad year\n");
            continue;
        }
        entries_.push_back(Entry{year + scale_->offset, int16_t(std::atol(fields.at(1))),
                                 int16_t(std::atol(fields.at(2))), int16_t(std::atol(fields.at(3)))});
    }
    placeBackground();
}

// Entries whose year goes back are placed at the previous entry's position,
// so the positions stay ascending for the searches.
void AChronoScaleLayer::placeBackground() {
    if (!scale_)
        ThrowAssert("chrono", 403);
    positions_.clear();
    long last = 0;
    for (size_t i = 0; i < entries_.size(); ++i) {
        long p = scale_->yearToPos(entries_[i].year);
        if (i > 0 && p < last)
            p = last;
        positions_.append(static_cast<int32_t>(p));
        last = p;
    }
    columns_.clear();
    made_.assign(entries_.size(), 0);
}

void AChronoScaleLayer::showMarker() {
    markerShown = true;
    invalidate();
}

ABitmapRef* AChronoScaleLayer::bitmapOf(int16_t number) {
    ABitmapRef* bitmap = nullptr;
    if (supplier_)
        bitmap = supplier_->bitmapNamed(AString(long(number)));
    else if (sheet_)
        bitmap = sheet_->getBitmap(number);
    return bitmap && bitmap->picture() ? bitmap : nullptr;
}

void AChronoScaleLayer::buildBackground(const ARect& visible) {
    if (!scale_ || entries_.empty())
        return;
    if (!columns_.setRect(visible) && columns_.count())
        return;
    if (columns_.count() == 0)
        std::fill(made_.begin(), made_.end(), 0);
    long length = scale_->length();
    AChronoRange wanted(std::max(0L, long(visible.left()) - 300), std::min(long(visible.right()) + 300, length));
    AChronoRange todo = columns_.unbuilt(wanted);
    long a = todo.first, b = todo.second;
    if (b - a <= 0)
        return;
    long h = visible.height(), y0 = visible.top() + 10, q = h / 4;
    long i = positions_.upperBound(static_cast<int32_t>(a)) - 1;
    if (i < 0)
        i = 0;
    long n = static_cast<long>(entries_.size());
    for (long p = positions_.at(i); p < b && i < n; ++i) {
        long next = i + 1 < n ? positions_.at(i + 1) : length;
        const Entry& e = entries_[static_cast<size_t>(i)];
        ABitmapRef* bitmap = made_[static_cast<size_t>(i)] ? nullptr : bitmapOf(e.bitmap);
        if (bitmap) {
            ARunExtent size = display()->bitmapSize(bitmap);
            long w = size.width, bh = size.height, top;
            if (e.vertical == 2) {
                top = y0 + 3 * q - bh / 2;
                if (top + bh > h)
                    top = h - bh;
            } else if (e.vertical == 1) {
                top = y0 + 2 * q - bh / 2;
            } else {
                top = std::max(0L, y0 + q - bh / 2);
            }
            long left = e.horizontal == 0 ? p - w : e.horizontal == 1 ? p - w / 2 : p;
            auto* run = new AChronoBackgroundDataRun(bitmap, APoint(int32_t(left), int32_t(top)),
                                                     APoint(int32_t(w), int32_t(bh)));
            columns_.append(new AChronoColumn(AChronoRange(p, next), run));
            made_[static_cast<size_t>(i)] = 1;
        }
        p = next;
    }
    columns_.markBuilt(todo);
}

void AChronoScaleLayer::drawBackground(const ARect& visible) {
    buildBackground(visible);
    AChronoRange span(visible.left(), visible.right());
    for (long i = 0; i < columns_.count(); ++i) {
        AChronoColumn* column = columns_.at(i);
        if (!column->overlaps(span))
            continue;
        for (ADataRun* run = column->runs(); run; run = run->next)
            static_cast<AChronoBackgroundDataRun*>(run)->drawOn(display());
    }
}

ARect AChronoScaleLayer::markerRect() {
    ARect B = getLocalBounds();
    long lineY = B.bottom() - bandHeight;
    ABitmapRef* bitmap = sheet_ ? sheet_->getBitmap(8) : nullptr;
    if (!bitmap || !bitmap->picture())
        return ARect();
    ARunExtent size = display()->bitmapSize(bitmap);
    long left = markerPosition - size.width / 2;
    return ARect(int32_t(left), int32_t(lineY - size.height), int32_t(left + size.width), int32_t(lineY));
}

long AChronoScaleLayer::drawContent(const ARect&) {
    AGraphicDisplay* d = ADisplayContext::drawableCurrent();
    if (!scale_ || !d || !sheet_ || scale_->entryCount() == 0)
        return 1;
    ARect B = getLocalBounds();
    int32_t lineY = int32_t(B.bottom() - bandHeight);
    AStyleFont* font = sheet_->getFont(1, 0);
    COLORREF label = sheet_->getColor(1) & 0xFFFFFF;
    d->FillRect(ARect(B.left(), B.top(), B.right(), lineY), sheet_->getColor(2) & 0xFFFFFF);
    drawBackground(ARect(B.left(), B.top(), B.right(), lineY));
    d->FillRect(ARect(B.left() + 1, lineY + 1, B.right(), B.bottom()), sheet_->getColor(3) & 0xFFFFFF);
    if (d->foreColor() != label)
        d->SetForeColor(label);
    d->DrawLine(APoint(B.left(), lineY), APoint(B.right(), lineY));
    labelsDrawn.clear();
    long step = scale_->firstUnit();
    long x = std::max(0L, long(B.left()) - 20);
    x -= x % step;
    long spacing = 0;
    long contentWidth = getContentSize().x;
    while (x <= B.right() + step) {
        AString text = scale_->formatYear(scale_->posToYear(x));
        long offset = 0;
        if (x != 0 && font) {
            long w = display()->extent(font, text.c_str(), text.length()).width;
            offset = x == contentWidth ? -w : -(w / 2);
        }
        if (spacing > 70) {
            d->DrawLine(APoint(int32_t(x), lineY), APoint(int32_t(x), 0));
            if (font) {
                ARunExtent e = display()->extent(font, text.c_str(), text.length());
                display()->drawText(font, x + offset, lineY + 10 + e.ascent, text.c_str(), text.length(), label);
            }
            labelsDrawn.push_back(x);
            spacing = 0;
        }
        x += step;
        spacing += step;
    }
    if (markerShown) {
        ARect r = markerRect();
        if (r.width() > 0)
            display()->drawBitmap(sheet_->getBitmap(8), r, 0, 0);
    }
    return 1;
}
