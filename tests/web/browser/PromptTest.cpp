// The prompt service and its dialog, as real windows under Xvfb: what each
// question shows, what clicks, typed text, Escape and the close box answer,
// and what goes back to the runtime. The ConfirmEx dialog is kept as
// build/artifacts/prompt-dialog.png.
#include "tests/web/browser/BrowserTestSupport.h"

#include "tests/framework/graphics/GraphicsTestSupport.h"

#include "framework/clusters/AClusterItem.h"
#include "framework/clusters/AStaticItem.h"
#include "web/browser/AMozillaPromptDialog.h"
#include "web/browser/AMozillaContentPolicy.h"
#include "web/browser/AMozillaPromptService.h"
#include "web/embed/AMozillaFeature.h"

#include <windows.h>

namespace {

// What the step does to the dialog: type into fields, tick, then end it.
struct Script {
    const char* value = nullptr;     // typed into 933
    const char* password = nullptr;  // typed into 935
    bool tick = false;
    int16_t click = 0;  // a button id; 0: Escape; -1: the close box
    const char* screenshot = nullptr;
    std::string seen;  // "title|931 text|shown ids|button texts"
    int steps = 0;
    // Geometry when shown: the height the message needs and has, the tops and
    // bottoms (dialog coordinates) of the message, the text field and OK.
    int32_t needed = 0, messageHeight = 0, messageBottom = 0, valueTop = 0, valueBottom = 0, okTop = 0, okBottom = 0;
    int32_t dialogHeight = 0;
    RECT screen{}, work{};  // the dialog's outer rectangle and the working area
};
Script g_script;

void TypeInto(AMozillaPromptDialog* dialog, int16_t id, const char* text) {
    HWND field = dialog->findItem(id, true)->getHWnd();
    SetFocus(field);
    SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    for (const char* p = text; *p; ++p)
        SendMessageA(field, WM_CHAR, static_cast<unsigned char>(*p), 1);
}

std::string Seen(AMozillaPromptDialog* dialog) {
    char title[128] = "";
    GetWindowTextA(dialog->getHWnd(), title, sizeof title);
    std::string out = std::string(title) + "|" + dialog->getItemText(931).c_str() + "|";
    for (int16_t id : {932, 933, 934, 935, 936, 940, 941, 942}) {
        AClusterItem* item = dialog->findItem(id, false);
        if (item && item->hasFlags(ADisplayComponent::kShown))
            out += std::to_string(id) + " ";
    }
    out += "|";
    for (int16_t id : {940, 941, 942}) {
        AClusterItem* item = dialog->findItem(id, false);
        if (item && item->hasFlags(ADisplayComponent::kShown))
            out += std::string(dialog->getItemText(id).c_str()) + ";";
    }
    return out;
}

void Step(AMozillaPromptDialog* dialog) {
    if (g_script.steps++ > 0) {
        // The end was asked: let the messages it sent run.
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        if (g_script.steps > 50)
            dialog->perform(dialog->closeWindow());
        return;
    }
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    g_script.seen = Seen(dialog);
    auto* message = dynamic_cast<AStaticText*>(dialog->findItem(931, false));
    g_script.needed = message->naturalSize(false).y;
    g_script.messageHeight = message->getFrame().height();
    g_script.messageBottom = message->getFrame().bottom();
    g_script.valueTop = dialog->findItem(933, false)->getFrame().top();
    g_script.valueBottom = dialog->findItem(933, false)->getFrame().bottom();
    g_script.okTop = dialog->findItem(940, false)->getFrame().top();
    g_script.okBottom = dialog->findItem(940, false)->getFrame().bottom();
    g_script.dialogHeight = dialog->getSize().y;
    GetWindowRect(dialog->getHWnd(), &g_script.screen);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &g_script.work, 0);
    if (g_script.value)
        TypeInto(dialog, 933, g_script.value);
    if (g_script.password)
        TypeInto(dialog, 935, g_script.password);
    if (g_script.tick)
        SendMessageA(dialog->findItem(936, true)->getHWnd(), BM_CLICK, 0, 0);
    if (g_script.screenshot) {
        HWND w = dialog->getHWnd();
        RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        RECT r;
        GetWindowRect(w, &r);
        Canvas canvas(r.right - r.left, r.bottom - r.top);
        HDC screen = GetDC(nullptr);
        BitBlt(canvas.dc(), 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
        ReleaseDC(nullptr, screen);
        canvas.savePng(g_script.screenshot);
    }
    if (g_script.click > 0)
        SendMessageA(dialog->findItem(g_script.click, true)->getHWnd(), BM_CLICK, 0, 0);
    else if (g_script.click == 0)
        SendMessageA(dialog->getHWnd(), WM_COMMAND, IDCANCEL, 0);  // what Escape sends
    else
        dialog->perform(dialog->closeWindow());  // what the shell runs for its close box
}

class PromptTest : public BrowserTest {
protected:
    void SetUp() override {
        BrowserTest::SetUp();
        AMozillaPromptDialog::setStep(Step);
        service = new AMozillaPromptService;
    }
    void TearDown() override {
        AMozillaPromptDialog::setStep(nullptr);
        service = nullptr;
        BrowserTest::TearDown();
    }
    void script(int16_t click, const char* value = nullptr, const char* password = nullptr, bool tick = false) {
        g_script = Script();
        g_script.click = click;
        g_script.value = value;
        g_script.password = password;
        g_script.tick = tick;
    }
    static bool display() {
        HWND probe = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        if (probe)
            DestroyWindow(probe);
        return probe != nullptr;
    }
    nsPtr<AMozillaPromptService> service;
};

std::string Narrow(const PRUnichar* text) {
    return text ? NS_LossyConvertUTF16toNative(text) : std::string("(null)");
}

}  // namespace

TEST_F(PromptTest, ConfirmExShowsTheButtonsOfItsFlagsAndAnswersThePressedOne) {
    if (!display())
        GTEST_SKIP() << "no display";
    struct Row {
        const char* name;
        PRUint32 flags;
        int16_t click;
        const char* seen;
        PRInt32 pressed;
    } rows[] = {
        {"OK and Annuler, Annuler pressed", 0x00000201, 941, "Question|Continuer ?|936 940 941 |OK;Annuler;", 1},
        {"OK pressed", 0x00000201, 940, "Question|Continuer ?|936 940 941 |OK;Annuler;", 0},
        {"Oui, Non and a title of its own", 0x007F0403, 942, "Question|Continuer ?|936 940 941 942 |Oui;Non;Plus tard;",
         2},
        {"Escape is Annuler", 0x00000201, 0, "Question|Continuer ?|936 940 941 |OK;Annuler;", 1},
        {"the close box is Annuler", 0x00000605, -1, "Question|Continuer ?|936 940 941 |Enregistrer;Ne pas enregistrer;",
         1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        script(row.click);
        if (row.flags == 0x007F0403)
            g_script.screenshot = "prompt-dialog";
        PRInt32 pressed = -1;
        PRBool check = PR_TRUE;
        ASSERT_EQ(NS_OK, service->ConfirmEx(nullptr, L"Question", L"Continuer ?", row.flags, nullptr, nullptr,
                                            L"Plus tard", nullptr, &check, &pressed));
        EXPECT_EQ(row.seen, g_script.seen);
        EXPECT_EQ(row.pressed, pressed);
        EXPECT_EQ(PR_TRUE, check) << "no check text: the value stays";
    }
    EXPECT_EQ(NS_ERROR_INVALID_POINTER,
              service->ConfirmEx(nullptr, nullptr, nullptr, 1, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
}

TEST_F(PromptTest, PromptsShowTheFieldsTheyAreGivenAndHandBackWhatWasTyped) {
    if (!display())
        GTEST_SKIP() << "no display";
    // Prompt with a value: the field shows, the typed text comes back.
    script(940, "Lyon");
    PRUnichar* value = ToNewUnicode(L"Paris");
    PRBool ok = PR_FALSE;
    ASSERT_EQ(NS_OK, service->Prompt(nullptr, nullptr, L"Ville ?", &value, nullptr, nullptr, &ok));
    EXPECT_EQ("JavaScript|Ville ?|933 940 941 |OK;Annuler;", g_script.seen) << "a null title keeps JavaScript";
    EXPECT_EQ(PR_TRUE, ok);
    EXPECT_EQ("Lyon", Narrow(value));
    nsMemory::Free(value);

    // A null value: no field, and it stays null.
    script(940);
    value = nullptr;
    ASSERT_EQ(NS_OK, service->Prompt(nullptr, L"T", L"Rien", &value, nullptr, nullptr, &ok));
    EXPECT_EQ("T|Rien|940 941 |OK;Annuler;", g_script.seen);
    EXPECT_EQ(nullptr, value);

    // User name and password, with the check box ticked.
    script(940, "marie", "secret", true);
    PRUnichar* user = ToNewUnicode(L"");
    PRUnichar* password = ToNewUnicode(L"");
    PRBool remember = PR_TRUE;
    ASSERT_EQ(NS_OK, service->PromptUsernameAndPassword(nullptr, L"Auth", L"Identifiez-vous", &user, &password,
                                                        L"Retenir", &remember, &ok));
    EXPECT_EQ("Auth|Identifiez-vous|932 933 934 935 936 940 941 |OK;Annuler;", g_script.seen);
    EXPECT_EQ("marie", Narrow(user));
    EXPECT_EQ("secret", Narrow(password));
    EXPECT_EQ(PR_TRUE, remember) << "the box opens unticked; one click ticks it";
    nsMemory::Free(user);
    nsMemory::Free(password);

    // Cancelled: nothing is written back.
    script(941, "ignored");
    value = ToNewUnicode(L"garde");
    ASSERT_EQ(NS_OK, service->Prompt(nullptr, nullptr, L"Ville ?", &value, nullptr, nullptr, &ok));
    EXPECT_EQ(PR_FALSE, ok);
    EXPECT_EQ("garde", Narrow(value));
    nsMemory::Free(value);

    // Confirm and Alert; Select shows nothing.
    script(940);
    ASSERT_EQ(NS_OK, service->Confirm(nullptr, nullptr, L"S\u00fbr ?", &ok));
    EXPECT_EQ("JavaScript|S\xFBr ?|940 941 |OK;Annuler;", g_script.seen);
    EXPECT_EQ(PR_TRUE, ok);
    script(940);
    ASSERT_EQ(NS_OK, service->Alert(nullptr, nullptr, L"Bonjour"));
    EXPECT_EQ("JavaScript|Bonjour|940 |OK;", g_script.seen);
    script(940);
    PRInt32 selection = 0;
    EXPECT_EQ(NS_ERROR_NOT_IMPLEMENTED, service->Select(nullptr, nullptr, nullptr, 0, nullptr, &selection, &ok));
    EXPECT_EQ("", g_script.seen);
    EXPECT_EQ(NS_ERROR_INVALID_POINTER, service->Confirm(nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(NS_ERROR_INVALID_POINTER, service->AlertCheck(nullptr, nullptr, nullptr, nullptr, nullptr));
}

TEST_F(PromptTest, TheDialogFitsItsMessageAndKeepsTheRowsStillShownAboveTheButtons) {
    if (!display())
        GTEST_SKIP() << "no display";
    std::wstring longText;
    while (longText.size() < 1990)
        longText += L"Une phrase assez longue pour remplir la ligne. ";
    longText += L"Derniers mots.";
    struct Row {
        const char* name;
        std::wstring text;
        bool withValue;
    } rows[] = {
        {"a 2,000-character alert", longText, false},
        {"a one-line alert", L"Bonjour", false},
        {"a long prompt with its field", longText.substr(0, 600), true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        script(940);
        g_script.screenshot = row.text.size() > 1000 ? "prompt-long-alert" : nullptr;
        PRBool ok = PR_FALSE;
        if (row.withValue) {
            PRUnichar* value = ToNewUnicode(L"x");
            ASSERT_EQ(NS_OK, service->Prompt(nullptr, nullptr, row.text.c_str(), &value, nullptr, nullptr, &ok));
            nsMemory::Free(value);
            EXPECT_LE(g_script.messageBottom, g_script.valueTop) << "the field stays under the message";
            EXPECT_LE(g_script.valueBottom, g_script.okTop) << "and above the buttons";
        } else {
            ASSERT_EQ(NS_OK, service->Alert(nullptr, nullptr, row.text.c_str()));
        }
        EXPECT_GE(g_script.messageHeight, g_script.needed) << "the whole text fits";
        EXPECT_LT(g_script.messageHeight, g_script.needed + 40) << "without a wide empty band";
        EXPECT_LE(g_script.messageBottom, g_script.okTop);
        EXPECT_LE(g_script.okBottom, g_script.dialogHeight);
        EXPECT_GE(g_script.screen.top, g_script.work.top) << "the dialog is on the screen whole";
        EXPECT_LE(g_script.screen.bottom, g_script.work.bottom);
        if (row.text.size() < 20)
            EXPECT_LT(g_script.dialogHeight, 150) << "a short message shrinks the dialog";
        else
            EXPECT_GT(g_script.dialogHeight, 250) << "a long one grows it";
    }
}

TEST_F(PromptTest, APageConfirmOpensTheProgramsDialogAndItsCloseBoxCancels) {
    InstallBrowserComponents();
    ASSERT_EQ(NS_OK, AMozillaFeature::registerComponents());
    std::string url, why = loadServed("script.html", url);
    if (!why.empty())
        GTEST_SKIP() << why;
    script(-1);
    view->loadUrl("javascript:confirm('Continuer ?')");
    EXPECT_EQ("JavaScript|Continuer ?|940 941 |OK;Annuler;", g_script.seen);
    ASSERT_FALSE(NS_ScriptLog().empty());
    EXPECT_EQ("confirm 0", NS_ScriptLog().back());
    script(940);
    Click(ContentWindow(view), 12, 14);  // the page's own link to the same call
    EXPECT_EQ("JavaScript|Continuer ?|940 941 |OK;Annuler;", g_script.seen);
    EXPECT_EQ("confirm 1", NS_ScriptLog().back());
}
