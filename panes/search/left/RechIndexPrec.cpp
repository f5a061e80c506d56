// The keyword refinement list: its rows, the restored selection and a chosen row.
#include "panes/search/left/RechIndexPrec.h"

#include <cstring>
#include <new>
#include <string>

#include "app/data/ADataManager.h"
#include "app/lines/ALineSorter.h"
#include "app/lines/ASVIndexLineGetter.h"
#include "app/lists/AListApp.h"
#include "app/state/ASVLoSearchState.h"
#include "app/state/AppState.h"
#include "docengine/render/ARenderer.h"
#include "docengine/render/ARendererViews.h"
#include "framework/components/ALayoutLoader.h"
#include "panes/search/left/DockLeftRechSIPane.h"
#include "panes/search/left/ListSelection.h"
#include "search/facade/ALoFile.h"
#include "search/facade/ALoVect.h"

SV_IMPLEMENT_CLASS(RechIndexPrec, 0, ListPane)

namespace {

const char kFile[] = "RechIndexPrec";
const char kTitleKey[] = "-1:-1:0:0";

}  // namespace

RechIndexPrec::RechIndexPrec() {
    selFirstKey = 1002;
    selLastKey = 1003;
}

void RechIndexPrec::readFrom(AMemoryStream& stream) {
    ListPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, kFile, 40);
}

void RechIndexPrec::attachItems() {
    ListPane::attachItems();
    searchPane = EnclosingSearchPane(this, kFile, 57);
}

void RechIndexPrec::setUpItems() {
    ListPane::setUpItems();
    if (client)
        client->fixedExtent = 140;
}

void RechIndexPrec::detachItems() {
    ListPane::detachItems();
    searchPane = nullptr;
}

ASVIndexLineGetter* RechIndexPrec::indexGetter() const {
    return static_cast<ASVIndexLineGetter*>(lineGetter);
}

ALo* RechIndexPrec::keywordList(ASVLoSearchState* search) {
    return search ? search->getIndexResults() : nullptr;
}

AString RechIndexPrec::headLine(long n) {
    if (n < 0)
        return AString("\"R\xE9sultat\"\t0\t-1\t-1");
    std::string head = std::string(n > 1 ? "Tous les r\xE9sultats" : "R\xE9sultat") + "\t" + std::to_string(n) +
                       "\t-2\t-2\t-1\t0";
    return AString(head.c_str());
}

AString RechIndexPrec::keywordTitle(long k) {
    std::string title = k > 1 ? std::to_string(k) + " mots cl\xE9s Savantorium" : std::string(" mot cl\xE9 Savantorium");
    return AString(title.c_str());
}

void RechIndexPrec::buildList(ARendererView* view, ASVLoSearchState* search) {
    ALo* full = search ? search->getTextResults() : nullptr;
    AString head = headLine(full ? full->getCount() : -1);
    setLineGetter(nullptr);
    ALo* keywords = keywordList(search);
    AString title;
    ASearchBase* base = nullptr;
    if (keywords) {
        title = keywordTitle(keywords->getCount());
        base = gDataManager ? gDataManager->getBase(kKeywordBase) : nullptr;
        if (!base)
            ThrowAssert(kFile, 230);
    }
    AString query = search ? search->getQuery() : AString();
    auto* getter = CheckAlloc(new (std::nothrow) ASVIndexLineGetter(base, 0, keywords, head.c_str(), title.c_str(),
                                                                    query.c_str()),
                              kFile, 234);
    setLineGetter(getter);
    getter->setLineMap(CheckAlloc(new (std::nothrow) AMemLongLineSorter(getter, "NORM", -1, nullptr), kFile, 242));
    if (ARenderer* renderer = view ? view->renderer() : nullptr) {
        renderer->setSourceModel(getter, nullptr);
        AListApp::setRowSpacing(renderer, 15, 5);
        renderer->enableTables('*');
    }
}

void RechIndexPrec::updatePane() {
    ALeftState* left = leftState();
    AppState* state = currentState();
    ASVLoSearchState* search = state ? state->getSearchState() : nullptr;
    if (!search) {
        clearList();
        return;
    }
    buildList(listView, search);
    long count = lineGetter ? lineGetter->getLineCount() : 0;
    if (left && (left->fNew || left->fHisto)) {
        readSavedSelection(left);
        if (getLineKey(selLast > 0 ? selLast : 0) == AString(kTitleKey))
            selLast = NextRow(selLast, count);
    }
    SelectListRun(listView, selFirst, selLast);
    if (left && left->fHisto && !searchPane->getPaneText().empty())
        return;
    AString key = getLineKey(selLast > 0 ? selLast : 0);
    if (key.empty())
        key = AString("-2:-2");
    searchPane->setPaneText(key.c_str());
}

void RechIndexPrec::openClickedLine(ARendererView* view) {
    ARenderer* renderer = IndexEntryHit(view);
    if (!renderer)
        return;
    AString name = renderer->getHitName();
    AString key;
    if (name.empty()) {
        selLast = NextRow(selLast, lineGetter ? lineGetter->getLineCount() : 0);
        key = getLineKey(selLast > 0 ? selLast : 0);
        SelectListRun(view, selFirst, selLast);
    } else {
        key = name;
    }
    if (searchPane->setPaneText(key.c_str())) {
        if (AppState* state = currentState())
            state->setHisto(0);
        searchPane->showDiscList();
    }
}

AString RechIndexPrec::getLineLabel(long n) {
    ASVIndexLineGetter* getter = indexGetter();
    if (!getter)
        return AString();
    getter->indexCallBack()->flag = 0;
    AString line;
    getter->getLine(line, n);
    getter->indexCallBack()->flag = 1;
    std::string label;
    for (const char* p = line.c_str(); *p && *p != '#'; ++p) {
        if (*p == '\\' && p[1])
            ++p;
        label += *p;
    }
    return AString(label.c_str());
}
