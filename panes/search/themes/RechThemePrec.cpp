// The theme tree: loading it, the path of the clicked theme, the path buttons.
#include "panes/search/themes/RechThemePrec.h"

#include <cstdlib>
#include <new>
#include <string>

#include "app/data/ADataManager.h"
#include "app/lines/ASVThemeLineGetter.h"
#include "app/lines/StandardLineGetter.h"
#include "app/lists/AListApp.h"
#include "app/lists/LRExtPane.h"
#include "app/results/ResultModels.h"
#include "app/state/APrevNextState.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "docengine/model/ALaidOutDocModel.h"
#include "docengine/render/ARenderer.h"
#include "docengine/render/ARendererViews.h"
#include "framework/components/AKindSet.h"
#include "framework/components/ALayoutLoader.h"
#include "panes/search/left/ListSelection.h"
#include "panes/content/article/DockLCRPane.h"
#include "panes/search/themes/DockLeftThemePane.h"
#include "search/facade/ASearchBase.h"

SV_IMPLEMENT_CLASS(RechThemePrec, 0, ListPane)

namespace {

const char kFile[] = "RechThemePrec";

}  // namespace

RechThemePrec::RechThemePrec() {
    selFirstKey = 1020;
    selLastKey = 1021;
}

RechThemePrec::~RechThemePrec() {
    delete pathState;
    ReleaseAndNull(themeGetter);
    ReleaseAndNull(treeModel);
    ReleaseAndNull(themeSource);
}

void RechThemePrec::readFrom(AMemoryStream& stream) {
    ListPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, kFile, 40);
}

void RechThemePrec::attachItems() {
    ListPane::attachItems();
    frame = CheckAlloc(getFrame(), kFile, 55);
    lcr = FindEnclosing<DockLCRPane>(this);
    themePane = CheckAlloc(FindEnclosing<DockLeftThemePane>(this), kFile, 57);
}

void RechThemePrec::setUpItems() {
    ListPane::setUpItems();
    pathView = CheckAlloc(itemAs<ARendererView>(kPathView), kFile, 81);
    pathView->setMouseSensitive(0);
    pathView->addLink(this);
    if (!AListApp::current().createListRenderer(pathView, 0, 3))
        ThrowAssert(kFile, 87);
}

void RechThemePrec::detachItems() {
    ListPane::detachItems();
    delete pathState;
    pathState = nullptr;
    ReleaseAndNull(themeGetter);
    pathView = nullptr;
    frame = nullptr;
    lcr = nullptr;
    themePane = nullptr;
}

void RechThemePrec::bindActions() {
    ListPane::bindActions();
    addAction(kPathView, this, kPathView, nullptr);
    addAction(kPathPrevious, this, kPathPrevious, nullptr);
    addAction(kPathNext, this, kPathNext, nullptr);
}

int16_t RechThemePrec::commandStatus(int16_t id, long argument) {
    switch (id) {
    case kPathView:
        return 1;
    case kPathPrevious:
        return pathState && pathState->hasPrevious(0) ? 1 : 2;
    case kPathNext:
        return pathState && pathState->hasNext(0) ? 1 : 2;
    default:
        return ListPane::commandStatus(id, argument);
    }
}

ACommand* RechThemePrec::doCommand(int16_t id, long argument) {
    switch (id) {
    case kPathView: {
        ARenderer* renderer = pathView ? pathView->renderer() : nullptr;
        if (renderer && renderer->getHitKind() == 3)
            scrollTreeToLine(atol(renderer->getHitName().c_str()));
        return noChangeCommand();
    }
    case kPathPrevious:
        if (pathState && pathState->previous(0) >= 0)
            showPathCurrent();
        return noChangeCommand();
    case kPathNext:
        if (pathState && pathState->next(0) >= 0)
            showPathCurrent();
        return noChangeCommand();
    default:
        return ListPane::doCommand(id, argument);
    }
}

void RechThemePrec::saveState(ABaseState* part) {
    if (!treeModel)
        ThrowAssert(kFile, 295);
    ListPane::saveState(part);
}

AString RechThemePrec::themeText() {
    ASearchBase* base = gDataManager ? gDataManager->getBase(kGlobalBase) : nullptr;
    if (!base)
        return AString();
    try {
        return base->getText(kThemeTable, 0, 1);
    } catch (const AError&) {
        return AString();  // a base without themes shows an empty tree
    }
}

void RechThemePrec::loadTree() {
    AString text = themeText();
    if (themeSource)
        ThrowAssert(kFile, 266);
    // The text's CR LF pairs become single breaks: the getter splits at "\n".
    std::string lines;
    for (const char* p = text.c_str(); *p; ++p) {
        if (*p == '\r' && p[1] == '\n')
            continue;
        lines += *p == '\r' ? '\n' : *p;
    }
    themeSource = CheckAlloc(new (std::nothrow) BufferedLineGetter(lines.c_str(), -1), kFile, 268);
    themeSource->addRef();
    themeGetter = CheckAlloc(new (std::nothrow) ASVThemeLineGetter(themeSource), kFile, 271);
    themeGetter->addRef();
    themeGetter->setTreeOption(1);
    setLineGetter(themeGetter);
    ARenderer* renderer = listView ? listView->renderer() : nullptr;
    // The themes start closed: the reader opens them a level at a time.
    treeModel = InstallTree(renderer, themeGetter, false);
    if (!treeModel)
        ThrowAssert(kFile, 279);
    treeModel->addRef();
    renderer->enableTables('*');
}

AString RechThemePrec::pathText(BufferedLineGetter* source, const std::vector<long>& lines) {
    std::string text;
    for (long line : lines) {
        std::string raw = source ? source->getRawLine(line, line).c_str() : "";
        std::string label;
        for (char c : raw.substr(0, raw.find('#')))
            if (c != '\t' && c != '\r' && c != '\n')
                label += c;
        text += "/B" + label + "#" + std::to_string(line) + "\n";
    }
    return AString(text.c_str());
}

void RechThemePrec::showPathOf(long line) {
    if (!treeModel)
        ThrowAssert(kFile, 248);
    if (line < 0 || !themeSource || line >= themeSource->getLineCount())
        return;
    // The model's section path leaves out a parent whose first child is the
    // line; the theme lines' own depths give the whole chain.
    std::vector<long> lines = themeGetter->ancestorsOf(line);
    fillPath(lines);
}

void RechThemePrec::fillPath(const std::vector<long>& lines) {
    pathText_ = pathText(themeSource, lines);
    const long count = static_cast<long>(lines.size());
    const long last = count > 0 ? count - 1 : 0;
    delete pathState;
    pathState = nullptr;
    pathState = CheckAlloc(new (std::nothrow) APrevNextRangeState(0, last + 1), kFile, 233);
    pathState->setCurrent(last);
    ARenderer* renderer = pathView ? pathView->renderer() : nullptr;
    if (!renderer)
        return;
    auto* getter = CheckAlloc(new (std::nothrow) BufferedLineGetter(pathText_.c_str(), -1), kFile, 239);
    ARefHold<BufferedLineGetter> hold(getter);
    renderer->setSourceModel(getter, nullptr);
    renderer->selectLines(last, 0);
    pathView->invalidate();
}

void RechThemePrec::showPathCurrent() {
    ARenderer* renderer = pathView ? pathView->renderer() : nullptr;
    if (renderer && pathState && renderer->model()) {
        renderer->selectLines(pathState->getCurrent(), 0);
        pathView->invalidate();
    }
}

void RechThemePrec::scrollTreeToLine(long line) {
    ARenderer* renderer = listView ? listView->renderer() : nullptr;
    if (!renderer || line < 0)
        return;
    AListApp::current().scrollListToLine(renderer, line);
    renderer->selectLines(line, 0);
    listView->invalidate();
}

void RechThemePrec::selectionChanged(ARenderer* renderer) {
    lineClicked(renderer);
}

void RechThemePrec::lineClicked(ARenderer* renderer) {
    if (!renderer)
        return;
    const long kind = renderer->getHitKind();
    if (kind < 1 || kind > 3)
        return;
    const long line = renderer->getHitIndex();
    showPathOf(line);
    // A theme with sub-themes opens after its click: the renderer is still
    // tracking the click and its lines must not change under it.
    if (line >= 0 && themeGetter && themeGetter->getLineLevel(line + 1) > themeGetter->getLineLevel(line)) {
        pendingOpen = line;
        queueUpdate(kOpenKind);
    }
    if (themePane->setPaneText(renderer->getHitName().c_str()) != 1)
        return;
    if (AppState* state = currentState())
        state->setHisto(0);
    themePane->showResultList();
}

void RechThemePrec::notify(const AKindSet& kinds) {
    ListPane::notify(kinds);
    if (!kinds.contains(kOpenKind) || pendingOpen < 0)
        return;
    const long line = pendingOpen;
    pendingOpen = -1;
    if (ARenderer* renderer = listView ? listView->renderer() : nullptr) {
        renderer->showIndex(line + 1, 0, 0);
        renderer->showIndex(line, 0, 0);
        listView->invalidate();
    }
}

void RechThemePrec::updatePane() {
    if (!themeSource)
        loadTree();
    ALeftState* left = leftState();
    if (left && left->fNew) {
        selFirst = 0;
        selLast = -2;
        saveState(left);
        showPathOf(0);
    } else if (left && left->fHisto) {
        readSavedSelection(left);
        AListApp::current().centerListLine(listView, selFirst, selLast);
        showPathOf(selLast);
    }
    if (listView)
        listView->invalidate();
}
