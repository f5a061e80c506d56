// The About window: the version appended to its layout's text, in a network
// installation too, its item's text read and written, and a missing item.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/views/AboutDlg.h"
#include "framework/windows/AWindowShell.h"
#include "tests/reader/AppMainTestSupport.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"

namespace {

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

TEST_F(TheAppTest, TheAboutWindowEndsItsTextWithTheVersion) {
    struct Row {
        const char* name;
        const char* svIni;
        const char* end;
    } const rows[] = {
        {"single-user", "InstallReseau=0\r\n", "Encyclop\xE9" "die du savoir, version 10.5"},
        {"network", "InstallReseau=1\r\n", "Encyclop\xE9" "die du savoir, version 10.5 (R\xE9seau)"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        svIni(r.svIni);
        ASSERT_TRUE(app->readConfiguration());
        AboutDlg* about = app->openAbout();
        ASSERT_TRUE(about);
        EXPECT_TRUE(EndsWith(about->getText().c_str(), r.end)) << about->getText().c_str();
        if (!app->isNetworkInstall() && about->getNativeWindow())
            Canvas::saveWindow(about->getNativeWindow()->hwnd(), "about", [this] { app->flushUpdates(); });
        AComponent* window = about;
        DeleteComponent(window);
    }
    // The text is the item's, written and read back.
    AboutDlg* about = app->openAbout();
    ASSERT_TRUE(about);
    about->setText("Autre texte");
    EXPECT_STREQ("Autre texte", about->getText().c_str());
    AComponent* window = about;
    DeleteComponent(window);
}

TEST_F(TheAppTest, AnAboutWindowWithoutItsTextItemReadsEmptyAndRefusesAText) {
    AComponent* root = AComponent::loadLayout(app, "NoText", 0);
    ASSERT_TRUE(root);
    auto* about = static_cast<AboutDlg*>(root->castTo(&AboutDlg::classRecord));
    ASSERT_TRUE(about);
    EXPECT_STREQ("", about->getText().c_str());
    EXPECT_ANY_THROW(about->setText("x")) << "the allocation check";
    DeleteComponent(root);
}

}  // namespace
