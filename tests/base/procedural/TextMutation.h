// Deterministic mutations of test inputs, and a filter run over every byte
// and prefix pair, for the robustness tests of the text and engine modules.
#pragma once

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "base/procedural/KyFilter.h"
#include "base/procedural/KyString.h"

// minstd_rand is fully specified, so every run draws the same mutations.
struct Mutator {
    std::minstd_rand rng{20261206};

    int below(size_t n) { return n > 0 ? static_cast<int>(rng() % n) : 0; }

    // One to four edits: a byte changed, inserted or removed, a cut, or a piece doubled.
    std::string mutate(std::string s, const std::string& alphabet) {
        for (int edits = 1 + below(4); edits > 0; --edits) {
            char c = below(4) == 0 ? static_cast<char>(below(256)) : alphabet[below(alphabet.size())];
            size_t at = static_cast<size_t>(below(s.size() + 1));
            int kind = below(5);
            if (kind == 0 && !s.empty())
                s[at % s.size()] = c;
            else if (kind == 1)
                s.insert(at, 1, c);
            else if (kind == 2 && at < s.size())
                s.erase(at, 1 + static_cast<size_t>(below(3)));
            else if (kind == 3)
                s.resize(at);
            else if (kind == 4)
                s.insert(at, s.substr(static_cast<size_t>(below(s.size() + 1)), static_cast<size_t>(below(16))));
        }
        return s;
    }
};

// Texts that walk every byte, every prefix pair and a prefix at the very end.
inline std::string ProbeText() {
    std::string text;
    for (int c = 1; c < 256; ++c) {
        text += static_cast<char>(c);
        text += 'A';
    }
    text += '\x81';
    return text;
}

// Maps the probe every way a filter offers; the in-place mapping never grows.
inline void ExerciseFilter(KY_Filter* f) {
    std::string probe = ProbeText();
    std::string buffer = probe;
    long n = KY_FilterMapString(&buffer[0], f);
    ASSERT_GE(n, 0);
    ASSERT_LE(static_cast<size_t>(n), probe.size());
    ASSERT_EQ(0, buffer[static_cast<size_t>(n)]);
    for (int prefix = 0; prefix < 256; prefix += 3)
        for (int code = 0; code < 256; code += 5)
            KY_FilterMapChar(code, prefix, f);
    KY_String out;
    KY_InitString(&out, 0, "");
    long length = EXK_FilterString(&out, probe.c_str(), 0, f);
    ASSERT_EQ(static_cast<long>(out.length), length);
    ASSERT_EQ(0, out.text[out.length]);
    EXK_FilterString(&out, "&amp;x&bad;\x81", 0, f);
    KY_FreeString(&out);
}
