// The saved forms of the application's small states: marked lines, the text
// dictionary and the search record, as tables of text against object; and the
// previous/next cursor's moves.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/state/ALongTextDic.h"
#include "app/state/APrevNextState.h"
#include "app/state/ASearchState.h"
#include "app/state/MarkedLines.h"
#include "base/object/AFile.h"
#include "base/object/AFileStream.h"
#include "tests/app/state/StateTestSupport.h"
#include "tests/base/procedural/FileTestSupport.h"
#include "tests/support/TestHooks.h"

namespace {

std::string Describe(const ALongTextDic& dic) {
    std::string out;
    for (int i = -2; i < 10; ++i)
        if (!dic.get(static_cast<int16_t>(i)).empty())
            out += std::to_string(i) + "=" + dic.get(static_cast<int16_t>(i)).c_str() + ";";
    return out + "#" + std::to_string(dic.count());
}

std::string Describe(const ASearchState& state) {
    std::string out;
    for (int i = -1; i < 10; ++i)
        if (!state.getText(static_cast<int16_t>(i)).empty())
            out += std::to_string(i) + "=" + state.getText(static_cast<int16_t>(i)).c_str() + ";";
    return out + "#" + std::to_string(state.textCount()) + " v" + std::to_string(state.getValue());
}

}  // namespace

TEST_F(StateText, MarkedLinesWriteAndReadTheirMarkers) {
    ALongLongDic dic;
    dic.slot(1300) = 1;
    dic.slot(-2) = 70000;
    EXPECT_EQ("<!--fPane-->1203\n-5\n<!--fTitle-->a\x01\x02" "b\n<!--fUser-->\n<!--diclength-->2\n<!--key-->-2\n"
              "<!--val-->70000\n<!--key-->1300\n<!--val-->1\n<!--none-->\n<!--diclength-->0\n",
              written([&](AFileStream& s) {
                  WriteMarkedInt(s, "<!--fPane-->", 1203);
                  WriteMarkedInt(s, "", -5);
                  WriteMarkedString(s, "<!--fTitle-->", "a\n\rb");
                  WriteMarkedDic(s, "<!--fUser-->", dic);
                  WriteMarkedDic(s, "<!--none-->", ALongLongDic());
              }));
    struct Row {
        const char* text;
        const char* outcome;
        const char* value;  // what was read: int, text, dictionary
    } const rows[] = {
        {"<!--FPANE-->1203\r\n<!--fTitle-->a\x01\x02" "b\n<!--fuser-->\n<!--diclength-->1\n<!--key-->4\n<!--val-->9\n",
         "ok", "1203|a\n\rb|4:9"},
        {"<!--fPan-->1203\n", "state text: <!--fPane--> expected", ""},
        {"", "state text: <!--fPane--> expected", ""},
        {"<!--fPane-->1\n<!--fTitle-->\n<!--fUser-->\n<!--diclength-->3\n<!--key-->4\n<!--val-->9\n",
         "state text: <!--key--> expected", "1||"},
        {"<!--fPane-->1\n<!--fTitle-->\n<!--fUser-->\n<!--diclength-->-1\n",
         "state text: <!--diclength-->-1 out of range", "1||"},
        {"<!--fPane-->1\n<!--fTitle-->\n<!--fUser-->\n<!--diclength-->1\n<!--val-->9\n<!--key-->4\n",
         "state text: <!--key--> expected", "1||"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        std::string value;
        ALongLongDic out;
        out.slot(77) = 1;
        EXPECT_EQ(r.outcome, read(r.text, [&](AFileStream& s) {
                      value = std::to_string(ReadMarkedInt(s, "<!--fPane-->")) + "|";
                      value += ReadMarkedString(s, "<!--fTitle-->").c_str();
                      value += "|";
                      ReadMarkedDic(s, "<!--fUser-->", out);
                      for (Pix p = out.first(); p; out.next(p))
                          value += std::to_string(out.keyOf(p)) + ":" + std::to_string(out.numberOf(p));
                  }));
        EXPECT_EQ(r.value, value);
        if (std::string(r.outcome) != "ok" && *r.value) {
            EXPECT_EQ(0, out.count()) << "a dictionary read from bad text stays empty";
        }
    }
}

TEST_F(StateText, TextDictionariesKeepLineBreaksOnOneLine) {
    struct Row {
        std::function<void(ALongTextDic&)> fill;
        const char* text;
        const char* described;
    } const rows[] = {
        {[](ALongTextDic&) {}, "0\n", "#0"},
        {[](ALongTextDic& d) { d.set(0, "abc"); }, "1\n1\nabc\n", "0=abc;#1"},
        {[](ALongTextDic& d) {
             d.set(4, "a\r\nb");
             d.set(-1, "");
             d.set(2, "old");
             d.set(2, "x\xE9");
         },
         "3\n0\n\n3\nx\xE9\n5\na\x02\x01" "b\n", "2=x\xE9;4=a\r\nb;#3"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        ALongTextDic dic;
        r.fill(dic);
        EXPECT_EQ(r.described, Describe(dic));
        EXPECT_EQ(r.text, written([&](AFileStream& s) { dic.write(s); }));
        ALongTextDic back;
        back.set(9, "dropped");
        EXPECT_EQ("ok", read(r.text, [&](AFileStream& s) { back.read(s); }));
        EXPECT_TRUE(back == dic);
        ALongTextDic copy;
        copy.set(8, "dropped");
        copy.copyFrom(dic);
        copy.copyFrom(copy);
        EXPECT_EQ(r.described, Describe(copy));
    }
    struct Bad {
        const char* text;
        const char* error;
    } const bad[] = {
        {"3\n1\na\n", "state text: a line expected"},
        {"1\n40000\nx\n", "state text: 40000 out of range"},
        {"1\n-32767\n", "state text: a line expected"},
        {"", "state text: a line expected"},
        {"-2\n", "state text: -2 out of range"},
    };
    for (const Bad& b : bad) {
        SCOPED_TRACE(b.text);
        ALongTextDic dic;
        dic.set(1, "before");
        EXPECT_EQ(b.error, read(b.text, [&](AFileStream& s) { dic.read(s); }));
        EXPECT_EQ("#0", Describe(dic)) << "bad text leaves the dictionary empty";
    }
}

TEST_F(StateText, SearchStatesWriteTheirTextsUnderStoredKeys) {
    struct Row {
        std::function<void(ASearchState&)> fill;
        const char* text;
        const char* described;
    } const rows[] = {
        {[](ASearchState&) {}, "0\n0\n", "#0 v0"},
        {[](ASearchState& s) {
             s.setText(3, "abc");
             s.setValue(7);
         },
         "1\n196608\nabc\n7\n", "3=abc;#1 v7"},
        {[](ASearchState& s) {
             s.setText(1, "a\nb\r");
             s.setText(0, "q");
             s.setText(1, "a\nb");
             s.setValue(-3);
         },
         "2\n0\nq\n65536\na\x01" "b\n-3\n", "0=q;1=a\nb;#2 v-3"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        ASearchState state;
        r.fill(state);
        EXPECT_EQ(r.described, Describe(state));
        EXPECT_EQ(0, state.isSaved());
        EXPECT_EQ(r.text, written([&](AFileStream& s) { state.write(s); }));
        EXPECT_EQ(1, state.isSaved());
        ASearchState back;
        EXPECT_EQ("ok", read(r.text, [&](AFileStream& s) { back.read(s); }));
        EXPECT_EQ(r.described, Describe(back));
    }
    ASearchState state;
    state.setText(3, "abc");
    EXPECT_STREQ("", state.getText(4).c_str());
    EXPECT_EQ(196608, ASearchState::storedKey(3));

    struct Bad {
        const char* text;
        const char* error;
    } const bad[] = {
        {"2\n65536\na\n131072\n", "state text: a line expected"},
        {"1\n5\na\n0\n", "state text: search text key out of range"},
        {"1\n65536\na\n", "state text: a line expected"},
        {"-1\n0\n", "state text: -1 out of range"},
        {"40000\n", "state text: 40000 out of range"},
    };
    for (const Bad& b : bad) {
        SCOPED_TRACE(b.text);
        ASearchState damaged;
        damaged.setText(2, "before");
        EXPECT_EQ(b.error, read(b.text, [&](AFileStream& s) { damaged.read(s); }));
        EXPECT_EQ("#0 v0", Describe(damaged)) << "bad text leaves no text";
    }
}

TEST(APrevNextState, MovesWithinTheRangeAndWrapsOnRequest) {
    struct Row {
        long start, end, position;
        char move;  // n next, p previous
        int16_t wrap;
        long result, after;
    } const rows[] = {
        {5, 8, 2, 'n', 0, -1, 2}, {5, 8, 2, 'n', 1, 5, 0}, {5, 8, 0, 'p', 1, 7, 2}, {5, 8, 0, 'p', 0, -1, 0},
        {5, 8, 1, 'n', 0, 7, 2},  {5, 8, 1, 'p', 0, 5, 0}, {5, 6, 0, 'n', 1, 5, 0}, {5, 6, 0, 'p', 1, 5, 0},
        {5, 5, 0, 'n', 1, -1, 0}, {5, 5, 0, 'p', 1, -1, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.start) + ".." + std::to_string(r.end) + " at " + std::to_string(r.position) +
                     " " + r.move + std::to_string(r.wrap));
        APrevNextRangeState state(r.start, r.end);
        if (state.count() > 0)
            state.setCurrent(r.position);
        EXPECT_EQ(r.result, r.move == 'n' ? state.next(r.wrap) : state.previous(r.wrap));
        EXPECT_EQ(r.after, state.getCurrent());
    }
    struct Has {
        long start, end, position;
        int16_t wrap, next, previous;
    } const has[] = {{5, 8, 0, 0, 1, 0}, {5, 8, 2, 0, 0, 1}, {5, 8, 2, 1, 1, 1},
                     {5, 6, 0, 1, 0, 0}, {5, 5, 0, 1, 0, 0}};
    for (const Has& h : has) {
        SCOPED_TRACE(std::to_string(h.end - h.start) + " at " + std::to_string(h.position));
        APrevNextRangeState state(h.start, h.end);
        if (state.count() > 0)
            state.setCurrent(h.position);
        EXPECT_EQ(h.next, state.hasNext(h.wrap));
        EXPECT_EQ(h.previous, state.hasPrevious(h.wrap));
    }
    APrevNextRangeState state(5, 8);
    state.setCurrent(1);
    EXPECT_NE(-1, FatalExitCodeOf([&] { state.setCurrent(3); }));
    ClearBoxes();
    g_reportInProgress = 0;
    EXPECT_EQ(1, state.getCurrent()) << "a refused position leaves the current one";
}
