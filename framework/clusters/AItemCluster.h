// The item cluster: the container that gives items their numbers. Every
// cluster item with a positive id below it, with no other cluster in
// between, is filed under that id; the cluster keeps the order of filing (the
// focus order), a current (default) item and a help text per item.
//
// Items are not owned (they are children in the component tree); help texts
// are. A duplicate id ("Duplicate ClusterItem ID : %d"), a required id that is
// not filed ("invalid id %d") and items left at detach are assertions
// ("fitems"); every other item operation ignores an id that is not filed.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "framework/clusters/ACommandItem.h"

class AClusterOwner;
class AItemOwner;

class AItemCluster : public ACommandItem {
    SV_DECLARE_CLASS(AItemCluster)
public:
    AItemCluster() = default;
    AItemCluster(AComponent* parent, int16_t id, const ASizeSpec& rule, int16_t cursorId, uint16_t idMode,
                 const char* environment)
        : ACommandItem(parent, id, rule, cursorId, idMode, environment) {}
    ~AItemCluster() override;

    // AComponent and the item.
    // Record: ACommandItem's, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void detachItems() override;
    void componentAdded(AComponent* component) override;
    void componentDeleted(AComponent* component) override;
    ACommand* keyToCommand(AKeyEvent& event) override;
    void windowActivated(int16_t on) override;
    AComponent* receive(int16_t id, int16_t shallow) override;
    AClusterItem* focusTarget() override;
    AClusterItem* findFocusTarget(AFocusSearch& search) override;

    // The owner interface's entries: the owner part's, 0 and null without one.
    virtual long itemNotify(int16_t id, long argument, AClusterItem* item);
    virtual long itemCommand(int16_t id, long argument, AClusterItem* item);
    virtual AItemOwner* asOwner();
    AActionTable* ownActionTable() override;
    virtual AHelpRecord itemHelp(const APoint& point, AClusterItem* item);
    virtual void setItemString(const char* text, AClusterItem* item, int16_t atPoint);
    virtual void setItemStringById(int16_t id, const char* text);
    virtual AString itemString(AClusterItem* item);
    virtual AString itemStringById(int16_t id) { return itemString(findItem(id, false)); }

    // Item operations by id.
    AClusterItem* findItem(int16_t id, bool mustExist);
    bool hasItem(int16_t id) { return findItem(id, false) != nullptr; }
    AString getItemText(int16_t id);
    void setItemText(int16_t id, const char* text);
    void setItemState(int16_t id, uint16_t state);
    uint16_t itemState(int16_t id);
    void setItemOn(int16_t id);
    void setItemOff(int16_t id);
    void prepareItemHit(int16_t id);
    void setItemStateBit4(int16_t id, bool on);
    void ownerHook() {}
    void setCurrentItem(int16_t id);
    AClusterItem* currentItem() const { return current_; }

    // Focus: the next or previous item after start that takes the focus.
    AClusterItem* nextFocusTarget(AComponent* start, bool wrap) { return findFocus(start, true, wrap); }
    AClusterItem* previousFocusTarget(AComponent* start, bool wrap) { return findFocus(start, false, wrap); }
    AClusterItem* firstTabStop() { return findFocus(nullptr, true, false); }
    int16_t tabStopCount();
    // Hits the current item when it is on, else asks the enclosing cluster; 0 when nobody did.
    long triggerDefault(long argument);

    const std::vector<AClusterItem*>& items() const { return order_; }

protected:
    // The owner part of a local or global cluster (its member, not owned here).
    void setOwnerPart(AClusterOwner* part) { ownerPart_ = part; }

private:
    struct HelpText {
        AString text;
        int16_t atPoint;
    };
    AClusterItem* findFocus(AComponent* start, bool forward, bool wrap);
    void addItem(AComponent* component);
    void removeItem(AComponent* component);
    void loadHelpTexts();

    std::map<long, std::unique_ptr<HelpText>> helpTexts_;  // by item getId; an entry may be null
    std::map<long, AClusterItem*> items_;                  // not owned, by component id
    std::vector<AClusterItem*> order_;                     // not owned, in filing order
    AClusterItem* current_ = nullptr;                      // not owned
    int16_t tabStops_ = -1;
    AClusterOwner* ownerPart_ = nullptr;  // not owned
};
