// The renderer base: links a document model to the view it draws in, turns
// model notices into relayouts and redraws, mouse events into hit records,
// cursors and notices to its command item, and builds the slash-markup models.
//
// Shared (ARefObj) and a dependent of its model. Misuse is an assertion
// ("grender"); a renderer without a model answers empty values, never fails.
#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "base/object/ARect.h"
#include "base/object/ARefObj.h"
#include "base/object/AString.h"
#include "docengine/depend/ADependable.h"
#include "docengine/export/AExportContext.h"
#include "docengine/lines/ALineRenderer.h"
#include "docengine/model/ADocModel.h"
#include "framework/graphics/ARegion.h"
#include "framework/views/ATrackers.h"

class ACommand;
class ACommandItem;
class ADisplayComponent;
class ADocModel;
class AHitNavigator;
class AInStream;
class ALineGetter;
class AReader;
class AScroller;
class ASegment;
class AStyleSheet;
class AFilteredFile;
class ARenderer;
class APrintedPage;
class ABitmapSupplier;
class AImageStateSupplier;

// Bits of the renderer's three words.
namespace RendererBits {
// Options.
const uint16_t kHideSelection = 0x0001;
const uint16_t kPrintText = 0x0002;
const uint16_t kPassive = 0x0004;
const uint16_t kParentBackground = 0x0020;  // the view's background is its window's list-box colour
const uint16_t kFitContent = 0x0080;
const uint16_t kNoFit = 0x0400;
const uint16_t kAlwaysHighlight = 0x1000;
const uint16_t kHideSelection2 = 0x4000;
// State.
const uint16_t kAttached = 0x0001;
const uint16_t kLaidOut = 0x0002;
const uint16_t kActive = 0x0004;
const uint16_t kHighlightOn = 0x0008;
const uint16_t kHighlightDrawn = 0x0010;
const uint16_t kRelayoutAll = 0x0020;
// Interaction.
const uint16_t kAlternateNotice = 0x0040;
const uint16_t kButtonDown = 0x8000;
}  // namespace RendererBits

// A renderer's mouse tracking: a copy of the press's hit record and a counted
// reference on the renderer, whose tracking steps receive the events.
class ARendererTracker : public AScrollingTracker {
public:
    // renderer is required ("grender").
    ARendererTracker(ARenderer* renderer, ADisplayComponent* component, const AMouseEvent& event, const AHitRecord& hit,
                     AScroller* scroller);
    ~ARendererTracker() override;

    void trackBegin() override;
    void trackStep() override;
    ACommand* trackEnd() override;

    ARenderer* renderer() const { return renderer_; }
    AHitRecord hit;
    ARegion feedback;       // where a press on a fragment shows
    long anchor = 0;        // fixed end of a mouse selection (document position)
    long pressedStart = 0;  // the pressed range
    long pressedEnd = 0;
    AFragment* pressed = nullptr;  // not owned: the fragment showing the press
    long pressedItem = -1;         // source start of the pressed range's segment
    bool inside = false;

private:
    ARenderer* renderer_;  // one reference held
};

// A new movable global block holding the bytes (and a NUL when asked); null when out of memory.
void* GlobalBlockOf(const void* data, size_t size, bool terminate);

// Measuring and drawing for a view wherever it is drawn now; nothing for a
// view without a window yet (its renderer then measures through its own display).
class AViewMeasureLock {
public:
    explicit AViewMeasureLock(ADisplayComponent* view);
    ~AViewMeasureLock();
    AViewMeasureLock(const AViewMeasureLock&) = delete;
    AViewMeasureLock& operator=(const AViewMeasureLock&) = delete;

private:
    std::unique_ptr<class ADrawLock> lock_;
};

// What a line getter bound to a renderer may add: it learns the renderer and
// answers the block of lines it makes around one line. A getter without it
// answers all its lines at once.
class ABoundLineGetter {
public:
    virtual ~ABoundLineGetter() = default;
    virtual void bindRenderer(ARenderer* renderer, long options) = 0;
    virtual ADocRange linesAround(long index) = 0;
};

// The lines a renderer has fetched from its getter, and the style sheet's stamp then.
struct ALineBinding {
    ALineBinding(ARenderer* owner, ALineGetter* source, long sheetStamp);
    ~ALineBinding();
    ALineBinding(const ALineBinding&) = delete;
    ALineBinding& operator=(const ALineBinding&) = delete;

    ARenderer* renderer;  // not owned
    ALineGetter* getter;  // one reference held
    long first = 0;       // the lines made: [first, end)
    long end = 0;
    long stamp;
};

// Answers the help text of what lies under a point of a renderer (shared).
class AHelpTextSupplier : public ARefObj {
public:
    virtual AString helpText(const AHitRecord& hit) = 0;
};

class ARenderer : public ADependent, public ARefObj {
public:
    // view is required ("grender"); not owned. parent: the renderer this one is part of, or null.
    ARenderer(ADisplayComponent* view, const ARect& frame, ARenderer* parent);
    // A copy of source's settings and model; state, hit record and navigators start empty.
    ARenderer(const ARenderer& source, const ARect& frame, long scaleX, long scaleY, ARenderer* parent);
    ~ARenderer() override;
    ARenderer(const ARenderer&) = delete;
    ARenderer& operator=(const ARenderer&) = delete;

    // Model builders: each makes the source, the parsers and the model and installs it.
    void setTextModel(const char* text, ADependable* dependency);
    void setTextModelAlt(const char* text, ADependable* dependency);
    void setStreamModel(const AFilteredFile& file, ADependable* dependency);
    void setLaidOutStreamModel(const AFilteredFile& file, ADependable* dependency);
    // The laid-out model of a record already in memory (shared, not copied).
    void setLaidOutTextModel(const AString& text, ADependable* dependency);
    void setSourceModel(ALineGetter* getter, ADependable* dependency);

    // The model's notice: navigators, relayout or redraw, then the command item.
    void changed(ADependable* source, long code, long data) override;

    virtual void setModel(ADocModel* model);
    virtual void layoutFrom(long code) = 0;
    // A new copy for another frame (the caller releases it).
    virtual ARenderer* makeCopy(const ARect& frame, long scaleX, long scaleY, ARenderer* parent) = 0;
    virtual void draw(const ARect& area) = 0;
    virtual AHitRecord hitRecordAt(const APoint& point) = 0;
    virtual void attach();
    // A tracker for a press, or null (no model, or the run took the click). The caller owns it.
    virtual AScrollingTracker* hitAt(AMouseEvent& event, ADisplayComponent* component);
    virtual void setFocus(bool active);
    virtual void hideHighlight();
    virtual void showHighlight();
    virtual void toggleHighlight();
    virtual void drawHighlight(bool on) { (void)on; }
    virtual ACommand* moveSelection(uint16_t key, uint16_t modifiers);
    virtual ARegion highlightRegion() { return ARegion(); }
    virtual ACommand* activateHit(const AHitRecord& hit);
    virtual ACommand* defaultKey();
    virtual ACommand* mouseMoved(AMouseEvent& event);
    virtual ACommand* doubleClick(AMouseEvent& event, long flag);
    virtual ACommand* rightMouseDown(AMouseEvent& event);
    virtual ACommand* keyDown(uint16_t key, uint16_t modifiers);
    // Tracking steps of ARendererTracker.
    virtual void trackStart(ARendererTracker& tracker);
    virtual void trackMove(ARendererTracker& tracker);
    virtual ACommand* trackEnd(ARendererTracker& tracker);
    virtual void trackPressed(ARendererTracker& tracker) { (void)tracker; }
    virtual void trackInside(ARendererTracker& tracker, bool on) { (void)tracker, (void)on; }
    virtual void trackReleased(ARendererTracker& tracker) { (void)tracker; }
    virtual bool canDoRendererCommand() { return false; }
    virtual ACommand* doRendererCommand();
    virtual bool hasSelection(bool whole);
    // Format 1: the plain text of the selection (or the whole text) as a new
    // global memory block the caller frees; null for other formats or without a model.
    virtual void* exportText(uint32_t format, bool whole);
    // Puts the formats exportText offers at the head of the list.
    virtual void addExportFormats(AFormatList& list);
    // The model, style sheet, view and export styles an export writer starts from.
    virtual AExportCursor makeExportCursor();
    // The supplier's text for what lies under the point; empty without a supplier.
    virtual AString helpTextAt(const APoint& point);
    // Index queries: -1 without a layout of their own.
    virtual long firstIndex() { return -1; }
    virtual long lastIndex() { return -1; }
    virtual long indexAt(const APoint& point) {
        (void)point;
        return -1;
    }
    virtual long markedIndex();
    // Printing: the printer's questions.
    virtual long preparePrint(const ARect& rect, bool selectionOnly);
    virtual bool hasMorePages(bool selectionOnly);
    virtual void printPage(const ARect& rect, long page, bool draw, bool selectionOnly, long lastPage);
    virtual long pageKind(long page, long lastPage);
    virtual AAnchor layoutRange(AAnchor range, long limit) {
        (void)limit;
        return range;
    }
    virtual uint16_t hitCodeOf(AFragment* fragment, ADataRun* run, long offset);
    virtual uint16_t hitKindOf(AFragment* fragment, uint16_t code);
    virtual long cursorKindOf(const AHitRecord& hit);
    virtual long contentHeight() { return 0; }
    // The range of the top (or bottom) visible line; false when nothing is laid out.
    virtual bool visibleLineRange(bool top, ADocRange& out) {
        (void)top, (void)out;
        return false;
    }
    // Vertical scrolling in the renderer's own units (-1: the view scrolls itself).
    virtual long verticalScrollMax() { return -1; }
    virtual long verticalScrollValue() { return -1; }
    virtual long verticalPage() { return -1; }
    // Codes of the view's scrolling (0/1 line up/down, 2/3 page up/down, 4 to value); false when not handled.
    virtual bool scrollVerticallyBy(int16_t code, int32_t value, int32_t& delta) {
        (void)code, (void)value, (void)delta;
        return false;
    }
    // The bounds of a range of positions in view coordinates.
    virtual ARect rangeBounds(long start, long end) {
        (void)start, (void)end;
        return ARect();
    }
    virtual void scrollToRange(long start, long end, uint16_t flags) { (void)start, (void)end, (void)flags; }
    // Brings a document position into view (nothing here: line renderers scroll).
    virtual void showPosition(long position) { (void)position; }
    // Makes index (a source position; -1: none) the model's only marked item.
    virtual void setCurrentMark(long index);
    // Length -1 shows the position of index start; otherwise marks the item
    // of the segment at start + length and shows its start (length 0) or the
    // position of index start. Nothing without a model.
    virtual void showRange(long start, long length);
    // showIndex with scroll flags 0x20; false without a model or for -1.
    virtual bool scrollToIndex(long index, long flags);
    // Opens the sections hiding index, scrolls to it (flag 0x100: marks it) and
    // relays out when opening changed the model.
    virtual void showIndex(long index, uint16_t scrollFlags, long extra);
    // The position shown at the top; -1 without a layout.
    virtual long currentPosition();
    // Scrolls so that a position is at the top (nothing here).
    virtual void scrollToPosition(long position) { (void)position; }
    // The current item: -1 here and for text renderers; a list's current row.
    virtual long currentItem() { return -1; }
    // The text renderer's note command; nothing here.
    virtual void noteCommand(long argument) { (void)argument; }
    // A list positions itself on a line (-2: its current line); nothing here.
    virtual void showLine(long line) { (void)line; }
    // A list selects lines first .. first + count (count -1: first alone); nothing here.
    virtual void selectLines(long first, long count) { (void)first, (void)count; }
    // The first and last marked items, -1 when none.
    virtual long selectionStart();
    virtual long selectionEnd();
    virtual void invalidateLayout();
    virtual void invalidateFrame();
    virtual void copySettingsFrom(const ARenderer& source);
    // Tells the command item (tests watch it).
    virtual void notifyTarget(long code, bool alternate);

    // Non-virtual operations.
    void setStyleSheet(AStyleSheet* sheet);
    void setHelpTextSupplier(AHelpTextSupplier* supplier);
    // Pictures named by their fragment (bitmap number -1) come from the supplier (null: none).
    void setBitmapSupplier(ABitmapSupplier* supplier);
    ABitmapSupplier* bitmapSupplier() const { return bitmapSupplier_; }
    // The states of picture fragments (null: none); not owned, taken by the next layout.
    void setImageStateSupplier(AImageStateSupplier* supplier) { imageStates_ = supplier; }
    AImageStateSupplier* imageStateSupplier() const { return imageStates_; }
    // A part (a cell, a copy) takes its parent's settings or line binding, and its bitmap supplier.
    void inheritFromParent();
    // A new binding on the getter (null: none), which learns this renderer and the options.
    void setLineGetter(ALineGetter* getter, long bindOptions);
    void setLineBinding(const ALineBinding* binding, long bindOptions) {
        setLineGetter(binding ? binding->getter : nullptr, bindOptions);
    }
    const ALineBinding* lineBinding() const { return binding_.get(); }
    // Has the getter make the lines around index unless they are made and the style sheet is unchanged.
    void fetchLine(long index);
    // Tables ("/&TABLE:" ... "&/") are read by a new sub-parser of the model's fragment parser; needs a model.
    void enableTables(char separator);
    AHelpTextSupplier* helpTextSupplier() const { return helpSupplier_; }
    AStyleSheet* styleSheet() const { return sheet_; }
    ADocModel* model() const { return model_; }
    ADisplayComponent* view() const { return view_; }
    AScroller* scroller() const { return scroller_; }
    ARenderer* parent() const { return parent_; }
    ARenderer* topRenderer();
    ACommandItem* commandTarget() const { return target_; }
    void setCommandTarget(ACommandItem* target) { target_ = target; }
    const ARect& frame() const { return frame_; }
    void setFrame(const ARect& rect, bool relayout);
    void fitToView();
    // The frame keeps its top left corner and takes the size; relays out (code 7) when asked and attached.
    void setScroll(const APoint& size, bool relayout);
    // The line step and the page of the scroller's view, across and down; (0, 0) without a scroller.
    APoint scrollerPageX();
    APoint scrollerPageY();
    // The long kept for subclasses, answered by a top-level renderer only.
    long topLevelValue() const { return parent_ ? 0 : topValue; }
    void attachScroller(bool on);
    void relayoutFrom(long code, bool updateView);
    void setActive(bool active);
    void setRelayoutAll(bool on);
    AAnchor layoutUpTo(AAnchor range, long limit);
    // Lays out when not laid out yet (attaching first), then redraws the frame.
    void layOut();
    // The height of what is laid out so far.
    long laidOutHeight() { return contentHeight(); }
    // Position ranges of an index and of an index range after showIndex; (0, 0) without a model.
    ADocRange showIndexRange(long index, uint16_t flags, long extra);
    ADocRange showIndexSpan(ADocRange indexRange, uint16_t flags, long extra);
    // Reopens the sections a record lists; relays out (code 6) when that changed the model.
    bool applyModelChanges(AExpandRecord* changes);
    void layoutAll() { layoutUpTo(AAnchor{0, 0}, 0); }
    ARenderer* makeDetachedCopy(const ARect& frame, bool scaled, ARenderer* parent);
    // A scaled copy for printing or preview: it never touches the view, its scroller or its target.
    bool isDetached() const { return detached_; }

    void setHitRecord(const AHitRecord& hit, bool notify);
    void clearHitRecord(ARenderer* maker);
    const AHitRecord* hitRecord() const { return hit_.get(); }
    long getHitKind();
    long getHitIndex();
    AString getHitName();
    AString getHitValue();
    // Without a hit kind, the name (the text) of the model's marked item; else the hit's name (value).
    AString getHitText();
    AString getHitValueText();
    // Selects the model entry of a hit index: it becomes the current mark.
    void selectHit(long index) { setCurrentMark(index); }

    // -3 for -1; otherwise the stored cursor, or the default kept on first use.
    long cursorFor(long key);
    void setCursors(long kind, long cursor, long pressedCursor);
    void setHitCursors(long kind, long cursor, long pressedCursor) { setCursors(kind, cursor, pressedCursor); }

    void setHitNavigator(AHitNavigator* navigator);
    void setSearchHitNavigator(AHitNavigator* navigator);
    AHitNavigator* hitNavigator() const { return navigator_.get(); }
    AHitNavigator* searchHitNavigator() const { return searchNavigator_.get(); }

    long topValue = 0;  // kept for subclasses
    uint16_t interaction = 2;
    uint16_t options = 0;
    uint16_t state = 0;
    uint32_t textColour = 0xFD000000;
    uint32_t backColour = 0xFE000000;
    uint32_t thirdColour = 0xFD000000;
    uint32_t fourthColour = 0xFF000000;
    long marginH = 0;
    long marginV = 0;
    int16_t styleNumbers[5] = {-1, -1, -1, -1, -1};
    uint16_t sharedStyle = 0;
    // The line layer's two flag words as the application sets them (0x200 in
    // the first: press feedback marks the model's items, not the selection).
    long lineFlags = 0;
    uint16_t lineFlags2 = 0;

protected:
    // Shows cursor number id: resource cursors need the application, which loads and keeps them.
    static void showCursorId(long id);
    // Fills the hit code and kind of a record.
    virtual AHitRecord finishHit(AHitRecord hit);
    // The view's default cursor (kinds 0 and 5 and beyond).
    virtual long viewDefaultCursor() { return 0; }
    void navigatorStep(long code);
    // The segment of the model's first marked item (unlocked), or null.
    ASegment* markedSegment();

    ARect frame_;
    ADocModel* model_ = nullptr;  // one reference held

private:
    void install(ADocModel* model, ADependable* dependency);
    // What a copy and a settings copy both take: the suppliers, options,
    // first three colours and styles, and the shared style.
    void copyLook(const ARenderer& source);
    // The laid-out model over the reader (a reference taken), installed.
    void installLaidOut(AReader* reader, ADependable* dependency);

    std::unique_ptr<AHitRecord> hit_;
    std::map<long, long> cursors_;
    ARenderer* parent_;               // not owned
    ADisplayComponent* view_;         // not owned
    AScroller* scroller_ = nullptr;   // not owned
    // Its own flag, not an option bit: the text renderers' options give bit 0x10
    // to live links, and the application's article views set it.
    bool detached_ = false;
    ACommandItem* target_ = nullptr;  // not owned
    AStyleSheet* sheet_ = nullptr;    // one reference held
    std::unique_ptr<AHitNavigator> navigator_;
    std::unique_ptr<AHitNavigator> searchNavigator_;

    AHelpTextSupplier* helpSupplier_ = nullptr;  // one reference held, or null
    ABitmapSupplier* bitmapSupplier_ = nullptr;  // one reference held, or null
    AImageStateSupplier* imageStates_ = nullptr;  // not owned
    std::unique_ptr<ALineBinding> binding_;
};
