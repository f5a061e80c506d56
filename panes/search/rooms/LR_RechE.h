// Room E's author list: an edit field (item 2552, at most 128 characters)
// above the entries of the index the configuration names "AUTEUR" (list
// 2551). Typing moves the list to the first author at or after the text;
// clicking an author makes the author's key the room pane's key text, and
// the room's disc list then shows that author's documents.
//
// Left part keys: 1043 and 1044 the selection, 1045 the typed text.
//
// Owns the index and the type-ahead search; holds one reference on its line
// getter (the base's). A missing field, frame or room pane fails the
// allocation check ("LR_RechE"); a list without a renderer is an assertion;
// an installation without the index shows an empty list.
#pragma once

#include "app/lists/LRPane.h"

class AEditBox;
class AKeyIndex;
class ASVSearchInList;
class DockLCRPane;
class DockLeftSallePane;

class LR_RechE : public LRPane {
    SV_DECLARE_CLASS(LR_RechE)
public:
    enum : int16_t { kEditId = 2552, kSelFirstKey = 1043, kSelLastKey = 1044, kTextKey = 1045 };
    enum : int32_t { kMaxText = 128, kPreferredSize = 250 };

    LR_RechE();
    ~LR_RechE() override;
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    ACommand* doCommand(int16_t id, long argument) override;
    void linkChanged(AComponent* source, const AKindSet& kinds) override;
    void saveState(ABaseState* part) override;
    void selectionChanged(ARenderer* renderer) override { lineClicked(renderer); }
    void updatePane() override;

    // Opens the index named key (empty: keeps the one open) into the list.
    void openIndex(const char* key, AEditBox* field);
    // A click on an author row: the author's key to the room pane.
    void lineClicked(ARenderer* renderer);

    AEditBox* getEdit() const { return edit; }
    AKeyIndex* getIndex() const { return index; }

private:
    DockLCRPane* lcrPane = nullptr;        // not owned; null in a frame without the centre
    DockLeftSallePane* roomPane = nullptr;  // not owned
    AEditBox* edit = nullptr;              // not owned
    AKeyIndex* index = nullptr;            // owned
    ASVSearchInList* typeAhead = nullptr;  // a component of this pane (the tree deletes it)
};
