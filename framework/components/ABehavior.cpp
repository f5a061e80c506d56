// Behaviours.
#include "framework/components/ABehavior.h"

#include "base/object/AMemoryStream.h"
#include "framework/components/ALayoutLoader.h"

SV_IMPLEMENT_CLASS(ABehavior, 109, AComponent)

void ABehavior::readFrom(AMemoryStream& stream) {
    AComponent::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "fcompo", 1751);
}

void ABehavior::attachItems() {
    AComponent::attachItems();
    if (!getParent())
        ThrowAssert("fcompo", 1756);
    getParent()->addBehavior(this);
}

void ABehavior::detachItems() {
    if (!getParent())
        ThrowAssert("fcompo", 1761);
    getParent()->removeBehavior(this);
    AComponent::detachItems();
}

ACommand* ABehavior::keyToCommand(AKeyEvent& event) {
    (void)event;
    return passThroughCommand();
}

ACommand* ABehavior::charToCommand(AKeyEvent& event) {
    (void)event;
    return passThroughCommand();
}

ACommand* ABehavior::doCommand(int16_t id, long argument) {
    (void)id;
    (void)argument;
    return nullptr;
}

int16_t ABehavior::commandStatus(int16_t id, long argument) {
    (void)id;
    (void)argument;
    return 0;
}

AComponent* ABehavior::chooseAction(AActionRecord& record, AComponent* existing, AComponent* added) {
    (void)record;
    (void)existing;
    (void)added;
    return nullptr;
}

long ABehavior::drawHook(ARegion* region, int16_t before) {
    (void)region;
    (void)before;
    return 0;
}

ACommand* ABehavior::rightMouseDown(AMouseEvent& event) {
    (void)event;
    return passThroughCommand();
}

ACommand* ABehavior::mouseDown(AMouseEvent& event) {
    (void)event;
    return passThroughCommand();
}

ACommand* ABehavior::doubleClick(AMouseEvent& event, long value) {
    (void)event;
    (void)value;
    return passThroughCommand();
}

ACommand* ABehavior::mouseMove(AMouseEvent& event) {
    (void)event;
    return passThroughCommand();
}

ACommand* ABehavior::mouseUp(AMouseEvent& event) {
    (void)event;
    return passThroughCommand();
}

ACommand* ABehavior::mouseWheel(AMouseEvent& event, long delta) {
    (void)event;
    (void)delta;
    return passThroughCommand();
}
