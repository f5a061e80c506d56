// The movie component's full screen and its window messages.
#include "web/movie/AMovie.h"

#include "web/movie/MovieFullScreen.h"
#include "web/movie/MovieLibrary.h"

MovieFullScreen& FullScreenState() {
    static MovieFullScreen state;
    return state;
}

namespace {

bool OfferMessage(MovieController mc, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const MovieLibrary* qt = Movies();
    if (!mc || !qt || IsIconic(window))
        return false;
    MSG msg{window, message, wParam, lParam, DWORD(GetMessageTime()), {0, 0}};
    DWORD pos = GetMessagePos();
    msg.pt.x = short(LOWORD(pos));
    msg.pt.y = short(HIWORD(pos));
    MovieEvent event;
    qt->WinEventToMacEvent(&msg, &event);
    return qt->MCIsPlayerEvent(mc, &event) != 0;
}

LRESULT CALLBACK FullScreenWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        OfferMessage(FullScreenState().controller, window, message, wParam, lParam);
    } catch (...) {
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

bool AMovie::hasFullScreen() const {
    const MovieFullScreen& fs = FullScreenState();
    return fs.controller && movie_ && Movies() && Movies()->MCGetIndMovie(fs.controller, 0) == movie_;
}

void AMovie::setUpFullScreen() {
    const MovieLibrary& qt = *Movies();
    MovieFullScreen& fs = FullScreenState();
    if (fs.controller || !movie_)
        return;
    short width = 640, height = 480;
    HWND window = nullptr;
    void* state = nullptr;
    if (qt.BeginFullScreen(&state, nullptr, &width, &height, &window, 0, 0) != 0 || !window)
        return;
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FullScreenWindowProc));
    fs.window = window;
    fs.restoreState = state;
    fs.port = qt.CreatePortAssociation(window, nullptr, 1);
    qt.GetMovieBox(movie_, &fs.savedBox);
    qt.GetMovieGWorld(movie_, &fs.savedPort, nullptr);
    qt.SetMovieGWorld(movie_, fs.port, nullptr);
    // Twice the natural size, centred; halves truncated toward zero.
    long left = width / 2 - extent_.x, top = height / 2 - extent_.y;
    MovieRect box{int16_t(top), int16_t(left), int16_t(top + 2 * extent_.y), int16_t(left + 2 * extent_.x)};
    qt.SetMovieBox(movie_, &box);
    MovieRect all{0, 0, height, width};
    fs.controller = qt.NewMovieController(movie_, &all, mcNotVisible);
    if (fs.controller) {
        qt.MCSetControllerAttached(fs.controller, FALSE);
        qt.MCSetActionFilterWithRefCon(fs.controller, &AMovie::actionFilter, long(reinterpret_cast<intptr_t>(this)));
    }
    fs.endRequested = false;
}

void AMovie::endFullScreen() {
    const MovieLibrary& qt = *Movies();
    MovieFullScreen& fs = FullScreenState();
    if (!fs.controller)
        return;
    Movie shown = qt.MCGetIndMovie(fs.controller, 0);
    if (fs.port)
        qt.DestroyPortAssociation(fs.port);
    qt.MCRemoveMovie(fs.controller);
    if (shown) {
        qt.SetMovieGWorld(shown, fs.savedPort, nullptr);
        qt.SetMovieBox(shown, &fs.savedBox);
    }
    qt.DisposeMovieController(fs.controller);
    qt.EndFullScreen(fs.restoreState, 0);
    fs = MovieFullScreen();
}

bool AMovie::handleEvent(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MovieFullScreen& fs = FullScreenState();
    MovieController mc = fs.controller ? fs.controller : controller_;
    bool used = OfferMessage(mc, fs.controller ? fs.window : window, message, wParam, lParam);
    if (fs.endRequested && hasFullScreen())
        endFullScreen();
    return used;
}

void AMovie::passMessage(void* controller, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    OfferMessage(static_cast<MovieController>(controller), window, message, wParam, lParam);
}
