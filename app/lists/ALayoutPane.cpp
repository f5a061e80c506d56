// The layout pane: its client list, the saved shown mask and its text.
#include "app/lists/ALayoutPane.h"

#include <cstring>

#include "app/state/ABaseState.h"
#include "framework/components/ALayoutLoader.h"

SV_IMPLEMENT_CLASS(ALayoutPane, 0, SVPane)

ALayoutPane::ALayoutPane() {
    resetState(0);
}

ALayoutPane::~ALayoutPane() {
    delete clients;
}

void ALayoutPane::readFrom(AMemoryStream& stream) {
    SVPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "layout", 300);
}

void ALayoutPane::setUpItems() {
    SVPane::setUpItems();
    delete clients;
    clients = CheckAlloc(new (std::nothrow) ALayoutClientList(this), "layout", 340);
}

void ALayoutPane::detachItems() {
    SVPane::detachItems();
    delete clients;
    clients = nullptr;
}

void ALayoutPane::childrenLoaded() {
    SVPane::childrenLoaded();
}

long ALayoutPane::frameChanged(const APoint& size) {
    if (clients && !clients->clients.empty())
        clients->layout();
    return SVPane::frameChanged(size);
}

void ALayoutPane::saveState(ABaseState* part) {
    SVPane::saveState(part);
    savedMask = clients ? clients->shownMask() : 0;
    if (!part)
        return;
    part->fUserInfo.slot(maskKey) = static_cast<long>(savedMask);
    if (!text.empty())
        part->setUserTxtInfo(textKey, text.c_str());
}

int16_t ALayoutPane::acceptClientChange(int16_t paneId, int16_t code) {
    (void)paneId;
    (void)code;
    return 1;
}

int16_t ALayoutPane::setPaneText(const char* value) {
    const char* v = value ? value : "";
    if (strcmp(v, text.c_str()) == 0)
        return 0;
    text = v;
    return 1;
}

void ALayoutPane::restoreShownMask() {
    if (savedMask && clients)
        clients->setShownMask(savedMask);
}

void ALayoutPane::showClient(ALayoutClient* client) {
    if (!client || client->shown || !clients)
        return;
    ALayoutClient* partner = client->partner;
    client->flip();
    if (partner)
        partner->flip();
    clients->layout();
}
