// The prompt service: one dialog per question.
#include "web/browser/AMozillaPromptService.h"

#include "web/browser/AMozillaPromptDialog.h"
#include "web/embed/MozillaEmbedUtils.h"

#include "base/procedural/AError.h"
#include "framework/app/AApp.h"
#include "framework/resources/AStringListResource.h"

namespace {

// Replaces *slot by a runtime copy of text: false when memory is short.
bool Hand(PRUnichar** slot, const AString& text) {
    PRUnichar* copy = ToNewUnicode(AStringToNsString(text));
    if (!copy)
        return false;
    nsMemory::Free(*slot);
    *slot = copy;
    return true;
}

bool Supplied(PRUnichar** p) {
    return p && *p;
}

}  // namespace

int16_t AMozillaPromptService::runDialog(AMozillaPromptParams& params, long line) {
    AApp* app = AApp::current();
    AComponent* root = app ? AComponent::loadLayout(app, "AAppMozillaPrompt", 0) : nullptr;
    void* dialog = root ? root->castTo(&AMozillaPromptDialog::classRecord) : nullptr;
    if (root && !dialog)
        DeleteComponent(root);
    auto* d = static_cast<AMozillaPromptDialog*>(CheckAlloc(dialog, "kyMozillaPrompt", line));
    return d->run(params);
}

void AMozillaPromptService::setConfirmButtons(AMozillaPromptParams& params, PRUint32 flags,
                                              const PRUnichar* titles[3]) {
    AString* labels[3] = {&params.button0Label, &params.button1Label, &params.button2Label};
    int16_t* shows[3] = {&params.showButton0, &params.showButton1, &params.showButton2};
    for (int i = 0; i < 3; ++i, flags >>= 8) {
        PRUint32 code = flags & 0xFF;
        *shows[i] = 1;
        if (code == 0) {
            *shows[i] = 0;
        } else if (code >= 1 && code <= 7) {
            AStringListResource list(900);
            *labels[i] = list.get(static_cast<short>(code - 1));
        } else if (code == 127) {
            *labels[i] = UnicharToAString(titles[i]);
        }
    }
}

nsresult AMozillaPromptService::Alert(nsIDOMWindow*, const PRUnichar* title, const PRUnichar* text) {
    AMozillaPromptParams params = BuildPromptParams(title, text, nullptr, nullptr, nullptr, nullptr, nullptr);
    runDialog(params, 327);
    return NS_OK;
}

nsresult AMozillaPromptService::AlertCheck(nsIDOMWindow*, const PRUnichar* title, const PRUnichar* text,
                                           const PRUnichar* checkText, PRBool* checkValue) {
    if (!checkValue)
        return NS_ERROR_INVALID_POINTER;
    AMozillaPromptParams params = BuildPromptParams(title, text, nullptr, nullptr, nullptr, checkText, checkValue);
    runDialog(params, 338);
    *checkValue = params.checkBoxOn ? PR_TRUE : PR_FALSE;
    return NS_OK;
}

nsresult AMozillaPromptService::Confirm(nsIDOMWindow*, const PRUnichar* title, const PRUnichar* text,
                                        PRBool* result) {
    if (!result)
        return NS_ERROR_INVALID_POINTER;
    AMozillaPromptParams params = BuildPromptParams(title, text, nullptr, nullptr, nullptr, nullptr, nullptr);
    params.showButton1 = 1;
    *result = runDialog(params, 354) == AMozillaPromptDialog::kButton0 ? PR_TRUE : PR_FALSE;
    return NS_OK;
}

nsresult AMozillaPromptService::ConfirmCheck(nsIDOMWindow*, const PRUnichar* title, const PRUnichar* text,
                                             const PRUnichar* checkText, PRBool* checkValue, PRBool* result) {
    if (!checkValue || !result)
        return NS_ERROR_INVALID_POINTER;
    AMozillaPromptParams params = BuildPromptParams(title, text, nullptr, nullptr, nullptr, checkText, checkValue);
    params.showButton1 = 1;
    *result = PR_FALSE;
    if (runDialog(params, 376) == AMozillaPromptDialog::kButton0) {
        *result = PR_TRUE;
        *checkValue = params.checkBoxOn ? PR_TRUE : PR_FALSE;
    }
    return NS_OK;
}

nsresult AMozillaPromptService::ConfirmEx(nsIDOMWindow*, const PRUnichar* title, const PRUnichar* text,
                                          PRUint32 buttonFlags, const PRUnichar* button0, const PRUnichar* button1,
                                          const PRUnichar* button2, const PRUnichar* checkText, PRBool* checkValue,
                                          PRInt32* buttonPressed) {
    if (!buttonPressed)
        return NS_ERROR_INVALID_POINTER;
    AMozillaPromptParams params = BuildPromptParams(title, text, nullptr, nullptr, nullptr, checkText, checkValue);
    const PRUnichar* titles[3] = {button0, button1, button2};
    setConfirmButtons(params, buttonFlags, titles);
    int16_t id = runDialog(params, 458);
    *buttonPressed = id == AMozillaPromptDialog::kButton0 ? 0 : id == AMozillaPromptDialog::kButton1 ? 1 : 2;
    if (checkText && checkValue)
        *checkValue = params.checkBoxOn ? PR_TRUE : PR_FALSE;
    return NS_OK;
}

nsresult AMozillaPromptService::askFields(const PRUnichar* title, const PRUnichar* text, PRUnichar** value,
                                          PRUnichar** user, PRUnichar** password, const PRUnichar* checkText,
                                          PRBool* checkValue, PRBool* result, long line) {
    if (!result)
        return NS_ERROR_INVALID_POINTER;
    bool hasValue = Supplied(value), hasUser = Supplied(user), hasPassword = Supplied(password);
    AMozillaPromptParams params = BuildPromptParams(title, text, value, user, password, checkText, checkValue);
    params.showButton1 = 1;
    *result = PR_FALSE;
    if (runDialog(params, line) != AMozillaPromptDialog::kButton0)
        return NS_OK;
    *result = PR_TRUE;
    // The user's name comes back in the value field.
    if (hasValue && !Hand(value, params.value))
        return NS_ERROR_OUT_OF_MEMORY;
    if (hasUser && !Hand(user, params.value))
        return NS_ERROR_OUT_OF_MEMORY;
    if (hasPassword && !Hand(password, params.password))
        return NS_ERROR_OUT_OF_MEMORY;
    if (checkValue)
        *checkValue = params.checkBoxOn ? PR_TRUE : PR_FALSE;
    return NS_OK;
}

nsresult AMozillaPromptService::Prompt(nsIDOMWindow*, const PRUnichar* title, const PRUnichar* text,
                                       PRUnichar** value, const PRUnichar* checkText, PRBool* checkValue,
                                       PRBool* result) {
    return askFields(title, text, value, nullptr, nullptr, checkText, checkValue, result, 490);
}

nsresult AMozillaPromptService::PromptUsernameAndPassword(nsIDOMWindow*, const PRUnichar* title,
                                                          const PRUnichar* text, PRUnichar** user,
                                                          PRUnichar** password, const PRUnichar* checkText,
                                                          PRBool* checkValue, PRBool* result) {
    return askFields(title, text, nullptr, user, password, checkText, checkValue, result, 527);
}

nsresult AMozillaPromptService::PromptPassword(nsIDOMWindow*, const PRUnichar* title, const PRUnichar* text,
                                               PRUnichar** password, const PRUnichar* checkText,
                                               PRBool* checkValue, PRBool* result) {
    return askFields(title, text, nullptr, nullptr, password, checkText, checkValue, result, 573);
}
