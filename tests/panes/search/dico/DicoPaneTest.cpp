// The dictionary window over a recording host: the answer written to
// "synapse.xml", the title and entry shown, an empty answer ignored, and the
// main window told when it closes.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

#include "base/object/AFileSpec.h"
#include "base/object/AFolderSpecs.h"
#include "docengine/model/ADocModel.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/render/ATextRenderer.h"
#include "framework/controls/AEditBox.h"
#include "panes/search/dico/ADicoHost.h"
#include "panes/search/dico/DicoPane.h"
#include "search/facade/ADataLocation.h"
#include "tests/base/procedural/TextTestSupport.h"
#include "tests/framework/clusters/ClusterTestSupport.h"

namespace {

class RecordingHost : public ADicoHost {
public:
    int16_t ask(const char* word) override {
        asked += std::string(word) + ";";
        return 0;
    }
    AString getDefinition() override { return AString(answer.c_str()); }
    ATextRenderer* createTextRenderer(ARendererView* view, long sheet) override {
        (void)sheet;
        auto* renderer = new ATextRenderer(view->rendererLayer());
        view->rendererLayer()->setRenderer(renderer);
        return renderer;
    }
    ASelContextMenuCallBack* selContextMenu() override { return nullptr; }
    ADataLocation* dataLocation() override { return location; }
    void forgetWindow(AComponent* window) override { forgotten = window; }

    std::string answer, asked;
    AComponent* forgotten = nullptr;
    ADataLocation* location = nullptr;
};

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::string Shown(ARendererView* view) {
    ARenderer* r = view ? view->renderer() : nullptr;
    ADocModel* m = r ? r->model() : nullptr;
    std::string text = m ? m->exportText(0, m->getLength()).c_str() : "(none)";
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

class DicoPaneTest : public ClusterTest {
protected:
    void SetUp() override {
        ClusterTest::SetUp();
        ADicoHost::install(&host);
    }
    void TearDown() override {
        ADicoHost::install(nullptr);
        ClusterTest::TearDown();
    }
    DicoPane* load() {
        AComponent* root = AComponent::loadLayout(app, "Dico", 0);
        return root ? static_cast<DicoPane*>(root->castTo(&DicoPane::classRecord)) : nullptr;
    }
    RecordingHost host;
    ADataLocation location;  // outlives the windows, which the application deletes at tear-down
};

}  // namespace

TEST_F(DicoPaneTest, AnAnswerIsWrittenThenShownAndAnEmptyOneChangesNothing) {
    DicoPane* window = load();
    ASSERT_NE(nullptr, window);
    window->open();
    EXPECT_EQ("", std::string(window->wordField()->getText().c_str())) << "the layout's text is replaced";
    EXPECT_EQ(DicoPane::kMaxWord, window->wordField()->maxLength());

    host.answer = "<TITRE>Cheval</TITRE><DL LABEL=\"1\"><GRAM>(nom)</GRAM><DT ID=\"1\">coursier/destrier</DT></DL>";
    window->lookUp("Cheval");
    EXPECT_EQ("Cheval;", host.asked) << "without a word list the word itself is asked";
    std::string file = AFileSpec(AAppTempFolderSpec(), "synapse.xml").path().c_str();
    EXPECT_EQ(host.answer, ReadBytes(file)) << "byte for byte";
    EXPECT_EQ("Cheval", Shown(window->titleView()));
    EXPECT_NE(std::string::npos, Shown(window->entryView()).find("1 - coursier/destrier"));
    EXPECT_EQ("Cheval", std::string(window->wordField()->getText().c_str()));

    // An empty answer leaves both views and the file as they were.
    host.answer.clear();
    window->lookUp("Zzz");
    EXPECT_EQ("Cheval", Shown(window->titleView()));
    EXPECT_NE(std::string::npos, Shown(window->entryView()).find("coursier"));
    EXPECT_NE(std::string::npos, ReadBytes(file).find("Cheval"));

    // Return in the field of the shown window shows the word typed (without a
    // word list, the word itself).
    window->select();
    window->showUpdate();
    host.answer = "<TITRE>Jument</TITRE>";
    host.asked.clear();
    window->wordField()->setText("Jument");
    ASSERT_NE(0, window->wordField()->becomeTarget(1));
    ASSERT_TRUE(window->wordField()->nativeChild());
    SendMessageA(window->wordField()->nativeChild()->hwnd(), WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ("Jument;", host.asked);
    EXPECT_EQ("Jument", Shown(window->titleView()));

    // Without rows there is no word, and a click without a link hit does nothing.
    EXPECT_EQ("", std::string(window->rowWord(0).c_str()));
    host.asked.clear();
    window->doCommand(DicoPane::kListId, 0);
    EXPECT_EQ("", host.asked);

    window->perform(window->closeWindow());
    EXPECT_EQ(window, host.forgotten);
}

TEST_F(DicoPaneTest, WithoutTheLibraryAnEntryIsAnAssertion) {
    DicoPane* window = load();
    ASSERT_NE(nullptr, window);
    ADicoHost::install(nullptr);
    EXPECT_NE("", assertionText([&] { window->showEntry("cheval"); }));
    ADicoHost::install(&host);
    window->perform(window->closeWindow());
}

TEST_F(DicoPaneTest, TheSampleWordListFollowsTheWordAndAsksForTheFoundRow) {
    std::string sample = std::string("Z:") + SV_BINARY_DIR + "/sample";
    if (GetFileAttributesA((sample + "/data/dico.abp").c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no sample: tools/sample/build.sh builds it";
    ASSERT_EQ(0, location.open((sample + "\\sv.sgm").c_str(), nullptr, sample.c_str()));
    host.location = &location;
    DicoPane* window = load();
    ASSERT_NE(nullptr, window);
    window->open();
    ASSERT_NE(nullptr, window->wordIndex());
    host.answer = "<TITRE>maison</TITRE>";
    window->lookUp("Maison");
    EXPECT_EQ("maison;", host.asked) << "the word of the row the type-ahead found";
    EXPECT_EQ("maison", std::string(window->rowWord(window->listView()->renderer()->currentItem()).c_str()));
    window->centerIn(nullptr, true);
    window->showUpdate();
    MSG msg;
    for (int i = 0; i < 20; ++i) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        Sleep(20);
    }
    window->perform(window->closeWindow());
}
