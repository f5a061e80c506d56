// Finding a window already open before loading it again.
#include "framework/app/AOpenWindows.h"

#include "framework/app/AWindow.h"
#include "framework/clusters/AItemCluster.h"

AWindow* SelectOpenWindow(AComponent* parent, int16_t id, const AClass* cls) {
    if (!parent || !cls)
        return nullptr;
    AComponent* owner =
        parent->isKindOf(&AItemCluster::classRecord) ? parent : parent->findAncestor(&AItemCluster::classRecord);
    auto* cluster = owner ? static_cast<AItemCluster*>(owner->castTo(&AItemCluster::classRecord)) : nullptr;
    AClusterItem* item = cluster ? cluster->findItem(id, false) : nullptr;
    if (!item || !item->isKindOf(cls) || !item->isKindOf(&AWindow::classRecord))
        return nullptr;
    auto* window = static_cast<AWindow*>(item->castTo(&AWindow::classRecord));
    window->select();
    return window;
}
