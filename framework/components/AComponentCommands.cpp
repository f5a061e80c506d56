// Command routing of the component: keys, numbered commands, arbitration,
// bindings, behaviours, and the updates, links and timers that reach the application.
#include "base/object/InputRecords.h"
#include "framework/components/AActionTable.h"
#include "framework/components/ABehavior.h"
#include "framework/components/ACommand.h"
#include "framework/components/AComponent.h"
#include "framework/components/AKindSet.h"

namespace {

// The component a behaviour list's entry holds; a null entry is a broken list.
ABehavior* BehaviorAt(ALink* link, long line) {
    ABehavior* b = static_cast<ABehavior*>(static_cast<APlink*>(link)->value);
    if (!b)
        ThrowAssert("fcompo", line);
    return b;
}

const AppComponentHooks& Hooks(long line) {
    const AppComponentHooks* h = AComponent::hooks();
    if (!h || !h->application || !h->application())
        ThrowAssert("fcompo", line);
    return *h;
}

}  // namespace

ACommand* AComponent::noChangeCommand() {
    const AppComponentHooks& h = Hooks(286);
    if (!h.noChange)
        ThrowAssert("fcompo", 286);
    return h.noChange();
}

ACommand* AComponent::passThroughCommand() {
    const AppComponentHooks& h = Hooks(286);
    if (!h.passThrough)
        ThrowAssert("fcompo", 286);
    return h.passThrough();
}

ACommand* AComponent::appCloseCommand() {
    const AppComponentHooks* h = hooks();
    return h && h->closeCommand ? h->closeCommand() : nullptr;
}

AComponent* AComponent::currentTarget() {
    const AppComponentHooks* h = hooks();
    return h && h->target ? h->target() : nullptr;
}

int16_t AComponent::becomeTarget(int16_t activate) {
    const AppComponentHooks& h = Hooks(286);
    return h.setTarget ? h.setTarget(this, activate) : 0;
}

// Keys.

long AComponent::dispatchKey(AKeyEvent& event) {
    AComponent* target = currentTarget();
    if (!target)
        ThrowAssert("fcompo", 1030);
    ACommand* command = target->keyCommand(event);
    if (currentTarget() != target)
        return 1;
    return perform(command);
}

long AComponent::dispatchChar(AKeyEvent& event) {
    AComponent* target = currentTarget();
    if (!target)
        ThrowAssert("fcompo", 1046);
    ACommand* command = target->charCommand(event);
    if (currentTarget() != target)
        return 1;
    return perform(command);
}

ACommand* AComponent::keyCommand(AKeyEvent& event) {
    return climbKey(event, &AComponent::keyToCommand, &AComponent::keyCommand, 1062);
}

ACommand* AComponent::charCommand(AKeyEvent& event) {
    return climbKey(event, &AComponent::charToCommand, &AComponent::charCommand, 1079);
}

ACommand* AComponent::climbKey(AKeyEvent& event, KeyStep toCommand, KeyStep climb, long line) {
    ACommand* pass = passThroughCommand();
    for (ALink* link = behaviors_.firstLink(); link != behaviors_.sentinel(); link = link->next) {
        ACommand* c = (BehaviorAt(link, line)->*toCommand)(event);
        if (c != pass)
            return c;
    }
    ACommand* own = (this->*toCommand)(event);
    if (own != pass)
        return own;
    return getParent() ? (getParent()->*climb)(event) : pass;
}

ACommand* AComponent::keyToCommand(AKeyEvent& event) {
    (void)event;
    return passThroughCommand();
}

ACommand* AComponent::charToCommand(AKeyEvent& event) {
    (void)event;
    return passThroughCommand();
}

// Numbered commands.

ACommand* AComponent::dispatchCommand(int16_t id, long argument) {
    for (ALink* link = behaviors_.firstLink(); link != behaviors_.sentinel(); link = link->next) {
        if (ACommand* c = BehaviorAt(link, 1132)->dispatchCommand(id, argument))
            return c;
    }
    return doCommand(id, argument);
}

int16_t AComponent::commandAvailability(int16_t id, long argument) {
    for (ALink* link = behaviors_.firstLink(); link != behaviors_.sentinel(); link = link->next) {
        if (int16_t status = BehaviorAt(link, 1173)->commandAvailability(id, argument))
            return status;
    }
    return commandStatus(id, argument);
}

ACommand* AComponent::doCommand(int16_t id, long argument) {
    (void)argument;
    switch (id) {
        case 2:
            return passThroughCommand();
        case 30:
            return copy();
        case 31:
            return cut();
        case 32:
            return clearCommand();
        case 33:
            return paste();
        case 90:
            return noChangeCommand();
        default:
            return nullptr;
    }
}

int16_t AComponent::commandStatus(int16_t id, long argument) {
    (void)argument;
    switch (id) {
        case 2:
        case 90:
            return 1;
        case 30:
            return canCopy() ? 1 : 2;
        case 31:
            return canCut() ? 1 : 2;
        case 32:
            return canClear() ? 1 : 2;
        case 33:
            return canPasteAny() ? 1 : 2;
        default:
            return 0;
    }
}

AComponent* AComponent::resolveActions(AActionRecord& record, AComponent* existing, AComponent* added) {
    for (ALink* link = behaviors_.firstLink(); link != behaviors_.sentinel(); link = link->next) {
        if (AComponent* c = BehaviorAt(link, 1211)->chooseAction(record, existing, added))
            return c;
    }
    return chooseAction(record, existing, added);
}

AComponent* AComponent::chooseAction(AActionRecord& record, AComponent* existing, AComponent* added) {
    (void)existing;
    (void)added;
    return chooseActionFor(record);
}

AComponent* AComponent::chooseActionFor(AActionRecord& record) {
    (void)record;
    return nullptr;
}

// Bindings.

void AComponent::addAction(int16_t command, AComponent* target, int16_t code, AActionTable* table) {
    bind(command, target, code, code, 1, table);
}

void AComponent::addActionRange(int16_t command, AComponent* target, int16_t first, int16_t last, AActionTable* table) {
    bind(command, target, first, last, 2, table);
}

void AComponent::bind(int16_t command, AComponent* target, int16_t first, int16_t last, long flags,
                      AActionTable* table) {
    if (table) {
        if (table->add(command, target, first, last, flags))
            target->noteActionTable(table);
        target->queueUpdate(kUpdateBound);
        return;
    }
    const AppComponentHooks& h = Hooks(911);
    for (int i = 0; i < 2 && h.actionTable; ++i) {
        if (AActionTable* t = h.actionTable(i))
            bind(command, target, first, last, flags, t);
    }
    if (AActionTable* own = ownActionTable())
        bind(command, target, first, last, flags, own);
    else if (target != this && target->ownActionTable())
        bind(command, target, first, last, flags, target->ownActionTable());
}

void AComponent::bindActions() {
    if (!takesEditCommands())
        return;
    addAction(30, this, 33, nullptr);
    addAction(31, this, 32, nullptr);
    addAction(32, this, 35, nullptr);
    addAction(33, this, 34, nullptr);
}

void AComponent::unbindActions() {
    queueUpdate(kUpdateUnbound);
    for (void* p : actionTables_.snapshot()) {
        if (!p)
            ThrowAssert("fcompo", 555);
        static_cast<AActionTable*>(p)->removeComponent(this);
    }
    actionTables_.clear();
}

void AComponent::noteActionTable(AActionTable* table) {
    actionTables_.add(table);
}

void AComponent::forgetActionTable(AActionTable* table) {
    actionTables_.remove(table);
}

// Behaviours.

void AComponent::addBehavior(ABehavior* behavior) {
    behaviors_.append(behavior);
}

void AComponent::removeBehavior(ABehavior* behavior) {
    behaviors_.remove(behavior);
}

// Updates and links.

void AComponent::queueUpdate(long kind) {
    const AppComponentHooks& h = Hooks(799);
    if (h.queueUpdate)
        h.queueUpdate(this, kind);
}

void AComponent::dequeueUpdate(long kind) {
    const AppComponentHooks& h = Hooks(804);
    if (h.dequeueUpdate)
        h.dequeueUpdate(this, kind);
}

void AComponent::notify(const AKindSet& kinds) {
    for (void* p : dependents_.snapshot()) {
        if (!p)
            ThrowAssert("fcompo", 834);
        // A dependent closed by an earlier one has left the set.
        if (dependents_.contains(p))
            static_cast<AComponent*>(p)->linkChanged(this, kinds);
    }
    for (void* p : actionTables_.snapshot()) {
        if (!p)
            ThrowAssert("fcompo", 824);
        if (actionTables_.contains(p))
            static_cast<AActionTable*>(p)->componentChanged(this, kinds);
    }
}

void AComponent::addLink(AComponent* other) {
    if (!other)
        ThrowAssert("fcompo", 775);
    dependents_.add(other);
    other->sources_.add(this);
}

void AComponent::removeLink(AComponent* other) {
    if (!other)
        ThrowAssert("fcompo", 781);
    if (!dependents_.remove(other))
        return;
    if (!other->sources_.remove(this))
        ThrowAssert("fcompo", 794);
}

void AComponent::dropLinks() {
    while (!sources_.empty()) {
        AComponent* source = static_cast<AComponent*>(sources_.first());
        if (!source)
            ThrowAssert("fcompo", 579);
        source->removeLink(this);
        // A source that did not hold the link back would loop here.
        sources_.remove(source);
    }
    for (void* p : dependents_.snapshot()) {
        if (!p)
            ThrowAssert("fcompo", 566);
        static_cast<AComponent*>(p)->sources_.remove(this);
    }
    dependents_.clear();
}

// Timers.

uint16_t AComponent::addTimer(uint32_t delay) {
    const AppComponentHooks& h = Hooks(855);
    return h.addTimer ? h.addTimer(this, delay) : 0;
}

void AComponent::restartTimer(uint16_t id) {
    const AppComponentHooks& h = Hooks(861);
    if (h.restartTimer)
        h.restartTimer(this, id);
}

void AComponent::setTimerDelay(uint16_t id, uint32_t delay) {
    const AppComponentHooks& h = Hooks(867);
    if (h.setTimerDelay)
        h.setTimerDelay(this, id, delay);
}
