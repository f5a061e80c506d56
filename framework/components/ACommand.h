// Command objects: one piece of work carried from the handler that decided it
// to the application's command queue, which runs it after the current message.
//
// A performed command belongs to the queue; its creator must not delete it.
// doIt without target and run of a command already run are assertions ("fcommand").
#pragma once

#include <cstdint>

#include "base/object/AObject.h"

class AComponent;

class ACommand : public virtual AObject {
    SV_DECLARE_CLASS(ACommand)
public:
    ACommand() : ACommand(nullptr, 0, 1) {}
    ACommand(AComponent* target, uint16_t undoable, uint16_t deleteWhenDone);
    ~ACommand() override = default;

    // Hands the command to its target's executeCommand and answers that.
    virtual long doIt();
    virtual void execute() {}
    virtual void undo() {}
    virtual void redo() { execute(); }
    virtual void commit() {}
    virtual void release() {}

    // execute once; then done is set.
    void run();
    // commit when done, then release; answers whether the queue deletes the command.
    bool finish();

    AComponent* target() const { return target_; }
    bool isDone() const { return done_ != 0; }
    bool isUndoable() const { return undoable_ != 0; }

private:
    AComponent* target_;  // not owned
    uint16_t deleteWhenDone_;
    uint16_t undoable_;
    uint16_t done_;
};

// Deletes its component when it runs; the application object is never deleted this way.
class ADeleteComponentCmd : public ACommand {
    SV_DECLARE_CLASS(ADeleteComponentCmd)
public:
    ADeleteComponentCmd() : ADeleteComponentCmd(nullptr) {}
    explicit ADeleteComponentCmd(AComponent* component);
    void execute() override;

private:
    AComponent* component_;  // not owned until execute deletes it
};
