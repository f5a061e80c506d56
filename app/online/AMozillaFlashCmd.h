// The base of the commands that drive Flash animations and HTML pages from
// their panes: a name, a target and one argument. The base does nothing;
// each pane's command overrides doIt.
#pragma once

#include "framework/components/ACommand.h"

class AMozillaFlashCmd : public ACommand {
    SV_DECLARE_CLASS(AMozillaFlashCmd)
public:
    AMozillaFlashCmd() : AMozillaFlashCmd(nullptr, "", 0) {}
    // target: not owned.
    AMozillaFlashCmd(AComponent* target, const char* name, long argument);
    long doIt() override { return 0; }

    AString fName;
    AComponent* fTarget;  // not owned
    long fArgument;
};
