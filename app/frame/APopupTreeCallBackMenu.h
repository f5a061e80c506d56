// The callback of the main window's tool-bar menus: a menu's entries are the
// lines of the button's menu text, each "label#group index:line"; an entry
// that is disabled becomes a heading, the current one is marked, and a
// choice runs the entry's action on the frame.
//
// The frame is not owned: it owns the callback.
#pragma once

#include <cstdint>

#include "app/popup/APopupTreeCallBack.h"

class Frame1;

class APopupTreeCallBackMenu : public APopupTreeCallBack {
public:
    explicit APopupTreeCallBackMenu(Frame1* frame);

    void itemChosen(const char* value, const char* name, int16_t line, PopupTree* top) override;
    // The root list is the button's menu text; entries have no sub-lists.
    AString getItemsText(const char* key, int16_t depth) override;
    int32_t queryB(int32_t a, int32_t b) override;
    int32_t subPopupOptions(const char* key, int16_t depth, int32_t options) override;
    PopupItem* makeItem(const char* line, int16_t depth, int16_t index) override;

    void setButton(int16_t id) { button_ = id; }
    int16_t button() const { return button_; }

    // The line number after the ":" of an entry key; 0 when there is none.
    static long lineOfKey(const char* key);

private:
    Frame1* frame_;  // not owned
    int16_t button_ = 0;
};
