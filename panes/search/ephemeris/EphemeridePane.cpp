// The home screen's ephemeris: the day's events in turn, their texts, pictures and articles.
#include "panes/search/ephemeris/EphemeridePane.h"

#include <windows.h>

#include <cstdlib>
#include <new>
#include <string>

#include "app/data/ADataManager.h"
#include "app/frame/Frame1.h"
#include "app/lists/AListApp.h"
#include "app/state/AppState.h"
#include "base/object/AFile.h"
#include "base/object/AFileStream.h"
#include "base/object/AFolderSpecs.h"
#include "base/procedural/AError.h"
#include "docengine/model/AIndexedDocModel.h"
#include "docengine/parser/AFragParserVariants.h"
#include "docengine/parser/ASegParser.h"
#include "docengine/render/AHotspotRenderer.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/render/ATextRenderer.h"
#include "docengine/text/AStringReader.h"
#include "framework/bitmaps/ABitmapLayer.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/components/ALayoutLoader.h"
#include "panes/search/ephemeris/AEphemerideInfo.h"
#include "panes/search/ephemeris/AEphemerisApp.h"
#include "panes/search/left/ASearchPanesApp.h"
#include "search/facade/ASearchBase.h"

SV_IMPLEMENT_CLASS(EphemeridePane, 0, SVPane)

namespace {

const char kFile[] = "EphemeridePane";
const long kLinkHit = 3;
const long kTextSheet = 12;
// Both zones cover the whole picture: a click anywhere opens the event.
const char kZones[] = "0,0,512,768#First\n0,0,512,768#Reference\n";

template <class T>
T* Item(AComponent* pane, int16_t id, int line) {
    AComponent* found = pane->findById(id, 0);
    return CheckAlloc(found ? static_cast<T*>(found->castTo(&T::classRecord)) : nullptr, kFile, line);
}

// The base's record n of table, or null when the base is missing or n lies outside the table.
ASearchBase* RecordBase(int16_t base, int16_t table, long n) {
    ASearchBase* b = gDataManager && n >= 0 ? gDataManager->getBase(base) : nullptr;
    return b && n < b->getRecordCount(table) ? b : nullptr;
}

}  // namespace

void EphemeridePane::readFrom(AMemoryStream& stream) {
    SVPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, kFile, 60);
}

void EphemeridePane::attachItems() {
    SVPane::attachItems();
}

void EphemeridePane::setUpItems() {
    SVPane::setUpItems();
    AEphemerisApp& app = AEphemerisApp::current();
    titleItem = Item<AStaticText>(this, kTitle, __LINE__);
    textView = Item<ARendererView>(this, kText, __LINE__);
    textView->addLink(this);
    app.createTextRenderer(textView, kTextSheet);
    pictureView = Item<AHotspotView>(this, kPicture, __LINE__);
    if (ARenderer* picture = AListApp::current().createHotspotRenderer(pictureView)) {
        ARefHold<AReader> reader(CheckAlloc(new (std::nothrow) AStringReader(kZones, -1), kFile, __LINE__));
        ARefHold<ASegParser> segments(CheckAlloc(new (std::nothrow) AReaderSegParser(reader.get()), kFile, __LINE__));
        ARefHold<AFragParser> fragments(CheckAlloc(new (std::nothrow) AAnchorFragParser('/'), kFile, __LINE__));
        ARefHold<ADocModel> zones(CheckAlloc(
            new (std::nothrow) AIndexedDocModel(segments.get(), fragments.get(), nullptr), kFile, __LINE__));
        picture->setModel(zones.get());
    }
    linkView = Item<ARendererView>(this, kLink, __LINE__);
    linkView->addLink(this);
    app.createTextRenderer(linkView, kTextSheet);
    setItemHelp(kPrevious, 6007, 47, 0);
    setItemHelp(kNext, 6007, 48, 0);
}

void EphemeridePane::detachItems() {
    textView = linkView = nullptr;
    titleItem = nullptr;
    pictureView = nullptr;
    SVPane::detachItems();
}

void EphemeridePane::bindActions() {
    SVPane::bindActions();
    for (int16_t id : {kRelated, kPrevious, kNext, kPicture, kLink})
        if (AComponent* item = findById(id, 0))
            item->addAction(id, this, id, nullptr);
}

int16_t EphemeridePane::commandStatus(int16_t id, long argument) {
    switch (id) {
    case kPrevious:
        return canGoPrevious() ? 1 : 2;
    case kNext:
        return canGoNext() ? 1 : 2;
    case kRelated:
    case kPicture:
    case kLink:
        return 1;
    default:
        return SVPane::commandStatus(id, argument);
    }
}

ACommand* EphemeridePane::doCommand(int16_t id, long argument) {
    switch (id) {
    case kRelated:
        openRelated();
        break;
    case kPrevious:
        eventIndex = static_cast<int16_t>(eventIndex - 2);
        updatePane();
        break;
    case kNext:
        updatePane();
        break;
    case kPicture:
    case kLink: {
        ARendererView* view = id == kPicture ? static_cast<ARendererView*>(pictureView) : linkView;
        ARenderer* renderer = view ? view->renderer() : nullptr;
        if (renderer && renderer->getHitKind() == kLinkHit)
            openEvent();
        break;
    }
    default:
        return SVPane::doCommand(id, argument);
    }
    return noChangeCommand();
}

int16_t EphemeridePane::isPaneWanted() {
    AppState* state = currentState();
    return state && state->getScreenMode() == 0 ? 1 : 0;
}

bool EphemeridePane::canGoPrevious() {
    return currentState() && eventIndex > 0;
}

bool EphemeridePane::canGoNext() {
    AppState* state = currentState();
    return state && eventIndex < state->getUserInfo(kCountKey) - 1;
}

int16_t EphemeridePane::nextEventIndex(long dayIndex) {
    if (eventIndex < 0)
        return 0;
    AEphemerideInfo info(AEphemerideInfo::kBase, AEphemerideInfo::kDayTable, dayIndex, eventIndex);
    return eventIndex < info.count() - 1 ? static_cast<int16_t>(eventIndex + 1) : 0;
}

AString EphemeridePane::makeDateTitle(long day, long month, long year) {
    static const char* const kMonths[12] = {"janvier", "f\xE9vrier", "mars",      "avril",   "mai",      "juin",
                                            "juillet", "ao\xFBt",   "septembre", "octobre", "novembre", "d\xE9"
                                                                                                        "cembre"};
    std::string title = std::to_string(day) + " " + (month >= 0 && month < 12 ? kMonths[month] : "");
    if (year != -1)
        title += " " + std::to_string(year);
    return AString(title.c_str());
}

AString EphemeridePane::makeEventLink(long dayIndex, long event, long docNo) {
    if (docNo < 0)
        return AString();
    AEphemerisApp& app = AEphemerisApp::current();
    std::string key = std::to_string(dayIndex) + ":" + std::to_string(event);
    std::string icon = std::to_string(app.getDocIconType(docNo) + 4);
    AString title = app.escapeMarkup(app.getDocTitle(docNo).c_str(), "/#{}");
    return AString(("/|{@R!" + icon + "!/@#" + key + "}\n/|{r" + title.c_str() + "#" + key + "}").c_str());
}

void EphemeridePane::updatePane() {
    SVPane::updatePane();
    AppState* state = currentState();
    if (!state)
        return;
    // "DD-MM-YY": a clock outside the calendar shows day 0 of no month, with no event.
    std::string today = AEphemerisApp::current().todayText().c_str();
    long day = std::atol(today.c_str());
    size_t dash = today.find('-');
    long month = dash == std::string::npos ? -1 : std::atol(today.c_str() + dash + 1) - 1;
    bool valid = day >= 1 && day <= 31 && month >= 0 && month < 12;
    long dayIndex = valid ? month * 31 + day - 1 : -1;
    eventIndex = nextEventIndex(dayIndex);
    AEphemerideInfo info(AEphemerideInfo::kBase, AEphemerideInfo::kDayTable, dayIndex, eventIndex);
    state->setUserInfo(kDayKey, dayIndex);
    state->setUserInfo(kCountKey, info.count());
    state->setUserInfo(kEventKey, eventIndex);
    showEvent(dayIndex, day, month, info);
    queueUpdate(0);
}

void EphemeridePane::showEvent(long dayIndex, long day, long month, const AEphemerideInfo& info) {
    if (titleItem)
        titleItem->setText(dayIndex >= 0 ? makeDateTitle(day, month, info.year()).c_str() : "");
    showText(info.textRecord());
    showPicture(info.pictureRecord());
    if (ARenderer* renderer = linkView ? linkView->renderer() : nullptr)
        renderer->setTextModel(makeEventLink(dayIndex, eventIndex, info.docNo()).c_str(), nullptr);
}

void EphemeridePane::showText(long record) {
    ARenderer* renderer = textView ? textView->renderer() : nullptr;
    if (!renderer)
        return;
    ASearchBase* base = RecordBase(AEphemerideInfo::kBase, AEphemerideInfo::kTextTable, record);
    if (!base) {
        renderer->setTextModel("", nullptr);
        return;
    }
    renderer->setStreamModel(base->readToStream(AEphemerideInfo::kTextTable, record, 0), nullptr);
    renderer->enableTables('#');
}

void EphemeridePane::showPicture(long record) {
    ABitmapLayer* layer = pictureView ? pictureView->bitmapLayer() : nullptr;
    if (!layer)
        return;
    ASearchBase* base = RecordBase(kPictureBase, kPictureTable, record);
    if (!base) {
        layer->clearBitmap();
        return;
    }
    // The image readers read files: the record goes through a temporary one.
    ATempFileSpec temp("ep", ATempFolderSpec());
    try {
        {
            AFile file(temp, 0, kPlainFileOptions, false);
            AFileStream out(file, "wb", 0);
            base->readToStream(out, kPictureTable, record, 0);
            out.close();
        }
        layer->setDisplayMode(1, true);
        layer->setBitmap(AImageSpec::fromFile(temp.path().c_str(), 0, 0));
    } catch (const AError&) {
        // A record that holds no picture the readers know shows none.
        layer->clearBitmap();
    }
    DeleteFileA(temp.path().c_str());
}

void EphemeridePane::openEvent() {
    AppState* cur = currentState();
    if (!cur)
        return;
    long day = cur->getUserInfo(kDayKey);
    AEphemerideInfo info(AEphemerideInfo::kBase, AEphemerideInfo::kDayTable, day, eventIndex);
    long doc = info.docNo();
    if (doc < 0)
        return;
    ASearchPanesApp& app = ASearchPanesApp::current();
    if (app.docIsMedia(doc)) {
        app.openMediaWindow(doc, 0, 0);
        return;
    }
    ADocState* docPart = docState();
    int16_t kind = app.getDocKind(doc, docPart ? docPart->fDocType : 2);
    AppState* state = getFrame()->makeNavState(0, 0, 0, 0, -1, kind, 6);
    if (ALeftState* left = state->getLeftState())
        left->fExpand = 1;
    state->setUserInfo(kDayKey, day);
    state->setUserInfo(kEventKey, eventIndex);
    state->setDocNo(doc);
    goToState(state);
}

void EphemeridePane::openRelated() {
    AppState* cur = currentState();
    if (!cur)
        return;
    long day = cur->getUserInfo(kDayKey);
    AppState* state = getFrame()->makeNavState(0, 0, 0, 0, -1, 0, 6);
    state->setUserInfo(kDayKey, day);
    state->setUserInfo(kEventKey, eventIndex);
    if (ALeftState* left = state->getLeftState())
        left->fExpand = 1;
    AEphemerideInfo info(AEphemerideInfo::kBase, AEphemerideInfo::kDayTable, day, eventIndex);
    state->setDocNo(info.firstRelatedDoc(eventIndex));
    goToState(state);
}
