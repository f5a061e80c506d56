// Phonetic matcher benchmark: transcribes every word of a list (Windows-1252,
// one a line) and prints words per second and the slowest word. With --dump it
// prints instead each word, a tab and its readings separated by blanks (the
// oracle tool in tools/ compares them).
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "search/engine/phon/KyPhon.h"

namespace {

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to, const LARGE_INTEGER& frequency) {
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
    bool dump = argc > 2 && std::strcmp(argv[1], "--dump") == 0;
    const char* path = argc > 1 ? argv[argc - 1] : nullptr;
    FILE* file = path ? std::fopen(path, "rb") : nullptr;
    if (!file) {
        std::fprintf(stderr, "usage: bench_phon [--dump] WORDLIST\n");
        return 2;
    }
    std::vector<std::string> words;
    char line[512];
    while (std::fgets(line, sizeof line, file)) {
        line[std::strcspn(line, "\r\n")] = 0;
        if (line[0])
            words.push_back(line);
    }
    std::fclose(file);

    LARGE_INTEGER frequency, start, end, before, after;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    double worst = 0.0;
    std::string worstWord;
    long failures = 0;
    for (const std::string& word : words) {
        KyPhonList* list = nullptr;
        QueryPerformanceCounter(&before);
        int rc = KY_PhonCandidates(word.c_str(), 0, &list);
        QueryPerformanceCounter(&after);
        double took = Seconds(before, after, frequency);
        if (took > worst) {
            worst = took;
            worstWord = word;
        }
        failures += rc != 0;
        if (dump) {
            std::printf("%s\t", word.c_str());
            for (int32_t k = 0; list && k < list->count; ++k)
                std::printf(k ? " %s" : "%s", list->strings[k]);
            std::printf("\n");
        }
        KY_PhonFreeList(list);
    }
    QueryPerformanceCounter(&end);
    if (!dump) {
        double total = Seconds(start, end, frequency);
        std::printf("words: %zu, failed: %ld\n", words.size(), failures);
        std::printf("words per second: %.0f\n", total > 0 ? static_cast<double>(words.size()) / total : 0.0);
        std::printf("slowest word: %s (%.3f ms)\n", worstWord.c_str(), worst * 1000.0);
    }
    return 0;
}
