// The account wizard: its panels by step, the login, the password check and
// change, the forgotten-password request and the ways it closes.
#include "panes/docks/online/ASVNetDlg.h"

#include <windows.h>

#include <cstring>
#include <new>

#include "app/lists/ASVEditFilter.h"
#include "app/online/ANetInfo.h"
#include "base/procedural/AError.h"
#include "docengine/render/ARenderer.h"
#include "docengine/render/ARendererViews.h"
#include "framework/app/AApp.h"
#include "framework/controls/AEditBox.h"
#include "panes/docks/online/AOnlinePanesHost.h"

SV_IMPLEMENT_CLASS(ASVNetDlg, 0, AWindow)

namespace {

// Blanks and line ends never belong to an identifier or a password.
const char kDropped[] = " \r\n";

const int16_t kPanels[] = {6003, 6004, 6005, 6006};
const int16_t kBoundItems[] = {6051, 6061, 6070, 6206, 6207, 6101, 6102, 6103, 6104, 6111,
                               6208, 6209, 6210, 6211, 6062, 6071, 6220, 6221, 6212, 6213};
// The items of each panel, labels included.
const struct {
    int16_t panel;
    int16_t items[10];
} kPanelItems[] = {
    {6003, {1005, 6050, 6051, 6060, 6061, 6070, 1006, 6206, 6207}},
    {6004, {6100, 6101, 6102, 6103, 6104, 6111, 1007, 6208, 6209}},
    {6005, {1009, 6210, 6211}},
    {6006, {1008, 6260, 6062, 6071, 6261, 6220, 6262, 6221, 6212, 6213}},
};
const struct {
    int16_t view;
    const char* key;
} kViewMessages[] = {{1005, "DLG_NET_MSG4"}, {1006, "DLG_NET_MSG5"}, {1007, "DLG_NET_MSG6"}, {1008, "DLG_NET_MSG7"}};

}  // namespace

ASVNetDlg::~ASVNetDlg() {
    // A wizard destroyed without closing (the application quitting) still ends its waits.
    try {
        finish();
    } catch (...) {
    }
}

AString ASVNetDlg::message(const char* key) {
    return AOnlinePanesHost::current().configMessage(key);
}

void ASVNetDlg::setUpItems() {
    AWindow::setUpItems();
    AEditBox** fields[] = {&identifierField_, &passwordField_, &newPasswordField_, &confirmField_};
    const int16_t ids[] = {6051, 6061, 6220, 6221};
    for (int i = 0; i < 4; ++i) {
        AClusterItem* item = findItem(ids[i], false);
        *fields[i] = item ? static_cast<AEditBox*>(item->castTo(&AEditBox::classRecord)) : nullptr;
        if (!*fields[i])
            ThrowAssert("SvNet", 120 + i);
        (*fields[i])->setFilter(CheckAlloc(new (std::nothrow) ASVEditFilter(*fields[i]), "SvNet", 125));
    }
    for (const auto& view : kViewMessages) {
        AClusterItem* item = findItem(view.view, false);
        auto* rv = item ? static_cast<ARendererView*>(item->castTo(&ARendererView::classRecord)) : nullptr;
        if (!rv)
            continue;
        if (ARenderer* renderer = AOnlinePanesHost::current().createTextRenderer(rv)) {
            // A message box, not a page: no word selection.
            renderer->options = static_cast<uint16_t>(renderer->options & ~4u);
            renderer->setTextModel(message(view.key).c_str(), nullptr);
        }
    }
    // The panels lie in one place: none may paint its background over the one shown.
    for (int16_t panel : kPanels)
        if (AClusterItem* item = findItem(panel, false))
            item->setTransparentFlag(true), item->setEraseBackgroundFlag(false);
    returnStep_ = -1;
}

void ASVNetDlg::bindActions() {
    AWindow::bindActions();
    for (int16_t id : kBoundItems)
        addAction(id, this, id, nullptr);
}

void ASVNetDlg::setNetInfo(ANetInfo* settings) {
    settings_ = settings;
    savedFilterLevel_ = settings ? settings->getFilterLevel() : 0;
}

void ASVNetDlg::setItemShown(int16_t id, bool shown) {
    AClusterItem* item = findItem(id, false);
    if (!item)
        return;
    if (shown)
        item->show(true);
    else
        item->hide(true);
    // Before the window is on screen the framework leaves the controls' own
    // windows as they were made (shown): the panels' controls follow their panel here.
    for (const auto& panel : kPanelItems) {
        if (panel.panel != id)
            continue;
        for (int16_t child : panel.items) {
            AClusterItem* found = child ? findItem(child, false) : nullptr;
            if (!found)
                continue;
            if (shown && found->hasFlags(ADisplayComponent::kShown))
                found->showNativeWindow();
            else if (!shown)
                found->hideNativeWindow();
        }
    }
}

void ASVNetDlg::setViewText(int16_t id, const AString& text) {
    AClusterItem* item = findItem(id, false);
    auto* view = item ? static_cast<ARendererView*>(item->castTo(&ARendererView::classRecord)) : nullptr;
    if (ARenderer* renderer = view ? view->renderer() : nullptr)
        renderer->setTextModel(text.c_str(), nullptr);
}

void ASVNetDlg::showStep(int16_t step) {
    if (!settings_)
        ThrowAssert("SvNet", 200);
    if (step == 3 && settings_->getConnectionState() == 3)
        step = 2;
    step_ = step;
    for (int16_t panel : kPanels)
        setItemShown(panel, false);
    identifierField_->setText("");
    passwordField_->setText("");
    queueUpdate(0);
    AString title = message("NET_DLG_TITLE");
    switch (step) {
    case 2:
        title += " - \xC9tape";
        title += " 3";
        setItemShown(6003, true);
        setItemShown(6070, false);
        setItemShown(1005, true);
        setViewText(1005, message("DLG_NET_MSG4"));
        setItemShown(1006, true);
        setViewText(1006, message("DLG_NET_MSG5"));
        break;
    case 3:
        title = message("PARENTAL_CAPTION");
        setItemShown(6003, true);
        setItemShown(6070, true);
        setItemShown(1005, true);
        setViewText(1005, message("DLG_NET_MSG4BIS"));
        setViewText(1006, AString());
        identifierField_->setText(settings_->getLogin().c_str());
        break;
    case 4:
        title = message("PARENTAL_CAPTION");
        setItemShown(6004, true);
        break;
    case 5:
        setItemShown(6005, true);
        break;
    case 6:
        title = message("CHANGEPASSWD_CAPTION");
        setItemShown(6006, true);
        break;
    default:
        break;
    }
    setTitle(title.c_str());
}

ACommand* ASVNetDlg::doCommand(int16_t id, long argument) {
    switch (id) {
    case 6051:
    case 6061:
    case 6062:
    case 6220:
    case 6221:
        return noChangeCommand();
    case 6206:
    case 6209:
    case 6212:
        return closeWindow();
    case 6207:
        if (step_ == 2)
            return loginToService();
        if (step_ == 3) {
            if (checkPassword(false))
                showStep(4);
            else
                AOnlinePanesHost::current().messageBox("Mot de passe invalide", kCaption, MB_OK | MB_ICONEXCLAMATION);
        }
        return noChangeCommand();
    case 6070:
    case 6071:
        return requestForgottenPassword();
    case 6101:
    case 6102:
    case 6103:
    case 6104:
        if (settings_)
            settings_->setFilterLevel(static_cast<int16_t>(id - 6101));
        queueUpdate(0);
        return noChangeCommand();
    case 6111:
        if (settings_)
            settings_->setTemporaryFilter(settings_->getTemporaryFilter() ? 0 : 1);
        queueUpdate(0);
        return noChangeCommand();
    case 6208:
        return cancel();
    case 6210:
    case 6211:
        showStep(returnStep_);
        return noChangeCommand();
    case 6213:
        if (changePassword())
            return closeWindow();
        return noChangeCommand();
    default:
        return AWindow::doCommand(id, argument);
    }
}

int16_t ASVNetDlg::commandStatus(int16_t id, long argument) {
    switch (id) {
    case 6051:
    case 6061:
    case 6062:
    case 6071:
    case 6207:
    case 6208:
    case 6209:
    case 6210:
    case 6211:
    case 6212:
    case 6213:
    case 6220:
    case 6221:
        return 1;
    case 6206:
        return settings_ ? 1 : 2;
    case 6070: {
        bool offered = step_ == 3 && settings_ && !settings_->getDefaultsFlag();
        setItemShown(6070, offered);
        return offered ? 1 : 2;
    }
    case 6101:
    case 6102:
    case 6103:
    case 6104:
        if (!settings_)
            return 2;
        return settings_->getFilterLevel() == id - 6101 ? 5 : 1;
    case 6111:
        if (!settings_)
            return 2;
        return settings_->getTemporaryFilter() ? 5 : 1;
    default:
        return AWindow::commandStatus(id, argument);
    }
}

ACommand* ASVNetDlg::loginToService() {
    settings_->setLogin(identifierField_->getText().withoutChars(kDropped));
    settings_->setPassword(passwordField_->getText().withoutChars(kDropped));
    AOnlinePanesHost& host = AOnlinePanesHost::current();
    host.serviceAccountRequest(2, settings_);
    if (settings_->getConnectionState() != 4) {
        // What the reader is told comes from the request; the fields stay as typed.
        settings_->setLogin(identifierField_->getText().withoutChars(" "));
        settings_->setPassword(passwordField_->getText().withoutChars(" "));
        return noChangeCommand();
    }
    if (settings_->getCookie2().empty())
        ThrowAssert("SvNet", 420);
    int answer = host.messageBox(message("ASK_PARENTAL_SETUP").c_str(), kCaption,
                                 MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    if (answer == IDYES) {
        returnStep_ = step_;
        showStep(4);
        return noChangeCommand();
    }
    host.messageBox(message("DEFAULT_PARENTAL").c_str(), kCaption, MB_OK | MB_ICONINFORMATION);
    settings_->setFilterLevel(2);
    settings_->setAskParental(0);
    return closeWindow();
}

bool ASVNetDlg::checkPassword(bool fromChangePanel) {
    AString login = fromChangePanel ? settings_->getLogin() : identifierField_->getText();
    AString password;
    if (fromChangePanel) {
        AClusterItem* item = findItem(6062, false);
        auto* field = item ? static_cast<AEditBox*>(item->castTo(&AEditBox::classRecord)) : nullptr;
        password = field ? field->getText() : AString();
    } else {
        password = passwordField_->getText();
    }
    password = password.withoutChars(kDropped);
    return std::strcmp(login.c_str(), settings_->getLogin().c_str()) == 0 &&
           std::strcmp(password.c_str(), settings_->getPassword().c_str()) == 0;
}

bool ASVNetDlg::changePassword() {
    AOnlinePanesHost& host = AOnlinePanesHost::current();
    if (!checkPassword(true)) {
        host.messageBox(message("BAD_OLD_PASSWORD").c_str(), kCaption, MB_OK | MB_ICONINFORMATION);
        return false;
    }
    AString fresh = newPasswordField_->getText();
    AString confirmation = confirmField_->getText();
    if (fresh.empty() || confirmation.empty() || std::strcmp(fresh.c_str(), confirmation.c_str()) != 0) {
        host.messageBox(message("BAD_NEW_PASSWORD").c_str(), kCaption, MB_OK | MB_ICONINFORMATION);
        return false;
    }
    settings_->setNewPassword(fresh);
    host.serviceAccountRequest(4, settings_);
    return true;
}

ACommand* ASVNetDlg::requestForgottenPassword() {
    AOnlinePanesHost::current().serviceAccountRequest(5, settings_);
    if (settings_ && settings_->getRequestResult() != 0)
        return closeWindow();
    return noChangeCommand();
}

void ASVNetDlg::finish() {
    if (saved_)
        return;
    saved_ = true;
    if (settings_)
        settings_->save();
    if (AApp* app = AApp::current())
        app->setDialogResult(2);
}

ACommand* ASVNetDlg::closeWindow() {
    finish();
    return AWindow::closeWindow();
}

ACommand* ASVNetDlg::cancel() {
    if (settings_)
        settings_->setFilterLevel(static_cast<int16_t>(savedFilterLevel_));
    return closeWindow();
}
