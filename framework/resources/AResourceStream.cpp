// A memory stream over the bytes of one open resource.
#include "framework/resources/AResourceStream.h"

#include "framework/resources/AResource.h"

AResourceStream::AResourceStream(AResource& resource) : resource_(&resource) {
    resource.open();
    try {
        long size = resource.getSize();
        setBlock(const_cast<void*>(resource.getData()), size);
    } catch (...) {
        resource.close();
        throw;
    }
}

AResourceStream::~AResourceStream() {
    resource_->close();
}
