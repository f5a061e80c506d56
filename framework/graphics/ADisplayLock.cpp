// Display locks, the saved display state and the clip guard.
#include "framework/graphics/ADisplayLock.h"

#include "base/procedural/AError.h"
#include "base/procedural/AOutStream.h"
#include "framework/graphics/ADisplaySite.h"
#include "framework/graphics/AFont.h"

void ADisplayState::save(AGraphicDisplay* display, bool contexts) {
    if (display_)
        ThrowAssert("fgrdisp", 1130);
    display_ = display;
    font_ = display->font_;
    fore_ = display->fore_;
    back_ = display->back_;
    textMode_ = display->textMode_;
    pen_ = display->pen_;
    penColor_ = display->penColor_;
    penWanted_ = display->penWanted_;
    level_ = contexts && display->dc_ ? SaveDC(display->dc_) : 0;
    measureLevel_ =
        contexts && display->measureDC_ && display->measureDC_ != display->dc_ ? SaveDC(display->measureDC_) : 0;
}

void ADisplayState::restore() {
    if (!display_)
        return;
    AGraphicDisplay* d = display_;
    display_ = nullptr;
    if (level_ && d->dc_) {
        RestoreDC(d->dc_, level_);
        AGraphicDisplay::clipChanged(d->dc_);
        d->pen_ = pen_;
    }
    if (measureLevel_ && d->measureDC_)
        RestoreDC(d->measureDC_, measureLevel_);
    // RestoreDC put the saved font back into the contexts; the fields follow
    // it, unless the body went meanwhile and its handle with it.
    d->font_ = font_;
    if (font_ && !_AFont::isLive(font_)) {
        d->font_ = nullptr;
        if (d->dc_)
            SelectObject(d->dc_, GetStockObject(SYSTEM_FONT));
        if (d->measureDC_ && d->measureDC_ != d->dc_)
            SelectObject(d->measureDC_, GetStockObject(SYSTEM_FONT));
    }
    d->fore_ = fore_;
    d->back_ = back_;
    d->textMode_ = textMode_;
    d->penColor_ = penColor_;
    d->penWanted_ = penWanted_;
}

void AClipLock::set(const ARegion& region, bool unclipped) {
    if (!display_) {
        ADisplayContext* context = ADisplayContext::existing();
        display_ = context ? context->current() : nullptr;
        if (!display_)
            ThrowAssert("fgrdisp", 1190);
        unchanged_ = true;
        hadClip_ = false;
    }
    // Already clipped so: nothing to set (nor, before a first change, to put back).
    if (display_->isClippedTo(region, 1))
        return;
    if (unchanged_) {
        unchanged_ = false;
        // Restoring a context without a clip means no clip, not an empty one.
        hadClip_ = !unclipped && saved_.fromClipRegion(display_->origin(), display_->dc());
    }
    display_->setClipRegion(region, 1);
}

void AClipLock::restore() {
    if (!display_)
        return;
    if (unchanged_) {
        unchanged_ = false;
    } else if (hadClip_) {
        display_->setClipRegion(saved_, 0);
    } else {
        AGraphicDisplay::clipChanged(display_->dc());
        SelectClipRgn(display_->dc(), nullptr);
    }
    display_ = nullptr;
}

ADisplayLock::ADisplayLock() : previous_(nullptr), display_(nullptr) {}

ADisplayLock::ADisplayLock(ADisplaySite* site, HDC dc, uint16_t flags, HDC measureDC, const ARegion* region)
    : ADisplayLock() {
    push(new AGraphicDisplay(site, dc, flags, measureDC), region, 0);
}

void ADisplayLock::push(AGraphicDisplay* display, const ARegion* region, int16_t componentClip, bool clipNow) {
    if (!display)
        ThrowAssert("fgrdisp", 1260);
    ADisplayContext& context = ADisplayContext::instance();
    display->addRef();
    display_ = display;
    // GetDC hands a common context out again with default attributes and no
    // clip: one made for this lock alone needs nothing saved (SaveDC and
    // RestoreDC cost about 2.5 microseconds a lock under Wine). Counted
    // before the context takes its own reference.
    disposable_ = display->refs() == 1 && (display->flags() & AGraphicDisplay::kOwnsWindowDC) &&
                  display->hasCommonDC();
    previous_ = context.current();
    previous_->addRef();
    context.exchangeCurrent(display);
    state_.save(display, !disposable_);
    display->prepareDC();
    ADisplaySite* site = display->site();
    if (!site || !display->isDrawable() || display->isPrintLike())
        return;
    if (componentClip) {
        region_ = site->getVisibleRegion();
        if (region)
            region_.intersect(*region);
    } else if (region) {
        region_ = *region;
    }
    if (clipNow)
        clip_.set(region_, disposable_);
}

void ADisplayLock::reclip(const ARegion& region) {
    ADisplaySite* site = display_ ? display_->site() : nullptr;
    if (!site || !display_->isDrawable() || display_->isPrintLike())
        return;
    // A band inside a rectangular lock region needs no intersection.
    if (region_.isRectangle()) {
        ARect outer = region_.ownerBounds(), inner = region.ownerBounds();
        if (outer.left() <= inner.left() && outer.top() <= inner.top() && inner.right() <= outer.right() &&
            inner.bottom() <= outer.bottom()) {
            clip_.set(region, disposable_);
            return;
        }
    }
    ARegion clip(region_);
    clip.intersect(region);
    clip_.set(clip, disposable_);
}

void ADisplayLock::reset() {
    if (!display_)
        return;
    ADisplaySite* site = display_->site();
    if (site && site->isOffscreen() && display_->isDrawable()) {
        uint16_t flags = display_->flags();
        if (flags & AGraphicDisplay::kOffscreen) {
            site->copyOffscreenToScreen(region_);
        } else if (flags & AGraphicDisplay::kOwnDevice) {
            site->invalidateClippedOnScreen(region_);
        } else if (flags & AGraphicDisplay::kPaint) {
            ARegion visible(region_);
            visible.intersect(ARegion(site->getLocalBounds()));
            site->invalidateOffscreen(visible);
        }
    }
    // A display still held elsewhere keeps its context: its clip goes back.
    ADisplayContext& context = ADisplayContext::instance();
    int holders = context.current() == display_ ? 2 : 1;
    if (disposable_ && display_->refs() == holders)
        clip_.drop();
    else
        clip_.restore();
    disposable_ = false;
    state_.restore();
    AGraphicDisplay* replaced = context.current();
    if (replaced != display_)
        CurrentErrorStream().writeString("#ADisplayLock::reset() : context stack checkpoint\n");
    context.exchangeCurrent(previous_);
    previous_->release();
    previous_ = nullptr;
    AGraphicDisplay* own = display_;
    display_ = nullptr;
    own->release();
}

namespace {

// A display that draws on the context of one found in the same window.
AGraphicDisplay* Sharing(ADisplaySite* site, AGraphicDisplay* found, uint16_t flags) {
    return new AGraphicDisplay(site, found->dc(), flags, nullptr);
}

bool IsOffscreenDisplay(AGraphicDisplay* d) {
    return d && (d->flags() & AGraphicDisplay::kOffscreen);
}

AGraphicDisplay* PaintDisplay(ADisplaySite* site) {
    if (AGraphicDisplay* d = AGraphicDisplay::findDisplay(site, 0x0004))
        return d;
    if (AGraphicDisplay* w = AGraphicDisplay::findWindowDisplay(site, 0x0004))
        return Sharing(site, w, 0x0004);
    return new AGraphicDisplay(site, nullptr, 0x000C, nullptr);
}

AGraphicDisplay* OwnDeviceDisplay(ADisplaySite* site, uint16_t flags) {
    HDC dc = site->getDisplay();
    return dc ? new AGraphicDisplay(site, dc, flags, nullptr) : new AGraphicDisplay(site, nullptr, 0x004C, nullptr);
}

ADisplaySite* Required(ADisplaySite* site) {
    if (!site)
        ThrowAssert("fgrdisp", 1400);
    return site;
}

}  // namespace

APaintLock::APaintLock(ADisplaySite* site, const ARegion* region) {
    push(PaintDisplay(Required(site)), region, 1);
}

ADeviceLock::ADeviceLock(ADisplaySite* site, const ARegion* region, bool clipNow) {
    Required(site);
    AGraphicDisplay* d = AGraphicDisplay::findDisplay(site, 0x0004);
    if (!d)
        d = site->isOffscreen() ? OwnDeviceDisplay(site, 0x00A0) : PaintDisplay(site);
    push(d, region, 1, clipNow);
}

AOffscreenLock::AOffscreenLock(ADisplaySite* site, const ARegion* region) {
    Required(site);
    AGraphicDisplay* d = AGraphicDisplay::findDisplay(site, 0x0060);
    if (!d || IsOffscreenDisplay(d))
        d = OwnDeviceDisplay(site, 0x0020);
    push(d, region, 1);
}

ADrawLock::ADrawLock(ADisplaySite* site) {
    Required(site);
    AGraphicDisplay* current = ADisplayContext::instance().current();
    if (current->isPrintLike())
        return;
    AGraphicDisplay* d = AGraphicDisplay::findDisplay(site, 0x0024);
    if (IsOffscreenDisplay(d))
        d = nullptr;
    if (!d) {
        AGraphicDisplay* w = AGraphicDisplay::findWindowDisplay(site, 0x0024);
        if (w && !IsOffscreenDisplay(w))
            d = Sharing(site, w, w->flags() & ~AGraphicDisplay::kOwnsWindowDC);
    }
    if (!d)
        d = new AGraphicDisplay(site, nullptr, 0x000D, nullptr);
    push(d, nullptr, 0);
}

AChildPaintLock::AChildPaintLock(ADisplaySite* site, const ARegion* region) {
    ADisplaySite* parent = Required(site)->getDisplayParent();
    AGraphicDisplay* a = parent ? AGraphicDisplay::findDisplay(parent, 0x0024) : nullptr;
    if (!a)
        ThrowAssert("fgrdisp", 1480);
    AGraphicDisplay* d;
    if (a->flags() & AGraphicDisplay::kDeviceMissing) {
        HDC dc = site->getDisplay();
        d = dc ? new AGraphicDisplay(site, dc, 0x0020, dc)
               : new AGraphicDisplay(site, a->dc(), 0x0044, a->getMeasureDC());
    } else {
        uint16_t flags = (a->flags() & AGraphicDisplay::kOwnDevice) ? 0x0020 : 0x0004;
        d = new AGraphicDisplay(site, a->dc(), flags, a->getMeasureDC());
    }
    push(d, region, 0);
}

APrintMeasureLock::APrintMeasureLock(ADisplaySite* site) {
    Required(site);
    HDC reference;
    if (AGraphicDisplay::printScalingMode & 2) {
        reference = ADisplayContext::instance().memoryDC();
    } else {
        const APrinterInfo* info = site->canPrint();
        if (!info)
            ThrowAssert("fgrdisp", 1520);
        reference = info->dc;
    }
    push(new AGraphicDisplay(site, nullptr, 0x0003, reference), nullptr, 0);
}

ABeginPaintLock::ABeginPaintLock(ADisplaySite* site) : window_(nullptr), paint_(), paintDC_(nullptr) {
    window_ = Required(site)->siteWindow();
    if (!window_)
        ThrowAssert("fgrdisp", 1550);
    painted_.fromUpdateRegion(site->originInWindow(), window_);
    paintDC_ = BeginPaint(window_, &paint_);
    AGraphicDisplay* d;
    ARegion bounds(site->getLocalBounds());
    if (paintDC_) {
        d = new AGraphicDisplay(site, paintDC_, 0x0004, nullptr);
    } else {
        d = new AGraphicDisplay(site, nullptr, 0x000C, nullptr);
        painted_ = bounds;
    }
    painted_.intersect(bounds);
    push(d, &painted_, 0);
}

ABeginPaintLock::~ABeginPaintLock() {
    if (paintDC_) {
        reset();
        EndPaint(window_, &paint_);
    }
}

AMetafileLock::AMetafileLock(ADisplaySite* site) : metaDC_(nullptr), screenDC_(nullptr) {
    Required(site);
    metaDC_ = CreateMetaFileA(nullptr);
    screenDC_ = GetDC(nullptr);
    ARegion bounds(site->getLocalBounds());
    push(new AGraphicDisplay(site, metaDC_, 0x0014, screenDC_), &bounds, 0);
}

AMetafileLock::~AMetafileLock() {
    if (metaDC_)
        DeleteMetaFile(close());
}

HMETAFILE AMetafileLock::close() {
    if (!metaDC_)
        return nullptr;
    reset();
    HMETAFILE result = CloseMetaFile(metaDC_);
    ReleaseDC(nullptr, screenDC_);
    metaDC_ = nullptr;
    screenDC_ = nullptr;
    return result;
}
