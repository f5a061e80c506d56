// The application's command queue.
#include "framework/commands/ACommandQueue.h"

#include "framework/components/ACommand.h"
#include "framework/components/AComponent.h"

ACommandQueue::~ACommandQueue() {
    clear();
}

void ACommandQueue::add(ACommand* command) {
    if (!command)
        ThrowAssert("fcommand", 560);
    if (AComponent* target = command->target())
        target->setFlag(AComponent::kInCommandQueue, 1);
    (running_ ? later_ : waiting_).append(command);
}

void ACommandQueue::finish(ACommand* command) {
    if (command->finish()) {
        AObject* object = command;
        AObject::discardNew(object);
    }
}

void ACommandQueue::process() {
    running_ = true;
    try {
        while (!waiting_.empty()) {
            ACommand* command = static_cast<ACommand*>(waiting_.removeFirst());
            try {
                command->run();
            } catch (...) {
                finish(command);
                throw;
            }
            finish(command);
        }
    } catch (...) {
        running_ = false;
        while (!later_.empty())
            waiting_.append(later_.removeFirst());
        throw;
    }
    running_ = false;
    while (!later_.empty())
        waiting_.append(later_.removeFirst());
}

void ACommandQueue::removeFrom(Alist& list, AComponent* component) {
    AListIterator it(&list);
    while (void* value = it.next()) {
        ACommand* command = static_cast<ACommand*>(value);
        if (command->target() == component) {
            it.removeCurrent();
            finish(command);
        }
    }
}

void ACommandQueue::removeComponent(AComponent* component) {
    removeFrom(waiting_, component);
    removeFrom(later_, component);
    component->setFlag(AComponent::kInCommandQueue, 0);
}

void ACommandQueue::clear() {
    while (!waiting_.empty())
        finish(static_cast<ACommand*>(waiting_.removeFirst()));
    while (!later_.empty())
        finish(static_cast<ACommand*>(later_.removeFirst()));
}
