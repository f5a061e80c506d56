// Bitmap resources read as DIBs.
#include "framework/dib/AResourceDIBReader.h"

#include <cstring>

AResourceDIBReader::AResourceDIBReader(const AResourceRef& ref)
    : resource_(2, ref), data_(nullptr), size_(0), position_(0) {
    resource_.open();
    try {
        data_ = static_cast<const uint8_t*>(resource_.getData());
        size_ = resource_.getSize();
        gotoState(kHeaderRead);
    } catch (...) {
        resource_.close();
        throw;
    }
}

AResourceDIBReader::~AResourceDIBReader() noexcept {
    resource_.close();
}

void AResourceDIBReader::read(void* dst, long count) {
    if (count < 0 || count > size_ - position_)
        RefuseBitmap(744, "bitmap resource: short read");
    memcpy(dst, data_ + position_, static_cast<size_t>(count));
    position_ += count;
}
