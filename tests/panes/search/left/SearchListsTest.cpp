// The search result pane and its lists: the refinement rows and their keys,
// the disc list's count line, automatic opening, history and padlock, a
// media row, the online list's addresses and the switch to it.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>

#include "app/lines/ASVIndexLineGetter.h"
#include "app/lines/StandardLineGetter.h"
#include "app/state/ASVLoSearchState.h"
#include "app/state/AppState.h"
#include "docengine/render/ARenderer.h"
#include "docengine/render/ARendererViews.h"
#include "framework/clusters/AStaticItem.h"
#include "panes/search/left/DockLeftRechSIPane.h"
#include "panes/search/left/LR_DVD.h"
#include "panes/search/left/LR_NET.h"
#include "panes/search/left/ListSelection.h"
#include "panes/search/left/RechIndexPrec.h"
#include "search/facade/ALoSimple.h"
#include "search/facade/ALoVect.h"
#include "tests/reader/AppMainTestSupport.h"
#include "tests/panes/search/left/LeftDockTestSupport.h"

namespace {

// A scored list of the documents; the caller holds one reference.
ALoScore* Results(const char* text) {
    auto* simple = new ALoSimple(text);
    simple->addRef();
    auto* scored = new ALoScore(*simple, 1);
    scored->addRef();
    simple->release();
    return scored;
}

std::string Count(LR_DVD* disc) {
    auto* text = dynamic_cast<AStaticText*>(disc->findItem(2532, false));
    return text ? text->getText().c_str() : "(none)";
}

// The rows' keys as the view shows them ("" without rows).
std::string Keys(ListPane* list) {
    std::string keys;
    ARenderer* renderer = list->getListView()->renderer();
    long n = renderer && renderer->model() && list->getLineGetter() ? list->getLineGetter()->getLineCount() : 0;
    for (long i = 0; i < n; ++i)
        keys += std::string(list->getLineKey(i).c_str()) + ";";
    return keys;
}

// The same in ascending order: rows of equal relevance come in the sort's order.
std::string SortedKeys(ListPane* list) {
    std::string keys = Keys(list);
    std::set<long> docs;
    for (size_t at = 0; at < keys.size();) {
        size_t end = keys.find(';', at);
        docs.insert(std::stol(keys.substr(at, end - at)));
        at = end + 1;
    }
    std::string sorted;
    for (long d : docs)
        sorted += std::to_string(d) + ";";
    return sorted;
}

}  // namespace

TEST(IndexLineGetterTest, RowsCarryTheirResultKeyAndLabel) {
    struct Row {
        const char* raw;
        const char* key;
        const char* label;
    } const rows[] = {
        {"Tous les r\xE9sultats\t12\t-2\t-2\t-1\t0", "-2:-2:-1:0", "Tous les r\xE9sultats"},
        {"calque\t3\t0\t17\t0\t2", "0:17:0:2", "calque"},
        {"a#b:c\t1\t0\t5\t0\t0", "0:5:0:0", "a\\#b\\:c"},
        {"\"R\xE9sultat\"\t0\t-1\t-1", "-1:-1::", "\"R\xE9sultat\""},
        {"", ":::", ""},
    };
    ASVIndexLineGetterCallBack callBack;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.raw);
        EXPECT_STREQ(r.key, ASVIndexLineGetterCallBack::keyOf(AString(r.raw)).c_str());
        callBack.flag = 0;
        EXPECT_EQ(std::string(r.label) + "#" + r.key, callBack.formatLine(0, AString(r.raw), 0).c_str());
        callBack.flag = 1;
        std::string row = callBack.formatLine(0, AString(r.raw), 0).c_str();
        EXPECT_EQ(0u, row.find("/&TABLE:100%:N0:[[100,0,0,0,0:0|//"));
        EXPECT_EQ(std::string("]]&/#") + r.key, row.substr(row.rfind("]]&/#")));
    }
    EXPECT_STREQ("Tous les r\xE9sultats\t3\t-2\t-2\t-1\t0", RechIndexPrec::headLine(3).c_str());
    EXPECT_STREQ("R\xE9sultat\t1\t-2\t-2\t-1\t0", RechIndexPrec::headLine(1).c_str());
    EXPECT_STREQ("3 mots cl\xE9s Savantorium", RechIndexPrec::keywordTitle(3).c_str());
    EXPECT_STREQ(" mot cl\xE9 Savantorium", RechIndexPrec::keywordTitle(1).c_str());
    // Without keywords the head line alone; with them the title row after it.
    ASVIndexLineGetter alone(nullptr, 0, nullptr, "R\xE9sultat\t1\t-2\t-2\t-1\t0", "", "q");
    EXPECT_EQ(1, alone.getLineCount());
    auto* three = new ALoSimple("3:99:1,2,3");
    three->addRef();
    ASVIndexLineGetter keyed(nullptr, 0, three, "Tous\t5\t-2\t-2\t-1\t0", "3 mots cl\xE9s Savantorium", "q");
    EXPECT_EQ(5, keyed.getLineCount());
    AString title;
    keyed.getLine(title, 1);
    EXPECT_NE(std::string::npos, std::string(title.c_str()).find("#-1:-1:0:0"));
    three->release();
}

TEST_F(LeftDockTest, ARefinementRowChoosesTheDiscListsDocuments) {
    ALoScore* one = Results("1:4:1");
    newSearch(one);
    EXPECT_EQ("-2:-2:-1:0;", Keys(prec)) << "one row: the whole result";
    EXPECT_STREQ("R\xE9sultat", prec->getLineLabel(0).c_str());
    EXPECT_STREQ("-2:-2:-1:0", searchPane->getPaneText().c_str());
    EXPECT_EQ("1;", Keys(disc));
    EXPECT_EQ("1 Document", Count(disc));
    // A key of the LINKS base, then the same key again: no change the second time.
    struct Row {
        const char* key;
        int16_t changed;
        const char* rows;
        const char* count;
    } const rows[] = {
        {"0:2:0:0", 1, "0;1;2;", "3 Documents"},
        {"0:2:0:0", 0, "0;1;2;", "3 Documents"},
        {"0:1:0:0", 1, "2;", "1 Document"},
        {"-1:-1:0:0", 1, "", "Aucun document \xE0 afficher"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.key);
        EXPECT_EQ(r.changed, searchPane->setPaneText(r.key));
        searchPane->showDiscList();
        EXPECT_EQ(r.rows, SortedKeys(disc));
        EXPECT_EQ(r.count, Count(disc));
    }
    one->release();
    printf("search panes: %s\n", picture("left-dock-search").c_str());
}

TEST_F(LeftDockTest, TheDiscListOpensTheFirstDocumentOfANewSearchOnly) {
    ALoScore* three = Results("3:4:0,1,2");
    AppState* opened = newSearch(three);
    EXPECT_EQ("0;1;2;", SortedKeys(disc));
    std::string first = disc->getLineKey(0).c_str(), third = disc->getLineKey(2).c_str();
    EXPECT_EQ(first + ";", centre->shown) << "row 0 opened";
    ASSERT_TRUE(opened);
    EXPECT_EQ(std::stol(first), opened->getDocNo());
    EXPECT_EQ(2, frame->stateCount()) << "the search's own state was temporary: home, then the document";
    EXPECT_EQ(0, disc->selFirst);
    // A click on another row opens it; on the row shown, nothing.
    clickRow(disc, 2);
    EXPECT_EQ(first + ";" + third + ";", centre->shown);
    clickRow(disc, 2);
    EXPECT_EQ(first + ";" + third + ";", centre->shown);
    // A state replayed from the history gets its selection back and opens nothing.
    AppState* current = frame->currentState();
    current->getLeftState()->fUserInfo.slot(1010) = 1;
    current->getLeftState()->fUserInfo.slot(1011) = 1;
    frame->goToHistoryState(current);
    Pump();
    EXPECT_EQ(first + ";" + third + ";" + third + ";", centre->shown) << "the centre shows its state again; nothing new";
    EXPECT_EQ(current, frame->currentState());
    EXPECT_EQ(1, disc->selFirst);
    EXPECT_EQ(1, disc->selLast);
    centre->shown.clear();
    // A padlocked document part stops the automatic opening.
    ALoScore* other = Results("2:4:1,3");
    auto* search = new ASVLoSearchState;
    search->addRef();
    search->setTextResults(other);
    auto* newLeft = new ALeftState;
    newLeft->fMode = 1;
    newLeft->fExpand = 1;
    auto* doc = new ADocState(1203);
    doc->fCadenas = 1;
    frame->goToState(new AppState(1, 2, doc, newLeft, new ARightState(1205, -1), search, 2), 1);
    search->release();
    Pump();
    EXPECT_EQ("2;", centre->shown) << "the padlocked document stays";
    EXPECT_LT(disc->selLast, 0) << "no selection";
    EXPECT_EQ(1, frame->currentState()->fTemporaire);
    centre->shown.clear();
    // A document asked for from the home screen with the search carried
    // along (a new left part, the state naming the document) stays.
    auto* carried = new ASVLoSearchState;
    carried->addRef();
    carried->setTextResults(other);
    auto* carriedLeft = new ALeftState;
    carriedLeft->fMode = 1;
    carriedLeft->fExpand = 1;
    carriedLeft->fNew = 1;
    frame->goToState(new AppState(1, 2, new ADocState(1203), carriedLeft, new ARightState(1205, -1), carried, 2), 1);
    carried->release();
    Pump();
    EXPECT_EQ("2;", centre->shown) << "the document asked for, not the list's first row";
    EXPECT_EQ(2, frame->currentState()->getDocNo());
    three->release();
    other->release();
}

TEST_F(LeftDockTest, AMediaRowOpensTheMediaWindowAndKeepsTheState) {
    ALoScore* list = Results("2:4:1,4");
    newSearch(list);
    long media = disc->getLineKey(0) == AString("4") ? 0 : 1;
    AppState* shown = frame->currentState();
    std::string before = centre->shown;
    clickRow(disc, media);
    EXPECT_EQ("media 4 0 0;", panesApp.log);
    EXPECT_EQ(shown, frame->currentState());
    EXPECT_EQ(before, centre->shown);
    list->release();
}

TEST_F(LeftDockTest, OnlineRowsOpenKnownAddressesAndBeepOnOthers) {
    ALoScore* none = Results("0:4:");
    panesApp.onlineName = "";
    // A search without disc results asks the online service once; nothing comes back.
    ASSERT_TRUE(newSearch(none, 1));
    EXPECT_EQ("online text;", panesApp.log);
    EXPECT_EQ(2u, searchPane->getClients()->shownMask() & 6u) << "the disc list stays shown";
    // The service answers a stored result: the online list takes the disc list's place.
    std::ofstream(Install().path("leftnet.net"), std::ios::binary)
        << "a:Arts:2\na\tDouze\thttp://doc/12\tR12\na\tInconnu\thttp://bad\tR\n";
    panesApp.onlineName = "leftnet";
    panesApp.log.clear();
    ASSERT_TRUE(newSearch(none, 1));
    EXPECT_EQ("online text;", panesApp.log);
    EXPECT_EQ(4u, searchPane->getClients()->shownMask() & 6u) << "the online list is shown";
    EXPECT_STREQ("leftnet", searchPane->getNetResultName().c_str());
    // Each shown row in turn (the rows are grouped under their category): the
    // known address opens a web-page state, the unknown one beeps.
    long opened = -1, kind = -1;
    bool beeped = false;
    for (long row = 0; row < 3; ++row) {
        AppState* before = frame->currentState();
        panesApp.log.clear();
        clickRow(net, row);
        if (frame->currentState() != before) {
            opened = frame->currentState()->getDocNo();
            kind = frame->currentDocState()->fDocType;
            frame->goBack(1);
            Pump();
        } else if (panesApp.log.find("beep;") != std::string::npos) {
            beeped = true;
        }
    }
    EXPECT_EQ(12, opened) << panesApp.asked;
    EXPECT_EQ(8, kind);
    EXPECT_TRUE(beeped) << panesApp.asked;
    none->release();
}

// The online search names the row's index entry and id (third and fourth
// fields of the result key): an index row asks for an index search.
TEST_F(LeftDockTest, TheOnlineSearchPassesTheRowsEntryAndId) {
    ALoScore* none = Results("0:4:");
    panesApp.onlineName = "";
    ASSERT_TRUE(newSearch(none, 0));
    struct Row {
        const char* key;
        const char* asked;
        const char* action;
    };
    const Row rows[] = {{"k:t:7:0", "0 7;", "online text;"}, {"k:t:9:1", "1 9;", "online index;"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.key);
        panesApp.log.clear();
        panesApp.onlineAsked.clear();
        searchPane->setPaneText(row.key);
        searchPane->searchOnline();
        EXPECT_EQ(row.asked, panesApp.onlineAsked);
        EXPECT_EQ(row.action, panesApp.log);
    }
    none->release();
}

TEST_F(LeftDockTest, TheReadersSwitchToTheOnlineListOutlivesTheNextRefresh) {
    ALoScore* some = Results("2:4:0,1");
    std::ofstream(Install().path("leftnet.net"), std::ios::binary) << "a:Arts:1\na\tDouze\thttp://doc/12\tR12\n";
    panesApp.onlineName = "leftnet";
    ASSERT_TRUE(newSearch(some, 0));
    EXPECT_EQ("", panesApp.log) << "disc results: no online search by itself";
    ALayoutClientList* clients = searchPane->getClients();
    EXPECT_EQ(2u, clients->shownMask() & 6u);
    // The reader shows the online list: the service answers, the list stays.
    net->getClient()->toggle();
    Pump();
    EXPECT_EQ("online text;", panesApp.log);
    EXPECT_EQ(4u, clients->shownMask() & 6u);
    searchPane->updatePane();
    Pump();
    EXPECT_EQ(4u, clients->shownMask() & 6u) << "a refresh of the same state keeps the online list";
    EXPECT_STREQ("leftnet", searchPane->getNetResultName().c_str());
    some->release();
}
