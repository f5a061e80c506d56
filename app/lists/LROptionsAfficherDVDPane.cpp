// The display choice of a disc result list.
#include "app/lists/LROptionsAfficherDVDPane.h"

#include <cstdlib>
#include <new>
#include <string>

#include "app/data/ADataManager.h"
#include "app/lists/AListApp.h"
#include "app/lists/StandardBitmapSupplier.h"
#include "app/results/AClusteredLineGetter.h"
#include "app/results/ASVClusters.h"
#include "app/results/ASVResultLineGetter.h"
#include "app/results/ResultModels.h"
#include "app/state/ABaseState.h"
#include "base/object/InputRecords.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/render/ATileRenderer.h"
#include "framework/app/AppServices.h"
#include "framework/components/AActionTable.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/controls/AIconButton.h"
#include "search/facade/ALo.h"

SV_IMPLEMENT_CLASS(LROptionsAfficherDVDPane, 0, LROptionsPane)

namespace {

const long kTileSize = 92;

ASearchBase* NeedBase(int16_t index, long line) {
    ASearchBase* base = gDataManager ? gDataManager->getBase(index) : nullptr;
    if (!base)
        ThrowAssert("layout", line);
    return base;
}

}  // namespace

void LROptionsAfficherDVDPane::readFrom(AMemoryStream& stream) {
    LROptionsPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "layout", 1250);
}

AString LROptionsAfficherDVDPane::listText(int16_t list, int16_t index) {
    AString text;
    return GetListString(text, static_cast<uint16_t>(list), index);
}

AIconButton* LROptionsAfficherDVDPane::optionalButton(int16_t id, long line) {
    AClusterItem* item = findItem(id, false);
    if (!item)
        return nullptr;
    return CheckAlloc(static_cast<AIconButton*>(item->castTo(&AIconButton::classRecord)), "layout", line);
}

ARenderer* LROptionsAfficherDVDPane::listRenderer() const {
    return listView ? listView->renderer() : nullptr;
}

void LROptionsAfficherDVDPane::replaceBitmapSupplier() {
    ASearchBase* base = NeedBase(kThumbnailBase, 1274);
    auto* supplier = CheckAlloc(new (std::nothrow) ASVVigBitmapSupplier(base, kThumbnailTable), "layout", 1279);
    supplier->addRef();
    ReleaseAndNull(bitmapSupplier);
    bitmapSupplier = supplier;
}

void LROptionsAfficherDVDPane::setUpItems() {
    LROptionsPane::setUpItems();
    for (int16_t id = kFirstDisplayButton; id < kFirstDisplayButton + 3; ++id)
        if (AIconButton* button = optionalButton(id, 1266))
            button->setText(listText(kDisplayNames, static_cast<int16_t>(id - kFirstDisplayButton)).c_str());
    replaceBitmapSupplier();
}

void LROptionsAfficherDVDPane::detachItems() {
    LROptionsPane::detachItems();
    ReleaseAndNull(bitmapSupplier);
}

void LROptionsAfficherDVDPane::bindActions() {
    LROptionsPane::bindActions();
    addActionRange(kDisplayCommand, this, kFirstDisplayButton, kFirstDisplayButton + 2, nullptr);
}

int16_t LROptionsAfficherDVDPane::rangePosition(long argument) {
    AActionRecord* record = ActionRecordOf(argument);
    return record ? record->f3 : -1;
}

ACommand* LROptionsAfficherDVDPane::doCommand(int16_t id, long argument) {
    if (id != kDisplayCommand)
        return LROptionsPane::doCommand(id, argument);
    int16_t p = rangePosition(argument);
    if (p >= 0 && p <= 2 && p != display) {
        display = p;
        applyDisplay(1);
    }
    return noChangeCommand();
}

int16_t LROptionsAfficherDVDPane::commandStatus(int16_t id, long argument) {
    if (id != kDisplayCommand)
        return LROptionsPane::commandStatus(id, argument);
    int16_t p = rangePosition(argument);
    if (p < 0 || p > 2 || !available[p])
        return 2;
    return p == display ? 5 : 1;
}

int16_t LROptionsAfficherDVDPane::isThumbnailFilter(int16_t filter) {
    return filter >= 2 && filter <= 5 ? 1 : 0;
}

AString LROptionsAfficherDVDPane::optionLabel() {
    std::string label = "Afficher par";
    if (display >= 0 && display <= 2)
        label += listText(kDisplayNames, display).c_str();
    return AString(label.c_str());
}

void LROptionsAfficherDVDPane::refreshChoices(int16_t reason) {
    (void)reason;
    available[0] = available[1] = available[2] = 1;
    int16_t hasExpression = 0;
    AListApp::current().getHighlightQuery(&hasExpression);
    if (!fromSearch || !hasExpression)
        available[1] = 0;
    updateOptionLabels();
    queueUpdate(0);
}

void LROptionsAfficherDVDPane::applyDisplay(int16_t reason) {
    refreshChoices(reason);
    createRenderer();
    buildLineGetter();
    configureRenderer(1);
}

void LROptionsAfficherDVDPane::createRenderer() {
    if (display == 2)
        AListApp::current().createTileRenderer(listView, 3);
    else
        AListApp::current().createListRenderer(listView, 1, 3);
}

void LROptionsAfficherDVDPane::buildLineGetter() {
    ARenderer* renderer = listRenderer();
    if (renderer)
        renderer->setModel(nullptr);
    if (!lo)
        ThrowAssert("layout", 1405);
    ASearchBase* base = NeedBase(kDocumentBase, 1406);
    SortableLineGetter* getter = nullptr;
    if (display == 0)
        getter = new (std::nothrow) ASVResultLineGetter(base, nullptr, lo, 0, base, 2, base, 4, nullptr, -1);
    else if (display == 1)
        getter = new (std::nothrow) ASVResumeLineGetter(base, nullptr, lo, 0, base, 2, base, 4);
    else if (display == 2)
        getter = new (std::nothrow) ASVTileLineGetter(base, nullptr, lo, 0, base, 2, base, 4);
    if (display >= 0 && display <= 2)
        CheckAlloc(getter, "layout", 1416 + 8 * display);
    if (display == 2 && !bitmapSupplier)
        ThrowAssert("layout", 1434);
    setLineGetter(getter);
    if (getter && renderer)
        InstallRows(renderer, getter, display == 2 ? bitmapSupplier : nullptr);
}

void LROptionsAfficherDVDPane::configureRenderer(int16_t select) {
    ARenderer* renderer = listRenderer();
    if (!renderer)
        return;
    if (auto* tiles = dynamic_cast<ATileRenderer*>(renderer); tiles && display == 2) {
        tiles->setTiles(static_cast<int16_t>(lineGetter ? lineGetter->getLineCount() : 0), kTileSize);
        tiles->fixedColumns = 0;
        tiles->relayoutFrom(0, false);
    } else {
        AListApp::setRowSpacing(renderer, 15, 5);
    }
    finishRenderer(renderer, select);
}

void LROptionsAfficherDVDPane::finishRenderer(ARenderer* renderer, int16_t select) {
    // An empty result builds no model: there is nothing to parse tables in.
    if (renderer->model())
        renderer->enableTables('*');
    if (select) {
        renderer->selectLines(-1, 0);
        renderer->scrollToPosition(0);
        if (renderer->view())
            renderer->view()->invalidate();
    }
}

int16_t LROptionsAfficherDVDPane::stateValue(ABaseState* state, long key) {
    return state->fUserInfo.contains(key) ? static_cast<int16_t>(state->fUserInfo.slot(key)) : 0;
}

void LROptionsAfficherDVDPane::loadList(const char* key) {
    if (IsSetNumberText(key) && runQuery(key)) {
        createRenderer();
        buildLineGetter();
        configureRenderer(0);
        refreshChoices(0);
        showResultCount(lo ? lo->getCount() : 0, 0);
        return;
    }
    if (ARenderer* renderer = listRenderer())
        renderer->setModel(nullptr);
}

void LROptionsAfficherDVDPane::takeLeftState(ALeftState* left) {
    if (!left) {
        display = 0;
        return;
    }
    optionsOpen = stateValue(left, 1300);
    display = stateValue(left, 1302);
}

void LROptionsAfficherDVDPane::buildTreeModel(ARenderer* renderer, ALo* list) {
    ASearchBase* base = NeedBase(kDocumentBase, 1463);
    if (!lo)
        ThrowAssert("layout", 1470);
    ARefHold<ASVResultLineGetter> rows(CheckAlloc(
        new (std::nothrow) ASVResultLineGetter(base, nullptr, list, 0, base, 2, base, 4, base, 3), "layout", 1463));
    AListApp& app = AListApp::current();
    ARefHold<ASVClusterInfoGetter> info(
        CheckAlloc(new (std::nothrow) ASVClusterInfoGetter(lo, app.getClusterIDProvider()), "layout", 1473));
    auto* grouped = CheckAlloc(
        new (std::nothrow) ASVClusteredLineGetter(rows.get(), app.getThemeClusterer(), info.get()), "layout", 1476);
    grouped->setFlag(0);
    setLineGetter(grouped);
    InstallTree(renderer, grouped);
}

long LROptionsAfficherDVDPane::docOfRow(long row) {
    AString key = getLineKey(row);
    return key.empty() ? -1 : std::atol(key.c_str());
}
