// The web browser's scripts and plug-ins: runs the few "javascript:" calls
// the program's pages use, opens the windows they ask for, and starts the
// plug-ins registered for the page's embedded objects.
#include "platform/webrt/nsWebBrowserImpl.h"

#include <cctype>

namespace webrt {

namespace {

std::map<std::string, NS_PluginMaker>& Plugins() {
    static std::map<std::string, NS_PluginMaker> plugins;
    return plugins;
}

// One call of a script: name(arguments), arguments as texts without their quotes.
bool ParseCall(const std::string& script, std::string& name, std::vector<std::string>& arguments) {
    size_t open = script.find('(');
    if (open == std::string::npos)
        return false;
    name = script.substr(0, open);
    while (!name.empty() && std::isspace(static_cast<unsigned char>(name.back())))
        name.pop_back();
    size_t i = open + 1;
    std::string current;
    bool any = false;
    while (i < script.size() && script[i] != ')') {
        char c = script[i];
        if (c == '\'' || c == '"') {
            size_t end = script.find(c, i + 1);
            if (end == std::string::npos)
                return false;
            current += script.substr(i + 1, end - i - 1);
            any = true;
            i = end + 1;
        } else if (c == ',') {
            arguments.push_back(current);
            current.clear();
            any = false;
            ++i;
        } else {
            if (!std::isspace(static_cast<unsigned char>(c))) {
                current.push_back(c);
                any = true;
            }
            ++i;
        }
    }
    if (i >= script.size())
        return false;
    if (any || !arguments.empty())
        arguments.push_back(current);
    return true;
}

PRUint32 FeatureFlags(const std::string& features) {
    std::string f = LowerText(features);
    if (f.empty())
        return nsIWebBrowserChrome::CHROME_DEFAULT;
    PRUint32 flags = 0;
    struct {
        const char* name;
        PRUint32 bit;
    } const table[] = {{"close", nsIWebBrowserChrome::CHROME_WINDOW_CLOSE},
                       {"resizable", nsIWebBrowserChrome::CHROME_WINDOW_RESIZE},
                       {"toolbar", nsIWebBrowserChrome::CHROME_TOOLBAR},
                       {"status", nsIWebBrowserChrome::CHROME_STATUSBAR},
                       {"titlebar", nsIWebBrowserChrome::CHROME_TITLEBAR},
                       {"modal", nsIWebBrowserChrome::CHROME_MODAL},
                       {"dialog", nsIWebBrowserChrome::CHROME_OPENAS_DIALOG},
                       {"chrome", nsIWebBrowserChrome::CHROME_OPENAS_CHROME}};
    for (const auto& row : table)
        if (f.find(row.name) != std::string::npos)
            flags |= row.bit;
    return flags ? flags : nsIWebBrowserChrome::CHROME_DEFAULT;
}

// The functions of the program's pages that the embedded plug-in answers.
bool IsPluginFunction(const std::string& name) {
    static const char* const names[] = {"gotoframe", "zoom",          "zoompan", "play", "stop",
                                        "stopAndRewind", "document.embeds[0].GotoFrame"};
    for (const char* n : names)
        if (name == n)
            return true;
    return false;
}

}  // namespace

nsresult WebBrowser::openWindow(const std::string& url, PRUint32 flags) {
    nsresult r;
    nsPtr<nsIWindowWatcher> watcher = GetServiceAs<nsIWindowWatcher>(NS_WINDOWWATCHER_CONTRACTID, &r);
    nsPtr<nsIWindowCreator> creator;
    if (watcher)
        watcher->GetWindowCreator(creator.receive());
    if (!creator) {
        LogError("window.open: no window creator for " + url);
        return NS_ERROR_NOT_AVAILABLE;
    }
    nsPtr<nsIWebBrowserChrome> chrome;
    r = creator->CreateChromeWindow(chrome_.get(), flags, chrome.receive());
    if (NS_FAILED(r) || !chrome)
        return NS_FAILED(r) ? r : NS_ERROR_FAILURE;
    nsPtr<nsIWebBrowser> browser;
    chrome->GetWebBrowser(browser.receive());
    nsPtr<nsIWebNavigation> navigation = QueryAs<nsIWebNavigation>(browser.get());
    if (!navigation || url.empty())
        return NS_OK;
    return navigation->LoadURI(NS_ConvertNativeToUTF16(url.c_str()).c_str(), 0, nullptr, nullptr, nullptr);
}

void WebBrowser::runScript(const std::string& script) {
    std::string name;
    std::vector<std::string> arguments;
    std::string text = script;
    while (!text.empty() && (text.back() == ';' || std::isspace(static_cast<unsigned char>(text.back()))))
        text.pop_back();
    if (!ParseCall(text, name, arguments)) {
        NS_ScriptLog().push_back("ignored " + script);
        LogError("javascript: not run: " + script);
        return;
    }
    auto arg = [&](size_t i) { return i < arguments.size() ? arguments[i] : std::string(); };
    nsPtr<nsIPromptService> prompts;
    if (name == "alert" || name == "confirm" || name == "prompt")
        prompts = GetServiceAs<nsIPromptService>(NS_PROMPTSERVICE_CONTRACTID);
    nsString message = NS_ConvertNativeToUTF16(arg(0).c_str());
    nsIDOMWindow* window = static_cast<nsIDOMWindow*>(this);
    if (name == "alert" || name == "window.alert") {
        if (prompts)
            prompts->Alert(window, nullptr, message.c_str());
    } else if (name == "confirm" || name == "window.confirm") {
        PRBool answer = PR_FALSE;
        if (prompts)
            prompts->Confirm(window, nullptr, message.c_str(), &answer);
        NS_ScriptLog().push_back(std::string("confirm ") + (answer ? "1" : "0"));
    } else if (name == "prompt" || name == "window.prompt") {
        PRUnichar* value = arguments.size() > 1 ? ToNewUnicode(NS_ConvertNativeToUTF16(arg(1).c_str())) : nullptr;
        PRBool answer = PR_FALSE;
        if (prompts)
            prompts->Prompt(window, nullptr, message.c_str(), &value, nullptr, nullptr, &answer);
        NS_ScriptLog().push_back("prompt " + std::string(answer ? "1 " : "0 ") +
                                 (value ? NS_LossyConvertUTF16toNative(value) : std::string()));
        nsMemory::Free(value);
    } else if (name == "window.open" || name == "open") {
        openWindow(arg(0).empty() ? std::string() : ResolveUrl(currentUrl_, arg(0)), FeatureFlags(arg(2)));
    } else if (name == "window.close" || name == "close") {
        if (chrome_)
            nsPtr<nsIWebBrowserChrome>(chrome_)->DestroyBrowserWindow();
    } else if (IsPluginFunction(name) && !plugins_.empty()) {
        plugins_.front()->Call(name.c_str(), arguments);
    } else {
        NS_ScriptLog().push_back("ignored " + script);
        LogError("javascript: not run: " + script);
    }
}

void WebBrowser::startPlugins() {
    if (!allowPlugins_ || !hwnd_)
        return;
    int y = contentHeight_ + 8;
    for (const HtmlEmbed& embed : document_.embeds) {
        auto it = Plugins().find(embed.type);
        if (it == Plugins().end())
            continue;
        std::string src = embed.src.empty() ? std::string() : ResolveUrl(currentUrl_, embed.src);
        nsPtr<nsIURI> uri;
        if (!src.empty() && NS_SUCCEEDED(NS_NewURI(uri.receive(), src)) &&
            !policyAllows(nsIContentPolicy::TYPE_OBJECT, uri.get()))
            continue;
        nsPtr<nsIPluginInstance> instance;
        if (NS_FAILED(it->second(embed.type.c_str(), instance.receive())) || !instance)
            continue;
        if (NS_SUCCEEDED(instance->Start(hwnd_, 8, y - scrollY_, embed.width, embed.height, src.c_str()))) {
            // The page's start frame, then its stop call (the atlas's zoom and pan), as the movie's first frame ran them.
            if (embed.frame >= 0)
                instance->Call("gotoframe", {std::to_string(embed.frame)});
            std::string name;
            std::vector<std::string> arguments;
            if (!embed.stop.empty() && ParseCall(embed.stop, name, arguments) && IsPluginFunction(name))
                instance->Call(name.c_str(), arguments);
        }
        plugins_.push_back(instance);
        y += embed.height + 8;
    }
}

void WebBrowser::stopPlugins() {
    std::vector<nsPtr<nsIPluginInstance>> plugins;
    plugins.swap(plugins_);
    for (auto& p : plugins)
        p->Stop();
}

}  // namespace webrt

void NS_RegisterPlugin(const char* mimeType, NS_PluginMaker maker) {
    if (!mimeType)
        return;
    std::string type = webrt::LowerText(mimeType);
    if (maker)
        webrt::Plugins()[type] = maker;
    else
        webrt::Plugins().erase(type);
}

std::vector<std::string>& NS_ScriptLog() {
    static std::vector<std::string> log;
    return log;
}

