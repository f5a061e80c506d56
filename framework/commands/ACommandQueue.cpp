// The application's command queue and its histories.
#include "framework/commands/ACommandQueue.h"

#include <cstdint>

#include "framework/components/ACommand.h"
#include "framework/components/AComponent.h"
#include "framework/components/AKindSet.h"

namespace {

long KeyOf(AComponent* component) {
    return static_cast<long>(reinterpret_cast<intptr_t>(component));
}

ACommand* CommandAt(ALink* link, long line) {
    if (!link)
        ThrowAssert("fcmdutil", line);
    ACommand* command = static_cast<ACommand*>(static_cast<APlink*>(link)->value);
    if (!command)
        ThrowAssert("fcmdutil", line);
    return command;
}

}  // namespace

ACommandHistory::~ACommandHistory() {
    // The components may be gone: owned commands are deleted without being released.
    while (!commands_.empty()) {
        ACommand* command = CommandAt(commands_.firstLink(), 476);
        commands_.removeFirst();
        if (command->ownership())
            ACommandQueue::destroy(command);
    }
}

short ACommandHistory::ownedCount() {
    short n = 0;
    for (ALink* link = commands_.firstLink(); link != commands_.sentinel(); link = link->next) {
        if (CommandAt(link, 433)->ownership() & 1)
            ++n;
    }
    return n;
}

ACommand* ACommandHistory::at(short i) {
    ALink* link = commands_.firstLink();
    for (; i > 0 && link != commands_.sentinel(); --i)
        link = link->next;
    return link == commands_.sentinel() ? nullptr : CommandAt(link, 433);
}

void ACommandHistory::trimTo(short k) {
    short owned = ownedCount();
    ALink* link = commands_.firstLink();
    while (owned > k && link != commands_.sentinel()) {
        ALink* next = link->next;
        ACommand* command = CommandAt(link, 433);
        if (command->ownership() & 1) {
            commands_.remove(command);
            if (queue_->release(command))
                ACommandQueue::destroy(command);
            --owned;
        }
        link = next;
    }
}

void ACommandHistory::dropTarget(AComponent* component) {
    queue_->dropFrom(commands_, component);
}

void ACommandHistory::clear() {
    while (!commands_.empty()) {
        ACommand* command = static_cast<ACommand*>(commands_.removeFirst());
        if (queue_->release(command))
            ACommandQueue::destroy(command);
    }
}

ACommandQueue::ACommandQueue(AComponent* owner, uint16_t depth)
    : owner_(owner),
      undo_(this, depth),
      redo_(this, depth),
      current_(nullptr),
      running_(0),
      targetGone_(0),
      currentOwned_(0) {}

ACommandQueue::~ACommandQueue() {
    // The targets may be gone: the counts go, and every waiting command is
    // deleted without being finished, since finishing may reach its target.
    counts_.clear();
    for (Alist* list : {&main_, &deferred_}) {
        while (!list->empty())
            destroy(static_cast<ACommand*>(list->removeFirst()));
    }
}

void ACommandQueue::destroy(ACommand* command) {
    AObject* object = command;
    AObject::discardNew(object);
}

long ACommandQueue::heldFor(AComponent* component) {
    Pix p = counts_.seek(KeyOf(component));
    return p ? counts_.numberOf(p) : 0;
}

void ACommandQueue::add(ACommand* command) {
    if (!command)
        ThrowAssert("fcmdutil", 537);
    if (AComponent* target = command->target()) {
        if (counts_.slot(KeyOf(target))++ == 0)
            target->setFlag(AComponent::kInCommandQueue, 1);
    }
    (running_ ? deferred_ : main_).append(command);
}

uint16_t ACommandQueue::release(ACommand* command) {
    if (!command)
        ThrowAssert("fcmdutil", 537);
    if (AComponent* target = command->target()) {
        long key = KeyOf(target);
        if (counts_.contains(key) && --counts_.slot(key) <= 0) {
            counts_.removeKey(key);
            target->setFlag(AComponent::kInCommandQueue, 0);
        }
    }
    return command->finish();
}

void ACommandQueue::run() {
    // A component that a queued command deletes flushes the application as it
    // closes: that inner run leaves the queue to this one.
    if (running_)
        return;
    running_ = 1;
    try {
        while (!main_.empty()) {
            targetGone_ = 0;
            current_ = CommandAt(main_.firstLink(), 606);
            main_.removeFirst();
            try {
                current_->run();
            } catch (...) {
                // A failed action still leaves the queue: its count goes with it.
                if (targetGone_ ? currentOwned_ : release(current_))
                    destroy(current_);
                throw;
            }
            if (targetGone_) {
                if (currentOwned_)
                    destroy(current_);
            } else if (current_->isUndoable()) {
                pushUndo(current_);
            } else if (release(current_)) {
                destroy(current_);
            }
        }
    } catch (...) {
        endRun();
        throw;
    }
    endRun();
}

void ACommandQueue::endRun() {
    while (!deferred_.empty())
        main_.append(deferred_.removeFirst());
    running_ = 0;
    current_ = nullptr;
    targetGone_ = 0;
}

void ACommandQueue::pushUndo(ACommand* command) {
    redo_.trimTo(0);
    short depth = static_cast<short>(undo_.depth());
    undo_.trimTo(static_cast<short>(depth - 1));
    if (undo_.ownedCount() >= depth)
        ThrowAssert("fcmdutil", 372);
    undo_.append(command);
    if (owner_)
        owner_->queueUpdate(kUpdateUndoPushed);
}

void ACommandQueue::dropFrom(Alist& list, AComponent* component) {
    ALink* link = list.firstLink();
    while (link != list.sentinel()) {
        ALink* next = link->next;
        ACommand* command = CommandAt(link, 487);
        if (command->target() == component) {
            list.remove(command);
            if (release(command))
                destroy(command);
        }
        link = next;
    }
}

void ACommandQueue::dropTarget(AComponent* component) {
    if (current_ && !targetGone_ && current_->target() == component) {
        currentOwned_ = release(current_);
        targetGone_ = 1;
    }
    redo_.dropTarget(component);
    undo_.dropTarget(component);
    dropFrom(main_, component);
    dropFrom(deferred_, component);
}

void ACommandQueue::clear() {
    redo_.clear();
    undo_.clear();
    for (Alist* list : {&main_, &deferred_}) {
        while (!list->empty()) {
            ACommand* command = static_cast<ACommand*>(list->removeFirst());
            if (release(command))
                destroy(command);
        }
    }
}
