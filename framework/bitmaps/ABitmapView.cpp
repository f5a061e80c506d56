// The picture view and the pattern view.
#include "framework/bitmaps/ABitmapView.h"

#include <cstdlib>

#include "base/object/AMemoryStream.h"
#include "base/procedural/AError.h"
#include "framework/app/AApp.h"
#include "framework/components/ALayoutLoader.h"

SV_IMPLEMENT_CLASS(ABitmapView, 151, ALayerView)
SV_IMPLEMENT_CLASS(APatternView, 351, ABitmapView)

ABitmapView::ABitmapView() {
    addItemFlags(kItemCommands);
}

ABitmapView::ABitmapView(AComponent* parent, int16_t id, const ASizeSpec& rule, int16_t cursorId, uint16_t idMode,
                         const char* environment, uint16_t focusMode)
    : ALayerView(parent, id, rule, cursorId, idMode, environment, focusMode) {
    addItemFlags(kItemCommands | kShownByState);
}

void ABitmapView::readFrom(AMemoryStream& stream) {
    ALayerView::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "fbmview", 305);
}

void ABitmapView::childrenLoaded() {
    ALayerView::childrenLoaded();
    layer_ = CheckAlloc(new ABitmapLayer(this, 0, ASizeSpec::fill), "fbmview", 322);
    AObject::completeNew(layer_);
}

void ABitmapView::componentDeleted(AComponent* component) {
    if (component == layer_)
        layer_ = nullptr;
    ALayerView::componentDeleted(component);
}

ABitmapLayer* ABitmapView::requireLayer(long line) const {
    if (!layer_)
        ThrowAssert("fbmview", line);
    return layer_;
}

void ABitmapView::setBitmap(const AImageSpec& spec) {
    ABitmapLayer* layer = requireLayer(337);
    scrollTo(APoint(0, 0));
    layer->setBitmap(spec);
}

void ABitmapView::setPattern(const AImageSpec& spec) {
    requireLayer(348)->setPatternBitmap(spec);
}

bool ABitmapView::hasBitmap() {
    return requireLayer(358)->hasBitmap();
}

void ABitmapView::copyFormats(AFormatList& list) {
    list.insert(list.begin(), CF_DIB);
}

void* ABitmapView::exportData(uint32_t format) {
    return format == CF_DIB && layer_ ? layer_->dibCopy() : nullptr;
}

APatternView::APatternView() {
    clearItemFlags(kItemCommands);
}

void APatternView::readFrom(AMemoryStream& stream) {
    ABitmapView::readFrom(stream);
    addItemFlags(static_cast<uint16_t>(stream.readShort()));
    patternName_ = stream.readString(-1);
    ALayoutLoader::readEndMark(stream, "fbmview", 413);
}

void APatternView::attachItems() {
    ABitmapView::attachItems();
    setEraseBackgroundFlag(false);
    if (itemFlags() & 0x0040)
        setTransparent(true);
}

bool APatternView::patternSpec(const AString& name, AImageSpec& spec) {
    if (name.empty())
        return false;
    if (name[0] == '#') {
        // A number outside the resource range names no bitmap: the view stays blank.
        long number = std::atol(name.c_str() + 1);
        if (number <= 0 || number > 0xFFFF)
            return false;
        spec = AImageSpec(static_cast<uint16_t>(number), 0, 0, false);
        return true;
    }
    AImage* filed = AApp::current() ? AApp::current()->findImage(name) : nullptr;
    spec = filed ? filed->body()->spec() : AImageSpec(AResourceRef(name.c_str()));
    return true;
}

void APatternView::childrenLoaded() {
    ABitmapView::childrenLoaded();
    AImageSpec spec;
    if (patternSpec(patternName_, spec))
        setPattern(spec);
}
