// One walk of a cluster's focus order: from a start (a component or null),
// forwards or backwards, the first item found after the start.
#pragma once

#include <cstdint>

#include "framework/components/AComponent.h"

class AClusterItem;
class AItemCluster;

class AFocusSearch {
public:
    enum : uint16_t { kBackward = 0x1, kPassed = 0x2, kCollect = 0x4 };

    AFocusSearch(AComponent* from, uint16_t options);

    // The start, or an ancestor of a start that is not an item, has been walked past.
    void visit(AComponent* x);
    // Keeps the first item offered once passed (collecting searches only).
    void offer(AClusterItem* r);
    AClusterItem* finish(AItemCluster* cluster);

    AComponent* start;     // not owned
    AClusterItem* result;  // not owned
    bool startIsItem;
    bool forward;
    bool passed;
    bool collect;
};
