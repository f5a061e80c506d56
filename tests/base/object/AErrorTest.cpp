// Error reports, the fatal decision and the recoverable branch.
#include "base/procedural/AError.h"
#include "base/procedural/AOutStream.h"
#include "base/procedural/BAlloc.h"
#include "base/procedural/Trace.h"
#include "tests/support/TestHooks.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Captures the error stream for the duration of a test.
struct StreamScope {
    explicit StreamScope(bool toTrace) : stream(toTrace) { SetErrorStream(&stream); }
    ~StreamScope() { SetErrorStream(nullptr); }
    CaptureStream stream;
};

// Without a trace sink every trace line goes to a box: their texts, joined.
std::string BoxTexts() {
    std::string s;
    for (const CapturedBox& b : CapturedBoxes())
        s += b.text;
    return s;
}

}  // namespace

TEST(AError, ReportsOnStreamsAndTrace) {
    struct Row {
        const AError* error;
        const char* message;
        bool toTrace;
        const char* expected;  // stream text, or the trace text
    };
    AAssertError assertAt("fcompo", 42);
    AError anonymous(nullptr, 7);
    AKYError ky("kyfile", 3, 2003);
    AKYError ansi("kyfile", 4, 0x10002);
    AKYError mac("kyfile", 5, 0x2FFFF);
    AFileError other("kyfile", 6, 0x30001);
    std::string ansiText = std::string("#[Ansi Error : 2 [") + strerror(2) + "]]\n";
    std::string ansiExpected = "#AKYError Exception : \nFile kyfile ; Line 4\n" + ansiText;
    Row rows[] = {
        {&assertAt, "boom", true, "#AAssertError Exception; File fcompo; Line 42 [boom]\n"},
        {&anonymous, "x", true, "#AError Exception; File ?; Line 7 [x]\n"},
        {&assertAt, "boom", false, "#AAssertError Exception : boom\nFile fcompo ; Line 42\n"},
        {&anonymous, "", false, "#AError Exception : \nFile ? ; Line 7\n"},
        {&ky, "", false, "#AKYError Exception : \nFile kyfile ; Line 3\n#[KY Error : 2003]\n"},
        {&ansi, "", false, ansiExpected.c_str()},
        {&mac, "", false, "#AKYError Exception : \nFile kyfile ; Line 5\n#[Mac OS Error : -1]\n"},
        {&other, "", false, "#AFileError Exception : \nFile kyfile ; Line 6\n#[Unknown Error : 196609]\n"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.expected);
        ClearBoxes();
        std::strcpy(g_errorMessage, r.message);
        CaptureStream stream(r.toTrace);
        r.error->report(stream);
        EXPECT_EQ(r.expected, r.toTrace ? BoxTexts() : stream.text);
        EXPECT_EQ("", r.toTrace ? stream.text : BoxTexts());
    }
}

TEST(AError, TraceErrorCodeForms) {
    struct Row {
        long code;
        std::string expected;
    } rows[] = {
        {0x0000FFFF, "#KY Error : -1\n"},
        {2003, "#KY Error : 2003\n"},
        {0x10002, std::string("#Ansi Error : 2 [") + strerror(2) + "]\n"},
        {0x20000, "#Unknown Error : 131072\n"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.code);
        ClearBoxes();
        TraceErrorCode(0, r.code);
        EXPECT_EQ(r.expected, BoxTexts());
    }
    ClearBoxes();
    TraceLevel(1, "not printed\n");
    EXPECT_TRUE(CapturedBoxes().empty());
}

TEST(AError, FatalErrorsEndTheProcessWithNonZeroCode) {
    StreamScope scope(false);
    EXPECT_GT(FatalExitCodeOf([] { ThrowAssert("fcompo", 12); }), 0);
    EXPECT_EQ("#AAssertError Exception : \nFile fcompo ; Line 12\n", scope.stream.text);
    ASSERT_EQ(1u, CapturedBoxes().size());
    EXPECT_EQ("AAssertError", CapturedBoxes()[0].caption);
    EXPECT_EQ("File fcompo;line 12\n", CapturedBoxes()[0].text);
    EXPECT_EQ(0x30u, CapturedBoxes()[0].flags);
    EXPECT_EQ(0, g_reportInProgress);
}

TEST(AError, ThrowableErrorsReachTheCaller) {
    StreamScope scope(false);
    std::strcpy(g_errorMessage, "bad file");
    try {
        ThrowTyped(ALocalError("xmlin", 9));
        FAIL() << "not thrown";
    } catch (const AThrowableError& e) {
        EXPECT_STREQ("ALocalError", e.className());
        EXPECT_EQ(9, e.line());
        EXPECT_TRUE(e.isThrowable());
    }
    EXPECT_TRUE(CapturedBoxes().empty()) << "a recoverable error shows no box";
    EXPECT_EQ("#ALocalError Exception : bad file\nFile xmlin ; Line 9\n", scope.stream.text);
}

TEST(AError, CheckAllocPassesPointersAndMessagesAreBounded) {
    std::strcpy(g_errorMessage, "kept");
    int x = 0;
    EXPECT_EQ(&x, CheckAlloc(&x, "f", 1));
    EXPECT_STREQ("kept", g_errorMessage);
    EXPECT_GT(FatalExitCodeOf([] { CheckAlloc(static_cast<void*>(nullptr), "bstring", 3); }), 0);

    std::string longText(300, 'a');
    EXPECT_GT(FatalExitCodeOf([&] { FormatErrorMessage("%s", longText.c_str()); }), 0);
    ASSERT_FALSE(CapturedBoxes().empty());
    EXPECT_EQ("File berror;line 260\n", CapturedBoxes().back().text.substr(0, 21));
}

TEST(AError, ErrorDuringReportEndsAtOnce) {
    g_reportInProgress = 1;
    EXPECT_GT(FatalExitCodeOf([] { ThrowTyped(AThrowableError("x", 1)); }), 0);
    EXPECT_TRUE(CapturedBoxes().empty()) << "no second report";
}

TEST(Trace, OverlongLinesAreCutNotFatal) {
    std::string line(kTraceBufferSize + 50, 'x');
    TracePrint("%s", line.c_str());
    ASSERT_EQ(1u, CapturedBoxes().size());
    const std::string& shown = CapturedBoxes()[0].text;
    EXPECT_EQ(static_cast<size_t>(kTraceBufferSize - 1), shown.size());
    EXPECT_EQ(kTraceCutMark, shown.substr(shown.size() - std::strlen(kTraceCutMark)));

    ClearBoxes();
    std::string fits(kTraceBufferSize - 1, 'y');
    TracePrint("%s", fits.c_str());
    EXPECT_EQ(fits, BoxTexts());
}

TEST(Trace, ErrorTextRaisesAsAssertion) {
    KY_SetErrorText("#KY_Thing: %d%%", 5);
    EXPECT_STREQ("#KY_Thing: 5%", KY_GetErrorText());
    EXPECT_GT(FatalExitCodeOf([] { KY_RaiseError("strlib", 33); }), 0);
    EXPECT_STREQ("#KY_Thing: 5%", g_errorMessage);

    char* dup = KY_StrDup("", "t", 1);
    EXPECT_STREQ("", dup);
    KY_Free(dup);
    EXPECT_EQ(nullptr, KY_StrDup(nullptr, "t", 1));
}

// Null streams may end in any order: once the default one goes, the error
// stream falls back to the static instance, never to one already gone.
TEST(AOutStream, NullStreamsEndingOutOfOrderLeaveNoDanglingDefault) {
    SetErrorStream(nullptr);
    ANullOutStream* first = new ANullOutStream;
    ANullOutStream* second = new ANullOutStream;
    EXPECT_EQ(second, &CurrentErrorStream());
    delete first;
    delete second;
    AOutStream& now = CurrentErrorStream();
    EXPECT_NE(static_cast<void*>(first), static_cast<void*>(&now));
    EXPECT_NE(static_cast<void*>(second), static_cast<void*>(&now));
    EXPECT_TRUE(now.writesToTrace());
    ANullOutStream* third = new ANullOutStream;
    EXPECT_EQ(third, &CurrentErrorStream()) << "a new null stream replaces the default in use";
    delete third;
    SetErrorStream(nullptr);
}

namespace {
bool g_idleWanted;
bool g_idleReenters;
int g_idleRuns;
}  // namespace

// Idle work runs when wanted and more than 100 ms after the last run; idle
// work that itself yields (a cache read inside a handler) does not nest.
TEST(AError, YieldRunsIdleWorkAtMostEvery100Ms) {
    AppErrorHooks hooks = {nullptr, nullptr, [] { return g_idleWanted; },
                           [] {
                               ++g_idleRuns;
                               if (g_idleReenters)
                                   YieldToApplication();
                           }};
    SetAppErrorHooks(&hooks);
    struct Row {
        uint32_t clock;
        bool wanted;
        bool reenters;
        int runs;
    } rows[] = {
        {1000000, true, false, 1},  {1000100, true, false, 0}, {1000101, true, false, 1},
        {1000500, false, false, 0}, {1000600, true, true, 1},  {1000650, true, true, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.clock);
        TestClock() = r.clock;
        g_idleWanted = r.wanted;
        g_idleReenters = r.reenters;
        g_idleRuns = 0;
        YieldToApplication();
        EXPECT_EQ(r.runs, g_idleRuns);
    }
    SetAppErrorHooks(nullptr);
    TestClock() = 0;
}

// The current error outlives the object that raised it: it is the class's
// prototype, for the root class too; what flies is a plain AError.
TEST(AError, RaisedErrorsLeaveTheirPrototypeCurrent) {
    struct Row {
        const char* name;
        AError* raiser;
        const AError* prototype;
    } rows[] = {
        {"AError", new AError("dobject", 5), &AError::prototype},
        {"AMemError", new AMemError("balloc", 6), &AMemError::prototype},
        {"AFileError", new AFileError("kyfile", 77, 2005), &AFileError::prototype},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        long line = r.raiser->line();
        try {
            r.raiser->raise();
        } catch (const AError& e) {
            EXPECT_STREQ("AError", e.className());
        }
        delete r.raiser;
        ASSERT_EQ(r.prototype, AError::current());
        EXPECT_EQ(line, AError::current()->line());
        EXPECT_STREQ(r.name, AError::current()->className());
    }
    EXPECT_EQ(2005, AFileError::prototype.code());
    EXPECT_EQ(3, AFileError::currentMark + AKYError::currentMark + AError::currentMark) << "marked up to the root";
    AError::setCurrent(nullptr);
    EXPECT_EQ(0, AFileError::currentMark + AKYError::currentMark + AError::currentMark);
}
