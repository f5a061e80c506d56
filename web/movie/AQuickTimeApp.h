// The application base between the framework's AApp and the program's
// application: it loads and starts the movie layer with the application,
// stops it at the end, and gives registered movies their idle time.
//
// A drop-in subclass of AApp (same constructors). With the movies-required
// option a missing layer ends the start with a message and a non-zero exit;
// without it movies are simply unavailable. Registered movies are not owned.
#pragma once

#include <vector>

#include "framework/app/AApp.h"

class AMovie;

// Set while the movie toolbox is entered; AMovie makes controllers only then.
bool MoviesReady();

class AQuickTimeApp : public AApp {
    SV_DECLARE_CLASS(AQuickTimeApp)
public:
    // Option bit: the reader does not start without movies.
    enum : uint16_t { kMoviesRequired = 0x0002 };
    // How often registered movies idle while any is registered, in ms.
    enum : uint32_t { kMovieIdleDelay = 50 };

    AQuickTimeApp();
    AQuickTimeApp(const AString& name, const ARect& requestedSize, uint16_t style, uint16_t styleExtra);
    ~AQuickTimeApp() override;

    // The application object when it is one of these, else null.
    static AQuickTimeApp* currentMovieApp();

    // The first start-up step: the base's, then the movie layer's start.
    bool activateOtherInstance() override;
    // Enters the movie toolbox after the base's attach.
    void attachItems() override;
    // Leaves the toolbox and stops the layer, then the base's detach.
    void detachItems() override;
    long timerFired(uint16_t id, uint32_t now) override;

    // The application's option word (kMoviesRequired).
    uint16_t options() const { return options_; }
    void setOptions(uint16_t options) { options_ = options; }
    bool quickTimeReady() const { return quickTimeReady_ != 0; }

    // Idle time: each registered movie's idle runs at every idle step.
    void registerMovie(AMovie* movie);
    void unregisterMovie(AMovie* movie);
    bool isRegistered(const AMovie* movie) const;
    void idleMovies();

protected:
    // Ends the process; tests run it in a subprocess.
    virtual void endProcess(int code);
    // Where the layer is loaded from; null: beside the program.
    virtual const char* movieLibraryPath() { return nullptr; }

private:
    uint16_t quickTimeReady_ = 0;
    uint16_t options_ = 0;
    uint16_t idleTimer_ = 0;
    std::vector<AMovie*> movies_;  // not owned
};
