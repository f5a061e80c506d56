// The media Flash pane: the page, the movie's addresses and its messages.
#include "panes/content/media/MediaFlashPane.h"

#include <windows.h>

#include <new>
#include <string>

#include "app/data/AFSCommInfo.h"
#include "app/data/AppDataManager.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "panes/content/media/AMediaApp.h"

SV_IMPLEMENT_CLASS(MediaFlashPane, 0, SVFlashPane)
SV_IMPLEMENT_CLASS(AMediaFlashPaneCmd, 0, AMozillaFlashCmd)

namespace {

AString Javascript(const char* function, const std::string& argument) {
    return AString((std::string("javascript:") + function + "(" + argument + ")").c_str());
}

}  // namespace

int16_t AMediaFlashPaneHandler::onEvent(AMozillaView* view, AMozillaEvent* event) {
    if (!pane_ || !event || !view)
        return 0;
    if (event->name == "Observe") {
        auto* observe = static_cast<AMozillaObserveEvent*>(event->castTo(&AMozillaObserveEvent::classRecord));
        if (!observe || !view->hasFlags(ADisplayComponent::kVisible))
            return 0;
        auto* command = CheckAlloc(new (std::nothrow) AMediaFlashPaneCmd(pane_, observe->data.c_str(), this),
                                   "MediaFlashPane", __LINE__);
        // Queued: the command runs after the browser's callback returned.
        pane_->perform(command);
        return 1;
    }
    return event->name == "UpdateTitle" ? 1 : 0;
}

void AMediaFlashPaneCmd::execute() {
    AFSCommInfo info(fName.c_str());
    if (fName.empty() || !pane_)
        return;
    if (info.fKind == 2 || info.fKind == 3 || info.fKind == 5)
        pane_->onFlashCommand(static_cast<int16_t>(info.fKind), info.fValue.c_str());
}

MediaFlashPane::~MediaFlashPane() {
    try {
        unhookView(nullptr);
        releaseTempFiles();
    } catch (...) {  // a destructor never throws; the files stay for the next start's sweep
    }
}

int32_t MediaFlashPane::ZoomArgument(int32_t percent, int32_t previous) {
    if (percent == 100 || percent <= 0)
        return 0;
    return static_cast<int32_t>(static_cast<int64_t>(previous) * 100 / percent);
}

void MediaFlashPane::attachItems() {
    SVFlashPane::attachItems();
    findMediaPane();
    mediaPane_->setFlashControl(this);
    movieFile_ = AString();
}

void MediaFlashPane::setUpItems() {
    SVFlashPane::setUpItems();
    findView();
}

void MediaFlashPane::detachItems() {
    unhookView(view_);
    if (mediaPane_)
        mediaPane_->setFlashControl(nullptr);
    SVFlashPane::detachItems();
}

int16_t MediaFlashPane::isPaneWanted() {
    AppState* state = currentState();
    ADocState* doc = state ? state->getDocState() : nullptr;
    return doc && doc->fDocType == MediaPane::kFlash ? 1 : 0;
}

void MediaFlashPane::releaseTempFiles() {
    AMediaApp::current().forgetTempFile(movieFile_);
    AMediaApp::current().forgetTempFile(pageFile_);
}

void MediaFlashPane::showMedia(long docNo) {
    if (!view_)
        return;
    AMediaApp& app = AMediaApp::current();
    releaseTempFiles();
    movieFile_ = app.extractMovie(docNo);
    AppState* state = currentState();
    int16_t icon = app.getDocIconType(docNo);
    AMediaPageValues values;
    values.file = PathToFileUrl(movieFile_.c_str());
    values.title = app.getDocTitle(docNo);
    // An animation that starts at once (icon types 11 and 15) plays; the others wait.
    values.stop = icon == 11 || icon == 15 ? "play()" : "stop()";
    values.frame = state && state->fNbFrame > 0 ? state->fNumFrame : -1;
    if (icon == 16) {
        values.frame = 1;
        mediaPane_->setFrameToggle(1);
    }
    values.background = "#000000";
    pageFile_ = app.makeMediaPage("HTMLFLASHMEDIAWIN", values);
    if (!pageFile_.empty())
        view_->loadUrl(PathToFileUrl(pageFile_.c_str()));
    flashFrame_ = -1;
    mediaPane_->setFlashScales(100);
    queueUpdate(0);
}

void MediaFlashPane::zoom(long percent, long previous) {
    if (pageFile_.empty() || !view_)
        return;
    int32_t n = ZoomArgument(static_cast<int32_t>(percent), static_cast<int32_t>(previous));
    view_->loadUrl(Javascript("zoom", std::to_string(n)));
}

void MediaFlashPane::gotoFrame(int16_t frame) {
    if (pageFile_.empty() || !view_)
        return;
    view_->loadUrl(Javascript("gotoframe", std::to_string(frame)));
}

void MediaFlashPane::play() {
    if (!pageFile_.empty() && view_)
        view_->loadUrl(AString("javascript:play()"));
}

void MediaFlashPane::stopAndRewind() {
    if (!pageFile_.empty() && view_)
        view_->loadUrl(AString("javascript:stopAndRewind()"));
}
