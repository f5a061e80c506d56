// The content policy: its decisions per content type and scheme, the
// announcements of taken URLs, redirects, and the order in which a served
// page asks it for its sub-resources.
#include "tests/web/browser/BrowserTestSupport.h"

#include "tests/base/procedural/NetTestSupport.h"

#include "web/browser/AMozillaContentPolicy.h"
#include "web/embed/AContentPolicyCallBack.h"
#include "web/embed/AMozillaFeature.h"

namespace {

// Takes "http://take/..." on topic KYTOPIC and sends "http://old/..." to "http://new/...".
class TestCallBack : public AContentPolicyCallBack {
public:
    TestCallBack() : AContentPolicyCallBack("http://h/observe?topic=") {}
    AString TranslateUrl(const char* url) override {
        std::string u = url;
        if (u.compare(0, 11, "http://old/") == 0)
            return AString(("http://new/" + u.substr(11)).c_str());
        return AString(url);
    }
    int16_t Intercept(const char* url, AString& topic, AString& data) override {
        if (std::string(url).compare(0, 12, "http://take/") != 0)
            return 0;
        topic = "KYTOPIC";
        data = url + 12;
        return 1;
    }
    std::vector<std::string> asked;
    int16_t InterceptObserveUrl(const char* url, AString& topic, AString& data) override {
        asked.push_back(url);
        return AContentPolicyCallBack::InterceptObserveUrl(url, topic, data);
    }
};

// Records what is announced on "KYTOPIC".
class Announcements : public nsSupportsImpl<nsIObserver> {
public:
    nsresult Observe(nsISupports*, const char* topic, const PRUnichar* data) override {
        lines.push_back(std::string(topic) + " " + NS_LossyConvertUTF16toNative(data));
        return NS_OK;
    }
    std::vector<std::string> lines;
};

// A content policy that notes each question and lets everything through.
class Recorder : public nsSupportsImpl<nsIContentPolicy> {
public:
    nsresult ShouldLoad(PRInt32 type, nsIURI* location, nsISupports*, nsIDOMWindow*, PRBool* result) override {
        nsCString spec;
        location->GetSpec(spec);
        asked.push_back(std::to_string(type) + " " + spec.substr(spec.rfind('/') + 1));
        *result = PR_TRUE;
        return NS_OK;
    }
    nsresult ShouldProcess(PRInt32, nsIURI*, nsISupports*, nsIDOMWindow*, PRBool* result) override {
        *result = PR_TRUE;
        return NS_OK;
    }
    std::vector<std::string> asked;
};

Recorder* g_recorder = nullptr;
nsresult MakeRecorder(nsISupports* outer, const nsIID& iid, void** result) {
    if (outer)
        return NS_ERROR_NO_AGGREGATION;
    return g_recorder->QueryInterface(iid, result);
}

}  // namespace

TEST_F(BrowserTest, ContentPolicyDecidesByTypeSchemeAndCallback) {
    AMozillaFeature feature;
    AMozillaFeature::current = &feature;
    auto* callBack = new TestCallBack;
    feature.setContentPolicyCallBack(callBack);
    nsPtr<Announcements> announced(new Announcements);
    nsPtr<nsIObserverService> observers = GetServiceAs<nsIObserverService>(NS_OBSERVERSERVICE_CONTRACTID);
    ASSERT_TRUE(observers);
    observers->AddObserver(announced.get(), "KYTOPIC", PR_FALSE);
    nsPtr<AMozillaContentPolicy> policy(new AMozillaContentPolicy);
    std::string ad = AMozillaContentPolicy::kAdvertisingScript;
    struct Row {
        const char* name;
        PRInt32 type;
        std::string url;
        PRBool load;
        const char* spec;       // the location afterwards; null: unchanged
        const char* announced;  // the last announcement; null: none
        bool asked;             // the callback was asked
    } rows[] = {
        {"the advertising script is refused", 1, ad, PR_FALSE, nullptr, nullptr, false},
        {"one more character loads", 1, ad + "x", PR_TRUE, nullptr, nullptr, false},
        {"images load unasked", 2, "http://take/img", PR_TRUE, nullptr, nullptr, false},
        {"frames load unasked", 5, "http://take/f", PR_TRUE, nullptr, nullptr, false},
        {"file: loads unasked", 6, "file:///C:/x.html", PR_TRUE, nullptr, nullptr, false},
        {"javascript: loads unasked", 6, "javascript:foo()", PR_TRUE, nullptr, nullptr, false},
        {"an observe URL is refused and announced", 6, "http://h/observe?topic=KYTOPIC&load%3Dx", PR_FALSE, nullptr,
         "KYTOPIC load=x", true},
        {"an observe URL without & is refused silently", 6, "http://h/observe?topic=KYTOPIC", PR_FALSE, nullptr,
         nullptr, true},
        {"the application takes a URL", 6, "http://take/page", PR_FALSE, nullptr, "KYTOPIC page", true},
        {"a redirect changes the address and loads", 6, "http://old/a.html", PR_TRUE, "http://new/a.html", nullptr,
         true},
        {"anything else loads", 6, "http://free/a.html", PR_TRUE, nullptr, nullptr, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        announced->lines.clear();
        callBack->asked.clear();
        nsPtr<nsIURI> uri;
        ASSERT_EQ(NS_OK, NS_NewURI(uri.receive(), row.url));
        PRBool load = 7;
        EXPECT_EQ(NS_OK, policy->ShouldLoad(row.type, uri.get(), nullptr, nullptr, &load));
        EXPECT_EQ(row.load, load);
        nsCString spec;
        uri->GetSpec(spec);
        EXPECT_EQ(row.spec ? std::string(row.spec) : row.url, spec);
        EXPECT_EQ(row.announced ? std::string(row.announced) : std::string(),
                  announced->lines.empty() ? std::string() : announced->lines.back());
        EXPECT_EQ(row.asked, !callBack->asked.empty());
    }
    PRBool process = PR_FALSE;
    EXPECT_EQ(NS_OK, policy->ShouldProcess(1, nullptr, nullptr, nullptr, &process));
    EXPECT_EQ(PR_TRUE, process);
    observers->RemoveObserver(announced.get(), "KYTOPIC");
    AMozillaFeature::current = nullptr;
}

TEST_F(BrowserTest, AServedPageAsksThePolicyForItsRequestsInDocumentOrder) {
    std::string url = staticUrl("pages", "resources.html");
    if (url.empty())
        GTEST_SKIP() << "no test server";
    if (!openView())
        GTEST_SKIP() << "no display";
    nsPtr<Recorder> recorder2(new Recorder);
    g_recorder = recorder2.get();
    static const nsModuleComponentInfo info = {"test policy",
                                               {0x1234, 0x5678, 0x9abc, {1, 2, 3, 4, 5, 6, 7, 8}},
                                               NS_CONTENTPOLICY_CONTRACTID,
                                               MakeRecorder};
    nsPtr<nsIFactory> factory;
    ASSERT_EQ(NS_OK, NS_NewGenericFactory(factory.receive(), &info));
    nsPtr<nsIComponentRegistrar> registrar;
    NS_GetComponentRegistrar(registrar.receive());
    ASSERT_EQ(NS_OK, registrar->RegisterFactory(info.cid, info.description, info.contractID, factory.get()));
    view->addHandler("Loaded", recorder);
    view->loadUrl(url.c_str());
    ASSERT_TRUE(waitLoaded(recorder));
    std::string asked;
    for (const std::string& a : recorder2->asked)
        asked += a + "; ";
    EXPECT_EQ("6 resources.html; 2 pixel.png; 1 code.js; 5 frame.html; 2 logo.png; ", asked);
}
