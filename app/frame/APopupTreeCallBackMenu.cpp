// Entries of the tool-bar menus: their enabling, their mark and the choice.
#include "app/frame/APopupTreeCallBackMenu.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "app/frame/Frame1.h"
#include "base/procedural/AError.h"

APopupTreeCallBackMenu::APopupTreeCallBackMenu(Frame1* frame) : APopupTreeCallBack(frame), frame_(frame) {}

void APopupTreeCallBackMenu::itemChosen(const char*, const char* name, int16_t, PopupTree*) {
    frame_->menuPopupChosen(name);
}

AString APopupTreeCallBackMenu::getItemsText(const char* key, int16_t) {
    return key && *key ? AString() : frame_->menuText(button_);
}

int32_t APopupTreeCallBackMenu::queryB(int32_t, int32_t) {
    return 1;
}

int32_t APopupTreeCallBackMenu::subPopupOptions(const char*, int16_t, int32_t options) {
    return options;
}

long APopupTreeCallBackMenu::lineOfKey(const char* key) {
    const char* colon = key ? std::strchr(key, ':') : nullptr;
    return colon ? std::strtol(colon + 1, nullptr, 10) : 0;
}

PopupItem* APopupTreeCallBackMenu::makeItem(const char* line, int16_t, int16_t) {
    auto* item = CheckAlloc(new (std::nothrow) PopupItem(line, 1, 0), "frame1", __LINE__);
    const long number = lineOfKey(item->key.c_str());
    const int16_t n = int16_t(number > 0 && number < 0x7FFF ? number : 0);
    item->kind = frame_->menuItemEnabled(button_, n) ? 1 : 0;
    item->mark = frame_->menuItemIsCurrent(button_, n) ? 1 : 0;
    return item;
}
