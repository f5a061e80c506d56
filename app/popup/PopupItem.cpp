// Popup items made from list lines or parts, and their numbering dictionary.
#include "app/popup/PopupItem.h"

#include <cstring>

PopupItem::PopupItem(const char* line, int16_t itemKind, int16_t itemMark)
    : text(line ? line : ""), mark(itemMark), kind(itemKind) {
    // Field 0 up to the first '#', field 1 up to the next one.
    const char* p = text.c_str();
    const char* hash = std::strchr(p, '#');
    if (!hash) {
        label = text;
        return;
    }
    label = AString(p, long(hash - p));
    const char* keyStart = hash + 1;
    const char* keyEnd = std::strchr(keyStart, '#');
    key = keyEnd ? AString(keyStart, long(keyEnd - keyStart)) : AString(keyStart);
}

PopupItem::PopupItem(const char* itemLabel, const char* itemKey, int16_t itemKind, int16_t itemMark)
    : label(itemLabel ? itemLabel : ""), key(itemKey ? itemKey : ""), mark(itemMark), kind(itemKind) {
    text = label;
    text += "#";
    text += key;
}

APopupItemLongDic::~APopupItemLongDic() {
    clear();
}

void APopupItemLongDic::add(PopupItem* item) {
    slot(count()) = item;
}

PopupItem* APopupItemLongDic::item(long n) const {
    Pix p = seek(n);
    return p ? static_cast<PopupItem*>(contentsOf(p)) : nullptr;
}

void APopupItemLongDic::clear() {
    for (Pix p = first(); p; next(p))
        delete static_cast<PopupItem*>(contentsOf(p));
    longa_pvoidAVLMap::clear();
}
