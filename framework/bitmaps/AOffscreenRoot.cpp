// The off-screen root: its memory bitmap, the dirty region and the copy to the screen.
#include "framework/bitmaps/AOffscreenRoot.h"

#include <algorithm>

#include "base/object/AMemoryStream.h"
#include "base/procedural/AError.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/graphics/ADisplayLock.h"
#include "framework/graphics/APaletteTable.h"

SV_IMPLEMENT_CLASS(AOffscreenRoot, 161, ADisplayComponent)

AOffscreenRoot::~AOffscreenRoot() {
    releaseBitmap();
    if (window_)
        setNativeWindow(nullptr);
}

void AOffscreenRoot::readFrom(AMemoryStream& stream) {
    ADisplayComponent::readFrom(stream);
    options_ = stream.readShort();
    ALayoutLoader::readEndMark(stream, "foffscrn", 227);
}

void AOffscreenRoot::attachItems() {
    if (!disabled())
        setOffscreenRootFlag(true);
    ADisplayComponent::attachItems();
    if (disabled())
        return;
    if (options_ & kOwnWindow)
        makeOwnWindow();
    sizeBitmap(ARect(APoint(0, 0), getSize()));
    invalidate();
}

// The window is made over the frame in the enclosing window's client area;
// none while that window has no native window yet to be its parent.
void AOffscreenRoot::makeOwnWindow() {
    ADisplayComponent* parent = getDisplayParent();
    HWND host = parent ? parent->enclosingWindow() : nullptr;
    if (!host || window_)
        return;
    const ARect rect = getNaturalFrame() + parent->windowPosition();
    window_.reset(
        CheckAlloc(new (std::nothrow) ANativeViewWindow(this, host, WS_CLIPCHILDREN, rect, true), "foffscrn", 178));
    setNativeWindow(CheckAlloc(window_->hwnd(), "foffscrn", 179));
    computeWindowPosition(parent);
}

void AOffscreenRoot::detachItems() {
    releaseBitmap();
    registered_.clear();
    if (window_) {
        setNativeWindow(nullptr);
        window_.reset();
    }
    ADisplayComponent::detachItems();
}

void AOffscreenRoot::releaseBitmap() {
    if (memoryDC_) {
        if (previousBitmap_)
            SelectObject(memoryDC_, previousBitmap_);
        DeleteDC(memoryDC_);
    }
    if (bitmap_)
        DeleteObject(bitmap_);
    memoryDC_ = nullptr;
    bitmap_ = nullptr;
    previousBitmap_ = nullptr;
    size_ = APoint(0, 0);
}

void AOffscreenRoot::sizeBitmap(const ARect& rect) {
    options_ = static_cast<int16_t>(options_ & ~kUnavailable);
    HWND window = enclosingWindow();
    HDC screen = GetDC(window);
    if (!memoryDC_)
        memoryDC_ = CreateCompatibleDC(screen);
    HBITMAP made = nullptr;
    if (memoryDC_ && rect.width() > 0 && rect.height() > 0)
        made = CreateCompatibleBitmap(screen, rect.width(), rect.height());
    ReleaseDC(window, screen);
    const APoint oldSize = size_;
    if (made) {
        HGDIOBJ out = SelectObject(memoryDC_, made);
        if (!previousBitmap_)
            previousBitmap_ = out;
        else
            DeleteObject(out);
        bitmap_ = made;
        BitBlt(memoryDC_, 0, 0, rect.width(), rect.height(), nullptr, 0, 0, WHITENESS);
    } else {
        options_ = static_cast<int16_t>(options_ | kUnavailable);
    }
    if (options_ & kUnavailable) {
        if (memoryDC_ && previousBitmap_)
            SelectObject(memoryDC_, previousBitmap_);
        previousBitmap_ = nullptr;
        if (bitmap_)
            DeleteObject(bitmap_);
        bitmap_ = nullptr;
        size_ = APoint(0, 0);
        invalidateClippedOnScreen(ARegion(rect));
        return;
    }
    // The old content is not kept: what the new size uncovers is dirty, and the whole root is drawn again.
    ARegion uncovered(rect);
    uncovered.subtract(ARegion(ARect(APoint(0, 0), oldSize)));
    addDirty(uncovered);
    size_ = APoint(rect.width(), rect.height());
    setMemoryOrigin();
    invalidateClippedOnScreen(ARegion(rect));
    pending_ = 0;
}

void AOffscreenRoot::setMemoryOrigin() {
    // The displays draw at window positions: the root's own lands on the bitmap's origin.
    if (memoryDC_)
        SetWindowOrgEx(memoryDC_, windowPosition().x, windowPosition().y, nullptr);
}

void AOffscreenRoot::moveNativeWindow() {
    ADisplayComponent::moveNativeWindow();
    if (disabled() || !hasFlags(kOffscreenRoot))
        return;
    if (getSize() != size_)
        sizeBitmap(ARect(APoint(0, 0), getSize()));
    setMemoryOrigin();
}

HDC AOffscreenRoot::getDisplay() {
    return drawsOffscreen() ? memoryDC_ : ADisplayComponent::getDisplay();
}

COLORREF AOffscreenRoot::getBackColor() {
    return drawsOffscreen() ? RGB(255, 255, 255) : ADisplayComponent::getBackColor();
}

void AOffscreenRoot::componentDeleted(AComponent* component) {
    if (!registered_.empty()) {
        if (!component)
            ThrowAssert("foffscrn", 218);
        registered_.erase(std::remove(registered_.begin(), registered_.end(), component), registered_.end());
    }
    ADisplayComponent::componentDeleted(component);
}

void AOffscreenRoot::registerComponent(ADisplayComponent* component) {
    if (component && std::find(registered_.begin(), registered_.end(), component) == registered_.end())
        registered_.push_back(component);
}

void AOffscreenRoot::addDirty(const ARegion& region) {
    dirty_.unite(region);
}

void AOffscreenRoot::removeDirty(const ARegion& region) {
    dirty_.subtract(region);
}

long AOffscreenRoot::draw(const ARegion& region) {
    pending_ = 1;
    if (!drawsOffscreen())
        return ADisplayComponent::draw(region);
    ARegion part(region);
    part.intersect(ARegion(getLocalBounds()));
    if (part.isEmpty())
        return 1;
    {
        // The lock draws into the bitmap and, as it ends, copies the part to the screen.
        ADisplayLock lock(this, memoryDC_, AGraphicDisplay::kOwnDevice | AGraphicDisplay::kOffscreen, nullptr, &part);
        removeDirty(part);
        ADisplayComponent::draw(part);
    }
    validateRegion(part, false);
    return 1;
}

ARect AOffscreenRoot::frameInRoot(ADisplayComponent* c) {
    return c->getLocalBounds() + (c->windowPosition() - windowPosition());
}

void AOffscreenRoot::flush(const ARegion& region) {
    if (!drawsOffscreen() || !pending_ || region.isEmpty())
        return;
    HWND window = enclosingWindow();
    if (!window)
        return;
    ARegion copied(region);
    for (ADisplayComponent* c : registered_)
        copied.subtract(ARegion(frameInRoot(c)));
    const ARect box = copied.ownerBounds();
    const APoint at = windowPosition();
    HDC target = GetDC(window);
    if (!copied.isEmpty()) {
        APaletteTable* table = APaletteTable::active();
        HPALETTE palette = table ? table->paletteFor(this, true) : nullptr;
        HPALETTE oldPalette = palette ? SelectPalette(memoryDC_, palette, TRUE) : nullptr;
        if (palette)
            RealizePalette(memoryDC_);
        // Monochrome content copies as black on white.
        COLORREF targetBack = SetBkColor(target, RGB(255, 255, 255));
        COLORREF targetText = SetTextColor(target, RGB(0, 0, 0));
        COLORREF memoryBack = SetBkColor(memoryDC_, RGB(255, 255, 255));
        COLORREF memoryText = SetTextColor(memoryDC_, RGB(0, 0, 0));
        BitBlt(target, box.left() + at.x, box.top() + at.y, box.width(), box.height(), memoryDC_, box.left() + at.x,
               box.top() + at.y, SRCCOPY);
        SetBkColor(target, targetBack);
        SetTextColor(target, targetText);
        SetBkColor(memoryDC_, memoryBack);
        SetTextColor(memoryDC_, memoryText);
        if (palette)
            SelectPalette(memoryDC_, oldPalette, TRUE);
    }
    ReleaseDC(window, target);
    std::vector<ADisplayComponent*> direct;
    direct.swap(registered_);
    for (ADisplayComponent* c : direct) {
        ARegion own(region);
        own.intersect(ARegion(frameInRoot(c)));
        if (own.isEmpty())
            continue;
        ARegion local(own.ownerBounds() + (windowPosition() - c->windowPosition()));
        APaintLock lock(c, &local);
        c->draw(local);
    }
}
