// A layout of the parts that panes place: every class loads from its record,
// the sizer button's helpers act and go, and the loaded parts work.
#include <gtest/gtest.h>

#include <string>

#include "framework/extras/AProgressBar.h"
#include "framework/files/AFileChooser.h"
#include "framework/files/AFileHandler.h"
#include "framework/views/ACustomScrollBar.h"
#include "framework/views/ASizerButton.h"
#include "tests/framework/clusters/ClusterTestSupport.h"

TEST_F(ClusterTest, ALayoutOfASizerAProgressBarACustomBarAndFileHandlersLoadsAndWorks) {
    auto* window = Open<TestWindow>(app, ARect(0, 0, 300, 200), nullptr);
    window->setPlaced(true);  // no native window lays the tree out here
    AComponent* loaded = AComponent::loadLayout(window, "PaneParts", 0);
    ASSERT_NE(nullptr, loaded) << errors.text;
    Shown(static_cast<ADisplayComponent*>(loaded->castTo(&ADisplayComponent::classRecord)));
    struct Row {
        int16_t id;
        const char* className;
    } rows[] = {{404, "ASizerButton"},   {405, "AProgressBar"},     {406, "ACustomScrollBar"}, {892, "ASliderButton"},
                {407, "AFileHandler"},   {408, "AFileMenuHandler"}, {409, "AFileOpener"},      {410, "AFileChooser"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.id);
        AComponent* c = loaded->findById(r.id, 0);
        ASSERT_NE(nullptr, c);
        EXPECT_EQ(std::string(r.className), c->getClass()->name());
    }

    // The sizer with its helpers' work done; they go from the queue.
    auto* sizer = static_cast<ASizerButton*>(loaded->findById(404, 0));
    EXPECT_EQ(2, sizer->paneCount(0)) << "the node adder's pane joins the after side";
    EXPECT_EQ(1, sizer->paneCount(1));
    EXPECT_EQ(ARect(20, 0, 0x7FFFFFFF, 0x7FFFFFFF), sizer->boundary()) << "the constrainer's boundary";
    EXPECT_EQ(7, sizer->getSizeSpec().edges[1].value) << "the setter's top edge";
    app->commandQueue().run();
    EXPECT_EQ(0, sizer->children().count()) << "the helpers deleted themselves";
    sizer->trackStart();
    sizer->trackMove(APoint(30, 50), true);
    sizer->trackEnd(APoint(30, 50));
    EXPECT_EQ(130, sizer->getSizeSpec().edges[0].value);
    auto* joined = static_cast<ADisplayComponent*>(loaded->findById(403, 0));
    EXPECT_EQ(134, joined->getSizeSpec().edges[0].value);

    auto* progress = static_cast<AProgressBar*>(loaded->findById(405, 0));
    progress->setMaximum(10);
    progress->setPosition(5);
    EXPECT_EQ(50, progress->fillEdge());

    // The bar sizes its slider by the page, unless the slider is not resizable.
    auto* bar = static_cast<ACustomScrollBar*>(loaded->findById(406, 0));
    EXPECT_EQ(450, bar->value());
    ASliderButton* thumb = bar->thumb();
    ASSERT_EQ(thumb, loaded->findById(892, 0));
    bar->setRange(0, 900, 100, false);
    bar->setValue(450, false);
    EXPECT_EQ(20, thumb->getFrame().height());
    EXPECT_EQ(90, thumb->getFrame().top());
    thumb->setResizable(false);
    bar->setRange(0, 100, 900, false);
    EXPECT_EQ(20, thumb->getFrame().height()) << "a slider that is not resizable keeps its size";

    auto* handler = static_cast<AFileHandler*>(loaded->findById(407, 0));
    auto* menu = static_cast<AFileMenuHandler*>(loaded->findById(408, 0));
    EXPECT_EQ(handler, menu->handler()) << "the menu handler found its document handler";
    EXPECT_EQ(loaded->findById(409, 0), AFileOpener::find(409)) << "the opener is listed";
}
