// The installation files, the data disc and the seams around the drives.
#include "reader/AppInstall.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "base/procedural/AError.h"
#include "base/procedural/SystemSeams.h"

namespace {

bool IsOne(const AString& value) {
    return std::atoi(value.c_str()) != 0;
}

unsigned WindowsDriveType(char letter) {
    char root[4] = {letter, ':', '\\', 0};
    return GetDriveTypeA(root);
}

bool WindowsVolumeLabel(char letter, AString& label) {
    char root[4] = {letter, ':', '\\', 0};
    char name[MAX_PATH + 1] = "";
    // No critical-error box for an empty drive.
    UINT mode = SetErrorMode(SEM_FAILCRITICALERRORS);
    BOOL ok = GetVolumeInformationA(root, name, sizeof name, nullptr, nullptr, nullptr, nullptr, 0);
    SetErrorMode(mode);
    if (!ok)
        return false;
    label = AString(name);
    return true;
}

bool AskWithBox(const char* volume) {
    std::string text = std::string("Veuillez ins\xE9rer le disque \xAB ") + volume + " \xBB dans le lecteur.";
    return SeamMessageBox(nullptr, text.c_str(), "Savantorium", MB_RETRYCANCEL | MB_ICONEXCLAMATION) == IDRETRY;
}

const AppSeams kDefaultSeams = {WindowsDriveType, WindowsVolumeLabel, AskWithBox};
AppSeams g_seams = kDefaultSeams;

}  // namespace

AppSeams& TheAppSeams() {
    return g_seams;
}

void ResetAppSeams() {
    g_seams = kDefaultSeams;
}

AString ReadSettingsKey(const AFileSpec& file, const char* key) {
    if (file.empty())
        return AString();
    char buffer[1024] = "";
    GetPrivateProfileStringA("settings", key, "", buffer, sizeof buffer, file.path().c_str());
    return AString(buffer);
}

AppInstall ReadAppInstall(AppSettingReader svIni, void* context, const AFileSpec& installIni) {
    AppInstall install;
    install.workPath = svIni(context, "WorkPath");
    install.network = IsOne(svIni(context, "InstallReseau"));
    install.installType = svIni(context, "InstallType");
    install.cd = IsOne(svIni(context, "InstallCD"));
    install.cdVolume = svIni(context, "CDVolume");
    install.hdDataPath = svIni(context, "HdDataPath");
    if (install.network) {
        AString type = ReadSettingsKey(installIni, "InstallType");
        AString cd = ReadSettingsKey(installIni, "InstallCD");
        if (!type.empty())
            install.installType = type;
        if (!cd.empty())
            install.cd = IsOne(cd);
    }
    return install;
}

bool DiscPresent(const AString& root, const AString& volume) {
    if (root.length() < 2 || root[1] != ':')
        return false;
    AString label;
    return g_seams.volumeLabel(root[0], label) && _stricmp(label.c_str(), volume.c_str()) == 0;
}

AString FindDataRoot(const AppInstall& install, const AFileSpec& startFolder) {
    if (!install.hdDataPath.empty()) {
        try {
            const char* path = install.hdDataPath.c_str();
            bool absolute = (path[0] && path[1] == ':') || (path[0] == '\\' && path[1] == '\\');
            AFileSpec folder = absolute ? AFileSpec(path) : AFileSpec(startFolder, path);
            if (!folder.isDirectory())
                return AString();
            char full[MAX_PATH * 2];
            DWORD n = GetFullPathNameA(folder.path().c_str(), sizeof full, full, nullptr);
            if (n == 0 || n >= sizeof full)
                return AString();
            std::string root(full, n);
            if (root.back() != '\\')
                root += '\\';
            return AString(root.c_str());
        } catch (const AError&) {
            return AString();
        }
    }
    if (install.cdVolume.empty())
        return AString();
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        if (g_seams.driveType(letter) != DRIVE_CDROM)
            continue;
        char root[4] = {letter, ':', '\\', 0};
        if (DiscPresent(AString(root), install.cdVolume))
            return AString(root);
    }
    return AString();
}
