// The item list that list boxes, combo boxes and popup menus share: item
// texts with an optional data string each ("text#data", lines separated by
// CR LF, '\' escaping the next character), and the item operations each
// control implements on its own widget.
//
// Data strings are owned, filed by item index, and move with their items on
// insert and remove. Searches never leave the text they are given. A string
// list id without its resource and an insert landing elsewhere than asked
// are assertions ("fcontrol"). Out-of-range indices are not errors.
#pragma once

#include <cstdint>
#include <map>

#include "base/object/AString.h"

class AMemoryStream;

class AListItems {
public:
    AListItems() = default;
    explicit AListItems(uint16_t stringList) : stringList_(stringList) {}
    virtual ~AListItems() = default;
    AListItems(const AListItems&) = delete;
    AListItems& operator=(const AListItems&) = delete;

    // The LF of the first CR LF in [p, end), else end.
    virtual const char* findLineEnd(const char* p, const char* end);
    // Just after the first unescaped '#' in [p, end), else null.
    virtual const char* findDataMark(const char* p, const char* end);
    // Here: drops the item's data string and moves the later ones down; the new count.
    virtual int removeItem(int16_t index);
    virtual void removeAll() { data_.clear(); }
    virtual void selectItem(int16_t index) = 0;
    virtual int16_t countItems() = 0;
    virtual int16_t selectedIndex() = 0;
    virtual int findItem(const char* text, int16_t start, int16_t flag) = 0;
    virtual AString getItemText(int16_t index) = 0;
    virtual int insertItem(const char* text, int16_t index) = 0;
    virtual int addItem(const char* text) = 0;

    // Record: string list id u16.
    void readFrom(AMemoryStream& stream);
    // The items of text, appended (index < 0) or inserted from index on; how many.
    int addItemsFromText(const char* text, int16_t index);
    void appendItemsFromText(const char* text) { addItemsFromText(text, -1); }
    AString selectedText() { return getItemText(selectedIndex()); }
    // The item's data string; empty out of range or without one.
    AString itemData(int16_t index);
    bool hasData(int16_t index) const { return data_.count(index) != 0; }
    void loadItemsFromResource();
    uint16_t stringList() const { return stringList_; }
    void setStringList(uint16_t id) { stringList_ = id; }
    size_t dataCount() const { return data_.size(); }

private:
    std::map<long, AString> data_;  // item index -> data string
    uint16_t stringList_ = 0;
};
