// The application's queue of performed commands, run in order after the
// current message.
//
// The queue owns the commands it holds. Commands queued while it runs wait
// in a second list until the run ends, so one run never chases its own work.
// The undo list of undoable commands is not kept: they are finished like the others.
#pragma once

#include "base/object/Alist.h"

class ACommand;
class AComponent;

class ACommandQueue {
public:
    ACommandQueue() : running_(false) {}
    ~ACommandQueue();
    ACommandQueue(const ACommandQueue&) = delete;
    ACommandQueue& operator=(const ACommandQueue&) = delete;

    // Takes the command and marks its target (component flag 0x0200).
    void add(ACommand* command);
    // Runs the commands queued before the call, each once, then finishes them.
    void process();
    // Finishes, without running, the commands aimed at a component that goes away.
    void removeComponent(AComponent* component);
    // Finishes every command without running it.
    void clear();
    short count() const { return static_cast<short>(waiting_.count() + later_.count()); }

private:
    static void finish(ACommand* command);
    static void removeFrom(Alist& list, AComponent* component);

    Alist waiting_;  // owned commands
    Alist later_;    // owned commands queued during a run
    bool running_;
};
