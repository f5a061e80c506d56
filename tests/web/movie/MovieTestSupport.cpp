// Shared set-up of the movie tests.
#include "tests/web/movie/MovieTestSupport.h"

#include <windows.h>

#include "web/movie/MovieLibrary.h"

namespace {

template <class F>
F Entry(const char* name) {
    return reinterpret_cast<F>(
        reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(MovieLibraryModule()), name)));
}

}  // namespace

std::string SampleMoviePath(const std::string& name) {
    return std::string(SV_MOVIE_SAMPLES) + name;
}

AMovieFile SampleMovie(const std::string& name, long start, long end) {
    AMovieFile file;
    file.spec = AFileSpec(SampleMoviePath(name).c_str());
    file.start = start;
    file.end = end;
    return file;
}

void LayerSetClock(long mode) {
    Entry<void (*)(long)>("MovieLayerSetClock")(mode);
}
void LayerAdvanceClock(long milliseconds) {
    Entry<void (*)(long)>("MovieLayerAdvanceClock")(milliseconds);
}
void LayerSetLogging(bool on) {
    Entry<void (*)(BOOL)>("MovieLayerSetLogging")(on);
}
std::string LayerTakeLog() {
    long size = Entry<long (*)(char*, long)>("MovieLayerGetLog")(nullptr, 0);
    std::string log(size_t(size) + 1, '\0');
    Entry<long (*)(char*, long)>("MovieLayerGetLog")(&log[0], size + 1);
    log.resize(size_t(size));
    Entry<void (*)()>("MovieLayerClearLog")();
    return log;
}
void LayerFailNext(const char* call, int error) {
    Entry<void (*)(const char*, OSErr)>("MovieLayerFailNext")(call, OSErr(error));
}
void LayerSetBarHeight(long pixels) {
    Entry<void (*)(long)>("MovieLayerSetBarHeight")(pixels);
}

void MovieTest::SetUp() {
    makeApp(0);
    ASSERT_NE(nullptr, MovieLibraryModule());
    LayerSetClock(1);
    LayerSetBarHeight(16);
}

void MovieTest::makeApp(uint16_t options, const std::string& libraryPath, const std::function<void()>& beforeAttach) {
    dropApp();
    UnloadMovieLibrary();
    AClass::buildRegistry();
    SetErrorStream(&errors);
    app = new MovieTestApp;
    app->libraryPath = libraryPath;
    app->setOptions(options);
    app->setInstance(GetModuleHandleA(nullptr), "", SW_HIDE);
    app->activateOtherInstance();
    if (beforeAttach)
        beforeAttach();
    AObject::completeNew(app);
}

TestWindow* MovieTest::openWindow(const ARect& frame) {
    window = Open<TestWindow>(app, frame, nullptr);
    if (!window->openWindow("movies")) {
        AComponent* root = window;
        DeleteComponent(root);
        window = nullptr;
    }
    return window;
}

void MovieTest::dropApp() {
    if (window) {
        AComponent* w = window;
        DeleteComponent(w);
        window = nullptr;
    }
    if (!app)
        return;
    AComponent* root = app;
    DeleteComponent(root);
    app = nullptr;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    SetErrorStream(nullptr);
    AClass::releaseRegistry();
}

void MovieTest::TearDown() {
    if (HasFailure()) {
        for (const CapturedBox& box : CapturedBoxes())
            std::printf("box: %s\n", box.text.c_str());
        std::printf("%s", errors.text.c_str());
    }
    if (MovieLibraryModule()) {
        LayerSetClock(0);
        LayerSetLogging(false);
        LayerTakeLog();
    }
    dropApp();
}
