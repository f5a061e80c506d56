// The text renderer's press feedback and help texts, hit navigators over
// derived models, the layer's export provider and the renderer's model
// builders, driven without a native window.
#include <gtest/gtest.h>

#include <string>

#include "base/object/AFile.h"
#include "base/object/AFilteredFile.h"
#include "docengine/hilite/AHighlighter.h"
#include "docengine/hilite/AHiliteSet.h"
#include "docengine/model/ALaidOutDocModel.h"
#include "docengine/render/AHitNavigator.h"
#include "tests/docengine/render/RenderTestSupport.h"

namespace {

// "mot" at 8, 22 (inside the closed section) and 46.
const char kSections[] = "Premier mot {C#second mot cache} puis\ndernier mot\n";

class RenderTextTest : public RenderTest {
protected:
    // A laid-out model of kSections whose own highlighter finds the word "mot".
    void makeSections() {
        makeView();
        ARefHold<AHiliteSet> words(new AHiliteSet("mot", " .,;:'", AFilter()));
        ARefHold<AHighlighter> h(new AHighlighter(words.get(), nullptr));
        ARefHold<AStringReader> reader(new AStringReader(kSections, -1));
        ARefHold<ALineSegParser> segments(new ALineSegParser(reader.get()));
        ARefHold<ATextFragParser> fragments(new ATextFragParser('/'));
        model = new ALaidOutDocModel(segments.get(), fragments.get(), h.get());
        model->addRef();
        install();
    }
};

}  // namespace

TEST_F(RenderTextTest, DerivedNavigatorsCountHiddenHitsAndFoldBackWhatTheyOpened) {
    makeSections();
    const long length = model->getLength();
    const long visible = model->getPositionCount();
    ASSERT_LT(visible, length);
    struct Row {
        uint16_t flags;
        const char* shown;  // each hit shown in turn: its index, then whether the section is open
        long last;
    } rows[] = {
        {0x1 | 0x2 | 0x10 | 0x100, "8 closed|22 open|46 closed|", 46},
        {0x1 | 0x10, "8 closed|22 open|46 open|", 46},
        // Counted in the shown model, a hidden hit has no index: the last hit is at its visible position.
        {0x10, "8 closed|29 closed|", 29},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shown);
        model->collapseAll(0);
        AModelHitNavigator nav(renderer, row.flags);
        std::string shown;
        for (int steps = 0; steps < 5 && nav.showNextHit(); ++steps) {
            shown +=
                std::to_string(nav.currentHit().start) + (model->getPositionCount() == length ? " open|" : " closed|");
            if (row.flags & 0x100) {
                EXPECT_EQ("mot", std::string(model->exportSelection(nullptr, false).c_str()));
            }
        }
        EXPECT_EQ(row.shown, shown);
        EXPECT_EQ(row.last, nav.lastHitIndex());
    }
    ASSERT_NE(nullptr, model->getHighlighter());
    AHighlighterHook* own = model->getHighlighter();
    ARangeArray others;
    others.addRange(ARange{0, 7});
    ASearchHitNavigator search(renderer, 0x10);
    search.attachModel(model, &others);
    EXPECT_EQ(0, search.firstHitIndex());
    EXPECT_EQ(0, search.lastHitIndex());
    EXPECT_EQ(own, model->getHighlighter()) << "the shown model keeps its own highlighting";
}
