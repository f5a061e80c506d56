// The runtime layer's core tier: counting and query, registry, observers,
// directory service, preferences, profiles, event queue, code page 1252.
#include "tests/platform/webrt/RuntimeFolders.h"

#include "platform/webrt/nsComponents.h"
#include "platform/webrt/nsEmbedding.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <vector>

namespace {

nsPtr<TableProvider> ProviderFor(const RuntimeFolders& f) {
    nsPtr<TableProvider> p(new TableProvider);
    p->paths["PrfDef"] = f.runtime + "\\defaults\\pref";
    p->paths["AppRegF"] = f.appData + "\\registry.dat";
    p->paths["DefProfRt"] = f.appData + "\\Profiles";
    return p;
}

class Counted : public nsSupportsImpl<nsILocalFile, nsIObserver> {
public:
    explicit Counted(int* deaths) : deaths_(deaths) {}
    ~Counted() override { ++*deaths_; }
    nsresult InitWithNativePath(const nsACString&) override { return NS_OK; }
    nsresult AppendNative(const nsACString&) override { return NS_OK; }
    nsresult Exists(PRBool*) override { return NS_OK; }
    nsresult IsDirectory(PRBool*) override { return NS_OK; }
    nsresult Create(PRUint32, PRUint32) override { return NS_OK; }
    nsresult Clone(nsIFile**) override { return NS_OK; }
    nsresult GetNativePath(nsACString&) override { return NS_OK; }
    nsresult Observe(nsISupports*, const char* topic, const PRUnichar* data) override {
        log.push_back(std::string(topic) + ":" + NS_LossyConvertUTF16toNative(data));
        if (onObserve)
            onObserve();
        return NS_OK;
    }
    std::vector<std::string> log;
    std::function<void()> onObserve;

private:
    int* deaths_;
};

class Marker : public nsSupportsImpl<nsIRunnable> {
public:
    Marker(std::string* log, char c) : log_(log), c_(c) {}
    nsresult Run() override {
        *log_ += c_;
        if (then)
            then();
        return NS_OK;
    }
    std::function<void()> then;

private:
    std::string* log_;
    char c_;
};

}  // namespace

TEST(WebrtSupports, QueryAnswersEachInterfaceAndItsParentsAndCountsReferences) {
    int deaths = 0;
    Counted* object = new Counted(&deaths);
    object->AddRef();
    struct Row {
        const nsIID* iid;
        nsresult expected;
    } rows[] = {
        {&nsISupports::GetIID(), NS_OK},  {&nsILocalFile::GetIID(), NS_OK},
        {&nsIFile::GetIID(), NS_OK},      {&nsIObserver::GetIID(), NS_OK},
        {&nsIPref::GetIID(), NS_NOINTERFACE},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.iid->ToString());
        void* out = reinterpret_cast<void*>(1);
        EXPECT_EQ(row.expected, object->QueryInterface(*row.iid, &out));
        if (row.expected == NS_OK) {
            EXPECT_NE(nullptr, out);
            EXPECT_EQ(2u, object->refCount());
            static_cast<nsISupports*>(out)->Release();
        } else {
            EXPECT_EQ(nullptr, out);
            EXPECT_EQ(1u, object->refCount());
        }
    }
    EXPECT_EQ(NS_ERROR_NULL_POINTER, object->QueryInterface(nsIFile::GetIID(), nullptr));
    EXPECT_EQ(0u, object->Release());
    EXPECT_EQ(1, deaths);
}

TEST(WebrtRegistry, RegisteredFactoryReplacesTheServiceOfItsContract) {
    nsPtr<nsIComponentRegistrar> registrar;
    EXPECT_EQ(NS_ERROR_NOT_INITIALIZED, NS_GetComponentRegistrar(registrar.receive()));
    RuntimeFolders folders;
    ASSERT_EQ(NS_OK, folders.init(ProviderFor(folders).get()));
    ASSERT_EQ(NS_OK, NS_GetComponentRegistrar(registrar.receive()));
    nsPtr<nsIObserverService> builtin = GetServiceAs<nsIObserverService>(NS_OBSERVERSERVICE_CONTRACTID);
    ASSERT_TRUE(builtin);
    EXPECT_EQ(builtin.get(), GetServiceAs<nsIObserverService>(NS_OBSERVERSERVICE_CONTRACTID).get())
        << "one instance per service";

    static int deaths = 0;
    static const nsModuleComponentInfo info = {
        "test", {0x11, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}}, NS_PREF_CONTRACTID,
        [](nsISupports* outer, const nsIID& iid, void** result) -> nsresult {
            if (outer)
                return NS_ERROR_NO_AGGREGATION;
            Counted* c = new Counted(&deaths);
            c->AddRef();
            nsresult r = c->QueryInterface(iid, result);
            c->Release();
            return r;
        }};
    nsPtr<nsIFactory> factory;
    ASSERT_EQ(NS_OK, NS_NewGenericFactory(factory.receive(), &info));
    PRBool registered = PR_TRUE;
    EXPECT_EQ(NS_OK, registrar->IsCIDRegistered(info.cid, &registered));
    EXPECT_FALSE(registered);
    ASSERT_EQ(NS_OK, registrar->RegisterFactory(info.cid, "test", NS_PREF_CONTRACTID, factory.get()));
    EXPECT_EQ(NS_OK, registrar->IsCIDRegistered(info.cid, &registered));
    EXPECT_TRUE(registered);
    nsresult r;
    EXPECT_FALSE(GetServiceAs<nsIPref>(NS_PREF_CONTRACTID, &r)) << "the contract now names the test class";
    EXPECT_EQ(NS_NOINTERFACE, r);
    nsPtr<nsIObserver> first = GetServiceAs<nsIObserver>(NS_PREF_CONTRACTID);
    EXPECT_TRUE(first);
    ASSERT_EQ(NS_OK, registrar->RegisterFactory(info.cid, "test", nullptr, factory.get()));
    EXPECT_NE(first.get(), GetServiceAs<nsIObserver>(NS_PREF_CONTRACTID).get())
        << "a new factory for the class replaces the service made by the old one";
    first = nullptr;

    nsModuleComponentInfo empty = {"none", info.cid, "x", nullptr};
    EXPECT_EQ(NS_ERROR_INVALID_ARG, NS_NewGenericFactory(factory.receive(), &empty));
    EXPECT_EQ(NS_ERROR_NO_AGGREGATION, info.constructor(builtin.get(), nsISupports::GetIID(), nullptr));
    builtin = nullptr;
    registrar = nullptr;
    NS_TermEmbedding();
    EXPECT_EQ(2, deaths) << "the services end with the runtime";
}

TEST(WebrtObservers, NotifyCallsTheTopicsObserversInOrderEvenWhenOneRemovesItself) {
    RuntimeFolders folders;
    ASSERT_EQ(NS_OK, folders.init(ProviderFor(folders).get()));
    nsPtr<nsIObserverService> service = GetServiceAs<nsIObserverService>(NS_OBSERVERSERVICE_CONTRACTID);
    int deaths = 0;
    nsPtr<Counted> a(new Counted(&deaths)), b(new Counted(&deaths));
    service->AddObserver(a.get(), "KYTOPIC", PR_FALSE);
    service->AddObserver(b.get(), "KYTOPIC", PR_FALSE);
    service->AddObserver(b.get(), "other", PR_FALSE);
    a->onObserve = [&] { service->RemoveObserver(a.get(), "KYTOPIC"); };
    service->NotifyObservers(nullptr, "KYTOPIC", L"load=x");
    service->NotifyObservers(nullptr, "KYTOPIC", L"é€");
    EXPECT_EQ(std::vector<std::string>{"KYTOPIC:load=x"}, a->log);
    EXPECT_EQ((std::vector<std::string>{"KYTOPIC:load=x", "KYTOPIC:\xE9\x80"}), b->log);
    EXPECT_EQ(NS_ERROR_FAILURE, service->RemoveObserver(a.get(), "KYTOPIC"));
}

TEST(WebrtDirectoryService, KnowsTheSystemFoldersAndAsksTheProviderForTheRest) {
    RuntimeFolders folders;
    nsPtr<TableProvider> provider = ProviderFor(folders);
    ASSERT_EQ(NS_OK, folders.init(provider.get()));
    nsPtr<nsIProperties> service = GetServiceAs<nsIProperties>(NS_DIRECTORY_SERVICE_CONTRACTID);
    struct Row {
        const char* key;
        std::string expected;  // empty: NS_ERROR_FAILURE
    } rows[] = {
        {"AppData", folders.appData},
        {"WinD", folders.windows},
        {"XCurProcD", folders.runtime},
        {"PrfDef", folders.runtime + "\\defaults\\pref"},
        {"Nothing", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.key);
        nsPtr<nsIFile> file;
        nsresult r = service->Get(row.key, nsIFile::GetIID(), file.receiveVoid());
        if (row.expected.empty()) {
            EXPECT_EQ(NS_ERROR_FAILURE, r);
            continue;
        }
        ASSERT_EQ(NS_OK, r);
        std::string path;
        file->GetNativePath(path);
        EXPECT_EQ(row.expected, path);
    }
    RuntimeFolders::appDataPresent = false;
    nsPtr<nsIFile> none;
    EXPECT_EQ(NS_ERROR_FAILURE, service->Get("AppData", nsIFile::GetIID(), none.receiveVoid()));
}

TEST(WebrtPreferences, DefaultsUserValuesAndTheSavedFileSurviveARestart) {
    RuntimeFolders folders;
    nsPtr<TableProvider> provider = ProviderFor(folders);
    ASSERT_EQ(NS_OK, folders.init(provider.get()));
    {
        nsPtr<nsIPref> prefs = GetServiceAs<nsIPref>(NS_PREF_CONTRACTID);
        PRInt32 n = -1;
        EXPECT_EQ(NS_OK, prefs->GetIntPref("network.proxy.type", &n));
        EXPECT_EQ(0, n);
        EXPECT_EQ(NS_ERROR_FAILURE, prefs->GetIntPref("network.proxy.http", &n)) << "a text read as an integer";
        EXPECT_EQ(NS_ERROR_FAILURE, prefs->SetIntPref("network.proxy.http", 3)) << "the default's kind holds";
        EXPECT_EQ(NS_ERROR_NOT_INITIALIZED, prefs->SavePrefFile(nullptr)) << "no profile yet";
        nsPtr<nsIProfile> profiles = GetServiceAs<nsIProfile>(NS_PROFILE_CONTRACTID);
        ASSERT_EQ(NS_OK, profiles->CreateNewProfile(L"default", nullptr, nullptr, PR_FALSE));
        ASSERT_EQ(NS_OK, profiles->SetCurrentProfile(L"default"));
        EXPECT_EQ(NS_OK, prefs->SetCharPref("kyfoobar", "a \"quoted\" \\ text \x80"));
        EXPECT_EQ(NS_OK, prefs->SetIntPref("network.proxy.http_port", -2147483647 - 1));
        EXPECT_EQ(NS_OK, prefs->SetBoolPref("privacy.popups.firstTime", 2));
        EXPECT_EQ(NS_ERROR_INVALID_ARG, prefs->SetCharPref("split", "line\nuser_pref(\"x\", 1);"));
        EXPECT_EQ(NS_ERROR_INVALID_ARG, prefs->SetIntPref("split\r", 1));
        EXPECT_EQ(NS_OK, prefs->SavePrefFile(nullptr));
    }
    NS_TermEmbedding();
    ASSERT_EQ(NS_OK, folders.init(provider.get()));
    nsPtr<nsIProfile> profiles = GetServiceAs<nsIProfile>(NS_PROFILE_CONTRACTID);
    ASSERT_EQ(NS_OK, profiles->SetCurrentProfile(L"default"));
    nsPtr<nsIPref> prefs = GetServiceAs<nsIPref>(NS_PREF_CONTRACTID);
    char* text = nullptr;
    ASSERT_EQ(NS_OK, prefs->GetCharPref("kyfoobar", &text));
    EXPECT_STREQ("a \"quoted\" \\ text \x80", text);
    nsMemory::Free(text);
    PRInt32 n = 0;
    EXPECT_EQ(NS_OK, prefs->GetIntPref("network.proxy.http_port", &n));
    EXPECT_EQ(-2147483647 - 1, n);
    PRBool b = PR_TRUE;
    EXPECT_EQ(NS_OK, prefs->GetBoolPref("privacy.popups.firstTime", &b));
    EXPECT_EQ(PR_TRUE, b);
    EXPECT_FALSE(PathExistsOnDisk(folders.appData + "\\Profiles\\default\\prefs.js.tmp"));
}

TEST(WebrtPreferences, DamagedFilesAreRefusedWhole) {
    struct Row {
        const char* text;
    } rows[] = {
        {"user_pref(\"a\", 1)\n"},            {"user_pref(\"a\" 1);\n"},
        {"user_pref(\"a\", 2147483648);\n"},  {"user_pref(\"a\", \"open);\n"},
        {"user_pref(\"a\", \"bad \\q\");\n"}, {"pref(\"a\", 1);\n"},
        {"user_pref(\"a\", truthy);\n"},      {"user_pref(\"a\", 1); x\n"},
    };
    RuntimeFolders folders;
    nsPtr<TableProvider> provider = ProviderFor(folders);
    ASSERT_EQ(NS_OK, folders.init(provider.get()));
    nsPtr<nsIProfile> profiles = GetServiceAs<nsIProfile>(NS_PROFILE_CONTRACTID);
    ASSERT_EQ(NS_OK, profiles->CreateNewProfile(L"default", nullptr, nullptr, PR_FALSE));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        WriteAll(folders.appData + "\\Profiles\\default\\prefs.js",
                       std::string("// good\nuser_pref(\"ok\", 1);\n") + row.text);
        EXPECT_EQ(NS_ERROR_FILE_CORRUPTED, profiles->SetCurrentProfile(L"default"));
    }
    WriteAll(folders.appData + "\\Profiles\\default\\prefs.js", "\n# x\nuser_pref( \"ok\" , -5 ) ;\r\n");
    EXPECT_EQ(NS_OK, profiles->SetCurrentProfile(L"default"));
    PRInt32 n = 0;
    EXPECT_EQ(NS_OK, GetServiceAs<nsIPref>(NS_PREF_CONTRACTID)->GetIntPref("ok", &n));
    EXPECT_EQ(-5, n);
}

TEST(WebrtProfiles, RegistryKeepsProfilesAndTheCurrentOneAndRefusesDamage) {
    RuntimeFolders folders;
    nsPtr<TableProvider> provider = ProviderFor(folders);
    ASSERT_EQ(NS_OK, folders.init(provider.get()));
    nsPtr<nsIProfile> profiles = GetServiceAs<nsIProfile>(NS_PROFILE_CONTRACTID);
    PRInt32 count = -1;
    EXPECT_EQ(NS_OK, profiles->GetProfileCount(&count));
    EXPECT_EQ(0, count);
    EXPECT_EQ(NS_ERROR_FAILURE, profiles->SetCurrentProfile(L"default"));
    for (const PRUnichar* bad : {L"", L"..", L"a\\b", L"a:b"})
        EXPECT_EQ(NS_ERROR_INVALID_ARG, profiles->CreateNewProfile(bad, nullptr, nullptr, PR_FALSE));
    ASSERT_EQ(NS_OK, profiles->CreateNewProfile(L"default", nullptr, nullptr, PR_FALSE));
    EXPECT_EQ(NS_ERROR_FILE_ALREADY_EXISTS, profiles->CreateNewProfile(L"default", nullptr, nullptr, PR_FALSE));
    ASSERT_EQ(NS_OK, profiles->CreateNewProfile(L"autre", nullptr, nullptr, PR_FALSE));
    ASSERT_EQ(NS_OK, profiles->SetCurrentProfile(L"autre"));
    EXPECT_EQ("webrt-profiles 1\ncurrent=autre\nprofile=default\nprofile=autre\n",
              ReadAll(folders.appData + "\\registry.dat"));
    PRUnichar* name = nullptr;
    ASSERT_EQ(NS_OK, profiles->GetCurrentProfile(&name));
    EXPECT_EQ(nsString(L"autre"), nsString(name));
    nsMemory::Free(name);
    for (const char* damaged : {"", "other 1\n", "webrt-profiles 1\nprofile=a", "webrt-profiles 1\nzz=a\n",
                                "webrt-profiles 1\nprofile=..\n"}) {
        SCOPED_TRACE(damaged);
        WriteAll(folders.appData + "\\registry.dat", damaged);
        EXPECT_EQ(NS_ERROR_FILE_CORRUPTED, profiles->GetProfileCount(&count));
    }
}

TEST(WebrtEventQueue, EventsRunFirstInFirstOutAndThoseTheyPostWaitForTheNextTurn) {
    RuntimeFolders folders;
    ASSERT_EQ(NS_OK, folders.init(ProviderFor(folders).get()));
    nsPtr<nsIEventQueueService> service = GetServiceAs<nsIEventQueueService>(NS_EVENTQUEUESERVICE_CONTRACTID);
    nsPtr<nsIEventQueue> queue;
    ASSERT_EQ(NS_OK, service->GetThreadEventQueue(NS_CURRENT_THREAD, queue.receive()));
    std::string log;
    nsPtr<Marker> a(new Marker(&log, 'a')), b(new Marker(&log, 'b')), c(new Marker(&log, 'c'));
    a->then = [&] { queue->PostEvent(c.get()); };
    queue->PostEvent(a.get());
    queue->PostEvent(b.get());
    queue->ProcessPendingEvents();
    EXPECT_EQ("ab", log);
    nsPtr<nsIRunnable> next;
    ASSERT_EQ(NS_OK, queue->WaitForEvent(next.receive()));
    queue->HandleEvent(next.get());
    EXPECT_EQ("abc", log);
    EXPECT_EQ(NS_ERROR_NOT_AVAILABLE, queue->WaitForEvent(next.receive())) << "an empty queue never blocks";
}

TEST(WebrtStrings, CodePage1252ConversionsKeepTheWindowsCharacters) {
    struct Row {
        const PRUnichar* wide;
        const char* narrow;
        bool roundTrip;
    } rows[] = {
        {L"Encyclop\u00e9die", "Encyclop\xe9" "die", true},
        {L"c\u0153ur \u2019 \u20ac \u0178", "c\x9cur \x92 \x80 \x9f", true},
        {L"\u00a0\u00ff", "\xa0\xff", true},
        {L"\u4e2d\u0100", "??", false},
        {nullptr, "", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.narrow);
        EXPECT_EQ(row.narrow, NS_LossyConvertUTF16toNative(row.wide));
        if (row.roundTrip) {
            EXPECT_EQ(nsString(row.wide ? row.wide : L""), NS_ConvertNativeToUTF16(row.narrow));
        }
    }
    EXPECT_EQ(nsString(L"\u0081"), NS_ConvertNativeToUTF16("\x81")) << "an unassigned byte keeps its value";
    long before = nsMemory::liveBlocks();
    PRUnichar* copy = ToNewUnicode(L"abc");
    EXPECT_EQ(nsString(L"abc"), nsString(copy));
    nsMemory::Free(copy);
    EXPECT_EQ(before, nsMemory::liveBlocks());
}
