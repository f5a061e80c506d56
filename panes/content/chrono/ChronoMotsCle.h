// The keyword list of the chronology's left dock: the entries of the
// keyword index "CHRONO" (each a keyword and its LNK record), with a
// type-ahead field (2552) that moves the list. Choosing a keyword hands its
// key to the enclosing page, which reloads the event list.
//
// Owns the opened index from set-up to detach; the type-ahead object is a
// child component (the tree deletes it); holds one reference on its rows. Without the index the list is empty. The
// typed text is kept under 1074 of the left part.
#pragma once

#include "app/lists/ListPane.h"

class AKeyIndex;
class ASVSearchInList;

class ChronoMotsCle : public ListEditPane {
    SV_DECLARE_CLASS(ChronoMotsCle)
public:
    static const int16_t kTypedTextKey = 1074;

    ChronoMotsCle();
    ~ChronoMotsCle() override;

    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    ACommand* doCommand(int16_t id, long argument) override;
    void updatePane() override;
    // The selection pair, then the typed text under 1074.
    void saveState(ABaseState* part) override;
    // A keyword row (hit kind 3, a name) chosen in the list.
    void selectionChanged(ARenderer* renderer) override;

    // Opens the index of the key into the list ("" opens none).
    void openList(const char* key);
    AKeyIndex* index() const { return index_; }

private:
    void closeList();

    ASVSearchInList* typeAhead_ = nullptr;  // a child, deleted by the tree
    AKeyIndex* index_ = nullptr;            // owned
};
