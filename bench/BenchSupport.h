// What the benchmarks share: a display site (a component at the window's
// origin, 800 x 600, with no tree around it), French words and a timer.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/graphics/ADisplaySite.h"

class BenchSite : public ADisplaySite {
public:
    AComponent* siteComponent() override { return nullptr; }
    HWND siteWindow() override { return nullptr; }
    APoint originInWindow() override { return APoint(0, 0); }
    ARect getLocalBounds() override { return ARect(0, 0, 800, 600); }
    ATextStyle* getDisplayEnv() override { return nullptr; }
};

// Windows-1252 words, accents and ligatures included.
inline std::vector<std::string> FrenchWords(int count) {
    static const char* const kWords[] = {
        "encyclop\xE9"
        "die",
        "\x9C"
        "uvre",
        "\xE9t\xE9",
        "h\xF4pital",
        "for\xEAt",
        "ch\xE2teau",
        "na\xEFve",
        "fa\xE7"
        "ade",
        "o\xF9",
        "d\xE9j\xE0",
        "biblioth\xE8que",
        "r\xE9volution",
        "soci\xE9t\xE9",
        "math\xE9matiques",
        "g\xE9ographie",
        "litt\xE9rature",
        "histoire",
        "peinture",
        "musique",
        "philosophie"};
    std::vector<std::string> words;
    uint32_t seed = 12345;
    for (int i = 0; i < count; ++i) {
        seed = seed * 1103515245u + 12345u;
        words.push_back(kWords[(seed >> 16) % (sizeof kWords / sizeof kWords[0])]);
    }
    return words;
}

inline double Seconds(const LARGE_INTEGER& a, const LARGE_INTEGER& b) {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return double(b.QuadPart - a.QuadPart) / double(f.QuadPart);
}

// The performance counter's time, in seconds.
inline double Seconds() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return double(now.QuadPart) / double(frequency.QuadPart);
}
