// The modifier state behind key events.
#include "base/object/InputRecords.h"

#include <windows.h>

namespace {

short SystemKeyState(int virtualKey) {
    return GetAsyncKeyState(virtualKey);
}

AsyncKeyStateFunction g_keyState = SystemKeyState;

bool Down(int virtualKey) {
    return (g_keyState(virtualKey) & 0x8000) != 0;
}

}  // namespace

void SetAsyncKeyStateFunction(AsyncKeyStateFunction f) {
    g_keyState = f ? f : SystemKeyState;
}

uint16_t GetInputModifiers() {
    uint16_t bits = 0;
    if (Down(VK_LBUTTON))
        bits |= kModLeftButton;
    if (Down(VK_SHIFT))
        bits |= kModShift;
    if (Down(VK_CONTROL))
        bits |= kModCtrl;
    if (Down(VK_MENU))
        bits |= kModAlt;
    return bits;
}

uint16_t AKeyEvent::modifiers() {
    if (modifierBits == 0xFFFF)
        modifierBits = GetInputModifiers();
    return modifierBits;
}
