// Remote bases: server replies read into hit vectors and the local cache, hits
// located across bases, malformed replies refused, and requests answered by the
// test server.
#include <gtest/gtest.h>

#include <random>

#include "base/procedural/EngineTables.h"
#include "base/procedural/KyHttp.h"
#include "search/engine/records/KyAccessor.h"
#include "search/engine/remote/KyRemote.h"
#include "search/engine/request/KyRequest.h"
#include "tests/search/engine/questions/KyQuestBase.h"
#include "tests/search/engine/records/TableTestSupport.h"
#include "tests/search/engine/remote/RemoteServer.h"

namespace {

// Reads a reply given as bytes through a file, as the request layer reads its reply file.
int Read(TempFolder& folder, const std::string& reply, KY_RemoteBase* r, KyTable* table = nullptr, int part = 1,
         int scores = 1) {
    OpenSpecOf spec(folder.rewrite("reply.txt", reply));
    KY_File* f = KY_FOpen(spec.get(), "rb");
    int code = KY_ReadRemoteReply(r, table, part, f, scores, 0);
    KY_FClose(f);
    return code;
}

// A compressed item's head: document, stored and expanded lengths, little-endian.
std::string Item(int32_t doc, int32_t stored, int32_t expanded) {
    std::string out;
    for (int32_t v : {doc, stored, expanded})
        for (int i = 0; i < 4; ++i)
            out += static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
    return out;
}

std::string Hits(const KY_RemoteBase& r) {
    std::string out;
    for (int32_t i = 1;; ++i) {
        int32_t doc, score;
        if (KY_RemoteHit(&r, i, &doc, &score) != 0)
            break;
        out += std::to_string(doc) + "/" + std::to_string(score) + " ";
    }
    return out;
}

// Closes the descriptor whatever the test left.
struct Closer {
    KY_Engine** engine;
    ~Closer() {
        if (*engine) {
            EXPECT_EQ(0, KY_CloseDescriptor(engine));
        }
    }
};

}  // namespace

TEST(RemoteBase, RepliesFillTheHitVector) {
    TempFolder folder;
    struct Row {
        std::string reply;
        int code;
        const char* hits;
    } rows[] = {
        {"COUNT:3\nMAXNODOC:2000\nHIGH:a,b\nDATA:3\nDoc one\t10.75\nDoc two\t12\nDoc three\t1234.75\n", 0,
         "10/75 12/1000 1234/75 "},
        {"COUNT:1\nMAXNODOC:50\nDATA:1\nlast\t50.2\n", 0, "50/2 "},
        {"COUNT:0\nMAXNODOC:50\n", 0, ""},
        {"noise\nCOUNT:1\nMAXNODOC:9\n\nDATA:1\nx\t9\n", 0, "9/0 "},
        {"COUNT:2\nMAXNODOC:9\nDATA:2\nx\t5\ny\t4\n", 1322, ""},
        {"COUNT:1\nMAXNODOC:9\nDATA:1\nx\t10\n", 1322, ""},
        {"COUNT:1\nMAXNODOC:9\nDATA:1\nno tab\n", 1322, ""},
        {"COUNT:1\nMAXNODOC:9\nDATA:1\nx\t-3\n", 1322, ""},
        {"COUNT:1\nMAXNODOC:9\nDATA:1\nx\t\n", 1322, ""},
        {"COUNT:\nMAXNODOC:9\n", 1322, ""},
        {"COUNT:x1\n", 1322, ""},
        {"MAXNODOC:9\n", 106, ""},
        {"COUNT:2\nMAXNODOC:9\nDATA:2\nx\t3\n", 106, ""},
        {"COUNT:1\nMAXNODOC:2147483647\nDATA:1\nx\t1\n", 110, ""},
        {"COUNT:70000\nMAXNODOC:90000\nDATA:1\nx\t1.5\n", 110, ""},
        {"COUNT:1\nMAXNODOC:9\nDATA:1\nx\t4", 106, ""},
        {"COUNT:1\nMAXNODOC:9\nDATACOMP:1\n" + Item(4, 3, 3) + "abc", 0, "4/0 "},
        {"COUNT:2\nMAXNODOC:9\nDATACOMP:2\n" + Item(4, 3, 3) + "abc" + Item(6, 1, 2) + "z", 0, "4/0 6/0 "},
        {"COUNT:1\nMAXNODOC:9\nDATACOMP:1\n" + Item(4, 50, 3) + "abc", 106, ""},
        {"COUNT:1\nMAXNODOC:9\nDATACOMP:1\n" + Item(4, 3, 3).substr(0, 7), 106, ""},
        {"COUNT:1\nMAXNODOC:9\nDATACOMP:1\n" + Item(-4, 3, 3) + "abc", 1322, ""},
        // The count and the documents must agree.
        {"COUNT:1\nMAXNODOC:9\nDATA:1\nx\t4\nCOUNT:5\n", 1322, ""},
        {"COUNT:1\nMAXNODOC:9\nDATA:1\nx\t4\nCOUNT:0\n", 1322, ""},
        {"COUNT:1\nCOUNT:1\nMAXNODOC:9\nDATA:1\nx\t4\n", 1322, ""},
        {"MAXNODOC:9\nDATA:1\nx\t4\nCOUNT:1\n", 1322, ""},
        {"COUNT:1\nMAXNODOC:9\nDATA:1\nx\t4\nDATA:1\ny\t5\n", 1322, ""},
        {"COUNT:2\nMAXNODOC:9\nDATA:2\nx\t4\ny\t4\n", 1322, ""},
        {"COUNT:3\nMAXNODOC:9\n", 1322, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.reply);
        KY_RemoteBase r;
        EXPECT_EQ(row.code, Read(folder, row.reply, &r));
        if (!row.code) {
            EXPECT_EQ(row.hits, Hits(r));
        }
    }
    KY_RemoteBase r;
    ASSERT_EQ(0,
              Read(folder, "COUNT:1\nMAXNODOC:9\nHIGH:chat, chien,\nDATA:1\n" + std::string(990, 'x') + "\t4\n", &r));
    EXPECT_EQ((std::vector<std::string>{"chat", "chien"}), r.high);
    EXPECT_EQ(106, Read(folder, "COUNT:1\nMAXNODOC:9\nDATA:1\n" + std::string(1000, 'x') + "\t4\n", &r))
        << "a line longer than the buffer is refused, not cut";
}

TEST(RemoteBase, ReceivedDocumentsAreStoredOnceInTheLocalCache) {
    TempFolder folder;
    std::vector<int32_t> cor(100, -1);
    cor[1] = 0;
    TwoPartBase two(folder, PartSource{{"zero"}, 0, 0, {}}, PartSource{{"stored before"}, 0, 0, cor});
    two.supports[0].first = 0;
    two.supports[0].end = 100;
    two.supports[1].first = 100;
    two.supports[1].end = 200;
    KyTable* table = nullptr;
    ASSERT_EQ(0, KyOpenTable(&two.base, "DB", &table));
    const std::string reply = "COUNT:2\nMAXNODOC:200\nDATA:2\nagain\t101\nnew document\t150.5\n";
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass);
        KY_RemoteBase r;
        ASSERT_EQ(0, Read(folder, reply, &r, table, 1)) << KY_EngineErrorText;
        EXPECT_EQ("101/0 150/0 ", Hits(r)) << "no score array when the first document has none";
        EXPECT_EQ(2, table->parts[1].cat.count) << "a stored document is not written again";
        uint8_t buffer[64];
        int32_t got = 0;
        ASSERT_EQ(0, KyReadRecord(table, 150, buffer, sizeof buffer, &got));
        EXPECT_EQ("new document\t150.5\n", std::string(reinterpret_cast<char*>(buffer), static_cast<size_t>(got)));
        ASSERT_EQ(0, KyReadRecord(table, 101, buffer, sizeof buffer, &got));
        EXPECT_EQ("stored before", std::string(reinterpret_cast<char*>(buffer), static_cast<size_t>(got)));
    }
    KY_RemoteBase r;
    EXPECT_EQ(1322, Read(folder, "COUNT:1\nMAXNODOC:300\nDATA:1\nx\t250\n", &r, table, 1))
        << "a document outside its part";
    // The highlight words of a record are those of the base that holds it.
    KY_MountedUse owner;
    owner.bases.resize(2);
    owner.bases[1].kind = 1;
    owner.localCount = 1;
    KY_Request request;
    request.base = &owner;
    request.remotes.resize(1);
    request.remotes[0].high = {"chat", "chien"};
    std::vector<std::string> words;
    ASSERT_EQ(0, KY_GetRecordTerms(&request, table, 150, &words, 0));
    EXPECT_EQ((std::vector<std::string>{"chat", "chien"}), words);
    // Emptying the cache of a part whose policy reaches the mode leaves it without records.
    char db[] = "DB";
    two.base.docDb = db;
    KY_MountedUse use;
    use.base = &two.base;
    use.bases.resize(2);
    use.bases[1].kind = 1;
    use.localCount = 1;
    use.docs = table;
    two.parts[1].clean = 2;
    ASSERT_EQ(0, KY_CleanRemoteCache(&use, 3));
    EXPECT_EQ(2, use.docs->parts[1].cat.count) << "a policy below the mode keeps the cache";
    ASSERT_EQ(0, KY_CleanRemoteCache(&use, 2));
    ASSERT_NE(nullptr, use.docs);
    EXPECT_EQ(0, use.docs->parts[1].cat.count);
    EXPECT_EQ(1, use.docs->parts[0].cat.count);
    int32_t type = 0;
    int present = 1;
    ASSERT_EQ(0, KyRecordPresent(use.docs, 150, &type, &present));
    EXPECT_EQ(0, present);
    KyCloseTable(&use.docs);
}

TEST(RemoteBase, HitsAreLocatedAcrossLocalAndRemoteBases) {
    KY_MountedUse use;
    use.bases.resize(3);
    use.bases[2].kind = 1;
    use.localCount = 2;
    KY_Request request;
    request.base = &use;
    KY_CriteriaMake(&request.part, 1);
    request.part.criteria[0].status = kStatusDone;
    request.part.criteria[0].count = 40;
    request.remotes.resize(1);
    request.remotes[0].status = kStatusDone;
    request.remotes[0].count = 5;
    struct Row {
        int32_t hit;
        int code, base;
        int32_t within;
    } rows[] = {{1, 0, 0, 1}, {40, 0, 0, 40}, {42, 0, 2, 2}, {45, 0, 2, 5}, {46, 1269, 0, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.hit);
        int32_t hit = row.hit;
        int base = -1, remote = -1;
        ASSERT_EQ(row.code, KY_LocateHit(&request, &hit, &base, &remote));
        if (!row.code) {
            EXPECT_EQ(row.base, base);
            EXPECT_EQ(row.within, hit);
            EXPECT_EQ(0, remote);
        }
    }
    use.bases[2].state = 1;
    int32_t hit = 42;
    int base, remote;
    EXPECT_EQ(1269, KY_LocateHit(&request, &hit, &base, &remote)) << "an excluded base holds no hits";
}

TEST(RemoteBase, MalformedRepliesFailWithAnError) {
    TempFolder folder;
    std::mt19937 rng(2000);
    const std::string sound = "COUNT:3\nMAXNODOC:500\nHIGH:a\nDATA:3\nDoc\t10.5\nDoc\t20.6\nDoc\t30.7\n";
    for (int n = 0; n < 2000; ++n) {
        std::string reply = sound;
        switch (n % 8) {
            case 0:  // cut inside the document block
                reply.resize(sound.find("DATA") + 8 + rng() % 20);
                break;
            case 1:  // a document beyond MAXNODOC
                reply.replace(reply.find("20.6"), 2, std::to_string(501 + rng() % 100000));
                break;
            case 2:  // a line without its tab
                reply.replace(reply.find(rng() % 2 ? "Doc\t20.6" : "Doc\t10.5"), 4, "Doc ");
                break;
            case 3:  // a key without value
                reply.replace(reply.find(rng() % 2 ? "COUNT:3" : "MAXNODOC:500"), rng() % 2 ? 7 : 12,
                              rng() % 2 ? "COUNT:" : "MAXNODOC:");
                break;
            case 4:  // no COUNT at all
                reply = "MAXNODOC:500\n" + std::string(rng() % 50, '\n');
                break;
            case 5:  // noise in place of a document number
                reply.replace(reply.find("30.7"), 4, std::string(1, static_cast<char>('a' + rng() % 26)) + "\x01z");
                break;
            case 6:  // a line longer than the buffer
                reply.insert(reply.find("Doc\t10"), std::string(1000 + rng() % 100, 'o'));
                break;
            default:  // an impossible range
                reply.replace(reply.find("MAXNODOC:500"), 12, "MAXNODOC:" + std::to_string(0x7FFF8 + rng() % 1000));
                reply.replace(reply.find("Doc\t10"), 6, "Doc\t0");
                break;
        }
        KY_RemoteBase r;
        int code = Read(folder, reply, &r);
        ASSERT_NE(0, code) << n << ": " << reply;
    }
}

TEST(RemoteBase, RequestsAskTheServerOfTheirRemoteBases) {
    int port = RemoteServerPorts().port;
    if (!port)
        GTEST_SKIP() << "the remote server fixture did not run";
    ASSERT_EQ("", QuestData::Get().error);
    TempFolder folder;
    std::string root = QuestData::Get().folder.path("");
    root.pop_back();
    auto descriptor = [&](const std::string& script) {
        return "<!-- KY MEDIA -->\n<KYDesc connect=\"Y\"><pathinfo><path id=\"D\" type=\"dbg\">" +
               EncodeDescriptorPath(root) +
               "</path></pathinfo><common><base id=\"R\" nbSupports=\"2\" nbSuppRech=\"1\"><index path=\"D\">"
               "<idx id=\"M\" prox=\"PROXW\" nbdoc=\"20000\">mots</idx></index>"
               "<support num=\"1\" where=\"net\"><connect serveur=\"" +
               RemoteServerAddress(port) + "\" script=\"" + script +
               "\"></connect></support><mapping><form id=\"G\" nbReq=\"2\">"
               "<req num=\"0\" direct=\"M\"><sep> </sep></req><req num=\"1\" direct=\"M\"><sep> </sep></req>"
               "</form></mapping></base></common></KYDesc>";
    };
    KY_NetworkUse = 1;
    struct Reset {
        ~Reset() {
            KY_NetworkUse = 0;
            KY_HttpSetTimeout(30000);
        }
    } reset;
    int32_t local = 0;
    for (const QuestData::Doc& d : QuestData::Get().docs) {
        bool has = false;
        for (const auto& p : d.paras)
            for (const auto& w : p)
                has = has || w.word == "maison";
        local += has;
    }
    struct Row {
        const char* script;
        int32_t remote;  // hits received, -1 for a failed query
        int32_t remoteStatus;
    } rows[] = {
        {"normal/t/1000", 5, kStatusDone},   {"normal/z/1000", 5, kStatusDone},
        {"slow/t/1000", -1, kStatusNothing}, {"close/t/1000", -1, kStatusFailed},
        {"status-500/t", -1, kStatusFailed}, {"truncated/t/1000", -1, kStatusFailed},
        {"oversized/t", -1, kStatusFailed},
    };
    KY_HttpSetTimeout(500);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.script);
        KY_Engine* engine = nullptr;
        Closer closer{&engine};
        ASSERT_EQ(0, KY_OpenDescriptor(folder.write("r.sgm", descriptor(row.script)).c_str(), &engine))
            << KY_EngineErrorText;
        KY_MountedUse* base = nullptr;
        KY_Request* r = nullptr;
        ASSERT_EQ(0, KY_OpenMountedBase(engine, "R", &base));
        ASSERT_EQ(0, KY_OpenRequest(base, "G", folder.path("").c_str(), &r)) << KY_EngineErrorText;
        ASSERT_EQ(1u, r->remotes.size());
        ASSERT_EQ(0, KY_SetQuestion(r, 1, 0, 0, "maison", 0));
        ASSERT_EQ(0, KY_SetQuestion(r, 2, 1, 0, "m200", 0));
        r->scores = 1;
        int code = KY_RunRequest(r, 0);
        EXPECT_EQ(row.remoteStatus, r->remotes[0].status);
        if (row.remote >= 0) {
            ASSERT_EQ(0, code) << KY_EngineErrorText;
            EXPECT_EQ(kStatusDone, KY_GetRequestStatus(r, 0));
            EXPECT_EQ(local + row.remote, KY_GetResultCount(r));
            KyDocRef ref;
            int32_t index = local + 2, doc;
            int which;
            ASSERT_EQ(0, KY_GetResultDoc(r, &ref, &index));
            KY_SplitDocRef(&doc, &which, ref);
            EXPECT_EQ(1, which);
            EXPECT_EQ(400, doc) << "hit L + 2 is the remote base's second";
            int32_t score = 0;
            index = local + 3;
            ASSERT_EQ(0, KY_GetScoredDoc(r, &ref, &index, &score));
            EXPECT_EQ(0x02000258u, ref);
            bool compressed = std::string(row.script).find("/z/") != std::string::npos;
            EXPECT_EQ(compressed ? 0 : RemoteDocScore(600), score) << "compressed items carry no score";
            int32_t hit = local + row.remote + 1;
            int b, ri;
            EXPECT_EQ(1269, KY_LocateHit(r, &hit, &b, &ri)) << "hit L + 6 lies outside every base";
            std::vector<std::string> words;
            ASSERT_EQ(0, KY_GetQuestionTerms(r, 1, &words, 0));
            EXPECT_EQ((std::vector<std::string>{"maison", "m200"}), words);
        } else {
            EXPECT_NE(0, code);
            EXPECT_EQ(kStatusFailed, KY_GetRequestStatus(r, 0));
        }
    }
    // Every reply the server damages in a way a sound reader refuses fails the run.
    for (int seed = 0; seed < 40; ++seed) {
        SCOPED_TRACE(seed);
        KY_Engine* engine = nullptr;
        Closer closer{&engine};
        std::string script = "malformed-" + std::to_string(seed) + (seed % 2 ? "/z/1000" : "/t/1000");
        ASSERT_EQ(0, KY_OpenDescriptor(folder.write("r.sgm", descriptor(script)).c_str(), &engine));
        KY_MountedUse* base = nullptr;
        KY_Request* r = nullptr;
        ASSERT_EQ(0, KY_OpenMountedBase(engine, "R", &base));
        ASSERT_EQ(0, KY_OpenRequest(base, "G", folder.path("").c_str(), &r));
        ASSERT_EQ(0, KY_SetQuestion(r, 2, 1, 0, "m7", 0));
        EXPECT_NE(0, KY_RunRequest(r, 0));
        EXPECT_EQ(kStatusFailed, r->remotes[0].status);
        EXPECT_EQ(kStatusFailed, KY_GetRequestStatus(r, 0));
    }
}
