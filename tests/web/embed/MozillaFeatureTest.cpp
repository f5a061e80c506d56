// Starting and stopping the web runtime through AMozillaFeature, its
// directory provider and its callbacks.
#include "web/embed/AAlertCallBack.h"
#include "web/embed/AContentPolicyCallBack.h"
#include "web/embed/AMozillaFeature.h"
#include "web/embed/AMozillaFileLocationProvider.h"
#include "web/embed/AMozillaWindowCreatorCallBack.h"
#include "web/embed/KyMozillaPrefs.h"

#include "platform/webrt/nsEmbedding.h"
#include "platform/webrt/nsPrompts.h"
#include "tests/platform/webrt/RuntimeFolders.h"
#include "tests/support/TestHooks.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <stdexcept>

namespace {

AString ProductFolderName(AApp*) {
    return AString("sv10.5");
}

// A runtime started by a feature in a scratch folder, with the errors captured.
class MozillaFeature : public testing::Test {
protected:
    void SetUp() override {
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, AMozillaFeature::kGreKey);
        GetCurrentDirectoryA(sizeof savedDir_, savedDir_);
        SetCurrentDirectoryA(folders_.runtime.c_str());
        AMozillaFeature::setProductFolderNameFunction(ProductFolderName);
        SetErrorStream(&errors_);
    }
    void TearDown() override {
        SetErrorStream(nullptr);
        AMozillaFeature::shutdownEmbedding();
        NS_TermEmbedding();
        NS_SetAppShellUnavailable(false);
        SetCurrentDirectoryA(savedDir_);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, AMozillaFeature::kGreKey);
    }
    std::string mozillaFolder() const { return folders_.appData + "\\sv10.5\\KYMozilla"; }

    RuntimeFolders folders_;
    CaptureStream errors_;
    char savedDir_[MAX_PATH] = {};
};

void WriteGreHome(const char* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, AMozillaFeature::kGreKey, 0, nullptr, 0,
                                             KEY_SET_VALUE, nullptr, &key, nullptr));
    RegSetValueExA(key, "GreHome", 0, REG_SZ, reinterpret_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

struct CallBackDeaths {
    int alert = 0, policy = 0, creator = 0;
};
CallBackDeaths g_deaths;

struct CountedAlert : AAlertCallBack {
    ~CountedAlert() override { ++g_deaths.alert; }
};
struct CountedPolicy : AContentPolicyCallBack {
    CountedPolicy() : AContentPolicyCallBack("http://x/observe?topic=") {}
    ~CountedPolicy() override { ++g_deaths.policy; }
};
struct CountedCreator : AMozillaWindowCreatorCallBack {
    ~CountedCreator() override { ++g_deaths.creator; }
    AMozillaView* createBrowserWindow(nsIWebBrowserChrome*, uint32_t) override { return nullptr; }
    void browserWindowCreated(AMozillaView*) override {}
};

// A component answering nsIObserver, to stand in the component table.
class TestComponent : public nsSupportsImpl<nsIObserver> {
public:
    nsresult Observe(nsISupports*, const char*, const PRUnichar*) override { return NS_OK; }
};

class ThrowingComponent : public TestComponent {
public:
    ThrowingComponent() { throw std::runtime_error("construction failed"); }
};

}  // namespace

TEST_F(MozillaFeature, FirstRunMakesTheProfileAndALaterRunKeepsTheCurrentOne) {
    AMozillaFeature feature;
    EXPECT_EQ(&feature, AMozillaFeature::current);
    ASSERT_TRUE(feature.start(nullptr)) << errors_.text;
    EXPECT_EQ("", errors_.text);
    EXPECT_TRUE(PathExistsOnDisk(mozillaFolder() + "\\Profiles\\default"));
    EXPECT_EQ("webrt-profiles 1\ncurrent=default\nprofile=default\n",
              ReadAll(mozillaFolder() + "\\registry.dat"));
    // The application's writes after the start.
    EXPECT_EQ(NS_OK, KyMozillaSetCharPref("kyfoobar", "ky.foo.bar"));
    EXPECT_EQ(NS_OK, KyMozillaSetBoolPref("privacy.popups.firstTime", 0));
    EXPECT_EQ(NS_OK, KyMozillaSetIntPref("network.proxy.http_port", 3128));
    EXPECT_TRUE(feature.stop());

    // A second run: another profile made current in between stays current.
    WriteAll(mozillaFolder() + "\\registry.dat",
                   "webrt-profiles 1\ncurrent=default\nprofile=autre\nprofile=default\n");
    ASSERT_TRUE(feature.start(nullptr)) << errors_.text;
    EXPECT_EQ("webrt-profiles 1\ncurrent=default\nprofile=autre\nprofile=default\n",
              ReadAll(mozillaFolder() + "\\registry.dat"));
    int32_t port = 0;
    EXPECT_EQ(NS_OK, KyMozillaGetIntPref("network.proxy.http_port", &port));
    EXPECT_EQ(3128, port);
    AString text("unchanged");
    EXPECT_EQ(NS_OK, KyMozillaGetCharPref("kyfoobar", text));
    EXPECT_EQ(AString("ky.foo.bar"), text);
    EXPECT_NE(std::string::npos,
              ReadAll(mozillaFolder() + "\\Profiles\\default\\prefs.js")
                  .find("user_pref(\"privacy.popups.firstTime\", false);"));
    feature.stop();
}

TEST_F(MozillaFeature, RuntimeFolderComesFromGreHomeElseTheCurrentFolder) {
    RuntimeFolders other;  // its defaults make the start succeed only when its folder is taken
    RuntimeFolders bare(false);  // the current folder's replacement below has no defaults
    SetCurrentDirectoryA(bare.runtime.c_str());
    struct Row {
        const char* name;
        std::string greHome;  // empty: no value
        bool started;
    } rows[] = {
        {"no value, current folder without defaults", "", false},
        {"GreHome names a runtime folder", other.runtime, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, AMozillaFeature::kGreKey);
        // Written as an installer would, with the system's own tool.
        std::string command = std::string("reg add \"HKLM\\") + AMozillaFeature::kGreKey +
                              "\" /v GreHome /t REG_SZ /f /d \"" + row.greHome + "\" >NUL 2>&1";
        if (!row.greHome.empty()) {
            EXPECT_EQ(0, std::system(command.c_str())) << command;
        }
        EXPECT_EQ(AString(row.greHome.c_str()), AMozillaFeature::lookupGreHome());
        errors_.text.clear();
        AMozillaFeature feature;
        EXPECT_EQ(row.started, feature.start(nullptr));
        EXPECT_EQ(row.started ? "" : "InitEmbedding Failed!\n", errors_.text);
        feature.stop();
    }
}

TEST_F(MozillaFeature, GreHomeIsReadWithItsLengthAndAlwaysTerminated) {
    std::string full(1023, 'x');
    struct Row {
        const char* name;
        std::string data;
        DWORD size;
        std::string expected;
    } rows[] = {
        {"without its NUL, the longest that fits", full, 1023, full},
        {"longer than the buffer", full + "yz", 1025, ""},
        {"short, without its NUL", "C:\\rt", 5, "C:\\rt"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WriteGreHome(row.data.c_str(), row.size);
        AString home = AMozillaFeature::lookupGreHome();
        EXPECT_EQ(static_cast<long>(row.expected.size()), home.length());
        EXPECT_EQ(row.expected, home.c_str());
    }
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, AMozillaFeature::kGreKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                    nullptr);
    RegDeleteValueA(key, "GreHome");
    RegCloseKey(key);
    EXPECT_EQ(AString(""), AMozillaFeature::lookupGreHome()) << "a key without the value";
}

TEST_F(MozillaFeature, WithoutAppShellTheStartSucceedsWithoutProfileAndStopDoesNothing) {
    NS_SetAppShellUnavailable(true);
    AMozillaFeature feature;
    EXPECT_TRUE(feature.start(nullptr));
    EXPECT_EQ("Failed to create appshell!\n", errors_.text);
    EXPECT_FALSE(PathExistsOnDisk(mozillaFolder() + "\\registry.dat")) << "no profile selected";
    EXPECT_TRUE(feature.stop());
    nsPtr<nsIComponentRegistrar> registrar;
    EXPECT_EQ(NS_OK, NS_GetComponentRegistrar(registrar.receive())) << "the runtime still runs";
}

TEST_F(MozillaFeature, ComponentTableRegistersWhatItCanMakeUnderItsContracts) {
    AMozillaFeature feature;
    ASSERT_TRUE(feature.start(nullptr));
    EXPECT_EQ(NS_ERROR_INVALID_ARG, AMozillaFeature::registerComponents())
        << "entries without their class yet are skipped";
    nsModuleComponentInfo table[2] = {
        {"Test", {0x1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}}, NS_PREF_CONTRACTID, nullptr},
        {"Observer", AMozillaFeature::kComponents[1].cid, NS_CONTENTPOLICY_CONTRACTID,
         MozillaGenericConstructor<TestComponent>},
    };
    EXPECT_EQ(NS_OK, AMozillaFeature::registerComponents(table, 2));
    EXPECT_TRUE(GetServiceAs<nsIObserver>(NS_CONTENTPOLICY_CONTRACTID));
    EXPECT_TRUE(GetServiceAs<nsIPref>(NS_PREF_CONTRACTID)) << "the skipped entry replaced nothing";
    void* out = nullptr;
    nsPtr<nsIObserver> outer(new TestComponent);
    EXPECT_EQ(NS_ERROR_NO_AGGREGATION,
              MozillaGenericConstructor<TestComponent>(outer.get(), nsISupports::GetIID(), &out));
    EXPECT_EQ(NS_NOINTERFACE, MozillaGenericConstructor<TestComponent>(nullptr, nsIPref::GetIID(), &out));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(NS_ERROR_FAILURE, MozillaGenericConstructor<ThrowingComponent>(nullptr, nsISupports::GetIID(), &out))
        << "an exception stays on the program's side";
    EXPECT_EQ(nullptr, out);
    feature.stop();
    EXPECT_EQ(NS_ERROR_FAILURE, AMozillaFeature::registerComponents()) << "no registrar once stopped";
}

TEST(MozillaFeatureCallBacks, FeatureOwnsItsCallBacksAndKeepsTheOneItHolds) {
    g_deaths = CallBackDeaths();
    {
        AMozillaFeature feature;
        ASSERT_NE(nullptr, feature.getContentPolicyCallBack());
        EXPECT_EQ(AString(AMozillaFeature::kObservePrefix), feature.getContentPolicyCallBack()->observePrefix());
        EXPECT_EQ(nullptr, feature.getAlertCallBack());
        EXPECT_EQ(nullptr, feature.getWindowCreatorCallBack());
        CountedAlert* alert = new CountedAlert;
        feature.setAlertCallBack(alert);
        feature.setAlertCallBack(alert);
        EXPECT_EQ(0, g_deaths.alert) << "the same pointer again deletes nothing";
        feature.setAlertCallBack(new CountedAlert);
        EXPECT_EQ(1, g_deaths.alert);
        feature.setWindowCreatorCallBack(new CountedCreator);
        feature.setContentPolicyCallBack(new CountedPolicy);
        feature.setContentPolicyCallBack(new CountedPolicy);
        EXPECT_EQ(1, g_deaths.policy);
    }
    EXPECT_EQ(2, g_deaths.alert);
    EXPECT_EQ(2, g_deaths.policy);
    EXPECT_EQ(1, g_deaths.creator);
    EXPECT_EQ(nullptr, AMozillaFeature::current);
}

TEST_F(MozillaFeature, ProviderAnswersItsKeysAndMakesTheFoldersOnFirstRequest) {
    nsPtr<AMozillaFileLocationProvider> provider(new AMozillaFileLocationProvider("sv10.5", "KYMozilla"));
    ASSERT_EQ(NS_OK, folders_.init(provider.get()));
    std::string rt = folders_.runtime;
    std::string product = mozillaFolder();
    struct Row {
        const char* key;
        std::string expected;  // empty: NS_ERROR_FAILURE
    } rows[] = {
        {"AppRegD", product},
        {"AppRegF", product + "\\registry.dat"},
        {"DefRt", rt + "\\defaults"},
        {"PrfDef", rt + "\\defaults\\pref"},
        {"ProfDefNoLoc", rt + "\\defaults\\profile"},
        {"profDef", rt + "\\defaults\\profile"},
        {"DefProfRt", product + "\\Profiles"},
        {"ARes", rt + "\\res"},
        {"AChrom", rt + "\\chrome"},
        {"APlugns", rt + "\\plugins"},
        {"SrchPlugns", rt + "\\searchplugins"},
        {"appregd", ""},
        {"Other", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.key);
        PRBool persistent = PR_FALSE;
        nsIFile* file = reinterpret_cast<nsIFile*>(1);
        nsresult r = provider->GetFile(row.key, &persistent, &file);
        EXPECT_EQ(PR_TRUE, persistent);
        if (row.expected.empty()) {
            EXPECT_EQ(NS_ERROR_FAILURE, r);
            EXPECT_EQ(nullptr, file);
            continue;
        }
        ASSERT_EQ(NS_OK, r);
        std::string path;
        file->GetNativePath(path);
        file->Release();
        EXPECT_EQ(row.expected, path);
    }
    EXPECT_TRUE(PathExistsOnDisk(product + "\\Profiles"));
    EXPECT_FALSE(PathExistsOnDisk(rt + "\\res")) << "the runtime's own folders are not made";
    EXPECT_EQ(NS_ERROR_NULL_POINTER, provider->getProductFolder(nullptr));
}

TEST_F(MozillaFeature, ProductFolderGoesUnderWindowsWithoutApplicationDataAndWithoutEmptySubFolder) {
    struct Row {
        const char* name;
        bool appData;
        const char* product;
        const char* sub;
        std::string expected;  // empty: NS_ERROR_NOT_INITIALIZED
    } rows[] = {
        {"no application data folder", false, "sv10.5", "KYMozilla", folders_.windows + "\\sv10.5\\KYMozilla"},
        {"empty sub-folder name", true, "sv10.5", "", folders_.appData + "\\sv10.5"},
        {"empty product folder name", true, "", "KYMozilla", ""},
    };
    nsPtr<AMozillaFileLocationProvider> runtimeProvider(new AMozillaFileLocationProvider("sv10.5", "KYMozilla"));
    ASSERT_EQ(NS_OK, folders_.init(runtimeProvider.get()));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RuntimeFolders::appDataPresent = row.appData;
        nsPtr<AMozillaFileLocationProvider> provider(new AMozillaFileLocationProvider(row.product, row.sub));
        nsPtr<nsILocalFile> folder;
        nsresult r = provider->getProfilesRoot(folder.receive());
        if (row.expected.empty()) {
            EXPECT_EQ(NS_ERROR_NOT_INITIALIZED, r);
            continue;
        }
        ASSERT_EQ(NS_OK, r);
        std::string path;
        folder->GetNativePath(path);
        EXPECT_EQ(row.expected + "\\Profiles", path);
        EXPECT_TRUE(PathExistsOnDisk(path));
    }
}
