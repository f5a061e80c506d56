// The links dock's result lists: loading, sorting, the kept selection and clicks.
#include "app/lists/LRExtPane.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "app/lines/ALineSorter.h"
#include "app/lines/SortableLineGetter.h"
#include "app/lists/AListApp.h"
#include "app/state/ABaseState.h"
#include "docengine/render/AListRenderer.h"
#include "docengine/render/ARendererViews.h"
#include "framework/components/ALayoutLoader.h"
#include "search/facade/ALoSimple.h"

SV_IMPLEMENT_CLASS(LRExtPane, 0, LRPane)

namespace {

// The hit kind of a named target of a row.
const long kLinkHit = 3;

}  // namespace

void LRExtPane::readFrom(AMemoryStream& stream) {
    LRPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "layout", 700);
}

void LRExtPane::setUpItems() {
    LRPane::setUpItems();
    dock = CheckAlloc(FindEnclosing<ALinksDock>(this), "layout", 717);
}

void LRExtPane::detachItems() {
    LRPane::detachItems();
    dock = nullptr;
}

void LRExtPane::resetState(long argument) {
    (void)argument;
    selFirst = 0;
    selLast = -2;
}

void LRExtPane::resetSelection(int16_t show) {
    resetState(0);
    ARenderer* renderer = listView ? listView->renderer() : nullptr;
    if (show && renderer && renderer->model())
        renderer->showLine(-2);
}

void LRExtPane::loadList(const char* key) {
    if (!key || !*key || strcmp(key, " ") == 0)
        return;
    setLo(CheckAlloc(new (std::nothrow) ALoSimple(key), "layout", 728));
    SortableLineGetter* getter = AListApp::current().newResultLineGetter(lo);
    setLineGetter(getter);
    if (!getter)
        return;
    auto* sorter = CheckAlloc(new (std::nothrow) AMemLongLineSorter(getter, "NORM", -1, nullptr), "layout", 745);
    getter->setLineMap(sorter);
    sorter->setSortField(0, 0);
    ARenderer* renderer = listView ? listView->renderer() : nullptr;
    if (renderer) {
        renderer->setSourceModel(getter, nullptr);
        AListApp::setRowSpacing(renderer, 15, 5);
        renderer->enableTables('*');
    }
    restoreSelection();
    showSelection();
}

void LRExtPane::restoreSelection() {
    ARightState* right = rightState();
    if (!right)
        return;
    if (right->fNew) {
        selFirst = -1;
        selLast = -2;
        saveState(right);
    } else if (right->fHisto) {
        selFirst = selFirstKey > -1 ? right->fUserInfo.slot(selFirstKey) : 0;
        selLast = selLastKey > -1 ? right->fUserInfo.slot(selLastKey) : 0;
    }
}

void LRExtPane::updatePane() {
    LRPane::updatePane();
    ARenderer* renderer = listView ? listView->renderer() : nullptr;
    if (!renderer || !renderer->model())
        return;
    if (ARightState* right = rightState()) {
        if (right->fClone || right->fHisto) {
            selFirst = selFirstKey > -1 ? right->fUserInfo.slot(selFirstKey) : 0;
            selLast = selLastKey > -1 ? right->fUserInfo.slot(selLastKey) : 0;
        }
    }
    showSelection();
}

void LRExtPane::showSelection() {
    auto* list = dynamic_cast<AListRenderer*>(listView ? listView->renderer() : nullptr);
    if (!list || !list->model())
        return;
    // Selecting without a notice: a restored selection opens no document.
    if (selFirst >= 0)
        list->selectRow(selFirst, 0, 0, -1);
    else
        list->selectLines(-1, 0);
    if (selLast < 0)
        list->showLine(-2);
    listView->invalidate();
}

void LRExtPane::selectionChanged(ARenderer* renderer) {
    ADocumentOpener* opener = FindEnclosing<ADocumentOpener>(this);
    if (!opener || !renderer || renderer->getHitKind() != kLinkHit)
        return;
    AString name = renderer->getHitName();
    if (name.empty())
        return;
    if (dock)
        dock->collapseOthers(this);
    opener->openDocument(atol(name.c_str()));
    queueUpdate(0);
}
