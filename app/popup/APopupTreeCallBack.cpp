// The default popup callback: lists are texts of "label#key" lines.
#include "app/popup/APopupTreeCallBack.h"

#include <memory>
#include <new>

#include "base/object/AStringList.h"
#include "base/procedural/AError.h"

void APopupTreeCallBack::itemChosen(const char*, const char*, int16_t, PopupTree*) {}

int32_t APopupTreeCallBack::queryA(int32_t, int32_t) {
    return 1;
}

void APopupTreeCallBack::beforeChoose(int32_t, int16_t, int32_t) {}

AString APopupTreeCallBack::getItemsText(const char*, int16_t) {
    return AString();
}

int32_t APopupTreeCallBack::queryB(int32_t, int32_t) {
    return 1;
}

APopupItemLongDic* APopupTreeCallBack::makeItems(const char* text, int16_t depth) {
    auto* lines = CheckAlloc(new (std::nothrow) AStringList(text ? text : "", "\n\r"), "upopup", __LINE__);
    lines->addRef();
    std::unique_ptr<AStringList, void (*)(AStringList*)> hold(lines, [](AStringList* l) { l->release(); });
    // "\r\n" and a closing line break make empty items: they are no lines.
    short nonEmpty = 0;
    for (short i = 0; i < lines->count(); ++i)
        nonEmpty += lines->at(i)[0] ? 1 : 0;
    if (nonEmpty == 0)
        return nullptr;
    auto* items = CheckAlloc(new (std::nothrow) APopupItemLongDic(), "upopup", __LINE__);
    std::unique_ptr<APopupItemLongDic> owned(items);
    for (short i = 0; i < lines->count(); ++i) {
        if (!lines->at(i)[0])
            continue;
        if (PopupItem* item = makeItem(lines->at(i), depth, int16_t(items->count())))
            items->add(item);
    }
    return owned.release();
}

int32_t APopupTreeCallBack::subPopupOptions(const char*, int16_t depth, int32_t options) {
    if (depth == 0)
        return options;
    // Centred on the clicked row; one that opens upward keeps its top at the row's top.
    if (options & 0x200)
        return (options & ~0xFF) | 0x21;
    return (options & ~0xF) | 0x1;
}

PopupItem* APopupTreeCallBack::makeItem(const char* line, int16_t, int16_t) {
    return CheckAlloc(new (std::nothrow) PopupItem(line, 1, 0), "upopup", __LINE__);
}

APopupItemLongDic* APopupTreeCallBack::getItems(const char* key, int16_t depth) {
    return makeItems(getItemsText(key, depth).c_str(), depth);
}

AString APopupTreeCallBack::getItemString(int16_t n, int16_t which, const char* key) {
    std::unique_ptr<APopupItemLongDic> items(getItems(key, 0));
    if (!items)
        ThrowAssert("upopup", __LINE__);
    PopupItem* item = items->item(n);
    if (!item)
        ThrowAssert("upopup", __LINE__);
    return which == 1 ? item->label : item->key;
}

AString APopupTreeCallBack::getSubItemString(int16_t a, int16_t b, int16_t which) {
    std::unique_ptr<APopupItemLongDic> root(getItems("", 0));
    if (!root)
        return AString();
    PopupItem* parent = root->item(a);
    if (!parent)
        ThrowAssert("upopup", __LINE__);
    if (parent->leaf)
        return AString();
    std::unique_ptr<APopupItemLongDic> sub(getItems(parent->key.c_str(), 1));
    if (!sub)
        return parent->key;
    PopupItem* item = sub->item(b);
    if (!item)
        ThrowAssert("upopup", __LINE__);
    return which == 1 ? item->label : item->key;
}
