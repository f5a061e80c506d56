// The clean-window memo that spares scroll steps a server round trip.
#include "framework/graphics/AUpdateWatch.h"

uint32_t AUpdateWatch::epoch_ = 0;

namespace {

const DWORD kLifetimeMs = 50;

struct CleanMark {
    HWND window = nullptr;
    uint32_t epoch = 0;
    LONG messageTime = 0;
    DWORD messagePos = 0;
    DWORD tick = 0;
};

CleanMark g_mark;

}  // namespace

bool AUpdateWatch::knownClean(HWND window) {
    const CleanMark& m = g_mark;
    return window && m.window == window && m.epoch == epoch_ && m.messageTime == GetMessageTime() &&
           m.messagePos == GetMessagePos() && GetTickCount() - m.tick < kLifetimeMs;
}

void AUpdateWatch::markClean(HWND window) {
    g_mark.window = window;
    g_mark.epoch = epoch_;
    g_mark.messageTime = GetMessageTime();
    g_mark.messagePos = GetMessagePos();
    g_mark.tick = GetTickCount();
}
