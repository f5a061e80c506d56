// The Director movie pane: its page and the view's events.
#include "panes/content/media/MediaDCRPane.h"

#include <windows.h>

#include "app/data/AppDataManager.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "panes/content/media/AMediaApp.h"
#include "panes/content/media/MediaPane.h"

SV_IMPLEMENT_CLASS(MediaDCRPane, 0, SVPane)

int16_t AMediaDCRPaneHandler::onEvent(AMozillaView* view, AMozillaEvent* event) {
    (void)view;
    return pane_ && event && event->name == "UpdateTitle" ? 1 : 0;
}

MediaDCRPane::~MediaDCRPane() {
    try {
        unhookView(nullptr);
        releasePage();
    } catch (...) {  // a destructor never throws; the page stays for the next start's sweep
    }
}

void MediaDCRPane::attachItems() {
    SVPane::attachItems();
    findMediaPane();
    mediaPane_->setDirectorPane(this);
}

void MediaDCRPane::setUpItems() {
    SVPane::setUpItems();
    findView();
}

void MediaDCRPane::detachItems() {
    unhookView(view_);
    if (mediaPane_ && mediaPane_->directorPane() == this)
        mediaPane_->setDirectorPane(nullptr);
    SVPane::detachItems();
}

int16_t MediaDCRPane::isPaneWanted() {
    AppState* state = currentState();
    ADocState* doc = state ? state->getDocState() : nullptr;
    return doc && doc->fDocType == MediaPane::kVideo && mediaPane_->externalMode() ? 1 : 0;
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
