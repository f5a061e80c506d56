// Local clusters and the owner part shared with the global clusters.
#include "framework/clusters/ALocalCluster.h"

#include "base/object/AMemoryStream.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/graphics/ATextStyle.h"

SV_IMPLEMENT_CLASS(ALocalCluster, 130, AItemCluster)

long AClusterOwner::itemNotify(int16_t id, long argument, AClusterItem* item) {
    if (!item)
        item = cluster_->findItem(id, false);
    return dispatch(id, argument, item);
}

long AClusterOwner::itemCommand(int16_t id, long argument, AClusterItem* item) {
    if (!item)
        item = cluster_->findItem(id, false);
    if (!(cluster_->itemState(id) & AClusterItem::kOn))
        return 0;
    cluster_->prepareItemHit(id);
    return cluster_->itemNotify(id, argument, item);
}

void ALocalCluster::readFrom(AMemoryStream& stream) {
    AItemCluster::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "fitems", 1904);
}

void ALocalCluster::attachItems() {
    AItemCluster::attachItems();
    const AClass* window = AClass::findByName("AWindow");
    if (window && isKindOf(window))
        return;
    ATextStyle* own = ownDisplayEnv();
    if (!own || own->backColor() == ATextStyle::kUnset)
        setEraseBackground(false);
}

void ALocalCluster::showNativeWindow() {
    AItemCluster::showNativeWindow();
    refreshWindowFocus();
}

void ALocalCluster::setNativeWindowShownForced(bool show) {
    AItemCluster::setNativeWindowShownForced(show);
    if (show)
        refreshWindowFocus();
}

void ALocalCluster::refreshWindowFocus() {
    const AClass* window = AClass::findByName("AWindow");
    if (!window)
        return;
    AComponent* w = isKindOf(window) ? this : findAncestor(window);
    if (auto* cluster = dynamic_cast<ALocalCluster*>(w))
        cluster->refreshFocus();
}
