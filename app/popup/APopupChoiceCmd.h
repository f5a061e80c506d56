// A popup's choice, run from the command queue rather than inside the
// popup's own handlers: an action that opens a window with a loop of its own,
// or that deletes or replaces the pane owning the popup, would otherwise
// delete the popup (and the callback) under the code still running in them.
//
// Holds one reference on the callback while queued. Aimed at the callback's
// owner (the application when it has none), so the queue drops the choice
// when the owner goes first.
#pragma once

#include <cstdint>

#include "base/object/AString.h"
#include "framework/components/ACommand.h"

class APopupTreeCallBack;

class APopupChoiceCmd : public ACommand {
public:
    APopupChoiceCmd(APopupTreeCallBack* callBack, const char* value, const char* name, int16_t line, int16_t depth);
    ~APopupChoiceCmd() override;
    // The callback's beforeChoose, then its itemChosen (no popup: the chain is gone).
    void execute() override;

    // Queues the choice (runs it at once when there is no application to queue it).
    static void post(APopupTreeCallBack* callBack, const char* value, const char* name, int16_t line, int16_t depth);

private:
    APopupTreeCallBack* callBack_;  // one reference held
    AString value_;
    AString name_;
    int16_t line_;
    int16_t depth_;
};
