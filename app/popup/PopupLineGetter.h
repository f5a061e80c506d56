// The rows of a popup drawn from its own items: the cell (mark or blank,
// heading prefix, label), optionally in a one-row kytab table whose second
// column shows the sub-list marker, then "#" and the key.
//
// Shared (ARefObj); the popup and the callback are not owned: the popup
// drops its renderer's model, and so this getter, before it goes.
#pragma once

#include <cstdint>

#include "app/popup/PopupItem.h"
#include "app/popup/PopupTreeParams.h"
#include "docengine/text/AReader.h"

class APopupTreeCallBack;
class PopupTree;

class PopupLineGetter : public ALineGetter {
public:
    PopupLineGetter(PopupTree* popup, int16_t depth, int16_t kytab, APopupTreeCallBack* callBack)
        : popup_(popup), depth_(depth), kytab_(kytab), callBack_(callBack) {}

    // Row n of the popup's items; the empty row past them.
    void getLine(AString& out, long row) override;
    long getLineCount() override;

    // The row of an item under a popup's look and options.
    static AString rowText(const PopupItem& item, const PopupTreeParams& params, int32_t options, bool kytab);

    int16_t depth() const { return depth_; }
    int16_t kytab() const { return kytab_; }

private:
    PopupTree* popup_;  // not owned
    int16_t depth_;
    int16_t kytab_;
    APopupTreeCallBack* callBack_;  // not owned
};
