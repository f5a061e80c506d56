// The items of a popup list: a label and a key (the key also names the
// item's sub-list), and the dictionary that numbers them in the order added.
//
// The dictionary owns its items: clearing or destroying it deletes them.
#pragma once

#include <cstdint>

#include "base/object/ALongDic.h"
#include "base/object/AString.h"

struct PopupItem {
    // From a list line "label#key"; a missing part gives the empty text.
    PopupItem(const char* line, int16_t itemKind, int16_t itemMark);
    // From its parts: the text becomes label + "#" + key.
    PopupItem(const char* itemLabel, const char* itemKey, int16_t itemKind, int16_t itemMark);

    AString text;
    AString label;
    AString key;
    int16_t mark;
    int16_t kind;      // 0: a heading under option 0x2000
    int16_t leaf = 1;  // 0: the item opens a sub-list
};

class APopupItemLongDic : public longa_pvoidAVLMap {
public:
    APopupItemLongDic() = default;
    APopupItemLongDic(const APopupItemLongDic&) = delete;
    APopupItemLongDic& operator=(const APopupItemLongDic&) = delete;
    ~APopupItemLongDic() override;

    // Takes the item, numbered with the current count (0, 1, 2 ...).
    void add(PopupItem* item);
    // The item numbered n, or null.
    PopupItem* item(long n) const;
    void clear() override;
};
