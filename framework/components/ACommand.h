// Command objects: one piece of work carried from the handler that decided it
// to the application's command queue, which runs it after the current message.
//
// A performed command belongs to the queue; its creator must not delete it.
// The ownership word tells the queue to delete a finished command (nonzero)
// and, by its bit 0, that the command counts towards the undo history's depth.
// doIt without target and run of a command already run are assertions ("fcommand").
#pragma once

#include <cstdint>

#include "base/object/AObject.h"
#include "base/object/AString.h"

class AComponent;

class ACommand : public virtual AObject {
    SV_DECLARE_CLASS(ACommand)
public:
    ACommand() : ACommand(nullptr, 0, 1) {}
    ACommand(AComponent* target, uint16_t undoable, uint16_t ownership);
    ~ACommand() override = default;

    // Hands the command to its target's executeCommand and answers that.
    virtual long doIt();
    // The command's action; every concrete command overrides it.
    virtual void execute() {}
    virtual void undo() {}
    virtual void redo() { execute(); }
    virtual void commit() {}
    virtual void release() {}

    // execute once; then done is set.
    void run();
    // commit when done, then release; answers the ownership word (nonzero: delete it).
    uint16_t finish();

    AComponent* target() const { return target_; }
    uint16_t ownership() const { return ownership_; }
    bool isDone() const { return done_ != 0; }
    bool isUndoable() const { return undoable_ != 0; }
    AString& name() { return name_; }

private:
    AComponent* target_;  // not owned
    uint16_t ownership_;
    uint16_t undoable_;
    AString name_;
    uint16_t done_;
};

// The shared "handled, nothing more to do" answer: doIt answers true at once.
class ANoChangeCommand : public ACommand {
    SV_DECLARE_CLASS(ANoChangeCommand)
public:
    ANoChangeCommand() : ANoChangeCommand(1, nullptr) {}
    ANoChangeCommand(uint16_t ownership, AComponent* target) : ACommand(target, 0, ownership) {}
    long doIt() override { return 1; }
};

// The shared "not handled here" answer: doIt answers false at once.
class APassThroughCommand : public ACommand {
    SV_DECLARE_CLASS(APassThroughCommand)
public:
    APassThroughCommand() : APassThroughCommand(1, nullptr) {}
    APassThroughCommand(uint16_t ownership, AComponent* target) : ACommand(target, 0, ownership) {}
    long doIt() override { return 0; }
};

// Deletes its component when it runs; for the application object it performs
// the application's close command instead.
class ADeleteComponentCmd : public ACommand {
    SV_DECLARE_CLASS(ADeleteComponentCmd)
public:
    ADeleteComponentCmd() : ADeleteComponentCmd(1, nullptr) {}
    ADeleteComponentCmd(uint16_t ownership, AComponent* component);
    void execute() override;

private:
    AComponent* component_;  // not owned until execute deletes it
};

// Passes a value to an item's owner, when the item is still the target.
class ANotifyCommand : public ACommand {
    SV_DECLARE_CLASS(ANotifyCommand)
public:
    ANotifyCommand() : ANotifyCommand(1, nullptr, 0) {}
    ANotifyCommand(uint16_t ownership, AComponent* item, long value);
    void execute() override;

private:
    AComponent* component_;  // not owned
    long value_;
};

// Makes its target the command target later, when it can take it then.
class ASetTargetCmd : public ACommand {
    SV_DECLARE_CLASS(ASetTargetCmd)
public:
    ASetTargetCmd() : ASetTargetCmd(1, nullptr, 0) {}
    ASetTargetCmd(uint16_t ownership, AComponent* target, uint16_t argument);
    void execute() override;
    long result() const { return result_; }

private:
    uint16_t argument_;
    long result_;
};
