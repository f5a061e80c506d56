// The Director movie of a media document (kind 5) inside the media pane,
// while the pane's external mode is set: a page written from the
// "HTMLDCRMEDIAWIN" and "DCRLAUNCHERWIN" templates with the video and the
// Director file, loaded in browser view 6030. The pane only writes, loads
// and releases the page; the movie would run in the browser's plug-in.
//
// The media pane and the view are not owned; the handler holds one
// reference until the pane detaches. Each page is registered as a temporary
// file when replaced (deleted at the next start). A missing media pane or
// view is a layout fault ("MediaDCRPane", line).
#pragma once

#include <cstdint>

#include "app/frame/SVPane.h"
#include "panes/content/media/AMediaViewPane.h"
#include "web/browser/APaneEventHandler.h"

class MediaDCRPane;

class AMediaDCRPaneHandler : public APaneEventHandler<MediaDCRPane> {
public:
    using APaneEventHandler::APaneEventHandler;
    // "UpdateTitle" is taken (1); every other event is not (0).
    int16_t onEvent(AMozillaView* view, AMozillaEvent* event) override;
};

class MediaDCRPane : public AMediaViewPane<SVPane, MediaDCRPane, AMediaDCRPaneHandler> {
    SV_DECLARE_CLASS(MediaDCRPane)
public:
    MediaDCRPane() : AMediaViewPane("MediaDCRPane") {}
    ~MediaDCRPane() override;

    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    int16_t isPaneWanted() override;

    // Writes and loads the page of the document (nothing for a negative number).
    void loadMovie(long docNo);
    // The page goes to the temporary-file list and is forgotten.
    void releasePage();

protected:
    void showDocument(long docNo) override { loadMovie(docNo); }
};
