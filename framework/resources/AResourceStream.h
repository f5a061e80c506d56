// A memory stream over the bytes of one open resource.
#pragma once

#include "base/object/AMemoryStream.h"

class AResource;

class AResourceStream : public AMemoryStream {
public:
    // Opens the resource (not owned) and covers its bytes; raises what open raises.
    explicit AResourceStream(AResource& resource);
    // Closes the resource.
    ~AResourceStream() override;
    AResource& resource() const { return *resource_; }

private:
    AResource* resource_;  // not owned
};
