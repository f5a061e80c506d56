// Value records of system input handed to components: key and mouse events,
// the modifier state, and the records of the command tables.
#pragma once

#include "base/object/ARect.h"

#include <cstdint>

enum : uint16_t {
    kModLeftButton = 1,
    kModShift = 4,
    kModCtrl = 8,
    kModAlt = 32,
};

// The modifier bits, read from the asynchronous key state now.
uint16_t GetInputModifiers();

// Test seam: the key-state reader (GetAsyncKeyState's contract); null restores it.
using AsyncKeyStateFunction = short (*)(int virtualKey);
void SetAsyncKeyStateFunction(AsyncKeyStateFunction f);

class AKeyEvent {
public:
    AKeyEvent(uint16_t key, uint16_t ch, uint16_t isDown)
        : keyCode(key), character(ch), modifierBits(0xFFFF), down(isDown) {}
    // Read from the key state on first use, then kept.
    uint16_t modifiers();

    uint16_t keyCode;    // virtual-key code, 0 for a character event
    uint16_t character;  // 0 for a key event
    uint16_t modifierBits;
    uint16_t down;  // 1 pressed, 0 released
};

struct AMouseEvent {
    AMouseEvent(const APoint& p, uint16_t v) : where(p), value(v) {}
    // The point made relative to origin.
    AMouseEvent(int32_t x, int32_t y, uint16_t v, const APoint& origin) : where(x - origin.x, y - origin.y), value(v) {}

    APoint where;
    uint16_t value;  // button and modifier state from the window procedure
};

// Fields belong to the window procedure that fills them.
struct AEventDetail {
    AEventDetail(uint16_t v1, int32_t v2, uint16_t v3, int32_t v4) : a(v1), b(v2), c(v3), d(v4) {}
    uint16_t a;
    int32_t b;
    uint16_t c;
    int32_t d;
};

// Fields belong to the command tables; the constructor takes the seventh first.
struct AActionRecord {
    AActionRecord(int32_t seventh, int32_t first, int16_t second, int16_t third, int32_t fourth, int32_t fifth,
                  int32_t sixth)
        : f1(first), f2(second), f3(third), f4(fourth), f5(fifth), f6(sixth), f7(seventh) {}
    int32_t f1;
    int16_t f2;
    int16_t f3;
    int32_t f4;
    int32_t f5;
    int32_t f6;
    int32_t f7;
};
