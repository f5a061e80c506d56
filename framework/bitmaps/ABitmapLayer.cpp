// The picture layer: loading, placement (plain, fitted, tiled) and export.
#include "framework/bitmaps/ABitmapLayer.h"

#include <algorithm>
#include <vector>

#include "base/procedural/AError.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/dib/AStreamDIBReader.h"
#include "framework/graphics/ADisplayLock.h"
#include "framework/graphics/APaletteTable.h"

SV_IMPLEMENT_CLASS(ABitmapLayer, 150, AViewLayer)

namespace {

// Image files go through the image readers (BMP, "KY" and JPEG), the
// description's first word being their options. Installed in every program
// that has bitmap views, whose archive is linked whole.
HGLOBAL ReadImageFile(const AImageSpec& spec) {
    AStreamDIBReader reader(AFileSpec(spec.file.c_str()), 0, 0, static_cast<uint16_t>(spec.flags & 0x0FFF));
    return reader.takeDib();
}

// The same files' sizes, from their headers.
APoint SizeImageFile(const AImageSpec& spec) {
    AStreamDIBReader reader(AFileSpec(spec.file.c_str()), 0, 0, static_cast<uint16_t>(spec.flags & 0x0FFF), true);
    return APoint(reader.width(), reader.height());
}

const bool g_readerInstalled = (SetImageFileReader(&ReadImageFile), SetImageFileSizer(&SizeImageFile), true);

}  // namespace

ABitmapLayer::~ABitmapLayer() {
    releasePalette();
}

void ABitmapLayer::releasePalette() {
    if (image_ && (image_->body()->spec().flags & AImageSpec::kOwnColors))
        if (APaletteTable* table = APaletteTable::active())
            table->removePalette(this, image_->body()->palette());
}

void ABitmapLayer::readFrom(AMemoryStream& stream) {
    AViewLayer::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "fbmview", 61);
}

void ABitmapLayer::detachItems() {
    clearBitmap();
    AViewLayer::detachItems();
}

void ABitmapLayer::setBitmap(const AImageSpec& spec) {
    clearBitmap();
    tiled_ = 0;
    loadBitmap(spec);
}

void ABitmapLayer::setPatternBitmap(const AImageSpec& spec) {
    clearBitmap();
    tiled_ = 1;
    loadBitmap(spec);
}

void ABitmapLayer::clearBitmap() {
    releasePalette();
    image_.reset();
    width_ = height_ = 0;
    refresh();
}

void ABitmapLayer::loadBitmap(const AImageSpec& spec) {
    std::unique_ptr<AImage> image(CheckAlloc(new AImage(spec), "fbmview", 84));
    // Loading first: a picture the reader refuses leaves the layer empty.
    APoint size = image->body()->size();
    if (spec.flags & AImageSpec::kOwnColors)
        if (APaletteTable* table = APaletteTable::active())
            table->setPalette(this, image->body()->palette());
    image_ = std::move(image);
    width_ = size.x;
    height_ = size.y;
    refresh();
}

void ABitmapLayer::setDisplayMode(int16_t mode, bool fitAlways) {
    if (mode == fitMode_)
        return;
    fitMode_ = mode;
    fitAlways_ = fitAlways ? 1 : 0;
    if (mode)
        scale_ = 0;
    refresh();
}

void ABitmapLayer::setScale(int16_t percent, bool centreHorizontally, bool centreVertically) {
    if (percent != scale_) {
        scale_ = percent;
        refresh();
    }
    centreHorizontally_ = centreHorizontally ? 1 : 0;
    centreVertically_ = centreVertically ? 1 : 0;
}

APoint ABitmapLayer::scaledSize() const {
    if (scale_ == 100)
        return APoint(width_, height_);
    return APoint(MulDiv(width_, scale_, 100), MulDiv(height_, scale_, 100));
}

void ABitmapLayer::refresh() {
    APoint content = image_ && !tiled_ && !fitMode_ ? scaledSize() : APoint(0, 0);
    if (layerOwner())
        setContentSize(content);
    invalidate();
}

HGLOBAL ABitmapLayer::dibCopy() {
    return image_ ? image_->body()->copyBits() : nullptr;
}

long ABitmapLayer::writeBmp(const char* path) {
    return image_ ? image_->body()->writeBmp(path) : 0;
}

long ABitmapLayer::frameChanged(const APoint& size) {
    if (image_ && fitMode_)
        invalidate();
    return AViewLayer::frameChanged(size);
}

long ABitmapLayer::drawContent(const ARect& rect) {
    AGraphicDisplay* display = ADisplayContext::drawableCurrent();
    if (!image_ || !display || width_ <= 0 || height_ <= 0)
        return 1;
    if (tiled_)
        drawTiled(rect);
    else
        drawPlaced(rect, (display->flags() & (AGraphicDisplay::kPrinter | AGraphicDisplay::kPreview)) != 0);
    return 1;
}

void ABitmapLayer::drawPicture(const ARect& dest) {
    image_->body()->drawFrame(dest, nullptr, 0, _AImage::kOpaque);
}

void ABitmapLayer::drawTiled(const ARect& rect) {
    // The grid is anchored at the layer's origin; % truncates toward zero as the
    // placement rule wants, so a negative edge starts one tile late.
    const int32_t x0 = rect.left() - rect.left() % width_, x1 = rect.right() - rect.right() % width_;
    const int32_t y0 = rect.top() - rect.top() % height_, y1 = rect.bottom() - rect.bottom() % height_;
    std::vector<ARect> tiles;
    for (int64_t x = x0; x <= x1; x += width_)
        for (int64_t y = y0; y <= y1; y += height_)
            tiles.push_back(ARect(int32_t(x), int32_t(y), int32_t(x) + width_, int32_t(y) + height_));
    drawTiles(tiles);
}

void ABitmapLayer::drawTiles(const std::vector<ARect>& tiles) {
    if (tiles.empty())
        return;
    if (image_->body()->fillTiles(ARect(tiles.front().first, tiles.back().second)))
        return;
    image_->body()->drawFrames(tiles.data(), tiles.size(), nullptr, 0, _AImage::kOpaque);
}

void ABitmapLayer::drawPlaced(const ARect& rect, bool printing) {
    APoint size = scaledSize();
    APoint offset(0, 0);
    const ARect frame = printing ? ARect(rect.left() + 3, rect.top() + 3, rect.right() - 3, rect.bottom() - 3)
                                 : ARect(APoint(0, 0), getSize());
    const int32_t fw = frame.width(), fh = frame.height();
    if (printing || fitMode_) {
        size = APoint(width_, height_);
        if (printing || fitAlways_ || width_ > fw || height_ > fh) {
            // The factor is in 1/128 units, as the stored layouts were sized with it.
            int64_t s = std::min(int64_t(fw) * 128 / width_, int64_t(fh) * 128 / height_);
            size = APoint(int32_t(width_ * s / 128), int32_t(height_ * s / 128));
        }
        offset = APoint((fw - size.x) / 2, (fh - size.y) / 2);
        if (printing) {
            offset = offset + frame.first;
            ADisplayContext::drawableCurrent()->FrameRect(ARect(offset, offset + size), 1);
        }
    } else {
        if (centreVertically_ && fh > size.y)
            offset.y = (fh - size.y) / 2;
        if (centreHorizontally_ && fw > size.x)
            offset.x = (fw - size.x) / 2;
    }
    if (size.x > 0 && size.y > 0)
        drawPicture(ARect(offset, offset + size));
}
