// The list renderer: rows, their selection in the model's marks, row
// backgrounds, keys and mouse tracking by rows.
#include "docengine/render/AListRenderer.h"

#include <windows.h>

#include <algorithm>
#include <new>
#include <vector>

#include "base/procedural/AError.h"
#include "base/procedural/AddressWord.h"
#include "docengine/lines/ARunDisplay.h"
#include "docengine/model/ASegment.h"
#include "framework/display/ADisplayComponent.h"

namespace {

const uint16_t kLeft = 0x25, kUp = 0x26, kRight = 0x27, kDown = 0x28;
// Action kinds of a row's fragments: collapse (Left), expand (Right), open (Return).
const uint16_t kCollapseKind = 2, kExpandKind = 1, kOpenKind = 3;

uint16_t ActionKind(AFragment* fragment) {
    return fragment ? static_cast<uint16_t>(fragment->linkKind() & 0xFFF) : 0;
}

}  // namespace

// --- line layer

AListLineLayer::AListLineLayer(AListRenderer* owner, ADocModel* model, AStyleSheet* sheet, ARunDisplay* display,
                               const ARect& frame)
    : ALineRenderer(model, sheet, display, frame), owner_(owner) {}

void AListLineLayer::drawLineBackground(ALine* line, const APoint& origin, const ARect&) {
    owner_->drawRowBackground(this, line, origin);
}

// --- construction

AListRenderer::AListRenderer(ADisplayComponent* view, ARunDisplay* display) : AListRenderer(view, ARect(), display) {}

AListRenderer::AListRenderer(ADisplayComponent* view, const ARect& frame, ARunDisplay* display)
    : ATextRenderer(view, frame, display) {
    // Rows are filled rather than highlighted; 0x20 and 0x200 are read by the views and the application.
    options |= RendererBits::kHideSelection | 0x0020 | 0x0200;
}

// Rows are never wrapped: a row longer than the list is cut at its edge.
ALineRenderer* AListRenderer::newLineLayer(ARunDisplay* display) {
    auto* layer = new (std::nothrow) AListLineLayer(this, model_, styleSheet(), display, frame_);
    if (layer) {
        layer->defaultFormat.bits |= ParaBits::kNoWrap;
        if (edgeEllipsisStyle_ != -1) {
            layer->tabStyle = edgeEllipsisStyle_;
            layer->edgeEllipsis = 1;
        }
    }
    return layer;
}

void AListRenderer::setEdgeEllipsis(long style) {
    edgeEllipsisStyle_ = style;
    if (ALineRenderer* layer = lines()) {
        layer->tabStyle = style;
        layer->edgeEllipsis = style != -1 ? 1 : 0;
    }
}

void AListRenderer::copyListSettings(AListRenderer& copy) const {
    copy.copySettingsFrom(*this);
    copy.listOptions = listOptions;
    copy.skipCheck = skipCheck;
    copy.selectedColour = selectedColour;
    copy.separatorColour = separatorColour;
    copy.separatorLeftInset = separatorLeftInset;
    copy.separatorRightInset = separatorRightInset;
    copy.selectedImage = selectedImage;
    copy.rowImage = rowImage;
    copy.setEdgeEllipsis(edgeEllipsisStyle_);
}

ARenderer* AListRenderer::makeCopy(const ARect& frame, long, long, ARenderer*) {
    auto* copy = CheckAlloc(new (std::nothrow) AListRenderer(view(), frame, lines() ? lines()->display() : nullptr),
                            "glist", 500);
    copyListSettings(*copy);
    copy->setModel(model_);
    return copy;
}

void AListRenderer::setModel(ADocModel* model) {
    ATextRenderer::setModel(model);
    if (model_ && !(listOptions & ListOptions::kMultiple) && model_->getMarkCount() == 0 && model_->getLength() > 0)
        model_->markPosition(0, true, AddressWord(this));
}

// --- rows

long AListRenderer::rowOfLine(ALine* line) {
    ASegment* segment = line ? line->segment() : nullptr;
    return segment ? segment->docStart() : (line ? line->start : -1);
}

long AListRenderer::rowOfHit(const AHitRecord& hit) {
    ASegment* segment = hit.fragment ? hit.fragment->segment() : nullptr;
    return segment ? segment->docStart() : -1;
}

ARect AListRenderer::rowRect(long row) {
    ALineRenderer* ls = lines();
    ARect r;
    if (!ls || !ls->isLaidOut(row))
        return r;
    bool any = false;
    for (long i = ls->lines.indexOfPosition(row, 0); i < ls->lines.count(); ++i) {
        ALine* line = ls->lines.at(i);
        if (rowOfLine(line) != row)
            break;
        long left = frame_.first.x + ls->margin + line->x;
        ARect l(static_cast<int32_t>(left), static_cast<int32_t>(frame_.first.y + line->top),
                static_cast<int32_t>(left + ls->getLayoutWidth()),
                static_cast<int32_t>(frame_.first.y + line->bottom()));
        if (!any) {
            r = l;
            any = true;
        } else {
            r = ARect(std::min(r.first.x, l.first.x), std::min(r.first.y, l.first.y), std::max(r.second.x, l.second.x),
                      std::max(r.second.y, l.second.y));
        }
    }
    return r;
}

ARegion AListRenderer::rowsRegion(long start, long end) {
    ARegion region;
    ALineRenderer* ls = lines();
    if (!ls || !ls->lines.count())
        return region;
    start = std::max(start, ls->firstLaidOutPosition());
    end = std::min(end, ls->lastLaidOutPosition());
    for (long row = start; row < end; ++row) {
        ARect r = rowRect(row);
        if (r.second.y > r.first.y)
            region.unite(ARegion(r));
    }
    return region;
}

ARegion AListRenderer::highlightRegion() {
    ARegion region;
    if (!model_)
        return region;
    AViewMeasureLock lock(view());
    for (long i = 0; i < model_->getMarkCount(); ++i) {
        ADocRange r = model_->getMarkRange(i);
        region.unite(rowsRegion(r.start, r.end));
    }
    return region;
}

void AListRenderer::drawRowBackground(ALineRenderer* layer, ALine* line, const APoint& origin) {
    ARunDisplay* display = layer->display();
    long left = origin.x;
    long top = origin.y - line->baseline;
    ARect rect(static_cast<int32_t>(left), static_cast<int32_t>(top),
               static_cast<int32_t>(left + layer->getLayoutWidth()),
               static_cast<int32_t>(top + line->height - layer->lineSpacing));
    bool selected = model_ && model_->isMarkedStart(rowOfLine(line));
    ABitmapRef* image = selected ? selectedImage : rowImage;
    if (image) {
        ARunExtent size = display->bitmapSize(image);
        display->drawBitmap(image,
                            ARect(rect.first.x, rect.first.y, static_cast<int32_t>(rect.first.x + size.width),
                                  static_cast<int32_t>(rect.first.y + size.height)),
                            0, 0);
    } else if (options & RendererBits::kHideSelection) {
        uint32_t colour = selected ? (selectedColour == 0xFD000000 ? GetSysColor(COLOR_HIGHLIGHT) : selectedColour)
                                   : line->background;
        if (selected || !RunColour::isNone(colour))
            display->fillRect(rect, colour);
    }
    // One separator under each row, under its last line.
    ASegment* segment = line->segment();
    bool lastOfRow = !segment || line->end >= segment->docEnd();
    if (separatorColour != 0xFF000000 && lastOfRow)
        display->fillRect(ARect(static_cast<int32_t>(rect.first.x + separatorLeftInset), rect.second.y - 1,
                                static_cast<int32_t>(rect.second.x - separatorRightInset), rect.second.y),
                          separatorColour);
}

// --- selection

bool AListRenderer::refusesRow(long row) {
    return skipCheck && model_->nodeAt(row + 1) != nullptr;
}

void AListRenderer::selectRow(long row, uint16_t modifiers, uint16_t mode, long anchor) {
    if (!model_ || row < 0 || row >= model_->getLength() || refusesRow(row))
        return;
    AViewMeasureLock lock(view());
    long me = AddressWord(this);
    bool additive = (mode & SelectMode::kAdditive) ||
                    ((modifiers & ListOptions::kAdditiveKey) && (listOptions & ListOptions::kMultiple));
    ARegion redraw;
    bool wasSelected = false;
    if (additive) {
        wasSelected = model_->isMarkedStart(row);
    } else {
        // Marks are ranges: everything but the row goes, range by range, whatever their length.
        std::vector<ADocRange> drop;
        for (long i = 0; i < model_->getMarkCount(); ++i) {
            ADocRange r = model_->getMarkRange(i);
            if (r.start <= row && row < r.end) {
                wasSelected = true;
                if (r.start < row)
                    drop.push_back(ADocRange{r.start, row});
                if (row + 1 < r.end)
                    drop.push_back(ADocRange{row + 1, r.end});
            } else {
                drop.push_back(r);
            }
        }
        for (const ADocRange& r : drop) {
            redraw.unite(rowsRegion(r.start, r.end));
            model_->markRange(r.start, r.end, false, me);
        }
        if (!drop.empty() && (mode & SelectMode::kNotify))
            notifyTarget(2, false);
    }
    if (!wasSelected || additive) {
        if (additive && anchor >= 0 && !(row == anchor && (mode & SelectMode::kToggleAnchor))) {
            // A drag gives every row between the anchor and the pointer the anchor's state.
            long lo = std::min(row, anchor), hi = std::max(row, anchor) + 1;
            bool on = model_->isMarkedStart(anchor);
            redraw.unite(rowsRegion(lo, hi));
            model_->markRange(lo, hi, on, me);
        } else {
            redraw.unite(rowsRegion(row, row + 1));
            model_->markPosition(row, additive ? !wasSelected : true, me);
        }
        if (mode & SelectMode::kNotify)
            notifyTarget(2, false);
    } else if (anchor >= 0 && (mode & SelectMode::kNotify)) {
        notifyTarget(2, false);
    }
    if (!redraw.isEmpty() && !isDetached())
        view()->redrawClipped(redraw, false);
}

void AListRenderer::showLine(long line) {
    if (!model_)
        return;
    if (line < 0)
        line = std::max(0L, markedIndex());
    showRow(line);
}

void AListRenderer::selectLines(long first, long count) {
    if (!model_)
        return;
    long me = AddressWord(this);
    if (first < 0) {
        for (long i = model_->getMarkCount() - 1; i >= 0; --i) {
            ADocRange r = model_->getMarkRange(i);
            model_->markRange(r.start, r.end, false, me);
        }
        view()->invalidate();
        return;
    }
    selectRow(first, 0, SelectMode::kNotify, -1);
    if (count > 0 && (listOptions & ListOptions::kMultiple)) {
        model_->markRange(first, std::min(first + count + 1, model_->getLength()), true, me);
        view()->invalidate();
    }
    showRow(first);
}

bool AListRenderer::canDoRendererCommand() {
    return model_ && (listOptions & ListOptions::kMultiple);
}

ACommand* AListRenderer::doRendererCommand() {
    if (model_ && (listOptions & ListOptions::kMultiple))
        model_->markRange(0, model_->getLength(), true, 0);
    return AComponent::noChangeCommand();
}

// --- hits

uint16_t AListRenderer::hitCodeOf(AFragment* fragment, ADataRun* run, long offset) {
    if (ActionKind(fragment))
        return 1;
    return ARenderer::hitCodeOf(fragment, run, offset);
}

uint16_t AListRenderer::hitKindOf(AFragment* fragment, uint16_t code) {
    if (fragment && code) {
        if (ActionKind(fragment))
            return 1;
        if (listOptions & ListOptions::kTrackAlways)
            return 0;
    }
    return 4;
}

// Rows are opened by their links; a word or a plain place selects nothing more.
ACommand* AListRenderer::activateHit(const AHitRecord& hit) {
    return ARenderer::activateHit(hit);
}

AHitRecord AListRenderer::hitOfRow(long row, AFragment* fragment) {
    AHitRecord hit = hitOfPosition(row);
    if (fragment) {
        hit.fragment = fragment;
        hit.run = nullptr;
        hit.code = hitCodeOf(fragment, nullptr, row);
        hit.kind = hitKindOf(fragment, hit.code);
    }
    return hit;
}

// --- keys

void AListRenderer::showRow(long row) {
    ALineRenderer* ls = lines();
    if (!ls)
        return;
    ARect r = rowRect(row);
    if (r.second.y <= r.first.y) {
        scrollToRange(row, row + 1, 0x80);
        return;
    }
    r = ARect(frame_.first.x, r.first.y, frame_.second.x, r.second.y);
    if (ls->scrollRectIntoView(r, 0x80) && !isDetached())
        view()->invalidate();
}

// The row of the line next to the row's lines, laying one more segment out at the edge; -1 at the ends.
long AListRenderer::neighbourRow(long row, bool below) {
    ALineRenderer* ls = lines();
    if (!ls || !ls->isLaidOut(row))
        return -1;
    ALineArray& lines = ls->lines;
    long i = lines.indexOfPosition(row, 0);
    if (below) {
        while (i < lines.count() && rowOfLine(lines.at(i)) == row)
            ++i;
        if (i == lines.count() && !ls->appendSegment(lines))
            return -1;
        return i < lines.count() ? rowOfLine(lines.at(i)) : -1;
    }
    if (i == 0)
        i += ls->prependSegment(lines);
    return i > 0 ? rowOfLine(lines.at(i - 1)) : -1;
}

ACommand* AListRenderer::moveSelection(uint16_t key, uint16_t) {
    if (!model_)
        return AComponent::passThroughCommand();
    AViewMeasureLock lock(view());
    long row = markedIndex();
    if (row < 0) {
        setCurrentMark(0);
        return AComponent::noChangeCommand();
    }
    showRow(row);
    if (key == kLeft || key == kRight) {
        AFindActionFragment test(key == kLeft ? kCollapseKind : kExpandKind);
        AFragment* f = model_->findFragment(&test, model_->positionToSource(row), model_->positionToSource(row) + 1);
        if (f) {
            AHitRecord hit = hitOfRow(row, f);
            f->segment()->unlock();  // the search's lock; the shown row's line keeps the segment
            return activateHit(hit);
        }
    } else if (key == kUp || key == kDown) {
        long next = neighbourRow(row, key == kDown);
        if (next >= 0 && next != row) {
            showRow(next);
            setCurrentMark(next);
        }
    }
    return AComponent::noChangeCommand();
}

ACommand* AListRenderer::defaultKey() {
    long row = markedIndex();
    if (!model_ || row < 0 || !lines())
        return AComponent::noChangeCommand();
    AViewMeasureLock lock(view());
    if (!lines()->isPositionVisible(row, false, true)) {
        showRow(row);
        return AComponent::noChangeCommand();
    }
    AFindActionFragment test(kOpenKind);
    AFragment* f = model_->findFragment(&test, model_->positionToSource(row), model_->positionToSource(row) + 1);
    AHitRecord hit = hitOfRow(row, f);
    // The search left the segment locked for us; the shown row's line keeps it loaded.
    if (f)
        f->segment()->unlock();
    return activateHit(hit);
}

// --- mouse

void AListRenderer::trackStart(ARendererTracker& tracker) {
    if (!listTracking()) {
        ARenderer::trackStart(tracker);
        return;
    }
    long row = rowOfHit(tracker.hit);
    if (row >= 0)
        selectRow(row, tracker.startEvent().value, SelectMode::kToggleAnchor, row);
}

void AListRenderer::trackMove(ARendererTracker& tracker) {
    if (!listTracking()) {
        ARenderer::trackMove(tracker);
        return;
    }
    if (!tracker.hasMoved())
        return;
    long pressed = rowOfHit(tracker.hit);
    long row = rowOfHit(hitRecordAt(tracker.current().where));
    if (pressed >= 0 && row >= 0)
        selectRow(row, tracker.startEvent().value, 0, pressed);
}

ACommand* AListRenderer::trackEnd(ARendererTracker& tracker) {
    if (!listTracking())
        return ARenderer::trackEnd(tracker);
    long pressed = rowOfHit(tracker.hit);
    AHitRecord release = hitRecordAt(tracker.current().where);
    long row = rowOfHit(release);
    if (pressed >= 0 && row >= 0)
        selectRow(row, tracker.startEvent().value, SelectMode::kNotify, pressed);
    if (!wantsRowTracking() && row >= 0 && ((listOptions & ListOptions::kActivateAnyRow) || row == pressed))
        return activateHit(release);
    return AComponent::noChangeCommand();
}

// Without list tracking a row acts as a button: selected while the pointer is over it.
void AListRenderer::trackPressed(ARendererTracker& tracker) {
    long row = rowOfHit(tracker.hit);
    if (row < 0)
        return;
    tracker.feedback = ARegion(rowRect(row));
    selectRow(row, 0, 0, -1);
    tracker.inside = true;
    trackInside(tracker, true);
}

void AListRenderer::trackInside(ARendererTracker& tracker, bool on) {
    long row = rowOfHit(tracker.hit);
    if (model_ && row >= 0 && model_->isMarkedStart(row) != on)
        selectRow(row, 0, SelectMode::kAdditive, -1);
}

void AListRenderer::trackReleased(ARendererTracker& tracker) {
    trackInside(tracker, true);
    notifyTarget(2, false);
}
