// The clipboard calls of the edit commands.
//
// Handles are HGLOBAL values passed as void*. clipboardData answers a copy
// the caller owns; PutClipboardData gives the handle to the clipboard.
#pragma once

#include <cstdint>

// Opens the clipboard for a window while it lives; opened() is false when
// another program holds it, and the guard then closes nothing.
class AClipboardGuard {
public:
    explicit AClipboardGuard(void* window);
    ~AClipboardGuard();
    AClipboardGuard(const AClipboardGuard&) = delete;
    AClipboardGuard& operator=(const AClipboardGuard&) = delete;
    bool opened() const { return opened_; }

private:
    bool opened_;
};

bool ClipboardHas(uint32_t format);
// A copy, of the block's own size, of the clipboard's data in the format, or null.
void* ClipboardData(void* window, uint32_t format);
// The clipboard takes the handle; when it refuses, the handle is freed.
bool PutClipboardData(uint32_t format, void* handle);
