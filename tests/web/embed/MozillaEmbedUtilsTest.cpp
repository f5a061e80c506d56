// The embedding's utilities: preference functions, text and event
// conversions, prompt records, the print listener and the content-policy base.
#include "web/embed/AContentPolicyCallBack.h"
#include "web/embed/AMozillaFileLocationProvider.h"
#include "web/embed/AMozillaWebProgressListener.h"
#include "web/embed/KyMozillaPrefs.h"
#include "web/embed/MozillaEmbedUtils.h"

#include "platform/webrt/nsComponents.h"
#include "platform/webrt/nsDOMEvents.h"
#include "platform/webrt/nsEmbedding.h"
#include "tests/platform/webrt/RuntimeFolders.h"

#include <gtest/gtest.h>

#include <functional>

#include <windows.h>

namespace {

class FakeMouse : public nsSupportsImpl<nsIDOMMouseEvent> {
public:
    nsresult GetClientX(PRInt32* r) override {
        *r = -12;
        return NS_OK;
    }
    nsresult GetClientY(PRInt32* r) override {
        *r = 345;
        return NS_OK;
    }
};

class FakeKey : public nsSupportsImpl<nsIDOMKeyEvent> {
public:
    nsresult GetKeyCode(PRUint32* r) override {
        *r = 0x0D;
        return NS_OK;
    }
    nsresult GetCharCode(PRUint32* r) override {
        *r = 0xE9;
        return NS_OK;
    }
};

}  // namespace

TEST(MozillaPrefs, FunctionsReadWriteAndSaveEachValueAtOnce) {
    int32_t value = 77;
    EXPECT_TRUE(NS_FAILED(KyMozillaGetIntPref("network.proxy.type", &value)));
    EXPECT_EQ(77, value) << "without the service the out integer is left alone";
    EXPECT_EQ(NS_ERROR_NOT_INITIALIZED, KyMozillaSetIntPref("x", 1));

    RuntimeFolders folders;
    nsPtr<AMozillaFileLocationProvider> provider(new AMozillaFileLocationProvider("sv10.5", "KYMozilla"));
    ASSERT_EQ(NS_OK, folders.init(provider.get()));
    nsPtr<nsIProfile> profiles = GetServiceAs<nsIProfile>(NS_PROFILE_CONTRACTID);
    ASSERT_EQ(NS_OK, profiles->CreateNewProfile(L"default", nullptr, nullptr, PR_FALSE));
    ASSERT_EQ(NS_OK, profiles->SetCurrentProfile(L"default"));
    std::string prefsFile = folders.appData + "\\sv10.5\\KYMozilla\\Profiles\\default\\prefs.js";

    EXPECT_EQ(NS_ERROR_FAILURE, KyMozillaGetIntPref("no.such.pref", &value));
    EXPECT_EQ(0, value) << "no value gives 0";
    EXPECT_EQ(NS_OK, KyMozillaGetIntPref("network.proxy.type", &value));
    EXPECT_EQ(0, value);

    struct Row {
        const char* name;
        std::function<nsresult()> write;
        const char* line;  // expected in the saved file; null: the write fails and saves nothing
    } rows[] = {
        {"int", [] { return KyMozillaSetIntPref("network.proxy.type", 1); }, "user_pref(\"network.proxy.type\", 1);"},
        {"same int again", [] { return KyMozillaSetIntPref("network.proxy.type", 1); },
         "user_pref(\"network.proxy.type\", 1);"},
        {"flag 2", [] { return KyMozillaSetBoolPref("privacy.popups.firstTime", 2); },
         "user_pref(\"privacy.popups.firstTime\", true);"},
        {"text", [] { return KyMozillaSetCharPref("network.proxy.http", "proxy.example"); },
         "user_pref(\"network.proxy.http\", \"proxy.example\");"},
        {"wrong kind", [] { return KyMozillaSetIntPref("network.proxy.http", 5); }, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        DeleteFileA(prefsFile.c_str());
        nsresult r = row.write();
        if (!row.line) {
            EXPECT_TRUE(NS_FAILED(r));
            EXPECT_FALSE(PathExistsOnDisk(prefsFile));
            continue;
        }
        EXPECT_EQ(NS_OK, r);
        EXPECT_NE(std::string::npos, ReadAll(prefsFile).find(row.line));
    }
    AString text("kept");
    EXPECT_EQ(NS_ERROR_FAILURE, KyMozillaGetCharPref("no.such.pref", text));
    EXPECT_EQ(AString("kept"), text);
    EXPECT_EQ(NS_OK, KyMozillaGetCharPref("network.proxy.http", text));
    EXPECT_EQ(AString("proxy.example"), text);
}

TEST(MozillaEmbedUtils, TextsConvertWithCodePage1252BothWays) {
    struct Row {
        const PRUnichar* wide;
        const char* narrow;
    } rows[] = {
        {L"Encyclop\u00e9die \u00ab\u00a0\u00bb", "Encyclop\xe9" "die \xab\xa0\xbb"},
        {L"c\u0153ur \u2019 \u20ac", "c\x9cur \x92 \x80"},
        {L"", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.narrow);
        AString narrow = UnicharToAString(row.wide);
        EXPECT_EQ(AString(row.narrow), narrow);
        EXPECT_EQ(nsString(row.wide), AStringToNsString(narrow));
    }
    EXPECT_EQ(AString(""), UnicharToAString(nullptr));
    EXPECT_EQ(AString("a?b"), UnicharToAString(L"a\u4e2db")) << "outside the code page";
}

TEST(MozillaEmbedUtils, DomEventsBecomeFrameworkInputRecords) {
    nsPtr<FakeMouse> mouse(new FakeMouse);
    AMouseEvent m = ConvertDomMouseEvent(mouse.get());
    EXPECT_EQ(-12, m.where.x);
    EXPECT_EQ(345, m.where.y);
    EXPECT_EQ(0xFFFF, m.value);
    nsPtr<FakeKey> key(new FakeKey);
    AKeyEvent k = ConvertDomKeyEvent(key.get());
    EXPECT_EQ(0x0D, k.keyCode);
    EXPECT_EQ(0xE9, k.character);
    EXPECT_EQ(0xFFFF, k.modifierBits);
    EXPECT_EQ(0xFFFF, k.down);
}

TEST(MozillaEmbedUtils, PromptParamsShowWhatThePromptGives) {
    PRUnichar* value = ToNewUnicode(L"valeur");
    PRUnichar* user = ToNewUnicode(L"nom");
    PRUnichar* password = ToNewUnicode(L"secret");
    PRUnichar* none = nullptr;
    PRBool on = 5, off = 0;
    struct Row {
        const char* name;
        PRUnichar** first;
        PRUnichar** second;
        PRUnichar** third;
        const PRUnichar* checkText;
        PRBool* check;
        const char* expected;  // value|password|checkLabel|checkBoxOn showUserLabel showValue showPassword showCheck
    } rows[] = {
        {"alert", nullptr, nullptr, nullptr, nullptr, nullptr, "|||0 0 0 0 0"},
        {"prompt", &value, nullptr, nullptr, L"Retenir", &on, "valeur||Retenir|1 0 1 0 1"},
        {"prompt holding null", &none, nullptr, nullptr, nullptr, &off, "|||0 0 0 0 1"},
        {"user and password", nullptr, &user, &password, nullptr, nullptr, "nom|secret||0 1 1 1 0"},
        {"password holding null", nullptr, nullptr, &none, nullptr, nullptr, "|||0 0 0 0 0"},
        {"check text without check value", nullptr, nullptr, nullptr, L"Retenir", nullptr, "|||0 0 0 0 0"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AMozillaPromptParams p =
            BuildPromptParams(L"Titre \u2019", L"Texte", row.first, row.second, row.third, row.checkText, row.check);
        EXPECT_EQ(AString("Titre \x92"), p.title);
        EXPECT_EQ(AString("Texte"), p.text);
        std::string got = std::string(p.value.c_str()) + "|" + p.password.c_str() + "|" + p.checkLabel.c_str() + "|" +
                          std::to_string(p.checkBoxOn) + " " + std::to_string(p.showUserLabel) + " " +
                          std::to_string(p.showValue) + " " + std::to_string(p.showPassword) + " " +
                          std::to_string(p.showCheck);
        EXPECT_EQ(row.expected, got);
        EXPECT_EQ(1, p.showButton0);
        EXPECT_EQ(0, p.showButton1);
    }
    AMozillaPromptParams untitled = BuildPromptParams(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    EXPECT_TRUE(untitled.title.empty()) << "the dialog keeps its own title";
    nsMemory::Free(value);
    nsMemory::Free(user);
    nsMemory::Free(password);
}

TEST(MozillaEmbedUtils, PrintListenerIsDoneOnceAStateChangeHoldsStop) {
    nsPtr<AMozillaWebProgressListener> listener(new AMozillaWebProgressListener);
    struct Row {
        PRUint32 flags;
        int16_t done;
    } rows[] = {
        {nsIWebProgressListener::STATE_START | nsIWebProgressListener::STATE_IS_DOCUMENT, 0},
        {nsIWebProgressListener::STATE_TRANSFERRING, 0},
        {nsIWebProgressListener::STATE_STOP | nsIWebProgressListener::STATE_IS_NETWORK, 1},
        {nsIWebProgressListener::STATE_START, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.flags);
        EXPECT_EQ(NS_OK, listener->OnStateChange(nullptr, nullptr, row.flags, NS_OK));
        EXPECT_EQ(row.done, listener->isDone());
    }
    EXPECT_EQ(NS_ERROR_NOT_IMPLEMENTED, listener->OnStatusChange(nullptr, nullptr, NS_OK, L"x"));
    EXPECT_EQ(NS_ERROR_NOT_IMPLEMENTED, listener->OnProgressChange(nullptr, nullptr, 1, 2, 3, 4));
    nsPtr<nsIWebProgressListener> asListener = QueryAs<nsIWebProgressListener>(listener.get());
    EXPECT_TRUE(asListener);
    EXPECT_FALSE(QueryAs<nsIObserver>(listener.get()));
}

TEST(MozillaContentPolicyCallBack, ObserveUrlsGiveTheirTopicAndDecodedData) {
    AContentPolicyCallBack policy("http://site/observe?topic=");
    struct Row {
        const char* url;
        int16_t answer;
        const char* topic;
        const char* data;
    } rows[] = {
        {"http://site/observe?topic=KYTOPIC&load%3Dx", 1, "KYTOPIC", "load=x"},
        {"http://site/observe?topic=KYTOPIC&a%2", 1, "KYTOPIC", "a%2"},
        {"http://site/observe?topic=KYTOPIC&%zz%41", 1, "KYTOPIC", "%zzA"},
        {"http://site/observe?topic=KYTOPIC", 1, "-", "-"},
        {"http://site/other?topic=KYTOPIC&x", 0, "-", "-"},
        {"http://site/obs", 0, "-", "-"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.url);
        AString topic("-"), data("-");
        EXPECT_EQ(row.answer, policy.InterceptObserveUrl(row.url, topic, data));
        EXPECT_EQ(AString(row.topic), topic);
        EXPECT_EQ(AString(row.data), data);
    }
    AString newUrl;
    EXPECT_EQ(0, policy.Redirect("host", "http://a/b", newUrl));
    EXPECT_EQ(AString("http://a/b"), newUrl);
    AString t, d;
    EXPECT_EQ(0, policy.Intercept("http://a/b", t, d));
}
