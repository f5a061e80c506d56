// Components and tables shared by the command tests: a component that logs
// what reaches it, a table whose items are kept in a map, and a command that
// logs its run.
#pragma once

#include <map>
#include <stdexcept>
#include <string>

#include "framework/commands/AItemOwner.h"
#include "framework/components/ACommand.h"
#include "framework/components/AComponent.h"
#include "framework/components/AKindSet.h"

// Everything that reaches it is appended to log as "<id>:<what> ".
class LogProbe : public AComponent {
    SV_DECLARE_CLASS(LogProbe)
public:
    LogProbe(AComponent* parent = nullptr, int16_t id = 0) : AComponent(parent, id) {}
    ~LogProbe() override;

    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    ACommand* keyToCommand(AKeyEvent& event) override;
    void notify(const AKindSet& kinds) override;
    void linkChanged(AComponent* source, const AKindSet& kinds) override;
    AComponent* chooseAction(AActionRecord& record, AComponent* existing, AComponent* added) override;
    bool receivesActions() const override { return shown; }
    AActionTable* ownActionTable() override { return table; }
    bool acceptsTarget() override { return accepts; }
    bool takesEditCommands() override { return edits; }

    static std::string log;
    // Commands the probe handles: id -> the answer (null entries are "not handled").
    std::map<int16_t, ACommand*> answers;
    std::map<int16_t, int16_t> statuses;
    ACommand* keyAnswer = nullptr;  // null: the pass-through command
    AComponent* choice = nullptr;   // chooseAction's answer
    AActionTable* table = nullptr;  // not owned
    bool shown = true;
    bool accepts = false;
    bool edits = false;
    // What a radio group's status handler reports as selected (-1: none).
    int selected = -1;
    // The last action record's index and first code seen by doCommand.
    int lastIndex = -99;
    int lastFirst = -99;
    // Queued again from inside notify, once.
    long requeue = -1;
    bool logNotify = false;
};

// A table whose items are the codes put in items; their states are kept.
template <class Base>
class MapItems : public Base {
public:
    bool hasItem(int16_t code) override { return items.count(code) != 0; }
    long itemState(int16_t code) override { return hasItem(code) ? items[code] : 0; }
    void setItemState(int16_t code, long state) override {
        if (hasItem(code))
            items[code] = state;
    }
    void setCurrentItem(int16_t code) override { current = code; }
    void addItems(int16_t first, int16_t last, long state = 1) {
        for (long c = first; c <= last; ++c)
            items[static_cast<int16_t>(c)] = state;
    }
    std::map<int16_t, long> items;
    int16_t current = 0;
};
using MapOwner = MapItems<ALocalOwner>;
using MapMenu = MapItems<AMenuItemOwner>;

// Logs "run<name> " when it runs and "~<name> " when deleted.
class LogCommand : public ACommand {
public:
    LogCommand(AComponent* target, const char* name, uint16_t undoable = 0, uint16_t ownership = 1)
        : ACommand(target, undoable, ownership), name_(name) {}
    ~LogCommand() override { LogProbe::log += "~" + name_ + " "; }
    void execute() override;
    // Performed while this one runs.
    ACommand* then = nullptr;
    // Deleted while this one runs (through the variable, cleared).
    AComponent* deletes = nullptr;
    // Throws (a recoverable error) after its action.
    bool fails = false;

private:
    std::string name_;
};

// new + completeNew.
template <class T, class... Args>
T* MakeNew(Args&&... args) {
    T* object = new T(std::forward<Args>(args)...);
    AObject::completeNew(object);
    return object;
}

// The kinds of a set, in order: "5 14".
std::string KindsText(const AKindSet& kinds);
