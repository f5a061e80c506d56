// The video of a media document (kind 5) inside the media pane: the record's
// "VIDNAME" file under the base's "VIDEOS" folder, played by the movie layer
// in viewer 6200, fitted into the pane in steps of 1/128 with its
// proportions kept, and the transport the media pane's buttons drive. The
// record's "DCRNAME" names the Director companion under "DCR".
//
// The media pane and the viewer are not owned (the viewer owns its movie).
// Times are milliseconds. A missing media pane, viewer or sizer box is a
// layout fault ("MediaVideoPane", line). A refused or missing file leaves
// the viewer empty, the transport disabled and a line in the log.
#pragma once

#include <cstdint>

#include "app/frame/SVPane.h"
#include "base/object/ARect.h"
#include "base/object/AString.h"
#include "panes/content/media/MediaPane.h"

class AMovie;
class AMovieViewer;

class MediaVideoPane : public SVPane, public AMediaVideoControl {
    SV_DECLARE_CLASS(MediaVideoPane)
public:
    enum : int16_t { kViewer = 6200 };

    MediaVideoPane() = default;

    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    void linkChanged(AComponent* source, const AKindSet& kinds) override;
    long frameChanged(const APoint& size) override;
    ACommand* mouseDown(AMouseEvent& event) override;
    void updatePane() override;
    int16_t isPaneWanted() override;
    AppState* currentState() override;

    // The transport (nothing without a movie).
    void play() override;
    void pause() override;
    void stop() override;
    void rewind() override;
    void fastForward() override;
    bool isStopped() override;
    bool isPlaying() override;
    bool canRewind() override;
    bool canStop() override;
    bool canFastForward() override;

    // Opens the document's video (nothing when load is 0); true when a movie opened.
    bool openVideo(long docNo, int16_t load);
    void fitMovie();
    // Centres the viewer in its display parent at that size, bounded by the
    // parent ((0, 0): the viewer's own size).
    void setViewerSize(AMovieViewer* viewer, APoint size);

    // The size of a w x h movie fitted into a W x H box.
    static APoint FitSize(APoint movie, APoint box);
    // A record's file name is refused when it could leave its folder.
    static bool IsSafeFileName(const char* name);

    AMovie* movie() const;
    AMovieViewer* viewer() const { return viewer_; }
    long step() const { return step_; }

private:
    // Pauses, goes to t and plays on from there.
    void jumpTo(long t);

    MediaPane* mediaPane_ = nullptr;  // not owned
    AMovieViewer* viewer_ = nullptr;  // not owned
    long step_ = 0;
};
