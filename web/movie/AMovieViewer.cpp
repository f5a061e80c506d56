// The movie viewer and the separate controller item.
#include "web/movie/AMovieViewer.h"

#include "base/object/AMemoryStream.h"
#include "framework/app/AApp.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/graphics/AUpdateWatch.h"
#include "web/movie/AQuickTimeApp.h"
#include "web/movie/MovieLibrary.h"

namespace {

MovieRect ToMovieRect(const ARect& r) {
    return MovieRect{int16_t(r.first.y), int16_t(r.first.x), int16_t(r.second.y), int16_t(r.second.x)};
}

bool HasBar(uint16_t mode) {
    return mode == 1 || mode == 2;
}

}  // namespace

SV_IMPLEMENT_CLASS(AMovieViewer, 652, AAtomicItem)
SV_IMPLEMENT_CLASS(AMovieController, 653, AAtomicItem)

AMovieViewer::AMovieViewer(AComponent* parent, int16_t id, const ASizeSpec& rule, uint16_t controllerMode,
                           uint16_t flags)
    : AAtomicItem(parent, id, rule, 0, 1, nullptr, 0), controllerMode_(controllerMode), viewerFlags_(flags) {}

AMovieViewer::~AMovieViewer() = default;

void AMovieViewer::readFrom(AMemoryStream& stream) {
    AAtomicItem::readFrom(stream);
    controllerMode_ = uint16_t(stream.readShort());
    viewerFlags_ = uint16_t(stream.readShort());
    ALayoutLoader::readEndMark(stream, "umovies", __LINE__);
}

void AMovieViewer::attachItems() {
    AAtomicItem::attachItems();
    if ((viewerFlags_ & kDisplayState) && !hasFlags(kOffscreen))
        viewerFlags_ &= uint16_t(~kDisplayState);
}

void AMovieViewer::childrenLoaded() {
    AAtomicItem::childrenLoaded();
    if (movie_)
        return;
    movie_ = new AMovie(this);
    AObject::completeNew(movie_);
    if (viewerFlags_ & kQuickTimeLookup)
        movie_->setUseQuickTimeLookup(1);
    if (movie_->controller()) {
        MovieRect grow = controllerMode_ == 2 ? MovieRect{0, 0, 5000, 5000} : MovieRect{0, 0, 0, 0};
        Movies()->MCDoAction(movie_->controller(), mcActionSetGrowBoxBounds, &grow);
    }
}

void AMovieViewer::setUpItems() {
    AAtomicItem::setUpItems();
    if (controllerMode_ <= 9)
        return;
    AComponent* item = sendToId(int16_t(controllerMode_), 0);
    if (!item)
        ThrowAssert("umovies", __LINE__);
    auto* controller = static_cast<AMovieController*>(item->castTo(&AMovieController::classRecord));
    bindController(CheckAlloc(controller, "umovies", __LINE__));
}

void AMovieViewer::detachItems() {
    bindController(nullptr);
    AAtomicItem::detachItems();
}

void AMovieViewer::componentDeleted(AComponent* component) {
    if (component == movie_)
        movie_ = nullptr;
    AAtomicItem::componentDeleted(component);
}

void AMovieViewer::bindController(AMovieController* controller) {
    if (controllerItem_)
        controllerItem_->setViewer(nullptr);
    controllerItem_ = controller;
    if (controllerItem_)
        controllerItem_->setViewer(this);
}

void AMovieViewer::closeMovie() {
    if (!movie_)
        ThrowAssert("umovies", __LINE__);
    movie_->closeMovie();
}

long AMovieViewer::setMovie(const AMovieFile& file) {
    if (!movie_)
        ThrowAssert("umovies", __LINE__);
    closeMovie();
    if (viewerFlags_ & kQuickTimeLookup)
        movie_->setUseQuickTimeLookup(1);
    long code = movie_->openMovie(file, getWindowBounds().first);
    if (code & 0xFFFF)
        return code;
    MovieController mc = movie_->controller();
    if (!mc)
        ThrowAssert("umovies", __LINE__);
    const MovieLibrary& qt = *Movies();
    qt.MCSetControllerAttached(mc, HasBar(controllerMode_));
    long flags = 0;
    qt.MCDoAction(mc, mcActionGetFlags, &flags);
    if (viewerFlags_ & kWindowPalette)
        flags |= 8;
    else
        flags &= ~8L;
    qt.MCDoAction(mc, mcActionSetFlags, reinterpret_cast<void*>(static_cast<intptr_t>(flags)));
    if (HasBar(controllerMode_))
        qt.MCSetVisible(mc, hasFlags(kVisible));
    if (hasFlags(kPlaced)) {
        movie_->setBounds(getWindowBounds());
        redraw(true);
    }
    if (viewerFlags_ & kFitToMovie)
        setSize(movie_->getDisplayExtent(), false);
    if (hasFlags(kVisible))
        qt.SetMovieActive(movie_->movie(), TRUE);
    else if (AQuickTimeApp* app = AQuickTimeApp::currentMovieApp())
        app->unregisterMovie(movie_);
    return code;
}

ARect AMovieViewer::barRect() {
    if (!HasBar(controllerMode_) || !movie_)
        return ARect();
    ARect bounds = getLocalBounds();
    return ARect(bounds.first.x, bounds.second.y - movie_->controllerHeight(), bounds.second.x, bounds.second.y);
}

bool AMovieViewer::inBar(const APoint& p) {
    ARect bar = barRect();
    if (bar.second.x <= bar.first.x)
        return false;
    // Edges included.
    return p.x >= bar.first.x && p.x <= bar.second.x && p.y >= bar.first.y && p.y <= bar.second.y;
}

APoint AMovieViewer::movieArea() {
    APoint size = getSize();
    if (HasBar(controllerMode_) && movie_)
        size.y -= movie_->controllerHeight();
    return size;
}

long AMovieViewer::drawContent(const ARect& rect) {
    if (!movie_ || !movie_->movie())
        return 0;
    HWND window = enclosingWindow();
    if (hasFlags(kOffscreen)) {
        movie_->draw(window, true);
        AAtomicItem::drawContent(rect);
    } else {
        movie_->draw(window, false);
    }
    return 1;
}

void AMovieViewer::showMovie(bool show) {
    if (!movie_ || !movie_->movie() || !Movies())
        return;
    Movies()->SetMovieActive(movie_->movie(), show);
    AQuickTimeApp* app = AQuickTimeApp::currentMovieApp();
    if (show) {
        if (app)
            app->registerMovie(movie_);
    } else {
        if (movie_->isPlaying())
            movie_->pause();
        if (app)
            app->unregisterMovie(movie_);
    }
    if (HasBar(controllerMode_) && movie_->controller())
        Movies()->MCSetVisible(movie_->controller(), show);
}

void AMovieViewer::showNativeWindow() {
    AAtomicItem::showNativeWindow();
    showMovie(true);
}

void AMovieViewer::hideNativeWindow() {
    AAtomicItem::hideNativeWindow();
    showMovie(false);
}

void AMovieViewer::setNativeWindowShownForced(bool show) {
    AAtomicItem::setNativeWindowShownForced(show);
    showMovie(show);
}

void AMovieViewer::enableWindow(bool on) {
    AAtomicItem::enableWindow(on);
    if (movie_ && movie_->controller() && HasBar(controllerMode_))
        Movies()->MCActivate(movie_->controller(), Movies()->GetNativeWindowPort(enclosingWindow()), on);
}

void AMovieViewer::moveNativeWindow() {
    AUpdateWatch::touch();
    if (movie_ && movie_->movie())
        movie_->setBounds(getWindowBounds());
    else
        AAtomicItem::moveNativeWindow();
}

void AMovieViewer::targetChanged(int16_t gained, AComponent* common) {
    AAtomicItem::targetChanged(gained, common);
    if (movie_ && movie_->controller())
        Movies()->MCDoAction(movie_->controller(), mcActionSetKeysEnabled,
                             reinterpret_cast<void*>(static_cast<intptr_t>(gained != 0)));
}

void AMovieViewer::passToBar(const APoint& point) {
    if (!movie_ || !movie_->movie())
        return;
    APoint at = point + getWindowBounds().first;
    movie_->handleEvent(enclosingWindow(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
}

bool AMovieViewer::click(const APoint& point) {
    if (!movie_ || !movie_->movie() || inBar(point) || movie_->isPlaying())
        return false;
    movie_->playFrom(-1, -2, 1000);
    return true;
}

ACommand* AMovieViewer::mouseDown(AMouseEvent& event) {
    if (movie_ && movie_->movie()) {
        if (inBar(event.where)) {
            // The bar's clicks belong to the controller alone.
            passToBar(event.where);
            return noChangeCommand();
        }
        // A press pauses a playing movie; on a stopped one it is a click, which plays it.
        if (movie_->isPlaying())
            movie_->pause();
        else
            click(event.where);
    }
    return AAtomicItem::mouseDown(event);
}

ACommand* AMovieViewer::doubleClick(AMouseEvent& event, long count) {
    (void)count;
    click(event.where);
    return noChangeCommand();
}

AMovieController::AMovieController(AComponent* parent, int16_t id, const ASizeSpec& rule)
    : AAtomicItem(parent, id, rule, 0, 1, nullptr, 0) {}

void AMovieController::readFrom(AMemoryStream& stream) {
    AAtomicItem::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "umovies", __LINE__);
}

void AMovieController::detachItems() {
    if (viewer_)
        viewer_->bindController(nullptr);
    AAtomicItem::detachItems();
}

MovieController AMovieController::controller() const {
    return viewer_ && viewer_->movie() && Movies() ? viewer_->movie()->controller() : nullptr;
}

void AMovieController::moveNativeWindow() {
    AUpdateWatch::touch();
    if (MovieController mc = controller()) {
        MovieRect r = ToMovieRect(getWindowBounds());
        Movies()->MCSetControllerBoundsRect(mc, &r);
    } else {
        AAtomicItem::moveNativeWindow();
    }
}

void AMovieController::showBar(bool show) {
    MovieController mc = controller();
    if (!mc)
        return;
    Movies()->MCSetVisible(mc, show);
    if (show)
        Movies()->MCActivate(mc, Movies()->GetNativeWindowPort(enclosingWindow()), hasFlags(kActive));
}

void AMovieController::showNativeWindow() {
    if (controller())
        showBar(true);
    else
        AAtomicItem::showNativeWindow();
}

void AMovieController::hideNativeWindow() {
    if (controller())
        showBar(false);
    else
        AAtomicItem::hideNativeWindow();
}

void AMovieController::setNativeWindowShownForced(bool show) {
    if (controller())
        showBar(show);
    else
        AAtomicItem::setNativeWindowShownForced(show);
}

void AMovieController::enableWindow(bool on) {
    AAtomicItem::enableWindow(on);
    if (MovieController mc = controller())
        Movies()->MCActivate(mc, Movies()->GetNativeWindowPort(enclosingWindow()), on);
}

long AMovieController::drawContent(const ARect& rect) {
    (void)rect;
    if (!viewer_ || !viewer_->movie())
        return 0;
    viewer_->movie()->draw(enclosingWindow(), false);
    return 1;
}

void AMovieController::targetChanged(int16_t gained, AComponent* common) {
    AAtomicItem::targetChanged(gained, common);
    if (MovieController mc = controller())
        Movies()->MCDoAction(mc, mcActionSetKeysEnabled, reinterpret_cast<void*>(static_cast<intptr_t>(gained != 0)));
}

void RegisterMovieClasses() {
    static const AClass* const records[] = {&AQuickTimeApp::classRecord, &AMovie::classRecord,
                                            &AMovieViewer::classRecord, &AMovideoViewer::classRecord,
                                            &AMovieController::classRecord};
    (void)records;
}
