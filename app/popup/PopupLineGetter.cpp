// The popup's rows in slash markup, plain or as one-row kytab tables.
#include "app/popup/PopupLineGetter.h"

#include "app/popup/PopupTree.h"

AString PopupLineGetter::rowText(const PopupItem& item, const PopupTreeParams& params, int32_t options, bool kytab) {
    AString cell;
    if ((options & PopupTree::kMarkItems) && item.mark)
        cell += params.markPrefix;
    else
        cell += " ";
    if ((options & PopupTree::kHeadings) && item.kind == 0)
        cell += params.headingPrefix;
    cell += item.label;
    AString row;
    if (kytab) {
        // A first cell across the width, a 15-pixel column for the sub-list marker.
        row += "/&TABLE:100%:N0:[[100,0,0,0,0:0|";
        row += cell;
        row += "*-15,0,0,0,0:0|";
        row += item.leaf ? "    " : "/!5!/";
        row += "]]&/";
    } else {
        row += cell;
    }
    row += "#";
    row += item.key;
    return row;
}

void PopupLineGetter::getLine(AString& out, long row) {
    const APopupItemLongDic* items = popup_ ? popup_->items() : nullptr;
    const PopupItem* item = items ? items->item(row) : nullptr;
    out = item ? rowText(*item, popup_->getParams(), popup_->options(), kytab_ != 0) : AString();
}

long PopupLineGetter::getLineCount() {
    return popup_ ? popup_->getItemCount() : 0;
}
