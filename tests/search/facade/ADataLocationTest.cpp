// The data location, search bases, keyed indexes and search requests over a
// small installation written by the base writers: a descriptor with its
// companion, a lexicon, a base of two parts joined by catalogue files, and a
// base of file names, each with a words index and a request form.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "base/object/AFileStream.h"
#include "base/object/AFilter.h"
#include "base/procedural/EngineTables.h"
#include "search/engine/descriptor/KyParse.h"
#include "search/facade/ADataLocation.h"
#include "search/facade/AKeyIndex.h"
#include "search/facade/ALoFile.h"
#include "search/facade/ALoVect.h"
#include "search/facade/ASearchBase.h"
#include "search/facade/ASearchRequest.h"
#include "search/facade/SearchError.h"
#include "search/writers/AbpWriter.h"
#include "search/writers/FileImage.h"
#include "search/writers/TableWriter.h"
#include "tests/base/procedural/TextTestSupport.h"
#include "tests/search/facade/FacadeTestSupport.h"
#include "tests/search/facade/InstallationWriter.h"

namespace {

// The installation: files in a fresh folder; the descriptor "t.sgm".
struct Installation {
    Installation() {
        std::string root = folder.path("");
        root.pop_back();
        FltImage upper;
        for (int c = 'a'; c <= 'z'; ++c)
            upper.base[c] = static_cast<int16_t>(c - 32);
        folder.write("f.rck", upper.bytes());
        Tree(folder.path("la.abp"), {{"CHAT", 0}, {"CHIEN", 1}, {"MAISON", 2}});
        Table(folder, "lh", {"le chat", "le chien", "la maison"}, true);
        Table(folder, "d", {"zero", "un", "deux"});
        Table(folder, "d1", {"trois", "quatre"});
        Table(folder, "h", {"titre"}, true);
        // Global records 0..4: 0-2 direct in part 0, 3 = part0Count direct
        // into part 1, 4 through "mst" entry 1; "mst" codes: part 1, levels 1 and 2.
        folder.write("d1.inv", Words({0, 1, 2, 3, (1u << 24) | 1}));
        folder.write("d1.mst", Words({(0x14u << 24) | 0, (0x18u << 24) | 1}));
        Tree(folder.path("dbi.abp"), {{"deux", 2}, {"un", 1}, {"zero", 0}});
        Tree(folder.path("dbi1.abp"), {{"quatre", 1}, {"trois", 0}});
        Table(folder, "e", {"image.bmp", "C:\\absolu\\son.wav"});
        // Words with positions: base B's documents 0-2 in part 0, 3-4 in part 1
        // (numbered across parts); base C's 0-1.
        WordTree(folder.path("bm.abp"), {{"alpha", {0, 2}}, {"beta", {1}}});
        WordTree(folder.path("bm1.abp"), {{"alpha", {3, 4}}, {"gamma", {3}}});
        WordTree(folder.path("cm.abp"), {{"delta", {0, 1}}, {"epsilon", {1}}});
        folder.write("t.gen", "VERSION=3.2\r\n");
        std::string sgm =
            "<!-- KY MEDIA -->\r\n<!ENTITY START 1 >\r\n<!ENTITY VERSION ASK >\r\n"
            "<KYDesc><pathinfo><path id=\"D\" type=\"dbg\">" +
            Encode(root) + "</path><path id=\"ROOT\" type=\"dbg\">" + Encode(root) +
            "</path></pathinfo><extinfo></extinfo>"
            "<resource path=\"D\"><filter id=\"F\"><platform plat=\"win\">f</platform></filter>"
            "<lex id=\"L\" filterkey=\"F\"><lexabp>la</lexabp><lexhdg>lh</lexhdg></lex>"
            "<lex id=\"NOFILE\"><lexabp>absent</lexabp></lex>"
            "<userdata id=\"U\">notes.dat</userdata></resource>"
            "<common><base id=\"B\" nbSupports=\"2\" nbSuppRech=\"2\"><data path=\"D\"><db id=\"DB\">d</db><db "
            "id=\"H\">h</db></data>"
            "<hdg db=\"H\" docdb=\"DB\"></hdg><index path=\"D\"><idx id=\"DB\">dbi</idx>"
            "<idx id=\"M\" prox=\"PROXW\" nbdoc=\"10\">bm</idx></index>"
            "<support num=\"1\"><subdb db=\"DB\">d1</subdb><subidx idx=\"DB\">dbi1</subidx>"
            "<subidx idx=\"M\" nbdoc=\"10\">bm1</subidx></support>"
            "<mapping><form id=\"F\" nbReq=\"1\"><req num=\"0\" direct=\"M\" poids=\"3\"><sep> </sep></req></form>"
            "</mapping></base>"
            "<base id=\"C\"><data path=\"D\"><db id=\"E\">e</db></data><index path=\"D\">"
            "<idx id=\"M\" prox=\"PROXW\" nbdoc=\"10\">cm</idx></index><mapping><form id=\"F\" nbReq=\"2\">"
            "<req num=\"0\" direct=\"M\"><sep> </sep></req><req num=\"1\" direct=\"M\"><sep> </sep></req></form>"
            "<form id=\"G\" nbReq=\"1\"><req num=\"0\" direct=\"M\"><sep> </sep></req></form></mapping></base></common>"
            "<userstr><str id=\"MSG_A\">bonjour</str><str id=\"VERSION\">&VERSION;</str></userstr></KYDesc>\r\n";
        path = folder.write("t.sgm", sgm);
        code = location.open(path.c_str(), nullptr, nullptr);
    }
    TempFolder folder;
    FolderCleaner cleaner{folder.path("").substr(0, folder.path("").size() - 1)};
    std::string path;
    ADataLocation location;
    long code = -1;
};

}  // namespace

TEST(ADataLocation, AnswersConfigurationLookups) {
    ADataLocation closed;
    EXPECT_EQ("", std::string(closed.getString("MSG_A").c_str())) << "nothing before open";
    Installation in;
    ASSERT_EQ(0, in.code) << in.location.getLastError().c_str();
    ADataLocation& dl = in.location;
    struct Row {
        const char* key;
        const char* value;
    } const rows[] = {{"MSG_A", "bonjour"}, {"msg_a", "bonjour"}, {"UNDECLARED", ""}, {"VERSION", "3.2"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.key);
        EXPECT_STREQ(r.value, dl.getString(r.key).c_str());
        EXPECT_STREQ(r.value, dl.getMessage(r.key).c_str());
    }
    std::string root = in.folder.path("");
    root.pop_back();
    EXPECT_EQ(root, dl.getPathValue("ROOT").c_str());
    EXPECT_EQ(std::string(1, root[0]), dl.getRootLetter().c_str());
    EXPECT_EQ(root, dl.getPathSpec("D").path().c_str());
    EXPECT_TRUE(dl.getPathSpec("NOPATH").empty());
    EXPECT_STREQ("", dl.getPathValue("NOPATH").c_str());
    dl.refreshPaths();
    EXPECT_STREQ("HELLO", dl.getFilter("F").apply("hello", -1).c_str());
    EXPECT_EQ("error 1313 G:1313\n", Outcome([&] { dl.getFilter("G"); }));
    EXPECT_EQ(in.folder.path("notes.dat"), dl.getFile("U").getSpec().path().c_str());
    EXPECT_EQ("error 1313 NONE:1313\n", Outcome([&] { dl.getFile("NONE"); }));
    EXPECT_EQ("error 1303 files:1303\n", Outcome([&] { closed.getFile("U"); })) << "nothing before open";
    EXPECT_STREQ("coeur", dl.expandLigatures("c\x9Cur").c_str());
    EXPECT_STREQ("AEtre OEuvre", dl.expandLigatures("\xC6tre \x8Cuvre").c_str());
    EXPECT_STREQ("caf\xE9", dl.expandLigatures("caf\xE9").c_str());
    AFile part = dl.getPartFile("B", "DB", 1);
    EXPECT_EQ(in.folder.path("dbi1.abp"), part.getSpec().path().c_str());
    EXPECT_EQ("error 1324 B:1324\n", Outcome([&] { dl.getPartFile("B", "DB", 2); }));
}

TEST(ADataLocation, OpenReportsTheEnginesFailure) {
    TempFolder folder;
    std::string absent = Encode(folder.path("absent"));
    struct Row {
        std::string text;  // empty: no file
        long code;
        bool withPath;
    } const rows[] = {
        {"", 105, true},
        {"<!-- KY MEDIA -->\n<KYDesc><pathinfo><path id=\"D\" type=\"dbg\">" + absent + "</path></pathinfo></KYDesc>",
         2013, false},
        {"<!-- KY MEDIA -->\n<KYDesc><common><base nbSupports=\"2\"></base></common></KYDesc>", 1301, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.code);
        std::string path = r.text.size() ? folder.write("bad.sgm", r.text) : folder.path("missing.sgm");
        ADataLocation dl;
        long code = dl.open(path.c_str());
        EXPECT_EQ(r.code, code);
        std::string error = dl.getLastError().c_str();
        EXPECT_EQ(r.withPath,
                  error.size() >= path.size() && error.compare(error.size() - path.size(), path.size(), path) == 0)
            << error;
        EXPECT_STREQ("", dl.getString("MSG_A").c_str());
    }
}

TEST(ASearchBase, ReadsTablesAcrossTheirParts) {
    Installation in;
    ASSERT_EQ(0, in.code) << in.location.getLastError().c_str();
    ADataLocation& dl = in.location;
    std::unique_ptr<ASearchBase> sb(dl.openBase("B:DB,C:E,B:DB", nullptr));
    ASSERT_NE(nullptr, sb);
    EXPECT_EQ(3, sb->count());
    AMountedBase* b = dl.ensureBase("B");
    EXPECT_EQ(2, b->userCount()) << "two tables of one base share its object";
    EXPECT_EQ(1, b->hasCatalog);
    EXPECT_EQ(1, sb->getTableFlag(0));
    EXPECT_EQ(0, sb->getTableFlag(1));
    struct Row {
        long n;
        short master;
        const char* text;
        short level;
    } const rows[] = {
        {0, 0, "zero", -1}, {2, 0, "deux", -1}, {3, 0, "trois", -1}, {4, 0, "quatre", 2}, {0, 1, "trois", 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.n);
        EXPECT_STREQ(r.text, sb->getText(0, r.n, r.master).c_str());
        long start = -1, end = -1;
        sb->getExtent(0, r.n, r.master, &start, &end);
        EXPECT_EQ(static_cast<long>(std::strlen(r.text)), end - start);
        if (r.level >= 0) {
            EXPECT_EQ(r.level, sb->getTableValue(0, r.n, r.master));
        }
    }
    EXPECT_EQ(2, sb->getRecordCount(0)) << "a catalogued table counts its \"mst\" entries";
    EXPECT_EQ(2, sb->getRecordCount(1));
    EXPECT_EQ(2, sb->getTableInfo(0, "deux"));
    EXPECT_EQ(3, sb->getTableInfo(0, "trois")) << "part 1's index mapped through \"inv\"";
    EXPECT_EQ((2L << 24) | 1, sb->makeDocRef(1, (2L << 24) | 1));
    EXPECT_EQ((1L << 24) | 1, sb->makeDocRef(1, 1));
    EXPECT_EQ(2, sb->getRecordKey(1, 0));
    EXPECT_EQ(in.folder.path("image.bmp"), sb->getFileSpec(1, 0).path().c_str());
    EXPECT_EQ("C:\\absolu\\son.wav", std::string(sb->getFileSpec(1, 1).path().c_str()));
    EXPECT_EQ(in.folder.path("e.fmt"), sb->getFileSpec(1).path().c_str());
    EXPECT_EQ(0, sb->anyTableMarked());
    EXPECT_FALSE(sb->isOnDisc());
    EXPECT_EQ("fatal File ucat;line 249", Outcome([&] { sb->getText(3, 0, 0); }));
    EXPECT_EQ("error 106 catalogue entry beyond its file", Outcome([&] { sb->getText(0, 5, 0); }));

    AFilteredFile data = sb->readToStream(1, 0, 0);
    EXPECT_EQ(9, data.user2());
    {
        AFileStream s(data, "rb", 0);
        char text[16] = {0};
        EXPECT_EQ(9, s.read(text, sizeof text));
        EXPECT_STREQ("image.bmp", text);
    }
    sb.reset();
    std::unique_ptr<ASearchBase> again(dl.openBase("C:E", "F"));
    ASSERT_NE(nullptr, again);
    EXPECT_EQ(0, dl.ensureBase("B")->userCount()) << "the base object went with its last table";
    EXPECT_EQ(nullptr, dl.openBase("B:NOTABLE", nullptr));
    EXPECT_EQ(nullptr, dl.openBase("NOBASE:E", nullptr));
    EXPECT_EQ("fatal File ucdnet;line 300", Outcome([&] { dl.openBase("B", nullptr); }));

    std::string many = "C:E";
    for (int i = 1; i < 71; ++i)
        many += ",C:E";
    std::unique_ptr<ASearchBase> full(dl.openBase(many.c_str(), nullptr));
    EXPECT_EQ(70, full->count()) << "a 71st pair is dropped";
    EXPECT_EQ(71, dl.ensureBase("C")->userCount());
}

// An article is read into memory where it fits; the bytes are those of the
// temporary file the other road writes, through the same filter.
TEST(ASearchBase, ReadsARecordIntoMemoryAsIntoItsFile) {
    Installation in;
    ASSERT_EQ(0, in.code) << in.location.getLastError().c_str();
    std::unique_ptr<ASearchBase> sb(in.location.openBase("B:DB,B:H,C:E", nullptr));
    ASSERT_NE(nullptr, sb);
    AFilter upper(AFileSpec(in.folder.path("f.rck").c_str()));
    ASSERT_NE(nullptr, upper.handle());
    for (bool filtered : {false, true}) {
        sb->setFilter(filtered ? upper : AFilter());
        for (short table = 0; table < 3; ++table) {
            for (long n = 0; n < sb->getRecordCount(table); ++n) {
                SCOPED_TRACE(std::to_string(table) + " " + std::to_string(n) + (filtered ? " filtered" : ""));
                AString text("unchanged");
                ASSERT_TRUE(sb->readRecord(table, n, 0, &text));
                AFilteredFile file = sb->readToStream(table, n, 0);
                AFileStream s(file, "rb", 0);
                char bytes[64] = {0};
                long got = s.read(bytes, sizeof bytes);
                EXPECT_EQ(std::string(bytes, static_cast<size_t>(got)),
                          std::string(text.c_str(), static_cast<size_t>(text.length())));
            }
        }
        EXPECT_STREQ(filtered ? "DEUX" : "deux", [&] {
            AString text;
            sb->readRecord(0, 2, 0, &text);
            return text;
        }().c_str());
    }
    AString text("unchanged");
    EXPECT_EQ("error 106 catalogue entry beyond its file", Outcome([&] { sb->readRecord(0, 5, 0, &text); }));
    EXPECT_STREQ("unchanged", text.c_str());
}

TEST(AKeyIndex, FindsKeysThroughTheSharedTree) {
    Installation in;
    ASSERT_EQ(0, in.code) << in.location.getLastError().c_str();
    ADataLocation& dl = in.location;
    AKeyIndex* first = dl.openIndex("L");
    AKeyIndex second(dl, "L");
    EXPECT_EQ(2, dl.acquireIndex("L")->refs) << "one entry, its tree opened once";
    struct Row {
        const char* key;
        long found;
        long exact;
        int16_t prefix;
    } const rows[] = {
        {"chat", 0, 0, 4}, {"Chien", 1, 1, 5}, {"chevre", 1, -1, 2}, {"", 0, 0, 0}, {"zebre", -1, -1, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.key);
        int16_t prefix = -1;
        EXPECT_EQ(r.found, first->find(r.key, &prefix));
        EXPECT_EQ(r.prefix, prefix);
        EXPECT_EQ(r.exact, second.findExact(r.key));
    }
    EXPECT_EQ(0, first->find(nullptr));
    EXPECT_EQ(3, first->getCount());
    EXPECT_STREQ("le chien", first->getText(1).c_str());
    long start = 0, end = 0;
    first->getExtent(2, &start, &end);
    EXPECT_EQ(9, end - start);
    DeleteDataAccessAndNull(first);
    EXPECT_EQ(nullptr, first);
    EXPECT_EQ(2, second.find("maison")) << "the second holder keeps the tree";
    EXPECT_EQ("error 1311 NOKEY:1311\n", Outcome([&] { AKeyIndex none(dl, "NOKEY"); }));
    std::string absent = Outcome([&] { AKeyIndex none(dl, "NOFILE"); });
    EXPECT_EQ(0u, absent.find("error 105 ")) << absent;

    ASearchIndex scan;
    EXPECT_EQ(0, scan.open(in.folder.path("la.abp").c_str(), 0, 0, 140000));
    std::string keys;
    char key[200];
    while (scan.next(key, sizeof key) == 0)
        keys += std::string(key) + " ";
    EXPECT_EQ("CHAT CHIEN MAISON ", keys);
    EXPECT_EQ(0, scan.close());
    EXPECT_EQ(105, scan.open(in.folder.path("nothing.abp").c_str(), 0, 0, 140000));
    EXPECT_FALSE(scan.isOpen());
}

namespace {

// Hears what a request tells its channel.
class RecordingChannel : public ASearchChannel {
public:
    RecordingChannel(const char* base, const char* name) : ASearchChannel(base, name) {}
    void notify(short item, long value) override {
        heard += std::to_string(item) + ":" + std::to_string(value) + " ";
        if (failAt == item)
            throw ASearchError("listener", 1, 77);
    }
    std::string heard;
    short failAt = -2;
};

std::string Hits(ASearchRequest& r) {
    std::string out;
    for (long k = 1; k <= r.getResultCount(0); ++k) {
        long doc = -1, at = k;
        r.getResultDoc(&doc, &at);
        out += (out.empty() ? "" : ",") + std::to_string(doc & 0xFFFFFF);
    }
    return out;
}

}  // namespace

TEST(ASearchRequest, CountsAndCachesTheHitsOfARun) {
    Installation in;
    ASSERT_EQ(0, in.code) << in.location.getLastError().c_str();
    ADataLocation& dl = in.location;
    // Base B's main table opened: its catalogue numbers the hits, and the hit of
    // document 4 ("inv" code 1) is no catalogue record.
    std::unique_ptr<ASearchBase> sb(dl.openBase("B:DB", nullptr));
    ASSERT_NE(nullptr, sb);
    std::unique_ptr<ASearchRequest> r(dl.createRequest("B", "F"));
    EXPECT_TRUE(r->isCatalogued());
    EXPECT_EQ(1, r->getItemCount());
    EXPECT_EQ(3, r->getItemBound());
    EXPECT_EQ(-1, r->getResultCount(0)) << "no run yet";
    r->clearField(0);
    r->setFieldText(1, "Texte");
    EXPECT_STREQ("Texte", r->getFieldLabel(1));
    struct Row {
        const char* question;
        long count;  // the request's, the cache's on this base
        long engineCount;
        const char* hits;
    } const rows[] = {{"alpha", 3, 4, "0,2,3"}, {"gamma", 1, 1, "3"}, {"absent", 0, 0, ""}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.question);
        r->setQuestion(1, row.question, 0);
        EXPECT_EQ(0, r->getCacheCount()) << "a new question drops the cache";
        ASSERT_EQ(0, r->execute(0)) << KY_EngineErrorText;
        EXPECT_EQ(row.count, r->getResultCount(0));
        EXPECT_EQ(row.count, r->getCacheCount());
        EXPECT_EQ(row.engineCount, r->getResultCount(1));
        EXPECT_EQ(row.hits, Hits(*r));
    }
    r->setQuestion(1, "alpha", 0);
    r->execute(0);
    struct Find {
        long x, index;
    } const finds[] = {{-5, 0}, {0, 0}, {1, 1}, {2, 1}, {3, 2}, {99, 3}};
    for (const Find& f : finds) {
        SCOPED_TRACE(f.x);
        EXPECT_EQ(f.index, r->findInCache(f.x));
    }
    long doc = -1, k = 0;
    EXPECT_EQ("fatal File ureq;line 173", Outcome([&] { r->getResultDoc(&doc, &k); }));
    k = 4;
    EXPECT_EQ("fatal File ureq;line 173", Outcome([&] { r->getResultDoc(&doc, &k); }));
    k = 9;
    r->getScoredDoc(&k, &doc);
    EXPECT_EQ(3, k);
    EXPECT_EQ(0, doc);
    EXPECT_EQ("fatal File ureq;line 70", Outcome([&] { r->setQuestion(2, "x", 0); }));

    // Requests of one base and name share the engine request until the last goes.
    AMountedBase* b = dl.ensureBase("B");
    EXPECT_EQ(2, b->userCount());
    {
        std::unique_ptr<ASearchRequest> twin(dl.createRequest("B", "F"));
        EXPECT_EQ(3, b->userCount());
    }
    EXPECT_EQ(1u, b->use()->requests.size());
    EXPECT_EQ("0,2,3", Hits(*r));
    EXPECT_EQ("error 1310 NOFORM:1310\n", Outcome([&] { dl.createRequest("B", "NOFORM"); }));
    EXPECT_EQ(2, b->userCount());
    r.reset();
    EXPECT_TRUE(b->use()->requests.empty()) << "the last request closed the engine's";
    std::unique_ptr<ASearchRequest> kept(dl.createRequest("B", "F"));
    dl.engineClosed = 1;
    kept.reset();
    EXPECT_EQ(1u, b->use()->requests.size()) << "a closed engine is left alone";
    dl.engineClosed = 0;
}

TEST(ASearchRequest, FillsListsAndTellsItsChannel) {
    Installation in;
    ASSERT_EQ(0, in.code) << in.location.getLastError().c_str();
    gDataLocation = &in.location;
    {
        RecordingChannel channel("C", "F");
        ASearchRequest& r = *channel.getRequest();
        EXPECT_FALSE(r.isCatalogued());
        EXPECT_EQ(2, r.getItemCount());
        r.setFieldText(1, "Titre");
        r.setQuestion(1, "delta", 0);
        r.setQuestion(2, "epsilon", 1);
        r.setFieldOption(1, 2, 1);
        EXPECT_EQ("0:-1 0:-1 ", channel.heard);
        ASSERT_EQ(0, r.execute(0)) << KY_EngineErrorText;
        EXPECT_EQ("0:-1 0:-1 1:-104 2:-104 ", channel.heard) << "each item evaluated is told with its status";
        EXPECT_EQ(2, r.getResultCount(0));
        long ref = 0, k = 2;
        r.getResultDoc(&ref, &k);
        EXPECT_EQ(0x01000001, ref);
        {
            Held<ALoScore> scored(new ALoScore(r, 1));
            EXPECT_EQ("0,1", Walk(*scored));
            EXPECT_STREQ("Titre", scored->getName().c_str());
            EXPECT_EQ(1, scored->scoreScale());
            EXPECT_NE(nullptr, scored->getStrings().seek("delta")) << "the question's words go with the list";
            Held<ALoFile> filed(new ALoFile(r));
            EXPECT_EQ("0,1", Walk(*filed));
            EXPECT_STREQ("Titre", filed->getName().c_str());
        }
        // A listener that fails while the engine runs fails the run when it ends.
        channel.failAt = 1;
        r.setQuestion(1, "delta", 0);
        channel.heard.clear();
        EXPECT_EQ(0u, Outcome([&] { r.execute(0); }).find("error 77 ")) << channel.heard;
        EXPECT_EQ("1:-104 ", channel.heard);
        channel.failAt = -2;
        EXPECT_EQ(2, r.getResultCount(0)) << "the engine finished its run";
        // A request of the same name that comes and goes leaves the channel hearing.
        delete new ASearchRequest("C", "F");
        r.setQuestion(1, "epsilon", 0);
        channel.heard.clear();
        r.execute(0);
        EXPECT_EQ("1:-104 ", channel.heard);
        r.setQuestion(1, "absent", 0);
        r.setQuestion(2, "", 1);
        r.execute(0);
        EXPECT_EQ(0, r.getResultCount(0));
        Held<ALoScore> empty(new ALoScore(r, 0));
        EXPECT_EQ("", Walk(*empty));
    }
    // Requests of two forms: opening one suspends the other, which still runs.
    {
        ASearchRequest f("C", "F"), g("C", "G");
        f.setQuestion(1, "delta", 0);
        g.setQuestion(1, "epsilon", 0);
        for (int round = 0; round < 2; ++round) {
            SCOPED_TRACE(round);
            ASSERT_EQ(0, f.execute(0)) << KY_EngineErrorText;
            ASSERT_EQ(0, g.execute(0)) << KY_EngineErrorText;
            EXPECT_EQ(0x01000001, f.getResultDoc(2));
            EXPECT_EQ(0x01000001, g.getResultDoc(1));
            EXPECT_EQ(2, f.getResultCount(0));
        }
    }
    // The application's form of a request: by base name, closed before deletion.
    std::unique_ptr<ASearchRequest> app(new ASearchRequest("C", "F"));
    app->setQuestion(1, "epsilon", 0);
    app->execute(0);
    EXPECT_EQ(0x01000001, app->getResultDoc(1));
    app->close();
    EXPECT_TRUE(in.location.ensureBase("C")->use()->requests.empty());
    EXPECT_EQ("fatal File ureq;line 70", Outcome([&] { app->getResultCount(0); }));
    app.reset();
    struct Count {
        short flag;
        long count;
        const char* text;
    } const counts[] = {{0, 7, "    7"}, {0, 0, "    0"}, {0, 123456, " 123456"}, {0, -1, ". . . ."}, {1, -1, ""}};
    ASearchChannel* channel = new ASearchChannel("C", "F");
    for (const Count& c : counts) {
        SCOPED_TRACE(c.count);
        EXPECT_STREQ(c.text, channel->formatCount(c.flag, c.count).c_str());
    }
    delete channel;
    EXPECT_EQ(0, in.location.ensureBase("C")->userCount());
    gDataLocation = nullptr;
}
