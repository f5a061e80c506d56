// The atlas map preview: its page, its movie's place clicks.
#include "panes/search/atlas/AtlasPrec.h"

#include <cerrno>
#include <cstdlib>
#include <new>
#include <string>

#include "app/data/AFSCommInfo.h"
#include "app/data/AppDataManager.h"
#include "app/frame/Frame1.h"
#include "app/lists/ALayoutClient.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "base/procedural/AddressWord.h"
#include "framework/components/ALayoutLoader.h"
#include "panes/content/article/AContentApp.h"
#include "panes/content/article/DockLCRPane.h"
#include "panes/search/atlas/AAtlasApp.h"
#include "panes/search/atlas/AtlasPlace.h"
#include "panes/search/atlas/DockLeftAtlasPane.h"
#include "web/browser/AMozillaView.h"
#include "web/browser/BrowserPaneHandler.h"

SV_IMPLEMENT_CLASS(AtlasPrec, 0, AClientPane)
SV_IMPLEMENT_CLASS(AAtlasPrecCmd, 0, AMozillaFlashCmd)

namespace {

const char kFile[] = "AtlasPrec";
const short kPreviewTable = 5;

// The place number of an "atl" value: a whole number, else false.
bool PlaceNumber(const char* text, long& place) {
    if (!text || !*text)
        return false;
    errno = 0;
    char* end = nullptr;
    long long v = std::strtoll(text, &end, 10);
    if (*end != '\0' || errno == ERANGE || v < 0 || v > 2147483647LL)
        return false;
    place = static_cast<long>(v);
    return true;
}

template <class T>
T* Enclosing(AComponent* from, int line) {
    AComponent* found = from->findAncestor(&T::classRecord);
    return CheckAlloc(found ? static_cast<T*>(found->castTo(&T::classRecord)) : nullptr, kFile, line);
}

}  // namespace

int16_t AAtlasPrecHandler::onEvent(AMozillaView* view, AMozillaEvent* event) {
    if (!event)
        return 0;
    if (event->name == "Observe") {
        auto* observe = static_cast<AMozillaObserveEvent*>(event->castTo(&AMozillaObserveEvent::classRecord));
        if (!observe || !view || !view->hasFlags(2) || !pane_)
            return 0;
        // Queued: the place opens after the browser's callback returned.
        pane_->perform(CheckAlloc(new (std::nothrow) AAtlasPrecCmd(observe->data.c_str(), pane_, this), kFile,
                                  __LINE__));
        return 1;
    }
    return event->name == "UpdateTitle" ? 1 : 0;
}

AAtlasPrecCmd::AAtlasPrecCmd(const char* text, AtlasPrec* target, AAtlasPrecHandler* handler)
    : AMozillaFlashCmd(target, text, AddressWord(handler)) {
    if (handler)
        handler->addRef();
}

AAtlasPrecCmd::~AAtlasPrecCmd() {
    if (auto* handler = reinterpret_cast<AAtlasPrecHandler*>(fArgument))
        handler->release();
}

void AAtlasPrecCmd::execute() {
    AFSCommInfo info(fName.c_str());
    long place = 0;
    auto* handler = reinterpret_cast<AAtlasPrecHandler*>(fArgument);
    // A message without '?', ':' or '=' leaves the value empty: no place.
    if (info.fVersion == 9 && static_cast<int16_t>(info.fKind) == 5 && PlaceNumber(info.fValue.c_str(), place) &&
        handler && handler->pane())
        handler->pane()->selectPlace(place);
}

AtlasPrec::~AtlasPrec() {
    UnhookBrowserHandler(nullptr, this, handler_);
}

void AtlasPrec::readFrom(AMemoryStream& stream) {
    AClientPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, kFile, 40);
}

void AtlasPrec::attachItems() {
    AClientPane::attachItems();
    frame_ = Enclosing<Frame1>(this, __LINE__);
    // A window without the centre switcher (a dock shown alone) registers nowhere.
    lcr_ = DockLCRPane::around(this);
    dockPane_ = Enclosing<DockLeftAtlasPane>(this, __LINE__);
    if (lcr_)
        lcr_->setLink(DockLCRPane::kAtlasPrec, this);
    pagePath_ = AString();
    moviePath_ = AString();
}

void AtlasPrec::setUpItems() {
    AClientPane::setUpItems();
    if (client)
        client->fixedExtent = kClientSize;
    AClusterItem* item = findItem(kView, false);
    view_ = CheckAlloc(item ? static_cast<AMozillaView*>(item->castTo(&AMozillaView::classRecord)) : nullptr, kFile,
                       __LINE__);
    HookBrowserHandler(view_, this, handler_, kFile, __LINE__);
}

void AtlasPrec::detachItems() {
    UnhookBrowserHandler(view_, this, handler_);
    if (lcr_)
        lcr_->forgetLink(DockLCRPane::kAtlasPrec, this);
    AClientPane::detachItems();
    releaseFiles();
    view_ = nullptr;
}

int16_t AtlasPrec::isPaneWanted() {
    return IsAtlasScreen(currentState()) ? 1 : 0;
}

void AtlasPrec::setPaneVisible(int16_t visible) {
    AClientPane::setPaneVisible(visible);
    if (view_)
        view_->observeTopic(visible != 0 ? 1 : 0);
}

void AtlasPrec::updatePane() {
    AClientPane::updatePane();
    ALeftState* left = leftState();
    long map = left ? left->fUserInfo.slot(DockLeftAtlasPane::kMapKey) : -1;
    if (map >= 0)
        showMap(map);
}

void AtlasPrec::showMap(long docNo) {
    if (!view_)
        return;
    AContentApp& app = AContentApp::current();
    ADocRefInfo info = app.getDocRefInfo(docNo);
    releaseFiles();
    if (info.fDocBase < 0 || info.fRecord < 0)
        return;
    moviePath_ = app.extractRecord(info.fDocBase, kPreviewTable, info.fRecord, ".swf");
    if (moviePath_.empty())
        return;
    AMediaPageValues values;
    values.file = PathToFileUrl(moviePath_.c_str());
    values.stop = "stop()";
    values.frame = -1;
    values.background = "#FFFFFF";
    pagePath_ = app.makeMediaPage("HTMLFLASHMEDIAWIN", values);
    if (!pagePath_.empty())
        view_->loadUrl(PathToFileUrl(pagePath_.c_str()));
}

void AtlasPrec::selectPlace(long place) {
    AppState* state = currentState();
    ALeftState* left = leftState();
    if (!state || !left)
        return;
    long map = left->fUserInfo.slot(DockLeftAtlasPane::kMapKey);
    std::string name = std::to_string(place) + "_" + std::to_string(map);
    AString text = AAtlasApp::current().getMapFsText(name.c_str());
    if (text.empty())
        return;
    AtlasPlace target = AtlasPlace::parse(text.c_str());
    if (!target.valid())
        return;
    AContentApp& app = AContentApp::current();
    if (app.docIsMedia(target.doc)) {
        app.openMediaWindow(target.doc, 0, 0);
        return;
    }
    if (target.doc == state->getDocNo())
        return;
    // A new map, as the place lists open one: the atlas pane records it, so
    // that this preview and the current-map list follow the centre.
    AppState* next = NewMapState(*frame_, *state, target);
    goToState(next);
}

void AtlasPrec::releaseFiles() {
    AContentApp& app = AContentApp::current();
    app.releaseTempFile(moviePath_);
    app.releaseTempFile(pagePath_);
}
