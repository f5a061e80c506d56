// The base command object and the deletion command.
#include "framework/components/ACommand.h"

#include "framework/components/AComponent.h"

SV_IMPLEMENT_CLASS(ACommand, 200, AObject)
SV_IMPLEMENT_CLASS(ADeleteComponentCmd, 203, ACommand)

ACommand::ACommand(AComponent* target, uint16_t undoable, uint16_t deleteWhenDone)
    : target_(target), deleteWhenDone_(deleteWhenDone), undoable_(undoable), done_(0) {}

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

bool ACommand::finish() {
    if (done_)
        commit();
    release();
    return deleteWhenDone_ != 0;
}

ADeleteComponentCmd::ADeleteComponentCmd(AComponent* component) : ACommand(component, 0, 1), component_(component) {}

void ADeleteComponentCmd::execute() {
    // The application's own close command does not exist yet: the
    // application object stays, as it must never be deleted from inside.
    if (component_ == AComponent::application()) {
        component_ = nullptr;
        return;
    }
    DeleteComponent(component_);
}
