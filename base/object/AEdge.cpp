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
