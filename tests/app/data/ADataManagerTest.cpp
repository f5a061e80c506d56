// The data manager over a generated installation: base A in a plain folder and
// base V on a mountable volume (the disc), each with a words index and the
// request form "SEARCH".
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/data/ADataManager.h"
#include "base/object/ARefObj.h"
#include "search/engine/lists/Lo.h"
#include "search/engine/descriptor/MkDoom.h"
#include "search/facade/ADataLocation.h"
#include "search/facade/ASearchBase.h"
#include "tests/base/procedural/TextTestSupport.h"
#include "tests/search/facade/FacadeTestSupport.h"
#include "tests/search/facade/InstallationWriter.h"

namespace {

std::string Form() {
    return "<mapping><form id=\"SEARCH\" nbReq=\"1\"><req num=\"0\" direct=\"M\"><sep> </sep></req></form></mapping>";
}

struct Installation {
    Installation() {
        std::string root = folder.path("");
        root.pop_back();
        Table(folder, "a", {"un", "deux", "trois"});
        WordTree(folder.path("am.abp"), {{"chat", {0, 2}}, {"chien", {1}}});
        Table(folder, "v", {"x", "y"});
        WordTree(folder.path("vm.abp"), {{"zeta", {0}}});
        folder.write("t.gen", "VERSION=1\r\n");
        std::string sgm = "<!-- KY MEDIA -->\r\n<KYDesc><pathinfo><path id=\"D\" type=\"dbg\">" + Encode(root) +
                          "</path><path id=\"S\" type=\"sgn\" mountable=\"Y\">:NOSUCHSIG</path></pathinfo>"
                          "<common><base id=\"A\"><data path=\"D\"><db id=\"DA\">a</db></data><index path=\"D\">"
                          "<idx id=\"M\" prox=\"PROXW\" nbdoc=\"10\">am</idx></index>" +
                          Form() +
                          "</base><base id=\"V\"><data path=\"S\"><db id=\"DV\">v</db></data><index path=\"S\">"
                          "<idx id=\"M\" prox=\"PROXW\" nbdoc=\"10\">vm</idx></index>" +
                          Form() + "</base></common></KYDesc>\r\n";
        code = location.open(folder.write("t.sgm", sgm).c_str(), root.c_str(), nullptr);
        gBaseDescriptors = table;
    }
    ~Installation() { gBaseDescriptors = nullptr; }

    const BaseDescriptor table[4] = {
        {"", "A:DA", nullptr, 0}, {"A", "A:DA", nullptr, 0}, {"V", "V:DV", nullptr, 1}, {nullptr, nullptr, nullptr, 0}};
    TempFolder folder;
    FolderCleaner cleaner{folder.path("").substr(0, folder.path("").size() - 1)};
    ADataLocation location;
    long code = -1;
};

// Records the requests handed over before their channel closes.
class RecordingManager : public ADataManager {
public:
    explicit RecordingManager(ADataLocation* dl) : ADataManager(dl) {}
    std::vector<ASearchRequest*> closing;

protected:
    void closingChannel(ASearchRequest* request) override { closing.push_back(request); }
};

class Counted : public ARefObj {
public:
    explicit Counted(int* alive) : alive_(alive) { ++*alive_; }
    ~Counted() override { --*alive_; }

private:
    int* alive_;
};

}  // namespace

TEST(ADataManager, OpensEachBaseOnceAndChecksItsIndexes) {
    Installation in;
    ASSERT_EQ(0, in.code) << in.location.getLastError().c_str();
    {
        ADataManager dm(&in.location);
        EXPECT_EQ(&dm, gDataManager);
        EXPECT_EQ(3, dm.getBaseCount());
        ASearchBase* a = dm.getBase(1);
        ASSERT_NE(nullptr, a);
        EXPECT_EQ(a, dm.getBase(1)) << "opened once";
        EXPECT_EQ(1, in.location.ensureBase("A")->userCount()) << "one table held";
        EXPECT_STREQ("V", dm.getBaseName(2).c_str());
        EXPECT_STREQ("", dm.getBaseName(0).c_str());
        EXPECT_EQ(dm.getSearchChannel(2), dm.getSearchChannel(2));
        EXPECT_EQ(nullptr, dm.getSearchChannel(2)->getRequest()) << "closed until selected";
        ADataLocation other;
        struct Row {
            const char* what;
            std::function<void()> call;
            const char* outcome;
        } const rows[] = {
            {"getBase past the table", [&] { dm.getBase(3); }, "fatal File udatamgr;line 80"},
            {"getBase below 0", [&] { dm.getBase(-1); }, "fatal File udatamgr;line 80"},
            {"getBaseName past the table", [&] { dm.getBaseName(3); }, "fatal File udatamgr;line 92"},
            {"channel past the table", [&] { dm.getSearchChannel(3); }, "fatal File udatamgr;line 97"},
            {"select past the table", [&] { dm.selectSearchChannel(5, 0, 0); }, "fatal File udatamgr;line 110"},
            {"a second location", [&] { dm.setDataLocation(&other); }, "fatal File udatamgr;line 60"},
            {"the same location", [&] { dm.setDataLocation(&in.location); }, "ok"},
            {"question without request", [&] { dm.getSearchChannel(1)->setQuestion(1, "chat"); },
             "fatal File udatamgr;line 65"},
            {"run without request", [&] { dm.getSearchChannel(1)->execute(); }, "fatal File udatamgr;line 71"},
        };
        for (const Row& r : rows) {
            SCOPED_TRACE(r.what);
            EXPECT_EQ(r.outcome, Outcome(r.call));
        }
        EXPECT_EQ(&in.location, dm.getDataLocation()) << "the first location stays";
    }
    EXPECT_EQ(nullptr, gDataManager);
    EXPECT_EQ(0, in.location.ensureBase("A")->userCount()) << "the manager's bases went with it";

    const BaseDescriptor empty[1] = {{nullptr, nullptr, nullptr, 0}};
    for (const BaseDescriptor* table : {static_cast<const BaseDescriptor*>(nullptr), empty}) {
        gBaseDescriptors = table;
        ADataManager none(&in.location);
        EXPECT_EQ(0, none.getBaseCount());
        EXPECT_EQ("fatal File udatamgr;line 80", Outcome([&] { none.getBase(0); }));
        EXPECT_EQ("ok", Outcome([&] { none.selectSearchChannel(-1, 0, 0); }));
    }
}

TEST(ADataManager, SelectsOneChannelAndRunsQueriesOnIt) {
    Installation in;
    ASSERT_EQ(0, in.code) << in.location.getLastError().c_str();
    RecordingManager dm(&in.location);
    struct Options {
        short option1, option2;
        int score, firstPos;
    } const options[] = {{0, 1, 1, 1}, {1, 0, 1, 0}, {0, 0, 0, 0}, {3, 1, 1, 1}};
    for (const Options& o : options) {
        SCOPED_TRACE(std::to_string(o.option1) + "," + std::to_string(o.option2));
        ASSERT_EQ("ok", Outcome([&] { dm.selectSearchChannel(1, o.option1, o.option2); }));
        EXPECT_EQ(o.score, LoScoreMode);
        EXPECT_EQ(o.firstPos, LoFirstPosMode);
    }
    ASearchChannel* channel = dm.getSearchChannel(1);
    EXPECT_EQ(1, dm.getCurrentChannel());
    ASearchRequest* request = channel->getRequest();
    ASSERT_NE(nullptr, request);
    EXPECT_EQ(channel, request->getListener());
    dm.selectSearchChannel(1, 0, 0);
    EXPECT_EQ(request, channel->getRequest()) << "the current channel is neither closed nor reopened";
    EXPECT_TRUE(dm.closing.empty());

    struct Query {
        const char* text;
        long count;
        int16_t hasHits;
    } const queries[] = {{"chat", 2, 1}, {"absent", 0, 0}, {"chien", 1, 1}};
    for (const Query& q : queries) {
        SCOPED_TRACE(q.text);
        channel->setQuestion(1, q.text);
        EXPECT_EQ(q.count, channel->execute(nullptr, reinterpret_cast<void*>(1)));
        EXPECT_EQ(q.hasHits, channel->hasHits());
        EXPECT_EQ(0, channel->getResult());
        EXPECT_EQ(q.count, request->getResultCount(0));
    }

    dm.selectSearchChannel(2, 0, 0);
    ASSERT_EQ(1u, dm.closing.size());
    EXPECT_EQ(request, dm.closing[0]) << "the closing request is handed over first";
    EXPECT_EQ(nullptr, channel->getRequest());
    EXPECT_EQ(0, channel->hasHits());
    ASearchChannel* disc = dm.getSearchChannel(2);
    ASSERT_NE(nullptr, disc->getRequest());
    disc->setQuestion(1, "zeta");
    EXPECT_EQ(1, disc->execute());
    dm.selectSearchChannel(-1, 0, 0);
    EXPECT_EQ(-1, dm.getCurrentChannel());
    EXPECT_EQ(nullptr, disc->getRequest());
    EXPECT_EQ(2u, dm.closing.size());
    dm.selectSearchChannel(-1, 0, 0);
    EXPECT_EQ(2u, dm.closing.size()) << "nothing current, nothing closed";
}

TEST(ADataManager, ReleasesDiscBasesAndKeepsTheOthers) {
    Installation in;
    ASSERT_EQ(0, in.code) << in.location.getLastError().c_str();
    const KyMountedBase* disc = in.location.ensureBase("V")->handle();
    const KyMountedBase* plain = in.location.ensureBase("A")->handle();
    ADataManager dm(&in.location);
    ASearchBase* a = dm.getBase(1);
    ASSERT_NE(nullptr, a);
    ASSERT_NE(nullptr, dm.getBase(2));
    EXPECT_TRUE(dm.getBase(2)->isOnDisc());
    EXPECT_FALSE(a->isOnDisc());
    dm.selectSearchChannel(1, 0, 0);
    ASearchRequest* request = dm.getSearchChannel(1)->getRequest();
    dm.getSearchChannel(2);
    dm.releaseDiscBases();
    EXPECT_EQ(1, disc->released) << "the engine let the disc base go";
    EXPECT_EQ(0, plain->released);
    EXPECT_EQ(a, dm.getBase(1)) << "the plain base stays open";
    EXPECT_EQ(1, dm.getCurrentChannel());
    EXPECT_EQ(request, dm.getSearchChannel(1)->getRequest()) << "and its channel keeps its request";
    EXPECT_EQ(2, in.location.ensureBase("A")->userCount());
    EXPECT_EQ(0, in.location.ensureBase("V")->userCount()) << "the disc base's tables went";

    // The current channel's base released: none stays current, and selecting
    // it again opens a new request.
    dm.releaseBase(1);
    EXPECT_EQ(-1, dm.getCurrentChannel());
    dm.selectSearchChannel(1, 0, 0);
    ASSERT_NE(nullptr, dm.getSearchChannel(1)->getRequest());
    dm.getSearchChannel(1)->setQuestion(1, "chat");
    EXPECT_EQ(2, dm.getSearchChannel(1)->execute());
    dm.releaseAll();
    EXPECT_EQ(-1, dm.getCurrentChannel());
    EXPECT_EQ(0, in.location.ensureBase("A")->userCount());
}

TEST(ADataManager, RemovesOnlyTheTemporaryFolderItMade) {
    Installation in;
    ASSERT_EQ(0, in.code) << in.location.getLastError().c_str();
    AFileSpec parent(in.folder.path("tmp").c_str(), true);
    ASSERT_TRUE(parent.isDirectory());
    AFileSpec kept(parent, "kept");
    ASSERT_EQ(0, kept.createDirectory());
    struct Row {
        const char* name;
        bool made;       // a folder is answered
        bool remaining;  // it stays after the manager
    } const rows[] = {{"work", true, false}, {"kept", true, true}, {"..", false, true}, {"a\\b", false, true},
                      {"", false, true},     {"c:x", false, true}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        AFileSpec made;
        int alive = 0;
        {
            ADataManager dm(&in.location);
            dm.setSharedObject(0, new Counted(&alive));
            dm.setSharedObject(1, new Counted(&alive));
            made = dm.makeTempFolder(parent, r.name);
            EXPECT_EQ(r.made, !made.empty());
            if (r.made) {
                EXPECT_EQ(parent, made.parent(false));
                in.folder.write(std::string("tmp\\") + r.name + "\\ft1", "x");
            }
            dm.setSharedObject(1, nullptr);
            EXPECT_EQ(1, alive);
        }
        EXPECT_EQ(0, alive) << "the shared objects are released";
        EXPECT_EQ(r.remaining || !r.made, made.empty() || made.exists());
    }
    EXPECT_TRUE(kept.exists()) << "a folder that was there before is never removed";
    EXPECT_TRUE(parent.exists());
    kept.removeTree(true);
    parent.removeTree(true);
}
