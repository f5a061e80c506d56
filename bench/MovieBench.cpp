// Prints how fast our movie layer decodes every frame of a 30-second
// Motion-JPEG movie (frames per second), reached as the program reaches it.
// usage: bench_movies [movie]; bench/movie_bench.sh adds ffmpeg's figure and the ratio.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "web/movie/MovieLibrary.h"

int main(int argc, char** argv) {
    std::string path = argc > 1 ? argv[1] : SV_MOVIE_BENCH "bench30.mov";
    if (!LoadMovieLibrary(nullptr)) {
        std::printf("the movie layer does not load\n");
        return 1;
    }
    const MovieLibrary& qt = *Movies();
    qt.InitializeQTML(0);
    qt.EnterMovies();
    MovieFileSpec spec;
    short ref = 0, resId = 0;
    Movie movie = nullptr;
    if (qt.NativePathNameToFSSpec(path.c_str(), &spec, 0) || qt.OpenMovieFile(&spec, &ref, 1) ||
        qt.NewMovieFromFile(&movie, ref, &resId, nullptr, 0, nullptr)) {
        std::printf("%s does not open\n", path.c_str());
        return 1;
    }
    qt.CloseMovieFile(ref);
    Track track = qt.GetMovieIndTrackType(movie, 1, 0x76696465, 5);
    Media media = qt.GetTrackMedia(track);
    long width = 0, height = 0;
    qt.GetMovieFrameBits(movie, 0, nullptr, 0, &width, &height);
    std::vector<unsigned char> bits(size_t(width) * height * 3);
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    long frames = 0;
    for (long n = 1;; ++n) {
        TimeValue mediaTime = -1;
        qt.SampleNumToMediaTime(media, n, &mediaTime, nullptr);
        if (mediaTime < 0)
            break;
        MovieTimeRecord t{mediaTime, qt.GetMediaTimeScale(media), nullptr};
        TimeValue movieTime = qt.ConvertTimeScale(&t, qt.GetMovieTimeScale(movie));
        // Round up so that the frame, not the one before it, is shown.
        while (movieTime < qt.GetMovieDuration(movie)) {
            MovieTimeRecord back{movieTime, qt.GetMovieTimeScale(movie), nullptr};
            if (qt.ConvertTimeScale(&back, qt.GetMediaTimeScale(media)) >= mediaTime)
                break;
            ++movieTime;
        }
        if (qt.GetMovieFrameBits(movie, movieTime, bits.data(), long(bits.size()), &width, &height) == 0)
            ++frames;
    }
    QueryPerformanceCounter(&end);
    double seconds = double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
    std::printf("movie layer: %ld frames of %ldx%ld in %.3f s: %.1f frames per second\n", frames, width, height,
                seconds, frames / seconds);
    qt.DisposeMovie(movie);
    qt.ExitMovies();
    qt.TerminateQTML();
    return 0;
}
