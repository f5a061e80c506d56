// The sound-alike proposals without a base (a stand-in matcher) and their
// rows; then, on the sample encyclopedia, the checked proposals of misspelt
// words (skipped when the sample is not built).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/data/AppBaseTables.h"
#include "app/data/AppDataManager.h"
#include "app/phon/AStringLongDicLineGetter.h"
#include "app/phon/IPhonAbp.h"
#include "base/object/ALongDic.h"
#include "search/engine/phon/KyPhon.h"
#include "search/facade/ADataLocation.h"

namespace {

std::string gAsked;  // the words the stand-in matcher was given, "|"-separated

// The real matcher, recording the word it is given; "rien" fails.
int StandInMatcher(const char* word, long reserved, KyPhonList** result) {
    gAsked += std::string(word) + "|";
    *result = nullptr;
    if (!std::strcmp(word, "rien"))
        return 1;
    return KY_PhonCandidates(word, reserved, result);
}

class StandInPhon : public IPhonAbp {
public:
    StandInPhon() : IPhonAbp(StandInMatcher, 0, 11, 0) {}
};

std::string Results(const IPhonAbp& phon) {
    std::string out;
    const AStringLongDic& r = phon.getResults();
    for (long k = 0; k < r.count(); ++k)
        out += std::string(k ? "," : "") + r.getString(k).c_str();
    return out;
}

}  // namespace

TEST(PhonProposals, InnerBlanksAreTold) {
    struct Row {
        const char* word;
        bool inner;
    } rows[] = {{"mot", false}, {" mot ", false}, {"deux mots", true}, {" deux  mots ", true}, {"", false},
                {"   ", false}, {"a b", true}};
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string("'") + r.word + "'");
        EXPECT_EQ(r.inner, IPhonAbp::hasInnerBlank(r.word));
    }
}

TEST(PhonProposals, UncheckedProposalsAreTheMatchersReadingsInKeyOrder) {
    StandInPhon phon;
    struct Row {
        const char* word;
        bool asked;  // the matcher sees the word as it stands
        bool some;
    } rows[] = {{"pinceau", true, true}, {" calque ", true, true}, {"deux mots", false, false}, {"rien", true, false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.word);
        phon.setChosenText("avant");
        gAsked.clear();
        long count = phon.search(r.word);
        EXPECT_EQ(r.asked ? std::string(r.word) + "|" : "", gAsked);
        EXPECT_EQ(count, phon.getResultCount());
        EXPECT_EQ(r.some, count > 0);
        EXPECT_EQ("", std::string(phon.getChosenText().c_str())) << "a new search forgets the choice";
        // Key order, each reading once.
        std::string shown = Results(phon), sorted;
        AStrDic& readings = phon.getCandidates();
        for (Pix p = readings.first(); p; readings.next(p))
            sorted += std::string(sorted.empty() ? "" : ",") + readings.key(p).c_str();
        EXPECT_EQ(r.some ? sorted : "", shown);
        if (r.asked) {
            EXPECT_EQ(std::string(r.word), phon.getWord().c_str());
        }
    }
}

TEST(PhonProposals, RowsAreLinksWithTheEscapedTextShownAndTheRawTextAsValue) {
    AStringLongDic dic;
    const char* texts[] = {"pinceau", "a/b#c{d}", ""};
    for (long k = 0; k < 3; ++k)
        dic.setString(k, texts[k]);
    auto* getter = new AStringLongDicLineGetter(&dic, [](const char* t) {
        std::string out;
        for (const char* p = t; *p; ++p)
            out += std::strchr("/#{}", *p) ? std::string("\\") + *p : std::string(1, *p);
        return AString(out.c_str());
    });
    getter->addRef();
    struct Row {
        long line;
        const char* row;
    } rows[] = {{0, "/Epinceau#pinceau"}, {1, "/Ea\\/b\\#c\\{d\\}#a/b#c{d}"}, {2, ""}, {3, ""}, {-1, ""}};
    EXPECT_EQ(3, getter->getLineCount());
    for (const Row& r : rows) {
        SCOPED_TRACE(r.line);
        AString out;
        getter->getLine(out, r.line);
        EXPECT_STREQ(r.row, out.c_str());
    }
    getter->prepareLine(1, 0);
    EXPECT_STREQ("a/b#c{d}", getter->getColumnSortText(0).c_str());
    getter->release();
}

namespace {

std::string Sample() {
    return std::string("Z:") + SV_BINARY_DIR + "/sample";
}

class SamplePhonTest : public testing::Test {
protected:
    void SetUp() override {
        if (GetFileAttributesA((Sample() + "/sv.sgm").c_str()) == INVALID_FILE_ATTRIBUTES)
            GTEST_SKIP() << "no sample: tools/sample/build.sh builds it";
        ASSERT_EQ(0, location.open((Sample() + "\\sv.sgm").c_str(), nullptr, Sample().c_str()));
        gBaseDescriptors = SingleDiscBaseTable();
        data = new AppDataManager(&location, nullptr);
    }
    void TearDown() override { delete data; }
    ADataLocation location;
    AppDataManager* data = nullptr;
};

}  // namespace

TEST_F(SamplePhonTest, MisspeltWordsAreProposedTheSampleWordsTheySoundLike) {
    IPhonAbp phon(1, 11, 0);
    struct Row {
        const char* typed;
        const char* proposed;  // "" for no proposal
    } rows[] = {{"pinsseau", "pinceau"}, {"kalke", "calque"}, {"deux mots", ""}, {"fichyer", "fichier"},
                {"imaje", "image"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.typed);
        long count = phon.search(r.typed);
        std::string shown = "," + Results(phon) + ",";
        if (!*r.proposed) {
            EXPECT_EQ(0, count);
        } else {
            EXPECT_NE(std::string::npos, shown.find(std::string(",") + r.proposed + ",")) << shown;
        }
        // Each record text once.
        const AStringLongDic& res = phon.getResults();
        for (long i = 0; i < res.count(); ++i)
            for (long j = i + 1; j < res.count(); ++j)
                EXPECT_NE(std::string(res.getString(i).c_str()), res.getString(j).c_str());
    }
}

namespace {

struct Misspelling {
    const char* typed;
    const char* word;
};

const Misspelling kMisspellings[] = {
#include "tests/app/phon/SoundAlikeMisspellings.inc"
};

// The count reached when the floor was last raised.
const int kProposedFloor = 99;

}  // namespace

TEST_F(SamplePhonTest, SoundAlikeMisspellingsOfSampleWordsAreProposedTheWord) {
    IPhonAbp phon(1, 11, 0);
    int proposed = 0;
    std::string missed;
    for (const Misspelling& m : kMisspellings) {
        phon.search(m.typed);
        std::string shown = "," + Results(phon) + ",";
        if (shown.find(std::string(",") + m.word + ",") != std::string::npos)
            ++proposed;
        else
            missed += std::string(m.typed) + "->" + m.word + " ";
    }
    const int total = static_cast<int>(sizeof kMisspellings / sizeof kMisspellings[0]);
    printf("sound-alike proposals: %d of %d misspellings proposed their word\n", proposed, total);
    EXPECT_GE(proposed, kProposedFloor) << "missed: " << missed;
}
