// The owner part of the local and global clusters: their action table, whose
// item operations are the cluster's, and the notifications of their items.
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
