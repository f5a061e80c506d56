// The media view sends a printed page to its chosen layer only, hidden or not.
#include <gtest/gtest.h>

#include <string>

#include "app/views/AMediaView.h"
#include "framework/views/ALayerView.h"
#include "tests/reader/AppMainTestSupport.h"

namespace {

// A layer that records the pages it is asked to draw.
class PageLayer : public AViewLayer {
public:
    PageLayer(AComponent* parent, int16_t layerId, std::string& log)
        : AViewLayer(parent, layerId, ASizeSpec()), log_(log) {}
    void drawPage(const ARect&, long page, bool) override { log_ += std::to_string(id()) + ":" + std::to_string(page) + ";"; }

private:
    std::string& log_;
};

// A media view with the test's layers in place of its picture and text layers.
class BareMediaView : public AMediaView {
public:
    using AMediaView::AMediaView;
    void childrenLoaded() override { ARendererView::childrenLoaded(); }
};

TEST_F(TheAppTest, AMediaViewPrintsTheChosenLayerOnly) {
    std::string log;
    auto* view = new BareMediaView(app, int16_t(7), ASizeSpec());
    AObject::completeNew(view);
    auto* first = new PageLayer(view, int16_t(1), log);
    AObject::completeNew(first);
    auto* second = new PageLayer(view, int16_t(2), log);
    AObject::completeNew(second);
    ASSERT_EQ(2, view->layerCount());
    struct Row {
        int16_t layerSwitch;
        uint16_t firstState;
        const char* printed;
    } const rows[] = {{0, 0, "1:3;"}, {0, 1, "1:3;"}, {1, 0, "2:3;"}, {1, 1, "2:3;"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.layerSwitch << " " << r.firstState);
        log.clear();
        view->layerSwitch = r.layerSwitch;
        view->setLayerState(0, r.firstState);
        view->drawPage(ARect(0, 0, 100, 100), 3, true);
        EXPECT_EQ(r.printed, log);
    }
    // The plain hot-spot view skips a hidden layer.
    log.clear();
    view->setLayerState(0, 1);
    view->AHotspotView::drawPage(ARect(0, 0, 100, 100), 4, true);
    EXPECT_EQ("2:4;", log);
    AComponent* root = view;
    DeleteComponent(root);
}

}  // namespace
