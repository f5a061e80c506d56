// The application's queue of performed commands, run in order after the
// current message, with its undo and redo histories.
//
// The queue owns the commands it holds whose ownership word is nonzero; it
// finishes the others and leaves them to their owner. Destroyed, it deletes
// every command still waiting, unfinished. It counts the commands
// aimed at each component and marks the component (flag 0x0200) while it
// holds any, so the application can drop them when the component goes away.
// Commands added while the queue runs wait in a second list for the next run.
// Misuse (a full history after trimming, a missing command) is an assertion ("fcmdutil").
#pragma once

#include <cstdint>

#include "base/object/ALongDic.h"
#include "base/object/Alist.h"

class ACommand;
class ACommandQueue;
class AComponent;

// A bounded list of run commands, oldest first. Its depth counts only the
// commands whose ownership word has bit 0 set.
class ACommandHistory {
public:
    ACommandHistory(ACommandQueue* queue, uint16_t depth) : queue_(queue), depth_(depth) {}
    ~ACommandHistory();
    ACommandHistory(const ACommandHistory&) = delete;
    ACommandHistory& operator=(const ACommandHistory&) = delete;

    short count() const { return commands_.count(); }
    uint16_t depth() const { return depth_; }
    short ownedCount();
    // The i-th command from the oldest, or null.
    ACommand* at(short i);
    // Releases (and deletes when owned) the oldest counted commands until k are left.
    void trimTo(short k);
    void append(ACommand* command) { commands_.append(command); }
    // Releases and takes out every command aimed at the component.
    void dropTarget(AComponent* component);
    // Releases and takes out every command.
    void clear();

private:
    ACommandQueue* queue_;  // not owned
    uint16_t depth_;
    Alist commands_;  // held commands
};

class ACommandQueue {
public:
    // owner (not owned) is told kUpdateUndoPushed when the undo history grows.
    ACommandQueue(AComponent* owner, uint16_t depth);
    ~ACommandQueue();
    ACommandQueue(const ACommandQueue&) = delete;
    ACommandQueue& operator=(const ACommandQueue&) = delete;

    // Takes the command; counts it for its target.
    void add(ACommand* command);
    // Runs the commands queued before the call, oldest first, each once.
    void run();
    // Finishes, without running, every held command aimed at a component that goes away.
    void dropTarget(AComponent* component);
    // Finishes every held command (the application's detach).
    void clear();

    short count() const { return static_cast<short>(main_.count() + deferred_.count()); }
    bool running() const { return running_ != 0; }
    long heldFor(AComponent* component);
    ACommandHistory& undoHistory() { return undo_; }
    ACommandHistory& redoHistory() { return redo_; }

    // Uncounts the command and finishes it; answers its ownership word (nonzero: delete it).
    uint16_t release(ACommand* command);
    static void destroy(ACommand* command);
    // Releases and takes out of list every command aimed at the component.
    void dropFrom(Alist& list, AComponent* component);

private:
    void pushUndo(ACommand* command);
    void endRun();

    AComponent* owner_;    // not owned
    ALongLongDic counts_;  // target address -> commands held for it
    Alist main_;           // waiting commands
    Alist deferred_;       // commands added during a run
    ACommandHistory undo_;
    ACommandHistory redo_;
    ACommand* current_;  // the command being run
    uint16_t running_;
    uint16_t targetGone_;    // current's target went away while it ran
    uint16_t currentOwned_;  // current's release answer once targetGone_ is set
};
