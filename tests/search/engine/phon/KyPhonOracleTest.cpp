// The phonetic matcher against espeak-ng's readings of a fixed sample of the
// wfrench list, and its recall of words that sound alike. The data are made by
// tools/phon_oracle.py; the floors are the counts the rules last reached, so a
// rule change that loses words fails here (raise them when rules gain some).
//
// UTF-8 source compiled as Windows-1252, like the tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "search/engine/phon/KyPhon.h"

namespace {

struct WordPair {
    const char* first;
    const char* second;
};

const WordPair kSample[] = {
#include "tests/search/engine/phon/PhonSample.inc"
};

const WordPair kSoundAlike[] = {
#include "tests/search/engine/phon/PhonPairs.inc"
};

// Counts reached when the floors were last raised.
const int kAgreedFloor = 1942;
const int kRecalledFloor = 484;

std::vector<std::string> Readings(const char* word) {
    KyPhonList* list = nullptr;
    if (KY_PhonCandidates(word, 0, &list) != 0)
        return {};
    std::vector<std::string> out(list->strings, list->strings + list->count);
    KY_PhonFreeList(list);
    return out;
}

bool Holds(const std::vector<std::string>& readings, const std::string& one) {
    return std::find(readings.begin(), readings.end(), one) != readings.end();
}

}  // namespace

// A word agrees when the oracle's reading is among the matcher's best readings.
TEST(KyPhonOracle, AgreesWithTheOracleOnTheSample) {
    int agreed = 0;
    for (const WordPair& w : kSample) {
        std::vector<std::string> readings = Readings(w.first);
        agreed += Holds(readings, w.second);
        for (const std::string& one : readings)
            EXPECT_EQ(std::string::npos, one.find_first_of("OE9R@")) << w.first << ": " << one;
    }
    double rate = static_cast<double>(agreed) / (sizeof kSample / sizeof kSample[0]);
    std::printf("agreement with espeak-ng: %d of %u (%.1f%%)\n", agreed,
                static_cast<unsigned>(sizeof kSample / sizeof kSample[0]), 100.0 * rate);
    EXPECT_GE(agreed, kAgreedFloor);
}

// A pair is recalled when the readings of one word include a reading of the other.
TEST(KyPhonOracle, RecallsWordsThatSoundAlike) {
    int recalled = 0;
    for (const WordPair& p : kSoundAlike) {
        std::vector<std::string> first = Readings(p.first);
        std::vector<std::string> second = Readings(p.second);
        recalled +=
            std::any_of(second.begin(), second.end(), [&](const std::string& one) { return Holds(first, one); });
    }
    double rate = static_cast<double>(recalled) / (sizeof kSoundAlike / sizeof kSoundAlike[0]);
    std::printf("sound-alike recall: %d of %u (%.1f%%)\n", recalled,
                static_cast<unsigned>(sizeof kSoundAlike / sizeof kSoundAlike[0]), 100.0 * rate);
    EXPECT_GE(recalled, kRecalledFloor);
}
