// The Director movie pane: its page and the view's events.
#include "panes/content/media/MediaDCRPane.h"

#include <windows.h>

#include "app/data/AppDataManager.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "base/object/AError.h"
#include "panes/content/media/AMediaApp.h"
#include "panes/content/media/MediaPane.h"
#include "web/browser/BrowserPaneHandler.h"

SV_IMPLEMENT_CLASS(MediaDCRPane, 0, SVPane)

int16_t AMediaDCRPaneHandler::onEvent(AMozillaView* view, AMozillaEvent* event) {
    (void)view;
    return pane_ && event && event->name == "UpdateTitle" ? 1 : 0;
}

MediaDCRPane::~MediaDCRPane() {
    try {
        UnhookBrowserHandler(nullptr, this, handler_);
        releasePage();
    } catch (...) {  // a destructor never throws; the page stays for the next start's sweep
    }
}

void MediaDCRPane::attachItems() {
    SVPane::attachItems();
    AComponent* found = findAncestor(&MediaPane::classRecord);
    mediaPane_ = CheckAlloc(found ? static_cast<MediaPane*>(found->castTo(&MediaPane::classRecord)) : nullptr,
                            "MediaDCRPane", __LINE__);
    mediaPane_->setDirectorPane(this);
    pageFile_ = AString();
}

void MediaDCRPane::setUpItems() {
    SVPane::setUpItems();
    AClusterItem* item = findItem(kView, false);
    view_ = CheckAlloc(item ? static_cast<AMozillaView*>(item->castTo(&AMozillaView::classRecord)) : nullptr,
                       "MediaDCRPane", __LINE__);
    HookBrowserHandler(view_, this, handler_, "MediaDCRPane", __LINE__);
}

void MediaDCRPane::detachItems() {
    UnhookBrowserHandler(view_, this, handler_);
    if (mediaPane_ && mediaPane_->directorPane() == this)
        mediaPane_->setDirectorPane(nullptr);
    view_ = nullptr;
    SVPane::detachItems();
}

void MediaDCRPane::bindActions() {
    SVPane::bindActions();
    addAction(kView, this, kView, nullptr);
}

ACommand* MediaDCRPane::doCommand(int16_t id, long argument) {
    return id == kView ? noChangeCommand() : SVPane::doCommand(id, argument);
}

int16_t MediaDCRPane::commandStatus(int16_t id, long argument) {
    return id == kView ? 1 : SVPane::commandStatus(id, argument);
}

AppState* MediaDCRPane::currentState() {
    if (!mediaPane_)
        ThrowAssert("MediaDCRPane", __LINE__);
    return mediaPane_->currentState();
}

int16_t MediaDCRPane::isPaneWanted() {
    AppState* state = currentState();
    ADocState* doc = state ? state->getDocState() : nullptr;
    return doc && doc->fDocType == MediaPane::kVideo && mediaPane_->externalMode() ? 1 : 0;
}

void MediaDCRPane::setPaneVisible(int16_t visible) {
    SVPane::setPaneVisible(visible);
    if (view_)
        view_->observeTopic(visible ? 1 : 0);
}

void MediaDCRPane::updatePane() {
    SVPane::updatePane();
    AppState* state = currentState();
    if (state && state->getDocNo() >= 0)
        loadMovie(state->getDocNo());
}

void MediaDCRPane::loadMovie(long docNo) {
    if (docNo < 0 || !view_)
        return;
    releasePage();
    AMediaApp& app = AMediaApp::current();
    pageFile_ = app.fillVideoTemplate("HTMLDCRMEDIAWIN", "DCRLAUNCHERWIN", mediaPane_->videoPath(),
                                      mediaPane_->directorPath(), app.getDocTitle(docNo));
    if (!pageFile_.empty())
        view_->loadUrl(PathToFileUrl(pageFile_.c_str()));
}

void MediaDCRPane::releasePage() {
    AMediaApp::current().forgetTempFile(pageFile_);
}
