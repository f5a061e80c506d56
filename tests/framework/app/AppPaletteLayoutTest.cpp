// What the application object makes for the display layer: the record of
// every layout pass, and the palette table that pictures follow.
#include <windows.h>

#include "framework/app/AApp.h"
#include "framework/display/ADisplayComponent.h"
#include "framework/display/ASizing.h"
#include "framework/graphics/AImage.h"
#include "framework/graphics/APaletteTable.h"
#include "tests/framework/app/AppTestSupport.h"

namespace {

// Logs the owner of each pass it serves and its own end.
class LoggedRecord : public ASizingContext {
public:
    explicit LoggedRecord(std::string& log) : log_(log) {}
    ~LoggedRecord() override { log_ += "gone "; }
    void begin(ADisplayComponent* owner) override {
        log_ += "begin" + std::to_string(owner->id()) + " ";
        ASizingContext::begin(owner);
    }

private:
    std::string& log_;
};

class LayoutApp : public AApp {
public:
    explicit LayoutApp(uint16_t style) : AApp(AString("LayoutApp"), ARect(), style, 0) {}
    ASizingContext* makeResizeRecord() override { return new LoggedRecord(log); }
    std::string log;

protected:
    void* createFrameWindow(const ARect&, const AString&) override { return nullptr; }
};

class AppPaletteLayoutTest : public testing::Test {
protected:
    void SetUp() override {
        AClass::buildRegistry();
        SetErrorStream(&errors);
    }
    void TearDown() override {
        closeApp();
        SetErrorStream(nullptr);
        AClass::releaseRegistry();
    }
    LayoutApp* openApp(uint16_t style) {
        app_ = new LayoutApp(style);
        app_->setInstance(GetModuleHandleA(nullptr), "", SW_HIDE);
        AObject::completeNew(app_);
        return app_;
    }
    void closeApp() {
        AComponent* root = app_;
        app_ = nullptr;
        if (root)
            DeleteComponent(root);
    }

    LayoutApp* app_ = nullptr;
    CaptureStream errors;
};

// A root standing for a window of its own, placed at its frame.
class Root : public ADisplayComponent {
public:
    Root(AComponent* parent, int16_t id, const ARect& frame) : ADisplayComponent(parent, id, ASizeSpec(frame)) {}
    bool isWindowed() override { return true; }
};

ADisplayComponent* Display(AComponent* parent, int16_t id, const ASizeSpec& rule) {
    auto* c = new ADisplayComponent(parent, id, rule);
    AObject::completeNew(c);
    return c;
}

}  // namespace

TEST_F(AppPaletteLayoutTest, EveryLayoutPassTakesTheApplicationsRecord) {
    LayoutApp* app = openApp(0);
    auto* root = new Root(app, 5, ARect(0, 0, 200, 100));
    AObject::completeNew(root);
    root->changeFrame(ARect(0, 0, 200, 100));
    ADisplayComponent* child = Display(root, 6, ASizeSpec::fill);
    app->log.clear();
    root->relayout();
    EXPECT_EQ("begin5 gone ", app->log) << "one record for the pass, gone at its end";
    EXPECT_EQ(ARect(0, 0, 200, 100), child->getFrame()) << "the record placed the child";

    app->log.clear();
    child->setSizeSpec(ASizeSpec::fill, true);
    app->flushUpdates();
    EXPECT_EQ("begin5 gone ", app->log) << "a scheduled layout takes a record too";
    EXPECT_EQ(ARect(0, 0, 200, 100), child->getFrame());

}

TEST_F(AppPaletteLayoutTest, PicturesAreRealisedAgainWhenTheApplicationsPaletteChangesIfTheyFollowIt) {
    struct {
        uint8_t red, green, blue, flags;
    } entries[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};
    struct {
        WORD version, count;
        PALETTEENTRY e[2];
    } logical = {0x300, 2, {}};
    memcpy(logical.e, entries, sizeof entries);
    HPALETTE palette = CreatePalette(reinterpret_cast<LOGPALETTE*>(&logical));
    ASSERT_NE(nullptr, palette);
    struct Row {
        uint16_t style;
        bool follows;
    } rows[] = {{0, false}, {AApp::kPaletteImages, true}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.style);
        LayoutApp* app = openApp(r.style);
        APaletteTable* table = APaletteTable::active();
        ASSERT_NE(nullptr, table) << "the application's table is the one displays consult";
        // A stand-in for a 256-colour screen.
        table->setEnabled(true);
        AImage image(AImageSpec(32754, 0, 0, true));  // OBM_CLOSE
        HBITMAP first = image.getHBitmap();
        ASSERT_NE(nullptr, first);

        table->setPalette(app, palette);
        HBITMAP second = image.getHBitmap();
        EXPECT_EQ(r.follows, first != second) << "a new palette of the application";
        EXPECT_EQ(r.follows ? 0u : DWORD(OBJ_BITMAP), GetObjectType(first)) << "the old realisation went";
        table->setPalette(app, palette);
        EXPECT_EQ(second, image.getHBitmap()) << "the same palette again changes nothing";

        table->removePalette(app, palette);
        EXPECT_EQ(r.follows, second != image.getHBitmap()) << "the application's palette withdrawn";
        EXPECT_EQ(nullptr, APaletteTable::currentPalette());
        closeApp();
        EXPECT_EQ(nullptr, APaletteTable::active()) << "the table goes with the application";
    }
    DeleteObject(palette);
}
