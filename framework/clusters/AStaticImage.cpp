// Static images: a picture from the program's bitmaps or the application's
// named images, drawn once or tiled, or a native icon or bitmap control.
#include <cstdlib>
#include <new>

#include "base/object/AMemoryStream.h"
#include "base/procedural/AError.h"
#include "framework/clusters/AClusterServices.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/graphics/AGraphicDisplay.h"
#include "framework/graphics/AImage.h"

SV_IMPLEMENT_CLASS(AStaticImage, 134, AStaticItem)

AStaticImage::AStaticImage(AComponent* parent, int16_t id, const ASizeSpec& rule, const char* name, uint16_t flags)
    : AStaticItem(parent, id, rule), name_(name ? name : "") {
    addItemFlags(flags);
}

AStaticImage::~AStaticImage() {
    delete image_;
}

void AStaticImage::readFrom(AMemoryStream& stream) {
    AStaticItem::readFrom(stream);
    addItemFlags(static_cast<uint16_t>(stream.readShort()));
    name_ = stream.readString(-1);
    ALayoutLoader::readEndMark(stream, "fitems", 1092);
}

void AStaticImage::attachItems() {
    AStaticItem::attachItems();
    if (itemFlags() & kNativeBitmap)
        makeNativeControl(AControlWindow::kBorButton, "", 0x8000, 1075);
    else if (itemFlags() & kNativeIcon)
        makeNativeControl(AControlWindow::kIcon, name_.c_str(), SS_ICON, 1075);
    else
        setText(name_.c_str());
}

void AStaticImage::detachItems() {
    releaseImage();
    AStaticItem::detachItems();
}

void AStaticImage::releaseImage() {
    delete image_;
    image_ = nullptr;
}

void AStaticImage::setFrames(uint16_t gridWord) {
    frames_ = gridWord;
    if (!image_)
        return;
    AImageSpec spec = image_->body()->spec();
    if (spec.grid == AImageSpec::normalGrid(gridWord))
        return;
    spec.grid = AImageSpec::normalGrid(gridWord);
    // Bodies are shared by picture whatever their grid: the old one goes first.
    releaseImage();
    setImage(spec, drawMode_);
}

void AStaticImage::setFrame(int16_t index) {
    if (index == frame_)
        return;
    frame_ = index;
    invalidate();
}

void AStaticImage::setImage(const AImageSpec& spec, uint16_t drawMode) {
    releaseImage();
    image_ = CheckAlloc(new AImage(spec), "fitems", 1148);
    drawMode_ = drawMode;
    invalidate();
}

// "#N" is bitmap resource N; another name an image the application filed under it, else a bitmap resource.
void AStaticImage::setText(const char* text) {
    name_ = AString(text ? text : "");
    if (nativeControl()) {
        AStaticItem::setText(text);
        return;
    }
    if (itemFlags() & kNativeBitmap)
        return;
    setEraseBackground(false);
    if (itemFlags() & kTransparentImage)
        setTransparent(true);
    const char* name = name_.c_str();
    if (name[0] == '#') {
        auto number = static_cast<uint16_t>(std::atol(name + 1));
        setImage(AImageSpec(number, frames_, loadOption_, false), 0);
    } else if (name[0]) {
        AImage* filed = AClusterServices::current().findImage(name_);
        AImageSpec spec = filed ? filed->body()->spec() : AImageSpec(AResourceRef(name));
        if (!filed)
            spec.flags = static_cast<uint16_t>(spec.flags | (loadOption_ & 0x0FFF));
        if (frames_)
            spec.grid = AImageSpec::normalGrid(frames_);
        setImage(spec, 0);
    } else {
        releaseImage();
        setEraseBackground(true);
        invalidate();
    }
}

long AStaticImage::drawContent(const ARect& rect) {
    if (nativeControl())
        return 0;
    if (!image_)
        return AStaticItem::drawContent(rect);
    const AImageSpec& spec = image_->body()->spec();
    if (frame_ < 0 || frame_ >= spec.columns() * spec.rows())
        return AStaticItem::drawContent(rect);
    APoint size = image_->body()->frameSize();
    auto mode = static_cast<_AImage::DrawMode>(drawMode_);
    if (!tiled_ || size.x <= 0 || size.y <= 0) {
        APoint at = getLocalBounds().first;
        image_->body()->drawFrame(ARect(at, at + size), nullptr, frame_, mode);
        return 1;
    }
    // Copies on the image's grid that meet the area to redraw.
    auto floorTo = [](int32_t v, int32_t step) { return v >= 0 ? v - v % step : v - (step + v % step) % step; };
    for (int32_t y = floorTo(rect.top(), size.y); y < rect.bottom(); y += size.y) {
        for (int32_t x = floorTo(rect.left(), size.x); x < rect.right(); x += size.x)
            image_->body()->drawFrame(ARect(APoint(x, y), APoint(x + size.x, y + size.y)), nullptr, frame_, mode);
    }
    return 1;
}
