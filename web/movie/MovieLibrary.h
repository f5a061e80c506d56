// The glue to the movie layer ("QuickTime.qts"): the DLL is loaded at run
// time and each call the program makes is resolved by name into one table.
//
// Movies() answers the table, or null while the layer is not loaded; a DLL
// lacking any entry is not used at all. The table belongs to this module.
#pragma once

#include "platform/movies/MovieLayer.h"

#define SV_MOVIE_CALLS(X)                                                                                   \
    X(InitializeQTML) X(TerminateQTML) X(EnterMovies) X(ExitMovies) X(CreatePortAssociation)               \
    X(DestroyPortAssociation) X(GetNativeWindowPort) X(GetGWorld) X(SetGWorld) X(NativePathNameToFSSpec)   \
    X(OpenMovieFile) X(CloseMovieFile) X(FSpOpenDF) X(FSClose) X(NewMovie) X(NewMovieFromFile)             \
    X(NewMovieFromDataFork) X(DisposeMovie) X(GetMovieBox) X(SetMovieBox) X(GetMovieDuration)              \
    X(GetMovieTimeScale) X(GetMovieTime) X(GetMovieTimeBase) X(GetMovieTrackCount) X(GetMovieIndTrack)     \
    X(GetMovieIndTrackType) X(GetTrackMedia) X(GetMediaTimeScale) X(TrackTimeToMediaTime)                  \
    X(MediaTimeToSampleNum) X(SampleNumToMediaTime) X(ConvertTimeScale) X(PrerollMovie) X(SetMovieActive)  \
    X(SetMovieGWorld) X(GetMovieGWorld) X(GetMovieFrameBits) X(NewMovieController)                         \
    X(DisposeMovieController) X(MCSetMovie) X(MCRemoveMovie) X(MCGetIndMovie) X(MCGetControllerBoundsRect) \
    X(MCSetControllerBoundsRect) X(MCPositionController) X(MCSetControllerAttached)                        \
    X(MCIsControllerAttached) X(MCSetVisible) X(MCActivate) X(MCSetActionFilterWithRefCon) X(MCDoAction)   \
    X(MCIdle) X(MCDraw) X(MCIsPlayerEvent) X(WinEventToMacEvent) X(BeginFullScreen) X(EndFullScreen)

struct MovieLibrary {
#define SV_MOVIE_FIELD(name) decltype(&::name) name;
    SV_MOVIE_CALLS(SV_MOVIE_FIELD)
#undef SV_MOVIE_FIELD
};

// The layer's table, or null when it is not loaded.
const MovieLibrary* Movies();
// Loads the layer from path (null: "QuickTime.qts" beside the program);
// true when every call resolved. A second load keeps the first.
bool LoadMovieLibrary(const char* path);
void UnloadMovieLibrary();
// The DLL's module (HMODULE) while loaded, for the test seams it exports.
void* MovieLibraryModule();
// Where LoadMovieLibrary(null) looks: tests point it elsewhere; null restores the default.
void SetMovieLibraryPath(const char* path);
