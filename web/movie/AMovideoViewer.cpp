// The movie viewer with hot spots that follow the frames.
#include "web/movie/AMovieViewer.h"

#include "framework/app/AApp.h"

namespace {

// Follows the frame while the movie plays, so that the cursor changes under a
// resting pointer; never consumes an action.
class HotSpotListener : public AMovieListener {
public:
    explicit HotSpotListener(AMovideoViewer* viewer) : viewer_(viewer) {}
    bool handleAction(AMovie* movie, short action, void* params) override {
        if (action == mcActionPlay) {
            lastFrame_ = reinterpret_cast<intptr_t>(params) != 0 ? movie->toFrame(-1) : 0;
        } else if (action == mcActionIdle && lastFrame_ != 0) {
            long frame = movie->toFrame(-1);
            if (frame != lastFrame_) {
                lastFrame_ = frame;
                viewer_->movieFrameChanged(frame);
            }
        }
        return false;
    }

private:
    AMovideoViewer* viewer_;  // not owned: it removes this listener before it goes
    long lastFrame_ = 0;
};

const long kHotSpotListenerKey = 654;

}  // namespace

SV_IMPLEMENT_CLASS(AMovideoViewer, 654, AMovieViewer)

AMovideoViewer::AMovideoViewer(AComponent* parent, int16_t id, const ASizeSpec& rule, uint16_t controllerMode,
                               uint16_t flags)
    : AMovieViewer(parent, id, rule, controllerMode, flags) {}

AMovideoViewer::~AMovideoViewer() {
    HotSpotPairClose(&hotSpots_);
    if (hotSpotListener_)
        hotSpotListener_->release();
}

void AMovideoViewer::attachItems() {
    AMovieViewer::attachItems();
    if (!hotSpotListener_)
        hotSpotListener_ = new HotSpotListener(this);
    if (movie_) {
        hotSpotListener_->addRef();
        movie_->addListener(kHotSpotListenerKey, hotSpotListener_);
    }
    setCursors(-2, -3);
}

void AMovideoViewer::detachItems() {
    if (movie_)
        movie_->removeListener(kHotSpotListenerKey);
    HotSpotPairClose(&hotSpots_);
    lastHotSpot_ = -1;
    if (hotSpotListener_)
        hotSpotListener_->release();
    hotSpotListener_ = nullptr;
    AMovieViewer::detachItems();
}

void AMovideoViewer::setHotSpots(HotSpotPair& pair) {
    HotSpotPairClose(&hotSpots_);
    hotSpots_ = pair;
    pair = HotSpotPair();
}

void AMovideoViewer::setCursors(int16_t hot, int16_t plain) {
    hotCursor_ = hot;
    plainCursor_ = plain;
}

long AMovideoViewer::hotSpotInFrame(const APoint& point, long frame) {
    APoint area = movieArea();
    return HotSpotFind(hotSpots_, area.x, area.y, frame, point.x, point.y);
}

long AMovideoViewer::hotSpotAt(const APoint& point, long position) {
    if (!movie_ || !movie_->movie())
        return -1;
    return hotSpotInFrame(point, movie_->toFrame(position));
}

void AMovideoViewer::adjustCursor(const APoint& point, long frame) {
    APoint area = movieArea();
    if (point.x < 0 || point.y < 0 || point.x >= area.x || point.y >= area.y)
        return;
    if (AApp* app = AApp::current())
        app->setCursor(hotSpotInFrame(point, frame) > 0 ? hotCursor_ : plainCursor_);
}

void AMovideoViewer::movieFrameChanged(long frame) {
    AApp* app = AApp::current();
    if (!app || app->cursorComponent() != this || !hasHotSpots() || (hotCursor_ == 0 && plainCursor_ == 0))
        return;
    adjustCursor(lastPoint_, frame);
}

ACommand* AMovideoViewer::mouseMove(AMouseEvent& event) {
    lastPoint_ = event.where;
    if (hasHotSpots() && movie_ && movie_->movie())
        adjustCursor(event.where, movie_->toFrame(-1));
    return AMovieViewer::mouseMove(event);
}

ACommand* AMovideoViewer::mouseUp(AMouseEvent& event) {
    APoint area = movieArea();
    const APoint& p = event.where;
    if (hasHotSpots() && movie_ && movie_->movie() && p.x >= 0 && p.y >= 0 && p.x < area.x && p.y < area.y)
        clickFrame_ = movie_->getCurrentPosition();
    lastHotSpot_ = hotSpotAt(p, clickFrame_);
    if (lastHotSpot_ >= 0) {
        notifyOwner(1);
        return noChangeCommand();
    }
    return AMovieViewer::mouseUp(event);
}
