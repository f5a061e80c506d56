// The room index list: its record, its restored selection and a picked entry.
#include "panes/search/rooms/SalleIndexPrec.h"

#include <cerrno>
#include <cstdlib>
#include <new>

#include "app/data/ADataManager.h"
#include "app/lines/ASVSallePrecLineGetter.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "docengine/render/ARenderer.h"
#include "docengine/render/ARendererViews.h"
#include "framework/components/ALayoutLoader.h"
#include "panes/content/article/DockLCRPane.h"
#include "panes/search/left/ListSelection.h"
#include "panes/search/rooms/DockLeftSallePane.h"
#include "search/facade/ASearchBase.h"

SV_IMPLEMENT_CLASS(SalleIndexPrec, 0, ListPane)

namespace {

const char kFile[] = "SalleIndexPrec";
// Above any record the rooms base holds; a larger value is a damaged text.
const long kMaxRecord = 0xFFFFFF;

}  // namespace

SalleIndexPrec::SalleIndexPrec() {
    selFirstKey = DockLeftSallePane::kIndexFirstKey;
    selLastKey = DockLeftSallePane::kIndexLastKey;
}

void SalleIndexPrec::readFrom(AMemoryStream& stream) {
    ListPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, kFile, 40);
}

void SalleIndexPrec::attachItems() {
    ListPane::attachItems();
    frame = getFrame();
    lcr = DockLCRPane::around(this);
    roomPane = EnclosingRoomPane(this, kFile, 55);
}

void SalleIndexPrec::setUpItems() {
    ListPane::setUpItems();
    if (client)
        client->fixedExtent = 115;
    roomPane = EnclosingRoomPane(this, kFile, 62);
}

void SalleIndexPrec::detachItems() {
    ListPane::detachItems();
    frame = nullptr;
    lcr = nullptr;
    roomPane = nullptr;
}

long SalleIndexPrec::recordOfValue(const AString& value) {
    // An empty value reads as record 0, as the room texts expect.
    if (value.empty())
        return 0;
    char* end = nullptr;
    errno = 0;
    long r = std::strtol(value.c_str(), &end, 10);
    if (errno != 0 || end == value.c_str() || *end != 0 || r < 0 || r > kMaxRecord)
        return -1;
    return r;
}

AString SalleIndexPrec::roomText(long r) {
    ASearchBase* base = gDataManager ? gDataManager->getBase(kRoomsBase) : nullptr;
    if (!base)
        ThrowAssert(kFile, 90);
    try {
        return base->getText(kContentTable, r, 1);
    } catch (const AError&) {
        return AString();  // a record the base does not hold: no entries
    }
}

void SalleIndexPrec::loadIndex(long r) {
    if (r < 0)
        return;
    AString text = roomText(r);
    auto* getter = CheckAlloc(new (std::nothrow) ASVSallePrecLineGetter(text.c_str()), kFile, 106);
    setLineGetter(getter);
    if (ARenderer* renderer = listView ? listView->renderer() : nullptr) {
        renderer->setSourceModel(getter, nullptr);
        renderer->enableTables('*');
        listView->invalidate();
    }
}

AString SalleIndexPrec::getLineKey(long line) {
    if (!lineGetter || line < 0 || line >= lineGetter->getLineCount())
        return AString();
    return ListPane::getLineKey(line);
}

void SalleIndexPrec::updatePane() {
    const AString& second = roomPane->level(2).value;
    long r = recordOfValue(second.empty() ? roomPane->level(1).value : second);
    if (r < 0) {
        // A damaged level value shows no entries rather than another record's.
        clearList();
    } else {
        loadIndex(r);
    }
    ALeftState* left = leftState();
    if (IsFirstShowing(left)) {
        selFirst = selLast = 0;
        roomPane->setPaneText("");
    } else if (left) {
        readSavedSelection(left);
    }
    roomPane->setPaneText(getLineKey(selLast > 0 ? selLast : 0).c_str());
    SelectListRun(listView, selFirst, selLast);
    if (listView)
        listView->invalidate();
}

void SalleIndexPrec::openClickedLine(ARendererView* view) {
    ARenderer* renderer = IndexEntryHit(view);
    if (!renderer)
        return;
    AString name = renderer->getHitName();
    if (!roomPane->setPaneText(name.c_str()))
        return;
    if (AppState* state = currentState())
        state->setHisto(0);
    roomPane->showResultList();
}
