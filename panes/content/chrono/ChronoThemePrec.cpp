// The theme list of the chronology's left dock.
#include "panes/content/chrono/ChronoThemePrec.h"

#include <new>

#include "app/lines/StandardLineGetter.h"
#include "app/lists/AListApp.h"
#include "app/lists/ALayoutClient.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "docengine/render/ARenderer.h"
#include "docengine/render/ARendererViews.h"
#include "framework/components/ALayoutLoader.h"
#include "panes/content/article/AContentApp.h"
#include "panes/content/chrono/ChronoLineGetters.h"
#include "panes/content/chrono/DockLeftChronoPages.h"
#include "search/facade/ASearchBase.h"

SV_IMPLEMENT_CLASS(ChronoThemePrec, 0, ListPane)

namespace {

const int16_t kChronoBase = 9, kThemeTable = 4;

}  // namespace

ChronoThemePrec::ChronoThemePrec() {
    selFirstKey = 1120;
    selLastKey = 1121;
}

ChronoThemePrec::~ChronoThemePrec() {
    ReleaseAndNull(themes_);
}

void ChronoThemePrec::readFrom(AMemoryStream& stream) {
    ListPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "ChronoThemePrec", 40);
}

void ChronoThemePrec::attachItems() {
    ListPane::attachItems();
    if (!EnclosingChronoPage(this))
        ThrowAssert("ChronoThemePrec", 50);
}

void ChronoThemePrec::setUpItems() {
    ListPane::setUpItems();
    if (getClient())
        getClient()->fixedExtent = DockLeftChronoPage::kListHeight;
}

void ChronoThemePrec::detachItems() {
    ReleaseAndNull(themes_);
    ListPane::detachItems();
}

void ChronoThemePrec::buildList() {
    if (themes_)
        ThrowAssert("ChronoThemePrec", 70);
    ASearchBase* base = AContentApp::current().getBase(kChronoBase);
    AString text = base && base->getRecordCount(kThemeTable) > 0 ? base->getText(kThemeTable, 0, 1) : AString();
    auto* lines = CheckAlloc(new (std::nothrow) BufferedLineGetter(text.c_str(), -1), "ChronoThemePrec", 75);
    lines->addRef();
    themes_ = new (std::nothrow) ASVThemeChronoLineGetter(lines);
    lines->release();
    CheckAlloc(themes_, "ChronoThemePrec", 78)->addRef();
    themes_->setOption(7, 1);
    ARenderer* renderer = listView ? listView->renderer() : nullptr;
    if (!renderer)
        return;
    renderer->setModel(nullptr);
    renderer->setSourceModel(themes_, nullptr);
    setLineGetter(themes_);
    renderer->enableTables('*');
}

void ChronoThemePrec::updatePane() {
    if (!themes_)
        buildList();
    AppState* state = currentState();
    ALeftState* left = state ? state->getLeftState() : nullptr;
    if (left && left->fNew) {
        selFirst = 0;
        selLast = -2;
        saveState(left);
    } else if (left && left->fHisto) {
        readSavedSelection(left);
        if (selLast >= 0)
            AListApp::current().centerListLine(listView, selFirst, selLast);
    }
    if (listView)
        listView->invalidate();
}

void ChronoThemePrec::selectionChanged(ARenderer* renderer) {
    ShowChronoLink(this, renderer, false);
}
