// The movie component: opening, playing, positions and the action filter.
#include "web/movie/AMovie.h"

#include "base/procedural/KyFile.h"
#include "framework/display/ADisplayComponent.h"
#include "web/movie/AQuickTimeApp.h"
#include "web/movie/MovieFullScreen.h"
#include "web/movie/MovieLibrary.h"
#include "web/movie/SampleTable.h"

namespace {

const OSType kVideoType = 0x76696465;  // 'vide'

MovieRect ToMovieRect(const ARect& r) {
    return MovieRect{int16_t(r.first.y), int16_t(r.first.x), int16_t(r.second.y), int16_t(r.second.x)};
}

long Code(OSErr err) {
    return (AMovie::kMovieErrorDomain << 16) | uint16_t(err);
}

void* AsParam(long value) {
    return reinterpret_cast<void*>(static_cast<intptr_t>(value));
}

}  // namespace

SV_IMPLEMENT_CLASS(AMovie, 651, AComponent)

AMovie::AMovie() = default;

AMovie::AMovie(AComponent* owner) : AComponent(owner, 0) {}

AMovie::~AMovie() {
    try {
        closeMovie();
        if (controller_ && Movies())
            Movies()->DisposeMovieController(controller_);
        controller_ = nullptr;
        clearListeners();
    } catch (...) {
    }
}

HWND AMovie::windowOf(long line) {
    for (AComponent* c = getParent(); c; c = c->getParent()) {
        auto* display = static_cast<ADisplayComponent*>(c->castTo(&ADisplayComponent::classRecord));
        if (display) {
            if (HWND window = display->enclosingWindow())
                return window;
        }
    }
    ThrowAssert("umovies", line);
}

GrafPtr AMovie::port() {
    return window_ && Movies() ? Movies()->GetNativeWindowPort(window_) : nullptr;
}

void AMovie::attachItems() {
    AComponent::attachItems();
    if (!MoviesReady())
        return;
    const MovieLibrary& qt = *Movies();
    window_ = windowOf(__LINE__);
    GrafPtr windowPort = qt.CreatePortAssociation(window_, nullptr, 1);
    GrafPtr savedPort = nullptr;
    void* savedDevice = nullptr;
    qt.GetGWorld(&savedPort, &savedDevice);
    qt.SetGWorld(windowPort, nullptr);
    Movie empty = qt.NewMovie(0);
    MovieRect none{0, 0, 0, 0};
    controller_ = qt.NewMovieController(empty, &none, mcNotVisible);
    if (!controller_) {
        if (empty)
            qt.DisposeMovie(empty);
        qt.SetGWorld(savedPort, savedDevice);
        ThrowAssert("umovies", __LINE__);
    }
    qt.MCRemoveMovie(controller_);
    if (empty)
        qt.DisposeMovie(empty);
    MovieRect bounds{};
    qt.MCGetControllerBoundsRect(controller_, &bounds);
    controllerHeight_ = bounds.bottom - bounds.top;
    if (controllerHeight_ < 15 || controllerHeight_ > 20)
        controllerHeight_ = 18;
    actionFilter_ = &AMovie::actionFilter;
    qt.MCSetActionFilterWithRefCon(controller_, actionFilter_, long(reinterpret_cast<intptr_t>(this)));
    qt.SetGWorld(savedPort, savedDevice);
}

void AMovie::detachItems() {
    closeMovie();
    if (controller_ && Movies())
        Movies()->DisposeMovieController(controller_);
    controller_ = nullptr;
    actionFilter_ = nullptr;
    if (GrafPtr p = port())
        Movies()->DestroyPortAssociation(p);
    window_ = nullptr;
    playing_ = 0;
    clearListeners();
    AComponent::detachItems();
}

long AMovie::openMovie(const AMovieFile& file, const APoint& where) {
    closeMovie();
    const MovieLibrary* qt = Movies();
    if (!controller_ || !qt)
        return Code(kMovieErrNoController);
    MovieFileSpec spec;
    OSErr err = qt->NativePathNameToFSSpec(file.spec.path().c_str(), &spec, 0);
    Movie made = nullptr;
    if (err == 0 && !file.isRange()) {
        // The layer opens the file itself: the file layer's cached handles give way.
        if (KY_FileSys* fs = KY_GetGlobalFileSys())
            KY_ReleaseAllHandles(fs);
        short ref = 0;
        err = qt->OpenMovieFile(&spec, &ref, 1);
        if (err == 0) {
            short resId = 0;
            err = qt->NewMovieFromFile(&made, ref, &resId, nullptr, 0, nullptr);
            qt->CloseMovieFile(ref);
        }
    } else if (err == 0) {
        err = qt->FSpOpenDF(&spec, 1, &dataFork_);
        if (err == 0) {
            err = qt->NewMovieFromDataFork(&made, dataFork_, file.start, 0, nullptr);
            if (err) {
                qt->FSClose(dataFork_);
                dataFork_ = 0;
            }
        }
    }
    if (err || !made)
        return Code(err ? err : OSErr(kMovieErrBadFile));
    movie_ = made;
    MovieRect box;
    qt->GetMovieBox(movie_, &box);
    extent_ = APoint(box.right - box.left, box.bottom - box.top);
    if (extent_.x == 0)
        extent_.x = 320;
    qt->MCSetMovie(controller_, movie_, port(), MoviePoint{int16_t(where.y), int16_t(where.x)});
    videoTrack_ = qt->GetMovieIndTrackType(movie_, 1, kVideoType, 5);
    videoMedia_ = videoTrack_ ? qt->GetTrackMedia(videoTrack_) : nullptr;
    duration_ = qt->GetMovieDuration(movie_);
    file_ = file;
    if (AQuickTimeApp* app = AQuickTimeApp::currentMovieApp())
        app->registerMovie(this);
    return Code(0);
}

void AMovie::closeMovie() {
    if (AQuickTimeApp* app = AQuickTimeApp::currentMovieApp())
        app->unregisterMovie(this);
    sampleTable_ = SampleTableFree(sampleTable_);
    // The lookup asked for stays; the one a failed table forced goes with the movie.
    useQuickTimeLookup_ = lookupOption_;
    videoTrack_ = nullptr;
    videoMedia_ = nullptr;
    duration_ = 0;
    lastFrame_ = -1;
    const MovieLibrary* qt = Movies();
    if (dataFork_ && qt)
        qt->FSClose(dataFork_);
    dataFork_ = 0;
    if (movie_ && qt) {
        if (hasFullScreen())
            endFullScreen();
        if (!controller_)
            ThrowAssert("umovies", __LINE__);
        qt->MCRemoveMovie(controller_);
        qt->DisposeMovie(movie_);
        movie_ = nullptr;
        file_ = AMovieFile();
    }
}

void AMovie::setUseQuickTimeLookup(uint16_t use) {
    lookupOption_ = use;
    useQuickTimeLookup_ = use;
}

MovieController AMovie::activeController() {
    return hasFullScreen() ? nullptr : controller_;
}

void AMovie::playFrom(long start, long end, int16_t rate) {
    const MovieLibrary* qt = Movies();
    if (!controller_ || !movie_ || !qt)
        return;
    MovieController mc = controller_;
    if (fullScreen_) {
        setUpFullScreen();
        if (FullScreenState().controller)
            mc = FullScreenState().controller;
    }
    Fixed fixedRate = Fixed(int32_t(rate) * 65536 / 1000);
    if (start == 0) {
        goToTime(0);
        start = -1;
    }
    MovieTimeRecord from{}, to{};
    TimeValue startTime;
    if (start == -1 && end == -2) {
        selectionActive_ = 0;
        qt->MCDoAction(mc, mcActionSetPlaySelection, AsParam(0));
        startTime = timeOf(-1, &from);
    } else {
        selectionActive_ = 1;
        startTime = timeOf(start, &from);
        timeOf(end, &to);
        MovieTimeRecord length = to;
        length.value = to.value - from.value;
        qt->MCDoAction(mc, mcActionSetSelectionBegin, &from);
        qt->MCDoAction(mc, mcActionSetSelectionDuration, &length);
        qt->MCDoAction(mc, mcActionSetPlaySelection, AsParam(1));
    }
    qt->PrerollMovie(movie_, startTime, fixedRate);
    qt->SetMovieActive(movie_, TRUE);
    qt->MCDoAction(mc, mcActionPlay, AsParam(fixedRate));
}

void AMovie::goToTime(long position) {
    if (!controller_ || !movie_)
        return;
    MovieTimeRecord record{};
    timeOf(position, &record);
    Movies()->MCDoAction(controller_, mcActionGoToTime, &record);
}

void AMovie::pause() {
    if (!controller_ || !Movies())
        return;
    Fixed rate = 0;
    Movies()->MCDoAction(controller_, mcActionGetPlayRate, &rate);
    Movies()->MCDoAction(controller_, mcActionPlay, AsParam(0));
    // A second pause must not forget the rate the first one kept.
    if (rate != 0)
        savedRate_ = rate;
}

void AMovie::resume() {
    if (!controller_ || !Movies() || savedRate_ == 0)
        return;
    Movies()->MCDoAction(controller_, mcActionPlay, AsParam(savedRate_));
    savedRate_ = 0;
}

bool AMovie::isPlaying() {
    if (!controller_ || !Movies())
        return false;
    Fixed rate = 0;
    Movies()->MCDoAction(controller_, mcActionGetPlayRate, &rate);
    return rate != 0;
}

long AMovie::getCurrentPosition() {
    if (!movie_)
        return 0;
    if (positionsInFrames_)
        return timeToFrame(-1);
    MovieTimeRecord now{};
    Movies()->GetMovieTime(movie_, &now);
    return Movies()->ConvertTimeScale(&now, 1000);
}

long AMovie::getEndPosition() {
    if (!movie_)
        return 0;
    if (positionsInFrames_)
        return timeToFrame(-2);
    MovieTimeRecord end{duration_, Movies()->GetMovieTimeScale(movie_), Movies()->GetMovieTimeBase(movie_)};
    return Movies()->ConvertTimeScale(&end, 1000);
}

long AMovie::toFrame(long position) {
    if (positionsInFrames_ && position >= 0)
        return position;
    if (position == -1 || position == -2)
        return timeToFrame(position);
    return timeToFrame(timeOf(position, nullptr));
}

TimeValue AMovie::timeOf(long position, MovieTimeRecord* record) {
    const MovieLibrary* qt = Movies();
    if (!movie_ || !qt)
        return 0;
    if (position == -1)
        return qt->GetMovieTime(movie_, record);
    TimeScale scale = qt->GetMovieTimeScale(movie_);
    TimeValue time;
    if (position == -2) {
        time = duration_;
    } else if (positionsInFrames_) {
        time = frameToTime(position);
    } else {
        MovieTimeRecord ms{position, 1000, qt->GetMovieTimeBase(movie_)};
        time = qt->ConvertTimeScale(&ms, scale);
        if (record)
            *record = MovieTimeRecord{time, scale, qt->GetMovieTimeBase(movie_)};
        return time;
    }
    if (record)
        *record = MovieTimeRecord{time, scale, qt->GetMovieTimeBase(movie_)};
    return time;
}

long AMovie::timeToFrame(TimeValue time) {
    const MovieLibrary* qt = Movies();
    if (!movie_ || !videoTrack_ || !qt)
        return 0;
    if (time == -1)
        time = qt->GetMovieTime(movie_, nullptr);
    else if (time == -2)
        time = duration_;
    if (time >= duration_)
        time = duration_ - 1;
    TimeValue media = qt->TrackTimeToMediaTime(time, videoTrack_);
    loadSampleTable();
    if (useQuickTimeLookup_) {
        long number = 0;
        qt->MediaTimeToSampleNum(videoMedia_, media, &number, nullptr, nullptr);
        return number > 0 ? number - 1 : 0;
    }
    return SampleTableTimeToSample(sampleTable_, media);
}

TimeValue AMovie::frameToTime(long frame) {
    const MovieLibrary* qt = Movies();
    if (!movie_ || !qt)
        return 0;
    if (frame == -1)
        return qt->GetMovieTime(movie_, nullptr);
    if (frame == -2)
        return duration_;
    if (!videoTrack_)
        return 0;
    loadSampleTable();
    if (lastFrame_ < 0)
        lastFrame_ = timeToFrame(duration_);
    if (frame > lastFrame_)
        frame = lastFrame_;
    TimeValue media = 0;
    if (useQuickTimeLookup_)
        qt->SampleNumToMediaTime(videoMedia_, frame + 1, &media, nullptr);
    else
        media = TimeValue(SampleTableSampleToTime(sampleTable_, frame));
    MovieTimeRecord record{media, qt->GetMediaTimeScale(videoMedia_), qt->GetMovieTimeBase(movie_)};
    return qt->ConvertTimeScale(&record, qt->GetMovieTimeScale(movie_));
}

void AMovie::loadSampleTable() {
    if (sampleTable_ || useQuickTimeLookup_ || !movie_)
        return;
    const MovieLibrary& qt = *Movies();
    long index = 0;
    for (long i = 1, n = qt.GetMovieTrackCount(movie_); i <= n; ++i) {
        if (qt.GetMovieIndTrack(movie_, i) == videoTrack_) {
            index = i;
            break;
        }
    }
    if (index)
        sampleTable_ = SampleTableRead(file_, index);
    if (!sampleTable_)
        useQuickTimeLookup_ = 1;
}

APoint AMovie::getDisplayExtent() {
    APoint size = extent_;
    if (controller_ && Movies() && Movies()->MCIsControllerAttached(controller_))
        size.y += controllerHeight_;
    return size;
}

void AMovie::setBounds(const ARect& rect) {
    const MovieLibrary* qt = Movies();
    if (!qt || !controller_)
        return;
    MovieRect r = ToMovieRect(rect);
    if (qt->MCIsControllerAttached(controller_)) {
        if (extent_.y != 0)
            qt->MCPositionController(controller_, &r, nullptr, 2);
        else
            qt->MCSetControllerBoundsRect(controller_, &r);
    } else if (movie_) {
        qt->SetMovieBox(movie_, &r);
    }
}

void AMovie::idle() {
    if (controller_ && Movies())
        Movies()->MCIdle(controller_);
}

void AMovie::draw(HWND window, bool alsoIdle) {
    if (!controller_ || !Movies())
        return;
    Movies()->MCDraw(controller_, Movies()->GetNativeWindowPort(window));
    if (alsoIdle)
        Movies()->MCIdle(controller_);
}

bool AMovie::onControllerAction(short action, void* params) {
    bool consumed = false;
    // A listener may remove listeners: offer the action over a snapshot.
    std::map<long, AMovieListener*> snapshot = listeners_;
    for (auto& entry : snapshot) {
        entry.second->addRef();
        bool took = entry.second->enabled && entry.second->handleAction(this, action, params);
        entry.second->release();
        if (took) {
            consumed = true;
            break;
        }
    }
    if (action == mcActionPlay) {
        Fixed rate = Fixed(reinterpret_cast<intptr_t>(params));
        if (selectionActive_)
            selectionActive_ = 0;
        else if (controller_)
            Movies()->MCDoAction(controller_, mcActionSetPlaySelection, AsParam(0));
        if (rate == 0 && FullScreenState().controller)
            FullScreenState().endRequested = true;
        uint16_t playing = rate != 0;
        if (playing != playing_) {
            playing_ = playing;
            queueUpdate(kPlayingChange);
        }
    }
    return consumed;
}

BOOL AMovie::actionFilter(MovieController, short action, void* params, long refCon) {
    // The layer's callback: nothing may cross it.
    try {
        auto* movie = reinterpret_cast<AMovie*>(static_cast<intptr_t>(refCon));
        return movie && movie->onControllerAction(action, params);
    } catch (...) {
        return FALSE;
    }
}

void AMovie::addListener(long key, AMovieListener* listener) {
    removeListener(key);
    if (listener)
        listeners_[key] = listener;
}

void AMovie::removeListener(long key) {
    auto it = listeners_.find(key);
    if (it == listeners_.end())
        return;
    AMovieListener* listener = it->second;
    listeners_.erase(it);
    listener->release();
}

void AMovie::clearListeners() {
    std::map<long, AMovieListener*> all;
    all.swap(listeners_);
    for (auto& entry : all)
        entry.second->release();
}
