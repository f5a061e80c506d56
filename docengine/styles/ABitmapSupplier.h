// Turns a picture's name into the bitmap to draw or export for it: the
// application names the pictures of its articles, the engine asks by name.
#pragma once

#include "base/object/ARefObj.h"
#include "base/object/AString.h"

class ABitmapRef;

// Shared (ARefObj): renderers and export cursors hold it.
class ABitmapSupplier : public ARefObj {
public:
    // The bitmap of a name, or null when the supplier has none. The supplier
    // keeps its own reference; a caller that keeps the bitmap adds one.
    virtual ABitmapRef* bitmapNamed(const AString& name) = 0;
};

class AFragment;

// Which sub-image a picture fragment shows, as its owner keeps the pictures'
// states (a button pressed, an entry opened). Not shared: the owner of the
// renderer keeps it as long as the renderer.
class AImageStateSupplier {
public:
    virtual ~AImageStateSupplier() = default;
    // The sub-image of fragment's picture; -1 when the supplier has no state for it.
    virtual long imageState(AFragment* fragment) = 0;
};
