// Deterministic mutations of sound ".flt" files, stop-word
// files and regular expressions: each must load or be refused, never crash,
// hang, end the process or map outside its text.
#include "base/procedural/KyFilter.h"
#include "base/procedural/KyRegExp.h"
#include "base/procedural/KyStopWord.h"
#include "base/procedural/KyString.h"
#include "tests/base/procedural/TextMutation.h"
#include "tests/base/procedural/TextTestSupport.h"
#include "tests/support/TestHooks.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

TEST(TextMutation, DamagedCompiledFiltersLoadOrAreRefused) {
    FltImage image;
    image.first = 0x81;
    image.last = 0x84;
    image.base['A'] = 'a';
    image.base['B'] = 0x4142;
    image.base['C'] = kKyFilterInvalid;
    std::array<int16_t, 256> page{};
    for (int i = 0; i < 256; ++i)
        page[static_cast<size_t>(i)] = static_cast<int16_t>(i % 3 == 0 ? -1 : i % 3 == 1 ? 0x4100 + i : -3);
    image.pages.assign(2, page);
    image.flags.assign(0x85, 0);
    image.flags[0x81] = image.flags[0x84] = 1;
    const std::string sound = image.bytes();
    KY_Filter* f = KY_FilterParse(sound.data(), sound.size());
    ASSERT_NE(nullptr, f);
    KY_FilterRelease(f);

    Mutator m;
    const char kWords[] = "\x00\x01\x7F\x80\xFF\x81\x84";
    int loaded = 0;
    for (int i = 0; i < 3000; ++i) {
        std::string bytes = sound;
        if (m.below(3) == 0) {
            // A header word set to an extreme.
            const int extremes[] = {-32768, -3, -1, 0, 1, 2, 255, 256, 257, 0x7FFF};
            int v = extremes[m.below(10)];
            size_t at = static_cast<size_t>(2 * m.below(4));
            bytes[at] = static_cast<char>(v & 0xFF);
            bytes[at + 1] = static_cast<char>((v >> 8) & 0xFF);
        } else {
            bytes = m.mutate(bytes, std::string(kWords, sizeof kWords - 1));
        }
        SCOPED_TRACE(i);
        ClearBoxes();
        // An exact-size copy, so a read past the block lands outside it.
        std::vector<unsigned char> block(bytes.begin(), bytes.end());
        f = KY_FilterParse(block.empty() ? nullptr : block.data(), block.size());
        if (f) {
            ++loaded;
            ExerciseFilter(f);
            KY_FilterRelease(f);
        }
        if (HasFatalFailure())
            return;
    }
    EXPECT_GT(loaded, 0);
}

TEST(TextMutation, DamagedStopWordFilesLoad) {
    std::string sound = "le\nla\r\nles\n\nde\rdu\n" + std::string(130, 'x') + "\nun";
    TempFolder folder;
    Mutator m;
    for (int i = 0; i < 300; ++i) {
        SCOPED_TRACE(i);
        std::string text = m.mutate(sound, "\n\r\nlex");
        ClearBoxes();
        ASSERT_EQ(1, KY_LoadStopWordFile(folder.write("stop.txt", text).c_str(), nullptr));
        KY_FindStopWord("la", nullptr);
        KY_FindStopWord(std::string(200, 'x').c_str(), nullptr);
    }
    KY_FreeStopWords();
}

TEST(TextMutation, DamagedPatternsCompileOrAreRefused) {
    const char* const seeds[] = {
        "\\(a*\\)b\\1",   "^[a-z][0-9]*$",     "x\\{2,3\\}y",   "[^]a-]\\{1,\\}",
        "\\(.\\)\\(.\\)\\2\\1", "&\\([^&;][^&;]*\\);", ".*c",   "a\\{3\\}\\(b\\)*\\1",
    };
    const char* const subjects[] = {"", "a", "aab", "ab9", "xxyy&amp;", "abba c", "zz]]--"};
    Mutator m;
    int compiled = 0;
    for (int i = 0; i < 3000; ++i) {
        std::string pattern = m.mutate(seeds[i % 8], "\\\\\\()[]{}^$*.,-0129ab\n");
        SCOPED_TRACE(pattern);
        ClearBoxes();
        // An exact-size copy, so a read past the terminator lands outside it.
        std::vector<char> text(pattern.c_str(), pattern.c_str() + pattern.size() + 1);
        KY_RegExp* re = KY_RegComp(text.data());
        if (!re) {
            ASSERT_NE(0, KY_RegLastError());
            continue;
        }
        ++compiled;
        for (const char* subject : subjects) {
            long length = static_cast<long>(std::strlen(subject));
            for (long offset = 0; offset <= length; ++offset) {
                long start = -1, end = -1;
                if (KY_RegExecAt(subject, offset, re, &start, &end) != 1)
                    continue;
                ASSERT_LE(offset, start);
                ASSERT_LE(start, end);
                ASSERT_LE(end, length);
                for (int g = 1; g <= re->groups; ++g) {
                    ASSERT_EQ(1, KY_RegGroup(g, &start, &end));
                    ASSERT_LE(0, start);
                    ASSERT_LE(start, end);
                    ASSERT_LE(end, length);
                }
            }
        }
        KY_RegFree(re);
    }
    EXPECT_GT(compiled, 0);
}
