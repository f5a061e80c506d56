// Finds the line of a list that the text of an edit box designates, each
// time that text changes, and scrolls the list so that the line stands
// about half a page below the top.
//
// The edit box, list view and enclosing window are found by id at set-up and
// forgotten when they go; the finder, base and table position are not owned.
// Missing ids, components or renderer raise the assertion ("ulexique");
// components of the wrong class raise AMemError.
#pragma once

#include <cstdint>

#include "base/object/AString.h"
#include "framework/components/AComponent.h"

class AEditBox;
class ARendererView;
class ASearchBase;

// The line that designates a text (flags: 0).
class ALineFinder {
public:
    virtual ~ALineFinder() = default;
    virtual long lineOfText(const char* text, long flags) = 0;
};

// Turns a table's answer for a key into a line of the list.
class ATablePosition {
public:
    virtual ~ATablePosition() = default;
    virtual long lineOfInfo(long info) = 0;
};

class SearchInList : public AComponent {
    SV_DECLARE_CLASS(SearchInList)
public:
    SearchInList() = default;
    SearchInList(AComponent* parent, int16_t editId, int16_t listId, ALineFinder* finder, char prefix);

    void setUpItems() override;
    void detachItems() override;
    void componentDeleted(AComponent* component) override;
    void linkChanged(AComponent* source, const AKindSet& kinds) override;

    virtual void search();
    virtual long findLine(const char* text);
    virtual void showLine(long line);

    // Rows a found line stands below the top: half the rows of height, 10 without a pitch.
    static long rowsAbove(long height, long pitch);

    void setSearchBase(ASearchBase* base, ATablePosition* position, int16_t table) {
        base_ = base;
        position_ = position;
        table_ = table;
    }
    void setIds(int16_t editId, int16_t listId) {
        editId_ = editId;
        listId_ = listId;
    }
    AEditBox* editBox() const { return edit_; }
    ARendererView* listView() const { return list_; }

private:
    void forget(AComponent* component);

    AEditBox* edit_ = nullptr;         // not owned
    ARendererView* list_ = nullptr;    // not owned
    AComponent* enclosing_ = nullptr;  // not owned
    int16_t editId_ = 0;
    int16_t listId_ = 0;
    ALineFinder* finder_ = nullptr;      // not owned
    ASearchBase* base_ = nullptr;        // not owned
    ATablePosition* position_ = nullptr; // not owned
    int16_t table_ = 0;
    char prefix_ = 0;
};
