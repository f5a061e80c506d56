// The shell's special folders: SHGetFolderPathA loaded at run time from the
// system folder, with the "Shell Folders" registry values as the fallback.
#include "base/procedural/KyPath.h"
#include "base/procedural/ProcAddress.h"

#include <windows.h>

#include <cstring>
#include <map>
#include <mutex>
#include <string>

namespace {

const char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const int kOlderFamily = 1;  // VER_PLATFORM_WIN32_WINDOWS

struct FolderName {
    int number;
    const char* value;
    bool machine;  // under the local machine's key, else the current user's
};

const FolderName kFolderNames[] = {
    {0, "Desktop", false},
    {2, "Programs", false},
    {5, "Personal", false},
    {6, "Favorites", false},
    {7, "Startup", false},
    {8, "Recent", false},
    {9, "SendTo", false},
    {11, "Start Menu", false},
    {12, "Personal", false},
    {13, "My Music", false},
    {14, "My Video", false},
    {19, "NetHood", false},
    {20, "Fonts", false},
    {21, "Templates", false},
    {22, "Common Start Menu", true},
    {23, "Common Programs", true},
    {24, "Common Startup", true},
    {25, "Common Desktop", true},
    {26, "AppData", false},
    {27, "PrintHood", false},
    {28, "Local AppData", false},
    {31, "Common Favorites", true},
    {32, "Cache", false},
    {33, "Cookies", false},
    {34, "History", false},
    {35, "Common AppData", true},
    {39, "My Pictures", false},
    {45, "Common Templates", true},
    {46, "Common Documents", true},
    {48, "Common Administrative Tools", true},
    {53, "CommonMusic", true},
    {54, "CommonPictures", true},
    {55, "CommonVideo", true},
    {59, "CD Burning", false},
};

// The only numbers looked up on the older Windows family.
const int kOlderFamilyNumbers[] = {0, 2, 5, 6, 7, 8, 9, 11, 16, 19, 20, 21, 26, 27, 32, 33, 34, 36, 37, 38, 39};

// The application data folders (roaming, local, common), asked for at every start.
const int kStartFolders[] = {26, 28, 35};

using GetFolderPathFn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);

int PlatformId() {
    OSVERSIONINFOA info;
    std::memset(&info, 0, sizeof info);
    info.dwOSVersionInfoSize = sizeof info;
    return GetVersionExA(&info) ? static_cast<int>(info.dwPlatformId) : -1;
}

}  // namespace

long SHF_FolderFromRegistry(int, int number, char* buffer, size_t size) {
    if (!buffer || size == 0)
        return E_INVALIDARG;
    buffer[0] = 0;
    const FolderName* name = nullptr;
    for (const FolderName& f : kFolderNames) {
        if (f.number == number)
            name = &f;
    }
    if (!name)
        return static_cast<long>(E_FAIL);
    HKEY key;
    LONG error = RegOpenKeyExA(name->machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, kShellFoldersKey, 0,
                               KEY_READ, &key);
    if (error != ERROR_SUCCESS)
        return error;
    DWORD type = 0;
    DWORD bytes = static_cast<DWORD>(size - 1);
    error = RegQueryValueExA(key, name->value, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes);
    RegCloseKey(key);
    if (error != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
        buffer[0] = 0;
        return error != ERROR_SUCCESS ? error : static_cast<long>(E_FAIL);
    }
    buffer[bytes < size ? bytes : size - 1] = 0;
    return 0;
}

long SHF_LoadGetFolderPath(int platform, int number, char* buffer, size_t size) {
    if (!buffer || size < MAX_PATH)
        return E_INVALIDARG;
    buffer[0] = 0;
    // Loading the shell costs about 5 ms under Wine, and the start asks for
    // the same few folders several times: a folder found is kept for the run.
    static std::mutex lock;
    static std::map<int, std::string> found;
    {
        std::lock_guard<std::mutex> hold(lock);
        auto at = found.find(number);
        if (at != found.end() && at->second.size() < size) {
            std::memcpy(buffer, at->second.c_str(), at->second.size() + 1);
            return 0;
        }
    }
    HRESULT result = E_FAIL;
    std::map<int, std::string> more;
    if (auto shell = static_cast<HMODULE>(KY_LoadSystemLibrary("SHELL32.DLL"))) {
        auto getFolderPath = reinterpret_cast<GetFolderPathFn>(
            reinterpret_cast<void*>(GetProcAddress(shell, "SHGetFolderPathA")));
        if (getFolderPath) {
            result = getFolderPath(nullptr, number, nullptr, 0, buffer);
            // The start asks for these one after the other: one load serves them all.
            char other[MAX_PATH];
            for (int n : kStartFolders) {
                other[0] = 0;
                if (n != number && SUCCEEDED(getFolderPath(nullptr, n, nullptr, 0, other)) && other[0])
                    more[n] = other;
            }
        }
        FreeLibrary(shell);
    }
    std::lock_guard<std::mutex> hold(lock);
    for (auto& folder : more)
        found.insert(folder);
    if (FAILED(result) || !buffer[0])
        return SHF_FolderFromRegistry(platform, number, buffer, size);
    found[number] = buffer;
    return 0;
}

int SHF_GetFolderPath(KY_FileSpec* spec, int number) {
    if (!spec)
        return kFileErrArg;
    int platform = PlatformId();
    bool older = platform == kOlderFamily || platform < 0;
    bool lookUp = platform != kOlderFamily;
    for (int n : kOlderFamilyNumbers)
        lookUp = lookUp || n == number;
    char buffer[1024];
    // The system's own calls name these two: no reason to load the shell for them.
    if (!older && (number == 36 || number == 37))
        lookUp = false;
    if (lookUp && SHF_LoadGetFolderPath(platform, number, buffer, sizeof buffer) == 0 && buffer[0])
        return KY_FullPath(buffer, spec);
    UINT n = 0;
    if (number == 36)
        n = GetWindowsDirectoryA(buffer, MAX_PATH);
    else if (number == 37)
        n = GetSystemDirectoryA(buffer, MAX_PATH);
    if ((n == 0 || n >= MAX_PATH) && older)
        n = GetWindowsDirectoryA(buffer, MAX_PATH);
    if (n > 0 && n < MAX_PATH)
        return KY_FullPath(buffer, spec);
    return -1;
}

int SHF_GetLocalAppData(KY_FileSpec* spec) {
    return SHF_GetFolderPath(spec, 28);
}

int SHF_GetCommonAppData(KY_FileSpec* spec) {
    return SHF_GetFolderPath(spec, 35);
}

int SHF_GetWindowsDir(KY_FileSpec* spec) {
    return SHF_GetFolderPath(spec, 36);
}
