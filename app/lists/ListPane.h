// A client pane that shows a list: list view 2551 drawn by a list renderer
// over a line getter. It keeps the renderer's selection, writes it into the
// navigation part state the frame hands it (under two keys its subclasses
// choose, -1 for none), and reads the key each row holds after its first '#'.
// ListEditPane adds edit field 2552 with the application's edit filter.
//
// Holds one reference on its line getter (released in detachItems); the
// view and the field are items of the layout. A missing or mistyped item
// fails the allocation check ("layout").
#pragma once

#include "app/lists/AClientPane.h"
#include "base/object/AString.h"

class AEditBox;
class AKindSet;
class ALeftState;
class ALineGetter;
class ARenderer;
class ARendererView;
class AppState;

// 1 when the text is not empty and its value is not -1.
int16_t IsSetNumberText(const char* text);

class ListPane : public AClientPane {
    SV_DECLARE_CLASS(ListPane)
public:
    enum : int16_t { kListCommand = 2551 };

    ListPane();

    void readFrom(AMemoryStream& stream) override;
    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    void saveState(ABaseState* part) override;
    // selFirst = selLast = 0 (the argument is for the subclasses).
    void resetState(long argument) override;

    virtual void clearSavedSelection(ABaseState* part);
    // selFirst and selLast from the keys saveState writes them under.
    void readSavedSelection(ABaseState* part);
    // A click on a row: opens the clicked line of the list view.
    virtual void selectionChanged(ARenderer* renderer);
    // What a click on a row of view opens (nothing here).
    virtual void openClickedLine(ARendererView* view) { (void)view; }
    // The text after the first '#' of the line, or "".
    virtual AString getLineKey(long line);
    // 1 when the application's result count is 0 or there are no lines.
    int16_t isListEmpty();

    // Holds one reference on getter (null: none), releasing the previous one.
    void setLineGetter(ALineGetter* getter);
    // No getter, and the view shows an empty text.
    void clearList();
    ALineGetter* getLineGetter() const { return lineGetter; }
    ARendererView* getListView() const { return listView; }
    // A list with rows is exported.
    bool answersEditCommands() override;

    long selFirst = 0;
    long selLast = 0;
    int16_t selFirstKey = -1;
    int16_t selLastKey = -1;

protected:
    // The current and the left state; false when either is missing or the
    // list view shows no model yet.
    bool shownStates(AppState*& cur, ALeftState*& left);

    ARendererView* listView = nullptr;  // item 2551, not owned
    ALineGetter* lineGetter = nullptr;  // one reference held
};

class ListEditPane : public ListPane {
    SV_DECLARE_CLASS(ListEditPane)
public:
    enum : int16_t { kEditCommand = 2552 };

    void readFrom(AMemoryStream& stream) override;
    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    // 2552 is enabled; its subclasses handle it.
    int16_t commandStatus(int16_t id, long argument) override;
    // Selects the field's text when it tells of its activation (kind 1).
    void linkChanged(AComponent* source, const AKindSet& kinds) override;
    virtual void clearEdit();
    AEditBox* getEditField() const { return editField; }

protected:
    AEditBox* editField = nullptr;  // item 2552, not owned
};
