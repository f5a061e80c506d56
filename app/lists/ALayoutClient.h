// The accordion arrangement of a layout pane: one record per client pane
// (ALayoutClient) and the list that places them from top to bottom
// (ALayoutClientList). Every client keeps its extent (a stretchable client's
// header, a fixed client's height); the shown stretchable clients share the
// rest equally. Partners: exactly one of the two is shown.
//
// A client record is owned by its pane; the list owns neither its records nor
// its owner. Units are pixels of the owner pane. A record without list or
// pane is an assertion ("layout"), as is a 33rd client: shown masks hold 32.
#pragma once

#include <cstdint>
#include <vector>

class ADisplayComponent;
class ALayoutClientList;
class ARendererView;

// What the list asks of the pane that holds it.
class ALayoutOwner {
public:
    virtual ~ALayoutOwner() = default;
    // 1 accepts the change of client pane id (code 1 shown, 2 hidden).
    virtual int16_t acceptClientChange(int16_t paneId, int16_t code) = 0;
    virtual int32_t layoutHeight() = 0;
};

class ALayoutClient {
public:
    explicit ALayoutClient(ADisplayComponent* pane);
    // Leaves its list and its partner: a pane torn down before its layout
    // pane must not be placed again.
    virtual ~ALayoutClient();
    ALayoutClient(const ALayoutClient&) = delete;
    ALayoutClient& operator=(const ALayoutClient&) = delete;

    // baseExtent when stretchable, else fixedExtent when above 0, else the pane's height.
    int32_t extent();
    // With mutual, the other takes this as partner and one of the two stays shown.
    void setPartner(ALayoutClient* other, bool mutual);
    // 0 for the last shown stretchable client without partner.
    int16_t canToggle() const;
    void flip() { shown = shown ? 0 : 1; }
    void toggle();
    // The owner's answer to the change just made.
    int16_t confirmChange();
    // Moves the pane's top and bottom edges (their modes kept).
    virtual void setSpan(int32_t top, int32_t bottom);
    virtual void postPlaced();
    virtual int32_t paneHeight();

    ADisplayComponent* pane;  // not owned
    ALayoutClientList* list = nullptr;  // not owned
    int16_t shown = 0;
    int32_t baseExtent = 0;
    int32_t fixedExtent = 0;
    int16_t stretchable = 0;
    ALayoutClient* partner = nullptr;  // not owned
    ARendererView* content = nullptr;  // not owned
    int16_t contentSized = 0;
    int32_t contentExtent = 0;
};

class ALayoutClientList {
public:
    static const int kMaxClients = 32;

    explicit ALayoutClientList(ALayoutOwner* layoutOwner) : owner(layoutOwner) {}
    // The records it still holds forget it.
    virtual ~ALayoutClientList();
    ALayoutClientList(const ALayoutClientList&) = delete;
    ALayoutClientList& operator=(const ALayoutClientList&) = delete;

    void addClient(ALayoutClient* client, int16_t stretchable, int16_t shown, ALayoutClient* partner,
                   int16_t contentSized = 0, ARendererView* content = nullptr);
    void hideAll();
    void toggleClient(ALayoutClient* client);
    void layout();
    uint32_t shownMask() const;
    // Bits past the clients are ignored; nothing is laid out.
    void setShownMask(uint32_t mask);
    int32_t ownerHeight() { return owner ? owner->layoutHeight() : 0; }
    void clear();
    void remove(ALayoutClient* client);
    // The height a content view's renderer has laid out.
    virtual int32_t contentHeight(ARendererView* view);

    ALayoutOwner* owner;  // not owned
    std::vector<ALayoutClient*> clients;  // not owned, in the order added
    int32_t margin = 0;
    int32_t spacing = 0;
    int16_t stretchCount = 0;

private:
    int32_t fitContentClients(int32_t rest, int32_t count, int32_t share);
};
