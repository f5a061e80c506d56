// The event list of the chronology's left dock.
#include "panes/content/chrono/LR_Chrono_Evemnt.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <new>
#include <string>

#include "app/frame/Frame1.h"
#include "app/lists/AListApp.h"
#include "app/lists/ALayoutClient.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "docengine/render/AListRenderer.h"
#include "docengine/render/ARenderer.h"
#include "docengine/render/ARendererViews.h"
#include "framework/components/ALayoutLoader.h"
#include "panes/content/article/AContentApp.h"
#include "panes/content/chrono/ChronoLineGetters.h"
#include "panes/content/chrono/DockLeftChronoPages.h"
#include "search/facade/ALoSimple.h"
#include "search/facade/ASearchBase.h"

SV_IMPLEMENT_CLASS(LR_Chrono_Evemnt, 0, LRPane)

namespace {

const int16_t kChronoBase = 9, kHeadingTable = 0, kLinkTable = 1;

}  // namespace

LR_Chrono_Evemnt::LR_Chrono_Evemnt() {
    selFirstKey = 1082;
    selLastKey = 1083;
}

LR_Chrono_Evemnt::~LR_Chrono_Evemnt() = default;

void LR_Chrono_Evemnt::readFrom(AMemoryStream& stream) {
    LRPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "LR_Chrono_Evemnt", 60);
}

void LR_Chrono_Evemnt::setUpItems() {
    LRPane::setUpItems();
    if (getClient())
        getClient()->stretchable = 1;
}

int16_t LR_Chrono_Evemnt::runQuery(const char* key) {
    setLo(nullptr);
    ASearchBase* base = AContentApp::current().getBase(kChronoBase);
    long record = std::atol(key ? key : "");
    if (!base || record < 0 || record >= base->getRecordCount(kLinkTable))
        return 0;
    AString text = base->getText(kLinkTable, record, 1);
    ALoSimple* list = nullptr;
    try {
        list = new ALoSimple(text.c_str());
    } catch (const AError&) {
        // A damaged record lists nothing rather than half a list.
        return 0;
    }
    setLo(list);
    return 1;
}

void LR_Chrono_Evemnt::loadList(const char* key) {
    ARenderer* renderer = listView ? listView->renderer() : nullptr;
    if (IsSetNumberText(key) && runQuery(key)) {
        if (!getLo())
            ThrowAssert("LR_Chrono_Evemnt", 186);
        renderer = AListApp::current().createListRenderer(listView, 1, 3);
        if (!renderer)
            return;
        renderer->setModel(nullptr);
        auto* rows = CheckAlloc(new (std::nothrow) ASVChronoLineGetter(AContentApp::current().getBase(kChronoBase),
                                                                       kHeadingTable, getLo()),
                                "LR_Chrono_Evemnt", 191);
        rows->addRef();
        renderer->setSourceModel(rows, nullptr);
        setLineGetter(rows);
        rows->release();
        AListApp::setRowSpacing(renderer, 15, 5);
        renderer->enableTables('*');
        return;
    }
    setLineGetter(nullptr);
    if (renderer)
        renderer->setModel(nullptr);
}

// The row key "doc:year:index" places the event: the chronology moves to it and makes it blink.
// An event without an article ("" before the first colon) moves the chronology all the same.
void LR_Chrono_Evemnt::showInChronology(const std::string& key) {
    AppState* cur = currentState();
    size_t colon = key.find(':');
    long year = colon == std::string::npos ? 0 : std::atol(key.c_str() + colon + 1);
    size_t second = colon == std::string::npos ? std::string::npos : key.find(':', colon + 1);
    long index = second == std::string::npos ? -1 : std::atol(key.c_str() + second + 1);
    AppState* state = getFrame()->makeNavState(1, 0, 0, 1, -1, 7, cur ? cur->getScreenMode() : -1);
    state->setDocNo(EventDocument(key.c_str()));
    if (ADocState* doc = state->getDocState()) {
        doc->fDate = year;
        doc->fUserInfo.slot(1190) = index;
    }
    if (cur)
        cur->fTemporaire = 1;
    goToState(state);
}

long LR_Chrono_Evemnt::EventDocument(const char* key) {
    const char* p = key ? key : "";
    if (*p < '0' || *p > '9')
        return -1;
    long n = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (n > (LONG_MAX - (*p - '0')) / 10)
            return -1;
        n = n * 10 + (*p - '0');
    }
    return *p == '\0' || *p == ':' ? n : -1;
}

long LR_Chrono_Evemnt::documentOf(long line) {
    return EventDocument(getLineKey(line).c_str());
}

void LR_Chrono_Evemnt::openEvent(const std::string& key, bool follow) {
    AppState* cur = currentState();
    ADocState* doc = cur ? cur->getDocState() : nullptr;
    if (follow && doc && doc->fDocType == 7) {
        showInChronology(key);
        return;
    }
    long docNo = EventDocument(key.c_str());
    if (docNo < 0)
        return;
    if (follow)
        AContentApp::current().showDocument(docNo);
    else
        AContentApp::current().showDocumentIfOpen(docNo);
}

void LR_Chrono_Evemnt::updatePane() {
    LRPane::updatePane();
    setIcon(1512);
    DockLeftChronoPage* page = EnclosingChronoPage(this);
    AString key = page ? page->getPaneText() : AString();
    if (key.empty())
        return;
    loadList(key.c_str());
    ARenderer* r = listView ? listView->renderer() : nullptr;
    if (!r || !r->model())
        return;
    AppState* cur = currentState();
    ALeftState* left = cur ? cur->getLeftState() : nullptr;
    ADocState* doc = cur ? cur->getDocState() : nullptr;
    bool follow = doc && (doc->fDocType == 1 || doc->fDocType == 7);
    bool locked = cur && cur->hasDocCadenas();
    // A refresh never opens the document already shown: the new state's refresh would open it again.
    auto openNew = [&](long line) {
        long n = documentOf(line);
        if (n >= 0 && (!cur || n != cur->getDocNo()))
            openEvent(getLineKey(line).c_str(), follow);
    };
    if (!locked && selLast >= 0 && AContentApp::current().docIsMedia(documentOf(selLast)))
        locked = true;
    auto restore = [&]() {
        if (left) {
            readSavedSelection(left);
        }
    };
    if (!locked) {
        if (left && left->fNew) {
            selFirst = selLast = 0;
            if (cur)
                cur->fTemporaire = 1;
            openNew(0);
        } else if (left && !left->fHisto && !left->fClone) {
            openNew(std::max(selLast, 0L));
        } else {
            restore();
        }
        r->selectLines(selFirst, selLast - selFirst);
    } else {
        if (left && !left->fHisto && !left->fClone)
            selLast = -2;
        else
            restore();
        r->selectLines(selFirst, selLast - selFirst);
        if (selLast < 0)
            r->showLine(-2);
        if (follow)
            openNew(std::max(selLast, 0L));
    }
    r->layOut();
}

void LR_Chrono_Evemnt::selectionChanged(ARenderer* renderer) {
    if (!renderer || renderer->getHitKind() != 3)
        return;
    std::string key = renderer->getHitName().c_str();
    long n = EventDocument(key.c_str());
    AppState* cur = currentState();
    ADocState* doc = cur ? cur->getDocState() : nullptr;
    bool follow = doc && (doc->fDocType == 1 || doc->fDocType == 7);
    if (cur && n >= 0 && n == cur->getDocNo())
        cur->fTemporaire = 1;
    openEvent(key, follow);
}
