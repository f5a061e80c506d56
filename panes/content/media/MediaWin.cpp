// The media window: forwards to its media pane; closing leaves the dictionary first.
#include "panes/content/media/MediaWin.h"

#include "panes/content/media/AMediaApp.h"
#include "panes/content/media/MediaPane.h"

SV_IMPLEMENT_CLASS(MediaWin, 0, AWindow)

void MediaWin::showDocument(long docNo, int16_t frame, int16_t keepDocPart, int16_t keepRightPart) {
    if (mediaPane_)
        mediaPane_->showDocument(docNo, frame, keepDocPart, keepRightPart);
}

int16_t MediaWin::isLocked() {
    return mediaPane_ ? mediaPane_->isLocked() : 0;
}

void MediaWin::stopMedia() {
    if (mediaPane_)
        mediaPane_->stopMedia();
}

void MediaWin::resumeVideo() {
    if (mediaPane_)
        mediaPane_->resumeVideo();
}

int16_t MediaWin::mediaKind() {
    return mediaPane_ ? mediaPane_->mediaKind() : 0;
}

ACommand* MediaWin::closeWindow() {
    if (!canClose(true))
        return noChangeCommand();
    AMediaApp::current().forgetMediaWindow(this);
    return doClose();
}
