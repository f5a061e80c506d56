// The history popup: its rows and their keys, the window of rows around the
// current state, the choice of a row, and the popup under the tool bar.
#include <gtest/gtest.h>

#include <string>

#include "app/frame/ASVHistoLineGetter.h"
#include "app/popup/PopupTree.h"
#include "app/state/ABaseState.h"
#include "base/object/AFileSpec.h"
#include "docengine/styles/AStyleSheetSet.h"
#include "framework/controls/AIconButton.h"
#include "panes/docks/workspacewin/WorkspaceLineGetters.h"
#include "tests/app/frame/FrameTestSupport.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"
#include "tests/framework/views/ViewTestSupport.h"

namespace {

class HistoServices : public TestServices {
public:
    AString roomTitle(AppState* state) override { return AString(("Salle " + std::to_string(state->fSalle)).c_str()); }
    ALineGetterCallBack* makeHistoryRowFormat() override { return new ASVResultLineGetterCallBack(); }
    AString docListRecord(long docNo) override {
        if (docNo == 99)
            return AString("Le chien");
        return docNo == 12 ? AString("12\t3\tLe chat") : AString(("n\t0\tArticle " + std::to_string(docNo)).c_str());
    }
};

class HistoryTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        gFrameServices = &histo;
    }
    // The keys and second fields of the getter's rows, "*" before the current one.
    static std::string Rows(ASVHistoLineGetter& rows) {
        std::string s;
        for (long i = 0; i < rows.getLineCount(); ++i) {
            AString row = rows.getRawLine(i, i);
            std::string text(row.c_str());
            s += (i == rows.currentLine() ? "*" : "") + text.substr(text.rfind('\t') + 1) + ";";
        }
        return s;
    }
    HistoServices histo;
};

}  // namespace

TEST_F(HistoryTest, ARowNamesItsStateAndTitlesItByKind) {
    struct Row {
        const char* name;
        int16_t mode;
        long docNo;
        int16_t docType;
        int16_t room;
        long info;  // user information key set to 1, 0 for none
        const char* row;
    } const rows[] = {
        {"untitled web page", 4, 30, 8, 0, 0, "5\t19\tSans titre"},
        {"home", 0, 12, 0, 0, 0, "5\t17\tAccueil"},
        {"guide", 1, -1, 0, 0, 0, "5\t17\tGuide"},
        {"room page", 3, 4, 0, 2, 0, "5\t17\tSalle 2"},
        {"room 7 with 1174", 4, 4, 0, 7, 1174, "5\t17\tSalle 7"},
        {"room 7 without 1174", 4, -1, 0, 7, 0, "5\t17\tGuide"},
        {"room 6 with 1176", 4, 4, 0, 6, 1176, "5\t17\tSalle 6"},
        {"document", 1, 12, 0, 0, 0, "5\t3\tLe chat"},
        {"document whose record is its title alone", 1, 99, 0, 0, 0, "5\t\tLe chien"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CountedState state(r.mode);
        state.setDocNo(r.docNo);
        state.getDocState()->fDocType = r.docType;
        state.fSalle = r.room;
        if (r.info)
            state.setUserInfo(r.info, 1);
        EXPECT_EQ(r.row, std::string(ASVHistoLineGetter::rowOf(&state, 5).c_str()));
    }
}

TEST_F(HistoryTest, ThePopupListsPermanentStatesAroundTheCurrentOne) {
    if (!openFrame())
        GTEST_SKIP() << "no display";
    frame->setMaxStates(40);
    for (long d = 1; d <= 20; ++d) {
        CountedState* s = step(d);
        s->fTemporaire = d == 14 ? 1 : 0;
    }
    for (int i = 0; i < 7; ++i)  // the temporary state is stepped over
        frame->goBack(1);
    ASSERT_EQ(12, frame->currentState()->getDocNo());
    struct Row {
        long lines;
        const char* rows;
    } const rows[] = {
        {0, "*Le chat;"},
        {1, "*Le chat;Article 11;"},
        {10,
         "Article 17;Article 16;Article 15;Article 13;*Le chat;Article 11;Article 10;Article 9;Article 8;"
         "Article 7;Article 6;"},
        {40,
         "Article 20;Article 19;Article 18;Article 17;Article 16;Article 15;Article 13;*Le chat;Article 11;"
         "Article 10;Article 9;Article 8;Article 7;Article 6;Article 5;Article 4;Article 3;Article 2;Article 1;"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.lines);
        ASVHistoLineGetter getter(frame->headState(), frame->currentState(), r.lines);
        EXPECT_EQ(r.rows, Rows(getter));
    }

    // Keys name states: a row of the same document does nothing, another goes there.
    ASVHistoLineGetter getter(frame->headState(), frame->currentState(), 10);
    AppState* current = frame->currentState();
    frame->historyLineChosen(getter.getRawLine(4, 4).c_str());
    EXPECT_EQ(current, frame->currentState());
    frame->historyLineChosen(getter.getRawLine(0, 0).c_str());
    EXPECT_EQ(17, frame->currentState()->getDocNo());
    frame->historyLineChosen("99\t17\tx");
    frame->historyLineChosen("x");
    EXPECT_EQ(17, frame->currentState()->getDocNo()) << "a key naming no state";
    EXPECT_NE("", assertionText([] { ASVHistoLineGetter none(nullptr, nullptr, 3); }));
}

TEST_F(HistoryTest, TheHistoryButtonOpensThePopupUnderItAfterTenNavigations) {
    if (!openFrame())
        GTEST_SKIP() << "no display";
    AStyleSheetSet sheets(AFileSpec(SV_SOURCE_DIR "/tools/sample/svstyles.xml"), 0);
    histo.sheets = &sheets;
    histo.config["HISTO_NBLINES"] = "10";
    frame->setMaxStates(40);
    for (long d = 1; d <= 10; ++d)
        step(d == 3 ? -1 : d);
    frame->goBack(1);
    frame->goBack(1);
    frame->showUpdate();
    auto* button = dynamic_cast<AIconButton*>(frame->findItem(1044, false));
    ASSERT_NE(nullptr, button);
    button->setText("Historique");
    frame->doCommand(1044, 0);
    PopupTree* popup = lastPopup();
    ASSERT_NE(nullptr, popup);
    EXPECT_EQ(0x2042, popup->options());
    EXPECT_EQ("", std::string(button->getText().c_str())) << "the button's text is emptied while the popup shows";
    app->flushUpdates();
    Pump();
    ARect area = popup->getScreenBounds();
    area = ARect(area.left() - 60, area.top() - 50, area.right() + 20, area.bottom() + 10);
    EXPECT_FALSE(Canvas::saveScreen(area, "history-popup").empty());
    popup->rowClicked(3, "0", "0", 0);
    app->commandQueue().run();
    EXPECT_EQ(10, frame->currentState()->getDocNo()) << "the newest state";
    EXPECT_EQ("Historique", std::string(button->getText().c_str())) << "and given back when it goes";
    histo.sheets = nullptr;
}
