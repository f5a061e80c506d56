// The separate window that shows one media document: its only content is a
// media pane, reached through the small operations below. The application
// keeps the open windows in its dictionary; a window takes itself out of it
// before it closes.
//
// The media pane is not owned (it is a child of the window). Without a pane
// every operation does nothing and answers 0.
#pragma once

#include <cstdint>

#include "framework/app/AWindow.h"

class MediaPane;

class MediaWin : public AWindow {
    SV_DECLARE_CLASS(MediaWin)
public:
    MediaWin() = default;

    void showDocument(long docNo, int16_t frame, int16_t keepDocPart, int16_t keepRightPart);
    int16_t isLocked();
    void stopMedia();
    void resumeVideo();
    int16_t mediaKind();
    // Out of the application's dictionary first, then closed: the delete
    // command, or the no-change command when the window refuses to close.
    ACommand* closeWindow() override;

    void setMediaPane(MediaPane* pane) { mediaPane_ = pane; }
    MediaPane* mediaPane() const { return mediaPane_; }

private:
    MediaPane* mediaPane_ = nullptr;  // not owned
};
