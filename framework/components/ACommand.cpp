// The base command object and the framework's own commands.
#include "framework/components/ACommand.h"

#include "framework/components/AComponent.h"

SV_IMPLEMENT_CLASS(ACommand, 200, AObject)
SV_IMPLEMENT_CLASS(ANoChangeCommand, 201, ACommand)
SV_IMPLEMENT_CLASS(APassThroughCommand, 202, ACommand)
SV_IMPLEMENT_CLASS(ADeleteComponentCmd, 203, ACommand)
SV_IMPLEMENT_CLASS(ANotifyCommand, 204, ACommand)
SV_IMPLEMENT_CLASS(ASetTargetCmd, 205, ACommand)

ACommand::ACommand(AComponent* target, uint16_t undoable, uint16_t ownership)
    : target_(target), ownership_(ownership), undoable_(undoable), done_(0) {}

long ACommand::doIt() {
    if (!target_)
        ThrowAssert("fcommand", 96);
    return target_->executeCommand(this);
}

void ACommand::run() {
    if (done_)
        ThrowAssert("fcommand", 121);
    execute();
    done_ = 1;
}

uint16_t ACommand::finish() {
    if (done_)
        commit();
    release();
    return ownership_;
}

ADeleteComponentCmd::ADeleteComponentCmd(uint16_t ownership, AComponent* component)
    : ACommand(component, 0, ownership), component_(component) {}

void ADeleteComponentCmd::execute() {
    if (component_ && component_ == AComponent::application()) {
        // The application is never deleted from inside: it is asked to close.
        component_ = nullptr;
        AComponent* app = AComponent::application();
        if (ACommand* close = AComponent::appCloseCommand())
            app->perform(close);
        return;
    }
    DeleteComponent(component_);
}

ANotifyCommand::ANotifyCommand(uint16_t ownership, AComponent* item, long value)
    : ACommand(item, 0, ownership), component_(item), value_(value) {}

void ANotifyCommand::execute() {
    if (component_ && component_ == target())
        component_->notifyOwner(value_);
}

ASetTargetCmd::ASetTargetCmd(uint16_t ownership, AComponent* target, uint16_t argument)
    : ACommand(target, 0, ownership), argument_(argument), result_(0) {}

void ASetTargetCmd::execute() {
    if (target() && target()->acceptsTarget())
        result_ = target()->becomeTarget(static_cast<int16_t>(argument_));
}
