// The option panes of the result lists loaded from their own layouts over a
// small installation of the sample's builder (articles 0 to 2, figures 3 and
// 4 with thumbnails; category 1 the articles, 2 and 3 the figures): the
// display, sort and filter choices and the rules that tie them, the filter
// counts, the states they come back from, the online result files, and the
// look of a result list as list, summary and thumbnails.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>

#include "app/data/AppBaseTables.h"
#include "app/data/AppDataManager.h"
#include "app/frame/Frame1.h"
#include "app/lists/AListApp.h"
#include "app/lists/LROptionsDVDPane.h"
#include "app/lists/LROptionsNetPane.h"
#include "app/lists/StandardBitmapSupplier.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "base/object/InputRecords.h"
#include "docengine/model/ADocModel.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/render/ATileRenderer.h"
#include "docengine/styles/AStyleSheet.h"
#include "docengine/text/AReader.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/components/AKindSet.h"
#include "framework/display/ADisplayServices.h"
#include "framework/graphics/AImage.h"
#include "search/facade/ADataLocation.h"
#include "search/facade/ALoVect.h"
#include "tests/reader/AppMainTestSupport.h"
#include "tests/framework/clusters/ClusterTestSupport.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"

namespace {

// The installation is built once for the whole program.
TinyInstall& Install() {
    static TinyInstall* install = new TinyInstall;
    return *install;
}

// Sheet 3, two lists of the LINKS base (0: every document, 1: the articles),
// a highlight expression, and the installation as the temporary folder.
class TestApp : public AListApp {
public:
    TestApp() { sheet->addRef(); }
    ~TestApp() override { sheet->release(); }
    AStyleSheet* getStyleSheet(long n) override { return n == 3 ? sheet : nullptr; }
    AString getLinkRecord(long, long m) override { return AString(m == 0 ? "5:4:0,1,2,3,4" : "3:4:0,1,2"); }
    AString getHighlightQuery(int16_t* hasExpression) override {
        *hasExpression = 1;
        return AString("<EXPR>astres");
    }
    AFileSpec getTempDir() override { return AFileSpec(Install().dir().c_str()); }
    AStyleSheet* sheet = new AStyleSheet;
};

// The command argument of the button at place p of a range.
struct Press {
    explicit Press(int16_t p) : record(0, 0, 0, p, 0, -1, 0) {}
    long arg() { return ActionArgument(&record); }
    AActionRecord record;
};

class OptionPanesTest : public ClusterTest {
protected:
    void SetUp() override {
        ClusterTest::SetUp();
        ASSERT_EQ("", Install().error());
        ASSERT_EQ(0, location.open(Install().path("sv.sgm").c_str(), nullptr, Install().dir().c_str()))
            << location.getLastError().c_str();
        gBaseDescriptors = SingleDiscBaseTable();
        data = new AppDataManager(&location, nullptr);
        data->loadPrefFile();
        AListApp::install(&lists);
        makeApp(0, true);
        opener = dynamic_cast<Frame1*>(AComponent::loadLayout(app, "OptionPanes", 0));
        if (!opener)
            GTEST_SKIP() << "no display";
        dvd = dynamic_cast<LROptionsDVDPane*>(AComponent::loadLayout(opener->findById(210, 0), "LROptionsDVDPane", 0));
        net = dynamic_cast<LROptionsNetPane*>(AComponent::loadLayout(opener->findById(220, 0), "LROptionsNetPane", 0));
        ASSERT_TRUE(dvd && net);
        dvd->show(false);
        net->show(false);
        ADisplayServices::current().flushLayouts();
    }
    void TearDown() override {
        if (opener) {
            AComponent* c = opener;
            DeleteComponent(c);
        }
        AListApp::install(nullptr);
        ClusterTest::TearDown();
        delete data;
    }

    std::string countText(LRNbResPane* pane) {
        return static_cast<AStaticText*>(pane->findItem(LRNbResPane::kCountId, true))->getText().c_str();
    }
    void writeNet(const char* name, const std::string& bytes) {
        std::ofstream(Install().path(std::string(name) + ".net"), std::ios::binary) << bytes;
    }
    std::string shot(const char* name) {
        opener->showUpdate();
        app->flushUpdates();
        ADisplayServices::current().flushLayouts();
        UpdateWindow(opener->getHWnd());
        Canvas canvas(640, 420);
        HDC dc = GetDC(opener->getHWnd());
        BitBlt(canvas.dc(), 0, 0, 640, 420, dc, 0, 0, SRCCOPY);
        ReleaseDC(opener->getHWnd(), dc);
        return canvas.savePng(name);
    }

    ADataLocation location;
    AppDataManager* data = nullptr;
    TestApp lists;
    Frame1* opener = nullptr;
    LROptionsDVDPane* dvd = nullptr;
    LROptionsNetPane* net = nullptr;
};

std::string Choices(LROptionsDVDPane* p) {
    return "display " + std::to_string(p->display) + " sort " + std::to_string(p->sort) + " filter " +
           std::to_string(p->filter);
}

}  // namespace

TEST_F(OptionPanesTest, CaptionsDefaultsAndSavedStates) {
    dvd->updatePane();
    dvd->loadList("0:0");
    EXPECT_EQ("display 0 sort 1 filter 0", Choices(dvd));
    EXPECT_EQ(0, dvd->hasOptionChoice());
    EXPECT_EQ(1, dvd->commandStatus(LROptionsPane::kOptionsCommand, 0)) << "2530 shows";
    EXPECT_EQ(2, dvd->commandStatus(LROptionsPane::kChoiceOptionsCommand, 0)) << "2531 hides";
    EXPECT_STREQ(" Afficher par liste\n Classer par pertinence\n Filtrer par tous les articles",
                 dvd->optionLabel().c_str());
    dvd->display = 2;
    EXPECT_STREQ("Afficher par vignette", dvd->LROptionsAfficherDVDPane::optionLabel().c_str());
    dvd->display = 7;
    EXPECT_STREQ("Afficher par", dvd->LROptionsAfficherDVDPane::optionLabel().c_str());
    net->display = 1;
    EXPECT_STREQ(" Afficher par r\xE9sum\xE9", net->optionLabel().c_str());

    struct Row {
        const char* what;
        long keys[4];  // 1300/1305, 1301, 1302/1307, 1303; -1 absent
        const char* dvdChoices;
        int16_t open;
        int16_t netDisplay;
    } const rows[] = {
        {"no state", {-1, -1, -1, -1}, "display 0 sort 1 filter 0", 0, 0},
        {"a full state", {1, 3, 2, 0}, "display 2 sort 0 filter 3", 1, 2},
        {"absent keys read 0", {-1, 5, -1, -1}, "display 0 sort 0 filter 5", 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        ALeftState left;
        const long dvdKeys[4] = {1300, 1301, 1302, 1303}, netKeys[4] = {1305, -1, 1307, -1};
        for (int i = 0; i < 4; ++i)
            if (r.keys[i] >= 0) {
                left.fUserInfo.slot(dvdKeys[i]) = r.keys[i];
                if (netKeys[i] > 0)
                    left.fUserInfo.slot(netKeys[i]) = r.keys[i];
            }
        bool none = r.keys[0] == -1 && r.keys[1] == -1;
        dvd->optionsOpen = net->optionsOpen = 0;
        dvd->takeLeftState(none ? nullptr : &left);
        net->takeLeftState(none ? nullptr : &left);
        EXPECT_EQ(r.dvdChoices, Choices(dvd));
        EXPECT_EQ(r.open, dvd->optionsOpen);
        EXPECT_EQ(r.open, net->optionsOpen);
        EXPECT_EQ(r.netDisplay, net->display);
        EXPECT_EQ(r.keys[3] >= 0, left.fUserInfo.contains(1303)) << "reading records no key";
    }
}

TEST_F(OptionPanesTest, DisplayChoicesMoveFilterAndSort) {
    struct Step {
        const char* what;
        int16_t command;
        int16_t place;
        const char* choices;
        int16_t thumbnails;  // status of display button 2
        int16_t theme;       // status of sort button 2
    } const steps[] = {
        {"thumbnails show the media", 2500, 2, "display 2 sort 1 filter 2", 5, 2},
        {"filter 3 keeps the thumbnails", 2120, 3, "display 2 sort 1 filter 3", 5, 2},
        {"text documents go back to the list", 2120, 1, "display 0 sort 1 filter 1", 1, 1},
        {"theme order", 2510, 2, "display 0 sort 2 filter 1", 1, 5},
        {"thumbnails: theme falls back to relevance", 2500, 2, "display 2 sort 1 filter 2", 5, 2},
        {"the list takes all articles again", 2500, 0, "display 0 sort 1 filter 0", 1, 1},
        {"alphabetical order", 2510, 0, "display 0 sort 0 filter 0", 1, 1},
    };
    dvd->loadList("0:0");
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        Press press(s.place);
        dvd->doCommand(s.command, press.arg());
        EXPECT_EQ(s.choices, Choices(dvd));
        EXPECT_EQ(s.thumbnails, dvd->commandStatus(2500, Press(2).arg()));
        EXPECT_EQ(s.theme, dvd->commandStatus(2510, Press(2).arg()));
        EXPECT_EQ(dvd->display != 0 || dvd->filter != 0 || dvd->sort != 1, dvd->hasOptionChoice() != 0);
        ARenderer* renderer = dvd->getListView()->renderer();
        EXPECT_EQ(dvd->display == 2, dynamic_cast<ATileRenderer*>(renderer) != nullptr);
        long shown = dvd->filterCount(dvd->filter);
        EXPECT_EQ(std::to_string(shown) + " Document" + (shown > 1 ? "s" : ""), countText(dvd));
    }
    // Pressing the current choice rebuilds nothing.
    ALineGetter* getter = dvd->getLineGetter();
    dvd->doCommand(2510, Press(0).arg());
    dvd->doCommand(2500, Press(0).arg());
    dvd->doCommand(2120, Press(0).arg());
    EXPECT_EQ(getter, dvd->getLineGetter());
    // The room of screen 4 hides both options buttons.
    auto* state = new AppState(4, 0, nullptr, nullptr, nullptr, nullptr, -1);
    state->fSalle = 2;
    static_cast<Frame1*>(opener)->goToState(state, 0);
    EXPECT_EQ(2, dvd->commandStatus(LROptionsPane::kOptionsCommand, 0));
    EXPECT_EQ(2, dvd->commandStatus(LROptionsPane::kChoiceOptionsCommand, 0));
}

TEST_F(OptionPanesTest, FilterListsAreTheResultInEachCategory) {
    struct Row {
        const char* key;
        int16_t thumbnails;  // status of display button 2
    } const rows[] = {{"0:0", 1}, {"0:1", 2}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.key);
        dvd->takeLeftState(nullptr);
        dvd->loadList(r.key);
        std::set<long> result;
        ALo* lo = dvd->getLo();
        for (long i = 0; i < lo->getCount(); ++i)
            result.insert(lo->seek(i));
        for (int16_t k = 1; k <= 6; ++k) {
            ALoVect* category = data->getFilterList(k);
            long expected = 0;
            for (long i = 0; i < category->getCount(); ++i)
                expected += result.count(category->seek(i)) ? 1 : 0;
            EXPECT_EQ(expected, dvd->filterCount(k)) << "filter " << k;
            EXPECT_EQ(expected ? 1 : 2, dvd->commandStatus(2120, Press(k).arg())) << "filter " << k;
        }
        EXPECT_EQ(r.thumbnails, dvd->commandStatus(2500, Press(2).arg()));
        EXPECT_EQ(static_cast<long>(result.size()), dvd->filterCount(0));
    }
    // An empty filter brought back by a state: an empty list, no sorter.
    dvd->filter = 2;
    dvd->buildLineGetter();
    EXPECT_EQ(nullptr, dvd->getLineGetter());
    EXPECT_EQ(nullptr, dvd->getSorter());
    // Leaving a filter button shows the chosen filter's count again.
    dvd->takeLeftState(nullptr);
    dvd->loadList("0:0");
    dvd->showResultCount(99, 1);
    AKindSet hover;
    hover.add(3);
    dvd->linkChanged(dvd->findItem(2523, true), hover);
    EXPECT_EQ("5 Documents", countText(dvd));
    dvd->loadList("0:-1");
    EXPECT_EQ("Aucun document \xE0 afficher", countText(dvd));
    EXPECT_EQ(nullptr, dvd->getListView()->renderer()->model());
}

TEST_F(OptionPanesTest, OnlineResultFilesGroupTheirRows) {
    const std::string rows = "1\tUn\thttp://s/1\tR1\n2\tDeux\thttp://s/2\tR2\n1\tTrois\thttp://s/3\tR3\n";
    writeNet("one", "1:Arts:2\t2:Bio:0\n" + rows.substr(0, rows.find("\n2")) + "\n" + "1\tTrois\thttp://s/3\tR3\n");
    writeNet("two", "1:Arts:2\t2:Bio:1\n" + rows + "\nignored\tafter\tthe\tblank\n");
    writeNet("short", "1:Arts:2\t2\n" + rows);
    writeNet("huge", "a:Arts:2\n" + std::string(200000, 'x') + "\n");
    writeNet("crlf", "a:Arts:2\r\na\tUn\thttp://s/1\tR1\r\n");
    struct Row {
        const char* name;
        long count;
        int16_t single;
        long shown;  // positions of the tree
        const char* countText;
    } const cases[] = {
        {"one", 2, 1, 3, "2 Documents"},
        {"two", 3, 0, 2, "3 Documents"},
        {"short", 3, 0, 2, "3 Documents"},
        {"absent", 0, 0, 0, "Aucun document \xE0 afficher"},
        {"..\\one", 0, 0, 0, "Aucun document \xE0 afficher"},
        {"huge", 0, 1, 0, "Aucun document \xE0 afficher"},
        {"crlf", 1, 1, 2, "1 Document"},
    };
    for (const Row& r : cases) {
        SCOPED_TRACE(r.name);
        net->loadList(r.name);
        EXPECT_EQ(r.count, net->rowCount);
        EXPECT_EQ(r.single, net->singleCategory);
        ADocModel* model = net->getListView()->renderer()->model();
        ASSERT_NE(nullptr, model);
        EXPECT_EQ(r.shown, model->getPositionCount());
        EXPECT_EQ(r.countText, countText(net));
    }
    net->loadList("short");
    EXPECT_EQ(2, net->nonEmptyCategories) << "b has no third part";
    // Summary rows keep the selected row selected.
    net->loadList("one");
    app->flushUpdates();
    net->getListView()->renderer()->selectLines(2, 0);
    net->doCommand(2500, Press(1).arg());
    EXPECT_EQ(1, net->display);
    AString row;
    net->getLineGetter()->getLine(row, 1);
    EXPECT_STREQ("/BUn/A\nR1#http:\\/\\/s\\/1", row.c_str());
}

TEST_F(OptionPanesTest, AResultListShowsAsListSummaryAndThumbnails) {
    writeNet("shot",
             "1:Arts:2\t2:Biologie:1\n1\tPeinture\thttp://s/1\tLa couleur\n"
             "2\tCellules\thttp://s/2\tLe vivant\n1\tSculpture\thttp://s/3\tLa forme\n");
    net->loadList("shot");
    dvd->loadList("0:0");
    printf("list: %s\n", shot("option-panes-list").c_str());
    dvd->doCommand(2500, Press(1).arg());
    EXPECT_EQ(1, dvd->display);
    printf("summary: %s\n", shot("option-panes-summary").c_str());
    dvd->doCommand(2500, Press(2).arg());
    ASSERT_EQ(2, dvd->display);
    EXPECT_EQ(2, dvd->getLineGetter()->getLineCount()) << "the two figures";
    printf("thumbnails: %s\n", shot("option-panes-thumbnails").c_str());
    ABitmapSupplier* supplier = dvd->getListView()->renderer()->bitmapSupplier();
    ASSERT_NE(nullptr, supplier);
    ABitmapRef* picture = supplier->bitmapNamed(AString("3"));
    ASSERT_NE(nullptr, picture);
    ASSERT_NE(nullptr, picture->picture()) << "figure 3 has its thumbnail";
    EXPECT_EQ(APoint(64, 48), picture->picture()->frameSize());
    EXPECT_EQ(nullptr, supplier->bitmapNamed(AString("0"))->picture()) << "an article has none";
    // One supplier shared by the pane and two renderers lives until the last lets go.
    EXPECT_EQ(2, supplier->refCount()) << "the pane's and the tile renderer's";
    ARenderer* other = net->getListView()->renderer();
    other->setBitmapSupplier(supplier);
    EXPECT_EQ(3, supplier->refCount());
    dvd->doCommand(2500, Press(0).arg());
    EXPECT_EQ(2, supplier->refCount()) << "the tile renderer went with its display";
    other->setBitmapSupplier(nullptr);
    EXPECT_EQ(1, supplier->refCount()) << "the pane keeps it to the end";
}
