// The Flash animation of a media document (kind 3) inside the media pane:
// the record's movie extracted to a temporary file, a black page written
// from the "HTMLFLASHMEDIAWIN" template and loaded in browser view 6030, then
// driven through "javascript:" addresses (zoom, frame, play, rewind). Every
// message the movie raises comes back as an "Observe" event and runs as a
// queued command.
//
// The media pane and the view are not owned; the handler holds one
// reference until the pane detaches. The movie and page files are registered
// as temporary files when replaced (deleted at the next start). A missing
// media pane or view is a layout fault ("MediaFlashPane", line).
#pragma once

#include <cstdint>

#include "app/find/SVFlashPane.h"
#include "app/online/APaneFlashCmd.h"
#include "panes/content/media/AMediaViewPane.h"
#include "web/browser/APaneEventHandler.h"

class MediaFlashPane;

class AMediaFlashPaneHandler : public APaneEventHandler<MediaFlashPane> {
public:
    using APaneEventHandler::APaneEventHandler;
    // 1 when the event was taken, else 0.
    int16_t onEvent(AMozillaView* view, AMozillaEvent* event) override;
};

// A movie message, run from the command queue.
class AMediaFlashPaneCmd : public APaneFlashCmd<MediaFlashPane> {
    SV_DECLARE_CLASS(AMediaFlashPaneCmd)
public:
    using APaneFlashCmd::APaneFlashCmd;
    void execute() override;
};

class MediaFlashPane : public AMediaViewPane<SVFlashPane, MediaFlashPane, AMediaFlashPaneHandler>,
                       public AMediaFlashControl {
    SV_DECLARE_CLASS(MediaFlashPane)
public:
    MediaFlashPane() : AMediaViewPane("MediaFlashPane") {}
    ~MediaFlashPane() override;

    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    int16_t isPaneWanted() override;

    // Extracts and loads the document's movie.
    void showMedia(long docNo);
    // The media pane's zoom step from previous to percent (both percentages).
    void zoom(long percent, long previous) override;
    void gotoFrame(int16_t frame) override;
    void play() override;
    void stopAndRewind() override;
    void releaseTempFiles();

    AString movieFile() override { return movieFile_; }
    int16_t currentFrame() override { return flashFrame_; }

    // The "javascript:zoom(n)" argument: 0 at 100 %, else previous * 100 / percent.
    static int32_t ZoomArgument(int32_t percent, int32_t previous);

protected:
    void showDocument(long docNo) override { showMedia(docNo); }

private:
    AString movieFile_;
    int16_t flashFrame_ = -1;
};
