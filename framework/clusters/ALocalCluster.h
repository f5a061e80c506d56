// The local cluster: the item cluster of every window, dialog and pane, with
// the owner part through which its items' notifications reach the commands
// bound to their ids, and through which application code reaches the items.
//
// The owner part is a member (owned) that forwards the action table's item
// operations to the cluster. Ids that are not filed are ignored, except by
// setCurrentItem ("invalid id %d", "fitems" 1783).
#pragma once

#include "framework/clusters/AItemCluster.h"
#include "framework/commands/AItemOwner.h"

// The owner part of a local or global cluster: its action table, whose item
// operations are the cluster's.
class AClusterOwner : public ALocalOwner {
public:
    // cluster: not owned, never null.
    explicit AClusterOwner(AItemCluster* cluster) : cluster_(cluster) {}

    bool hasItem(int16_t code) override { return cluster_->hasItem(code); }
    long itemState(int16_t code) override { return cluster_->itemState(code); }
    void setItemState(int16_t code, long state) override { cluster_->setItemState(code, static_cast<uint16_t>(state)); }
    void setCurrentItem(int16_t code) override { cluster_->setCurrentItem(code); }
    void itemFired(int16_t code) override { cluster_->prepareItemHit(code); }

    // The command bound to id run for (id, argument, item): its answer, 0 when none is bound.
    long itemNotify(int16_t id, long argument, AClusterItem* item);
    // itemNotify through the cluster after prepareItemHit when the item is on; else 0.
    long itemCommand(int16_t id, long argument, AClusterItem* item);

private:
    AItemCluster* cluster_;  // not owned: the cluster this is part of
};

class ALocalCluster : public AItemCluster {
    SV_DECLARE_CLASS(ALocalCluster)
public:
    ALocalCluster() : owner_(this) {}
    ALocalCluster(AComponent* parent, int16_t id, const ASizeSpec& rule, int16_t cursorId, uint16_t idMode,
                  const char* environment)
        : AItemCluster(parent, id, rule, cursorId, idMode, environment), owner_(this) {}

    // Record: AItemCluster's, FFFF.
    void readFrom(AMemoryStream& stream) override;
    // Without a background of its own a cluster other than a window lets its parent show through.
    void attachItems() override;
    AActionTable* ownActionTable() override { return &owner_; }
    long itemNotify(int16_t id, long argument, AClusterItem* item) override {
        return owner_.itemNotify(id, argument, item);
    }
    long itemCommand(int16_t id, long argument, AClusterItem* item) override {
        return owner_.itemCommand(id, argument, item);
    }
    AItemOwner* asOwner() override { return &owner_; }

private:
    AClusterOwner owner_;
};
