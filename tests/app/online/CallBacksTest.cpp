// The web engine's callbacks: the cookies on service addresses, which loads
// are taken over, when a page goes to the alert page, and the address events.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/online/ASVMozillaCallBacks.h"
#include "tests/app/online/OnlineTestHost.h"
#include "tests/base/procedural/FileTestSupport.h"
#include "web/browser/AMozillaView.h"

namespace {

class CallBacks : public TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        host.info.reset(new ANetInfo(AFileSpec(folder_.c_str()), "svnet.par", 1, 0, 0));
        host.info->setCookie1(AString("C1"));
        host.info->setCookie2(AString("C2"));
        host.config["SVSITE"] = "http://SITE";
        host.config["REDIRECT"] = "/redirect.php";
        host.config["HOME_COMPL"] = "?id=hom_compl";
    }
    void TearDown() override {
        host.info.reset();
        TempFolderTest::TearDown();
    }
    OnlineTestHost host;
};

TEST_F(CallBacks, ServiceAddressesCarryTheCookiesOnce) {
    const std::string longQuery = "http://SITE/a?" + std::string(2100, 'x');
    struct Row {
        const char* name;
        std::string url;
        std::string result;
    } rows[] = {
        {"query and two fragments", "http://SITE/a?x=1#f#g", "http://SITE/a?x=1&p_cookie1=C1&p_cookie2=C2#f"},
        {"no query", "http://SITE/a#f", "http://SITE/a#f"},
        {"a query", "http://SITE/a?x=1", "http://SITE/a?x=1&p_cookie1=C1&p_cookie2=C2"},
        {"another scheme is another site", "https://SITE/a?x=1", "https://SITE/a?x=1"},
        {"cookies already there", "http://SITE/a?x=1&p_cookie1=C1&p_cookie2=C2",
         "http://SITE/a?x=1&p_cookie1=C1&p_cookie2=C2"},
        {"cookies before the fragment already", "http://SITE/a?x&p_cookie1=C1&p_cookie2=C2#t",
         "http://SITE/a?x&p_cookie1=C1&p_cookie2=C2#t"},
        {"not a web address", "file:///C:/SITE/a?x", "file:///C:/SITE/a?x"},
        {"over the limit", longQuery, longQuery},
        {"a foreign address without control server", "http://other/a?b", "http://other/a?b"},
    };
    ASVContentPolicyCallBack policy(&host);
    EXPECT_EQ("http://SITE/redirect.php?id=hom_compl", std::string(policy.homeComplUrl().c_str()));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.result, std::string(policy.rewriteUrl(row.url.c_str()).c_str()));
        AString diverted;
        EXPECT_EQ(row.result != row.url ? 1 : 0, policy.Redirect("SITE", row.url.c_str(), diverted));
    }
}

TEST_F(CallBacks, InterceptDecidesByPointerAndAddress) {
    struct InterceptRow {
        bool underPointer;
        bool programLoad;  // the program's own load (of an address handed over, say)
        const char* url;
        int16_t taken;
    } intercepts[] = {
        {false, false, "http://other/page", 0},
        {true, false, "http://SITE/x?id=hom_compl&p=1", 0},
        {true, false, "http://other/page", 1},
        {true, true, "http://other/page", 0},
    };
    ASVContentPolicyCallBack policy(&host);
    for (const InterceptRow& row : intercepts) {
        SCOPED_TRACE(std::string(row.url) + (row.programLoad ? " (program)" : ""));
        host.underPointer = row.underPointer;
        AString topic, data;
        std::unique_ptr<AMozillaView::ProgramLoad> own(row.programLoad ? new AMozillaView::ProgramLoad : nullptr);
        EXPECT_EQ(row.taken, policy.Intercept(row.url, topic, data));
        EXPECT_EQ(row.taken ? "KYTOPIC" : "", std::string(topic.c_str()));
        EXPECT_EQ(row.taken ? std::string("load=") + row.url : "", std::string(data.c_str()));
    }

    ASVAlertCallBack alert(&host);
    EXPECT_EQ(0, alert.mustAlert(nullptr));
    EXPECT_EQ("http://SITE/redirect.php?id=alert&url=http%3A%2F%2Fo.fr%2Fa%20b&title=http%3A%2F%2Fo.fr%2Fa%20b"
              "&data=v10",
              std::string(alert.alertAddress("http://o.fr/a b").c_str()));
}

TEST_F(CallBacks, TheHandlerTakesAddressChangesOnly) {
    ASVHandler* handler = new ASVHandler(&host);
    handler->addRef();
    ASVWindowCreatorCallBack creator(handler);
    EXPECT_EQ(nullptr, creator.createBrowserWindow(nullptr, 0));
    AMozillaView view;
    creator.onNewView(&view);
    AMozillaUpdateUrlEvent update;
    update.url = AString("http://x/");
    AMozillaObserveEvent observe;
    EXPECT_EQ(1, handler->onEvent(&view, &update));
    EXPECT_EQ(0, handler->onEvent(&view, &observe));
    EXPECT_EQ(0, handler->onEvent(nullptr, &update));
    handler->release();
}

}  // namespace
