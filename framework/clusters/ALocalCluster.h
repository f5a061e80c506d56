// The local cluster: the item cluster of every window, dialog and pane, with
// the owner part through which its items' notifications reach the commands
// bound to their ids, and through which application code reaches the items.
//
// The owner part is a member (owned) that forwards the action table's item
// operations to the cluster. Ids that are not filed are ignored, except by
// setCurrentItem ("invalid id %d", "fitems" 1783).
#pragma once

#include "framework/clusters/AClusterOwner.h"

class ALocalCluster : public AItemCluster {
    SV_DECLARE_CLASS(ALocalCluster)
public:
    ALocalCluster() : owner_(this) { setOwnerPart(&owner_); }
    ALocalCluster(AComponent* parent, int16_t id, const ASizeSpec& rule, int16_t cursorId, uint16_t idMode,
                  const char* environment)
        : AItemCluster(parent, id, rule, cursorId, idMode, environment), owner_(this) {
        setOwnerPart(&owner_);
    }

    // Record: AItemCluster's, FFFF.
    void readFrom(AMemoryStream& stream) override;
    // Without a background of its own a cluster other than a window lets its parent show through.
    void attachItems() override;
    // Shown, the enclosing window gives the focus again where it had none.
    void showNativeWindow() override;
    void setNativeWindowShownForced(bool show) override;
    // A window takes back its focus by whether it is active; nothing here.
    virtual void refreshFocus() {}

private:
    void refreshWindowFocus();

    AClusterOwner owner_;
};
