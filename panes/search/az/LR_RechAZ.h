// The A-to-Z index list: an edit field (item 2552, at most 128 characters)
// above the entries of the index the configuration names "IDXAZ" (list
// 2551). Typing moves the list to the first entry at or after the text;
// clicking an entry, or Return in the field, shows its document (the row's
// key) in the centre.
//
// Left part keys: 1040 and 1041 the selection, 1042 the typed text.
//
// Owns the index and the type-ahead search; holds one reference on its line
// getter (the base's). A missing field or frame fails the allocation check
// ("LR_RechAZ"); opening the index twice or without a list view is an
// assertion; an index that cannot be opened raises the facade's error.
#pragma once

#include "app/lists/LRPane.h"

class AEditBox;
class AKeyIndex;
class ASVSearchInList;
class DockLCRPane;

class LR_RechAZ : public LRPane {
    SV_DECLARE_CLASS(LR_RechAZ)
public:
    enum : int16_t { kEditId = 2552, kSelFirstKey = 1040, kSelLastKey = 1041, kTextKey = 1042 };
    enum : int32_t { kMaxText = 128 };

    LR_RechAZ();
    ~LR_RechAZ() override;
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    void linkChanged(AComponent* source, const AKindSet& kinds) override;
    void saveState(ABaseState* part) override;
    void updatePane() override;

    void openIndexList(const char* key, AEditBox* field);
    void openClickedLine(ARendererView* view) override;
    // Opens the entry the field's text finds (Return in the field).
    void openTypedEntry();
    // Typing is followed through the field's link; the field's own command
    // comes only from Return.
    void ownItemCommand() override { openTypedEntry(); }
    // Opens the document of a row's key.
    void openEntry(const AString& name);

    AEditBox* getEdit() const { return edit; }
    AKeyIndex* getIndex() const { return index; }
    ASVSearchInList* getTypeAhead() const { return typeAhead; }

private:
    DockLCRPane* lcrPane = nullptr;       // not owned; null in a frame without the centre
    AEditBox* edit = nullptr;             // not owned
    AKeyIndex* index = nullptr;           // owned
    ASVSearchInList* typeAhead = nullptr;  // a component of this pane (the tree deletes it)
};
