// Prints the time of one search for the patterns that used to backtrack for
// minutes, and for plain patterns on long texts. The error boxes the matcher
// raises (a search that ran out of steps) are answered through the
// message-box seam and printed, so that no modal box stops the run when a
// display exists.
#include "base/procedural/KyRegExp.h"
#include "base/procedural/SystemSeams.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

int PrintBox(void*, const char* text, const char*, unsigned) {
    std::string line = text;
    while (!line.empty() && line.back() == '\n')
        line.pop_back();
    std::printf("  (box: %s)\n", line.c_str());
    return 1;  // IDOK
}

void Time(const std::string& pattern, const std::string& subject) {
    KY_RegExp* re = KY_RegComp(pattern.c_str());
    if (!re) {
        std::printf("%-36s does not compile\n", pattern.c_str());
        return;
    }
    long start = -1;
    long end = -1;
    auto t = Clock::now();
    int found = KY_RegExec(subject.c_str(), re, &start, &end);
    double ms = std::chrono::duration<double, std::milli>(Clock::now() - t).count();
    std::printf("%-36s %8zu chars %3d [%ld, %ld) %10.2f ms\n", pattern.c_str(), subject.size(), found, start, end, ms);
    KY_RegFree(re);
}

}  // namespace

int main() {
    Seams().messageBox = PrintBox;
    std::string backStars = "\\(a\\)";
    for (int i = 0; i < 8; ++i)
        backStars += "\\1*";
    backStars += "b";
    std::string cycle;
    for (int i = 0; i < 119; ++i)
        cycle += static_cast<char>('a' + i % 23);
    std::printf("%-36s %14s %3s %-10s %13s\n", "pattern", "subject", "ans", "match", "time");
    Time(backStars, std::string(44, 'a'));
    Time(backStars, std::string(60, 'a'));
    Time(backStars, std::string(60, 'a') + "cb");
    Time("\\(.\\).*.*.*.*.*\\1x", std::string(120, 'y'));
    Time("\\(.\\).*.*.*.*.*\\1x", cycle + "x");
    for (size_t n : {40000, 400000}) {
        Time(".*.*.*x", std::string(n, 'y'));
        Time("a\\{1,255\\}b", std::string(n, 'a'));
        Time("encyclop.die", std::string(n, 'y') + "encyclopedie");
        Time("\\([a-z]\\)\\1", std::string(n, 'y'));
    }
    return 0;
}
