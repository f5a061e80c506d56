// A result list of the article's links dock: its key is the text form of an
// occurrence list, shown sorted through the application's result rows; the
// selection follows the navigation state's right part; a click on a row's
// link opens that document through the enclosing document opener, after the
// dock collapsed the other lists' selections.
//
// The dock and the opener are found among the pane's ancestors (the links
// dock is required: allocation check "layout" 717); neither is owned.
#pragma once

#include "app/lists/LRPane.h"

class SortableLineGetter;

// The article's links dock, as its lists reach it.
class ALinksDock {
public:
    virtual ~ALinksDock() = default;
    // Resets the selection (with 1) of each other shown list of the dock.
    virtual void collapseOthers(ListPane* pane) = 0;
};

// The pane that arranges the main window's docks, as the lists reach it.
class ADocumentOpener {
public:
    virtual ~ADocumentOpener() = default;
    virtual void openDocument(long doc) = 0;
};

class LRExtPane : public LRPane {
    SV_DECLARE_CLASS(LRExtPane)
public:
    void readFrom(AMemoryStream& stream) override;
    void setUpItems() override;
    void detachItems() override;
    void updatePane() override;
    // "" and " " load nothing.
    void loadList(const char* key) override;
    // selFirst = 0, selLast = -2.
    void resetState(long argument) override;
    // The same; with show, a list with rows is brought back to its current row.
    void resetSelection(int16_t show);
    // A link hit (kind 3) names the document to open.
    void selectionChanged(ARenderer* renderer) override;
    // The lists built from a record number (a set, a theme) load it here.
    virtual void loadListHook(long argument) { (void)argument; }

    ALinksDock* getDock() const { return dock; }

protected:
    // After new rows: a new right part takes no selection and stores it, one
    // from the history gives its stored selection back.
    void restoreSelection();
    // The selection kept in the right part of the current state, shown.
    void showSelection();

    ALinksDock* dock = nullptr;  // not owned
};

// The nearest ancestor of component that is a T, or null.
template <class T>
T* FindEnclosing(AComponent* component) {
    for (AComponent* c = component ? component->getParent() : nullptr; c; c = c->getParent())
        if (T* found = dynamic_cast<T*>(c))
            return found;
    return nullptr;
}
