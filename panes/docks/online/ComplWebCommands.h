// The web complement pane's queued work: loading an address in the pane,
// keeping the day's local copy of the page, and connecting to the service
// home. Each runs on a later turn of the main loop; the target pane is not
// owned, and a command made by name (no target) does nothing when it runs.
#pragma once

#include "base/object/AString.h"
#include "framework/components/ACommand.h"

class ComplWebPane;

class ALoadUrlCmd : public ACommand {
    SV_DECLARE_CLASS(ALoadUrlCmd)
public:
    ALoadUrlCmd() : ALoadUrlCmd(nullptr, AString()) {}
    ALoadUrlCmd(ComplWebPane* pane, const AString& url);
    void execute() override;

    AString fUrl;
    ComplWebPane* fPane;  // not owned
};

class ASavePageCmd : public ACommand {
    SV_DECLARE_CLASS(ASavePageCmd)
public:
    ASavePageCmd() : ASavePageCmd(nullptr) {}
    explicit ASavePageCmd(ComplWebPane* pane);
    void execute() override;
};

class AConnectToWebCmd : public ACommand {
    SV_DECLARE_CLASS(AConnectToWebCmd)
public:
    AConnectToWebCmd() : AConnectToWebCmd(nullptr, AString()) {}
    AConnectToWebCmd(ComplWebPane* pane, const AString& url);
    void execute() override;

    AString fUrl;  // kept, not used
    ComplWebPane* fPane;  // not owned
};
