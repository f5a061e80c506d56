// The room pane: the room table, the pages, the movie's messages.
#include "panes/content/flash/FlashPane.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "app/data/AFSCommInfo.h"
#include "app/data/AppDataManager.h"
#include "app/frame/Frame1.h"
#include "app/online/AMozillaTargetView.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "panes/content/article/AContentApp.h"
#include "panes/content/article/DockLCRPane.h"
#include "panes/content/flash/AtlasZoom.h"
#include "panes/docks/top/DockTopAtlasPane.h"
#include "web/browser/BrowserPaneHandler.h"

SV_IMPLEMENT_CLASS(FlashPane, 0, SVFlashPane)
SV_IMPLEMENT_CLASS(AFlashPaneCmd, 0, AMozillaFlashCmd)
SV_IMPLEMENT_CLASS(APostFrameCmd, 0, ACommand)

namespace {

// Only the installation's and the temporary folder's pages drive the movie
// commands: an online page's message never does.
bool IsLocalPage(AMozillaView* view) {
    AString url = view->getCurrentUrl();
    return url.empty() || _strnicmp(url.c_str(), "file:", 5) == 0;
}

AString Javascript(const char* function, long n) {
    return AString((std::string("javascript:") + function + "(" + std::to_string(n) + ")").c_str());
}

// The room movie's configuration key and whether its page fills the window.
const char* RoomKey(AppState& state, int16_t room, int16_t& whole) {
    whole = 0;
    switch (room) {
        case 1: return "SALLE_ART";
        case 2: return "SALLE_BIBLIO";
        case 3: return "SALLE_INIT";
        case 4: return "SALLE_HISTGEO";
        case 5: return "SALLE_MEDIATHEQUE";
        case 6:
            whole = 1;
            if (state.getUserInfo(1175) != 0)
                return "SALLE_MUS_CHRONO";
            if (state.getUserInfo(1176) != 0)
                return "SALLE_MUS_GENEAL";
            whole = 0;
            return "SALLE_MUSIQUE";
        case 7: return state.getUserInfo(1174) != 0 ? "SALLE_MARS" : "SALLE_SCIENCE";
        case 8: return "SALLE_SPORT";
        case 9: return "SALLE_AUTEURS";
        default: return nullptr;
    }
}

// The positive numbers of a comma-separated list, in order: a zoom step of
// 0 or less would divide by zero.
std::string PositiveList(const char* list) {
    std::string text = list ? list : "", out;
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        long value = std::atol(item.c_str());
        if (value > 0 && value <= 32767)
            out += (out.empty() ? "" : ",") + std::to_string(value);
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return out;
}

}  // namespace

int16_t AFlashPaneHandler::onEvent(AMozillaView* view, AMozillaEvent* event) {
    if (!pane_ || !event || !view)
        return 0;
    if (event->name == "Observe") {
        auto* observe = static_cast<AMozillaObserveEvent*>(event->castTo(&AMozillaObserveEvent::classRecord));
        if (!observe || !view->hasFlags(ADisplayComponent::kVisible) || !IsLocalPage(view))
            return 0;
        std::string data = observe->data.c_str();
        if (data.substr(0, data.find('=')) == "framechange") {
            view->invalidate();
            return 1;
        }
        auto* command = CheckAlloc(new (std::nothrow) AFlashPaneCmd(pane_, data.c_str(), this), "FlashPane", __LINE__);
        // Queued: the command runs after the browser's callback returned.
        pane_->perform(command);
        return 1;
    }
    if (event->name == "UpdateTitle")
        return 1;
    if (event->name == "UpdateProgress") {
        auto* progress =
            static_cast<AMozillaUpdateProgressEvent*>(event->castTo(&AMozillaUpdateProgressEvent::classRecord));
        if (progress && progress->current == progress->maximum)
            view->invalidate();
        return 1;
    }
    return 0;
}

void AFlashPaneCmd::execute() {
    AFSCommInfo info(fName.c_str());
    if (info.fValue.empty() || !pane_)
        return;
    if (info.fKind == 2 || info.fKind == 3 || info.fKind == 5)
        pane_->onFlashCommand(static_cast<int16_t>(info.fKind), info.fValue.c_str());
    else if (info.fKind == 4)
        pane_->onFlashNetCommand(4, info.fValue.c_str());
}

APostFrameCmd::APostFrameCmd(int16_t frame, FlashPane* pane) : ACommand(pane, 0, 1), frame_(frame), pane_(pane) {}

void APostFrameCmd::execute() {
    if (pane_)
        pane_->gotoFrame(frame_);
}

FlashPane::~FlashPane() {
    UnhookBrowserHandler(nullptr, this, handler_);
}

void FlashPane::attachItems() {
    SVFlashPane::attachItems();
    switcher_ = DockLCRPane::linkPane(this, DockLCRPane::kFlash, "FlashPane", __LINE__);
    movieFile_ = AString();
    pageFile_ = AString();
}

void FlashPane::setUpItems() {
    SVFlashPane::setUpItems();
    emptyPage_ = AContentApp::current().templatePath("HTMLEMPTY");
    AClusterItem* item = findItem(kView, false);
    view_ = CheckAlloc(
        item ? static_cast<AMozillaTargetView*>(item->castTo(&AMozillaTargetView::classRecord)) : nullptr,
        "FlashPane", __LINE__);
    HookBrowserHandler(view_, this, handler_, "FlashPane", __LINE__);
}

void FlashPane::detachItems() {
    UnhookBrowserHandler(view_, this, handler_);
    if (switcher_)
        switcher_->forgetLink(DockLCRPane::kFlash, this);
    SVFlashPane::detachItems();
    releaseTempFiles();
    view_ = nullptr;
}

void FlashPane::bindActions() {
    SVFlashPane::bindActions();
    addAction(3010, this, 3010, nullptr);
}

ACommand* FlashPane::doCommand(int16_t id, long argument) {
    if (id == kView)
        return noChangeCommand();
    return SVFlashPane::doCommand(id, argument);
}

int16_t FlashPane::commandStatus(int16_t id, long argument) {
    return id == kView ? 1 : SVFlashPane::commandStatus(id, argument);
}

long FlashPane::draw(const ARegion& region) {
    long result = SVFlashPane::draw(region);
    if (reloadPending_ && currentState()) {
        reloadPending_ = 0;
        loadMovie(currentState()->getDocNo());
    }
    return result;
}

int16_t FlashPane::isPaneWanted() {
    ADocState* doc = docState();
    return doc && (doc->fDocType == 2 || doc->fDocType == 3) ? 1 : 0;
}

void FlashPane::setPaneVisible(int16_t visible) {
    SVFlashPane::setPaneVisible(visible);
    if (!view_)
        return;
    if (!visible) {
        if (!pageFile_.empty()) {
            pageFile_ = AString();
            if (!emptyPage_.empty())
                view_->loadUrl(PathToFileUrl(emptyPage_.c_str()));
            getFrame()->setActiveFlashPane(nullptr, "", 0);
        }
        view_->observeTopic(0);
        return;
    }
    AppState* state = currentState();
    if (state && state->getScreenMode() == 3 && !state->getLeftState() && switcher_)
        switcher_->resetSplitter();
    view_->observeTopic(1);
}

void FlashPane::updatePane() {
    AppState* state = currentState();
    if (!state || !state->getDocState())
        return;
    long docNo = state->getDocNo();
    int16_t mode = state->getScreenMode();
    if (mode == 3 || (mode == 4 && docNo < 0)) {
        int16_t whole = 0;
        const char* key = RoomKey(*state, state->fSalle, whole);
        if (key) {
            AString name = AContentApp::current().configString(key);
            loadRoom(name.c_str(), AContentApp::current().roomsFolder().c_str(), whole);
        }
    } else if (docNo >= 0 && view_ && view_->isSettled()) {
        // The view covers the pane with its own window: the pane is not
        // drawn again, so a placed view loads the movie now.
        reloadPending_ = 0;
        loadMovie(docNo);
    } else if (docNo >= 0) {
        reloadPending_ = 1;
        invalidate();
    }
    if (!switcher_)
        return;
    if (SVPane* image = switcher_->link(DockLCRPane::kDockTopLeftImg))
        image->queueUpdate(0);
    if (SVPane* left = switcher_->link(DockLCRPane::kDockLeft))
        left->postTreeChange();
}

void FlashPane::gotoFrame(int16_t frame) {
    if (!view_)
        return;
    view_->loadUrl(Javascript("gotoframe", frame));
    getFrame()->setActiveFlashPane(this, PathToFileUrl(movieFile_.c_str()).c_str(), frame);
}

void FlashPane::loadRoom(const char* movieName, const char* roomsFolder, int16_t wholeWindow) {
    if (!movieName || !*movieName || !view_)
        return;
    roomMovie_ = movieName;
    std::string folder = roomsFolder ? roomsFolder : "";
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/')
        folder += '\\';
    AString address = PathToFileUrl((folder + movieName).c_str());
    releaseTempFiles();
    AContentApp& app = AContentApp::current();
    AMediaPageValues values;
    values.file = address;
    values.title = app.windowTitle();
    values.align = "right";
    APoint size = view_->getSize();
    FitMovie(static_cast<int16_t>(size.x), static_cast<int16_t>(size.y),
             std::atol(app.configString("SALLE_ACCUEIL_W").c_str()),
             std::atol(app.configString("SALLE_ACCUEIL_H").c_str()), values.width, values.height);
    values.frame = -1;
    values.background = "#FFFFFF";
    loadPage(app.makeMediaPage(wholeWindow ? "HTMLFLASH100WIN" : "HTMLFLASHSALLEWIN", values), address, -1);
}

void FlashPane::loadPage(const AString& page, const AString& movieAddress, int16_t frame) {
    pageFile_ = page;
    if (page.empty())
        return;
    view_->loadUrl(PathToFileUrl(page.c_str()));
    getFrame()->setActiveFlashPane(this, movieAddress.c_str(), frame);
}

void FlashPane::releaseTempFiles() {
    AContentApp::current().releaseTempFile(movieFile_);
    AContentApp::current().releaseTempFile(pageFile_);
}

AString FlashPane::stopText(bool map, int32_t zoom, int32_t panX, int32_t panY) {
    if (!map || (zoom == 100 && panX == 0 && panY == 0) || zoom <= 0)
        return AString("stop()");
    std::string text = "zoompan(" + std::to_string(10000 / zoom) + "," + std::to_string(panX) + "," +
                       std::to_string(panY) + ",0)";
    return AString(text.c_str());
}

void FlashPane::loadMovie(long docNo) {
    AppState* state = currentState();
    ADocState* doc = state ? state->getDocState() : nullptr;
    if (!state || !doc || !view_)
        return;
    AContentApp& app = AContentApp::current();
    ADocRefInfo info = app.getDocRefInfo(docNo);
    bool map = doc->fDocType == 2;
    int32_t zoom = 100, panX = 0, panY = 0, mouseX = 0, mouseY = 0;
    if (map) {
        computeAtlasZoom(state);
        setScales(app.configString("ATLAS_SCALES").c_str(), 100);
        zoom = static_cast<int16_t>(state->getUserInfo(20));
        if (zoom <= 0) {
            zoom = 100;
        } else {
            long index = state->getUserInfo(23);
            index = index >= 1 ? index : 0;
            scales_.setCurrent(index < scales_.count() ? index : scales_.count() - 1);
            refreshAtlasDock();
        }
        panX = state->getUserInfo(21);
        panY = state->getUserInfo(22);
        mouseX = state->getUserInfo(24);
        mouseY = state->getUserInfo(25);
    }
    roomMovie_ = AString();
    int16_t frame = state->fNbFrame > 0 ? state->fNumFrame : -1;
    releaseTempFiles();
    // A document's movie is its record in the first table ("DOC") of its base.
    movieFile_ = info.fDocBase >= 0 && info.fRecord >= 0 ? app.extractRecord(info.fDocBase, 0, info.fRecord, ".swf")
                                                         : AString();
    AMediaPageValues values;
    values.file = PathToFileUrl(movieFile_.c_str());
    values.title = app.getDocTitle(docNo);
    values.stop = stopText(map, zoom, panX, panY);
    values.frame = frame;
    values.background = "#FFFFFF";
    loadPage(app.makeMediaPage("HTMLFLASHMEDIAWIN", values), values.file, frame);
    if (map && mouseX > 0 && mouseY > 0) {
        ARect bounds = view_->getScreenFrame();
        SetCursorPos(bounds.left() + mouseX, bounds.top() + mouseY);
    }
}

void FlashPane::computeAtlasZoom(AppState* state) {
    if (!state)
        return;
    long mw = state->getUserInfo(26), mh = state->getUserInfo(27);
    long px = state->getUserInfo(28), py = state->getUserInfo(29);
    if (mw <= 0 || mh <= 0 || px <= 0 || py <= 0 || !view_) {
        const long reset[] = {0, 0, 0, -1, 0, 0};
        for (int k = 0; k < 6; ++k)
            state->setUserInfo(20 + k, reset[k]);
        return;
    }
    setScales(AContentApp::current().configString("ATLAS_SCALES").c_str(), 100);
    APoint size = view_->getSize();
    // The fifth step of the list (the last one of a shorter list).
    long index = scales_.count() > 4 ? 4 : scales_.count() - 1;
    scales_.setCurrent(index);
    double z = static_cast<double>(scales_.currentValue());
    AtlasZoom zoom = ComputeAtlasZoom(size.x, size.y, mw, mh, px, py, z);
    state->setUserInfo(20, static_cast<long>(z));
    state->setUserInfo(21, zoom.panX);
    state->setUserInfo(22, zoom.panY);
    state->setUserInfo(23, index);
    state->setUserInfo(24, zoom.mouseX);
    state->setUserInfo(25, zoom.mouseY);
}

void FlashPane::setScales(const char* list, int16_t value) {
    scaleOfHundred_ = scales_.fill(PositiveList(list).c_str(), value);
    refreshAtlasDock();
}

bool FlashPane::canZoom(int16_t direction) {
    return direction == 1 ? scales_.hasPrevious() : scales_.hasNext();
}

void FlashPane::zoomStep(int16_t direction) {
    if (scales_.step(direction)) {
        applyZoom();
        refreshAtlasDock();
    }
}

void FlashPane::zoomToIndex(long index) {
    if (scales_.count() == 0)
        return;
    scales_.setCurrent(index < 0 ? 0 : index >= scales_.count() ? scales_.count() - 1 : index);
    applyZoom();
    refreshAtlasDock();
}

void FlashPane::applyZoom() {
    if (!docState() || !view_)
        return;
    long z = scales_.currentValue(), p = scales_.previousValue();
    long n = z == 100 || z <= 0 ? 0 : p * 100 / z;
    view_->loadUrl(Javascript("zoom", n));
}

void FlashPane::refreshAtlasDock() {
    ADocState* doc = docState();
    if (!doc || doc->fDocType != 2 || !switcher_)
        return;
    SVPane* dock = switcher_->link(DockLCRPane::kDockTopAtlas);
    auto* atlas = dock ? static_cast<DockTopAtlasPane*>(dock->castTo(&DockTopAtlasPane::classRecord)) : nullptr;
    if (!atlas)
        return;
    atlas->setMapView(this);
    atlas->queueUpdate(0);
}
