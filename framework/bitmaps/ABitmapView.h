// Views of one picture: ABitmapView holds one ABitmapLayer, made when its
// children are loaded, and offers the picture on the clipboard as CF_DIB;
// APatternView tiles the bitmap its layout names over its whole area.
//
// The layer is a child (not owned here). Operations before the layer exists
// are assertions ("fbmview").
#pragma once

#include "base/object/AString.h"
#include "framework/bitmaps/ABitmapLayer.h"

class ABitmapView : public ALayerView {
    SV_DECLARE_CLASS(ABitmapView)
public:
    ABitmapView();
    // The bitmap popup's own view, sized by its owner.
    ABitmapView(AComponent* parent, int16_t id, const ASizeSpec& rule, int16_t cursorId, uint16_t idMode,
                const char* environment, uint16_t focusMode);

    // Record: ALayerView's, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void childrenLoaded() override;
    void componentDeleted(AComponent* component) override;
    bool canCopy() override { return layer_ && layer_->hasBitmap(); }
    void copyFormats(AFormatList& list) override;
    void* exportData(uint32_t format) override;

    void setBitmap(const AImageSpec& spec);
    void setPattern(const AImageSpec& spec);
    bool hasBitmap();
    ABitmapLayer* layer() const { return layer_; }

private:
    ABitmapLayer* requireLayer(long line) const;

    ABitmapLayer* layer_ = nullptr;  // a child, or null
};

class APatternView : public ABitmapView {
    SV_DECLARE_CLASS(APatternView)
public:
    APatternView();

    // Record: ABitmapView's, item flags u16 (OR'd in), pattern name (NUL-terminated), FFFF.
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void childrenLoaded() override;

    // "#N": bitmap resource N; another name: the application's bitmap of that name.
    static bool patternSpec(const AString& name, AImageSpec& spec);
    const AString& patternName() const { return patternName_; }
    void setPatternName(const char* name) { patternName_ = name; }

private:
    AString patternName_;
};
