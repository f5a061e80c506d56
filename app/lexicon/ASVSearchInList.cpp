// The application's type-ahead search of index lists, plain and filtered.
#include "app/lexicon/ASVSearchInList.h"

#include "base/object/ASortedArray.h"
#include "base/procedural/AError.h"
#include "docengine/render/AListRenderer.h"
#include "docengine/render/ARenderer.h"
#include "docengine/render/ARendererViews.h"
#include "framework/controls/AEditBox.h"
#include "search/facade/AKeyIndex.h"

SV_IMPLEMENT_CLASS(ASVSearchInList, 0, SearchInList)
SV_IMPLEMENT_CLASS(ASVFilterSearchInList, 0, ASVSearchInList)

ASVSearchInList::ASVSearchInList(AComponent* parent, int16_t editId, int16_t listId, AKeyIndex* index, char prefix)
    : SearchInList(parent, editId, listId, nullptr, prefix), index_(index) {}

void ASVSearchInList::search() {
    findFieldText();
}

long ASVSearchInList::findFieldText() {
    if (!editBox() || !listView())
        ThrowAssert("appclass", __LINE__);
    AString text = editBox()->getText();
    long row = rowOfEntry(entryOfText(text.c_str()));
    ARenderer* renderer = listView()->renderer();
    if (!renderer)
        ThrowAssert("appclass", __LINE__);
    auto* list = dynamic_cast<AListRenderer*>(renderer);
    long rows = list && list->model() ? list->model()->getLength() : -1;
    if (rows >= 0 && (row < 0 || row >= rows))
        row = rows - 1;
    if (list && row >= 0)
        list->selectRow(row, 0, 0, -1);
    scrollToLine(renderer, row - kRowsAbove, kRowsAbove);
    return row;
}

long ASVSearchInList::entryOfText(const char* text) {
    return index_ ? index_->find(text, nullptr) : 0;
}

void ASVSearchInList::scrollToLine(ARenderer* renderer, long top, long prepare) {
    (void)prepare;
    renderer->scrollToPosition(top > 0 ? top : 0);
}

ASVFilterSearchInList::ASVFilterSearchInList(AComponent* parent, ASortedArray* filter, int16_t editId,
                                             int16_t listId, AKeyIndex* index, char prefix)
    : ASVSearchInList(parent, editId, listId, index, prefix), filter_(filter) {}

long ASVFilterSearchInList::rowOfEntry(long entry) {
    return filter_ ? filter_->lowerBound(static_cast<int32_t>(entry)) : entry;
}
