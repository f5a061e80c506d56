// The phonetic candidate set: what it keeps of the matcher's lists, over the
// real matcher and over a scripted one.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/procedural/BAlloc.h"
#include "search/engine/phon/KyPhon.h"
#include "search/facade/IPhon.h"

namespace {

// Answers the blank-separated readings of "word" itself; "fail" fails.
int ScriptedCandidates(const char* word, long, KyPhonList** result) {
    *result = nullptr;
    if (std::strcmp(word, "fail") == 0)
        return 1;
    KyPhonList* list = static_cast<KyPhonList*>(KY_Calloc(1, sizeof(KyPhonList)));
    list->capacity = 16;
    list->strings = static_cast<char**>(KY_Calloc(16, sizeof(char*)));
    for (const char* p = word; *p && list->count < 16;) {
        size_t n = std::strcspn(p, " ");
        char* one = static_cast<char*>(KY_Calloc(n + 1, 1));
        std::memcpy(one, p, n);
        list->strings[list->count++] = one;
        p += n + (p[n] == ' ');
    }
    *result = list;
    return 0;
}

class ScriptedPhon : public IPhon {
public:
    ScriptedPhon() : IPhon(ScriptedCandidates) {}
};

// The held candidates in key order, blank-separated.
std::string Held(IPhon& phon) {
    std::string out;
    AStrDic& dic = phon.getCandidates();
    for (Pix p = dic.first(); p; dic.next(p)) {
        out += (out.empty() ? "" : " ") + std::string(dic.key(p).c_str());
        EXPECT_EQ(nullptr, dic.contents(p));
    }
    return out;
}

}  // namespace

TEST(IPhon, KeepsEachCandidateOnceAndOnlyTheLastWords) {
    struct Row {
        const char* word;
        long count;
        const char* held;
    } const rows[] = {
        {"ki kwi ki kui kwi", 3, "ki kui kwi"}, {"b a", 2, "a b"}, {"fail", 0, ""}, {"", 0, ""}, {"z", 1, "z"},
    };
    ScriptedPhon phon;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.word);
        EXPECT_EQ(r.count, phon.findCandidates(r.word));
        EXPECT_EQ(r.count, phon.getCount());
        EXPECT_EQ(r.held, Held(phon));
    }
}

TEST(IPhon, HoldsTheMatchersReadings) {
    struct Row {
        const char* word;
        const char* held;
    } const rows[] = {
        {"zurich", "dzyrik zyrik"},
        {"", ""},
        {"nation", "nasjo~"},
        {"qui", "ki kui kwi"},
    };
    IPhon phon;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.word);
        phon.findCandidates(r.word);
        EXPECT_EQ(r.held, Held(phon));
    }
}
