// The result rows of a small installation of the sample's builder (articles
// 0 to 2, figures 3 and 4): the three row forms and their sort keys, the
// rows of an online search, their grouping under categories and the tree
// that a laid-out model opens and closes.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "app/data/AppDataManager.h"
#include "app/lines/ALineSorter.h"
#include "app/lines/StandardLineGetter.h"
#include "app/results/AClusteredLineGetter.h"
#include "app/results/ASVClusters.h"
#include "app/results/ASVNetSearchLineGetter.h"
#include "app/results/ASVResultLineGetter.h"
#include "app/results/ATreeLineParser.h"
#include "base/procedural/AError.h"
#include "docengine/model/ALaidOutDocModel.h"
#include "docengine/model/ASegment.h"
#include "docengine/parser/AFragParserVariants.h"
#include "search/facade/ALoSimple.h"
#include "search/facade/ALoVect.h"
#include "tests/reader/AppMainTestSupport.h"

namespace {

class ResultRowsTest : public TheAppTest {
protected:
    void SetUp() override {
        TheAppTest::SetUp();
        ASSERT_TRUE(app->readConfiguration());
        ASSERT_TRUE(app->findDataRoot());
        ASSERT_TRUE(app->createDataManager());
        base = app->getDataManager()->getBase(13);
        ASSERT_NE(nullptr, base);
    }
    ASearchBase* base = nullptr;
};

std::string Rows(ALineGetter* getter) {
    std::string out;
    for (long i = 0; i < getter->getLineCount(); ++i) {
        AString line;
        getter->getLine(line, i);
        out += std::string(line.c_str()) + "|";
    }
    return out;
}

}  // namespace

TEST_F(ResultRowsTest, ResultListsGiveListSummaryAndTileRows) {
    ARefHold<ALo> lo(new ALoSimple("3:4:4,1,3"));
    ARefHold<ASVResultLineGetter> list(new ASVResultLineGetter(base, nullptr, lo.get(), 0, base, 2, base, 4, base, 3));
    ARefHold<ASVResultLineGetter> resume(new ASVResumeLineGetter(base, nullptr, lo.get(), 0, base, 2, base, 4));
    ARefHold<ASVResultLineGetter> tiles(new ASVTileLineGetter(base, nullptr, lo.get(), 0, base, 2, base, 4));
    struct Row {
        const char* what;
        ASVResultLineGetter* getter;
        const char* rows;
    } const rows[] = {
        {"list", list.get(), "Figure 1#4|Botanique#1|Figure 0#3|"},
        {"summary", resume.get(),
         "/BFigure 1/A\n/EM\xE9"
         "dia/A#4|/BBotanique/A\n/EArticle/A#1|/BFigure 0/A\n/EM\xE9"
         "dia/A#3|"},
        {"tiles", tiles.get(), "{B-1#4}\n{dFigure 1#4}|{B-1#1}\n{dBotanique#1}|{B-1#3}\n{dFigure 0#3}|"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(r.rows, Rows(r.getter));
        EXPECT_EQ(1, r.getter->docOfLine(1));
        EXPECT_EQ(-1, r.getter->docOfLine(3));
    }
    EXPECT_STREQ("a\\/b\\#c\\{d\\} e\\<f\\>", EscapeMarkup("a/b#c{d}\te<f>").c_str());
    EXPECT_NE(-1, FatalExitCodeOf([&] { ASVResultLineGetter none(nullptr, nullptr, lo.get(), 0, base, 2, base, 4); }));
}

TEST_F(ResultRowsTest, SortKeysAreTitleRanksAndRelevance) {
    ARefHold<ALo> plain(new ALoSimple("3:4:4,1,3"));
    ARefHold<ALoScore> scored(new ALoScore(4, 3, 1));
    scored->add(1, 10, 0);
    scored->add(3, 30, 0);
    scored->add(4, 20, 0);
    struct Row {
        const char* what;
        ALo* lo;
        int16_t fromSearch;
        const char* directions;
        int16_t field;
        const char* rows;
    } const rows[] = {
        {"alphabetical", plain.get(), 0, "NORM,NORM", 0, "Botanique#1|Figure 0#3|Figure 1#4|"},
        {"list order", plain.get(), 0, "NORM,NORM", 1, "Figure 1#4|Botanique#1|Figure 0#3|"},
        {"best score first", scored.get(), 1, "NORM,INV", 1, "Figure 0#3|Figure 1#4|Botanique#1|"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        ARefHold<ASVResultLineGetter> getter(
            new ASVResultLineGetter(base, nullptr, r.lo, r.fromSearch, base, 2, base, 4));
        auto* sorter = new AMemLongLineSorter(getter.get(), r.directions, r.field, nullptr);
        getter->setLineMap(sorter);
        EXPECT_EQ(r.rows, Rows(getter.get()));
    }
}

TEST_F(ResultRowsTest, RowsGroupUnderTheirCategoriesAndCloseToTheirHeaders) {
    const char* text =
        "2\tBeta\thttp://b/1\tUn\n9\tZeta\thttp://z/1\t\n1\tAlpha\thttp://a/1\tDeux\n"
        "2\t\thttp://b/2#x\tTrois\n";
    ARefHold<ALineGetter> raw(new BufferedLineGetter(text, -1));
    ARefHold<ASVClusterNetGetter> info(new ASVClusterNetGetter(raw.get()));
    ARefHold<ASVLineClusterer> clusterer(new ASVLineClusterer("1\tPremier\t1\n2\tSecond\t2\n3\tVide\t0\n"));
    struct Row {
        int16_t summary;
        int16_t flag;
        const char* rows;
    } const rows[] = {
        {0, 1,
         "Premier (1)>1|Alpha#http:\\/\\/a\\/1|Second (2)>2|Beta#http:\\/\\/b\\/1|"
         "http:\\/\\/b\\/2\\#x#http:\\/\\/b\\/2\\#x|Autres (1)>9|Zeta#http:\\/\\/z\\/1|"},
        {1, 0,
         "Premier>1|/BAlpha/A\nDeux#http:\\/\\/a\\/1|Second>2|/BBeta/A\nUn#http:\\/\\/b\\/1|"
         "/Bhttp:\\/\\/b\\/2\\#x/A\nTrois#http:\\/\\/b\\/2\\#x|Autres>9|/BZeta/A\n#http:\\/\\/z\\/1|"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rows);
        ARefHold<ASVNetSearchLineGetter> net(new ASVNetSearchLineGetter(text, r.summary));
        ARefHold<ASVClusteredLineGetter> grouped(new ASVClusteredLineGetter(net.get(), clusterer.get(), info.get()));
        grouped->setFlag(r.flag);
        EXPECT_EQ(r.rows, Rows(grouped.get()));
        EXPECT_EQ(3, grouped->groupCount());
        EXPECT_EQ(0, grouped->getLineLevel(2));
        EXPECT_EQ(1, grouped->getLineLevel(4));
        EXPECT_EQ(3, grouped->memberLine(4));
        EXPECT_EQ(-1, grouped->getLineLevel(7));
    }

    ARefHold<ASVNetSearchLineGetter> net(new ASVNetSearchLineGetter(text, 0));
    ARefHold<ASVClusteredLineGetter> grouped(new ASVClusteredLineGetter(net.get(), clusterer.get(), info.get()));
    auto* parser = new ATreeLineParser(grouped.get());
    auto* fragments = new ALayoutFragParser('/');
    ARefHold<ALaidOutDocModel> model(new ALaidOutDocModel(parser, fragments, nullptr));
    EXPECT_EQ(7, model->getPositionCount());
    model->collapseAll(0);
    EXPECT_EQ(3, model->getPositionCount()) << "the three headers";
    EXPECT_EQ(2, model->positionToSource(1)) << "the second header";
    struct Segment {
        long position, start, end;
        const char* text;
    } const segments[] = {{0, 0, 2, "Premier>1"}, {1, 0, 2, "Premier>1"}, {3, 2, 5, "Second>2"}, {5, 5, 7, "Autres>9"}};
    for (const Segment& g : segments) {
        SCOPED_TRACE(g.position);
        std::unique_ptr<ASegment> segment(parser->makeSegment(model.get(), g.position, false));
        ASSERT_NE(nullptr, segment);
        EXPECT_EQ(g.start, segment->getStart());
        EXPECT_EQ(g.end, segment->getEnd()) << "over the hidden rows";
        EXPECT_STREQ(g.text, segment->text().c_str());
    }
    model->expandAll(0);
    EXPECT_EQ(7, model->getPositionCount());
}

namespace {

// Group lists by record id; "" for the others.
class FakeGroups : public AClusterIDProvider {
public:
    AString getRecordText(long id) override {
        auto found = texts.find(id);
        return found == texts.end() ? AString() : AString(found->second.c_str());
    }
    std::map<long, std::string> texts;
};

// "group:row|" for every key, in key order.
std::string Keys(AClusterInfoGetter* info) {
    std::string out;
    for (long i = 0; i < info->getCount(); ++i)
        out += std::to_string(info->getClusterId(i)) + ":" + std::to_string(info->getLineIndex(i)) + "|";
    return out;
}

// Documents 0, 1, 2 ... up to last, then the end.
class CountingLo : public ALoSimple {
public:
    explicit CountingLo(long last) : ALoSimple(1L), last_(last) {}
    long first() override { return at_ = 0; }
    long next() override { return at_ < last_ ? ++at_ : -1; }

private:
    long last_;
    long at_ = 0;
};

}  // namespace

TEST_F(ResultRowsTest, TheUpperThemesNameTheGroups) {
    struct Row {
        const char* tree;
        const char* definition;
    } const rows[] = {
        {"Arts\r\n\tPeinture#0:1\r\n\t\tHuile#0:2\r\nSciences#0:3\r\n", "0\tArts\n1\tPeinture\n2\tSciences\n"},
        {"Arts#0:1\n\n\t\n\tMusique", "0\tArts\n1\tMusique\n"},
        {"", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.tree);
        EXPECT_EQ(row.definition, std::string(ThemeGroupDefinition(row.tree).c_str()));
    }
    std::string many;
    for (int i = 0; i < 300; ++i)
        many += "T" + std::to_string(i) + "\r\n";
    ARefHold<ASVLineClusterer> clusterer(new ASVLineClusterer(ThemeGroupDefinition(many.c_str()).c_str()));
    EXPECT_EQ(256, clusterer->clusterCount()) << "groups are 8 bits";
    EXPECT_EQ("/\"1/@X/T255", std::string(clusterer->getClusterLabel(255).c_str()));
}

TEST_F(ResultRowsTest, ClusterKeysHoldEachMembershipOnceInGroupOrder) {
    struct Row {
        const char* what;
        const char* list;  // the documents, one row each
        std::map<long, std::string> groups;
        const char* keys;
    } const rows[] = {
        {"a repeated group counts once", "1:9:7", {{7, "3,3"}}, "3:0|"},
        {"an empty group list adds nothing", "2:9:7,8", {{7, ""}, {8, "1"}}, "1:1|"},
        {"high groups stay positive and last", "3:9:7,8,9", {{7, "200"}, {8, "5,1"}, {9, "5"}}, "1:1|5:1|5:2|200:0|"},
        {"groups beyond 8 bits are skipped", "1:9:7", {{7, "300,2,-1"}}, "2:0|"},
        {"empty fields read as group 0", "1:9:7", {{7, "4,"}}, "0:0|4:0|"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        ARefHold<FakeGroups> groups(new FakeGroups);
        groups->texts = r.groups;
        ARefHold<ALo> lo(new ALoSimple(r.list));
        ARefHold<ASVClusterInfoGetter> info(new ASVClusterInfoGetter(lo.get(), groups.get()));
        EXPECT_EQ(r.keys, Keys(info.get()));
    }

    // Rows of a getter are its display lines, through its sort.
    ARefHold<FakeGroups> groups(new FakeGroups);
    groups->texts = {{4, "7"}, {1, "7,2"}};
    ARefHold<ALo> lo(new ALoSimple("3:4:4,1,3"));
    ARefHold<ASVResultLineGetter> getter(new ASVResultLineGetter(base, nullptr, lo.get(), 0, base, 2, base, 4));
    getter->setLineMap(new AMemLongLineSorter(getter.get(), "NORM,NORM", 0, nullptr));
    ARefHold<ASVClusterInfoGetter> info(new ASVClusterInfoGetter(getter.get(), groups.get()));
    EXPECT_EQ("2:0|7:0|7:2|", Keys(info.get())) << Rows(getter.get());
    EXPECT_NE(-1, FatalExitCodeOf([&] { info->getClusterId(3); }));
}

TEST_F(ResultRowsTest, ClusterRowsBeyondTheKeysRangeAreRefused) {
    const long limit = ASVClusterInfoGetter::kMaxRows;
    ARefHold<FakeGroups> groups(new FakeGroups);
    groups->texts = {{limit - 1, "1"}};
    ARefHold<ALo> fits(new CountingLo(limit - 1));
    ARefHold<ASVClusterInfoGetter> info(new ASVClusterInfoGetter(fits.get(), groups.get()));
    EXPECT_EQ("1:" + std::to_string(limit - 1) + "|", Keys(info.get()));

    groups->texts = {{limit, "1"}};
    ARefHold<ALo> beyond(new CountingLo(limit));
    bool refused = false;
    try {
        ARefHold<ASVClusterInfoGetter> none(new ASVClusterInfoGetter(beyond.get(), groups.get()));
    } catch (const ALocalError&) {
        refused = true;
    }
    EXPECT_TRUE(refused) << "not folded into group 2";
    EXPECT_EQ(2, groups->refCount()) << "the refused getter gave its reference back";
}

TEST_F(ResultRowsTest, OnlineRowsAndHeadingsOfGroups) {
    ARefHold<ALineGetter> raw(new BufferedLineGetter("2\tA\nx\tB\n200\tC\n", -1));
    ARefHold<ASVClusterNetGetter> net(new ASVClusterNetGetter(raw.get()));
    EXPECT_EQ("2:0|0:1|200:2|", Keys(net.get()));
    ARefHold<ASVLineClusterer> clusterer(new ASVLineClusterer("2\tArts\t4\n"));
    EXPECT_STREQ("/\"1/@X/Arts", clusterer->getClusterLabel(2).c_str());
    EXPECT_NE(-1, FatalExitCodeOf([&] { clusterer->getClusterLabel(3); }));

    // A row of no group is still listed, last; a group without a label reads "Autres".
    ARefHold<FakeGroups> groups(new FakeGroups);
    groups->texts = {{7, "3"}, {9, "2,3"}};
    ARefHold<ALo> lo(new ALoSimple("3:9:7,8,9"));
    ARefHold<ASVClusterInfoGetter> info(new ASVClusterInfoGetter(lo.get(), groups.get()));
    ARefHold<ALineGetter> rows(new BufferedLineGetter("A\nB\nC\n", -1));
    ARefHold<ASVClusteredLineGetter> grouped(new ASVClusteredLineGetter(rows.get(), clusterer.get(), info.get()));
    EXPECT_EQ("Arts>2|C|Autres>3|A|C|Sans cat\xE9gorie>|B|", Rows(grouped.get()));
}
