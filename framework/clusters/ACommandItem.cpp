// Command and atomic items: the owner notification, Return and the focus mode.
#include "framework/clusters/ACommandItem.h"

#include <new>

#include "base/object/AMemoryStream.h"
#include "base/object/InputRecords.h"
#include "base/procedural/AError.h"
#include "framework/clusters/AItemCluster.h"
#include "framework/components/ACommand.h"
#include "framework/components/ALayoutLoader.h"

SV_IMPLEMENT_CLASS(ACommandItem, 138, AClusterItem)
SV_IMPLEMENT_CLASS(AAtomicItem, 129, ACommandItem)

void ACommandItem::readFrom(AMemoryStream& stream) {
    AClusterItem::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "fitems", 543);
}

ACommand* ACommandItem::keyToCommand(AKeyEvent& event) {
    if (!event.down || (event.keyCode != 0 && event.keyCode != VK_RETURN) || !(state() & kOn))
        return AClusterItem::keyToCommand(event);
    AItemCluster* cluster = enclosingCluster();
    if (!cluster || cluster->triggerDefault(1) == 0)
        notifyOwner(1);
    return noChangeCommand();
}

long ACommandItem::notifyOwner(long argument) {
    if (!(state() & kOn))
        return 0;
    if (!owner())
        ThrowAssert("fitems", 582);
    return owner()->itemNotify(id(), argument, this);
}

void ACommandItem::postCommand(long argument) {
    perform(CheckAlloc(new (std::nothrow) ANotifyCommand(1, this, argument), "fitems", 589));
}

AAtomicItem::AAtomicItem(AComponent* parent, int16_t id, const ASizeSpec& rule, int16_t cursorId, uint16_t idMode,
                         const char* environment, uint16_t focusMode)
    : ACommandItem(parent, id, rule, cursorId, idMode, environment) {
    setFocusMode(focusMode);
}

void AAtomicItem::readFrom(AMemoryStream& stream) {
    ACommandItem::readFrom(stream);
    setFocusMode(static_cast<uint16_t>(stream.readShort()));
    ALayoutLoader::readEndMark(stream, "fitems", 679);
}

void AAtomicItem::setFocusMode(uint16_t mode) {
    if (mode & kTabStop)
        addItemFlags(kTabStop | kFocusable);
    else if (mode & kFocusable)
        addItemFlags(kFocusable), clearItemFlags(kTabStop);
    else
        clearItemFlags(kTabStop | kFocusable);
    if (mode & kShownByState)
        addItemFlags(kShownByState);
}

void AAtomicItem::stateChanged(uint16_t state) {
    ACommandItem::stateChanged(state);
    setMarked(state & kMarked);
}
