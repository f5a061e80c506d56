// The chronology screen of the real reader on the sample: reached from the
// home screen's entry, its year search, period strip, docks and the theme
// page with its event list, and a picture of the screen around 1789.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "app/data/AppDataManager.h"
#include "app/frame/Frame1.h"
#include "reader/TheApp.h"
#include "app/lists/ListPane.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "docengine/render/ARenderer.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/text/AReader.h"
#include "framework/clusters/AClusterItem.h"
#include "panes/content/chrono/AChronoView.h"
#include "framework/controls/AEditBox.h"
#include "framework/controls/AIconButton.h"
#include "panes/content/article/DockLCRPane.h"
#include "panes/content/chrono/AChronoScale.h"
#include "panes/content/chrono/ChronoPane.h"
#include "panes/content/chrono/ChronoThemePrec.h"
#include "panes/content/chrono/DockLeftChronoPages.h"
#include "panes/content/chrono/DockLeftChronoPane.h"
#include "panes/content/chrono/DockTopChronoPane.h"
#include "panes/content/chrono/LR_Chrono_Evemnt.h"
#include "search/facade/ASearchBase.h"
#include "tests/app/lists/ListRowClick.h"
#include "tests/panes/content/article/ArticleTestSupport.h"

namespace {

template <class T>
T* Link(Frame1* frame, DockLCRPane::Link link) {
    DockLCRPane* centre = DockLCRPane::of(frame);
    SVPane* pane = centre ? centre->link(link) : nullptr;
    return pane ? static_cast<T*>(pane->castTo(&T::classRecord)) : nullptr;
}

class ChronoScreenTest : public SampleReaderTest {
protected:
    void screen();
};

TEST_F(ChronoScreenTest, TheHomeEntryOpensTheChronologyWithItsDocksYearsPeriodsAndThemes) {
    if (!frame)
        GTEST_SKIP() << skipReason;
    guarded([&] { screen(); });
}

void ChronoScreenTest::screen() {
    // The home screen's chronology entry: search screen 5.
    frame->doMenuAction(1, 5);
    pump();
    AppState* state = frame->currentState();
    ASSERT_TRUE(state && state->getDocState() && state->getLeftState());
    EXPECT_EQ(7, state->getDocState()->fDocType);
    auto* chrono = Link<ChronoPane>(frame, DockLCRPane::kChrono);
    auto* top = Link<DockTopChronoPane>(frame, DockLCRPane::kDockTopChrono);
    auto* left = Link<DockLeftChronoPane>(frame, DockLCRPane::kDockLeftChrono);
    ASSERT_TRUE(chrono && top && left);
    ASSERT_TRUE(chrono->view()->eventRenderer()) << "the chronology loads when first shown";
    ASSERT_TRUE(chrono->scale());
    EXPECT_EQ(200, chrono->step()) << "no CHRONO_STEP in the sample";

    // The year field: "1789", then "1789:50".
    AEditBox* field = static_cast<AEditBox*>(chrono->findItem(ChronoPane::kYearField, false));
    struct Year {
        const char* typed;
        long step;
    } years[] = {{"1789", 200}, {"1789:50", 50}, {"1789:0", 50}, {"1789:x", 50}, {"1789:200", 200}};
    for (const Year& y : years) {
        SCOPED_TRACE(y.typed);
        field->setText(y.typed);
        chrono->doCommand(ChronoPane::kYearSearch, 0);
        pump();
        EXPECT_EQ(y.step, chrono->step());
        EXPECT_EQ(y.step, chrono->scale()->unit);
        EXPECT_EQ("1789", std::string(field->getText().c_str()));
        EXPECT_EQ(-1, chrono->currentEvent());
        EXPECT_EQ(chrono->scale()->yearToPos(1789 + chrono->scale()->offset), chrono->currentPosition());
    }

    // The period buttons clicked through their range binding: each moves to the
    // middle of its period and is the one marked; a button without a period is off.
    long complete = 0;
    for (int16_t i = 0; i < ChronoPane::kPeriodButtons; ++i) {
        SCOPED_TRACE(i);
        int16_t id = static_cast<int16_t>(ChronoPane::kFirstPeriod + i);
        if (!chrono->periodComplete(i)) {
            EXPECT_EQ(0, chrono->itemState(id) & AClusterItem::kOn);
            continue;
        }
        ++complete;
        ASSERT_TRUE(chrono->itemState(id) & AClusterItem::kOn);
        chrono->itemCommand(id, 0, nullptr);
        pump();
        EXPECT_EQ(i, chrono->currentPeriod());
        long a = chrono->periodYears().at(i), b = chrono->periodYears().at(i + 1);
        EXPECT_EQ(chrono->scale()->yearToPos(a + (b - a) / 2), chrono->currentPosition());
        for (int16_t k = 0; k < ChronoPane::kPeriodButtons; ++k) {
            if (chrono->periodComplete(k)) {
                EXPECT_EQ(k == i, (chrono->itemState(ChronoPane::kFirstPeriod + k) & AClusterItem::kMarked) != 0) << k;
            }
        }
    }
    EXPECT_GE(complete, 6) << "the sample's periods";

    // Reached without an article: no return; the left dock offers the chronology's button.
    EXPECT_FALSE(top->canReturn());
    EXPECT_EQ(2, top->commandStatus(DockTopChronoPane::kReturn, 0));
    EXPECT_FALSE(top->returnButton()->hasFlags(ADisplayComponent::kVisible));
    EXPECT_EQ(1, left->commandStatus(DockLeftChronoPane::kChrono, 0));
    EXPECT_EQ(2, left->commandStatus(DockLeftChronoPane::kDocument, 0));
    EXPECT_EQ(1, state->getLeftState()->fUserInfo.slot(DockLeftChronoPane::kModeEntry)) << "the theme page";

    // A theme chosen in the theme list: its LNK record's events.
    auto* page = static_cast<DockLeftChronoPage*>(left->findById(2631, 0)->castTo(&DockLeftChronoPage::classRecord));
    ASSERT_TRUE(page && page->list() && page->events());
    ASSERT_TRUE(page->list()->getLineGetter());
    ASSERT_GE(page->list()->getLineGetter()->getLineCount(), 2);
    ClickListRow(page->list(), 1, [&] { pump(); });
    EXPECT_EQ("0", std::string(page->getPaneText().c_str()));
    ASearchBase* base = app->getDataManager()->getBase(9);
    ASSERT_TRUE(base);
    long listed = std::atol(base->getText(1, 0, 1).c_str());
    ASSERT_TRUE(page->events()->getLineGetter());
    EXPECT_EQ(listed, page->events()->getLineGetter()->getLineCount());

    // A row of the event list: the chronology moves to the event's year and selects it.
    long row = -1;
    for (long i = 0; i < page->events()->getLineGetter()->getLineCount() && row < 0; ++i)
        if (page->events()->documentOf(i) >= 0)
            row = i;
    ASSERT_GE(row, 0) << "an event with an article";
    std::string key = page->events()->getLineKey(row).c_str();
    long eventYear = std::atol(key.substr(key.find(':') + 1).c_str());
    page->events()->getListView()->renderer()->showLine(row);
    pump();
    ClickListRow(page->events(), row, [&] { pump(); });
    state = frame->currentState();
    EXPECT_EQ(7, state->getDocState()->fDocType);
    EXPECT_EQ(eventYear, state->getDocState()->fDate);
    EXPECT_EQ(chrono->scale()->yearToPos(eventYear + chrono->scale()->offset), chrono->currentPosition());
    EXPECT_EQ(page->events()->documentOf(row), state->getDocNo());

    // A row without an article: the chronology goes to that row's own year, no article is
    // named, and the top dock offers no return to one.
    long docless = -1;
    for (long i = 0; i < page->events()->getLineGetter()->getLineCount() && docless < 0; ++i)
        if (page->events()->documentOf(i) < 0 && page->events()->getLineKey(i).c_str()[0] == ':')
            docless = i;
    ASSERT_GE(docless, 0) << "an event without an article";
    key = page->events()->getLineKey(docless).c_str();
    long doclessYear = std::atol(key.substr(key.find(':') + 1).c_str());
    ASSERT_NE(eventYear, doclessYear) << "the sample's theme has events of several years";
    page->events()->getListView()->renderer()->showLine(docless);
    pump();
    ClickListRow(page->events(), docless, [&] { pump(); });
    state = frame->currentState();
    EXPECT_EQ(7, state->getDocState()->fDocType);
    EXPECT_EQ(doclessYear, state->getDocState()->fDate);
    EXPECT_EQ(-1, state->getDocNo());
    EXPECT_FALSE(top->canReturn());
    EXPECT_EQ(2, top->commandStatus(DockTopChronoPane::kReturn, 0));

    // The picture: around 1789 with the theme page and its events.
    field->setText("1789");
    chrono->doCommand(ChronoPane::kYearSearch, 0);
    pump();
    ARect centre(300, 100, 700, 600);
    EXPECT_GT(saveShot("chrono-screen-sample", &centre), 1000) << "the time line drawn";

    // The same theme again: the history flag and the list stay as they are.
    frame->currentState()->setHisto(1);
    ClickListRow(page->list(), 1, [&] { pump(); });
    EXPECT_EQ(1, frame->currentState()->fHisto);
    EXPECT_EQ(listed, page->events()->getLineGetter()->getLineCount());

    // The keyword page: the index's keywords; one chosen lists its events.
    EXPECT_TRUE(left->itemState(DockLeftChronoPane::kByTheme) & AClusterItem::kMarked);
    EXPECT_FALSE(left->itemState(DockLeftChronoPane::kByKeyword) & AClusterItem::kMarked);
    left->itemCommand(DockLeftChronoPane::kByKeyword, 0, nullptr);
    pump();
    EXPECT_EQ(2, frame->currentState()->getLeftState()->fUserInfo.slot(DockLeftChronoPane::kModeEntry));
    EXPECT_FALSE(left->itemState(DockLeftChronoPane::kByTheme) & AClusterItem::kMarked);
    EXPECT_TRUE(left->itemState(DockLeftChronoPane::kByKeyword) & AClusterItem::kMarked);
    auto* words = static_cast<DockLeftChronoPage*>(left->findById(2641, 0)->castTo(&DockLeftChronoPage::classRecord));
    ASSERT_TRUE(words && words->list() && words->list()->getLineGetter()) << "the sample's keyword index";
    ASSERT_GT(words->list()->getLineGetter()->getLineCount(), 10);
    EXPECT_FALSE(page->hasFlags(ADisplayComponent::kVisible)) << "the theme page hides";
    ClickListRow(words->list(), 2, [&] { pump(); });
    std::string keyword = words->getPaneText().c_str();
    ASSERT_NE("", keyword);
    long wordListed = std::atol(base->getText(1, std::atol(keyword.c_str()), 1).c_str());
    ASSERT_TRUE(words->events()->getLineGetter());
    EXPECT_EQ(wordListed, words->events()->getLineGetter()->getLineCount());
    EXPECT_GT(saveShot("chrono-screen-keywords", &centre), 1000);
    // The typed keyword goes with the selection into the left part, for a return through the history.
    auto* keywords = static_cast<ListEditPane*>(words->list()->castTo(&ListEditPane::classRecord));
    ASSERT_TRUE(keywords && keywords->getEditField());
    keywords->getEditField()->setText("BEE");
    ALeftState saved;
    keywords->saveState(&saved);
    EXPECT_EQ("BEE", std::string(saved.getUserTxtInfo(1074).c_str()));
    EXPECT_EQ(keywords->selLast, saved.fUserInfo.slot(1073));

    // The event's article in the centre, in a temporary state that keeps the chronology's left part.
    long docNo = page->events()->documentOf(row);
    chrono->openEventDocument(std::to_string(docNo).c_str());
    pump();
    state = frame->currentState();
    EXPECT_EQ(docNo, state->getDocNo());
    EXPECT_EQ(1, state->fTemporaire);
    EXPECT_NE(7, state->getDocState()->fDocType);
    EXPECT_EQ(5, state->getLeftState()->fMode) << "the chronology's left part kept";
    EXPECT_EQ(2, left->commandStatus(DockLeftChronoPane::kChrono, 0));
    EXPECT_EQ(1, left->commandStatus(DockLeftChronoPane::kDocument, 0));

    // From an article of the search screen to its historical context and back.
    frame->doMenuAction(1, 1);
    pump();
    DockLCRPane::of(frame)->showDocument(docNo);
    pump();
    EXPECT_EQ(0, page->isPaneWanted()) << "outside the chronology screen, without asserting";
    EXPECT_EQ(0, words->isPaneWanted());
    EXPECT_EQ(0, left->isPaneWanted());
    SVPane* articleTop = DockLCRPane::of(frame)->link(DockLCRPane::kDockTopKycf);
    ASSERT_TRUE(articleTop);
    articleTop->doCommand(2606, 0);
    pump();
    AppState* context = frame->currentState();
    ASSERT_EQ(7, context->getDocState()->fDocType);
    ASSERT_NE(5, context->getLeftState()->fMode);
    EXPECT_TRUE(top->canReturn());
    EXPECT_EQ(1, top->commandStatus(DockTopChronoPane::kReturn, 0));
    EXPECT_TRUE(top->returnButton()->hasFlags(ADisplayComponent::kVisible));
    context->getDocState()->fDate = 1789;
    top->doCommand(DockTopChronoPane::kReturn, 0);
    pump();
    // Marked temporary, the chronology's state left the history (and was deleted).
    state = frame->currentState();
    EXPECT_NE(context, state);
    EXPECT_NE(context, state->getPrev());
    EXPECT_EQ(docNo, state->getDocNo());
    EXPECT_NE(7, state->getDocState()->fDocType);
    EXPECT_EQ(1789, state->getDocState()->fDate) << "the chronology's year goes with the article";
}

}  // namespace
