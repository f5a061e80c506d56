// The picture and label runs of chronology events.
#include "panes/content/chrono/AChronoDataRuns.h"

#include "base/procedural/AError.h"
#include "base/procedural/AOutStream.h"
#include "base/procedural/Trace.h"
#include "docengine/lines/ALineRenderer.h"
#include "docengine/lines/ARunDisplay.h"
#include "docengine/model/ASegment.h"
#include "docengine/styles/ABitmapSupplier.h"
#include "docengine/styles/AStyleSheet.h"
#include "framework/display/ADisplayComponent.h"
#include "framework/graphics/AImage.h"
#include "panes/content/chrono/AChronoFragment.h"

namespace {

// A picture or font missing while drawing is logged the first time only: the
// view repaints often and would fill the log.
void LogOnce(bool& done, const char* what, long number) {
    if (done)
        return;
    done = true;
    CurrentErrorStream().writeString("chrono: ").writeString(what).writeString(" ").writeLong(number).writeString(
        " missing; events show without it\n");
}
bool g_bitmapLogged = false;
bool g_fontLogged = false;

bool Lit(AFragment* fragment) {
    return (fragment->flags() & (AChronoFragment::kSelected | AChronoFragment::kHot)) != 0;
}

}  // namespace

ARect ChronoRunRect(const ADataRun* run) {
    return ARect(int32_t(run->x), int32_t(-run->ascent), int32_t(run->x + run->width),
                 int32_t(-run->ascent + run->height));
}

// --- picture

AChronoBmpDataRun::AChronoBmpDataRun(AChronoFragment* fragment)
    : ADataRun(fragment->textRange().start, fragment->textRange().end), fragment_(fragment) {
    fragment_->segment()->lock();
}

AChronoBmpDataRun::~AChronoBmpDataRun() {
    if (bitmap_)
        bitmap_->release();
    fragment_->segment()->unlock();
}

AFragment* AChronoBmpDataRun::getFragment() {
    return fragment_;
}

void AChronoBmpDataRun::measure(ARunLayoutContext& context) {
    if (bitmap_)
        ThrowAssert("chrono", 1021);
    ALineRenderer* renderer = context.renderer;
    if (!renderer || !context.display)
        ThrowAssert("chrono", 1024);
    long n = fragment_->large ? fragment_->category + 4 : fragment_->category;
    ABitmapRef* found = nullptr;
    if (n == -1) {
        ABitmapSupplier* supplier = renderer->bitmapSupplier;
        found = supplier ? supplier->bitmapNamed(fragment_->label()) : nullptr;
    } else if (renderer->styleSheet()) {
        found = renderer->styleSheet()->getBitmap(n);
    }
    if (found && !found->picture())
        found = nullptr;
    width = height = ascent = 0;
    x = context.currentX - (fragment_->large ? 28 : 3);
    if (!found) {
        LogOnce(g_bitmapLogged, "picture", n);
    } else {
        bitmap_ = found;
        bitmap_->addRef();
        ARunExtent size = context.display->bitmapSize(bitmap_);
        width = size.width;
        height = size.height;
        ascent = size.height;
    }
    context.currentX = x + width;
}

void AChronoBmpDataRun::draw(ARunDrawContext& context) {
    if (!bitmap_ || !context.display)
        return;
    _AImage* picture = bitmap_->picture();
    long frames = picture ? picture->spec().columns() * picture->spec().rows() : 1;
    long sub = (fragment_->flags() & AChronoFragment::kHot) && frames > 1 ? 1 : 0;
    context.display->drawBitmap(bitmap_, ChronoRunRect(this) + context.origin, sub, 0);
}

// --- label

AChronoTextDataRun::AChronoTextDataRun(AChronoFragment* fragment) : ADataRun(0L, 0L), fragment_(fragment) {
    fragment_->segment()->lock();
    label_ = fragment_->label();
}

AChronoTextDataRun::~AChronoTextDataRun() {
    if (font_)
        font_->release();
    if (hiliteFont_)
        hiliteFont_->release();
    fragment_->segment()->unlock();
}

AFragment* AChronoTextDataRun::getFragment() {
    return fragment_;
}

AStyleFont* AChronoTextDataRun::currentFont() const {
    return Lit(fragment_) ? hiliteFont_ : font_;
}

void AChronoTextDataRun::measure(ARunLayoutContext& context) {
    if (font_ || hiliteFont_)
        ThrowAssert("chrono", 1148);
    ALineRenderer* renderer = context.renderer;
    if (!renderer || !context.display)
        ThrowAssert("chrono", 1024);
    if (auto* chrono = dynamic_cast<AChronoLayoutContext*>(&context))
        view_ = chrono->view;
    AStyleSheet* sheet = renderer->styleSheet();
    if (sheet) {
        font_ = sheet->getFont(fragment_->labelStyle, 0);
        hiliteFont_ = sheet->getFont(1, 0);
        colour_ = sheet->getColor(fragment_->labelColour);
        hiliteColour_ = sheet->getColor(4);
        boxColour_ = sheet->getColor(5);
        inUse_ = colour_;
    }
    if (font_)
        font_->addRef();
    if (hiliteFont_)
        hiliteFont_->addRef();
    x = context.currentX + 10;
    width = height = ascent = labelAscent_ = 0;
    AStyleFont* font = currentFont();
    if (!font) {
        LogOnce(g_fontLogged, "label font", fragment_->labelStyle);
    } else {
        ARunExtent size = context.display->extent(font, label_.c_str(), label_.length());
        width = size.width;
        height = size.height;
        ascent = labelAscent_ = size.ascent;
    }
    context.currentX = x + width;
}

void AChronoTextDataRun::draw(ARunDrawContext& context) {
    AStyleFont* font = currentFont();
    if (!font || !context.display)
        return;
    ARect box = ChronoRunRect(this) + context.origin;
    uint32_t colour = colour_;
    if (Lit(fragment_)) {
        context.display->fillRect(box, boxColour_);
        const int32_t l = box.left(), t = box.top(), r = box.right(), b = box.bottom();
        context.display->fillRect(ARect(l, t, r, t + 1), hiliteColour_);
        context.display->fillRect(ARect(l, b - 1, r, b), hiliteColour_);
        context.display->fillRect(ARect(l, t, l + 1, b), hiliteColour_);
        context.display->fillRect(ARect(r - 1, t, r, b), hiliteColour_);
        colour = hiliteColour_;
    }
    inUse_ = colour;
    context.display->drawText(font, box.left(), box.top() + labelAscent_, label_.c_str(), label_.length(), colour);
}

int AChronoTextDataRun::hover(bool on) {
    fragment_->setFlag(AChronoFragment::kHot, on);
    if (view_)
        view_->invalidateRect(ChronoRunRect(this));
    return 1;
}
