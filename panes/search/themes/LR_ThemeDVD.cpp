// The theme's article list: loading a theme key, opening a row, the first document.
#include "panes/search/themes/LR_ThemeDVD.h"

#include <cerrno>
#include <cstdlib>
#include <new>
#include <string>

#include "app/data/ADataManager.h"
#include "app/frame/Frame1.h"
#include "app/lists/AListApp.h"
#include "app/lists/LRExtPane.h"
#include "app/results/ASVResultLineGetter.h"
#include "app/results/ResultModels.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "docengine/render/ARenderer.h"
#include "docengine/render/ARendererViews.h"
#include "framework/components/ALayoutLoader.h"
#include "panes/search/left/ASearchPanesApp.h"
#include "panes/search/left/ListSelection.h"
#include "panes/content/article/DockLCRPane.h"
#include "panes/search/themes/DockLeftThemePane.h"
#include "search/facade/ALoSimple.h"
#include "search/facade/ASearchBase.h"

SV_IMPLEMENT_CLASS(LR_ThemeDVD, 0, LRNbResPane)

namespace {

const char kFile[] = "LR_ThemeDVD";

long DocOfKey(const AString& key) {
    return key.empty() ? -1 : atol(key.c_str());
}

}  // namespace

LR_ThemeDVD::LR_ThemeDVD() {
    selFirstKey = 1030;
    selLastKey = 1031;
}

void LR_ThemeDVD::readFrom(AMemoryStream& stream) {
    LRNbResPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, kFile, 40);
}

void LR_ThemeDVD::attachItems() {
    LRNbResPane::attachItems();
    frame = CheckAlloc(getFrame(), kFile, 55);
    lcr = FindEnclosing<DockLCRPane>(this);
    themePane = CheckAlloc(FindEnclosing<DockLeftThemePane>(this), kFile, 57);
}

void LR_ThemeDVD::setUpItems() {
    LRNbResPane::setUpItems();
    setIcon(1509);
}

void LR_ThemeDVD::detachItems() {
    LRNbResPane::detachItems();
    frame = nullptr;
    lcr = nullptr;
    themePane = nullptr;
}

long LR_ThemeDVD::recordOfKey(const char* key) {
    const char* colon = key ? strchr(key, ':') : nullptr;
    if (!colon)
        return -2;
    const char* field = colon + 1;
    char* end = nullptr;
    errno = 0;
    long m = strtol(field, &end, 10);
    if (errno != 0 || end == field || (*end != 0 && *end != ':'))
        return -2;
    if (m == -1)
        return -1;
    return m < 0 ? -2 : m;
}

AString LR_ThemeDVD::themeRecord(long a, long m) {
    return AListApp::current().getLinkRecord(a, m);
}

void LR_ThemeDVD::showEmpty() {
    setLineGetter(nullptr);
    setLo(nullptr);
    if (ARenderer* renderer = listView ? listView->renderer() : nullptr)
        renderer->setModel(nullptr);
    showResultCount(0, 0);
    if (listView)
        listView->invalidate();
}

void LR_ThemeDVD::loadList(const char* key) {
    if (!key || !*key)
        return;
    const long m = recordOfKey(key);
    if (m == -1)
        return;
    ALoSimple* list = nullptr;
    try {
        if (m >= 0)
            list = new (std::nothrow) ALoSimple(themeRecord(atoi(key), m).c_str());
    } catch (const AError&) {
        list = nullptr;  // a record past the table or a damaged list: no documents
    }
    if (!list) {
        showEmpty();
        return;
    }
    setLo(list);
    showResultCount(list->getCount(), 0);
    ASearchBase* base = gDataManager ? gDataManager->getBase(kDocumentBase) : nullptr;
    auto* rows = CheckAlloc(new (std::nothrow) ASVResultLineGetter(base, nullptr, list, 0, base, 2, base, 4, base, 3),
                            kFile, 148);
    setLineGetter(rows);
    if (ARenderer* renderer = listView ? listView->renderer() : nullptr) {
        AListApp::setRowSpacing(renderer, 15, 5);
        InstallRows(renderer, rows, nullptr);
        renderer->enableTables('*');
    }
}

void LR_ThemeDVD::resetSelection(int16_t unused) {
    (void)unused;
    AppState* cur = currentState();
    selFirst = 0;
    selLast = cur && cur->hasDocCadenas() ? -2 : 0;
}

void LR_ThemeDVD::openDocument(long docNo, int16_t screenMode) {
    // A new state of the frame, keeping the left part (the centre switcher would keep the state).
    OpenListDocument(this, nullptr, docNo, screenMode, 0);
}

void LR_ThemeDVD::selectionChanged(ARenderer* renderer) {
    lineClicked(renderer);
}

void LR_ThemeDVD::lineClicked(ARenderer* renderer) {
    if (!renderer || renderer->getHitKind() != 3)
        return;
    // A theme's article brings its own right part, padlocked or not.
    OpenClickedListRow(this, nullptr, listView, false);
}

void LR_ThemeDVD::updatePane() {
    AString key = themePane->getPaneText();
    if (key.empty()) {
        // A theme without articles: its list is empty.
        showEmpty();
        return;
    }
    if (recordOfKey(key.c_str()) == -1)
        return;
    loadList(key.c_str());
    AppState* cur = currentState();
    ALeftState* left = leftState();
    if (!cur)
        return;
    const bool replay = left && (left->fClone || left->fHisto);
    if (replay) {
        readSavedSelection(left);
    }
    SelectListRun(listView, selFirst, selLast);
    const bool locked = cur->hasDocCadenas();
    if (!locked) {
        long n = DocOfKey(getLineKey(selLast > 0 ? selLast : 0));
        if (n < 0)
            cur->setDocNo(n);
        else if (!replay)
            openDocument(n, -1);
    } else if (selLast < 0) {
        SelectListRun(listView, -2, -2);
        cur->fTemporaire = cur->fLink == 0 ? 1 : 0;
    }
    if (listView)
        listView->invalidate();
}
