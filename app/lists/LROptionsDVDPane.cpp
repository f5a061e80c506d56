// Display, sort and filter choices of a disc result list.
#include "app/lists/LROptionsDVDPane.h"

#include <new>
#include <string>

#include "app/data/ADataManager.h"
#include "app/lines/ALineSorter.h"
#include "app/lists/AListApp.h"
#include "app/lists/StandardBitmapSupplier.h"
#include "app/results/AClusteredLineGetter.h"
#include "app/results/ASVClusters.h"
#include "app/results/ASVResultLineGetter.h"
#include "app/results/ResultModels.h"
#include "app/state/ABaseState.h"
#include "docengine/render/ARendererViews.h"
#include "framework/components/AKindSet.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/controls/AIconButton.h"
#include "search/facade/ALo.h"

SV_IMPLEMENT_CLASS(LROptionsDVDPane, 0, LROptionsAfficherDVDPane)

namespace {

// The item of string list 1209 that names each sort choice.
const int16_t kSortNameItem[3] = {2, 0, 1};
const long kHoverNotice = 3;

}  // namespace

void LROptionsDVDPane::readFrom(AMemoryStream& stream) {
    LROptionsAfficherDVDPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "layout", 1600);
}

void LROptionsDVDPane::setUpItems() {
    LROptionsAfficherDVDPane::setUpItems();
    for (int16_t k = 0; k < kFilterCount; ++k) {
        AIconButton* button = optionalButton(static_cast<int16_t>(kFirstFilterButton + k), 1620);
        if (!button)
            continue;
        button->addLink(this);
        button->setHoverNotify(true);
        button->setText(listText(kFilterNames, k).c_str());
    }
    for (int16_t c = 0; c < 3; ++c)
        if (AIconButton* button = optionalButton(static_cast<int16_t>(kFirstSortButton + c), 1630))
            button->setText(listText(kSortNames, kSortNameItem[c]).c_str());
}

void LROptionsDVDPane::detachItems() {
    LROptionsAfficherDVDPane::detachItems();
    ReleaseAndNull(sorter);
    releaseFilterLists();
}

void LROptionsDVDPane::bindActions() {
    LROptionsAfficherDVDPane::bindActions();
    addActionRange(kSortCommand, this, kFirstSortButton, kFirstSortButton + 2, nullptr);
    addActionRange(kFilterCommand, this, kFirstFilterButton, kFirstFilterButton + kFilterCount - 1, nullptr);
}

ACommand* LROptionsDVDPane::doCommand(int16_t id, long argument) {
    int16_t* choice = id == kDisplayCommand  ? &display
                      : id == kSortCommand   ? &sort
                      : id == kFilterCommand ? &filter
                                             : nullptr;
    if (!choice)
        return LROptionsAfficherDVDPane::doCommand(id, argument);
    int16_t p = rangePosition(argument);
    int16_t last = id == kFilterCommand ? kFilterCount - 1 : 2;
    if (p >= 0 && p <= last && p != *choice) {
        *choice = p;
        applyDisplay(id == kDisplayCommand ? 1 : id == kSortCommand ? 2 : 3);
        // A choice may have moved the filter: the count line follows the rows shown.
        if (filterListsReady)
            showResultCount(filterCount(filter), 0);
    }
    return noChangeCommand();
}

int16_t LROptionsDVDPane::choiceStatus(int16_t p, int16_t choices, const int16_t* availability, int16_t current) {
    if (p < 0 || p >= choices || !availability[p])
        return 2;
    return p == current ? 5 : 1;
}

int16_t LROptionsDVDPane::commandStatus(int16_t id, long argument) {
    if (id == kSortCommand)
        return choiceStatus(rangePosition(argument), 3, sortAvailable, sort);
    if (id == kFilterCommand)
        return choiceStatus(rangePosition(argument), kFilterCount, filterAvailable, filter);
    return LROptionsAfficherDVDPane::commandStatus(id, argument);
}

long LROptionsDVDPane::filterCount(int16_t k) const {
    ALo* list = filterList(k);
    return list ? list->getCount() : 0;
}

void LROptionsDVDPane::linkChanged(AComponent* source, const AKindSet& kinds) {
    LROptionsAfficherDVDPane::linkChanged(source, kinds);
    if (!kinds.contains(kHoverNotice) || !filterListsReady || !source)
        return;
    int16_t k = static_cast<int16_t>(source->id() - kFirstFilterButton);
    auto* button = dynamic_cast<AIconButton*>(source);
    if (!button || k < 0 || k >= kFilterCount)
        return;
    if (button->rollover())
        showResultCount(filterCount(k), 1);
    else
        showResultCount(filterCount(filter), 0);
}

void LROptionsDVDPane::releaseFilterLists() {
    for (ALo*& list : filterLists)
        ReleaseAndNull(list);
    filterListsReady = 0;
}

void LROptionsDVDPane::computeFilterLists() {
    releaseFilterLists();
    AssignRef(filterLists[0], lo);
    for (int16_t k = 1; k < kFilterCount; ++k) {
        ALo* category = AListApp::current().getCategoryList(k);
        if (lo && category)
            AssignRef(filterLists[k], lo->intersect(category));
    }
    filterListsReady = 1;
}

void LROptionsDVDPane::loadList(const char* key) {
    filterListsReady = 0;
    if (!IsSetNumberText(key) || !runQuery(key)) {
        if (ARenderer* renderer = listRenderer())
            renderer->setModel(nullptr);
        showResultCount(0, 0);
        queueUpdate(0);
        return;
    }
    computeFilterLists();
    createRenderer();
    buildLineGetter();
    configureRenderer(0);
    showResultCount(filterCount(filter), 0);
    refreshChoices(0);
}

void LROptionsDVDPane::takeLeftState(ALeftState* left) {
    if (!left) {
        display = 0;
        sort = 1;
        filter = 0;
        return;
    }
    optionsOpen = stateValue(left, 1300);
    display = stateValue(left, 1302);
    sort = stateValue(left, 1303);
    filter = stateValue(left, 1301);
}

void LROptionsDVDPane::refreshChoices(int16_t reason) {
    LROptionsAfficherDVDPane::refreshChoices(0);
    for (int16_t k = 0; k < kFilterCount; ++k)
        filterAvailable[k] = filterCount(k) > 0 ? 1 : 0;
    if (!filterAvailable[2])
        available[2] = 0;
    if (reason == 1) {
        if (display == 0 && filterAvailable[0])
            filter = 0;
        else if (display == 2 && filterAvailable[2])
            filter = 2;
        else if (display == 1 && filterAvailable[1])
            filter = 1;
    } else if (reason == 3 && display == 2 && !isThumbnailFilter(filter)) {
        display = 0;
    }
    sortAvailable[0] = sortAvailable[1] = sortAvailable[2] = 1;
    if (display == 2 || (filter != 0 && filter != 1))
        sortAvailable[2] = 0;
    if (sort == 2 && !sortAvailable[2])
        sort = 1;
    updateOptionLabels();
    queueUpdate(0);
}

AString LROptionsDVDPane::optionLabel() {
    auto name = [](int16_t list, int16_t item, int16_t items) {
        return item >= 0 && item < items ? std::string(listText(list, item).c_str()) : std::string();
    };
    std::string label = " Afficher par" + name(kDisplayNames, display, 3);
    label += "\n Classer par" + (sort >= 0 && sort <= 2 ? name(kSortNames, kSortNameItem[sort], 3) : std::string());
    label += "\n Filtrer par" + name(kFilterNames, filter, kFilterCount);
    return AString(label.c_str());
}

void LROptionsDVDPane::buildLineGetter() {
    ARenderer* renderer = listRenderer();
    if (renderer)
        renderer->setModel(nullptr);
    ReleaseAndNull(sorter);
    ALo* list = filterList(filter);
    // A state may bring back a filter this result has no rows for: no rows, no sorter.
    if (!list || list->getCount() == 0) {
        setLineGetter(nullptr);
        return;
    }
    ASearchBase* base = gDataManager ? gDataManager->getBase(kDocumentBase) : nullptr;
    if (!base)
        ThrowAssert("layout", 1700);
    if (sort == 2) {
        buildTreeModel(renderer, list);
        return;
    }
    SortableLineGetter* getter = nullptr;
    if (display == 1)
        getter = new (std::nothrow) ASVResumeLineGetter(base, nullptr, list, fromSearch, base, 2, base, 4);
    else if (display == 2)
        getter = new (std::nothrow) ASVTileLineGetter(base, nullptr, list, fromSearch, base, 2, base, 4);
    else
        getter = new (std::nothrow) ASVResultLineGetter(base, nullptr, list, fromSearch, base, 2, base, 4, base, 3);
    CheckAlloc(getter, "layout", 1710);
    setLineGetter(getter);
    if (display == 2 && !bitmapSupplier)
        ThrowAssert("layout", 1715);
    const bool scored = fromSearch != 0;
    sorter = CheckAlloc(new (std::nothrow)
                            AMemLongLineSorter(getter, scored ? "NORM,INV" : "NORM,NORM", scored ? -1 : 1, nullptr),
                        "layout", 1720);
    sorter->addRef();
    getter->setLineMap(sorter);
    sorter->setSortField(sort == 1 ? 1 : 0, 0);
    if (renderer)
        InstallRows(renderer, getter, display == 2 ? bitmapSupplier : nullptr);
}

void LROptionsDVDPane::buildTreeModel(ARenderer* renderer, ALo* list) {
    ASearchBase* base = gDataManager ? gDataManager->getBase(kDocumentBase) : nullptr;
    if (!base)
        ThrowAssert("layout", 1740);
    auto* rows = CheckAlloc(new (std::nothrow) ASVResultLineGetter(base, nullptr, list, 0, base, 2, base, 4, base, 3),
                            "layout", 1742);
    ARefHold<ASVResultLineGetter> held(rows);
    auto* byTitle = CheckAlloc(new (std::nothrow) AMemLongLineSorter(rows, "NORM", -1, nullptr), "layout", 1745);
    rows->setLineMap(byTitle);
    byTitle->setSortField(0, 0);
    AListApp& app = AListApp::current();
    ARefHold<ASVClusterInfoGetter> info(
        CheckAlloc(new (std::nothrow) ASVClusterInfoGetter(rows, app.getClusterIDProvider()), "layout", 1750));
    auto* grouped = CheckAlloc(new (std::nothrow) ASVClusteredLineGetter(rows, app.getThemeClusterer(), info.get()),
                               "layout", 1752);
    grouped->setFlag(0);
    setLineGetter(grouped);
    InstallTree(renderer, grouped);
}
