// The rows of an online search by category.
#include "app/lists/LROptionsNetPane.h"

#include <new>
#include <string>

#include "app/lines/StandardLineGetter.h"
#include "app/lists/AListApp.h"
#include "app/results/AClusteredLineGetter.h"
#include "app/results/ANetResultFile.h"
#include "app/results/ASVClusters.h"
#include "app/results/ASVNetSearchLineGetter.h"
#include "app/results/ResultModels.h"
#include "app/state/ABaseState.h"
#include "docengine/model/ALaidOutDocModel.h"
#include "docengine/render/ARendererViews.h"
#include "framework/components/ALayoutLoader.h"

SV_IMPLEMENT_CLASS(LROptionsNetPane, 0, LROptionsAfficherDVDPane)

void LROptionsNetPane::readFrom(AMemoryStream& stream) {
    LROptionsAfficherDVDPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "layout", 1800);
}

ACommand* LROptionsNetPane::doCommand(int16_t id, long argument) {
    if (id != kDisplayCommand)
        return LROptionsAfficherDVDPane::doCommand(id, argument);
    int16_t p = rangePosition(argument);
    if (p < 0 || p > 2 || p == display)
        return noChangeCommand();
    ARenderer* renderer = listRenderer();
    long first = renderer ? renderer->selectionStart() : -1;
    long last = renderer ? renderer->selectionEnd() : -1;
    display = p;
    // The new tree is built closed rather than closed once shown.
    closeTree = true;
    try {
        applyDisplay(1);
    } catch (...) {
        closeTree = false;
        throw;
    }
    closeTree = false;
    AListApp::current().centerListLine(listView, first, last);
    refreshChoices(0);
    return noChangeCommand();
}

void LROptionsNetPane::loadList(const char* key) {
    if (!key || !*key) {
        if (ARenderer* renderer = listRenderer())
            renderer->setModel(nullptr);
        model = nullptr;
        return;
    }
    ANetResult read;
    ANetResultFile::read(AListApp::current().getTempDir(), key, &read);
    categoryLine = read.categoryLine;
    resultText = read.resultText;
    rowCount = read.rowCount;
    createRenderer();
    buildLineGetter();
    configureRenderer(0);
    refreshChoices(0);
    showResultCount(rowCount, 0);
}

void LROptionsNetPane::takeLeftState(ALeftState* left) {
    if (!left) {
        display = 0;
        return;
    }
    optionsOpen = stateValue(left, 1305);
    display = stateValue(left, 1307);
}

void LROptionsNetPane::refreshChoices(int16_t reason) {
    LROptionsAfficherDVDPane::refreshChoices(reason);
    available[0] = available[1] = available[2] = 1;
    updateOptionLabels();
    queueUpdate(0);
}

AString LROptionsNetPane::optionLabel() {
    std::string label = " Afficher par";
    if (display >= 0 && display <= 2)
        label += listText(kDisplayNames, display).c_str();
    return AString(label.c_str());
}

void LROptionsNetPane::createRenderer() {
    AListApp::current().createListRenderer(listView, 1, 3);
}

void LROptionsNetPane::buildLineGetter() {
    ARenderer* renderer = listRenderer();
    if (renderer)
        renderer->setModel(nullptr);
    model = nullptr;
    buildNetModel(renderer);
}

void LROptionsNetPane::buildNetModel(ARenderer* renderer) {
    ARefHold<BufferedLineGetter> raw(
        CheckAlloc(new (std::nothrow) BufferedLineGetter(resultText.c_str(), -1), "layout", 1850));
    ARefHold<ASVClusterNetGetter> info(CheckAlloc(new (std::nothrow) ASVClusterNetGetter(raw.get()), "layout", 1851));
    AString categories = FormatNetCategories(categoryLine.c_str(), &nonEmptyCategories);
    ARefHold<ASVLineClusterer> clusterer(
        CheckAlloc(new (std::nothrow) ASVLineClusterer(categories.c_str()), "layout", 1853));
    ARefHold<ASVNetSearchLineGetter> rows(CheckAlloc(
        new (std::nothrow) ASVNetSearchLineGetter(resultText.c_str(), display != 0 ? 1 : 0), "layout", 1855));
    auto* grouped =
        CheckAlloc(new (std::nothrow) ASVClusteredLineGetter(rows.get(), clusterer.get(), info.get()), "layout", 1857);
    grouped->setFlag(1);
    setLineGetter(grouped);
    singleCategory = nonEmptyCategories == 1 ? 1 : 0;
    model = InstallTree(renderer, grouped, singleCategory != 0 && !closeTree);
}

void LROptionsNetPane::configureRenderer(int16_t select) {
    ARenderer* renderer = listRenderer();
    if (!renderer)
        return;
    AListApp::setRowSpacing(renderer, 15, 5);
    finishRenderer(renderer, select);
}
