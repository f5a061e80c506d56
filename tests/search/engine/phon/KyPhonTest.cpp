// The phonetic matcher: its answers for telling words, the tables' matchers,
// scoring, the candidate ceiling and hostile input.
//
// UTF-8 source compiled as Windows-1252, like the tables.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "base/procedural/BAlloc.h"
#include "search/engine/phon/KyPhon.h"

namespace {

std::vector<std::string> Split(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string one; in >> one;)
        out.push_back(one);
    return out;
}

// The readings of a word, or {"error"} when the matcher fails.
std::vector<std::string> Readings(const char* word) {
    KyPhonList* list = nullptr;
    if (KY_PhonCandidates(word, 0, &list) != 0) {
        EXPECT_EQ(nullptr, list);
        return {"error"};
    }
    std::vector<std::string> out(list->strings, list->strings + list->count);
    KY_PhonFreeList(list);
    return out;
}

std::string Joined(const std::vector<std::string>& readings) {
    std::string out;
    for (const std::string& one : readings)
        out += (out.empty() ? "" : " ") + one;
    return out;
}

// The word as the segmentation rules cut it, each replacement in brackets.
std::string Segmented(const std::string& word) {
    std::string out;
    for (size_t pos = 0; pos < word.size();) {
        const KyPhonSegment* rule = KY_PhonSegmentRules(word.c_str() + pos, word.c_str(), pos);
        if (rule) {
            out += std::string("[") + rule->replacement + "]";
            pos += std::strlen(rule->key);
        } else {
            out += word[pos++];
        }
    }
    return out;
}

}  // namespace

TEST(KyPhon, AnswersTellingWords) {
    struct Row {
        const char* word;
        const char* firsts;    // the answer starts with these readings, in order
        const char* included;  // and holds these too, anywhere
    } const rows[] = {
        {nullptr, "error", ""},
        {"", "error", ""},
        {"nation", "nasjo~", ""},
        {"NATION", "nasjo~", ""},
        {"qui", "", "ki kwi kui"},
        {"zurich", "zyrik dzyrik", ""},
        {"ZURICH", "zyrik dzyrik", ""},
        {"alexander", "aleksa~nd2r aleksa~d2r", ""},
        {"abbaye", "abei", ""},
        {"échinoderme", "ekinoderm", ""},
        {"ÉCHINODERME", "ekinoderm", ""},
        {"chat", "", "Sa Sat"},
        {"rouge", "ruZ", ""},
        {"fille", "fij", ""},
        {"x1", "ks?", ""},
        {"12", "?", ""},
        {"si2", "sj2", ""},
        {"h", "", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.word ? r.word : "(null)");
        std::vector<std::string> got = Readings(r.word);
        std::string joined = Joined(got);
        EXPECT_EQ(0u, joined.find(r.firsts)) << joined;
        for (const std::string& one : Split(r.included))
            EXPECT_NE(got.end(), std::find(got.begin(), got.end(), one)) << one << " missing from " << joined;
        EXPECT_EQ(got.size(), std::set<std::string>(got.begin(), got.end()).size()) << "repeats in " << joined;
    }
    EXPECT_EQ(1, KY_PhonCandidates("nation", 0, nullptr));
}

TEST(KyPhon, SegmentsInContext) {
    struct Row {
        const char* word;  // folded, with its end mark
        const char* segmented;
    } const rows[] = {
        {"nation$", "na[tion]$"}, {"payer$", "pa[i_y]er$"},           {"ahmed$", "a[]med$"},
        {"hiver$", "hiver$"},     {"examen$", "[ègz]amen$"},          {"réexamen$", "ré[ègz]amen$"},
        {"ratio$", "r[asio]$"},   {"ressource$", "[r@_ç][ou]r[s]e$"}, {"disciple$", "di[ç]iple$"},
        {"vas-y$", "va[z]-[i]$"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.word);
        EXPECT_EQ(r.segmented, Segmented(r.word));
    }
}

TEST(KyPhon, PrefixesLetWordStartRulesApply) {
    struct Row {
        const char* left;
        int length;
        bool ressMatches;  // does "^ress" apply after this left text?
    } const rows[] = {
        {"", 0, true},    {"re", 2, true},     {"ré", 2, true},   {"co", 2, true},   {"in", 2, true},
        {"pre", 3, true}, {"pré", 3, true},    {"anti", 4, true}, {"auto", 4, true}, {"contre", 0, false},
        {"r", 0, false},  {"autor", 0, false}, {"x-", 0, true},   {"x ", 0, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.left);
        size_t n = std::strlen(r.left);
        bool boundary = n > 0 && (r.left[n - 1] == '-' || r.left[n - 1] == ' ');
        if (!boundary) {
            EXPECT_EQ(r.length, KY_PhonPrefixLength(r.left, n));
        }
        const KyPhonSegment* rule = KY_PhonSegmentRules("ressource$", r.left, n);
        EXPECT_EQ(r.ressMatches, rule != nullptr && std::strcmp(rule->key, "ress") == 0);
    }
}

TEST(KyPhon, FoldsCapitalsOnly) {
    struct Row {
        const char* in;
        const char* out;
    } const rows[] = {
        {"ABCXYZ", "abcxyz"}, {"ÀÉÈÊËÎÏÔÖÙÛÜÇ", "àéèêëîïôöùûüç"},       {"Œ", "œ"}, {"\xA5", "\xA4"},
        {"Ý", "y"},           {"\xD0\xD7\xDE\xDF", "\xD0\xD7\xDE\xDF"}, {"Ÿ", "Ÿ"}, {"àz-' 9", "àz-' 9"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.in);
        std::string text = r.in;
        KY_PhonFold(&text[0]);
        EXPECT_EQ(r.out, text);
    }
}

TEST(KyPhon, ScoresReadingShapes) {
    struct Row {
        const char* phonetic;
        const char* cleaned;
        float penalty;
    } const rows[] = {
        {".nasjo~", "nasjo~", 0}, {"..a", "a", 100000},     {"...a", "a", 200000},
        {".a.b.", "ab", 0},       {"abba", "aba", 0},       {"aaa", "a", 0},
        {"a~a~", "a~a~", 0},      {"stra", "stra", 100000}, {"ekstra", "ekstra", 100000},
        {"aksta", "aksta", 0},    {"pwaj", "pwaj", 0},      {"kst", "kst", 100000},
        {"", "", 100000},         {".", "", 100000},        {"a?", "a?", 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.phonetic);
        std::string text = r.phonetic;
        EXPECT_EQ(r.penalty, KY_PhonScore(&text[0]));
        EXPECT_STREQ(r.cleaned, text.c_str());
    }
}

TEST(KyPhon, TranscribesEveryBranchWithItsScore) {
    struct Row {
        const char* text;
        const char* candidates;  // phonetic:score, in set order
    } const rows[] = {
        {"^a$", ".a:4"},
        {"^qui$", ".ki:4 .kwi:4 .kui:4 .ki:4 .kyi:5"},
        {"^a1$", ".a?:102"},
        {"^œ$", ".2:4"},
        {"^si2$", ".sj2:5 .si?:103"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        std::string text = r.text;
        KyPhonSet set{static_cast<KyPhonCandidate*>(KY_Calloc(100, sizeof(KyPhonCandidate))), 0, 100};
        ASSERT_EQ(0, KY_PhonTranscribe(&text[0], &set, 0));
        std::string got;
        for (int32_t k = 0; k <= set.last; ++k) {
            got += (k ? " " : "") + std::string(set.items[k].phonetic ? set.items[k].phonetic : "") + ":" +
                   std::to_string(static_cast<int>(set.items[k].score));
        }
        EXPECT_EQ(r.candidates, got);
        KY_PhonFreeSet(&set);
    }
}

TEST(KyPhon, ExceptionTableIsSortedAndEveryWordFound) {
    struct Entry {
        const char* word;
        const char* forms;
    } const entries[] = {
#include "search/engine/phon/KyPhonExceptions.inc"
    };
    for (size_t k = 0; k < sizeof entries / sizeof entries[0]; ++k) {
        SCOPED_TRACE(entries[k].word);
        if (k > 0) {
            EXPECT_LT(std::strcmp(entries[k - 1].word, entries[k].word), 0);
        }
        std::string folded = entries[k].word;
        KY_PhonFold(&folded[0]);
        EXPECT_EQ(folded, entries[k].word);
        EXPECT_STREQ(entries[k].forms, KY_PhonException(entries[k].word));
    }
    EXPECT_EQ(nullptr, KY_PhonException(""));
    EXPECT_EQ(nullptr, KY_PhonException("zzzz"));
}

TEST(KyPhon, BoundsTheWorkOnLongAndAmbiguousWords) {
    struct Row {
        std::string word;
        std::string sameAs;  // another word with the same answer ("" for none)
        bool fails;
    } const rows[] = {
        {std::string(200, 'a'), std::string(64, 'a'), false},
        {std::string(300, 'b') + "ou", std::string(64, 'b'), false},
        {"chchch", "", false},
        {"chchchchchchchchch", "", true},
        {"ayayayayayayayayayayayayayayayayayayayayayayayayayayayayayayayay", "", false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.word);
        std::vector<std::string> got = Readings(r.word.c_str());
        EXPECT_EQ(r.fails, got == std::vector<std::string>{"error"}) << Joined(got);
        if (!r.sameAs.empty()) {
            EXPECT_EQ(Readings(r.sameAs.c_str()), got);
        }
    }
}

// Random words, mostly letters, accented Windows-1252 ones included: each transcribes
// to readings of the alphabet (none for a word of silent letters such as "h"),
// or fails cleanly.
TEST(KyPhon, RandomBytesTranscribeOrFailCleanly) {
    const std::string alphabet = "abdefgijklmnoprstuvwyzSZN~2?\xA3";
    const std::string letters = "abcdefghijklmnopqrstuvwxyzàâçéèêëîïôùûüœÉ-' ";
    std::mt19937 random(20261206);
    int failed = 0;
    for (int n = 0; n < 10000; ++n) {
        std::string word(1 + random() % 70, ' ');
        for (char& c : word)
            c = random() % 16 ? letters[random() % letters.size()] : static_cast<char>(1 + random() % 255);
        std::vector<std::string> got = Readings(word.c_str());
        if (got == std::vector<std::string>{"error"}) {
            ++failed;
            continue;
        }
        for (const std::string& one : got) {
            ASSERT_FALSE(one.empty());
            ASSERT_EQ(std::string::npos, one.find_first_not_of(alphabet)) << one;
        }
    }
    std::printf("random words failing on the candidate ceiling: %d of 10000\n", failed);
}
