// Requests on a descriptor's form over the generated base: descriptor opening
// (plain and scrambled), mounted bases, runs, result documents, suspension;
// document references.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "base/procedural/Assoc.h"
#include "base/procedural/EngineTables.h"
#include "search/engine/descriptor/MkDoom.h"
#include "search/engine/request/KyRequest.h"
#include "tests/search/engine/questions/KyQuestBase.h"

namespace {

using Doc = QuestData::Doc;

// Base B over the generated files: form F has a words field, a date field, and a
// group of two words fields; form G a words field alone.
std::string Descriptor(const std::string& firstLine) {
    std::string root = QuestData::Get().folder.path("");
    root.pop_back();
    return firstLine + "\n<KYDesc><pathinfo><path id=\"D\" type=\"dbg\">" + EncodeDescriptorPath(root) +
           "</path></pathinfo><resource path=\"D\"><stp id=\"ST\">mots</stp><thes id=\"TH\">thes</thes></resource>"
           "<common><base id=\"B\"><index path=\"D\"><idx id=\"M\" prox=\"PROXW\" nbdoc=\"20000\">mots</idx>"
           "<idx id=\"DT\" nbdoc=\"20000\">dates</idx></index>"
           "<mapping><formDefaults stp=\"ST\" thes=\"TH\"></formDefaults>"
           "<form id=\"F\" nbReq=\"6\"><formDefaults stp=\"ST\" thes=\"TH\"></formDefaults><req num=\"0\" direct=\"M\" "
           "prox=\"Y\"><sep> </sep></req>"
           "<req num=\"1\" direct=\"DT\" date=\"Y\"></req><req num=\"2\" bloc=\"beg\"></req>"
           "<req num=\"3\" direct=\"M\"><sep> </sep></req><req num=\"4\" direct=\"M\"><sep> </sep></req>"
           "<req num=\"5\" bloc=\"end\"></req></form>"
           "<form id=\"G\" nbReq=\"1\"><req num=\"0\" direct=\"M\"><sep> </sep></req></form>"
           "</mapping></base></common></KYDesc>";
}

std::vector<int32_t> Scan(bool (*match)(const Doc&)) {
    std::vector<int32_t> docs;
    for (int d = 0; d < kDocs; ++d)
        if (match(QuestData::Get().docs[static_cast<size_t>(d)]))
            docs.push_back(d);
    return docs;
}

std::vector<int32_t> Documents(KY_Request* r) {
    std::vector<int32_t> docs;
    for (int32_t i = 1; i <= KY_GetResultCount(r); ++i) {
        KyDocRef ref;
        int32_t index = i, doc;
        int base;
        if (KY_GetResultDoc(r, &ref, &index) != 0)
            break;
        KY_SplitDocRef(&doc, &base, ref);
        docs.push_back(doc);
    }
    return docs;
}

// The document filter of the tests: even documents only.
int Even(int32_t doc, void*) {
    return doc % 2 == 0 ? 1 : 0;
}

std::vector<int32_t> Evens(const std::vector<int32_t>& docs) {
    std::vector<int32_t> kept;
    for (int32_t d : docs)
        if (Even(d, nullptr))
            kept.push_back(d);
    return kept;
}

struct EngineGuard {
    KY_Engine* engine = nullptr;
    ~EngineGuard() {
        if (engine)
            KY_CloseDescriptor(&engine);
    }
};

// Base B of the descriptor in folder, opened once; null on failure (reported).
KY_MountedUse* MountB(TempFolder& folder, EngineGuard* g) {
    EXPECT_EQ(0, KY_OpenDescriptor(folder.write("d.sgm", Descriptor("<!-- KY MEDIA -->")).c_str(), &g->engine))
        << KY_EngineErrorText;
    KY_MountedUse* base = nullptr;
    if (g->engine) {
        EXPECT_EQ(0, KY_OpenMountedBase(g->engine, "B", &base));
    }
    return base;
}

}  // namespace

TEST(Request, DocumentReferencesHoldBaseAndNumber) {
    KyDocRef ref;
    KY_MakeDocRef(17, 0, &ref);
    EXPECT_EQ(0x01000011u, ref);
    int32_t doc;
    int base;
    KY_SplitDocRef(&doc, &base, ref);
    EXPECT_EQ(17, doc);
    EXPECT_EQ(0, base);
    KY_SplitDocRef(&doc, &base, 17);
    EXPECT_EQ(-1, base);
    KY_MakeDocRef(0xFFFFFF, 3, &ref);
    EXPECT_EQ(0x04FFFFFFu, ref);
}

TEST(Request, PlainAndScrambledDescriptorsOpen) {
    ASSERT_EQ("", QuestData::Get().error);
    TempFolder folder;
    std::string plain = Descriptor("<!-- KY MEDIA descriptor -->");
    std::string scrambled = Descriptor("<!-- descriptor -->");
    for (char& c : scrambled)
        c = static_cast<char>(c ? 256 - static_cast<unsigned char>(c) : 0);
    struct Row {
        const char* name;
        std::string bytes;
        int code;
    } rows[] = {{"plain.sgm", plain, 0}, {"scrambled.sgm", scrambled, 0}, {"clear.sgm", Descriptor("<!-- x -->"), 1}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EngineGuard g;
        int code = KY_OpenDescriptor(folder.write(row.name, row.bytes).c_str(), &g.engine);
        if (row.code == 0) {
            ASSERT_EQ(0, code) << KY_EngineErrorText;
            EXPECT_EQ(1, KY_IsBaseAvailable(g.engine, "B"));
        } else if (code == 0) {
            EXPECT_EQ(1303, KY_IsBaseAvailable(g.engine, "B")) << "a clear descriptor without the mark reads as noise";
        }
    }
    EngineGuard g;
    EXPECT_EQ(105, KY_OpenDescriptor(folder.path("none.sgm").c_str(), &g.engine));
    EXPECT_EQ(1303, KY_CloseDescriptor(&g.engine));
}

TEST(Request, QuestionTermsGoThroughTheFormsKeyFilter) {
    // The keys were made lower case without accents: the question must be too.
    std::ofstream(QuestData::Get().folder.path("kf.flt"), std::ios::binary) << "0x41 26 0x61\n0xF6 1 'o'\n";
    std::string root = QuestData::Get().folder.path("");
    root.pop_back();
    std::string desc =
        "<!-- KY MEDIA -->\n<KYDesc><pathinfo><path id=\"D\" type=\"dbg\">" + EncodeDescriptorPath(root) +
        "</path></pathinfo><resource path=\"D\"><flt id=\"KF\"><platform plat=\"win\">kf</platform></flt>"
        "<stp id=\"ST\">mots</stp></resource><common><base id=\"B\"><index path=\"D\">"
        "<idx id=\"M\" prox=\"PROXW\" nbdoc=\"20000\">mots</idx></index><mapping>"
        "<form id=\"G\" nbReq=\"1\"><formDefaults stp=\"ST\" stpflt=\"KF\" keyflt=\"KF\"></formDefaults>"
        "<req num=\"0\" direct=\"M\"><sep> </sep></req></form></mapping></base></common></KYDesc>";
    TempFolder folder;
    EngineGuard g;
    ASSERT_EQ(0, KY_OpenDescriptor(folder.write("d.sgm", desc).c_str(), &g.engine)) << KY_EngineErrorText;
    KY_MountedUse* base = nullptr;
    ASSERT_EQ(0, KY_OpenMountedBase(g.engine, "B", &base));
    KY_Request* r = nullptr;
    ASSERT_EQ(0, KY_OpenRequest(base, "G", folder.path("").c_str(), &r)) << KY_EngineErrorText;
    std::vector<int32_t> expected = Scan([](const Doc& d) { return Has(d, "pomme"); });
    ASSERT_FALSE(expected.empty());
    for (const char* asked : {"pomme", "POMME", "P\xF6mMe"}) {
        SCOPED_TRACE(asked);
        ASSERT_EQ(0, KY_SetQuestion(r, 1, 0, 0, asked, 0));
        ASSERT_EQ(0, KY_RunRequest(r, 0)) << KY_EngineErrorText;
        EXPECT_EQ(expected, Documents(r));
    }
}

TEST(Request, RequestsRunOverTheMountedBaseAndSuspendEachOther) {
    TempFolder folder;
    EngineGuard g;
    KY_MountedUse* base = MountB(folder, &g);
    ASSERT_NE(nullptr, base);
    KY_MountedUse* again = nullptr;
    EXPECT_EQ(1327, KY_OpenMountedBase(g.engine, "B", &again));
    EXPECT_EQ(base, again);
    EXPECT_EQ(1, base->openCount);
    EXPECT_EQ(1306, KY_OpenMountedBase(g.engine, "nobase", &again));
    KY_Request* f = nullptr;
    EXPECT_EQ(1310, KY_OpenRequest(base, "nosuchform", folder.path("").c_str(), &f));
    ASSERT_EQ(0, KY_OpenRequest(base, "F", folder.path("").c_str(), &f)) << KY_EngineErrorText;
    uint16_t fields = 0;
    ASSERT_EQ(0, KY_GetFieldCount(f, &fields));
    EXPECT_EQ(6, fields);
    ASSERT_EQ(0, KY_SetQuestion(f, 1, 0, 0, "maison PRES2 jardin", 0));
    ASSERT_EQ(0, KY_SetQuestion(f, 2, 0, 0, "APRES 1990", 0));
    ASSERT_EQ(0, KY_SetQuestion(f, 4, 0, 0, "pont", 0));
    ASSERT_EQ(0, KY_SetQuestion(f, 5, 1, 0, "gare", 0));
    ASSERT_EQ(0, KY_SetFieldOption(f, 5, 4, 1));
    ASSERT_EQ(0, KY_RunRequest(f, 0)) << KY_EngineErrorText;
    EXPECT_EQ(kStatusDone, KY_GetRequestStatus(f, 0));
    std::vector<int32_t> expected = Scan([](const Doc& d) {
        bool near = false;
        for (const auto& p : d.paras)
            for (const auto& x : p)
                for (const auto& y : p)
                    near = near || (x.word == "maison" && y.word == "jardin" && std::abs(x.n - y.n) <= 2);
        return near && d.date >= 19910101 && (Has(d, "pont") || Has(d, "gare"));
    });
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(static_cast<int32_t>(expected.size()), KY_GetResultCount(f));
    EXPECT_EQ(expected, Documents(f));
    EXPECT_EQ(static_cast<int32_t>(Scan([](const Doc& d) { return Has(d, "pont"); }).size()),
              KY_GetCriterionCount(f, 4));
    EXPECT_EQ(-1, KY_GetCriterionCount(f, 3)) << "a group marker has no count";
    EXPECT_EQ(1, KY_CheckStopWord("le"));
    EXPECT_EQ(0, KY_CheckStopWord("pont"));
    KyDocRef ref;
    int32_t index = 0;
    ASSERT_EQ(0, KY_GetResultDoc(f, &ref, &index));
    EXPECT_EQ(1, index);
    EXPECT_EQ(0x01000000u | static_cast<uint32_t>(expected.front()), ref);
    // A second request suspends the first, which resumes with its lists.
    KY_Request* other = nullptr;
    ASSERT_EQ(0, KY_OpenRequest(base, "G", folder.path("").c_str(), &other)) << KY_EngineErrorText;
    EXPECT_EQ(1, KY_IsSuspended(f));
    ASSERT_EQ(0, KY_SetQuestion(other, 1, 0, 0, "pomme", 0));
    ASSERT_EQ(0, KY_RunRequest(other, 0));
    EXPECT_EQ(Scan([](const Doc& d) { return Has(d, "pomme"); }), Documents(other));
    KY_Request* reopened = nullptr;
    ASSERT_EQ(0, KY_OpenRequest(base, "F", folder.path("").c_str(), &reopened));
    EXPECT_EQ(f, reopened);
    EXPECT_EQ(1, KY_IsSuspended(other));
    EXPECT_EQ(expected, Documents(f));
    // Runs of criteria are bracketed from the lower to the higher, a run of one on both sides.
    ASSERT_EQ(0, KY_SetFieldOption(f, 5, 4, 1));
    EXPECT_TRUE(f->part.criteria[4].open && !f->part.criteria[4].close);
    EXPECT_TRUE(!f->part.criteria[5].open && f->part.criteria[5].close);
    ASSERT_EQ(0, KY_SetFieldOption(f, 1, 1, 0));
    EXPECT_TRUE(f->part.criteria[1].open && f->part.criteria[1].close);
    ASSERT_EQ(0, KY_RunRequest(f, 0)) << KY_EngineErrorText;
    EXPECT_EQ(expected, Documents(f));
    // A document filter keeps the documents it answers for, in mode 0.
    ASSERT_EQ(0, KY_RunRequest(f, 0, Even, nullptr));
    EXPECT_EQ(Evens(expected), Documents(f));
    ASSERT_EQ(0, KY_RunRequest(f, 2, Even, nullptr));
    EXPECT_EQ(expected, Documents(f));
    // An excluded base is not searched.
    ASSERT_EQ(0, KY_SetBaseState(f, 0, 1));
    ASSERT_EQ(0, KY_RunRequest(f, 0));
    EXPECT_EQ(0, KY_GetResultCount(f));
    EXPECT_EQ(1324, KY_SetBaseState(f, 1, 1));
    ASSERT_EQ(0, KY_ClearField(f, 0));
    ASSERT_EQ(0, KY_RunRequest(f, 0));
    EXPECT_EQ(static_cast<int32_t>(expected.size()), KY_GetResultCount(f));
    // Lookups of the base's indexes.
    KY_OpenSpec spec;
    KY_ClearOpenSpec(&spec);
    ASSERT_EQ(0, KY_GetIndexFile(base, "M", 0, &spec));
    std::string path = spec.path.text;
    KY_FreeOpenSpec(&spec);
    EXPECT_EQ(QuestData::Get().indexes[0].path, path);
    EXPECT_EQ(1324, KY_GetIndexFile(base, "M", 1, &spec));
    EXPECT_EQ(1303, KY_GetIndexFile(base, "Z", 0, &spec));
    EXPECT_NE(nullptr, KY_FieldIndexByPath(f, 1, path.c_str()));
    EXPECT_EQ(nullptr, KY_FieldIndexByPath(f, 2, path.c_str()));
    EXPECT_EQ(0, KY_SearchedPart(base, 1));
    // Closing the base closes its requests.
    EXPECT_EQ(0, KY_CloseMountedBase(base));
    EXPECT_TRUE(base->requests.empty());
    EXPECT_EQ(1306, KY_CloseMountedBase(base));
    EXPECT_EQ(1306, KY_OpenRequest(base, "F", "", &f));
}

// A base on a removable volume is released only once no engine use holds it,
// and mounted again only then: its open requests keep reading their forms.
TEST(Request, ABaseInUseIsNeitherReleasedNorMountedAgain) {
    TempFolder folder;
    EngineGuard g;
    ASSERT_EQ(0, KY_OpenDescriptor(folder.write("d.sgm", Descriptor("<!-- KY MEDIA -->")).c_str(), &g.engine))
        << KY_EngineErrorText;
    KyMountedBase* b = static_cast<KyMountedBase*>(KY_FindAssoc(g.engine->mount->bases, "B")->value);
    b->hasMountable = 1;  // as a base whose files lie on a disc
    const std::vector<int32_t> pomme = Scan([](const Doc& d) { return Has(d, "pomme"); });
    auto run = [&](KY_MountedUse* use) {
        KY_Request* r = nullptr;
        EXPECT_EQ(0, KY_OpenRequest(use, "G", folder.path("").c_str(), &r)) << KY_EngineErrorText;
        if (!r)
            return std::vector<int32_t>{-1};
        EXPECT_EQ(KY_FindAssoc(b->forms, "G")->value, r->form);
        EXPECT_EQ(0, KY_SetQuestion(r, 1, 0, 0, "pomme", 0));
        EXPECT_EQ(0, KY_RunRequest(r, 0)) << KY_EngineErrorText;
        return Documents(r);
    };
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        KY_MountedUse* use = nullptr;
        ASSERT_EQ(0, KY_OpenMountedBase(g.engine, "B", &use)) << KY_EngineErrorText;
        EXPECT_EQ(pomme, run(use));
        const KyMountedForm* form = static_cast<const KyMountedForm*>(KY_FindAssoc(b->forms, "G")->value);
        KY_ForEachBase(g.engine->mount);
        EXPECT_EQ(0, b->released) << "held by its use";
        EXPECT_EQ(0, mountBase(g.engine->mount, "B"));
        ASSERT_NE(nullptr, b->forms);
        EXPECT_EQ(form, KY_FindAssoc(b->forms, "G")->value) << "the forms in use stay";
        EXPECT_EQ(pomme, run(use));
        ASSERT_EQ(0, KY_CloseMountedBase(use));
        KY_ForEachBase(g.engine->mount);
        EXPECT_EQ(1, b->released);
        EXPECT_EQ(nullptr, b->forms);
        ASSERT_EQ(0, mountBase(g.engine->mount, "B"));
        EXPECT_EQ(0, b->released);
        b->hasMountable = 1;
    }
}

// A question of one field's criterion takes that criterion's list as its
// result: filtering the result, running again with the field unchanged or
// changed, and closing leave each list readable while named and delete it once.
TEST(Request, AResultThatIsOneCriterionsListKeepsItUntilNeitherNamesIt) {
    TempFolder folder;
    EngineGuard g;
    KY_MountedUse* base = MountB(folder, &g);
    ASSERT_NE(nullptr, base);
    KY_Request* r = nullptr;
    ASSERT_EQ(0, KY_OpenRequest(base, "G", folder.path("").c_str(), &r)) << KY_EngineErrorText;
    const std::vector<int32_t> maison = Scan([](const Doc& d) { return Has(d, "maison"); });
    const std::vector<int32_t> pont = Scan([](const Doc& d) { return Has(d, "pont"); });
    ASSERT_EQ(0, KY_SetQuestion(r, 1, 0, 0, "maison", 0));
    ASSERT_EQ(0, KY_RunRequest(r, 0)) << KY_EngineErrorText;
    EXPECT_EQ(maison, Documents(r));
    EXPECT_EQ(r->part.criteria[1].listName, r->part.criteria[0].listName);
    // Filtering writes the result anew; the field's list stays for the next run.
    ASSERT_EQ(0, KY_RunRequest(r, 0, Even, nullptr));
    EXPECT_EQ(Evens(maison), Documents(r));
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(0, KY_RunRequest(r, 0)) << KY_EngineErrorText;
        EXPECT_EQ(maison, Documents(r)) << round;
        EXPECT_EQ(static_cast<int32_t>(maison.size()), KY_GetCriterionCount(r, 1));
    }
    std::string old = KY_ListPath(r->part.folder, r->part.criteria[1].listName);
    uint8_t header[kLoHeaderSize];
    EXPECT_GT(LoHeader(old.c_str(), header), 0);
    ASSERT_EQ(0, KY_SetQuestion(r, 1, 0, 0, "pont", 0));
    ASSERT_EQ(0, KY_RunRequest(r, 0)) << KY_EngineErrorText;
    EXPECT_EQ(pont, Documents(r));
    EXPECT_EQ(-1, LoHeader(old.c_str(), header)) << "the list neither names any more is gone";
    std::string now = KY_ListPath(r->part.folder, r->part.criteria[1].listName);
    EXPECT_EQ(0, KY_CriteriaClearAll(&r->part));
    EXPECT_EQ(-1, LoHeader(now.c_str(), header));
}

// A result read in any order gives each hit its document, whichever way the
// base presents its hits, and a new question's hits replace the ones read.
TEST(Request, HitsReadOutOfOrderAreTheHitsReadInOrder) {
    const std::vector<int32_t> maison = Scan([](const Doc& d) { return Has(d, "maison"); });
    const std::vector<int32_t> pont = Scan([](const Doc& d) { return Has(d, "pont"); });
    ASSERT_GT(maison.size(), 200u);
    for (bool inverse : {false, true}) {
        SCOPED_TRACE(inverse ? "presented from the last" : "presented in order");
        TempFolder folder;
        EngineGuard g;
        std::string text = Descriptor("<!-- KY MEDIA -->");
        if (inverse)
            text.replace(text.find("<base id=\"B\">"), 13, "<base id=\"B\" consOrder=\"inv\">");
        ASSERT_EQ(0, KY_OpenDescriptor(folder.write("d.sgm", text).c_str(), &g.engine)) << KY_EngineErrorText;
        KY_MountedUse* base = nullptr;
        ASSERT_EQ(0, KY_OpenMountedBase(g.engine, "B", &base));
        KY_Request* r = nullptr;
        ASSERT_EQ(0, KY_OpenRequest(base, "G", folder.path("").c_str(), &r)) << KY_EngineErrorText;
        auto expected = [&](std::vector<int32_t> docs) {
            if (inverse)
                std::reverse(docs.begin(), docs.end());
            return docs;
        };
        auto at = [&](int32_t i) {
            KyDocRef ref = 0;
            int32_t index = i, doc = -1;
            int b = -1;
            EXPECT_EQ(0, KY_GetResultDoc(r, &ref, &index)) << i;
            KY_SplitDocRef(&doc, &b, ref);
            EXPECT_EQ(0, b);
            return doc;
        };
        ASSERT_EQ(0, KY_SetQuestion(r, 1, 0, 0, "maison", 0));
        ASSERT_EQ(0, KY_RunRequest(r, 0)) << KY_EngineErrorText;
        const std::vector<int32_t> want = expected(maison);
        const int32_t n = static_cast<int32_t>(want.size());
        ASSERT_EQ(n, KY_GetResultCount(r));
        // Jumps past what was read, back into it, to the last and the first.
        for (int32_t i : {5, 3, 90, 40, 41, n, 1, n - 1, 2, 150, 120})
            EXPECT_EQ(want[static_cast<size_t>(i - 1)], at(i)) << i;
        std::vector<int32_t> backwards;
        for (int32_t i = n; i >= 1; --i)
            backwards.push_back(at(i));
        std::reverse(backwards.begin(), backwards.end());
        EXPECT_EQ(want, backwards);
        // The same question run again, then another: read from where the last read stopped.
        ASSERT_EQ(0, KY_RunRequest(r, 0)) << KY_EngineErrorText;
        EXPECT_EQ(want[60], at(61));
        EXPECT_EQ(want, Documents(r));
        ASSERT_EQ(0, KY_SetQuestion(r, 1, 0, 0, "pont", 0));
        ASSERT_EQ(0, KY_RunRequest(r, 0)) << KY_EngineErrorText;
        EXPECT_EQ(expected(pont)[1], at(2));
        EXPECT_EQ(expected(pont), Documents(r));
    }
}
