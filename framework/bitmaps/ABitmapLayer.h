// A layer that shows one picture: at its size or scaled by a percentage,
// centred on request, fitted into the layer's frame, or tiled over the layer;
// it also prints it, copies it as a packed DIB and writes it as a BMP file.
//
// Owns its image handle. Coordinates are the view's content pixels; scale is
// a percentage. A description the drawing layer cannot load raises its error.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/graphics/AImage.h"
#include "framework/views/ALayerView.h"

class ABitmapLayer : public AViewLayer {
    SV_DECLARE_CLASS(ABitmapLayer)
public:
    ABitmapLayer() = default;
    ABitmapLayer(AComponent* parent, int16_t id, const ASizeSpec& rule) : AViewLayer(parent, id, rule) {}
    ~ABitmapLayer() override;

    // Record: AViewLayer's, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void detachItems() override;
    long drawContent(const ARect& rect) override;
    uint16_t printOption(long argument) override {
        (void)argument;
        return 1;
    }
    long frameChanged(const APoint& size) override;

    void setBitmap(const AImageSpec& spec);
    void setPatternBitmap(const AImageSpec& spec);
    void clearBitmap();
    void loadBitmap(const AImageSpec& spec);
    // A new mode sets the scale to 0 when nonzero; the same mode changes nothing.
    void setDisplayMode(int16_t mode, bool fitAlways);
    void setScale(int16_t percent, bool centreHorizontally, bool centreVertically);
    APoint scaledSize() const;
    // Reports the content size (plain placement only) and redraws.
    void refresh();
    // A new global block with the packed DIB (the caller frees it), or null.
    HGLOBAL dibCopy();
    // 0, else the Win32 error; nothing (and 0) without a picture.
    long writeBmp(const char* path);

    bool hasBitmap() const { return image_ != nullptr; }
    AImage* image() const { return image_.get(); }
    int16_t scale() const { return scale_; }
    bool isTiled() const { return tiled_ != 0; }
    int16_t fitMode() const { return fitMode_; }

protected:
    // Draws the whole picture into dest (local coordinates).
    virtual void drawPicture(const ARect& dest);
    // Draws the whole picture into each tile, set up once for all: a small
    // pattern over a wide band is hundreds of tiles.
    virtual void drawTiles(const std::vector<ARect>& tiles);

private:
    // Takes the picture's palette out of the application's table when it put it there.
    void releasePalette();
    void drawTiled(const ARect& rect);
    void drawPlaced(const ARect& rect, bool printing);

    std::unique_ptr<AImage> image_;
    int32_t width_ = 0;
    int32_t height_ = 0;
    int16_t scale_ = 100;
    uint16_t tiled_ = 0;
    int16_t fitMode_ = 0;
    uint16_t fitAlways_ = 0;
    uint16_t centreHorizontally_ = 0;
    uint16_t centreVertically_ = 0;
};
