// Boxes, message texts, input state, timing and profile strings.
#include "framework/app/AppServices.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "base/object/AFileSpec.h"
#include "base/object/AFolderSpecs.h"
#include "base/object/ARect.h"
#include "base/procedural/KyFile.h"
#include "base/procedural/SystemSeams.h"
#include "framework/app/AApp.h"
#include "framework/resources/AStringListResource.h"

namespace {

// Profile reads trim blanks and cut long values: a value that never reads
// back equal must not loop for ever.
const int kProfileReadBacks = 3;

AFileSpec ProfileFolder(int16_t windowsFolder) {
    if (!windowsFolder)
        return ACurrentFolderSpec();
    char path[MAX_PATH];
    UINT n = GetWindowsDirectoryA(path, sizeof path);
    return n > 0 && n < sizeof path ? AFileSpec(path) : ACurrentFolderSpec();
}

}  // namespace

int ErrorBox(const char* text) {
    return SeamMessageBox(nullptr, text, "", MB_ICONEXCLAMATION);
}

void* MessageBoxOwnerWindow() {
    AApp* app = AApp::current();
    return app ? app->frameWindow() : nullptr;
}

AString& GetListString(AString& result, uint16_t list, short index) {
    return GetListStringByRef(result, AResourceRef(list), index);
}

AString& GetListStringByRef(AString& result, const AResourceRef& ref, short index) {
    AStringListResource strings(ref);
    strings.get(result, index);
    return result;
}

bool IsMouseButtonDown() {
    return (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0;
}

bool IsKeyDown(uint16_t key, uint16_t second) {
    bool down = (GetAsyncKeyState(key) & 0x8000) != 0;
    if (second)
        down = down && (GetAsyncKeyState(second) & 0x8000) != 0;
    return down;
}

uint32_t TickCount() {
    return SeamTickCount();
}

void Delay(uint32_t ms) {
    uint32_t start = TickCount();
    while (TickCount() - start < ms) {
        if (IsMouseButtonDown()) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
            }
            return;
        }
    }
}

void ScreenSize(APoint& result) {
    result = APoint(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

bool CanRunApplication() {
    return true;
}

long ReadProfileString(const char* section, const char* key, const char* fallback, char* buffer, long size,
                       const AFileSpec& file) {
    if (size <= 0)
        return 2013;
    const char* initial = fallback ? fallback : "";
    snprintf(buffer, static_cast<size_t>(size), "%s", initial);
    if (!file.exists())
        return 0;
    DWORD n = GetPrivateProfileStringA(section, key, initial, buffer, static_cast<DWORD>(size), file.path().c_str());
    return n > 0 ? 0 : 2013;
}

long WriteProfileStringVerified(const char* section, const char* key, const char* value, long size,
                                const AFileSpec& file) {
    if (KY_FileSys* fs = KY_GetGlobalFileSys())
        KY_ReleaseHandles(fs, 2);
    if (!WritePrivateProfileStringA(section, key, value, file.path().c_str()))
        return -1;
    std::vector<char> back(static_cast<size_t>(size > 0 ? size : 1));
    for (int i = 0; i < kProfileReadBacks; ++i) {
        ReadProfileString(section, key, "", back.data(), static_cast<long>(back.size()), file);
        if (lstrcmpiA(back.data(), value ? value : "") == 0)
            return 0;
    }
    return -1;
}

AString ReadProfileStringIn(int16_t windowsFolder, const char* section, const char* key, const char* fileName) {
    char buffer[260];
    ReadProfileString(section, key, nullptr, buffer, sizeof buffer, AFileSpec(ProfileFolder(windowsFolder), fileName));
    return AString(buffer);
}

long WriteProfileStringIn(int16_t windowsFolder, const char* section, const char* key, const char* value,
                          const char* fileName) {
    long size = static_cast<long>(std::strlen(value ? value : "")) + 1;
    return WriteProfileStringVerified(section, key, value, size, AFileSpec(ProfileFolder(windowsFolder), fileName));
}

AString ReadWindowsProfileString(const char* section, const char* key, const char* fileName) {
    return ReadProfileStringIn(1, section, key, fileName);
}

long WriteWindowsProfileString(const char* section, const char* key, const char* value, const char* fileName) {
    return WriteProfileStringIn(1, section, key, value, fileName);
}
