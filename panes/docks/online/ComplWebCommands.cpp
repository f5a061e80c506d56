// The web complement pane's commands.
#include "panes/docks/online/ComplWebCommands.h"

#include "panes/docks/online/AOnlinePanesHost.h"
#include "panes/docks/online/ComplWebPane.h"

SV_IMPLEMENT_CLASS(ALoadUrlCmd, 0, ACommand)
SV_IMPLEMENT_CLASS(ASavePageCmd, 0, ACommand)
SV_IMPLEMENT_CLASS(AConnectToWebCmd, 0, ACommand)

ALoadUrlCmd::ALoadUrlCmd(ComplWebPane* pane, const AString& url) : ACommand(pane, 0, 1), fUrl(url), fPane(pane) {}

void ALoadUrlCmd::execute() {
    if (fPane)
        fPane->loadInView(fUrl);
}

ASavePageCmd::ASavePageCmd(ComplWebPane* pane) : ACommand(pane, 0, 1) {}

void ASavePageCmd::execute() {
    AOnlinePanesHost::current().saveWebPageCopy();
}

AConnectToWebCmd::AConnectToWebCmd(ComplWebPane* pane, const AString& url) : ACommand(pane, 0, 1), fUrl(url), fPane(pane) {}

void AConnectToWebCmd::execute() {
    AOnlinePanesHost::current().openWebHome(0);
}
