// How a popup tree learns what its lists hold and tells what was chosen.
// The defaults read a list as lines "label#key", one item per line; the
// sub-list of an item is the list whose parent key is the item's key.
//
// Shared (ARefObj): every holder, the owner included, holds a reference;
// popups keep plain pointers, so the owner keeps the callback until its
// popups are gone, and a queued choice holds its own. The owner is not owned. Item
// dictionaries handed out belong to the caller. A missing list or item in
// the string queries raises the assertion.
#pragma once

#include <cstdint>

#include "app/popup/PopupItem.h"
#include "base/object/ARefObj.h"
#include "base/object/AString.h"

class AComponent;
class PopupTree;

class APopupTreeCallBack : public ARefObj {
public:
    explicit APopupTreeCallBack(AComponent* owner) : owner_(owner) {}
    ~APopupTreeCallBack() override = default;

    // The reader chose a row. Runs from the command queue once the popup
    // chain is gone (APopupChoiceCmd), so top is null there.
    virtual void itemChosen(const char* value, const char* name, int16_t line, PopupTree* top);
    virtual int32_t queryA(int32_t a, int32_t b);
    // Called just before itemChosen.
    virtual void beforeChoose(int32_t line, int16_t depth, int32_t zero);
    // The list under a parent key (the root list has the empty key), lines separated by line breaks.
    virtual AString getItemsText(const char* key, int16_t depth);
    virtual int32_t queryB(int32_t a, int32_t b);
    // One item per line in order, or null when the text has no line.
    virtual APopupItemLongDic* makeItems(const char* text, int16_t depth);
    // The options of a sub-popup at depth; -1: the popup's own options.
    virtual int32_t subPopupOptions(const char* key, int16_t depth, int32_t options);
    // A new item for a line, or null to skip the line.
    virtual PopupItem* makeItem(const char* line, int16_t depth, int16_t index);
    // Item n of the list under key: its label when which is 1, else its key.
    virtual AString getItemString(int16_t n, int16_t which, const char* key);
    // Sub-item b of root item a: its label when which is 1, else its key.
    virtual AString getSubItemString(int16_t a, int16_t b, int16_t which);

    // makeItems of getItemsText, at the same depth.
    APopupItemLongDic* getItems(const char* key, int16_t depth);
    AComponent* owner() const { return owner_; }

private:
    AComponent* owner_;  // not owned
};
