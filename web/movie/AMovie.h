// One open movie with its controller from the movie layer: opening from a
// file or a container range, playing, positions in milliseconds or frames,
// full screen, and the listeners of the controller's actions.
//
// A non-visual component, child of the item that shows it. Owns its movie,
// its controller, its sample table and its listeners' references. Positions
// are 32-bit: milliseconds from the start, or frame numbers when
// positionsInFrames is set; -1 is the current time, -2 the end. Rates are
// thousandths of normal speed. A missing window, controller or file where one
// is required is an assertion ("umovies"); the layer's errors are returned.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>

#include "base/object/ARect.h"
#include "framework/components/AComponent.h"
#include "platform/movies/MovieLayer.h"
#include "web/movie/MovieFile.h"

class AMovie;

// A listener of the controller's actions: reference-counted, made enabled.
class AMovieListener {
public:
    AMovieListener() = default;
    AMovieListener(const AMovieListener&) = delete;
    AMovieListener& operator=(const AMovieListener&) = delete;
    void addRef() { ++references_; }
    void release() {
        if (--references_ == 0)
            delete this;
    }
    // True when it consumed the action.
    virtual bool handleAction(AMovie* movie, short action, void* params) = 0;

    uint16_t enabled = 1;

protected:
    virtual ~AMovieListener() = default;

private:
    long references_ = 1;
};

class AMovie : public AComponent {
    SV_DECLARE_CLASS(AMovie)
public:
    // The domain of openMovie's codes (high 16 bits).
    enum : long { kMovieErrorDomain = 2 };
    enum : uint16_t { kPlayingChange = 16 };

    AMovie();
    explicit AMovie(AComponent* owner);
    ~AMovie() override;

    void attachItems() override;
    void detachItems() override;

    // (2 << 16) | the layer's error in the low half; low half 0: open.
    long openMovie(const AMovieFile& file, const APoint& where);
    // The framework's tree step is close: this one closes the open movie only.
    void closeMovie();
    void playFrom(long start, long end, int16_t rate);
    void goToTime(long position);
    // Stops, keeping the playing rate for resume.
    void pause();
    // Plays again at the kept rate, and forgets it.
    void resume();
    bool isPlaying();
    long getCurrentPosition();
    long getEndPosition();
    long toFrame(long position);
    void setOption(uint16_t fullScreen) { fullScreen_ = fullScreen; }
    void setUseQuickTimeLookup(uint16_t use);
    void setPositionsInFrames(uint16_t frames) { positionsInFrames_ = frames; }
    const APoint& getExtent() const { return extent_; }
    APoint getDisplayExtent();
    void setBounds(const ARect& rect);
    void idle();
    void draw(HWND window, bool alsoIdle);
    // The component's event operation: true when the controller used the message.
    bool handleEvent(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Called by the action filter: true when a listener consumed the action.
    virtual bool onControllerAction(short action, void* params);

    // Listeners by key: the movie takes the given reference.
    void addListener(long key, AMovieListener* listener);
    void removeListener(long key);
    void clearListeners();

    // The movie's time of a position, filling record when given.
    TimeValue timeOf(long position, MovieTimeRecord* record);
    long timeToFrame(TimeValue time);
    TimeValue frameToTime(long frame);

    Movie movie() const { return movie_; }
    MovieController controller() const { return controller_; }
    long controllerHeight() const { return controllerHeight_; }
    bool isPlayingState() const { return playing_ != 0; }
    bool useQuickTimeLookup() const { return useQuickTimeLookup_ != 0; }
    void* sampleTable() const { return sampleTable_; }
    Fixed savedRate() const { return savedRate_; }
    bool selectionActive() const { return selectionActive_ != 0; }
    bool hasFullScreen() const;
    const AMovieFile& file() const { return file_; }

    // The framework's hand-over of window messages for a controller.
    static void passMessage(void* controller, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static BOOL actionFilter(MovieController mc, short action, void* params, long refCon);

private:
    HWND windowOf(long line);
    GrafPtr port();
    void loadSampleTable();
    void setUpFullScreen();
    void endFullScreen();
    MovieController activeController();

    std::map<long, AMovieListener*> listeners_;  // one reference each
    AMovieFile file_;
    short dataFork_ = 0;
    APoint extent_;
    MCActionFilterWithRefCon actionFilter_ = nullptr;
    Movie movie_ = nullptr;                 // owned
    MovieController controller_ = nullptr;  // owned
    void* sampleTable_ = nullptr;           // owned
    Track videoTrack_ = nullptr;
    Media videoMedia_ = nullptr;
    Fixed savedRate_ = 0;
    TimeValue duration_ = 0;
    long lastFrame_ = -1;
    uint16_t useQuickTimeLookup_ = 0;
    uint16_t lookupOption_ = 0;
    uint16_t selectionActive_ = 0;
    long controllerHeight_ = 18;
    uint16_t positionsInFrames_ = 0;
    uint16_t fullScreen_ = 0;
    uint16_t playing_ = 0;
    HWND window_ = nullptr;
};
