// Data runs and the run classes (their contexts are in ARunContexts.cpp).
#include "docengine/lines/ADataRun.h"

#include <algorithm>
#include <new>
#include <vector>

#include "base/object/ARefObj.h"
#include "base/procedural/AError.h"
#include "docengine/lines/ALineRenderer.h"
#include "docengine/lines/ARunDisplay.h"
#include "docengine/model/ADocModel.h"
#include "docengine/model/AFragmentRef.h"
#include "docengine/model/ASegment.h"
#include "docengine/styles/ABitmapSupplier.h"
#include "docengine/styles/AStyleSheet.h"

namespace {

bool IsBreakByte(char c) {
    return c == ' ' || c == '-' || static_cast<unsigned char>(c) == 0xAD;
}

const char kEllipsis[] = "\x85";

}  // namespace

// The widths of a text run's bytes from one measure of the whole run, so that
// laying it out measures each paragraph once, not again for every line it
// gives and every step of the search for a break.
class ARunWidths : public ARefObj {
public:
    ARunWidths(long from, long length) : from_(from), cumulative_(static_cast<size_t>(length) + 1, 0) {}
    int32_t* prefixes() { return cumulative_.data() + 1; }
    bool covers(long start, long end) const {
        return from_ <= start && start <= end && end - from_ < static_cast<long>(cumulative_.size());
    }
    // Of [start, end), which the widths cover.
    long width(long start, long end) const { return at(end)[0] - at(start)[0]; }
    const int32_t* at(long position) const { return cumulative_.data() + (position - from_); }

    ARunExtent whole = {};

private:
    long from_;
    std::vector<int32_t> cumulative_;  // [k]: the width of the first k bytes
};

// --- ADataRun

ADataRun::ADataRun(long runStart, long runEnd)
    : start(runStart),
      end(runEnd),
      generated(0),
      next(nullptr),
      width(0),
      height(0),
      ascent(0),
      x(0),
      yOffset(0),
      background(RunColour::kNone) {}

ADataRun::ADataRun(ADataRun* other, long offset)
    : generated(other->generated),
      next(other->next),
      width(other->width),
      height(other->height),
      ascent(other->ascent),
      x(other->x),
      yOffset(other->yOffset),
      background(other->background) {
    if (other->generated && (offset < 1 || offset > other->length() - 1))
        offset = 1;
    start = other->start + offset;
    end = other->end;
    other->end = start;
    other->next = this;
}

ADataRun::~ADataRun() {
    ADataRun* run = takeNext();
    while (run) {
        ADataRun* following = run->takeNext();
        delete run;
        run = following;
    }
}

void ADataRun::drawBackground(ARunDrawContext& context) {
    if (!RunColour::isNone(background))
        context.display->fillRect(context.boxOf(this), background);
}

void ADataRun::place(ARunLayoutContext& context) {
    x = context.currentX;
}

long ADataRun::positionAtX(long px, int16_t* atStart) {
    bool first = 2 * px <= width;
    if (atStart)
        *atStart = first ? 1 : 0;
    return (first || !atStart) ? start : end;
}

long ADataRun::xOfPosition(long position) {
    return position < end ? 0 : width;
}


// --- styled runs

AStyledDataRun::AStyledDataRun(AFragment* fragment, long runStart, long runEnd)
    : ADataRun(runStart, runEnd), fragment_(fragment), font_(nullptr), colour_(RunColour::kRendererDefault) {
    if (!fragment_)
        ThrowAssert("gdatarun", 779);
    if (fragment_->segment())
        fragment_->segment()->lock();
}

AStyledDataRun::AStyledDataRun(AStyledDataRun* other, long offset)
    : ADataRun(other, offset), fragment_(other->fragment_), font_(other->font_), colour_(other->colour_) {
    if (!fragment_)
        ThrowAssert("gdatarun", 788);
    if (fragment_->segment())
        fragment_->segment()->lock();
    if (font_)
        font_->addRef();
}

AStyledDataRun::~AStyledDataRun() {
    if (font_)
        font_->release();
    if (fragment_->segment())
        fragment_->segment()->unlock();
}

void AStyledDataRun::loadFont(ALineRenderer* renderer, int16_t variant) {
    if (font_)
        ThrowAssert("gdatarun", 810);
    AStyleSheet* sheet = renderer ? renderer->styleSheet() : nullptr;
    if (!sheet)
        ThrowAssert("gdatarun", 875);
    long style = 0, colourNumber = 0;
    if (ATextFragment* text = dynamic_cast<ATextFragment*>(fragment_)) {
        style = text->style();
        colourNumber = text->colour();
    }
    if ((fragment_->flags() & 0x1) == 0) {
        // the fragment's own numbers
    } else {
        if (renderer->defaultStyle != -1)
            style = renderer->defaultStyle;
        if (renderer->defaultColour != -1)
            colourNumber = renderer->defaultColour;
    }
    font_ = sheet->getFont(style, variant);
    if (!font_)
        ThrowAssert("gdatarun", 875);
    font_->addRef();
    colour_ = sheet->getColor(colourNumber);
}

long AStyledDataRun::measureBlank(ARunLayoutContext& context, long assertLine) {
    loadFont(context.renderer, 0);
    if (!context.display)
        ThrowAssert("gdatarun", assertLine);
    ARunExtent e = context.display->extent(font_, " ", 1);
    height = e.height;
    ascent = e.ascent;
    return e.width;
}

const char* AStyledDataRun::textAt(long position, long& available) const {
    ASegment* segment = fragment_->segment();
    if (!segment) {
        available = 0;
        return "";
    }
    const AString& text = segment->text();
    long total = static_cast<long>(text.length());
    long p = std::min(std::max(0L, position), total);
    available = total - p;
    return text.c_str() + p;
}

void AStyledDataRun::drawPieces(ARunDrawContext& c, const char* text, long n, long px) {
    long y = c.origin.y + yOffset;
    uint32_t own = colour_;
    if (c.printing && !(c.renderer->flags1 & LineFlags::kPrintInColour)) {
        c.display->drawText(font_, px, y, text, n, 0);
        return;
    }
    uint32_t sel = c.selectionColour;
    if (c.hilite) {
        c.display->drawText(font_, px, y, text, n, (c.lineSelected() && !RunColour::isNone(sel)) ? sel : own);
        return;
    }
    if (!RunColour::isNone(sel) && start < c.selEnd && c.selStart < end && sel != own) {
        long from, to;
        c.visibleRange(this, n, from, to);
        if (from > 0)
            px += c.display->drawText(font_, px, y, text, from, own);
        if (to > from)
            px += c.display->drawText(font_, px, y, text + from, to - from, sel);
        if (n > to)
            c.display->drawText(font_, px, y, text + to, n - to, own);
        return;
    }
    c.display->drawText(font_, px, y, text, n, own);
}

// --- text runs

ATextDataRun::ATextDataRun(AFragment* fragment, long runStart, long runEnd)
    : AStyledDataRun(fragment, runStart, runEnd), display_(nullptr), widths_(nullptr) {}

ATextDataRun::ATextDataRun(ATextDataRun* other, long offset)
    : AStyledDataRun(other, offset), display_(other->display_), widths_(other->widths_) {
    if (widths_)
        widths_->addRef();
    remeasure(false);
}

ATextDataRun::~ATextDataRun() {
    ReleaseAndNull(widths_);
}

void ATextDataRun::remeasure(bool trimBlanks) {
    if (!display_ || !font_)
        return;
    long available;
    const char* text = textAt(start, available);
    long n = std::min(length(), available);
    if (trimBlanks) {
        while (n > 0 && text[n - 1] == ' ')
            --n;
        width = widths_ && widths_->covers(start, start + n) ? widths_->width(start, start + n)
                                                             : display_->extent(font_, text, n).width;
        return;
    }
    ARunExtent e = {};
    if (widths_ && widths_->covers(start, start + n)) {
        e = widths_->whole;
        e.width = widths_->width(start, start + n);
    } else {
        e = display_->extent(font_, text, n);
    }
    width = e.width;
    height = e.height;
    ascent = e.ascent;
}

void ATextDataRun::measure(ARunLayoutContext& context) {
    loadFont(context.renderer, 0);
    display_ = context.display;
    if (!display_)
        ThrowAssert("gdatarun", 875);
    long available;
    const char* text = textAt(start, available);
    long n = std::min(length(), available);
    // GDI measures at most 32767 bytes a call.
    if (!widths_ && n > 0 && n <= 32767) {
        ARunWidths* widths = new ARunWidths(start, n);
        widths->addRef();
        if (display_->prefixWidths(font_, text, n, widths->prefixes(), widths->whole))
            widths_ = widths;
        else
            widths->release();
    }
    remeasure(false);
    place(context);
}

void ATextDataRun::draw(ARunDrawContext& context) {
    if (!font_)
        ThrowAssert("gdatarun", 899);
    // A run a truncated column collapsed at its stop shows nothing.
    if (width <= 0)
        return;
    long available;
    const char* text = textAt(start, available);
    drawPieces(context, text, std::min(length(), available), context.origin.x + x);
}

int ATextDataRun::breakAt(long limitX) {
    if (limitX < x)
        return 0;
    long available;
    const char* text = textAt(start, available);
    long n = std::min(length(), available);
    long index = limitX < right() ? positionAtX(limitX - x, nullptr) - start : n;
    if (index < n)
        ++index;
    // the byte before the boundary is the last one that may stay on the line
    long b = std::min(index, n) - 1;
    while (b >= 0 && !IsBreakByte(text[b]))
        --b;
    if (b < 0)
        return 0;
    long cut = b + 1;
    while (cut < n && IsBreakByte(text[cut]))
        ++cut;
    if (cut < n) {
        new ATextDataRun(this, cut);
        remeasure(true);
    } else {
        remeasure(true);
    }
    return 1;
}

int ATextDataRun::forceBreakAt(long limitX) {
    if (limitX <= x || limitX >= right())
        return 0;
    long index = positionAtX(limitX - x, nullptr) - start;
    if (index < 1 || index > length() - 1)
        return 0;
    new ATextDataRun(this, index);
    remeasure(false);
    return 1;
}

int ATextDataRun::canBreak() {
    long available;
    const char* text = textAt(start, available);
    long n = std::min(length(), available);
    for (long i = 0; i < n; ++i)
        if (IsBreakByte(text[i]))
            return 1;
    return 0;
}

long ATextDataRun::positionAtX(long px, int16_t* atStart) {
    if (!display_ || !font_)
        return ADataRun::positionAtX(px, atStart);
    long available;
    const char* text = textAt(start, available);
    long n = std::min(length(), available);
    int16_t flag = 0;
    long index = widths_ && widths_->covers(start, start + n)
                     ? display_->indexAtWidth(widths_->at(start), n, px, flag)
                     : display_->indexAtX(font_, text, n, px, flag);
    if (atStart)
        *atStart = flag;
    else if (flag == 0 && index > 0)
        --index;
    return start + std::min(std::max(0L, index), n);
}

long ATextDataRun::xOfPosition(long position) {
    if (position <= start)
        return 0;
    if (position >= end || !display_ || !font_)
        return width;
    long available;
    const char* text = textAt(start, available);
    long n = std::min(length(), available);
    long piece = std::min(position - start, n);
    if (widths_ && widths_->covers(start, start + piece))
        return widths_->width(start, start + piece);
    return display_->xOfIndex(font_, text, n, position - start);
}

int ATextDataRun::breakClassAt(long position) {
    ASegment* segment = fragment_->segment();
    char c = 0;
    if (segment && position >= 0 && position < static_cast<long>(segment->text().length()))
        c = segment->text()[position];
    ADocModel* model = segment ? segment->owner() : nullptr;
    if (c && model) {
        const AString& separators = model->getWordSeparators();
        for (long i = 0; i < static_cast<long>(separators.length()); ++i)
            if (separators[i] == c)
                return kBreakOpportunity;
    }
    if (position == start && (position == 0 || fragment_->textRange().start == position))
        return kBreakOpportunity;
    return kBreakInWord;
}

// --- special characters

ASpecialCharDataRun::ASpecialCharDataRun(AFragment* fragment, long runStart, long runEnd, uint8_t c)
    : AStyledDataRun(fragment, runStart, runEnd), code_(c) {}

void ASpecialCharDataRun::measure(ARunLayoutContext& context) {
    loadFont(context.renderer, static_cast<int16_t>(code_));
    if (!context.display)
        ThrowAssert("gdatarun", 1063);
    long available;
    const char* text = textAt(start + 1, available);
    ARunExtent e = context.display->extent(font_, text, std::min(1L, std::min(length() - 1, available)));
    width = e.width;
    height = e.height;
    ascent = e.ascent;
    place(context);
}

void ASpecialCharDataRun::draw(ARunDrawContext& context) {
    if (!font_)
        ThrowAssert("gdatarun", 1072);
    long available;
    const char* text = textAt(start + 1, available);
    long n = std::min(1L, std::min(length() - 1, available));
    if (n <= 0)
        return;
    bool selected = !RunColour::isNone(context.selectionColour) && context.selStart <= start + 1 &&
                    start + 1 < context.selEnd && !context.hilite &&
                    !(context.printing && !(context.renderer->flags1 & LineFlags::kPrintInColour));
    if (selected)
        context.display->drawText(font_, context.origin.x + x, context.origin.y, text, n, context.selectionColour);
    else
        drawPieces(context, text, n, context.origin.x + x);
}

// --- tabs

ATabDataRun::ATabDataRun(AFragment* fragment, long runStart, long runEnd)
    : AStyledDataRun(fragment, runStart, runEnd), stopX(0), stopJustification(0) {
    if (runEnd - runStart != 1)
        ThrowAssert("gdatarun", 1103);
}

void ATabDataRun::measure(ARunLayoutContext& context) {
    measureBlank(context, 1116);
    place(context);
}

void ATabDataRun::place(ARunLayoutContext& context) {
    ATabStops* set = context.tabStops();
    long index = (context.nextIndexTabs && !set->truncate()) ? context.tabIndex + 1
                                                             : set->nextStopIndex(context.currentX, context.tabIndex);
    ATabStop stop = set->stopAt(index);
    stopX = stop.position;
    stopJustification = stop.justification;
    if (set->truncate() && context.columnStart) {
        context.closeColumn(stopX, stopJustification, this);
    }
    x = context.currentX;
    width = stopX - x;
    if (width < 0)
        width = 0;
    context.leftMarginX = stopX;
    context.tabIndex = index;
    if (set->truncate()) {
        context.columnStart = nullptr;
        context.columnOpen = 1;
        context.pendingTab = nullptr;
    } else {
        context.pendingTab =
            (stopJustification == ATabStop::kRight || stopJustification == ATabStop::kCenter) ? this : nullptr;
    }
}

void ATabDataRun::followedBy(ARunLayoutContext& context, ADataRun* run) {
    if (width <= 0 || !run)
        return;
    long shift = stopJustification == ATabStop::kRight ? run->width : (right() + run->right()) / 2 - stopX;
    shift = std::min(shift, width);
    if (shift <= 0)
        return;
    width -= shift;
    bool moved = false;
    for (ADataRun* r = getNext(); r && !moved; r = r->getNext()) {
        r->x -= shift;
        moved = r == run;
    }
    if (!moved)  // a run just measured is not linked yet
        run->x -= shift;
    context.currentX = run->x;
}

int ATabDataRun::breakAt(long limitX) {
    if (limitX < x)
        return 0;
    width = 0;
    return 1;
}

// --- blanks

ABlankDataRun::ABlankDataRun(AFragment* fragment, long runStart, long runEnd)
    : AStyledDataRun(fragment, runStart, runEnd), stretch_(0) {
    if (runEnd - runStart != 1)
        ThrowAssert("gdatarun", 1236);
}

void ABlankDataRun::measure(ARunLayoutContext& context) {
    width = measureBlank(context, 1249);
    place(context);
}

int ABlankDataRun::breakAt(long limitX) {
    if (limitX < x)
        return 0;
    width = 0;
    return 1;
}

void ABlankDataRun::setStretch(long w) {
    width += w - stretch_;
    stretch_ = w;
}

// --- ellipsis

AEllipsisDataRun::AEllipsisDataRun(AFragment* fragment, long at) : AStyledDataRun(fragment, at, at) {}

void AEllipsisDataRun::measure(ARunLayoutContext& context) {
    AStyleSheet* sheet = context.renderer ? context.renderer->styleSheet() : nullptr;
    if (!sheet || context.renderer->tabStyle == -1 || !context.display)
        ThrowAssert("gdatarun", 727);
    font_ = sheet->getFont(context.renderer->tabStyle, 0);
    font_->addRef();
    colour_ = 0;
    ARunExtent e = context.display->extent(font_, kEllipsis, 1);
    width = e.width + 5;
    height = e.height;
    ascent = e.ascent;
}

void AEllipsisDataRun::draw(ARunDrawContext& context) {
    if (!font_)
        ThrowAssert("gdatarun", 737);
    drawPieces(context, kEllipsis, 1, context.origin.x + x);
}

int AEllipsisDataRun::breakAt(long limitX) {
    if (limitX < x)
        return 0;
    width = 0;
    return 1;
}

// --- bitmaps

ABitmapDataRun::ABitmapDataRun(AFragment* fragment, long runStart, long runEnd, uint16_t placement)
    : ADataRun(runStart, runEnd), fragment_(fragment), bitmap_(nullptr), placement_(placement) {
    if (!fragment_)
        ThrowAssert("gdatarun", 1296);
    if (fragment_->segment())
        fragment_->segment()->lock();
}

ABitmapDataRun::~ABitmapDataRun() {
    if (bitmap_)
        bitmap_->release();
    if (fragment_->segment())
        fragment_->segment()->unlock();
}

void ABitmapDataRun::measure(ARunLayoutContext& context) {
    if (bitmap_)
        ThrowAssert("gdatarun", 1328);
    ALineRenderer* renderer = context.renderer;
    if (!renderer || !renderer->styleSheet())
        ThrowAssert("gdatarun", 1332);
    long number = 0;
    if (AClickableFragment* click = dynamic_cast<AClickableFragment*>(fragment_))
        number = click->number();
    // Number -1, or a name the model resolved for the fragment: the picture is asked for by name.
    if (number == -1 || name.length()) {
        bitmap_ = namedBitmap(renderer);
    } else {
        bitmap_ = renderer->styleSheet()->getBitmap(number);
        if (!bitmap_)
            ThrowAssert("gdatarun", 1343);
        bitmap_->addRef();
    }
    ARunExtent natural = context.display->bitmapSize(bitmap_);
    long w = natural.width, h = natural.height;
    long frameW = renderer->frame().second.x - renderer->frame().first.x;
    long frameH = renderer->frame().second.y - renderer->frame().first.y;
    if (renderer->fitBitmaps && w > 0 && h > 0) {
        long factor = std::min(frameH * 128 / h, frameW * 128 / w);
        long fw = w * factor / 128, fh = h * factor / 128;
        if (fw <= w && fh <= h) {
            w = fw;
            h = fh;
        }
    }
    if (context.printing && w > 0 && h > 0) {
        long availH = frameH, availW = renderer->pageWidth();
        if (h > availH || w > availW) {
            long rh = availH * 1000 / h, rw = availW * 1000 / w;
            long r = std::min(rh, rw);
            w = w * r / 1000;
            h = h * r / 1000;
        }
    }
    width = w;
    height = h;
    ascent = (placement_ & kMiddle) ? h / 2 : (placement_ & kBottom) ? 0 : (placement_ & kTop) ? h : 3 * h / 4;
    place(context);
}

// The name comes from the article: a name no supplier knows (or no supplier
// at all) is bad data, shown as the frame of a missing picture, not a fault.
ABitmapRef* ABitmapDataRun::namedBitmap(ALineRenderer* renderer) {
    AString wanted = name.length() ? name : fragment_->getName();
    if (!wanted.length())
        wanted = fragment_->getOwnText();
    ABitmapRef* found = renderer->bitmapSupplier ? renderer->bitmapSupplier->bitmapNamed(wanted) : nullptr;
    if (found) {
        found->addRef();
        return found;
    }
    ABitmapRef* missing = CheckAlloc(new (std::nothrow) ABitmapRef(ABitmapSpec::byName(wanted, 1)), "gdatarun", 1336);
    missing->addRef();
    missing->setMissing();
    return missing;
}

void ABitmapDataRun::draw(ARunDrawContext& context) {
    if (!bitmap_)
        ThrowAssert("gdatarun", 1435);
    ARect box(context.origin.x + x, context.origin.y - ascent, context.origin.x + x + width,
              context.origin.y - ascent + height);
    if (placement_ & kBottom) {
        long down = context.lineDescent - (height - ascent) - 2;
        if (down > 0) {
            box.first.y += down;
            box.second.y += down;
        }
    } else if (placement_ & kTop) {
        long up = ascent - context.lineAscent + 2;
        if (up < 0) {
            box.first.y += up;
            box.second.y += up;
        }
    }
    int mode = context.printing ? 2 : context.renderer->drawMode;
    if (context.hilite && context.renderer->hasSelection && context.lineSelected())
        mode = 1;
    if (context.drawSelection && context.selStart <= start && end <= context.selEnd &&
        context.selEnd > context.selStart)
        mode = 1;
    ABitmapRef* drawn = bitmap_;
    long subImage = subImageFor(context, drawn);
    context.display->drawBitmap(drawn, box, subImage, mode);
}

// The supplier's state when there is one; else a picture on a flagged line
// shows its flagged face: the last faces of a strip of four or more, the
// sheet's substitute picture, or the second face of a pair.
long ABitmapDataRun::subImageFor(ARunDrawContext& context, ABitmapRef*& drawn) {
    ALineRenderer* renderer = context.renderer;
    if (AImageStateSupplier* states = renderer->imageStateSupplier) {
        long state = states->imageState(fragment_);
        return state < 0 ? 0 : state;
    }
    if (!context.lineSelected())
        return 0;
    const long count = bitmap_->spec().subImages;
    const bool flagged = (fragment_->flags() & AFragment::kPressed) != 0;
    if (count > 3)
        return flagged ? count - 1 : count - 2;
    if (renderer->styleSheet()) {
        ABitmapRef* substitute = renderer->styleSheet()->getBitmap(kSubstituteBitmap);
        if (substitute && substitute != bitmap_ && substitute->picture()) {
            drawn = substitute;
            return 0;
        }
    }
    return count > 1 && flagged ? 1 : 0;
}

long ABitmapDataRun::positionAtX(long, int16_t* atStart) {
    if (atStart)
        *atStart = 1;
    return start;
}
