// The application toolkit: the date text from a test clock, and the table
// separator installed on a view's renderer.
#include <gtest/gtest.h>

#include <string>

#include "app/pane/AppToolKit.h"
#include "docengine/model/AFragParser.h"
#include "tests/docengine/render/RenderTestSupport.h"
#include "tests/support/TestHooks.h"

namespace {

std::tm g_today;

std::tm Today() {
    return g_today;
}

class ToolKitTest : public RenderTest {};

}  // namespace

TEST(AppToolKit, WritesTheDateWithTheYearInItsCentury) {
    struct Row {
        int day, month, year;
        const char* text;
    } const rows[] = {{5, 3, 2005, "05-03-05"}, {31, 12, 1999, "31-12-99"}, {1, 1, 2000, "01-01-00"},
                      {29, 2, 2024, "29-02-24"}, {9, 10, 2100, "09-10-00"}};
    AppToolKit toolkit(&Today);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        g_today = std::tm{};
        g_today.tm_mday = r.day;
        g_today.tm_mon = r.month - 1;
        g_today.tm_year = r.year - 1900;
        EXPECT_STREQ(r.text, toolkit.dateText().c_str());
    }
    EXPECT_EQ(8, AppToolKit().dateText().length()) << "the system's clock";
}

TEST_F(ToolKitTest, ASecondSeparatorReplacesTheFirstTableReader) {
    make("Un texte\n");
    AppToolKit toolkit;
    toolkit.setKytabSeparator(view, '*');
    ASubParser* first = model->getFragParser()->subParser();
    ASSERT_NE(nullptr, first);
    first->addRef();
    EXPECT_EQ(2, first->refCount());
    toolkit.setKytabSeparator(view, '#');
    ASubParser* second = model->getFragParser()->subParser();
    EXPECT_NE(first, second);
    EXPECT_EQ(1, first->refCount()) << "the parser let the first one go";
    EXPECT_EQ(1, second->refCount());
    first->release();
    EXPECT_NE(-1, FatalExitCodeOf([&] { toolkit.setKytabSeparator(nullptr, '*'); }));
    ClearBoxes();
    g_reportInProgress = 0;
}
