// Accordion layout: extents, shares, partners and the shown mask.
#include "app/lists/ALayoutClient.h"

#include "base/procedural/AError.h"
#include "docengine/render/ARenderer.h"
#include "docengine/render/ARendererViews.h"
#include "framework/display/ADisplayComponent.h"

ALayoutClient::ALayoutClient(ADisplayComponent* pane_) : pane(pane_) {}

ALayoutClient::~ALayoutClient() {
    if (list)
        list->remove(this);
    if (partner && partner->partner == this)
        partner->partner = nullptr;
}

int32_t ALayoutClient::paneHeight() {
    return pane ? pane->getSize().y : 0;
}

int32_t ALayoutClient::extent() {
    if (stretchable)
        return baseExtent;
    return fixedExtent > 0 ? fixedExtent : paneHeight();
}

void ALayoutClient::setPartner(ALayoutClient* other, bool mutual) {
    partner = other;
    if (!other || !mutual)
        return;
    other->setPartner(this, false);
    if (shown && other->shown)
        other->shown = 0;
    else if (!shown && !other->shown)
        shown = 1;
}

int16_t ALayoutClient::canToggle() const {
    if (!shown || partner)
        return 1;
    return list && list->stretchCount > 1 ? 1 : 0;
}

void ALayoutClient::toggle() {
    if (list)
        list->toggleClient(this);
}

int16_t ALayoutClient::confirmChange() {
    if (!list)
        ThrowAssert("layout", 97);
    if (!list->owner)
        return 1;
    return list->owner->acceptClientChange(pane ? pane->id() : 0, shown ? 1 : 2);
}

void ALayoutClient::setSpan(int32_t top, int32_t bottom) {
    if (!pane)
        ThrowAssert("layout", 102);
    ASizeSpec rule = pane->getSizeSpec();
    rule.edges[1].value = top;
    rule.edges[3].value = bottom;
    pane->setSizeSpec(rule, true);
}

void ALayoutClient::postPlaced() {
    if (pane)
        pane->queueUpdate(0);
}

ALayoutClientList::~ALayoutClientList() {
    clear();
}

void ALayoutClientList::clear() {
    for (ALayoutClient* c : clients)
        c->list = nullptr;
    clients.clear();
}

void ALayoutClientList::remove(ALayoutClient* client) {
    for (auto it = clients.begin(); it != clients.end();) {
        if (*it == client)
            it = clients.erase(it);
        else
            ++it;
    }
    client->list = nullptr;
}

void ALayoutClientList::addClient(ALayoutClient* client, int16_t stretchable, int16_t shown, ALayoutClient* partner,
                                  int16_t contentSized, ARendererView* content) {
    // A shown mask has one bit per client: a 33rd could never be restored.
    if (!client || clients.size() >= static_cast<size_t>(kMaxClients))
        ThrowAssert("layout", 180);
    client->list = this;
    client->stretchable = stretchable;
    client->shown = shown;
    client->setPartner(partner, true);
    client->content = content;
    client->contentSized = contentSized;
    clients.push_back(client);
}

void ALayoutClientList::hideAll() {
    for (ALayoutClient* c : clients)
        c->shown = 0;
}

void ALayoutClientList::toggleClient(ALayoutClient* client) {
    if (!client->stretchable)
        return;
    auto flipBoth = [&] {
        client->flip();
        if (client->partner)
            client->partner->flip();
        layout();
    };
    flipBoth();
    if (!client->confirmChange())
        flipBoth();
}

int32_t ALayoutClientList::contentHeight(ARendererView* view) {
    ARenderer* renderer = view ? view->renderer() : nullptr;
    return renderer ? static_cast<int32_t>(renderer->contentHeight()) : 0;
}

int32_t ALayoutClientList::fitContentClients(int32_t rest, int32_t count, int32_t share) {
    for (ALayoutClient* c : clients) {
        if (!c->shown || !c->stretchable || !c->contentSized || !c->content)
            continue;
        int32_t p = contentHeight(c->content);
        // The last fitted client leaves nobody to share with: the share stays.
        if (p > 0 && p < share && count > 1) {
            c->contentExtent = p;
            --count;
            rest -= p;
            share = rest / count;
        } else {
            c->contentExtent = share;
        }
    }
    return share;
}

void ALayoutClientList::layout() {
    int32_t total = 0, n = 0, shown = 0, fixed = 0, contentSized = 0;
    for (ALayoutClient* c : clients) {
        c->contentExtent = 0;
        total += c->extent();
        ++n;
        if (!c->shown)
            continue;
        ++shown;
        if (!c->stretchable)
            ++fixed;
        else if (c->contentSized && c->content)
            ++contentSized;
    }
    int32_t free = ownerHeight() - margin - total - n * spacing;
    int32_t k = shown - fixed;
    // A restored mask or a resize can leave no stretchable client shown: nothing to share.
    int32_t share = k > 0 ? free / k : 0;
    stretchCount = static_cast<int16_t>(k);
    if (contentSized > 0 && k > 0)
        share = fitContentClients(free, k, share);
    int32_t y = margin;
    for (ALayoutClient* c : clients) {
        int32_t top = y;
        y += c->extent();
        if (c->shown && c->stretchable)
            y += c->contentSized && c->content ? c->contentExtent : share;
        c->setSpan(top, y);
        y += spacing;
        c->postPlaced();
    }
}

uint32_t ALayoutClientList::shownMask() const {
    uint32_t mask = 0;
    for (size_t i = 0; i < clients.size(); ++i)
        if (clients[i]->shown)
            mask |= 1u << i;
    return mask;
}

void ALayoutClientList::setShownMask(uint32_t mask) {
    for (size_t i = 0; i < clients.size(); ++i)
        clients[i]->shown = (mask >> i) & 1u ? 1 : 0;
}
