// The application object's side of the online pages and settings: the
// service's start page and the day's copy of the complement page, the account
// requests, the installation's default settings, the wizard and the
// preferences dialog, and the host the online panes ask.
#include <windows.h>

#include <cstdio>
#include <new>
#include <string>

#include "app/frame/Frame1.h"
#include "reader/TheApp.h"
#include "app/online/ANeckoConnection.h"
#include "app/online/ANetInfo.h"
#include "base/procedural/AError.h"
#include "base/procedural/AOutStream.h"
#include "docengine/render/ATextRenderer.h"
#include "framework/app/AOpenWindows.h"
#include "panes/content/home/DockTopAccueilPane.h"
#include "panes/docks/online/AOnlinePanesHost.h"
#include "panes/docks/online/ASVNetDlg.h"
#include "panes/docks/online/ASVPrefDlg.h"
#include "panes/docks/online/ComplWebPane.h"
#include "web/browser/AMozillaView.h"

namespace {

const char kServiceCaption[] = "Service Savantorium SVLINK";

// "DD-MM-YY" of today, as the last connection is stored and shown.
std::string Today() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[16];
    std::snprintf(text, sizeof text, "%02d-%02d-%02d", now.wDay % 100, now.wMonth % 100, now.wYear % 100);
    return text;
}

// The copy's file name of a stored date: "DDMMYY.htm"; empty for a date that is not one.
std::string CopyName(const std::string& date) {
    std::string digits;
    for (char c : date)
        if (c != '-')
            digits += c;
    if (digits.size() != 6 || digits.find_first_not_of("0123456789") != std::string::npos)
        return std::string();
    return digits + ".htm";
}

class TheAppOnlinePanes : public AOnlinePanesHost {
public:
    explicit TheAppOnlinePanes(TheApp& app) : app_(app) {}
    AString getNetStatusPage(int16_t check) override { return app_.getNetStatusPage(check); }
    void saveWebPageCopy() override { app_.saveWebPageCopy(); }
    void openWebHome(int16_t full) override { app_.openWebHome(full); }
    void showWebPage(const char* address, int16_t full, int16_t second) override {
        app_.showWebPage(address, full, second);
    }
    bool checkConnection() override { return app_.checkConnection(nullptr); }
    AString makeServiceUrl(const char* page, const char* name, const char* value) override {
        return app_.makeServiceUrl(page, name, value);
    }
    AString configString(const char* key) override { return app_.configString(key); }
    AString configMessage(const char* key) override { return app_.configMessage(key); }
    void serviceAccountRequest(int16_t kind, ANetInfo* settings) override { app_.serviceAccountRequest(kind, settings); }
    void setupConnectionStatus() override { app_.setupConnectionStatus(nullptr); }
    ASVNetDlg* openNetDialog(int16_t step) override { return app_.openNetDialogAt(step); }
    bool isNetworkInstall() override { return app_.isNetworkInstall(); }
    ANetInfo* netInfo() override { return app_.netInfo(); }
    APrefManager* prefManager() override { return app_.getPrefManager(); }
    int messageBox(const char* text, const char* caption, unsigned flags) override {
        return app_.messageBox(text, caption, flags, nullptr);
    }
    void beep() override { app_.beep(0); }
    void logLines(const char* text) override { app_.netLog(text); }
    ARenderer* createTextRenderer(ARendererView* view) override {
        AAppTextRenderer* renderer = app_.createTextRenderer(view, 14);
        renderer->options = static_cast<uint16_t>(renderer->options & ~8u);
        return renderer;
    }

private:
    TheApp& app_;
};

ComplWebPane* WebComplementPane(Frame1* frame) {
    SVPane* pane = frame ? frame->paneSlots().webComplementPane : nullptr;
    return pane ? static_cast<ComplWebPane*>(pane->castTo(&ComplWebPane::classRecord)) : nullptr;
}

}  // namespace

void TheApp::installOnlinePanes() {
    onlinePanes_.reset(CheckAlloc(new (std::nothrow) TheAppOnlinePanes(*this), "theapp", __LINE__));
    AOnlinePanesHost::install(onlinePanes_.get());
    setWebComplementLoader([this](int16_t check) {
        if (ComplWebPane* pane = WebComplementPane(getFrame()))
            pane->loadUrl(check);
    });
}

void TheApp::removeOnlinePanes() {
    if (&AOnlinePanesHost::current() == onlinePanes_.get())
        AOnlinePanesHost::install(nullptr);
    onlinePanes_.reset();
}

AFileSpec TheApp::webCopyFile(const char* date) {
    std::string name = CopyName(date ? date : "");
    return name.empty() ? AFileSpec() : AFileSpec(getUserFilesFolder(), name.c_str());
}

AString TheApp::getNetStatusPage(int16_t check) {
    if (netInfo_) {
        bool usable = netInfo_->getConnectionState() == 4;
        if (!usable && check) {
            setupConnectionStatus(nullptr);
            usable = netInfo_->getConnectionState() == 4;
        }
        // A network installation with shared settings takes the administrator's choice.
        bool automatic = install_.network && !usesReferenceFile()
                             ? netInfo_->getShowWebHome() != 0
                             : prefManager_ && prefManager_->getLong(APrefManager::kAutoUpdate) == 1;
        if (usable && (check || automatic))
            return configString("ACCUEIL_WEB_HTML");
        AFileSpec copy = webCopyFile(netInfo_->getLastConnection().c_str());
        if (!copy.path().empty() && copy.exists())
            return pathToFileUrl(copy.path().c_str());
    }
    std::string local = configString("ACCUEIL_WEB_LOCAL").c_str();
    if (local.empty())
        return AString();
    // A disc page is named from the data root unless its path is whole.
    if (local.find(':') == std::string::npos && local[0] != '\\')
        local = std::string(dataRoot_.c_str()) + "\\" + local;
    return pathToFileUrl(local.c_str());
}

void TheApp::saveWebPageCopy() {
    ComplWebPane* pane = WebComplementPane(getFrame());
    if (!pane || !pane->view() || !netInfo_)
        return;
    std::string today = Today();
    std::string stored = netInfo_->getLastConnection().c_str();
    AFileSpec fresh = webCopyFile(today.c_str());
    if (stored == today && fresh.exists())
        return;
    try {
        // The previous copy and its parts go first.
        AFileSpec old = webCopyFile(stored.c_str());
        if (!old.path().empty()) {
            std::string parts = std::string(old.path().c_str());
            parts = parts.substr(0, parts.size() - 4) + "_files";
            if (old.exists())
                old.removeTree(false);
            AFileSpec folder(parts.c_str());
            if (folder.exists())
                folder.removeTree(true);
        }
        if (!pane->view()->savePage(fresh, 1))
            return;
        netInfo_->setLastConnection(AString(today.c_str()));
        netInfo_->save();
    } catch (const AError& error) {
        CurrentErrorStream().writeString("#Copie de la page du service non enregistr\xE9" "e\n");
        return;
    }
    showLastConnection();
    if (Frame1* frame = getFrame())
        frame->showConnectionState();
}

void TheApp::showLastConnection() {
    Frame1* frame = getFrame();
    SVPane* dock = frame ? frame->paneSlots().homeTopDock : nullptr;
    if (auto* home = dock ? static_cast<DockTopAccueilPane*>(dock->castTo(&DockTopAccueilPane::classRecord)) : nullptr)
        home->showLastConnection();
}

// The account requests: "<SVSITE><ACCOUNTSCRIPT>/login|passwd|forgot?..."
// answered by one line "OK" (then, for a login, cookie 1 and cookie 2 on
// their own lines) or any other line for a refusal.
void TheApp::serviceAccountRequest(int16_t kind, ANetInfo* settings) {
    if (!settings)
        return;
    const char* operation = kind == 2 ? "/login" : kind == 4 ? "/passwd" : kind == 5 ? "/forgot" : nullptr;
    if (!operation)
        return;
    std::string script = configString("ACCOUNTSCRIPT").c_str();
    if (script.empty())
        script = "/sv/account";
    std::string query = "login=" + ServiceEscape(settings->getLogin().c_str());
    if (kind != 5)
        query += "&password=" + ServiceEscape(settings->getPassword().c_str());
    if (kind == 4)
        query += "&new=" + ServiceEscape(settings->getNewPassword().c_str());
    ANeckoConnection connection(configString("SVSITE").c_str(), "", "", netUserAgent().c_str(), "ACCOUNT");
    connection.open(proxyAddress().c_str(), "", netUserAgent().c_str());
    char answer[1024];
    bool fetched = connection.fetchText((script + operation).c_str(), query.c_str(), answer, sizeof answer);
    connection.close();
    std::string lines = fetched ? answer : "";
    auto line = [&](int n) {
        size_t start = 0;
        for (int i = 0; i < n && start != std::string::npos; ++i) {
            start = lines.find('\n', start);
            start = start == std::string::npos ? start : start + 1;
        }
        if (start == std::string::npos || start >= lines.size())
            return std::string();
        std::string text = lines.substr(start, lines.find('\n', start) - start);
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        return text;
    };
    bool ok = line(0) == "OK";
    switch (kind) {
    case 2:
        if (ok) {
            settings->setCookie1(AString(line(1).c_str()));
            settings->setCookie2(AString(line(2).c_str()));
            settings->setServiceAccess(1);
            settings->setConnectionState(4);
        } else if (fetched) {
            messageBox("Le service n'a pas reconnu votre identifiant ou votre mot de passe.", kServiceCaption,
                       MB_OK | MB_ICONEXCLAMATION, nullptr);
        }
        break;
    case 4:
        if (ok) {
            settings->setPassword(settings->getNewPassword());
            messageBox("Votre mot de passe a \xE9t\xE9 chang\xE9.", kServiceCaption, MB_OK | MB_ICONINFORMATION, nullptr);
        } else if (fetched) {
            messageBox("Le service a refus\xE9 le changement de mot de passe.", kServiceCaption,
                       MB_OK | MB_ICONEXCLAMATION, nullptr);
        }
        settings->setNewPassword(AString());
        break;
    default:
        settings->setRequestResult(ok ? 1 : 0);
        if (fetched)
            messageBox(ok ? "Votre mot de passe vous a \xE9t\xE9 envoy\xE9." : "Le service ne conna\xEEt pas cet identifiant.",
                       kServiceCaption, MB_OK | MB_ICONINFORMATION, nullptr);
        break;
    }
}

void TheApp::setNetDefaults() {
    if (!netInfo_)
        return;
    netInfo_->setLogin(configString("NET_DEFAULT_LOGIN"));
    netInfo_->setPassword(configString("NET_DEFAULT_PASSWORD"));
    netInfo_->setFilterLevel(2);
    netInfo_->setDefaultsFlag(1);
}

ASVNetDlg* TheApp::openNetDialogAt(int16_t step) {
    if (!netInfo_) {
        // Settings that could not be read stay as they are on disk; there is nothing to fill in.
        messageBox("Les param\xE8tres du service en ligne sont illisibles.", getWindowTitle().c_str(),
                   MB_OK | MB_ICONEXCLAMATION, nullptr);
        return nullptr;
    }
    Frame1* frame = getFrame();
    AComponent* parent = frame ? static_cast<AComponent*>(frame) : this;
    if (AWindow* open = SelectOpenWindow(parent, ASVNetDlg::kId, &ASVNetDlg::classRecord)) {
        auto* wizard = static_cast<ASVNetDlg*>(open->castTo(&ASVNetDlg::classRecord));
        wizard->showStep(step);
        return wizard;
    }
    AComponent* made = AComponent::loadLayout(parent, ASVNetDlg::kLayoutName, 0);
    auto* wizard = made ? static_cast<ASVNetDlg*>(made->castTo(&ASVNetDlg::classRecord)) : nullptr;
    if (!wizard)
        return nullptr;
    wizard->centerIn(nullptr, false);
    wizard->setNetInfo(netInfo_.get());
    // Shown first: the panels' controls follow their panel only in a shown window.
    wizard->showUpdate();
    wizard->showStep(step);
    return wizard;
}

void TheApp::openNetDialog(int16_t step) {
    openNetDialogAt(step);
}

void TheApp::openPreferences() {
    const char* layout = isNetworkInstall() ? ASVPrefDlg::kNetworkLayoutName : ASVPrefDlg::kLayoutName;
    Frame1* frame = getFrame();
    if (SelectOpenWindow(frame ? static_cast<AComponent*>(frame) : this, ASVPrefDlg::kId, &ASVPrefDlg::classRecord))
        return;
    AComponent* made = AComponent::loadLayout(frame ? static_cast<AComponent*>(frame) : this, layout, 0);
    auto* dialog = made ? static_cast<ASVPrefDlg*>(made->castTo(&ASVPrefDlg::classRecord)) : nullptr;
    if (!dialog)
        return;
    if (!netInfo_ && !dialog->isNetworkLayout())
        ThrowAssert("theapp", __LINE__);
    if (!prefManager_)
        ThrowAssert("theapp", __LINE__);
    dialog->setNetInfo(netInfo_.get());
    dialog->setPrefManager(prefManager_.get());
    dialog->fillItems();
    dialog->centerIn(nullptr, false);
    dialog->showUpdate();
}
