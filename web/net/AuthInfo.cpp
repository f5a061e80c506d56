// The proxy-authentication dialog's commands.
#include "web/net/AuthInfo.h"

#include <cstring>

#include "base/procedural/AError.h"
#include "base/procedural/KyHttp.h"
#include "framework/app/AApp.h"
#include "framework/components/ALayoutLoader.h"
#include "web/net/AProxyInfo.h"
#include "web/net/NetStrings.h"

SV_IMPLEMENT_CLASS(AuthInfo, 0, AWindow)

const char* const AuthInfo::kTooLongText =
    "Le nom d'utilisateur et le mot de passe ne doivent pas d\xE9passer 371 caract\xE8res \xE0 eux deux.";

namespace {

void SetDialogResult(uint16_t result) {
    if (AApp* app = AApp::current())
        app->setDialogResult(result);
}

}  // namespace

void AuthInfo::readFrom(AMemoryStream& stream) {
    AWindow::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "wnet", 40);
}

void AuthInfo::bindActions() {
    AWindow::bindActions();
    for (int16_t id : {kUserItem, kPasswordItem})
        addAction(id, this, id, ownActionTable());
}

void AuthInfo::setMessage(const char* message) {
    if (message && hasItem(kMessageItem))
        setItemText(kMessageItem, message);
}

ACommand* AuthInfo::doCommand(int16_t id, long argument) {
    switch (id) {
        case kCancelCommand:
            if (info_)
                info_->clearCredentials();
            setItemText(kPasswordItem, "");
            SetDialogResult(1);
            return AWindow::doCommand(id, argument);
        case kOkCommand:
            return confirmCredentials(id, argument);
        case kUserItem:
        case kPasswordItem:
            return noChangeCommand();
        default:
            return AWindow::doCommand(id, argument);
    }
}

// "user:password" is put together in a local buffer, never in a growing
// string whose old blocks would be freed unwiped.
ACommand* AuthInfo::confirmCredentials(int16_t id, long argument) {
    if (!info_)
        ThrowAssert("wnet", 75);
    AString user = getItemText(kUserItem);
    AString password = getItemText(kPasswordItem);
    size_t n = static_cast<size_t>(user.length()) + 1 + static_cast<size_t>(password.length());
    if (n > static_cast<size_t>(kHttpCredentialsMax)) {
        WipeString(password);
        if (AApp* app = AApp::current())
            app->messageBox(kTooLongText, "Attention", 0, this);
        return noChangeCommand();
    }
    char text[kHttpCredentialsMax + 1];
    std::memcpy(text, user.c_str(), static_cast<size_t>(user.length()));
    text[user.length()] = ':';
    std::memcpy(text + user.length() + 1, password.c_str(), static_cast<size_t>(password.length()));
    text[n] = 0;
    info_->setCredentials(text, n);
    WipeBytes(text, sizeof text);
    WipeString(password);
    setItemText(kPasswordItem, "");
    SetDialogResult(2);
    return AWindow::doCommand(id, argument);
}

int16_t AuthInfo::commandStatus(int16_t id, long argument) {
    switch (id) {
        case kUserItem:
        case kPasswordItem:
            return 1;
        default:
            return AWindow::commandStatus(id, argument);
    }
}
