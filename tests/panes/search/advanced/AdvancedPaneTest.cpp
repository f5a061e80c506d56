// The advanced search pane and its list in a main window laid out as the
// reader's, on the sample encyclopedia (skipped when it is not built): the
// operator buttons, the messages, the proposal step, a composed question
// against the engine's own answer, and the list's selection reset.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <set>
#include <string>

#include "app/state/ASVLoSearchState.h"
#include "app/state/AppState.h"
#include "docengine/text/AReader.h"
#include "framework/controls/AEditBox.h"
#include "panes/search/advanced/AVQuestion.h"
#include "panes/search/advanced/DockLeftRechAVPane.h"
#include "panes/search/advanced/LR_DVDAV.h"
#include "search/facade/ASearchRequest.h"
#include "tests/panes/search/left/LeftDockTestSupport.h"
#include "tests/support/TestHooks.h"

namespace {

std::string Sample() {
    return std::string("Z:") + SV_BINARY_DIR + "/sample";
}

// Stop words "le" and "la"; the proposal step answers `chosen` and records the query.
class AVPanesApp : public TestPanesApp {
public:
    bool isStopWordQuery(const char* query) override {
        std::string q(query);
        return q == "le" || q == "le ET la";
    }
    AString configMessage(const char* key) override { return AString((std::string("msg:") + key).c_str()); }
    AString proposeSoundAlike(const char* query) override {
        proposed += std::string(query) + "|";
        return AString(chosen.c_str());
    }
    std::string chosen, proposed;
};

class AdvancedPaneTest : public LeftDockTest {
protected:
    std::string dataFolder() override { return Sample(); }
    void SetUp() override {
        if (GetFileAttributesA((Sample() + "/sv.sgm").c_str()) == INVALID_FILE_ATTRIBUTES)
            GTEST_SKIP() << "no sample: tools/sample/build.sh builds it";
        GetCurrentDirectoryA(MAX_PATH, previous);
        SetCurrentDirectoryA(Sample().c_str());
        LeftDockTest::SetUp();
        if (!frame)
            return;
        ASearchPanesApp::install(&avApp);
        pane = dynamic_cast<DockLeftRechAVPane*>(frame->findById(2002, 0));
        ASSERT_TRUE(pane);
        list = pane->getResultList();
        // The advanced search screen: screen mode 1, left mode 2, no search yet.
        auto* left = new ALeftState;
        left->fMode = 2;
        left->fExpand = 1;
        left->fNew = 1;
        auto* doc = new ADocState(1203);
        doc->fDocType = 1;
        auto* state = new AppState(1, 2, doc, left, new ARightState(1205, -1), nullptr, -1);
        state->setNew(1);
        frame->goToState(state, 1);
        Pump();
        ClearBoxes();
    }
    void TearDown() override {
        LeftDockTest::TearDown();
        SetCurrentDirectoryA(previous);
    }
    void search(const char* query) {
        pane->getQueryField()->setText(query);
        pane->execSearch(1);
        Pump();
    }
    // The documents of the list's rows.
    std::set<long> listDocs() {
        std::set<long> docs;
        long n = list->getLineGetter() ? list->getLineGetter()->getLineCount() : 0;
        for (long i = 0; i < n; ++i) {
            AString key = list->getLineKey(i);
            char* end = nullptr;
            long doc = std::strtol(key.c_str(), &end, 10);
            if (end != key.c_str() && *end == 0)
                docs.insert(doc);
        }
        return docs;
    }
    // The documents the engine gives for the pane's question on EXPERT.
    std::set<long> engine(const char* query, int flexion, long source, const char* theme) {
        std::unique_ptr<ASearchRequest> request(location.createRequest("EXPERT", "SEARCH"));
        request->clearField(0);
        AVQuestionInput in;
        in.fieldCount = request->getItemCount();
        in.flexion = flexion;
        in.text = in.filteredText = query;
        in.sourceNumber = source;
        in.themeValue = theme;
        for (const AVQuestionStep& s : ComposeAVQuestion(in)) {
            if (s.kind == AVQuestionStep::kSlot)
                request->setQuestion(s.first, s.text.c_str(), 0);
            else if (s.kind == AVQuestionStep::kFieldText)
                request->setFieldText(s.first, s.text.c_str());
            else
                request->setFieldOption(s.first, s.last, 1);
        }
        request->execute(0);
        std::set<long> docs;
        for (long k = 1; k <= request->getResultCount(0); ++k)
            docs.insert(request->getResultDoc(k) & 0xFFFFFF);
        return docs;
    }

    char previous[MAX_PATH] = {};
    AVPanesApp avApp;
    DockLeftRechAVPane* pane = nullptr;
    LR_DVDAV* list = nullptr;
};

}  // namespace

TEST_F(AdvancedPaneTest, OperatorButtonsInsertAtTheCaret) {
    struct Row {
        int16_t id;
        const char* text;
        int32_t caret;
    } rows[] = {{0x7f9, "chat ET ", 8},  {0x7fa, "chat OU ", 8}, {0x7fb, "chat SAUF ", 10}, {0x7fc, "chat?", 5},
                {0x7fd, "chat*", 5},     {0x7fe, "chat\" \"", 7}, {0x7ff, "chat( )", 6},     {0x801, "chat P/", 7}};
    AEditBox* field = pane->getQueryField();
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        field->setText("chat");
        field->setSelection(4, 4);
        ASSERT_EQ(1, pane->commandStatus(r.id, 0));
        pane->doCommand(r.id, 0);
        EXPECT_STREQ(r.text, field->getText().c_str());
        int32_t start = -1, end = -1;
        field->getSelection(start, end);
        EXPECT_EQ(r.caret, start);
        EXPECT_EQ(r.caret, end);
    }
}

TEST_F(AdvancedPaneTest, StopWordsAndSearchesWithoutHitsSaySoAndKeepTheState) {
    struct Row {
        const char* query;
        const char* chosen;  // the proposal step's answer
        const char* box;     // "" for none
        unsigned flags;
        const char* proposed;
    } rows[] = {{"le", "", "msg:DLG_STOPWORD", 0x20, ""},
                {"le ET la", "", "msg:DLG_STOPWORD", 0x20, ""},
                {"zzqxw", "", "Recherche infructueuse", 0, "zzqxw|"},
                {"zzqxw", "zzqxy", "Recherche infructueuse", 0, "zzqxw|"},
                {"", "", "", 0, ""}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.query);
        AppState* before = frame->currentState();
        avApp.chosen = r.chosen;
        avApp.proposed.clear();
        ClearBoxes();
        search(r.query);
        EXPECT_EQ(r.proposed, avApp.proposed);
        ASSERT_EQ(*r.box ? 1u : 0u, CapturedBoxes().size());
        if (*r.box) {
            EXPECT_EQ(r.box, CapturedBoxes()[0].text);
            EXPECT_EQ("", CapturedBoxes()[0].caption);
            EXPECT_EQ(r.flags, CapturedBoxes()[0].flags);
        }
        EXPECT_EQ(before, frame->currentState());
    }
}

TEST_F(AdvancedPaneTest, TheListShowsTheEnginesDocumentsForTheComposedQuestion) {
    struct Row {
        const char* query;
        const char* chosen;  // the proposal step's answer
        int flexion;
        const char* sourceLabel;
        const char* source;
        const char* themeLabel;
        const char* theme;
        const char* expectedQuery;
    } rows[] = {
        {"calque", "", 0, "Dans toute l'encyclop\xE9" "die", "0", "Dans tous les th\xE8mes", "-1", "calque"},
        // The theme searches its own index: titles of help pages ("Fichiers" are man pages of section 5).
        {"image ET calque", "", 1, "Dans les titres", "1", "Logiciels", "logiciel", "image ET calque"},
        {"pinsseau", "pinceau", 0, "Dans toute l'encyclop\xE9" "die", "0", "Images", "image", "pinceau"},
        {"image SAUF calque", "", 0, "Dans toute l'encyclop\xE9" "die", "0", "Dans tous les th\xE8mes", "-1",
         "image SAUF calque"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.query);
        avApp.chosen = r.chosen;
        if ((pane->getFlexion() == 1) != (r.flexion == 1))
            pane->doCommand(DockLeftRechAVPane::kFlexion, 0);
        EXPECT_EQ(r.flexion ? 5 : 1, pane->commandStatus(DockLeftRechAVPane::kFlexion, 0));
        pane->getQueryField()->setText(r.query);
        // The theme popup's choice runs the search at once.
        pane->runSearch(r.sourceLabel, r.source);
        pane->runSearchIn(r.themeLabel, r.theme);
        Pump();
        std::string theme = std::atol(r.theme) == -1 ? "" : r.theme;
        EXPECT_EQ(theme, pane->getThemeValue().c_str());
        EXPECT_EQ(theme.empty() ? 1 : 5, pane->commandStatus(DockLeftRechAVPane::kThemes, 0));
        AppState* state = frame->currentState();
        ASSERT_TRUE(state && state->getSearchState());
        ASVLoSearchState* found = state->getSearchState();
        EXPECT_STREQ(r.expectedQuery, found->getQuery().c_str());
        EXPECT_STREQ(r.source, found->getText(8).c_str());
        EXPECT_STREQ(theme.c_str(), found->getText(10).c_str());
        EXPECT_STREQ(r.flexion ? "1" : "0", found->getText(11).c_str());
        std::set<long> expected = engine(r.expectedQuery, r.flexion, std::atol(r.source), theme.c_str());
        EXPECT_FALSE(expected.empty());
        EXPECT_EQ(expected, listDocs());
        EXPECT_STREQ("-2:-2", pane->getPaneText().c_str());
        // A new search opens its first row's document by itself.
        std::string first = std::string(list->getLineKey(0).c_str()) + ";";
        EXPECT_EQ(first, centre->shown.substr(centre->shown.size() >= first.size() ? centre->shown.size() - first.size() : 0));
    }
    picture("advanced-search-pane");
}

TEST_F(AdvancedPaneTest, TheListResetsToNoSelectionWhileTheDocumentIsPadlocked) {
    search("calque");
    AppState* state = frame->currentState();
    ASSERT_TRUE(state && state->getDocState());
    for (int16_t padlock : {0, 1, 0}) {
        SCOPED_TRACE(padlock);
        state->getDocState()->fCadenas = padlock;
        list->selFirst = list->selLast = 7;
        list->resetState(0);
        EXPECT_EQ(0, list->selFirst);
        EXPECT_EQ(padlock ? -2 : 0, list->selLast);
    }
}
