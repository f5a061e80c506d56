// The root of the application's pane family: every pane a layout places in a
// screen of the reader derives from it (through the product's pane base). It
// adds no data to the local cluster; it fixes the class name "APane", the set
// of operations every pane chains to, and the pane update hook.
//
// Panes look their child items up by id in setUpItems (the children do not
// exist yet in attachItems), keep plain pointers to them (not owned: the items
// belong to the component tree) and drop them in detachItems. Every override
// does its own work and calls its direct base's version.
#pragma once

#include "base/procedural/AError.h"
#include "framework/clusters/AClusterItem.h"
#include "framework/clusters/ALocalCluster.h"

class AKindSet;

class APane : public ALocalCluster {
    SV_DECLARE_CLASS(APane)
public:
    APane() = default;
    APane(AComponent* parent, int16_t id, const ASizeSpec& rule, int16_t cursorId, uint16_t idMode,
          const char* environment)
        : ALocalCluster(parent, id, rule, cursorId, idMode, environment) {}

    // Record: ALocalCluster's, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    void linkChanged(AComponent* source, const AKindSet& kinds) override;

    // Refreshes the pane for the current navigation state; nothing here.
    virtual void updatePane() {}

protected:
    // The item of the id when it is of class T; else null.
    template <class T>
    T* itemAs(int16_t id) {
        AClusterItem* item = findItem(id, false);
        return item ? static_cast<T*>(item->castTo(&T::classRecord)) : nullptr;
    }
    // The item of the id, which the pane's layout must give as a T: a missing
    // one is reported as a failed allocation at file and line.
    template <class T>
    T* requiredItem(int16_t id, const char* file, long line) {
        return CheckAlloc(itemAs<T>(id), file, line);
    }
};
