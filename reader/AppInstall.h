// The installation as "sv.ini" (and, in network installations, "install.ini")
// describe it, the configuration pair it picks and the data disc or folder it
// finds. The drive type, the volume label and the disc-change question go
// through seams the tests replace (Wine reports every linked drive as fixed).
//
// Both files are Windows profile files, section "settings":
//   sv.ini       WorkPath=<folder of the reader's files, may be empty>
//                InstallReseau=0|1      network installation
//                InstallType=<text>     kind of installation, kept as read
//                InstallCD=0|1          CD set: the data lie on a disc
//                CDVolume=<label>       volume label of the data disc
//                HdDataPath=<folder>    data folder on a hard disk (relative: to the start folder)
//                NetLog=0|1             network log "svnet.log" (read by the start, not here)
//   install.ini  InstallType, InstallCD: in network installations they replace sv.ini's
// A missing file or key reads as empty (flags 0). Nothing here raises.
#pragma once

#include "base/object/AFileSpec.h"
#include "base/object/AString.h"

struct AppInstall {
    AString workPath;
    bool network = false;
    AString installType;
    bool cd = false;
    AString cdVolume;
    AString hdDataPath;

    // The configuration pair's base name: "svres" (network), "svcd" (CD set) or "sv".
    const char* pairName() const { return network ? "svres" : cd ? "svcd" : "sv"; }
};

// Reads a key of section "settings"; "" when the file or key is missing.
using AppSettingReader = AString (*)(void* context, const char* key);
// The installation from sv.ini's reader, and install.ini (a path, may not exist).
AppInstall ReadAppInstall(AppSettingReader svIni, void* context, const AFileSpec& installIni);
// A key of a profile file's section "settings"; "" when missing.
AString ReadSettingsKey(const AFileSpec& file, const char* key);

struct AppSeams {
    // GetDriveTypeA's answer for "X:\\" (5: CD-ROM).
    unsigned (*driveType)(char letter);
    // The volume label of "X:\\"; false when the drive answers none.
    bool (*volumeLabel)(char letter, AString& label);
    // Asks the reader for the disc of that label: true to look again, false gave up.
    bool (*askForDisc)(const char* volume);
};
// The current seams; the defaults ask Windows and show a Retry/Cancel box.
AppSeams& TheAppSeams();
void ResetAppSeams();

// The data root, ending with '\': HdDataPath when given (a folder that must
// exist), else the root of the first drive C to Z of CD-ROM type whose label
// is CDVolume (without regard to case). "" when none.
AString FindDataRoot(const AppInstall& install, const AFileSpec& startFolder);
// True when the drive of root answers the label.
bool DiscPresent(const AString& root, const AString& volume);
