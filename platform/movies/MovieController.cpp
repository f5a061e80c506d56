// Our movie layer, in place of the movie library the program cannot ship (see MovieLayer.h):
// its controller: the play bar under a movie, its actions, the action filter,
// events, and full screen.
#include "platform/movies/MovieInternal.h"

#include <new>

struct ControllerRecord {
    Movie movie = nullptr;  // not owned
    GrafPtr port = nullptr;  // not owned
    MovieRect bar{};         // the bar's rectangle when detached
    bool attached = true;
    bool visible = true;
    bool active = true;
    bool keysEnabled = false;
    bool playSelection = false;
    int64_t selectionBegin = 0;
    int64_t selectionDuration = 0;
    long flags = 0;
    MovieRect growBounds{};
    MCActionFilterWithRefCon filter = nullptr;
    long refCon = 0;
};

namespace {

// The bar's rectangle: under the movie when attached, else its own.
MovieRect BarRect(MovieController mc) {
    if (!mc->attached)
        return mc->bar;
    MovieRect box = mc->movie ? mc->movie->box : MovieRect{};
    return MovieRect{box.bottom, box.left, int16_t(box.bottom + BarHeight()), box.right};
}

// The right end of the position track: a movie with sound keeps room for its
// sound button after it.
const long kSoundButton = 18;
long TrackRight(MovieController mc, const MovieRect& bar) {
    return bar.right - 6 - (SoundTrack(mc->movie) ? kSoundButton : 0);
}

bool Contains(const MovieRect& r, MoviePoint p) {
    return p.h >= r.left && p.h < r.right && p.v >= r.top && p.v < r.bottom;
}

// The filter first; the layer acts only on what it does not consume.
bool Filtered(MovieController mc, short action, void* params) {
    return mc->filter && mc->filter(mc, action, params, mc->refCon);
}

void DrawBar(MovieController mc, HDC dc) {
    MovieRect r = BarRect(mc);
    if (r.right <= r.left || r.bottom <= r.top)
        return;
    RECT all{r.left, r.top, r.right, r.bottom};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    FrameRect(dc, &all, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    long h = r.bottom - r.top;
    // The play triangle or the pause bars, then the position along the track.
    HBRUSH dark = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    HGDIOBJ oldBrush = SelectObject(dc, dark);
    Movie movie = mc->movie;
    if (movie && movie->rate != 0) {
        RECT a{r.left + 5, r.top + 3, r.left + 8, r.bottom - 3}, b{r.left + 11, r.top + 3, r.left + 14, r.bottom - 3};
        FillRect(dc, &a, dark);
        FillRect(dc, &b, dark);
    } else {
        POINT tri[3] = {{r.left + 5, r.top + 3}, {r.left + 5, r.bottom - 3}, {r.left + 5 + (h - 6) / 2 + 2, r.top + h / 2}};
        Polygon(dc, tri, 3);
    }
    long trackLeft = r.left + 20, trackRight = TrackRight(mc, r);
    if (SoundTrack(movie)) {
        // A speaker; crossed out while muted.
        long x = r.right - 4 - kSoundButton + 4, mid = r.top + h / 2;
        RECT box{x, mid - 2, x + 3, mid + 3};
        FillRect(dc, &box, dark);
        POINT cone[4] = {{x + 3, mid - 2}, {x + 8, mid - 6}, {x + 8, mid + 6}, {x + 3, mid + 2}};
        Polygon(dc, cone, 4);
        if (movie->volume <= 0) {
            MoveToEx(dc, x - 1, mid - 6, nullptr);
            LineTo(dc, x + 12, mid + 7);
        }
    }
    if (trackRight > trackLeft) {
        RECT groove{trackLeft, r.top + h / 2 - 1, trackRight, r.top + h / 2 + 1};
        FillRect(dc, &groove, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        if (movie && movie->duration > 0) {
            long x = trackLeft + long((trackRight - trackLeft) * movie->time / movie->duration);
            RECT knob{x - 2, r.top + 3, x + 3, r.bottom - 3};
            FillRect(dc, &knob, dark);
        }
    }
    SelectObject(dc, oldBrush);
}

void Play(MovieController mc, Fixed rate) {
    Movie movie = mc->movie;
    if (!movie)
        return;
    AdvanceMovie(movie);
    movie->rate = rate;
    movie->remainder = 0;
    if (rate > 0 && movie->time >= movie->duration)
        movie->time = 0;
    if (rate < 0 && movie->time <= 0)
        movie->time = movie->duration;
    if (rate != 0 && mc->playSelection) {
        int64_t end = mc->selectionBegin + mc->selectionDuration;
        if (movie->time < mc->selectionBegin || movie->time >= end)
            movie->time = rate > 0 ? mc->selectionBegin : end;
    }
    FeedSound(movie);
}

MovieTimeRecord* TimeParam(void* params) {
    return static_cast<MovieTimeRecord*>(params);
}

int64_t InMovieScale(Movie movie, const MovieTimeRecord* t) {
    if (!t || t->scale <= 0 || t->scale == movie->scale)
        return t ? t->value : 0;
    return t->value * movie->scale / t->scale;
}

// The one full screen: its window and what ending it restores.
struct FullScreen {
    HWND window = nullptr;
};
FullScreen* g_fullScreen = nullptr;

LRESULT CALLBACK FullScreenProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) {
        RECT all;
        GetClientRect(window, &all);
        FillRect(reinterpret_cast<HDC>(wParam), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        return 1;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

MOVIE_API MovieController NewMovieController(Movie movie, const MovieRect* rect, long flags) {
    LogCall("NewMovieController %ld", flags);
    if (!ToolboxEntered() || FailureFor("NewMovieController"))
        return nullptr;
    auto* mc = new (std::nothrow) ControllerRecord;
    if (!mc)
        return nullptr;
    mc->visible = (flags & mcNotVisible) == 0;
    mc->movie = movie;
    if (movie)
        movie->controller = mc;
    if (rect)
        mc->bar = MovieRect{rect->top, rect->left, int16_t(rect->top + BarHeight()), rect->right};
    return mc;
}

MOVIE_API void DisposeMovieController(MovieController mc) {
    LogCall("DisposeMovieController");
    if (mc && mc->movie && mc->movie->controller == mc)
        mc->movie->controller = nullptr;
    delete mc;
}

MOVIE_API long MCSetMovie(MovieController mc, Movie movie, GrafPtr port, MoviePoint where) {
    LogCall("MCSetMovie %d %d", where.h, where.v);
    if (!mc)
        return kMovieErrParam;
    mc->movie = movie;
    mc->port = port;
    if (movie) {
        movie->controller = mc;
        movie->port = port;
        MovieRect box = movie->box;
        movie->box = MovieRect{where.v, where.h, int16_t(where.v + box.bottom - box.top),
                               int16_t(where.h + box.right - box.left)};
    }
    return 0;
}

MOVIE_API long MCRemoveMovie(MovieController mc) {
    LogCall("MCRemoveMovie");
    if (!mc)
        return kMovieErrParam;
    if (mc->movie && mc->movie->controller == mc)
        mc->movie->controller = nullptr;
    mc->movie = nullptr;
    return 0;
}

MOVIE_API Movie MCGetIndMovie(MovieController mc, short index) {
    return mc && index == 0 ? mc->movie : nullptr;
}

MOVIE_API long MCGetControllerBoundsRect(MovieController mc, MovieRect* bounds) {
    if (!mc || !bounds)
        return kMovieErrParam;
    MovieRect bar = BarRect(mc);
    if (mc->attached && mc->movie) {
        *bounds = mc->movie->box;
        if (mc->visible)
            bounds->bottom = bar.bottom;
    } else {
        *bounds = bar;
    }
    return 0;
}

MOVIE_API long MCSetControllerBoundsRect(MovieController mc, const MovieRect* bounds) {
    if (!mc || !bounds)
        return kMovieErrParam;
    LogCall("MCSetControllerBoundsRect %d %d %d %d", bounds->top, bounds->left, bounds->bottom, bounds->right);
    if (mc->attached && mc->movie) {
        MovieRect box = *bounds;
        if (mc->visible)
            box.bottom = int16_t(box.bottom - BarHeight());
        mc->movie->box = box;
    } else {
        mc->bar = *bounds;
    }
    return 0;
}

MOVIE_API long MCPositionController(MovieController mc, const MovieRect* movieRect, const MovieRect*, long flags) {
    if (!mc || !movieRect)
        return kMovieErrParam;
    LogCall("MCPositionController %d %d %d %d %ld", movieRect->top, movieRect->left, movieRect->bottom,
            movieRect->right, flags);
    return MCSetControllerBoundsRect(mc, movieRect);
}

MOVIE_API long MCSetControllerAttached(MovieController mc, BOOL attach) {
    LogCall("MCSetControllerAttached %d", attach ? 1 : 0);
    if (!mc)
        return kMovieErrParam;
    mc->attached = attach != FALSE;
    return 0;
}

MOVIE_API long MCIsControllerAttached(MovieController mc) {
    return mc && mc->attached ? 1 : 0;
}

MOVIE_API long MCSetVisible(MovieController mc, BOOL visible) {
    LogCall("MCSetVisible %d", visible ? 1 : 0);
    if (!mc)
        return kMovieErrParam;
    mc->visible = visible != FALSE;
    return 0;
}

MOVIE_API long MCGetVisible(MovieController mc) {
    return mc && mc->visible ? 1 : 0;
}

MOVIE_API long MCActivate(MovieController mc, GrafPtr, BOOL activate) {
    LogCall("MCActivate %d", activate ? 1 : 0);
    if (!mc)
        return kMovieErrParam;
    mc->active = activate != FALSE;
    return 0;
}

MOVIE_API long MCSetActionFilterWithRefCon(MovieController mc, MCActionFilterWithRefCon filter, long refCon) {
    LogCall("MCSetActionFilterWithRefCon");
    if (!mc)
        return kMovieErrParam;
    mc->filter = filter;
    mc->refCon = refCon;
    return 0;
}

MOVIE_API long MCDoAction(MovieController mc, short action, void* params) {
    if (!mc)
        return kMovieErrParam;
    switch (action) {
    case mcActionPlay:
    case mcActionSetKeysEnabled:
    case mcActionSetPlaySelection:
    case mcActionSetFlags:
        LogCall("MCDoAction %d %ld", int(action), long(reinterpret_cast<intptr_t>(params)));
        break;
    case mcActionGoToTime:
    case mcActionSetSelectionBegin:
    case mcActionSetSelectionDuration:
        LogCall("MCDoAction %d %lld/%ld", int(action), params ? static_cast<long long>(TimeParam(params)->value) : 0LL,
                params ? long(TimeParam(params)->scale) : 0L);
        break;
    default:
        LogCall("MCDoAction %d", int(action));
    }
    if (OSErr err = FailureFor("MCDoAction"))
        return err;
    if (Filtered(mc, action, params))
        return 0;
    Movie movie = mc->movie;
    switch (action) {
    case mcActionIdle:
    case mcActionDraw:
        return 0;
    case mcActionPlay:
        Play(mc, Fixed(reinterpret_cast<intptr_t>(params)));
        return 0;
    case mcActionGoToTime:
        if (movie && params) {
            AdvanceMovie(movie);
            int64_t t = InMovieScale(movie, TimeParam(params));
            movie->time = t < 0 ? 0 : (t > movie->duration ? movie->duration : t);
            movie->remainder = 0;
            FeedSound(movie);
        }
        return 0;
    case mcActionSetGrowBoxBounds:
        if (params)
            mc->growBounds = *static_cast<MovieRect*>(params);
        return 0;
    case mcActionSetSelectionBegin:
        if (movie && params)
            mc->selectionBegin = InMovieScale(movie, TimeParam(params));
        return 0;
    case mcActionSetSelectionDuration:
        if (movie && params)
            mc->selectionDuration = InMovieScale(movie, TimeParam(params));
        return 0;
    case mcActionSetKeysEnabled:
        mc->keysEnabled = params != nullptr;
        return 0;
    case mcActionSetPlaySelection:
        mc->playSelection = params != nullptr;
        return 0;
    case mcActionSetFlags:
        mc->flags = long(reinterpret_cast<intptr_t>(params));
        return 0;
    case mcActionGetFlags:
        if (!params)
            return kMovieErrParam;
        *static_cast<long*>(params) = mc->flags;
        return 0;
    case mcActionGetPlayRate:
        if (!params)
            return kMovieErrParam;
        if (movie)
            AdvanceMovie(movie);
        *static_cast<Fixed*>(params) = movie ? movie->rate : 0;
        return 0;
    default:
        return kMovieErrBadAction;
    }
}

MOVIE_API long MCIdle(MovieController mc) {
    if (!mc)
        return kMovieErrParam;
    if (Filtered(mc, mcActionIdle, nullptr))
        return 0;
    Movie movie = mc->movie;
    if (!movie)
        return 0;
    Fixed before = movie->rate;
    AdvanceMovie(movie);
    if (before != 0 && mc->playSelection) {
        int64_t end = mc->selectionBegin + mc->selectionDuration;
        if ((before > 0 && movie->time >= end) || (before < 0 && movie->time <= mc->selectionBegin)) {
            movie->time = before > 0 ? end : mc->selectionBegin;
            movie->rate = 0;
        }
    }
    // A movie that stopped by itself tells the filter, as a play at rate 0 would.
    if (before != 0 && movie->rate == 0)
        Filtered(mc, mcActionPlay, nullptr);
    if (mc->port && mc->port->window && movie->active)
        MCDraw(mc, mc->port);
    return 0;
}

MOVIE_API long MCDraw(MovieController mc, GrafPtr port) {
    if (!mc || !port || !port->window)
        return kMovieErrParam;
    HDC dc = GetDC(port->window);
    if (!dc)
        return kMovieErrParam;
    if (mc->movie)
        DrawMovieFrame(mc->movie, dc);
    if (mc->visible)
        DrawBar(mc, dc);
    ReleaseDC(port->window, dc);
    return 0;
}

MOVIE_API void WinEventToMacEvent(const MSG* message, MovieEvent* event) {
    if (!message || !event)
        return;
    *event = MovieEvent{};
    event->window = message->hwnd;
    event->message = message->message;
    event->wParam = message->wParam;
    event->lParam = message->lParam;
    event->when = message->time;
    switch (message->message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        event->what = kMovieEventMouseDown;
        break;
    case WM_LBUTTONUP:
        event->what = kMovieEventMouseUp;
        break;
    case WM_KEYDOWN:
        event->what = kMovieEventKeyDown;
        break;
    case WM_PAINT:
        event->what = kMovieEventUpdate;
        break;
    case WM_ACTIVATE:
        event->what = kMovieEventActivate;
        break;
    default:
        event->what = kMovieEventNull;
    }
    if (event->what == kMovieEventMouseDown || event->what == kMovieEventMouseUp) {
        event->where.h = int16_t(LOWORD(message->lParam));
        event->where.v = int16_t(HIWORD(message->lParam));
    }
    if (GetKeyState(VK_SHIFT) < 0)
        event->modifiers |= 0x0200;
    if (GetKeyState(VK_CONTROL) < 0)
        event->modifiers |= 0x1000;
}

MOVIE_API long MCIsPlayerEvent(MovieController mc, const MovieEvent* event) {
    if (!mc || !event || !mc->movie)
        return 0;
    Movie movie = mc->movie;
    switch (event->what) {
    case kMovieEventMouseDown: {
        if (!mc->visible || !mc->active || !Contains(BarRect(mc), event->where))
            return 0;
        // The button toggles; elsewhere on the bar the time follows the point.
        MovieRect bar = BarRect(mc);
        if (event->where.h < bar.left + 20) {
            AdvanceMovie(movie);
            Fixed rate = movie->rate ? 0 : 0x10000;
            MCDoAction(mc, mcActionPlay, reinterpret_cast<void*>(intptr_t(rate)));
        } else if (SoundTrack(movie) && event->where.h >= TrackRight(mc, bar) + 6) {
            SetMovieVolume(movie, short(movie->volume == 0 ? 0x100 : -movie->volume));
            if (mc->port)
                MCDraw(mc, mc->port);
        } else {
            long width = TrackRight(mc, bar) - (bar.left + 20);
            if (width > 0) {
                long x = event->where.h - (bar.left + 20);
                MovieTimeRecord t{int64_t(movie->duration) * (x < 0 ? 0 : x > width ? width : x) / width,
                                  movie->scale, movie};
                MCDoAction(mc, mcActionGoToTime, &t);
            }
        }
        return 1;
    }
    case kMovieEventKeyDown:
        if (!mc->keysEnabled)
            return 0;
        if (event->wParam == VK_SPACE) {
            AdvanceMovie(movie);
            MCDoAction(mc, mcActionPlay, reinterpret_cast<void*>(intptr_t(movie->rate ? 0 : 0x10000)));
            return 1;
        }
        return 0;
    case kMovieEventUpdate:
        if (mc->port)
            MCDraw(mc, mc->port);
        return 0;
    default:
        return 0;
    }
}

MOVIE_API OSErr BeginFullScreen(void** restoreState, void*, short* width, short* height, HWND* newWindow,
                                uint32_t, long flags) {
    LogCall("BeginFullScreen %d %d %ld", width ? *width : 0, height ? *height : 0, flags);
    if (OSErr err = FailureFor("BeginFullScreen"))
        return err;
    if (!restoreState || !newWindow)
        return kMovieErrParam;
    if (g_fullScreen)
        return kMovieErrFullScreen;
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = FullScreenProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = "MovieLayerFullScreen";
        registered = RegisterClassA(&wc) != 0;
    }
    int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    HWND window = CreateWindowExA(WS_EX_TOPMOST, "MovieLayerFullScreen", "", WS_POPUP | WS_VISIBLE, 0, 0, w, h,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!window)
        return kMovieErrMemory;
    g_fullScreen = new (std::nothrow) FullScreen{window};
    if (!g_fullScreen) {
        DestroyWindow(window);
        return kMovieErrMemory;
    }
    *restoreState = g_fullScreen;
    *newWindow = window;
    if (width)
        *width = short(w);
    if (height)
        *height = short(h);
    return 0;
}

MOVIE_API OSErr EndFullScreen(void* restoreState, long flags) {
    LogCall("EndFullScreen %ld", flags);
    if (!restoreState || restoreState != g_fullScreen)
        return kMovieErrParam;
    DestroyWindow(g_fullScreen->window);
    delete g_fullScreen;
    g_fullScreen = nullptr;
    return 0;
}
