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
