// The application's type-ahead search: the row an edit text finds, plain and
// through a filter, and where the list is asked to scroll.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "app/lexicon/ASVSearchInList.h"
#include "base/object/ASortedArray.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/render/ATextRenderer.h"
#include "framework/components/AKindSet.h"
#include "framework/controls/AEditBox.h"
#include "tests/framework/clusters/ClusterTestSupport.h"

namespace {

// The index places "entry N" at entry N; scrolls are logged as "top,prepare".
class RecordingSearch : public ASVFilterSearchInList {
public:
    using ASVFilterSearchInList::ASVFilterSearchInList;
    long entryOfText(const char* text) override {
        std::string t(text);
        return t.rfind("entry ", 0) == 0 ? std::stol(t.substr(6)) : 0;
    }
    void scrollToLine(ARenderer* renderer, long top, long prepare) override {
        (void)renderer;
        scrolls = std::to_string(top) + "," + std::to_string(prepare);
    }
    std::string scrolls;
};

class SearchInListTest : public ClusterTest {};

}  // namespace

TEST_F(SearchInListTest, TheFoundRowStandsFiveRowsBelowTheTopThroughAnyFilter) {
    auto* window = new TestWindow(app, ARect(0, 0, 300, 200), "");
    AObject::completeNew(window);
    if (!window->openWindow("liste"))
        GTEST_SKIP() << "no X display";
    auto* edit = new AEditBox(window, 20, ASizeSpec(ARect(0, 0, 100, 20)), 0, "");
    AObject::completeNew(edit);
    auto* list = new AStandardView(window, 21, ASizeSpec(ARect(0, 30, 300, 200)));
    AObject::completeNew(list);
    auto* renderer = new ATextRenderer(list->rendererLayer());
    list->rendererLayer()->setRenderer(renderer);

    ASortedArray tens, small;
    for (int v : {10, 20, 30})
        tens.append(v);
    for (int v : {1, 2, 3})
        small.append(v);
    auto* search = new RecordingSearch(window, nullptr, 20, 21, nullptr, 0);
    AObject::completeNew(search);
    struct Row {
        const char* text;
        ASortedArray* filter;
        const char* scrolls;
    } const rows[] = {
        {"entry 2", nullptr, "-3,5"},   // unfiltered: the entry is the row
        {"entry 40", nullptr, "35,5"},
        {"entry 25", &tens, "-3,5"},    // row 2: entry 30, the first not below 25
        {"entry 20", &tens, "-4,5"},    // an entry the filter holds is its own row
        {"entry 5", &tens, "-5,5"},     // before every shown entry: the first row
        {"entry 25", &small, "-2,5"},   // past every shown entry: the filter's count
        {"nothing", nullptr, "-5,5"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        search->setFilter(r.filter);
        search->scrolls.clear();
        edit->setText(r.text);
        AKindSet kinds;
        kinds.add(6);
        edit->notify(kinds);
        EXPECT_EQ(r.scrolls, search->scrolls);
    }
}
