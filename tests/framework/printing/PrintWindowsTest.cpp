// The printing windows in a real application under Xvfb: the progress window
// from the layout "AAppPrintProgress" and its cancel.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "base/object/Alist.h"
#include "framework/app/AApp.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/controls/AControl.h"
#include "framework/display/APrintRange.h"
#include "framework/printing/APrintJob.h"
#include "framework/printing/APrintProgressDialog.h"
#include "framework/printing/APrinter.h"
#include "framework/printing/APrinterSetup.h"
#include "tests/framework/app/AppTestSupport.h"
#include "tests/framework/printing/PrintTestSupport.h"

namespace {

class FrameApp : public AApp {
public:
    FrameApp() : AApp(AString("PrintWindowsApp"), ARect(), 0, 0) {}
    void beep(uint32_t) override { ++TestBeeps; }
};

// The class, id and text of each child: "AStaticText:0:Impression en cours...".
std::string Describe(AComponent* parent) {
    std::string out;
    Alist& children = parent->children();
    for (ALink* link = children.firstLink(); link != children.sentinel(); link = link->next) {
        AComponent* child = ChildOf(link);
        std::string text;
        if (auto* s = dynamic_cast<AStaticText*>(child))
            text = s->getText().c_str();
        else if (auto* b = dynamic_cast<ATextButton*>(child))
            text = b->label().c_str();
        out += std::string(out.empty() ? "" : " ") + child->getClass()->name() + ":" + std::to_string(child->id()) +
               ":" + text;
    }
    return out;
}

// Looks at the progress window while page 1 is drawn, then runs the window's
// cancel commands on it.
class WatchedDocument : public Document {
public:
    using Document::Document;
    void drawPage(const ARect& body, long page, bool draw) override {
        Document::drawPage(body, page, draw);
        if (!draw || page != 1)
            return;
        APrinter* printer = APrintJob::currentPrinter();
        dialog = dynamic_cast<APrintProgressDialog*>(printer->progress());
        if (!dialog)
            return;
        seen = Describe(dialog);
        title = dialog->getTitle().c_str();
        visible = dialog->getHWnd() && IsWindowVisible(dialog->getHWnd());
        size = APoint(dialog->getFrame().width(), dialog->getFrame().height());
        attachedTo = dialog->printer() == printer;
        for (int16_t command : cancels)
            dialog->perform(dialog->doCommand(command, 0));
        cancelledAfter = printer->cancelled();
    }

    std::vector<int16_t> cancels;
    APrintProgressDialog* dialog = nullptr;
    std::string seen, title;
    bool visible = false, attachedTo = false, cancelledAfter = false;
    APoint size;
};

}  // namespace

class PrintWindowsTest : public AppTest {
protected:
    void SetUp() override {
        AClass::buildRegistry();
        TestClock() = 1000;
        SetErrorStream(&errors);
        ClearBoxes();
        app = new FrameApp;
        app->setInstance(GetModuleHandleA(nullptr), "", SW_SHOWNORMAL);
        AObject::completeNew(app);
        app->flushUpdates();
    }
    bool haveDisplay() const { return app->frameWindow() != nullptr; }
};

TEST_F(PrintWindowsTest, TheProgressWindowComesFromItsLayoutAndItsCancelStopsTheJob) {
    if (!haveDisplay())
        GTEST_SKIP() << "no display";
    struct Row {
        const char* name;
        std::vector<int16_t> cancels;
        const char* drawn;
        const char* ending;
    };
    const Row rows[] = {
        {"left alone", {}, "0,1,2", "EndDoc"},
        {"its button (the cancel item)", {AWindow::kCancelCommand}, "0,1", "AbortDoc"},
        {"its close box, twice", {AWindow::kCloseCommand, AWindow::kCloseCommand}, "0,1", "AbortDoc"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        JobRecorder recorder(false);
        auto* doc = new WatchedDocument(app, 10);
        AObject::completeNew(doc);
        for (int i = 0; i < 3; ++i)
            doc->pages.push_back("Page " + std::to_string(i + 1));
        doc->log = &recorder.log;
        doc->cancels = row.cancels;
        doc->setup = MemorySetup();
        auto* printer = new APrinter;
        AObject::completeNew(printer);
        printer->printPages(doc, APrintRange{0, 2, 1, 1, 1});

        EXPECT_EQ("AStaticText:0:Impression en cours... ATextButton:2:Annuler", doc->seen);
        EXPECT_EQ("Impression", doc->title);
        EXPECT_TRUE(doc->visible);
        EXPECT_TRUE(doc->attachedTo);
        // The layout's 187 x 76, or one more where centring in the application
        // area halves an odd difference of sizes and leaves the unit inside.
        EXPECT_TRUE(doc->size.x == 187 || doc->size.x == 188) << doc->size.x;
        EXPECT_TRUE(doc->size.y == 76 || doc->size.y == 77) << doc->size.y;
        EXPECT_EQ(!row.cancels.empty(), doc->cancelledAfter);
        EXPECT_EQ(row.drawn, Drawn(recorder.log));
        EXPECT_EQ(1, Count(recorder.log, row.ending)) << recorder.log;
        EXPECT_TRUE(CapturedBoxes().empty()) << "a cancel is told nothing";
        EXPECT_EQ(nullptr, printer->progress()) << "the window goes with the job";
        AComponent* p = printer;
        DeleteComponent(p);
        delete doc->setup;
        AComponent* d = doc;
        DeleteComponent(d);
    }
}
