// The pane base: each operation is the framework's, so that every pane can chain to it.
#include "app/pane/APane.h"

#include <new>

#include "framework/components/ALayoutLoader.h"

SV_IMPLEMENT_CLASS(APane, 0, ALocalCluster)

void APane::readFrom(AMemoryStream& stream) {
    ALocalCluster::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "apane", 20);
}

void APane::attachItems() {
    ALocalCluster::attachItems();
}

void APane::setUpItems() {
    ALocalCluster::setUpItems();
}

void APane::detachItems() {
    ALocalCluster::detachItems();
}

void APane::bindActions() {
    ALocalCluster::bindActions();
}

ACommand* APane::doCommand(int16_t id, long argument) {
    return ALocalCluster::doCommand(id, argument);
}

int16_t APane::commandStatus(int16_t id, long argument) {
    return ALocalCluster::commandStatus(id, argument);
}

void APane::linkChanged(AComponent* source, const AKindSet& kinds) {
    ALocalCluster::linkChanged(source, kinds);
}
