// The text renderer: selection, caret, press feedback, menus and note marks
// over the line layer.
#include "docengine/render/ATextRenderer.h"

#include <windows.h>

#include <algorithm>
#include <new>

#include "base/procedural/AError.h"
#include "base/procedural/AddressWord.h"
#include "docengine/hilite/AHighlighter.h"
#include "docengine/hilite/AMarkerCallBack.h"
#include "docengine/lines/ARunDisplay.h"
#include "docengine/model/AHiliteRangeMap.h"
#include "docengine/model/ASegment.h"
#include "docengine/styles/AStyleSheet.h"
#include "framework/controls/APopupMenu.h"
#include "framework/display/ADisplayComponent.h"
#include "framework/graphics/ADisplayLock.h"
#include "framework/views/AScroller.h"

namespace {

const uint16_t kShift = 0x4;  // MK_SHIFT in the event's key state
const uint16_t kNoteBits = 0x7000;
const uint16_t kStyleBits = 0x0FFF;

long LocalOf(AFragment* f, long position) {
    return f && f->segment() ? f->segment()->fromDocument(position) : position;
}

long DocOf(AFragment* f, long local) {
    return f && f->segment() ? f->segment()->toDocument(local) : local;
}

// A context menu opened as components are, so that a window its choice opens
// can be built while the menu still lives; closed and deleted at the end.
class OpenedMenu {
public:
    explicit OpenedMenu(AComponent* parent)
        : menu_(static_cast<APopupMenu*>(AObject::completeNew(new APopupMenu(parent, 0, 0)))) {}
    ~OpenedMenu() {
        try {
            AComponent* menu = menu_;
            DeleteComponent(menu);
        } catch (...) {
        }
    }
    OpenedMenu(const OpenedMenu&) = delete;
    OpenedMenu& operator=(const OpenedMenu&) = delete;
    APopupMenu* get() const { return menu_; }

private:
    APopupMenu* menu_;
};

}  // namespace

ATextRenderer::ATextRenderer(ADisplayComponent* view, ARunDisplay* display) : ATextRenderer(view, ARect(), display) {}

ATextRenderer::ATextRenderer(ADisplayComponent* view, const ARect& frame, ARunDisplay* display)
    : ARenderer(view, frame, nullptr), display_(display) {
    if (!display_) {
        ownDisplay_.reset(new AGdiRunDisplay());
        display_ = ownDisplay_.get();
    }
}

ATextRenderer::~ATextRenderer() {
    if (lines_)
        lines_->release();
}

void ATextRenderer::makeLines() {
    if (lines_)
        lines_->release();
    lines_ = nullptr;
    if (!model_)
        return;
    lines_ = CheckAlloc(newLineLayer(display_), "gtext", 90);
    lines_->addRef();
    lines_->flags1 |= static_cast<uint16_t>(lineFlags);
    lines_->flags2 |= lineFlags2;
    lines_->imageStateSupplier = imageStateSupplier();
    // A new layer would lay out on the model's notices before this renderer
    // first asks: its own layout lays the lines out again anyway.
    lines_->flags2 &= static_cast<uint16_t>(~LineFlags::kMayLayout);
}

ALineRenderer* ATextRenderer::newLineLayer(ARunDisplay* display) {
    return new (std::nothrow) ALineRenderer(model_, styleSheet(), display, frame_);
}

void ATextRenderer::setModel(ADocModel* model) {
    activeEnd_ = 0;
    caret_ = ARect();
    ARenderer::setModel(model);
    makeLines();
}

void ATextRenderer::layoutFrom(long code) {
    if (!lines_ || lines_->styleSheet() != styleSheet())
        makeLines();
    if (!lines_)
        return;
    lines_->setFrame(frame_);
    lines_->bitmapSupplier = bitmapSupplier();
    lines_->imageStateSupplier = imageStateSupplier();
    // The line layer lays out only when this renderer asks: model notices reach it through here.
    lines_->flags2 |= LineFlags::kMayLayout;
    lines_->layoutFrom(code == 7 ? 0 : code);
    lines_->flags2 &= static_cast<uint16_t>(~LineFlags::kMayLayout);
    updateCaret();
}

ARenderer* ATextRenderer::makeCopy(const ARect& frame, long, long, ARenderer*) {
    // A display of our own dies with us: the copy, which may outlive us, makes its own.
    auto* copy = CheckAlloc(new (std::nothrow) ATextRenderer(view(), frame, ownDisplay_ ? nullptr : display_), "gtext", 120);
    copy->copySettingsFrom(*this);
    copy->noteMode = noteMode;
    copy->selectionColour = selectionColour;
    copy->setModel(model_);
    return copy;
}

void ATextRenderer::draw(const ARect& area) {
    if (!lines_ || !(state & RendererBits::kLaidOut))
        return;
    bool show = (state & RendererBits::kHighlightOn) || (options & RendererBits::kAlwaysHighlight);
    lines_->hasSelection = show && !display_->printing();
    lines_->selectionColour = selectionColour == 0xFD000000 ? GetSysColor(COLOR_HIGHLIGHT) : selectionColour;
    drawSearchHits();
    lines_->draw(area);
    if (lines_->hasSelection && caret_.second.x > caret_.first.x && (state & RendererBits::kHighlightDrawn))
        display_->fillRect(caret_, 0);
    drawNoteMarks();
}

// The hits of the model's highlighter that are laid out, under the text.
void ATextRenderer::drawSearchHits() {
    auto* h = dynamic_cast<AHighlighter*>(model_->getHighlighter());
    if (!h || !lines_->lines.count() || display_->printing())
        return;
    long last = lines_->lastLaidOutPosition();
    long p = lines_->firstLaidOutPosition() - 1;
    while ((p = h->nextHit(model_, p)) >= 0 && model_->sourceToPosition(p) < last) {
        ADocRange r = model_->hitRangeAt(p);
        if (r.end > r.start)
            display_->fillRect(lines_->rangeRegion(r.start, r.end).ownerBounds(), hitColour);
    }
}

// Each note mark shows as a small flag at the top of its character.
void ATextRenderer::drawNoteMarks() {
    AHiliteRangeMap* map = model_ ? model_->getAttachment() : nullptr;
    if (!map || display_->printing())
        return;
    for (long p = map->first(-1); p >= 0; p = map->next()) {
        ARect r = caretRect(p);
        if (r.second.x > r.first.x)
            display_->fillRect(ARect(r.first.x, r.first.y, r.first.x + 6, r.first.y + 6), 0x0000C8FF);
    }
}

AHitRecord ATextRenderer::hitRecordAt(const APoint& point) {
    AViewMeasureLock lock(view());
    return finishHit(lines_ ? lines_->hitRecordAt(point) : AHitRecord());
}

AHitRecord ATextRenderer::hitOfPosition(long position) {
    AViewMeasureLock lock(view());
    AHitRecord hit = lines_ ? lines_->hitRecordOfPosition(position, -1) : AHitRecord();
    // The line layer finds the record by x, which can round to the boundary before.
    if (hit.fragment)
        hit.position = position;
    return finishHit(hit);
}

// A note mark is an empty fragment before its character: the character's hit is the mark's.
AHitRecord ATextRenderer::finishHit(AHitRecord hit) {
    hit.code = hitCodeOf(hit.fragment, hit.run, hit.position);
    hit.kind = hitKindOf(hit.fragment, hit.code);
    AHiliteRangeMap* map = model_ ? model_->getAttachment() : nullptr;
    if (hit.fragment && map && map->get(hit.position) != -1)
        hit.kind = 5;
    return hit;
}

// 0x1 a character of a word, 0x2 another place in a fragment.
uint16_t ATextRenderer::hitCodeOf(AFragment* fragment, ADataRun* run, long offset) {
    if (!fragment)
        return 0;
    if (!run)
        return 2;
    ALocalRange w = fragment->wordAt(LocalOf(fragment, offset));
    return w.end > w.start ? 1 : 2;
}

uint16_t ATextRenderer::hitKindOf(AFragment* fragment, uint16_t code) {
    if (!fragment || code == 0)
        return 4;
    uint16_t kind = fragment->linkKind();
    if (kind & kNoteBits)
        return 5;
    if ((kind & kStyleBits) && ((options & TextOptions::kLinksActive) || !(options & TextOptions::kWordClick) ||
                                (code & 0x8) || !(kind & 0x8000)))
        return 1;
    if ((options & TextOptions::kWordClick) && (code & 0x1))
        return 2;
    if (options & TextOptions::kPlainSelection)
        return 0;
    return 4;
}

// --- selection

void ATextRenderer::changeSelection(long start, long end, bool immediately) {
    AViewMeasureLock lock(view());
    if (!model_)
        return;
    ADocRange old = model_->GetSelection();
    if (old.start == start && old.end == end)
        return;
    long lo1 = std::min(start, old.start), hi1 = std::max(start, old.start);
    long lo2 = std::min(end, old.end), hi2 = std::max(end, old.end);
    ARegion changed;
    if (lines_) {
        changed = lines_->rangeRegion(lo1, std::min(hi1, lo2));
        changed.unite(lines_->rangeRegion(std::max(hi1, lo2), hi2));
        changed.unite(ARegion(caret_));
    }
    model_->setSelection(ADocRange{start, end}, AddressWord(this));
    updateCaret();
    if (!lines_ || isDetached())
        return;
    changed.unite(ARegion(caret_));
    if (immediately)
        view()->redrawClipped(changed, false);
    else
        view()->invalidateClipped(changed);
}

void ATextRenderer::setOrderedSelection(long moving, long fixed) {
    if (moving < fixed) {
        activeEnd_ = 1;
        changeSelection(moving, fixed, true);
    } else {
        activeEnd_ = 0;
        changeSelection(fixed, moving, true);
    }
}

long ATextRenderer::startSelection(const AHitRecord& hit, uint16_t keys) {
    if (!model_ || !hit.fragment)
        return 0;
    long p = hit.position;
    ADocRange sel = model_->GetSelection();
    long start = p, end = p;
    if (!(keys & kShift)) {
        anchor_ = p;
        activeEnd_ = 0;
    } else {
        long r = activeEnd_ == 0 ? sel.start : sel.end;
        if (r < p) {
            start = sel.start;
            anchor_ = sel.start;
            activeEnd_ = 0;
        } else {
            end = sel.end;
            anchor_ = sel.end;
            activeEnd_ = 1;
        }
    }
    changeSelection(start, end, true);
    return anchor_;
}

bool ATextRenderer::selectWordAt(const AHitRecord& hit) {
    if (!(hit.code & 0x1) || !hit.fragment || !model_)
        return false;
    ALocalRange w = hit.fragment->wordAt(LocalOf(hit.fragment, hit.position));
    if (w.end <= w.start)
        return false;
    changeSelection(DocOf(hit.fragment, w.start), DocOf(hit.fragment, w.end), false);
    goalX_ = hitOfPosition(model_->GetSelection().end).point.x;
    reportToListener(2);
    return true;
}

ACommand* ATextRenderer::doRendererCommand() {
    if (model_)
        changeSelection(0, model_->getLength(), false);
    return AComponent::noChangeCommand();
}

ARegion ATextRenderer::highlightRegion() {
    AViewMeasureLock lock(view());
    if (!model_ || !lines_)
        return ARegion();
    ADocRange r = model_->GetSelection();
    ARegion region = lines_->rangeRegion(r.start, r.end);
    region.unite(ARegion(caret_));
    return region;
}

// --- caret

ARect ATextRenderer::caretRect(long position) {
    AViewMeasureLock lock(view());
    if (!lines_)
        return ARect();
    ARect box;
    if (lines_->cellOfPosition(position, box)) {
        box.first.x -= 1;
        box.second.x -= 1;
        return box;
    }
    long x = 0;
    ADataRun* run = nullptr;
    long index = lines_->lineOfPosition(position, x, -1, &run);
    if (index < 0 || index >= lines_->lines.count())
        return ARect();
    ALine* line = lines_->lines.at(index);
    long left = x - 1 + frame_.first.x + lines_->margin + line->x;
    return ARect(static_cast<int32_t>(left), static_cast<int32_t>(line->top + frame_.first.y),
                 static_cast<int32_t>(left + 1), static_cast<int32_t>(line->top + line->height + frame_.first.y));
}

void ATextRenderer::updateCaret() {
    caret_ = ARect();
    if (!model_)
        return;
    ADocRange r = model_->GetSelection();
    if (r.start == r.end)
        caret_ = caretRect(r.start);
}

void ATextRenderer::drawHighlight(bool) {
    if (caret_.second.x > caret_.first.x && !isDetached())
        view()->invalidateRect(caret_);
}

// --- arrow keys and Return

ACommand* ATextRenderer::moveSelection(uint16_t key, uint16_t keys) {
    AViewMeasureLock lock(view());
    if (!model_ || !lines_)
        return AComponent::noChangeCommand();
    ADocRange sel = model_->GetSelection();
    long c = activeEnd_ == 0 ? sel.end : sel.start;
    if (!lines_->isLaidOut(c)) {
        lines_->showRange(c, c + 1, 0x88);
        linesMoved();
    }
    AHitRecord place = hitOfPosition(c);
    AHitRecord h;
    switch (key) {
        case 0x25:
            h = place.fragment && c > 0 ? hitOfPosition(c - 1) : AHitRecord();
            goalX_ = h.point.x;
            break;
        case 0x26:
            h = lines_->hitAbove(place, goalX_);
            break;
        case 0x27:
            h = place.fragment && c < model_->getLength() ? hitOfPosition(c + 1) : AHitRecord();
            goalX_ = h.point.x;
            break;
        case 0x28:
            h = lines_->hitBelow(place, goalX_);
            break;
        default:
            return AComponent::noChangeCommand();
    }
    if (h.fragment && h.position != c) {
        if (keys & kShift)
            setOrderedSelection(h.position, activeEnd_ == 0 ? sel.start : sel.end);
        else
            setOrderedSelection(h.position, h.position);
    }
    return AComponent::noChangeCommand();
}

ACommand* ATextRenderer::defaultKey() {
    if (!model_)
        return AComponent::noChangeCommand();
    ADocRange sel = model_->GetSelection();
    AHitRecord h = hitOfPosition(sel.start);
    return activateHit(h);
}

ACommand* ATextRenderer::activateHit(const AHitRecord& hit) {
    if (hit.kind == 2) {
        if (selectWordAt(hit))
            setHitRecord(hit, true);
        return AComponent::noChangeCommand();
    }
    if (hit.kind == 0) {
        selectWordAt(hit);
        return AComponent::noChangeCommand();
    }
    return ARenderer::activateHit(hit);
}

// --- mouse selection

// A view that answers isMouseSensitive selects text from a press anywhere but
// on a note mark; otherwise only a press on plain text does.
bool ATextRenderer::pressSelects(const AHitRecord& hit) {
    return hit.kind == 0 || (hit.kind != 5 && view() && view()->isMouseSensitive());
}

void ATextRenderer::trackStart(ARendererTracker& tracker) {
    if (tracker.hit.kind == 5) {
        draggedNote_ = tracker.hit.position;
        anchor_ = draggedNote_;
        return;
    }
    if (!pressSelects(tracker.hit)) {
        ARenderer::trackStart(tracker);
        return;
    }
    tracker.anchor = startSelection(tracker.hit, tracker.startEvent().value);
}

void ATextRenderer::trackMove(ARendererTracker& tracker) {
    if (tracker.hit.kind == 5) {
        showCursorId(cursorFor(3));
        return;
    }
    if (!pressSelects(tracker.hit)) {
        ARenderer::trackMove(tracker);
        return;
    }
    if (!model_ || !lines_ || !lines_->lines.count())
        return;
    APoint p = tracker.current().where;
    AHitRecord h = hitRecordAt(p);
    if (!h.fragment) {
        // Outside the text: the last character below the press, the first above it.
        bool after = p.y > tracker.startEvent().where.y ||
                     (p.y == tracker.startEvent().where.y && p.x > tracker.startEvent().where.x);
        long pos = after ? lines_->lastVisiblePosition() - 1 : lines_->firstVisiblePosition();
        h = hitOfPosition(std::max(0L, pos));
    }
    if (h.fragment)
        setOrderedSelection(h.position, tracker.anchor);
}

ACommand* ATextRenderer::trackEnd(ARendererTracker& tracker) {
    if (tracker.hit.kind == 5) {
        dropNoteMark(hitRecordAt(tracker.current().where).position);
        return AComponent::noChangeCommand();
    }
    if (!pressSelects(tracker.hit))
        return ARenderer::trackEnd(tracker);
    goalX_ = tracker.current().where.x;
    reportToListener(2);
    return AComponent::noChangeCommand();
}

// A press on a link or word shows as the pressed fragment's flag and, unless
// the link is its own clickable fragment, as a selection of its name or word.
void ATextRenderer::trackPressed(ARendererTracker& tracker) {
    AViewMeasureLock lock(view());
    AHitRecord h = tracker.hit;
    if (h.fragment && lines_) {
        long local = LocalOf(h.fragment, h.position);
        ALocalRange range{local, local};
        bool feedback = true;
        if (h.kind == 1) {
            AFragment* f = h.fragment->firstOfName();
            if (f && f->isClickable())
                tracker.pressed = f;
            if (f == h.fragment && !(options & TextOptions::kLinksActive)) {
                range = f->textRange();
                feedback = false;
            } else {
                range = h.fragment->nameExtent();
            }
        } else if (h.kind == 2) {
            range = h.fragment->wordAt(local);
        }
        long start = DocOf(h.fragment, range.start);
        long end = DocOf(h.fragment, range.end);
        tracker.feedback.unite(lines_->rangeRegion(start, end));
        if (feedback) {
            if (!(lineFlags & LineFlags::kHiliteMode))
                tracker.anchor = startSelection(h, 0);
            tracker.pressedStart = start;
            tracker.pressedEnd = end;
            tracker.pressedItem = h.fragment->segment() ? h.fragment->segment()->getStart() : -1;
        }
    }
    tracker.inside = true;
    trackInside(tracker, true);
}

void ATextRenderer::trackInside(ARendererTracker& tracker, bool on) {
    bool changed = false;
    if (tracker.pressed && ((tracker.pressed->flags() & AFragment::kPressed) != 0) != on) {
        tracker.pressed->setFlag2(on);
        changed = true;
    }
    if (tracker.pressedEnd > tracker.pressedStart && model_) {
        if (!(lineFlags & LineFlags::kHiliteMode)) {
            ADocRange sel = model_->GetSelection();
            if (sel.start == sel.end && on) {
                changeSelection(tracker.pressedStart, tracker.pressedEnd, false);
                changed = true;
            } else if (sel.start != sel.end && !on) {
                changeSelection(tracker.anchor, tracker.anchor, false);
                changed = true;
            }
        } else if (tracker.pressedItem >= 0) {
            model_->markPosition(tracker.pressedItem, on, 0);
            changed = true;
        }
    }
    if (changed && !isDetached())
        view()->redrawClipped(tracker.feedback, false);
}

// A word click keeps its word selected; other presses take their feedback back.
void ATextRenderer::trackReleased(ARendererTracker& tracker) {
    if (tracker.hit.kind == 2) {
        trackInside(tracker, true);
        if (!isDetached())
            view()->invalidateClipped(tracker.feedback);
    } else {
        trackInside(tracker, false);
    }
    updateCaret();
}

// --- context menu and notes

int16_t ATextRenderer::chooseFromMenu(APopupMenu* menu) {
    return menu->popupAtCursor(-1);
}

ACommand* ATextRenderer::rightMouseDown(AMouseEvent& event) {
    if (!model_)
        return AComponent::passThroughCommand();
    AHitRecord h = hitRecordAt(event.where);
    ADocRange sel = model_->GetSelection();
    if (menuCallBack && h.fragment && sel.start < h.position && h.position < sel.end) {
        OpenedMenu menu(view());
        menuCallBack->fillMenu(menu.get(), model_->exportSelection(nullptr, false));
        return AComponent::noChangeCommand();
    }
    if (!markerCallBack)
        return AComponent::passThroughCommand();
    anchor_ = h.position;
    if (!h.fragment)
        return AComponent::passThroughCommand();
    bool mark = h.kind == 5;
    if (!mark && (h.fragment->isClickable() || (h.fragment->linkKind() & kStyleBits))) {
        MessageBeep(0);
        return AComponent::passThroughCommand();
    }
    OpenedMenu menu(view());
    if (mark) {
        menu.get()->addItem("Supprimer la note");
        menu.get()->addItem("Modifier ou lire la note");
    } else {
        menu.get()->addItem("Ajouter une note");
    }
    int16_t choice = chooseFromMenu(menu.get());
    if (choice < 0)
        return AComponent::noChangeCommand();
    if (!mark)
        addNote();
    else if (choice == 0)
        deleteNote(h.position);
    else if (choice == 1)
        editNote(h.position);
    else
        MessageBeep(0);
    return AComponent::noChangeCommand();
}

long ATextRenderer::notePlaceFor(long position) {
    AHitRecord h = hitOfPosition(position);
    if (!h.fragment)
        return -1;
    if (h.fragment->isClickable() || (h.fragment->linkKind() & kStyleBits)) {
        MessageBeep(0);
        return -1;
    }
    long place = h.position;
    if (noteMode == 2) {
        place = DocOf(h.fragment, h.fragment->textRange().start);
    } else if (noteMode == 1 && (h.code & 0x1)) {
        ALocalRange w = h.fragment->wordAt(LocalOf(h.fragment, h.position));
        if (w.end > w.start)
            place = DocOf(h.fragment, w.start);
    }
    AHiliteRangeMap* map = model_ ? model_->getAttachment() : nullptr;
    while (map && map->get(place) != -1)
        ++place;
    return place;
}

void ATextRenderer::addNote() {
    if (noteMode == 0 || !model_)
        return;
    long i = notePlaceFor(anchor_);
    if (i < 0 || !markerCallBack) {
        MessageBeep(0);
        return;
    }
    AHiliteRangeMap* map = model_->getAttachment();
    if (!map)
        ThrowAssert("gtext", 900);
    long id = markerCallBack->newMarker(map, 0);
    // A negative value is the callback's refusal (no id left): nothing is added.
    if (id < 0) {
        MessageBeep(0);
        return;
    }
    map->set(i, id);
    refreshAt(i);
    reportToListener(201);
    markerCallBack->markerAdded(id);
}

void ATextRenderer::deleteNote(long index) {
    if (!model_ || !markerCallBack)
        return;
    AHiliteRangeMap* map = model_->getAttachment();
    long id = map ? map->get(index) : -1;
    if (id == -1)
        ThrowAssert("gtext", 930);
    markerCallBack->deleteMarker(id);
    map->remove(index);
    markerCallBack->markerDeleted(id);
    refreshAt(index);
    reportToListener(201);
}

void ATextRenderer::editNote(long index) {
    AHiliteRangeMap* map = model_ ? model_->getAttachment() : nullptr;
    long id = map ? map->get(index) : -1;
    if (id == -1)
        ThrowAssert("gtext", 950);
    if (markerCallBack)
        markerCallBack->editMarker(id);
    reportToListener(201);
}

void ATextRenderer::dropNoteMark(long position) {
    if (position == draggedNote_) {
        editNote(position);
        return;
    }
    long j = notePlaceFor(position);
    AHiliteRangeMap* map = model_ ? model_->getAttachment() : nullptr;
    long id = map ? map->get(draggedNote_) : -1;
    if (j == draggedNote_ || j == -1 || id == -1 || !markerCallBack)
        return;
    map->remove(draggedNote_);
    refreshAt(draggedNote_);
    map->set(j, id);
    markerCallBack->markerMoved(id, j);
    refreshAt(j);
    reportToListener(201);
}

// The segment holding the index is parsed again so its mark fragments follow the map.
void ATextRenderer::refreshAt(long index) {
    if (!model_)
        return;
    ASegment* segment = model_->segmentAtPosition(index);
    long start = segment ? segment->docStart() : index;
    long end = segment ? segment->toDocument(segment->getEnd() - segment->getStart()) : index + 1;
    model_->changed(model_->positionToSource(start), model_->positionToSource(std::max(end, start + 1)), 0, 6);
    relayoutFrom(6, true);
}

void ATextRenderer::reportToListener(long code) {
    notifyTarget(code, false);
}

// --- geometry for navigators and scrolling

long ATextRenderer::contentHeight() {
    return lines_ ? lines_->contentHeight() : 0;
}

void ATextRenderer::scrollToRange(long start, long end, uint16_t flags) {
    AViewMeasureLock lock(view());
    if (lines_)
        lines_->showRange(start, end, flags);
    linesMoved();
}

void ATextRenderer::linesMoved() {
    if (isDetached())
        return;
    view()->invalidate();
    // The lines scroll themselves rather than through the scroller, which
    // would otherwise keep the old position on its bar and step from it.
    if (scroller() && (state & RendererBits::kLaidOut))
        scroller()->update();
}

AExportCursor ATextRenderer::makeExportCursor() {
    AExportCursor cursor = ARenderer::makeExportCursor();
    cursor.measuringDisplay = display_;
    return cursor;
}

void ATextRenderer::scrollToPosition(long position) {
    AViewMeasureLock lock(view());
    if (lines_)
        lines_->scrollToPosition(position);
    linesMoved();
}

// The command places the note at the selection, as the menu does at the
// click. Without one (a plain click in an article selects nothing) it goes to
// the caret when it is in view, else to the first line shown. A link takes no
// note (a search hit in a table of contents is selected in one): the note goes
// to the first place after it, within the selection or the lines shown.
void ATextRenderer::noteCommand(long) {
    if (!noteMode || !model_)
        return;
    ADocRange sel = model_->GetSelection();
    long from = sel.start, end = sel.end;
    ADocRange top, bottom;
    if (visibleLineRange(true, top) && visibleLineRange(false, bottom)) {
        if (sel.end <= sel.start && (from < top.start || from >= bottom.end))
            from = top.start;
        end = std::max(end, bottom.end);
    }
    anchor_ = plainPlaceFrom(from, end);
    addNote();
}

long ATextRenderer::plainPlaceFrom(long position, long end) {
    for (long p = position; p < end;) {
        AHitRecord h = hitOfPosition(p);
        if (!h.fragment)
            return position;
        if (!h.fragment->isClickable() && !(h.fragment->linkKind() & kStyleBits))
            return p;
        long next = DocOf(h.fragment, h.fragment->textRange().end);
        p = next > p ? next : p + 1;
    }
    return position;
}

bool ATextRenderer::visibleLineRange(bool top, ADocRange& out) {
    AViewMeasureLock lock(view());
    if (!lines_ || !lines_->lines.count())
        return false;
    ALine* line = lines_->lineAtY(top ? lines_->viewTopY() : lines_->viewBottomY() - 1, !top);
    if (!line)
        return false;
    out = ADocRange{line->start, line->end};
    return true;
}

ARect ATextRenderer::rangeBounds(long start, long end) {
    AViewMeasureLock lock(view());
    return lines_ ? lines_->rangeRegion(start, end).ownerBounds() : ARect();
}

// --- scrolling: values are document positions of the top line

long ATextRenderer::verticalScrollMax() {
    return lines_ && (state & RendererBits::kLaidOut) ? std::max(0L, lines_->maxScrollValue()) : -1;
}

long ATextRenderer::verticalScrollValue() {
    return lines_ && (state & RendererBits::kLaidOut) ? std::max(0L, lines_->scrollValue()) : -1;
}

long ATextRenderer::verticalPage() {
    return lines_ && (state & RendererBits::kLaidOut) ? std::max(1L, lines_->pageLength()) : -1;
}

bool ATextRenderer::scrollVerticallyBy(int16_t code, int32_t value, int32_t& delta) {
    if (!lines_ || !(state & RendererBits::kLaidOut) || code < 0 || code > 4)
        return false;
    AViewMeasureLock lock(view());
    long changed = 0, moved = 0;
    lines_->flags2 |= LineFlags::kMayLayout;
    lines_->scroll(code, value, &changed, &moved);
    lines_->flags2 &= static_cast<uint16_t>(~LineFlags::kMayLayout);
    updateCaret();
    delta = static_cast<int32_t>(moved);
    if (!isDetached())
        view()->invalidate();
    return true;
}
