// The runtime layer's app shell, window watcher and authentication prompter.
#include "platform/webrt/nsEmbedding.h"
#include "platform/webrt/nsPrompts.h"
#include "platform/webrt/nsRuntime.h"

namespace {

bool g_appShellUnavailable = false;

// The program's own message loop drives the windows; the shell only tracks its state.
class AppShell : public nsSupportsImpl<nsIAppShell> {
public:
    nsresult Create(int*, char**) override {
        created_ = true;
        return NS_OK;
    }
    nsresult Spinup() override { return created_ ? NS_OK : NS_ERROR_NOT_INITIALIZED; }
    nsresult Spindown() override { return NS_OK; }

private:
    bool created_ = false;
};

// Hands the question to whichever prompt service is registered when it is asked.
class AuthPrompter : public nsSupportsImpl<nsIAuthPrompt> {
public:
    explicit AuthPrompter(nsIDOMWindow* parent) : parent_(parent) {}
    nsresult PromptUsernameAndPassword(const PRUnichar* title, const PRUnichar* text, const PRUnichar*, PRUint32,
                                       PRUnichar** user, PRUnichar** password, PRBool* result) override {
        if (!user || !password || !result)
            return NS_ERROR_NULL_POINTER;
        *result = PR_FALSE;
        nsresult r;
        nsPtr<nsIPromptService> service = GetServiceAs<nsIPromptService>(NS_PROMPTSERVICE_CONTRACTID, &r);
        if (!service)
            return NS_FAILED(r) ? r : NS_ERROR_FAILURE;
        return service->PromptUsernameAndPassword(parent_, title, text, user, password, nullptr, nullptr, result);
    }

private:
    nsIDOMWindow* parent_;  // not owned
};

class WindowWatcher : public nsSupportsImpl<nsIWindowWatcher> {
public:
    nsresult SetWindowCreator(nsIWindowCreator* creator) override {
        creator_ = creator;
        return NS_OK;
    }
    nsresult GetWindowCreator(nsIWindowCreator** result) override {
        if (!result)
            return NS_ERROR_NULL_POINTER;
        *result = creator_.get();
        if (*result)
            (*result)->AddRef();
        return NS_OK;
    }
    nsresult GetNewAuthPrompter(nsIDOMWindow* parent, nsIAuthPrompt** result) override {
        if (!result)
            return NS_ERROR_NULL_POINTER;
        *result = new AuthPrompter(parent);
        (*result)->AddRef();
        return NS_OK;
    }

private:
    nsPtr<nsIWindowCreator> creator_;
};

}  // namespace

void NS_SetAppShellUnavailable(bool unavailable) {
    g_appShellUnavailable = unavailable;
}

namespace webrt {

nsresult MakeAppShell(nsISupports** result) {
    if (g_appShellUnavailable)
        return NS_ERROR_NOT_AVAILABLE;
    *result = static_cast<nsIAppShell*>(new AppShell);
    (*result)->AddRef();
    return NS_OK;
}

nsresult MakeWindowWatcher(nsISupports** result) {
    *result = static_cast<nsIWindowWatcher*>(new WindowWatcher);
    (*result)->AddRef();
    return NS_OK;
}

}  // namespace webrt
