// Shared pieces of the renderer tests: a display of fixed-width bytes, a
// text renderer whose menus are recorded, and a standard view holding one
// over a model, laid out in a window that is never shown.
#pragma once

#include <string>
#include <vector>

#include "docengine/lines/ARunDisplay.h"
#include "docengine/model/AIndexedDocModel.h"
#include "docengine/parser/ASegParser.h"
#include "docengine/parser/ATextFragParser.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/render/ATextRenderer.h"
#include "docengine/text/AStringReader.h"
#include "framework/controls/APopupMenu.h"
#include "tests/framework/views/ViewTestSupport.h"

// Every byte is 6 pixels wide; lines are 14 pixels high.
class FixedDisplay : public ARunDisplay {
public:
    ARunExtent extent(AStyleFont*, const char*, long length) override { return ARunExtent{6 * length, 14, 10}; }
    long indexAtX(AStyleFont*, const char*, long length, long x, int16_t& flag) override {
        long i = x / 6;
        flag = 2 * (x - 6 * i) <= 6 ? 1 : 0;
        long b = flag ? i : i + 1;
        return b < 0 ? 0 : b > length ? length : b;
    }
    long drawText(AStyleFont*, long, long, const char*, long length, uint32_t) override { return 6 * length; }
    void fillRect(const ARect&, uint32_t) override {}
    void eraseRect(const ARect&) override {}
    void drawBitmap(ABitmapRef*, const ARect&, long, int) override {}
    ARunExtent bitmapSize(ABitmapRef*) override { return ARunExtent{16, 16, 0}; }
};

// Records the menus it is asked to show and answers a chosen item.
class MenuTextRenderer : public ATextRenderer {
public:
    using ATextRenderer::ATextRenderer;
    int16_t chooseFromMenu(APopupMenu* menu) override {
        std::string items;
        for (int16_t i = 0; i < menu->countItems(); ++i)
            items += (i ? "|" : "") + std::string(menu->getItemText(i).c_str());
        menus.push_back(items);
        return choice;
    }
    void layoutFrom(long code) override {
        ++layouts;
        ATextRenderer::layoutFrom(code);
    }
    std::vector<std::string> menus;
    int16_t choice = -1;
    int layouts = 0;
};

const char kText[] = "Un texte de quelques mots pour voir\nUne seconde ligne de texte\n";

class RenderTest : public ViewTest {
protected:
    // A standard view in a window that is never shown, with a text renderer on its layer.
    void make(const char* text = kText, AHighlighterHook* highlighter = nullptr) {
        makeView();
        makeModel(text, highlighter);
        install();
    }
    void makeModel(const char* text, AHighlighterHook* highlighter = nullptr) {
        AStringReader* reader = new AStringReader(text, -1);
        reader->addRef();
        auto* segments = new AReaderSegParser(reader);
        segments->addRef();
        auto* fragments = new ATextFragParser('/');
        fragments->addRef();
        model = new AIndexedDocModel(segments, fragments, highlighter);
        model->addRef();
        reader->release();
        segments->release();
        fragments->release();
    }
    // Shows the model (one reference held by the test) in the renderer.
    void install() {
        view->rendererLayer()->setRenderer(renderer);
        renderer->setModel(model);
        renderer->setFrame(ARect(0, 0, 300, 200), false);
        renderer->attach();
        renderer->relayoutFrom(0, true);
    }
    void makeView() {
        window = Open<TestWindow>(app, ARect(0, 0, 320, 220), "#background:255,255,255");
        view = Shown(Open<AStandardView>(window, int16_t(7), Frame(0, 0, 300, 200)));
        ASSERT_NE(nullptr, view->rendererLayer()) << "the standard view made its layer";
        view->setMouseSensitive(0);  // as the application leaves its text views
        renderer = new MenuTextRenderer(view->rendererLayer(), &display);
        renderer->addRef();
        renderer->options |= TextOptions::kPlainSelection;
    }
    void TearDown() override {
        if (renderer) {
            renderer->markerCallBack = nullptr;
            renderer->menuCallBack = nullptr;
            renderer->release();
        }
        if (model)
            model->release();
        ViewTest::TearDown();
    }
    std::string selection() {
        ADocRange r = model->GetSelection();
        return std::to_string(r.start) + "," + std::to_string(r.end);
    }
    APoint pointOf(long position) {
        AHitRecord h = renderer->hitOfPosition(position);
        return h.point;
    }

    FixedDisplay display;
    AStandardView* view = nullptr;
    MenuTextRenderer* renderer = nullptr;
    AIndexedDocModel* model = nullptr;
};
