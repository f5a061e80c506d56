// Layout edges read from layout streams.
#include "base/object/AEdge.h"

#include "base/object/AMemoryStream.h"

void AEdge::read(AMemoryStream& stream) {
    // Locals first: a record cut short leaves the edge as it was.
    int32_t v = stream.readLong();
    uint16_t m = static_cast<uint16_t>(stream.readShort());
    uint16_t a = static_cast<uint16_t>(stream.readShort());
    set(v, m, a);
}

uint16_t AEdge::attachment() const {
    uint16_t placement = mode & kPlacementMask;
    if (placement == 0x00 || placement == 0x10)
        return 0;
    uint16_t kind = mode & kKindMask;
    if (kind != 0 && kind != 0x4000)
        return kind;
    return aux ? 0x4000 : 0x1000;
}

namespace {

// Layout values come from outside: sums wrap to 32 bits as the stored
// format's arithmetic does, instead of overflowing.
int32_t Wrap(int64_t v) {
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v)));
}

}  // namespace

int32_t AEdge::resolve(int32_t a, int32_t b, int index, int32_t partner) const {
    int64_t n = mode & kOffsetMask;
    if (index & 2)
        n = -n;
    int64_t v = value;
    if (mode & kProportional) {
        int64_t span = a > b ? int64_t(a) - b : int64_t(b) - a;
        v = static_cast<int64_t>(static_cast<double>(Wrap(value * span)) / 1000.0);
    }
    switch (mode & kPlacementMask) {
        case 0x20:
            v = v + a + n;
            break;
        case 0x30:
            v = v + b - n;
            break;
        case 0x40:
            // Arithmetic shift: the middle rounds toward minus infinity.
            v = v + ((int64_t(a) + b) >> 1);
            break;
        case 0x10:
            v = v + partner;
            break;
        default:
            break;
    }
    if (mode & kClamp) {
        int32_t low = a < b ? a : b;
        int32_t high = a < b ? b : a;
        v = v < low ? low : (v > high ? high : v);
    }
    return Wrap(v);
}
