// The proxy dialog's items and commands.
#include "web/net/ProxyDlg.h"

#include "base/procedural/AError.h"
#include "framework/app/AApp.h"
#include "framework/clusters/AClusterItem.h"
#include "framework/components/AKindSet.h"
#include "framework/components/ALayoutLoader.h"
#include "web/net/AProxyInfo.h"
#include "web/net/NetStrings.h"

SV_IMPLEMENT_CLASS(ProxyDlg, 0, AWindow)

namespace {

void SetDialogResult(uint16_t result) {
    if (AApp* app = AApp::current())
        app->setDialogResult(result);
}

}  // namespace

void ProxyDlg::readFrom(AMemoryStream& stream) {
    AWindow::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "wnet", 30);
}

// The fields tell the dialog of their changes, so that "Supprimer" follows them.
void ProxyDlg::setUpItems() {
    AWindow::setUpItems();
    for (int16_t id : {kHostItem, kPortItem}) {
        if (AClusterItem* field = findItem(id, false))
            field->addLink(this);
    }
}

void ProxyDlg::bindActions() {
    AWindow::bindActions();
    for (int16_t id : {kHostItem, kPortItem, kClearItem, kDefaultsItem})
        addAction(id, this, id, ownActionTable());
}

void ProxyDlg::linkChanged(AComponent* source, const AKindSet& kinds) {
    AWindow::linkChanged(source, kinds);
    if (kinds.contains(kUpdateValue))
        refreshStates();
}

void ProxyDlg::bind(AProxyInfo* info) {
    info_ = info;
    if (info) {
        setItemText(kHostItem, info->getHost().c_str());
        setItemText(kPortItem, info->getPort().c_str());
    }
    refreshStates();
}

void ProxyDlg::setNote(const char* note) {
    if (note && hasItem(kNoteItem))
        setItemText(kNoteItem, note);
}

void ProxyDlg::refreshStates() {
    AKindSet kinds;
    kinds.add(kUpdateCommandStates);
    notify(kinds);
    // The item state alone leaves the native button as it was: grey it here.
    if (AClusterItem* button = findItem(kClearItem, false))
        button->enableWindow(commandStatus(kClearItem, 0) == 1);
}

ACommand* ProxyDlg::doCommand(int16_t id, long argument) {
    switch (id) {
        case kCancelCommand:
            SetDialogResult(1);
            return AWindow::doCommand(id, argument);
        case kOkCommand: {
            if (!info_)
                ThrowAssert("wnet", 95);
            AString host = getItemText(kHostItem);
            AString port = getItemText(kPortItem);
            // A new proxy is asked for new credentials.
            if (host != info_->getHost() || port != info_->getPort())
                info_->clearCredentials();
            info_->setHost(host.c_str());
            info_->setPort(port.c_str());
            SetDialogResult(2);
            return AWindow::doCommand(id, argument);
        }
        case kClearItem:
            setItemText(kHostItem, "");
            setItemText(kPortItem, "");
            refreshStates();
            return noChangeCommand();
        case kDefaultsItem:
            if (defaults_) {
                setItemText(kHostItem, defaults_->getHost().c_str());
                setItemText(kPortItem, defaults_->getPort().c_str());
            }
            refreshStates();
            return noChangeCommand();
        case kHostItem:
        case kPortItem:
            return noChangeCommand();
        default:
            return AWindow::doCommand(id, argument);
    }
}

int16_t ProxyDlg::commandStatus(int16_t id, long argument) {
    switch (id) {
        case kHostItem:
        case kPortItem:
            return 1;
        case kClearItem:
            return (!getItemText(kHostItem).empty() || !getItemText(kPortItem).empty()) ? 1 : 2;
        case kDefaultsItem: {
            AClusterItem* item = findItem(kDefaultsItem, false);
            if (!item)
                return 2;
            item->setVisible(defaults_ != nullptr);
            return defaults_ ? 1 : 2;
        }
        default:
            return AWindow::commandStatus(id, argument);
    }
}
