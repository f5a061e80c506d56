// The application's full-text search on a small installation: what a query
// finds, what the reader is told when it finds nothing, and the query history.
#include <gtest/gtest.h>

#include <string>

#include "app/state/ASVLoSearchState.h"
#include "app/state/ASiReqSearch.h"
#include "search/facade/ALoVect.h"
#include "tests/reader/AppMainTestSupport.h"

TEST_F(TheAppTest, TheFullTextSearchFindsTheArticlesOrSaysWhyNot) {
    install.write("svstyles.xml", "<KyStyles></KyStyles>");
    ASSERT_TRUE(app->readConfiguration());
    ASSERT_TRUE(app->findDataRoot());
    ASSERT_TRUE(app->createDataManager());
    ASSERT_TRUE(app->initData());
    ASSERT_TRUE(app->loadStyleSheet());
    ASSERT_TRUE(app->mountBases());
    struct Row {
        const char* query;
        int answer;    // to the question "search online?"
        long found;    // -1: no state
        size_t boxes;  // message boxes shown
    } const rows[] = {
        {"", 7, -1, 0}, {"plantes", 7, 1, 0}, {"astronomie OU chimie", 7, 2, 0}, {"girafe", 7, -1, 1},
        {"girafe", 6, -1, 2},  // yes, but the online service cannot be used: the check says why
        // An empty group between two operators keeps the first one (ET would find none).
        {"(astronomie) OU () ET (chimie)", 7, 2, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.query);
        ClearBoxes();
        BoxAnswer() = r.answer;
        ASVLoSearchState* search = app->runFullTextSearch(1, r.query, 0);
        EXPECT_EQ(r.boxes, CapturedBoxes().size()) << (CapturedBoxes().empty() ? "" : CapturedBoxes()[0].text);
        if (r.found < 0) {
            EXPECT_EQ(nullptr, search);
            continue;
        }
        ASSERT_NE(nullptr, search);
        ASSERT_NE(nullptr, search->getTextResults());
        EXPECT_EQ(r.found, search->getTextResults()->getCount());
        EXPECT_STREQ(r.query, search->getQuery().c_str());
        EXPECT_STREQ(r.query, search->getText(4).c_str());
        EXPECT_STREQ(r.query, search->getText(3).c_str());
        search->addRef();
        search->release();
    }
    ClearBoxes();
    EXPECT_EQ(nullptr, app->runFullTextSearch(0, "girafe", 0)) << "not offered online";
    EXPECT_TRUE(CapturedBoxes().empty());
}

TEST_F(TheAppTest, TheQueryHistoryHoldsAsManyQueriesAsTheConfigurationSays) {
    ASSERT_TRUE(app->readConfiguration());
    ASSERT_TRUE(app->findDataRoot());
    ASSERT_TRUE(app->createDataManager());
    ASSERT_TRUE(app->initData());
    ASiReqSearch& history = app->queryHistory();
    for (int i = 0; i < 30; ++i)
        history.add(("q" + std::to_string(i)).c_str());
    EXPECT_EQ(app->maxSiReq() > 0 ? app->maxSiReq() : 30, history.count());
}
