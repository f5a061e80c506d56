// The preferences dialog: its choices written straight into the preference
// manager, the snapshot that Annuler puts back, the parental level, the
// account wizard's wait and the proxy.
#include "panes/docks/online/ASVPrefDlg.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/online/ANetInfo.h"
#include "app/prefs/APrefManager.h"
#include "base/procedural/AError.h"
#include "framework/app/AApp.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/controls/APopupMenu.h"
#include "framework/graphics/ATextStyle.h"
#include "panes/docks/online/AOnlinePanesHost.h"
#include "panes/docks/online/ASVNetDlg.h"
#include "web/embed/KyMozillaPrefs.h"
#include "web/net/AppNetManager.h"

SV_IMPLEMENT_CLASS(ASVPrefDlg, 0, AWindow)

namespace {

std::function<void()>& WaitStep() {
    static std::function<void()> step;
    return step;
}

struct Level {
    const char* word;
    uint32_t colour;  // palette-relative
};
const Level kLevels[] = {
    {"Vert", 0x0200FF00},
    {"Jaune", 0x0200FFFF},
    {"Orange", 0x020080FF},
    {"Rouge", 0x020000FF},
};

// Choice items and the value each writes.
struct Choice {
    int16_t item;
    long key;
    long value;
};
const Choice kChoices[] = {
    {6011, APrefManager::kFontSize, 2001},       {6012, APrefManager::kFontSize, 2002},
    {6013, APrefManager::kFontSize, 2003},       {6021, APrefManager::kShowFirstDocument, 1},
    {6022, APrefManager::kShowFirstDocument, 0}, {6031, APrefManager::kSaveHistory, 1},
    {6032, APrefManager::kSaveHistory, 0},       {6041, APrefManager::kWithMedia, 1},
    {6042, APrefManager::kWithMedia, 0},         {6051, APrefManager::kHideMediaBars, 1},
    {6052, APrefManager::kHideMediaBars, 0},     {6071, APrefManager::kSpaceOperator, 0},
    {6072, APrefManager::kSpaceOperator, 1},     {6111, APrefManager::kWorkOnline, 0},
    {6112, APrefManager::kWorkOnline, 1},        {6121, APrefManager::kAutoUpdate, 1},
    {6122, APrefManager::kAutoUpdate, 0},
};

const Choice* FindChoice(int16_t item) {
    for (const Choice& c : kChoices)
        if (c.item == item)
            return &c;
    return nullptr;
}

const int16_t kAlwaysBound[] = {6011, 6012, 6013, 6021, 6022, 6031, 6032, 6062, 6041,
                                6042, 6051, 6052, 6071, 6072, 6082, 6210, 6211};
const int16_t kOnlineBound[] = {6111, 6112, 6121, 6122, 6132, 6141, 6151, 6162};

}  // namespace

AString ASVPrefDlg::levelWord(long level) {
    if (level >= 0 && level < 4)
        return AString(kLevels[level].word);
    return AString(std::to_string(level).c_str());
}

uint32_t ASVPrefDlg::levelColour(long level) {
    return level >= 0 && level < 4 ? kLevels[level].colour : 0;
}

void ASVPrefDlg::setWaitStep(std::function<void()> step) {
    WaitStep() = std::move(step);
}

void ASVPrefDlg::setUpItems() {
    AWindow::setUpItems();
    // The layout without the online section is the network installation's.
    network_ = findItem(6131, false) == nullptr;
    if (!network_) {
        AClusterItem* level = findItem(6131, false);
        if (!level->castTo(&AStaticText::classRecord))
            ThrowAssert("SvPref", 110);
        if (!level->ownDisplayEnv())
            ThrowAssert("SvPref", 112);
    }
}

void ASVPrefDlg::bindActions() {
    AWindow::bindActions();
    for (int16_t id : kAlwaysBound)
        addAction(id, this, id, nullptr);
    if (!network_)
        for (int16_t id : kOnlineBound)
            addAction(id, this, id, nullptr);
}

void ASVPrefDlg::setPrefManager(APrefManager* manager) {
    prefs_ = manager;
    snapshot_ = manager ? static_cast<const ALongDicInfo&>(*manager) : ALongDicInfo();
}

long ASVPrefDlg::key(long k) {
    return prefs_ ? prefs_->getLong(k) : 0;
}

void ASVPrefDlg::showPrefValue(int16_t item, long k) {
    if (AClusterItem* found = findItem(item, false))
        found->setText(std::to_string(key(k)).c_str());
}

void ASVPrefDlg::fillItems() {
    if (!prefs_)
        ThrowAssert("SvPref", 200);
    if (!network_) {
        if (!settings_)
            ThrowAssert("SvPref", 203);
        showPrefValue(6161, APrefManager::kMaxNetResults);
        showFilterLevel();
    }
    showPrefValue(6081, APrefManager::kProximity);
    showPrefValue(6061, APrefManager::kMaxStates);
    refresh();
}

void ASVPrefDlg::refresh() {
    queueUpdate(0);
}

void ASVPrefDlg::showFilterLevel() {
    if (!settings_)
        return;
    AClusterItem* item = findItem(6131, false);
    if (!item)
        return;
    long level = settings_->getFilterLevel();
    item->setText(levelWord(level).c_str());
    ATextStyle* style = item->ownDisplayEnv();
    if (style && levelColour(level)) {
        style->setForeColor(levelColour(level));
        item->invalidate();
    }
}

void ASVPrefDlg::updateProximityItems() {
    bool shown = key(APrefManager::kSpaceOperator) != 0;
    for (int16_t id : {6080, 6083, 6082}) {
        AClusterItem* item = findItem(id, false);
        if (!item)
            continue;
        if (shown)
            item->show(true);
        else
            item->hide(true);
    }
}

void ASVPrefDlg::setKey(long k, long value) {
    if (prefs_)
        prefs_->setLong(k, value);
    refresh();
}

void ASVPrefDlg::popupChosen(int16_t popup, int16_t textItem, long k, long argument) {
    (void)argument;
    AClusterItem* item = findItem(popup, false);
    auto* button = item ? dynamic_cast<APopupButton*>(item) : nullptr;
    if (!button || button->selectedIndex() < 0)
        return;
    AString text = button->selectedText();
    if (AClusterItem* target = findItem(textItem, false))
        target->setText(text.c_str());
    setKey(k, std::strtol(text.c_str(), nullptr, 10));
}

bool ASVPrefDlg::isOnlineItem(int16_t id) const {
    for (int16_t online : kOnlineBound)
        if (online == id)
            return true;
    return false;
}

ACommand* ASVPrefDlg::doCommand(int16_t id, long argument) {
    // The network layout has no online section: its commands are not this dialog's.
    if (network_ && isOnlineItem(id))
        return AWindow::doCommand(id, argument);
    if (const Choice* choice = FindChoice(id)) {
        setKey(choice->key, choice->value);
        if (choice->key == APrefManager::kWorkOnline)
            AOnlinePanesHost::current().setupConnectionStatus();
        return noChangeCommand();
    }
    switch (id) {
    case 6062:
        popupChosen(6062, 6061, APrefManager::kMaxStates, argument);
        return noChangeCommand();
    case 6082:
        popupChosen(6082, 6081, APrefManager::kProximity, argument);
        return noChangeCommand();
    case 6162:
        popupChosen(6162, 6161, APrefManager::kMaxNetResults, argument);
        return noChangeCommand();
    case 6132:
        changeFilterLevel();
        return noChangeCommand();
    case 6141:
        changeParentalPassword();
        return noChangeCommand();
    case 6151:
        editProxy();
        return noChangeCommand();
    case 6211:
        return closeWindow();
    case 6210:
        return cancel();
    default:
        return AWindow::doCommand(id, argument);
    }
}

int16_t ASVPrefDlg::commandStatus(int16_t id, long argument) {
    if (const Choice* choice = FindChoice(id)) {
        if (id == 6071 || id == 6072)
            updateProximityItems();
        if (!prefs_)
            return 1;
        long value = prefs_->getLong(choice->key);
        bool checked = choice->key == APrefManager::kFontSize ? value == choice->value
                       : choice->value ? value != 0
                                       : value == 0;
        return checked ? 5 : 1;
    }
    switch (id) {
    case 6082:
        return key(APrefManager::kSpaceOperator) != 0 ? 1 : 2;
    case 6141:
        return settings_ && settings_->getDefaultsFlag() ? 2 : 1;
    case 6132:
        return settings_ && settings_->getDefaultsFlag() && settings_->getConnectionState() != 4 ? 2 : 1;
    case 6062:
    case 6151:
    case 6162:
    case 6210:
    case 6211:
        return 1;
    default:
        return AWindow::commandStatus(id, argument);
    }
}

void ASVPrefDlg::runWizard(int16_t step) {
    AApp* app = AApp::current();
    ASVNetDlg* wizard = AOnlinePanesHost::current().openNetDialog(step);
    if (wizard && app) {
        app->setDialogResult(0);
        // The wizard sets the result however it ends (destroyed included); a quit ends the wait too.
        while (app->dialogResult() == 0 && !app->quitRequested()) {
            if (WaitStep())
                WaitStep()();
            else
                app->runOnce();
        }
    }
    fillItems();
}

void ASVPrefDlg::editProxy() {
    AppNetManager* manager = AppNetManager::current();
    if (!settings_ || !manager || !manager->getProxyInfo())
        return;
    AProxyInfo* proxy = manager->getProxyInfo();
    proxy->setHost(settings_->getProxyHost().c_str());
    proxy->setPort(settings_->getProxyPort().c_str());
    AApp* app = AApp::current();
    if (app)
        app->setDialogResult(0);
    manager->editProxy();
    if (!app || app->dialogResult() != 2)
        return;
    settings_->setProxyHost(proxy->getHost());
    settings_->setProxyPort(proxy->getPort());
    applyProxyPrefs();
}

void ASVPrefDlg::applyProxyPrefs() {
    if (!settings_)
        return;
    AString host = settings_->getProxyHost();
    long port = std::strtol(settings_->getProxyPort().c_str(), nullptr, 10);
    if (port < 0 || port > 65535)
        port = 0;
    // An empty host means no proxy at all.
    const int32_t type = host.empty() ? 0 : 1;
    KyMozillaSetCharPref("network.proxy.http", host.c_str());
    KyMozillaSetIntPref("network.proxy.http_port", static_cast<int32_t>(port));
    KyMozillaSetIntPref("network.proxy.type", type);
    std::string lines = "Modification des preferences proxy Mozilla \n";
    lines += std::string("network.proxy.http \t\t<= ") + host.c_str() + "\n";
    lines += "network.proxy.http_port <= " + std::to_string(port) + "\n";
    lines += "network.proxy.type \t\t<= " + std::to_string(type) + "\n";
    AOnlinePanesHost::current().logLines(lines.c_str());
    settings_->save();
}

ACommand* ASVPrefDlg::closeWindow() {
    if (prefs_) {
        prefs_->save();
        prefs_->notifyCallBacks();
    }
    if (AApp* app = AApp::current())
        app->setDialogResult(2);
    return AWindow::closeWindow();
}

ACommand* ASVPrefDlg::cancel() {
    if (prefs_) {
        long before = prefs_->getLong(APrefManager::kWorkOnline);
        static_cast<ALongDicInfo&>(*prefs_) = snapshot_;
        // The connection state follows the restored wish at once.
        if (prefs_->getLong(APrefManager::kWorkOnline) != before)
            AOnlinePanesHost::current().setupConnectionStatus();
    }
    return closeWindow();
}
