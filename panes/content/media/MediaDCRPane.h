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
#include "base/object/AString.h"
#include "web/browser/AMozillaEvent.h"

class AMozillaView;
class MediaDCRPane;
class MediaPane;

class AMediaDCRPaneHandler : public AMozillaHandler {
public:
    explicit AMediaDCRPaneHandler(MediaDCRPane* pane) : pane_(pane) {}
    // "UpdateTitle" is taken (1); every other event is not (0).
    int16_t onEvent(AMozillaView* view, AMozillaEvent* event) override;
    void detachPane() { pane_ = nullptr; }

private:
    MediaDCRPane* pane_;  // not owned; null once the pane detached
};

class MediaDCRPane : public SVPane {
    SV_DECLARE_CLASS(MediaDCRPane)
public:
    enum : int16_t { kView = 6030 };

    MediaDCRPane() = default;
    ~MediaDCRPane() override;

    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    void updatePane() override;
    int16_t isPaneWanted() override;
    void setPaneVisible(int16_t visible) override;
    AppState* currentState() override;

    // Writes and loads the page of the document (nothing for a negative number).
    void loadMovie(long docNo);
    // The page goes to the temporary-file list and is forgotten.
    void releasePage();

    AMozillaView* view() const { return view_; }
    const AString& pageFile() const { return pageFile_; }

private:
    MediaPane* mediaPane_ = nullptr;             // not owned
    AMozillaView* view_ = nullptr;               // not owned
    AMediaDCRPaneHandler* handler_ = nullptr;    // one reference
    AString pageFile_;
};
