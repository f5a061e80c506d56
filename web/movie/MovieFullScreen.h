// The one full screen of the movies: its window, controller and what ending it restores.
#pragma once

#include "platform/movies/MovieLayer.h"

struct MovieFullScreen {
    MovieController controller = nullptr;  // owned while full screen lasts
    HWND window = nullptr;                 // the layer's
    void* restoreState = nullptr;          // the layer's
    GrafPtr port = nullptr;
    GrafPtr savedPort = nullptr;
    MovieRect savedBox{};
    bool endRequested = false;
};

MovieFullScreen& FullScreenState();
