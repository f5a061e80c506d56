// Entries of the tool-bar menus: their enabling, their mark and the choice.
#include "app/frame/APopupTreeCallBackMenu.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "app/frame/Frame1.h"
#include "base/object/AError.h"
#include "framework/components/ACommand.h"

namespace {

// The chosen entry's action, run from the command queue: the popup that was
// chosen from is still on the stack when the callback runs, and an action
// with a loop of its own (a dialog) would run the popup's queued deletion
// under it.
class AMenuChoiceCmd : public ACommand {
public:
    AMenuChoiceCmd(Frame1* frame, const char* key) : ACommand(frame, 0, 1), frame_(frame), key_(key ? key : "") {}
    void execute() override { frame_->menuPopupChosen(key_.c_str()); }

private:
    Frame1* frame_;  // not owned: the queue drops the command when the frame goes
    AString key_;
};

}  // namespace

APopupTreeCallBackMenu::APopupTreeCallBackMenu(Frame1* frame) : APopupTreeCallBack(frame), frame_(frame) {}

void APopupTreeCallBackMenu::itemChosen(const char*, const char* name, int16_t, PopupTree*) {
    frame_->perform(CheckAlloc(new (std::nothrow) AMenuChoiceCmd(frame_, name), "frame1", __LINE__));
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
