// The client pane's record and its header command.
#include "app/lists/AClientPane.h"

#include <new>

#include "app/lists/ALayoutClient.h"
#include "framework/components/ALayoutLoader.h"

SV_IMPLEMENT_CLASS(AClientPane, 0, SVPane)

AClientPane::~AClientPane() {
    delete client;
}

void AClientPane::readFrom(AMemoryStream& stream) {
    SVPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "layout", 420);
}

void AClientPane::setUpItems() {
    SVPane::setUpItems();
    delete client;
    client = CheckAlloc(new (std::nothrow) ALayoutClient(this), "layout", 447);
    client->baseExtent = kHeaderHeight;
}

void AClientPane::detachItems() {
    delete client;
    client = nullptr;
    SVPane::detachItems();
}

void AClientPane::bindActions() {
    SVPane::bindActions();
    addAction(kToggleCommand, this, kToggleCommand, nullptr);
}

ACommand* AClientPane::doCommand(int16_t id, long argument) {
    if (id != kToggleCommand)
        return SVPane::doCommand(id, argument);
    if (client)
        client->toggle();
    return noChangeCommand();
}

int16_t AClientPane::commandStatus(int16_t id, long argument) {
    if (id != kToggleCommand)
        return SVPane::commandStatus(id, argument);
    return client && client->canToggle() ? 1 : 2;
}
