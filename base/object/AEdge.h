// One edge of a component's frame as a layout resource describes it: a value
// and the mode bits that say how the edge follows from its reference.
#pragma once

#include <cstdint>

class AMemoryStream;

struct AEdge {
    // Mode bit fields; the sizing code gives them their meaning.
    enum : uint16_t {
        kOffsetMask = 0x000F,     // offset 0..15, added on near edges, taken off far ones
        kPlacementMask = 0x00F0,  // 0x00 absolute, 0x10 partner, 0x20 a, 0x30 b, 0x40 middle
        kProportional = 0x0100,   // value in thousandths of the reference span
        kFlow = 0x0200,           // writes the flow rectangle
        kClamp = 0x0400,          // clamped into the reference span
        kKindMask = 0xF000,       // 0x1000 parent, 0x2000 previous sibling, 0x3000 flow, 0x4000 sibling by id
    };

    int32_t value;
    uint16_t mode;
    uint16_t aux;  // id of the reference sibling for kind 0x4000, else 0

    void set(int32_t v, uint16_t m, uint16_t a) {
        value = v;
        mode = m;
        aux = a;
    }
    void copy(const AEdge& other) { *this = other; }
    // Record in a layout stream, little-endian, 8 bytes:
    //   value i32 | mode u16 | aux u16
    void read(AMemoryStream& stream);

    // The reference kind: 0 (needs none), 0x1000 parent, 0x2000 previous,
    // 0x3000 flow, 0x4000 sibling by id, or another top nibble as stored.
    uint16_t attachment() const;
    // The coordinate of this edge (index 0 left, 1 top, 2 right, 3 bottom)
    // against the reference pair (a, b) and the resolved partner coordinate.
    int32_t resolve(int32_t a, int32_t b, int index, int32_t partner) const;
};
