// The program's prompt service: every question of a page or of the runtime
// (alert, confirm, a line of text, user name and password) opens one
// AMozillaPromptDialog under the application object and hands the reader's
// answer back. Strings handed back are allocated with the runtime's
// allocator (the old one freed), texts converted with code page 1252.
// Counted like every runtime object; null out pointers answer
// NS_ERROR_INVALID_POINTER before anything is shown.
#pragma once

#include "platform/webrt/nsPrompts.h"
#include "web/embed/AMozillaPromptParams.h"

#include <cstdint>

class AMozillaPromptService : public nsSupportsImpl<nsIPromptService> {
public:
    nsresult Alert(nsIDOMWindow* parent, const PRUnichar* title, const PRUnichar* text) override;
    nsresult AlertCheck(nsIDOMWindow* parent, const PRUnichar* title, const PRUnichar* text,
                        const PRUnichar* checkText, PRBool* checkValue) override;
    nsresult Confirm(nsIDOMWindow* parent, const PRUnichar* title, const PRUnichar* text, PRBool* result) override;
    nsresult ConfirmCheck(nsIDOMWindow* parent, const PRUnichar* title, const PRUnichar* text,
                          const PRUnichar* checkText, PRBool* checkValue, PRBool* result) override;
    nsresult ConfirmEx(nsIDOMWindow* parent, const PRUnichar* title, const PRUnichar* text, PRUint32 buttonFlags,
                       const PRUnichar* button0, const PRUnichar* button1, const PRUnichar* button2,
                       const PRUnichar* checkText, PRBool* checkValue, PRInt32* buttonPressed) override;
    nsresult Prompt(nsIDOMWindow* parent, const PRUnichar* title, const PRUnichar* text, PRUnichar** value,
                    const PRUnichar* checkText, PRBool* checkValue, PRBool* result) override;
    nsresult PromptUsernameAndPassword(nsIDOMWindow* parent, const PRUnichar* title, const PRUnichar* text,
                                       PRUnichar** user, PRUnichar** password, const PRUnichar* checkText,
                                       PRBool* checkValue, PRBool* result) override;
    nsresult PromptPassword(nsIDOMWindow* parent, const PRUnichar* title, const PRUnichar* text,
                            PRUnichar** password, const PRUnichar* checkText, PRBool* checkValue,
                            PRBool* result) override;
    nsresult Select(nsIDOMWindow*, const PRUnichar*, const PRUnichar*, PRUint32, const PRUnichar**, PRInt32*,
                    PRBool*) override {
        return NS_ERROR_NOT_IMPLEMENTED;
    }

    // Loads the dialog and runs it: the id of the button that ended it.
    static int16_t runDialog(AMozillaPromptParams& params, long line);
    // The ConfirmEx buttons of buttonFlags (8 bits a position) into params.
    static void setConfirmButtons(AMozillaPromptParams& params, PRUint32 flags, const PRUnichar* titles[3]);
    // Asks for the fields the caller passes (null for the others) with OK and
    // Cancel; on OK hands back each field it supplied and the check box.
    static nsresult askFields(const PRUnichar* title, const PRUnichar* text, PRUnichar** value, PRUnichar** user,
                              PRUnichar** password, const PRUnichar* checkText, PRBool* checkValue, PRBool* result,
                              long line);
};
