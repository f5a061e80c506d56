// The base of the browser panes' queued commands: a message a pane's view
// raised, run from the command queue after the browser's callback returned,
// for the pane that raised it. The argument is the pane's event handler.
#pragma once

#include "app/online/AMozillaFlashCmd.h"
#include "base/procedural/AddressWord.h"

class AMozillaHandler;

template <class Pane>
class APaneFlashCmd : public AMozillaFlashCmd {
public:
    APaneFlashCmd() = default;
    // pane and handler: not owned.
    APaneFlashCmd(Pane* pane, const char* text, AMozillaHandler* handler)
        : AMozillaFlashCmd(pane, text, AddressWord(handler)), pane_(pane) {}
    // Queues the command (the base's doIt).
    long doIt() override { return ACommand::doIt(); }

protected:
    Pane* pane_ = nullptr;  // not owned
};
