// The clipboard calls of the edit commands.
#include "framework/components/AClipboard.h"

#include <windows.h>

#include "base/object/AGlobalMemory.h"

AClipboardGuard::AClipboardGuard(void* window) : opened_(OpenClipboard(static_cast<HWND>(window)) != 0) {}

AClipboardGuard::~AClipboardGuard() {
    if (opened_)
        CloseClipboard();
}

bool ClipboardHas(uint32_t format) {
    return IsClipboardFormatAvailable(format) != 0;
}

void* ClipboardData(void* window, uint32_t format) {
    AClipboardGuard guard(window);
    if (!guard.opened())
        return nullptr;
    HANDLE h = GetClipboardData(format);
    if (!h)
        return nullptr;
    SIZE_T size = GlobalSize(h);
    // A block the clipboard cannot size is not read at all.
    if (size == 0 && GetLastError() != NO_ERROR)
        return nullptr;
    return GlobalMemoryFromRange(h, 0, static_cast<uint32_t>(size));
}

bool PutClipboardData(uint32_t format, void* handle) {
    if (::SetClipboardData(format, static_cast<HANDLE>(handle)))
        return true;
    GlobalFree(static_cast<HGLOBAL>(handle));
    return false;
}
