// The base of the atlas place lists: the names of the place-name index
// ("TOPO") as list rows under a type-ahead field. A row's link name is the
// place's locator (see AtlasPlace.h); a click opens the place's map (the
// subclasses say how). The search text and the selection are kept in the
// left part under the subclass's keys and restored from the history.
//
// Owns its index (deleted at detach); the list holds one reference to its
// line getter; the type-ahead search is a child component of the pane.
// The frame, the centre switcher and the field are not owned. Without the
// centre switcher there is no movie pane to move. A missing or mistyped
// frame or field fails the allocation check ("LR_Atlas");
// a list without renderer, or a second opening of the index, is an assertion.
#pragma once

#include "app/lists/LRPane.h"

class AEditBox;
class AKeyIndex;
class ASVSearchInList;
struct AtlasPlace;
class DockLCRPane;
class FlashPane;

class LR_Atlas : public LRPane {
    SV_DECLARE_CLASS(LR_Atlas)
public:
    enum : int16_t { kFieldId = 0x9f8, kListId = 0x9f7, kIconPicture = 1535 };
    enum : int32_t { kMaxText = 128 };

    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    ACommand* doCommand(int16_t id, long argument) override;
    void linkChanged(AComponent* source, const AKindSet& kinds) override;
    void saveState(ABaseState* part) override;
    void updatePane() override {}
    void selectionChanged(ARenderer* renderer) override { openLine(renderer); }

    // Opens the clicked row's place (nothing in the base).
    virtual void openLine(ARenderer* renderer) { (void)renderer; }
    // Opens a row's place: nothing for an unusable locator.
    virtual void openPlace(const AtlasPlace& place) { (void)place; }
    void clearSearchText();
    // Opens the index of key (once) and ties the field to the list; nothing in the base.
    virtual void openIndex(const char* key, AEditBox* field) { (void)key, (void)field; }

    AEditBox* searchField() const { return searchField_; }
    AKeyIndex* index() const { return index_; }
    ASVSearchInList* search() const { return search_; }
    int16_t textKey = -1;

protected:
    // The place of the clicked row; invalid when the click was not on a link.
    AtlasPlace clickedPlace(ARenderer* renderer);
    // The first steps of opening the index: false when there is nothing to open.
    bool beginOpenIndex(const char* key);
    // Opens the type-ahead search just made (a component made outside a
    // layout) and ties it to the field and the list.
    void adoptSearch();
    // Restores the field and the selection from a new or replayed state.
    void restoreFromState();
    // The centre's movie pane, or null.
    FlashPane* flashPane() const;
    // The top atlas pane asks for its commands' state again.
    void refreshTopAtlas() const;

    Frame1* frame_ = nullptr;           // not owned
    DockLCRPane* lcr_ = nullptr;        // not owned, or null
    AEditBox* searchField_ = nullptr;   // item 0x9f8, not owned
    AKeyIndex* index_ = nullptr;        // owned
    ASVSearchInList* search_ = nullptr; // a child component, not owned
};
