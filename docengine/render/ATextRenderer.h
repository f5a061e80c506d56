// The text renderer: running text laid out by the line layer, with a
// selection kept in the model, a caret, arrow-key and mouse selection,
// press feedback on links, word clicks, a selection menu and the reader's
// note marks (added, moved, edited, deleted through an AMarkerCallBack).
//
// Shared (ARefObj). Without a model every operation is a no-op. A note
// operation without a marker map or entry is an assertion ("gtext").
#pragma once

#include <memory>

#include "docengine/render/ARenderer.h"

class AMarkerCallBack;
class APopupMenu;
class ARunDisplay;
class ASelContextMenuCallBack;

namespace TextOptions {
const uint16_t kWordClick = 0x1;
const uint16_t kPlainSelection = 0x2;
const uint16_t kLinksActive = 0x10;
}  // namespace TextOptions

class ATextRenderer : public ARenderer {
public:
    // display: how runs measure and draw (null: the drawing layer's display); not owned.
    explicit ATextRenderer(ADisplayComponent* view, ARunDisplay* display = nullptr);
    ATextRenderer(ADisplayComponent* view, const ARect& frame, ARunDisplay* display);
    ~ATextRenderer() override;

    void setModel(ADocModel* model) override;
    void layoutFrom(long code) override;
    ARenderer* makeCopy(const ARect& frame, long scaleX, long scaleY, ARenderer* parent) override;
    void draw(const ARect& area) override;
    AHitRecord hitRecordAt(const APoint& point) override;
    uint16_t hitCodeOf(AFragment* fragment, ADataRun* run, long offset) override;
    uint16_t hitKindOf(AFragment* fragment, uint16_t code) override;
    ACommand* moveSelection(uint16_t key, uint16_t modifiers) override;
    ARegion highlightRegion() override;
    ACommand* activateHit(const AHitRecord& hit) override;
    ACommand* defaultKey() override;
    ACommand* rightMouseDown(AMouseEvent& event) override;
    void trackStart(ARendererTracker& tracker) override;
    void trackMove(ARendererTracker& tracker) override;
    ACommand* trackEnd(ARendererTracker& tracker) override;
    void trackPressed(ARendererTracker& tracker) override;
    void trackInside(ARendererTracker& tracker, bool on) override;
    void trackReleased(ARendererTracker& tracker) override;
    bool canDoRendererCommand() override { return model_ != nullptr; }
    ACommand* doRendererCommand() override;
    void drawHighlight(bool on) override;
    long contentHeight() override;
    void scrollToRange(long start, long end, uint16_t flags) override;
    // Scrolls the position's line in at the top when it is not wholly shown.
    void showPosition(long position) override { scrollToRange(position, position + 1, 0x28); }
    void scrollToPosition(long position) override;
    // -1 adds a note at the selection (menu's "Ajouter une note"); only while notes show.
    void noteCommand(long argument) override;
    bool visibleLineRange(bool top, ADocRange& out) override;
    long verticalScrollMax() override;
    long verticalScrollValue() override;
    long verticalPage() override;
    bool scrollVerticallyBy(int16_t code, int32_t value, int32_t& delta) override;
    ARect rangeBounds(long start, long end) override;
    long preparePrint(const ARect& rect, bool selectionOnly) override;
    bool hasMorePages(bool selectionOnly) override;
    void printPage(const ARect& rect, long page, bool draw, bool selectionOnly, long lastPage) override;
    long pageKind(long page, long lastPage) override;
    AAnchor layoutRange(AAnchor range, long limit) override;
    // The base's cursor, measuring natural-width table cells on this renderer's display.
    AExportCursor makeExportCursor() override;

    // Selection.
    // The height of one row as its two spacing values give it (0 before a model).
    long rowPitch() const { return lines_ ? lines_->minLineHeight + lines_->lineSpacing : 0; }
    long startSelection(const AHitRecord& hit, uint16_t keys);
    void setOrderedSelection(long moving, long fixed);
    void changeSelection(long start, long end, bool immediately);
    bool selectWordAt(const AHitRecord& hit);
    ARect caretRect(long position);
    // The hit record of a document position, with its code and kind.
    AHitRecord hitOfPosition(long position);
    void updateCaret();
    const ARect& caret() const { return caret_; }
    uint16_t activeEnd() const { return activeEnd_; }
    void setActiveEnd(uint16_t end) { activeEnd_ = end; }

    // Notes (entry points of the menu and of dragging a mark).
    long notePlaceFor(long position);
    // The first place from position, before end, outside links and styled
    // text; position itself when there is none.
    long plainPlaceFrom(long position, long end);
    void addNote();
    void deleteNote(long index);
    void editNote(long index);
    // The names the application calls the note operations by.
    void editNoteAt(long position) { editNote(position); }
    void deleteNoteAt(long position) { deleteNote(position); }
    // A drop of the dragged mark at a hit (set its start with setDraggedNote).
    void moveNote(const AHitRecord& drop) { dropNoteMark(drop.position); }
    void setDraggedNote(long position) { draggedNote_ = position; }
    void setAnchor(long position) { anchor_ = position; }
    // How runs measure and draw (the renderer's own display when none was given).
    ARunDisplay* runDisplay() const { return display_; }

protected:
    AHitRecord finishHit(AHitRecord hit) override;
    // The line layer made for each model (list and tile renderers lay rows out their own way).
    virtual ALineRenderer* newLineLayer(ARunDisplay* display);

public:
    // The menu seam: shows a built menu and answers the chosen item or -1.
    virtual int16_t chooseFromMenu(APopupMenu* menu);

    ALineRenderer* lines() const { return lines_; }

    uint16_t noteMode = 0;
    AMarkerCallBack* markerCallBack = nullptr;        // not owned
    ASelContextMenuCallBack* menuCallBack = nullptr;  // not owned
    uint32_t selectionColour = 0xFD000000;
    uint32_t hitColour = 0x0080FFFF;  // under the search hits

private:
    void makeLines();
    void drawNoteMarks();
    void drawSearchHits();
    void refreshAt(long index);
    void reportToListener(long code);
    // After the lines moved on their own: the view repaints and its bars follow.
    void linesMoved();
    void dropNoteMark(long position);
    bool pressSelects(const AHitRecord& hit);

    ALineRenderer* lines_ = nullptr;  // one reference held, made with the model
    ARunDisplay* display_;            // not owned
    std::unique_ptr<ARunDisplay> ownDisplay_;
    ARect caret_;
    uint16_t activeEnd_ = 0;
    long goalX_ = 0;
    long draggedNote_ = 0;
    long anchor_ = 0;
    // Paging: the anchor of the next page and whether the run of pages ended.
    AAnchor nextPage_{0, 0};
    bool pagesDone_ = false;
};

// The application's text renderer: the same behaviour, with the style sheet
// it was made with and one value the application keeps in it.
class AAppTextRenderer : public ATextRenderer {
public:
    using ATextRenderer::ATextRenderer;
    // The application asks nothing more of its renderers: always 0.
    long appQuery() const { return 0; }
    void setAppValue(long value) { appValue = value; }
    long getAppValue() const { return appValue; }
    long getSheet() const { return sheet; }
    // Shows the range without scrolling options.
    void showRange(long start, long end) { scrollToRange(start, end, 0); }

    long appValue = 0;
    long sheet = 0;  // the style sheet's number in the application's set
};
