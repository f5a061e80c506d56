// Items that show movies in layouts: AMovieViewer (one movie with an optional
// controller bar), AMovideoViewer (adds clickable hot spots that follow the
// frames) and AMovieController (the bar of a viewer shown elsewhere).
//
// A viewer owns its AMovie as a child component and its hot-spot streams; a
// controller item holds only a back pointer. Coordinates are the item's
// local pixels. Layout errors are assertions ("umovies").
#pragma once

#include "framework/clusters/ACommandItem.h"
#include "web/movie/AMovie.h"
#include "web/movie/HotSpots.h"

class AMovieController;

class AMovieViewer : public AAtomicItem {
    SV_DECLARE_CLASS(AMovieViewer)
public:
    // viewerFlags bits.
    enum : uint16_t { kDisplayState = 1, kFitToMovie = 2, kQuickTimeLookup = 4, kWindowPalette = 8 };

    AMovieViewer() = default;
    AMovieViewer(AComponent* parent, int16_t id, const ASizeSpec& rule, uint16_t controllerMode, uint16_t flags);
    ~AMovieViewer() override;

    // Record: AAtomicItem's, controller mode u16, viewer flags u16, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void childrenLoaded() override;
    void setUpItems() override;
    void detachItems() override;
    void componentDeleted(AComponent* component) override;
    long drawContent(const ARect& rect) override;
    void showNativeWindow() override;
    void hideNativeWindow() override;
    void setNativeWindowShownForced(bool show) override;
    void enableWindow(bool on) override;
    void moveNativeWindow() override;
    void targetChanged(int16_t gained, AComponent* common) override;
    ACommand* mouseDown(AMouseEvent& event) override;
    ACommand* doubleClick(AMouseEvent& event, long count) override;

    virtual void closeMovie();
    // The open result of AMovie::openMovie; the viewer shows nothing on an error.
    long setMovie(const AMovieFile& file);
    void bindController(AMovieController* controller);

    AMovie* movie() const { return movie_; }
    AMovieController* controllerItem() const { return controllerItem_; }
    uint16_t controllerMode() const { return controllerMode_; }
    uint16_t viewerFlags() const { return viewerFlags_; }
    // The bar's rectangle in local coordinates; empty without a bar here.
    ARect barRect();
    bool inBar(const APoint& point);
    // The item's size less the bar.
    APoint movieArea();

protected:
    // What a click does: play a stopped movie outside the bar.
    bool click(const APoint& point);
    void showMovie(bool show);
    // Hands the press to the controller bar as a window message.
    void passToBar(const APoint& point);

    AMovie* movie_ = nullptr;                      // a child, owned through the tree
    AMovieController* controllerItem_ = nullptr;  // not owned
    uint16_t controllerMode_ = 0;
    uint16_t viewerFlags_ = 0;
};

class AMovieController : public AAtomicItem {
    SV_DECLARE_CLASS(AMovieController)
public:
    AMovieController() = default;
    AMovieController(AComponent* parent, int16_t id, const ASizeSpec& rule);

    // Record: AAtomicItem's, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void detachItems() override;
    void moveNativeWindow() override;
    void showNativeWindow() override;
    void hideNativeWindow() override;
    void setNativeWindowShownForced(bool show) override;
    void enableWindow(bool on) override;
    long drawContent(const ARect& rect) override;
    void targetChanged(int16_t gained, AComponent* common) override;

    AMovieViewer* viewer() const { return viewer_; }
    void setViewer(AMovieViewer* viewer) { viewer_ = viewer; }

private:
    MovieController controller() const;
    void showBar(bool show);

    AMovieViewer* viewer_ = nullptr;  // not owned
};

class AMovideoViewer : public AMovieViewer {
    SV_DECLARE_CLASS(AMovideoViewer)
public:
    AMovideoViewer() = default;
    AMovideoViewer(AComponent* parent, int16_t id, const ASizeSpec& rule, uint16_t controllerMode, uint16_t flags);
    ~AMovideoViewer() override;

    void attachItems() override;
    void detachItems() override;
    ACommand* mouseMove(AMouseEvent& event) override;
    ACommand* mouseUp(AMouseEvent& event) override;

    // The cursor over the movie area: the hot one over a hot spot.
    virtual void adjustCursor(const APoint& point, long frame);
    // The number (from 1) of the hot spot of the position's frame holding the point, else negative.
    long hotSpotAt(const APoint& point, long position);
    void setCursors(int16_t hot, int16_t plain);
    // Takes the pair's streams (the caller's pair is left empty).
    void setHotSpots(HotSpotPair& pair);
    bool hasHotSpots() const { return hotSpots_.records && hotSpots_.index; }
    long lastHotSpot() const { return lastHotSpot_; }
    long clickFrame() const { return clickFrame_; }
    const APoint& lastPoint() const { return lastPoint_; }
    // Called by the listener when the frame under a resting pointer changes.
    void movieFrameChanged(long frame);

private:
    long hotSpotInFrame(const APoint& point, long frame);

    HotSpotPair hotSpots_;
    AMovieListener* hotSpotListener_ = nullptr;  // one reference
    long clickFrame_ = 0;
    long lastHotSpot_ = -1;
    int16_t hotCursor_ = -2;
    int16_t plainCursor_ = -3;
    APoint lastPoint_;
};

// Registers the movie classes, in order: AQuickTimeApp, AMovie,
// AMovieViewer, AMovideoViewer, AMovieController. Records register
// themselves when linked; this names them so the linker keeps them.
void RegisterMovieClasses();
