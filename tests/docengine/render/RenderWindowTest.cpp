// A standard view made from a layout in a shown window: mouse and keys sent
// to the window select text, the pictures of an article with a highlighted
// hit, a note mark and pictures are kept, and a three-page article printed to
// the PDF printer comes back whole and in order.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

#include "docengine/hilite/AHighlighter.h"
#include "docengine/hilite/AMarkerCallBack.h"
#include "docengine/lines/ARunDisplay.h"
#include "docengine/model/AHiliteRangeMap.h"
#include "docengine/model/AIndexedDocModel.h"
#include "docengine/render/AHitNavigator.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/render/ATextRenderer.h"
#include "docengine/lines/ADataRun.h"
#include "docengine/styles/ABitmapSupplier.h"
#include "docengine/styles/AStyleSheet.h"
#include "framework/display/APrintRange.h"
#include "framework/printing/APrinter.h"
#include "framework/printing/APrinterSetup.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"
#include "tests/framework/views/ViewTestSupport.h"
#include "tests/support/TestHooks.h"

namespace {

const char kArticle[] =
    "/$/AVolcan/$\n"
    "Un volcan est un relief terrestre ou sous-marin form\xE9 par l'accumulation de mat\xE9riaux issus de la mont\xE9"
    "e d'un magma.\n"
    "Les volcans se forment le plus souvent aux fronti\xE8res des plaques tectoniques.\n"
    "Le magma remonte par une chemin\xE9"
    "e et s'\xE9panche en coul\xE9"
    "es de lave ou se fragmente en cendres.\n";

// Real input at a client point of the window.
void Mouse(HWND window, int x, int y, DWORD buttons) {
    POINT p = {x, y};
    ClientToScreen(window, &p);
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = LONG((p.x * 65536 + 32768) / GetSystemMetrics(SM_CXSCREEN));
    in.mi.dy = LONG((p.y * 65536 + 32768) / GetSystemMetrics(SM_CYSCREEN));
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
    SendInput(1, &in, sizeof in);
}

void Key(WORD key, DWORD flags) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = key;
    in.ki.dwFlags = flags;
    SendInput(1, &in, sizeof in);
}

class MarkerLog : public AMarkerCallBack {
public:
    void editMarker(long id) override { log += "edit " + std::to_string(id) + ";"; }
    void markerMoved(long id, long to) override {
        log += "moved " + std::to_string(id) + ">" + std::to_string(to) + ";";
    }
    std::string log;
};

// Pictures by name: files of the test's pictures folder, none for other names.
class FolderPictures : public ABitmapSupplier {
public:
    ~FolderPictures() override {
        for (auto& p : made_)
            p.second->release();
    }
    ABitmapRef* bitmapNamed(const AString& name) override {
        std::string n(name.c_str());
        if (n != "photo" && n != "abime")
            return nullptr;
        ABitmapRef*& slot = made_[n];
        if (!slot) {
            slot = new ABitmapRef(ABitmapSpec::fromFile((std::string(SV_PICTURES) + n + ".jpg").c_str(), 0, 1));
            slot->addRef();
        }
        return slot;
    }

private:
    std::map<std::string, ABitmapRef*> made_;
};

class RenderWindowTest : public ViewTest {
protected:
    // The layout's standard view in a shown window with a text renderer over text; false without a display.
    bool open(const char* text, AHighlighterHook* highlighter, const std::function<void()>& prepare = nullptr) {
        window = Open<TestWindow>(app, ARect(0, 0, 440, 320), "#background:255,255,255");
        if (!window->openWindow("render"))
            return false;
        AComponent* loaded = AComponent::loadLayout(window, "RenderLayout", 0);
        EXPECT_NE(nullptr, loaded);
        if (loaded)
            dynamic_cast<ADisplayComponent*>(loaded)->show(false);
        sv = loaded ? dynamic_cast<AStandardView*>(loaded->findById(302, 0)) : nullptr;
        EXPECT_NE(nullptr, sv);
        if (!sv || !sv->rendererLayer())
            return false;
        renderer = new ATextRenderer(sv->rendererLayer());
        renderer->addRef();
        renderer->options |= TextOptions::kPlainSelection;
        if (prepare)
            prepare();
        renderer->setTextModel(text, nullptr);
        if (highlighter)
            renderer->model()->setHighlighter(highlighter);
        sv->rendererLayer()->setRenderer(renderer);
        renderer->attach();
        window->showUpdate();
        app->flushUpdates();
        Pump();
        return true;
    }
    void TearDown() override {
        if (renderer)
            renderer->release();
        ViewTest::TearDown();
    }
    // The window redrawn and copied into the canvas, kept under the name in the artifacts.
    void capture(Canvas& canvas, const char* name) {
        sv->invalidate();
        window->showUpdate();
        app->flushUpdates();
        Pump();
        HDC dc = GetDC(window->hwnd());
        BitBlt(canvas.dc(), 0, 0, 440, 320, dc, 0, 0, SRCCOPY);
        ReleaseDC(window->hwnd(), dc);
        EXPECT_FALSE(canvas.savePng(name).empty());
    }
    std::string selection() {
        ADocRange r = renderer->model()->GetSelection();
        return std::to_string(r.start) + "," + std::to_string(r.end);
    }
    // A press at one position and a release at another, moving between.
    void drag(long from, long to) {
        ARect a = renderer->caretRect(from);
        ARect b = renderer->caretRect(to);
        int ya = (a.first.y + a.second.y) / 2, yb = (b.first.y + b.second.y) / 2;
        Mouse(window->hwnd(), a.second.x + 1, ya, MOUSEEVENTF_LEFTDOWN);
        Pump();
        Mouse(window->hwnd(), b.second.x + 1, yb, 0);
        Pump();
        Mouse(window->hwnd(), b.second.x + 1, yb, MOUSEEVENTF_LEFTUP);
        Pump();
    }
    void click(long position, WPARAM keys) {
        ARect c = renderer->caretRect(position);
        if (keys & MK_SHIFT)
            Key(VK_SHIFT, 0);
        Mouse(window->hwnd(), c.second.x + 1, (c.first.y + c.second.y) / 2, MOUSEEVENTF_LEFTDOWN);
        Pump();
        Mouse(window->hwnd(), c.second.x + 1, (c.first.y + c.second.y) / 2, MOUSEEVENTF_LEFTUP);
        Pump();
        if (keys & MK_SHIFT)
            Key(VK_SHIFT, KEYEVENTF_KEYUP);
        Pump();
    }

    AStandardView* sv = nullptr;
    ATextRenderer* renderer = nullptr;
};

}  // namespace

TEST_F(RenderWindowTest, MouseAndKeysSentToTheWindowSelectText) {
    if (!open("Une phrase assez courte pour une ligne.\nEt une seconde ligne.\n", nullptr))
        GTEST_SKIP() << "no display";
    SetForegroundWindow(window->hwnd());
    ASSERT_TRUE(renderer->state & RendererBits::kLaidOut);
    ASSERT_GT(renderer->caretRect(1).second.y, 0);
    click(1, 0);
    EXPECT_EQ("1,1", selection());
    ARect caret = renderer->caret();
    EXPECT_EQ(1, caret.second.x - caret.first.x) << "a one-pixel caret";
    click(5, MK_SHIFT);
    EXPECT_EQ("1,5", selection());
    click(8, MK_SHIFT);
    EXPECT_EQ("1,8", selection());
    click(0, MK_SHIFT);
    EXPECT_EQ("0,8", selection()) << "before the reference end: the current end stays";
    click(3, 0);
    sv->becomeTarget();
    sendKey(window->hwnd(), VK_RIGHT, true);
    sendKey(window->hwnd(), VK_RIGHT, true);
    EXPECT_EQ("3,5", selection());
    sendKey(window->hwnd(), VK_LEFT);
    EXPECT_EQ("4,4", selection());
    sv->doCommand(35, 0);
    EXPECT_EQ("0," + std::to_string(renderer->model()->getLength()), selection());
}

TEST_F(RenderWindowTest, PictureOfAnArticleWithAHighlightedHitAndANoteMark) {
    ARangeArray ranges;
    ranges.addRange(ARange{30, 36});
    auto* h = new AHighlighter(nullptr, &ranges);
    h->addRef();
    bool shown = open(kArticle, h);
    h->release();
    if (!shown)
        GTEST_SKIP() << "no display";
    auto* map = new AHiliteRangeMap("60,1,");
    map->addRef();
    renderer->model()->setAttachment(map);
    map->release();
    ASSERT_NE(nullptr, renderer->hitNavigator());
    EXPECT_EQ(30, renderer->hitNavigator()->firstHitIndex());
    Canvas canvas(440, 320);
    capture(canvas, "render-article");
    ARect hit = renderer->rangeBounds(30, 36);
    EXPECT_EQ(COLORREF(renderer->hitColour), canvas.pixel(hit.first.x + 1, hit.first.y + 1))
        << "the hit is highlighted";
    // Before the highlighted word, the last ink of the word before it lies one blank away, give or take the
    // letter's right bearing (up to 2 pixels at this size).
    long blank;
    {
        AViewMeasureLock lock(sv);
        blank = AGdiRunDisplay().extent(renderer->styleSheet()->getFont(0, 0), " ", 1).width;
    }
    int lastInk = -1;
    for (int x = 0; x < hit.first.x; ++x)
        for (int y = hit.first.y; y < hit.second.y; ++y)
            if (canvas.pixel(x, y) != RGB(255, 255, 255))
                lastInk = x;
    long gap = hit.first.x - lastInk - 1;
    EXPECT_GE(gap, blank - 1);
    EXPECT_LE(gap, blank + 2) << "hit at " << hit.first.x << ", last ink at " << lastInk;
    // The text keeps out of the view's right margin.
    ARect frame = renderer->frame();
    long margin = renderer->lines()->margin;
    EXPECT_EQ(0, canvas.inkIn(ARect(static_cast<int32_t>(frame.second.x - margin), frame.first.y, frame.second.x,
                                    frame.second.y)));
    for (long p = 0; p < renderer->model()->getLength(); ++p) {
        SCOPED_TRACE(p);
        EXPECT_EQ(p, renderer->hitOfPosition(p).position) << "found again from its own x";
    }
}

TEST_F(RenderWindowTest, APressReleasedOnANoteMarkEditsItAndADragMovesIt) {
    if (!open("Un mot puis un autre mot pour la note.\n", nullptr))
        GTEST_SKIP() << "no display";
    SetForegroundWindow(window->hwnd());
    MarkerLog markers;
    auto* map = new AHiliteRangeMap("3,5,");
    map->addRef();
    renderer->model()->setAttachment(map);
    renderer->markerCallBack = &markers;
    renderer->noteMode = 3;
    drag(3, 3);
    EXPECT_EQ("edit 5;", markers.log) << "a click on a mark opens it";
    Sleep(GetDoubleClickTime() + 50);  // the second press is not a double click
    drag(3, 12);
    EXPECT_EQ("edit 5;moved 5>12;", markers.log);
    EXPECT_EQ(-1, map->get(3));
    EXPECT_EQ(5, map->get(12));
    renderer->markerCallBack = nullptr;
    map->release();
}

TEST_F(RenderWindowTest, PicturesOfAnArticleTakeTheirSizeAndADamagedOrUnknownOneItsFrame) {
    const char text[] = "Une photographie /!-1!photo/ puis une carte /!7!carte/\n"
                        "une image abimee /!-1!abime/ et une inconnue /!-1!inconnue/ fin.\n";
    ARefHold<FolderPictures> pictures(new FolderPictures());
    bool shown = open(text, nullptr, [&] {
        renderer->setBitmapSupplier(pictures.get());
        renderer->styleSheet()->setBitmap(7, ABitmapSpec::fromFile(SV_PICTURES "carte.ky", 0, 1));
    });
    if (!shown)
        GTEST_SKIP() << "no display";
    Canvas canvas(440, 320);
    capture(canvas, "render-pictures");

    // Each picture run in the order of the text, with its box in the view.
    struct Picture {
        long width, height;
        ARect box;
    };
    std::vector<Picture> found;
    ALineRenderer* layer = renderer->lines();
    for (long i = 0; i < layer->lines.count(); ++i) {
        ALine* line = layer->lines.at(i);
        long baseline = renderer->frame().first.y + line->top + line->baseline;
        for (ADataRun* run = line->runs; run; run = run->getNext())
            if (dynamic_cast<ABitmapDataRun*>(run)) {
                long left = renderer->frame().first.x + layer->margin + line->x + run->x;
                found.push_back(Picture{run->width, run->height,
                                        ARect(static_cast<int32_t>(left), static_cast<int32_t>(baseline - run->ascent),
                                              static_cast<int32_t>(left + run->width),
                                              static_cast<int32_t>(baseline - run->ascent + run->height))});
            }
    }
    struct Row {
        const char* name;
        long width, height;
        int minInk, maxInk;  // non-white pixels inside the box
    } rows[] = {
        {"the JPEG photograph from the supplier", 60, 40, 60 * 40 * 9 / 10, 60 * 40},
        {"the KY picture of the style sheet", 30, 20, 30 * 20, 30 * 20},
        {"the damaged JPEG: its frame", 16, 16, 16 * 4 - 4, 16 * 4},
        {"a name the supplier lacks: its frame", 16, 16, 16 * 4 - 4, 16 * 4},
    };
    ASSERT_EQ(4u, found.size());
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(rows[i].name);
        EXPECT_EQ(rows[i].width, found[i].width);
        EXPECT_EQ(rows[i].height, found[i].height);
        int ink = canvas.inkIn(found[i].box);
        EXPECT_GE(ink, rows[i].minInk);
        EXPECT_LE(ink, rows[i].maxInk);
    }
    const ARect& card = found[1].box;
    EXPECT_EQ(RGB(0x20, 0xC0, 0x40), canvas.pixel((card.first.x + card.second.x) / 2, (card.first.y + card.second.y) / 2))
        << "the KY picture's rows are drawn as they are";
    const ARect& photo = found[0].box;
    COLORREF top = canvas.pixel((photo.first.x + photo.second.x) / 2, photo.first.y + 1);
    EXPECT_GT(GetRValue(top), 180) << "the gradient starts red";
    EXPECT_LT(GetBValue(top), 80);
}
