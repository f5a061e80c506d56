// A behaviour: a child component that adds commands and key handling to its
// parent without subclassing it. While attached it is in the parent's
// behaviours, which the parent asks before itself.
//
// Owned by its parent like any child. Attaching or detaching without a parent
// is an assertion ("fcompo").
#pragma once

#include "base/object/InputRecords.h"
#include "framework/components/AComponent.h"

class ARegion;

class ABehavior : public AComponent {
    SV_DECLARE_CLASS(ABehavior)
public:
    ABehavior() = default;
    ABehavior(AComponent* parent, int16_t id) : AComponent(parent, id) {}

    // AComponent's data, then the end mark 0xFFFF.
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void detachItems() override;
    ACommand* keyToCommand(AKeyEvent& event) override;
    ACommand* charToCommand(AKeyEvent& event) override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    AComponent* chooseAction(AActionRecord& record, AComponent* existing, AComponent* added) override;

    // Hooks of the parent's drawing and mouse handling: nonzero when it drew;
    // the pass-through command when the event is not handled.
    virtual long drawHook(ARegion* region, int16_t before);
    virtual ACommand* rightMouseDown(AMouseEvent& event);
    virtual ACommand* mouseDown(AMouseEvent& event);
    virtual ACommand* doubleClick(AMouseEvent& event, long value);
    virtual ACommand* mouseMove(AMouseEvent& event);
    virtual ACommand* mouseUp(AMouseEvent& event);
    virtual ACommand* mouseWheel(AMouseEvent& event, long delta);
};
