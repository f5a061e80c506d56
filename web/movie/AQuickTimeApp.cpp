// The movie layer's start and stop with the application, and movie idle time.
#include "web/movie/AQuickTimeApp.h"

#include <windows.h>

#include <algorithm>

#include "framework/display/ADisplayComponent.h"
#include "framework/windows/AMdiFrame.h"
#include "web/movie/AMovie.h"
#include "web/movie/MovieLibrary.h"

namespace {

uint16_t g_moviesReady = 0;

}  // namespace

bool MoviesReady() {
    return g_moviesReady != 0 && Movies() != nullptr;
}

SV_IMPLEMENT_CLASS(AQuickTimeApp, 650, AApp)

AQuickTimeApp::AQuickTimeApp() = default;

AQuickTimeApp::AQuickTimeApp(const AString& name, const ARect& requestedSize, uint16_t style, uint16_t styleExtra)
    : AApp(name, requestedSize, style, styleExtra) {}

AQuickTimeApp::~AQuickTimeApp() = default;

AQuickTimeApp* AQuickTimeApp::currentMovieApp() {
    AApp* app = AApp::current();
    return app ? static_cast<AQuickTimeApp*>(app->castTo(&AQuickTimeApp::classRecord)) : nullptr;
}

bool AQuickTimeApp::activateOtherInstance() {
    if (!AApp::activateOtherInstance())
        return false;
    if (LoadMovieLibrary(movieLibraryPath()) && Movies()->InitializeQTML(0) == 0) {
        quickTimeReady_ = 1;
        SetMovieMessageHandler(&AMovie::passMessage);
    }
    if ((options_ & kMoviesRequired) && !quickTimeReady_) {
        messageBox(FrameworkString(128, 6, "Cette application requiert au moins QuickTime 3.0").c_str(), "", MB_OK,
                   nullptr);
        // The framework would end this start as a normal quit: a reader that
        // cannot run tells whoever started it.
        endProcess(kErrorExitCode);
        return false;
    }
    return true;
}

void AQuickTimeApp::attachItems() {
    AApp::attachItems();
    if (!quickTimeReady_)
        return;
    if (Movies()->EnterMovies() != 0) {
        messageBox(FrameworkString(128, 9, "L'initialisation de QuickTime a \xE9" "chou\xE9").c_str(),
                   title().c_str(), MB_OK | MB_ICONEXCLAMATION, nullptr);
        endProcess(kErrorExitCode);
        return;
    }
    g_moviesReady = 1;
}

void AQuickTimeApp::detachItems() {
    if (quickTimeReady_) {
        g_moviesReady = 0;
        Movies()->ExitMovies();
        Movies()->TerminateQTML();
        quickTimeReady_ = 0;
        SetMovieMessageHandler(nullptr);
    }
    movies_.clear();
    AApp::detachItems();
}

long AQuickTimeApp::timerFired(uint16_t id, uint32_t now) {
    if (id && id == idleTimer_) {
        idleMovies();
        return 0;
    }
    return AApp::timerFired(id, now);
}

void AQuickTimeApp::registerMovie(AMovie* movie) {
    if (!movie || isRegistered(movie))
        return;
    movies_.push_back(movie);
    if (!idleTimer_)
        idleTimer_ = addTimer(this, kMovieIdleDelay);
}

void AQuickTimeApp::unregisterMovie(AMovie* movie) {
    movies_.erase(std::remove(movies_.begin(), movies_.end(), movie), movies_.end());
    if (movies_.empty() && idleTimer_) {
        restartTimer(this, idleTimer_);
        idleTimer_ = 0;
    }
}

bool AQuickTimeApp::isRegistered(const AMovie* movie) const {
    return std::find(movies_.begin(), movies_.end(), movie) != movies_.end();
}

void AQuickTimeApp::idleMovies() {
    // A movie's idle may unregister movies: walk a copy.
    std::vector<AMovie*> movies = movies_;
    for (AMovie* movie : movies) {
        if (isRegistered(movie))
            movie->idle();
    }
}

void AQuickTimeApp::endProcess(int code) {
    ExitProcess(UINT(code));
}
