// The application object's side of the online service: the settings and the
// web documents of the reader, the connection state and its check, the
// service's addresses and the web pages shown in the main window.
#include <windows.h>

#include <string>

#include "app/frame/Frame1.h"
#include "app/frame/SVPane.h"
#include "reader/TheApp.h"
#include "app/online/ADocNetManager.h"
#include "app/online/ANeckoConnection.h"
#include "app/online/ANetInfo.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "base/procedural/AOutStream.h"
#include "base/procedural/KyWinsock.h"
#include "panes/docks/workspace/ADossierManager.h"
#include "web/browser/AMozillaView.h"
#include "web/net/AppNetManager.h"

namespace {

const char kConnectionTitle[] = "Connection Internet";

// The configured message, or the text the program falls back on.
struct ConnectionMessage {
    const char* key;
    const char* fallback;
};

// By connection state (0 to 3): why the service may not be used now.
const ConnectionMessage kConnectionMessages[] = {
    {"MSG_NO_NETACESS_REQUIRED", "L'acc\xE8s \xE0 Internet n'est pas demand\xE9 dans vos pr\xE9" "f\xE9rences."},
    {"MSG_NO_ACTIVE_CONNECTION", "Aucune connexion \xE0 Internet n'est active."},
    {"MSG_NO_NETACESS", "Votre compte ne donne pas acc\xE8s au service en ligne."},
    {"MSG_NO_NETACESS", "Votre compte ne donne pas acc\xE8s au service en ligne."},
};

// "host[:port]" of the server of an address (or of a proxy "host:port"); empty when there is none.
std::string HostPortOf(const std::string& url) {
    size_t scheme = url.find("://");
    size_t start = scheme == std::string::npos ? 0 : scheme + 3;
    if (scheme != std::string::npos && _strnicmp(url.c_str(), "http", 4) != 0)
        return std::string();
    return url.substr(start, url.find_first_of("/?#", start) - start);
}

int LoadSockets() {
    WSADATA data;
    return KY_LoadWinsock(MAKEWORD(1, 1), &data);
}

// Reachable when the server (or the proxy) takes a connection; nothing is sent.
bool ServerAnswers(const char* url, const AString& proxy) {
    std::string target = HostPortOf(proxy.empty() ? std::string(url ? url : "") : std::string(proxy.c_str()));
    if (target.empty() || (!KY_WinsockLoaded() && LoadSockets() != 0))
        return false;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = KY_WsHtons(80);
    if (KY_ParseHostPort(&address, target.c_str()) != 0)
        return false;
    SOCKET s = KY_WsSocket(AF_INET, SOCK_STREAM, 0);
    if (s == INVALID_SOCKET || s == 0)
        return false;
    bool reachable = KY_WsConnect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    KY_WsCloseSocket(s);
    return reachable;
}

}  // namespace

// The settings.

void TheApp::loadNetInfo() {
    netInfo_.reset();
    const int16_t network = install_.network ? 1 : 0;
    AFileSpec reader = getUserFilesFolder();
    bool shared = install_.network && !usesReferenceFile();
    auto make = [&]() -> ANetInfo* {
        if (!shared)
            return new ANetInfo(reader, "svnet.par", 1, 0, network);
        AFileSpec installation = install_.workPath.empty() ? reader : AFileSpec(install_.workPath.c_str());
        return new ANetInfo(installation, "svnetadm.par", 1, 1, reader, "svnet.par", 1, 0, network);
    };
    try {
        netInfo_.reset(make());
        return;
    } catch (const AError& error) {
        // The reader's own file is the one that may be put aside; the administrator's stays.
        keepBadFile(AFileSpec(reader, "svnet.par"), error);
    }
    try {
        netInfo_.reset(make());
    } catch (const AError& error) {
        CurrentErrorStream().writeString("#Param\xE8tres en ligne illisibles: service en ligne indisponible\n");
        netInfo_.reset();
    }
}

void TheApp::releaseNetInfo() {
    netInfo_.reset();
}

void TheApp::loadDocNet() {
    docNet_.reset();
    AFileSpec folder = getUserFilesFolder();
    // A page stays while a dossier or a state of the history shows it; without
    // a main window (at quit) nothing can tell, so everything stays.
    auto keeper = [this](long n) {
        Frame1* frame = getFrame();
        if (!frame || frame->stateCount() == 0 || !histoManager_)
            return true;
        if (ADossierManager* dossiers = getDossierManager())
            if (dossiers->isInDossiers(n, 1))
                return true;
        return histoManager_->hasWebDocument(n);
    };
    docNet_.reset(new ADocNetManager(folder, "docnet.par", keeper));
    try {
        docNet_->load();
    } catch (const AError& error) {
        keepBadFile(AFileSpec(folder, "docnet.par"), error);
        docNet_.reset(new ADocNetManager(folder, "docnet.par", keeper));
        docNet_->load();
    }
}

void TheApp::releaseDocNet() {
    docNet_.reset();
}

void TheApp::saveDocNet() {
    try {
        if (docNet_)
            docNet_->save();
    } catch (const AError& error) {
        CurrentErrorStream().writeString("#docnet.par non sauvegard\xE9\n");
    }
}

long TheApp::getUrlDocNo(const char* entry) {
    return docNet_ ? docNet_->getUrlDocNo(entry) : -1;
}

// The connection.

AppNetManager* TheApp::getNetManager() {
    if (!netManager_) {
        CurrentErrorStream().writeString("Gestionnaire de connexions absent\n");
        netLog("Gestionnaire de connexions absent\n");
    }
    return netManager_.get();
}

AppNetManager* TheApp::getNetManagerChecked() {
    if (!netManager_)
        ThrowAssert("theapp", __LINE__);
    return netManager_.get();
}

AString TheApp::netUserAgent() {
    return netManager_ ? netManager_->getUserAgent() : AString();
}

AString TheApp::proxyAddress() {
    return netManager_ ? netManager_->getProxyAddress() : AString();
}

void TheApp::setupConnectionStatus(const char* testUrl) {
    if (!netInfo_)
        return;
    bool wanted = install_.network ? netInfo_->getNetAccess() != 0
                                   : prefManager_ && prefManager_->getWorkOnline() != 0;
    bool reachable = false;
    if (wanted) {
        std::string url = testUrl && *testUrl ? testUrl : configString("SERVERNAME").c_str();
        reachable = connectionTest_ ? connectionTest_(url.c_str()) : ServerAnswers(url.c_str(), proxyAddress());
    }
    netInfo_->updateConnectionState(wanted, reachable);
    if (Frame1* frame = getFrame())
        frame->showConnectionState();
}

bool TheApp::checkConnection(const char* address) {
    if (address)
        setupConnectionStatus(address);
    int16_t state = netInfo_ ? netInfo_->getConnectionState() : 1;
    if (state == 4)
        return true;
    const ConnectionMessage& why = kConnectionMessages[state >= 0 && state < 4 ? state : 1];
    AString text = configMessage(why.key);
    messageBox(text.empty() ? why.fallback : text.c_str(), kConnectionTitle, MB_OK | MB_ICONINFORMATION, nullptr);
    return false;
}

int16_t TheApp::connectionState() {
    return netInfo_ ? netInfo_->getConnectionState() : 0;
}

// The service's addresses and pages.

AString TheApp::makeServiceUrl(const char* page, const char* name, const char* value) {
    std::string url = configString("SVSITE").c_str();
    url += configString("REDIRECT").c_str();
    url += "?id=";
    url += page ? page : "";
    if (name && *name) {
        url += "&";
        url += name;
        url += "=";
        url += ServiceEscape(value ? value : "");
    }
    // The service reads levels from 1, as the search and control requests send them.
    url += "&filter=" + std::to_string((netInfo_ ? netInfo_->getFilterLevel() : 2) + 1);
    url += "&data=v10";
    return AString(url.c_str());
}

void TheApp::showWebPage(const char* address, int16_t full, int16_t second) {
    (void)second;
    Frame1* frame = getFrame();
    if (!frame || !address || !*address)
        return;
    long docNo = getUrlDocNo((std::string(address) + ";").c_str());
    if (docNo < 0)
        return;
    AppState* state = frame->makeNavState(1, 0, 0, 1, -1, 8, 4);
    state->setDocNo(docNo);
    if (full) {
        state->setUserInfo(3004, 1);
        state->setUserInfo(3005, 1);
    }
    frame->goToState(state, 1);
}

void TheApp::openWebHome(int16_t full) {
    setupConnectionStatus(nullptr);
    if (!checkConnection(nullptr))
        return;
    if (full) {
        showWebPage(makeServiceUrl("hom_compl_full", nullptr, nullptr).c_str(), 1, 1);
        return;
    }
    // The web complement pane loads the service's start page, the connection checked.
    if (webComplementLoader_)
        webComplementLoader_(1);
}

// What the online classes ask of the main window.

// The complement pane's view, whose links become web-page states. Not the
// web-page pane's: its links load in place (its top bar makes their states), and
// taking them away handed them back to it, to be taken again, without end.
bool TheApp::webPaneUnderPointer() {
    Frame1* frame = getFrame();
    SVPane* pane = frame ? frame->paneSlots().webComplementPane : nullptr;
    AComponent* found = pane ? pane->findDescendant(&AMozillaView::classRecord, nullptr) : nullptr;
    auto* view = found ? static_cast<AMozillaView*>(found->castTo(&AMozillaView::classRecord)) : nullptr;
    return view && view->isPointerOverView();
}

long TheApp::maxNetResults() {
    if (install_.network && !usesReferenceFile())
        return netInfo_ ? netInfo_->getMaxNetResults() : 50;
    return prefManager_ ? prefManager_->getMaxNetResults() : 50;
}

void TheApp::alert(const char* text, const char* title) {
    messageBox(text, title, MB_OK | MB_ICONINFORMATION, nullptr);
}

void TheApp::showSearchProgress(const char* status) {
    if (Frame1* frame = getFrame()) {
        frame->showStatusText(status);
        frame->showProgress();
    }
}

void TheApp::hideSearchProgress() {
    if (Frame1* frame = getFrame())
        frame->hideProgress();
}

bool TheApp::hasCurrentState() {
    Frame1* frame = getFrame();
    return frame && frame->currentState();
}

long TheApp::currentUserInfo(long key) {
    Frame1* frame = getFrame();
    AppState* state = frame ? frame->currentState() : nullptr;
    return state ? state->getUserInfo(key) : 0;
}
