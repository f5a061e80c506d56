// Well-known folders and temporary files as file specifications.
#include "base/object/AFolderSpecs.h"

#include "base/procedural/KyPath.h"

namespace {

// The special folder joined with name, made when missing; the special folder
// itself when the subfolder cannot be made.
void ResolveSubfolder(KY_FileSpec* spec, int (*special)(KY_FileSpec*), const char* name, long lineGet,
                      long lineJoin, long lineFallback, void (*check)(int, long)) {
    KY_FileSpec folder = {nullptr};
    int code = special(&folder);
    if (code)
        KY_FreeFileSpec(&folder);
    check(code, lineGet);
    code = KY_MakePath(&folder, name, spec);
    if (code)
        KY_FreeFileSpec(&folder);
    check(code, lineJoin);
    if (!KY_FileExists(spec) && KY_CreateDirs(spec->text) != 0) {
        code = KY_CopyFileSpec(&folder, spec);
        KY_FreeFileSpec(&folder);
        check(code, lineFallback);
        return;
    }
    KY_FreeFileSpec(&folder);
}

}  // namespace

ATempFolderSpec::ATempFolderSpec() {
    check(KY_GetTempDir(&spec_), 611);
}

ATempFileSpec::ATempFileSpec(const char* prefix, const AFileSpec& folder) {
    check(KY_MakeTempName(prefix, &folder.spec(), &spec_), 642);
}

ATempFileSpec::ATempFileSpec() {
    KY_FileSpec folder = {nullptr};
    int code = KY_GetTempDir(&folder);
    if (!code)
        code = KY_MakeTempName(nullptr, &folder, &spec_);
    KY_FreeFileSpec(&folder);
    check(code, 662);
}

ACurrentFolderSpec::ACurrentFolderSpec() {
    check(KY_GetCurrentDir(&spec_), 676);
}

AAppTempFolderSpec::AAppTempFolderSpec() {
    check(KY_GetTempDir(&spec_), 689);
    if (!exists())
        check(KY_CreateDirs(spec_.text), 691);
}

AProgramFolderSpec::AProgramFolderSpec() {
    check(KY_GetProgramDir(&spec_), 716);
}

AStartFolderSpec::AStartFolderSpec() {
    check(KY_GetStartDir(&spec_), 727);
}

ALocalAppDataSpec::ALocalAppDataSpec(const char* name) {
    ResolveSubfolder(&spec_, KY_GetLocalAppDataDir, name, 752, 753, 766, check);
}

AWindowsFolderSpec::AWindowsFolderSpec(const char* name) {
    ResolveSubfolder(&spec_, KY_GetWindowsDir, name, 782, 783, 796, check);
}

ACommonAppDataSpec::ACommonAppDataSpec(const char* name) {
    ResolveSubfolder(&spec_, KY_GetCommonAppDataDir, name, 817, 818, 831, check);
}

APersonalFolderSpec::APersonalFolderSpec() {
    check(KY_GetPersonalDir(&spec_), 846);
}
