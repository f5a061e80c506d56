// Replaces the web runtime's prompt interfaces, which this program cannot ship:
// the prompt service the program registers, the authentication prompter the
// runtime builds on it, and the window watcher that hands it out.
//
// Texts going out are UTF-16, null allowed. Texts coming back through
// PRUnichar** are nsMemory blocks: the side that replaces one frees the old.
#pragma once

#include "platform/webrt/nsCore.h"

class nsIDOMWindow;
class nsIWebBrowserChrome;

class nsIPromptService : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0301, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x30, 0x01)
    virtual nsresult Alert(nsIDOMWindow* parent, const PRUnichar* title, const PRUnichar* text) = 0;
    virtual nsresult AlertCheck(nsIDOMWindow* parent, const PRUnichar* title, const PRUnichar* text,
                                const PRUnichar* checkText, PRBool* checkValue) = 0;
    virtual nsresult Confirm(nsIDOMWindow* parent, const PRUnichar* title, const PRUnichar* text,
                             PRBool* result) = 0;
    virtual nsresult ConfirmCheck(nsIDOMWindow* parent, const PRUnichar* title, const PRUnichar* text,
                                  const PRUnichar* checkText, PRBool* checkValue, PRBool* result) = 0;
    virtual nsresult ConfirmEx(nsIDOMWindow* parent, const PRUnichar* title, const PRUnichar* text,
                               PRUint32 buttonFlags, const PRUnichar* button0, const PRUnichar* button1,
                               const PRUnichar* button2, const PRUnichar* checkText, PRBool* checkValue,
                               PRInt32* buttonPressed) = 0;
    virtual nsresult Prompt(nsIDOMWindow* parent, const PRUnichar* title, const PRUnichar* text, PRUnichar** value,
                            const PRUnichar* checkText, PRBool* checkValue, PRBool* result) = 0;
    virtual nsresult PromptUsernameAndPassword(nsIDOMWindow* parent, const PRUnichar* title,
                                               const PRUnichar* text, PRUnichar** user, PRUnichar** password,
                                               const PRUnichar* checkText, PRBool* checkValue,
                                               PRBool* result) = 0;
    virtual nsresult PromptPassword(nsIDOMWindow* parent, const PRUnichar* title, const PRUnichar* text,
                                    PRUnichar** password, const PRUnichar* checkText, PRBool* checkValue,
                                    PRBool* result) = 0;
    virtual nsresult Select(nsIDOMWindow* parent, const PRUnichar* title, const PRUnichar* text, PRUint32 count,
                            const PRUnichar** list, PRInt32* selection, PRBool* result) = 0;
};

// Asks the reader for credentials; the runtime's network code calls it on a 401 or 407.
class nsIAuthPrompt : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0302, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x30, 0x02)
    enum : PRUint32 { SAVE_PASSWORD_NEVER = 0 };
    virtual nsresult PromptUsernameAndPassword(const PRUnichar* title, const PRUnichar* text,
                                               const PRUnichar* realm, PRUint32 savePassword, PRUnichar** user,
                                               PRUnichar** password, PRBool* result) = 0;
};

class nsIWindowCreator : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0303, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x30, 0x03)
    virtual nsresult CreateChromeWindow(nsIWebBrowserChrome* parent, PRUint32 chromeFlags,
                                        nsIWebBrowserChrome** result) = 0;
};

class nsIWindowWatcher : public nsISupports {
public:
    NS_WEBRT_IID(nsISupports, 0x5e0b0304, 0x7a1c, 0x4d2e, 0x9b, 0x01, 0x3c, 0x44, 0x21, 0x6e, 0x30, 0x04)
    // Holds one reference to the creator; null lets it go.
    virtual nsresult SetWindowCreator(nsIWindowCreator* creator) = 0;
    virtual nsresult GetWindowCreator(nsIWindowCreator** result) = 0;
    // A prompter that shows its questions through the registered prompt service.
    virtual nsresult GetNewAuthPrompter(nsIDOMWindow* parent, nsIAuthPrompt** result) = 0;
};
